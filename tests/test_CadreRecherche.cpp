// Fault search screen: translated captions (fixed tab names and feeder numbers
// excepted), preparation of the fields and of the QFL16 table, the return to
// the recorded caller, and the painting of the table and its feeder heading.
#include "devices/CadreRecherche.h"
#include "support/OutilsTest.h"

#include "platform/MessagesFenetre.h"
#include "text/MessagesVeilleur.h"
#include "widgets/GrilleDessinee.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

QStringList NomsEditsResultats()
{
    QStringList noms = {QStringLiteral("EditDateHeureMesureQFL8Aff"), QStringLiteral("EditIntensT"),
                        QStringLiteral("EditRT"), QStringLiteral("EditIntensL"), QStringLiteral("EditRL"),
                        QStringLiteral("EditDateHeureMesureQFL16Aff")};
    for (int k = 1; k <= 8; ++k)
        noms << QStringLiteral("EditIntens%1").arg(k) << QStringLiteral("EditR%1").arg(k);
    return noms;
}

// Horizontal extent of the dark pixels inside a rectangle of an image.
bool EncreHorizontale(const QImage& image, const QRect& zone, int& gauche, int& droite)
{
    gauche = zone.right() + 1;
    droite = zone.left() - 1;
    for (int y = zone.top(); y <= zone.bottom(); ++y)
        for (int x = zone.left(); x <= zone.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                gauche = std::min(gauche, x);
                droite = std::max(droite, x);
            }
    return gauche <= droite;
}

class CadreRecherche : public ::testing::Test {
protected:
    void Ouvrir(TLangue langue, int appareil = 37, int ecranRetour = EcranQFL, int appareilRetour = 37)
    {
        Infos.Handle = &Fenetre;
        Infos.NumAppareil = appareil;
        Infos.EcranRetour = ecranRetour;
        Infos.AppareilRetour = appareilRetour;
        Ecran.ChangerLangue(langue);
        Ecran.Initialiser(Infos);
    }

    template <typename T>
    T* Controle(const QString& nom)
    {
        T* controle = Ecran.findChild<T*>(nom);
        EXPECT_NE(controle, nullptr) << nom.toStdString();
        return controle;
    }
    QString Libelle(const char* nom) { return Controle<QLabel>(QLatin1String(nom))->text(); }
    QString Onglet(int index) { return Controle<QTabWidget>(QStringLiteral("PageControl1"))->tabText(index); }
    TGrilleDessinee* Mesures() { return Controle<TGrilleDessinee>(QStringLiteral("StringGridMesuresQFL16")); }

    // Colour in the middle of a cell of the QFL16 table, as painted.
    QColor CouleurCellule(const QImage& image, int colonne, int ligne)
    {
        const QRect rect = Mesures()->RectangleCellule(colonne, ligne);
        return QColor(image.pixel(TGrilleDessinee::VersWidget(rect.center())));
    }

    TFenetreTemoin Fenetre;
    TInfosRecherche Infos;
    TFrameRecherche Ecran;
};

} // namespace

