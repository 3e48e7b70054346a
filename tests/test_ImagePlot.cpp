// Measurement plot: ranges, margins, curves, markers and line ends, checked
// on the pixels of the control's picture; the KMT history across steps of
// the wall clock, checked on the pixels the screen shows.
#include "devices/ImagePlot.h"

#include "data/TypesVeilleur.h"
#include "devices/CadreKMT.h"
#include "support/OutilsTest.h"

#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <utility>

namespace {

const QColor Blanc(255, 255, 255), Noir(0, 0, 0), Rouge(255, 0, 0), Bleu(0, 0, 255);
const QColor Sarcelle(0, 128, 128), Pourpre(128, 0, 128);

// The KMT screen's colours, at the given size.
std::unique_ptr<TImagePlot> NouveauPlot(int largeur = 551, int hauteur = 223)
{
    auto plot = std::make_unique<TImagePlot>();
    plot->resize(largeur, hauteur);
    plot->DefinirCouleurFond(Blanc);
    plot->DefinirCouleurCourbe1(Noir);
    plot->DefinirCouleurCourbe2(Rouge);
    plot->DefinirCouleurCourbe3(Bleu);
    plot->DefinirCouleurRepereX1(Sarcelle);
    plot->DefinirCouleurRepereX2(Pourpre);
    return plot;
}

void Remplir(TImagePlot& p, std::initializer_list<double> x, std::initializer_list<double> y1,
             std::initializer_list<double> y2, std::initializer_list<double> y3)
{
    int i = 0;
    for (double v : x) p.ValeursX[++i] = v;
    p.DefinirNbValeurs(i);
    i = 0; for (double v : y1) p.ValeursY1[++i] = v;
    i = 0; for (double v : y2) p.ValeursY2[++i] = v;
    i = 0; for (double v : y3) p.ValeursY3[++i] = v;
}

// A KMT-like history: dates a minute apart, a wavy measurement with its
// extremes inside the history, flat threshold and pre-alarm levels.
void RemplirHistorique(TImagePlot& p, int n)
{
    for (int i = 1; i <= n; ++i) {
        p.ValeursX[i] = 45000.0 + i / 1440.0;
        p.ValeursY1[i] = 500.0 + 400.0 * std::sin(i / 50.0);
        p.ValeursY2[i] = 200.0;
        p.ValeursY3[i] = 400.0;
    }
    p.DefinirNbValeurs(n);
}

std::set<std::pair<int, int>> Autres(const QImage& image, const QColor& fond)
{
    std::set<std::pair<int, int>> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != fond)
                points.insert({x, y});
    return points;
}

int Compter(const QImage& image, const QColor& couleur)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == couleur;
    return n;
}

