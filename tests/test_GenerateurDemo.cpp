// Demonstration generator: the fixed course of devices 12 and 26, the history
// window, the pre-alarm journal entries and the postponing of ticks while the
// records are being read.
#include "app/GenerateurDemo.h"
#include "data/VerrouDonnees.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct Banc {
    TVerrouDonnees verrou;
    std::unique_ptr<Tableau1<TDonneesKMT, NbSources>> donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::int32_t compteur = 1;
    std::vector<TEntreeLog> journal;
    // The clocks give the step number, so that each sample says which tick made it.
    TGenerateurDemo generateur{verrou, *donnees, compteur,
                               [this](const TEntreeLog& e) { journal.push_back(e); },
                               [this] { return static_cast<double>(compteur); },
                               [this] { return 0.5 + compteur; }};

    const TDonneesKMT& d(int n) const { return (*donnees)[n]; }
};

TEST(Aleatoire, SuitLaRecurrenceDepuisUneGraineNulle)
{
    TAleatoire a;
    EXPECT_EQ(a.Graine(), 0u);
    EXPECT_EQ(a.Random(100), 0);            // seed 1: 100 / 2^32 rounds down
    EXPECT_EQ(a.Graine(), 1u);
    EXPECT_EQ(a.Random(10), 0);
    EXPECT_EQ(a.Graine(), 134775814u);
    const std::uint32_t g = a.Graine() * 134775813u + 1u;
    EXPECT_EQ(a.Random(1000), static_cast<std::int32_t>((std::uint64_t(g) * 1000u) >> 32));
    for (int i = 0; i < 1000; ++i) {
        const int r = a.Random(7);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 7);
    }
}

TEST(GenerateurDemo, DeuxPremiersTicks)
{
    Banc b;
    b.generateur.Tick();
    EXPECT_EQ(b.compteur, 2);
    EXPECT_TRUE(b.d(12).Present);
    EXPECT_EQ(b.d(12).RIsolement, 250);
    EXPECT_EQ(b.d(12).RSeuil, 101);
    EXPECT_EQ(b.d(26).RIsolement, 354);
    EXPECT_EQ(b.d(26).RSeuil, 100);
    for (int n : {12, 26}) {
        EXPECT_EQ(b.d(n).NbMesures, 1);
        EXPECT_FALSE(b.d(n).PreAlarme);
        EXPECT_FALSE(b.d(n).Alarme);
        EXPECT_EQ(b.d(n).HistRIsolement[1], b.d(n).RIsolement);
        EXPECT_EQ(b.d(n).HistRSeuil[1], b.d(n).RSeuil);
        EXPECT_DOUBLE_EQ(b.d(n).HistDate[1], 1.0);
    }
    EXPECT_TRUE(b.journal.empty());

    b.generateur.Tick();
    EXPECT_EQ(b.d(12).RIsolement, 336);
    EXPECT_EQ(b.d(12).RSeuil, 101);
    EXPECT_EQ(b.d(26).RIsolement, 355);
    EXPECT_EQ(b.d(26).RSeuil, 100);
    EXPECT_EQ(b.d(12).NbMesures, 2);
    EXPECT_EQ(b.d(12).HistRIsolement[1], 250);
    EXPECT_EQ(b.d(12).HistRIsolement[2], 336);
    EXPECT_DOUBLE_EQ(b.d(26).HistDate[2], 2.0);

    // Nothing else is ever written.
    for (int n = 1; n <= NbSources; ++n) {
        EXPECT_EQ(b.d(n).RMin, 0);
        EXPECT_EQ(b.d(n).NvSeuil, 0);
        EXPECT_FALSE(b.d(n).Klaxon);
        EXPECT_EQ(b.d(n).VLogiciel, 0);
        if (n != 12 && n != 26) {
            EXPECT_FALSE(b.d(n).Present);
            EXPECT_EQ(b.d(n).NbMesures, 0);
        }
    }
}

