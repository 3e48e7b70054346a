// UTF-8 source: the texts below are stored as UTF-8 and converted with
// QString::fromUtf8 when read.
#include "text/MessagesVeilleur.h"

#include "data/JournalLog.h"

// The journal writes codes 0..37; the name table must cover each of them.
static_assert(NbNomsEvenements == NbCodesEvenements);

QString Texte(const TTexteLangues& entree, TLangue langue)
{
    return QString::fromUtf8(entree[langue]);
}

QString NomEvenement(int code, TLangue langue)
{
    if (code < 0 || code >= NbNomsEvenements)
        return QString();
    return Texte(NomsEvenements[code], langue);
}

// Main window and home screen
const TTexteLangues MsgMenuTitreFenetre = {{
    "Orvane.PC",
    "Orvane.PC",
    "Orvane.PC"}};
const TTexteLangues MsgMenuLabelNomAppli = {{
    "Orvane.PC - V 0.0",
    "Orvane.PC - V 0.0",
    "Orvane.PC - V 0.0"}};
const TTexteLangues MsgMenuSpeedButtonAccueil = {{
    "Accueil",
    "Home Page",
    "Inicio"}};
const TTexteLangues MsgAccueilLabelTitre = {{
    "Fenêtre d'accueil",
    "Home page",
    "Pantalla de Inicio"}};
const TTexteLangues MsgAccueilLabelModeEnCours = {{
    "Le veilleur est en mode : ",
    "Control software mode",
    "El soft de control esta en modo"}};
const TTexteLangues MsgAccueilEditModeAdministration = {{
    "ADMINISTRATION",
    "ADMINISTRATION",
    "ADMINITRACIÓN"}};
const TTexteLangues MsgAccueilEditModeExploitation = {{
    "EXPLOITATION",
    "EXPLOITATION",
    "EXPLOTACIÓN"}};
const TTexteLangues MsgAccueilEditModeConsultation = {{
    "CONSULTATION",
    "CONSULTATION",
    "CONSULTACIÓN"}};
const TTexteLangues MsgAccueilLabelDescMenuGauche = {{
    "Le menu à gauche, toujours accessible, vous permet d'ouvrir les fenêtres suivantes :",
    "The menu in the left column gives access to the following windows:",
    "El menu de izquierda, siempre accesible, le permite abrir las ventanas siguientes :"}};
const TTexteLangues MsgAccueilLabelUtilisateurEnCours = {{
    "Utilisateur en cours : ",
    "Logged user:",
    "Usario en conectado"}};
const TTexteLangues MsgAccueilEditAucunUtilisateurEnCours = {{
    "Aucun utilisateur enregistré",
    "No logged user",
    "Ningun usario registrado"}};
const TTexteLangues MsgAccueilLabelDescDebutFinSession1 = {{
    "* S'enregistrer en début de session pour accéder à toutes les fonctions autorisées",
    "* Login to access to all authorised functions",
    "* Registrarse al inicio de cesion para tener acceso à todas las funciones autorizadas"}};
const TTexteLangues MsgAccueilLabelDescDebutFinSession2 = {{
    "* Signaler la fin de session pour laisser le veilleur en mode sécurisé (CONSULTATION)",
    "* Logout to leave the supervisor in a safe mode (CONSULTATION)",
    "* Señalar el fin de cesion para dejar el soft de control en modo seguridad (CONSULTACIÓN)"}};
const TTexteLangues MsgAccueilLabelDescDebutFinSession3 = {{
    "* Permettre la gestion des utilisateurs (liste et privilèges) en mode ADMINISTRATION seulement",
    "* Users management (list and authorisations) in ADMINISTRATION mode only",
    "* Autorizar la gestion de los usarios (lista and autorisaciones) en modo ADMINITRACIÓN unicamente"}};
const TTexteLangues MsgAccueilLabelDescVueDEnsemble = {{
    "* Tableau synoptique de l'ensemble du système supervisé",
    "* General view of the system",
    "Tablero sysoptico del sistema controlado"}};
const TTexteLangues MsgAccueilLabelDescJournal = {{
    "* Consigne les évènements du veilleur (début et fin de session, alarmes, acquittements d'alarmes, etc.)",
    "* Log of events (beginning and end of session, alarms, alarm acknowledges, etc.)",
    "* Regitra los eventos del sistema"}};
const TTexteLangues MsgAccueilLabelDescNotices = {{
    "* Donne accès à la documentation du veilleur et des produits en réseau (KMT, QFL8 et QFL 16)",
    "* Gives acces to the documentation of the supervisor and the devices on the network (KMT, QFL8 and QFL 16)",
    "Da el acceso a la documentación del software y de los dispositivos conectados a la red"}};
const TTexteLangues MsgAccueilLabelDescConfiguration = {{
    "* Permet, en mode ADMINISTRATION, de gérer la communication, de préciser les prérogatives des utilisateurs et de définir le nom des sources",
    "* In ADMINISTRATION mode, gives access to communication management, to users management, and to sources names management",
    "Permite, en modo ADMINITRACIÓN, de gestionar la comunicación, de precisar las autorizaciones de los usarios y de determinar el nombre de las llegadas de energía"}};
