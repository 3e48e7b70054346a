// The strip's device button really shows the colours it is given.
#include "widgets/BoutonAppareil.h"
#include "platform/CouleursSysteme.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Pixels of the caption: those far from the face colour inside the bevel.
int PixelsDeCouleur(const QImage& image, const QColor& couleur)
{
    int n = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixelColor(x, y) == couleur)
                ++n;
    return n;
}

TEST(BoutonAppareil, LegendeTailleEtEtiquette)
{
    TBoutonAppareil bouton(37);
    EXPECT_EQ(bouton.text(), QStringLiteral("37"));
    EXPECT_EQ(bouton.Tag(), 37);
    EXPECT_EQ(bouton.property("Tag").toInt(), 37);
    EXPECT_EQ(bouton.size(), QSize(22, 29));
    EXPECT_EQ(bouton.CouleurFace(), CouleursSysteme::FaceBouton);
    EXPECT_EQ(bouton.CouleurTexte(), CouleursSysteme::TexteBouton);
}

TEST(BoutonAppareil, PeintLaFaceEtLaLegendeDonnees)
{
    TBoutonAppareil bouton(12);
    bouton.DefinirCouleurFace(QColor(255, 0, 0));
    bouton.DefinirCouleurTexte(CouleursSysteme::OmbreBouton);
    QImage image = bouton.grab().toImage();
    ASSERT_EQ(image.size(), QSize(22, 29));
    // Face exactly red around the caption, bevel drawn on the edges.
    EXPECT_EQ(image.pixelColor(4, 4), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(17, 24), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(21, 28), QColor(105, 105, 105));
    EXPECT_GT(PixelsDeCouleur(image, CouleursSysteme::OmbreBouton), 5);
    EXPECT_EQ(PixelsDeCouleur(image, CouleursSysteme::TexteBouton), 0);

    bouton.DefinirCouleurFace(QColor(240, 240, 0));
    bouton.DefinirCouleurTexte(CouleursSysteme::TexteBouton);
    image = bouton.grab().toImage();
    EXPECT_EQ(image.pixelColor(4, 4), QColor(240, 240, 0));
    EXPECT_GT(PixelsDeCouleur(image, CouleursSysteme::TexteBouton), 5);

    bouton.DefinirCouleurFace(CouleursSysteme::FaceBouton);
    image = bouton.grab().toImage();
    EXPECT_EQ(image.pixelColor(4, 4), CouleursSysteme::FaceBouton);
}

TEST(BoutonAppareil, ClicEmisAvecLaSouris)
{
    TBoutonAppareil bouton(5);
    bouton.show();
    QSignalSpy clics(&bouton, &QPushButton::clicked);
    QTest::mouseClick(&bouton, Qt::LeftButton);
    EXPECT_EQ(clics.count(), 1);
}

} // namespace
