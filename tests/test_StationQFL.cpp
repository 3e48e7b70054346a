// The station with live fault locators, against the device simulator on a
// pseudo-terminal: the QFL screen's settings signed by the user in session,
// a search followed on the search screen until its results and the fault
// history, the strip's lower row for a silent locator, the automatic search
// kept in the network file across a restart, and the demonstration left as
// it always was.
#include "app/FormVeilleur.h"
#include "data/Chaine1252.h"
#include "data/ConfigSet.h"
#include "data/VerrouDonnees.h"
#include "liaison/ConfigReseau.h"
#include "platform/CouleursSysteme.h"
#include "platform/EvenementNomme.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "screens/CadreEnhanced.h"
#include "sessions/Session.h"
#include "support/FenetreTest.h"
#include "support/OutilsTest.h"
#include "support/ProgrammeTest.h"
#include "text/MessagesVeilleur.h"
#include "widgets/BoutonAppareil.h"
#include "widgets/GrilleDessinee.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStyle>
#include <QStyleOptionButton>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

const QColor Gris(128, 128, 128);
const QColor Rouge(255, 0, 0);

class StationQFLTest : public TFenetreTest {
protected:
    StationQFLTest() : TFenetreTest("VeilleurQFL") {}
    void SetUp() override
    {
        std::memset(static_cast<void*>(&ConfigSet), 0, sizeof ConfigSet);
        TFenetreTest::SetUp();
    }

    // KMT 5 (threshold 100 kOhm, 800 measured) and the locators 37 and 38;
    // searches of 3 s, long enough to be seen running.
    void DemarrerSimulateur()
    {
        const QString lien = dossier.Chemin(QStringLiteral("ligne"));
        simulateur.Lancer(QStringLiteral(VEILLEUR_SIMULATEUR),
                          {QStringLiteral("--pty"), lien, QStringLiteral("--kmt"), QStringLiteral("5"),
                           QStringLiteral("--qfl"), QStringLiteral("37,38"), QStringLiteral("--demarrage-ms"),
                           QStringLiteral("0"), QStringLiteral("--derive"), QStringLiteral("0"),
                           QStringLiteral("--duree-recherche"), QStringLiteral("3000")});
        Dire("seuil 5 100\nr 5 800");
        EcrireFichier(dossier.Chemin(QStringLiteral("Reseau.ini")),
                      "[Liaison]\nPeripherique=" + lien.toUtf8() + "\nDelaiReponse=100\n[Appareils]\nListe=5,37,38\n");
    }
    void Dire(const QByteArray& commandes) { simulateur.Dire(commandes); }

    TFormVeilleur& Creer()
    {
        Construire();
        fenetre->show();
        return *fenetre;
    }
    TDonneesQFL QFL(int n)
    {
        TLectureDonnees lecture(fenetre->VerrouDonnees());
        return fenetre->DonneesQFL()[n - DecalageQFL];
    }
    bool EnLigne(int n) { return QFL(n).EtatCom == ComEnLigne && QFL(n).ReglagesConnus; }
    bool KMTPresent(int n)
    {
        TLectureDonnees lecture(fenetre->VerrouDonnees());
        return fenetre->DonneesKMT()[n].Present;
    }

