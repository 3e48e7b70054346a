// The device simulator run as the station meets it: a separate process on a
// pseudo-terminal or a TCP port, read and written with libmodbus as a master
// would, and steered through its standard input.
#include "support/OutilsTest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <modbus/modbus.h>
#include <unistd.h>

namespace {

// The simulator as a child process; stopped with SIGTERM at the end.
class TSimulateurLance {
public:
    explicit TSimulateurLance(const QStringList& arguments)
    {
        m_processus.start(QStringLiteral(VEILLEUR_SIMULATEUR_PROGRAMME), arguments);
        EXPECT_TRUE(m_processus.waitForStarted());
        const bool pty = arguments.contains(QStringLiteral("--pty"));
        const bool tcp = arguments.contains(QStringLiteral("--tcp"));
        if (pty)
            Pty = Ligne();
        if (tcp)
            Port = Ligne().toInt();
    }
    ~TSimulateurLance()
    {
        if (m_processus.state() != QProcess::NotRunning) {
            m_processus.terminate();
            m_processus.waitForFinished(5000);
        }
    }
    QString Ligne()
    {
        QElapsedTimer chrono;
        chrono.start();
        while (!m_processus.canReadLine() && chrono.elapsed() < 5000)
            m_processus.waitForReadyRead(50);
        return QString::fromLocal8Bit(m_processus.readLine()).trimmed();
    }
    void Commande(const char* ligne)
    {
        m_processus.write(QByteArray(ligne) + '\n');
        m_processus.waitForBytesWritten();
        QThread::msleep(150);  // read at the simulator's next turn, well within this
    }
    QProcess& Processus() { return m_processus; }

    QString Pty;
    int Port = -1;

private:
    QProcess m_processus;
};

// A libmodbus master, as the station's is, with a short reply timeout.
class TMaitre {
public:
    explicit TMaitre(const TSimulateurLance& s, bool tcp)
        : m_ctx(tcp ? modbus_new_tcp("127.0.0.1", s.Port) : modbus_new_rtu(s.Pty.toLocal8Bit().constData(), 19200, 'E', 8, 1))
    {
        EXPECT_NE(m_ctx, nullptr);
        EXPECT_EQ(modbus_connect(m_ctx), 0) << modbus_strerror(errno);
        modbus_set_response_timeout(m_ctx, 0, 300000);
    }
    ~TMaitre()
    {
        modbus_close(m_ctx);
        modbus_free(m_ctx);
    }
    // The registers read, empty on failure (the reason in Erreur).
    std::vector<uint16_t> Entrees(int unite, int adresse, int n) { return Lire(unite, adresse, n, modbus_read_input_registers); }
    std::vector<uint16_t> Maintien(int unite, int adresse, int n) { return Lire(unite, adresse, n, modbus_read_registers); }
    // 0 when written, else the errno of the failure.
    int Ecrire(int unite, int adresse, uint16_t valeur)
    {
        modbus_set_slave(m_ctx, unite);
        return modbus_write_register(m_ctx, adresse, valeur) == 1 ? 0 : errno;
    }
    int EcrirePlusieurs(int unite, int adresse, std::vector<uint16_t> valeurs)
    {
        modbus_set_slave(m_ctx, unite);
        return modbus_write_registers(m_ctx, adresse, int(valeurs.size()), valeurs.data()) == int(valeurs.size()) ? 0 : errno;
    }
    // A request the client library would not send; the reply's PDU, empty when none came.
    std::vector<uint8_t> Brut(std::vector<uint8_t> requete)
    {
        modbus_flush(m_ctx);
        modbus_set_slave(m_ctx, requete[0]);
        if (modbus_send_raw_request(m_ctx, requete.data(), int(requete.size())) < 0)
            return {};
        uint8_t reponse[MODBUS_MAX_ADU_LENGTH];
        const int n = modbus_receive_confirmation(m_ctx, reponse);
        const int entete = modbus_get_header_length(m_ctx);
        if (n <= entete)
            return {};
        return std::vector<uint8_t>(reponse + entete, reponse + n - (entete == 1 ? 2 : 0));
    }
    modbus_t* Ctx() { return m_ctx; }
    int Erreur = 0;

private:
    template <typename F>
    std::vector<uint16_t> Lire(int unite, int adresse, int n, F lire)
    {
        modbus_set_slave(m_ctx, unite);
        std::vector<uint16_t> v(static_cast<std::size_t>(n));
        if (lire(m_ctx, adresse, n, v.data()) != n) {
            Erreur = errno;
            modbus_flush(m_ctx);
            return {};
        }
        Erreur = 0;
        return v;
    }
    modbus_t* m_ctx;
};

uint32_t Mot32(const std::vector<uint16_t>& v, std::size_t i)
{
    return uint32_t(v[i]) << 16 | v[i + 1];
}

} // namespace

