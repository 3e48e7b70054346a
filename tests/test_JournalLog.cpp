#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"
#include "data/JournalLog.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QFile>
#include "platform/FichierOrdinaire.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <numeric>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double Maintenant = 46362.5;  // a fixed "now" for the age filter

TEntreeLog Entree(std::uint8_t origine, double date, std::uint8_t code = 7)
{
    return EntreeDeTest(code, date, origine, 55, 100);
}

struct JournalTest : ::testing::Test {
    TDossierTemporaire dossier;
    QString nomEvenement = NomUnique("EvtTest");
    std::unique_ptr<TJournalLog> journal = std::make_unique<TJournalLog>(QStringLiteral("Log.dat"), nomEvenement);
    std::unique_ptr<TTamponJournal> tampon = std::make_unique<TTamponJournal>();

    JournalTest() { journal->DefinirHorloge([] { return Maintenant; }); }
    ~JournalTest() override
    {
        journal.reset();
        TEvenementNomme::Supprimer(nomEvenement);
    }

    void ExpectGuardFree()
    {
        EXPECT_FALSE(journal->AccesLogEnCours());
        TEvenementNomme autre(nomEvenement);
        EXPECT_TRUE(autre.Attendre0()) << "the event is signalled once the access ends";
        autre.Signaler();
    }
};

} // namespace

TEST_F(JournalTest, AppendWritesTheDocumentedBytesAtTheEnd)
{
    TEntreeLog e = Entree(26, 46362.25);
    e.Attribut1 = 0x11;
    EcrireChaine(e.InfosCompl, QStringLiteral("défaut"));
    journal->AjouterEntreeLog(e);
    QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), 96) << "appending to a missing file creates one record";
    EXPECT_EQ(uchar(octets[0]), 7);
    double date;
    std::memcpy(&date, octets.constData() + 8, 8);
    EXPECT_EQ(date, 46362.25);
    EXPECT_EQ(uchar(octets[16]), 26);
    EXPECT_EQ(uchar(octets[17]), 0x11);
    EXPECT_EQ(uchar(octets[18]), 1);
    EXPECT_EQ(uchar(octets[19]), 6);
    EXPECT_EQ(uchar(octets[21]), 0xE9);
    double v1, v2;
    std::memcpy(&v1, octets.constData() + 72, 8);
    std::memcpy(&v2, octets.constData() + 80, 8);
    EXPECT_EQ(v1, 55.0);
    EXPECT_EQ(v2, 100.0);

    journal->AjouterEntreeLog(Entree(12, 46362.3));
    octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), 192);
    EXPECT_EQ(uchar(octets[96 + 16]), 12);
    ExpectGuardFree();
}

TEST_F(JournalTest, AppendOverwritesAnIncompleteTrailingRecord)
{
    EcrireEntrees("Log.dat", {Entree(1, Maintenant), Entree(2, Maintenant)}, QByteArray(40, '\x5A'));
    journal->AjouterEntreeLog(Entree(3, Maintenant));
    const QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), 288);
    EXPECT_EQ(uchar(octets[192 + 16]), 3);
    EXPECT_EQ(uchar(octets[192 + 1]), 0) << "no byte of the old fragment is left inside the record";
}

TEST_F(JournalTest, LoadKeepsTheLastTwoThousandRecordsOnly)
{
    std::vector<TEntreeLog> entrees;
    for (int i = 1; i <= 2500; ++i)
        entrees.push_back(Entree(std::uint8_t(i % 251), Maintenant - 1, 7));
    for (int i = 0; i < 2500; ++i)
        entrees[size_t(i)].Valeur1 = i + 1;  // file record number, 1-based
    EcrireEntrees("Log.dat", entrees, QByteArray(50, '\x01'));
    journal->ChargerJournal(*tampon, 2);
    ASSERT_EQ(tampon->NbEntrees, 2000);
    EXPECT_EQ(tampon->Entrees[1].Valeur1, 501.0);
    EXPECT_EQ(tampon->Entrees[2000].Valeur1, 2500.0);
    EXPECT_EQ(tampon->Langue, 2);
    ExpectGuardFree();
}

