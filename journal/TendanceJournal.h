#pragma once
// Trend of each origin's insulation resistance (Valeur1) over a window of
// the journal: how long before the fitted fall meets the threshold (Valeur2).
#include "data/JournalLog.h"

#include <array>
#include <string>
#include <vector>

struct TTendanceOrigine {
    int Origine = 0;
    qint64 Nombre = 0;             // entries in the window
    double Premiere = 0;           // first and last dates (day counts)
    double Derniere = 0;
    double MinValeur1 = 0;         // NaN when no entry had a finite one
    double DerniereValeur2 = 0;    // threshold of the last entry that had one, or NaN
    bool AssezDeValeurs = false;   // at least NbMinPente values of Valeur1 spread in time
    bool Baisse = false;           // with enough values: the fit falls
    bool PenteConnue = false;      // falling, with a threshold to reach
    double PenteKOhmParHeure = 0;
    double HeuresAvantSeuil = 0;   // from the last entry; <= 0 when already reached
};

class TTendanceJournal {
public:
    static constexpr int NbMinPente = 10;

    // Entries dated within [debut, fin] (day counts) are counted.
    TTendanceJournal(double debut, double fin);

    void Ajouter(const TEntreeLog& entree);
    // Origins that had entries, in increasing order.
    std::vector<TTendanceOrigine> Resultats() const;

    // One line per origin for the operator.
    static std::string Texte(const TTendanceOrigine& t);

private:
    struct TSommes {
        qint64 Nombre = 0;
        double Premiere = 0, Derniere = 0;
        double MinValeur1 = 0;
        bool AvecValeur1 = false;
        double DerniereValeur2 = 0;
        bool AvecValeur2 = false;
        // Least squares of Valeur1 on time, in hours from the window start.
        qint64 n = 0;
        double St = 0, Sv = 0, Stt = 0, Stv = 0;
    };

    double m_debut, m_fin;
    std::array<TSommes, 256> m_sommes{};
};
