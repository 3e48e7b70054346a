// The programs of the package as a user meets them: --help, --version and a
// wrong option never start anything nor make a folder; one station per data
// folder, a crashed one's lock taken over; the journal tool finding the
// installed station's journal and naming each entry's source.
#include "data/ConfigSet.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString Station = QStringLiteral(VEILLEUR_STATION);
const QString Lanceur = QStringLiteral(VEILLEUR_LANCEUR);
const QString Journal = QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME);

// Runs a program in a folder with HOME set, no display and no XDG_DATA_HOME
// unless given.
TResultatProgramme Lancer(const QString& programme, const QStringList& arguments, const QString& dossier,
                          const QString& home, const QString& xdg = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    for (const char* nom : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME"})
        env.remove(QString::fromLatin1(nom));
    if (!xdg.isEmpty())
        env.insert(QStringLiteral("XDG_DATA_HOME"), xdg);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dossier);
    p.start(programme, arguments);
    TResultatProgramme r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.Sortie = p.readAllStandardOutput();
    r.Erreurs = p.readAllStandardError();
    if (p.exitStatus() == QProcess::NormalExit)
        r.Code = p.exitCode();
    return r;
}

QStringList Contenu(const QString& dossier)
{
    return QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(Programmes, HelpVersionAndWrongOptionsStartNothing)
{
    TDossierTemporaire dossier;
    const QString home = dossier.Chemin(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkdir(home));
    struct TCas {
        QString Programme, Nom;
    };
    for (const TCas& c : {TCas{Station, "Veilleur"}, TCas{Lanceur, "veilleur"}, TCas{Journal, "veilleur-journal"}}) {
        SCOPED_TRACE(c.Nom.toStdString());
        for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            const TResultatProgramme r = Lancer(c.Programme, {option}, dossier.Dossier(), home);
            EXPECT_EQ(r.Code, 0);
            EXPECT_TRUE(r.Sortie.startsWith("Usage: " + c.Nom.toUtf8() + ' ')) << r.Sortie.constData();
            EXPECT_TRUE(r.Sortie.contains("--version"));
            EXPECT_TRUE(r.Erreurs.isEmpty()) << r.Erreurs.constData();
        }
        for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-V")}) {
            const TResultatProgramme r = Lancer(c.Programme, {option}, dossier.Dossier(), home);
            EXPECT_EQ(r.Code, 0);
            EXPECT_EQ(r.Sortie, c.Nom.toUtf8() + " (Orvane.PC) " VEILLEUR_VERSION_TEXTE "\n");
        }
        // One sentence, status 2; the launcher must not take an option for a folder.
        for (const QStringList& arguments : {QStringList{"--help-me"}, QStringList{"-x"}, QStringList{"--bogus", "dossier"}}) {
            const TResultatProgramme r = Lancer(c.Programme, arguments, dossier.Dossier(), home);
            EXPECT_EQ(r.Code, 2) << arguments.join(' ').toStdString();
            EXPECT_TRUE(r.Sortie.isEmpty());
            EXPECT_EQ(r.Erreurs.count('\n'), 1) << r.Erreurs.constData();
            EXPECT_TRUE(r.Erreurs.startsWith(c.Nom.toUtf8() + ": ")) << r.Erreurs.constData();
            EXPECT_TRUE(r.Erreurs.contains(arguments.first().toUtf8())) << r.Erreurs.constData();
        }
        EXPECT_EQ(Contenu(dossier.Dossier()), QStringList{"home"});
        EXPECT_TRUE(Contenu(home).isEmpty()) << Contenu(home).join(' ').toStdString();
    }
    // The launcher takes one folder; "--" lets a folder's name start with a dash.
    TResultatProgramme r = Lancer(Lanceur, {"a", "b"}, dossier.Dossier(), home);
    EXPECT_EQ(r.Code, 2);
    r = Lancer(Lanceur, {"--", "--help"}, dossier.Dossier(), home);
    EXPECT_EQ(r.Code, 1);  // past the options, stopped for want of a display
    EXPECT_TRUE(r.Erreurs.contains("graphical session")) << r.Erreurs.constData();
    EXPECT_EQ(Contenu(dossier.Dossier()), QStringList{"home"});
}

