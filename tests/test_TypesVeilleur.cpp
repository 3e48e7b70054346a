#include "data/ConfigSet.h"
#include "data/TypesVeilleur.h"
#include "data/VerrouDonnees.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

TEST(TypesVeilleur, FullHistoryDropsItsOldestSample)
{
    auto d = std::make_unique<TDonneesKMT>();
    std::memset(d.get(), 0, sizeof(TDonneesKMT));
    for (int s = 1; s <= 1001; ++s) {
        DecalerHistorique(*d);
        const int k = ++d->NbMesures;
        d->HistDate[k] = s;
        d->HistMonotone[k] = s + 0.5;
        d->HistRIsolement[k] = std::uint16_t(s);
        d->HistRSeuil[k] = std::uint16_t(s + 5000);
    }
    EXPECT_EQ(d->NbMesures, 1000);
    EXPECT_EQ(d->HistDate[1], 2.0);
    EXPECT_EQ(d->HistMonotone[1], 2.5);
    EXPECT_EQ(d->HistMonotone[1000], 1001.5);
    EXPECT_EQ(d->HistRIsolement[1], 2);
    EXPECT_EQ(d->HistRSeuil[1], 5002);
    EXPECT_EQ(d->HistDate[1000], 1001.0);
    EXPECT_EQ(d->HistRIsolement[999], 1000);

    d->NbMesures = 999;  // not full: nothing moves
    DecalerHistorique(*d);
    EXPECT_EQ(d->NbMesures, 999);
    EXPECT_EQ(d->HistDate[1], 2.0);
}

TEST(TypesVeilleur, OverviewFillKeepsAbsentDevicesValuesAndCopiesNames)
{
    TVerrouDonnees verrou;
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::memset(static_cast<void*>(donnees.get()), 0, sizeof(*donnees));
    TConfigSet config;
    std::memset(&config, 0, sizeof config);
    EcrireChaine(config.NomsSources[5], QStringLiteral("Poste 5"));
    EcrireChaine(config.NomsSources[31], QString(130, QChar('n')));
    TNomsAppareils noms;
    TEtatsAppareils etats;

    (*donnees)[12] = TDonneesKMT{};
    (*donnees)[12].Present = true;
    (*donnees)[12].RIsolement = 250;
    (*donnees)[12].RSeuil = 101;
    (*donnees)[12].PreAlarme = true;
    RemplirVueDEnsemble(verrou, *donnees, config, noms, etats);
    EXPECT_TRUE(etats.Present[12]);
    EXPECT_EQ(etats.RIsolement[12], 250);
    EXPECT_TRUE(etats.PreAlarme[12]);
    EXPECT_EQ(noms.Noms[5], QStringLiteral("Poste 5"));
    EXPECT_EQ(noms.Noms[31].size(), 100);
    EXPECT_FALSE(verrou.Pris()) << "the read lock is released";

    (*donnees)[12].Present = false;
    (*donnees)[12].RIsolement = 999;
    RemplirVueDEnsemble(verrou, *donnees, config, noms, etats);
    EXPECT_FALSE(etats.Present[12]);
    EXPECT_EQ(etats.RIsolement[12], 250) << "an absent device keeps its last values";
    EXPECT_TRUE(etats.PreAlarme[12]);
}