TEST_F(CadreRecherche, EveryLanguageTranslatesEveryCaptionButTabsAndNumbers)
{
    Ouvrir(LangueFrancais);
    for (TLangue langue : {LangueAnglais, LangueEspagnol, LangueFrancais}) {
        SCOPED_TRACE(langue);
        Ecran.ChangerLangue(langue);
        EXPECT_EQ(Libelle("LabelTitre"), Texte(MsgRechercheRechercheQFL8EtQFL16, langue));
        EXPECT_EQ(Libelle("LabelDateHeureMesureQFL8Aff"), Texte(MsgRechercheDateHeureDerniereRecherche, langue));
        EXPECT_EQ(Libelle("LabelDateHeureMesureQFL16Aff"), Texte(MsgRechercheDateHeureDerniereRecherche, langue));
        EXPECT_EQ(Libelle("LabelResultatsQFL8"), Texte(MsgRechercheResultatsDerniereRecherche, langue));
        EXPECT_EQ(Libelle("LabelResultatsQFL16"),
                  Texte(MsgRechercheResultatsDerniereRecherche, langue) + QStringLiteral(" (mA)"));
        for (const char* bouton : {"ButtonLancerRechercheQFL8", "ButtonLancerRechercheQFL16"})
            EXPECT_EQ(Controle<QPushButton>(QLatin1String(bouton))->text(),
                      Texte(MsgRechercheNouvelleRecherche, langue));
        EXPECT_EQ(Libelle("LabelTransfo"), Texte(MsgQFLTransfo, langue));
        EXPECT_EQ(Libelle("LabelLimiteur"), Texte(MsgQFLLimiteur, langue));
        for (int k = 1; k <= 8; ++k)
            EXPECT_EQ(Controle<QLabel>(QStringLiteral("LabelDepart%1").arg(k))->text(),
                      Texte(MsgQFLDepartN, langue) + QString::number(k + 2));
        EXPECT_EQ(Controle<TGrilleDessinee>(QStringLiteral("StringGrid1"))->Cellule(0, 0),
                  Texte(MsgQFLDepartN, langue));
        EXPECT_EQ(Mesures()->Cellule(0, 0), Texte(MsgVueDEnsembleStringGridNumSourceN, langue));

        EXPECT_EQ(Onglet(0), QStringLiteral("QFL8"));
        EXPECT_EQ(Onglet(1), QStringLiteral("QFL16"));
        EXPECT_EQ(Mesures()->Cellule(16, 0), QStringLiteral("16"));
        EXPECT_EQ(Mesures()->Cellule(0, 31), QStringLiteral("31"));
    }
    // The feeder number follows the word directly.
    EXPECT_EQ(Libelle("LabelDepart1"), QString::fromUtf8("Départ n°3"));
    EXPECT_EQ(Libelle("LabelDepart8"), QString::fromUtf8("Départ n°10"));
    Ecran.ChangerLangue(LangueAnglais);
    EXPECT_EQ(Libelle("LabelTitre"), QStringLiteral("Research on QFL8 and QFL16"));
    EXPECT_EQ(Libelle("LabelDepart8"), QStringLiteral("Feeder nr10"));
}

TEST_F(CadreRecherche, InitialiserPreparesTabFieldsAndTable)
{
    auto* onglets = Controle<QTabWidget>(QStringLiteral("PageControl1"));
    onglets->setCurrentIndex(1);
    for (const QString& nom : NomsEditsResultats())
        Controle<QLineEdit>(nom)->setText(QStringLiteral("8"));
    Mesures()->SetLargeurColonne(0, 64);

    Ouvrir(LangueFrancais);
    EXPECT_EQ(onglets->currentWidget(), Controle<QWidget>(QStringLiteral("TabSheetQFL8")));
    for (const QString& nom : NomsEditsResultats()) {
        EXPECT_TRUE(Controle<QLineEdit>(nom)->text().isEmpty()) << nom.toStdString();
        EXPECT_TRUE(Controle<QLineEdit>(nom)->isReadOnly()) << nom.toStdString();
    }

    TGrilleDessinee* grille = Mesures();
    ASSERT_EQ(grille->NbColonnes(), 17);
    ASSERT_EQ(grille->NbLignes(), 32);
    EXPECT_EQ(grille->LargeurColonne(0), 30);
    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(grille->LargeurColonne(c), 38);
        EXPECT_EQ(grille->Cellule(c, 0), QString::number(c));
    }
    for (int l = 1; l <= 31; ++l)
        EXPECT_EQ(grille->Cellule(0, l), QString::number(l));
    EXPECT_TRUE(grille->Cellule(1, 1).isEmpty());
    EXPECT_TRUE(grille->BarreVerticale());
}

TEST_F(CadreRecherche, QuitReturnsToTheRecordedCallerWhicheverScreenOpenedIt)
{
    // From the KMT screen of device 5, then from the QFL screen of device 37:
    // the same search device, two different callers.
    const std::pair<int, int> appelants[] = {{EcranKMT, 5}, {EcranQFL, 37}};
    for (const auto& [ecran, appareil] : appelants) {
        TFenetreTemoin fenetre;
        TFrameRecherche recherche;
        TInfosRecherche infos;
        infos.Handle = &fenetre;
        infos.NumAppareil = 37;
        infos.EcranRetour = ecran;
        infos.AppareilRetour = appareil;
        recherche.ChangerLangue(LangueFrancais);
        recherche.Initialiser(infos);
        QTest::mouseClick(recherche.findChild<QPushButton*>(QStringLiteral("BitBtnQuit")), Qt::LeftButton);
        EXPECT_TRUE(fenetre.Recus.empty()) << "posted, not sent";
        QCoreApplication::sendPostedEvents(&fenetre, WM_ECRAN);
        ASSERT_EQ(fenetre.Recus.size(), 1u);
        EXPECT_EQ(fenetre.Recus[0], std::make_pair(ecran, appareil));
    }
}