// Runs the generator up to step 1547 and checks where each device first enters
// pre-alarm and alarm, and that every pre-alarm sample, alarm or not, journals
// exactly one code 7 entry carrying the sample's values.
TEST(GenerateurDemo, CoursDesDeuxAppareilsEtJournal)
{
    Banc b;
    int premierePreAlarme[64] = {};
    int premiereAlarme[64] = {};
    int dernierSansPreAlarme[64] = {};
    int dernierSansAlarme26 = 0;
    std::size_t attendues = 0;
    for (int s = 1; s <= 1547; ++s) {
        const std::size_t avant = b.journal.size();
        b.generateur.Tick();
        std::size_t nouvelles = 0;
        for (int n : {12, 26}) {
            const TDonneesKMT& r = b.d(n);
            EXPECT_EQ(r.PreAlarme, r.RIsolement < 2 * r.RSeuil);
            EXPECT_EQ(r.Alarme, r.RIsolement < r.RSeuil);
            if (r.PreAlarme) {
                ++nouvelles;
                if (!premierePreAlarme[n])
                    premierePreAlarme[n] = s;
            } else {
                dernierSansPreAlarme[n] = s;
            }
            if (r.Alarme) {
                EXPECT_DOUBLE_EQ(r.DHDerniereAlarme, s);
                if (!premiereAlarme[n])
                    premiereAlarme[n] = s;
            } else if (n == 26) {
                dernierSansAlarme26 = s;
            }
        }
        ASSERT_EQ(b.journal.size(), avant + nouvelles) << "step " << s;
        // Device 12 sends first within a tick.
        for (std::size_t i = avant; i < b.journal.size(); ++i) {
            const TEntreeLog& e = b.journal[i];
            const TDonneesKMT& r = b.d(e.Origine);
            EXPECT_EQ(e.Code, 7);
            EXPECT_EQ(e.Attribut1, 0);
            EXPECT_EQ(e.Attribut2, 1);
            EXPECT_EQ(e.InfosCompl.Longueur, 0);
            EXPECT_DOUBLE_EQ(e.DateHeure, s);
            EXPECT_DOUBLE_EQ(e.Valeur1, r.RIsolement);
            EXPECT_DOUBLE_EQ(e.Valeur2, r.RSeuil);
            EXPECT_DOUBLE_EQ(e.Valeur3, 0.0);
        }
        if (nouvelles == 2) {
            EXPECT_EQ(b.journal[avant].Origine, 12);
        }
        attendues += nouvelles;
    }
    EXPECT_EQ(b.journal.size(), attendues);
    EXPECT_EQ(premierePreAlarme[12], 471);
    EXPECT_EQ(premierePreAlarme[26], 159);
    EXPECT_EQ(premiereAlarme[12], 1547);
    EXPECT_EQ(premiereAlarme[26], 265);
    EXPECT_EQ(dernierSansPreAlarme[12], 1510);
    EXPECT_EQ(dernierSansPreAlarme[26], 165);
    EXPECT_EQ(dernierSansAlarme26, 264);
    EXPECT_EQ(b.compteur, 1548);
}

TEST(GenerateurDemo, MilleEtUniemeEchantillonFaitTomberLePlusAncien)
{
    Banc b;
    for (int s = 1; s <= 1000; ++s)
        b.generateur.Tick();
    ASSERT_EQ(b.d(12).NbMesures, 1000);
    ASSERT_EQ(b.d(26).NbMesures, 1000);
    const std::uint16_t deuxieme12 = b.d(12).HistRIsolement[2];
    const std::uint16_t dernier26 = b.d(26).HistRSeuil[1000];

    b.generateur.Tick();
    for (int n : {12, 26}) {
        EXPECT_EQ(b.d(n).NbMesures, 1000);
        EXPECT_DOUBLE_EQ(b.d(n).HistDate[1], 2.0);
        EXPECT_DOUBLE_EQ(b.d(n).HistDate[999], 1000.0);
        EXPECT_DOUBLE_EQ(b.d(n).HistDate[1000], 1001.0);
        EXPECT_DOUBLE_EQ(b.d(n).HistMonotone[1], 2.5);
        EXPECT_DOUBLE_EQ(b.d(n).HistMonotone[1000], 1001.5);
        EXPECT_EQ(b.d(n).HistRIsolement[1000], b.d(n).RIsolement);
        EXPECT_EQ(b.d(n).HistRSeuil[1000], b.d(n).RSeuil);
    }
    EXPECT_EQ(b.d(12).HistRIsolement[1], deuxieme12);
    EXPECT_EQ(b.d(26).HistRSeuil[999], dernier26);
}

