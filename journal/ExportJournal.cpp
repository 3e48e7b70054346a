#include "journal/ExportJournal.h"

#include "data/DateVeilleur.h"
#include "text/MessagesVeilleur.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

void AjouterEntier(std::string& sortie, long long valeur)
{
    char tampon[24];
    const auto r = std::to_chars(tampon, tampon + sizeof tampon, valeur);
    sortie.append(tampon, r.ptr);
}

void AjouterChiffres(char* p, int valeur, int nbChiffres)
{
    for (int i = nbChiffres - 1; i >= 0; --i) {
        p[i] = char('0' + valeur % 10);
        valeur /= 10;
    }
}

bool DoitEtreCite(const std::string& texte)
{
    return texte.find_first_of(",\"\r\n") != std::string::npos;
}

void AjouterCsv(std::string& sortie, const std::string& texte)
{
    if (!DoitEtreCite(texte)) {
        sortie += texte;
        return;
    }
    sortie += '"';
    for (char c : texte) {
        if (c == '"')
            sortie += '"';
        sortie += c;
    }
    sortie += '"';
}

void AjouterJson(std::string& sortie, const std::string& texte)
{
    static const char* const Hex = "0123456789abcdef";
    sortie += '"';
    for (char c : texte) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            sortie += '\\';
            sortie += c;
        } else if (u < 0x20) {
            sortie += "\\u00";
            sortie += Hex[u >> 4];
            sortie += Hex[u & 15];
        } else {
            sortie += c;
        }
    }
    sortie += '"';
}

} // namespace

namespace ExportJournal {

bool EcrireDateIso(double jours, char* t)
{
    QDate date;
    int ms = 0;
    if (!DateVeilleur::Decomposer(jours, date, ms))
        return false;
    int a = 0, m = 0, j = 0;
    date.getDate(&a, &m, &j);
    std::memcpy(t, "0000-00-00T00:00:00.000", LongueurDateIso);
    AjouterChiffres(t, a, 4);
    AjouterChiffres(t + 5, m, 2);
    AjouterChiffres(t + 8, j, 2);
    AjouterChiffres(t + 11, ms / 3600000, 2);
    AjouterChiffres(t + 14, ms / 60000 % 60, 2);
    AjouterChiffres(t + 17, ms / 1000 % 60, 2);
    AjouterChiffres(t + 20, ms % 1000, 3);
    return true;
}

std::string DateIso(double jours)
{
    char t[LongueurDateIso];
    return EcrireDateIso(jours, t) ? std::string(t, LongueurDateIso) : std::string();
}

void AjouterNombre(std::string& sortie, double valeur)
{
    if (valeur == std::trunc(valeur) && std::fabs(valeur) < 1e15) {
        AjouterEntier(sortie, static_cast<long long>(valeur));
        return;
    }
    char tampon[32];
    const auto r = std::to_chars(tampon, tampon + sizeof tampon, valeur);
    sortie.append(tampon, r.ptr);
}

} // namespace ExportJournal

TExportJournal::TExportJournal(TFormatExport format, TLangue langue) : m_format(format)
{
    for (int code = 0; code < NbCodesEvenements; ++code) {
        const std::string nom = NomEvenement(code, langue).toStdString();
        std::string& cite = m_noms[size_t(code)];
        if (format == TFormatExport::Csv)
            AjouterCsv(cite, nom);
        else
            AjouterJson(cite, nom);
    }
}

void TExportJournal::EnTete(std::string& sortie) const
{
    if (m_format == TFormatExport::Csv)
        sortie += "index,code,evenement,date,jours,origine,attribut1,attribut2,infos,valeur1,valeur2,valeur3\r\n";
}

void TExportJournal::Ligne(std::string& sortie, const TEntreeLog& e, qint64 index) const
{
    using ExportJournal::AjouterNombre;
    const bool csv = m_format == TFormatExport::Csv;
    // A missing value is an empty CSV field, a JSON null.
    const auto vide = [&] {
        if (!csv)
            sortie += "null";
    };
    const auto nombre = [&](const char* cle, double v) {
        sortie += cle;
        if (std::isfinite(v))
            AjouterNombre(sortie, v);
        else
            vide();
    };
    const auto entier = [&](const char* cle, long long v) {
        sortie += cle;
        AjouterEntier(sortie, v);
    };

    entier(csv ? "" : "{\"index\":", index);
    entier(csv ? "," : ",\"code\":", e.Code);
    sortie += csv ? "," : ",\"evenement\":";
    if (e.Code < NbCodesEvenements)
        sortie += m_noms[e.Code];
    else
        vide();  // a code from outside keeps its number and gets no name
    sortie += csv ? "," : ",\"date\":";
    char date[ExportJournal::LongueurDateIso];
    if (!ExportJournal::EcrireDateIso(e.DateHeure, date)) {
        vide();
    } else {
        // Digits and punctuation only: neither format needs to escape it.
        if (!csv)
            sortie += '"';
        sortie.append(date, ExportJournal::LongueurDateIso);
        if (!csv)
            sortie += '"';
    }
    nombre(csv ? "," : ",\"jours\":", e.DateHeure);
    entier(csv ? "," : ",\"origine\":", e.Origine);
    entier(csv ? "," : ",\"attribut1\":", e.Attribut1);
    entier(csv ? "," : ",\"attribut2\":", e.Attribut2);
    sortie += csv ? "," : ",\"infos\":";
    if (e.InfosCompl.Longueur == 0) {
        if (!csv)
            sortie += "\"\"";
    } else {
        const std::string infos = LireChaine(e.InfosCompl).toStdString();  // length clamped to 52
        if (csv)
            AjouterCsv(sortie, infos);
        else
            AjouterJson(sortie, infos);
    }
    nombre(csv ? "," : ",\"valeur1\":", e.Valeur1);
    nombre(csv ? "," : ",\"valeur2\":", e.Valeur2);
    nombre(csv ? "," : ",\"valeur3\":", e.Valeur3);
    sortie += csv ? "\r\n" : "}\n";
}
