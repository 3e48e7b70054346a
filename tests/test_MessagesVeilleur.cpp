// The message catalogue: shape of the tables, exact texts (odd spellings and
// blanks included) and the lookups' behaviour for values outside the tables.
#include "text/MessagesVeilleur.h"

#include "data/Chaine1252.h"

#include <QSet>
#include <QStringList>
#include <climits>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

QString U(const char* texte) { return QString::fromUtf8(texte); }

// Every text of the catalogue, named entries then event names, with a label
// that says where a failing one comes from.
struct TTexteRepere {
    QString Repere;
    const char* Texte;
};

std::vector<TTexteRepere> TousLesTextes()
{
    std::vector<TTexteRepere> textes;
    for (int i = 0; i < NbMessages; ++i)
        for (int l = 0; l < NbLangues; ++l)
            textes.push_back({QStringLiteral("message %1 langue %2").arg(i).arg(l), TousLesMessages[i]->Textes[l]});
    for (int code = 0; code < NbNomsEvenements; ++code)
        for (int l = 0; l < NbLangues; ++l)
            textes.push_back({QStringLiteral("evenement %1 langue %2").arg(code).arg(l), NomsEvenements[code].Textes[l]});
    return textes;
}

} // namespace

TEST(MessagesVeilleur, TablesHaveTheirSizeAndListEveryEntryOnceInDeclarationOrder)
{
    EXPECT_EQ(NbMessages, 136);
    EXPECT_EQ(std::size(TousLesMessages), 136u);
    EXPECT_EQ(NbNomsEvenements, 38);
    EXPECT_EQ(std::size(NomsEvenements), 38u);

    QSet<const TTexteLangues*> vus;
    for (const TTexteLangues* entree : TousLesMessages) {
        ASSERT_NE(entree, nullptr);
        vus.insert(entree);
    }
    EXPECT_EQ(vus.size(), NbMessages) << "an entry is listed twice";

    // First entry of each screen group, at the place declaration order gives it.
    EXPECT_EQ(TousLesMessages[0], &MsgMenuTitreFenetre);
    EXPECT_EQ(TousLesMessages[3], &MsgAccueilLabelTitre);
    EXPECT_EQ(TousLesMessages[19], &MsgSessionLabelTitre);
    EXPECT_EQ(TousLesMessages[38], &MsgVueDEnsembleLabelVueDEnsemble);
    EXPECT_EQ(TousLesMessages[48], &MsgJournalLabelJournal);
    EXPECT_EQ(TousLesMessages[53], &MsgNoticesLabelNotices);
    EXPECT_EQ(TousLesMessages[58], &MsgConfigurationLabelConfiguration);
    EXPECT_EQ(TousLesMessages[78], &MsgKMTRechercheQFL8QFL16);
    EXPECT_EQ(TousLesMessages[99], &MsgQFLRechercheQFL8QFL16);
    EXPECT_EQ(TousLesMessages[120], &MsgRechercheRechercheQFL8EtQFL16);
    EXPECT_EQ(TousLesMessages[125], &MsgRechercheOui);
}

TEST(MessagesVeilleur, EveryTextIsPresentValidAndFitsTheSingleByteCodePage)
{
    for (const TTexteRepere& t : TousLesTextes()) {
        SCOPED_TRACE(t.Repere.toStdString());
        ASSERT_NE(t.Texte, nullptr);
        const QByteArray octets(t.Texte);
        const QString texte = QString::fromUtf8(octets);
        EXPECT_FALSE(texte.isEmpty());
        EXPECT_EQ(texte.toUtf8(), octets) << "not valid UTF-8";
        // The journal and configuration files store text in Windows-1252:
        // a character the code page lacks would come back as '?'.
        for (QChar c : texte)
            EXPECT_EQ(Chaine1252::VersUnicode(Chaine1252::DepuisUnicode(c.unicode())), c)
                << "character U+" << std::hex << int(c.unicode());
    }
}

