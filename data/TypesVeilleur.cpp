#include "data/TypesVeilleur.h"

#include "data/ConfigSet.h"
#include "data/VerrouDonnees.h"

#include <algorithm>

void DecalerHistorique(TDonneesKMT& donnees)
{
    if (donnees.NbMesures != NbMaxMesures)
        return;
    // The three histories always move together.
    std::copy(donnees.HistDate.begin() + 1, donnees.HistDate.end(), donnees.HistDate.begin());
    std::copy(donnees.HistRIsolement.begin() + 1, donnees.HistRIsolement.end(), donnees.HistRIsolement.begin());
    std::copy(donnees.HistRSeuil.begin() + 1, donnees.HistRSeuil.end(), donnees.HistRSeuil.begin());
    donnees.NbMesures = NbMaxMesures - 1;
}

void RemplirVueDEnsemble(TVerrouDonnees& verrou, const Tableau1<TDonneesKMT, NbSources>& donnees,
                         const TConfigSet& config, TNomsAppareils& noms, TEtatsAppareils& etats)
{
    TLectureDonnees lecture(verrou);
    for (int i = 1; i <= NbSources; ++i) {
        const TDonneesKMT& d = donnees[i];
        etats.Present[i] = d.Present;
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
