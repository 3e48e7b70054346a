// The export's number and date writers against independent oracles: the
// standard library's shortest digits and integer text, printf's zero padding,
// the station's own split of a day count and Qt's ISO text.
#include "data/DateVeilleur.h"
#include "journal/NombresExport.h"

#include <QTime>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace NombresExport;

namespace {

// A buffer filled with a mark, so that a writer storing past the room it may
// use shows.
struct TTampon {
    static constexpr int Taille = 64;
    char t[Taille];
    TTampon() { std::memset(t, '#', sizeof t); }
    // The text up to fin, after checking that nothing beyond its 8 spare bytes changed.
    std::string Texte(const char* fin) const
    {
        for (const char* q = fin + 8; q < t + Taille; ++q)
            if (*q != '#')
                ADD_FAILURE() << "byte " << (q - t) << " stored past the spare room of \"" << std::string(t, fin) << "\"";
        return std::string(t, fin);
    }
};

} // namespace

TEST(NombresExport, NumbersAreTheShortestThatReadBackAsTheStandardLibraryWritesThem)
{
    std::mt19937_64 hasard(20261208);
    std::uniform_real_distribution<double> unite(0, 1);
    std::vector<double> valeurs{0.1, 0.5, 1.5, -2.25, 1e-7, 123.0, -77.0, -0.0, 999999999999999.0, -999999999999999.0,
                                1e15, 1e15 + 0.5, 4503599627370495.5, 1e300, -1e-300, 5e-324,
                                std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                                45366.25, 32768.5, 65535.99999999999, std::nextafter(32768.0, 1e9),
                                std::nextafter(65536.0, 0.0), std::nextafter(32768.0, 0.0)};
    for (int i = 0; i < 200000; ++i) {
        // Day counts of the common years, whole days and their neighbours, halves
        // of 1/8192 (ties between 12-decimal neighbours), any magnitude, whole
        // numbers of every length, any bits at all.
        valeurs.push_back(32768.0 + unite(hasard) * 32768.0);
        const double jour = std::floor(32768.0 + unite(hasard) * 32767.0);
        valeurs.push_back(std::nextafter(jour, 0.0));
        valeurs.push_back(std::nextafter(jour, 1e9));
        valeurs.push_back(32768.0 + double(2 * (hasard() % (32767ULL * 4096)) + 1) / 8192.0);
        valeurs.push_back((hasard() & 1 ? -1 : 1) * std::pow(10.0, unite(hasard) * 40 - 20));
        valeurs.push_back(std::floor(unite(hasard) * std::pow(10.0, double(i % 16))));
        const double bits = std::bit_cast<double>(hasard());
        if (std::isfinite(bits))
            valeurs.push_back(bits);
    }
    int differents = 0;
    for (const double v : valeurs) {
        TTampon tampon;
        const char* fin = EcrireNombre(tampon.t, v);
        ASSERT_LE(fin - tampon.t, LongueurMaxNombre);
        const std::string ecrit = tampon.Texte(fin);
        // Whole numbers below 1e15 keep all their digits, never an exponent.
        std::string attendu = std::to_string(static_cast<long long>(v));
        if (!(std::fabs(v) < 1e15 && std::trunc(v) == v)) {
            char t[64];
            attendu.assign(t, std::to_chars(t, t + sizeof t, v).ptr);
        }
        if (ecrit != attendu && ++differents <= 5)
            ADD_FAILURE() << std::hexfloat << v << ": " << ecrit << " instead of " << attendu;
    }
    EXPECT_EQ(differents, 0) << "of " << valeurs.size();
}

TEST(NombresExport, IntegersOfEveryLengthAndFixedWidths)
{
    std::vector<long long> entiers{0, 1, -1, std::numeric_limits<long long>::max(), std::numeric_limits<long long>::min(),
                                   std::numeric_limits<long long>::min() + 1};
    long long puissance = 1;
    for (int chiffres = 1; chiffres <= 19; ++chiffres) {
        for (long long i = puissance - 3; i <= puissance + 2; ++i) {
            entiers.push_back(i);
            entiers.push_back(-i);
        }
        if (chiffres < 19)
            puissance *= 10;
    }
    std::mt19937_64 hasard(18);
    for (int i = 0; i < 100000; ++i)
        entiers.push_back(static_cast<long long>(hasard() >> (1 + hasard() % 63)) * (i % 2 ? 1 : -1));
    for (const long long v : entiers) {
        TTampon tampon;
        EXPECT_EQ(tampon.Texte(EcrireEntier(tampon.t, v)), std::to_string(v));
    }

    // n digits with leading zeros, for every width the day counts' decimals take.
    for (int n = 1; n <= 16; ++n) {
        const std::uint64_t borne = Puissances[n];
        std::vector<std::uint64_t> nombres{0, 1, borne - 1, borne / 10, borne / 10 - 1};
        for (int i = 0; i < 2000; ++i)
            nombres.push_back(hasard() % borne);
        for (const std::uint64_t v : nombres) {
            char attendu[32];
            std::snprintf(attendu, sizeof attendu, "%0*llu", n, static_cast<unsigned long long>(v));
            TTampon tampon;
            EXPECT_EQ(tampon.Texte(EcrireLargeur64(tampon.t, v, n)), attendu) << n << " digits";
        }
    }
}

