// The indicator light: silver at start, the colour it is given, round.
#include "widgets/Led.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QColor Centre(TLed& led)
{
    const QImage image = led.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

TEST(Led, ArgentAuDepartPuisLaCouleurDonnee)
{
    TLed led;
    EXPECT_EQ(led.size(), QSize(25, 25));
    EXPECT_EQ(led.Couleur(), QColor(192, 192, 192));
    EXPECT_EQ(Centre(led), QColor(192, 192, 192));

    led.DefinirCouleur(QColor(72, 255, 0));
    EXPECT_EQ(led.Couleur(), QColor(72, 255, 0));
    EXPECT_EQ(Centre(led), QColor(72, 255, 0));
    led.DefinirCouleur(QColor(254, 71, 59));
    EXPECT_EQ(Centre(led), QColor(254, 71, 59));
}

TEST(Led, RondeSurLeFondDuParent)
{
    QWidget fond;
    fond.resize(40, 40);
    QPalette p = fond.palette();
    p.setColor(QPalette::Window, QColor(10, 20, 30));
    fond.setPalette(p);
    fond.setAutoFillBackground(true);
    auto* led = new TLed(&fond);
    led->move(5, 5);
    led->DefinirCouleur(QColor(255, 240, 70));

    const QImage image = fond.grab().toImage();
    // The corners of the light's square show the panel, its middle the light.
    EXPECT_EQ(image.pixelColor(5, 5), QColor(10, 20, 30));
    EXPECT_EQ(image.pixelColor(5 + 24, 5 + 24), QColor(10, 20, 30));
    EXPECT_EQ(image.pixelColor(5 + 12, 5 + 12), QColor(255, 240, 70));
    // Left and bottom of the disc, away from the reflection, are the colour.
    EXPECT_EQ(image.pixelColor(5 + 4, 5 + 12), QColor(255, 240, 70));
    EXPECT_EQ(image.pixelColor(5 + 12, 5 + 20), QColor(255, 240, 70));
}

} // namespace
