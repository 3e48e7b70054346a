#include "journal/ExportJournal.h"

#include "data/Chaine1252.h"
#include "data/DateVeilleur.h"
#include "text/MessagesVeilleur.h"

#include <fmt/format.h>

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <string_view>

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

// Numbers are built in registers, eight characters at a time, and stored
// whole: a load of bytes just stored one or two at a time stalls the processor.

// Two digits as two characters, the first in the low byte.
std::uint64_t Paire(std::uint32_t v)
{
    std::uint16_t deux;
    std::memcpy(&deux, Paires + 2 * v, 2);
    return deux;
}

// The eight digits of v < 10^8, leading zeros included, first in the low
// byte: the two halves, then their quarters, then each digit are split in
// the lanes of one register by multiplying by reciprocals.
std::uint64_t Mot(std::uint32_t v)
{
    std::uint64_t x = (v / 10000) | std::uint64_t(v % 10000) << 32;   // 2 x 4 digits
    std::uint64_t q = ((x * 5243) >> 19) & 0x0000007F0000007FULL;     // / 100 in each lane
    x = q | (x - 100 * q) << 16;                                       // 4 x 2 digits
    q = ((x * 103) >> 10) & 0x000F000F000F000FULL;                     // / 10 in each lane
    x = q | (x - 10 * q) << 8;                                         // 8 x 1 digit
    return x | 0x3030303030303030ULL;
}

// The last n (1 to 8) digits of v < 10^8 at p, leading zeros included; the
// eight bytes at p are stored (the line has room past its end).
char* EcrireLargeur(char* p, std::uint32_t v, int n)
{
    const std::uint64_t m = Mot(v) >> (8 * (8 - n));
    std::memcpy(p, &m, 8);
    return p + n;
}

constexpr std::uint64_t Puissances[20] = {1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL,
    100000000ULL, 1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
    100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
    1000000000000000000ULL, 10000000000000000000ULL};

// Digits of v > 0: from its bit length (log10(2) ~ 1233 / 4096), corrected once.
int NbChiffres(std::uint64_t v)
{
    const int estime = ((64 - __builtin_clzll(v)) * 1233) >> 12;
    return estime + (v >= Puissances[estime]);
}

// Exactly n digits of v < 10^n (n up to 16), leading zeros included.
char* EcrireLargeur64(char* p, std::uint64_t v, int n)
{
    if (n <= 8)
        return EcrireLargeur(p, std::uint32_t(v), n);
    p = EcrireLargeur(p, std::uint32_t(v / 100000000), n - 8);
    return EcrireLargeur(p, std::uint32_t(v % 100000000), 8);
}

// The digits of v at p; returns their end.
char* EcrireNaturel(char* p, std::uint64_t v)
{
    if (v < 10) {  // codes and attributes, mostly
        *p = char('0' + v);
        return p + 1;
    }
    if (v < 100) {  // origins
        const auto deux = std::uint16_t(Paire(std::uint32_t(v)));
        std::memcpy(p, &deux, 2);
        return p + 2;
    }
    if (v < 10000) {  // values
        const auto quatre = std::uint32_t((Paire(std::uint32_t(v / 100)) | Paire(std::uint32_t(v % 100)) << 16) >> (v < 1000 ? 8 : 0));
        std::memcpy(p, &quatre, 4);
        return p + (v < 1000 ? 3 : 4);
    }
    if (v < 100000000)
        return EcrireLargeur(p, std::uint32_t(v), NbChiffres(v));
    const std::uint64_t haut = v / 100000000;
    p = haut < 100000000 ? EcrireLargeur(p, std::uint32_t(haut), NbChiffres(haut)) : EcrireNaturel(p, haut);
    return EcrireLargeur(p, std::uint32_t(v % 100000000), 8);
}

char* EcrireEntier(char* p, long long valeur)
{
    if (valeur < 0) {
        *p++ = '-';
        return EcrireNaturel(p, 0 - static_cast<std::uint64_t>(valeur));
    }
    return EcrireNaturel(p, static_cast<std::uint64_t>(valeur));
}

// "YYYY-MM-DD" into t.
void EcrireJour(char* t, const QDate& date)
{
    int a = 0, m = 0, j = 0;
    date.getDate(&a, &m, &j);
    EcrireLargeur(t, std::uint32_t(a), 4);  // years 100 to 9999
    t[4] = '-';
    EcrirePaire(t + 5, m);
    t[7] = '-';
    EcrirePaire(t + 8, j);
}

// "THH:MM:SS.mmm" into t. Each field straight from the milliseconds, so that
// the divisions (by constants, unsigned) do not wait for each other.
void EcrireHeure(char* t, int ms)
{
    const auto u = static_cast<std::uint32_t>(ms);
    const std::uint32_t milliemes = u % 1000;
    t[0] = 'T';
    EcrirePaire(t + 1, int(u / 3600000));
    t[3] = ':';
    EcrirePaire(t + 4, int(u / 60000 % 60));
    t[6] = ':';
    EcrirePaire(t + 7, int(u / 1000 % 60));
    t[9] = '.';
    t[10] = char('0' + milliemes / 100);
    EcrirePaire(t + 11, int(milliemes % 100));
}

