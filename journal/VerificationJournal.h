#pragma once
// Checks the records of "Log.dat" for what the station itself never writes:
// unknown codes, overlong texts, dates that are no date or cannot be right,
// dates going backwards, and a partial trailing record.
#include "data/JournalLog.h"

#include <string>

class TVerificationJournal {
public:
    // Dates before 1990-01-01 or more than a day after `maintenant` are implausible.
    explicit TVerificationJournal(double maintenant);

    // Appends one line to `rapport` per problem of the record.
    void Examiner(const TEntreeLog& entree, qint64 index, std::string& rapport);
    // Appends the partial tail (if any) and the summary line.
    void Terminer(qint64 nbEnregistrements, qint64 octetsRestants, std::string& rapport);

    qint64 NbProblemes() const { return m_problemes; }

private:
    void Signaler(std::string& rapport, qint64 index, const std::string& texte);

    double m_maintenant;
    double m_premier1990;
    double m_datePrecedente;
    qint64 m_indexPrecedent = -1;
    qint64 m_problemes = 0;
};
