#pragma once
// A scenario file: one command a line, after the time it runs at, in seconds
// from the start ("12.5 r 3 40"). Blank lines and # comments are skipped.
#include "simulateur/Appareil.h"

#include <string>
#include <vector>

struct TEtapeScenario {
    TInstant Quand = 0;  // ms from the start
    std::string Commande;
    int Ligne = 0;
};

// The steps in time order (stable: lines with one time keep their order);
// false with one sentence in erreur when the file cannot be read or a time is malformed.
bool ChargerScenario(const std::string& chemin, std::vector<TEtapeScenario>& etapes, std::string& erreur);
