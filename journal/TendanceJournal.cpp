#include "journal/TendanceJournal.h"

#include "data/DateVeilleur.h"
#include "journal/ExportJournal.h"
#include "journal/LecteurJournal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void TChronologieJournal::Ajouter(double date, qint64 index)
{
    QDate jour;
    int ms = 0;
    if (DateVeilleur::Decomposer(date, jour, ms))
        m_dates.emplace_back(date, index);
}

void TChronologieJournal::Terminer()
{
    m_ruptures.clear();
    if (m_dates.empty())
        return;
    m_fin = m_dates.front().first;
    std::vector<double> intervalles;
    intervalles.reserve(m_dates.size());
    for (size_t i = 0; i < m_dates.size(); ++i) {
        m_fin = std::max(m_fin, m_dates[i].first);
        // Several devices often write at the same instant: only real steps of time count.
        if (i > 0 && m_dates[i].first > m_dates[i - 1].first)
            intervalles.push_back(m_dates[i].first - m_dates[i - 1].first);
    }
    m_mediane = 0;
    if (intervalles.size() >= 3) {
        auto milieu = intervalles.begin() + std::ptrdiff_t(intervalles.size() / 2);
        std::nth_element(intervalles.begin(), milieu, intervalles.end());
        m_mediane = *milieu;
    }
    for (size_t i = 1; i < m_dates.size(); ++i) {
        const double avant = m_dates[i - 1].first, apres = m_dates[i].first;
        const bool recul = apres < avant;
        if (recul || (m_mediane > 0 && apres - avant > FacteurEcart * m_mediane))
            m_ruptures.push_back({m_dates[i].second, avant, apres, recul});
    }
}

TTendanceJournal::TTendanceJournal(double debut, double fin) : m_debut(debut), m_fin(fin)
{
}

void TTendanceJournal::DefinirRupture(const TRuptureJournal& rupture)
{
    m_avecRupture = true;
    m_rupture = rupture;
}

void TTendanceJournal::Ajouter(const TEntreeLog& e, qint64 index)
{
    if (!(e.DateHeure >= m_debut && e.DateHeure <= m_fin))
        return;
    TSommes& s = m_sommes[e.Origine];
    if (s.Nombre == 0)
        s.Premiere = s.Derniere = e.DateHeure;
    ++s.Nombre;
    s.Premiere = std::min(s.Premiere, e.DateHeure);
    s.Derniere = std::max(s.Derniere, e.DateHeure);
    if (std::isfinite(e.Valeur2)) {
        s.DerniereValeur2 = e.Valeur2;
        s.AvecValeur2 = true;
    }
    if (!std::isfinite(e.Valeur1))
        return;
    // Below the threshold as the station raises an alarm: strictly.
    if (std::isfinite(e.Valeur2)) {
        s.DerniereSousSeuil = e.Valeur1 < e.Valeur2;
        if (s.DerniereSousSeuil && !s.AvecSousSeuil) {
            s.PremiereSousSeuil = e.DateHeure;
            s.AvecSousSeuil = true;
        }
    }
    s.MinValeur1 = s.AvecValeur1 ? std::min(s.MinValeur1, e.Valeur1) : e.Valeur1;
    s.AvecValeur1 = true;
    if (m_avecRupture && index < m_rupture.Index) {
        s.AvantRupture = true;
        return;
    }
    s.DerniereAjustee = e.DateHeure;
    const double t = (e.DateHeure - m_debut) * 24.0;
    ++s.n;
    s.St += t;
    s.Sv += e.Valeur1;
    s.Stt += t * t;
    s.Stv += t * e.Valeur1;
}

std::vector<TTendanceOrigine> TTendanceJournal::Resultats() const
{
    std::vector<TTendanceOrigine> resultats;
    for (int origine = 0; origine < 256; ++origine) {
        const TSommes& s = m_sommes[size_t(origine)];
        if (s.Nombre == 0)
            continue;
        TTendanceOrigine r;
        r.Origine = origine;
        r.Nombre = s.Nombre;
        r.Premiere = s.Premiere;
        r.Derniere = s.Derniere;
        r.MinValeur1 = s.AvecValeur1 ? s.MinValeur1 : NAN;
        r.DerniereValeur2 = s.AvecValeur2 ? s.DerniereValeur2 : NAN;
        r.DerniereAjustee = s.DerniereAjustee;
        r.AvantRupture = s.AvantRupture;
        r.RuptureRecul = m_rupture.Recul;
        r.DateRupture = m_rupture.Apres;
        r.PremiereSousSeuil = s.AvecSousSeuil ? s.PremiereSousSeuil : NAN;
        r.DerniereSousSeuil = s.DerniereSousSeuil;
        const double n = double(s.n);
        const double denominateur = n * s.Stt - s.St * s.St;
        r.AssezDeValeurs = s.n >= NbMinPente && denominateur > 0;
        if (r.AssezDeValeurs) {
            const double pente = (n * s.Stv - s.St * s.Sv) / denominateur;
            const double origineDroite = (s.Sv - pente * s.St) / n;
            r.Baisse = pente < 0;
            r.PenteKOhmParHeure = pente;
            if (r.Baisse && s.AvecValeur2) {
                r.PenteConnue = true;
                const double tSeuil = (r.DerniereValeur2 - origineDroite) / pente;
                r.HeuresAvantSeuil = tSeuil - (s.DerniereAjustee - m_debut) * 24.0;
            }
        }
        resultats.push_back(r);
    }
    return resultats;
}

