#include "journal/ExportJournal.h"
#include "journal/NombresExport.h"

#include "data/Chaine1252.h"
#include "data/DateVeilleur.h"
#include "text/MessagesVeilleur.h"

#include <cstdint>
#include <cmath>
#include <cstring>
#include <string_view>

using namespace NombresExport;
static_assert(ExportJournal::LongueurDateIso == LongueurJour + LongueurHeure);

namespace {

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
    EcrireHeure(EcrireJour(t, date), ms);
    return true;
}

std::string DateIso(double jours)
{
    char t[LongueurDateIso];
    return EcrireDateIso(jours, t) ? std::string(t, LongueurDateIso) : std::string();
}

void AjouterNombre(std::string& sortie, double valeur)
{
    char t[LongueurMaxNombre + 8];  // the writers store a fixed block past the text
    sortie.append(t, EcrireNombre(t, valeur));
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
    // Each Windows-1252 byte of the extra information as UTF-8, escaped for
    // the format. In CSV a quote is always doubled: it makes the field quoted.
    for (int octet = 0; octet < 256; ++octet) {
        const QChar c = Chaine1252::VersUnicode(std::uint8_t(octet));
        std::string texte = QString(c).toStdString();
        if (format == TFormatExport::Json) {
            std::string echappe;
            AjouterJson(echappe, texte);
            texte = echappe.substr(1, echappe.size() - 2);
        } else if (texte == "\"") {
            texte = "\"\"";
        }
        TOctet& o = m_octets[size_t(octet)];
        std::memcpy(o.Texte, texte.data(), texte.size());  // at most 6 bytes: "\u001f"
        o.Longueur = std::uint8_t(texte.size());
    }
}

void TExportJournal::EnTete(std::string& sortie) const
{
    if (m_format == TFormatExport::Csv)
        sortie += "index,code,evenement,date,jours,origine,attribut1,attribut2,infos,valeur1,valeur2,valeur3\r\n";
}

void TExportJournal::Ligne(std::string& sortie, const TEntreeLog& e, qint64 index) const
{
    char ligne[LongueurMaxLigne];
    sortie.append(ligne, Ligne(ligne, e, index));
}

char* TExportJournal::Ligne(char* p, const TEntreeLog& e, qint64 index) const
{
    return m_format == TFormatExport::Csv ? LigneDe<TFormatExport::Csv>(p, e, index)
                                          : LigneDe<TFormatExport::Json>(p, e, index);
}

// One line per format, so that each field's key and separator is a constant.
template <TFormatExport F>
char* TExportJournal::LigneDe(char* p, const TEntreeLog& e, qint64 index) const
{
    constexpr bool csv = F == TFormatExport::Csv;
    const auto texte = [&p](const char* s, std::size_t n) {
        std::memcpy(p, s, n);
        p += n;
    };
    // A field's key in JSON, the comma before it in CSV.
    const auto cle = [&](std::string_view json) {
        if constexpr (csv)
            *p++ = ',';
        else
            texte(json.data(), json.size());
    };
    // A missing value is an empty CSV field, a JSON null.
    const auto vide = [&] {
        if constexpr (!csv)
            texte("null", 4);
    };
    const auto nombre = [&](double v) {
        if (std::isfinite(v))
            p = EcrireNombre(p, v);
        else
            vide();
    };

    if constexpr (!csv)
        texte("{\"index\":", 9);
    p = EcrireEntier(p, index);
    cle(",\"code\":");
    p = EcrireEntier(p, e.Code);
    cle(",\"evenement\":");
    if (e.Code < NbCodesEvenements)
        texte(m_noms[e.Code].data(), m_noms[e.Code].size());
    else
        vide();  // a code from outside keeps its number and gets no name

    cle(",\"date\":");
    qint64 jour = 0;
    int ms = 0;
    if (DecomposerUnJour(e.DateHeure, jour, ms) || DateVeilleur::DecomposerEnJours(e.DateHeure, jour, ms)) {
        // Entries come in runs of the same day: its text is kept.
        if (jour != m_numeroJour || !m_avecJour) {
            m_numeroJour = jour;
            m_avecJour = true;
            EcrireJour(m_jour, QDate(1899, 12, 30).addDays(jour));
        }
        if constexpr (!csv)
            *p++ = '"';
        texte(m_jour, LongueurJour);
        p = EcrireHeure(p, ms);
        if constexpr (!csv)
            *p++ = '"';
    } else {
        vide();
    }
    cle(",\"jours\":");
    std::uint64_t decimales = 0;
    int nbDecimales = 0;
    if (DecimalesDUnJour(e.DateHeure, decimales, nbDecimales)) {
        // The whole part has five digits and changes once a day: its text
        // and the point are kept.
        const auto entier = static_cast<std::uint32_t>(e.DateHeure);
        if (entier != m_entierJours) {
            m_entierJours = entier;
            m_texteEntierJours = Mot(entier) >> 24 | std::uint64_t('.') << 40;
        }
        std::memcpy(p, &m_texteEntierJours, 8);
        p = EcrireLargeur64(p + 6, decimales, nbDecimales);
    } else {
        nombre(e.DateHeure);
    }
    cle(",\"origine\":");
    p = EcrireEntier(p, e.Origine);
    cle(",\"attribut1\":");
    p = EcrireEntier(p, e.Attribut1);
    cle(",\"attribut2\":");
    p = EcrireEntier(p, e.Attribut2);

    cle(",\"infos\":");
    const int longueur = std::min<int>(e.InfosCompl.Longueur, LongueurMaxInfosCompl);  // a damaged length is clamped
    const std::uint8_t* car = e.InfosCompl.Car;
    bool cite = !csv;
    for (int i = 0; i < longueur && !cite; ++i)
        cite = car[i] == ',' || car[i] == '"' || car[i] == '\r' || car[i] == '\n';
    if (cite)
        *p++ = '"';
    for (int i = 0; i < longueur; ++i) {
        const TOctet& o = m_octets[car[i]];
        std::memcpy(p, o.Texte, sizeof o.Texte);  // the line has room for 8 bytes per character
        p += o.Longueur;
    }
    if (cite)
        *p++ = '"';

    cle(",\"valeur1\":");
    nombre(e.Valeur1);
    cle(",\"valeur2\":");
    nombre(e.Valeur2);
    cle(",\"valeur3\":");
    nombre(e.Valeur3);
    if constexpr (csv)
        texte("\r\n", 2);
    else
        texte("}\n", 2);
    return p;
}
