#include "data/ConfigSet.h"
#include "data/ErreurVeilleur.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>

namespace {

TConfigSet Vide()
{
    TConfigSet c;
    std::memset(&c, 0, sizeof c);
    return c;
}

} // namespace

TEST(ConfigSet, RecordBytesAreTheFileBytes)
{
    TDossierTemporaire dossier;
    TConfigSet c = Vide();
    c.AcqAlarmesConsultation = 1;
    c.Remplissage[0] = 0xAA;
    c.Remplissage[2] = 0x55;
    c.PortCom = 0x01020304;
    c.Langue = 2;
    EcrireChaine(c.NomsSources[1], QStringLiteral("Départ"));
    EcrireChaine(c.NomsSources[31], QStringLiteral("Z"));
    EnregistrerConfig(c, QStringLiteral("Config.set"));

    const QByteArray octets = LireFichier(dossier.Chemin("Config.set"));
    ASSERT_EQ(octets.size(), 3140);
    EXPECT_EQ(uchar(octets[0]), 1);
    EXPECT_EQ(uchar(octets[1]), 0xAA);   // padding written back as it stands
    EXPECT_EQ(uchar(octets[3]), 0x55);
    EXPECT_EQ(uchar(octets[4]), 0x04);   // little-endian port
    EXPECT_EQ(uchar(octets[7]), 0x01);
    EXPECT_EQ(uchar(octets[8]), 2);
    EXPECT_EQ(uchar(octets[9]), 6);      // length byte of name 1
    EXPECT_EQ(uchar(octets[10]), 'D');
    EXPECT_EQ(uchar(octets[11]), 0xE9);  // é in Windows-1252
    EXPECT_EQ(uchar(octets[9 + 101 * 30]), 1);
    EXPECT_EQ(uchar(octets[9 + 101 * 30 + 1]), 'Z');
}

TEST(ConfigSet, StaleNameBytesSurviveALoadSaveRoundTrip)
{
    TDossierTemporaire dossier;
    QByteArray origine(3140, '\0');
    for (int i = 0; i < origine.size(); ++i)
        origine[i] = char((i * 7 + 3) & 0xFF);
    origine[8] = 1;
    origine[9] = 3;  // name 1 is 3 characters; the bytes after it carry no meaning but are kept
    EcrireFichier("Config.set", origine);

    TConfigSet c = Vide();
    ASSERT_TRUE(ChargerConfig(c, QStringLiteral("Config.set")));
    EXPECT_EQ(c.Langue, 1);
    EnregistrerConfig(c, QStringLiteral("Config.set"));
    EXPECT_EQ(LireFichier("Config.set"), origine);
}

TEST(ConfigSet, LoadingShortLongMissingAndEmptyFiles)
{
    TDossierTemporaire dossier;
    TConfigSet c = Vide();
    EXPECT_FALSE(ChargerConfig(c, QStringLiteral("Config.set")));
    EXPECT_EQ(c.Langue, 0);

    EcrireFichier("Config.set", QByteArray());
    EXPECT_FALSE(ChargerConfig(c, QStringLiteral("Config.set")));

    // Nine bytes whose last is 1: English, every name empty, the rest zero.
    QByteArray neuf(9, '\0');
    neuf[8] = 1;
    EcrireFichier("Config.set", neuf);
    c = Vide();
    ASSERT_TRUE(ChargerConfig(c, QStringLiteral("Config.set")));
    EXPECT_EQ(c.Langue, 1);
    for (int k = 1; k <= NbSources; ++k)
        EXPECT_TRUE(LireChaine(c.NomsSources[k]).isEmpty());

    // A longer file gives its first 3140 bytes; the next save cuts it.
    QByteArray long_(4000, 'x');
    long_[8] = 2;
    EcrireFichier("Config.set", long_);
    c = Vide();
    ASSERT_TRUE(ChargerConfig(c, QStringLiteral("Config.set")));
    EXPECT_EQ(c.Langue, 2);
    EXPECT_EQ(c.NomsSources[31].Car[99], 'x');
    EnregistrerConfig(c, QStringLiteral("Config.set"));
    EXPECT_EQ(LireFichier("Config.set").size(), 3140);

    // A folder named like the file is unreadable: silent failure.
    QFile::remove("Config.set");
    QDir().mkdir("Config.set");
    EXPECT_FALSE(ChargerConfig(c, QStringLiteral("Config.set")));
}

TEST(ConfigSet, DamagedLanguageAndNameBytesAreReadSafely)
{
    EXPECT_EQ(LangueValide(0), 0);
    EXPECT_EQ(LangueValide(2), 2);
    EXPECT_EQ(LangueValide(3), 0);
    EXPECT_EQ(LangueValide(7), 0);
    EXPECT_EQ(LangueValide(255), 0);

    TConfigSet c = Vide();
    c.NomsSources[31].Longueur = 255;
    std::memset(c.NomsSources[31].Car, 'a', sizeof c.NomsSources[31].Car);
    EXPECT_EQ(LireChaine(c.NomsSources[31]).size(), 100);
}

TEST(ConfigSet, FailedSaveRaisesWithPathAndKeepsTheOldFile)
{
    TDossierTemporaire dossier;
    QDir().mkdir("Config.set");  // cannot be replaced by a file
    TConfigSet c = Vide();
    c.Langue = 1;
    try {
        EnregistrerConfig(c, QStringLiteral("Config.set"));
        FAIL() << "a save over a folder must fail";
    } catch (const EErreurVeilleur& e) {
        const QString attendu = QStringLiteral("Impossible de créer le fichier \"%1\". ").arg(dossier.Chemin("Config.set"));
        EXPECT_TRUE(e.Texte().startsWith(attendu)) << e.Texte().toStdString();
        EXPECT_GT(e.Texte().size(), attendu.size()) << "the system's reason follows";
    }
    EXPECT_TRUE(QFileInfo(dossier.Chemin("Config.set")).isDir());
}

TEST(ConfigSet, SaveReplacesTheWholeFileAndLeavesNoTemporary)
{
    TDossierTemporaire dossier;
    EcrireFichier("Config.set", QByteArray(5000, 'q'));
    TConfigSet c = Vide();
    c.PortCom = 3;
    EnregistrerConfig(c, QStringLiteral("Config.set"));
    const QByteArray octets = LireFichier("Config.set");
    ASSERT_EQ(octets.size(), 3140);
    EXPECT_EQ(octets[4], 3);
    EXPECT_EQ(QDir(dossier.Dossier()).entryList(QDir::Files | QDir::Hidden), QStringList{"Config.set"});
}