QRect Emprise(const QImage& image, const QColor& fond)
{
    QRect r;
    for (const auto& [x, y] : Autres(image, fond))
        r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

TEST(ImagePlot, StartsEmptyAndHoldsTheCountWithinTheArrays)
{
    TImagePlot plot;
    EXPECT_EQ(plot.NbValeurs(), 0);
    EXPECT_EQ(plot.RepereX1(), 0);
    EXPECT_EQ(plot.MaxY(), 0.0);
    EXPECT_EQ(plot.CouleurFond(), Noir);
    EXPECT_EQ(plot.CouleurRepereX2(), Noir);
    EXPECT_EQ(plot.ValeursY3[TImagePlot::NbMaxValeurs], 0.0);
    EXPECT_TRUE(plot.Image().isNull());
    plot.DefinirNbValeurs(5000);
    EXPECT_EQ(plot.NbValeurs(), TImagePlot::NbMaxValeurs);
    plot.DefinirNbValeurs(-3);
    EXPECT_EQ(plot.NbValeurs(), 0);
}

TEST(ImagePlot, FewerThanTwoSamplesKeepPictureAndRanges)
{
    auto plot = NouveauPlot();
    plot->DefinirNbValeurs(1);
    plot->Update();
    EXPECT_TRUE(plot->Image().isNull()) << "nothing drawn, no picture made";

    RemplirHistorique(*plot, 300);
    plot->Update();
    const QImage avant = plot->Image().copy();
    const double ranges[4] = {plot->MinX(), plot->MaxX(), plot->MinY(), plot->MaxY()};

    for (int n : {1, 0}) {
        plot->ValeursX[1] = -1e6;
        plot->ValeursY1[1] = 1e6;
        plot->DefinirCouleurFond(Rouge);
        plot->DefinirNbValeurs(n);
        plot->Update();
        EXPECT_EQ(plot->Image(), avant) << n;
        const double apres[4] = {plot->MinX(), plot->MaxX(), plot->MinY(), plot->MaxY()};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(apres[k], ranges[k]) << n;
    }
}

TEST(ImagePlot, PropertiesDoNotRedrawUntilUpdate)
{
    auto plot = NouveauPlot();
    RemplirHistorique(*plot, 100);
    plot->Update();
    const QImage avant = plot->Image().copy();
    plot->DefinirRepereX1(50);
    plot->DefinirCouleurCourbe1(Bleu);
    plot->ValeursY1[10] = 1e5;
    EXPECT_EQ(plot->Image(), avant);
    plot->Update();
    EXPECT_NE(plot->Image(), avant);
    EXPECT_EQ(plot->MaxY(), 1e5);
}

TEST(ImagePlot, ZeroOrUndefinedRangeGivesPlainBackground)
{
    auto plot = NouveauPlot();
    plot->DefinirRepereX1(2);
    // Same X everywhere: Y ranges still found.
    Remplir(*plot, {7, 7, 7}, {1, 5, 3}, {2, 2, 2}, {-4, 0, 9});
    plot->Update();
    EXPECT_EQ(Compter(plot->Image(), Blanc), 551 * 223);
    EXPECT_EQ(plot->MinX(), 7.0);
    EXPECT_EQ(plot->MaxX(), 7.0);
    EXPECT_EQ(plot->MinY(), -4.0);
    EXPECT_EQ(plot->MaxY(), 9.0);

    // Flat curves: no curve, no marker.
    Remplir(*plot, {1, 2, 3}, {6, 6, 6}, {6, 6, 6}, {6, 6, 6});
    plot->Update();
    EXPECT_EQ(Compter(plot->Image(), Blanc), 551 * 223);
    EXPECT_EQ(plot->MaxX(), 3.0);

    // A first X that is not a number poisons the X range.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Remplir(*plot, {nan, 2, 3}, {1, 6, 2}, {0, 0, 0}, {0, 0, 0});
    plot->Update();
    EXPECT_EQ(Compter(plot->Image(), Blanc), 551 * 223);
}

TEST(ImagePlot, KmtLayoutMapsRangesOntoTheMargins)
{
    auto plot = NouveauPlot();
    RemplirHistorique(*plot, 1000);
    plot->Update();
    const QImage& image = plot->Image();
    ASSERT_EQ(image.size(), QSize(551, 223));
    EXPECT_EQ(plot->MinX(), 45000.0 + 1 / 1440.0);
    EXPECT_EQ(plot->MaxX(), 45000.0 + 1000 / 1440.0);
    const QRect emprise = Emprise(image, Blanc);
    // Largest measurement on row 2, smallest on row 220.
    EXPECT_EQ(emprise, QRect(QPoint(2, 2), QPoint(emprise.right(), 220)));
    EXPECT_LE(emprise.right(), 548);
    // First sample of every curve at column 2.
    const double echelleY = 218.0 / (plot->MinY() - plot->MaxY());
    auto ligne = [&](double y) { return int(std::nearbyint(echelleY * y + 2.0 - echelleY * plot->MaxY())); };
    EXPECT_EQ(image.pixelColor(2, ligne(plot->ValeursY1[1])), Noir);
    EXPECT_EQ(image.pixelColor(2, ligne(200.0)), Rouge);
    EXPECT_EQ(image.pixelColor(300, ligne(400.0)), Bleu);

    // The last sample sits on column Width - 3 (shown by a marker there).
    plot->DefinirRepereX2(1000);
    plot->Update();
    EXPECT_EQ(plot->Image().pixelColor(548, 100), Pourpre);
    EXPECT_EQ(Emprise(plot->Image(), Blanc).right(), 550);
}

TEST(ImagePlot, ExtremeOnlyAtFirstSampleOfCurveTwoStaysInside)
{
    auto plot = NouveauPlot();
    RemplirHistorique(*plot, 500);
    plot->ValeursY2[1] = 5000.0;
    plot->ValeursY3[1] = -50.0;
    plot->Update();
    EXPECT_EQ(plot->MaxY(), 5000.0);
    EXPECT_EQ(plot->MinY(), -50.0);
    EXPECT_EQ(plot->Image().pixelColor(2, 2), Rouge);
    EXPECT_EQ(plot->Image().pixelColor(2, 220), Bleu);
    EXPECT_TRUE(QRect(QPoint(2, 2), QPoint(548, 220)).contains(Emprise(plot->Image(), Blanc)));
}

// Three flat curves at rows 220 (curve 1), 111 (curve 2) and 2 (curve 3);
// sample i at column round(2 + 54.6 (i - 1)).
class ImagePlotReperes : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 1; i <= 11; ++i) {
            plot->ValeursX[i] = i - 1;
            plot->ValeursY2[i] = 50;
            plot->ValeursY3[i] = 100;
        }
        plot->DefinirNbValeurs(11);
    }
    std::unique_ptr<TImagePlot> plot = NouveauPlot();
};

