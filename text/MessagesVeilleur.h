#pragma once
// The message catalogue: every text the interface sets at run time, in
// French, English and Spanish. Read-only constants; nothing is loaded from a
// file or changed while the program runs, so any thread may read them.
//
// Each entry is named Msg + screen group + the control that shows it (or the
// words of its French text when no single control does). An entry shared by
// several screens belongs to the group that declares it; the comment above
// each declaration gives the French text, then who shows it, so
//     grep '"Départ n°"' text/MessagesVeilleur.h
// finds the entry to use. Entries with equal French texts stay distinct: they
// differ in another language ("ADMINISTRATION" is "ADMINITRACIÓN" in Spanish
// on the home and session screens, "ADMINISTRACIÓN" on the configuration
// screen), so each screen uses its own.
//
// Texts are kept exactly as the station has always shown them, odd spellings
// and leading or trailing blanks included; do not trim or correct them.
//
// Ampersands: a few texts hold "&&" ("Recherche QFL8 && QFL16", English
// "Date && time"); buttons and labels must show a single "&". Set button and
// group-box captions with the stored text as is: QAbstractButton and QGroupBox
// read "&&" as one visible "&". A QLabel does so only when it has a buddy;
// without one it shows text unchanged, like list headings, combo-box items and
// grid cells, so a plain QLabel showing such a text sets
// Texte(...).replace("&&", "&"). List headings and grid cells keep "&&".
#include "data/TypesVeilleur.h"

#include <QString>

// One catalogue entry: the same text in each language, indexed by TLangue
// (0 French, 1 English, 2 Spanish), UTF-8.
struct TTexteLangues {
    const char* Textes[NbLangues];

    // A language outside 0..2 (a damaged configuration byte) reads French.
    constexpr const char* operator[](TLangue langue) const
    {
        return langue < NbLangues ? Textes[langue] : Textes[LangueFrancais];
    }
};

// The entry's text in the given language; French for a language outside 0..2.
QString Texte(const TTexteLangues& entree, TLangue langue);

// Name of an event code in the given language. A code outside 0..37 (a
// damaged journal record) has no name and gives an empty text, which the
// caller may replace; a language outside 0..2 reads French.
QString NomEvenement(int code, TLangue langue);

// --- Main window and home screen ---
// "Orvane.PC" - main window title
extern const TTexteLangues MsgMenuTitreFenetre;
// "Orvane.PC - V 0.0" - main window LabelNomAppli
extern const TTexteLangues MsgMenuLabelNomAppli;
// "Accueil" - main window SpeedButtonAccueil
extern const TTexteLangues MsgMenuSpeedButtonAccueil;
// "Fenêtre d'accueil" - LabelTitre
extern const TTexteLangues MsgAccueilLabelTitre;
// "Le veilleur est en mode : " - LabelModeEnCours
extern const TTexteLangues MsgAccueilLabelModeEnCours;
// "ADMINISTRATION" - EditModeAdministration
extern const TTexteLangues MsgAccueilEditModeAdministration;
// "EXPLOITATION" - EditModeExploitation
extern const TTexteLangues MsgAccueilEditModeExploitation;
// "CONSULTATION" - EditModeConsultation
extern const TTexteLangues MsgAccueilEditModeConsultation;
// "Le menu à gauche, toujours accessible, vous permet d'ouvrir les fenêtres suivantes :" - LabelDescMenuGauche
extern const TTexteLangues MsgAccueilLabelDescMenuGauche;
// "Utilisateur en cours : " - LabelUtilisateurEnCours
extern const TTexteLangues MsgAccueilLabelUtilisateurEnCours;
// "Aucun utilisateur enregistré" - EditAucunUtilisateurEnCours
extern const TTexteLangues MsgAccueilEditAucunUtilisateurEnCours;
// "* S'enregistrer en début de session pour accéder à toutes les fonctions autorisées" - LabelDescDebutFinSession1
extern const TTexteLangues MsgAccueilLabelDescDebutFinSession1;
// "* Signaler la fin de session pour laisser le veilleur en mode sécurisé (CONSULTATION)" - LabelDescDebutFinSession2
extern const TTexteLangues MsgAccueilLabelDescDebutFinSession2;
// "* Permettre la gestion des utilisateurs (liste et privilèges) en mode ADMINISTRATION seulement" - LabelDescDebutFinSession3
extern const TTexteLangues MsgAccueilLabelDescDebutFinSession3;
// "* Tableau synoptique de l'ensemble du système supervisé" - LabelDescVueDEnsemble
extern const TTexteLangues MsgAccueilLabelDescVueDEnsemble;
// "* Consigne les évènements du veilleur (début et fin de session, alarmes, acquittements d'alarmes, etc.)" - LabelDescJournal
extern const TTexteLangues MsgAccueilLabelDescJournal;
// "* Donne accès à la documentation du veilleur et des produits en réseau (KMT, QFL8 et QFL 16)" - LabelDescNotices
extern const TTexteLangues MsgAccueilLabelDescNotices;
// "* Permet, en mode ADMINISTRATION, de gérer la communication, de préciser les prérogatives des utilisateurs et de définir le nom des sources" - LabelDescConfiguration
extern const TTexteLangues MsgAccueilLabelDescConfiguration;
// "Début / Fin de session" - LabelDebutFinSession, main window SpeedButtonSession
extern const TTexteLangues MsgAccueilLabelDebutFinSession;

