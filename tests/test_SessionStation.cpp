// Sessions in the running station: the session screen's flows (first
// administrator, log in and out, lockout, the last administrator, deletion
// confirmed without a nested loop), the end by inactivity on a clock the test
// moves, the rights of each mode on the screens, the journal, and a damaged
// users file.
#include "app/FormVeilleur.h"
#include "app/SessionStation.h"
#include "data/Chaine1252.h"
#include "data/ConfigSet.h"
#include "platform/EvenementNomme.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "screens/CadreAccueil.h"
#include "screens/CadreConfiguration.h"
#include "screens/CadreSession.h"
#include "support/FenetreTest.h"
#include "support/OutilsTest.h"
#include "widgets/CaseACocherGlyphe.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

struct TEntreeLue {
    int Code;
    int Attribut1;
    int Attribut2;
    QString Nom;
};

class SessionStationTest : public TFenetreTest {
protected:
    SessionStationTest() : TFenetreTest("SessionStation") {}

    TFormVeilleur& Creer()
    {
        Construire();
        fenetre->Sessions().DefinirHorloge([this] { return horloge; });
        fenetre->show();
        return *fenetre;
    }

    // Users written by a session of their own, as an earlier run would have left them.
    void PreparerUtilisateurs()
    {
        TSession session;
        session.Charger();
        ASSERT_TRUE(session.AjouterUtilisateur("DURAND", QString::fromUtf8("Hélène"), ModeAdministration,
                                               TMotDePasse("admin-1"), TMotDePasse("admin-1")).Reussi);
        ASSERT_TRUE(session.AjouterUtilisateur("MARTIN", "Paul", ModeExploitation, TMotDePasse("Exploit-2"),
                                               TMotDePasse("Exploit-2")).Reussi);
        ASSERT_TRUE(session.AjouterUtilisateur("BLANC", "Zoé", ModeConsultation, TMotDePasse("consult-3"),
                                               TMotDePasse("consult-3")).Reussi);
    }

    void Ouvrir(std::int32_t ecran)
    {
        EnvoyerEcran(fenetre.get(), ecran, 0);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::sendPostedEvents();
    }
    template <typename T = QWidget>
    T* Enfant(const char* nom) const
    {
        return fenetre->EcranCourant()->findChild<T*>(QString::fromLatin1(nom));
    }
    QLineEdit* Champ(const char* nom) const { return Enfant<QLineEdit>(nom); }
    void Cliquer(const char* nom) const { QTest::mouseClick(Enfant<QPushButton>(nom), Qt::LeftButton); }
    QString Message() const { return Enfant<QLabel>("LabelMessage")->text(); }
    QTreeWidget* Liste() const { return Enfant<QTreeWidget>("ListViewUtilisateurs"); }

    void Choisir(const QString& nom) const
    {
        for (int i = 0; i < Liste()->topLevelItemCount(); ++i)
            if (Liste()->topLevelItem(i)->text(0) == nom) {
                Liste()->clearSelection();
                Liste()->setCurrentItem(Liste()->topLevelItem(i));
                ASSERT_TRUE(Liste()->topLevelItem(i)->isSelected());
            }
    }
    void Entrer(const QString& nom, const char* motDePasse) const
    {
        Choisir(nom);
        QTest::keyClicks(Champ("EditMotDePasse"), QString::fromUtf8(motDePasse));
        Cliquer("ButtonDebutSession");
    }
    void Fiche(const QString& nom, const QString& prenom, std::uint8_t mode, const char* mdp, const char* bis) const
    {
        Champ("EditNom")->setText(nom);
        Champ("EditPrenom")->setText(prenom);
        Enfant<QComboBox>("ComboBoxMode")->setCurrentIndex(mode);
        QTest::keyClicks(Champ("EditNvMotDePasse"), QString::fromUtf8(mdp));
        QTest::keyClicks(Champ("EditNvMotDePasseBis"), QString::fromUtf8(bis));
    }

