// Following the journal while another process appends to it with the
// station's own store: every entry printed once, in order, within a second,
// and the named event left signalled when the follower is stopped.
#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "platform/FichierOrdinaire.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <cstdio>
#include <unistd.h>

namespace {

TEntreeLog Entree(int numero)
{
    return EntreeDeTest(7, DateVeilleur::Maintenant(), 26, numero, 100);
}

} // namespace

TEST(SuiviJournal, PrintsEachAppendOnceInOrderWithinASecond)
{
    TDossierTemporaire dossier;
    const QString evenement = NomUnique("EvtSuivi");
    {
        TJournalLog journal(QStringLiteral("Log.dat"), evenement);
        for (int i = 0; i < 3; ++i)
            journal.AjouterEntreeLog(Entree(i));
    }

    QProcess suivi;
    suivi.start(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME),
                {"suivre", "--format", "json", "--nombre", "2", "--evenement", evenement, "Log.dat"});
    ASSERT_TRUE(suivi.waitForStarted());

    struct TLigne {
        QJsonObject Objet;
        double Arrivee;
    };
    std::vector<TLigne> lignes;
    const auto lire = [&](std::size_t attendues, int delaiMs) {
        QElapsedTimer chrono;
        chrono.start();
        while (lignes.size() < attendues && chrono.elapsed() < delaiMs) {
            suivi.waitForReadyRead(50);
            while (suivi.canReadLine())
                lignes.push_back({QJsonDocument::fromJson(suivi.readLine()).object(), DateVeilleur::Maintenant()});
        }
    };
    lire(2, 5000);
    ASSERT_EQ(lignes.size(), 2u) << "the existing tail comes first";

    // Another process appends 20 entries, one every 100 ms, as the station does.
    constexpr int NbAjouts = 20;
    const pid_t enfant = fork();
    ASSERT_GE(enfant, 0);
    if (enfant == 0) {
        TJournalLog journal(QStringLiteral("Log.dat"), evenement);
        for (int i = 3; i < 3 + NbAjouts; ++i) {
            usleep(100000);
            try {
                journal.AjouterEntreeLog(Entree(i));
            } catch (...) {
                _exit(1);
            }
        }
        _exit(journal.EntreesEnAttente() == 0 ? 0 : 1);
    }
    lire(2 + NbAjouts, 15000);
    int etat = 0;
    ASSERT_EQ(waitpid(enfant, &etat, 0), enfant);
    EXPECT_TRUE(WIFEXITED(etat) && WEXITSTATUS(etat) == 0) << "every append succeeded";
    QThread::msleep(300);
    lire(2 + NbAjouts + 1, 300);  // nothing printed twice
    ASSERT_EQ(lignes.size(), std::size_t(2 + NbAjouts));
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const QJsonObject& o = lignes[i].Objet;
        EXPECT_EQ(o["index"].toInt(), int(i) + 1);
        EXPECT_EQ(o["valeur1"].toInt(), int(i) + 1);
        if (i >= 2) {
            EXPECT_LT((lignes[i].Arrivee - o["jours"].toDouble()) * 86400.0, 1.0) << "entry " << i + 1;
        }
    }

    suivi.terminate();
    ASSERT_TRUE(suivi.waitForFinished(5000));
    EXPECT_EQ(suivi.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(suivi.exitCode(), 0);
    TEvenementNomme libre(evenement);
    EXPECT_TRUE(libre.Attendre0()) << "the follower leaves the event signalled";
    TEvenementNomme::Supprimer(evenement);
}

TEST(SuiviJournal, AFileMovedOverTheFollowedOneIsFollowedFromItsFirstEntry)
{
    TDossierTemporaire dossier;
    const QString evenement = NomUnique("EvtSuiviRemplace");
    std::vector<TEntreeLog> anciennes, nouvelles;
    for (int i = 0; i < 12; ++i)
        anciennes.push_back(Entree(100 + i));
    for (int i = 0; i < 15; ++i)
        nouvelles.push_back(Entree(i));
    EcrireEntrees("Log.dat", anciennes);
    EcrireEntrees("neuf", nouvelles);

    QProcess suivi;
    suivi.start(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME),
                {"suivre", "--format", "json", "--nombre", "2", "--evenement", evenement, "Log.dat"});
    ASSERT_TRUE(suivi.waitForStarted());
    std::vector<QJsonObject> lignes;
    const auto lire = [&](std::size_t attendues, int delaiMs) {
        QElapsedTimer chrono;
        chrono.start();
        while (lignes.size() < attendues && chrono.elapsed() < delaiMs) {
            suivi.waitForReadyRead(50);
            while (suivi.canReadLine())
                lignes.push_back(QJsonDocument::fromJson(suivi.readLine()).object());
        }
    };
    lire(2, 5000);
    ASSERT_EQ(lignes.size(), 2u);
    EXPECT_EQ(lignes[1]["valeur1"].toInt(), 111);

    ASSERT_EQ(::rename("neuf", "Log.dat"), 0);  // mv neuf Log.dat
    lire(2 + 15, 5000);
    ASSERT_EQ(lignes.size(), 2u + 15u);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(lignes[size_t(2 + i)]["index"].toInt(), i);
        EXPECT_EQ(lignes[size_t(2 + i)]["valeur1"].toInt(), i);
    }
    // Still followed after the replacement: the new file's appends come too.
    {
        TJournalLog journal(QStringLiteral("Log.dat"), evenement);
        journal.AjouterEntreeLog(Entree(15));
    }
    lire(2 + 16, 5000);
    ASSERT_EQ(lignes.size(), 2u + 16u);
    EXPECT_EQ(lignes.back()["index"].toInt(), 15);

    suivi.terminate();
    ASSERT_TRUE(suivi.waitForFinished(5000));
    const QString erreurs = QString::fromLocal8Bit(suivi.readAllStandardError());
    EXPECT_EQ(erreurs.count(QStringLiteral("was replaced by another file; following the new one from its first entry.")), 1)
        << erreurs.toStdString();
    EXPECT_FALSE(erreurs.contains(QStringLiteral("QFileSystemWatcher"))) << erreurs.toStdString();
    TEvenementNomme::Supprimer(evenement);
}

TEST(SuiviJournal, ReasonsInsideTheToolsSentencesFollowTheSystemsLanguage)
{
    TDossierTemporaire dossier;
    QDir().mkdir(QStringLiteral("Log.dat"));
    const QByteArray avant = qgetenv("LC_ALL");
    qputenv("LC_ALL", "en_US.UTF-8");
    TResultatProgramme sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"verifier"});
    EXPECT_EQ(sortie.Code, 2);
    EXPECT_EQ(sortie.Erreurs, "veilleur-journal: cannot open \"Log.dat\": not a regular file (a folder, pipe or device).\n");
    sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"suivre"});
    EXPECT_EQ(sortie.Code, 2);
    EXPECT_TRUE(sortie.Erreurs.contains(": not a regular file (a folder, pipe or device).")) << sortie.Erreurs.constData();
    qputenv("LC_ALL", "fr_FR.UTF-8");
    sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"verifier"});
    EXPECT_TRUE(sortie.Erreurs.contains(TFichierOrdinaire::TextePasOrdinaire().toUtf8())) << sortie.Erreurs.constData();
    if (avant.isNull())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", avant);

    sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"export", "--age-max", "inf"});
    EXPECT_EQ(sortie.Code, 2);
    EXPECT_TRUE(sortie.Erreurs.contains("invalid value \"inf\" for --age-max")) << sortie.Erreurs.constData();
}
