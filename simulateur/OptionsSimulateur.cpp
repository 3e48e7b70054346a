#include "simulateur/OptionsSimulateur.h"

#include "simulateur/Console.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

#ifndef VEILLEUR_VERSION_SIMULATEUR
#define VEILLEUR_VERSION_SIMULATEUR "0.0"
#endif

namespace OptionsSimulateur {
namespace {

const char* const Programme = "veilleur-simulateur";

struct EUsage {
    std::string Texte;
};

void Aide()
{
    std::printf(
        "Usage: %s [options]\n"
        "Simulates KMT insulation monitors and QFL8 fault locators on a Modbus line, for tests,\n"
        "for trying the station without hardware and for commissioning. Every device answers\n"
        "with its unit identifier (its number); other numbers get no answer.\n"
        "\n"
        "Options:\n"
        "  --pty [LINK]              serves Modbus RTU on a new pseudo-terminal, prints its path\n"
        "                            on a line of its own and, with LINK, makes a symbolic link to it\n"
        "  --tcp PORT                serves Modbus TCP on 127.0.0.1:PORT and prints the port\n"
        "                            on a line of its own (0: a free port)\n"
        "  --kmt LIST                KMT insulation monitors, numbers 1-31 (e.g. 1-8,12)\n"
        "  --qfl LIST                QFL8 fault locators, numbers 33-63 (e.g. 33-40)\n"
        "  --demarrage-ms MS         a KMT measures nothing (R reads 65535) for MS after start (2000)\n"
        "  --duree-recherche MS      how long a QFL8 search takes (8000)\n"
        "  --derive PERCENT          spread of the wander of each KMT's R around its base (2)\n"
        "  --graine N                seed of the wander, for a run that repeats itself\n"
        "  --vitesse-simulee BAUD    delays every reply by the request's and the reply's wire\n"
        "                            time at BAUD (11 bits a character) and the 3.5 characters of\n"
        "                            silence that end the request\n"
        "  --scenario FILE           runs the commands of FILE, each line \"SECONDS COMMAND\"\n"
        "  --arret-fin-entree        stops when standard input closes (it keeps serving otherwise)\n"
        "  -h, --help                shows this help\n"
        "  --version                 shows the version\n"
        "\n"
        "The pseudo-terminal's path comes first, then the TCP port. The simulator stops on\n"
        "SIGTERM, SIGINT or the command quitter.\n"
        "\n"
        "%s",
        Programme, TConsole::Aide());
}

int Entier(std::string_view option, const std::string& texte, int min, int max)
{
    int v = 0;
    const auto r = std::from_chars(texte.data(), texte.data() + texte.size(), v);
    if (r.ec != std::errc() || r.ptr != texte.data() + texte.size() || v < min || v > max)
        throw EUsage{std::string(Programme) + ": invalid value \"" + texte + "\" for " + std::string(option) +
                     " (a whole number from " + std::to_string(min) + " to " + std::to_string(max) + ")."};
    return v;
}

std::vector<int> Liste(std::string_view option, const std::string& texte, int min, int max)
{
    std::vector<int> numeros;
    if (!ListeNumeros(texte, numeros) || std::any_of(numeros.begin(), numeros.end(), [&](int n) { return n < min || n > max; }))
        throw EUsage{std::string(Programme) + ": invalid value \"" + texte + "\" for " + std::string(option) +
                     " (numbers and ranges from " + std::to_string(min) + " to " + std::to_string(max) + ", such as " +
                     std::to_string(min) + "-" + std::to_string(min + 3) + "," + std::to_string(min + 6) + ")."};
    return numeros;
}

} // namespace

TAnalyse Analyser(int argc, char* argv[], TOptionsSimulateur& o, int& code)
{
    try {
        for (int i = 1; i < argc; ++i) {
            std::string option = argv[i];
            std::string valeur;
            bool valeurJointe = false;
            if (const std::size_t egal = option.find('='); option.rfind("--", 0) == 0 && egal != std::string::npos) {
                valeur = option.substr(egal + 1);
                option.resize(egal);
                valeurJointe = true;
            }
            const auto argument = [&]() -> std::string {
                if (valeurJointe)
                    return valeur;
                if (i + 1 >= argc)
                    throw EUsage{std::string(Programme) + ": " + option + " needs a value."};
                return argv[++i];
            };
            if (option == "-h" || option == "--help") {
                Aide();
                code = SortieSucces;
                return TAnalyse::Fini;
            }
            if (option == "--version") {
                std::printf("%s %s\n", Programme, VEILLEUR_VERSION_SIMULATEUR);
                code = SortieSucces;
                return TAnalyse::Fini;
            }
            if (option == "--pty") {
                o.Pty = true;
                // The link is optional: the next word is one unless it is an option.
                if (valeurJointe)
                    o.LienPty = valeur;
                else if (i + 1 < argc && argv[i + 1][0] != '-')
                    o.LienPty = argv[++i];
            } else if (option == "--tcp") {
                o.PortTcp = Entier(option, argument(), 0, 65535);
            } else if (option == "--kmt") {
                const std::vector<int> n = Liste(option, argument(), 1, 31);
                o.Kmt.insert(o.Kmt.end(), n.begin(), n.end());
            } else if (option == "--qfl") {
                const std::vector<int> n = Liste(option, argument(), 33, 63);
                o.Qfl.insert(o.Qfl.end(), n.begin(), n.end());
            } else if (option == "--demarrage-ms") {
                o.DemarrageMs = Entier(option, argument(), 0, 3600000);
            } else if (option == "--duree-recherche") {
                o.DureeRechercheMs = Entier(option, argument(), 0, 3600000);
            } else if (option == "--derive") {
                o.DerivePourcent = Entier(option, argument(), 0, 100);
            } else if (option == "--graine") {
                o.Graine = std::uint32_t(Entier(option, argument(), 0, 2147483647));
                o.GraineDonnee = true;
            } else if (option == "--vitesse-simulee") {
                o.Vitesse = Entier(option, argument(), 50, 4000000);
            } else if (option == "--scenario") {
                o.Scenario = argument();
            } else if (option == "--arret-fin-entree") {
                o.ArretFinEntree = true;
            } else {
                throw EUsage{std::string(Programme) + ": unknown option \"" + argv[i] + "\"; see " + Programme + " --help."};
            }
        }
        if (!o.Pty && o.PortTcp < 0)
            throw EUsage{std::string(Programme) + ": a line is needed, --pty or --tcp PORT; see " + Programme + " --help."};
        if (o.Kmt.empty() && o.Qfl.empty())
            throw EUsage{std::string(Programme) + ": no device to simulate, give --kmt or --qfl; see " + Programme + " --help."};
    } catch (const EUsage& e) {
        std::fprintf(stderr, "%s\n", e.Texte.c_str());
        code = SortieErreur;
        return TAnalyse::Fini;
    }
    return TAnalyse::Lancer;
}

} // namespace OptionsSimulateur