const TTexteLangues MsgAccueilLabelDebutFinSession = {{
    "Début / Fin de session",
    "Login / Logout",
    "Principio / Fin de cesión"}};

// Session screen
const TTexteLangues MsgSessionLabelTitre = {{
    "Fenêtre Début / Fin de Session",
    "Begining / end of session window",
    "Ventana de Principio / fin de cesión"}};
const TTexteLangues MsgSessionLabelUtilisateurEnCours = {{
    "Utilisateur en cours :",
    "Logged user:",
    "Usario conectado"}};
const TTexteLangues MsgSessionButtonFinSession = {{
    "Fin de session",
    "End of session",
    "Fin de cesión"}};
const TTexteLangues MsgSessionLabelNvMotDePasse = {{
    "Saisir un nouveau mot de passe :",
    "Enter a new password:",
    "Entrar una nueva palabra clave"}};
const TTexteLangues MsgSessionLabelNvMotDePasseBis = {{
    "Confirmer le nouveau mot de passe :",
    "Repeat new password:",
    "Confirmar la nueva palabra clave"}};
const TTexteLangues MsgSessionButtonChangerMotDePasse = {{
    "Valider",
    "Validation",
    "Validación"}};
const TTexteLangues MsgSessionLabelNom = {{
    "Nom",
    "Last name",
    "Apelido"}};
const TTexteLangues MsgSessionLabelPrenom = {{
    "Prénom",
    "First name",
    "Nombre"}};
const TTexteLangues MsgSessionLabelMode = {{
    "Mode",
    "Mode",
    "Modo"}};
const TTexteLangues MsgSessionComboBoxModeAdministration = {{
    "ADMINISTRATION",
    "ADMINISTRATION",
    "ADMINITRACIÓN"}};
const TTexteLangues MsgSessionComboBoxModeExploitation = {{
    "EXPLOITATION",
    "EXPLOITATION",
    "EXPLOTACIÓN"}};
const TTexteLangues MsgSessionComboBoxModeConsultation = {{
    "CONSULTATION",
    "CONSULTATION",
    "CONSULTACIÓN"}};
const TTexteLangues MsgSessionLabelMotDePasse = {{
    "Saisir le mot de passe :",
    "Enter new password:",
    "Entrar la palabra clave"}};
const TTexteLangues MsgSessionButtonDebutSession = {{
    "Début de session",
    "Begining of session",
    "Principio de cesión"}};
const TTexteLangues MsgSessionGroupBoxOutilsAdmin = {{
    "Outils d'administration",
    "Administration tools",
    "Herramienta de administración"}};
const TTexteLangues MsgSessionGroupBoxUtilisateurSelection = {{
    "Actions possibles sur l'utilisateur sélectionné",
    "Possible actions on selected user",
    "Acciones possibles con el usario seleccionado"}};
const TTexteLangues MsgSessionButtonModifier = {{
    "Modifier",
    "Modify",
    "Modificar"}};
const TTexteLangues MsgSessionButtonSupprimer = {{
    "Supprimer (!)",
    "Delete (!)",
    "Anular(!)"}};
const TTexteLangues MsgSessionButtonAjouter = {{
    "Ajouter",
    "Add",
    "Añadir"}};

// Overview screen
const TTexteLangues MsgVueDEnsembleLabelVueDEnsemble = {{
    "Vue d'ensemble",
    "General panel",
    "Pantalla principal"}};
const TTexteLangues MsgVueDEnsembleStringGridNumSourceN = {{
    "N°",
    "Nr",
    "N°"}};
const TTexteLangues MsgVueDEnsembleStringGridNumSourceSource = {{
    "Source",
    "Supply",
    "Llegada"}};
const TTexteLangues MsgVueDEnsembleStringGridKMTEtatAcces = {{
    "Etat/Accès",
    "Status/Access",
    "Estado/acceso"}};
const TTexteLangues MsgVueDEnsembleStringGridKMTRIsolement = {{
    "R Isolement",
    "R insulation",
    "R Aislamiento"}};
const TTexteLangues MsgVueDEnsembleStringGridKMTRMin = {{
    "R Min",
    "R min",
    "R min"}};
const TTexteLangues MsgVueDEnsembleStringGridKMTRSeuil = {{
    "R Seuil",
    "R setting",
    "R umbral"}};
const TTexteLangues MsgVueDEnsembleStringGridKMTPrealarme = {{
    "Préalarme",
    "Pre-alarm",
    "Pre alarma"}};
const TTexteLangues MsgVueDEnsembleStringGridKMTAlarme = {{
    "Alarme",
    "Alarm",
    "Alarma"}};
const TTexteLangues MsgVueDEnsembleStringGridQFL8Recherche = {{
    "Recherche",
    "Research",
    "Busqueda"}};

// Event log screen
const TTexteLangues MsgJournalLabelJournal = {{
    "Journal des évènements",
    "Events log",
    "Fichero de eventos"}};
const TTexteLangues MsgJournalEvenement = {{
    "Evènement",
    "Event",
    "Eventos"}};