TEST(Simulateur, KmtMapOverBothLinesStartsWithoutMeasurementAndRejectsWhatIsNotInIt)
{
    TSimulateurLance s({"--pty", "--tcp", "0", "--kmt", "1-3,12", "--demarrage-ms", "800", "--derive", "0"});
    ASSERT_TRUE(s.Pty.startsWith("/dev/pts/")) << s.Pty.toStdString();
    ASSERT_GT(s.Port, 0);
    TMaitre rtu(s, false);
    TMaitre tcp(s, true);
    for (TMaitre* m : {&rtu, &tcp}) {
        for (int unite : {1, 12}) {
            const auto id = m->Entrees(unite, 0, 4);
            ASSERT_EQ(id.size(), 4u) << modbus_strerror(m->Erreur);
            EXPECT_EQ(id[0], 1);  // a KMT
            EXPECT_EQ(id[1], 1);
            const auto mesures = m->Entrees(unite, 10, 7);
            ASSERT_EQ(mesures.size(), 7u);
            EXPECT_EQ(mesures[1], 65535) << "no measurement while the device starts";
            EXPECT_EQ(mesures[2], 65535);
            EXPECT_EQ(mesures[3], 50);
        }
        EXPECT_TRUE(m->Entrees(4, 0, 4).empty()) << "a number not simulated stays silent";
        EXPECT_EQ(m->Erreur, ETIMEDOUT);
        EXPECT_TRUE(m->Entrees(1, 0, 17).empty());
        EXPECT_EQ(m->Erreur, EMBXILADD) << "registers 4-9 are not in the map";
        EXPECT_TRUE(m->Maintien(1, 99, 2).empty());
        EXPECT_EQ(m->Erreur, EMBXILADD);
        uint8_t bits[8];
        modbus_set_slave(m->Ctx(), 1);
        EXPECT_EQ(modbus_read_bits(m->Ctx(), 0, 8, bits), -1);
        EXPECT_EQ(errno, EMBXILFUN);
        modbus_flush(m->Ctx());
        EXPECT_EQ(m->Brut({1, 0x04, 0, 0, 0, 126}), (std::vector<uint8_t>{0x84, 3})) << "more than 125 registers";
        // A function the line cannot size is cut by the silence after it, and refused.
        EXPECT_EQ(m->Brut({12, 0x11}), (std::vector<uint8_t>{0x91, 1}));
    }
    QThread::msleep(1200);
    const auto id = tcp.Entrees(2, 0, 4);
    ASSERT_EQ(id.size(), 4u);
    EXPECT_GE(id[3], 1) << "heartbeat";
    const auto mesures = rtu.Entrees(2, 10, 7);
    ASSERT_EQ(mesures.size(), 7u);
    EXPECT_EQ(mesures[0], 0);
    EXPECT_EQ(mesures[1], 850);
    EXPECT_EQ(mesures[2], 850) << "lowest R";
}

