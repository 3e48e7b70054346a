#include "journal/ExportJournal.h"

#include "data/Chaine1252.h"
#include "data/DateVeilleur.h"
#include "text/MessagesVeilleur.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Two digits at a time from a table: the export writes dozens per line.
constexpr char Paires[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void EcrirePaire(char* p, int valeur)
{
    std::memcpy(p, Paires + 2 * valeur, 2);
}

void EcrireChiffres(char* p, int valeur, int nbChiffres)
{
    for (int i = nbChiffres - 1; i >= 0; --i) {
        p[i] = char('0' + valeur % 10);
        valeur /= 10;
    }
}

// "YYYY-MM-DD" into t.
void EcrireJour(char* t, const QDate& date)
{
    int a = 0, m = 0, j = 0;
    date.getDate(&a, &m, &j);
    EcrireChiffres(t, a, 4);
    t[4] = '-';
    EcrirePaire(t + 5, m);
    t[7] = '-';
    EcrirePaire(t + 8, j);
}

// "THH:MM:SS.mmm" into t.
void EcrireHeure(char* t, int ms)
{
    t[0] = 'T';
    const int secondes = ms / 1000;
    EcrirePaire(t + 1, secondes / 3600);
    t[3] = ':';
    EcrirePaire(t + 4, secondes / 60 % 60);
    t[6] = ':';
    EcrirePaire(t + 7, secondes % 60);
    t[9] = '.';
    EcrireChiffres(t + 10, ms % 1000, 3);
}

constexpr int LongueurJour = 10;

char* EcrireEntier(char* p, long long valeur)
{
    if (valeur >= 0 && valeur < 100) {  // codes, origins, attributes
        if (valeur < 10) {
            *p = char('0' + valeur);
            return p + 1;
        }
        EcrirePaire(p, int(valeur));
        return p + 2;
    }
    return std::to_chars(p, p + 24, valeur).ptr;
}

char* EcrireNombre(char* p, double valeur)
{
    if (valeur == std::trunc(valeur) && std::fabs(valeur) < 1e15)
        return EcrireEntier(p, static_cast<long long>(valeur));
    return std::to_chars(p, p + 32, valeur).ptr;
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

// Writes one line at a cursor; TExportJournal::LongueurMaxLigne bounds it.
class TLigne {
public:
    explicit TLigne(char* p) : m_p(p) {}
    void Texte(const char* s, std::size_t n)
    {
        std::memcpy(m_p, s, n);
        m_p += n;
    }
    template <std::size_t N>
    void Texte(const char (&s)[N]) { Texte(s, N - 1); }
    void Texte(const std::string& s) { Texte(s.data(), s.size()); }
    void Car(char c) { *m_p++ = c; }
    void Entier(long long v) { m_p = EcrireEntier(m_p, v); }
    void Nombre(double v) { m_p = EcrireNombre(m_p, v); }
    char* Curseur() { return m_p; }
    void Avancer(std::size_t n) { m_p += n; }

private:
    char* m_p;
};

} // namespace

namespace ExportJournal {

bool EcrireDateIso(double jours, char* t)
{
    QDate date;
    int ms = 0;
    if (!DateVeilleur::Decomposer(jours, date, ms))
        return false;
    EcrireJour(t, date);
    EcrireHeure(t + LongueurJour, ms);
    return true;
}

std::string DateIso(double jours)
{
    char t[LongueurDateIso];
    return EcrireDateIso(jours, t) ? std::string(t, LongueurDateIso) : std::string();
}

void AjouterNombre(std::string& sortie, double valeur)
{
    char t[32];
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
    // Each Windows-1252 byte of the extra information as UTF-8, escaped for JSON.
    for (int octet = 0; octet < 256; ++octet) {
        const QChar c = Chaine1252::VersUnicode(std::uint8_t(octet));
        std::string utf8 = QString(c).toStdString();
        if (format == TFormatExport::Json) {
            std::string echappe;
            AjouterJson(echappe, utf8);
            utf8 = echappe.substr(1, echappe.size() - 2);
        }
        m_octets[size_t(octet)] = utf8;
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
    const bool csv = m_format == TFormatExport::Csv;
    TLigne l(p);
    // A missing value is an empty CSV field, a JSON null.
    const auto vide = [&] {
        if (!csv)
            l.Texte("null");
    };
    const auto cle = [&](const char* champCsv, const char* champJson) {
        const char* c = csv ? champCsv : champJson;
        l.Texte(c, std::strlen(c));
    };
    const auto nombre = [&](double v) {
        if (std::isfinite(v))
            l.Nombre(v);
        else
            vide();
    };

    cle("", "{\"index\":");
    l.Entier(index);
    cle(",", ",\"code\":");
    l.Entier(e.Code);
    cle(",", ",\"evenement\":");
    if (e.Code < NbCodesEvenements)
        l.Texte(m_noms[e.Code]);
    else
        vide();  // a code from outside keeps its number and gets no name

    cle(",", ",\"date\":");
    QDate date;
    int ms = 0;
    if (DateVeilleur::Decomposer(e.DateHeure, date, ms)) {
        // Entries come in runs of the same day: its text is kept.
        if (date.toJulianDay() != m_jourJulien) {
            m_jourJulien = date.toJulianDay();
            EcrireJour(m_jour, date);
        }
        if (!csv)
            l.Car('"');
        l.Texte(m_jour, LongueurJour);
        EcrireHeure(l.Curseur(), ms);
        l.Avancer(ExportJournal::LongueurDateIso - LongueurJour);
        if (!csv)
            l.Car('"');
    } else {
        vide();
    }
    cle(",", ",\"jours\":");
    nombre(e.DateHeure);
    cle(",", ",\"origine\":");
    l.Entier(e.Origine);
    cle(",", ",\"attribut1\":");
    l.Entier(e.Attribut1);
    cle(",", ",\"attribut2\":");
    l.Entier(e.Attribut2);

    cle(",", ",\"infos\":");
    const int longueur = std::min<int>(e.InfosCompl.Longueur, LongueurMaxInfosCompl);  // a damaged length is clamped
    const std::uint8_t* car = e.InfosCompl.Car;
    bool cite = !csv;
    for (int i = 0; i < longueur && !cite; ++i)
        cite = car[i] == ',' || car[i] == '"' || car[i] == '\r' || car[i] == '\n';
    if (cite)
        l.Car('"');
    for (int i = 0; i < longueur; ++i) {
        if (csv && car[i] == '"')
            l.Car('"');
        l.Texte(m_octets[car[i]]);
    }
    if (cite)
        l.Car('"');

    cle(",", ",\"valeur1\":");
    nombre(e.Valeur1);
    cle(",", ",\"valeur2\":");
    nombre(e.Valeur2);
    cle(",", ",\"valeur3\":");
    nombre(e.Valeur3);
    if (csv)
        l.Texte("\r\n");
    else
        l.Texte("}\n");
    return l.Curseur();
}