const TTexteLangues MsgJournalDateEtHeure = {{
    "Date et Heure",
    "Date and Time",
    "Fecha y hora"}};
const TTexteLangues MsgJournalOrigine = {{
    "Origine",
    "From",
    "Origen"}};
const TTexteLangues MsgJournalInfosComplementaires = {{
    "Infos complémentaires",
    "Other information",
    "Otras informaciones"}};

// Event names, by event code
const TTexteLangues NomsEvenements[NbNomsEvenements] = {
    /*  0 */ {{"Lancement du veilleur", "Start supervisor", "Aranque del software"}},
    /*  1 */ {{"Fermeture du veilleur", "Stop supervisor_", "Parada del software"}},
    /*  2 */ {{"Connexion réseau", "Network connection", "Conección a la red"}},
    /*  3 */ {{"Déconnexion réseau", "Network disconnection", "Deconección de la red"}},
    /*  4 */ {{"Début de session opérateur", "Begining of user session", "Principio de cesión del usario"}},
    /*  5 */ {{"Fin de session opérateur", "End of user session", "Fin de cesión usario "}},
    /*  6 */ {{"Changement d'état d'un KMT", "KMT state change", "Cambio de estado del KMT"}},
    /*  7 */ {{"Préalarme KMT", "KMT prealarm", "Pre alarma KMT"}},
    /*  8 */ {{"Alarme KMT", "KMT alarm", "Alarma KMT"}},
    /*  9 */ {{"Klaxon KMT", "KMT Klaxon", "Klaxon KMT"}},
    /* 10 */ {{"Erreur d'autotest d'un KMT", "KMT selftest error", "Eror de autochequeo"}},
    /* 11 */ {{"Détection DC+ d'un KMT", "KMT DC+ detection", "Detección DC+ del KMT"}},
    /* 12 */ {{"Detection DC- d'un KMT", "KMT DC- detection", "Detección DC- del KMT"}},
    /* 13 */ {{"Préalarme d'un KMT acquittée", "KMT prealarm ack.", "Reposición Pre alarma del KMT"}},
    /* 14 */ {{"Alarme d'un KMT acquittée", "KMT alarm ack.", "Alarma del KMT resteada"}},
    /* 15 */ {{"Klaxon d'un KMT acquitté", "KMT klaxon ack.", "Klaxon del KMT reseteado"}},
    /* 16 */ {{"Fin erreur d'autotest d'un KMT", "End of KMT selftest error", "Fin de error del autochequeo KMT"}},
    /* 17 */ {{"Fin défaut DC+ d'un KMT", "End of DC+ fault", "Fin de falta DC+ del KMT"}},
    /* 18 */ {{"Fin défaut DC- d'un KMT", "End of DC- fault", "Fin de falta DC- del KMT"}},
    /* 19 */ {{"Demande d'acquittement du klaxon d'un KMT", "KMT klaxon ack. request", "Pedido resteo klaxon del KMT"}},
    /* 20 */ {{"Demande d'acquittement de l'alarme d'un KMT", "KMT alarm ack. request", "pedido reseteo alarma del KMT"}},
    /* 21 */ {{"Changement du seuil d'un KMT", "KMT threshold setting changed", "Cambio del umbral del KMT"}},
    /* 22 */ {{"Demande de changement du seuil d'un KMT", "KMT threshold setting change request", "Pedido de cambio del umbral del KMT"}},
    /* 23 */ {{"Changement de date et heure d'un KMT", "KMT date and time changed", "Cambion de fecha y hora KMT"}},
    /* 24 */ {{"Demande de changement de date et heure d'un KMT", "KMT date and time change request", "Pedido de cambion de fecha y hora KMT"}},
    /* 25 */ {{"Changement d'état d'un QFL8", "QFL8 status change", "Cambio de estado de un QFL8"}},
    /* 26 */ {{"Changement R Isol d'un QFL8", "QFL8 R Isol change", "Cambio R Isol del QFL8"}},
    /* 27 */ {{"Changement I Transfo d'un QFL8", "QFL8 I Tranf. change", "Cambio I Trafo del QFL8"}},
    /* 28 */ {{"Changement I Limiteur d'un QFL8", "QFL8 I Limitor change", "Cambio I Limitador del QFL8"}},
    /* 29 */ {{"Changement I Départs d'un QFL8", "QFL8 I feeders change", "Cambio I salidas del QFL8"}},
    /* 30 */ {{"Demande de changement de R Isol d'un QFL8", "QFL8 R Isol change request", "Pedido de cambio R Isol del QFL8"}},
    /* 31 */ {{"Demande de changement de I Transfo d'un QFL8", "QFL8 I Tranf. change request", "Pedido de cambio I Trafo del QFL8"}},
    /* 32 */ {{"Demande de changement de I Limiteur d'un QFL8", "QFL8 I Limitor change request", "Pedido de cambio I Limitador del QFL8"}},
    /* 33 */ {{"Demande de changement de I Départs d'un QFL8", "QFL8 I feeders change request", "Pedido de cambio I salidas del QFL8"}},
    /* 34 */ {{"Changement de date et heure d'un QFL8", "QFL8 date and time changed", "Cambio de fecha y hora del QFL8"}},
    /* 35 */ {{"Demande de changement de date et heure d'un QFL8", "QFL8 date and time change request", "Pedido de cambio de fecha y hora del QFL8"}},
    /* 36 */ {{"Demande de Reset Min Max d'un QFL8", "QFL8 min-max reset request", "Pedido de reseteo Min/Max del QFL8"}},
    /* 37 */ {{"Demande de lancement de recherche sur un QFL8", "QFL8 search request", "Pedido de arranque de busqueda del QFL8"}},
};

