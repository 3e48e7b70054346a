// The main window: layout, start-up language, navigation, language switching,
// the monitoring strip, the timers, deferred requests and shutdown.
#include "app/BoutonMenu.h"
#include "app/CurseurSablier.h"
#include "app/FormVeilleur.h"
#include "app/GenerateurDemo.h"
#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "devices/CadreKMT.h"
#include "devices/CadreQFL.h"
#include "devices/CadreRecherche.h"
#include "platform/EvenementNomme.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "platform/SondePort.h"
#include "screens/CadreAccueil.h"
#include "screens/CadreConfiguration.h"
#include "screens/CadreJournal.h"
#include "screens/CadreNotices.h"
#include "screens/CadreSession.h"
#include "screens/CadreVueDEnsemble.h"
#include "support/FenetreTest.h"
#include "support/OutilsTest.h"
#include "text/MessagesVeilleur.h"
#include "widgets/BoutonAppareil.h"
#include "platform/CouleursSysteme.h"
#include "widgets/GrilleDessinee.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <semaphore.h>
#include <set>
#include <sys/stat.h>

namespace {

struct TAppelSon {
    int frequence;   // 0 for the default sound
    int duree;
    bool operator==(const TAppelSon&) const = default;
};

class TSonEnregistreur : public TSon {
public:
    explicit TSonEnregistreur(std::vector<TAppelSon>& appels) : m_appels(appels) {}
    void Tonalite(int frequenceHz, int dureeMs) override { m_appels.push_back({frequenceHz, dureeMs}); }
    void SonParDefaut() override { m_appels.push_back({0, 0}); }

private:
    std::vector<TAppelSon>& m_appels;
};

class FormVeilleurTest : public TFenetreTest {
protected:
    FormVeilleurTest() : TFenetreTest("VeilleurTest") {}

    TFormVeilleur& Creer() { return Construire(std::make_unique<TSonEnregistreur>(sons)); }

    template <typename T = QWidget>
    T* Enfant(const char* nom) const
    {
        return fenetre->findChild<T*>(QString::fromLatin1(nom));
    }
    TBoutonMenu* Bouton(const char* nom) const { return Enfant<TBoutonMenu>(nom); }

    // Lets posted requests and deferred reports run.
    static void Traiter()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::sendPostedEvents();
    }

    static void EcrireConfig(const std::function<void(TConfigSet&)>& remplir)
    {
        auto config = std::make_unique<TConfigSet>();
        std::memset(static_cast<void*>(config.get()), 0, sizeof(TConfigSet));
        remplir(*config);
        EnregistrerConfig(*config, QString::fromLatin1(NomFichierConfig));
    }

    // Read by the window's sound: the window goes first (TearDown).
    std::vector<TAppelSon> sons;
};

TEST_F(FormVeilleurTest, ControlesNommesASaPlace)
{
    TFormVeilleur& f = Creer();
    EXPECT_EQ(f.objectName(), QStringLiteral("FormVeilleur"));
    EXPECT_EQ(f.ZoneClient()->size(), QSize(1024, 768));

    struct { const char* nom; QRect place; const char* parent; } attendus[] = {
        {"PanelLogo", {0, 0, 264, 109}, "ZoneClient"},
        {"PanelBandeau", {264, 0, 760, 33}, "ZoneClient"},
        {"PanelMonitoring", {264, 33, 760, 76}, "ZoneClient"},
        {"PanelBoutons", {0, 109, 264, 642}, "ZoneClient"},
        {"PanelFrame0", {264, 109, 760, 642}, "ZoneClient"},
        {"PanelFrame", {4, 4, 752, 634}, "PanelFrame0"},
        {"StatusBar1", {0, 749, 1024, 19}, "ZoneClient"},
        {"LabelNomAppli", {3, 16, 257, 25}, "PanelBoutons"},
        {"ShapeSeparateurMenu", {6, 38, 252, 2}, "PanelBoutons"},
        {"ShapeSeparateurLangues", {6, 574, 252, 2}, "PanelBoutons"},
        {"SpeedButtonAccueil", {20, 72, 225, 49}, "PanelBoutons"},
        {"SpeedButtonSession", {20, 158, 225, 49}, "PanelBoutons"},
        {"SpeedButtonVueDEnsemble", {20, 244, 225, 49}, "PanelBoutons"},
        {"SpeedButtonJournal", {20, 331, 225, 49}, "PanelBoutons"},
        {"SpeedButtonNotices", {20, 417, 225, 49}, "PanelBoutons"},
        {"SpeedButtonConfiguration", {20, 504, 225, 49}, "PanelBoutons"},
        {"SpeedButtonEn", {12, 592, 77, 31}, "PanelBoutons"},
        {"SpeedButtonSp", {93, 592, 77, 31}, "PanelBoutons"},
        {"SpeedButtonFr", {175, 592, 77, 31}, "PanelBoutons"},
    };
    for (const auto& a : attendus) {
        QWidget* w = Enfant(a.nom);
        ASSERT_NE(w, nullptr) << a.nom;
        EXPECT_EQ(w->geometry(), a.place) << a.nom;
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(a.parent)) << a.nom;
    }
    QWidget* bandeau = Enfant("PanelBandeau");
    auto* min = bandeau->findChild<QPushButton*>(QStringLiteral("BitBtnMin"));
    auto* quit = bandeau->findChild<QPushButton*>(QStringLiteral("BitBtnQuit"));
    ASSERT_TRUE(min && quit);
    EXPECT_EQ(min->geometry(), QRect(706, 6, 23, 20));
    EXPECT_EQ(quit->geometry(), QRect(731, 6, 23, 20));
    EXPECT_EQ(quit->focusPolicy(), Qt::NoFocus);
    auto* labelBandeau = bandeau->findChild<QLabel*>(QStringLiteral("LabelBandeau"));
    ASSERT_TRUE(labelBandeau);
    EXPECT_TRUE(bandeau->contentsRect().contains(labelBandeau->geometry()));
    EXPECT_EQ(Enfant("LabelKMT")->pos(), QPoint(8, 16));
    EXPECT_EQ(Enfant("LabelQFL")->pos(), QPoint(8, 44));
    // Fonts: the banner 16 pixels bold, the menu 13 bold, the strip's labels
    // bold, everything else the window's 8 points (11 pixels).
    auto police = [&](const char* nom) { return Enfant(nom)->font(); };
    EXPECT_EQ(police("LabelBandeau").pixelSize(), 16);
    EXPECT_TRUE(police("LabelBandeau").bold());
    EXPECT_EQ(police("SpeedButtonJournal").pixelSize(), 13);
    EXPECT_TRUE(police("SpeedButtonJournal").bold());
    EXPECT_TRUE(police("LabelKMT").bold());
    EXPECT_EQ(police("LabelNomAppli").pixelSize(), 11);
    EXPECT_FALSE(police("LabelNomAppli").bold());
    EXPECT_EQ(police("SpeedButtonFr").pixelSize(), 11);
    EXPECT_EQ(police("LabelNomAppli").family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(Enfant<QLabel>("LabelNomAppli")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    const auto panneaux = Enfant<QStatusBar>("StatusBar1")->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panneaux.size(), 4);
    for (QLabel* p : panneaux)
        EXPECT_EQ(p->width(), 50);

    // The strip: upper row 1..31, lower row 33..63, each under its KMT.
    ASSERT_EQ(f.NbBoutons(), 62);
    for (int i = 1; i <= 62; ++i) {
        TBoutonAppareil* b = f.BoutonMonitoring(i);
        const int tag = i <= 31 ? i : i + 1;
        EXPECT_EQ(b->Tag(), tag);
        EXPECT_EQ(b->text(), QString::number(tag));
        EXPECT_EQ(b->objectName(), QStringLiteral("BoutonMonitoring%1").arg(tag));
        EXPECT_EQ(b->parentWidget(), Enfant("PanelMonitoring"));
        EXPECT_EQ(b->geometry(), QRect(39 + 23 * ((tag - 1) % 32), tag <= 31 ? 8 : 38, 22, 29)) << tag;
    }
    EXPECT_EQ(Enfant("BoutonMonitoring37")->x(), Enfant("BoutonMonitoring5")->x());
    EXPECT_EQ(Enfant("BoutonMonitoring31")->x(), 729);
    EXPECT_EQ(Enfant("BoutonMonitoring32"), nullptr);

    // Two exclusive groups, ids = tags.
    auto* menu = Bouton("SpeedButtonAccueil")->group();
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu->exclusive());
    EXPECT_EQ(menu->buttons().size(), 6);
    EXPECT_EQ(menu->id(Bouton("SpeedButtonConfiguration")), 6);
    auto* langues = Bouton("SpeedButtonFr")->group();
    ASSERT_TRUE(langues && langues != menu);
    EXPECT_EQ(langues->buttons().size(), 3);
    EXPECT_EQ(Bouton("SpeedButtonEn")->Tag(), 2);
    EXPECT_EQ(Bouton("SpeedButtonSp")->Tag(), 3);
    EXPECT_EQ(Bouton("SpeedButtonFr")->Tag(), 1);
    EXPECT_EQ(Bouton("SpeedButtonSp")->text(), QStringLiteral("Español"));
}