TEST(MessagesVeilleur, OnlyTheKnownTextsStartOrEndWithABlank)
{
    QStringList bordes;
    for (const TTexteRepere& t : TousLesTextes()) {
        const QString texte = U(t.Texte);
        if (texte != texte.trimmed())
            bordes << texte;
    }
    bordes.sort();
    QStringList attendus{U("Fin de cesión usario "), U("Le veilleur est en mode : "), U("Utilisateur en cours : ")};
    attendus.sort();
    EXPECT_EQ(bordes, attendus);
}

TEST(MessagesVeilleur, AmpersandsComeOnlyInPairs)
{
    // A lone '&' on a button or label would become an accelerator mark and vanish.
    for (const TTexteRepere& t : TousLesTextes()) {
        const QString texte = U(t.Texte);
        int suite = 0;
        for (int i = 0; i <= texte.size(); ++i) {
            if (i < texte.size() && texte[i] == QLatin1Char('&')) {
                ++suite;
                continue;
            }
            EXPECT_EQ(suite % 2, 0) << t.Repere.toStdString() << ": " << texte.toStdString();
            suite = 0;
        }
    }
}

TEST(MessagesVeilleur, SampleOfEachScreenGroupInTheThreeLanguages)
{
    struct TCas {
        const TTexteLangues* Entree;
        const char* Francais;
        const char* Anglais;
        const char* Espagnol;
    };
    const TCas cas[] = {
        {&MsgMenuTitreFenetre, "Orvane.PC", "Orvane.PC", "Orvane.PC"},
        {&MsgMenuLabelNomAppli, "Orvane.PC - V 0.0", "Orvane.PC - V 0.0", "Orvane.PC - V 0.0"},
        {&MsgMenuSpeedButtonAccueil, "Accueil", "Home Page", "Inicio"},
        {&MsgAccueilLabelTitre, "Fenêtre d'accueil", "Home page", "Pantalla de Inicio"},
        {&MsgAccueilLabelModeEnCours, "Le veilleur est en mode : ", "Control software mode",
         "El soft de control esta en modo"},
        {&MsgAccueilEditModeAdministration, "ADMINISTRATION", "ADMINISTRATION", "ADMINITRACIÓN"},
        {&MsgAccueilLabelUtilisateurEnCours, "Utilisateur en cours : ", "Logged user:", "Usario en conectado"},
        {&MsgAccueilLabelDescVueDEnsemble, "* Tableau synoptique de l'ensemble du système supervisé",
         "* General view of the system", "Tablero sysoptico del sistema controlado"},
        {&MsgAccueilLabelDebutFinSession, "Début / Fin de session", "Login / Logout", "Principio / Fin de cesión"},
        {&MsgSessionLabelUtilisateurEnCours, "Utilisateur en cours :", "Logged user:", "Usario conectado"},
        {&MsgSessionComboBoxModeAdministration, "ADMINISTRATION", "ADMINISTRATION", "ADMINITRACIÓN"},
        {&MsgSessionButtonSupprimer, "Supprimer (!)", "Delete (!)", "Anular(!)"},
        {&MsgVueDEnsembleLabelVueDEnsemble, "Vue d'ensemble", "General panel", "Pantalla principal"},
        {&MsgVueDEnsembleStringGridNumSourceN, "N°", "Nr", "N°"},
        {&MsgVueDEnsembleStringGridNumSourceSource, "Source", "Supply", "Llegada"},
        {&MsgVueDEnsembleStringGridKMTEtatAcces, "Etat/Accès", "Status/Access", "Estado/acceso"},
        {&MsgJournalEvenement, "Evènement", "Event", "Eventos"},
        {&MsgJournalInfosComplementaires, "Infos complémentaires", "Other information", "Otras informaciones"},
        {&MsgNoticesLabelNotices, "Notices", "Manuals", "Folletos"},
        {&MsgConfigurationLabelConfiguration, "Configuration", "Setting", "Ajustes"},
        {&MsgConfigurationAdministration, "ADMINISTRATION", "ADMINISTRATION", "ADMINISTRACIÓN"},
        {&MsgConfigurationSource, "Source", "Source", "Fuente"},
        {&MsgConfigurationEnregistrerConfiguration, "Enregistrer configuration", "Save configuration",
         "Salvaguardar configuración"},
        {&MsgKMTRechercheQFL8QFL16, "Recherche QFL8 && QFL16", "QFL8 && QFL16 Research", "Busqueda QFL8 && QFL16"},
        {&MsgKMTRSeuilActuel, "R seuil actuel", "Current R setting", "R umbral actual"},
        {&MsgKMTInfos, "Infos", "About KMT", "Info."},
        {&MsgKMTVersionDuLogiciel, "Version du logiciel", "Software version", "version del software"},
        {&MsgQFLDepartN, "Départ n°", "Feeder nr", "Salida n°"},
        {&MsgQFLDateEtHeure, "Date et heure", "Date && time", "Fecha y hora"},
        {&MsgQFLInfos, "Infos", "About QFL", "Info. QFL"},
        {&MsgQFLVersionDuLogiciel, "Version du logiciel", "Software version", "Version del software"},
        {&MsgQFLQFL16Raccordes, "QFL16 Raccordés", "Available QFL16", "QFL16 conectados"},
        {&MsgRechercheNouvelleRecherche, "Nouvelle recherche", "New research", "Nueva busqueda"},
        {&MsgRechercheOui, "Oui", "Yes", "Si"},
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.Francais);
        EXPECT_EQ(Texte(*c.Entree, LangueFrancais), U(c.Francais));
        EXPECT_EQ(Texte(*c.Entree, LangueAnglais), U(c.Anglais));
        EXPECT_EQ(Texte(*c.Entree, LangueEspagnol), U(c.Espagnol));
    }
    // The degree sign is one character, as in the stored single-byte text.
    EXPECT_EQ(Texte(MsgVueDEnsembleStringGridNumSourceN, LangueFrancais).size(), 2);
}