// Manuals screen
const TTexteLangues MsgNoticesLabelNotices = {{
    "Notices",
    "Manuals",
    "Folletos"}};
const TTexteLangues MsgNoticesLabelNoticeVeilleur = {{
    "Orvane.PC",
    "Orvane.PC",
    "Orvane.PC"}};
const TTexteLangues MsgNoticesLabelNoticeKMT = {{
    "KMT",
    "KMT",
    "KMT"}};
const TTexteLangues MsgNoticesLabelNoticeQFL8 = {{
    "QFL8",
    "QFL8",
    "QFL8"}};
const TTexteLangues MsgNoticesLabelNoticeQFL16 = {{
    "QFL16",
    "QFL16",
    "QFL16"}};

// Configuration screen
const TTexteLangues MsgConfigurationLabelConfiguration = {{
    "Configuration",
    "Setting",
    "Ajustes"}};
const TTexteLangues MsgConfigurationConfiguration = {{
    "Configuration",
    "Setting",
    "Ajustes"}};
const TTexteLangues MsgConfigurationFenetreModifiableEnModeAdministration = {{
    "Cette fenêtre n'est modifiable qu'en mode ADMINISTRATION.",
    "This window can be modified only in ADMINISTRATION mode",
    "Esta ventana se puede modificar unicamente en modo ADMINISTRACIÓN"}};
const TTexteLangues MsgConfigurationModeFonctionnementPrivileges = {{
    "Mode de fonctionnement et privilèges des utilisateurs",
    "Working mode and users authorisations",
    "Modo de funcionamiento y autorizaciones de los usarios"}};
const TTexteLangues MsgConfigurationPrivilegesDes = {{
    "PRIVILEGES DES",
    "AUTHORISATIONS",
    "AUTORIZACIÓN"}};
const TTexteLangues MsgConfigurationUtilisateurs = {{
    "UTILISATEURS",
    "USERS",
    "USARIOS"}};
const TTexteLangues MsgConfigurationModeDeFonctionnement = {{
    "MODE DE FONCTIONNEMENT",
    "WORKING MODE",
    "MODO DE FUNCIONAMIENTO"}};
const TTexteLangues MsgConfigurationConsultation = {{
    "CONSULTATION",
    "CONSULTATION",
    "CONSULTACIÓN"}};
const TTexteLangues MsgConfigurationExploitation = {{
    "EXPLOITATION",
    "EXPLOITATION",
    "EXPLOTACIÓN"}};
const TTexteLangues MsgConfigurationAdministration = {{
    "ADMINISTRATION",
    "ADMINISTRATION",
    "ADMINISTRACIÓN"}};
const TTexteLangues MsgConfigurationLectureDesMesures = {{
    "Lecture des mesures",
    "Measures reading",
    "Lectura de las medidas"}};
const TTexteLangues MsgConfigurationAcquittementDesAlarmes = {{
    "Acquittement des alarmes",
    "Alarms acknowledge",
    "Reseteo de las alarmas"}};
const TTexteLangues MsgConfigurationReglagesDesSeuils = {{
    "Réglages des seuils",
    "Thresholds settings",
    "Ajuste de los umbrales"}};
const TTexteLangues MsgConfigurationGestionListeUtilisateurs = {{
    "Gestion de la liste des utilisateurs",
    "Users list management",
    "Gestión de la lista de los usarios"}};
const TTexteLangues MsgConfigurationPortsDeCommunication = {{
    "Ports de communication",
    "Communication ports",
    "Puerto de comunicación"}};
const TTexteLangues MsgConfigurationPortsExistants = {{
    "Ports existants",
    "Usable ports",
    "Puertos existantes"}};
const TTexteLangues MsgConfigurationNomDesSources = {{
    "Nom des sources",
    "Sources names",
    "Nombre de las llegadas (fuentes)"}};
const TTexteLangues MsgConfigurationN = {{
    "N°",
    "Nr",
    "N°"}};
const TTexteLangues MsgConfigurationSource = {{
    "Source",
    "Source",
    "Fuente"}};
const TTexteLangues MsgConfigurationEnregistrerConfiguration = {{
    "Enregistrer configuration",
    "Save configuration",
    "Salvaguardar configuración"}};

// KMT device screen
const TTexteLangues MsgKMTRechercheQFL8QFL16 = {{
    "Recherche QFL8 && QFL16",
    "QFL8 && QFL16 Research",
    "Busqueda QFL8 && QFL16"}};
const TTexteLangues MsgKMTMesures = {{
    "Mesures",
    "Measurements",
    "Medidas"}};
const TTexteLangues MsgKMTRIsolement = {{
    "R isolement",
    "R insulation",
    "R aislamiento"}};