TEST_F(FormVeilleurTest, PanneauxDecoresEtImagesCompilees)
{
    TFormVeilleur& f = Creer();
    const QImage boutons = Enfant("PanelBoutons")->grab().toImage();
    EXPECT_EQ(boutons.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(boutons.pixelColor(3, 3), CouleursSysteme::OmbreBouton);   // lowered inner edge
    EXPECT_EQ(boutons.pixelColor(10, 60), QColor(0, 40, 85));
    EXPECT_EQ(boutons.pixelColor(10, 38), QColor(255, 0, 0));            // separator

    // Pictures come from the resources compiled into the library.
    auto* logo = Enfant<QLabel>("ImageLogo");
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->pixmap().size(), QSize(254, 100));
    TBoutonMenu* accueil = Bouton("SpeedButtonAccueil");
    EXPECT_EQ(accueil->EtatGlyphe(), 3);   // down
    EXPECT_EQ(accueil->GlypheAffiche().size(), QSize(32, 32));
    EXPECT_EQ(Bouton("SpeedButtonSession")->EtatGlyphe(), 0);
    EXPECT_FALSE(Enfant("PanelBandeau")->findChild<QPushButton*>(QStringLiteral("BitBtnQuit"))->icon().isNull());

    // Full screen on a larger screen: the client area in the middle.
    f.resize(1280, 1024);
    f.show();
    EXPECT_EQ(f.ZoneClient()->pos(), QPoint(128, 128));
}