// --- Session screen ---
// "Fenêtre Début / Fin de Session" - LabelTitre
extern const TTexteLangues MsgSessionLabelTitre;
// "Utilisateur en cours :" - LabelUtilisateurEnCours
extern const TTexteLangues MsgSessionLabelUtilisateurEnCours;
// "Fin de session" - ButtonFinSession
extern const TTexteLangues MsgSessionButtonFinSession;
// "Saisir un nouveau mot de passe :" - LabelNvMotDePasse
extern const TTexteLangues MsgSessionLabelNvMotDePasse;
// "Confirmer le nouveau mot de passe :" - LabelNvMotDePasseBis
extern const TTexteLangues MsgSessionLabelNvMotDePasseBis;
// "Valider" - ButtonChangerMotDePasse
extern const TTexteLangues MsgSessionButtonChangerMotDePasse;
// "Nom" - heading of column 0 of ListViewUtilisateurs, LabelNom
extern const TTexteLangues MsgSessionLabelNom;
// "Prénom" - heading of column 1 of ListViewUtilisateurs, LabelPrenom
extern const TTexteLangues MsgSessionLabelPrenom;
// "Mode" - heading of column 2 of ListViewUtilisateurs, LabelMode
extern const TTexteLangues MsgSessionLabelMode;
// "ADMINISTRATION" - ComboBoxMode
extern const TTexteLangues MsgSessionComboBoxModeAdministration;
// "EXPLOITATION" - ComboBoxMode
extern const TTexteLangues MsgSessionComboBoxModeExploitation;
// "CONSULTATION" - ComboBoxMode
extern const TTexteLangues MsgSessionComboBoxModeConsultation;
// "Saisir le mot de passe :" - LabelMotDePasse
extern const TTexteLangues MsgSessionLabelMotDePasse;
// "Début de session" - ButtonDebutSession
extern const TTexteLangues MsgSessionButtonDebutSession;
// "Outils d'administration" - GroupBoxOutilsAdmin
extern const TTexteLangues MsgSessionGroupBoxOutilsAdmin;
// "Actions possibles sur l'utilisateur sélectionné" - GroupBoxUtilisateurSelection
extern const TTexteLangues MsgSessionGroupBoxUtilisateurSelection;
// "Modifier" - ButtonModifier
extern const TTexteLangues MsgSessionButtonModifier;
// "Supprimer (!)" - ButtonSupprimer
extern const TTexteLangues MsgSessionButtonSupprimer;
// "Ajouter" - ButtonAjouter
extern const TTexteLangues MsgSessionButtonAjouter;

