#include "sessions/MessagesSession.h"

namespace {

struct TMessage {
    EMessageSession Identifiant;
    TTexteLangues Texte;
};

const TMessage Messages[] = {
    {EMessageSession::Aucun, {{"", "", ""}}},
    {EMessageSession::SessionOuverte,
     {{"Session ouverte.", "Session started.", "Sesión iniciada."}}},
    {EMessageSession::SessionFermee,
     {{"Session terminée.", "Session ended.", "Sesión terminada."}}},
    {EMessageSession::SessionFinInactivite,
     {{"Session terminée après 15 minutes d'inactivité.", "Session ended after 15 minutes without activity.",
       "Sesión terminada tras 15 minutos de inactividad."}}},
    {EMessageSession::MotDePasseIncorrect,
     {{"Mot de passe incorrect.", "Wrong password.", "Contraseña incorrecta."}}},
    {EMessageSession::MotDePasseIncorrectBloque,
     {{"Mot de passe incorrect. Trop d'essais : nouvel essai possible dans %1 s.",
       "Wrong password. Too many attempts: try again in %1 s.",
       "Contraseña incorrecta. Demasiados intentos: nuevo intento posible en %1 s."}}},
    {EMessageSession::UtilisateurBloque,
     {{"Trop d'essais pour cet utilisateur : nouvel essai possible dans %1 s.",
       "Too many attempts for this user: try again in %1 s.",
       "Demasiados intentos para este usuario: nuevo intento posible en %1 s."}}},
    {EMessageSession::AucunUtilisateurSelectionne,
     {{"Sélectionner un utilisateur dans la liste.", "Select a user in the list.",
       "Seleccionar un usuario en la lista."}}},
    {EMessageSession::AucuneSessionEnCours,
     {{"Aucune session en cours.", "No session in progress.", "Ninguna sesión en curso."}}},
    {EMessageSession::FichierEndommage,
     {{"Le fichier des utilisateurs \"%1\" est illisible ou endommagé : aucune session ne peut être ouverte "
       "avant sa réparation.",
       "The users file \"%1\" cannot be read or is damaged: no session can be started until it is repaired.",
       "El archivo de usuarios \"%1\" es ilegible o está dañado: no se puede iniciar ninguna sesión hasta "
       "su reparación."}}},
    {EMessageSession::EchecEnregistrement,
     {{"La liste des utilisateurs n'a pas été modifiée. %1", "The user list was not changed. %1",
       "La lista de usuarios no ha sido modificada. %1"}}},
    {EMessageSession::MotDePasseTropCourt,
     {{"Le mot de passe doit compter au moins 6 caractères.", "The password must have at least 6 characters.",
       "La contraseña debe tener al menos 6 caracteres."}}},
    {EMessageSession::MotDePasseTropLong,
     {{"Le mot de passe est trop long ou contient un caractère interdit.",
       "The password is too long or holds a forbidden character.",
       "La contraseña es demasiado larga o contiene un carácter prohibido."}}},
    {EMessageSession::MotsDePasseDifferents,
     {{"Les deux mots de passe saisis sont différents.", "The two passwords typed differ.",
       "Las dos contraseñas introducidas son diferentes."}}},
    {EMessageSession::MotDePasseChange,
     {{"Mot de passe modifié.", "Password changed.", "Contraseña modificada."}}},
    {EMessageSession::ReserveAdministration,
     {{"Opération réservée au mode ADMINISTRATION.", "Operation reserved for ADMINISTRATION mode.",
       "Operación reservada al modo ADMINITRACIÓN."}}},
    {EMessageSession::NomInvalide,
     {{"Saisir un nom (et un prénom) de 100 caractères au plus.",
       "Type a last name (and a first name) of at most 100 characters.",
       "Introducir un apellido (y un nombre) de 100 caracteres como máximo."}}},
    {EMessageSession::ModeInvalide,
     {{"Choisir un mode.", "Choose a mode.", "Elegir un modo."}}},
    {EMessageSession::UtilisateurExistant,
     {{"Un utilisateur porte déjà ce nom et ce prénom.", "A user already has this last name and first name.",
       "Ya existe un usuario con este apellido y nombre."}}},
    {EMessageSession::PremierUtilisateurAdministrateur,
     {{"Le premier utilisateur doit être en mode ADMINISTRATION.",
       "The first user must be in ADMINISTRATION mode.", "El primer usuario debe estar en modo ADMINITRACIÓN."}}},
    {EMessageSession::DernierAdministrateur,
     {{"Impossible : la liste doit garder au moins un utilisateur en mode ADMINISTRATION.",
       "Not possible: the list must keep at least one user in ADMINISTRATION mode.",
       "Imposible: la lista debe conservar al menos un usuario en modo ADMINITRACIÓN."}}},
    {EMessageSession::UtilisateurEnSession,
     {{"Impossible : cet utilisateur est en session.", "Not possible: this user is in session.",
       "Imposible: este usuario está en sesión."}}},
    {EMessageSession::UtilisateurAjoute,
     {{"Utilisateur ajouté.", "User added.", "Usuario añadido."}}},
    {EMessageSession::UtilisateurModifie,
     {{"Utilisateur modifié.", "User modified.", "Usuario modificado."}}},
    {EMessageSession::UtilisateurSupprime,
     {{"Utilisateur supprimé.", "User deleted.", "Usuario eliminado."}}},
    {EMessageSession::ConfirmerSuppression,
     {{"Supprimer l'utilisateur %1 ?", "Delete the user %1?", "¿Eliminar el usuario %1?"}}},
    {EMessageSession::Oui, {{"Oui", "Yes", "Sí"}}},
    {EMessageSession::Non, {{"Non", "No", "No"}}},
    {EMessageSession::DroitReserveAdministration,
     {{"Modifiable en mode ADMINISTRATION seulement.", "Can be changed in ADMINISTRATION mode only.",
       "Modificable solo en modo ADMINITRACIÓN."}}},
    {EMessageSession::DroitReserveExploitation,
     {{"Réservé aux modes EXPLOITATION et ADMINISTRATION.", "Reserved for EXPLOITATION and ADMINISTRATION modes.",
       "Reservado a los modos EXPLOTACIÓN y ADMINITRACIÓN."}}},
    {EMessageSession::DroitAcquittementConsultation,
     {{"Acquittement non autorisé en mode CONSULTATION (voir la configuration).",
       "Acknowledgement not allowed in CONSULTATION mode (see the configuration).",
       "Acuse no autorizado en modo CONSULTACIÓN (ver la configuración)."}}},
};

} // namespace

const TTexteLangues& EntreeMessageSession(EMessageSession message)
{
    for (const TMessage& m : Messages)
        if (m.Identifiant == message)
            return m.Texte;
    return Messages[0].Texte;
}

QString TexteMessageSession(EMessageSession message, TLangue langue, const QString& argument)
{
    QString texte = Texte(EntreeMessageSession(message), langue);
    if (texte.contains(QLatin1String("%1")))
        texte = texte.arg(argument);
    return texte;
}
