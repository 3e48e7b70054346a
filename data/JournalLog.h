#pragma once
// The event journal: "Log.dat", a headerless sequence of 96-byte entries,
// appended one entry at a time and read back by its recent tail.
#include "data/Chaine1252.h"
#include "data/Tableau1.h"
#include "data/TypesVeilleur.h"
#include "platform/EvenementNomme.h"

#include <QString>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

constexpr int LongueurMaxInfosCompl = 52;
constexpr int NbCodesEvenements = 38;

struct TEntreeLog {
    std::uint8_t Code;                 // event code 0..37
    std::uint8_t Remplissage[7];
    double DateHeure;                  // days since 1899-12-30, local time
    std::uint8_t Origine;              // device number
    std::uint8_t Attribut1;
    std::uint8_t Attribut2;
    TChaineCourte<LongueurMaxInfosCompl> InfosCompl;
    double Valeur1;
    double Valeur2;
    double Valeur3;                    // reserved
};

static_assert(sizeof(TEntreeLog) == 96);
static_assert(offsetof(TEntreeLog, Code) == 0);
static_assert(offsetof(TEntreeLog, DateHeure) == 8);
static_assert(offsetof(TEntreeLog, Origine) == 16);
static_assert(offsetof(TEntreeLog, Attribut1) == 17);
static_assert(offsetof(TEntreeLog, Attribut2) == 18);
static_assert(offsetof(TEntreeLog, InfosCompl) == 19);
static_assert(offsetof(TEntreeLog, Valeur1) == 72);
static_assert(offsetof(TEntreeLog, Valeur2) == 80);
static_assert(offsetof(TEntreeLog, Valeur3) == 88);

constexpr int TailleEntreeLog = sizeof(TEntreeLog);
constexpr int CapaciteTampon = 10000;
constexpr int NbMaxLus = 2000;
constexpr double AgeMaxJours = 360.0;
constexpr int CapaciteAttente = 10000;

// The station's age rule: an entry more than ageMaxJours days older than now is
// not shown (strict comparison; an entry with a NaN date is never too old).
inline bool EntreeTropAncienne(double date, double maintenant, double ageMaxJours = AgeMaxJours)
{
    return maintenant - ageMaxJours > date;
}

inline const char* const NomFichierLog = "Log.dat";
inline const char* const NomEvenementAccesLog = "EventAccesLogTermine";

// In-memory copy of the journal's tail handed to the event log screen.
struct TTamponJournal {
    Tableau1<TEntreeLog, CapaciteTampon> Entrees;  // 1..NbEntrees valid, oldest first
    std::uint16_t NbEntrees;
    TLangue Langue;
};

// What the end of a run did with the entries still waiting.
struct TBilanFinJournal {
    int Ecrites = 0;       // written to "Log.dat"
    int Sauvees = 0;       // appended to the recovery file instead
    long long Perdues = 0; // neither, with those dropped once too many waited
    QString Erreur;        // why "Log.dat", then the recovery file, could not take them

    // The operator must be told on screen: entries were lost.
    bool AMontrer() const { return Perdues > 0; }
    // One French sentence for the operator (empty when nothing needs saying).
    QString Texte() const;
};

// What the start of a run recovered.
struct TBilanRecuperation {
    int Recuperees = 0;    // entries appended to "Log.dat" from the recovery file
    qint64 OctetsIgnores = 0;  // a partial trailing record of the recovery file, left out
    QString Erreur;        // why the recovery file was left where it is (empty when none)
};

// The journal store with its access guard: a process flag plus the named
// event, non-signalled while this process reads or appends the file.
//
// Appends are synced (fdatasync) before they count as written. Entries handed
// to DeposerEntreeLog are written by a writer thread of the store, in order,
// so the caller never waits for the disk; AjouterEntreeLog writes and waits.
class TJournalLog {
public:
    // Sets the named event: no access of this process is in progress yet.
    explicit TJournalLog(const QString& cheminFichier = QString::fromLatin1(NomFichierLog),
                         const QString& nomEvenement = QString::fromLatin1(NomEvenementAccesLog));