// --- Overview screen ---
// "Vue d'ensemble" - home screen LabelVueDEnsemble; main window SpeedButtonVueDEnsemble
extern const TTexteLangues MsgVueDEnsembleLabelVueDEnsemble;
// "N°" - StringGridNumSource column 0 heading; also the KMT screen, QFL screen, search screen
extern const TTexteLangues MsgVueDEnsembleStringGridNumSourceN;
// "Source" - StringGridNumSource column 1 heading
extern const TTexteLangues MsgVueDEnsembleStringGridNumSourceSource;
// "Etat/Accès" - StringGridKMT and StringGridQFL8 column 0 heading
extern const TTexteLangues MsgVueDEnsembleStringGridKMTEtatAcces;
// "R Isolement" - StringGridKMT column 1 heading
extern const TTexteLangues MsgVueDEnsembleStringGridKMTRIsolement;
// "R Min" - StringGridKMT column 2 heading
extern const TTexteLangues MsgVueDEnsembleStringGridKMTRMin;
// "R Seuil" - StringGridKMT column 3 heading
extern const TTexteLangues MsgVueDEnsembleStringGridKMTRSeuil;
// "Préalarme" - StringGridKMT column 4 heading
extern const TTexteLangues MsgVueDEnsembleStringGridKMTPrealarme;
// "Alarme" - StringGridKMT column 5 heading
extern const TTexteLangues MsgVueDEnsembleStringGridKMTAlarme;
// "Recherche" - StringGridQFL8 column 1 heading
extern const TTexteLangues MsgVueDEnsembleStringGridQFL8Recherche;

// --- Event log screen ---
// "Journal des évènements" - home screen LabelJournal; main window SpeedButtonJournal
extern const TTexteLangues MsgJournalLabelJournal;
// "Evènement"
extern const TTexteLangues MsgJournalEvenement;
// "Date et Heure"
extern const TTexteLangues MsgJournalDateEtHeure;
// "Origine"
extern const TTexteLangues MsgJournalOrigine;
// "Infos complémentaires"
extern const TTexteLangues MsgJournalInfosComplementaires;

// --- Event names, indexed by the event code a journal entry carries ---
// The journal stores codes only, so an entry is named in the language active
// when it is shown, not the one active when it was written.
//   0 "Lancement du veilleur"
//   1 "Fermeture du veilleur"
//   2 "Connexion réseau"
//   3 "Déconnexion réseau"
//   4 "Début de session opérateur"
//   5 "Fin de session opérateur"
//   6 "Changement d'état d'un KMT"
//   7 "Préalarme KMT"
//   8 "Alarme KMT"
//   9 "Klaxon KMT"
//  10 "Erreur d'autotest d'un KMT"
//  11 "Détection DC+ d'un KMT"
//  12 "Detection DC- d'un KMT"
//  13 "Préalarme d'un KMT acquittée"
//  14 "Alarme d'un KMT acquittée"
//  15 "Klaxon d'un KMT acquitté"
//  16 "Fin erreur d'autotest d'un KMT"
//  17 "Fin défaut DC+ d'un KMT"
//  18 "Fin défaut DC- d'un KMT"
//  19 "Demande d'acquittement du klaxon d'un KMT"
//  20 "Demande d'acquittement de l'alarme d'un KMT"
//  21 "Changement du seuil d'un KMT"
//  22 "Demande de changement du seuil d'un KMT"
//  23 "Changement de date et heure d'un KMT"
//  24 "Demande de changement de date et heure d'un KMT"
//  25 "Changement d'état d'un QFL8"
//  26 "Changement R Isol d'un QFL8"
//  27 "Changement I Transfo d'un QFL8"
//  28 "Changement I Limiteur d'un QFL8"
//  29 "Changement I Départs d'un QFL8"
//  30 "Demande de changement de R Isol d'un QFL8"
//  31 "Demande de changement de I Transfo d'un QFL8"
//  32 "Demande de changement de I Limiteur d'un QFL8"
//  33 "Demande de changement de I Départs d'un QFL8"
//  34 "Changement de date et heure d'un QFL8"
//  35 "Demande de changement de date et heure d'un QFL8"
//  36 "Demande de Reset Min Max d'un QFL8"
//  37 "Demande de lancement de recherche sur un QFL8"
constexpr int NbNomsEvenements = 38;
extern const TTexteLangues NomsEvenements[NbNomsEvenements];

