#pragma once
// Checks the records of "Log.dat" for what the station itself never writes:
// unknown codes, overlong texts, dates that are no date or cannot be right,
// dates going backwards, and a partial trailing record. A step back of one
// hour is the end of summer time, told as a note, not as a problem.
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
    qint64 NbNotes() const { return m_notes; }

    // How far from exactly one hour back a step may be and still be the end
    // of summer time: the records on either side are seconds apart.
    static constexpr double ToleranceHeureSecondes = 10.0;

private:
    void Signaler(std::string& rapport, qint64 index, const std::string& texte);

    double m_maintenant;
    double m_premier1990;
    double m_datePrecedente;
    qint64 m_indexPrecedent = -1;
    qint64 m_problemes = 0;
    qint64 m_notes = 0;
};
