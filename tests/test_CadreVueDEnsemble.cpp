#include "platform/MessagesFenetre.h"
#include "screens/CadreVueDEnsemble.h"
#include "text/MessagesVeilleur.h"
#include "widgets/GrilleDessinee.h"
#include "support/OutilsTest.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

const QColor Blanc(255, 255, 255);
const QColor Noir(0, 0, 0);
const QColor Ombre(160, 160, 160);
const QColor Face(240, 240, 240);
const QColor Jaune(240, 240, 0);
const QColor Rouge(255, 0, 0);
const QColor FondImpair(207, 210, 225);
const QColor FondPair(240, 240, 240);

struct VueDEnsemble : ::testing::Test {
    TFenetreTemoin fenetre;
    TNomsAppareils noms;
    TEtatsAppareils etats;
    std::unique_ptr<TFrameVueDEnsemble> ecran = std::make_unique<TFrameVueDEnsemble>();
    TGrilleDessinee* numSource = ecran->findChild<TGrilleDessinee*>(QStringLiteral("StringGridNumSource"));
    TGrilleDessinee* kmt = ecran->findChild<TGrilleDessinee*>(QStringLiteral("StringGridKMT"));
    TGrilleDessinee* qfl8 = ecran->findChild<TGrilleDessinee*>(QStringLiteral("StringGridQFL8"));

    VueDEnsemble()
    {
        noms.Handle = &fenetre;
        for (int r = 1; r <= NbSources; ++r)
            noms.Noms[r] = QStringLiteral("Source %1").arg(r);
        // Source 5 in alarm (and pre-alarm), 12 in pre-alarm only, 7 absent.
        for (int r : {5, 12, 26}) {
            etats.Present[r] = true;
            etats.RIsolement[r] = static_cast<std::uint16_t>(100 + r);
            etats.RMin[r] = 40;
            etats.RSeuil[r] = 65535;
        }
        etats.PreAlarme[5] = etats.Alarme[5] = true;
        etats.PreAlarme[12] = true;
    }

    void Ouvrir()
    {
        ecran->ChangerLangue(LangueFrancais);
        ecran->Initialiser(noms);
        ecran->Actualiser(etats);
    }

    void Montrer()
    {
        ecran->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(ecran.get()));
    }

    // Widget position of a point inside cell (c, r): 8 pixels right, 8 down.
    static QPoint Dans(int c, int r)
    {
        return TGrilleDessinee::VersWidget(QPoint(c * 69 + 8, r * 18 + 8));
    }

    std::vector<std::pair<int, int>> Poste()
    {
        QCoreApplication::sendPostedEvents(&fenetre, WM_ECRAN);
        return fenetre.Recus;
    }
};

QColor Pixel(const QImage& image, int xGrille, int yGrille)
{
    return image.pixelColor(TGrilleDessinee::VersWidget(QPoint(xGrille, yGrille)));
}

// The drawn button of cell (c, r): its four edges, given the expected colours.
void VerifierBouton(const QImage& image, int c, int r, const QColor& hautGauche, const QColor& basDroite,
                    const QColor& face)
{
    const int x0 = 69 * c + 1, x1 = 69 * c + 66, y0 = 18 * r + 1, y1 = 18 * r + 15;
    EXPECT_EQ(Pixel(image, x0, y0 + 7), hautGauche) << "left edge";
    EXPECT_EQ(Pixel(image, x0 + 30, y0), hautGauche) << "top edge";
    EXPECT_EQ(Pixel(image, x0 + 30, y1), basDroite) << "bottom edge";
    EXPECT_EQ(Pixel(image, x1, y0 + 7), basDroite) << "right edge";
    EXPECT_EQ(Pixel(image, x1, y0), basDroite) << "the right edge reaches the top one";
    EXPECT_EQ(Pixel(image, x0, y1), basDroite) << "the bottom edge is drawn last";
    EXPECT_EQ(Pixel(image, x0 + 3, y0 + 3), face) << "face";
    EXPECT_EQ(Pixel(image, x1 - 3, y1 - 3), face) << "face";
}

