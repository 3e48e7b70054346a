#pragma once
// Short strings of the stored records: one length byte followed by single-byte
// Windows-1252 characters in a slot of fixed capacity.
#include <QString>
#include <cstdint>

template <int Capacite>
struct TChaineCourte {
    std::uint8_t Longueur;
    std::uint8_t Car[Capacite];
};

namespace Chaine1252 {

// Unicode character of one Windows-1252 byte. The five bytes Windows leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
QChar VersUnicode(std::uint8_t octet);

// Windows-1252 byte of a character, or '?' when the code page has none.
std::uint8_t DepuisUnicode(char16_t c);

QString Decoder(const std::uint8_t* octets, int longueur);

// Text of a slot: as many characters as its length byte says, never more than
// the slot holds (a damaged length byte is clamped to the capacity).
QString Lire(const std::uint8_t* slot, int capacite);

// Stores a text in a slot: cut to the capacity, characters outside the code
// page become '?'. Bytes after the text are left as they were.
void Ecrire(std::uint8_t* slot, int capacite, const QString& texte);

} // namespace Chaine1252

template <int Capacite>
QString LireChaine(const TChaineCourte<Capacite>& c) { return Chaine1252::Lire(&c.Longueur, Capacite); }

template <int Capacite>
void EcrireChaine(TChaineCourte<Capacite>& c, const QString& texte) { Chaine1252::Ecrire(&c.Longueur, Capacite, texte); }