TEST(MessagesVeilleur, EventNamesByCodeAndLanguage)
{
    EXPECT_EQ(NomEvenement(7, LangueFrancais), U("Préalarme KMT"));
    EXPECT_EQ(NomEvenement(7, LangueAnglais), U("KMT prealarm"));
    EXPECT_EQ(NomEvenement(7, LangueEspagnol), U("Pre alarma KMT"));
    EXPECT_EQ(NomEvenement(1, LangueAnglais), U("Stop supervisor_"));
    EXPECT_EQ(NomEvenement(5, LangueEspagnol), U("Fin de cesión usario "));
    EXPECT_EQ(NomEvenement(0, LangueFrancais), U("Lancement du veilleur"));
    EXPECT_EQ(NomEvenement(12, LangueFrancais), U("Detection DC- d'un KMT"));
    EXPECT_EQ(NomEvenement(37, LangueFrancais), U("Demande de lancement de recherche sur un QFL8"));
    EXPECT_EQ(NomEvenement(37, LangueEspagnol), U("Pedido de arranque de busqueda del QFL8"));
}

TEST(MessagesVeilleur, ValuesOutsideTheTablesNeverReadPastThem)
{
    // A damaged language byte reads French.
    for (int langue : {3, 7, 255}) {
        SCOPED_TRACE(langue);
        const auto l = static_cast<TLangue>(langue);
        EXPECT_EQ(Texte(MsgAccueilLabelTitre, l), U("Fenêtre d'accueil"));
        EXPECT_STREQ(MsgAccueilLabelTitre[l], MsgAccueilLabelTitre.Textes[LangueFrancais]);
        EXPECT_EQ(NomEvenement(7, l), U("Préalarme KMT"));
    }
    // A damaged event code has no name.
    for (int code : {38, 255, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(NomEvenement(code, LangueFrancais).isEmpty());
        EXPECT_TRUE(NomEvenement(code, 7).isEmpty());
    }
}
