#include "widgets/GrilleDessinee.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

const QColor Silver(192, 192, 192);
const QColor Noir(0, 0, 0);
const QColor Blanc(255, 255, 255);

QColor Pixel(const QImage& image, int xGrille, int yGrille)
{
    return image.pixelColor(TGrilleDessinee::VersWidget(QPoint(xGrille, yGrille)));
}

// Three columns 20, 30, 40 wide, four rows 10 high: pitches 21/31/41 and 11.
struct Grille : ::testing::Test {
    TGrilleDessinee grille{3, 4};
    Grille()
    {
        grille.SetLargeurColonne(0, 20);
        grille.SetLargeurColonne(1, 30);
        grille.SetLargeurColonne(2, 40);
        grille.SetHauteurLigne(10);
        grille.resize(21 + 31 + 41 + 1, 4 * 11 + 1);
    }
};

TEST_F(Grille, CellGeometryFollowsThePitchOfWidthPlusOneLine)
{
    EXPECT_EQ(grille.RectangleCellule(0, 0), QRect(0, 0, 20, 10));
    EXPECT_EQ(grille.RectangleCellule(1, 2), QRect(21, 22, 30, 10));
    EXPECT_EQ(grille.RectangleCellule(2, 3), QRect(52, 33, 40, 10));
    EXPECT_TRUE(grille.RectangleCellule(3, 0).isEmpty());
    EXPECT_TRUE(grille.RectangleCellule(0, -1).isEmpty());

    int c = 0, r = 0;
    grille.CelluleEn(QPoint(0, 0), c, r);
    EXPECT_EQ(std::pair(c, r), std::pair(0, 0));
    grille.CelluleEn(QPoint(20, 10), c, r);  // the lines right of and under a cell are its own
    EXPECT_EQ(std::pair(c, r), std::pair(0, 0));
    grille.CelluleEn(QPoint(21, 11), c, r);
    EXPECT_EQ(std::pair(c, r), std::pair(1, 1));
    grille.CelluleEn(QPoint(91, 42), c, r);
    EXPECT_EQ(std::pair(c, r), std::pair(2, 3));
    grille.CelluleEn(QPoint(92, 42), c, r);  // the last line lies under the border
    EXPECT_EQ(std::pair(c, r), std::pair(-1, -1));
    grille.CelluleEn(QPoint(-1, 5), c, r);  // the border
    EXPECT_EQ(std::pair(c, r), std::pair(-1, -1));
    grille.CelluleEn(QPoint(5, 44), c, r);  // past the last row
    EXPECT_EQ(std::pair(c, r), std::pair(-1, -1));

    // Wider than its cells: the space right of the last column is no cell.
    grille.resize(200, 45);
    grille.CelluleEn(QPoint(93, 5), c, r);
    EXPECT_EQ(std::pair(c, r), std::pair(-1, -1));
}

TEST_F(Grille, DrawHandlerGetsEveryCellAndTheLinesAndBorderAreDrawnAroundThem)
{
    std::map<std::pair<int, int>, QRect> appels;
    grille.SetDessinCellule([&](TGrilleDessinee& g, QPainter& p, int c, int r, const QRect& rect) {
        EXPECT_EQ(&g, &grille);
        appels[{c, r}] = rect;
        p.fillRect(QRect(-100, -100, 1000, 1000), QColor(10, 20, 30));  // clipped to the cell
    });
    const QImage image = grille.grab().toImage();
    ASSERT_EQ(appels.size(), 12u);
    EXPECT_EQ((appels[{1, 2}]), QRect(21, 22, 30, 10));

    EXPECT_EQ(image.pixelColor(0, 0), Noir) << "flat border";
    EXPECT_EQ(image.pixelColor(image.width() - 1, 20), Noir);
    EXPECT_EQ(Pixel(image, 0, 0), QColor(10, 20, 30));
    EXPECT_EQ(Pixel(image, 19, 9), QColor(10, 20, 30));
    EXPECT_EQ(Pixel(image, 20, 15), Silver) << "vertical line after column 0, data row";
    EXPECT_EQ(Pixel(image, 5, 21), Silver) << "horizontal line under row 1";
    EXPECT_EQ(Pixel(image, 20, 5), Noir) << "lines of the fixed heading row";
    EXPECT_EQ(Pixel(image, 5, 10), Noir);
    EXPECT_EQ(Pixel(image, 21, 11), QColor(10, 20, 30));
}

