#include "simulateur/Appareil.h"

TAppareil::TAppareil(int numero, std::uint16_t genre, std::uint16_t versionLogiciel)
    : m_numero(numero), m_genre(genre), m_versionLogiciel(versionLogiciel)
{
}

bool TAppareil::Identification(int adresse, std::uint16_t& valeur) const
{
    switch (adresse) {
    case 0: valeur = m_genre; return true;
    case 1: valeur = 1; return true;  // register map version
    case 2: valeur = m_versionLogiciel; return true;
    case 3: valeur = m_battement; return true;
    default: return false;
    }
}

std::uint8_t TAppareil::LireEntrees(int adresse, int n, std::vector<std::uint16_t>& valeurs)
{
    valeurs.assign(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
        if (!Identification(adresse + i, valeurs[std::size_t(i)]) && !Entree(adresse + i, valeurs[std::size_t(i)]))
            return ExceptionAdresse;
    return ExceptionAucune;
}

std::uint8_t TAppareil::LireMaintien(int adresse, int n, std::vector<std::uint16_t>& valeurs)
{
    valeurs.assign(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
        if (!Maintien(adresse + i, valeurs[std::size_t(i)]))
            return ExceptionAdresse;
    return ExceptionAucune;
}

void TAppareil::Avancer(TInstant maintenant)
{
    // Whole seconds only, so that the heartbeat keeps one step a second even
    // when the loop is late.
    while (maintenant >= m_prochainBattement) {
        if (!m_battementFige)
            ++m_battement;
        m_prochainBattement += 1000;
    }
    Evoluer(maintenant);
}

std::uint32_t TAppareil::Horloge() const
{
    return std::uint32_t(std::int64_t(std::time(nullptr)) + m_decalageHorloge);
}

void TAppareil::RegleHorloge(std::uint32_t secondes)
{
    m_decalageHorloge = std::int64_t(secondes) - std::int64_t(std::time(nullptr));
}