TEST_F(FormVeilleurTest, DemarrageSansConfigEnFrancaisSurLAccueil)
{
    TFormVeilleur& f = Creer();
    EXPECT_EQ(f.Langue(), LangueFrancais);
    EXPECT_TRUE(Bouton("SpeedButtonFr")->isChecked());
    EXPECT_TRUE(Bouton("SpeedButtonAccueil")->isChecked());
    EXPECT_EQ(Bouton("SpeedButtonAccueil")->text(), QStringLiteral("Accueil"));
    EXPECT_EQ(Bouton("SpeedButtonJournal")->text(), QStringLiteral("Journal des évènements"));
    EXPECT_EQ(Enfant<QLabel>("LabelNomAppli")->text(), QStringLiteral("Orvane.PC - V 0.0"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Orvane.PC"));
    EXPECT_TRUE(qobject_cast<TFrameAccueil*>(f.EcranCourant()));
    EXPECT_EQ(f.EcranCourant()->parentWidget(), Enfant("PanelFrame"));
    EXPECT_EQ(f.EcranCourant()->geometry(), QRect(0, 0, 752, 634));
    EXPECT_EQ(f.NumEcranCourant(), EcranAccueil);
    EXPECT_EQ(f.NumAppareilCourant(), 1);
    EXPECT_EQ(f.CompteurDemo(), 1);
    EXPECT_FALSE(f.AlarmeEnCours());
    EXPECT_TRUE(f.UtilisateurCourant().isEmpty());
    EXPECT_EQ(f.ModeCourant(), ModeAdministration);
    EXPECT_EQ(f.InfosAccueil().Handle, &f);
    EXPECT_EQ(f.InfosKMT().Handle, &f);
    EXPECT_EQ(f.InfosQFL().Handle, &f);
    EXPECT_EQ(f.InfosRecherche().Handle, &f);
    EXPECT_EQ(f.NomsAppareils().Handle, &f);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Nothing is journalled at start.
    EXPECT_FALSE(QFile::exists(dossier.Chemin(QStringLiteral("Log.dat"))));
    EXPECT_FALSE(QFile::exists(dossier.Chemin(QStringLiteral("Config.set"))));
    for (auto [nom, intervalle] : {std::pair{"TimerBandeau", 200}, {"TimerMonitoringData", 1000},
                                   {"TimerDemo", 2000}, {"TimerBeep", 5000}}) {
        auto* timer = f.findChild<QTimer*>(QString::fromLatin1(nom));
        ASSERT_TRUE(timer) << nom;
        EXPECT_TRUE(timer->isActive()) << nom;
        EXPECT_EQ(timer->interval(), intervalle) << nom;
    }
    // The banner: the system's long date, then the 24-hour time.
    const QString bandeau = Enfant<QLabel>("LabelBandeau")->text();
    EXPECT_TRUE(QRegularExpression(QStringLiteral(".+ - \\d\\d:\\d\\d:\\d\\d$")).match(bandeau).hasMatch())
        << bandeau.toStdString();
}

TEST_F(FormVeilleurTest, LangueDeDemarrageLueDansConfigSet)
{
    struct { QByteArray contenu; TLangue langue; const char* bouton; const char* accueil; } cas[] = {
        {QByteArray(8, '\0') + '\x01', LangueAnglais, "SpeedButtonEn", "Home Page"},   // 9-byte file
        {QByteArray(8, '\0') + '\x02', LangueEspagnol, "SpeedButtonSp", "Inicio"},
        {QByteArray(8, '\0') + '\x07' + QByteArray(3131, '\0'), LangueFrancais, "SpeedButtonFr", "Accueil"},
        {QByteArray(), LangueFrancais, "SpeedButtonFr", "Accueil"},                    // empty file
    };
    for (const auto& c : cas) {
        EcrireFichier(dossier.Chemin(QStringLiteral("Config.set")), c.contenu);
        TFormVeilleur& f = Creer();
        EXPECT_EQ(f.Langue(), c.langue) << c.bouton;
        EXPECT_TRUE(Bouton(c.bouton)->isChecked()) << c.bouton;
        EXPECT_EQ(Bouton("SpeedButtonAccueil")->text(), QString::fromUtf8(c.accueil));
        fenetre.reset();
    }
    // The file is only read at start.
    EXPECT_EQ(LireFichier(dossier.Chemin(QStringLiteral("Config.set"))).size(), 0);
}

TEST_F(FormVeilleurTest, BoutonsDuMenuMontrentChaqueFoisUnEcranNeuf)
{
    TFormVeilleur& f = Creer();
    struct { const char* bouton; int ecran; const QMetaObject* classe; } cas[] = {
        {"SpeedButtonSession", EcranSession, &TFrameSession::staticMetaObject},
        {"SpeedButtonVueDEnsemble", EcranVueDEnsemble, &TFrameVueDEnsemble::staticMetaObject},
        {"SpeedButtonJournal", EcranJournal, &TFrameJournal::staticMetaObject},
        {"SpeedButtonNotices", EcranNotices, &TFrameNotices::staticMetaObject},
        {"SpeedButtonConfiguration", EcranConfiguration, &TFrameConfiguration::staticMetaObject},
        {"SpeedButtonAccueil", EcranAccueil, &TFrameAccueil::staticMetaObject},
    };
    for (const auto& c : cas) {
        QPointer<TFrameEnhanced> avant = f.EcranCourant();
        QTest::mouseClick(Bouton(c.bouton), Qt::LeftButton);
        EXPECT_TRUE(avant.isNull()) << c.bouton;
        ASSERT_TRUE(f.EcranCourant());
        EXPECT_EQ(f.EcranCourant()->metaObject(), c.classe) << c.bouton;
        EXPECT_EQ(f.NumEcranCourant(), c.ecran);
        EXPECT_TRUE(Bouton(c.bouton)->isChecked());
        EXPECT_EQ(f.findChildren<TFrameEnhanced*>().size(), 1);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.bouton;
    }
    // The button of the screen already shown shows it anew.
    QPointer<TFrameEnhanced> accueil = f.EcranCourant();
    QTest::mouseClick(Bouton("SpeedButtonAccueil"), Qt::LeftButton);
    EXPECT_TRUE(accueil.isNull());
    EXPECT_TRUE(qobject_cast<TFrameAccueil*>(f.EcranCourant()));
    EXPECT_TRUE(Bouton("SpeedButtonAccueil")->isChecked());
}

TEST_F(FormVeilleurTest, BoutonsDuBandeauOuvrentLesEcransAppareil)
{
    EcrireConfig([](TConfigSet& c) {
        EcrireChaine(c.NomsSources[5], QStringLiteral("Bloc opératoire"));
        EcrireChaine(c.NomsSources[8], QStringLiteral("Source huit"));
    });
    TFormVeilleur& f = Creer();
    QTest::mouseClick(Bouton("SpeedButtonVueDEnsemble"), Qt::LeftButton);

    QTest::mouseClick(f.BoutonMonitoring(39), Qt::LeftButton);   // tag 40
    auto* qfl = qobject_cast<TFrameQFL*>(f.EcranCourant());
    ASSERT_TRUE(qfl);
    EXPECT_EQ(f.NumEcranCourant(), EcranQFL);
    EXPECT_EQ(f.NumAppareilCourant(), 40);
    EXPECT_EQ(f.InfosQFL().NumAppareil, 40);
    EXPECT_EQ(f.InfosQFL().NomAppareil, QStringLiteral("Source huit"));
    EXPECT_EQ(f.InfosQFL().EcranRetour, EcranVueDEnsemble);
    bool nomAffiche = false;
    for (QLabel* l : qfl->findChildren<QLabel*>())
        nomAffiche = nomAffiche || l->text().contains(QStringLiteral("Source huit"));
    EXPECT_TRUE(nomAffiche);
    // Device screens leave the menu as it was.
    EXPECT_TRUE(Bouton("SpeedButtonVueDEnsemble")->isChecked());

    QTest::mouseClick(f.BoutonMonitoring(5), Qt::LeftButton);
    ASSERT_TRUE(qobject_cast<TFrameKMT*>(f.EcranCourant()));
    EXPECT_EQ(f.InfosKMT().NomAppareil, QStringLiteral("Bloc opératoire"));
    EXPECT_EQ(f.InfosKMT().EcranRetour, EcranVueDEnsemble);   // kept from the QFL screen
    EXPECT_EQ(f.NumAppareilCourant(), 5);
}

TEST_F(FormVeilleurTest, ParcoursAvecRetoursParLesBoutonsDesEcrans)
{
    // Overview -> KMT 5 -> search on 37 -> quit -> KMT 5 -> quit -> overview,
    // each step asked for by the visible screen itself.
    TFormVeilleur& f = Creer();
    auto cliquer = [&](const char* nom) {
        auto* bouton = f.EcranCourant()->findChild<QPushButton*>(QString::fromLatin1(nom));
        ASSERT_TRUE(bouton) << nom;
        QTest::mouseClick(bouton, Qt::LeftButton);
        Traiter();
    };
    QTest::mouseClick(Bouton("SpeedButtonVueDEnsemble"), Qt::LeftButton);
    ASSERT_EQ(f.NumEcranCourant(), EcranVueDEnsemble);
    PosterEcran(&f, EcranKMT, 5);   // what the overview's grid posts for row 5
    Traiter();
    ASSERT_TRUE(qobject_cast<TFrameKMT*>(f.EcranCourant()));
    EXPECT_EQ(f.InfosKMT().EcranRetour, EcranVueDEnsemble);

    cliquer("ButtonLancer");
    ASSERT_TRUE(qobject_cast<TFrameRecherche*>(f.EcranCourant()));
    EXPECT_EQ(f.NumAppareilCourant(), 37);
    EXPECT_EQ(f.InfosRecherche().NumAppareil, 37);
    EXPECT_EQ(f.InfosRecherche().EcranRetour, EcranKMT);
    EXPECT_EQ(f.InfosRecherche().AppareilRetour, 5);

    cliquer("BitBtnQuit");
    ASSERT_TRUE(qobject_cast<TFrameKMT*>(f.EcranCourant()));
    EXPECT_EQ(f.NumAppareilCourant(), 5);
    EXPECT_EQ(f.InfosKMT().NumAppareil, 5);
    EXPECT_EQ(f.InfosKMT().EcranRetour, EcranVueDEnsemble);   // still the overview

    cliquer("BitBtnQuit");
    EXPECT_TRUE(qobject_cast<TFrameVueDEnsemble*>(f.EcranCourant()));
    EXPECT_EQ(f.NumEcranCourant(), EcranVueDEnsemble);
    EXPECT_TRUE(Bouton("SpeedButtonVueDEnsemble")->isChecked());
    EXPECT_EQ(f.findChildren<TFrameEnhanced*>().size(), 1);

    // Requests outside the table or with a device of the wrong family change nothing.
    QPointer<TFrameEnhanced> visible = f.EcranCourant();
    for (auto [ecran, appareil] : {std::pair{0, 0}, {7, 0}, {9, 0}, {13, 0}, {EcranKMT, 0}, {EcranKMT, 32},
                                   {EcranKMT, 40}, {EcranQFL, 31}, {EcranQFL, 64}, {EcranRecherche, 32}}) {
        EnvoyerEcran(&f, ecran, appareil);
        PosterEcran(&f, ecran, appareil);
        Traiter();
        EXPECT_EQ(f.EcranCourant(), visible.data()) << ecran << "/" << appareil;
        EXPECT_EQ(f.NumEcranCourant(), EcranVueDEnsemble);
        EXPECT_EQ(f.NumAppareilCourant(), 5);
    }
    EXPECT_TRUE(visible);
}

TEST_F(FormVeilleurTest, BoutonsDeLangueEnregistrentEtReetiquettent)
{
    TFormVeilleur& f = Creer();
    QPointer<TFrameEnhanced> accueil = f.EcranCourant();
    QTest::mouseClick(Bouton("SpeedButtonEn"), Qt::LeftButton);
    EXPECT_EQ(f.Langue(), LangueAnglais);
    QByteArray fichier = LireFichier(dossier.Chemin(QStringLiteral("Config.set")));
    ASSERT_EQ(fichier.size(), 3140);
    EXPECT_EQ(fichier[8], '\x01');
    EXPECT_EQ(Bouton("SpeedButtonAccueil")->text(), QStringLiteral("Home Page"));
    EXPECT_EQ(Bouton("SpeedButtonSession")->text(), QStringLiteral("Login / Logout"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Orvane.PC"));
    // Relabelled in place: the same home screen, now in English.
    EXPECT_EQ(f.EcranCourant(), accueil.data());
    EXPECT_EQ(f.EcranCourant()->findChild<QLabel*>(QStringLiteral("LabelTitre"))->text(), QStringLiteral("Home page"));

    // The event log screen is shown anew, its entries named in the new language.
    QTest::mouseClick(Bouton("SpeedButtonJournal"), Qt::LeftButton);
    QPointer<TFrameEnhanced> journal = f.EcranCourant();
    EXPECT_EQ(f.TamponJournal().Langue, LangueAnglais);
    QTest::mouseClick(Bouton("SpeedButtonSp"), Qt::LeftButton);
    EXPECT_TRUE(journal.isNull());
    EXPECT_TRUE(qobject_cast<TFrameJournal*>(f.EcranCourant()));
    EXPECT_EQ(f.TamponJournal().Langue, LangueEspagnol);
    EXPECT_TRUE(Bouton("SpeedButtonJournal")->isChecked());
    fichier = LireFichier(dossier.Chemin(QStringLiteral("Config.set")));
    EXPECT_EQ(fichier[8], '\x02');
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Back to French on the same button group; the rest of the record is kept.
    QTest::mouseClick(Bouton("SpeedButtonFr"), Qt::LeftButton);
    EXPECT_EQ(LireFichier(dossier.Chemin(QStringLiteral("Config.set")))[8], '\0');
    EXPECT_EQ(Bouton("SpeedButtonAccueil")->text(), QStringLiteral("Accueil"));
    Traiter();
    EXPECT_TRUE(erreurs.empty());
}

TEST_F(FormVeilleurTest, EchecDEnregistrementReetiquetteEtLeDitUneFois)
{
    TFormVeilleur& f = Creer();
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Config.set")));   // cannot be written over
    QTest::mouseClick(Bouton("SpeedButtonEn"), Qt::LeftButton);
    EXPECT_EQ(f.Langue(), LangueAnglais);
    EXPECT_TRUE(Bouton("SpeedButtonEn")->isChecked());
    EXPECT_EQ(Bouton("SpeedButtonAccueil")->text(), QStringLiteral("Home Page"));
    EXPECT_TRUE(erreurs.empty());   // reported once the handler has returned
    Traiter();
    ASSERT_EQ(erreurs.size(), 1u);
    EXPECT_TRUE(erreurs[0].contains(QStringLiteral("Config.set"))) << erreurs[0].toStdString();
}

TEST_F(FormVeilleurTest, JournalIllisibleSignaleEtEcranVide)
{
    TFormVeilleur& f = Creer();
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    QTest::mouseClick(Bouton("SpeedButtonJournal"), Qt::LeftButton);
    ASSERT_TRUE(qobject_cast<TFrameJournal*>(f.EcranCourant()));
    EXPECT_EQ(f.TamponJournal().NbEntrees, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Traiter();
    EXPECT_EQ(erreurs.size(), 1u);
    EXPECT_FALSE(f.Journal().AccesLogEnCours());

    // An append that fails through WM_LOG is reported too, after the send.
    TEntreeLog entree{};
    entree.Code = 7;
    EnvoyerLog(&f, entree);
    EXPECT_EQ(erreurs.size(), 1u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return erreurs.size() >= 2u; }, 3000));
    EXPECT_EQ(erreurs.size(), 2u);
    EXPECT_FALSE(f.Journal().AccesLogEnCours());
}

TEST_F(FormVeilleurTest, BandeauColoreDepuisLesEnregistrements)
{
    TFormVeilleur& f = Creer();
    {
        TEcritureDonnees ecriture(f.VerrouDonnees());
        auto& d = f.DonneesKMT();
        d[3].Present = true; d[3].PreAlarme = true;
        d[4].Present = true; d[4].PreAlarme = true; d[4].Alarme = true;
        d[5].Alarme = true;   // absent
        d[6].Present = true;
    }
    f.TimerMonitoringDataTimer();
    EXPECT_TRUE(f.AlarmeEnCours());
    EXPECT_EQ(f.BoutonMonitoring(3)->CouleurFace(), QColor(240, 240, 0));
    EXPECT_EQ(f.BoutonMonitoring(4)->CouleurFace(), QColor(255, 0, 0));
    EXPECT_EQ(f.BoutonMonitoring(5)->CouleurFace(), QColor(255, 0, 0));
    EXPECT_EQ(f.BoutonMonitoring(5)->CouleurTexte(), CouleursSysteme::OmbreBouton);
    EXPECT_EQ(f.BoutonMonitoring(6)->CouleurTexte(), CouleursSysteme::TexteBouton);
    EXPECT_EQ(f.BoutonMonitoring(6)->CouleurFace(), CouleursSysteme::FaceBouton);
    EXPECT_EQ(f.BoutonMonitoring(4)->grab().toImage().pixelColor(4, 4), QColor(255, 0, 0));
    // The QFL row keeps its default colours, even under a device in alarm.
    for (int i = 32; i <= 62; ++i) {
        EXPECT_EQ(f.BoutonMonitoring(i)->CouleurTexte(), CouleursSysteme::TexteBouton) << i;
        EXPECT_EQ(f.BoutonMonitoring(i)->CouleurFace(), CouleursSysteme::FaceBouton) << i;
    }
    EXPECT_FALSE(f.VerrouDonnees().Pris());

    {
        TEcritureDonnees ecriture(f.VerrouDonnees());
        for (auto& d : f.DonneesKMT())
            d.PreAlarme = d.Alarme = false;
    }
    f.TimerMonitoringDataTimer();
    EXPECT_FALSE(f.AlarmeEnCours());
    EXPECT_EQ(f.BoutonMonitoring(4)->CouleurFace(), CouleursSysteme::FaceBouton);
    EXPECT_EQ(f.BoutonMonitoring(4)->CouleurTexte(), CouleursSysteme::TexteBouton);
}

TEST_F(FormVeilleurTest, TickDeSurveillanceRafraichitVueDEnsembleEtKMT)
{
    TFormVeilleur& f = Creer();
    QTest::mouseClick(Bouton("SpeedButtonVueDEnsemble"), Qt::LeftButton);
    {
        TEcritureDonnees ecriture(f.VerrouDonnees());
        f.DonneesKMT()[7].Present = true;
        f.DonneesKMT()[7].RIsolement = 123;
    }
    QPointer<TFrameEnhanced> vue = f.EcranCourant();
    f.TimerMonitoringDataTimer();
    EXPECT_EQ(f.EcranCourant(), vue.data());
    EXPECT_TRUE(f.EtatsAppareils().Present[7]);
    EXPECT_EQ(f.EtatsAppareils().RIsolement[7], 123);

    // On the KMT screen the shown device's record is read under the lock.
    f.Generateur().Tick();
    QTest::mouseClick(f.BoutonMonitoring(12), Qt::LeftButton);
    ASSERT_TRUE(qobject_cast<TFrameKMT*>(f.EcranCourant()));
    f.TimerMonitoringDataTimer();
    EXPECT_FALSE(f.VerrouDonnees().Pris());
    bool valeurAffichee = false;
    for (QLineEdit* e : f.EcranCourant()->findChildren<QLineEdit*>())
        valeurAffichee = valeurAffichee || e->text().contains(QStringLiteral("250"));
    EXPECT_TRUE(valeurAffichee);
}

// Ticks falling due while one waits for a reader are dropped: the kept one
// runs once when the reader is done, not once per tick missed.
TEST_F(FormVeilleurTest, TickDeDemonstrationAttendLaFinDUneLecture)
{
    TFormVeilleur& f = Creer();
    // Only the ticks asked for below: the timer's own could come on a slow machine.
    f.findChild<QTimer*>(QStringLiteral("TimerDemo"))->stop();
    {
        TLectureDonnees lecture(f.VerrouDonnees());
        for (int i = 0; i < 3; ++i)
            f.TimerDemoTimer();   // must neither wait for itself nor write under the reader
        EXPECT_EQ(f.DonneesKMT()[12].NbMesures, 0);
        EXPECT_EQ(f.CompteurDemo(), 1);
        Traiter();
        QTest::qWait(30);
        EXPECT_EQ(f.DonneesKMT()[12].NbMesures, 0);
        EXPECT_EQ(f.CompteurDemo(), 1);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.CompteurDemo() == 2; }, 2000));
    EXPECT_EQ(f.DonneesKMT()[12].RIsolement, 250);
    EXPECT_EQ(f.DonneesKMT()[26].RIsolement, 354);
    QTest::qWait(30);
    EXPECT_EQ(f.CompteurDemo(), 2);   // run once, not once per tick or retry
    EXPECT_EQ(f.DonneesKMT()[26].NbMesures, 1);
}

TEST_F(FormVeilleurTest, PreAlarmeDeDemonstrationJournaliseeDansLogDat)
{
    TFormVeilleur& f = Creer();
    for (int s = 1; s <= 158; ++s)
        f.TimerDemoTimer();
    EXPECT_FALSE(QFile::exists(dossier.Chemin(QStringLiteral("Log.dat"))));
    f.TimerDemoTimer();   // step 159: device 26's first pre-alarm
    EXPECT_EQ(f.CompteurDemo(), 160);
    f.Journal().EcrireEntreesEnAttente();   // written by the store's own thread
    const QByteArray log = LireFichier(dossier.Chemin(QStringLiteral("Log.dat")));
    ASSERT_EQ(log.size(), 96);
    TEntreeLog entree;
    std::memcpy(&entree, log.constData(), sizeof entree);
    EXPECT_EQ(entree.Code, 7);
    EXPECT_EQ(entree.Origine, 26);
    EXPECT_EQ(entree.Attribut2, 1);
    EXPECT_DOUBLE_EQ(entree.Valeur1, f.DonneesKMT()[26].RIsolement);
    EXPECT_DOUBLE_EQ(entree.Valeur2, f.DonneesKMT()[26].RSeuil);
    EXPECT_FALSE(f.Journal().AccesLogEnCours());

    // The strip and the beep follow at the next ticks.
    f.TimerMonitoringDataTimer();
    EXPECT_EQ(f.BoutonMonitoring(26)->CouleurFace(), QColor(240, 240, 0));
    EXPECT_EQ(f.BoutonMonitoring(12)->CouleurFace(), CouleursSysteme::FaceBouton);
    EXPECT_EQ(f.BoutonMonitoring(12)->CouleurTexte(), CouleursSysteme::TexteBouton);
    EXPECT_EQ(f.BoutonMonitoring(1)->CouleurTexte(), CouleursSysteme::OmbreBouton);
    EXPECT_TRUE(f.AlarmeEnCours());
}

TEST_F(FormVeilleurTest, BipSeulementPendantUneAlarme)
{
    TFormVeilleur& f = Creer();
    f.TimerBeepTimer();
    EXPECT_TRUE(sons.empty());
    {
        TEcritureDonnees ecriture(f.VerrouDonnees());
        f.DonneesKMT()[9].PreAlarme = true;   // a pre-alarm alone is enough
    }
    f.TimerMonitoringDataTimer();
    f.TimerBeepTimer();
    const std::vector<TAppelSon> motif = {{980, 100}, {490, 100}, {0, 0}};
    EXPECT_EQ(sons, motif);
    f.TimerBeepTimer();
    EXPECT_EQ(sons.size(), 6u);
    {
        TEcritureDonnees ecriture(f.VerrouDonnees());
        f.DonneesKMT()[9].PreAlarme = false;
    }
    // The beep tick does not look at the records: one more pattern before the
    // monitoring tick clears the flag, then silence.
    f.TimerBeepTimer();
    EXPECT_EQ(sons.size(), 9u);
    f.TimerMonitoringDataTimer();
    f.TimerBeepTimer();
    EXPECT_EQ(sons.size(), 9u);
}

TEST_F(FormVeilleurTest, RequetesGardeesPendantQuUnEcranEstOccupe)
{
    TFormVeilleur& f = Creer();
    QPointer<TFrameEnhanced> accueil = f.EcranCourant();
    {
        TOccupationEcran occupation(*f.EcranCourant());
        PosterEcran(&f, EcranVueDEnsemble);
        Traiter();
        QTest::mouseClick(Bouton("SpeedButtonEn"), Qt::LeftButton);
        f.close();
        EXPECT_EQ(f.EcranCourant(), accueil.data());
        EXPECT_EQ(f.Langue(), LangueFrancais);
        EXPECT_FALSE(f.Fermee());
        EXPECT_EQ(f.RequetesEnAttente(), 3);
        EXPECT_FALSE(QFile::exists(dossier.Chemin(QStringLiteral("Config.set"))));
        // A busy screen is not refreshed either.
        f.TimerMonitoringDataTimer();
    }
    EXPECT_TRUE(accueil);   // nothing happens inside the screen's handler
    Traiter();
    EXPECT_TRUE(accueil.isNull());
    EXPECT_EQ(f.NumEcranCourant(), EcranVueDEnsemble);
    EXPECT_EQ(f.Langue(), LangueAnglais);
    EXPECT_EQ(LireFichier(dossier.Chemin(QStringLiteral("Config.set")))[8], '\x01');
    EXPECT_TRUE(f.Fermee());
    EXPECT_EQ(f.EcranCourant(), nullptr);
    EXPECT_EQ(f.RequetesEnAttente(), 0);
}

// A menu or language button clicked while the screen is busy (a port scan)
// goes down only once its screen or language is in place.
TEST_F(FormVeilleurTest, BoutonEnfonceQuandSaDemandeEstServie)
{
    TFormVeilleur& f = Creer();
    {
        TOccupationEcran occupation(*f.EcranCourant());
        QTest::mouseClick(Bouton("SpeedButtonJournal"), Qt::LeftButton);
        QTest::mouseClick(Bouton("SpeedButtonSp"), Qt::LeftButton);
        Traiter();
        EXPECT_TRUE(Bouton("SpeedButtonAccueil")->isChecked());
        EXPECT_FALSE(Bouton("SpeedButtonJournal")->isChecked());
        EXPECT_TRUE(Bouton("SpeedButtonFr")->isChecked());
    }
    Traiter();
    EXPECT_EQ(f.NumEcranCourant(), EcranJournal);
    EXPECT_TRUE(Bouton("SpeedButtonJournal")->isChecked());
    EXPECT_FALSE(Bouton("SpeedButtonAccueil")->isChecked());
    EXPECT_TRUE(Bouton("SpeedButtonSp")->isChecked());
}

// Once the screen is released its kept requests are queued to run; a click
// that comes before they have run is a later request and must not be undone by
// them.
TEST_F(FormVeilleurTest, DemandeFaiteAvantLeTraitementDesRequetesGardeesPasseApres)
{
    TFormVeilleur& f = Creer();
    {
        TOccupationEcran occupation(*f.EcranCourant());
        PosterEcran(&f, EcranVueDEnsemble);
        QCoreApplication::sendPostedEvents(&f, WM_ECRAN);
        QTest::mouseClick(Bouton("SpeedButtonEn"), Qt::LeftButton);
        EXPECT_EQ(f.RequetesEnAttente(), 2);
    }
    EnvoyerEcran(&f, EcranJournal);
    QTest::mouseClick(Bouton("SpeedButtonSp"), Qt::LeftButton);
    Traiter();
    EXPECT_EQ(f.NumEcranCourant(), EcranJournal);
    EXPECT_TRUE(qobject_cast<TFrameJournal*>(f.EcranCourant()));
    EXPECT_EQ(f.Langue(), LangueEspagnol);
    EXPECT_EQ(f.RequetesEnAttente(), 0);
}

TEST_F(FormVeilleurTest, FermetureArreteLesTimersPuisDetruitEcranEtBoutons)
{
    QApplication::setQuitOnLastWindowClosed(false);
    TFormVeilleur& f = Creer();
    f.show();
    QTest::mouseClick(Bouton("SpeedButtonJournal"), Qt::LeftButton);
    std::vector<std::string> ordre;
    auto* timerDemo = f.findChild<QTimer*>(QStringLiteral("TimerDemo"));
    QObject::connect(f.EcranCourant(), &QObject::destroyed, [&] {
        ordre.push_back(timerDemo->isActive() ? "ecran avec timers" : "ecran");
    });
    QObject::connect(f.BoutonMonitoring(1), &QObject::destroyed, [&] { ordre.push_back("bouton"); });
    QPointer<TBoutonAppareil> dernier = f.BoutonMonitoring(62);

    QTest::mouseClick(Enfant("PanelBandeau")->findChild<QPushButton*>(QStringLiteral("BitBtnQuit")), Qt::LeftButton);
    EXPECT_TRUE(f.Fermee());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(ordre, (std::vector<std::string>{"ecran", "bouton"}));
    EXPECT_TRUE(dernier.isNull());
    EXPECT_EQ(f.EcranCourant(), nullptr);
    EXPECT_EQ(f.NbBoutons(), 0);
    for (QTimer* t : f.findChildren<QTimer*>())
        EXPECT_FALSE(t->isActive()) << t->objectName().toStdString();
    // A tick already queued finds nothing to touch.
    f.TimerMonitoringDataTimer();
    f.TimerDemoTimer();
    f.TimerBeepTimer();
    f.TimerBandeauTimer();
    EXPECT_EQ(f.CompteurDemo(), 1);
    // Messages after the close are ignored.
    EnvoyerEcran(&f, EcranAccueil);
    EXPECT_EQ(f.EcranCourant(), nullptr);
}

TEST(Bandeau, DateLongueDeLaLocalePuisHeureSur24Heures)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale fr(QLocale::French, QLocale::France);
    const QDate date(2026, 1, 2);
    // Afternoon hours stay on 24 hours, morning ones keep their zero.
    EXPECT_EQ(TFormVeilleur::TexteBandeau(QDateTime(date, QTime(19, 5, 0)), us),
              us.toString(date, QLocale::LongFormat) + QStringLiteral(" - 19:05:00"));
    EXPECT_EQ(TFormVeilleur::TexteBandeau(QDateTime(date, QTime(7, 8, 9)), fr),
              QStringLiteral("vendredi 2 janvier 2026 - 07:08:09"));
    EXPECT_TRUE(TFormVeilleur::TexteBandeau(QDateTime(date, QTime(19, 5, 0)), us).contains(QStringLiteral("January")));
    // The time takes the locale's own separator.
    const QLocale fi(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(TFormVeilleur::TexteBandeau(QDateTime(date, QTime(7, 8, 9)), fi),
              fi.toString(date, QLocale::LongFormat) + QStringLiteral(" - 07.08.09"));
}

TEST_F(FormVeilleurTest, BandeauALHeureDuSysteme)
{
    TFormVeilleur& f = Creer();
    const QDateTime avant = QDateTime::currentDateTime().addSecs(-1);
    f.TimerBandeauTimer();
    const QDateTime apres = QDateTime::currentDateTime();
    const QString texte = Enfant<QLabel>("LabelBandeau")->text();
    bool trouve = false;
    for (QDateTime t = avant; t <= apres.addSecs(1) && !trouve; t = t.addSecs(1))
        trouve = texte == TFormVeilleur::TexteBandeau(t, QLocale::system());
    EXPECT_TRUE(trouve) << texte.toStdString();
}

TEST_F(FormVeilleurTest, SablierPourLesEcrans3456SeulementEtToujoursRetire)
{
    TFormVeilleur& f = Creer();
    // One entry in the journal, so that loading it asks the journal's clock,
    // which tells what the cursor is while the tail is read.
    TEntreeLog entree{};
    entree.Code = 7;
    entree.DateHeure = DateVeilleur::Maintenant();
    f.Journal().AjouterEntreeLog(entree);
    QList<Qt::CursorShape> curseursPendantChargement;
    f.Journal().DefinirHorloge([&] {
        const QCursor* c = QApplication::overrideCursor();
        curseursPendantChargement.push_back(c ? c->shape() : Qt::ArrowCursor);
        return DateVeilleur::Maintenant();
    });

    struct { int ecran; int appareil; int poses; } cas[] = {
        {EcranSession, 0, 0}, {EcranVueDEnsemble, 0, 1}, {EcranJournal, 0, 1}, {EcranNotices, 0, 1},
        {EcranConfiguration, 0, 1}, {EcranAccueil, 0, 0}, {EcranKMT, 12, 0}, {EcranQFL, 44, 0},
        {EcranRecherche, 44, 0}, {EcranJournal, 0, 1},
    };
    for (const auto& c : cas) {
        const int avant = TCurseurSablier::NbPoses();
        EnvoyerEcran(&f, c.ecran, c.appareil);
        ASSERT_EQ(f.NumEcranCourant(), c.ecran);
        EXPECT_EQ(TCurseurSablier::NbPoses() - avant, c.poses) << c.ecran;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.ecran;
    }
    EXPECT_EQ(curseursPendantChargement, (QList<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor}));

    // Restored when the load fails as well.
    ASSERT_TRUE(QFile::remove(dossier.Chemin(QStringLiteral("Log.dat"))));
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    const int avant = TCurseurSablier::NbPoses();
    EnvoyerEcran(&f, EcranJournal);
    EXPECT_EQ(TCurseurSablier::NbPoses() - avant, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Traiter();
    EXPECT_EQ(erreurs.size(), 1u);
}

TEST_F(FormVeilleurTest, LangueChoisieParLEtiquetteDuBouton)
{
    TFormVeilleur& f = Creer();
    TBoutonMenu anglais(2);
    f.SpeedButtonLangueClick(&anglais);
    EXPECT_EQ(f.Langue(), LangueAnglais);
    EXPECT_TRUE(Bouton("SpeedButtonEn")->isChecked());
    EXPECT_EQ(LireFichier(dossier.Chemin(QStringLiteral("Config.set")))[8], '\x01');

    // Any other tag keeps the language, yet the record is still written and
    // the window relabelled, the buttons showing the language in use.
    ASSERT_TRUE(QFile::remove(dossier.Chemin(QStringLiteral("Config.set"))));
    Bouton("SpeedButtonSp")->setChecked(true);
    Bouton("SpeedButtonAccueil")->setText(QString());
    for (int tag : {0, 4, -1}) {
        TBoutonMenu autre(tag);
        f.SpeedButtonLangueClick(&autre);
        EXPECT_EQ(f.Langue(), LangueAnglais) << tag;
    }
    const QByteArray fichier = LireFichier(dossier.Chemin(QStringLiteral("Config.set")));
    ASSERT_EQ(fichier.size(), 3140);
    EXPECT_EQ(fichier[8], '\x01');
    EXPECT_TRUE(Bouton("SpeedButtonEn")->isChecked());
    EXPECT_EQ(Bouton("SpeedButtonAccueil")->text(), QStringLiteral("Home Page"));

    TBoutonMenu espagnol(3), francais(1);
    f.SpeedButtonLangueClick(&espagnol);
    EXPECT_EQ(f.Langue(), LangueEspagnol);
    EXPECT_TRUE(Bouton("SpeedButtonSp")->isChecked());
    f.SpeedButtonLangueClick(&francais);
    EXPECT_EQ(f.Langue(), LangueFrancais);
    EXPECT_TRUE(Bouton("SpeedButtonFr")->isChecked());
    EXPECT_EQ(LireFichier(dossier.Chemin(QStringLiteral("Config.set")))[8], '\0');
    Traiter();
    EXPECT_TRUE(erreurs.empty());
}

TEST_F(FormVeilleurTest, NoticesReetiquetteesSurPlace)
{
    TFormVeilleur& f = Creer();
    QTest::mouseClick(Bouton("SpeedButtonNotices"), Qt::LeftButton);
    QPointer<TFrameEnhanced> notices = f.EcranCourant();
    auto* titre = notices->findChild<QLabel*>(QStringLiteral("LabelTitre"));
    ASSERT_TRUE(titre);
    EXPECT_EQ(titre->text(), QStringLiteral("Notices"));
    const int poses = TCurseurSablier::NbPoses();
    QTest::mouseClick(Bouton("SpeedButtonEn"), Qt::LeftButton);
    EXPECT_EQ(f.EcranCourant(), notices.data());
    EXPECT_EQ(titre->text(), Texte(MsgNoticesLabelNotices, LangueAnglais));
    EXPECT_NE(titre->text(), QStringLiteral("Notices"));
    EXPECT_EQ(TCurseurSablier::NbPoses(), poses);   // not shown anew
    EXPECT_TRUE(Bouton("SpeedButtonNotices")->isChecked());
}

TEST_F(FormVeilleurTest, JournalVisibleNonRafraichiParLeTickDeSurveillance)
{
    TFormVeilleur& f = Creer();
    QTest::mouseClick(Bouton("SpeedButtonJournal"), Qt::LeftButton);
    QPointer<TFrameEnhanced> journal = f.EcranCourant();
    auto* liste = journal->findChild<QTreeWidget*>(QStringLiteral("ListViewJournal"));
    ASSERT_TRUE(liste);
    ASSERT_EQ(liste->topLevelItemCount(), 0);
    TEntreeLog entree{};
    entree.Code = 7;
    entree.DateHeure = DateVeilleur::Maintenant();
    f.Journal().AjouterEntreeLog(entree);
    {
        TEcritureDonnees ecriture(f.VerrouDonnees());
        f.DonneesKMT()[3].PreAlarme = true;
    }
    f.TimerMonitoringDataTimer();
    EXPECT_EQ(f.BoutonMonitoring(3)->CouleurFace(), QColor(240, 240, 0));
    EXPECT_EQ(f.EcranCourant(), journal.data());
    EXPECT_EQ(liste->topLevelItemCount(), 0);
    EXPECT_EQ(f.TamponJournal().NbEntrees, 0);
    // Shown again, it lists the new entry.
    QTest::mouseClick(Bouton("SpeedButtonJournal"), Qt::LeftButton);
    EXPECT_TRUE(journal.isNull());
    EXPECT_EQ(f.TamponJournal().NbEntrees, 1);
}

// The KMT screen lets pending events run while a cursor moves. A request that
// arrived then waits for Libere; if, before it runs, the operator moves a
// cursor again, it must wait once more rather than destroy the screen inside
// that handler.
TEST_F(FormVeilleurTest, DemandeDiffereeReattendSiLEcranKMTRedevientOccupe)
{
    TFormVeilleur& f = Creer();
    for (int i = 0; i < 5; ++i)
        f.Generateur().Tick();
    QTest::mouseClick(f.BoutonMonitoring(12), Qt::LeftButton);
    QPointer<TFrameEnhanced> kmt = f.EcranCourant();
    ASSERT_TRUE(qobject_cast<TFrameKMT*>(kmt));
    auto* curseur = kmt->findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    ASSERT_TRUE(curseur && curseur->isEnabled());
    bool glissement = false;
    bool detruitPendantUnGlissement = false;
    QObject::connect(kmt, &QObject::destroyed, [&] { detruitPendantUnGlissement = glissement; });

    PosterEcran(&f, EcranAccueil);   // the request meets the screen busy
    glissement = true;
    curseur->setValue(2);
    glissement = false;
    ASSERT_TRUE(kmt);
    EXPECT_EQ(f.RequetesEnAttente(), 1);

    // The screen's Libere is queued; the next drag lets it through while busy.
    glissement = true;
    curseur->setValue(3);
    glissement = false;
    EXPECT_FALSE(detruitPendantUnGlissement);
    ASSERT_TRUE(kmt);
    EXPECT_EQ(f.RequetesEnAttente(), 1);
    EXPECT_EQ(f.NumEcranCourant(), EcranKMT);

    Traiter();
    EXPECT_TRUE(kmt.isNull());
    EXPECT_FALSE(detruitPendantUnGlissement);
    EXPECT_TRUE(qobject_cast<TFrameAccueil*>(f.EcranCourant()));
    EXPECT_EQ(f.RequetesEnAttente(), 0);
}

// The monitoring tick refreshes the KMT screen under the read lock; the screen
// lets pending events run, among them a demonstration tick, which must wait
// for the refresh instead of writing under it or waiting for itself.
TEST_F(FormVeilleurTest, TickDeDemonstrationPendantLeRafraichissementDeLEcranKMT)
{
    TFormVeilleur& f = Creer();
    for (int i = 0; i < 3; ++i)
        f.Generateur().Tick();
    QTest::mouseClick(f.BoutonMonitoring(26), Qt::LeftButton);
    ASSERT_TRUE(qobject_cast<TFrameKMT*>(f.EcranCourant()));
    f.Generateur().Tick();   // a fourth sample: the refresh moves the cursor
    const int compteur = f.CompteurDemo();

    bool appele = false;
    bool sousLecture = false;
    int mesuresApresTick = -1;
    QMetaObject::invokeMethod(&f, [&] {
        appele = true;
        sousLecture = f.VerrouDonnees().LectureEnCoursIci();
        f.TimerDemoTimer();
        mesuresApresTick = f.DonneesKMT()[26].NbMesures;
    }, Qt::QueuedConnection);
    f.TimerMonitoringDataTimer();
    ASSERT_TRUE(appele);
    EXPECT_TRUE(sousLecture);
    EXPECT_EQ(mesuresApresTick, 4);   // not written under the reader
    EXPECT_FALSE(f.VerrouDonnees().Pris());
    EXPECT_EQ(f.CompteurDemo(), compteur);

    // Run once the refresh has returned.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.CompteurDemo() > compteur; }, 2000));
    EXPECT_GE(f.DonneesKMT()[26].NbMesures, 5);
}

// A journal that cannot be written fails on every pre-alarm tick; while the
// report's box is open (its own event loop running) the later failures wait
// behind it instead of opening boxes of their own.
TEST_F(FormVeilleurTest, ErreursRepeteesDuJournalUneBoiteALaFois)
{
    TFormVeilleur& f = Creer();
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    int profondeur = 0;
    int profondeurMax = 0;
    std::vector<QString> boites;
    TRapportErreurs::Instance().DefinirAfficheur([&](const QString& texte) {
        ++profondeur;
        profondeurMax = std::max(profondeurMax, profondeur);
        boites.push_back(texte);
        if (boites.size() == 1) {
            // Two more ticks in pre-alarm while the first box is up.
            for (int i = 0; i < 2; ++i) {
                TEntreeLog entree{};
                entree.Code = 7;
                EnvoyerLog(&f, entree);
                // The store's thread fails, then the report reaches ours.
                QTest::qWait(100);
            }
        }
        --profondeur;
    });
    TEntreeLog entree{};
    entree.Code = 7;
    EnvoyerLog(&f, entree);
    EXPECT_TRUE(boites.empty());   // never inside the message handler
    EXPECT_TRUE(QTest::qWaitFor([&] { return boites.size() >= 2u; }, 3000));
    EXPECT_EQ(profondeurMax, 1);
    ASSERT_EQ(boites.size(), 2u);
    EXPECT_TRUE(boites[1].contains(QStringLiteral("(2 fois)"))) << boites[1].toStdString();
    EXPECT_FALSE(f.Journal().AccesLogEnCours());
}

// The operator closes the boxes until no error waits any more.
void FermerLesBoites()
{
    TRapportErreurs& r = TRapportErreurs::Instance();
    for (int i = 0; i < 100 && (r.BoitesOuvertes() > 0 || r.EnAttente() > 0); ++i) {
        if (QMessageBox* b = BoiteMessageOuverte())
            b->close();
        QTest::qWait(5);
    }
}

// Short intervals, so that a few seconds hold many ticks.
void Accelerer(TFormVeilleur& f)
{
    f.findChild<QTimer*>(QStringLiteral("TimerDemo"))->setInterval(50);
    f.findChild<QTimer*>(QStringLiteral("TimerMonitoringData"))->setInterval(50);
    f.findChild<QTimer*>(QStringLiteral("TimerBeep"))->setInterval(200);
}

class TSondeLente : public TSondePort {
public:
    explicit TSondeLente(std::function<void(int)> pendant) : m_pendant(std::move(pendant)) {}
    bool Present(int n) override
    {
        QThread::msleep(25);
        m_pendant(n);
        return false;
    }

private:
    std::function<void(int)> m_pendant;
};

// "Log.dat" cannot be written: device 26's first pre-alarm raises an error
// report. Its box stays open while the station goes on behind it, on the KMT
// screen (whose refresh lets events through under the read lock), on the
// overview, and during the configuration screen's port scan.
TEST_F(FormVeilleurTest, BoiteDErreurOuverteLaStationContinue)
{
    TRapportErreurs::Instance().AfficheurParDefaut();
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    const QColor rouge(255, 0, 0);
    // A box running an event loop of its own would stop this test: notice it
    // and close it, so that the test fails instead of hanging.
    bool boucleImbriquee = false;
    QTimer vigie;
    QObject::connect(&vigie, &QTimer::timeout, [&] {
        if (QThread::currentThread()->loopLevel() > 0 && BoiteMessageOuverte()) {
            boucleImbriquee = true;
            BoiteMessageOuverte()->done(0);
        }
    });
    vigie.start(500);
    const std::unique_ptr<QTimer, void (*)(QTimer*)> sortie(&vigie, [](QTimer*) {
        TRapportErreurs::Instance().DefinirAfficheur([](const QString&) {});
    });
    auto mettreEnAlarme = [this](int appareil) {
        TEcritureDonnees ecriture(fenetre->VerrouDonnees());
        fenetre->DonneesKMT()[appareil].Alarme = true;
    };

    for (const int ecran : {EcranKMT, EcranVueDEnsemble}) {
        SCOPED_TRACE(ecran);
        TFormVeilleur& f = Creer();
        f.show();
        Accelerer(f);
        while (f.CompteurDemo() < 159)
            f.Generateur().Tick();
        EnvoyerEcran(&f, ecran, ecran == EcranKMT ? 26 : 0);
        ASSERT_EQ(f.NumEcranCourant(), ecran);
        auto valeurAffichee = [&] {
            if (ecran == EcranKMT)
                return f.EcranCourant()->findChild<QLineEdit*>(QStringLiteral("EditRisolement"))->text();
            return f.EcranCourant()->findChild<TGrilleDessinee*>(QStringLiteral("StringGridKMT"))->Cellule(1, 26);
        };

        ASSERT_TRUE(QTest::qWaitFor([] { return BoiteMessageOuverte() != nullptr; }, 5000))
            << (boucleImbriquee ? "the box ran an event loop of its own" : "no box");
        QPointer<QMessageBox> boite = BoiteMessageOuverte();
        EXPECT_TRUE(boite->text().contains(QStringLiteral("Log.dat"))) << boite->text().toStdString();
        const int compteur = f.CompteurDemo();
        const std::size_t bips = sons.size();
        std::set<QString> valeurs{valeurAffichee()};
        mettreEnAlarme(5);
        QElapsedTimer chrono;
        chrono.start();
        while (chrono.elapsed() < 1500) {
            QTest::qWait(20);
            valeurs.insert(valeurAffichee());
        }
        EXPECT_TRUE(boite && boite->isVisible()) << "the box stays open";
        EXPECT_EQ(TRapportErreurs::Instance().BoitesOuvertes(), 1);
        EXPECT_GE(f.CompteurDemo() - compteur, 5) << "demonstration ticks go on";
        EXPECT_GE(valeurs.size(), 3u) << "the screen is refreshed";
        EXPECT_EQ(f.BoutonMonitoring(5)->CouleurFace(), rouge) << "the strip follows the records";
        EXPECT_GT(sons.size(), bips) << "the alarm sounds";

        // The operator can still switch language and move to another screen.
        QTest::mouseClick(Bouton("SpeedButtonEn"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return f.Langue() == LangueAnglais; }, 1000));
        QTest::mouseClick(Bouton("SpeedButtonAccueil"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return f.NumEcranCourant() == EcranAccueil; }, 1000));
        EXPECT_TRUE(boite);
        fenetre.reset();
        FermerLesBoites();
    }

    // The scan probes the ports one by one, letting events through between them.
    TFormVeilleur& f = Creer();
    f.show();
    Accelerer(f);
    auto* timerDemo = f.findChild<QTimer*>(QStringLiteral("TimerDemo"));
    timerDemo->stop();
    while (f.CompteurDemo() < 159)
        f.Generateur().Tick();
    EnvoyerEcran(&f, EcranConfiguration);
    auto* configuration = qobject_cast<TFrameConfiguration*>(f.EcranCourant());
    ASSERT_TRUE(configuration);
    struct TEtat {
        bool boite;
        int compteur;
        bool rouge;
    };
    std::vector<TEtat> pendantLeScan;
    configuration->DefinirSonde(std::make_unique<TSondeLente>([&](int n) {
        if (n == 25)
            mettreEnAlarme(7);
        pendantLeScan.push_back({BoiteMessageOuverte() != nullptr, f.CompteurDemo(), f.BoutonMonitoring(7)->CouleurFace() == rouge});
    }));
    timerDemo->start();
    configuration->Actualiser(ConfigSet);
    ASSERT_EQ(pendantLeScan.size(), 50u);
    std::size_t premiere = 0;
    while (premiere < pendantLeScan.size() && !pendantLeScan[premiere].boite)
        ++premiere;
    ASSERT_LT(premiere, 25u) << "the box opens while the scan goes on";
    for (std::size_t i = premiere; i < pendantLeScan.size(); ++i)
        EXPECT_TRUE(pendantLeScan[i].boite) << i;
    EXPECT_GE(pendantLeScan.back().compteur - pendantLeScan[premiere].compteur, 5);
    EXPECT_TRUE(pendantLeScan.back().rouge);
    EXPECT_NE(BoiteMessageOuverte(), nullptr);
    fenetre.reset();
    FermerLesBoites();
    EXPECT_FALSE(boucleImbriquee);
}

} // namespace