TEST_F(ImagePlotReperes, MarkerIsSquaresAndALineBetweenTheMargins)
{
    plot->DefinirRepereX2(6); // column 275
    plot->Update();
    const QImage& im = plot->Image();
    // Square on curve 2: columns 272..277, rows 108..113.
    EXPECT_EQ(im.pixelColor(272, 108), Pourpre);
    EXPECT_EQ(im.pixelColor(277, 113), Pourpre);
    EXPECT_EQ(im.pixelColor(271, 108), Blanc);
    EXPECT_EQ(im.pixelColor(272, 107), Blanc);
    EXPECT_EQ(im.pixelColor(278, 111), Rouge);
    EXPECT_EQ(im.pixelColor(277, 114), Blanc);
    // Square on curve 3 (rows -1..4) and on curve 1 (rows 217..222).
    EXPECT_EQ(im.pixelColor(272, 0), Pourpre);
    EXPECT_EQ(im.pixelColor(277, 222), Pourpre);
    // The line: from row 220 up to row 3, the top end pixel left out.
    for (int y = 5; y <= 216; ++y)
        ASSERT_EQ(im.pixelColor(275, y), Pourpre) << y;
    EXPECT_EQ(im.pixelColor(274, 60), Blanc);
    // Squares of 30 (clipped at the top), 36 and 36 pixels, line rows 3..220
    // less the 2 + 6 + 4 pixels it shares with them.
    EXPECT_EQ(Compter(im, Pourpre), 30 + 36 + 36 + 218 - 12);
}

TEST_F(ImagePlotReperes, MarkerOnLastSampleAndOutOfRangeIndexes)
{
    plot->DefinirRepereX1(11);
    plot->Update();
    EXPECT_EQ(plot->Image().pixelColor(548, 60), Sarcelle);
    EXPECT_EQ(plot->Image().pixelColor(550, 222), Sarcelle);
    EXPECT_EQ(plot->Image().pixelColor(547, 60), Blanc);

    for (int k : {0, 12, -5, 1024, 1025, std::numeric_limits<int>::min()}) {
        plot->DefinirRepereX1(k);
        plot->DefinirRepereX2(k);
        plot->Update();
        EXPECT_EQ(Compter(plot->Image(), Sarcelle), 0) << k;
        EXPECT_EQ(Compter(plot->Image(), Pourpre), 0) << k;
    }
}

TEST_F(ImagePlotReperes, MarkerTwoCoversMarkerOne)
{
    plot->DefinirRepereX1(4);
    plot->DefinirRepereX2(4);
    plot->Update();
    EXPECT_EQ(Compter(plot->Image(), Sarcelle), 0);
    EXPECT_GT(Compter(plot->Image(), Pourpre), 200);
}

