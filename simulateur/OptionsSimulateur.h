#pragma once
// The simulator's command line.
#include "simulateur/Appareil.h"

#include <string>
#include <vector>

struct TOptionsSimulateur {
    bool Pty = false;
    std::string LienPty;         // a symbolic link made to the pseudo-terminal, if any
    int PortTcp = -1;            // -1: no TCP, 0: a free port
    std::vector<int> Kmt;
    std::vector<int> Qfl;
    TInstant DemarrageMs = 2000;
    TInstant DureeRechercheMs = 8000;
    int Vitesse = 0;             // baud of the simulated line, 0: none
    double DerivePourcent = 2;
    std::string Scenario;
    bool ArretFinEntree = false;
    std::uint32_t Graine = 0;
    bool GraineDonnee = false;
};

namespace OptionsSimulateur {

constexpr int SortieSucces = 0;
constexpr int SortieErreur = 2;

enum class TAnalyse { Lancer, Fini };
// Reads the arguments; --help and --version print and give Fini with code 0,
// a usage error prints one sentence on stderr and gives Fini with code 2.
TAnalyse Analyser(int argc, char* argv[], TOptionsSimulateur& options, int& code);

} // namespace OptionsSimulateur
