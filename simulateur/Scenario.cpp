#include "simulateur/Scenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>

bool ChargerScenario(const std::string& chemin, std::vector<TEtapeScenario>& etapes, std::string& erreur)
{
    std::ifstream fichier(chemin);
    if (!fichier) {
        erreur = "cannot read the scenario \"" + chemin + "\".";
        return false;
    }
    etapes.clear();
    std::string ligne;
    for (int numero = 1; std::getline(fichier, ligne); ++numero) {
        const std::size_t debut = ligne.find_first_not_of(" \t\r");
        if (debut == std::string::npos || ligne[debut] == '#')
            continue;
        const std::size_t finTemps = std::min(ligne.find_first_of(" \t", debut), ligne.size());
        double secondes = -1;
        const auto r = std::from_chars(ligne.data() + debut, ligne.data() + finTemps, secondes);
        std::size_t commande = ligne.find_first_not_of(" \t", finTemps);
        if (r.ec != std::errc() || r.ptr != ligne.data() + finTemps || !(secondes >= 0 && secondes < 1e9) ||
            commande == std::string::npos) {
            erreur = "scenario \"" + chemin + "\", line " + std::to_string(numero) +
                     ": a time in seconds, then a command, is expected.";
            return false;
        }
        std::string texte = ligne.substr(commande);
        while (!texte.empty() && (texte.back() == '\r' || texte.back() == ' '))
            texte.pop_back();
        etapes.push_back({TInstant(std::llround(secondes * 1000)), texte, numero});
    }
    std::stable_sort(etapes.begin(), etapes.end(), [](const auto& a, const auto& b) { return a.Quand < b.Quand; });
    return true;
}