TEST(ImagePlot, LinesLeaveTheirEndPixel)
{
    // 15 x 15 with X and Y ranges of 10: sample (x, y) on pixel (2 + x, 12 - y).
    auto plot = NouveauPlot(15, 15);
    Remplir(*plot, {0, 10}, {0, 0}, {10, 10}, {0, 0});
    plot->Update();
    const QImage& im = plot->Image();
    for (int x = 2; x <= 11; ++x) {
        EXPECT_EQ(im.pixelColor(x, 12), Bleu) << x; // curve 3 over curve 1
        EXPECT_EQ(im.pixelColor(x, 2), Rouge) << x;
    }
    EXPECT_EQ(im.pixelColor(12, 12), Blanc);
    EXPECT_EQ(im.pixelColor(12, 2), Blanc);

    // Right to left: the start at column 12 is drawn, column 2 is not.
    Remplir(*plot, {10, 0}, {0, 0}, {10, 10}, {0, 0});
    plot->Update();
    EXPECT_EQ(plot->Image().pixelColor(12, 12), Bleu);
    EXPECT_EQ(plot->Image().pixelColor(2, 12), Blanc);

    // The next segment starts on the end point and paints it.
    Remplir(*plot, {0, 10, 5}, {0, 0, 0}, {10, 10, 10}, {0, 0, 0});
    plot->Update();
    EXPECT_EQ(plot->Image().pixelColor(12, 12), Bleu);
    EXPECT_EQ(plot->Image().pixelColor(7, 12), Bleu);
}

TEST(ImagePlot, HalfwayPixelsGoUpOrLeftInBothDirections)
{
    // 9 x 9 with ranges of 4: sample (x, y) on pixel (2 + x, 6 - y); all three
    // curves the same and black, so the black pixels are exactly the polyline.
    using Points = std::set<std::pair<int, int>>;
    struct Cas {
        std::initializer_list<double> x, y;
        Points attendus;
    };
    const Cas cas[] = {
        {{0, 2, 4}, {4, 3, 0}, {{2, 2}, {3, 2}, {4, 3}, {5, 4}, {5, 5}}},
        {{4, 2, 0}, {0, 3, 4}, {{6, 6}, {5, 5}, {5, 4}, {4, 3}, {3, 2}}},
        {{0, 1, 4}, {4, 2, 0}, {{2, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 5}}},
        {{4, 1, 0}, {0, 2, 4}, {{6, 6}, {5, 5}, {4, 5}, {3, 4}, {2, 3}}},
    };
    auto plot = NouveauPlot(9, 9);
    plot->DefinirCouleurCourbe2(Noir);
    plot->DefinirCouleurCourbe3(Noir);
    int n = 0;
    for (const Cas& c : cas) {
        Remplir(*plot, c.x, c.y, c.y, c.y);
        plot->Update();
        EXPECT_EQ(Autres(plot->Image(), Blanc), c.attendus) << "case " << n++;
    }
}

TEST(ImagePlot, HalfPixelColumnsRoundToEven)
{
    // 9 x 9 with an X range of 8: X = 5 falls on column 4.5, drawn at 4.
    auto plot = NouveauPlot(9, 9);
    plot->DefinirRepereX1(2);
    Remplir(*plot, {0, 5, 8}, {0, 4, 0}, {0, 0, 0}, {0, 0, 0});
    plot->Update();
    const QImage& im = plot->Image();
    EXPECT_EQ(im.pixelColor(4, 5), Sarcelle); // the marker line
    EXPECT_EQ(im.pixelColor(1, 0), Sarcelle); // squares span columns 1..6
    EXPECT_EQ(im.pixelColor(6, 8), Sarcelle);
    EXPECT_NE(im.pixelColor(7, 0), Sarcelle);
    EXPECT_NE(im.pixelColor(7, 8), Sarcelle);
}

TEST(ImagePlot, SampleThatCannotBePlacedBreaksTheCurve)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto plot = NouveauPlot(15, 15);
    plot->DefinirRepereX1(2);
    Remplir(*plot, {0, 5, 10}, {0, nan, 10}, {0, 0, 0}, {0, 0, 0});
    plot->Update();
    EXPECT_EQ(plot->MaxY(), 10.0);
    EXPECT_EQ(Compter(plot->Image(), Noir), 0);
    EXPECT_GT(Compter(plot->Image(), Sarcelle), 0) << "marker line still drawn";

    // An infinite X range squeezes the finite samples onto column 2; the
    // infinite one breaks the curve. A Y range too wide for a double puts every curve on the top margin.
    const double inf = std::numeric_limits<double>::infinity();
    plot->DefinirRepereX1(0);
    Remplir(*plot, {0, inf, 10, 0}, {0, 1, 2, 3}, {0, 0, 0, 0}, {0, 0, 0, 0});
    plot->Update();
    EXPECT_EQ(plot->MaxX(), inf);
    EXPECT_EQ(Emprise(plot->Image(), Blanc), QRect(2, 3, 1, 3)); // samples 3 -> 4 only
    Remplir(*plot, {0, 1, 2, 3}, {-1e308, 0, 1e308, 5}, {0, 0, 0, 0}, {0, 0, 0, 0});
    plot->Update();
    EXPECT_EQ(Emprise(plot->Image(), Blanc), QRect(2, 2, 10, 1));
}