    std::vector<TEntreeLue> Journal() const
    {
        // Entries posted to the window, then written by the store's writer thread.
        QCoreApplication::processEvents();
        if (fenetre)
            fenetre->Journal().EcrireEntreesEnAttente();
        const QByteArray octets = LireFichier(QString::fromLatin1(NomFichierLog));
        std::vector<TEntreeLue> lues;
        for (qsizetype p = 0; p + 96 <= octets.size(); p += 96) {
            TEntreeLog e;
            std::memcpy(&e, octets.constData() + p, sizeof e);
            if (e.Code == CodeDebutSession || e.Code == CodeFinSession)
                lues.push_back({e.Code, e.Attribut1, e.Attribut2, LireChaine(e.InfosCompl)});
        }
        return lues;
    }

    std::int64_t horloge = 5'000'000;
};

TEST_F(SessionStationTest, PremierAdministrateurPuisEntreeEtSortie)
{
    TFormVeilleur& f = Creer();
    EXPECT_EQ(f.ModeCourant(), ModeAdministration);
    EXPECT_TRUE(f.UtilisateurCourant().isEmpty());
    Ouvrir(EcranSession);
    EXPECT_TRUE(Enfant("GroupBoxOutilsAdmin")->isEnabled());
    EXPECT_FALSE(Enfant("GroupBoxUtilisateurSelection")->isEnabled());
    EXPECT_FALSE(Enfant("ButtonDebutSession")->isEnabled());

    // The first user must be an administrator; fields holding passwords empty after each use.
    Fiche("MARTIN", "Paul", ModeExploitation, "Exploit-2", "Exploit-2");
    Cliquer("ButtonAjouter");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::PremierUtilisateurAdministrateur, LangueFrancais));
    EXPECT_TRUE(Champ("EditNvMotDePasse")->text().isEmpty());
    EXPECT_TRUE(Champ("EditNvMotDePasseBis")->text().isEmpty());
    EXPECT_EQ(Liste()->topLevelItemCount(), 0);
    // Differing only by a capital: refused, the exact text counts.
    Fiche("DURAND", QString::fromUtf8("Hélène"), ModeAdministration, "admin-1", "Admin-1");
    Cliquer("ButtonAjouter");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::MotsDePasseDifferents, LangueFrancais));
    Fiche("DURAND", QString::fromUtf8("Hélène"), ModeAdministration, "admin-1", "admin-1");
    Cliquer("ButtonAjouter");
    EXPECT_EQ(f.ModeCourant(), ModeAdministration);
    EXPECT_EQ(f.UtilisateurCourant(), QString::fromUtf8("Hélène DURAND"));
    EXPECT_EQ(Champ("EditUtilisateurEnCours")->text(), QString::fromUtf8("Hélène DURAND"));
    Fiche("MARTIN", "Paul", ModeExploitation, "Exploit-2", "Exploit-2");
    Cliquer("ButtonAjouter");
    ASSERT_EQ(Liste()->topLevelItemCount(), 2);
    EXPECT_EQ(Liste()->topLevelItem(0)->text(0), "DURAND");
    EXPECT_EQ(Liste()->topLevelItem(1)->text(2), "EXPLOITATION");
    EXPECT_TRUE(Enfant("GroupBoxUtilisateurSelection")->isEnabled());

    // Logging out: CONSULTATION, nobody, tools greyed with the reason on them.
    Cliquer("ButtonFinSession");
    EXPECT_EQ(f.ModeCourant(), ModeConsultation);
    EXPECT_TRUE(f.UtilisateurCourant().isEmpty());
    EXPECT_FALSE(Enfant("GroupBoxOutilsAdmin")->isEnabled());
    EXPECT_FALSE(Enfant("ButtonAjouter")->toolTip().isEmpty());
    EXPECT_FALSE(Enfant("ButtonFinSession")->isEnabled());

    // A wrong password changes nothing; the right one opens the operator's session.
    Entrer("MARTIN", "exploit-2");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::MotDePasseIncorrect, LangueFrancais));
    EXPECT_EQ(f.ModeCourant(), ModeConsultation);
    EXPECT_TRUE(Champ("EditMotDePasse")->text().isEmpty());
    Entrer("MARTIN", "Exploit-2");
    EXPECT_EQ(f.ModeCourant(), ModeExploitation);
    EXPECT_EQ(f.UtilisateurCourant(), "Paul MARTIN");
    EXPECT_FALSE(Enfant("GroupBoxOutilsAdmin")->isEnabled());
    // The message follows the language.
    QTest::mouseClick(f.findChild<QAbstractButton*>("SpeedButtonEn"), Qt::LeftButton);
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::SessionOuverte, LangueAnglais));
    EXPECT_EQ(Liste()->topLevelItem(1)->text(2), "EXPLOITATION");

    // Password change of the user in session: at least 6 characters, then usable.
    QTest::keyClicks(Champ("EditNvMotDePasse"), "court");
    QTest::keyClicks(Champ("EditNvMotDePasseBis"), "court");
    Cliquer("ButtonChangerMotDePasse");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::MotDePasseTropCourt, LangueAnglais));
    QTest::keyClicks(Champ("EditNvMotDePasse"), "Nouveau-7");
    QTest::keyClicks(Champ("EditNvMotDePasseBis"), "Nouveau-7");
    Cliquer("ButtonChangerMotDePasse");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::MotDePasseChange, LangueAnglais));
    EXPECT_TRUE(Champ("EditNvMotDePasse")->text().isEmpty());
    Cliquer("ButtonFinSession");
    Entrer("MARTIN", "Nouveau-7");
    EXPECT_EQ(f.ModeCourant(), ModeExploitation);

    // The home screen shows the mode and the user of now.
    Ouvrir(EcranAccueil);
    EXPECT_TRUE(Enfant("EditModeExploitation")->isVisible());
    EXPECT_FALSE(Enfant("EditModeAdministration")->isVisible());
    EXPECT_EQ(Champ("EditUtilisateurEnCours")->text(), "Paul MARTIN");

    // Starts and ends, named, in the journal; no password anywhere in it.
    const std::vector<TEntreeLue> attendu = {
        {4, 0, 1, QString::fromUtf8("Hélène DURAND")}, {5, 0, 0, QString::fromUtf8("Hélène DURAND")},
        {4, 0, 0, "Paul MARTIN"}, {4, 0, 1, "Paul MARTIN"}, {5, 0, 0, "Paul MARTIN"}, {4, 0, 1, "Paul MARTIN"}};
    const std::vector<TEntreeLue> lues = Journal();
    ASSERT_EQ(lues.size(), attendu.size());
    for (std::size_t i = 0; i < lues.size(); ++i) {
        EXPECT_EQ(lues[i].Code, attendu[i].Code) << i;
        EXPECT_EQ(lues[i].Attribut1, attendu[i].Attribut1) << i;
        EXPECT_EQ(lues[i].Attribut2, attendu[i].Attribut2) << i;
        EXPECT_EQ(lues[i].Nom, attendu[i].Nom) << i;
    }
    const QByteArray octets = LireFichier(QString::fromLatin1(NomFichierLog)) +
                              LireFichier(QString::fromLatin1(NomFichierUtilisateurs));
    for (const char* secret : {"admin-1", "Exploit-2", "Nouveau-7"})
        EXPECT_FALSE(octets.contains(secret)) << secret;
    EXPECT_TRUE(erreurs.empty());
}