// The disc of cell (c, r) of the KMT grid: 15 pixels, centred at L + 26 (26.5 to even).
void VerifierDisque(const QImage& image, int c, int r, const QColor& remplissage, const QColor& fond)
{
    const int x = 69 * c + 26, haut = 18 * r + 1;
    EXPECT_EQ(Pixel(image, x + 7, haut + 7), remplissage) << "centre";
    EXPECT_EQ(Pixel(image, x + 3, haut + 10), remplissage);
    EXPECT_EQ(Pixel(image, x, haut + 7), Noir) << "outline, left";
    EXPECT_EQ(Pixel(image, x + 14, haut + 7), Noir) << "outline, right";
    EXPECT_EQ(Pixel(image, x + 7, haut), Noir) << "outline, top";
    EXPECT_EQ(Pixel(image, x + 7, haut + 14), Noir) << "outline, bottom";
    EXPECT_EQ(Pixel(image, x + 7, haut + 15), fond) << "nothing below the 15 pixels";
    EXPECT_EQ(Pixel(image, x - 1, haut + 7), fond);
    EXPECT_EQ(Pixel(image, x + 15, haut + 7), fond);
    EXPECT_EQ(Pixel(image, x, haut), fond) << "corner of the square";
}

TEST_F(VueDEnsemble, LayoutOfTheThreeGrids)
{
    ASSERT_TRUE(numSource && kmt && qfl8);
    auto* groupeKMT = ecran->findChild<QGroupBox*>(QStringLiteral("GroupBoxKMT"));
    auto* groupeQFL8 = ecran->findChild<QGroupBox*>(QStringLiteral("GroupBoxQFL8"));
    ASSERT_TRUE(groupeKMT && groupeQFL8);
    EXPECT_EQ(numSource->geometry(), QRect(10, 32, 139, 577));
    EXPECT_EQ(groupeKMT->geometry(), QRect(160, 8, 428, 617));
    EXPECT_EQ(kmt->parentWidget(), groupeKMT);
    EXPECT_EQ(kmt->geometry(), QRect(6, 24, 415, 577));
    EXPECT_EQ(groupeQFL8->geometry(), QRect(592, 8, 152, 617));
    EXPECT_EQ(qfl8->parentWidget(), groupeQFL8);
    EXPECT_EQ(qfl8->geometry(), QRect(6, 24, 139, 577));
    EXPECT_EQ(groupeKMT->title(), QStringLiteral("KMT"));
    EXPECT_EQ(groupeQFL8->title(), QStringLiteral("QFL8"));
    EXPECT_TRUE(groupeKMT->font().bold());
    EXPECT_EQ(groupeKMT->font().pixelSize(), 16);

    EXPECT_EQ(kmt->Tag(), 1);
    EXPECT_EQ(qfl8->Tag(), 2);
    EXPECT_EQ(numSource->Tag(), 3);
    for (TGrilleDessinee* g : {numSource, kmt, qfl8}) {
        EXPECT_EQ(g->font().pixelSize(), 11) << "not the group box's bold 16";
        EXPECT_FALSE(g->font().bold());
    }

    Ouvrir();
    EXPECT_EQ(numSource->LargeurColonne(0), 18);
    EXPECT_EQ(numSource->LargeurColonne(1), 118);
    // The cells fill each grid exactly, inside a 1-pixel border.
    EXPECT_EQ(numSource->RectangleCellule(1, 31), QRect(19, 558, 118, 17));
    EXPECT_EQ(kmt->RectangleCellule(5, 31), QRect(345, 558, 68, 17));
}

TEST_F(VueDEnsemble, InitialiserAndActualiserFillOnlyPresentRows)
{
    Ouvrir();
    EXPECT_EQ(numSource->Cellule(0, 7), QStringLiteral("7"));
    EXPECT_EQ(numSource->Cellule(1, 31), QStringLiteral("Source 31"));
    EXPECT_EQ(qfl8->Cellule(0, 1), QStringLiteral("..."));
    EXPECT_EQ(qfl8->Cellule(1, 31), QStringLiteral("..."));
    EXPECT_EQ(kmt->Cellule(0, 7), QStringLiteral("..."));

    EXPECT_EQ(kmt->Cellule(1, 5), QStringLiteral("105"));
    EXPECT_EQ(kmt->Cellule(2, 5), QStringLiteral("40"));
    EXPECT_EQ(kmt->Cellule(3, 5), QStringLiteral("65535"));
    EXPECT_EQ(kmt->Cellule(4, 5), QStringLiteral("1"));
    EXPECT_EQ(kmt->Cellule(5, 5), QStringLiteral("1"));
    EXPECT_EQ(kmt->Cellule(4, 12), QStringLiteral("1"));
    EXPECT_EQ(kmt->Cellule(5, 12), QStringLiteral("0"));
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(kmt->Cellule(c, 7), QString()) << "absent source: empty values";
    for (int c = 0; c < 2; ++c)
        for (int r = 1; r <= 31; ++r)
            ASSERT_EQ(qfl8->Cellule(c, r), QStringLiteral("...")) << "the QFL8 grid never gets values";

    // Source 5 stops answering: its row keeps the last values.
    etats.Present[5] = false;
    etats.RIsolement[5] = 1;
    etats.Alarme[5] = false;
    etats.RIsolement[26] = 999;
    ecran->Actualiser(etats);
    EXPECT_EQ(kmt->Cellule(1, 5), QStringLiteral("105"));
    EXPECT_EQ(kmt->Cellule(5, 5), QStringLiteral("1"));
    EXPECT_EQ(kmt->Cellule(1, 26), QStringLiteral("999"));
}

