#include "journal/TendanceJournal.h"

#include "journal/ExportJournal.h"

#include <cmath>
#include <cstdio>

TTendanceJournal::TTendanceJournal(double debut, double fin) : m_debut(debut), m_fin(fin)
{
}

void TTendanceJournal::Ajouter(const TEntreeLog& e)
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
    s.MinValeur1 = s.AvecValeur1 ? std::min(s.MinValeur1, e.Valeur1) : e.Valeur1;
    s.AvecValeur1 = true;
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
                r.HeuresAvantSeuil = tSeuil - (s.Derniere - m_debut) * 24.0;
            }
        }
        resultats.push_back(r);
    }
    return resultats;
}

namespace {
std::string Nombre(double v)
{
    if (!std::isfinite(v))
        return "-";
    char t[32];
    std::snprintf(t, sizeof t, "%.0f", v);
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
}

std::string TTendanceJournal::Texte(const TTendanceOrigine& r)
{
    std::string s = "origin " + std::to_string(r.Origine) + ": " + std::to_string(r.Nombre)
                    + (r.Nombre == 1 ? " entry from " : " entries from ") + ExportJournal::DateIso(r.Premiere)
                    + " to " + ExportJournal::DateIso(r.Derniere) + ", lowest Valeur1 " + Nombre(r.MinValeur1)
                    + " kOhm, latest Valeur2 " + Nombre(r.DerniereValeur2) + " kOhm; ";
    if (r.PenteConnue) {
        char pente[48];
        std::snprintf(pente, sizeof pente, "slope %.1f kOhm/h, ", r.PenteKOhmParHeure);
        s += pente;
        if (r.HeuresAvantSeuil <= 0) {
            s += "threshold already reached";
        } else {
            s += "threshold in about " + Duree(r.HeuresAvantSeuil);
            const std::string quand = ExportJournal::DateIso(r.Derniere + r.HeuresAvantSeuil / 24.0);
            if (!quand.empty())
                s += " (around " + quand + ")";
        }
    } else if (r.AssezDeValeurs && !r.Baisse) {
        s += "Valeur1 not falling";
    } else {
        s += "not enough data";
    }
    return s + "\n";
}