TEST_F(JournalTest, LoadFiltersEachRecordOnItsOwnAge)
{
    EcrireEntrees("Log.dat", {
        Entree(1, Maintenant - 400),
        Entree(2, Maintenant - 10),
        Entree(3, Maintenant - 360),              // exactly 360 days: kept
        Entree(4, Maintenant - 360 - 1.0 / 86400000),  // a millisecond older: skipped
        Entree(5, Maintenant + 3),                // future: kept
        Entree(6, Maintenant - 500),              // stale after recent ones: skipped
        Entree(7, Maintenant),
    });
    journal->ChargerJournal(*tampon, 1);
    ASSERT_EQ(tampon->NbEntrees, 4);
    EXPECT_EQ(tampon->Entrees[1].Origine, 2);
    EXPECT_EQ(tampon->Entrees[2].Origine, 3);
    EXPECT_EQ(tampon->Entrees[3].Origine, 5);
    EXPECT_EQ(tampon->Entrees[4].Origine, 7);
}

TEST_F(JournalTest, LoadOfMissingEmptyOrAllStaleFiles)
{
    std::memset(static_cast<void*>(tampon.get()), 0x33, sizeof(TTamponJournal));
    journal->ChargerJournal(*tampon, 2);
    EXPECT_EQ(tampon->NbEntrees, 0);
    EXPECT_EQ(tampon->Entrees[1].Code, 0) << "a missing journal clears the buffer";
    EXPECT_EQ(tampon->Langue, 2);

    EcrireFichier("Log.dat", {});
    journal->ChargerJournal(*tampon, 1);
    EXPECT_EQ(tampon->NbEntrees, 0);
    EXPECT_EQ(tampon->Langue, 1);

    EcrireEntrees("Log.dat", {Entree(1, Maintenant - 900)}, QByteArray(95, '\0'));
    journal->ChargerJournal(*tampon, 2);
    EXPECT_EQ(tampon->NbEntrees, 0);
    EXPECT_EQ(tampon->Langue, 2);
    ExpectGuardFree();
}

TEST_F(JournalTest, FileErrorsRaiseAndReleaseTheGuard)
{
    QDir().mkdir("Log.dat");  // cannot be opened as a file
    EXPECT_THROW(journal->ChargerJournal(*tampon, 0), EErreurVeilleur);
    ExpectGuardFree();
    try {
        journal->AjouterEntreeLog(Entree(12, Maintenant));
        FAIL() << "append must fail";
    } catch (const EErreurVeilleur& e) {
        EXPECT_TRUE(e.Texte().contains(QStringLiteral("Log.dat"))) << e.Texte().toStdString();
    }
    ExpectGuardFree();
}

TEST_F(JournalTest, FailedAppendsAreKeptInOrderAndWrittenByTheNextOne)
{
    QDir().mkdir("Log.dat");
    EXPECT_THROW(journal->AjouterEntreeLog(Entree(1, Maintenant)), EErreurVeilleur);
    EXPECT_THROW(journal->AjouterEntreeLog(Entree(2, Maintenant)), EErreurVeilleur);
    EXPECT_EQ(journal->EntreesEnAttente(), 2);
    QDir().rmdir("Log.dat");

    journal->AjouterEntreeLog(Entree(3, Maintenant));
    EXPECT_EQ(journal->EntreesEnAttente(), 0);
    const QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), 3 * 96);
    EXPECT_EQ(uchar(octets[16]), 1);
    EXPECT_EQ(uchar(octets[96 + 16]), 2);
    EXPECT_EQ(uchar(octets[192 + 16]), 3);
}

TEST_F(JournalTest, PendingQueueIsBounded)
{
    QDir().mkdir("Log.dat");
    for (int i = 0; i < CapaciteAttente + 5; ++i)
        EXPECT_THROW(journal->AjouterEntreeLog(Entree(std::uint8_t(i % 200), Maintenant)), EErreurVeilleur);
    EXPECT_EQ(journal->EntreesEnAttente(), CapaciteAttente);
    EXPECT_EQ(journal->EntreesPerdues(), 5);
    QDir().rmdir("Log.dat");
    journal->AjouterEntreeLog(Entree(250, Maintenant));
    const QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), qsizetype(CapaciteAttente) * 96);
    EXPECT_EQ(uchar(octets[16]), 6) << "the oldest pending entries were the ones dropped";
    EXPECT_EQ(uchar(octets[octets.size() - 96 + 16]), 250);
}

