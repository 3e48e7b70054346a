#pragma once
// A KMT insulation monitor: measures the insulation resistance R, which
// wanders around a base value as a real network's does, and raises its
// pre-alarm and alarm from the threshold in force.
#include "simulateur/Appareil.h"

#include <random>

class TAppareilKMT : public TAppareil {
public:
    // The first measurement comes demarrageMs after start; until then R reads "no measurement".
    TAppareilKMT(int numero, TInstant demarrageMs, std::uint32_t graine);

    std::uint8_t Ecrire(int adresse, const std::vector<std::uint16_t>& valeurs, bool seul) override;
    std::string Etat() const override;

    bool RegleR(int kOhm) override;
    bool RegleSeuil(int kOhm) override;
    bool RegleDerive(double fraction) override;
    bool RegleDefaut(const std::string& nom, bool actif) override;

    // Status word bits.
    enum : std::uint16_t {
        BitPreAlarme = 1u << 0,
        BitAlarme = 1u << 1,
        BitKlaxon = 1u << 2,
        BitAutoTest = 1u << 3,
        BitDCPlus = 1u << 4,
        BitDCMoins = 1u << 5,
        BitPreAlarmeAcquittee = 1u << 8,
        BitAlarmeAcquittee = 1u << 9,
        BitKlaxonAcquitte = 1u << 10,
    };
    static constexpr std::uint16_t PasDeMesure = 65535;

protected:
    bool Entree(int adresse, std::uint16_t& valeur) const override;
    bool Maintien(int adresse, std::uint16_t& valeur) const override;
    void Evoluer(TInstant maintenant) override;

private:
    std::uint16_t R() const;
    void Commande(std::uint16_t commande);
    // Recomputes the status word from R, the threshold and the faults; counts a change.
    void MettreAJourStatut();
    void ChangerStatut(std::uint16_t nouveau);

    TInstant m_finDemarrage;
    bool m_mesure = false;
    double m_base = 850;      // kOhm, PasDeMesure: nothing measured
    double m_r = 850;
    double m_derive = 0.02;   // spread of the wander, a fraction of the base
    TInstant m_prochainPas = 0;
    std::mt19937 m_hasard;
    std::uint16_t m_seuil = 50;
    std::uint16_t m_statut = 0;
    std::uint16_t m_compteur = 0;
    std::uint16_t m_rMin = PasDeMesure;
    std::uint32_t m_dateAlarme = 0;
    std::uint16_t m_defauts = 0;
};