    void Ouvrir(std::int32_t ecran, std::int32_t appareil)
    {
        EnvoyerEcran(fenetre.get(), ecran, appareil);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::sendPostedEvents();
    }
    template <typename T = QWidget>
    T* Enfant(const char* nom) const
    {
        T* enfant = fenetre->EcranCourant()->findChild<T*>(QString::fromLatin1(nom));
        EXPECT_NE(enfant, nullptr) << nom;
        return enfant;
    }
    // Brings the tab holding the control to the front, as the operator would.
    static void MontrerOnglet(QWidget* controle)
    {
        for (QWidget* w = controle; w; w = w->parentWidget())
            if (auto* onglets = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
                if (onglets->indexOf(w) >= 0)
                    onglets->setCurrentWidget(w);
        QTest::qWait(20);
    }
    // A click on the box itself, not beside its short caption.
    static void Cocher(QCheckBox* caseACocher)
    {
        QStyleOptionButton option;
        option.initFrom(caseACocher);
        const QRect indicateur = caseACocher->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, caseACocher);
        QTest::mouseClick(caseACocher, Qt::LeftButton, {}, indicateur.center());
    }
    QString TexteChamp(const char* nom) const { return Enfant<QLineEdit>(nom)->text(); }
    QString Libelle(const char* nom) const { return Enfant<QLabel>(nom)->text(); }
    TBoutonAppareil* Bouton(int n) const
    {
        return fenetre->findChild<TBoutonAppareil*>(QStringLiteral("BoutonMonitoring%1").arg(n));
    }

    // Users as an earlier run left them: the station starts in CONSULTATION.
    static void PreparerUtilisateurs()
    {
        TSession session;
        session.Charger();
        ASSERT_TRUE(session.AjouterUtilisateur("DURAND", "Anne", ModeAdministration, TMotDePasse("admin-1"),
                                               TMotDePasse("admin-1")).Reussi);
        ASSERT_TRUE(session.AjouterUtilisateur("MARTIN", "Paul", ModeExploitation, TMotDePasse("Exploit-2"),
                                               TMotDePasse("Exploit-2")).Reussi);
    }
    // Through the session screen, as the operator logs in.
    void Entrer(const QString& nom, const char* motDePasse)
    {
        Ouvrir(EcranSession, 0);
        auto* liste = Enfant<QTreeWidget>("ListViewUtilisateurs");
        for (int i = 0; i < liste->topLevelItemCount(); ++i)
            if (liste->topLevelItem(i)->text(0) == nom)
                liste->setCurrentItem(liste->topLevelItem(i));
        QTest::keyClicks(Enfant<QLineEdit>("EditMotDePasse"), QString::fromLatin1(motDePasse));
        QTest::mouseClick(Enfant<QPushButton>("ButtonDebutSession"), Qt::LeftButton);
    }

    // What the window journalled so far, as the journal file holds it.
    std::vector<TEntreeLog> Journal() const
    {
        QCoreApplication::processEvents();
        fenetre->Journal().EcrireEntreesEnAttente();
        const QByteArray octets = LireFichier(QString::fromLatin1(NomFichierLog));
        std::vector<TEntreeLog> entrees;
        for (qsizetype p = 0; p + qsizetype(sizeof(TEntreeLog)) <= octets.size(); p += sizeof(TEntreeLog)) {
            TEntreeLog e;
            std::memcpy(&e, octets.constData() + p, sizeof e);
            entrees.push_back(e);
        }
        return entrees;
    }
    static std::vector<TEntreeLog> De(const std::vector<TEntreeLog>& entrees, int code, int appareil)
    {
        std::vector<TEntreeLog> v;
        for (const TEntreeLog& e : entrees)
            if (e.Code == code && e.Origine == appareil)
                v.push_back(e);
        return v;
    }

    // Quit when the fixture goes, after the window.
    TProgramme simulateur;
};