TEST_F(JournalTest, GuardIsSeenByAnotherHandleAndAnotherProcess)
{
    TEvenementNomme autre(nomEvenement);
    ASSERT_TRUE(autre.Valide()) << autre.Erreur().toStdString();

    journal->PrendreAccesLog();
    EXPECT_TRUE(journal->AccesLogEnCours());
    EXPECT_FALSE(autre.Attendre0()) << "non-signalled while the journal is in use";

    const QByteArray nom = "/" + nomEvenement.toUtf8();
    const pid_t enfant = fork();
    ASSERT_NE(enfant, -1);
    if (enfant == 0) {
        sem_t* s = sem_open(nom.constData(), 0);
        _exit(s == SEM_FAILED ? 2 : (sem_trywait(s) == 0 ? 1 : 0));
    }
    int etat = 0;
    waitpid(enfant, &etat, 0);
    EXPECT_EQ(WEXITSTATUS(etat), 0) << "another process sees the access in progress";

    journal->RendreAccesLog();
    EXPECT_FALSE(journal->AccesLogEnCours());
    journal->RendreAccesLog();  // setting twice stays a single signal
    EXPECT_TRUE(autre.Attendre0());
    EXPECT_FALSE(autre.Attendre0()) << "auto-reset: one wait consumes the signal";
    autre.Signaler();
}

TEST_F(JournalTest, AnExistingEventIsOpenedAsItIs)
{
    {
        TEvenementNomme premier(nomEvenement);
        EXPECT_TRUE(premier.Attendre0());  // now non-signalled
    }
    TEvenementNomme second(nomEvenement);
    EXPECT_FALSE(second.Attendre0()) << "opening does not recreate it signalled";
    second.Signaler();
    EXPECT_TRUE(second.Attendre0());
}

TEST_F(JournalTest, LoadReadsDamagedEntriesAsTheyAre)
{
    TEntreeLog e = Entree(200, std::nan(""), 200);
    e.InfosCompl.Longueur = 255;
    EcrireEntrees("Log.dat", {e});
    journal->ChargerJournal(*tampon, 0);
    ASSERT_EQ(tampon->NbEntrees, 1) << "a NaN date is not older than 360 days";
    EXPECT_EQ(tampon->Entrees[1].Code, 200);
    EXPECT_EQ(LireChaine(tampon->Entrees[1].InfosCompl).size(), 52);
}

TEST_F(JournalTest, EntriesStillPendingAreWrittenWhenTheStoreCloses)
{
    QDir().mkdir("Log.dat");
    EXPECT_THROW(journal->AjouterEntreeLog(Entree(4, Maintenant)), EErreurVeilleur);
    QDir().rmdir("Log.dat");
    journal.reset();  // the station shuts down with one entry still pending
    const QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), 96);
    EXPECT_EQ(uchar(octets[16]), 4);
}

TEST_F(JournalTest, TwoProcessesAppendingLoseNoEntry)
{
    constexpr int NbParProcessus = 3000;
    // Both children append at the same time, each through a store of its own.
    pid_t fils[2];
    for (int p = 0; p < 2; ++p) {
        fils[p] = fork();
        ASSERT_NE(fils[p], -1);
        if (fils[p] != 0)
            continue;
        try {
            const auto origine = std::uint8_t(p + 1);
            TJournalLog autre(QStringLiteral("Log.dat"), nomEvenement);
            // Mostly through the writer thread, now and then waiting for the disk.
            for (int i = 0; i < NbParProcessus; ++i) {
                TEntreeLog e = Entree(origine, Maintenant);
                e.Valeur1 = i;
                e.Valeur2 = -i;
                e.Valeur3 = origine * 1000.0 + i;
                if (i % 100 == 99)
                    autre.AjouterEntreeLog(e);
                else
                    autre.DeposerEntreeLog(e);
            }
            autre.EcrireEntreesEnAttente();
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    for (pid_t f : fils) {
        int etat = 0;
        waitpid(f, &etat, 0);
        EXPECT_TRUE(WIFEXITED(etat) && WEXITSTATUS(etat) == 0);
    }

    const QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), 2 * NbParProcessus * 96);
    int suivant[3] = {0, 0, 0};
    for (int n = 0; n < 2 * NbParProcessus; ++n) {
        TEntreeLog e;
        std::memcpy(&e, octets.constData() + n * 96, 96);
        ASSERT_TRUE(e.Origine == 1 || e.Origine == 2) << "record " << n;
        ASSERT_EQ(e.Valeur1, suivant[e.Origine]) << "record " << n << " out of its process's order";
        ASSERT_EQ(e.Valeur2, -e.Valeur1);
        ASSERT_EQ(e.Valeur3, e.Origine * 1000.0 + e.Valeur1) << "record " << n << " is not whole";
        ++suivant[e.Origine];
    }
    EXPECT_EQ(suivant[1], NbParProcessus);
    EXPECT_EQ(suivant[2], NbParProcessus);
}

