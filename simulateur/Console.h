#pragma once
// The line commands that steer the simulation, typed on standard input or
// played from a scenario file.
#include "simulateur/Reseau.h"

#include <string>

// Faults of the line itself, applied to the next replies whoever sends them.
struct TPerturbations {
    int CrcFaux = 0;          // replies left with a bad CRC (over TCP: a wrong last byte)
    int UniteFausse = 0;      // replies left with another unit identifier
    TInstant RetardMs = 0;    // added to each reply
    int RetardsRestants = 0;  // replies left to delay, -1: all of them
};

// "1-8,12", or "tous" for every simulated device; false when malformed.
bool ListeNumeros(const std::string& texte, std::vector<int>& numeros);

class TConsole {
public:
    TConsole(TReseau& reseau, TPerturbations& perturbations) : m_reseau(reseau), m_perturbations(perturbations) {}

    enum class TResultat { Fait, Erreur, Quitter };
    // Runs one command; sortie gets what it prints (etat, aide), erreur one
    // sentence when it cannot be run. Blank lines and # comments do nothing.
    TResultat Executer(const std::string& ligne, std::string& sortie, std::string& erreur);

    static const char* Aide();

private:
    TReseau& m_reseau;
    TPerturbations& m_perturbations;
};