// Ticks falling due behind a reader are not replayed in a burst: the one kept
// runs once, as soon as the reader has finished, and the counter only counts
// ticks actually run, so the course of values stays the same.
TEST(GenerateurDemo, TicksRetenusParUneLectureTournentUneSeuleFois)
{
    Banc b;
    {
        TLectureDonnees lecture(b.verrou);
        for (int i = 0; i < 5; ++i)
            EXPECT_FALSE(b.generateur.Demander());
        EXPECT_EQ(b.generateur.TicksEnAttente(), 1);
        EXPECT_TRUE(b.generateur.Reprendre());   // still locked: nothing runs
        EXPECT_EQ(b.d(12).NbMesures, 0);
        EXPECT_FALSE(b.d(26).Present);
        EXPECT_EQ(b.compteur, 1);
    }
    EXPECT_FALSE(b.generateur.Reprendre());
    EXPECT_EQ(b.generateur.TicksEnAttente(), 0);
    EXPECT_FALSE(b.generateur.Reprendre()) << "nothing left to run";
    EXPECT_EQ(b.compteur, 2);
    EXPECT_EQ(b.d(12).NbMesures, 1);
    EXPECT_EQ(b.d(12).HistRIsolement[1], 250);   // the first step's value
    EXPECT_FALSE(b.verrou.Pris());

    EXPECT_TRUE(b.generateur.Demander());
    EXPECT_EQ(b.compteur, 3);
    EXPECT_EQ(b.d(12).HistRIsolement[2], 336);   // and the second's
}

TEST(GenerateurDemo, TickDemandePendantUnTickAttendSaFin)
{
    // The journal callback may process pending events; a tick asked for then
    // must not run inside the one that is writing.
    TVerrouDonnees verrou;
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::int32_t compteur = 200;   // device 26 in pre-alarm: a send on each tick
    TGenerateurDemo* g = nullptr;
    int envois = 0;
    bool imbrique = true;
    int mesuresApresDemande = -1;
    TGenerateurDemo generateur(verrou, *donnees, compteur, [&](const TEntreeLog&) {
        ++envois;
        if (envois == 1) {
            imbrique = g->Demander();
            mesuresApresDemande = (*donnees)[26].NbMesures;
        }
    });
    g = &generateur;
    // The inner request is kept, then run right after the outer tick ends.
    EXPECT_TRUE(generateur.Demander());
    EXPECT_FALSE(imbrique);
    EXPECT_EQ(mesuresApresDemande, 1);
    EXPECT_EQ(compteur, 202);
    EXPECT_EQ(generateur.TicksEnAttente(), 0);
    EXPECT_EQ((*donnees)[26].NbMesures, 2);
    EXPECT_EQ(envois, 2);
}

TEST(GenerateurDemo, UnEnvoiQuiEchoueNeBloquePasLesTicksSuivants)
{
    TVerrouDonnees verrou;
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::int32_t compteur = 200;
    TGenerateurDemo generateur(verrou, *donnees, compteur,
                               [](const TEntreeLog&) { throw std::runtime_error("disque plein"); });
    EXPECT_THROW(generateur.Tick(), std::runtime_error);
    EXPECT_FALSE(verrou.Pris());
    EXPECT_THROW(generateur.Demander(), std::runtime_error);
    EXPECT_EQ(generateur.TicksEnAttente(), 0);
}

// The course meets both limits exactly: at step 165 device 26 reads twice its
// threshold (no pre-alarm), at step 1485 device 12 reads its threshold
// (pre-alarm, not alarm: both comparisons are strict).
TEST(GenerateurDemo, MesuresEgalesAuxSeuils)
{
    Banc b;
    while (b.compteur <= 165)
        b.generateur.Tick();
    EXPECT_EQ(b.d(26).RIsolement, 198);
    EXPECT_EQ(b.d(26).RSeuil, 99);
    EXPECT_FALSE(b.d(26).PreAlarme);
    EXPECT_FALSE(b.d(26).Alarme);

    while (b.compteur <= 1485)
        b.generateur.Tick();
    EXPECT_EQ(b.d(12).RIsolement, 103);
    EXPECT_EQ(b.d(12).RSeuil, 103);
    EXPECT_TRUE(b.d(12).PreAlarme);
    EXPECT_FALSE(b.d(12).Alarme);
    ASSERT_FALSE(b.journal.empty());
    // Device 26 is in alarm by then and sends after 12: 12's entry comes second last.
    const TEntreeLog& e = b.journal[b.journal.size() - 2];
    EXPECT_EQ(e.Origine, 12);
    EXPECT_DOUBLE_EQ(e.DateHeure, 1485.0);
    EXPECT_DOUBLE_EQ(e.Valeur1, 103.0);
}

} // namespace