    // Ends the run as Terminer does if that was not done, and says on stderr
    // what it could not write.
    ~TJournalLog();
    TJournalLog(const TJournalLog&) = delete;
    TJournalLog& operator=(const TJournalLog&) = delete;

    // Takes the guard, waiting while another thread of this process holds it.
    void PrendreAccesLog();
    void RendreAccesLog();

    // Keeps a copy of the entry and returns at once: the writer thread appends
    // it, after every entry deposited before it. A failed write keeps the
    // entries, in order, for the next one, and is told to the function given
    // to DefinirSignalement (on the writer thread).
    void DeposerEntreeLog(const TEntreeLog& entree);

    // Appends one entry at the end of the file (after its last whole record),
    // after every entry still waiting, and returns once it is synced to disk.
    // Under an exclusive lock of the file that other processes appending to it
    // also take, awaited for about 2 s at most. When the file cannot be
    // written the entry is kept, in order, and written first by the next
    // append; the failure is still thrown (EErreurVeilleur) with the system's
    // text for it.
    void AjouterEntreeLog(const TEntreeLog& entree);

    // Writes the entries still waiting, oldest first, and returns once they
    // are synced (throws like an append).
    void EcrireEntreesEnAttente();

    // End of run: stops the writer thread, writes what still waits to the
    // file, or else appends it to the recovery file beside it (same records,
    // synced). Once only; later appends are refused. Takes at most about 4 s.
    TBilanFinJournal Terminer();

    // Start of run: appends the entries of the recovery file to the journal,
    // in their order, then removes it. Never duplicates them, even when the
    // process died in the middle of an earlier recovery.
    TBilanRecuperation RecupererEntrees();

    // The entry the station journals after recovering n entries.
    static TEntreeLog EntreeRecuperation(int n, double date);

    // Loads the entries of the last 2000 records that are at most 360 days old.
    // Throws EErreurVeilleur on a file error, the guard released and the file closed.
    void ChargerJournal(TTamponJournal& tampon, TLangue langue);

    bool AccesLogEnCours() const;
    TEvenementNomme& EvenementAccesLog() { return m_evenement; }
    const QString& CheminFichier() const { return m_chemin; }
    QString CheminRecuperation() const { return m_chemin + QStringLiteral(".attente"); }

    // Entries waiting to be written (a failed append, or the writer thread not
    // done yet), and those dropped once more than CapaciteAttente were waiting.
    int EntreesEnAttente() const;
    long long EntreesPerdues() const;

    // Clock, replaceable by tests.
    void DefinirHorloge(std::function<double()> horloge) { m_horloge = std::move(horloge); }
    // Called on the writer thread with the text of each failed write.
    void DefinirSignalement(std::function<void(const QString&)> signalement);

private:
    void Ecrivain();
    void DemarrerEcrivain();
    void ArreterEcrivain();
    // One pass: every waiting entry to the file, synced. Empty text when done.
    QString Passe();
    int AppendreALaRecuperation(QString& erreur);
    TBilanRecuperation Recuperer(const QString& source, qint64 positionNotee);

    QString m_chemin;
    TEvenementNomme m_evenement;
    std::function<double()> m_horloge;

    mutable std::mutex m_mutex;
    std::condition_variable m_condition;
    bool m_accesLogEnCours = false;
    std::deque<TEntreeLog> m_attente;
    int m_enEcriture = 0;          // entries at the front of m_attente being written
    long long m_perdues = 0;
    bool m_termine = false;
    std::thread m_ecrivain;
    bool m_arret = false;
    unsigned long long m_passesDemandees = 0, m_passesFaites = 0;
    QString m_erreurPasse;         // the last pass's failure, empty when it wrote all
    std::function<void(const QString&)> m_signalement;
};

// Holds the log access guard for one scope.
class TAccesLog {
public:
    explicit TAccesLog(TJournalLog& journal) : m_journal(journal) { m_journal.PrendreAccesLog(); }
    ~TAccesLog() { m_journal.RendreAccesLog(); }
    TAccesLog(const TAccesLog&) = delete;
    TAccesLog& operator=(const TAccesLog&) = delete;

private:
    TJournalLog& m_journal;
};