TEST_F(CadreRecherche, DataCellsTakeTheirColourFromRowAndColumnParity)
{
    Ouvrir(LangueFrancais);
    Controle<QTabWidget>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    Ecran.show();
    QImage image = Mesures()->grab().toImage();

    const QColor impaireImpaire(223, 225, 232);
    const QColor impairePaire(207, 210, 225);
    const QColor ligneGrise(240, 240, 240);
    EXPECT_EQ(CouleurCellule(image, 1, 1), impaireImpaire);
    EXPECT_EQ(CouleurCellule(image, 2, 1), impairePaire);
    EXPECT_EQ(CouleurCellule(image, 15, 1), impaireImpaire);
    EXPECT_EQ(CouleurCellule(image, 16, 3), impairePaire);
    for (int c = 1; c <= 16; ++c)
        EXPECT_EQ(CouleurCellule(image, c, 2), ligneGrise) << c;

    // Headings keep the grid's own painting: the fixed colour, text at left + 2.
    EXPECT_EQ(CouleurCellule(image, 0, 1).rgb(), Mesures()->CouleurFixe().rgb());
    const QRect entete = Mesures()->RectangleCellule(0, 1).translated(TGrilleDessinee::VersWidget({0, 0}));
    int gauche = 0, droite = 0;
    ASSERT_TRUE(EncreHorizontale(image, entete, gauche, droite));
    EXPECT_LE(gauche - entete.left(), 4);

    // Scrolled down, the colours still follow the row number, not the place shown.
    Mesures()->SetLigneHaut(2);
    image = Mesures()->grab().toImage();
    EXPECT_EQ(CouleurCellule(image, 1, 2), ligneGrise);
    EXPECT_EQ(CouleurCellule(image, 1, 3), impaireImpaire);
    EXPECT_EQ(CouleurCellule(image, 2, 3), impairePaire);
}

TEST_F(CadreRecherche, FeederHeadingIsCentredAndStartsOverTheFirstFeederColumn)
{
    Ouvrir(LangueFrancais);
    auto* bandeau = Controle<TGrilleDessinee>(QStringLiteral("StringGrid1"));
    // The heading cell begins exactly where the table's feeder column 1 begins.
    const int xBandeau = bandeau->x() + TGrilleDessinee::VersWidget(bandeau->RectangleCellule(0, 0).topLeft()).x();
    const int xDepart1 = Mesures()->x() + TGrilleDessinee::VersWidget(Mesures()->RectangleCellule(1, 0).topLeft()).x();
    EXPECT_EQ(xBandeau, xDepart1);

    for (TLangue langue : {LangueFrancais, LangueAnglais, LangueEspagnol}) {
        SCOPED_TRACE(langue);
        Ecran.ChangerLangue(langue);
        const QImage image = bandeau->grab().toImage();
        const QRect cellule = bandeau->RectangleCellule(0, 0).translated(TGrilleDessinee::VersWidget({0, 0}));
        int gauche = 0, droite = 0;
        ASSERT_TRUE(EncreHorizontale(image, cellule, gauche, droite));
        EXPECT_LE(std::abs((gauche - cellule.left()) - (cellule.right() - droite)), 2);
        EXPECT_EQ(QColor(image.pixel(cellule.left() + 1, cellule.top() + 1)), QColor(240, 240, 240));
    }
}

// Renders a cell through a draw handler or a reference drawing, on a
// background the handler must paint over.
static QImage RenduCellule(const QFont& police, const QRect& rect, const std::function<void(QPainter&)>& dessin)
{
    QImage image(rect.right() + 6, rect.bottom() + 6, QImage::Format_RGB32);
    image.fill(QColor(0, 128, 0));
    QPainter peintre(&image);
    peintre.setFont(police);
    peintre.setPen(Qt::black);
    peintre.setClipRect(rect);
    dessin(peintre);
    return image;
}

