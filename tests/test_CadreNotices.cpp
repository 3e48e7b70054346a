// Manuals screen: layout, relabelling, links that open nothing.
#include "platform/MessagesFenetre.h"
#include "screens/CadreNotices.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const Noms[] = {"LabelTitre", "LabelNoticeVeilleur", "LabelNoticeKMT", "LabelNoticeQFL8",
                            "LabelNoticeQFL16"};

QStringList Textes(TFrameNotices& cadre)
{
    QStringList textes;
    for (const char* nom : Noms)
        textes << cadre.findChild<QLabel*>(QLatin1String(nom))->text();
    return textes;
}

TEST(CadreNotices, PlacesEtTextesSelonLaLangue)
{
    TFrameNotices cadre;
    const int hauts[] = {16, 272, 312, 352, 392};
    for (int i = 0; i < 5; ++i) {
        auto* l = cadre.findChild<QLabel*>(QLatin1String(Noms[i]));
        ASSERT_TRUE(l) << Noms[i];
        EXPECT_EQ(l->geometry(), QRect(16, hauts[i], 721, 20)) << Noms[i];
    }
    // Title 16 pixels bold; entries 13 pixels, underlined, not bold; all centred.
    const QFont titre = cadre.findChild<QLabel*>("LabelTitre")->font();
    EXPECT_EQ(titre.pixelSize(), 16);
    EXPECT_TRUE(titre.bold());
    EXPECT_FALSE(titre.underline());
    for (int i = 1; i < 5; ++i) {
        auto* l = cadre.findChild<QLabel*>(QLatin1String(Noms[i]));
        EXPECT_EQ(l->font().pixelSize(), 13) << Noms[i];
        EXPECT_TRUE(l->font().underline()) << Noms[i];
        EXPECT_FALSE(l->font().bold()) << Noms[i];
        EXPECT_EQ(l->alignment(), Qt::AlignCenter) << Noms[i];
        EXPECT_EQ(l->cursor().shape(), Qt::PointingHandCursor) << Noms[i];
    }
    cadre.ChangerLangue(LangueFrancais);
    EXPECT_EQ(Textes(cadre), QStringList({"Notices", "Orvane.PC", "KMT", "QFL8", "QFL16"}));
    // Relabelled in place, on the same screen object.
    cadre.ChangerLangue(LangueAnglais);
    EXPECT_EQ(Textes(cadre), QStringList({"Manuals", "Orvane.PC", "KMT", "QFL8", "QFL16"}));
    cadre.ChangerLangue(LangueEspagnol);
    EXPECT_EQ(Textes(cadre).first(), "Folletos");

    const QString dossier = qEnvironmentVariable("VEILLEUR_CAPTURES");
    for (TLangue langue : {LangueFrancais, LangueAnglais, LangueEspagnol}) {
        cadre.ChangerLangue(langue);
        const QImage image = cadre.grab().toImage();
        // The links are drawn navy, the title in the window-text colour.
        auto* kmt = cadre.findChild<QLabel*>("LabelNoticeKMT");
        int navy = 0;
        for (int x = kmt->x(); x <= kmt->geometry().right(); ++x)
            for (int y = kmt->y(); y <= kmt->geometry().bottom(); ++y)
                navy += image.pixelColor(x, y) == QColor(0, 0, 128);
        EXPECT_GT(navy, 20);
        if (!dossier.isEmpty())
            image.save(QDir(dossier).filePath(QStringLiteral("notices-%1.png").arg(langue)));
    }
}

TEST(CadreNotices, CliquerUneNoticeNOuvreRien)
{
    TFrameNotices cadre;
    cadre.ChangerLangue(LangueFrancais);
    cadre.show();
    struct Filtre : QObject {
        int n = 0;
        bool eventFilter(QObject*, QEvent* ev) override { n += ev->type() == WM_ECRAN; return false; }
    } filtre;
    QCoreApplication::instance()->installEventFilter(&filtre);
    for (const char* nom : Noms)
        QTest::mouseClick(cadre.findChild<QLabel*>(QLatin1String(nom)), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&filtre);
    EXPECT_EQ(filtre.n, 0);
    EXPECT_EQ(Textes(cadre), QStringList({"Notices", "Orvane.PC", "KMT", "QFL8", "QFL16"}));
}

} // namespace
