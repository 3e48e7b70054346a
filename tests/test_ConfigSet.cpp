#include "data/ConfigSet.h"
#include "data/ErreurVeilleur.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TConfigSet Vide()
{
    TConfigSet c;
    std::memset(&c, 0, sizeof c);
    return c;
}

// Saves c over an existing Config.set in a child whose writes stop at
// limite bytes; 0 when the save failed with raison and left the old bytes.
int SauverSousLimite(const TConfigSet& c, long limite, const QString& raison)
{
    return DansUnProcessusFils([&] {
        const QByteArray avant = LireFichier("Config.set");
        LimiterTailleFichiers(limite);
        try {
            EnregistrerConfig(c, QStringLiteral("Config.set"));
            return 1;  // reported success
        } catch (const EErreurVeilleur& e) {
            if (!e.Texte().startsWith(QStringLiteral("Impossible de créer le fichier \"")) || !e.Texte().endsWith(raison))
                return 2;
        }
        if (LireFichier("Config.set") != avant)
            return 3;
        return QDir().entryList(QDir::Files | QDir::Hidden) == QStringList{"Config.set"} ? 0 : 4;
    });
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

    // A stored language 7 is loaded as French and saved as French.
    TDossierTemporaire dossier;
    QByteArray octets(3140, '\0');
    octets[8] = 7;
    EcrireFichier("Config.set", octets);
    TConfigSet c = Vide();
    ASSERT_TRUE(ChargerConfig(c, QStringLiteral("Config.set")));
    EXPECT_EQ(c.Langue, 0);
    EnregistrerConfig(c, QStringLiteral("Config.set"));
    EXPECT_EQ(LireFichier("Config.set")[8], 0);

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

TEST(ConfigSet, SaveThatCannotCompleteLeavesTheOldFile)
{
    TDossierTemporaire dossier;
    QByteArray ancien(3140, 'a');
    ancien[8] = 2;
    EcrireFichier("Config.set", ancien);
    TConfigSet c = Vide();
    c.Langue = 1;
    // A 2000-byte file-size limit stands for a disk that fills up mid-save.
    EXPECT_EQ(SauverSousLimite(c, 2000, QString::fromLocal8Bit(strerror(EFBIG))), 0);
    EXPECT_EQ(SauverSousLimite(c, 0, QString::fromLocal8Bit(strerror(EFBIG))), 0);
    EXPECT_EQ(LireFichier("Config.set"), ancien);
}

TEST(ConfigSet, SaveOnAFullTmpfsLeavesTheOldFile)
{
    TDossierTemporaire dossier;
    const int resultat = DansUnProcessusFils([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || mount("tmpfs", qPrintable(dossier.Dossier()), "tmpfs", 0, "size=64k") != 0)
            return 77;
        QDir::setCurrent(dossier.Dossier());
        const QByteArray ancien(3140, 'o');
        EcrireFichier("Config.set", ancien);
        {
            QFile plein("remplissage");
            if (!plein.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                return 5;
            const QByteArray bloc(4096, 'x');
            while (plein.write(bloc) > 0) {
            }
        }
        TConfigSet c = Vide();
        try {
            EnregistrerConfig(c, QStringLiteral("Config.set"));
            return 1;
        } catch (const EErreurVeilleur& e) {
            if (!e.Texte().endsWith(QString::fromLocal8Bit(strerror(ENOSPC))))
                return 2;
        }
        return LireFichier("Config.set") == ancien ? 0 : 3;
    });
    if (resultat == 77)
        GTEST_SKIP() << "no tmpfs can be mounted here (needs CAP_SYS_ADMIN); the file-size limit test covers a full disk";
    EXPECT_EQ(resultat, 0);
}

TEST(ConfigSet, SaveFollowsLinksAndKeepsModes)
{
    TDossierTemporaire dossier;
    TConfigSet c = Vide();
    c.PortCom = 7;

    // A link stays a link and its target gets the record, with its own mode.
    QDir().mkdir("reel");
    EcrireFichier("reel/cible.set", QByteArray(10, 'z'));
    QFile::setPermissions("reel/cible.set", QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile::link("reel/cible.set", "Config.set"));
    EnregistrerConfig(c, QStringLiteral("Config.set"));
    EXPECT_TRUE(QFileInfo("Config.set").isSymLink());
    EXPECT_EQ(LireFichier("reel/cible.set").size(), 3140);
    struct stat etat {};
    ASSERT_EQ(stat("reel/cible.set", &etat), 0);
    EXPECT_EQ(etat.st_mode & 07777, 0600u);
}

TEST(ConfigSet, WritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    TDossierTemporaire dossier;
    QDir().mkdir("ro");
    EcrireFichier("ro/Config.set", QByteArray(3140, 'v'));
    chmod("ro/Config.set", 0666);
    chmod("ro", 0555);
    chmod(qPrintable(dossier.Dossier()), 0755);
    TConfigSet c = Vide();
    c.PortCom = 9;
    const int resultat = DansUnProcessusFils([&] {
        // Root may write anywhere: save as an ordinary user.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 77;
        if (access("ro/Config.set", W_OK) != 0)
            return 77;
        EnregistrerConfig(c, QStringLiteral("ro/Config.set"));
        return 0;
    });
    chmod("ro", 0755);
    if (resultat == 77)
        GTEST_SKIP() << "cannot act as an ordinary user here";
    ASSERT_EQ(resultat, 0);
    const QByteArray octets = LireFichier("ro/Config.set");
    ASSERT_EQ(octets.size(), 3140);
    EXPECT_EQ(octets[4], 9);
}