TEST_F(StationQFLTest, ReglagesSignesParLUtilisateurEtDroitsDeLaSession)
{
    DemarrerSimulateur();
    PreparerUtilisateurs();
    TFormVeilleur& f = Creer();
    ASSERT_EQ(f.ModeCourant(), ModeConsultation);
    ASSERT_TRUE(QTest::qWaitFor([&] { return EnLigne(37) && EnLigne(38); }, 10000));

    // Opened from its strip button; the device's values in their units.
    QTest::mouseClick(Bouton(37), Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents();
    ASSERT_EQ(f.NumEcranCourant(), EcranQFL);
    ASSERT_EQ(f.NumAppareilCourant(), 37);
    ASSERT_TRUE(QTest::qWaitFor([&] { return TexteChamp("EditVLogiciel") == QStringLiteral("7"); }, 3000));
    EXPECT_EQ(TexteChamp("EditITransfo"), QStringLiteral("10.00"));
    EXPECT_EQ(TexteChamp("EditILimiteur"), QStringLiteral("10.00"));
    EXPECT_EQ(TexteChamp("EditIDeparts"), QStringLiteral("3.00"));
    EXPECT_EQ(TexteChamp("EditRSeuilKMT"), QStringLiteral("50"));
    EXPECT_EQ(TexteChamp("EditR1"), QStringLiteral("100"));
    EXPECT_EQ(TexteChamp("EditR2"), QStringLiteral("200"));
    EXPECT_EQ(TexteChamp("EditTension"), QStringLiteral("230"));
    EXPECT_EQ(TexteChamp("EditAdrReseau"), QStringLiteral("37"));
    EXPECT_TRUE(Libelle("LabelEtatCom").isEmpty());

    // Nobody in session: read only, and the reason on every button.
    for (const char* nom : {"ButtonSetNvITransfo", "ButtonSetNvTension", "ButtonRAZMinMax"}) {
        EXPECT_FALSE(Enfant<QPushButton>(nom)->isEnabled()) << nom;
        EXPECT_FALSE(Enfant<QPushButton>(nom)->toolTip().isEmpty()) << nom;
    }
    Ouvrir(EcranRecherche, 37);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Enfant<QPushButton>("ButtonLancerRechercheQFL8")->toolTip().size() > 0; }, 3000));
    EXPECT_FALSE(Enfant<QPushButton>("ButtonLancerRechercheQFL8")->isEnabled());

    // An operator: the same screen lets him set, and signs with his name.
    Entrer(QStringLiteral("MARTIN"), "Exploit-2");
    ASSERT_EQ(f.ModeCourant(), ModeExploitation);
    Ouvrir(EcranQFL, 37);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Enfant<QPushButton>("ButtonSetNvITransfo")->isEnabled(); }, 3000));
    const std::size_t avant = Journal().size();

    // Out of range (600 mA): the message with the range, nothing asked.
    auto* nouveau = Enfant<QLineEdit>("EditNvITransfo");
    QTest::keyClicks(nouveau, QStringLiteral("600"));
    QTest::mouseClick(Enfant<QPushButton>("ButtonSetNvITransfo"), Qt::LeftButton);
    EXPECT_EQ(Libelle("LabelMessage"), QStringLiteral("Valeur hors plage : de 0.01 à 500.00 mA"));
    QTest::qWait(600);
    {
        const std::vector<TEntreeLog> entrees = Journal();
        EXPECT_TRUE(De(entrees, 31, 37).empty());
        EXPECT_EQ(QFL(37).Reglages[ReglageITransfo], 1000);
    }

    // 12.5 mA on 37 and the locators after it.
    nouveau->clear();
    QTest::keyClicks(nouveau, QStringLiteral("12.5"));
    Cocher(Enfant<QCheckBox>("CheckBoxITransfoNext"));
    ASSERT_TRUE(Enfant<QCheckBox>("CheckBoxITransfoNext")->isChecked());
    QTest::mouseClick(Enfant<QPushButton>("ButtonSetNvITransfo"), Qt::LeftButton);
    EXPECT_TRUE(Libelle("LabelMessage").isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return QFL(37).Reglages[ReglageITransfo] == 1250 && QFL(38).Reglages[ReglageITransfo] == 1250;
    }, 5000));
    // The screen follows the device, not what was typed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return TexteChamp("EditITransfo") == QStringLiteral("12.50"); }, 3000));
    EXPECT_EQ(QFL(37).Reglages[ReglageTension], 230);

    std::vector<TEntreeLog> entrees;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        entrees = Journal();
        return De(entrees, 27, 37).size() == 1 && De(entrees, 27, 38).size() == 1;
    }, 3000));
    for (int n : {37, 38}) {
        // Asked (signed, new value, value in force), then confirmed, in that order.
        const std::vector<TEntreeLog> demande = De(entrees, 31, n);
        ASSERT_EQ(demande.size(), 1u) << n;
        EXPECT_EQ(LireChaine(demande[0].InfosCompl), QStringLiteral("Paul MARTIN")) << n;
        EXPECT_EQ(demande[0].Valeur1, 1250) << n;
        EXPECT_EQ(demande[0].Valeur2, 1000) << n;
        int ordreDemande = -1, ordreConfirme = -1;
        for (std::size_t i = avant; i < entrees.size(); ++i) {
            if (entrees[i].Origine != n)
                continue;
            if (entrees[i].Code == 31 && ordreDemande < 0)
                ordreDemande = int(i);
            if (entrees[i].Code == 27 && ordreConfirme < 0)
                ordreConfirme = int(i);
        }
        EXPECT_GE(ordreDemande, 0) << n;
        EXPECT_GT(ordreConfirme, ordreDemande) << n;
        EXPECT_EQ(De(entrees, 27, n)[0].Valeur1, 1250) << n;
    }
    EXPECT_TRUE(erreurs.empty()) << (erreurs.empty() ? "" : erreurs[0].toStdString());
}