const TTexteLangues MsgKMTRMin = {{
    "R min.",
    "R min",
    "R min"}};
const TTexteLangues MsgKMTRSeuil = {{
    "R seuil",
    "R setting",
    "R umbral"}};
const TTexteLangues MsgKMTAutotest = {{
    "Autotest",
    "Selftest",
    "Autochequeo"}};
const TTexteLangues MsgKMTTestTensionContinuePlus = {{
    "Test tension continue +",
    "Positive DC voltage test",
    "Chequeo de tensión continua positiva"}};
const TTexteLangues MsgKMTTestTensionContinueMoins = {{
    "Test tension continue -",
    "Negative DC voltage test",
    "Chequeo de tensión continua negativa"}};
const TTexteLangues MsgKMTPrealarme = {{
    "Préalarme",
    "Pre-alarm",
    "Pre alarma"}};
const TTexteLangues MsgKMTKlaxon = {{
    "Klaxon",
    "Klaxon",
    "Klaxon"}};
const TTexteLangues MsgKMTAlarme = {{
    "Alarme",
    "Alarm",
    "Alarma"}};
const TTexteLangues MsgKMTDateHeureDerniereAlarme = {{
    "Date et heure de la dernière alarme",
    "Date and time of the last alarm",
    "Fecha y hora de la ultima alarma"}};
const TTexteLangues MsgKMTAcquitter = {{
    "Acquitter",
    "Acknowledge",
    "Resetear"}};
const TTexteLangues MsgKMTReglages = {{
    "Réglages",
    "Settings",
    "Ajustes"}};
const TTexteLangues MsgKMTRSeuilActuel = {{
    "R seuil actuel",
    "Current R setting",
    "R umbral actual"}};
const TTexteLangues MsgKMTNouveauSeuil = {{
    "Nouveau seuil",
    "New setting",
    "R nuevo umbral"}};
const TTexteLangues MsgKMTAppliquerAuxKMTSuivants = {{
    "Appliquer aux KMT suivants",
    "Apply to the following KMTs",
    "Aplicar a los KMT siguientes"}};
const TTexteLangues MsgKMTHistorique = {{
    "Historique",
    "History",
    "Historico"}};
const TTexteLangues MsgKMTInfos = {{
    "Infos",
    "About KMT",
    "Info."}};
const TTexteLangues MsgKMTVersionDuLogiciel = {{
    "Version du logiciel",
    "Software version",
    "version del software"}};
const TTexteLangues MsgKMTAdresseSurLeReseau = {{
    "Adresse sur le réseau",
    "Network address",
    "Dirección sobre la red"}};

// QFL device screen
const TTexteLangues MsgQFLRechercheQFL8QFL16 = {{
    "Recherche QFL8 && QFL16",
    "QFL8 && QFL16 Research",
    "Busqueda QFL8 && QFL16"}};
const TTexteLangues MsgQFLTension = {{
    "Tension",
    "Voltage",
    "Tensión"}};
const TTexteLangues MsgQFLDepartN = {{
    "Départ n°",
    "Feeder nr",
    "Salida n°"}};
const TTexteLangues MsgQFLTransfo = {{
    "Transfo",
    "Tranformer",
    "Trafo"}};
const TTexteLangues MsgQFLLimiteur = {{
    "Limiteur",
    "limitor",
    "limitador"}};
const TTexteLangues MsgQFLReglages = {{
    "Réglages",
    "Settings",
    "Ajustes"}};
const TTexteLangues MsgQFLDateEtHeure = {{
    "Date et heure",
    "Date && time",
    "Fecha y hora"}};
const TTexteLangues MsgQFLActuels = {{
    "Actuels",
    "Current",
    "Actuales"}};
const TTexteLangues MsgQFLNouveaux = {{
    "Nouveaux",
    "New",
    "Nuevos"}};
const TTexteLangues MsgQFLRSeuilDuKMT = {{
    "R seuil du KMT",
    "KMT R setting",
    "R umbral del KMT"}};
const TTexteLangues MsgQFLSeuilITransfo = {{
    "Seuil I transfo",
    "I transf. setting",
    "I umbral trafo"}};
const TTexteLangues MsgQFLSeuilILimiteur = {{
    "Seuil I limiteur",
    "I limitor setting",
    "I umbral limitador"}};
const TTexteLangues MsgQFLSeuilIDeparts = {{
    "Seuil I départs",
    "I feeder setting",
    "Umbral I salidas"}};
const TTexteLangues MsgQFLAppliquerAuxQFLSuivants = {{
    "Appliquer aux QFL suivants",
    "Apply to the following QFLs",
    "Aplicar a los QFL siguientes"}};
const TTexteLangues MsgQFLHistorique = {{
    "Historique",
    "History",
    "Historico"}};
const TTexteLangues MsgQFLRDefaut = {{
    "R défaut (en kohms)",
    "R fault (kohms)",
    "R falta (kohmios)"}};
const TTexteLangues MsgQFLIDefaut = {{
    "I défaut (en mA)",
    "I fault (mA)",
    "I falta (en mA)"}};