TEST(ImagePlot, ClearAndPaintShowThePicture)
{
    auto plot = NouveauPlot(40, 30);
    plot->Effacer();
    EXPECT_EQ(Compter(plot->Image(), Blanc), 40 * 30);

    RemplirHistorique(*plot, 50);
    plot->Update();
    const QImage ecran = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(ecran, plot->Image());

    plot->DefinirCouleurFond(Rouge);
    plot->Effacer();
    EXPECT_EQ(Compter(plot->Image(), Rouge), 40 * 30);
}

// The KMT screen's history under a wall clock that steps, fed as a producer
// does (DecalerHistorique, then append), read back from the screen's pixels.
namespace {

// Curve 1 (black) from row debut at the left margin to row fin at the right
// one: in every column between the cursors' squares it is there, within 2
// rows of that straight line, and never lower than in the column before.
void VerifierCourbeDroite(const QImage& im, double debut, double fin)
{
    int hautPrecedent = im.height();
    for (int x = 6; x <= im.width() - 7; ++x) {
        const double attendue = debut + (fin - debut) * (x - 2) / (im.width() - 5);
        int haut = -1;
        for (int y = 0; y < im.height(); ++y) {
            if (im.pixelColor(x, y) != Noir)
                continue;
            ASSERT_LE(std::fabs(y - attendue), 2.0) << "column " << x << " row " << y;
            haut = haut < 0 ? y : haut;
        }
        ASSERT_GE(haut, 0) << "no curve in column " << x;
        ASSERT_LE(haut, hautPrecedent) << "column " << x;
        hautPrecedent = haut;
    }
}

int CompterDans(const QImage& im, const QRect& zone, bool (*critere)(QColor))
{
    int n = 0;
    for (int y = zone.top(); y <= zone.bottom(); ++y)
        for (int x = zone.left(); x <= zone.right(); ++x)
            n += critere(im.pixelColor(x, y));
    return n;
}

} // namespace