TEST_F(StationQFLTest, RechercheSuivieJusquASesResultatsEtSonHistorique)
{
    DemarrerSimulateur();
    Dire("unites 37 1-4\nfuite 37 5 2 1 150");
    TFormVeilleur& f = Creer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return EnLigne(37); }, 10000));
    Ouvrir(EcranRecherche, 37);
    auto* lancer = Enfant<QPushButton>("ButtonLancerRechercheQFL8");
    auto* lancer16 = Enfant<QPushButton>("ButtonLancerRechercheQFL16");
    ASSERT_TRUE(QTest::qWaitFor([&] { return lancer->isEnabled(); }, 3000));
    // Never searched: nothing measured is shown.
    EXPECT_TRUE(TexteChamp("EditDateHeureMesureQFL8Aff").isEmpty());
    EXPECT_TRUE(TexteChamp("EditIntensT").isEmpty());
    const std::uint16_t compteur = QFL(37).CompteurRecherches;

    // From the click to the results, watched at every turn of the event loop:
    // the buttons stay off and the screen says the search runs.
    int libres = 0;
    int muets = 0;
    const auto enCours = [&](const std::function<bool()>& fin, int ms) {
        return QTest::qWaitFor([&] {
            if (fin())
                return true;
            // The screen may lag a tick behind the record at the end, never at the start.
            if (QFL(37).RechercheEnCours) {
                libres += lancer->isEnabled() || lancer16->isEnabled();
                muets += Libelle("LabelEtatRecherche").isEmpty();
            }
            return false;
        }, ms);
    };
    QTest::mouseClick(lancer, Qt::LeftButton);
    EXPECT_FALSE(lancer->isEnabled());
    EXPECT_FALSE(lancer16->isEnabled());
    EXPECT_EQ(Libelle("LabelEtatRecherche"), Texte(MsgRechercheEnCours, LangueFrancais));
    // Past the device's answer and a refresh that saw it run.
    enCours([] { return false; }, 1500);
    ASSERT_TRUE(QFL(37).RechercheEnCours);
    EXPECT_EQ(Libelle("LabelEtatRecherche"), Texte(MsgRechercheEnCours, LangueFrancais));
    // A second request meanwhile: the device refuses, the screen says why.
    f.Station().LancerRechercheQFL(37);
    ASSERT_TRUE(enCours([&] {
        return Libelle("LabelEtatRecherche") == Texte(MsgRechercheDejaEnCours, LangueFrancais);
    }, 3000));

    // The end, on the screen left open: the transformer's current, the unit's
    // feeder in the QFL16 table on the alarm colour, the fault named.
    ASSERT_TRUE(enCours([&] { return !TexteChamp("EditIntensT").isEmpty(); }, 8000));
    EXPECT_EQ(libres, 0) << "a button came back while the search ran";
    EXPECT_EQ(muets, 0) << "the screen stopped saying the search runs";
    EXPECT_NE(QFL(37).CompteurRecherches, compteur);
    EXPECT_EQ(TexteChamp("EditIntensT"), QStringLiteral("1.53"));   // 230 V through 150 kOhm
    EXPECT_EQ(TexteChamp("EditRT"), QStringLiteral("150"));
    EXPECT_FALSE(TexteChamp("EditDateHeureMesureQFL8Aff").isEmpty());
    auto* grille = Enfant<TGrilleDessinee>("StringGridMesuresQFL16");
    EXPECT_EQ(grille->Cellule(5, 2), QStringLiteral("1.53"));
    EXPECT_EQ(grille->Cellule(4, 2), QStringLiteral("0.00"));
    EXPECT_TRUE(grille->Cellule(5, 5).isEmpty()) << "unit 5 is not connected";
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return Libelle("LabelEtatRecherche") == QStringLiteral("Défaut trouvé : départ 5, QFL16 2");
    }, 2000));
    EXPECT_TRUE(lancer->isEnabled());
    Enfant<QTabWidget>("PageControl1")->setCurrentWidget(Enfant("TabSheetQFL16"));
    QTest::qWait(100);
    const auto pixel = [&](int colonne, int ligne) {
        const QImage image = ImageAffichee(*grille);
        return QColor(image.pixel(TGrilleDessinee::VersWidget(grille->RectangleCellule(colonne, ligne).topLeft() + QPoint(1, 1))));
    };
    EXPECT_EQ(pixel(5, 2), Rouge);
    EXPECT_NE(pixel(4, 2), Rouge);

    // A fault on a feeder of the QFL8 itself: its own field stands out.
    Dire("fuite 37 5 0 3 150");
    Enfant<QTabWidget>("PageControl1")->setCurrentWidget(Enfant("TabSheetQFL8"));
    const std::uint16_t premier = QFL(37).CompteurRecherches;
    QTest::mouseClick(lancer, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return QFL(37).CompteurRecherches != premier && TexteChamp("EditIntens3") == QStringLiteral("1.53");
    }, 8000));
    auto* depart5 = Enfant<QLineEdit>("EditIntens3");
    EXPECT_EQ(depart5->palette().color(QPalette::Base), Rouge);
    EXPECT_NE(Enfant<QLineEdit>("EditIntens2")->palette().color(QPalette::Base), Rouge);
    QTest::qWait(100);
    EXPECT_EQ(ImageAffichee(*depart5).pixelColor(depart5->width() - 4, depart5->height() / 2), Rouge);
    EXPECT_EQ(grille->Cellule(5, 2), QStringLiteral("0.00"));

    // The QFL screen's history: both faults, newest first.
    Ouvrir(EcranQFL, 37);
    auto* historique = Enfant<QTreeWidget>("ListViewHistorique");
    ASSERT_TRUE(QTest::qWaitFor([&] { return historique->topLevelItemCount() == 2; }, 3000));
    const QTreeWidgetItem* recent = historique->topLevelItem(0);
    const QTreeWidgetItem* ancien = historique->topLevelItem(1);
    EXPECT_EQ(recent->text(0), QStringLiteral("5"));
    EXPECT_EQ(recent->text(1), QStringLiteral("-"));
    EXPECT_EQ(recent->text(5), QStringLiteral("L3"));
    EXPECT_EQ(ancien->text(0), QStringLiteral("5"));
    EXPECT_EQ(ancien->text(1), QStringLiteral("2"));
    EXPECT_EQ(ancien->text(2), QStringLiteral("150 kOhm"));
    EXPECT_EQ(ancien->text(3), QStringLiteral("1.53 mA"));
    EXPECT_EQ(ancien->text(5), QStringLiteral("L1"));
    EXPECT_FALSE(ancien->text(4).isEmpty());

    // Both requests and the refused one journalled; nobody in session.
    const std::vector<TEntreeLog> recherches = De(Journal(), 37, 37);
    EXPECT_EQ(recherches.size(), 3u);
    EXPECT_TRUE(erreurs.empty()) << (erreurs.empty() ? "" : erreurs[0].toStdString());
}

