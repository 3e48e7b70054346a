// The station with live devices: the strip, the beep and the overview of lost
// and acknowledged devices, the KMT screen's commands, the demonstration's
// acknowledgements, and how the network file turns live mode on.
#include "app/CouleursBoutons.h"
#include "app/FormVeilleur.h"
#include "app/GenerateurDemo.h"
#include "app/StationDirecte.h"
#include "data/CommandesAppareils.h"
#include "data/ConfigSet.h"
#include "data/VerrouDonnees.h"
#include "devices/CadreKMT.h"
#include "platform/EvenementNomme.h"
#include "platform/CouleursSysteme.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "screens/CadreVueDEnsemble.h"
#include "support/OutilsTest.h"
#include "text/MessagesVeilleur.h"
#include "widgets/BoutonAppareil.h"
#include "widgets/GrilleDessinee.h"
#include "widgets/Led.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TSonCompteur : public TSon {
public:
    explicit TSonCompteur(int& appels) : m_appels(appels) {}
    void Tonalite(int, int) override { ++m_appels; }
    void SonParDefaut() override {}

private:
    int& m_appels;
};

class StationDirecteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(static_cast<void*>(&ConfigSet), 0, sizeof ConfigSet);
        TRapportErreurs::Instance().DefinirAfficheur([](const QString&) {});
    }
    void TearDown() override
    {
        fenetre.reset();
        QCoreApplication::sendPostedEvents();
        TRapportErreurs::Instance().AfficheurParDefaut();
        TEvenementNomme::Supprimer(nomEvenement);
    }
    TFormVeilleur& Creer()
    {
        fenetre = std::make_unique<TFormVeilleur>(std::make_unique<TSonCompteur>(tonalites), nomEvenement);
        return *fenetre;
    }
    // Changes a record as the communication layer's worker would.
    void Modifier(int n, const std::function<void(TDonneesKMT&)>& f)
    {
        TEcritureDonnees ecriture(fenetre->VerrouDonnees());
        f(fenetre->DonneesKMT()[n]);
    }
    // Waits for the window's own monitoring timer.
    bool AttendreTick(const std::function<bool()>& condition)
    {
        return QTest::qWaitFor(condition, 3000);
    }

    TDossierTemporaire dossier;
    QString nomEvenement = NomUnique(QStringLiteral("VeilleurDirect"));
    int tonalites = 0;
    std::unique_ptr<TFormVeilleur> fenetre;
};

void EnLigne(TDonneesKMT& d)
{
    d.Present = true;
    d.EtatCom = ComEnLigne;
    d.RIsolement = 500;
    d.RSeuil = 100;
}