TEST_F(Grille, WithoutHandlerOrDefaultDrawingCellsStayBackground)
{
    grille.SetCellule(0, 1, QStringLiteral("WWWW"));
    QImage image = grille.grab().toImage();
    for (int x = 0; x < 20; ++x)
        for (int y = 11; y < 21; ++y)
            ASSERT_EQ(Pixel(image, x, y), Blanc);

    // The ordinary drawing: fixed cells on the fixed colour, text at left + 2.
    grille.SetDessinParDefaut(true);
    grille.SetCouleurFixe(QColor(240, 240, 240));
    image = grille.grab().toImage();
    EXPECT_EQ(Pixel(image, 1, 1), QColor(240, 240, 240));
    int encre = 0;
    for (int x = 0; x < 20; ++x)
        for (int y = 11; y < 21; ++y)
            if (Pixel(image, x, y) != Blanc) {
                ++encre;
                EXPECT_GE(x, 2);
            }
    EXPECT_GT(encre, 0);
}

TEST_F(Grille, TextsSurviveResizingAndWritingRedrawsTheCell)
{
    grille.SetCellule(2, 3, QStringLiteral("x"));
    grille.SetCellule(5, 5, QStringLiteral("ignored"));
    EXPECT_EQ(grille.Cellule(2, 3), QStringLiteral("x"));
    EXPECT_EQ(grille.Cellule(5, 5), QString());
    grille.SetNbColonnes(6);
    grille.SetNbLignes(8);
    EXPECT_EQ(grille.Cellule(2, 3), QStringLiteral("x"));
    EXPECT_EQ(grille.LargeurColonne(5), TGrilleDessinee::LargeurDefautInitiale);
    grille.SetNbColonnes(2);
    EXPECT_EQ(grille.Cellule(2, 3), QString());
    grille.SetLargeurDefaut(68);
    EXPECT_EQ(grille.LargeurColonne(0), 68);
    EXPECT_EQ(grille.LargeurColonne(1), 68);

    // A write repaints the written cell (and not the whole grid).
    grille.SetNbColonnes(3);
    grille.SetLargeurDefaut(20);
    grille.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grille));
    std::map<std::pair<int, int>, int> appels;
    grille.SetDessinCellule([&](TGrilleDessinee&, QPainter&, int c, int r, const QRect&) { ++appels[{c, r}]; });
    QCoreApplication::processEvents();
    appels.clear();
    grille.SetCellule(1, 2, QStringLiteral("y"));
    QTRY_VERIFY((appels.count({1, 2}) > 0));
    EXPECT_EQ(appels.count({0, 0}), 0u);
    EXPECT_EQ(appels.count({2, 3}), 0u);
}

TEST_F(Grille, MouseHandlersGetGridPositionsAndTheGridTakesNoFocus)
{
    EXPECT_EQ(grille.focusPolicy(), Qt::NoFocus);
    std::vector<std::tuple<char, Qt::MouseButton, QPoint>> evenements;
    grille.SetSourisEnfoncee([&](TGrilleDessinee&, Qt::MouseButton b, const QPoint& p) {
        evenements.emplace_back('D', b, p);
    });
    grille.SetSourisRelachee([&](TGrilleDessinee&, Qt::MouseButton b, const QPoint& p) {
        evenements.emplace_back('U', b, p);
    });
    QTest::mousePress(&grille, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseRelease(&grille, Qt::RightButton, {}, QPoint(1, 1));
    ASSERT_EQ(evenements.size(), 2u);
    EXPECT_EQ(evenements[0], std::make_tuple('D', Qt::LeftButton, QPoint(29, 19)));
    EXPECT_EQ(evenements[1], std::make_tuple('U', Qt::RightButton, QPoint(0, 0)));
}

TEST(GrilleDessinee, ScrollBarMovesTheRowsUnderTheFixedOnes)
{
    // 10 rows of 15: pitch 16; 80 pixels of grid show the heading and 4 rows.
    TGrilleDessinee grille(2, 10);
    grille.SetHauteurLigne(15);
    grille.SetLargeurDefaut(30);
    grille.SetBarreVerticale(true);
    grille.resize(62 + 2 + TGrilleDessinee::LargeurBarre, 80 + 2);
    grille.SetLigneHaut(3);  // before showing: already against the new size
    EXPECT_EQ(grille.LigneHaut(), 3);
    grille.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grille));
    EXPECT_EQ(grille.Barre()->value(), 3);
    grille.Barre()->setValue(1);
    ASSERT_NE(grille.Barre(), nullptr);
    EXPECT_EQ(grille.Barre()->geometry(), QRect(62 + 1, 1, TGrilleDessinee::LargeurBarre, 80));
    EXPECT_EQ(grille.Barre()->minimum(), 1);
    EXPECT_EQ(grille.Barre()->maximum(), 6) << "rows 6..9 fill the last page";

    grille.Barre()->setValue(3);
    EXPECT_EQ(grille.LigneHaut(), 3);
    EXPECT_EQ(grille.RectangleCellule(1, 0), QRect(31, 0, 30, 15));
    EXPECT_TRUE(grille.RectangleCellule(0, 2).isEmpty());
    EXPECT_EQ(grille.RectangleCellule(0, 3), QRect(0, 16, 30, 15));
    int c = 0, r = 0;
    grille.CelluleEn(QPoint(5, 33), c, r);
    EXPECT_EQ(std::pair(c, r), std::pair(0, 4));
    grille.CelluleEn(QPoint(5, 3), c, r);
    EXPECT_EQ(std::pair(c, r), std::pair(0, 0));

    grille.SetLigneHaut(99);
    EXPECT_EQ(grille.LigneHaut(), 6);
    EXPECT_EQ(grille.Barre()->value(), 6);
}

