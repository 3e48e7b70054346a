// QFL device screen: title and address from the parameter block, relabelling
// by language (fixed captions and the title's number word excepted), the
// stored history row, typing into display fields, navigation messages and the
// centred numbers of the connected-units grid.
#include "devices/CadreQFL.h"
#include "support/OutilsTest.h"

#include "platform/MessagesFenetre.h"
#include "text/MessagesVeilleur.h"
#include "widgets/GrilleDessinee.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

const char* const NomsLabelsReglages[] = {"LabelITransfo", "LabelILimiteur", "LabelIDeparts",
                                          "LabelRSeuilKMT", "LabelR1", "LabelR2", "LabelTension"};
const char* const NomsCases[] = {"CheckBoxITransfoNext", "CheckBoxILimiteurNext", "CheckBoxIDepartsNext",
                                 "CheckBoxRSeuilNext", "CheckBoxR1Next", "CheckBoxR2Next",
                                 "CheckBoxTensionNext"};
const char* const NomsEditsActuels[] = {"EditITransfo", "EditILimiteur", "EditIDeparts", "EditRSeuilKMT",
                                        "EditR1", "EditR2", "EditTension"};
const char* const NomsEditsNouveaux[] = {"EditNvITransfo", "EditNvILimiteur", "EditNvIDeparts",
                                         "EditNvRSeuilKMT", "EditNvR1", "EditNvR2", "EditNvTension"};

class CadreQFL : public ::testing::Test {
protected:
    // Opens the screen as the shell does: language first, then the block.
    void Ouvrir(TLangue langue, int appareil, const QString& nom = QString(), int ecranRetour = EcranAccueil,
                int appareilRetour = 1)
    {
        Infos.Handle = &Fenetre;
        Infos.NumAppareil = appareil;
        Infos.EcranRetour = ecranRetour;
        Infos.AppareilRetour = appareilRetour;
        Infos.NomAppareil = nom;
        Ecran.ChangerLangue(langue);
        Ecran.Initialiser(Infos);
    }

    template <typename T>
    T* Controle(const char* nom)
    {
        T* controle = Ecran.findChild<T*>(QLatin1String(nom));
        EXPECT_NE(controle, nullptr) << nom;
        return controle;
    }

    QString Titre() { return Controle<QLabel>("LabelTitre")->text(); }
    QString Onglet(const char* page)
    {
        auto* onglets = Controle<QTabWidget>("PageControl1");
        return onglets->tabText(onglets->indexOf(Controle<QWidget>(page)));
    }
    QString Entete(int colonne) { return Controle<QTreeWidget>("ListViewHistorique")->headerItem()->text(colonne); }

    TFenetreTemoin Fenetre;
    TInfosQFL Infos;
    TFrameQFL Ecran;
};

} // namespace

TEST_F(CadreQFL, TitleShowsTheSourceNumberAndTheAddressTheDeviceNumber)
{
    Ouvrir(LangueFrancais, 33);
    EXPECT_EQ(Titre(), QString::fromUtf8("QFL8 N° 1"));
    EXPECT_EQ(Controle<QLineEdit>("EditAdrReseau")->text(), QStringLiteral("33"));

    TFrameQFL dernier;
    TInfosQFL infos;
    infos.Handle = &Fenetre;
    infos.NumAppareil = 63;
    dernier.ChangerLangue(LangueFrancais);
    dernier.Initialiser(infos);
    EXPECT_EQ(dernier.findChild<QLabel*>(QStringLiteral("LabelTitre"))->text(), QString::fromUtf8("QFL8 N° 31"));
    EXPECT_EQ(dernier.findChild<QLineEdit*>(QStringLiteral("EditAdrReseau"))->text(), QStringLiteral("63"));
}

TEST_F(CadreQFL, TitleAppendsTheSourceNameHandedInTheBlock)
{
    // The shell hands QFL device 40 the name of source 8.
    Ouvrir(LangueFrancais, 40, QString::fromUtf8("Tableau général & éclairage"));
    EXPECT_EQ(Titre(), QString::fromUtf8("QFL8 N° 8 / Tableau général & éclairage"));
    EXPECT_EQ(Controle<QLineEdit>("EditAdrReseau")->text(), QStringLiteral("40"));
}