TEST_F(SessionStationTest, RedemarrageEnConsultationEtBlocage)
{
    PreparerUtilisateurs();
    TFormVeilleur& f = Creer();
    EXPECT_EQ(f.ModeCourant(), ModeConsultation);
    EXPECT_TRUE(f.UtilisateurCourant().isEmpty());
    Ouvrir(EcranAccueil);
    EXPECT_TRUE(Enfant("EditModeConsultation")->isVisible());
    EXPECT_TRUE(Enfant("EditAucunUtilisateurEnCours")->isVisible());
    Ouvrir(EcranSession);
    ASSERT_EQ(Liste()->topLevelItemCount(), 3);
    EXPECT_EQ(Liste()->topLevelItem(0)->text(0), "BLANC");

    // Five wrong passwords block that user for 60 s, and that user only.
    for (int i = 0; i < TSession::NbEssaisMax; ++i)
        Entrer("DURAND", "faux-mot");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::MotDePasseIncorrectBloque, LangueFrancais, "60"));
    Entrer("DURAND", "admin-1");
    EXPECT_EQ(f.ModeCourant(), ModeConsultation);
    EXPECT_TRUE(Message().contains("60")) << Message().toStdString();
    Entrer("BLANC", "consult-3");
    EXPECT_EQ(f.UtilisateurCourant(), QString::fromUtf8("Zoé BLANC"));
    horloge += 59'000;
    Entrer("DURAND", "admin-1");
    EXPECT_EQ(f.UtilisateurCourant(), QString::fromUtf8("Zoé BLANC"));
    horloge += 1'000;
    Entrer("DURAND", "admin-1");
    EXPECT_EQ(f.ModeCourant(), ModeAdministration);
    EXPECT_EQ(f.UtilisateurCourant(), QString::fromUtf8("Hélène DURAND"));
    // The station went on: five refused starts, one blocked try journalled as nothing.
    int refus = 0;
    for (const TEntreeLue& e : Journal())
        refus += e.Code == CodeDebutSession && e.Attribut2 == DebutRefuse;
    EXPECT_EQ(refus, TSession::NbEssaisMax);
}

