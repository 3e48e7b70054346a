#include "journal/VerificationJournal.h"

#include "data/DateVeilleur.h"
#include "journal/ExportJournal.h"

#include <QDate>
#include <cmath>

namespace {
std::string Nombre(double v)
{
    std::string s;
    ExportJournal::AjouterNombre(s, v);
    return s;
}
}

TVerificationJournal::TVerificationJournal(double maintenant) : m_maintenant(maintenant),
      m_premier1990(DateVeilleur::DepuisDateTime(QDateTime(QDate(1990, 1, 1), QTime(0, 0)))), m_datePrecedente(NAN)
{
}

void TVerificationJournal::Signaler(std::string& rapport, qint64 index, const std::string& texte)
{
    ++m_problemes;
    rapport += "record " + std::to_string(index) + ": " + texte + "\n";
}

void TVerificationJournal::Examiner(const TEntreeLog& e, qint64 index, std::string& rapport)
{
    if (e.Code >= NbCodesEvenements)
        Signaler(rapport, index, "unknown event code " + std::to_string(e.Code));
    if (e.InfosCompl.Longueur > LongueurMaxInfosCompl)
        Signaler(rapport, index, "text length " + std::to_string(e.InfosCompl.Longueur) + " above "
                                     + std::to_string(LongueurMaxInfosCompl));
    const double d = e.DateHeure;
    if (!std::isfinite(d)) {
        Signaler(rapport, index, "date is not a number (" + Nombre(d) + ")");
        return;
    }
    const std::string iso = ExportJournal::DateIso(d);
    const std::string texte = iso.empty() ? Nombre(d) : iso;
    if (d < m_premier1990)
        Signaler(rapport, index, "implausible date " + texte + " (before 1990)");
    else if (d > m_maintenant + 1.0)
        Signaler(rapport, index, "implausible date " + texte + " (more than a day in the future)");
    const double reculSecondes = (m_datePrecedente - d) * 86400.0;
    if (m_indexPrecedent >= 0 && reculSecondes > 0 && reculSecondes <= 3600.0 + 1.0
        && reculSecondes >= 3600.0 - ToleranceHeureSecondes) {
        const std::string avant = ExportJournal::DateIso(m_datePrecedente);
        ++m_notes;
        rapport += "record " + std::to_string(index) + ": note: date " + texte + " goes back one hour from "
                   + (avant.empty() ? Nombre(m_datePrecedente) : avant) + " (record " + std::to_string(m_indexPrecedent)
                   + "), the end of summer time; not a problem\n";
    } else if (m_indexPrecedent >= 0 && d < m_datePrecedente) {
        const std::string avant = ExportJournal::DateIso(m_datePrecedente);
        Signaler(rapport, index, "date " + texte + " goes backwards from " + (avant.empty() ? Nombre(m_datePrecedente) : avant)
                                     + " (record " + std::to_string(m_indexPrecedent) + ")");
    }
    m_datePrecedente = d;
    m_indexPrecedent = index;
}

void TVerificationJournal::Terminer(qint64 nbEnregistrements, qint64 octetsRestants, std::string& rapport)
{
    if (octetsRestants > 0)
        Signaler(rapport, nbEnregistrements,
                 "partial record of " + std::to_string(octetsRestants) + " bytes at the end of the file");
    rapport += std::to_string(nbEnregistrements) + (nbEnregistrements == 1 ? " record, " : " records, ");
    if (m_problemes == 0)
        rapport += "no problem found";
    else
        rapport += std::to_string(m_problemes) + (m_problemes == 1 ? " problem found" : " problems found");
    if (m_notes > 0)
        rapport += ", " + std::to_string(m_notes) + (m_notes == 1 ? " note" : " notes");
    rapport += "\n";
}