// --- Manuals screen ---
// "Notices" - home screen LabelNotices; LabelTitre; main window SpeedButtonNotices
extern const TTexteLangues MsgNoticesLabelNotices;
// "Orvane.PC" - LabelNoticeVeilleur
extern const TTexteLangues MsgNoticesLabelNoticeVeilleur;
// "KMT" - LabelNoticeKMT
extern const TTexteLangues MsgNoticesLabelNoticeKMT;
// "QFL8" - LabelNoticeQFL8
extern const TTexteLangues MsgNoticesLabelNoticeQFL8;
// "QFL16" - LabelNoticeQFL16
extern const TTexteLangues MsgNoticesLabelNoticeQFL16;

// --- Configuration screen ---
// "Configuration" - home screen LabelConfiguration; main window SpeedButtonConfiguration
extern const TTexteLangues MsgConfigurationLabelConfiguration;
// "Configuration"
extern const TTexteLangues MsgConfigurationConfiguration;
// "Cette fenêtre n'est modifiable qu'en mode ADMINISTRATION."
extern const TTexteLangues MsgConfigurationFenetreModifiableEnModeAdministration;
// "Mode de fonctionnement et privilèges des utilisateurs"
extern const TTexteLangues MsgConfigurationModeFonctionnementPrivileges;
// "PRIVILEGES DES"
extern const TTexteLangues MsgConfigurationPrivilegesDes;
// "UTILISATEURS"
extern const TTexteLangues MsgConfigurationUtilisateurs;
// "MODE DE FONCTIONNEMENT"
extern const TTexteLangues MsgConfigurationModeDeFonctionnement;
// "CONSULTATION"
extern const TTexteLangues MsgConfigurationConsultation;
// "EXPLOITATION"
extern const TTexteLangues MsgConfigurationExploitation;
// "ADMINISTRATION"
extern const TTexteLangues MsgConfigurationAdministration;
// "Lecture des mesures"
extern const TTexteLangues MsgConfigurationLectureDesMesures;
// "Acquittement des alarmes"
extern const TTexteLangues MsgConfigurationAcquittementDesAlarmes;
// "Réglages des seuils"
extern const TTexteLangues MsgConfigurationReglagesDesSeuils;
// "Gestion de la liste des utilisateurs"
extern const TTexteLangues MsgConfigurationGestionListeUtilisateurs;
// "Ports de communication"
extern const TTexteLangues MsgConfigurationPortsDeCommunication;
// "Ports existants"
extern const TTexteLangues MsgConfigurationPortsExistants;
// "Nom des sources"
extern const TTexteLangues MsgConfigurationNomDesSources;
// "N°"
extern const TTexteLangues MsgConfigurationN;
// "Source"
extern const TTexteLangues MsgConfigurationSource;
// "Enregistrer configuration"
extern const TTexteLangues MsgConfigurationEnregistrerConfiguration;

// --- KMT device screen ---
// "Recherche QFL8 && QFL16"
extern const TTexteLangues MsgKMTRechercheQFL8QFL16;
// "Mesures"
extern const TTexteLangues MsgKMTMesures;
// "R isolement"
extern const TTexteLangues MsgKMTRIsolement;
// "R min."
extern const TTexteLangues MsgKMTRMin;
// "R seuil"
extern const TTexteLangues MsgKMTRSeuil;
// "Autotest"
extern const TTexteLangues MsgKMTAutotest;
// "Test tension continue +"
extern const TTexteLangues MsgKMTTestTensionContinuePlus;
// "Test tension continue -"
extern const TTexteLangues MsgKMTTestTensionContinueMoins;
// "Préalarme"
extern const TTexteLangues MsgKMTPrealarme;
// "Klaxon"
extern const TTexteLangues MsgKMTKlaxon;
// "Alarme"
extern const TTexteLangues MsgKMTAlarme;
// "Date et heure de la dernière alarme"
extern const TTexteLangues MsgKMTDateHeureDerniereAlarme;
// "Acquitter"
extern const TTexteLangues MsgKMTAcquitter;
// "Réglages"
extern const TTexteLangues MsgKMTReglages;
// "R seuil actuel"
extern const TTexteLangues MsgKMTRSeuilActuel;
// "Nouveau seuil"
extern const TTexteLangues MsgKMTNouveauSeuil;
// "Appliquer aux KMT suivants"
extern const TTexteLangues MsgKMTAppliquerAuxKMTSuivants;
// "Historique"
extern const TTexteLangues MsgKMTHistorique;
// "Infos"
extern const TTexteLangues MsgKMTInfos;
// "Version du logiciel"
extern const TTexteLangues MsgKMTVersionDuLogiciel;
// "Adresse sur le réseau" - also the QFL screen
extern const TTexteLangues MsgKMTAdresseSurLeReseau;