TEST_F(VueDEnsemble, ChangerLangueWritesTheTenHeadingsOnly)
{
    Ouvrir();
    EXPECT_EQ(numSource->Cellule(0, 0), QStringLiteral("N°"));
    EXPECT_EQ(kmt->Cellule(0, 0), QStringLiteral("Etat/Accès"));
    EXPECT_EQ(kmt->Cellule(4, 0), QStringLiteral("Préalarme"));
    EXPECT_EQ(qfl8->Cellule(1, 0), QStringLiteral("Recherche"));

    ecran->ChangerLangue(LangueAnglais);
    const std::vector<std::tuple<TGrilleDessinee*, int, QString>> attendus = {
        {numSource, 0, QStringLiteral("Nr")},        {numSource, 1, QStringLiteral("Supply")},
        {kmt, 0, QStringLiteral("Status/Access")},   {kmt, 1, QStringLiteral("R insulation")},
        {kmt, 2, QStringLiteral("R min")},           {kmt, 3, QStringLiteral("R setting")},
        {kmt, 4, QStringLiteral("Pre-alarm")},       {kmt, 5, QStringLiteral("Alarm")},
        {qfl8, 0, QStringLiteral("Status/Access")},  {qfl8, 1, QStringLiteral("Research")}};
    for (const auto& [grille, colonne, texte] : attendus)
        EXPECT_EQ(grille->Cellule(colonne, 0), texte);
    EXPECT_EQ(numSource->Cellule(1, 3), QStringLiteral("Source 3"));
    EXPECT_EQ(kmt->Cellule(1, 5), QStringLiteral("105"));
    EXPECT_EQ(ecran->findChild<QGroupBox*>(QStringLiteral("GroupBoxKMT"))->title(), QStringLiteral("KMT"));
    ecran->ChangerLangue(LangueEspagnol);
    EXPECT_EQ(numSource->Cellule(1, 0), QStringLiteral("Llegada"));
}

// Headings wider than their 68-pixel cells ("Status/Access" is 70 pixels in
// the grid's face) and long names are drawn condensed, never cut, in every
// language; the cells keep their size. Saves images with VEILLEUR_CAPTURES.
TEST_F(VueDEnsemble, HeadingsAndCellsShowWholeInEveryLanguage)
{
    noms.Noms[3] = QStringLiteral("Tableau général basse tension");
    etats.RIsolement[26] = etats.RMin[26] = 65535;
    Ouvrir();
    ecran->ChangerLangue(LangueAnglais);
    ASSERT_GT(kmt->fontMetrics().horizontalAdvance(kmt->Cellule(0, 0)), 68);
    ASSERT_GT(numSource->fontMetrics().horizontalAdvance(numSource->Cellule(1, 3)), 118);
    VerifierLibellesEntiers(*ecran, nullptr, [this](int langue) { ecran->ChangerLangue(TLangue(langue)); },
                            QStringLiteral("vuedensemble"));
    EXPECT_EQ(kmt->LargeurColonne(0), 68);
    EXPECT_EQ(numSource->LargeurColonne(1), 118);

    // Condensed, the heading still spans most of its cell: it is not cut to a
    // few letters.
    ecran->ChangerLangue(LangueEspagnol);
    const QImage image = qfl8->grab().toImage();
    int gauche = 68, droite = -1;
    for (int x = 0; x < 68; ++x)
        for (int y = 2; y < 17; ++y)
            if (Pixel(image, x, y) != Blanc) {
                gauche = std::min(gauche, x);
                droite = std::max(droite, x);
            }
    EXPECT_LE(gauche, 4);
    EXPECT_GE(droite, 63);
}

