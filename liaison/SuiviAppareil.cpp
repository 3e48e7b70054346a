#include "liaison/SuiviAppareil.h"

#include <algorithm>

using TChangement = TSuiviAppareil::TChangement;

TChangement TSuiviAppareil::Reponse(std::int64_t maintenant, std::uint16_t battement)
{
    m_echecs = 0;
    if (!m_battementConnu || battement != m_battement) {
        m_battementConnu = true;
        m_battement = battement;
        m_battementDepuis = maintenant;
        m_battementFige = false;
    } else if (maintenant - m_battementDepuis >= BattementFigeMs) {
        // Answers from a frozen device, or from a gateway's stale cache.
        if (m_etat == TEtat::EnLigne) {
            m_battementFige = true;
            return Perdre(maintenant);
        }
        m_battementFige = true;
    }
    if (m_battementFige) {
        Reporter(maintenant);
        return TChangement::Aucun;
    }
    m_delai = PremierDelaiMs;
    if (m_etat == TEtat::EnLigne)
        return TChangement::Aucun;
    m_etat = TEtat::EnLigne;
    return TChangement::Retrouve;
}

TChangement TSuiviAppareil::Echec(std::int64_t maintenant)
{
    ++m_echecs;
    if (m_etat == TEtat::EnLigne) {
        if (m_echecs >= EchecsAvantPerte)
            return Perdre(maintenant);
        return TChangement::Aucun;
    }
    Reporter(maintenant);
    return TChangement::Aucun;
}

TChangement TSuiviAppareil::LigneFermee(std::int64_t maintenant)
{
    if (m_etat != TEtat::EnLigne)
        return TChangement::Aucun;
    return Perdre(maintenant);
}

TChangement TSuiviAppareil::Perdre(std::int64_t maintenant)
{
    m_etat = TEtat::Perdu;
    m_delai = PremierDelaiMs;
    m_prochainEssai = maintenant + m_delai;
    return TChangement::Perdu;
}

void TSuiviAppareil::Reporter(std::int64_t maintenant)
{
    if (m_sonde && m_etat == TEtat::Jamais) {
        m_prochainEssai = maintenant + DelaiSondageMs;
        return;
    }
    m_delai = std::min(m_delai * 2, DelaiMaxMs);
    m_prochainEssai = maintenant + m_delai;
}
