// Measures the communication layer against real lines: the poll cycle over a
// simulated 19200-baud line, the CPU it takes over TCP, what it does to an
// event-loop thread that reads the records every second while every device
// times out, and how soon a change at a device reaches its record.
// Run through bench/mesurer_liaison.sh; each mode prints its figures.
#include "data/VerrouDonnees.h"
#include "liaison/ConfigReseau.h"
#include "liaison/Liaison.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using THorloge = std::chrono::steady_clock;

double SecondesDepuis(THorloge::time_point t)
{
    return std::chrono::duration<double>(THorloge::now() - t).count();
}

// Keeps the event loop turning (queued signals, process output) while waiting.
bool Attendre(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The simulator, steered through its standard input.
class TSimulateur {
public:
    // Returns the first line it prints: the pty's path, or the TCP port.
    QString Lancer(const QString& programme, const QStringList& arguments)
    {
        m_p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_p.start(programme, arguments);
        if (!m_p.waitForStarted(5000) || !Attendre([&] { return m_p.canReadLine(); }, 10000)) {
            std::fprintf(stderr, "the simulator did not start: %s\n", qPrintable(programme));
            std::exit(2);
        }
        return QString::fromLocal8Bit(m_p.readLine()).trimmed();
    }
    void Dire(const QByteArray& commande)
    {
        m_p.write(commande + '\n');
        m_p.waitForBytesWritten(1000);
    }
    double SecondesCpu() const
    {
        std::ifstream f("/proc/" + std::to_string(m_p.processId()) + "/stat");
        std::string ligne;
        std::getline(f, ligne);
        // Fields after the command name in parentheses; utime and stime are 14 and 15.
        std::istringstream champs(ligne.substr(ligne.rfind(')') + 2));
        std::string champ;
        double ticks = 0;
        for (int i = 3; i <= 15 && champs >> champ; ++i)
            if (i >= 14)
                ticks += std::stod(champ);
        return ticks / double(sysconf(_SC_CLK_TCK));
    }
    ~TSimulateur()
    {
        m_p.kill();
        m_p.waitForFinished(3000);
    }

private:
    QProcess m_p;
};

double CpuSelf()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct TBanc {
    TVerrouDonnees Verrou;
    std::unique_ptr<Tableau1<TDonneesKMT, NbSources>> Donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::unique_ptr<Tableau1<TDonneesQFL, NbSources>> QFL;  // with fault locators only
    std::unique_ptr<TLiaison> Liaison;
    std::vector<TEntreeLog> Entrees;
    std::vector<TLiaison::TResultat> Resultats;

    explicit TBanc(const TConfigReseau& config, bool avecQFL = false)
    {
        if (avecQFL) {
            QFL = std::make_unique<Tableau1<TDonneesQFL, NbSources>>();
            Liaison = std::make_unique<TLiaison>(config, Verrou, *Donnees, *QFL);
        } else {
            Liaison = std::make_unique<TLiaison>(config, Verrou, *Donnees);
        }
        // Drained on this thread, as the window does.
        QObject::connect(Liaison.get(), &TLiaison::Disponible, [this] {
            for (const TEntreeLog& e : Liaison->PrendreEntrees())
                Entrees.push_back(e);
            for (const auto& r : Liaison->PrendreResultats())
                Resultats.push_back(r);
        });
        Liaison->Demarrer();
    }
    int EnLigne(const std::vector<int>& numeros)
    {
        TLectureDonnees l(Verrou);
        return int(std::count_if(numeros.begin(), numeros.end(),
                                 [&](int n) { return (*Donnees)[n].EtatCom == ComEnLigne; }));
    }
};

std::vector<int> Numeros(const QString& liste)
{
    std::vector<int> v;
    LireListeAppareils(liste, v);
    return v;
}

TConfigReseau ConfigPty(const QString& chemin, int vitesse, const QString& liste)
{
    TConfigReseau c;
    c.Type = TConfigReseau::TType::Rtu;
    c.Peripherique = chemin;
    c.Vitesse = vitesse;
    c.Parite = 'E';
    c.Appareils = Numeros(liste);
    c.ListeDonnee = true;
    return c;
}

// The wire time of one transaction: request and reply, each closed by 3.5
// characters of silence, 11 bits a character.
double TempsFilMs(int octetsRequete, int octetsReponse, int vitesse)
{
    return (octetsRequete + octetsReponse + 7.0) * 11.0 * 1000.0 / vitesse;
}

void Usage()
{
    std::fputs("Usage: mesure-liaison SIMULATOR MODE [arguments]\n"
               "  cycle VITESSE KMT_SIMULES LISTE SECONDES\n"
               "  recherches VITESSE   (31 KMT and 31 QFL8, while searches' results are read)\n"
               "  cpu KMT_SIMULES SECONDES\n"
               "  tic VITESSE KMT_SIMULES SECONDES\n"
               "  latence VITESSE KMT_SIMULES ESSAIS\n"
               "  essai RESEAU.INI SECONDES   (any device, e.g. the independent one)\n",
               stderr);
    std::exit(2);
}

// The poll cycle against its floor.
int Cycle(const QString& simulateur, int vitesse, const QString& kmt, const QString& liste, int secondes)
{
    TSimulateur sim;
    const QString pty = sim.Lancer(simulateur, {"--pty", "--kmt", kmt, "--demarrage-ms", "0", "--vitesse-simulee",
                                                QString::number(vitesse)});
    TBanc banc(ConfigPty(pty, vitesse, liste));
    const std::vector<int> simules = Numeros(kmt);
    if (!Attendre([&] { return banc.EnLigne(simules) == int(simules.size()); }, 60000)) {
        std::fprintf(stderr, "only %d of %zu devices came online\n", banc.EnLigne(simules), simules.size());
        return 1;
    }
    // Past the first cycles (clock checks, the first split read).
    Attendre([] { return false; }, 3000);

    std::vector<double> durees;  // ms, each cycle's own
    std::vector<double> fins;    // s, when each was seen done
    std::uint64_t vu = banc.Liaison->Statistiques().Cycles;
    const auto t0 = THorloge::now();
    while (SecondesDepuis(t0) < secondes) {
        const TLiaison::TStatistiquesCycle st = banc.Liaison->Statistiques();
        if (st.Cycles != vu) {
            durees.push_back(st.DureeUs / 1000.0);
            fins.push_back(SecondesDepuis(t0));
            vu = st.Cycles;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    if (durees.size() < 3) {
        std::fprintf(stderr, "too few cycles: measure longer\n");
        return 1;
    }
    const double periode = (fins.back() - fins.front()) * 1000.0 / double(fins.size() - 1);

    // The simulator refuses a read across the unmapped IR 4..9, so each KMT
    // takes two reads: IR 0..3 (reply 13 bytes) and IR 10..16 (reply 19 bytes),
    // each request 8 bytes.
    const double parKmt = TempsFilMs(8, 5 + 2 * 4, vitesse) + TempsFilMs(8, 5 + 2 * 7, vitesse);
    const double plancher = parKmt * double(simules.size());
    // A number that never answers holds the line for its request and the
    // whole response delay; the layer tries one such number a cycle at most.
    const double sonde = 8 * 11.0 * 1000.0 / vitesse + 300.0;
    // Numbers listed that the simulator does not serve can make a cycle longer
    // by one response delay; tell those cycles apart.
    const std::vector<int> listes = Numeros(liste);
    const bool silencieux = std::any_of(listes.begin(), listes.end(), [&](int n) {
        return std::find(simules.begin(), simules.end(), n) == simules.end();
    });
    std::vector<double> sans, avec;
    for (double d : durees)
        (silencieux && d > plancher + 0.75 * sonde ? avec : sans).push_back(d);
    const auto afficher = [&](const char* quoi, std::vector<double> v, double p) {
        if (v.empty())
            return;
        std::sort(v.begin(), v.end());
        const double moyenne = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
        std::printf("  %s: %zu cycles, floor %.1f ms; mean %.1f ms, max %.1f ms -> mean %.3f x floor, max %.3f x "
                    "floor\n",
                    quoi, v.size(), p, moyenne, v.back(), moyenne / p, v.back() / p);
    };
    std::printf("cycle: %zu KMT answering, list %s, %d baud, %zu cycles over %.1f s\n", simules.size(),
                qPrintable(liste), vitesse, durees.size(), SecondesDepuis(t0));
    std::printf("  floor = wire time of the reads, %.2f ms a KMT (two reads, 3.5 characters of silence after each "
                "frame)\n",
                parKmt);
    afficher("cycles polling only", sans, plancher);
    afficher("cycles that also tried a silent number", avec, plancher + sonde);
    // Counting only one silence a transaction (none between request and
    // reply, which no RTU device can do) gives a stricter floor.
    const double strict = plancher - double(simules.size()) * 2 * 3.5 * 11.0 * 1000.0 / vitesse;
    if (!sans.empty())
        std::printf("  with one silence a transaction only: floor %.1f ms, mean of the polling cycles %.3f x\n",
                    strict, std::accumulate(sans.begin(), sans.end(), 0.0) / double(sans.size()) / strict);
    std::printf("  period between cycle ends: %.1f ms (%.3f x the polling floor; the layer waits %d ms at least)\n",
                periode, periode / plancher, TLiaison::CycleMinMs);
    return 0;
}

// The layer's own account of each new cycle over a time: duration, floor
// (the wire time of its transactions at the line's speed), transactions.
struct TCumulCycles {
    double Duree = 0, Plancher = 0, Pire = 0;
    int Cycles = 0, Transactions = 0;
};

TCumulCycles Cumuler(TLiaison& liaison, int ms)
{
    TCumulCycles m;
    std::uint64_t dernier = liaison.Statistiques().Cycles;
    Attendre([&] {
        const TLiaison::TStatistiquesCycle s = liaison.Statistiques();
        if (s.Cycles != dernier) {
            dernier = s.Cycles;
            ++m.Cycles;
            m.Duree += double(s.DureeUs);
            m.Plancher += double(s.PlancherUs);
            m.Transactions += s.Transactions;
            m.Pire = std::max(m.Pire, double(s.DureeUs) / double(s.PlancherUs));
        }
        return false;
    }, ms);
    return m;
}

void AfficherCumul(const char* phase, const TCumulCycles& m)
{
    if (m.Cycles == 0) {
        std::printf("  %s: no cycle\n", phase);
        return;
    }
    std::printf("  %-32s %3d cycles, %5.1f transactions, cycle %7.1f ms, floor %7.1f ms, ratio %.3f (worst %.3f)\n",
                phase, m.Cycles, double(m.Transactions) / m.Cycles, m.Duree / m.Cycles / 1000,
                m.Plancher / m.Cycles / 1000, m.Duree / m.Plancher, m.Pire);
}

// The poll cycle with 31 KMT and 31 QFL8 against its floor, steady, then while
// one search's results are read, then while 31 are. Start-up takes minutes:
// every locator's last search is fetched first, a few pieces a cycle.
int Recherches(const QString& simulateur, int vitesse)
{
    TSimulateur sim;
    const QString pty =
        sim.Lancer(simulateur, {"--pty", "--kmt", "1-31", "--qfl", "33-63", "--demarrage-ms", "0",
                                "--vitesse-simulee", QString::number(vitesse), "--duree-recherche", "3000"});
    TBanc banc(ConfigPty(pty, vitesse, QStringLiteral("1-31,33-63")), true);
    const auto prets = [&] {
        TLectureDonnees lecture(banc.Verrou);
        int n = 0;
        for (int i = 1; i <= NbSources; ++i)
            n += ((*banc.Donnees)[i].EtatCom == ComEnLigne) + ((*banc.QFL)[i].ResultatsConnus && (*banc.QFL)[i].ReglagesConnus);
        return n;
    };
    if (!Attendre([&] { return prets() == 2 * NbSources; }, 400000)) {
        std::fprintf(stderr, "devices not ready (%d of 62)\n", prets());
        return 1;
    }
    std::printf("cycle: 31 KMT and 31 QFL8, %d baud\n", vitesse);
    AfficherCumul("steady (62 devices)", Cumuler(*banc.Liaison, 12000));
    banc.Liaison->LancerRecherche(40, QStringLiteral("bench"));
    AfficherCumul("one search's results read", Cumuler(*banc.Liaison, 12000));
    for (int n = PremierQFL; n <= DernierQFL; ++n)
        banc.Liaison->LancerRecherche(n, QStringLiteral("bench"));
    AfficherCumul("31 searches' results read", Cumuler(*banc.Liaison, 25000));
    return 0;
}

// The CPU the layer takes, in this process, while polling over TCP.
int Cpu(const QString& simulateur, const QString& kmt, int secondes)
{
    TSimulateur sim;
    const QString port = sim.Lancer(simulateur, {"--tcp", "0", "--kmt", kmt, "--demarrage-ms", "0"});
    TConfigReseau c;
    c.Type = TConfigReseau::TType::Tcp;
    c.Hote = "127.0.0.1";
    c.Port = port.toInt();
    c.Appareils = Numeros(kmt);
    c.ListeDonnee = true;
    TBanc banc(c);
    const std::vector<int> simules = Numeros(kmt);
    if (!Attendre([&] { return banc.EnLigne(simules) == int(simules.size()); }, 30000))
        return 1;
    Attendre([] { return false; }, 2000);
    const double cpu0 = CpuSelf(), sim0 = sim.SecondesCpu();
    const std::uint64_t cycles0 = banc.Liaison->Statistiques().Cycles;
    const auto t0 = THorloge::now();
    // Idle in the event loop, as the station is between its ticks.
    QTimer::singleShot(secondes * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    const double ecoule = SecondesDepuis(t0);
    const double cpu = CpuSelf() - cpu0, cpuSim = sim.SecondesCpu() - sim0;
    const std::uint64_t cycles = banc.Liaison->Statistiques().Cycles - cycles0;
    std::printf("cpu: %zu KMT over TCP, %.1f s, %llu cycles (%.1f a second)\n", simules.size(), ecoule,
                static_cast<unsigned long long>(cycles), double(cycles) / ecoule);
    std::printf("  station side (the layer and this process): %.2f s CPU = %.2f %% of one core\n", cpu,
                100.0 * cpu / ecoule);
    std::printf("  simulator: %.2f s CPU = %.2f %% of one core\n", cpuSim, 100.0 * cpuSim / ecoule);
    return 0;
}

// An event-loop thread reading the records every second, as the window's
// monitoring tick does, while the worker times out on every device.
int Tic(const QString& simulateur, int vitesse, const QString& kmt, int secondes)
{
    TSimulateur sim;
    const QString pty = sim.Lancer(simulateur, {"--pty", "--kmt", kmt, "--demarrage-ms", "0", "--vitesse-simulee",
                                                QString::number(vitesse)});
    TBanc banc(ConfigPty(pty, vitesse, kmt));
    const std::vector<int> simules = Numeros(kmt);
    if (!Attendre([&] { return banc.EnLigne(simules) == int(simules.size()); }, 60000))
        return 1;
    sim.Dire("muet " + kmt.toLatin1());

    std::vector<double> durees, retards;  // ms
    QElapsedTimer horloge;
    horloge.start();
    qint64 attendu = -1;
    int alarmes = 0;
    QTimer tic;
    tic.setTimerType(Qt::PreciseTimer);
    tic.setInterval(1000);
    QObject::connect(&tic, &QTimer::timeout, [&] {
        const qint64 arrivee = horloge.nsecsElapsed();
        if (attendu >= 0)
            retards.push_back(double(arrivee - attendu) / 1e6);
        attendu = arrivee + 1000000000LL;
        const auto debut = THorloge::now();
        {
            // What the tick reads: every KMT record, under the read lock.
            TLectureDonnees lecture(banc.Verrou);
            int perdus = 0;
            for (int n = PremierKMT; n <= DernierKMT; ++n) {
                const TDonneesKMT d = (*banc.Donnees)[n];
                perdus += d.EtatCom == ComPerdue;
                alarmes += d.Alarme || d.PreAlarme;
            }
            alarmes += perdus;
        }
        durees.push_back(SecondesDepuis(debut) * 1000.0);
    });
    tic.start();
    const std::uint64_t cycles0 = banc.Liaison->Statistiques().Cycles;
    QTimer::singleShot(secondes * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    const int perdus = int(simules.size()) - banc.EnLigne(simules);
    std::sort(durees.begin(), durees.end());
    std::sort(retards.begin(), retards.end());
    std::printf("tick: %zu KMT silenced at %d baud, %zu ticks over %d s, %llu cycles, %d devices lost "
                "(%d lost or alarming records read)\n",
                simules.size(), vitesse, durees.size(), secondes,
                static_cast<unsigned long long>(banc.Liaison->Statistiques().Cycles - cycles0), perdus, alarmes);
    std::printf("  tick work (read lock + %d records): median %.3f ms, max %.3f ms\n", DernierKMT,
                durees[durees.size() / 2], durees.back());
    if (!retards.empty())
        std::printf("  tick lateness against its 1 s period: median %.3f ms, max %.3f ms\n",
                    retards[retards.size() / 2], retards.back());
    return 0;
}

// From the console command to the record: toggles a device's self-test fault.
int Latence(const QString& simulateur, int vitesse, const QString& kmt, int essais)
{
    TSimulateur sim;
    const QString pty = sim.Lancer(simulateur, {"--pty", "--kmt", kmt, "--demarrage-ms", "0", "--vitesse-simulee",
                                                QString::number(vitesse)});
    TBanc banc(ConfigPty(pty, vitesse, kmt));
    const std::vector<int> simules = Numeros(kmt);
    if (!Attendre([&] { return banc.EnLigne(simules) == int(simules.size()); }, 60000))
        return 1;
    Attendre([] { return false; }, 2000);
    // Each cycle's end, seen while waiting: the latency is judged against the
    // cycles it spans.
    std::vector<double> fins;
    std::uint64_t vu = banc.Liaison->Statistiques().Cycles;
    const auto debutEssais = THorloge::now();
    const auto suivre = [&] {
        const std::uint64_t n = banc.Liaison->Statistiques().Cycles;
        if (n != vu) {
            fins.push_back(SecondesDepuis(debutEssais) * 1000.0);
            vu = n;
        }
        return false;
    };
    std::vector<double> latences;
    std::vector<double> rapports;  // latency / the longest period between two cycle ends around it
    for (int i = 0; i < essais; ++i) {
        const int n = simules[(i * 7) % simules.size()];
        const bool panne = (i / int(simules.size())) % 2 == 0;  // on for the first round, off for the next
        // AutoTest means "test passed": it clears while the fault is on.
        const auto debut = THorloge::now();
        const double debutMs = SecondesDepuis(debutEssais) * 1000.0;
        sim.Dire(QByteArray("defaut ") + QByteArray::number(n) + (panne ? " autotest on" : " autotest off"));
        const bool change = Attendre(
            [&] {
                suivre();
                TLectureDonnees l(banc.Verrou);
                return (*banc.Donnees)[n].AutoTest == !panne;
            },
            10000);
        if (!change) {
            std::fprintf(stderr, "device %d: the change never reached the record\n", n);
            return 1;
        }
        const double latence = SecondesDepuis(debut) * 1000.0;
        latences.push_back(latence);
        // The period of the cycle that read the change: from the end of the
        // cycle before the command to the next cycle end after the change.
        const double finMs = debutMs + latence;
        Attendre([&] { return suivre(), !fins.empty() && fins.back() >= finMs; }, 5000);
        double avant = 0, apres = 0;
        for (double f : fins) {
            if (f <= debutMs)
                avant = f;
            else if (f >= finMs && apres == 0)
                apres = f;
        }
        double periodeLocale = 0, precedent = -1;
        for (double f : fins) {
            if (f >= avant && f <= apres && precedent >= 0)
                periodeLocale = std::max(periodeLocale, f - precedent);
            precedent = f;
        }
        if (periodeLocale > 0)
            rapports.push_back(latence / periodeLocale);
        // Lands the next command at another point of the cycle.
        Attendre(suivre, 137 + 53 * (i % 7));
    }
    const double periode = (fins.back() - fins.front()) / double(fins.size() - 1);
    std::sort(latences.begin(), latences.end());
    std::sort(rapports.begin(), rapports.end());
    std::printf("latency: %d status changes over %zu KMT at %d baud, mean cycle period %.1f ms\n", essais,
                simules.size(), vitesse, periode);
    std::printf("  command to record: median %.1f ms, max %.1f ms (%.2f x the mean period)\n",
                latences[latences.size() / 2], latences.back(), latences.back() / periode);
    std::printf("  against the period of the cycles it spanned: max %.3f cycle\n", rapports.back());
    return rapports.back() <= 1.0 ? 0 : 1;
}

// Any device behind a network file: prints what the layer sees, acknowledges
// the alarms it reads, until the time is up.
int Essai(const QString& ini, int secondes)
{
    const TLectureReseau lu = LireConfigReseau(ini, QString());
    if (!lu.Utilisable) {
        std::fprintf(stderr, "%s\n", qPrintable(lu.Message));
        return 1;
    }
    TBanc banc(lu.Config, true);
    std::vector<TDonneesKMT> avant(NbSources + 1);
    auto avantQFL = std::make_unique<Tableau1<TDonneesQFL, NbSources>>();
    std::vector<bool> demande(NbSources + 1, false);
    std::size_t entreesVues = 0, resultatsVus = 0;
    const auto t0 = THorloge::now();
    QTimer tic;
    tic.setInterval(200);
    QObject::connect(&tic, &QTimer::timeout, [&] {
        const double t = SecondesDepuis(t0);
        for (int n = PremierKMT; n <= DernierKMT; ++n) {
            TDonneesKMT d;
            {
                TLectureDonnees l(banc.Verrou);
                d = (*banc.Donnees)[n];
            }
            TDonneesKMT& a = avant[n];
            if (d.EtatCom != a.EtatCom || d.Present != a.Present || d.RIsolement != a.RIsolement ||
                d.RSeuil != a.RSeuil || d.PreAlarme != a.PreAlarme || d.Alarme != a.Alarme || d.Klaxon != a.Klaxon ||
                d.AlarmeAcquittee != a.AlarmeAcquittee || d.KlaxonAcquitte != a.KlaxonAcquitte)
                std::printf("%6.1f s  KMT %d: %s present=%d R=%u threshold=%u pre-alarm=%d alarm=%d horn=%d "
                            "alarm-ack=%d horn-ack=%d software=%u\n",
                            t, n, d.EtatCom == ComEnLigne ? "online" : d.EtatCom == ComPerdue ? "LOST" : "never",
                            d.Present, d.RIsolement, d.RSeuil, d.PreAlarme, d.Alarme, d.Klaxon, d.AlarmeAcquittee,
                            d.KlaxonAcquitte, d.VLogiciel);
            // An operator acknowledging what sounds.
            if (d.EtatCom == ComEnLigne && d.Alarme && !d.AlarmeAcquittee && !demande[n]) {
                demande[n] = true;
                std::printf("%6.1f s  KMT %d: acknowledging the horn and the alarm\n", t, n);
                banc.Liaison->Acquitter(n, TLiaison::TAcquit::Klaxon, "Essai");
                banc.Liaison->Acquitter(n, TLiaison::TAcquit::Alarme, "Essai");
            }
            a = d;
        }
        for (int n = PremierQFL; n <= DernierQFL; ++n) {
            TDonneesQFL d;
            {
                TLectureDonnees l(banc.Verrou);
                d = (*banc.QFL)[n - DecalageQFL];
            }
            TDonneesQFL& a = (*avantQFL)[n - DecalageQFL];
            if (d.EtatCom != a.EtatCom || d.Etat != a.Etat || d.CompteurRecherches != a.CompteurRecherches
                || d.Unites != a.Unites || d.Reglages != a.Reglages || d.Recherche.Date != a.Recherche.Date) {
                const TDefautQFL* f = DefautDerniereRecherche(d);
                std::printf("%6.1f s  QFL8 %d: %s status=%u searches=%u units=%#x settings=%u,%u,%u,%u,%u,%u,%u "
                            "last fault: %s",
                            t, n, d.EtatCom == ComEnLigne ? "online" : d.EtatCom == ComPerdue ? "LOST" : "never",
                            unsigned(d.Etat), unsigned(d.CompteurRecherches), unsigned(d.Unites), d.Reglages[0],
                            d.Reglages[1], d.Reglages[2], d.Reglages[3], d.Reglages[4], d.Reglages[5], d.Reglages[6],
                            f ? "" : "none\n");
                if (f)
                    std::printf("feeder %u unit %u conductor %u R=%u I=%u\n", f->Depart, f->Unite,
                                unsigned(f->Conducteur), f->R, f->I);
            }
            a = d;
        }
        for (; entreesVues < banc.Entrees.size(); ++entreesVues) {
            const TEntreeLog& e = banc.Entrees[entreesVues];
            std::printf("%6.1f s  journal: code %u, device %d, start=%u, values %d %d\n", t, unsigned(e.Code),
                        int(e.Origine), unsigned(e.Attribut2), int(e.Valeur1), int(e.Valeur2));
        }
        for (; resultatsVus < banc.Resultats.size(); ++resultatsVus) {
            const auto& r = banc.Resultats[resultatsVus];
            std::printf("%6.1f s  command %llu to device %d (value %u): %s\n", t, static_cast<unsigned long long>(r.Id),
                        r.Appareil, unsigned(r.Valeur),
                        r.Issue == TLiaison::TIssue::Reussie ? "accepted"
                        : r.Issue == TLiaison::TIssue::Exception ? "refused"
                                                                 : "not carried out");
        }
        std::fflush(stdout);
    });
    tic.start();
    QTimer::singleShot(secondes * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3)
        Usage();
    const QString simulateur = a[1], mode = a[2];
    const auto entier = [&](int i) { return i < a.size() ? a[i].toInt() : (Usage(), 0); };
    const auto texte = [&](int i) { return i < a.size() ? a[i] : (Usage(), QString()); };
    if (mode == "cycle")
        return Cycle(simulateur, entier(3), texte(4), texte(5), entier(6));
    if (mode == "recherches")
        return Recherches(simulateur, entier(3));
    if (mode == "cpu")
        return Cpu(simulateur, texte(3), entier(4));
    if (mode == "tic")
        return Tic(simulateur, entier(3), texte(4), entier(5));
    if (mode == "latence")
        return Latence(simulateur, entier(3), texte(4), entier(5));
    if (mode == "essai")
        return Essai(texte(3), entier(4));
    Usage();
}
