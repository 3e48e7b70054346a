#pragma once
// Communication state of one device, driven by the outcome of each
// transaction and by an explicit clock (milliseconds of a steady clock), so
// that it is the same with real time and in tests.
#include <cstdint>

class TSuiviAppareil {
public:
    static constexpr int EchecsAvantPerte = 3;
    static constexpr std::int64_t BattementFigeMs = 10000;
    static constexpr std::int64_t PremierDelaiMs = 1000;
    static constexpr std::int64_t DelaiMaxMs = 30000;
    static constexpr std::int64_t DelaiSondageMs = 60000;

    enum class TEtat : std::uint8_t { Jamais, EnLigne, Perdu };

    // What a transaction changed.
    enum class TChangement : std::uint8_t { Aucun, Retrouve, Perdu };

    // sonde: a number probed without being listed; while it was never heard,
    // a silence is tried again after DelaiSondageMs rather than with back-off.
    explicit TSuiviAppareil(bool sonde = false) : m_sonde(sonde) {}

    // A valid reply carrying the device's heartbeat.
    TChangement Reponse(std::int64_t maintenant, std::uint16_t battement);
    // A failed transaction (silence, garbled or refused reply to a poll).
    TChangement Echec(std::int64_t maintenant);
    // The line itself is gone: a device that was online is lost at once.
    TChangement LigneFermee(std::int64_t maintenant);

    TEtat Etat() const { return m_etat; }
    bool EnLigne() const { return m_etat == TEtat::EnLigne; }
    int EchecsDeSuite() const { return m_echecs; }
    // When a device that is not online may be tried again.
    std::int64_t ProchainEssai() const { return m_prochainEssai; }
    bool EssaiDu(std::int64_t maintenant) const { return !EnLigne() && maintenant >= m_prochainEssai; }

private:
    TChangement Perdre(std::int64_t maintenant);
    void Reporter(std::int64_t maintenant);

    bool m_sonde;
    TEtat m_etat = TEtat::Jamais;
    int m_echecs = 0;
    bool m_battementConnu = false;
    bool m_battementFige = false;       // lost for a still heartbeat: back only once it moves
    std::uint16_t m_battement = 0;
    std::int64_t m_battementDepuis = 0;
    std::int64_t m_delai = PremierDelaiMs;
    std::int64_t m_prochainEssai = 0;
};
