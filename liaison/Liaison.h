#pragma once
// The station's side of the device network: one worker thread per line polls
// the devices, applies their readings to the records under the data lock, and
// carries out the operators' commands. The user-interface thread never waits
// on the bus: it queues commands and drains journal entries and command
// results, told by Disponible() when there are some.
#include "data/JournalLog.h"
#include "data/Tableau1.h"
#include "data/TypesVeilleur.h"
#include "liaison/ConfigReseau.h"
#include "liaison/DecodageModbus.h"
#include "liaison/LigneModbus.h"
#include "liaison/SuiviAppareil.h"
#include "liaison/TransitionsKMT.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TVerrouDonnees;

class TLiaison : public QObject {
    Q_OBJECT
public:
    // What an acknowledgement is for: the value written to the command register.
    enum class TAcquit : std::uint8_t { PreAlarme = 1, Alarme = 2, Klaxon = 3 };
    enum class TGenreCommande : std::uint8_t { Acquitter, Seuil };
    enum class TIssue : std::uint8_t {
        Reussie,        // the device accepted
        Exception,      // the device refused: CodeException (3: value refused)
        SansReponse,    // no valid reply
        HorsLigne,      // the device or the line is not online: nothing sent
        Arretee,        // the layer stopped first
    };
    struct TResultat {
        std::uint64_t Id = 0;
        int Appareil = 0;
        TGenreCommande Genre = TGenreCommande::Acquitter;
        std::uint16_t Valeur = 0;   // the acknowledgement or the threshold
        TIssue Issue = TIssue::Reussie;
        int CodeException = 0;
    };
    struct TDemandeSeuil {
        bool Acceptee = false;      // false: out of 10..10000, nothing sent
        std::vector<std::uint64_t> Ids;
    };

    TLiaison(const TConfigReseau& config, TVerrouDonnees& verrou, Tableau1<TDonneesKMT, NbSources>& donnees,
             QObject* parent = nullptr);
    // Stops the worker (Arreter).
    ~TLiaison() override;

    void Demarrer();
    // Returns within about one response delay, whatever the devices do.
    void Arreter();

    // Commands, from the user-interface thread; they never wait on the bus.
    // Returns the command's id, 0 when the device number or the kind is wrong.
    std::uint64_t Acquitter(int appareil, TAcquit quoi, const QString& utilisateur);
    // With appliquerAuxSuivants, the same threshold also goes to every present,
    // online KMT with a higher number.
    TDemandeSeuil DemanderSeuil(int appareil, int seuil, bool appliquerAuxSuivants, const QString& utilisateur);

    // What happened since the last call, oldest first: journal entries (to be
    // appended by the caller) and command results (to be shown).
    std::vector<TEntreeLog> PrendreEntrees();
    std::vector<TResultat> PrendreResultats();

    bool LigneOuverte() const { return m_ligneOuverte; }
    // Poll cycles completed and how long the last one took: for measuring
    // the line, not for deciding anything.
    struct TStatistiquesCycle {
        std::int64_t DureeUs = 0;
        std::uint64_t Cycles = 0;
    };
    TStatistiquesCycle Statistiques() const;

    // Pause before reopening a line that failed or vanished.
    static constexpr int DelaiReouvertureMs = 2000;
    // The shortest poll cycle, so that a fast gateway is not hammered.
    static constexpr int CycleMinMs = 200;
    static constexpr int PeriodeHistoriqueMs = 2000;

signals:
    // Entries or results are waiting; emitted from the worker (queued to the
    // receiver's thread), once until they are taken.
    void Disponible();

private:
    struct TCommande {
        std::uint64_t Id = 0;
        int Appareil = 0;
        TGenreCommande Genre = TGenreCommande::Acquitter;
        std::uint16_t Valeur = 0;
    };
    struct TAppareil {
        int Numero = 0;
        TSuiviAppareil Suivi;
        TEtatObserveKMT Observe;
        DecodageModbus::TLectureKMT Lecture;
        std::int64_t ProchainEchantillon = 0;
        bool HorlogeAVerifier = false;
        // The device refuses a read across the unused IR 4..9: read in two parts.
        bool LectureEnDeux = false;
    };

    void Boucle();
    void Cycle();
    bool Interroger(TAppareil& a);
    std::vector<std::uint16_t> LireKMT(TAppareil& a, TLigneModbus::TResultat& resultat);
    void VerifierHorloge(TAppareil& a);
    void Executer(TAppareil& a, const TCommande& c);
    void LignePerdue();
    void NoterEchec(TAppareil& a);
    void Perdu(TAppareil& a);
    bool Attendre(std::int64_t jusqua, bool reveilParCommande);
    std::uint64_t Mettre(TCommande c);
    void Publier(std::vector<TEntreeLog> entrees, const TResultat* resultat = nullptr);
    void Refuser(const TCommande& c, TIssue issue);
    bool ArretDemande();

    TConfigReseau m_config;
    TVerrouDonnees& m_verrou;
    Tableau1<TDonneesKMT, NbSources>& m_donnees;

    // Worker only.
    std::unique_ptr<TLigneModbus> m_ligne;
    std::vector<TAppareil> m_appareils;
    std::int64_t m_prochaineOuverture = 0;

    std::thread m_fil;
    std::mutex m_mutex;               // guards the queues and m_arret
    std::condition_variable m_reveil;
    bool m_arret = false;
    std::deque<TCommande> m_commandes;
    std::uint64_t m_prochainId = 1;
    std::deque<TEntreeLog> m_entrees;
    std::deque<TResultat> m_resultats;
    std::atomic<bool> m_signalEnAttente{false};
    std::atomic<bool> m_ligneOuverte{false};
    mutable std::mutex m_mutexStatistiques;
    TStatistiquesCycle m_statistiques;
};
