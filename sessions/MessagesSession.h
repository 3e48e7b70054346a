#pragma once
// Texts that session handling and rights give to the operator, in the three
// languages of the station. "%1" stands for the value a result carries (a
// number of seconds, a file name).
#include "text/MessagesVeilleur.h"

enum class EMessageSession {
    Aucun,
    // Start and end of session
    SessionOuverte,
    SessionFermee,
    SessionFinInactivite,
    MotDePasseIncorrect,
    MotDePasseIncorrectBloque,  // %1 seconds
    UtilisateurBloque,          // %1 seconds
    AucunUtilisateurSelectionne,
    AucuneSessionEnCours,
    // Users file
    FichierEndommage,           // %1 file
    EchecEnregistrement,        // %1 system detail
    // Passwords
    MotDePasseTropCourt,
    MotDePasseTropLong,
    MotsDePasseDifferents,
    MotDePasseChange,
    // Administration
    ReserveAdministration,
    NomInvalide,
    ModeInvalide,
    UtilisateurExistant,
    PremierUtilisateurAdministrateur,
    DernierAdministrateur,
    UtilisateurEnSession,
    UtilisateurAjoute,
    UtilisateurModifie,
    UtilisateurSupprime,
    ConfirmerSuppression,       // %1 "Prénom Nom"
    Oui,                        // answers of the confirmation
    Non,
    // Why a control is disabled
    DroitReserveAdministration,
    DroitReserveExploitation,
    DroitAcquittementConsultation,
};

// The entry of a message; an identifier outside the list reads as Aucun.
const TTexteLangues& EntreeMessageSession(EMessageSession message);

// Its text in the language, "%1" replaced by argument when it holds one.
QString TexteMessageSession(EMessageSession message, TLangue langue, const QString& argument = QString());