TEST_F(FormVeilleurTest, EvenementPerimeRepareEtFichiersEtrangesSignalesSansBlocage)
{
    // A station that died during an access left the event at 0.
    const QByteArray nom = "/" + nomEvenement.toUtf8();
    sem_t* s = sem_open(nom.constData(), O_CREAT, 0666, 1);
    ASSERT_NE(s, SEM_FAILED);
    while (sem_trywait(s) == 0) {
    }
    auto valeur = [s] {
        int v = -1;
        sem_getvalue(s, &v);
        return v;
    };
    ASSERT_EQ(valeur(), 0);
    // FIFOs named like the files: nothing waits on them, each fault is reported.
    ASSERT_EQ(mkfifo("Log.dat", 0644), 0);
    ASSERT_EQ(mkfifo("Config.set", 0644), 0);
    QElapsedTimer montre;
    montre.start();
    TFormVeilleur& f = Creer();
    EXPECT_EQ(valeur(), 1) << "signalled at start-up";
    f.Journal().EvenementAccesLog().Signaler();
    f.Journal().EvenementAccesLog().Signaler();
    EXPECT_EQ(valeur(), 1);
    sem_post(s);  // two setters at once left it at 2
    f.Journal().RendreAccesLog();
    EXPECT_EQ(valeur(), 1);
    sem_close(s);

    QTest::mouseClick(Bouton("SpeedButtonJournal"), Qt::LeftButton);
    QTest::mouseClick(Bouton("SpeedButtonSp"), Qt::LeftButton);
    Traiter();
    EXPECT_LT(montre.elapsed(), 1000);
    EXPECT_EQ(f.Langue(), LangueEspagnol);
    EXPECT_FALSE(QFileInfo("Config.set").isFile()) << "left alone";
    EXPECT_FALSE(QFileInfo("Log.dat").isFile());
    ASSERT_GE(erreurs.size(), 2u);
    for (const QString& texte : erreurs)
        EXPECT_TRUE(texte.contains(QStringLiteral("pas un fichier ordinaire"))) << texte.toStdString();
}
