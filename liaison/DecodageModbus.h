#pragma once
// What the devices' replies mean: pure functions from the bytes of a reply to
// registers, and from a KMT's input registers to the fields of its record.
#include <array>
#include <cstdint>
#include <vector>

namespace DecodageModbus {

constexpr std::uint8_t FonctionLireMaintien = 0x03;
constexpr std::uint8_t FonctionLireEntrees = 0x04;
constexpr std::uint8_t FonctionEcrireUn = 0x06;
constexpr std::uint8_t FonctionEcrirePlusieurs = 0x10;

constexpr std::uint16_t PasDeMesure = 65535;

// Exception codes a device may give.
constexpr int ExceptionFonction = 1;
constexpr int ExceptionAdresse = 2;
constexpr int ExceptionValeur = 3;
constexpr int ExceptionOccupe = 6;

// The request a reply must match.
struct TRequete {
    std::uint8_t Unite = 0;
    std::uint8_t Fonction = 0;
    std::uint16_t Adresse = 0;
    std::uint16_t Nombre = 1;   // registers read or written
    std::uint16_t Valeur = 0;   // function 06: the value written
};

enum class TIssue : std::uint8_t {
    Registres,     // a valid reply (for reads, Registres holds them)
    Exception,     // the device refused: CodeException
    Invalide,      // wrong unit, function, length or echo, or a short frame
};

struct TReponse {
    TIssue Issue = TIssue::Invalide;
    int CodeException = 0;
    std::vector<std::uint16_t> Registres;
};

// The PDU bytes of a request (function code first), as libmodbus sends raw.
std::vector<std::uint8_t> ConstruireRequete(const TRequete& requete, const std::uint16_t* valeurs = nullptr);

// Decodes a reply whose frame checks (CRC, MBAP length) have passed: octets
// is the whole frame without its CRC, entete the bytes before the function
// code (1 in RTU: the unit; 7 in TCP: the MBAP header ending with the unit).
TReponse DecoderReponse(const TRequete& requete, const std::uint8_t* octets, int longueur, int entete);

// Status word of a KMT.
constexpr std::uint16_t BitPreAlarme = 1u << 0;
constexpr std::uint16_t BitAlarme = 1u << 1;
constexpr std::uint16_t BitKlaxon = 1u << 2;
constexpr std::uint16_t BitDefautAutoTest = 1u << 3;
constexpr std::uint16_t BitDefautDCPlus = 1u << 4;
constexpr std::uint16_t BitDefautDCMoins = 1u << 5;
constexpr std::uint16_t BitPreAlarmeAcquittee = 1u << 8;
constexpr std::uint16_t BitAlarmeAcquittee = 1u << 9;
constexpr std::uint16_t BitKlaxonAcquitte = 1u << 10;

// Registers of the map.
constexpr int NbRegistresKMT = 17;  // IR 0..16: identification and measurements in one read
constexpr std::uint16_t GenreKMT = 1;
constexpr std::uint16_t GenreQFL8 = 2;
constexpr std::uint16_t RegistreSeuilKMT = 100;
constexpr std::uint16_t RegistreCommandeKMT = 101;
constexpr std::uint16_t RegistreHorlogeKMT = 102;
constexpr int SeuilMin = 10;
constexpr int SeuilMax = 10000;

inline bool SeuilValide(long long seuil) { return seuil >= SeuilMin && seuil <= SeuilMax; }

// A 32-bit value of two registers, high word first.
constexpr std::uint32_t Mot32(std::uint16_t fort, std::uint16_t faible)
{
    return (static_cast<std::uint32_t>(fort) << 16) | faible;
}

// A device date (Unix seconds, 0 = never) as the station's local day count; 0 stays 0.
double DateAppareilVersJours(std::uint32_t secondes);

struct TLectureKMT {
    std::uint16_t Genre = 0;
    std::uint16_t VersionCarte = 0;
    std::uint8_t VLogiciel = 0;
    std::uint16_t Battement = 0;
    std::uint16_t Etat = 0;
    std::uint16_t R = PasDeMesure;
    std::uint16_t RMin = PasDeMesure;
    std::uint16_t RSeuil = 0;
    std::uint32_t DateDerniereAlarme = 0;   // Unix seconds
    std::uint16_t Compteur = 0;
};

// IR 0..16 of a KMT; false (and lecture untouched) when the identification
// says that the device is not a KMT.
bool DecoderKMT(const std::uint16_t* registres, int nombre, TLectureKMT& lecture);

} // namespace DecodageModbus
