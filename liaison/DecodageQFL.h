#pragma once
// What a QFL8's registers mean: its status poll, the results of its last
// search read in pieces, and its list of faults. Pure functions, no bus.
#include "data/TypesVeilleur.h"

#include <cstdint>
#include <vector>

namespace DecodageQFL {

// Status word.
constexpr std::uint16_t BitRecherche = 1u << 0;
constexpr std::uint16_t BitTrouve = 1u << 1;
constexpr std::uint16_t BitDefaut = 1u << 2;

constexpr int NbRegistresEtat = 14;        // IR 0..13: identification, status, counter, units
constexpr std::uint16_t PremierResultat = 20;
constexpr int NbResultats = 22;            // IR 20..41
constexpr std::uint16_t PremierQFL16 = 100;
constexpr int NbQFL16 = NbUnitesQFL16 * NbDepartsQFL16;  // IR 100..595
constexpr std::uint16_t PremierDefaut = 600;
constexpr int TailleDefaut = 8;
constexpr int NbRegistresDefauts = NbDefautsQFL * TailleDefaut;  // IR 600..679
constexpr int MaxParLecture = 125;

constexpr std::uint16_t RegistreReglages = 100;  // HR 100..106
constexpr std::uint16_t RegistreCommande = 110;
constexpr std::uint16_t RegistreHorloge = 111;
constexpr std::uint16_t CommandeRecherche = 1;
constexpr std::uint16_t CommandeRAZMinMax = 2;

struct TEtatQFL {
    std::uint16_t Genre = 0;
    std::uint8_t VLogiciel = 0;
    std::uint16_t Battement = 0;
    std::uint16_t Etat = 0;
    std::uint16_t Compteur = 0;
    std::uint32_t Unites = 0;
};

// IR 0..13 (4..9 unused); false when the device is not a QFL8.
bool DecoderEtat(const std::uint16_t* registres, int nombre, TEtatQFL& etat);

// One read of the search's registers.
struct TMorceau {
    std::uint16_t Adresse;
    std::uint16_t Nombre;
};
// The reads that fetch a whole search: IR 20..41, the fault list, then the
// QFL16 block in pieces of at most 125 registers.
std::vector<TMorceau> MorceauxRecherche();

// Puts the registers of one piece (read at adresse) in the search.
void AppliquerMorceau(std::uint16_t adresse, const std::vector<std::uint16_t>& registres, TRechercheQFL& recherche);

// The status in the record (the caller holds the write lock).
void AppliquerEtat(TDonneesQFL& donnees, const TEtatQFL& etat);

} // namespace DecodageQFL
