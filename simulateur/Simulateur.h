#pragma once
// The simulator's run: the devices, the lines that reach them (a
// pseudo-terminal for RTU, a TCP port), the console and the scenario, in one
// poll loop.
#include "simulateur/Console.h"
#include "simulateur/OptionsSimulateur.h"
#include "simulateur/Reseau.h"
#include "simulateur/Scenario.h"
#include "simulateur/TrameRtu.h"

#include <chrono>
#include <deque>
#include <map>

class TSimulateur {
public:
    explicit TSimulateur(const TOptionsSimulateur& options);
    ~TSimulateur();
    TSimulateur(const TSimulateur&) = delete;
    TSimulateur& operator=(const TSimulateur&) = delete;

    // Opens the lines and prints where they are; false with one sentence on stderr.
    bool Ouvrir();
    // Serves until a signal, the command quitter or (if asked) the end of standard input.
    int Executer();

private:
    struct TClient {
        int Fd = -1;
        TOctets Tampon;
    };
    struct TEnvoi {
        TInstant Quand = 0;
        int Destination = -1;  // -1: the pseudo-terminal, else a TCP client's id
        TOctets Octets;
    };

    TInstant Maintenant() const;
    void Commande(const std::string& ligne);
    void LireEntree();
    void LirePty();
    void Accepter();
    void LireClient(int id);
    // The device's answer to one request, with the line's faults, queued for its time.
    void Repondre(int destination, int unite, const TOctets& pdu, std::size_t longueurRtu, const TOctets& enteteTcp);
    void Envoyer(TInstant maintenant);
    void FermerClient(int id);

    TOptionsSimulateur m_options;
    std::chrono::steady_clock::time_point m_depart;
    TReseau m_reseau;
    TPerturbations m_perturbations;
    TConsole m_console;
    std::vector<TEtapeScenario> m_scenario;
    std::size_t m_prochaineEtape = 0;
    bool m_entreeOuverte = true;
    std::string m_ligneEntree;
    bool m_quitter = false;

    int m_maitre = -1;   // pseudo-terminal, our side
    int m_esclave = -1;  // held open so that the line survives the station closing it
    std::string m_cheminEsclave;
    bool m_lienFait = false;
    TDecoupeurRtu m_decoupeur;
    TInstant m_finLigne = 0;  // when the line is free again, for replies in turn

    int m_ecoute = -1;
    std::map<int, TClient> m_clients;
    int m_prochainClient = 0;
    std::deque<TEnvoi> m_envois;
};