TEST_F(StationQFLTest, BandeauDuQFLMuetEtRechercheAutomatiqueGardee)
{
    DemarrerSimulateur();
    {
        Creer();
        ASSERT_TRUE(QTest::qWaitFor([&] { return EnLigne(37) && EnLigne(38) && KMTPresent(5); }, 10000));
        Dire("muet 38");
        ASSERT_TRUE(QTest::qWaitFor([&] { return Bouton(38)->CouleurFace() == Gris; }, 10000));
        EXPECT_EQ(Bouton(38)->CouleurTexte(), QColor(255, 255, 255));
        EXPECT_EQ(Bouton(37)->CouleurFace(), CouleursSysteme::FaceBouton);
        EXPECT_EQ(Bouton(37)->CouleurTexte(), CouleursSysteme::TexteBouton);
        // The KMT above the silent locator keeps its own state.
        EXPECT_EQ(Bouton(6)->CouleurFace(), CouleursSysteme::FaceBouton);
        EXPECT_EQ(Bouton(5)->CouleurFace(), CouleursSysteme::FaceBouton);
        EXPECT_EQ(Bouton(5)->CouleurTexte(), CouleursSysteme::TexteBouton);
        QTest::qWait(100);
        EXPECT_EQ(ImageAffichee(*Bouton(38)).pixelColor(4, 4), Gris);
        EXPECT_EQ(ImageAffichee(*Bouton(37)).pixelColor(4, 4), CouleursSysteme::FaceBouton);
        // Its screen says since when, and nothing can be asked of it.
        Ouvrir(EcranQFL, 38);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Libelle("LabelEtatCom").isEmpty(); }, 3000));
        EXPECT_TRUE(Libelle("LabelEtatCom").startsWith(QStringLiteral("Communication perdue")));
        EXPECT_FALSE(Enfant<QPushButton>("ButtonSetNvR1")->isEnabled());
        Dire("repond 38");
        EXPECT_TRUE(QTest::qWaitFor([&] { return Bouton(38)->CouleurFace() == CouleursSysteme::FaceBouton; }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Libelle("LabelEtatCom").isEmpty(); }, 3000));

        // KMT 5's alarm starts a search on 37: chosen on its screen, kept in the file.
        Ouvrir(EcranKMT, 5);
        auto* automatique = Enfant<QCheckBox>("CheckBoxAutoRecherche");
        MontrerOnglet(automatique);
        ASSERT_TRUE(automatique->isVisible());
        ASSERT_TRUE(automatique->isEnabled());
        ASSERT_FALSE(automatique->isChecked());
        Cocher(automatique);
        EXPECT_TRUE(automatique->isChecked());
        const QByteArray reseau = LireFichier(dossier.Chemin(QStringLiteral("Reseau.ini")));
        EXPECT_TRUE(reseau.contains("[RechercheAuto]\nListe=5\n")) << reseau.constData();
        // The rest of the file still says the same.
        const TLectureReseau relu = LireConfigReseau(dossier.Chemin(QStringLiteral("Reseau.ini")), QString());
        ASSERT_TRUE(relu.Utilisable) << relu.Message.toStdString();
        EXPECT_EQ(relu.Config.Appareils, (std::vector<int>{5, 37, 38}));
        EXPECT_EQ(relu.Config.DelaiReponse, 100);
        fenetre.reset();
    }
    // A new run reads it back: the box ticked, and the alarm starts the search.
    Creer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return EnLigne(37) && KMTPresent(5); }, 10000));
    Ouvrir(EcranKMT, 5);
    EXPECT_TRUE(Enfant<QCheckBox>("CheckBoxAutoRecherche")->isChecked());
    const std::size_t avant = De(Journal(), 37, 37).size();
    Dire("r 5 50");
    std::vector<TEntreeLog> recherches;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        recherches = De(Journal(), 37, 37);
        return recherches.size() > avant;
    }, 8000));
    EXPECT_EQ(LireChaine(recherches.back().InfosCompl), QStringLiteral("automatique"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Bouton(5)->CouleurFace() == Rouge; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFL(37).RechercheEnCours; }, 3000));
    EXPECT_TRUE(erreurs.empty()) << (erreurs.empty() ? "" : erreurs[0].toStdString());
}

