#pragma once
// Which screen is shown and where the device screens lead back to.
//
// The device screens form a two-level stack above the general screens: a
// device screen remembers the general screen it was opened from, the search
// screen remembers the device screen it was launched from, and moving between
// the KMT and QFL screens keeps the general screen to return to.
#include "data/TypesVeilleur.h"

#include <cstdint>

class TNavigation {
public:
    TNavigation(TInfosKMT& infosKMT, TInfosQFL& infosQFL, TInfosRecherche& infosRecherche)
        : m_kmt(infosKMT), m_qfl(infosQFL), m_recherche(infosRecherche) {}

    // A request the shell can carry out: a screen of the table, and for the
    // device screens a device of the right family, so that no record or name
    // is ever looked up out of range.
    static bool RequeteValide(std::int32_t ecran, std::int32_t appareil);

    // A general screen (1 to 6) becomes the current one.
    void VersEcranGeneral(std::int32_t ecran);
    // Return bookkeeping of the device screens, then the screen becomes current.
    void VersKMT(std::int32_t appareil);
    void VersQFL(std::int32_t appareil);
    void VersRecherche(std::int32_t appareil);

    std::int32_t NumEcranCourant = 0;     // none before the first screen
    std::int32_t NumAppareilCourant = 1;

    const TInfosKMT& InfosKMT() const { return m_kmt; }
    const TInfosQFL& InfosQFL() const { return m_qfl; }
    const TInfosRecherche& InfosRecherche() const { return m_recherche; }

private:
    TInfosKMT& m_kmt;
    TInfosQFL& m_qfl;
    TInfosRecherche& m_recherche;
};