TEST_F(CadreRecherche, FeederHeadingLeftEdgeIsRoundedToEvenOnTheFixedColour)
{
    Ouvrir(LangueFrancais);
    auto* bandeau = Controle<TGrilleDessinee>(QStringLiteral("StringGrid1"));
    const QString texte = Texte(MsgQFLDepartN, LangueFrancais);
    const int largeurTexte = QFontMetrics(bandeau->font()).horizontalAdvance(texte);
    // 4.5 pixels each side: ties to even puts the text 4 pixels in, not 5.
    const QRect rect(7, 2, largeurTexte + 9, 15);
    auto reference = [&](int decalage) {
        return RenduCellule(bandeau->font(), rect, [&](QPainter& p) {
            TGrilleDessinee::TexteRect(p, rect, rect.left() + decalage, rect.top() + 2, texte,
                                       bandeau->CouleurFixe());
        });
    };
    const QImage dessinee = RenduCellule(bandeau->font(), rect, [&](QPainter& p) {
        Ecran.StringGrid1DrawCell(p, 0, 0, rect);
    });
    ASSERT_NE(reference(4), reference(5));
    EXPECT_EQ(dessinee, reference(4));
}

TEST_F(CadreRecherche, DataCellTextSitsTwoPixelsInAndHeadingsAreLeftToTheGrid)
{
    Ouvrir(LangueFrancais);
    TGrilleDessinee* grille = Mesures();
    grille->SetCellule(3, 5, QStringLiteral("12"));
    const QRect rect(4, 6, 38, 15);
    const QImage dessinee = RenduCellule(grille->font(), rect, [&](QPainter& p) {
        Ecran.StringGridMesuresQFL16DrawCell(p, 3, 5, rect);
    });
    const QImage attendue = RenduCellule(grille->font(), rect, [&](QPainter& p) {
        TGrilleDessinee::TexteRect(p, rect, rect.left() + 2, rect.top() + 2, QStringLiteral("12"),
                                   QColor(223, 225, 232));
    });
    EXPECT_EQ(dessinee, attendue);

    // Heading cells keep what the grid itself painted there.
    const QImage vierge = RenduCellule(grille->font(), rect, [](QPainter&) {});
    for (const auto& [colonne, ligne] : {std::pair{0, 0}, std::pair{0, 5}, std::pair{3, 0}}) {
        const QImage entete = RenduCellule(grille->font(), rect, [&](QPainter& p) {
            Ecran.StringGridMesuresQFL16DrawCell(p, colonne, ligne, rect);
        });
        EXPECT_EQ(entete, vierge) << colonne << "," << ligne;
    }
}

TEST_F(CadreRecherche, ResistanceFieldsSitOnTheButtonFaceAndCurrentFieldsOnWhite)
{
    Ouvrir(LangueFrancais);
    for (const char* nom : {"EditRT", "EditRL", "EditR1", "EditR8"}) {
        auto* edit = Controle<QLineEdit>(QLatin1String(nom));
        const QImage image = edit->grab().toImage();
        EXPECT_EQ(QColor(image.pixel(edit->width() / 2, edit->height() / 2)), QColor(240, 240, 240)) << nom;
    }
    for (const char* nom : {"EditIntensT", "EditIntensL", "EditIntens1", "EditIntens8"}) {
        auto* edit = Controle<QLineEdit>(QLatin1String(nom));
        const QImage image = edit->grab().toImage();
        EXPECT_EQ(QColor(image.pixel(edit->width() / 2, edit->height() / 2)), QColor(255, 255, 255)) << nom;
    }
}

// In every language no caption is cut off at its fixed size, on either tab.
// Saves an image of each tab when VEILLEUR_CAPTURES names a folder.
TEST_F(CadreRecherche, CaptionsFitTheirPlacesInEveryLanguage)
{
    Ouvrir(LangueFrancais);
    VerifierLibellesEntiers(Ecran, Controle<QTabWidget>(QStringLiteral("PageControl1")),
                            [this](int langue) { Ecran.ChangerLangue(static_cast<TLangue>(langue)); },
                            QStringLiteral("recherche"));
}
