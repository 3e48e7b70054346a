#include "data/TypesVeilleur.h"

#include "data/ConfigSet.h"
#include "data/VerrouDonnees.h"

#include <algorithm>
#include <chrono>
#include <ctime>

void DecalerHistorique(TDonneesKMT& donnees)
{
    if (donnees.NbMesures != NbMaxMesures)
        return;
    // The histories always move together.
    std::copy(donnees.HistDate.begin() + 1, donnees.HistDate.end(), donnees.HistDate.begin());
    std::copy(donnees.HistMonotone.begin() + 1, donnees.HistMonotone.end(), donnees.HistMonotone.begin());
    std::copy(donnees.HistRIsolement.begin() + 1, donnees.HistRIsolement.end(), donnees.HistRIsolement.begin());
    std::copy(donnees.HistRSeuil.begin() + 1, donnees.HistRSeuil.end(), donnees.HistRSeuil.begin());
    donnees.NbMesures = NbMaxMesures - 1;
}

const TDefautQFL* DefautDerniereRecherche(const TDonneesQFL& d)
{
    if (!d.ResultatsConnus || !d.DefautTrouve || d.Recherche.Defauts[0].Depart == 0)
        return nullptr;
    return &d.Recherche.Defauts[0];
}

double InstantMonotone()
{
    constexpr double SecondesParJour = 86400.0;
#ifdef CLOCK_BOOTTIME
    // Counts a suspended machine's sleep too, so that a pause of the station
    // is not taken for a change of the clock.
    timespec t{};
    if (clock_gettime(CLOCK_BOOTTIME, &t) == 0)
        return 1.0 + (double(t.tv_sec) + t.tv_nsec * 1e-9) / SecondesParJour;
#endif
    const auto ecoule = std::chrono::steady_clock::now().time_since_epoch();
    return 1.0 + std::chrono::duration<double>(ecoule).count() / SecondesParJour;
}

void RemplirVueDEnsemble(TVerrouDonnees& verrou, const Tableau1<TDonneesKMT, NbSources>& donnees,
                         const TConfigSet& config, TNomsAppareils& noms, TEtatsAppareils& etats)
{
    TLectureDonnees lecture(verrou);
    for (int i = 1; i <= NbSources; ++i) {
        const TDonneesKMT& d = donnees[i];
        etats.Present[i] = d.Present;
        etats.Perdu[i] = d.EtatCom == ComPerdue;
        if (d.Present) {
            etats.RIsolement[i] = d.RIsolement;
            etats.RMin[i] = d.RMin;
            etats.RSeuil[i] = d.RSeuil;
            etats.PreAlarme[i] = d.PreAlarme;
            etats.Alarme[i] = d.Alarme;
        }
        noms.Noms[i] = LireChaine(config.NomsSources[i]);
    }
}