TEST(Simulateur, KmtAlarmIsAcknowledgedPieceByPieceAndEveryStatusChangeIsCounted)
{
    TSimulateurLance s({"--tcp", "0", "--kmt", "5", "--demarrage-ms", "0", "--derive", "0"});
    TMaitre m(s, true);
    EXPECT_EQ(m.Ecrire(5, 100, 9), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(5, 100, 10001), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(5, 101, 4), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(5, 101, 0), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(5, 102, 1), EMBXILADD) << "half of the clock";
    EXPECT_EQ(m.EcrirePlusieurs(5, 100, {100, 7}), EMBXILVAL) << "nothing applied when one value is refused";
    EXPECT_EQ(m.Maintien(5, 100, 1), (std::vector<uint16_t>{50}));
    EXPECT_EQ(m.EcrirePlusieurs(5, 102, {uint16_t(1700000000u >> 16), uint16_t(1700000000u & 0xFFFF)}), 0);
    auto hr = m.Maintien(5, 100, 4);
    ASSERT_EQ(hr.size(), 4u);
    EXPECT_EQ(hr[1], 0) << "the command register reads 0";
    EXPECT_NEAR(double(Mot32(hr, 2)), 1700000000.0, 2.0);
    EXPECT_EQ(m.Ecrire(5, 100, 100), 0);
    EXPECT_EQ(m.Ecrire(5, 101, 2), 0) << "acknowledging what is not on is no error";

    enum { Pre = 1, Alarme = 2, Klaxon = 4, DCPlus = 16, PreAcq = 256, AlarmeAcq = 512, KlaxonAcq = 1024 };
    const auto etat = [&] { return m.Entrees(5, 10, 7); };
    auto v = etat();
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[3], 100) << "the threshold written is the one in force";
    const uint16_t compteur = v[6];

    s.Commande("r 5 150");
    v = etat();
    EXPECT_EQ(v[0], Pre);
    s.Commande("r 5 40");
    v = etat();
    EXPECT_EQ(v[0], Pre | Alarme | Klaxon);
    EXPECT_EQ(v[2], 40) << "lowest R";
    EXPECT_NEAR(double(Mot32(v, 4)), 1700000000.0, 3.0) << "the alarm's date, high word first";
    EXPECT_EQ(v[6], uint16_t(compteur + 2));
    EXPECT_EQ(m.Ecrire(5, 101, 1), 0);
    EXPECT_EQ(m.Ecrire(5, 101, 2), 0);
    EXPECT_EQ(m.Ecrire(5, 101, 3), 0);
    EXPECT_EQ(m.Ecrire(5, 101, 3), 0) << "safe to repeat";
    v = etat();
    EXPECT_EQ(v[0], Pre | Alarme | PreAcq | AlarmeAcq | KlaxonAcq);
    EXPECT_EQ(v[6], uint16_t(compteur + 5));
    s.Commande("r 5 150");
    v = etat();
    EXPECT_EQ(v[0], Pre | PreAcq) << "the alarm's acknowledgements end with it";
    s.Commande("r 5 40");
    EXPECT_EQ(etat()[0], Pre | PreAcq | Alarme | Klaxon) << "an alarm that starts again starts unacknowledged";

    // A condition that comes and goes between two reads still moves the counter.
    s.Commande("r 5 900");
    v = etat();
    EXPECT_EQ(v[0], 0);
    m.Ecrire(5, 100, 10);
    const uint16_t avant = etat()[6];
    s.Commande("r 5 15\nr 5 900");
    v = etat();
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[6], uint16_t(avant + 2));
    s.Commande("defaut 5 dc+ on");
    EXPECT_EQ(etat()[0], DCPlus);
    EXPECT_EQ(etat()[2], 15);
}