TEST_F(SessionStationTest, DernierAdministrateurEtSuppressionConfirmee)
{
    PreparerUtilisateurs();
    TFormVeilleur& f = Creer();
    Ouvrir(EcranSession);
    Entrer("DURAND", "admin-1");
    ASSERT_EQ(f.ModeCourant(), ModeAdministration);

    // Demoting the last administrator (here also the user in session) is refused.
    Choisir("DURAND");
    EXPECT_EQ(Champ("EditNom")->text(), "DURAND");
    Enfant<QComboBox>("ComboBoxMode")->setCurrentIndex(ModeExploitation);
    Cliquer("ButtonModifier");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::DernierAdministrateur, LangueFrancais));
    EXPECT_EQ(f.Sessions().Session().Utilisateurs()[1].Mode, ModeAdministration);

    // A second administrator; renaming through "Modifier" keeps the list sorted.
    Choisir("BLANC");
    Enfant<QComboBox>("ComboBoxMode")->setCurrentIndex(ModeAdministration);
    Champ("EditNom")->setText("VIDAL");
    Cliquer("ButtonModifier");
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::UtilisateurModifie, LangueFrancais));
    ASSERT_EQ(Liste()->topLevelItemCount(), 3);
    EXPECT_EQ(Liste()->topLevelItem(2)->text(0), "VIDAL");

    // Deleting asks first, with a box that does not hold the event loop: "No" keeps the user.
    Choisir("MARTIN");
    Cliquer("ButtonSupprimer");
    QPointer<QMessageBox> boite = static_cast<TFrameSession*>(f.EcranCourant())->Confirmation();
    ASSERT_TRUE(boite);
    EXPECT_TRUE(boite->text().contains("Paul MARTIN"));
    QTest::mouseClick(boite->button(QMessageBox::No), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Liste()->topLevelItemCount(), 3);
    Cliquer("ButtonSupprimer");
    boite = static_cast<TFrameSession*>(f.EcranCourant())->Confirmation();
    ASSERT_TRUE(boite);
    QTest::mouseClick(boite->button(QMessageBox::Yes), Qt::LeftButton);
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::UtilisateurSupprime, LangueFrancais));
    ASSERT_EQ(Liste()->topLevelItemCount(), 2);
    // The user in session cannot be deleted.
    Choisir("DURAND");
    Cliquer("ButtonSupprimer");
    boite = static_cast<TFrameSession*>(f.EcranCourant())->Confirmation();
    ASSERT_TRUE(boite);
    QTest::mouseClick(boite->button(QMessageBox::Yes), Qt::LeftButton);
    EXPECT_EQ(Message(), TexteMessageSession(EMessageSession::UtilisateurEnSession, LangueFrancais));
    EXPECT_EQ(Liste()->topLevelItemCount(), 2);
    // The file is what the screen shows.
    TSession relue;
    relue.Charger();
    ASSERT_EQ(relue.Utilisateurs().size(), 2u);
    EXPECT_EQ(relue.Utilisateurs()[1].Nom, "VIDAL");
    EXPECT_EQ(relue.Utilisateurs()[1].Mode, ModeAdministration);
}