TEST_F(VueDEnsemble, RowsDrawDiscsAndButtonsInTheirAlarmColours)
{
    Ouvrir();
    const QImage image = kmt->grab().toImage();

    // Source 12 (even row), pre-alarm only.
    VerifierDisque(image, 4, 12, Jaune, FondPair);
    VerifierDisque(image, 5, 12, FondPair, FondPair);
    VerifierBouton(image, 0, 12, Blanc, Ombre, Jaune);
    EXPECT_EQ(Pixel(image, 0, 18 * 12 + 8), FondPair) << "the cell around the button";
    EXPECT_EQ(Pixel(image, 67, 18 * 12 + 8), FondPair);

    // Source 5 (odd row), alarm wins over pre-alarm on the button.
    VerifierDisque(image, 4, 5, Jaune, FondImpair);
    VerifierDisque(image, 5, 5, Rouge, FondImpair);
    VerifierBouton(image, 0, 5, Blanc, Ombre, Rouge);
    EXPECT_EQ(Pixel(image, 67, 18 * 5 + 16), FondImpair);

    // Absent source 7: row-coloured discs with their outline, plain button face.
    VerifierDisque(image, 4, 7, FondImpair, FondImpair);
    VerifierBouton(image, 0, 7, Blanc, Ombre, Face);
    // Heading row white.
    EXPECT_EQ(Pixel(image, 1, 1), Blanc);

    // Values are centred: no ink in the left or right quarter of "105".
    bool encre = false;
    for (int x = 69; x < 69 + 68; ++x)
        for (int y = 18 * 5 + 2; y < 18 * 5 + 17; ++y)
            if (Pixel(image, x, y) != FondImpair) {
                encre = true;
                EXPECT_GT(x, 69 + 17);
                EXPECT_LT(x, 69 + 51);
            }
    EXPECT_TRUE(encre);

    // The QFL8 grid's two buttons have the plain face whatever the KMT state.
    const QImage imageQFL8 = qfl8->grab().toImage();
    VerifierBouton(imageQFL8, 0, 5, Blanc, Ombre, Face);
    VerifierBouton(imageQFL8, 1, 5, Blanc, Ombre, Face);
}

TEST_F(VueDEnsemble, ButtonPressedThenReleasedOnItOpensItsScreen)
{
    Ouvrir();
    Montrer();
    QTest::mousePress(kmt, Qt::LeftButton, {}, Dans(0, 5));
    EXPECT_EQ(std::tuple(ecran->ColonnePressee(), ecran->LignePressee(), ecran->TagPresse()), std::tuple(0, 5, 1));
    VerifierBouton(kmt->grab().toImage(), 0, 5, Ombre, Blanc, Rouge);  // sunken
    EXPECT_TRUE(Poste().empty());

    QTest::mouseRelease(kmt, Qt::LeftButton, {}, Dans(0, 5) + QPoint(40, 3));
    EXPECT_EQ(Poste(), (std::vector<std::pair<int, int>>{{10, 5}}));
    // Posted, not sent: nothing arrived before the event loop ran.
    VerifierBouton(kmt->grab().toImage(), 0, 5, Ombre, Blanc, Rouge);  // stays sunken

    fenetre.Recus.clear();
    QTest::mousePress(qfl8, Qt::LeftButton, {}, Dans(1, 31));
    QTest::mouseRelease(qfl8, Qt::LeftButton, {}, Dans(1, 31));
    QTest::mousePress(qfl8, Qt::LeftButton, {}, Dans(0, 1));
    QTest::mouseRelease(qfl8, Qt::LeftButton, {}, Dans(0, 1));
    EXPECT_EQ(Poste(), (std::vector<std::pair<int, int>>{{12, 63}, {11, 33}}));
}

