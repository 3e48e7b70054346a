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
#include "liaison/DecodageQFL.h"
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
    enum class TGenreCommande : std::uint8_t { Acquitter, Seuil, ReglageQFL, RechercheQFL, RAZMinMaxQFL };
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
        std::uint16_t Valeur = 0;   // the acknowledgement, the threshold or the setting
        TIssue Issue = TIssue::Reussie;
        int CodeException = 0;      // 6: a search is already running
        int Reglage = -1;           // ReglageQFL: which setting (0..6)
    };
    struct TDemandeSeuil {
        bool Acceptee = false;      // false: out of 10..10000, nothing sent
        std::vector<std::uint64_t> Ids;
    };

    // KMT devices only: the QFL numbers of the file are left alone.
    TLiaison(const TConfigReseau& config, TVerrouDonnees& verrou, Tableau1<TDonneesKMT, NbSources>& donnees,
             QObject* parent = nullptr);
    // KMT and QFL8 devices; the QFL8 numbered n has its record at n - 32.
    TLiaison(const TConfigReseau& config, TVerrouDonnees& verrou, Tableau1<TDonneesKMT, NbSources>& donnees,
             Tableau1<TDonneesQFL, NbSources>& donneesQFL, QObject* parent = nullptr);
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
    // A QFL8 setting (0..6, see ReglageQFLValide); with appliquerAuxSuivants
    // also every present, online QFL8 with a higher number. Out of range:
    // nothing sent.
    TDemandeSeuil DemanderReglageQFL(int appareil, int reglage, int valeur, bool appliquerAuxSuivants,
                                     const QString& utilisateur);
    // A fault search on a QFL8; the result's exception 6 says one already runs.
    std::uint64_t LancerRecherche(int appareil, const QString& utilisateur);
    std::uint64_t RAZMinMax(int appareil, const QString& utilisateur);
    // When KMT kmt's alarm starts, a search starts on QFL8 kmt + 32.
    void DefinirRechercheAuto(int kmt, bool active);
    bool RechercheAuto(int kmt) const;
    // What "automatique" searches carry in place of a user.
    static QString UtilisateurAutomatique() { return QStringLiteral("automatique"); }

    // The last complete poll cycle: how long it took, and the wire time of its
    // transactions at the line's speed (its floor).
    struct TStatistiquesCycle {
        std::int64_t DureeUs = 0;
        std::int64_t PlancherUs = 0;
        int Transactions = 0;
        std::uint64_t Cycles = 0;
    };
    TStatistiquesCycle Statistiques() const;

    std::vector<TEntreeLog> PrendreEntrees();
    std::vector<TResultat> PrendreResultats();

    bool LigneOuverte() const { return m_ligneOuverte; }

    // Pause before reopening a line that failed or vanished.
    static constexpr int DelaiReouvertureMs = 2000;
    // The shortest poll cycle, so that a fast gateway is not hammered.
    static constexpr int CycleMinMs = 200;
    static constexpr int PeriodeHistoriqueMs = 2000;
    // Large reads of a finished search per cycle, whatever the number of
    // QFL8s: the other devices' readings wait for no more than these.
    static constexpr int MorceauxParCycle = 2;
    // Settings may change at the device's own panel: read again this often.
    static constexpr int PeriodeReglagesMs = 10000;

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
        int Reglage = -1;
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
        // QFL8 only.
        bool QFL = false;
        bool CompteurConnu = false;
        std::uint16_t CompteurVise = 0;     // the search being fetched
        std::vector<DecodageQFL::TMorceau> Morceaux;  // still to read
        std::size_t MorceauSuivant = 0;
        std::int64_t ProchainsReglages = 0;
        std::unique_ptr<TRechercheQFL> Tampon;
    };

    void Boucle();
    void Cycle();
    bool Interroger(TAppareil& a);
    bool InterrogerKMT(TAppareil& a);
    bool InterrogerQFL(TAppareil& a);
    // Reads registers, in two parts when the device refuses the unused 4..9.
    std::vector<std::uint16_t> LireEtat(TAppareil& a, int nombre, TLigneModbus::TResultat& resultat);
    // false when the line was lost meanwhile.
    bool LireReglages(TAppareil& a);
    bool LireMorceau(TAppareil& a);
    TAppareil* Trouver(int numero);
    void RechercheAutomatique(int kmt);
    void Initialiser();
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
    Tableau1<TDonneesQFL, NbSources>* m_qfl = nullptr;
    std::atomic<std::uint32_t> m_rechercheAuto{0};  // bit k - 1: KMT k
    int m_morceauxCycle = 0;
    mutable std::mutex m_mutexStatistiques;
    TStatistiquesCycle m_statistiques;

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
};
