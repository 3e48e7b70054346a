// veilleur-simulateur: KMT and QFL8 devices on a Modbus line (a pseudo-terminal or TCP).
#include "simulateur/OptionsSimulateur.h"
#include "simulateur/Simulateur.h"

int main(int argc, char* argv[])
{
    TOptionsSimulateur options;
    int code = 0;
    if (OptionsSimulateur::Analyser(argc, argv, options, code) == OptionsSimulateur::TAnalyse::Fini)
        return code;
    TSimulateur simulateur(options);
    if (!simulateur.Ouvrir())
        return 1;
    return simulateur.Executer();
}
