// A long run of the station without its event loop: 20 000 demonstration
// ticks, each followed by the monitoring tick, first with the overview shown,
// then with the KMT screen of device 26. Every pre-alarm sample must reach the
// journal once, in order, the history must stay full, memory must stay flat
// and every lock and guard must be free at the end.
#include "app/FormVeilleur.h"
#include "data/JournalLog.h"
#include "data/VerrouDonnees.h"
#include "platform/EvenementNomme.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "support/OutilsTest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class TSonMuet : public TSon {
public:
    void Tonalite(int, int) override {}
    void SonParDefaut() override {}
};

long RssKo()
{
    long pages = 0, residentes = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &residentes) != 2)
            residentes = 0;
        std::fclose(f);
    }
    return residentes * (sysconf(_SC_PAGESIZE) / 1024);
}

struct TAttendu {
    int origine;
    double date;
    double r;
    double seuil;
};

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed blocks in quarantine (up to 256 MB), so resident
// memory says nothing about leaks there; its own leak check at exit does.
constexpr bool MesurerMemoire = false;
#else
constexpr bool MesurerMemoire = true;
#endif
constexpr int NbTicks = 20000;
constexpr int TickMesureInitiale = 2000;

} // namespace

TEST(Endurance, VingtMilleTicksSansPerteNiFuite)
{
    TDossierTemporaire dossier;
    QStringList erreurs;
    TRapportErreurs::Instance().DefinirAfficheur([&](const QString& texte) { erreurs << texte; });
    const QString nomEvenement = NomUnique(QStringLiteral("/VeilleurEndurance"));
    QElapsedTimer chrono;
    chrono.start();
    {
        TFormVeilleur fenetre(std::make_unique<TSonMuet>(), nomEvenement);
        fenetre.show();
        // This test is the clock: the window's own timers stay still.
        for (QTimer* timer : fenetre.findChildren<QTimer*>())
            timer->stop();
        EnvoyerEcran(&fenetre, EcranVueDEnsemble);
        ASSERT_EQ(fenetre.NumEcranCourant(), EcranVueDEnsemble);

        // Written through now, so that its pages do not count in the memory measured.
        std::vector<TAttendu> attendus(2 * NbTicks);
        std::size_t nbAttendus = 0;
        long rssInitiale = 0;
        for (int tick = 1; tick <= NbTicks; ++tick) {
            if (tick == NbTicks / 2) {
                EnvoyerEcran(&fenetre, EcranKMT, 26);
                ASSERT_EQ(fenetre.NumEcranCourant(), EcranKMT);
            }
            fenetre.TimerDemoTimer();
            for (int appareil : {12, 26}) {
                const TDonneesKMT& r = fenetre.DonneesKMT()[appareil];
                if (r.PreAlarme)
                    attendus[nbAttendus++] = {appareil, r.HistDate[r.NbMesures], double(r.RIsolement), double(r.RSeuil)};
            }
            fenetre.TimerMonitoringDataTimer();
            // Let the shown screen paint now and then, as the event loop would.
            if (tick % 500 == 0)
                QCoreApplication::processEvents();
            if (tick == TickMesureInitiale)
                rssInitiale = RssKo();
        }
        const long rssFinale = RssKo();
        std::printf("%d ticks in %.1f s; RSS after tick %d: %ld kB, after tick %d: %ld kB\n", NbTicks,
                    chrono.elapsed() / 1000.0, TickMesureInitiale, rssInitiale, NbTicks, rssFinale);

        EXPECT_EQ(fenetre.CompteurDemo(), NbTicks + 1) << "every tick ran at once";
        EXPECT_EQ(fenetre.DonneesKMT()[12].NbMesures, NbMaxMesures);
        EXPECT_EQ(fenetre.DonneesKMT()[26].NbMesures, NbMaxMesures);
        if (MesurerMemoire) {
            EXPECT_LT(rssFinale - rssInitiale, 2048) << "resident memory grows with the ticks";
        }
        // The store's writer thread syncs them after the ticks.
        fenetre.Journal().EcrireEntreesEnAttente();
        EXPECT_FALSE(fenetre.VerrouDonnees().Pris());
        EXPECT_FALSE(fenetre.Journal().AccesLogEnCours());
        EXPECT_TRUE(fenetre.Journal().EvenementAccesLog().Attendre0()) << "the journal's event is left signalled";
        fenetre.Journal().EvenementAccesLog().Signaler();
        EXPECT_EQ(fenetre.Journal().EntreesEnAttente(), 0);

        const QByteArray journal = LireFichier(dossier.Chemin(QStringLiteral("Log.dat")));
        ASSERT_EQ(journal.size(), qsizetype(nbAttendus) * TailleEntreeLog);
        const auto* entrees = reinterpret_cast<const TEntreeLog*>(journal.constData());
        int ecarts = 0;
        for (std::size_t i = 0; i < nbAttendus && ecarts < 5; ++i) {
            const TEntreeLog& e = entrees[i];
            const TAttendu& a = attendus[i];
            const bool egal = e.Code == 7 && e.Origine == a.origine && e.Attribut1 == 0 && e.Attribut2 == 1
                && e.InfosCompl.Longueur == 0 && e.DateHeure == a.date && e.Valeur1 == a.r && e.Valeur2 == a.seuil;
            if (!egal) {
                ++ecarts;
                ADD_FAILURE() << "entry " << i << ": code " << int(e.Code) << " origin " << int(e.Origine) << " values "
                              << e.Valeur1 << "/" << e.Valeur2 << ", expected origin " << a.origine << " values "
                              << a.r << "/" << a.seuil;
            }
        }
    }
    EXPECT_TRUE(erreurs.isEmpty()) << erreurs.join(QLatin1Char('\n')).toStdString();
    EXPECT_LT(chrono.elapsed(), 60000);
    TRapportErreurs::Instance().AfficheurParDefaut();
    TEvenementNomme::Supprimer(nomEvenement);
}