TEST(ImagePlot, KmtHistoryAcrossClockStepsNeverFolds)
{
    QLocale::setDefault(QLocale::c());
    TInfosKMT infos;
    TFrameKMT ecran;
    ecran.ChangerLangue(LangueFrancais);
    ecran.Initialiser(infos);
    auto* onglets = ecran.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    onglets->setCurrentIndex(2);  // history
    ecran.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ecran));
    auto* plot = ecran.findChild<TImagePlot*>(QStringLiteral("ImagePlot1"));
    auto texte = [&](const char* nom) {
        auto* g = ecran.findChild<QGroupBox*>(QLatin1String(nom));
        auto* e = ecran.findChild<QLineEdit*>(QLatin1String(nom));
        return g ? g->title() : e ? e->text() : ecran.findChild<QLabel*>(QLatin1String(nom))->text();
    };
    auto r = std::make_unique<TDonneesKMT>();
    // A measurement 1 kOhm higher at each sample over a threshold of 50: drawn
    // in order on an even time axis, a straight rising line.
    auto ajouter = [&r](double date, double instant, int mesure) {
        DecalerHistorique(*r);
        const int k = ++r->NbMesures;
        r->HistDate[k] = date;
        r->HistMonotone[k] = instant;
        r->HistRIsolement[k] = static_cast<std::uint16_t>(mesure);
        r->HistRSeuil[k] = 50;
    };
    auto afficher = [&](const char* capture) {
        ecran.Actualiser(*r);
        QTest::qWait(50);
        if (const QString dossier = qEnvironmentVariable("VEILLEUR_CAPTURES"); !dossier.isEmpty())
            ImageAffichee(*onglets->currentWidget()).save(dossier + QStringLiteral("/%1.png").arg(capture));
        return ImageAffichee(*plot).convertToFormat(QImage::Format_RGB32);
    };

    // A sample every 10 s from 9 December 2025 12:00; the wall clock goes back
    // 1 h at sample 1500 and forward 1 day at sample 1800.
    auto echantillon = [&](int i) {
        const int mur = 10 * i + (i >= 1800 ? 86400 - 3600 : i >= 1500 ? -3600 : 0);
        ajouter(46000.5 + mur / 86400.0, 1.0 + 10 * i / 86400.0, 100 + i);
    };
    int i = 0;
    while (i < 2000)
        echantillon(++i);
    // Samples 1001..2000 held: values 1101..2100 on rows 108.2 up to 2.
    QImage image = afficher("historique-recul-avance");
    VerifierCourbeDroite(image, 2 + 218 * 999 / 2050.0, 2.0);
    // A mark per step where it happened in time (samples 500 and 800 of 1000),
    // with the new wall-clock time; its caption right of the first line.
    const auto& sauts = plot->Sauts();
    ASSERT_EQ(sauts.size(), 2u);
    EXPECT_EQ(std::make_pair(sauts[0].Colonne, sauts[0].Legende), std::make_pair(275, QStringLiteral("15:10:00")));
    EXPECT_EQ(std::make_pair(sauts[1].Colonne, sauts[1].Legende),
              std::make_pair(439, QStringLiteral("10/12/25 - 16:00:00")));
    auto gris = [](QColor c) { return c == TImagePlot::CouleurSaut; };
    EXPECT_GT(CompterDans(image, QRect(275, 2, 1, 219), gris), 90);
    EXPECT_GT(CompterDans(image, QRect(439, 2, 1, 219), gris), 90);
    EXPECT_EQ(CompterDans(image, QRect(6, 0, 260, 223), gris), 0);
    auto encre = [](QColor c) { return c != Blanc; };
    EXPECT_GT(CompterDans(image, QRect(278, 2, 50, 12), encre), 10);
    EXPECT_EQ(CompterDans(image, QRect(222, 2, 50, 12), encre), 0);
    // Labels and cursor captions: wall-clock dates of the first and last samples.
    EXPECT_EQ(texte("Label12"), "09/12/25 - 14:46:50");
    EXPECT_EQ(texte("Label13"), "10/12/25 - 16:33:20");
    EXPECT_EQ(texte("GroupBox2"), "Wednesday, 10 December 2025 - 16:33:20");
    // Cursor 1 on sample 1300 (15:36:40), a date sample 1660 shows again after
    // the step back: one tick later it is still on sample 1300.
    auto* barre1 = ecran.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    barre1->setValue(300);
    echantillon(++i);
    afficher("historique-repere");
    EXPECT_EQ(barre1->value(), 299);
    EXPECT_EQ(texte("EditMesure1"), "1400");
    EXPECT_EQ(texte("GroupBox1"), "Tuesday, 9 December 2025 - 15:36:40");

    // End of summer time in Paris, 25 October 2026: 02:59:58, then 02:00:00
    // two seconds later, at sample 600 of 1000 samples 2 s apart.
    const QTimeZone paris("Europe/Paris");
    const qint64 changement = QDateTime(QDate(2026, 10, 25), QTime(1, 0), QTimeZone::utc()).toSecsSinceEpoch();
    *r = TDonneesKMT{};
    for (int k = 1; k <= 1000; ++k) {
        const QDateTime mur = QDateTime::fromSecsSinceEpoch(changement + 2 * (k - 600), paris);
        ajouter(QDate(1899, 12, 30).daysTo(mur.date()) + mur.time().msecsSinceStartOfDay() / 864e5,
                1.0 + 2 * k / 86400.0, 300 + k);
    }
    image = afficher("historique-heure-ete");
    VerifierCourbeDroite(image, 2 + 218 * 999 / 1250.0, 2.0);
    ASSERT_EQ(plot->Sauts().size(), 1u);
    EXPECT_EQ(plot->Sauts()[0].Legende, "02:00:00");
    EXPECT_EQ(texte("Label12"), "25/10/26 - 02:40:02");
    EXPECT_EQ(texte("Label13"), "25/10/26 - 02:13:20");
    QLocale::setDefault(QLocale::system());
}
