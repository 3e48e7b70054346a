#pragma once
// The event journal: "Log.dat", a headerless sequence of 96-byte entries,
// appended one entry at a time and read back by its recent tail.
#include "data/Chaine1252.h"
#include "data/Tableau1.h"
#include "data/TypesVeilleur.h"
#include "platform/EvenementNomme.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

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

// The journal store with its access guard: a process flag plus the named
// event, non-signalled while this process reads or appends the file.
class TJournalLog {
public:
    // Sets the named event: no access of this process is in progress yet.
    explicit TJournalLog(const QString& cheminFichier = QString::fromLatin1(NomFichierLog),
                         const QString& nomEvenement = QString::fromLatin1(NomEvenementAccesLog));

    // Tries once more to write the entries kept by failed appends; whatever
    // still cannot be written is announced on stderr.
    ~TJournalLog();
    TJournalLog(const TJournalLog&) = delete;
    TJournalLog& operator=(const TJournalLog&) = delete;

    void PrendreAccesLog();
    void RendreAccesLog();

    // Appends one entry at the end of the file (after its last whole record),
    // under an exclusive lock of the file that other processes appending to it
    // also take; the lock is awaited for about 2 s at most. When the file
    // cannot be written the entry is kept, in order, and written first by the
    // next append; the failure is still thrown (EErreurVeilleur) with the
    // system's text for it.
    void AjouterEntreeLog(const TEntreeLog& entree);

    // Writes the entries kept by failed appends, oldest first (throws like an append).
    void EcrireEntreesEnAttente();

    // Loads the entries of the last 2000 records that are at most 360 days old.
    // Throws EErreurVeilleur on a file error, the guard released and the file closed.
    void ChargerJournal(TTamponJournal& tampon, TLangue langue);

    bool AccesLogEnCours() const { return m_accesLogEnCours; }
    TEvenementNomme& EvenementAccesLog() { return m_evenement; }
    const QString& CheminFichier() const { return m_chemin; }

    // Entries waiting for a failed append to be retried, and those dropped once
    // more than CapaciteAttente were waiting.
    int EntreesEnAttente() const { return static_cast<int>(m_attente.size()); }
    long long EntreesPerdues() const { return m_perdues; }

    // Clock and message pump, replaceable by tests.
    void DefinirHorloge(std::function<double()> horloge) { m_horloge = std::move(horloge); }
    void DefinirPompe(std::function<void()> pompe) { m_pompe = std::move(pompe); }

private:
    QString m_chemin;
    TEvenementNomme m_evenement;
    bool m_accesLogEnCours = false;
    std::deque<TEntreeLog> m_attente;
    long long m_perdues = 0;
    std::function<double()> m_horloge;
    std::function<void()> m_pompe;
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
