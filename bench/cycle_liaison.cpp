// The poll cycle against its floor (the wire time of its transactions) with
// 31 KMT and 31 QFL8 at a simulated 19200 baud, while searches' results are
// read. Run: build/bench-cycle-liaison [simulator]; prints one line per phase.
// Start-up takes minutes: every locator's last search is fetched first, a
// few pieces per cycle.
#include "data/VerrouDonnees.h"
#include "liaison/Liaison.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <memory>

namespace {
struct TMesure {
    double Duree = 0, Plancher = 0, Pire = 0;
    int Cycles = 0, Transactions = 0;
};

// Waits for each new cycle and adds it up, for the given time.
TMesure Mesurer(TLiaison& liaison, int ms)
{
    TMesure m;
    std::uint64_t dernier = liaison.Statistiques().Cycles;
    QElapsedTimer chrono;
    chrono.start();
    while (chrono.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
        const TLiaison::TStatistiquesCycle s = liaison.Statistiques();
        if (s.Cycles == dernier)
            continue;
        dernier = s.Cycles;
        ++m.Cycles;
        m.Duree += s.DureeUs;
        m.Plancher += s.PlancherUs;
        m.Transactions += s.Transactions;
        m.Pire = std::max(m.Pire, double(s.DureeUs) / double(s.PlancherUs));
    }
    return m;
}

void Afficher(const char* phase, const TMesure& m)
{
    if (m.Cycles == 0) {
        std::printf("%s: no cycle\n", phase);
        return;
    }
    std::printf("%-34s %3d cycles, %5.1f transactions, cycle %7.1f ms, floor %7.1f ms, ratio %.3f (worst %.3f)\n",
                phase, m.Cycles, double(m.Transactions) / m.Cycles, m.Duree / m.Cycles / 1000,
                m.Plancher / m.Cycles / 1000, m.Duree / m.Plancher, m.Pire);
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString programme = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VEILLEUR_SIMULATEUR);
    QTemporaryDir dossier;
    const QString lien = dossier.filePath(QStringLiteral("ligne"));
    QProcess simulateur;
    simulateur.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulateur.start(programme, {QStringLiteral("--pty"), lien, QStringLiteral("--kmt"), QStringLiteral("1-31"),
                                 QStringLiteral("--qfl"), QStringLiteral("33-63"), QStringLiteral("--demarrage-ms"),
                                 QStringLiteral("0"), QStringLiteral("--vitesse-simulee"), QStringLiteral("19200"),
                                 QStringLiteral("--duree-recherche"), QStringLiteral("3000")});
    if (!simulateur.waitForStarted(5000) || !simulateur.waitForReadyRead(10000))
        return 1;
    simulateur.readLine();

    TConfigReseau c;
    c.Peripherique = lien;
    c.DelaiReponse = 300;
    LireListeAppareils(QStringLiteral("1-31,33-63"), c.Appareils);
    c.ListeDonnee = true;
    TVerrouDonnees verrou;
    auto kmt = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    auto qfl = std::make_unique<Tableau1<TDonneesQFL, NbSources>>();
    TLiaison liaison(c, verrou, *kmt, *qfl);
    liaison.Demarrer();

    // Until every device answers and the first searches' results are in.
    QElapsedTimer chrono;
    chrono.start();
    for (;;) {
        QCoreApplication::processEvents();
        QThread::msleep(50);
        liaison.PrendreEntrees();
        liaison.PrendreResultats();
        int prets = 0;
        {
            TLectureDonnees lecture(verrou);
            for (int i = 1; i <= NbSources; ++i)
                prets += ((*kmt)[i].EtatCom == ComEnLigne) + ((*qfl)[i].ResultatsConnus && (*qfl)[i].ReglagesConnus);
        }
        if (prets == 2 * NbSources)
            break;
        if (chrono.elapsed() > 400000) {
            std::printf("devices not ready (%d of 62)\n", prets);
            return 1;
        }
    }
    Afficher("steady (62 devices)", Mesurer(liaison, 12000));
    // One search's results read, then all 31 at once.
    liaison.LancerRecherche(40, QStringLiteral("bench"));
    Afficher("one search's results read", Mesurer(liaison, 12000));
    for (int n = PremierQFL; n <= DernierQFL; ++n)
        liaison.LancerRecherche(n, QStringLiteral("bench"));
    Afficher("31 searches' results read", Mesurer(liaison, 25000));
    liaison.Arreter();
    simulateur.write("quitter\n");
    simulateur.waitForFinished(3000);
    return 0;
}
