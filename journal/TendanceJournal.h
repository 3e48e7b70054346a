#pragma once
// Trend of each origin's insulation resistance (Valeur1) over a window of
// the journal: how long before the fitted fall meets the threshold (Valeur2).
//
// Dates are wall-clock times: they step back when summer time ends or the
// clock is set back, and jump when it is set forward. File order is the order
// of time; the fit keeps to the entries after the last such break.
#include "data/JournalLog.h"
#include "journal/SourcesJournal.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class TLecteurJournal;

// Where the dates of the file break: they go backwards, or leap further than
// ten times the median interval between records.
struct TRuptureJournal {
    qint64 Index = 0;    // the first record after the break
    double Avant = 0;    // date of the record before it
    double Apres = 0;    // date of the record at Index
    bool Recul = false;  // backwards (clock set back), else a gap
};

// First pass of the trend: the valid dates in file order.
class TChronologieJournal {
public:
    static constexpr double FacteurEcart = 10.0;

    // Records whose date is no calendar date are left out.
    void Ajouter(double date, qint64 index);
    // Finds the latest date, the median interval and the breaks.
    void Terminer();

    bool AvecDates() const { return !m_dates.empty(); }
    double Fin() const { return m_fin; }                 // latest date
    double IntervalleMedian() const { return m_mediane; }  // days; 0 when unknown
    const std::vector<TRuptureJournal>& Ruptures() const { return m_ruptures; }

private:
    std::vector<std::pair<double, qint64>> m_dates;
    double m_fin = 0;
    double m_mediane = 0;
    std::vector<TRuptureJournal> m_ruptures;
};

struct TTendanceOrigine {
    int Origine = 0;
    qint64 Nombre = 0;             // entries in the window
    double Premiere = 0;           // first and last dates (day counts)
    double Derniere = 0;
    double MinValeur1 = 0;         // NaN when no entry had a finite one
    double DerniereValeur2 = 0;    // threshold of the last entry that had one, or NaN
    bool AssezDeValeurs = false;   // at least NbMinPente values of Valeur1 spread in time, since the break
    bool Baisse = false;           // with enough values: the fit falls
    bool PenteConnue = false;      // falling, with a threshold to reach
    double PenteKOhmParHeure = 0;
    double HeuresAvantSeuil = 0;   // from the last fitted entry; <= 0 when already reached
    double DerniereAjustee = 0;    // date of the last fitted entry
    bool AvantRupture = false;     // some entries of the window were left out of the fit by a break
    bool RuptureRecul = false;     // that break: the clock set back, else a gap
    double DateRupture = 0;        // the date after that break
    double PremiereSousSeuil = 0;  // first entry of the window below its threshold (strictly), or NaN
    bool DerniereSousSeuil = false;  // the last entry with both values was below it
};

class TTendanceJournal {
public:
    static constexpr int NbMinPente = 10;

    // Entries dated within [debut, fin] (day counts) are counted.
    TTendanceJournal(double debut, double fin);

    // Entries before the record of the break are counted, not fitted.
    void DefinirRupture(const TRuptureJournal& rupture);
    void Ajouter(const TEntreeLog& entree, qint64 index = 0);
    // Origins that had entries, in increasing order.
    std::vector<TTendanceOrigine> Resultats() const;

    // One line per device for an auditor, with its source name when known.
    static std::string Texte(const TTendanceOrigine& t, const std::optional<TSourcesJournal>& sources = std::nullopt);

private:
    struct TSommes {
        qint64 Nombre = 0;
        double Premiere = 0, Derniere = 0;
        double MinValeur1 = 0;
        bool AvecValeur1 = false;
        double DerniereValeur2 = 0;
        bool AvecValeur2 = false;
        bool AvantRupture = false;
        double DerniereAjustee = 0;
        double PremiereSousSeuil = 0;
        bool AvecSousSeuil = false;
        bool DerniereSousSeuil = false;
        // Least squares of Valeur1 on time, in hours from the window start.
        qint64 n = 0;
        double St = 0, Sv = 0, Stt = 0, Stv = 0;
    };

    double m_debut, m_fin;
    bool m_avecRupture = false;
    TRuptureJournal m_rupture;
    std::array<TSommes, 256> m_sommes{};
};

namespace TendanceJournal {

// The whole report over the file: the window of fenetreJours (named libelle)
// ending at the latest date, the breaks within it, then one line per origin
// (only `origine` when it is 0..255), named with their sources when known.
// False on a read error (lecteur.Erreur()).
bool Rapport(TLecteurJournal& lecteur, double fenetreJours, const std::string& libelle, int origine, std::string& texte,
             const std::optional<TSourcesJournal>& sources = std::nullopt);

} // namespace TendanceJournal
