// The QFL and search screens live: a locator's record shown in its units, the
// faults, the connected units and the fault found standing out on screen, and
// the commands they ask for, checked first and allowed by the session's rights.
#include "devices/CadreQFL.h"
#include "devices/CadreRecherche.h"
#include "support/OutilsTest.h"

#include "data/DateVeilleur.h"
#include "widgets/GrilleDessinee.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

struct TCommandesTemoin : TCommandesQFL {
    std::vector<std::tuple<int, int, int, bool>> Reglages;
    std::vector<int> Recherches;
    std::vector<int> RAZ;
    void EcrireReglageQFL(int appareil, int reglage, int valeur, bool suivants) override
    {
        Reglages.emplace_back(appareil, reglage, valeur, suivants);
    }
    void LancerRechercheQFL(int appareil) override { Recherches.push_back(appareil); }
    void RAZMinMaxQFL(int appareil) override { RAZ.push_back(appareil); }
};

// A locator that answers, with its settings, units 1-4 and 9, and a search
// that found the fault on feeder 5 of QFL16 unit 2.
TDonneesQFL Enregistrement()
{
    TDonneesQFL d{};
    d.Present = true;
    d.EtatCom = ComEnLigne;
    d.VLogiciel = 7;
    d.ReglagesConnus = true;
    d.Reglages = {1234, 1000, 300, 50, 100, 200, 230};
    d.Unites = 0x10F;
    d.CompteurRecherches = 4;
    d.DefautTrouve = true;
    d.ResultatsConnus = true;
    TRechercheQFL& r = d.Recherche;
    r.Date = DateVeilleur::Maintenant();
    r.ITransfo = 153;
    r.RTransfo = 150;
    r.RLimiteur = RQFLNonMesuree;
    for (auto& res : r.RDeparts)
        res = RQFLNonMesuree;
    r.IQFL16[1][4] = 153;
    r.Defauts[0] = {5, 2, 150, 153, r.Date, 0};
    r.Defauts[1] = {4, 0, 300, 76, r.Date - 1, 5};
    return d;
}

template <typename T>
T* Controle(QWidget& ecran, const char* nom)
{
    T* c = ecran.findChild<T*>(QLatin1String(nom));
    EXPECT_NE(c, nullptr) << nom;
    return c;
}

QColor PixelCellule(TGrilleDessinee& grille, int colonne, int ligne)
{
    const QImage image = ImageAffichee(grille);
    // Just inside the corner: the text starts two pixels in.
    return QColor(image.pixel(TGrilleDessinee::VersWidget(grille.RectangleCellule(colonne, ligne).topLeft() + QPoint(1, 1))));
}

// With VEILLEUR_CAPTURES set, keeps what the screen shows there, to be looked at.
void Capturer(QWidget& ecran, const char* nom)
{
    const QString dossier = qEnvironmentVariable("VEILLEUR_CAPTURES");
    if (!dossier.isEmpty())
        ImageAffichee(ecran).save(dossier + QLatin1Char('/') + QLatin1String(nom));
}

// The screen of QFL8 37 in French, in operating mode, its commands recorded,
// fed the record above.
template <typename TEcran, typename TInfos>
struct TBanc {
    TFenetreTemoin fenetre;
    TEcran ecran;
    TCommandesTemoin commandes;
    TDonneesQFL d = Enregistrement();

    TBanc()
    {
        TInfos infos;
        infos.Handle = &fenetre;
        infos.NumAppareil = 37;
        ecran.ChangerLangue(LangueFrancais);
        ecran.Initialiser(infos);
        ecran.DefinirCommandes(&commandes, ModeExploitation);
        ecran.Actualiser(d);
    }
};

} // namespace