TEST_F(StationQFLTest, DemonstrationGardeSesEcransCommeAvant)
{
    TFormVeilleur& f = Creer();
    ASSERT_TRUE(f.Station().Demonstration());
    // A record that a live locator would show: the demonstration shows none of it.
    {
        TEcritureDonnees ecriture(f.VerrouDonnees());
        TDonneesQFL& d = f.DonneesQFL()[37 - DecalageQFL];
        d.Present = true;
        d.EtatCom = ComEnLigne;
        d.VLogiciel = 9;
        d.ReglagesConnus = true;
        d.Reglages = {1234, 1000, 300, 50, 100, 200, 230};
        d.ResultatsConnus = true;
    }
    Ouvrir(EcranQFL, 37);
    auto* historique = Enfant<QTreeWidget>("ListViewHistorique");
    const auto echantillon = [&] {
        return historique->topLevelItemCount() == 1 && historique->topLevelItem(0)->text(0) == QStringLiteral("QFLXX");
    };
    EXPECT_TRUE(echantillon());
    QTest::qWait(2200);   // two monitoring ticks
    EXPECT_TRUE(echantillon());
    EXPECT_TRUE(TexteChamp("EditITransfo").isEmpty());
    EXPECT_TRUE(TexteChamp("EditVLogiciel").isEmpty());
    EXPECT_FALSE(Enfant<QPushButton>("ButtonSetNvITransfo")->isEnabled());
    EXPECT_EQ(f.findChild<TBoutonAppareil*>(QStringLiteral("BoutonMonitoring37"))->CouleurFace(),
              CouleursSysteme::FaceBouton);

    Ouvrir(EcranRecherche, 37);
    QTest::qWait(1200);
    EXPECT_TRUE(TexteChamp("EditIntensT").isEmpty());
    EXPECT_FALSE(Enfant<QPushButton>("ButtonLancerRechercheQFL8")->isEnabled());

    // The automatic search box: a plain box, no file behind it.
    Ouvrir(EcranKMT, 5);
    auto* automatique = Enfant<QCheckBox>("CheckBoxAutoRecherche");
    MontrerOnglet(automatique);
    ASSERT_TRUE(automatique->isVisible());
    EXPECT_TRUE(automatique->isEnabled());
    const bool coche = automatique->isChecked();
    Cocher(automatique);
    EXPECT_NE(automatique->isChecked(), coche);
    EXPECT_TRUE(automatique->isEnabled());
    EXPECT_TRUE(Libelle("LabelMessageReglages").isEmpty());
    EXPECT_FALSE(QFile::exists(dossier.Chemin(QStringLiteral("Reseau.ini"))));
    EXPECT_FALSE(f.Station().RechercheAuto(5));
    EXPECT_TRUE(erreurs.empty()) << (erreurs.empty() ? "" : erreurs[0].toStdString());
}

} // namespace