// The real station, off-screen, in a folder of its own.
class TStation {
public:
    explicit TStation(const QString& dossier)
    {
        m_p.setWorkingDirectory(dossier);
        m_p.setProcessChannelMode(QProcess::SeparateChannels);
        m_p.start(Station, {});
    }
    ~TStation()
    {
        if (m_p.state() != QProcess::NotRunning) {
            m_p.kill();
            m_p.waitForFinished();
        }
    }
    QProcess& Processus() { return m_p; }

private:
    QProcess m_p;
};

TEST(Programmes, OneStationPerFolderAndACrashedOnesLockIsTakenOver)
{
    TDossierTemporaire dossier;
    const QString verrou = dossier.Chemin(QStringLiteral("Config.set.lock"));
    const auto detenteur = [&] { return QFile::exists(verrou) ? LireFichier(verrou).split('\n').first().toLongLong() : 0; };

    TStation premiere(dossier.Dossier());
    ASSERT_TRUE(premiere.Processus().waitForStarted());
    const qint64 pid = premiere.Processus().processId();
    ASSERT_TRUE(AttendreSansBoucle([&] { return detenteur() == pid; }, 20000));

    // A second start ends at once, naming the folder and the running station.
    TStation seconde(dossier.Dossier());
    ASSERT_TRUE(seconde.Processus().waitForFinished(20000));
    EXPECT_EQ(seconde.Processus().exitCode(), 1);
    const QByteArray erreurs = seconde.Processus().readAllStandardError();
    EXPECT_TRUE(erreurs.contains("Veilleur: a station already runs in " + QDir::currentPath().toUtf8()
                                 + " (process " + QByteArray::number(pid) + ")"))
        << erreurs.constData();
    EXPECT_EQ(premiere.Processus().state(), QProcess::Running);

    // Another folder is another station.
    TDossierTemporaire autre;
    TStation ailleurs(autre.Dossier());
    EXPECT_FALSE(ailleurs.Processus().waitForFinished(2500));

    // A crash leaves the lock behind; the next start takes it over and runs.
    ::kill(pid_t(pid), SIGKILL);
    ASSERT_TRUE(premiere.Processus().waitForFinished(10000));
    ASSERT_EQ(detenteur(), pid);
    TStation troisieme(dossier.Dossier());
    ASSERT_TRUE(troisieme.Processus().waitForStarted());
    EXPECT_TRUE(AttendreSansBoucle([&] { return detenteur() == troisieme.Processus().processId(); }, 20000))
        << troisieme.Processus().readAllStandardError().constData();
    EXPECT_EQ(troisieme.Processus().state(), QProcess::Running);
}