const TTexteLangues MsgQFLCond = {{
    "Cond.",
    "Cond.",
    "Cond."}};
const TTexteLangues MsgQFLInfos = {{
    "Infos",
    "About QFL",
    "Info. QFL"}};
const TTexteLangues MsgQFLVersionDuLogiciel = {{
    "Version du logiciel",
    "Software version",
    "Version del software"}};
const TTexteLangues MsgQFLQFL16Raccordes = {{
    "QFL16 Raccordés",
    "Available QFL16",
    "QFL16 conectados"}};

// Fault search screen
const TTexteLangues MsgRechercheRechercheQFL8EtQFL16 = {{
    "Recherche sur les QFL8 et QFL16",
    "Research on QFL8 and QFL16",
    "Busqueda de los QFL8 y QFL16"}};
const TTexteLangues MsgRechercheDateHeureDerniereRecherche = {{
    "Date et heure de la dernière recherche",
    "Date and time of the last research",
    "Fecha y hora de la ultima busqueda"}};
const TTexteLangues MsgRechercheResultatsDerniereRecherche = {{
    "Résultats de la dernière recherche",
    "Results of the last research",
    "Resultados de la ultima busqueda"}};
const TTexteLangues MsgRechercheNouvelleRecherche = {{
    "Nouvelle recherche",
    "New research",
    "Nueva busqueda"}};
const TTexteLangues MsgRechercheRechercheAutomatique = {{
    "Recherche automatique",
    "Automatic research",
    "Busqueda automatica"}};
const TTexteLangues MsgRechercheOui = {{
    "Oui",
    "Yes",
    "Si"}};

const TTexteLangues MsgQFLNeutre = {{
    "Neutre",
    "Neutral",
    "Neutro"}};
const TTexteLangues MsgQFLRAZMinMax = {{
    "Remise à zéro des min/max",
    "Reset min/max",
    "Reinicio mín/máx"}};
const TTexteLangues MsgQFLComPerdue = {{
    "Communication perdue depuis le %1",
    "Communication lost since %1",
    "Comunicación perdida desde %1"}};
const TTexteLangues MsgQFLSansContact = {{
    "Pas encore de réponse de l'appareil",
    "No reply from the device yet",
    "Todavía sin respuesta del aparato"}};
const TTexteLangues MsgQFLHorsPlage = {{
    "Valeur hors plage : de %1 à %2 %3",
    "Value out of range: %1 to %2 %3",
    "Valor fuera de rango: de %1 a %2 %3"}};
const TTexteLangues MsgQFLValeurRefusee = {{
    "Valeur refusée par l'appareil",
    "Value refused by the device",
    "Valor rechazado por el aparato"}};
const TTexteLangues MsgQFLSansReponse = {{
    "L'appareil n'a pas répondu",
    "The device did not answer",
    "El aparato no respondió"}};
const TTexteLangues MsgRechercheEnCours = {{
    "Recherche en cours...",
    "Search running...",
    "Búsqueda en curso..."}};
const TTexteLangues MsgRechercheDejaEnCours = {{
    "Une recherche est déjà en cours",
    "A search is already running",
    "Ya hay una búsqueda en curso"}};
const TTexteLangues MsgRechercheDefautTrouve = {{
    "Défaut trouvé : départ %1, %2",
    "Fault found: feeder %1, %2",
    "Defecto encontrado: salida %1, %2"}};