TEST_F(VueDEnsemble, ReleaseElsewhereOrOtherButtonsOpenNothing)
{
    Ouvrir();
    Montrer();
    const QImage avant = kmt->grab().toImage();

    // Moved off the button before releasing: raised again, nothing opened.
    QTest::mousePress(kmt, Qt::LeftButton, {}, Dans(0, 5));
    QTest::mouseRelease(kmt, Qt::LeftButton, {}, Dans(0, 6));
    EXPECT_EQ(std::tuple(ecran->ColonnePressee(), ecran->LignePressee(), ecran->TagPresse()), std::tuple(0, 0, 0));
    EXPECT_EQ(kmt->grab().toImage(), avant);
    // Released outside every cell (the border).
    QTest::mousePress(kmt, Qt::LeftButton, {}, Dans(0, 5));
    QTest::mouseRelease(kmt, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_EQ(ecran->TagPresse(), 0);

    // Right button: neither press nor release counts.
    QTest::mousePress(kmt, Qt::RightButton, {}, Dans(0, 5));
    EXPECT_EQ(ecran->TagPresse(), 0);
    QTest::mouseRelease(kmt, Qt::RightButton, {}, Dans(0, 5));
    // The name grid: nothing opens, no other grid's button changes, the press stays.
    const QImage kmtAvant = kmt->grab().toImage();
    const QImage qfl8Avant = qfl8->grab().toImage();
    QTest::mousePress(numSource, Qt::LeftButton, {}, Dans(0, 5));
    QTest::mouseRelease(numSource, Qt::LeftButton, {}, Dans(0, 5));
    EXPECT_EQ(std::tuple(ecran->ColonnePressee(), ecran->LignePressee(), ecran->TagPresse()), std::tuple(0, 5, 3));
    EXPECT_EQ(kmt->grab().toImage(), kmtAvant);
    EXPECT_EQ(qfl8->grab().toImage(), qfl8Avant);
    // A right release does not end a left press either.
    QTest::mousePress(qfl8, Qt::LeftButton, {}, Dans(0, 3));
    QTest::mouseRelease(qfl8, Qt::RightButton, {}, Dans(1, 9));
    EXPECT_EQ(std::tuple(ecran->ColonnePressee(), ecran->LignePressee(), ecran->TagPresse()), std::tuple(0, 3, 2));
    QTest::mouseRelease(qfl8, Qt::LeftButton, {}, Dans(0, 3));
    EXPECT_EQ(Poste(), (std::vector<std::pair<int, int>>{{11, 35}}));
    fenetre.Recus.clear();

    // A heading and a value cell: nothing opens, the press stays.
    QTest::mousePress(kmt, Qt::LeftButton, {}, Dans(0, 0));
    QTest::mouseRelease(kmt, Qt::LeftButton, {}, Dans(0, 0));
    QTest::mousePress(kmt, Qt::LeftButton, {}, Dans(4, 5));
    QTest::mouseRelease(kmt, Qt::LeftButton, {}, Dans(4, 5));
    EXPECT_EQ(std::tuple(ecran->ColonnePressee(), ecran->LignePressee(), ecran->TagPresse()), std::tuple(4, 5, 1));
    EXPECT_TRUE(Poste().empty());
}

TEST_F(VueDEnsemble, BlocksWithoutWindowLeaveTheScreenSafe)
{
    ecran->ChangerLangue(LangueFrancais);
    ecran->Initialiser(TNomsAppareils{});
    ecran->Actualiser(TEtatsAppareils{});
    EXPECT_EQ(numSource->Cellule(0, 31), QStringLiteral("31"));
    Montrer();
    QTest::mousePress(kmt, Qt::LeftButton, {}, Dans(0, 5));
    QTest::mouseRelease(kmt, Qt::LeftButton, {}, Dans(0, 5));  // no handle: nobody to post to
    EXPECT_TRUE(Poste().empty());
}

} // namespace

// The screen stays open while the states change: the access button of a row,
// as shown on the screen after the event loop has run, follows its indicators.
TEST_F(VueDEnsemble, BoutonAfficheSuitLesIndicateursDeSaLigne)
{
    Ouvrir();
    Montrer();
    auto faceAffichee = [&] {
        QTest::qWait(30);
        const QImage image = ImageAffichee(*kmt);
        const QColor face = Pixel(image, 4, 18 * 26 + 4);
        EXPECT_EQ(Pixel(image, 66, 18 * 26 + 8), Ombre) << "the button's right edge";
        return face;
    };
    ASSERT_EQ(faceAffichee(), Face);

    etats.PreAlarme[26] = true;
    ecran->Actualiser(etats);
    EXPECT_EQ(faceAffichee(), Jaune);
    etats.Alarme[26] = true;
    ecran->Actualiser(etats);
    EXPECT_EQ(faceAffichee(), Rouge);
    etats.PreAlarme[26] = false;
    ecran->Actualiser(etats);
    EXPECT_EQ(faceAffichee(), Rouge) << "alarm alone";
    etats.Alarme[26] = false;
    ecran->Actualiser(etats);
    EXPECT_EQ(faceAffichee(), Face);
}