TEST(Programmes, JournalToolReadsTheStationsFolderAndNamesSources)
{
    TDossierTemporaire dossier;
    const QString home = dossier.Chemin(QStringLiteral("home"));
    const QString station = home + QStringLiteral("/.local/share/veilleur");
    ASSERT_TRUE(QDir().mkpath(station));
    ASSERT_TRUE(QDir().mkdir(dossier.Chemin(QStringLiteral("vide"))));
    // Device 26 falls below its threshold at the third entry, QFL 40 is on
    // source 8, device 0 on none.
    const double jour = 46364.25;
    EcrireEntrees(station + QStringLiteral("/Log.dat"),
                  {EntreeDeTest(7, jour, 26, 150, 100), EntreeDeTest(7, jour + 0.001, 26, 120, 100),
                   EntreeDeTest(7, jour + 0.002, 26, 95, 100), EntreeDeTest(7, jour + 0.003, 40, 180, 100),
                   EntreeDeTest(1, jour + 0.004, 0, 0, 0)});
    TConfigSet config{};
    EcrireChaine(config.NomsSources[26], QStringLiteral("Bloc op., salle \"3\""));
    EcrireChaine(config.NomsSources[8], QStringLiteral("Réveil"));
    EnregistrerConfig(config, station + QStringLiteral("/Config.set"));

    // From a folder without a journal: the station's one, said on stderr.
    const QString vide = dossier.Chemin(QStringLiteral("vide"));
    TResultatProgramme r = Lancer(Journal, {"export"}, vide, home);
    ASSERT_EQ(r.Code, 0) << r.Erreurs.constData();
    EXPECT_EQ(r.Erreurs, "veilleur-journal: no Log.dat in the current folder; reading " + station.toUtf8() + "/Log.dat\n");
    const QList<QByteArray> lignes = r.Sortie.split('\n');
    ASSERT_EQ(lignes.size(), 7);
    EXPECT_EQ(lignes[0], "index,code,evenement,date,jours,origine,attribut1,attribut2,infos,valeur1,valeur2,valeur3,source\r");
    EXPECT_TRUE(lignes[1].endsWith(",26,0,1,,150,100,0,\"Bloc op., salle \"\"3\"\"\"\r")) << lignes[1].constData();
    EXPECT_TRUE(lignes[4].endsWith(",40,0,1,,180,100,0,Réveil\r")) << lignes[4].constData();
    EXPECT_TRUE(lignes[5].endsWith(",0,0,1,,0,0,0,\r")) << lignes[5].constData();

    r = Lancer(Journal, {"export", "--format", "json", "--origine", "26"}, vide, home);
    ASSERT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Sortie.startsWith("{\"index\":0,\"code\":7,")) << r.Sortie.constData();
    EXPECT_TRUE(r.Sortie.contains("\"valeur3\":0,\"source\":\"Bloc op., salle \\\"3\\\"\"}\n{\"index\":1,"))
        << r.Sortie.constData();
    r = Lancer(Journal, {"export", "--format", "json", "--origine", "0"}, vide, home);
    EXPECT_TRUE(r.Sortie.endsWith("\"valeur3\":0,\"source\":null}\n")) << r.Sortie.constData();

    // The trend in plain words: the device, its source, when the threshold was reached.
    r = Lancer(Journal, {"tendance"}, vide, home);
    ASSERT_EQ(r.Code, 0);
    const QString texte = QString::fromUtf8(r.Sortie);
    EXPECT_TRUE(texte.contains("\nKMT 26 \"Bloc op., salle \"3\"\": 3 entries from 2026-12-08T06:00:00.000 to "
                               "2026-12-08T06:02:52.800; lowest resistance 95 kOhm, threshold 100 kOhm, reached "
                               "2026-12-08T06:02:52.800\n"))
        << r.Sortie.constData();
    EXPECT_TRUE(texte.contains("\nQFL 40 \"Réveil\": 1 entry from")) << r.Sortie.constData();
    EXPECT_TRUE(texte.contains("threshold 100 kOhm, not reached; not enough data for an estimate\n"));
    EXPECT_TRUE(texte.contains("\ndevice 0: 1 entry")) << r.Sortie.constData();

    // An absolute XDG_DATA_HOME is the launcher's choice, so the tool's too.
    const QString xdg = dossier.Chemin(QStringLiteral("xdg"));
    ASSERT_TRUE(QDir().mkpath(xdg + QStringLiteral("/veilleur")));
    EcrireEntrees(xdg + QStringLiteral("/veilleur/Log.dat"), {EntreeDeTest(7, jour, 12, 150, 100)});
    r = Lancer(Journal, {"export"}, vide, home, xdg);
    EXPECT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Erreurs.contains(xdg.toUtf8() + "/veilleur/Log.dat")) << r.Erreurs.constData();
    // No Config.set beside it: the export's fields are the usual ones.
    EXPECT_TRUE(r.Sortie.startsWith("index,code,evenement,date,jours,origine,attribut1,attribut2,infos,valeur1,valeur2,valeur3\r\n0,7,"))
        << r.Sortie.constData();
    EXPECT_TRUE(r.Sortie.endsWith(",12,0,1,,150,100,0\r\n"));

    // A journal in the current folder comes first, and is not announced.
    QFile::copy(xdg + QStringLiteral("/veilleur/Log.dat"), vide + QStringLiteral("/Log.dat"));
    r = Lancer(Journal, {"verifier"}, vide, home);
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Sortie, "1 record, no problem found\n");
    EXPECT_TRUE(r.Erreurs.isEmpty()) << r.Erreurs.constData();
}

} // namespace
