// The station's window with devices in alarm: the alarms in words in the
// status bar, the event list that follows new entries, the guarded close and
// the warning about a journal event that is not the station's own.
#include "app/AlarmesActives.h"
#include "app/BarreAlarmes.h"
#include "app/FormVeilleur.h"
#include "data/Chaine1252.h"
#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "platform/EvenementNomme.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "screens/CadreJournal.h"
#include "support/FenetreTest.h"
#include "support/OutilsTest.h"
#include "widgets/BoutonAppareil.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <semaphore.h>
#include <unistd.h>

namespace {

double Date(int j, int h, int m, int s)
{
    return DateVeilleur::DepuisDateTime(QDateTime(QDate(2026, 12, j), QTime(h, m, s)));
}

class AlarmesStationTest : public TFenetreTest {
protected:
    AlarmesStationTest() : TFenetreTest("AlarmesStation") {}
    TFormVeilleur& Creer()
    {
        Construire();
        // Only the records this test sets.
        fenetre->findChild<QTimer*>(QStringLiteral("TimerDemo"))->stop();
        fenetre->show();
        return *fenetre;
    }
    void Modifier(const std::function<void(Tableau1<TDonneesKMT, NbSources>&)>& f)
    {
        TEcritureDonnees ecriture(fenetre->VerrouDonnees());
        f(fenetre->DonneesKMT());
    }
    QStringList TextesBarre() const
    {
        QStringList textes;
        for (QToolButton* b : fenetre->BarreAlarmes().Entrees())
            textes << b->text();
        return textes;
    }
};

// The words, the order (alarm, lost, pre-alarm, whatever the device numbers)
// and the start times: the device's date when first seen, kept while the
// state lasts even though the device renews it; a start on another day shows
// its date.
TEST(AlarmesActives, OrdreTextesEtDebutsDansDeuxLangues)
{
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    auto config = std::make_unique<TConfigSet>();
    std::memset(static_cast<void*>(config.get()), 0, sizeof(TConfigSet));
    EcrireChaine(config->NomsSources[26], QStringLiteral("Bloc op. salle 3"));
    EcrireChaine(config->NomsSources[3], QStringLiteral("Réveil"));
    auto& d = *donnees;
    d[3].Present = true; d[3].PreAlarme = true; d[3].RIsolement = 150;
    d[26].Present = true; d[26].PreAlarme = true; d[26].Alarme = true; d[26].RIsolement = 55;
    d[26].DHDerniereAlarme = Date(8, 10, 50, 49);
    d[7].EtatCom = ComPerdue; d[7].DHEtatCom = Date(7, 23, 5, 0); d[7].RIsolement = 999;
    d[30].EtatCom = ComEnLigne; d[30].Present = true;

    TSuiviAlarmes suivi;
    auto alarmes = suivi.Actualiser(d, *config, Date(8, 11, 0, 0));
    ASSERT_EQ(alarmes.size(), 3u);
    EXPECT_EQ(alarmes[0].Texte, QStringLiteral("KMT 26 · Bloc op. salle 3 · Alarme depuis 10:50:49 · 55 kOhm"));
    EXPECT_EQ(alarmes[1].Texte, QStringLiteral("KMT 7 · Communication perdue depuis 07/12/26 - 23:05:00"));
    EXPECT_EQ(alarmes[2].Texte, QStringLiteral("KMT 3 · Réveil · Préalarme depuis 11:00:00 · 150 kOhm"));
    EXPECT_EQ(alarmes[2].Etat, TEtatAlarme::PreAlarme);

    // Later, in English: the alarm's start stays though the device renewed its date.
    d[26].DHDerniereAlarme = Date(8, 11, 0, 30);
    d[26].RIsolement = 48;
    suivi.DefinirLangue(LangueAnglais);
    alarmes = suivi.Actualiser(d, *config, Date(8, 11, 0, 31));
    ASSERT_EQ(alarmes.size(), 3u);
    EXPECT_EQ(alarmes[0].Texte, QStringLiteral("KMT 26 · Bloc op. salle 3 · Alarm since 10:50:49 · 48 kOhm"));
    EXPECT_EQ(alarmes[1].Texte, QStringLiteral("KMT 7 · Communication lost since 07/12/26 - 23:05:00"));
    EXPECT_EQ(alarmes[2].Texte, QStringLiteral("KMT 3 · Réveil · Pre-alarm since 11:00:00 · 150 kOhm"));

    // The alarm ends and comes back: a new start. The pre-alarm ends: gone.
    d[26].Alarme = false;
    d[3].PreAlarme = false;
    alarmes = suivi.Actualiser(d, *config, Date(8, 11, 1, 0));
    ASSERT_EQ(alarmes.size(), 2u);
    EXPECT_EQ(alarmes[1].Appareil, 26);
    EXPECT_EQ(alarmes[1].Etat, TEtatAlarme::PreAlarme);
    d[26].Alarme = true;
    d[26].DHDerniereAlarme = Date(8, 11, 2, 0);
    alarmes = suivi.Actualiser(d, *config, Date(8, 11, 2, 1));
    EXPECT_EQ(alarmes[0].Texte, QStringLiteral("KMT 26 · Bloc op. salle 3 · Alarm since 11:02:00 · 48 kOhm"));
    // Nothing active: nothing to say.
    for (int n = 1; n <= NbSources; ++n)
        d[n] = TDonneesKMT{};
    EXPECT_TRUE(suivi.Actualiser(d, *config, Date(8, 11, 3, 0)).empty());
}

// The bar on the window: empty and hidden without alarms, the entries in
// the strip's colours once the tick has seen them, "+N" for those that do
// not fit, the language followed, and a click opening the device's screen.
TEST_F(AlarmesStationTest, BarreDEtatEtClicSurUneEntree)
{
    TFormVeilleur& f = Creer();
    EcrireChaine(ConfigSet.NomsSources[26], QStringLiteral("Bloc op. salle 3"));
    QTest::qWait(1200);
    EXPECT_FALSE(f.BarreAlarmes().isVisible());
    EXPECT_TRUE(TextesBarre().isEmpty());

    Modifier([](auto& d) {
        d[26].Present = true; d[26].Alarme = true; d[26].RIsolement = 55;
        d[26].DHDerniereAlarme = DateVeilleur::Maintenant();
        d[4].Present = true; d[4].PreAlarme = true; d[4].RIsolement = 180;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return TextesBarre().size() == 2; }, 3000));
    EXPECT_TRUE(f.BarreAlarmes().isVisible());
    const QStringList textes = TextesBarre();
    EXPECT_TRUE(textes[0].startsWith(QStringLiteral("KMT 26 · Bloc op. salle 3 · Alarme depuis "))) << textes[0].toStdString();
    EXPECT_TRUE(textes[0].endsWith(QStringLiteral(" · 55 kOhm")));
    EXPECT_TRUE(textes[1].startsWith(QStringLiteral("KMT 4 · Préalarme depuis "))) << textes[1].toStdString();
    EXPECT_EQ(f.BarreAlarmes().NonAffichees(), 0);
    const auto entrees = f.BarreAlarmes().Entrees();
    EXPECT_EQ(entrees[0]->palette().color(QPalette::Button), QColor(255, 0, 0));
    EXPECT_EQ(entrees[1]->palette().color(QPalette::Button), QColor(240, 240, 0));