// --- QFL device screen ---
// "Recherche QFL8 && QFL16"
extern const TTexteLangues MsgQFLRechercheQFL8QFL16;
// "Tension"
extern const TTexteLangues MsgQFLTension;
// "Départ n°" - also the search screen
extern const TTexteLangues MsgQFLDepartN;
// "Transfo" - shown by the search screen
extern const TTexteLangues MsgQFLTransfo;
// "Limiteur" - shown by the search screen
extern const TTexteLangues MsgQFLLimiteur;
// "Réglages"
extern const TTexteLangues MsgQFLReglages;
// "Date et heure"
extern const TTexteLangues MsgQFLDateEtHeure;
// "Actuels"
extern const TTexteLangues MsgQFLActuels;
// "Nouveaux"
extern const TTexteLangues MsgQFLNouveaux;
// "R seuil du KMT"
extern const TTexteLangues MsgQFLRSeuilDuKMT;
// "Seuil I transfo"
extern const TTexteLangues MsgQFLSeuilITransfo;
// "Seuil I limiteur"
extern const TTexteLangues MsgQFLSeuilILimiteur;
// "Seuil I départs"
extern const TTexteLangues MsgQFLSeuilIDeparts;
// "Appliquer aux QFL suivants"
extern const TTexteLangues MsgQFLAppliquerAuxQFLSuivants;
// "Historique"
extern const TTexteLangues MsgQFLHistorique;
// "R défaut (en kohms)"
extern const TTexteLangues MsgQFLRDefaut;
// "I défaut (en mA)"
extern const TTexteLangues MsgQFLIDefaut;
// "Cond."
extern const TTexteLangues MsgQFLCond;
// "Infos"
extern const TTexteLangues MsgQFLInfos;
// "Version du logiciel"
extern const TTexteLangues MsgQFLVersionDuLogiciel;
// "QFL16 Raccordés"
extern const TTexteLangues MsgQFLQFL16Raccordes;

// --- Fault search screen ---
// "Recherche sur les QFL8 et QFL16"
extern const TTexteLangues MsgRechercheRechercheQFL8EtQFL16;
// "Date et heure de la dernière recherche"
extern const TTexteLangues MsgRechercheDateHeureDerniereRecherche;
// "Résultats de la dernière recherche"
extern const TTexteLangues MsgRechercheResultatsDerniereRecherche;
// "Nouvelle recherche"
extern const TTexteLangues MsgRechercheNouvelleRecherche;
// "Recherche automatique" - shown by the KMT screen
extern const TTexteLangues MsgRechercheRechercheAutomatique;
// "Oui" - shown by the KMT screen
extern const TTexteLangues MsgRechercheOui;