TEST(GrilleDessinee, DrawingHelpersFollowTheClassicRules)
{
    EXPECT_EQ(TGrilleDessinee::PositionCentree(10, 68, 15), 10 + 26) << "26.5 to even";
    EXPECT_EQ(TGrilleDessinee::PositionCentree(10, 68, 13), 10 + 28) << "27.5 to even";
    EXPECT_EQ(TGrilleDessinee::PositionCentree(0, 10, 20), -5);

    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Blanc);
    {
        QPainter p(&image);
        TGrilleDessinee::Ligne(p, QPoint(2, 10), QPoint(2, 5), Noir);   // up: 10..6
        TGrilleDessinee::Ligne(p, QPoint(5, 3), QPoint(9, 3), Noir);    // right: 5..8
    }
    EXPECT_EQ(image.pixelColor(2, 10), Noir);
    EXPECT_EQ(image.pixelColor(2, 6), Noir);
    EXPECT_EQ(image.pixelColor(2, 5), Blanc) << "end point excluded";
    EXPECT_EQ(image.pixelColor(5, 3), Noir);
    EXPECT_EQ(image.pixelColor(8, 3), Noir);
    EXPECT_EQ(image.pixelColor(9, 3), Blanc);
}

} // namespace

// The screens write every cell on each refresh tick: an unchanged text must not
// make the grid paint again, a changed one repaints its cell.
TEST_F(Grille, RewritingTheSameTextPaintsNothing)
{
    std::map<std::pair<int, int>, int> dessins;
    grille.SetDessinCellule([&](TGrilleDessinee&, QPainter&, int c, int r, const QRect&) { ++dessins[{c, r}]; });
    grille.SetCellule(1, 2, QStringLiteral("12"));
    grille.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grille));
    QCoreApplication::processEvents();
    dessins.clear();

    for (int i = 0; i < 3; ++i) {
        grille.SetCellule(1, 2, QStringLiteral("12"));
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(dessins.empty());

    grille.SetCellule(1, 2, QStringLiteral("13"));
    QCoreApplication::processEvents();
    EXPECT_EQ(dessins[std::pair(1, 2)], 1);
    EXPECT_EQ(grille.Cellule(1, 2), QStringLiteral("13"));

    // A cell drawn from another one of its row is repainted with it, and only then.
    grille.AjouterDependance(0, 1);
    dessins.clear();
    grille.SetCellule(2, 2, QStringLiteral("x"));
    grille.SetCellule(1, 2, QStringLiteral("13"));
    QCoreApplication::processEvents();
    EXPECT_EQ(dessins.count(std::pair(0, 2)), 0u);
    grille.SetCellule(1, 2, QStringLiteral("14"));
    QCoreApplication::processEvents();
    EXPECT_EQ(dessins[std::pair(0, 2)], 1);
    EXPECT_EQ(dessins.count(std::pair(0, 1)), 0u);
}