    // The language button relabels the bar at once.
    QTest::mouseClick(f.findChild<QAbstractButton*>(QStringLiteral("SpeedButtonEn")), Qt::LeftButton);
    EXPECT_TRUE(TextesBarre().value(0).contains(QStringLiteral("· Alarm since "))) << TextesBarre().value(0).toStdString();
    EXPECT_TRUE(TextesBarre().value(1).contains(QStringLiteral("· Pre-alarm since ")));

    // A click on the pre-alarm's entry opens KMT 4, as its strip button does.
    QTest::mouseClick(f.BarreAlarmes().Entrees()[1], Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.NumEcranCourant() == EcranKMT; }, 2000));
    EXPECT_EQ(f.NumAppareilCourant(), 4);

    // Every device in alarm: what does not fit is counted, nothing is drawn
    // past the bar's end.
    Modifier([](auto& d) {
        for (int n = 1; n <= NbSources; ++n) {
            d[n].Present = true; d[n].Alarme = true; d[n].RIsolement = 40;
        }
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.BarreAlarmes().NonAffichees() > 0; }, 3000));
    const auto toutes = f.BarreAlarmes().Entrees();
    EXPECT_EQ(int(toutes.size()) + f.BarreAlarmes().NonAffichees(), NbSources);
    EXPECT_GE(toutes.size(), 2u);
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("BarreAlarmesPlus"))->text(),
              QStringLiteral("+%1").arg(f.BarreAlarmes().NonAffichees()));
    for (QToolButton* b : toutes)
        EXPECT_LE(b->mapTo(&f.BarreAlarmes(), QPoint(b->width(), 0)).x(), f.BarreAlarmes().width());

    // All clear: the bar is as it was.
    Modifier([](auto& d) {
        for (int n = 1; n <= NbSources; ++n)
            d[n].Alarme = false;
        d[4].PreAlarme = false;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.BarreAlarmes().isVisible(); }, 3000));
}