TEST(NombresExport, DatesAreTheStationsToTheMillisecond)
{
    // The shortcut gives the station's own split of every day count it takes,
    // halves of a millisecond and the last instant of a day included.
    const auto comparer = [](double date) {
        qint64 jour = 0, jourStation = 0;
        int ms = 0, msStation = 0;
        const bool pris = DecomposerUnJour(date, jour, ms);
        EXPECT_EQ(pris, date > 32768.0 && date < 65536.0) << std::hexfloat << date;
        if (!pris)
            return true;
        EXPECT_TRUE(DateVeilleur::DecomposerEnJours(date, jourStation, msStation));
        return jour == jourStation && ms == msStation;
    };
    std::mt19937_64 hasard(8);
    int differentes = 0;
    for (int i = 0; i < 300000; ++i) {
        const double jour = double(32000 + hasard() % 34000);
        const double ms = double(hasard() % 86400000) + (i % 3 == 0 ? 0.5 : double(hasard() % 1000) / 1000);
        double date = jour + ms / 86400000.0;
        if (i % 5 == 0)
            date = std::nextafter(date, i % 2 ? 0.0 : 1e9);
        if (i % 7 == 0)
            date = std::nextafter(jour + 1, 0.0);
        if (!comparer(date) && ++differentes <= 5)
            ADD_FAILURE() << std::hexfloat << date;
    }
    EXPECT_EQ(differentes, 0);

    // Day counts whose time of day times 86400000 needs 54 bits and lies one
    // 2^-27 ms below half a millisecond: the double rounds it (to even) onto
    // the half, and up to the next millisecond. The fraction of the day, in
    // units of 2^-37, is then (2^26 - 1) / 84375 modulo 2^27.
    std::uint64_t inverse = 1;  // of 84375 modulo 2^64, by Newton's steps
    for (int i = 0; i < 6; ++i)
        inverse *= 2 - 84375 * inverse;
    const std::uint64_t base = ((1ULL << 26) - 1) * inverse % (1ULL << 27);
    int cas = 0;
    for (std::uint64_t fraction = base; fraction < (1ULL << 37); fraction += 1ULL << 27) {
        if (fraction * 84375 < (1ULL << 53))
            continue;
        ++cas;
        const double date = 46364.0 + std::ldexp(double(fraction), -37);
        EXPECT_TRUE(comparer(date)) << std::hexfloat << date;
    }
    EXPECT_EQ(cas, 229);
    for (const double date : {32768.0, 65536.0, std::nan(""), 1e300, -45366.5})
        EXPECT_TRUE(comparer(date));
}

TEST(NombresExport, DayAndTimeReadAsQtWritesThem)
{
    std::mt19937 hasard(30);
    std::vector<std::pair<QDate, int>> cas{{QDate(100, 1, 1), 0}, {QDate(9999, 12, 31), 86399999},
                                           {QDate(1899, 12, 30), 43200000}, {QDate(2024, 2, 29), 1}};
    for (int i = 0; i < 20000; ++i)
        cas.emplace_back(QDate(100, 1, 1).addDays(qint64(hasard() % 3615000)), int(hasard() % 86400000));
    for (const auto& [date, ms] : cas) {
        TTampon tampon;
        char* fin = EcrireHeure(EcrireJour(tampon.t, date), ms);
        const QString attendu = date.toString(Qt::ISODate) + 'T' + QTime::fromMSecsSinceStartOfDay(ms).toString(u"HH:mm:ss.zzz");
        EXPECT_EQ(QString::fromStdString(tampon.Texte(fin)), attendu);
    }
}