// --- Fault locators, live ---
// "Neutre" - conductor of a fault in the history list
extern const TTexteLangues MsgQFLNeutre;
// "Remise à zéro des min/max" - button of the QFL screen's Infos tab
extern const TTexteLangues MsgQFLRAZMinMax;
// "Communication perdue depuis le %1" - QFL and search screens, %1 the date
extern const TTexteLangues MsgQFLComPerdue;
// "Pas encore de réponse de l'appareil" - QFL and search screens
extern const TTexteLangues MsgQFLSansContact;
// "Valeur hors plage : de %1 à %2 %3" - a new setting refused before sending
extern const TTexteLangues MsgQFLHorsPlage;
// "Valeur refusée par l'appareil" - the device refused a setting
extern const TTexteLangues MsgQFLValeurRefusee;
// "L'appareil n'a pas répondu" - a command without reply
extern const TTexteLangues MsgQFLSansReponse;
// "Recherche en cours..." - search screen while a search runs
extern const TTexteLangues MsgRechercheEnCours;
// "Une recherche est déjà en cours" - the device refused a search: busy
extern const TTexteLangues MsgRechercheDejaEnCours;
// "Défaut trouvé : départ %1, %2" - search screen, %1 the feeder, %2 the unit
extern const TTexteLangues MsgRechercheDefautTrouve;

// Every named entry above, in declaration order.
constexpr int NbMessages = 136;
extern const TTexteLangues* const TousLesMessages[NbMessages];

// --- Live devices: communication state and command outcomes ---
// Outside TousLesMessages, which holds the screens' fixed captions.
// "Communication perdue avec l'appareil depuis le %1" - KMT screen, %1 the long date
extern const TTexteLangues MsgDirectCommunicationPerdue;
// "Perdu" - overview, a lost device's row
extern const TTexteLangues MsgDirectPerdu;
// "Appareil hors ligne" - tooltip of a disabled command
extern const TTexteLangues MsgDirectHorsLigne;
// "Rien à acquitter" - tooltip of a disabled "Acquitter"
extern const TTexteLangues MsgDirectRienAAcquitter;
// "Déjà acquitté par l'appareil" - tooltip of a disabled "Acquitter"
extern const TTexteLangues MsgDirectDejaAcquitte;
// "Seuil refusé : entrer une valeur de 10 à 10000 kOhm (rien n'a été envoyé)"
extern const TTexteLangues MsgDirectSeuilHorsPlage;
// "Commande acceptée par l'appareil %1"
extern const TTexteLangues MsgDirectCommandeAcceptee;
// "Valeur refusée par l'appareil %1"
extern const TTexteLangues MsgDirectValeurRefusee;
// "Commande refusée par l'appareil %1 (code %2)"
extern const TTexteLangues MsgDirectCommandeRefusee;
// "Pas de réponse de l'appareil %1"
extern const TTexteLangues MsgDirectSansReponse;
// "Appareil %1 hors ligne : commande non envoyée"
extern const TTexteLangues MsgDirectNonEnvoyee;
// "Commande abandonnée : arrêt du veilleur"
extern const TTexteLangues MsgDirectArretee;
// "Démonstration : aucun appareil ne reçoit ce seuil"
extern const TTexteLangues MsgDirectDemonstration;
// "Envoi du seuil %1 kOhm..."
extern const TTexteLangues MsgDirectSeuilEnvoye;

constexpr int NbMessagesDirects = 14;
extern const TTexteLangues* const TousLesMessagesDirects[NbMessagesDirects];

// --- Alarms in the status bar and the station's stop ---
// Kept apart from the list above, whose entries and order are fixed.
// "Alarme" - status bar entry
extern const TTexteLangues MsgAlarmesAlarme;
// "Préalarme" - status bar entry
extern const TTexteLangues MsgAlarmesPreAlarme;
// "Communication perdue" - status bar entry
extern const TTexteLangues MsgAlarmesComPerdue;
// "%1 depuis %2" - status bar entry: the state, since when
extern const TTexteLangues MsgAlarmesDepuis;
// "Ouvrir l'écran de l'appareil" - tool tip of a status bar entry
extern const TTexteLangues MsgAlarmesOuvrirEcran;
// "Des appareils sont en alarme ou injoignables. Arrêter la surveillance et fermer le veilleur ?" - close confirmation
extern const TTexteLangues MsgFermetureConfirmation;
// "Fermer le veilleur" - close confirmation, accept button
extern const TTexteLangues MsgFermetureFermer;
// "Continuer la surveillance" - close confirmation, reject button
extern const TTexteLangues MsgFermetureContinuer;

constexpr int NbMessagesAlarmes = 8;
extern const TTexteLangues* const TousLesMessagesAlarmes[NbMessagesAlarmes];
