#include "widgets/CaseACocherGlyphe.h"
#include "platform/CouleursSysteme.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int PixelsDeCouleur(const QImage& image, const QColor& couleur)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == couleur)
                ++n;
    return n;
}

} // namespace

TEST(CaseACocherGlyphe, TickKeepsItsColourWhenTheBoxIsDisabled)
{
    TCaseACocherGlyphe boite;
    boite.resize(boite.sizeHint());
    EXPECT_EQ(PixelsDeCouleur(boite.grab().toImage(), TCaseACocherGlyphe::VertCoche), 0);

    boite.setChecked(true);
    const QImage active = boite.grab().toImage();
    EXPECT_GT(PixelsDeCouleur(active, TCaseACocherGlyphe::VertCoche), 4);
    EXPECT_EQ(active.pixelColor(boite.RectangleCase().topLeft() + QPoint(1, 1)), CouleursSysteme::Fenetre);

    boite.setEnabled(false);
    const QImage fixe = boite.grab().toImage();
    EXPECT_GT(PixelsDeCouleur(fixe, TCaseACocherGlyphe::VertCoche), 4);
    // What tells a fixed box from an editable one is the box, not the tick.
    EXPECT_EQ(fixe.pixelColor(boite.RectangleCase().topLeft() + QPoint(1, 1)), CouleursSysteme::FaceBouton);
    EXPECT_EQ(fixe.pixelColor(boite.RectangleCase().topLeft()), CouleursSysteme::OmbreBouton);

    boite.DefinirCouleurCoche(QColor(200, 0, 0));
    const QImage rouge = boite.grab().toImage();
    EXPECT_EQ(PixelsDeCouleur(rouge, TCaseACocherGlyphe::VertCoche), 0);
    EXPECT_GT(PixelsDeCouleur(rouge, QColor(200, 0, 0)), 4);
}

TEST(CaseACocherGlyphe, OnlyAnEnabledBoxTogglesOnClick)
{
    TCaseACocherGlyphe boite;
    boite.resize(boite.sizeHint());
    QTest::mouseClick(&boite, Qt::LeftButton, {}, QPoint(1, 1));   // anywhere in the widget
    EXPECT_TRUE(boite.isChecked());
    QTest::mouseClick(&boite, Qt::LeftButton);
    EXPECT_FALSE(boite.isChecked());

    boite.setChecked(true);
    boite.setEnabled(false);
    QTest::mouseClick(&boite, Qt::LeftButton);
    EXPECT_TRUE(boite.isChecked());
}