TEST_F(JournalTest, OddFilesLockedFilesAndFullDisksFailWithTheSystemText)
{
    // A FIFO named like the journal: load and append fail at once.
    ASSERT_EQ(mkfifo("Log.dat", 0644), 0);
    QElapsedTimer montre;
    montre.start();
    try {
        journal->ChargerJournal(*tampon, 0);
        ADD_FAILURE() << "a load from a FIFO must fail";
    } catch (const EErreurVeilleur& e) {
        EXPECT_TRUE(e.Texte().contains(dossier.Chemin("Log.dat"))) << e.Texte().toStdString();
        EXPECT_TRUE(e.Texte().endsWith(TFichierOrdinaire::TextePasOrdinaire())) << e.Texte().toStdString();
    }
    EXPECT_THROW(journal->AjouterEntreeLog(Entree(1, Maintenant)), EErreurVeilleur);
    EXPECT_LT(montre.elapsed(), 1000);
    ExpectGuardFree();
    QFile::remove("Log.dat");

    // Another writer holds the lock: the append gives up after about 2 s,
    // keeps the entry and writes it once the lock is free.
    EcrireEntrees("Log.dat", {Entree(2, Maintenant)});
    {
        TFichierOrdinaire autre;
        ASSERT_TRUE(autre.Ouvrir(QStringLiteral("Log.dat"), O_RDWR));
        ASSERT_TRUE(autre.Verrouiller(true, 0));
        montre.restart();
        EXPECT_THROW(journal->AjouterEntreeLog(Entree(3, Maintenant)), EErreurVeilleur);
        EXPECT_GE(montre.elapsed(), 1900);
        EXPECT_LT(montre.elapsed(), 3000);
        EXPECT_EQ(journal->EntreesEnAttente(), 2) << "the one refused by the FIFO, then this one";
    }
    journal->AjouterEntreeLog(Entree(4, Maintenant));
    const QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), 4 * 96);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(int(octets[n * 96 + 16]), "\2\1\3\4"[n]) << "record " << n;

    // A full disk in the middle of a record: the system's reason, and the
    // entry kept for the next append.
    const int resultat = DansUnProcessusFils([&] {
        LimiterTailleFichiers(4 * 96 + 40);
        try {
            journal->AjouterEntreeLog(Entree(5, Maintenant));
            return 1;
        } catch (const EErreurVeilleur& e) {
            if (!e.Texte().endsWith(QString::fromLocal8Bit(strerror(EFBIG))))
                return 2;
        }
        return journal->EntreesEnAttente() == 1 ? 0 : 3;
    });
    EXPECT_EQ(resultat, 0);
}

namespace {

std::vector<int> Origines(const QByteArray& octets)
{
    std::vector<int> origines;
    for (qsizetype p = 0; p + 96 <= octets.size(); p += 96)
        origines.push_back(uchar(octets[p + 16]));
    return origines;
}

} // namespace