TEST(EcransQFL, QflScreenShowsTheRecordAndAsksForCheckedSettings)
{
    TBanc<TFrameQFL, TInfosQFL> banc;
    auto& [fenetre, ecran, commandes, d] = banc;

    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditITransfo")->text(), QStringLiteral("12.34"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditIDeparts")->text(), QStringLiteral("3.00"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditRSeuilKMT")->text(), QStringLiteral("50"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditR2")->text(), QStringLiteral("200"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditTension")->text(), QStringLiteral("230"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditVLogiciel")->text(), QStringLiteral("7"));
    EXPECT_TRUE(Controle<QLabel>(ecran, "LabelEtatCom")->text().isEmpty());

    // The device's faults replace the sample row, newest first.
    auto* liste = Controle<QTreeWidget>(ecran, "ListViewHistorique");
    ASSERT_EQ(liste->topLevelItemCount(), 2);
    const QTreeWidgetItem* f = liste->topLevelItem(0);
    EXPECT_EQ(f->text(0), QStringLiteral("5"));
    EXPECT_EQ(f->text(1), QStringLiteral("2"));
    EXPECT_EQ(f->text(2), QStringLiteral("150 kOhm"));
    EXPECT_EQ(f->text(3), QStringLiteral("1.53 mA"));
    EXPECT_EQ(f->text(4).size(), QStringLiteral("05/10/03 - 15:36:22").size());
    EXPECT_EQ(f->text(5), QStringLiteral("Neutre"));
    EXPECT_EQ(liste->topLevelItem(1)->text(5), QStringLiteral("DC\u2212"));
    ecran.ChangerLangue(LangueAnglais);
    EXPECT_EQ(liste->topLevelItem(0)->text(5), QStringLiteral("Neutral"));
    ecran.ChangerLangue(LangueEspagnol);
    EXPECT_EQ(liste->topLevelItem(0)->text(5), QStringLiteral("Neutro"));
    ecran.ChangerLangue(LangueFrancais);

    // Connected units filled, the fault's unit in the alarm colour, the others empty.
    ecran.resize(TFrameEnhanced::Largeur, TFrameEnhanced::Hauteur);
    ecran.show();
    auto* onglets = Controle<QTabWidget>(ecran, "PageControl1");
    onglets->setCurrentIndex(2);
    auto* unites = Controle<TGrilleDessinee>(ecran, "StringGridEtatsQFL16");
    QTest::qWait(50);
    EXPECT_EQ(PixelCellule(*unites, 0, 1), QColor(0, 160, 0));
    EXPECT_EQ(PixelCellule(*unites, 1, 1), QColor(255, 0, 0));
    EXPECT_EQ(PixelCellule(*unites, 8, 1), QColor(0, 160, 0));
    const QColor vide = PixelCellule(*unites, 4, 1);
    EXPECT_NE(vide, QColor(0, 160, 0));
    EXPECT_EQ(vide, PixelCellule(*unites, 30, 1));
    Capturer(ecran, "qfl-infos.png");
    onglets->setCurrentIndex(1);
    QTest::qWait(50);
    Capturer(ecran, "qfl-historique.png");
    onglets->setCurrentIndex(0);
    QTest::qWait(50);
    Capturer(ecran, "qfl-reglages.png");

    // Out of range: a clear message, nothing asked. In range: asked as typed.
    auto* nvTransfo = Controle<QLineEdit>(ecran, "EditNvITransfo");
    auto* okTransfo = Controle<QPushButton>(ecran, "ButtonSetNvITransfo");
    auto* message = Controle<QLabel>(ecran, "LabelMessage");
    ASSERT_TRUE(okTransfo->isEnabled());
    QTest::keyClicks(nvTransfo, QStringLiteral("600"));
    QTest::mouseClick(okTransfo, Qt::LeftButton);
    EXPECT_TRUE(commandes.Reglages.empty());
    EXPECT_EQ(message->text(), QStringLiteral("Valeur hors plage : de 0.01 à 500.00 mA"));
    nvTransfo->clear();
    QTest::mouseClick(okTransfo, Qt::LeftButton);
    EXPECT_TRUE(commandes.Reglages.empty());
    QTest::keyClicks(nvTransfo, QStringLiteral("12,5"));
    Controle<QCheckBox>(ecran, "CheckBoxITransfoNext")->setChecked(true);
    QTest::mouseClick(okTransfo, Qt::LeftButton);
    EXPECT_TRUE(message->text().isEmpty());
    QTest::keyClicks(Controle<QLineEdit>(ecran, "EditNvRSeuilKMT"), QStringLiteral("9"));
    QTest::mouseClick(Controle<QPushButton>(ecran, "ButtonSetNvRSeuil"), Qt::LeftButton);
    EXPECT_TRUE(message->text().contains(QStringLiteral("10")));
    QTest::keyClicks(Controle<QLineEdit>(ecran, "EditNvR1"), QStringLiteral("4321"));
    QTest::mouseClick(Controle<QPushButton>(ecran, "ButtonSetNvR1"), Qt::LeftButton);
    QTest::mouseClick(Controle<QPushButton>(ecran, "ButtonRAZMinMax"), Qt::LeftButton);
    ASSERT_EQ(commandes.Reglages.size(), 2u);
    EXPECT_EQ(commandes.Reglages[0], std::make_tuple(37, ReglageITransfo, 1250, true));
    EXPECT_EQ(commandes.Reglages[1], std::make_tuple(37, ReglageR1, 4321, false));
    EXPECT_EQ(commandes.RAZ, std::vector<int>{37});
    ecran.Retour(ERetourQFL::ValeurRefusee);
    EXPECT_EQ(message->text(), QStringLiteral("Valeur refusée par l'appareil"));

    // Lost: said plainly, and nothing can be asked of it.
    d.EtatCom = ComPerdue;
    d.DHEtatCom = DateVeilleur::Maintenant();
    ecran.Actualiser(d);
    EXPECT_TRUE(Controle<QLabel>(ecran, "LabelEtatCom")->text().startsWith(QStringLiteral("Communication perdue depuis le ")));
    EXPECT_FALSE(okTransfo->isEnabled());
    EXPECT_TRUE(okTransfo->toolTip().startsWith(QStringLiteral("Communication perdue")));
    EXPECT_FALSE(Controle<QPushButton>(ecran, "ButtonRAZMinMax")->isEnabled());
    // Its last values are of unknown age: greyed, and no unit shown connected.
    auto* transfo = Controle<QLineEdit>(ecran, "EditITransfo");
    EXPECT_FALSE(transfo->isEnabled());
    EXPECT_FALSE(Controle<QLineEdit>(ecran, "EditVLogiciel")->isEnabled());
    onglets->setCurrentIndex(2);
    QTest::qWait(50);
    for (int u : {0, 1, 4})
        EXPECT_EQ(PixelCellule(*unites, u, 1), QColor(128, 128, 128)) << u;

    // A session that may not set thresholds: disabled, and told why.
    d.EtatCom = ComEnLigne;
    ecran.Actualiser(d);
    EXPECT_TRUE(transfo->isEnabled());
    QTest::qWait(50);
    EXPECT_EQ(PixelCellule(*unites, 0, 1), QColor(0, 160, 0));
    EXPECT_EQ(PixelCellule(*unites, 1, 1), QColor(255, 0, 0));
    onglets->setCurrentIndex(0);
    EXPECT_TRUE(okTransfo->isEnabled());
    ecran.DefinirCommandes(&commandes, ModeConsultation);
    EXPECT_FALSE(okTransfo->isEnabled());
    EXPECT_FALSE(Controle<QPushButton>(ecran, "ButtonRAZMinMax")->isEnabled());
    EXPECT_FALSE(okTransfo->toolTip().isEmpty());
    EXPECT_TRUE(Controle<QLabel>(ecran, "LabelEtatCom")->text().isEmpty());
}