TEST(Simulateur, LineFaultsSilenceCorruptDelayAndFreezeOnlyWhatTheyAreToldTo)
{
    TSimulateurLance s({"--pty", "--kmt", "1,2", "--demarrage-ms", "0"});
    TMaitre m(s, false);
    ASSERT_EQ(m.Entrees(2, 0, 4).size(), 4u);

    s.Commande("muet 2");
    EXPECT_TRUE(m.Entrees(2, 0, 4).empty());
    EXPECT_EQ(m.Erreur, ETIMEDOUT);
    EXPECT_EQ(m.Entrees(1, 0, 4).size(), 4u) << "its neighbour still answers";
    s.Commande("repond 2");
    EXPECT_EQ(m.Entrees(2, 0, 4).size(), 4u);

    s.Commande("corrompre crc 1");
    EXPECT_TRUE(m.Entrees(1, 10, 7).empty());
    EXPECT_EQ(m.Erreur, EMBBADCRC);
    EXPECT_EQ(m.Entrees(1, 10, 7).size(), 7u) << "one reply only";
    s.Commande("corrompre unite 1");
    EXPECT_TRUE(m.Entrees(1, 10, 7).empty());
    EXPECT_EQ(m.Entrees(1, 10, 7).size(), 7u);

    // A request with a bad CRC gets no answer; the next one does.
    const uint8_t faux[] = {1, 4, 0, 0, 0, 4, 0x12, 0x34};
    ASSERT_EQ(write(modbus_get_socket(m.Ctx()), faux, sizeof faux), ssize_t(sizeof faux));
    uint8_t reponse[64];
    EXPECT_EQ(modbus_receive_confirmation(m.Ctx(), reponse), -1);
    EXPECT_EQ(errno, ETIMEDOUT);
    EXPECT_EQ(m.Entrees(1, 0, 4).size(), 4u);

    s.Commande("retard 500 1");
    EXPECT_TRUE(m.Entrees(1, 0, 4).empty()) << "later than the master waits";
    QThread::msleep(400);
    modbus_flush(m.Ctx());  // the late reply
    EXPECT_EQ(m.Entrees(1, 0, 4).size(), 4u);

    s.Commande("fige 1");
    const uint16_t battement = m.Entrees(1, 3, 1).at(0);
    const uint16_t voisin = m.Entrees(2, 3, 1).at(0);
    QThread::msleep(1100);
    EXPECT_EQ(m.Entrees(1, 3, 1).at(0), battement);
    EXPECT_GT(m.Entrees(2, 3, 1).at(0), voisin);
    s.Commande("libere 1");
    QThread::msleep(1100);
    EXPECT_GT(m.Entrees(1, 3, 1).at(0), battement);
}

TEST(Simulateur, SimulatedSpeedDelaysEachReplyByItsWireTime)
{
    TSimulateurLance s({"--pty", "--kmt", "1", "--vitesse-simulee", "2400"});
    TMaitre m(s, false);
    modbus_set_response_timeout(m.Ctx(), 1, 0);
    QElapsedTimer chrono;
    chrono.start();
    ASSERT_EQ(m.Entrees(1, 0, 4).size(), 4u);
    // 8 + 13 characters and the request's silence of 3.5 at 2400 baud: 112 ms.
    EXPECT_GE(chrono.elapsed(), 110);
    EXPECT_LT(chrono.elapsed(), 600);
}