TEST_F(JournalTest, EntriesWaitingAtTheEndGoToTheRecoveryFileAndBackAtTheNextStart)
{
    EcrireEntrees("Log.dat", {Entree(9, Maintenant)});
    QFile::rename("Log.dat", "ancien");
    QDir().mkdir("Log.dat");
    for (std::uint8_t o = 1; o <= 3; ++o)
        journal->DeposerEntreeLog(Entree(o, Maintenant));
    EXPECT_THROW(journal->EcrireEntreesEnAttente(), EErreurVeilleur);
    TBilanFinJournal bilan = journal->Terminer();
    EXPECT_EQ(bilan.Ecrites, 0);
    EXPECT_EQ(bilan.Sauvees, 3);
    EXPECT_EQ(bilan.Perdues, 0);
    EXPECT_FALSE(bilan.AMontrer());
    EXPECT_TRUE(bilan.Texte().contains(QStringLiteral("3 entrées gardées"))) << bilan.Texte().toStdString();
    EXPECT_THROW(journal->AjouterEntreeLog(Entree(4, Maintenant)), EErreurVeilleur) << "the run is over";
    EXPECT_EQ(Origines(LireFichier("Log.dat.attente")), (std::vector<int>{1, 2, 3}));

    // A second run ends the same way, its end cut short in the middle of a
    // record the first time: the next end writes over the fragment.
    QFile secours("Log.dat.attente");
    ASSERT_TRUE(secours.open(QIODevice::Append));
    secours.write(QByteArray(30, '\x7F'));
    secours.close();
    journal = std::make_unique<TJournalLog>(QStringLiteral("Log.dat"), nomEvenement);
    EXPECT_EQ(journal->RecupererEntrees().Recuperees, 0) << "\"Log.dat\" is still a folder";
    EXPECT_EQ(LireFichier("Log.dat.attente").size(), 3 * 96 + 30) << "the recovery file is left as it was";
    journal->DeposerEntreeLog(Entree(4, Maintenant));
    journal->DeposerEntreeLog(Entree(5, Maintenant));
    journal.reset();  // the destructor ends the run the same way
    EXPECT_EQ(Origines(LireFichier("Log.dat.attente")), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(LireFichier("Log.dat.attente").size(), 5 * 96);

    // "Log.dat" writable again: the next start appends them after the
    // journal's own entries, in their order, and removes the recovery file.
    QDir().rmdir("Log.dat");
    QFile::rename("ancien", "Log.dat");
    journal = std::make_unique<TJournalLog>(QStringLiteral("Log.dat"), nomEvenement);
    const TBilanRecuperation recuperation = journal->RecupererEntrees();
    EXPECT_EQ(recuperation.Recuperees, 5);
    EXPECT_TRUE(recuperation.Erreur.isEmpty()) << recuperation.Erreur.toStdString();
    EXPECT_EQ(Origines(LireFichier("Log.dat")), (std::vector<int>{9, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(QFileInfo::exists("Log.dat.attente"));
    EXPECT_TRUE(QDir().entryList({"Log.dat.attente*"}).isEmpty());
    EXPECT_EQ(journal->RecupererEntrees().Recuperees, 0) << "recovered once only";

    journal->AjouterEntreeLog(TJournalLog::EntreeRecuperation(recuperation.Recuperees, Maintenant));
    journal->ChargerJournal(*tampon, 0);
    ASSERT_EQ(tampon->NbEntrees, 7);
    EXPECT_EQ(tampon->Entrees[7].Code, 0);
    EXPECT_EQ(LireChaine(tampon->Entrees[7].InfosCompl), QStringLiteral("5 entrées récupérées"));
    ExpectGuardFree();
}

TEST_F(JournalTest, AnInterruptedRecoveryResumesWithoutDuplicates)
{
    // The process died after writing two of four recovered entries at byte
    // 192 of the journal, and another station appended one entry since.
    EcrireEntrees("Log.dat", {Entree(9, Maintenant), Entree(8, Maintenant), Entree(1, Maintenant), Entree(2, Maintenant),
                              Entree(77, Maintenant)});
    EcrireEntrees("Log.dat.attente.192", {Entree(1, Maintenant), Entree(2, Maintenant), Entree(3, Maintenant),
                                          Entree(4, Maintenant)});
    // Died right after renaming, before writing anything, at byte 480.
    EcrireEntrees("Log.dat.attente.480", {Entree(5, Maintenant)});
    // And a recovery file from a later run.
    EcrireEntrees("Log.dat.attente", {Entree(6, Maintenant)}, QByteArray(10, '\1'));
    const TBilanRecuperation bilan = journal->RecupererEntrees();
    EXPECT_EQ(bilan.Recuperees, 6);
    EXPECT_EQ(bilan.OctetsIgnores, 10);
    EXPECT_EQ(Origines(LireFichier("Log.dat")), (std::vector<int>{9, 8, 1, 2, 77, 3, 4, 5, 6}));
    EXPECT_TRUE(QDir().entryList({"Log.dat.attente*"}).isEmpty());
}

TEST_F(JournalTest, RecoveryFilesThatAreNoFilesLoseNothingSilently)
{
    // The end of a run with both names taken by a folder and a FIFO: the
    // operator must be told, and the names are left alone.
    QDir().mkdir("Log.dat");
    ASSERT_EQ(mkfifo("Log.dat.attente", 0644), 0);
    journal->DeposerEntreeLog(Entree(1, Maintenant));
    journal->DeposerEntreeLog(Entree(2, Maintenant));
    QElapsedTimer montre;
    montre.start();
    const TBilanFinJournal bilan = journal->Terminer();
    EXPECT_LT(montre.elapsed(), 1000);
    EXPECT_EQ(bilan.Sauvees, 0);
    EXPECT_EQ(bilan.Perdues, 2);
    EXPECT_TRUE(bilan.AMontrer());
    EXPECT_TRUE(bilan.Texte().contains(QStringLiteral("2 entrées perdues"))) << bilan.Texte().toStdString();
    EXPECT_TRUE(bilan.Texte().contains(TFichierOrdinaire::TextePasOrdinaire())) << bilan.Texte().toStdString();

    // At the next start a recovery "file" that is a folder is left as it is.
    QDir().rmdir("Log.dat");
    QFile::remove("Log.dat.attente");
    QDir().mkdir("Log.dat.attente");
    journal = std::make_unique<TJournalLog>(QStringLiteral("Log.dat"), nomEvenement);
    const TBilanRecuperation recuperation = journal->RecupererEntrees();
    EXPECT_EQ(recuperation.Recuperees, 0);
    EXPECT_TRUE(recuperation.Erreur.contains(QStringLiteral("Log.dat.attente"))) << recuperation.Erreur.toStdString();
    EXPECT_TRUE(QFileInfo("Log.dat.attente").isDir());
}

TEST_F(JournalTest, DepositsNeverWaitForTheDiskAndAreWrittenInOrderAndSynced)
{
    // Synced appends, one at a time: their cost on this machine.
    constexpr int NbSynchrones = 200;
    std::vector<double> durees;
    QElapsedTimer montre;
    for (int i = 0; i < NbSynchrones; ++i) {
        montre.restart();
        journal->AjouterEntreeLog(Entree(std::uint8_t(i % 200), Maintenant));
        durees.push_back(montre.nsecsElapsed() / 1e6);
    }
    std::sort(durees.begin(), durees.end());
    const double moyenne = std::accumulate(durees.begin(), durees.end(), 0.0) / NbSynchrones;
    std::printf("synced append: mean %.3f ms, median %.3f ms, 99th %.3f ms, max %.3f ms\n", moyenne,
                durees[NbSynchrones / 2], durees[NbSynchrones * 99 / 100], durees.back());
    EXPECT_LT(moyenne, 20.0);

    // Another program holds the file's lock for a second: a burst of
    // deposits meanwhile returns at once, and is written in order after.
    QFile::remove("Log.dat");
    std::vector<QString> erreurs;
    std::mutex mutexErreurs;
    journal->DefinirSignalement([&](const QString& e) {
        std::lock_guard v(mutexErreurs);
        erreurs.push_back(e);
    });
    EcrireEntrees("Log.dat", {});
    double plusLongue = 0;
    constexpr int NbRafale = 3000;
    {
        TFichierOrdinaire autre;
        ASSERT_TRUE(autre.Ouvrir(QStringLiteral("Log.dat"), O_RDWR));
        ASSERT_TRUE(autre.Verrouiller(true, 0));
        QElapsedTimer rafale;
        rafale.start();
        for (int i = 0; i < NbRafale; ++i) {
            TEntreeLog e = Entree(1, Maintenant);
            e.Valeur1 = i;
            montre.restart();
            journal->DeposerEntreeLog(e);
            plusLongue = std::max(plusLongue, montre.nsecsElapsed() / 1e6);
            if (i % 100 == 0)
                QThread::msleep(30);  // a burst over about a second
        }
        std::printf("deposit during a burst of %d with the file locked for %lld ms: longest %.3f ms\n", NbRafale,
                    static_cast<long long>(rafale.elapsed()), plusLongue);
        EXPECT_LT(plusLongue, 5.0);
        EXPECT_GT(journal->EntreesEnAttente(), 0);
        QThread::msleep(2200);  // longer than a write waits for the lock
    }
    journal->EcrireEntreesEnAttente();
    EXPECT_EQ(journal->EntreesEnAttente(), 0);
    const QByteArray octets = LireFichier("Log.dat");
    ASSERT_EQ(octets.size(), qsizetype(NbRafale) * 96);
    for (int i = 0; i < NbRafale; ++i) {
        double v;
        std::memcpy(&v, octets.constData() + i * 96 + 72, 8);
        ASSERT_EQ(v, i) << "record " << i;
    }
    journal->DefinirSignalement(nullptr);
    std::lock_guard v(mutexErreurs);
    EXPECT_FALSE(erreurs.empty()) << "the locked file was told on the writer thread";
    EXPECT_TRUE(erreurs.front().contains(QStringLiteral("verrouillé"))) << erreurs.front().toStdString();
    ExpectGuardFree();
}

TEST_F(JournalTest, ASquattedOrUnavailableEventIsToldOnce)
{
    {
        TEvenementNomme propre(nomEvenement);  // the fixture's store created it
        EXPECT_TRUE(propre.Propre());
        EXPECT_EQ(propre.Propriete(), TProprieteEvenement::MemeUtilisateur);
        EXPECT_TRUE(propre.Avertissement(1).isEmpty());
    }
    EXPECT_EQ(journal->EvenementAccesLog().Propriete(), TProprieteEvenement::Cree);

    // Another user creates the name before the station starts.
    const QString squatte = NomUnique("EvtSquatte");
    if (geteuid() == 0) {
        const int resultat = DansUnProcessusFils([&] {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                return 2;
            sem_t* s = sem_open(("/" + squatte.toUtf8()).constData(), O_CREAT | O_EXCL, 0666, 0);
            return s == SEM_FAILED ? 3 : 0;
        });
        ASSERT_EQ(resultat, 0);
        {
            TJournalLog station(QStringLiteral("Log.dat"), squatte);
            const TEvenementNomme& e = station.EvenementAccesLog();
            EXPECT_EQ(e.Propriete(), TProprieteEvenement::AutreUtilisateur);
            EXPECT_FALSE(e.Propre());
            EXPECT_TRUE(e.Avertissement(1).contains(QStringLiteral("uid 65534")));
            EXPECT_TRUE(e.Avertissement(1).contains(QStringLiteral("Other programs cannot wait for the journal's accesses")))
                << e.Avertissement(1).toStdString();
            EXPECT_TRUE(e.Avertissement(0).contains(QStringLiteral("journal"))) << e.Avertissement(0).toStdString();
            station.AjouterEntreeLog(Entree(1, Maintenant));  // journalling goes on
        }
        TEvenementNomme::Supprimer(squatte);
        EXPECT_EQ(Origines(LireFichier("Log.dat")), (std::vector<int>{1}));
    }

    // A name that cannot be created: something else sits where it would be.
    const QString bloque = NomUnique("EvtBloque");
    const QString chemin = "/dev/shm/sem." + bloque;
    ASSERT_TRUE(QDir().mkdir(chemin));
    {
        TEvenementNomme e(bloque);
        EXPECT_FALSE(e.Valide());
        EXPECT_EQ(e.Propriete(), TProprieteEvenement::Indisponible);
        EXPECT_TRUE(e.Avertissement(2).contains(QStringLiteral("no se puede crear"))) << e.Avertissement(2).toStdString();
    }
    QDir().rmdir(chemin);
}
