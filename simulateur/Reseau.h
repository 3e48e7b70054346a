#pragma once
// The simulated devices of one line, by unit identifier, and the answer each
// gives to a request (a Modbus PDU: function code and data).
#include "simulateur/Appareil.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

using TOctets = std::vector<std::uint8_t>;

class TReseau {
public:
    void Ajouter(std::unique_ptr<TAppareil> appareil);
    TAppareil* Appareil(int numero) const;
    std::vector<int> Numeros() const;

    // The reply PDU, or nothing when no device answers: a number not
    // simulated, a silent device, a broadcast, a request too short to read.
    std::optional<TOctets> Traiter(int unite, const TOctets& requete);

    void Avancer(TInstant maintenant);

    // A silent device hears but never answers, as one unplugged would.
    void RendreMuet(int numero, bool muet);

private:
    std::map<int, std::unique_ptr<TAppareil>> m_appareils;
    std::set<int> m_muets;
};