// Each right of the table, in each mode, where it is enforced: the
// configuration screen and the user list's tools.
TEST_F(SessionStationTest, DroitsDeChaqueMode)
{
    PreparerUtilisateurs();
    TFormVeilleur& f = Creer();
    struct TCas {
        const char* nom;
        const char* motDePasse;
        std::uint8_t mode;
    };
    for (const TCas& cas : {TCas{nullptr, nullptr, ModeConsultation}, TCas{"MARTIN", "Exploit-2", ModeExploitation},
                            TCas{"DURAND", "admin-1", ModeAdministration}, TCas{"BLANC", "consult-3", ModeConsultation}}) {
        Ouvrir(EcranSession);
        if (cas.nom)
            Entrer(cas.nom, cas.motDePasse);
        ASSERT_EQ(f.ModeCourant(), cas.mode) << (cas.nom ? cas.nom : "personne");
        const bool admin = cas.mode == ModeAdministration;
        EXPECT_EQ(Enfant("GroupBoxOutilsAdmin")->isEnabled(), admin);
        EXPECT_EQ(Enfant("ButtonAjouter")->toolTip().isEmpty(), admin);
        // Logging in stays open to everybody.
        EXPECT_TRUE(Enfant("ButtonDebutSession")->isEnabled());

        Ouvrir(EcranConfiguration);
        auto* ecran = static_cast<TFrameConfiguration*>(f.EcranCourant());
        EXPECT_EQ(ecran->Modifiable(), admin);
        EXPECT_EQ(Enfant("ButtonValider")->isEnabled(), admin);
        EXPECT_EQ(Enfant("CheckBoxAcqAlarmes")->isEnabled(), admin);
        EXPECT_EQ(Enfant("ButtonValider")->toolTip().isEmpty(), admin);
        auto* noms = Enfant<QTableWidget>("ValueListEditorNomSources");
        EXPECT_EQ(noms->editTriggers() == QAbstractItemView::NoEditTriggers, !admin);
        // A name typed where nothing may be changed reaches neither the record nor the file.
        noms->setCurrentCell(0, 1);
        QTest::keyClicks(noms->viewport()->focusWidget() ? noms->viewport()->focusWidget() : noms, "Bloc A");
        ecran->ButtonValiderClick();
        EXPECT_EQ(LireChaine(ConfigSet.NomsSources[1]) == "Bloc A", admin);
        if (admin) {
            // Readable by all: the hint opens the session screen.
            EXPECT_FALSE(Enfant<QLabel>("LabelMsgAdmin")->text().isEmpty());
            EcrireChaine(ConfigSet.NomsSources[1], QString());
        }
        // The language stays open to everybody.
        QTest::mouseClick(f.findChild<QAbstractButton*>("SpeedButtonSp"), Qt::LeftButton);
        EXPECT_EQ(f.Langue(), LangueEspagnol);
        if (!admin) {
            EXPECT_EQ(Enfant("ButtonValider")->toolTip(),
                      TexteMessageSession(EMessageSession::DroitReserveAdministration, LangueEspagnol));
        }
        QTest::mouseClick(f.findChild<QAbstractButton*>("SpeedButtonFr"), Qt::LeftButton);
        Ouvrir(EcranSession);
        if (f.Sessions().Session().EnSession())
            Cliquer("ButtonFinSession");
    }
    EXPECT_TRUE(erreurs.empty());
}