TEST(Simulateur, QflSearchIsBusyWhileItRunsThenShowsTheFaultAndKeepsTheList)
{
    TSimulateurLance s({"--tcp", "0", "--qfl", "33,40", "--duree-recherche", "600"});
    TMaitre m(s, true);
    EXPECT_EQ(m.Entrees(40, 0, 4).at(0), 2) << "a QFL8";
    EXPECT_EQ(m.Maintien(33, 100, 7), (std::vector<uint16_t>{1000, 1000, 300, 50, 100, 200, 230}));
    EXPECT_EQ(m.Ecrire(33, 106, 1001), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(33, 104, 0), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(33, 103, 9), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(33, 110, 3), EMBXILVAL);
    EXPECT_EQ(m.Ecrire(33, 107, 1), EMBXILADD);
    EXPECT_EQ(m.Ecrire(33, 106, 400), 0);
    EXPECT_EQ(m.Maintien(33, 106, 1), (std::vector<uint16_t>{400})) << "a setting keeps its value";

    s.Commande("fuite 33 5 2 1 40");
    s.Commande("unites 33 1-4,17");
    EXPECT_EQ(m.Entrees(33, 12, 2), (std::vector<uint16_t>{0x000F, 0x0001}));
    EXPECT_EQ(m.Ecrire(33, 110, 1), 0);
    EXPECT_EQ(m.Entrees(33, 10, 2), (std::vector<uint16_t>{1, 0})) << "running, nothing completed";
    EXPECT_EQ(m.Ecrire(33, 110, 1), EMBXSBUSY);
    EXPECT_EQ(m.Ecrire(40, 110, 1), 0) << "another QFL8 searches on its own";
    QThread::msleep(800);
    const auto etat = m.Entrees(33, 10, 2);
    EXPECT_EQ(etat, (std::vector<uint16_t>{2, 1})) << "ended, a fault found";
    const auto resultats = m.Entrees(33, 20, 22);
    ASSERT_EQ(resultats.size(), 22u);
    EXPECT_NEAR(double(Mot32(resultats, 0)), double(std::time(nullptr)), 3.0);
    EXPECT_EQ(resultats[2], 1000) << "400 V through 40 kOhm: 10.00 mA";
    EXPECT_EQ(resultats[3], 40);
    // Unit 2, feeder 5, in pieces of at most 125 registers.
    std::vector<uint16_t> unites;
    for (int debut = 100; debut <= 595; debut += 125) {
        const auto morceau = m.Entrees(33, debut, std::min(125, 596 - debut));
        ASSERT_FALSE(morceau.empty());
        unites.insert(unites.end(), morceau.begin(), morceau.end());
    }
    ASSERT_EQ(unites.size(), 496u);
    for (std::size_t i = 0; i < unites.size(); ++i)
        EXPECT_EQ(unites[i], i == 16 + 4 ? 1000 : 0) << "register " << 100 + i;
    EXPECT_EQ(m.Brut({33, 0x04, 0x01, 0xF4, 0, 126}), (std::vector<uint8_t>{0x84, 3}));
    auto liste = m.Entrees(33, 600, 80);
    ASSERT_EQ(liste.size(), 80u);
    EXPECT_EQ(std::vector<uint16_t>(liste.begin(), liste.begin() + 4), (std::vector<uint16_t>{5, 2, 40, 1000}));
    EXPECT_EQ(Mot32(liste, 4), Mot32(resultats, 0));
    EXPECT_EQ(liste[6], 1) << "conductor L1";
    EXPECT_EQ(liste[8], 0) << "the rest of the list is empty";

    // A fault on the QFL8's own feeder goes first; a fault behind a unit not connected is not found.
    s.Commande("duree-recherche 33 200");
    s.Commande("fuite 33 4 0 3 200");
    EXPECT_EQ(m.Ecrire(33, 110, 1), 0);
    QThread::msleep(400);
    liste = m.Entrees(33, 600, 16);
    EXPECT_EQ(std::vector<uint16_t>(liste.begin(), liste.begin() + 4), (std::vector<uint16_t>{4, 0, 200, 200}));
    EXPECT_EQ(std::vector<uint16_t>(liste.begin() + 8, liste.begin() + 12), (std::vector<uint16_t>{5, 2, 40, 1000}));
    EXPECT_EQ(m.Entrees(33, 28, 2), (std::vector<uint16_t>{200, 200})) << "feeder 4";
    EXPECT_EQ(m.Entrees(33, 120, 1), (std::vector<uint16_t>{0})) << "the results are the last search's";
    s.Commande("fuite 33 5 9 1 40");
    EXPECT_EQ(m.Ecrire(33, 110, 1), 0);
    QThread::msleep(400);
    EXPECT_EQ(m.Entrees(33, 10, 2), (std::vector<uint16_t>{0, 3}));
    EXPECT_EQ(m.Entrees(33, 600, 1), (std::vector<uint16_t>{4}));
}