constexpr int LongueurJour = 10;

// The shortest decimals of a day count of the years 1989 to 2079, which
// lies between 2^15 and 2^16 where a unit in the last place is 2^-37 day
// (7.3e-12): 11 decimals when a multiple of 1e-11 lies within half a unit of
// the double (there is at most one), else the nearest 12. Neither a bound
// nor a tie can be hit exactly, so no rounding rule is needed: half a unit
// is never a whole number of 1e-11 steps away, and a double halfway between
// two 12-decimal numbers ends in ...25 or ...75 at the 13th decimal and so
// has 11 decimals that read back. The same digits as Dragonbox's general
// search, for a third of its time: the export writes millions. False for
// other numbers, whole days included.
bool DecimalesDUnJour(double valeur, std::uint64_t& decimales, int& nbDecimales)
{
    if (!(valeur > 32768.0 && valeur < 65536.0))
        return false;
    using u128 = unsigned __int128;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &valeur, sizeof bits);
    constexpr std::uint64_t Unite = 1ULL << 37;        // one day in units of the last place
    const std::uint64_t fraction = bits & (Unite - 1);  // of the day, in those units
    if (fraction == 0)
        return false;  // a whole number of days

    // Within half a unit: |c / 10^11 - fraction / 2^37| < 1 / 2^38.
    constexpr std::uint64_t E11 = 100000000000ULL;
    const u128 exact11 = u128(fraction) * E11;
    std::uint64_t c = std::uint64_t((exact11 + Unite / 2) >> 37);
    const u128 approche = u128(c) << 37;
    if (2 * (approche > exact11 ? approche - exact11 : exact11 - approche) < E11) {
        nbDecimales = 11;
        while (c % 10 == 0) {  // never 0: the whole day next to it is a double of its own
            c /= 10;
            --nbDecimales;
        }
        decimales = c;
        return true;
    }
    decimales = std::uint64_t((u128(fraction) * (E11 * 10) + Unite / 2) >> 37);
    nbDecimales = 12;
    return true;
}

// DateVeilleur::DecomposerEnJours for the same day counts, in whole numbers
// instead of a chain of conversions and floating-point operations. There the
// fraction of the day (fraction / 2^37, exact) times 86400000 is rounded to a
// double: that is N / 2^27 with N = fraction * 84375, kept whole up to 2^53
// and above that rounded to an even number, ties to a multiple of 4. The
// milliseconds are then N / 2^27 rounded half up. False for other counts.
bool DecomposerUnJour(double valeur, qint64& jour, int& ms)
{
    if (!(valeur > 32768.0 && valeur < 65536.0))
        return false;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &valeur, sizeof bits);
    const std::uint64_t mantisse = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    std::uint64_t n = (mantisse & ((1ULL << 37) - 1)) * 84375;
    if (n >= (1ULL << 53) && (n & 1))
        n += (n & 2) ? 1 : std::uint64_t(-1);
    const std::uint64_t arrondi = (n + (1ULL << 26)) >> 27;
    jour = qint64(mantisse >> 37);
    if (arrondi >= 86400000) {  // rounding reached midnight
        ++jour;
        ms = 0;
    } else {
        ms = int(arrondi);
    }
    return true;
}

// Shortest text that reads back as the same double, as std::to_chars writes
// it. Day counts (a whole part from 1 to 15 digits and a fraction) take
// Dragonbox's shortest digits, written as whole part, point and decimals;
// the rest goes to std::to_chars, which chooses between fixed and exponent forms.
char* EcrireNombre(char* p, double valeur)
{
    const double a = std::fabs(valeur);
    if (!(a < 1e15))
        return std::to_chars(p, p + 32, valeur).ptr;
    const auto entier = static_cast<long long>(valeur);
    if (static_cast<double>(entier) == valeur)
        return EcrireEntier(p, entier);
    if (a < 1)
        return std::to_chars(p, p + 32, valeur).ptr;
    // Not whole, at least 1 and under 1e15: the shortest digits have 1 to 16
    // decimals and a whole part of their own, and the fixed form is the shorter.
    // Their whole part is the double's own: the digits read back as this
    // double and not as a whole number next to it, which is a double too.
    std::uint64_t decimales = 0;
    int nbDecimales = 0;
    if (!DecimalesDUnJour(valeur, decimales, nbDecimales)) {
        const auto d = fmt::detail::dragonbox::to_decimal(valeur);
        nbDecimales = -d.exponent;
        decimales = d.significand % Puissances[nbDecimales];
    }
    if (valeur < 0)
        *p++ = '-';
    p = EcrireNaturel(p, valeur < 0 ? 0 - static_cast<std::uint64_t>(entier) : static_cast<std::uint64_t>(entier));
    *p++ = '.';
    return EcrireLargeur64(p, decimales, nbDecimales);
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
    char t[64];  // the writers copy a fixed block past the text
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
        EcrireHeure(p, ms);
        p += ExportJournal::LongueurDateIso - LongueurJour;
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
