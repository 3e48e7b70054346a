#include "data/Chaine1252.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(Chaine1252, EveryByteDecodesAndEncodesBack)
{
    for (int octet = 0; octet < 256; ++octet) {
        const QChar c = Chaine1252::VersUnicode(std::uint8_t(octet));
        EXPECT_EQ(Chaine1252::DepuisUnicode(c.unicode()), octet) << octet;
    }
}

TEST(Chaine1252, UpperControlRangeIsTheWindowsOne)
{
    EXPECT_EQ(Chaine1252::VersUnicode(0x80), QChar(0x20AC));  // €
    EXPECT_EQ(Chaine1252::VersUnicode(0x8C), QChar(0x0152));  // Œ
    EXPECT_EQ(Chaine1252::VersUnicode(0x92), QChar(0x2019));  // ’
    EXPECT_EQ(Chaine1252::VersUnicode(0x96), QChar(0x2013));  // –
    EXPECT_EQ(Chaine1252::VersUnicode(0x9F), QChar(0x0178));  // Ÿ
    EXPECT_EQ(Chaine1252::VersUnicode(0xB0), QChar(0x00B0));  // °
    EXPECT_EQ(Chaine1252::DepuisUnicode(0x0394), '?');        // Greek capital delta has no code
    EXPECT_EQ(Chaine1252::DepuisUnicode(0x4E2D), '?');
}

TEST(Chaine1252, SlotsAreCutNeverOverflowedAndReadByTheirLength)
{
    TChaineCourte<5> s[2];
    std::memset(s, 0x7E, sizeof s);
    EcrireChaine(s[0], QStringLiteral("Œuvre – € et plus"));
    EXPECT_EQ(s[0].Longueur, 5);
    EXPECT_EQ(LireChaine(s[0]), QStringLiteral("Œuvre"));
    EXPECT_EQ(s[1].Longueur, 0x7E) << "the next slot is untouched";

    EcrireChaine(s[0], QStringLiteral("N°Δ"));
    EXPECT_EQ(LireChaine(s[0]), QStringLiteral("N°?"));
    EXPECT_EQ(s[0].Car[3], 'r') << "bytes after the text keep what they held";

    // A character outside the basic plane is one '?' and does not split.
    EcrireChaine(s[0], QString::fromUtf8("a\xF0\x9F\x98\x80" "b"));
    EXPECT_EQ(LireChaine(s[0]), QStringLiteral("a?b"));

    s[0].Longueur = 200;  // damaged length byte: clamped to the slot
    EXPECT_EQ(LireChaine(s[0]).size(), 5);
}