TEST(Simulateur, CommandLineConsoleScenarioAndStopping)
{
    TResultatProgramme aide = LancerProgramme(QStringLiteral(VEILLEUR_SIMULATEUR_PROGRAMME), {"--help"});
    EXPECT_EQ(aide.Code, 0);
    for (const char* mot : {"--pty", "--tcp", "--vitesse-simulee", "corrompre", "fuite", "retard"})
        EXPECT_TRUE(aide.Sortie.contains(mot)) << mot;
    TResultatProgramme version = LancerProgramme(QStringLiteral(VEILLEUR_SIMULATEUR_PROGRAMME), {"--version"});
    EXPECT_EQ(version.Code, 0);
    EXPECT_TRUE(version.Sortie.startsWith("veilleur-simulateur ")) << version.Sortie.toStdString();
    for (const QStringList& mauvais : {QStringList{"--tcp", "0", "--kmt", "1", "--inconnue"}, QStringList{"--tcp", "0", "--kmt", "32"},
                                       QStringList{"--tcp", "0", "--qfl", "1"}, QStringList{"--kmt", "1"}}) {
        TResultatProgramme r = LancerProgramme(QStringLiteral(VEILLEUR_SIMULATEUR_PROGRAMME), mauvais);
        EXPECT_EQ(r.Code, 2) << mauvais.join(' ').toStdString();
        EXPECT_EQ(r.Erreurs.count('\n'), 1) << r.Erreurs.toStdString();
    }

    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("scenario.txt"), "# a test\n0.3 r 7 20\n\n0.1 seuil 7 30\n");
    const QString lien = dossier.Chemin("ligne");
    TSimulateurLance s({"--pty", lien, "--kmt", "7", "--demarrage-ms", "0", "--derive", "0", "--scenario",
                        dossier.Chemin("scenario.txt")});
    EXPECT_EQ(QFileInfo(lien).symLinkTarget(), s.Pty);
    TMaitre m(s, false);
    s.Commande("nimporte quoi");
    QByteArray erreurs;
    QElapsedTimer chrono;
    chrono.start();
    while (!erreurs.contains('\n') && chrono.elapsed() < 3000) {
        s.Processus().waitForReadyRead(50);
        erreurs += s.Processus().readAllStandardError();
    }
    QThread::msleep(100);
    erreurs += s.Processus().readAllStandardError();
    EXPECT_EQ(erreurs.count('\n'), 1) << erreurs.toStdString();
    QThread::msleep(300);
    const auto v = m.Entrees(7, 10, 4);
    ASSERT_EQ(v.size(), 4u) << "still serving";
    EXPECT_EQ(v[0] & 3, 3) << "the scenario's alarm";
    EXPECT_EQ(v[3], 30);
    s.Commande("etat 7");
    EXPECT_TRUE(s.Ligne().startsWith("KMT 7: R 20 kOhm"));

    s.Processus().closeWriteChannel();
    QThread::msleep(200);
    EXPECT_EQ(m.Entrees(7, 0, 4).size(), 4u) << "standard input closed, still serving";
    s.Processus().terminate();
    ASSERT_TRUE(s.Processus().waitForFinished(3000));
    EXPECT_EQ(s.Processus().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(s.Processus().exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(lien) || QFileInfo(lien).isSymLink()) << "the link goes with it";

    QProcess arret;
    arret.start(QStringLiteral(VEILLEUR_SIMULATEUR_PROGRAMME), {"--tcp", "0", "--kmt", "1", "--arret-fin-entree"});
    ASSERT_TRUE(arret.waitForStarted());
    arret.closeWriteChannel();
    ASSERT_TRUE(arret.waitForFinished(3000)) << "stops when told to at the end of its input";
    EXPECT_EQ(arret.exitCode(), 0);
}