namespace {
std::string Kilohms(double v)
{
    if (!std::isfinite(v))
        return "unknown";
    char t[32];
    std::snprintf(t, sizeof t, "%.0f kOhm", v);
    return t;
}

std::string Duree(double heures)
{
    char t[48];
    if (heures < 1.0)
        std::snprintf(t, sizeof t, "%.1f min", heures * 60.0);
    else if (heures < 48.0)
        std::snprintf(t, sizeof t, "%.1f h", heures);
    else
        std::snprintf(t, sizeof t, "%.1f days", heures / 24.0);
    return t;
}

std::string Secondes(double jours)
{
    const double s = jours * 86400.0;
    if (s < 120.0) {
        char t[32];
        std::snprintf(t, sizeof t, "%.1f s", s);
        return t;
    }
    return Duree(s / 3600.0);
}

// The device as the station names it, with its source.
std::string Appareil(int origine, const std::optional<TSourcesJournal>& sources)
{
    std::string s = EstKMT(origine) ? "KMT " : EstQFL(origine) ? "QFL " : "device ";
    s += std::to_string(origine);
    if (const std::optional<QString> nom = sources ? sources->Nom(origine) : std::nullopt)
        s += nom->isEmpty() ? std::string(" (no source name)") : " \"" + nom->toStdString() + "\"";
    return s;
}
}

std::string TTendanceJournal::Texte(const TTendanceOrigine& r, const std::optional<TSourcesJournal>& sources)
{
    std::string s = Appareil(r.Origine, sources) + ": " + std::to_string(r.Nombre)
                    + (r.Nombre == 1 ? " entry from " : " entries from ") + ExportJournal::DateIso(r.Premiere) + " to "
                    + ExportJournal::DateIso(r.Derniere) + "; lowest resistance " + Kilohms(r.MinValeur1)
                    + ", threshold " + Kilohms(r.DerniereValeur2);
    if (std::isfinite(r.PremiereSousSeuil)) {
        s += ", reached " + ExportJournal::DateIso(r.PremiereSousSeuil);
        if (!r.DerniereSousSeuil)
            s += ", above it again at the last entry";
        return s + "\n";
    }
    s += ", not reached";
    if (r.PenteConnue) {
        char pente[64];
        std::snprintf(pente, sizeof pente, "; falling %.1f kOhm/h", -r.PenteKOhmParHeure);
        s += pente;
        if (r.HeuresAvantSeuil <= 0) {
            s += ", the fitted trend is already below the threshold";
        } else {
            s += ", estimated to reach it in about " + Duree(r.HeuresAvantSeuil);
            const std::string quand = ExportJournal::DateIso(r.DerniereAjustee + r.HeuresAvantSeuil / 24.0);
            if (!quand.empty())
                s += " (around " + quand + ")";
        }
    } else if (r.AssezDeValeurs && !r.Baisse) {
        s += "; resistance not falling";
    } else if (r.AvantRupture) {
        s += std::string("; not enough data since the ") + (r.RuptureRecul ? "clock change" : "gap") + " at "
             + ExportJournal::DateIso(r.DateRupture);
    } else {
        s += "; not enough data for an estimate";
    }
    return s + "\n";
}

namespace TendanceJournal {

bool Rapport(TLecteurJournal& lecteur, double fenetreJours, const std::string& libelle, int origine, std::string& texte,
             const std::optional<TSourcesJournal>& sources)
{
    // The dates in file order first: the window ends at the latest one, and
    // the fit starts after the last break.
    TChronologieJournal chronologie;
    const qint64 n = lecteur.NbEnregistrements();
    if (!lecteur.Parcourir([&](const TEntreeLog& e, qint64 index) { chronologie.Ajouter(e.DateHeure, index); }, 0, n))
        return false;
    chronologie.Terminer();
    if (!chronologie.AvecDates()) {
        texte += "no valid dates: not enough data\n";
        return true;
    }
    const double fin = chronologie.Fin();
    const double debut = fin - fenetreJours;
    texte += "window " + libelle + " ending " + ExportJournal::DateIso(fin) + "\n";
    TTendanceJournal tendance(debut, fin);
    for (const TRuptureJournal& r : chronologie.Ruptures()) {
        if (!(r.Apres >= debut || r.Avant >= debut))
            continue;
        tendance.DefinirRupture(r);
        const std::string ou = " at record " + std::to_string(r.Index) + ": from " + ExportJournal::DateIso(r.Avant)
                               + " to " + ExportJournal::DateIso(r.Apres);
        if (r.Recul)
            texte += "clock set back" + ou + "\n";
        else
            texte += "gap of " + Secondes(r.Apres - r.Avant) + ou + " (more than ten times the median interval, "
                     + Secondes(chronologie.IntervalleMedian()) + ")\n";
    }
    const bool lu = lecteur.Parcourir([&](const TEntreeLog& e, qint64 index) {
        if (origine < 0 || e.Origine == origine)
            tendance.Ajouter(e, index);
    }, 0, n);
    if (!lu)
        return false;
    const auto resultats = tendance.Resultats();
    if (resultats.empty())
        texte += "no entry for this device: not enough data\n";
    for (const TTendanceOrigine& r : resultats)
        texte += TTendanceJournal::Texte(r, sources);
    return true;
}

} // namespace TendanceJournal