const TTexteLangues* const TousLesMessages[NbMessages] = {
    &MsgMenuTitreFenetre,
    &MsgMenuLabelNomAppli,
    &MsgMenuSpeedButtonAccueil,
    &MsgAccueilLabelTitre,
    &MsgAccueilLabelModeEnCours,
    &MsgAccueilEditModeAdministration,
    &MsgAccueilEditModeExploitation,
    &MsgAccueilEditModeConsultation,
    &MsgAccueilLabelDescMenuGauche,
    &MsgAccueilLabelUtilisateurEnCours,
    &MsgAccueilEditAucunUtilisateurEnCours,
    &MsgAccueilLabelDescDebutFinSession1,
    &MsgAccueilLabelDescDebutFinSession2,
    &MsgAccueilLabelDescDebutFinSession3,
    &MsgAccueilLabelDescVueDEnsemble,
    &MsgAccueilLabelDescJournal,
    &MsgAccueilLabelDescNotices,
    &MsgAccueilLabelDescConfiguration,
    &MsgAccueilLabelDebutFinSession,
    &MsgSessionLabelTitre,
    &MsgSessionLabelUtilisateurEnCours,
    &MsgSessionButtonFinSession,
    &MsgSessionLabelNvMotDePasse,
    &MsgSessionLabelNvMotDePasseBis,
    &MsgSessionButtonChangerMotDePasse,
    &MsgSessionLabelNom,
    &MsgSessionLabelPrenom,
    &MsgSessionLabelMode,
    &MsgSessionComboBoxModeAdministration,
    &MsgSessionComboBoxModeExploitation,
    &MsgSessionComboBoxModeConsultation,
    &MsgSessionLabelMotDePasse,
    &MsgSessionButtonDebutSession,
    &MsgSessionGroupBoxOutilsAdmin,
    &MsgSessionGroupBoxUtilisateurSelection,
    &MsgSessionButtonModifier,
    &MsgSessionButtonSupprimer,
    &MsgSessionButtonAjouter,
    &MsgVueDEnsembleLabelVueDEnsemble,
    &MsgVueDEnsembleStringGridNumSourceN,
    &MsgVueDEnsembleStringGridNumSourceSource,
    &MsgVueDEnsembleStringGridKMTEtatAcces,
    &MsgVueDEnsembleStringGridKMTRIsolement,
    &MsgVueDEnsembleStringGridKMTRMin,
    &MsgVueDEnsembleStringGridKMTRSeuil,
    &MsgVueDEnsembleStringGridKMTPrealarme,
    &MsgVueDEnsembleStringGridKMTAlarme,
    &MsgVueDEnsembleStringGridQFL8Recherche,
    &MsgJournalLabelJournal,
    &MsgJournalEvenement,
    &MsgJournalDateEtHeure,
    &MsgJournalOrigine,
    &MsgJournalInfosComplementaires,
    &MsgNoticesLabelNotices,
    &MsgNoticesLabelNoticeVeilleur,
    &MsgNoticesLabelNoticeKMT,
    &MsgNoticesLabelNoticeQFL8,
    &MsgNoticesLabelNoticeQFL16,
    &MsgConfigurationLabelConfiguration,
    &MsgConfigurationConfiguration,
    &MsgConfigurationFenetreModifiableEnModeAdministration,
    &MsgConfigurationModeFonctionnementPrivileges,
    &MsgConfigurationPrivilegesDes,
    &MsgConfigurationUtilisateurs,
    &MsgConfigurationModeDeFonctionnement,
    &MsgConfigurationConsultation,
    &MsgConfigurationExploitation,
    &MsgConfigurationAdministration,
    &MsgConfigurationLectureDesMesures,
    &MsgConfigurationAcquittementDesAlarmes,
    &MsgConfigurationReglagesDesSeuils,
    &MsgConfigurationGestionListeUtilisateurs,
    &MsgConfigurationPortsDeCommunication,
    &MsgConfigurationPortsExistants,
    &MsgConfigurationNomDesSources,
    &MsgConfigurationN,
    &MsgConfigurationSource,
    &MsgConfigurationEnregistrerConfiguration,
    &MsgKMTRechercheQFL8QFL16,
    &MsgKMTMesures,
    &MsgKMTRIsolement,
    &MsgKMTRMin,
    &MsgKMTRSeuil,
    &MsgKMTAutotest,
    &MsgKMTTestTensionContinuePlus,
    &MsgKMTTestTensionContinueMoins,
    &MsgKMTPrealarme,
    &MsgKMTKlaxon,
    &MsgKMTAlarme,
    &MsgKMTDateHeureDerniereAlarme,
    &MsgKMTAcquitter,
    &MsgKMTReglages,
    &MsgKMTRSeuilActuel,
    &MsgKMTNouveauSeuil,
    &MsgKMTAppliquerAuxKMTSuivants,
    &MsgKMTHistorique,
    &MsgKMTInfos,
    &MsgKMTVersionDuLogiciel,
    &MsgKMTAdresseSurLeReseau,
    &MsgQFLRechercheQFL8QFL16,
    &MsgQFLTension,
    &MsgQFLDepartN,
    &MsgQFLTransfo,
    &MsgQFLLimiteur,
    &MsgQFLReglages,
    &MsgQFLDateEtHeure,
    &MsgQFLActuels,
    &MsgQFLNouveaux,
    &MsgQFLRSeuilDuKMT,
    &MsgQFLSeuilITransfo,
    &MsgQFLSeuilILimiteur,
    &MsgQFLSeuilIDeparts,
    &MsgQFLAppliquerAuxQFLSuivants,
    &MsgQFLHistorique,
    &MsgQFLRDefaut,
    &MsgQFLIDefaut,
    &MsgQFLCond,
    &MsgQFLInfos,
    &MsgQFLVersionDuLogiciel,
    &MsgQFLQFL16Raccordes,
    &MsgRechercheRechercheQFL8EtQFL16,
    &MsgRechercheDateHeureDerniereRecherche,
    &MsgRechercheResultatsDerniereRecherche,
    &MsgRechercheNouvelleRecherche,
    &MsgRechercheRechercheAutomatique,
    &MsgRechercheOui,
    &MsgQFLNeutre,
    &MsgQFLRAZMinMax,
    &MsgQFLComPerdue,
    &MsgQFLSansContact,
    &MsgQFLHorsPlage,
    &MsgQFLValeurRefusee,
    &MsgQFLSansReponse,
    &MsgRechercheEnCours,
    &MsgRechercheDejaEnCours,
    &MsgRechercheDefautTrouve,
};

const TTexteLangues MsgDirectCommunicationPerdue = {{
    "Communication perdue avec l'appareil depuis le %1",
    "Communication with the device lost since %1",
    "Comunicación perdida con el aparato desde el %1"}};
const TTexteLangues MsgDirectPerdu = {{
    "Perdu",
    "Lost",
    "Perdido"}};