// Entries journalled while the list is shown take their place in it at the
// next tick, without a reload: on top while the list is newest first, in
// the operator's sort after a header click; selection and rows in view kept.
TEST_F(AlarmesStationTest, ListeDuJournalSuitLesEntreesNouvelles)
{
    const double maintenant = DateVeilleur::Maintenant();
    std::vector<TEntreeLog> anciennes;
    for (int i = 0; i < 200; ++i)
        anciennes.push_back(EntreeDeTest(7, maintenant - (200 - i) / 86400.0, std::uint8_t(10 + i % 20), 150, 100));
    EcrireEntrees(dossier.Chemin(QStringLiteral("Log.dat")), anciennes);
    TFormVeilleur& f = Creer();
    EnvoyerEcran(&f, EcranJournal);
    auto* ecran = qobject_cast<TFrameJournal*>(f.EcranCourant());
    ASSERT_TRUE(ecran);
    auto* liste = ecran->findChild<QTreeWidget*>(QStringLiteral("ListViewJournal"));
    ASSERT_EQ(liste->topLevelItemCount(), 200);

    // Newest first: the new entry goes on top.
    EnvoyerLog(&f, EntreeDeTest(8, maintenant, 26, 55, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return liste->topLevelItemCount() == 201; }, 3000));
    EXPECT_EQ(liste->topLevelItem(0)->text(2), QStringLiteral("26"));
    EXPECT_EQ(liste->topLevelItem(0)->text(0), QStringLiteral("Alarme KMT"));

    // Sorted by origin, one row selected, scrolled down: a new entry takes
    // its place in the order, the selected row and the rows in view stay.
    ecran->ListViewJournalColumnClick(2);
    liste->setCurrentItem(liste->topLevelItem(120));
    QTreeWidgetItem* choisie = liste->currentItem();
    liste->scrollToItem(liste->topLevelItem(100), QAbstractItemView::PositionAtTop);
    QTreeWidgetItem* enHaut = liste->itemAt(0, 0);
    ASSERT_TRUE(enHaut);
    EnvoyerLog(&f, EntreeDeTest(7, maintenant, 5, 150, 100));
    EnvoyerLog(&f, EntreeDeTest(7, maintenant, 2, 150, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return liste->topLevelItemCount() == 203; }, 3000));
    EXPECT_EQ(ecran->ColonneDeTri(), 2);
    EXPECT_TRUE(ecran->TriEstCroissant());
    for (int i = 1; i < liste->topLevelItemCount(); ++i)
        ASSERT_LE(TFrameJournal::ComparerTextes(liste->topLevelItem(i - 1)->text(2), liste->topLevelItem(i)->text(2)), 0)
            << "row " << i;
    EXPECT_EQ(liste->currentItem(), choisie);
    EXPECT_TRUE(choisie->isSelected());
    EXPECT_EQ(liste->itemAt(0, 0), enHaut);
    // A new language reloads the list: everything written is there once.
    QTest::mouseClick(f.findChild<QAbstractButton*>(QStringLiteral("SpeedButtonEn")), Qt::LeftButton);
    f.Journal().EcrireEntreesEnAttente();
    ecran = qobject_cast<TFrameJournal*>(f.EcranCourant());
    liste = ecran->findChild<QTreeWidget*>(QStringLiteral("ListViewJournal"));
    EXPECT_EQ(liste->topLevelItemCount(), 203);
    QTest::qWait(1100);
    EXPECT_EQ(liste->topLevelItemCount(), 203) << "an entry listed twice";
}