TEST(EcransQFL, SearchScreenShowsResultsTheFaultAndTheSearchRunning)
{
    TBanc<TFrameRecherche, TInfosRecherche> banc;
    auto& [fenetre, ecran, commandes, d] = banc;

    EXPECT_FALSE(Controle<QLineEdit>(ecran, "EditDateHeureMesureQFL8Aff")->text().isEmpty());
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditDateHeureMesureQFL16Aff")->text(),
              Controle<QLineEdit>(ecran, "EditDateHeureMesureQFL8Aff")->text());
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditIntensT")->text(), QStringLiteral("1.53"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditRT")->text(), QStringLiteral("150"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditIntensL")->text(), QStringLiteral("0.00"));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditRL")->text(), QString());   // not measured
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditR8")->text(), QString());
    auto* grille = Controle<TGrilleDessinee>(ecran, "StringGridMesuresQFL16");
    EXPECT_EQ(grille->Cellule(5, 2), QStringLiteral("1.53"));
    EXPECT_EQ(grille->Cellule(1, 1), QStringLiteral("0.00"));
    EXPECT_EQ(grille->Cellule(1, 9), QStringLiteral("0.00"));
    EXPECT_EQ(grille->Cellule(1, 5), QString());   // unit 5 is not connected
    auto* etat = Controle<QLabel>(ecran, "LabelEtatRecherche");
    EXPECT_EQ(etat->text(), QStringLiteral("Défaut trouvé : départ 5, QFL16 2"));

    // The fault's cell stands out in the alarm colour, its neighbours keep theirs.
    ecran.resize(TFrameEnhanced::Largeur, TFrameEnhanced::Hauteur);
    ecran.show();
    Controle<QTabWidget>(ecran, "PageControl1")->setCurrentIndex(1);
    QTest::qWait(50);
    EXPECT_EQ(PixelCellule(*grille, 5, 2), QColor(255, 0, 0));
    EXPECT_EQ(PixelCellule(*grille, 4, 2), TFrameRecherche::CouleurCelluleMesure(4, 2));
    EXPECT_EQ(PixelCellule(*grille, 5, 3), TFrameRecherche::CouleurCelluleMesure(5, 3));
    Capturer(ecran, "recherche-qfl16.png");

    // A fault on the QFL8's own feeder 4: its fields in the alarm colour.
    d.Recherche.Defauts[0] = {4, 0, 300, 76, d.Recherche.Date, 1};
    ecran.Actualiser(d);
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditIntens2")->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(Controle<QLineEdit>(ecran, "EditR2")->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_NE(Controle<QLineEdit>(ecran, "EditIntens1")->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(etat->text(), QStringLiteral("Défaut trouvé : départ 4, QFL8"));
    Controle<QTabWidget>(ecran, "PageControl1")->setCurrentIndex(0);
    QTest::qWait(50);
    Capturer(ecran, "recherche-qfl8.png");

    // "Nouvelle recherche": asked once, both buttons off until the search ends.
    auto* bouton8 = Controle<QPushButton>(ecran, "ButtonLancerRechercheQFL8");
    auto* bouton16 = Controle<QPushButton>(ecran, "ButtonLancerRechercheQFL16");
    ASSERT_TRUE(bouton16->isEnabled());
    QTest::mouseClick(bouton16, Qt::LeftButton);
    EXPECT_EQ(commandes.Recherches, std::vector<int>{37});
    EXPECT_FALSE(bouton8->isEnabled());
    EXPECT_FALSE(bouton16->isEnabled());
    // The device took the command before its record shows the search running.
    ecran.Retour(ERetourQFL::Acceptee);
    ecran.Actualiser(d);
    EXPECT_FALSE(bouton8->isEnabled());
    EXPECT_EQ(etat->text(), QStringLiteral("Recherche en cours..."));
    d.RechercheEnCours = true;
    ecran.Actualiser(d);
    EXPECT_EQ(etat->text(), QStringLiteral("Recherche en cours..."));
    EXPECT_EQ(bouton8->toolTip(), QStringLiteral("Recherche en cours..."));
    ecran.Retour(ERetourQFL::Occupee);
    EXPECT_EQ(etat->text(), QStringLiteral("Une recherche est déjà en cours"));
    EXPECT_FALSE(bouton8->isEnabled());
    // Ended: the counter moved and the new results show without reopening.
    d.RechercheEnCours = false;
    d.CompteurRecherches = 5;
    d.Recherche.IQFL16[1][4] = 0;
    d.Recherche.IQFL16[2][0] = 99;
    d.Recherche.Defauts[0] = {1, 3, 200, 99, d.Recherche.Date, 2};
    ecran.Actualiser(d);
    EXPECT_TRUE(bouton8->isEnabled());
    EXPECT_EQ(grille->Cellule(1, 3), QStringLiteral("0.99"));
    EXPECT_EQ(etat->text(), QStringLiteral("Défaut trouvé : départ 1, QFL16 3"));
    Controle<QTabWidget>(ecran, "PageControl1")->setCurrentIndex(1);
    QTest::qWait(50);
    EXPECT_EQ(PixelCellule(*grille, 1, 3), QColor(255, 0, 0));
    EXPECT_EQ(PixelCellule(*grille, 5, 2), TFrameRecherche::CouleurCelluleMesure(5, 2));

    // Lost, or a session without the right: no search, and the tooltip says why.
    d.EtatCom = ComPerdue;
    ecran.Actualiser(d);
    EXPECT_FALSE(bouton8->isEnabled());
    EXPECT_TRUE(etat->text().startsWith(QStringLiteral("Communication perdue")));
    d.EtatCom = ComEnLigne;
    ecran.Actualiser(d);
    // A search asked just before the line went: not waited for once it is back.
    ASSERT_TRUE(bouton8->isEnabled());
    QTest::mouseClick(bouton8, Qt::LeftButton);
    ecran.Retour(ERetourQFL::Acceptee);
    d.EtatCom = ComPerdue;
    ecran.Actualiser(d);
    d.EtatCom = ComEnLigne;
    ecran.Actualiser(d);
    EXPECT_TRUE(bouton8->isEnabled());
    ecran.DefinirCommandes(&commandes, ModeConsultation);
    EXPECT_FALSE(bouton16->isEnabled());
    EXPECT_FALSE(bouton16->toolTip().isEmpty());
    EXPECT_EQ(commandes.Recherches.size(), 2u);
}