// Fifteen minutes without input end the session, on the visible screen at once.
TEST_F(SessionStationTest, FinParInactivite)
{
    PreparerUtilisateurs();
    TFormVeilleur& f = Creer();
    Ouvrir(EcranSession);
    Entrer("DURAND", "admin-1");
    Ouvrir(EcranConfiguration);
    ASSERT_TRUE(Enfant("ButtonValider")->isEnabled());

    // Input pushes the end back.
    horloge += TSession::DelaiInactiviteMs - 1000;
    QTest::mouseMove(Enfant("LabelTitre"), QPoint(5, 5));
    QTest::keyClick(Enfant("LabelTitre"), Qt::Key_Shift);
    horloge += 2000;
    QTest::qWait(2 * TSessionStation::IntervalleVerificationMs);
    EXPECT_EQ(f.ModeCourant(), ModeAdministration);

    // Then nothing for 15 minutes: the timer ends it, journalled as by inactivity.
    horloge += TSession::DelaiInactiviteMs;
    const bool fini = QTest::qWaitFor([&] { return f.ModeCourant() == ModeConsultation; },
                                      3 * TSessionStation::IntervalleVerificationMs);
    ASSERT_TRUE(fini);
    EXPECT_TRUE(f.UtilisateurCourant().isEmpty());
    EXPECT_FALSE(Enfant("ButtonValider")->isEnabled());
    EXPECT_EQ(f.findChild<QStatusBar*>()->currentMessage(),
              TexteMessageSession(EMessageSession::SessionFinInactivite, LangueFrancais));
    // On the session screen the end shows at once, without the stale "session started".
    Ouvrir(EcranSession);
    Entrer("DURAND", "admin-1");
    ASSERT_EQ(f.ModeCourant(), ModeAdministration);
    horloge += TSession::DelaiInactiviteMs;
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.ModeCourant() == ModeConsultation; },
                                3 * TSessionStation::IntervalleVerificationMs));
    EXPECT_TRUE(Champ("EditUtilisateurEnCours")->text().isEmpty());
    EXPECT_TRUE(Message().isEmpty());
    EXPECT_FALSE(Enfant("GroupBoxOutilsAdmin")->isEnabled());
    const std::vector<TEntreeLue> lues = Journal();
    ASSERT_FALSE(lues.empty());
    EXPECT_EQ(lues.back().Code, CodeFinSession);
    EXPECT_EQ(lues.back().Attribut1, FinParInactivite);
    EXPECT_EQ(lues.back().Nom, QString::fromUtf8("Hélène DURAND"));
}

TEST_F(SessionStationTest, FichierEndommageEnConsultationAvecMessage)
{
    // Users but no administrator: not a file the station writes.
    EcrireFichier(QString::fromLatin1(NomFichierUtilisateurs),
                  "[Utilisateur1]\nNom=MARTIN\nPrenom=Paul\nMode=EXPLOITATION\nEmpreinte=$y$j9T$abc$def\n");
    TFormVeilleur& f = Creer();
    EXPECT_EQ(f.ModeCourant(), ModeConsultation);
    QMessageBox* boite = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (boite = f.findChild<QMessageBox*>("MessageFichierUtilisateurs")); },
                                2000));
    EXPECT_TRUE(boite->text().contains(QString::fromLatin1(NomFichierUtilisateurs)));
    EXPECT_TRUE(boite->isVisible());
    QTest::mouseClick(boite->button(QMessageBox::Ok), Qt::LeftButton);

    Ouvrir(EcranSession);
    EXPECT_TRUE(Message().contains(QString::fromLatin1(NomFichierUtilisateurs)));
    if (const QString captures = qEnvironmentVariable("VEILLEUR_CAPTURES"); !captures.isEmpty())
        f.EcranCourant()->grab().save(captures + QStringLiteral("/session-fichier-endommage.png"));
    EXPECT_FALSE(Enfant("ButtonDebutSession")->isEnabled());
    EXPECT_FALSE(Enfant("GroupBoxOutilsAdmin")->isEnabled());
    Ouvrir(EcranConfiguration);
    EXPECT_FALSE(Enfant("ButtonValider")->isEnabled());
    // Said once: no second box on the way.
    QTest::qWait(50);
    EXPECT_EQ(f.findChildren<QMessageBox*>("MessageFichierUtilisateurs").size(), 0);
}

} // namespace