TEST(Simulateur, RequestsJoinedOrSplitOnTheLineAreEachAnsweredOnce)
{
    TSimulateurLance s({"--pty", "--tcp", "0", "--kmt", "3", "--demarrage-ms", "0"});
    const auto lire = [](int fd, std::size_t attendus) {
        QByteArray recu;
        QElapsedTimer chrono;
        chrono.start();
        while (std::size_t(recu.size()) < attendus && chrono.elapsed() < 2000) {
            char tampon[256];
            const ssize_t n = read(fd, tampon, sizeof tampon);
            if (n > 0)
                recu.append(tampon, n);
            else
                QThread::msleep(10);
        }
        QThread::msleep(100);
        char tampon[256];
        const ssize_t n = read(fd, tampon, sizeof tampon);
        if (n > 0)
            recu.append(tampon, n);  // anything more is a fault
        return recu;
    };

    // RTU: two requests in one write, each read with its own reply (kind, then threshold).
    TMaitre rtu(s, false);
    const int ligne = modbus_get_socket(rtu.Ctx());
    const QByteArray deux = QByteArray::fromHex("030400000001" "3028" "0304000d0001" "a1eb");
    ASSERT_EQ(write(ligne, deux.constData(), std::size_t(deux.size())), deux.size());
    EXPECT_EQ(lire(ligne, 14).toHex(), QByteArray("0304020001" "0130" "0304020032" "4125"));

    // TCP: two requests in one segment, then one in two segments.
    TMaitre tcp(s, true);
    const int socket = modbus_get_socket(tcp.Ctx());
    fcntl(socket, F_SETFL, fcntl(socket, F_GETFL) | O_NONBLOCK);
    const QByteArray a = QByteArray::fromHex("000700000006030400000001");
    const QByteArray b = QByteArray::fromHex("0008000000060304000d0001");
    const QByteArray ab = a + b;
    ASSERT_EQ(write(socket, ab.constData(), std::size_t(ab.size())), ab.size());
    EXPECT_EQ(lire(socket, 22).toHex(), QByteArray("0007000000050304020001" "0008000000050304020032"));
    ASSERT_EQ(write(socket, b.constData(), 5), 5);
    QThread::msleep(50);
    ASSERT_EQ(write(socket, b.constData() + 5, std::size_t(b.size() - 5)), b.size() - 5);
    EXPECT_EQ(lire(socket, 11).toHex(), QByteArray("0008000000050304020032"));
}

TEST(Simulateur, KmtResistanceWandersAroundItsBaseAndTheLowestIsKept)
{
    TSimulateurLance s({"--tcp", "0", "--kmt", "9", "--demarrage-ms", "0", "--derive", "10", "--graine", "7"});
    TMaitre m(s, true);
    s.Commande("r 9 1000");
    std::set<uint16_t> vus;
    uint16_t plusBas = 65535;
    for (int i = 0; i < 4; ++i) {
        const auto v = m.Entrees(9, 11, 2);
        ASSERT_EQ(v.size(), 2u);
        vus.insert(v[0]);
        plusBas = std::min(plusBas, v[0]);
        EXPECT_GT(v[0], 600);
        EXPECT_LT(v[0], 1400);
        EXPECT_LE(v[1], plusBas) << "the lowest R is never above one read";
        QThread::msleep(1000);
    }
    EXPECT_GE(vus.size(), 3u) << "R moves";
    s.Commande("derive 9 0");
    s.Commande("r 9 1000");
    QThread::msleep(1100);
    EXPECT_EQ(m.Entrees(9, 11, 1), (std::vector<uint16_t>{1000})) << "steady without wander";
}