TEST_F(CadreQFL, TitleUsesTheNumberWordOfTheOpeningLanguageAndKeepsItAfterASwitch)
{
    Ouvrir(LangueAnglais, 37);
    EXPECT_EQ(Titre(), QStringLiteral("QFL8 Nr 5"));
    Ecran.ChangerLangue(LangueFrancais);
    EXPECT_EQ(Titre(), QStringLiteral("QFL8 Nr 5"));
    EXPECT_EQ(Onglet("TabSheetReglages"), QString::fromUtf8("Réglages"));
}

TEST_F(CadreQFL, InitialiserSelectsTheSettingsTabAndEmptiesTheValueFields)
{
    auto* onglets = Controle<QTabWidget>("PageControl1");
    onglets->setCurrentWidget(Controle<QWidget>("TabSheetInfos"));
    for (const char* nom : NomsEditsActuels)
        Controle<QLineEdit>(nom)->setText(QStringLiteral("12"));
    for (const char* nom : NomsEditsNouveaux)
        Controle<QLineEdit>(nom)->setText(QStringLiteral("34"));
    Controle<QLineEdit>("EditVLogiciel")->setText(QStringLiteral("7"));

    Ouvrir(LangueFrancais, 45);
    EXPECT_EQ(onglets->currentWidget(), Controle<QWidget>("TabSheetReglages"));
    for (const char* nom : NomsEditsActuels)
        EXPECT_TRUE(Controle<QLineEdit>(nom)->text().isEmpty()) << nom;
    for (const char* nom : NomsEditsNouveaux)
        EXPECT_TRUE(Controle<QLineEdit>(nom)->text().isEmpty()) << nom;
    EXPECT_TRUE(Controle<QLineEdit>("EditVLogiciel")->text().isEmpty());
}

TEST_F(CadreQFL, EveryLanguageRelabelsEveryTranslatedCaptionAndLeavesTheFixedOnes)
{
    const TTexteLangues* libellesReglages[] = {&MsgQFLSeuilITransfo, &MsgQFLSeuilILimiteur, &MsgQFLSeuilIDeparts,
                                               &MsgQFLRSeuilDuKMT, nullptr, nullptr, &MsgQFLTension};
    Ouvrir(LangueFrancais, 33);
    // Each language in turn on the same screen, ending where it started.
    for (TLangue langue : {LangueAnglais, LangueEspagnol, LangueFrancais}) {
        SCOPED_TRACE(langue);
        Ecran.ChangerLangue(langue);
        EXPECT_EQ(Controle<QPushButton>("ButtonLancer")->text(), Texte(MsgQFLRechercheQFL8QFL16, langue));
        EXPECT_EQ(Onglet("TabSheetReglages"), Texte(MsgQFLReglages, langue));
        EXPECT_EQ(Onglet("TabSheetHistorique"), Texte(MsgQFLHistorique, langue));
        EXPECT_EQ(Onglet("TabSheetInfos"), Texte(MsgQFLInfos, langue));
        EXPECT_EQ(Controle<QLabel>("LabelActuels")->text(), Texte(MsgQFLActuels, langue));
        EXPECT_EQ(Controle<QLabel>("LabelNouveaux")->text(), Texte(MsgQFLNouveaux, langue));
        for (int i = 0; i < 7; ++i) {
            if (libellesReglages[i]) {
                EXPECT_EQ(Controle<QLabel>(NomsLabelsReglages[i])->text(), Texte(*libellesReglages[i], langue));
            }
            EXPECT_EQ(Controle<QCheckBox>(NomsCases[i])->text(), Texte(MsgQFLAppliquerAuxQFLSuivants, langue));
        }
        EXPECT_EQ(Controle<QLabel>("LabelR1")->text(), QStringLiteral("R1"));
        EXPECT_EQ(Controle<QLabel>("LabelR2")->text(), QStringLiteral("R2"));
        EXPECT_EQ(Entete(0), Texte(MsgQFLDepartN, langue));
        EXPECT_EQ(Entete(1), QStringLiteral("QFL16"));
        EXPECT_EQ(Entete(2), Texte(MsgQFLRDefaut, langue));
        EXPECT_EQ(Entete(3), Texte(MsgQFLIDefaut, langue));
        EXPECT_EQ(Entete(5), Texte(MsgQFLCond, langue));
        EXPECT_EQ(Controle<QLabel>("LabelVLogiciel")->text(), Texte(MsgQFLVersionDuLogiciel, langue));
        EXPECT_EQ(Controle<QLabel>("LabelAdrReseau")->text(), Texte(MsgKMTAdresseSurLeReseau, langue));
        EXPECT_EQ(Controle<QLabel>("LabelQFL16Raccordes")->text(), Texte(MsgQFLQFL16Raccordes, langue));
        EXPECT_EQ(Titre(), QString::fromUtf8("QFL8 N° 1"));
    }
    // The checks above must have seen the texts change.
    Ecran.ChangerLangue(LangueEspagnol);
    EXPECT_EQ(Controle<QLabel>("LabelTension")->text(), QString::fromUtf8("Tensión"));
    EXPECT_EQ(Onglet("TabSheetInfos"), QStringLiteral("Info. QFL"));
}