// The close button asks only while a device is in pre-alarm, alarm or lost;
// the question does not stop the ticks; the answer "close" closes, and the
// run's end is journalled with the button as its reason.
TEST_F(AlarmesStationTest, FermetureConfirmeeSeulementPendantUneAlarme)
{
    {
        TFormVeilleur& f = Creer();
        QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("BitBtnQuit")), Qt::LeftButton);
        EXPECT_TRUE(f.Fermee());
        EXPECT_EQ(f.Confirmation(), nullptr);
    }
    TFormVeilleur& f = Creer();
    f.Demarrer();
    for (const auto& mettre : std::vector<std::function<void(TDonneesKMT&)>>{
             [](TDonneesKMT& d) { d.PreAlarme = true; }, [](TDonneesKMT& d) { d.EtatCom = ComPerdue; },
             [](TDonneesKMT& d) { d.Alarme = true; }}) {
        Modifier([&](auto& d) { d[26] = TDonneesKMT{}; mettre(d[26]); });
        QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("BitBtnQuit")), Qt::LeftButton);
        ASSERT_FALSE(f.Fermee());
        QPointer<QMessageBox> question = f.Confirmation();
        ASSERT_TRUE(question);
        EXPECT_TRUE(question->isVisible());
        EXPECT_EQ(QThread::currentThread()->loopLevel(), 0) << "the question runs no loop of its own";
        // The ticks go on behind it.
        const QString bandeau = f.findChild<QLabel*>(QStringLiteral("LabelBandeau"))->text();
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.findChild<QLabel*>(QStringLiteral("LabelBandeau"))->text() != bandeau; }, 2500));
        QTest::mouseClick(question->findChild<QPushButton*>(QStringLiteral("ConfirmationContinuer")), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !question; }, 2000));
        EXPECT_FALSE(f.Fermee());
    }
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("BitBtnQuit")), Qt::LeftButton);
    ASSERT_TRUE(f.Confirmation());
    QTest::mouseClick(f.Confirmation()->findChild<QPushButton*>(QStringLiteral("ConfirmationFermer")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Fermee(); }, 2000));

    const QByteArray log = LireFichier(dossier.Chemin(QStringLiteral("Log.dat")));
    ASSERT_EQ(log.size(), 2 * TailleEntreeLog);
    const auto* e = reinterpret_cast<const TEntreeLog*>(log.constData());
    EXPECT_EQ(e[0].Code, 0);
    EXPECT_EQ(e[0].Attribut1, 0);
    EXPECT_EQ(e[1].Code, 1);
    EXPECT_EQ(LireChaine(e[1].InfosCompl), QStringLiteral("bouton"));
    EXPECT_TRUE(erreurs.empty());
}

// Ending by the close button with entries waiting and "Log.dat" a folder:
// they are kept in the recovery file; the next start appends them, then its
// own start and the count.
TEST_F(AlarmesStationTest, BoutonFermerAvecJournalInscriptibleApres)
{
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    {
        TFormVeilleur& f = Creer();
        f.Demarrer();
        EnvoyerLog(&f, EntreeDeTest(7, DateVeilleur::Maintenant(), 26, 150, 100));
        f.close();
        ASSERT_TRUE(f.Fermee());
    }
    fenetre.reset();
    EXPECT_EQ(LireFichier(dossier.Chemin(QStringLiteral("Log.dat.attente"))).size(), 3 * TailleEntreeLog);
    ASSERT_TRUE(QDir(dossier.Dossier()).rmdir(QStringLiteral("Log.dat")));
    TFormVeilleur& f = Creer();
    f.Demarrer();
    f.Journal().EcrireEntreesEnAttente();
    const QByteArray log = LireFichier(dossier.Chemin(QStringLiteral("Log.dat")));
    ASSERT_EQ(log.size(), 5 * TailleEntreeLog);
    const auto* e = reinterpret_cast<const TEntreeLog*>(log.constData());
    EXPECT_EQ(e[0].Code, 0);
    EXPECT_EQ(e[1].Code, 7);
    EXPECT_EQ(e[2].Code, 1);
    EXPECT_EQ(e[3].Code, 0);
    EXPECT_EQ(e[3].Attribut1, 0) << "the previous run journalled its stop";
    EXPECT_EQ(e[4].Code, 0);
    EXPECT_EQ(LireChaine(e[4].InfosCompl), QStringLiteral("3 entrées récupérées"));
    EXPECT_FALSE(QFile::exists(dossier.Chemin(QStringLiteral("Log.dat.attente"))));
}

// The journal's event made first by another user: the operator is told once,
// on screen, in the station's language.
TEST_F(AlarmesStationTest, EvenementDUnAutreUtilisateurSignale)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make the event as another user";
    const QByteArray nom = "/" + nomEvenement.toUtf8();
    const int statut = DansUnProcessusFils([&] {
        if (::setuid(65534) != 0)
            return 2;
        sem_t* s = sem_open(nom.constData(), O_CREAT | O_EXCL, 0666, 1);
        return s == SEM_FAILED ? 3 : 0;
    });
    ASSERT_EQ(statut, 0);
    TFormVeilleur& f = Creer();
    ASSERT_FALSE(f.Journal().EvenementAccesLog().Propre());
    EXPECT_EQ(f.Avertissement(), nullptr) << "said at the start of the run, not at the window's creation";
    f.Demarrer();
    ASSERT_TRUE(f.Avertissement());
    EXPECT_TRUE(f.Avertissement()->isVisible());
    EXPECT_EQ(f.Avertissement()->text(), f.Journal().EvenementAccesLog().Avertissement(LangueFrancais));
    EXPECT_FALSE(f.Avertissement()->text().isEmpty());
    EXPECT_EQ(QThread::currentThread()->loopLevel(), 0);
}

} // namespace