TEST_F(StationDirecteTest, BandeauEtSonSuiventPerteEtAcquittements)
{
    TFormVeilleur& f = Creer();
    f.findChild<QTimer*>(QStringLiteral("TimerBeep"))->setInterval(40);
    // 3: lost while in alarm; 4: alarm and pre-alarm acknowledged by the device.
    Modifier(3, [](TDonneesKMT& d) { EnLigne(d); d.Alarme = d.PreAlarme = true; d.EtatCom = ComPerdue; });
    Modifier(4, [](TDonneesKMT& d) {
        EnLigne(d);
        d.Alarme = d.PreAlarme = d.AlarmeAcquittee = d.PreAlarmeAcquittee = true;
    });
    ASSERT_TRUE(AttendreTick([&] { return f.BoutonMonitoring(3)->CouleurFace() == QColor(128, 128, 128); }));
    EXPECT_EQ(f.BoutonMonitoring(3)->CouleurTexte(), QColor(255, 255, 255));
    const QImage perdu = f.BoutonMonitoring(3)->grab().toImage();
    EXPECT_EQ(perdu.pixelColor(4, 4), QColor(128, 128, 128));
    EXPECT_EQ(f.BoutonMonitoring(4)->CouleurFace(), QColor(255, 0, 0));
    EXPECT_EQ(f.BoutonMonitoring(4)->grab().toImage().pixelColor(4, 4), QColor(255, 0, 0));
    // A lost device sounds.
    EXPECT_TRUE(f.AlarmeEnCours());
    EXPECT_TRUE(QTest::qWaitFor([&] { return tonalites > 0; }, 1000));

    // Back, quiet: only acknowledged faults remain, visible and silent.
    Modifier(3, [](TDonneesKMT& d) { EnLigne(d); d.Alarme = d.PreAlarme = false; });
    ASSERT_TRUE(AttendreTick([&] { return !f.AlarmeEnCours(); }));
    EXPECT_EQ(f.BoutonMonitoring(3)->CouleurFace(), CouleursSysteme::FaceBouton);
    EXPECT_EQ(f.BoutonMonitoring(4)->CouleurFace(), QColor(255, 0, 0));
    QTest::qWait(100);
    const int avant = tonalites;
    QTest::qWait(300);
    EXPECT_EQ(tonalites, avant) << "the beep goes on after everything was acknowledged";

    // A new pre-alarm elsewhere re-arms the sound; so does one that starts
    // again on the acknowledged device (it starts unacknowledged).
    Modifier(5, [](TDonneesKMT& d) { EnLigne(d); d.PreAlarme = true; });
    ASSERT_TRUE(AttendreTick([&] { return f.AlarmeEnCours(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tonalites > avant; }, 1000));
    Modifier(5, [](TDonneesKMT& d) { d.PreAlarme = false; });
    ASSERT_TRUE(AttendreTick([&] { return !f.AlarmeEnCours(); }));
    Modifier(4, [](TDonneesKMT& d) { d.AlarmeAcquittee = false; });
    EXPECT_TRUE(AttendreTick([&] { return f.AlarmeEnCours(); }));
}

TEST_F(StationDirecteTest, VueDEnsembleMontreUnAppareilPerdu)
{
    TFormVeilleur& f = Creer();
    Modifier(7, [](TDonneesKMT& d) { EnLigne(d); d.RIsolement = 180; d.PreAlarme = true; });
    EnvoyerEcran(&f, EcranVueDEnsemble, 0);
    QCoreApplication::sendPostedEvents();
    auto* grille = f.findChild<TGrilleDessinee*>(QStringLiteral("StringGridKMT"));
    ASSERT_NE(grille, nullptr);
    ASSERT_TRUE(AttendreTick([&] { return grille->Cellule(1, 7) == QStringLiteral("180"); }));

    Modifier(7, [](TDonneesKMT& d) { d.EtatCom = ComPerdue; });
    ASSERT_TRUE(AttendreTick([&] { return grille->Cellule(1, 7) == Texte(MsgDirectPerdu, LangueFrancais); }));
    for (int c = 2; c <= 5; ++c)
        EXPECT_TRUE(grille->Cellule(c, 7).isEmpty()) << c;
    // The access button is grey, not yellow as the last reading said.
    const QImage image = grille->grab().toImage();
    const int x = TFrameVueDEnsemble::PasX * 0 + 10;
    const int y = TFrameVueDEnsemble::PasY * 7 + 8;
    EXPECT_EQ(image.pixelColor(x, y), QColor(128, 128, 128));

    // Back online: the current values again.
    Modifier(7, [](TDonneesKMT& d) { d.EtatCom = ComEnLigne; d.RIsolement = 190; });
    EXPECT_TRUE(AttendreTick([&] { return grille->Cellule(1, 7) == QStringLiteral("190"); }));
}

// Records what the screen asks for.
class TCommandesFactices : public TCommandesAppareils {
public:
    std::uint8_t Mode = ModeAdministration;
    std::vector<std::pair<int, TAcquitAppareil>> Acquits;
    std::vector<std::tuple<int, int, bool>> Seuils;
    std::uint8_t ModeSession() const override { return Mode; }
    void Acquitter(int appareil, TAcquitAppareil quoi) override { Acquits.emplace_back(appareil, quoi); }
    TIssueCommande DemanderSeuil(int appareil, int seuil, bool suivants) override
    {
        Seuils.emplace_back(appareil, seuil, suivants);
        return TIssueCommande::Reussie;
    }
};

struct EcranKMT : ::testing::Test {
    void SetUp() override
    {
        std::memset(static_cast<void*>(&ConfigSet), 0, sizeof ConfigSet);
        ecran.ChangerLangue(LangueFrancais);
        TInfosKMT bloc;
        bloc.NumAppareil = 4;
        bloc.Commandes = &commandes;
        ecran.Initialiser(bloc);
        EnLigne(*r);
    }
    template <typename T>
    T* Enfant(const char* nom) { return ecran.findChild<T*>(QString::fromLatin1(nom)); }
    QPushButton* Bouton(const char* nom) { return Enfant<QPushButton>(nom); }

    TCommandesFactices commandes;
    TFrameKMT ecran;
    std::unique_ptr<TDonneesKMT> r = std::make_unique<TDonneesKMT>();
};

TEST_F(EcranKMT, BoutonsAcquitterSelonConditionAcquittementLigneEtMode)
{
    r->PreAlarme = true;
    r->Alarme = true;
    r->AlarmeAcquittee = true;
    ecran.Actualiser(*r);
    QPushButton* pre = Bouton("ButtonAcqPrealarme");
    QPushButton* alarme = Bouton("ButtonAcqAlarme");
    QPushButton* klaxon = Bouton("ButtonAcqKlaxon");
    EXPECT_TRUE(pre->isEnabled());
    EXPECT_FALSE(alarme->isEnabled());
    EXPECT_EQ(alarme->toolTip(), Texte(MsgDirectDejaAcquitte, LangueFrancais));
    EXPECT_FALSE(klaxon->isEnabled());
    EXPECT_EQ(klaxon->toolTip(), Texte(MsgDirectRienAAcquitter, LangueFrancais));
    pre->click();
    ASSERT_EQ(commandes.Acquits.size(), 1u);
    EXPECT_EQ(commandes.Acquits[0], std::make_pair(4, TAcquitAppareil::PreAlarme));

    r->Klaxon = true;
    ecran.Actualiser(*r);
    ASSERT_TRUE(klaxon->isEnabled());
    klaxon->click();
    EXPECT_EQ(commandes.Acquits.back(), std::make_pair(4, TAcquitAppareil::Klaxon));

    // CONSULTATION acknowledges only when the configuration lets it.
    commandes.Mode = ModeConsultation;
    ecran.Actualiser(*r);
    EXPECT_FALSE(pre->isEnabled());
    EXPECT_FALSE(pre->toolTip().isEmpty());
    ConfigSet.AcqAlarmesConsultation = 1;
    ecran.Actualiser(*r);
    EXPECT_TRUE(pre->isEnabled());
    // ... and never sets a threshold.
    EXPECT_FALSE(Bouton("ButtonSetNvSeuil")->isEnabled());
    EXPECT_FALSE(Bouton("ButtonSetNvSeuil")->toolTip().isEmpty());

    // Lost: nothing can be sent, and the screen says since when.
    commandes.Mode = ModeExploitation;
    r->EtatCom = ComPerdue;
    r->DHEtatCom = 46000.5;
    ecran.Actualiser(*r);
    for (QPushButton* b : {pre, alarme, klaxon, Bouton("ButtonSetNvSeuil")})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    const QString texte = Enfant<QLabel>("LabelEtatCom")->text();
    EXPECT_TRUE(texte.startsWith(QStringLiteral("Communication perdue"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("12:00:00"))) << texte.toStdString();
    EXPECT_EQ(Enfant<TLed>("JvTransLEDPreAlarme")->Couleur(), QColor(128, 128, 128)) << "a stale light";
    r->EtatCom = ComEnLigne;
    ecran.Actualiser(*r);
    EXPECT_TRUE(Enfant<QLabel>("LabelEtatCom")->text().isEmpty());
    EXPECT_TRUE(pre->isEnabled());
}

TEST_F(EcranKMT, NouveauSeuilVerifieGardeLaSaisieEtMontreLeResultat)
{
    r->NvSeuil = 0;
    ecran.Actualiser(*r);
    auto* edit = Enfant<QLineEdit>("EditNvSeuil");
    auto* ok = Bouton("ButtonSetNvSeuil");
    auto* message = Enfant<QLabel>("LabelMessageReglages");
    ASSERT_TRUE(ok->isEnabled());

    // Out of range, empty or too long: a message, nothing sent.
    for (const char* saisie : {"9", "10001", "", "99999999999"}) {
        edit->setText(QString::fromLatin1(saisie));
        edit->setModified(true);
        ok->click();
        EXPECT_EQ(message->text(), Texte(MsgDirectSeuilHorsPlage, LangueFrancais)) << saisie;
    }
    EXPECT_TRUE(commandes.Seuils.empty());

    // Being typed: the refresh leaves it.
    edit->setText(QStringLiteral("250"));
    edit->setModified(true);
    r->NvSeuil = 120;
    ecran.Actualiser(*r);
    EXPECT_EQ(edit->text(), QStringLiteral("250"));
    Enfant<QCheckBox>("CheckBoxAuxSuivants")->setChecked(true);
    ok->click();
    ASSERT_EQ(commandes.Seuils.size(), 1u);
    EXPECT_EQ(commandes.Seuils[0], std::make_tuple(4, 250, true));
    // Sent: the field follows the device again.
    r->NvSeuil = 250;
    ecran.Actualiser(*r);
    EXPECT_EQ(edit->text(), QStringLiteral("250"));
    r->NvSeuil = 260;
    ecran.Actualiser(*r);
    EXPECT_EQ(edit->text(), QStringLiteral("260"));

    // The device's answers, where the operator looks.
    ecran.MontrerResultat({4, TGenreCommandeAppareil::Seuil, 250, TIssueCommande::Exception, 3});
    EXPECT_EQ(message->text(), QStringLiteral("Valeur refusée par l'appareil 4"));
    ecran.MontrerResultat({4, TGenreCommandeAppareil::Acquitter, 2, TIssueCommande::SansReponse, 0});
    EXPECT_EQ(Enfant<QLabel>("LabelMessageMesures")->text(), QStringLiteral("Pas de réponse de l'appareil 4"));
    ecran.ChangerLangue(LangueAnglais);
    ecran.MontrerResultat({5, TGenreCommandeAppareil::Seuil, 250, TIssueCommande::HorsLigne, 0});
    EXPECT_EQ(message->text(), QStringLiteral("Device 5 offline: command not sent"));
}

// The demonstration honours acknowledgements as a device would.
TEST(DemonstrationAcquittee, LeSonSeTaitEtRevientAvecUneNouvelleAlarme)
{
    TVerrouDonnees verrou;
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::int32_t compteur = 1;
    int entrees = 0;
    TGenerateurDemo g(verrou, *donnees, compteur, [&](const TEntreeLog&) { ++entrees; });
    auto sonne = [&] { return CalculerBandeau(*donnees).AlarmeEnCours; };
    const TDonneesKMT& d26 = (*donnees)[26];

    while (compteur < 170)
        g.Tick();
    ASSERT_TRUE(d26.PreAlarme);
    ASSERT_FALSE(d26.Alarme);
    ASSERT_TRUE(sonne());
    // Nothing to acknowledge for the alarm: nothing changes.
    g.Acquitter(26, TAcquitAppareil::Alarme);
    EXPECT_FALSE(d26.AlarmeAcquittee);
    g.Acquitter(26, TAcquitAppareil::PreAlarme);
    EXPECT_TRUE(d26.PreAlarmeAcquittee);
    EXPECT_FALSE(sonne());
    const int avant = entrees;
    g.Tick();
    EXPECT_TRUE(d26.PreAlarmeAcquittee);
    EXPECT_FALSE(sonne());
    EXPECT_EQ(entrees, avant + 1) << "the generator's journal changed";

    // The alarm comes unacknowledged: the sound again, until acknowledged,
    // here while a reader holds the lock (applied at the next tick).
    while (!d26.Alarme)
        g.Tick();
    EXPECT_TRUE(sonne());
    {
        TLectureDonnees lecture(verrou);
        g.Acquitter(26, TAcquitAppareil::Alarme);
        EXPECT_FALSE(d26.AlarmeAcquittee);
    }
    while (!d26.Alarme || !d26.AlarmeAcquittee) {
        g.Tick();
        if (!d26.Alarme)
            g.Acquitter(26, TAcquitAppareil::Alarme);
    }
    EXPECT_FALSE(sonne());

    // Device 12 goes in and out of pre-alarm: an acknowledgement ends with it.
    const TDonneesKMT& d12 = (*donnees)[12];
    while (!d12.PreAlarme)
        g.Tick();
    g.Acquitter(12, TAcquitAppareil::PreAlarme);
    EXPECT_TRUE(d12.PreAlarmeAcquittee);
    while (d12.PreAlarme)
        g.Tick();
    EXPECT_FALSE(d12.PreAlarmeAcquittee);
    while (!d12.PreAlarme)
        g.Tick();
    EXPECT_FALSE(d12.PreAlarmeAcquittee);
    EXPECT_TRUE(sonne());
}

TEST_F(StationDirecteTest, FichierReseauDecideDuModeDirect)
{
    // No file: the demonstration.
    {
        TFormVeilleur& f = Creer();
        EXPECT_EQ(f.Station().Fonctionnement(), TStationDirecte::TFonctionnement::Demonstration);
        EXPECT_TRUE(f.findChild<QTimer*>(QStringLiteral("TimerDemo"))->isActive());
        // The screens' commands reach the generator.
        Modifier(26, [](TDonneesKMT& d) { d.PreAlarme = true; });
        f.Station().Acquitter(26, TAcquitAppareil::PreAlarme);
        EXPECT_TRUE(f.DonneesKMT()[26].PreAlarmeAcquittee);
        EXPECT_EQ(f.Station().DemanderSeuil(26, 100, false), TIssueCommande::Demonstration);
        fenetre.reset();
    }
    // An unusable value: one message naming file, key and value; no
    // demonstration; the strip still watched.
    EcrireFichier(dossier.Chemin(QStringLiteral("Reseau.ini")), "[Liaison]\nPeripherique=/dev/ttyS0\nVitesse=abc\n");
    {
        TFormVeilleur& f = Creer();
        EXPECT_EQ(f.Station().Fonctionnement(), TStationDirecte::TFonctionnement::ReseauInutilisable);
        EXPECT_FALSE(f.findChild<QTimer*>(QStringLiteral("TimerDemo"))->isActive());
        EXPECT_TRUE(f.findChild<QTimer*>(QStringLiteral("TimerMonitoringData"))->isActive());
        auto* boite = f.findChild<QMessageBox*>(QStringLiteral("BoiteReseau"));
        ASSERT_NE(boite, nullptr);
        EXPECT_TRUE(boite->isVisible());
        for (const char* mot : {"Reseau.ini", "Vitesse", "abc"})
            EXPECT_TRUE(boite->text().contains(QString::fromLatin1(mot))) << boite->text().toStdString();
        // Commands say the device is not there.
        EXPECT_EQ(f.Station().DemanderSeuil(3, 100, false), TIssueCommande::HorsLigne);
        EXPECT_EQ(f.Station().DemanderSeuil(3, 5, false), TIssueCommande::HorsPlage);
        fenetre.reset();
    }
    // Live, on a line that is not there: no demonstration, no message, and
    // the window still closes at once.
    EcrireFichier(dossier.Chemin(QStringLiteral("Reseau.ini")),
                  "[Liaison]\nPeripherique=/dev/absent-veilleur\n[Appareils]\nListe=1-3\n");
    {
        TFormVeilleur& f = Creer();
        EXPECT_EQ(f.Station().Fonctionnement(), TStationDirecte::TFonctionnement::Direct);
        EXPECT_FALSE(f.findChild<QTimer*>(QStringLiteral("TimerDemo"))->isActive());
        EXPECT_EQ(f.findChild<QMessageBox*>(QStringLiteral("BoiteReseau")), nullptr);
        QTest::qWait(2500);
        EXPECT_FALSE(f.DonneesKMT()[12].Present) << "the demonstration ran in live mode";
        QElapsedTimer chrono;
        chrono.start();
        f.close();
        EXPECT_LT(chrono.elapsed(), 1000);
    }
}

} // namespace

namespace {
// Every live-device text exists in the three languages with the same
// placeholders, so that no language shows a raw "%1" or drops a number.
TEST(MessagesDirects, TroisLanguesMemesParametres)
{
    for (const TTexteLangues* m : TousLesMessagesDirects) {
        const QString fr = Texte(*m, LangueFrancais);
        for (TLangue l : {LangueAnglais, LangueEspagnol}) {
            const QString t = Texte(*m, l);
            EXPECT_FALSE(t.isEmpty()) << fr.toStdString();
            for (const char* p : {"%1", "%2"})
                EXPECT_EQ(fr.contains(QLatin1String(p)), t.contains(QLatin1String(p))) << t.toStdString();
        }
    }
    TResultatCommande r{7, TGenreCommandeAppareil::Acquitter, 2, TIssueCommande::Exception, 2};
    EXPECT_EQ(TexteResultatCommande(r, LangueFrancais), QStringLiteral("Commande refusée par l'appareil 7 (code 2)"));
}
} // namespace
