#pragma once
// A QFL8 fault locator with its QFL16 units: on command it searches for the
// insulation fault for a while, then shows where it found it and keeps the
// last ten faults found.
#include "simulateur/Appareil.h"

#include <array>

class TAppareilQFL : public TAppareil {
public:
    TAppareilQFL(int numero, TInstant dureeRechercheMs);

    std::uint8_t Ecrire(int adresse, const std::vector<std::uint16_t>& valeurs, bool seul) override;
    std::string Etat() const override;

    bool RegleDefaut(const std::string& nom, bool actif) override;
    bool RegleFuite(int depart, int unite, int conducteur, int kOhm) override;
    bool RegleDureeRecherche(TInstant ms) override;
    bool RegleUnites(std::uint32_t masque) override;

    enum : std::uint16_t { BitRecherche = 1u << 0, BitTrouve = 1u << 1, BitDefaut = 1u << 2 };
    static constexpr int NbReglages = 7;  // HR 100-106

protected:
    bool Entree(int adresse, std::uint16_t& valeur) const override;
    bool Maintien(int adresse, std::uint16_t& valeur) const override;
    void Evoluer(TInstant maintenant) override;

private:
    void Terminer();

    TInstant m_dureeRecherche;
    TInstant m_maintenant = 0;
    TInstant m_finRecherche = -1;  // -1: no search running
    std::uint16_t m_statut = 0;
    std::uint16_t m_recherches = 0;
    std::uint32_t m_unites = 0x0F;  // QFL16 units 1-4
    std::array<std::uint16_t, NbReglages> m_reglages;
    // IR 20-679 as read, indexed by register number.
    std::array<std::uint16_t, 680> m_resultats{};
    struct {
        int Depart = 0;  // 0: nothing to find
        int Unite = 0;
        int Conducteur = 0;
        int KOhm = 0;
    } m_fuite;
};