namespace {

// A date of 0 is "never": the KMT screen shows its placeholder, the event
// list its dashes, not 30 December 1899.
TEST_F(AlarmesStationTest, DateZeroAfficheeCommeJamais)
{
    TFormVeilleur& f = Creer();
    Modifier([](auto& d) { d[12].Present = true; d[12].RIsolement = 400; d[12].DHDerniereAlarme = 0.0; });
    EnvoyerEcran(&f, EcranKMT, 12);
    ASSERT_EQ(f.NumEcranCourant(), EcranKMT);
    auto* edit = f.EcranCourant()->findChild<QLineEdit*>(QStringLiteral("EditDHDerniereAlarme"));
    ASSERT_TRUE(edit);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !edit->text().isEmpty(); }, 2500));
    EXPECT_EQ(edit->text(), QStringLiteral("xxxxxxx xx xxxxxxx xxxx - xx:xx:xx"));
    // A real date still shows as one.
    Modifier([](auto& d) { d[12].DHDerniereAlarme = DateVeilleur::DepuisDateTime(QDateTime(QDate(2026, 12, 8), QTime(10, 50, 49))); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->text().contains(QStringLiteral("10:50:49")); }, 2500));
    EXPECT_FALSE(edit->text().contains(QStringLiteral("1899")));

    EXPECT_EQ(TFrameJournal::FormaterDateHeure(0.0, u'/', u':'), QStringLiteral("--/--/-- - --:--'--''---ms"));
    EXPECT_EQ(TFrameJournal::FormaterDateHeure(1.5, u'/', u':'), QStringLiteral("31/12/99 - 12:00'00''000ms"));
}

// A burst of entries: the ticks go on while the store's thread syncs them
// to disk; none waits for it, and none is lost.
TEST_F(AlarmesStationTest, RafaleDEntreesSansAttenteDuTick)
{
    TFormVeilleur& f = Creer();
    // The list open: the tick also hands it the new entries.
    EnvoyerEcran(&f, EcranJournal);
    f.findChild<QTimer*>(QStringLiteral("TimerMonitoringData"))->stop();
    qint64 plusLong = 0;
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        QElapsedTimer mesure;
        mesure.start();
        f.TimerMonitoringDataTimer();
        plusLong = std::max(plusLong, mesure.nsecsElapsed());
        ++ticks;
    });
    tick.start(20);
    const double maintenant = DateVeilleur::Maintenant();
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < 2000; ++i) {
        EnvoyerLog(&f, EntreeDeTest(7, maintenant, 26, i, 100));
        if (i % 100 == 0)
            QTest::qWait(25);
    }
    const qint64 envoi = total.elapsed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Journal().EntreesEnAttente() == 0; }, 20000));
    std::printf("2000 entries sent in %lld ms; longest monitoring tick %.2f ms over %d ticks\n",
                static_cast<long long>(envoi), plusLong / 1e6, ticks);
    EXPECT_GT(ticks, 5);
    EXPECT_LT(plusLong, 100'000'000) << "a tick waited";
    f.Journal().EcrireEntreesEnAttente();
    EXPECT_EQ(LireFichier(dossier.Chemin(QStringLiteral("Log.dat"))).size(), 2000 * TailleEntreeLog);
    QTest::qWait(50);
    EXPECT_EQ(qobject_cast<TFrameJournal*>(f.EcranCourant())->NbLignes(), 2000);
}

} // namespace

namespace {

// Neither "Log.dat" nor the recovery file can take the waiting entries: the
// operator reads it on screen before the window closes.
TEST_F(AlarmesStationTest, EntreesPerduesDitesALOperateur)
{
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat.attente")));
    TFormVeilleur& f = Creer();
    f.Demarrer();
    EnvoyerLog(&f, EntreeDeTest(7, DateVeilleur::Maintenant(), 26, 150, 100));
    QString texte;
    bool fenetreVisible = false;
    QTimer guet;
    QObject::connect(&guet, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->objectName() == QStringLiteral("JournalNonEcrit") && b->isVisible()) {
                texte = b->text();
                fenetreVisible = f.isVisible();
                b->done(QMessageBox::Ok);
            }
    });
    guet.start(50);
    f.close();
    EXPECT_TRUE(f.Fermee());
    EXPECT_TRUE(fenetreVisible) << "told while the window is still there";
    EXPECT_TRUE(texte.contains(QStringLiteral("3 entrées perdues"))) << texte.toStdString();
}

} // namespace
