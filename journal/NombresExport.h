#pragma once
// Numbers and dates of the journal export as text, written straight into a
// line buffer: the export writes millions of them. Every writer stores a
// fixed block of up to 8 bytes past its text, so the buffer needs that much
// room after the end; each returns the end of its text.
// Inline: they are called a dozen times per line from the export's loop.
#include <QDate>
#include <QtGlobal>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

// Digits are built in registers with the first character in the low byte and
// stored whole.
static_assert(std::endian::native == std::endian::little, "digits are stored from the low byte");

namespace NombresExport {

// Two digits at a time from a table.
inline constexpr char Paires[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline void EcrirePaire(char* p, std::uint32_t valeur)
{
    std::memcpy(p, Paires + 2 * valeur, 2);
}

// Numbers are built in registers, eight characters at a time, and stored
// whole: a load of bytes just stored one or two at a time stalls the processor.

// Two digits (v < 100) as two characters, the first in the low byte.
inline std::uint64_t Paire(std::uint32_t v)
{
    std::uint16_t deux;
    std::memcpy(&deux, Paires + 2 * v, 2);
    return deux;
}

// The eight digits of v < 10^8, leading zeros included, first in the low
// byte: the two halves, then their quarters, then each digit are split in
// the lanes of one register by multiplying by reciprocals.
inline std::uint64_t Mot(std::uint32_t v)
{
    std::uint64_t x = (v / 10000) | std::uint64_t(v % 10000) << 32;   // 2 x 4 digits
    std::uint64_t q = ((x * 5243) >> 19) & 0x0000007F0000007FULL;     // / 100 in each lane
    x = q | (x - 100 * q) << 16;                                       // 4 x 2 digits
    q = ((x * 103) >> 10) & 0x000F000F000F000FULL;                     // / 10 in each lane
    x = q | (x - 10 * q) << 8;                                         // 8 x 1 digit
    return x | 0x3030303030303030ULL;
}

// The last n (1 to 8) digits of v < 10^8, leading zeros included.
inline char* EcrireLargeur(char* p, std::uint32_t v, int n)
{
    const std::uint64_t m = Mot(v) >> (8 * (8 - n));
    std::memcpy(p, &m, 8);
    return p + n;
}

inline constexpr std::uint64_t Puissances[20] = {1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL,
    10000000ULL, 100000000ULL, 1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
    100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
    1000000000000000000ULL, 10000000000000000000ULL};

// Digits of v > 0: from its bit length (log10(2) ~ 1233 / 4096), corrected once.
inline int NbChiffres(std::uint64_t v)
{
    const int estime = ((64 - __builtin_clzll(v)) * 1233) >> 12;
    return estime + (v >= Puissances[estime]);
}

// Exactly n digits (1 to 16) of v < 10^n, leading zeros included.
inline char* EcrireLargeur64(char* p, std::uint64_t v, int n)
{
    if (n <= 8)
        return EcrireLargeur(p, std::uint32_t(v), n);
    p = EcrireLargeur(p, std::uint32_t(v / 100000000), n - 8);
    return EcrireLargeur(p, std::uint32_t(v % 100000000), 8);
}

// The digits of v, without leading zeros.
inline char* EcrireNaturel(char* p, std::uint64_t v)
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

inline char* EcrireEntier(char* p, long long valeur)
{
    if (valeur < 0) {
        *p++ = '-';
        return EcrireNaturel(p, 0 - static_cast<std::uint64_t>(valeur));
    }
    return EcrireNaturel(p, static_cast<std::uint64_t>(valeur));
}

// "YYYY-MM-DD" (years 100 to 9999).
constexpr int LongueurJour = 10;
char* EcrireJour(char* t, const QDate& date);

// "THH:MM:SS.mmm" from the milliseconds of the day. Each field straight from
// the milliseconds, so that the divisions (by constants, unsigned) do not
// wait for each other.
constexpr int LongueurHeure = 13;
inline char* EcrireHeure(char* t, int ms)
{
    const auto u = static_cast<std::uint32_t>(ms);
    const std::uint32_t milliemes = u % 1000;
    t[0] = 'T';
    EcrirePaire(t + 1, u / 3600000);
    t[3] = ':';
    EcrirePaire(t + 4, u / 60000 % 60);
    t[6] = ':';
    EcrirePaire(t + 7, u / 1000 % 60);
    t[9] = '.';
    t[10] = char('0' + milliemes / 100);
    EcrirePaire(t + 11, milliemes % 100);
    return t + LongueurHeure;
}

// The shortest decimals of a day count of the years 1989 to 2079, which
// lies between 2^15 and 2^16 where a unit in the last place is 2^-37 day
// (7.3e-12): 11 decimals when a multiple of 1e-11 lies within half a unit of
// the double (there is at most one), else the nearest 12. Neither a bound
// nor a tie can be hit exactly, so no rounding rule is needed: half a unit
// is never a whole number of 1e-11 steps away, and a double halfway between
// two 12-decimal numbers ends in ...25 or ...75 at the 13th decimal and so
// has 11 decimals that read back. The same digits as the general shortest
// search, for a fraction of its time. False for other numbers, whole days
// included.
inline bool DecimalesDUnJour(double valeur, std::uint64_t& decimales, int& nbDecimales)
{
    if (!(valeur > 32768.0 && valeur < 65536.0))
        return false;
    using u128 = unsigned __int128;
    const auto bits = std::bit_cast<std::uint64_t>(valeur);
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
inline bool DecomposerUnJour(double valeur, qint64& jour, int& ms)
{
    if (!(valeur > 32768.0 && valeur < 65536.0))
        return false;
    const auto bits = std::bit_cast<std::uint64_t>(valeur);
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

// Room EcrireNombre needs at p.
constexpr int LongueurMaxNombre = 32;

// Shortest text that reads back as the same double, as std::to_chars writes
// it, except that whole numbers under 1e15 keep all their digits. Whole
// numbers and day counts by the writers above, the rest by std::to_chars,
// which chooses between fixed and exponent forms. Finite numbers only.
inline char* EcrireNombre(char* p, double valeur)
{
    if (std::fabs(valeur) < 1e15) {
        const auto entier = static_cast<long long>(valeur);
        if (static_cast<double>(entier) == valeur)
            return EcrireEntier(p, entier);
        std::uint64_t decimales = 0;
        int nbDecimales = 0;
        if (DecimalesDUnJour(valeur, decimales, nbDecimales)) {
            // The whole part of the double is that of its shortest digits:
            // they read back as this double and not as the whole day next to
            // it, which is a double too.
            p = EcrireLargeur(p, std::uint32_t(entier), 5);
            *p++ = '.';
            return EcrireLargeur64(p, decimales, nbDecimales);
        }
    }
    return std::to_chars(p, p + LongueurMaxNombre, valeur).ptr;
}

} // namespace NombresExport
