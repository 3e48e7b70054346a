// The real station as a process: its start and stop in the journal around a
// run, ended by SIGTERM, SIGINT, a kill it cannot see, and the display going
// away; and the entries still waiting at the end when "Log.dat" cannot be
// written, kept aside and appended by the next start.
#include "app/CycleStation.h"
#include "data/Chaine1252.h"
#include "data/JournalLog.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Station = QStringLiteral(VEILLEUR_STATION);

std::vector<TEntreeLog> Lire(const QString& chemin)
{
    const QByteArray octets = LireFichier(chemin);
    std::vector<TEntreeLog> entrees(static_cast<std::size_t>(octets.size() / TailleEntreeLog));
    if (!entrees.empty())
        std::memcpy(static_cast<void*>(entrees.data()), octets.constData(), entrees.size() * TailleEntreeLog);
    return entrees;
}

QString Resume(const std::vector<TEntreeLog>& entrees)
{
    QStringList s;
    for (const TEntreeLog& e : entrees)
        s << QStringLiteral("%1/%2/%3").arg(e.Code).arg(e.Attribut1).arg(LireChaine(e.InfosCompl));
    return s.join(QStringLiteral(" | "));
}

class TStation {
public:
    TStation(const QString& dossier, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
        : m_dossier(dossier)
    {
        m_p.setWorkingDirectory(dossier);
        m_p.setProcessEnvironment(env);
        m_p.start(Station, {});
        m_p.waitForStarted();
    }
    ~TStation()
    {
        if (m_p.state() != QProcess::NotRunning) {
            m_p.kill();
            m_p.waitForFinished();
        }
    }
    // Up: its signal handlers are in place once its folder is locked and the
    // window shown; a little margin for the start of its event loop.
    bool Lancee()
    {
        const bool ok = AttendreSansBoucle([&] { return QFile::exists(m_dossier + QStringLiteral("/Config.set.lock")); }, 20000);
        QThread::msleep(1500);
        if (m_p.state() != QProcess::Running)
            std::fprintf(stderr, "station: %s\n%s\n", qPrintable(m_p.errorString()), m_p.readAllStandardError().constData());
        return ok && m_p.state() == QProcess::Running;
    }
    void Signal(int s) { ::kill(static_cast<pid_t>(m_p.processId()), s); }
    // Exit status after an orderly end, -1 otherwise.
    int Fin()
    {
        if (!m_p.waitForFinished(15000))
            return -2;
        m_erreurs = m_p.readAllStandardError();
        return m_p.exitStatus() == QProcess::NormalExit ? m_p.exitCode() : -1;
    }
    const QByteArray& Erreurs() const { return m_erreurs; }

private:
    QString m_dossier;
    QProcess m_p;
    QByteArray m_erreurs;
};

// Codes 0 and 1 around a run ended by SIGTERM; a run killed without a word
// leaves no code 1, so the next start says so (Attribut1 = 1); SIGINT ends
// that one cleanly.
TEST(CycleStation, LancementEtFermetureAutourDesRuns)
{
    TDossierTemporaire dossier;
    const QString log = dossier.Chemin(QStringLiteral("Log.dat"));
    {
        TStation station(dossier.Dossier());
        ASSERT_TRUE(station.Lancee());
        ASSERT_TRUE(AttendreSansBoucle([&] { return Lire(log).size() == 1; }, 5000));
        station.Signal(SIGTERM);
        ASSERT_EQ(station.Fin(), 0) << station.Erreurs().constData();
    }
    auto e = Lire(log);
    ASSERT_EQ(e.size(), 2u) << Resume(e).toStdString();
    EXPECT_EQ(Resume(e), QStringLiteral("0/0/ | 1/0/signal 15"));
    EXPECT_LE(e[0].DateHeure, e[1].DateHeure);
    {
        TStation station(dossier.Dossier());
        ASSERT_TRUE(station.Lancee());
        ASSERT_TRUE(AttendreSansBoucle([&] { return Lire(log).size() == 3; }, 5000));
        station.Signal(SIGKILL);
        EXPECT_EQ(station.Fin(), -1);
    }
    EXPECT_TRUE(CycleStation::FinPrecedenteIncorrecte(log));
    {
        TStation station(dossier.Dossier());
        ASSERT_TRUE(station.Lancee());
        ASSERT_TRUE(AttendreSansBoucle([&] { return Lire(log).size() == 4; }, 5000));
        station.Signal(SIGINT);
        ASSERT_EQ(station.Fin(), 0);
    }
    e = Lire(log);
    EXPECT_EQ(Resume(e), QStringLiteral("0/0/ | 1/0/signal 15 | 0/0/ | 0/1/arrêt précédent non journalisé | 1/0/signal 2"));
    EXPECT_FALSE(CycleStation::FinPrecedenteIncorrecte(log));
}

// "Log.dat" a folder: the entries waiting when SIGTERM, then SIGINT, end the
// station go to the recovery file; a start with "Log.dat" still a folder
// cannot append them and leaves them there; the first start with a
// writable "Log.dat" appends them in order, journals its start and their
// count, and says so on standard error.
TEST(CycleStation, EntreesEnAttenteGardeesPuisRecuperees)
{
    TDossierTemporaire dossier;
    const QString log = dossier.Chemin(QStringLiteral("Log.dat"));
    const QString attente = dossier.Chemin(QStringLiteral("Log.dat.attente"));
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    for (const int signal : {SIGTERM, SIGINT}) {
        TStation station(dossier.Dossier());
        ASSERT_TRUE(station.Lancee());
        station.Signal(signal);
        ASSERT_EQ(station.Fin(), 0) << station.Erreurs().constData();
    }
    auto e = Lire(attente);
    EXPECT_EQ(Resume(e), QStringLiteral("0/0/ | 1/0/signal 15 | 0/0/ | 1/0/signal 2"));

    ASSERT_TRUE(QDir(dossier.Dossier()).rmdir(QStringLiteral("Log.dat")));
    {
        TStation station(dossier.Dossier());
        ASSERT_TRUE(station.Lancee());
        ASSERT_TRUE(AttendreSansBoucle([&] { return Lire(log).size() == 6; }, 5000));
        EXPECT_FALSE(QFile::exists(attente));
        station.Signal(SIGTERM);
        ASSERT_EQ(station.Fin(), 0);
        EXPECT_TRUE(station.Erreurs().contains("4 entrées récupérées")) << station.Erreurs().constData();
    }
    e = Lire(log);
    EXPECT_EQ(Resume(e), QStringLiteral("0/0/ | 1/0/signal 15 | 0/0/ | 1/0/signal 2 | 0/0/ | 0/0/4 entrées récupérées | "
                                        "1/0/signal 15"));
}

// The X server goes away under the station: its stop is journalled before
// the process ends.
TEST(CycleStation, AffichagePerdu)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "no Xvfb";
    TDossierTemporaire dossier;
    QProcess serveur;
    serveur.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    serveur.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec %1 -displayfd 1 -screen 0 1024x768x24 -nolisten tcp").arg(xvfb)});
    ASSERT_TRUE(AttendreSansBoucle([&] { serveur.waitForReadyRead(100); return serveur.canReadLine(); }, 10000));
    const QString affichage = QStringLiteral(":") + QString::fromLatin1(serveur.readLine()).trimmed();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), affichage);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QString log = dossier.Chemin(QStringLiteral("Log.dat"));
    TStation station(dossier.Dossier(), env);
    ASSERT_TRUE(station.Lancee());
    ASSERT_TRUE(AttendreSansBoucle([&] { return Lire(log).size() == 1; }, 5000));
    serveur.terminate();
    serveur.waitForFinished();
    EXPECT_NE(station.Fin(), -2) << "the station outlived its display";
    EXPECT_EQ(Resume(Lire(log)), QStringLiteral("0/0/ | 1/0/affichage perdu"));
}

} // namespace
