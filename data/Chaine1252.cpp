#include "data/Chaine1252.h"

#include <algorithm>

namespace {

// 0x80..0x9F of Windows-1252; the rest of the upper half is Latin-1.
constexpr char16_t Table80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

namespace Chaine1252 {

QChar VersUnicode(std::uint8_t octet)
{
    if (octet >= 0x80 && octet <= 0x9F)
        return QChar(Table80[octet - 0x80]);
    return QChar(static_cast<char16_t>(octet));
}

std::uint8_t DepuisUnicode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<std::uint8_t>(c);
    for (int i = 0; i < 32; ++i)
        if (Table80[i] == c)
            return static_cast<std::uint8_t>(0x80 + i);
    return '?';
}

QString Decoder(const std::uint8_t* octets, int longueur)
{
    QString texte;
    texte.reserve(longueur);
    for (int i = 0; i < longueur; ++i)
        texte.append(VersUnicode(octets[i]));
    return texte;
}

QString Lire(const std::uint8_t* slot, int capacite)
{
    const int longueur = std::min<int>(slot[0], capacite);
    return Decoder(slot + 1, longueur);
}

void Ecrire(std::uint8_t* slot, int capacite, const QString& texte)
{
    // A character outside the basic plane is one unit of text for the user: it
    // becomes a single '?' rather than two.
    int n = 0;
    for (int i = 0; i < texte.size() && n < capacite; ++i) {
        const QChar c = texte.at(i);
        if (c.isHighSurrogate() && i + 1 < texte.size() && texte.at(i + 1).isLowSurrogate()) {
            slot[1 + n++] = '?';
            ++i;
            continue;
        }
        slot[1 + n++] = DepuisUnicode(c.unicode());
    }
    slot[0] = static_cast<std::uint8_t>(n);
}

} // namespace Chaine1252