const TTexteLangues MsgDirectHorsLigne = {{
    "Appareil hors ligne",
    "Device offline",
    "Aparato fuera de línea"}};
const TTexteLangues MsgDirectRienAAcquitter = {{
    "Rien à acquitter",
    "Nothing to acknowledge",
    "Nada que resetear"}};
const TTexteLangues MsgDirectDejaAcquitte = {{
    "Déjà acquitté par l'appareil",
    "Already acknowledged by the device",
    "Ya reseteado por el aparato"}};
const TTexteLangues MsgDirectSeuilHorsPlage = {{
    "Seuil refusé : entrer une valeur de 10 à 10000 kOhm (rien n'a été envoyé)",
    "Threshold refused: enter a value from 10 to 10000 kOhm (nothing was sent)",
    "Umbral rechazado: introducir un valor de 10 a 10000 kOhm (no se ha enviado nada)"}};
const TTexteLangues MsgDirectCommandeAcceptee = {{
    "Commande acceptée par l'appareil %1",
    "Command accepted by device %1",
    "Orden aceptada por el aparato %1"}};
const TTexteLangues MsgDirectValeurRefusee = {{
    "Valeur refusée par l'appareil %1",
    "Value refused by device %1",
    "Valor rechazado por el aparato %1"}};
const TTexteLangues MsgDirectCommandeRefusee = {{
    "Commande refusée par l'appareil %1 (code %2)",
    "Command refused by device %1 (code %2)",
    "Orden rechazada por el aparato %1 (código %2)"}};
const TTexteLangues MsgDirectSansReponse = {{
    "Pas de réponse de l'appareil %1",
    "No reply from device %1",
    "Sin respuesta del aparato %1"}};
const TTexteLangues MsgDirectNonEnvoyee = {{
    "Appareil %1 hors ligne : commande non envoyée",
    "Device %1 offline: command not sent",
    "Aparato %1 fuera de línea: orden no enviada"}};
const TTexteLangues MsgDirectArretee = {{
    "Commande abandonnée : arrêt du veilleur",
    "Command dropped: the station is stopping",
    "Orden abandonada: parada del vigilante"}};
const TTexteLangues MsgDirectDemonstration = {{
    "Démonstration : aucun appareil ne reçoit ce seuil",
    "Demonstration: no device receives this threshold",
    "Demostración: ningún aparato recibe este umbral"}};
const TTexteLangues MsgDirectSeuilEnvoye = {{
    "Envoi du seuil %1 kOhm...",
    "Sending threshold %1 kOhm...",
    "Envío del umbral %1 kOhm..."}};

const TTexteLangues* const TousLesMessagesDirects[NbMessagesDirects] = {
    &MsgDirectCommunicationPerdue, &MsgDirectPerdu,           &MsgDirectHorsLigne,     &MsgDirectRienAAcquitter,
    &MsgDirectDejaAcquitte,        &MsgDirectSeuilHorsPlage,  &MsgDirectCommandeAcceptee, &MsgDirectValeurRefusee,
    &MsgDirectCommandeRefusee,     &MsgDirectSansReponse,     &MsgDirectNonEnvoyee,    &MsgDirectArretee,
    &MsgDirectDemonstration,       &MsgDirectSeuilEnvoye,
};

// Alarms in the status bar and the station's stop
const TTexteLangues MsgAlarmesAlarme = {{
    "Alarme",
    "Alarm",
    "Alarma"}};
const TTexteLangues MsgAlarmesPreAlarme = {{
    "Préalarme",
    "Pre-alarm",
    "Prealarma"}};
const TTexteLangues MsgAlarmesComPerdue = {{
    "Communication perdue",
    "Communication lost",
    "Comunicación perdida"}};
const TTexteLangues MsgAlarmesDepuis = {{
    "%1 depuis %2",
    "%1 since %2",
    "%1 desde %2"}};
const TTexteLangues MsgAlarmesOuvrirEcran = {{
    "Ouvrir l'écran de l'appareil",
    "Open the device's screen",
    "Abrir la pantalla del aparato"}};
const TTexteLangues MsgFermetureConfirmation = {{
    "Des appareils sont en alarme ou injoignables. Arrêter la surveillance et fermer le veilleur ?",
    "Devices are in alarm or out of reach. Stop monitoring and close the station?",
    "Hay aparatos en alarma o inalcanzables. ¿Detener la vigilancia y cerrar el vigilante?"}};
const TTexteLangues MsgFermetureFermer = {{
    "Fermer le veilleur",
    "Close the station",
    "Cerrar el vigilante"}};
const TTexteLangues MsgFermetureContinuer = {{
    "Continuer la surveillance",
    "Keep monitoring",
    "Seguir vigilando"}};

const TTexteLangues* const TousLesMessagesAlarmes[NbMessagesAlarmes] = {
    &MsgAlarmesAlarme,     &MsgAlarmesPreAlarme, &MsgAlarmesComPerdue,   &MsgAlarmesDepuis,
    &MsgAlarmesOuvrirEcran, &MsgFermetureConfirmation, &MsgFermetureFermer, &MsgFermetureContinuer,
};