TEST_F(CadreQFL, AmpersandsShowSinglyOnTheButtonButAsStoredInTheDateHeading)
{
    Ouvrir(LangueAnglais, 33);
    // A button shows "&&" as one "&".
    EXPECT_EQ(Controle<QPushButton>("ButtonLancer")->text(), QStringLiteral("QFL8 && QFL16 Research"));
    // A list heading shows the stored text unchanged.
    EXPECT_EQ(Entete(4), QStringLiteral("Date && time"));
    Ecran.ChangerLangue(LangueFrancais);
    EXPECT_EQ(Entete(4), QStringLiteral("Date et heure"));
}

TEST_F(CadreQFL, HistoryHoldsExactlyTheStoredSampleRowInEveryLanguage)
{
    const QStringList attendu = {QStringLiteral("QFLXX"), QStringLiteral("EXX"), QStringLiteral("15 kOhm"),
                                 QStringLiteral("0.25 mA"), QStringLiteral("05/10/03 - 15:36:22"),
                                 QStringLiteral("Neutre")};
    Ouvrir(LangueFrancais, 33);
    auto* liste = Controle<QTreeWidget>("ListViewHistorique");
    for (TLangue langue : {LangueFrancais, LangueAnglais, LangueEspagnol}) {
        SCOPED_TRACE(langue);
        Ecran.ChangerLangue(langue);
        ASSERT_EQ(liste->columnCount(), 6);
        ASSERT_EQ(liste->topLevelItemCount(), 1);
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(liste->topLevelItem(0)->text(c), attendu[c]);
    }
    EXPECT_EQ(liste->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(liste->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(CadreQFL, HistoryHeadingsFitTheirColumnsWithoutScrollingSideways)
{
    const int largeursPlan[] = {100, 100, 100, 100, 150, 100};
    Ouvrir(LangueFrancais, 33);
    auto* liste = Controle<QTreeWidget>("ListViewHistorique");
    for (TLangue langue : {LangueFrancais, LangueAnglais, LangueEspagnol}) {
        SCOPED_TRACE(langue);
        Ecran.ChangerLangue(langue);
        int total = 0;
        for (int c = 0; c < 6; ++c) {
            EXPECT_GE(liste->columnWidth(c), liste->header()->sectionSizeHint(c)) << c;
            if (c != 4) {
                EXPECT_GE(liste->columnWidth(c), largeursPlan[c]) << c;
            }
            total += liste->columnWidth(c);
        }
        EXPECT_LE(total, liste->width() - 2 * liste->frameWidth());
    }
    // Where nothing needs more room, the layout's widths stay as they are.
    Ecran.ChangerLangue(LangueAnglais);
    EXPECT_EQ(liste->columnWidth(0), 100);
    EXPECT_EQ(liste->columnWidth(4), 150);
}

TEST_F(CadreQFL, TypingIsDiscardedInTheCurrentValueFieldsOnly)
{
    Ouvrir(LangueFrancais, 33);
    for (const char* nom : NomsEditsActuels) {
        auto* edit = Controle<QLineEdit>(nom);
        edit->setText(QStringLiteral("15"));
        edit->setCursorPosition(2);
        QTest::keyClicks(edit, QStringLiteral("7a"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        // Nor does text composed by an input method go in.
        QInputMethodEvent composition;
        composition.setCommitString(QStringLiteral("日本"));
        QCoreApplication::sendEvent(edit, &composition);
        EXPECT_EQ(edit->text(), QStringLiteral("15")) << nom;
    }
    for (const char* nom : {"EditVLogiciel", "EditAdrReseau"}) {
        auto* edit = Controle<QLineEdit>(nom);
        const QString avant = edit->text();
        QTest::keyClicks(edit, QStringLiteral("9"));
        EXPECT_EQ(edit->text(), avant) << nom;
    }
    // Focus still moves away from a filtered field with Tab.
    auto* transfo = Controle<QLineEdit>("EditITransfo");
    Ecran.show();
    transfo->setFocus();
    QTest::keyClick(transfo, Qt::Key_Tab);
    EXPECT_FALSE(transfo->hasFocus());

    for (const char* nom : NomsEditsNouveaux) {
        auto* edit = Controle<QLineEdit>(nom);
        // A new value takes a number only.
        QTest::keyClicks(edit, QStringLiteral("2b-"));
        QInputMethodEvent composition;
        composition.setCommitString(QStringLiteral("é"));
        QCoreApplication::sendEvent(edit, &composition);
        EXPECT_EQ(edit->text(), QStringLiteral("2")) << nom;
    }
}

TEST_F(CadreQFL, QuitPostsExactlyTheRecordedReturnScreenAndDevice)
{
    Ouvrir(LangueFrancais, 37, QString(), EcranVueDEnsemble, 9);
    QTest::mouseClick(Controle<QPushButton>("BitBtnQuit"), Qt::LeftButton);
    // Posted, not sent: the screen is destroyed only once the click has returned.
    EXPECT_TRUE(Fenetre.Recus.empty());
    QCoreApplication::sendPostedEvents(&Fenetre, WM_ECRAN);
    ASSERT_EQ(Fenetre.Recus.size(), 1u);
    EXPECT_EQ(Fenetre.Recus[0], std::make_pair(EcranVueDEnsemble, 9));
}

TEST_F(CadreQFL, SearchButtonPostsTheSearchScreenWithTheQflDeviceNumber)
{
    Ouvrir(LangueFrancais, 45, QString(), EcranKMT, 13);
    QTest::mouseClick(Controle<QPushButton>("ButtonLancer"), Qt::LeftButton);
    EXPECT_TRUE(Fenetre.Recus.empty());
    QCoreApplication::sendPostedEvents(&Fenetre, WM_ECRAN);
    ASSERT_EQ(Fenetre.Recus.size(), 1u);
    EXPECT_EQ(Fenetre.Recus[0], std::make_pair(EcranRecherche, 45));
}

TEST_F(CadreQFL, UnitGridNumbersItsColumnsAndCentresThemOnTheButtonFace)
{
    Ouvrir(LangueFrancais, 33);
    auto* grille = Controle<TGrilleDessinee>("StringGridEtatsQFL16");
    ASSERT_EQ(grille->NbColonnes(), 31);
    ASSERT_EQ(grille->NbLignes(), 2);
    for (int c = 0; c < 31; ++c)
        EXPECT_EQ(grille->Cellule(c, 0), QString::number(c + 1));
    // The states row shows under the numbers.
    // (Cell rectangles are inside the border; the bottom border is the last line.)
    EXPECT_LE(grille->RectangleCellule(0, 1).bottom() + TGrilleDessinee::LargeurBordure,
              grille->height() - 1 - TGrilleDessinee::LargeurBordure);

    const QImage image = grille->grab().toImage();
    for (int c : {0, 8, 9, 30}) {
        SCOPED_TRACE(c);
        const QRect cellule = grille->RectangleCellule(c, 0).translated(
            TGrilleDessinee::LargeurBordure, TGrilleDessinee::LargeurBordure);
        int gauche = cellule.right() + 1, droite = cellule.left() - 1, haut = cellule.bottom() + 1;
        for (int y = cellule.top(); y <= cellule.bottom(); ++y)
            for (int x = cellule.left(); x <= cellule.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    gauche = std::min(gauche, x);
                    droite = std::max(droite, x);
                    haut = std::min(haut, y);
                }
        ASSERT_LE(gauche, droite) << "no text drawn";
        // Ink as far from the left edge as from the right one (glyph bearings aside).
        EXPECT_LE(std::abs((gauche - cellule.left()) - (cellule.right() - droite)), 2);
        EXPECT_GE(haut, cellule.top() + 2);
        EXPECT_EQ(QColor(image.pixel(cellule.left(), cellule.top())), QColor(240, 240, 240));
    }
}

// Renders one cell of the unit grid, by its draw handler or by a reference
// drawing, as the grid would: its font, a black pen, clipped to the cell.
static QImage CelluleUnites(TGrilleDessinee& grille, const QRect& rect, const std::function<void(QPainter&)>& dessin)
{
    QImage image(rect.right() + 6, rect.bottom() + 6, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter peintre(&image);
    peintre.setFont(grille.font());
    peintre.setPen(Qt::black);
    peintre.setClipRect(rect);
    dessin(peintre);
    return image;
}

TEST_F(CadreQFL, UnitNumberLeftEdgeIsRoundedToEvenWhenTheCentringFallsOnAHalfPixel)
{
    Ouvrir(LangueFrancais, 33);
    auto* grille = Controle<TGrilleDessinee>("StringGridEtatsQFL16");
    const int largeurTexte = QFontMetrics(grille->font()).horizontalAdvance(QStringLiteral("1"));
    // 4.5 pixels each side: ties to even puts the text 4 pixels in, not 5.
    const QRect rect(10, 3, largeurTexte + 9, 18);
    const QImage dessinee = CelluleUnites(*grille, rect, [&](QPainter& p) {
        Ecran.StringGridEtatsQFL16DrawCell(p, 0, 0, rect);
    });
    const QImage attendue = CelluleUnites(*grille, rect, [&](QPainter& p) {
        TGrilleDessinee::TexteRect(p, rect, rect.left() + 4, rect.top() + 2, QStringLiteral("1"),
                                   QColor(240, 240, 240));
    });
    const QImage arrondieAuDessus = CelluleUnites(*grille, rect, [&](QPainter& p) {
        TGrilleDessinee::TexteRect(p, rect, rect.left() + 5, rect.top() + 2, QStringLiteral("1"),
                                   QColor(240, 240, 240));
    });
    ASSERT_NE(attendue, arrondieAuDessus);
    EXPECT_EQ(dessinee, attendue);
}

TEST_F(CadreQFL, BlockWithoutWindowLeavesTheScreenUsableWithoutNavigating)
{
    Ecran.ChangerLangue(LangueFrancais);
    Ecran.Initialiser(TInfosQFL{});
    EXPECT_EQ(Controle<TGrilleDessinee>("StringGridEtatsQFL16")->Cellule(30, 0), QStringLiteral("31"));
    QTest::mouseClick(Controle<QPushButton>("BitBtnQuit"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(Fenetre.Recus.empty());
}

// In every language no caption is cut off at its fixed size, on any tab.
// Saves an image of each tab when VEILLEUR_CAPTURES names a folder.
TEST_F(CadreQFL, CaptionsFitTheirPlacesInEveryLanguage)
{
    Ouvrir(LangueFrancais, 40, QStringLiteral("Tableau divisionnaire du bâtiment B"));
    VerifierLibellesEntiers(Ecran, Controle<QTabWidget>("PageControl1"),
                            [this](int langue) { Ecran.ChangerLangue(static_cast<TLangue>(langue)); },
                            QStringLiteral("qfl"));
}
