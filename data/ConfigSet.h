#pragma once
// The configuration record, stored byte for byte in "Config.set".
#include "data/Chaine1252.h"
#include "data/Tableau1.h"
#include "data/TypesVeilleur.h"

#include <QString>
#include <bit>
#include <cstddef>
#include <cstdint>

struct TConfigSet {
    std::uint8_t AcqAlarmesConsultation;   // boolean byte
    std::uint8_t Remplissage[3];           // no meaning; written back as found
    std::int32_t PortCom;                  // COMn, 1..50; 0 when none chosen
    TLangue Langue;
    Tableau1<TChaineCourte<LongueurMaxNom>, NbSources> NomsSources;
};

static_assert(std::endian::native == std::endian::little, "records are stored little-endian");
static_assert(sizeof(TConfigSet) == 3140);
static_assert(offsetof(TConfigSet, AcqAlarmesConsultation) == 0);
static_assert(offsetof(TConfigSet, PortCom) == 4);
static_assert(offsetof(TConfigSet, Langue) == 8);
static_assert(offsetof(TConfigSet, NomsSources) == 9);
static_assert(sizeof(TChaineCourte<LongueurMaxNom>) == 101);

constexpr int TailleConfigSet = sizeof(TConfigSet);
inline const char* const NomFichierConfig = "Config.set";

// The one configuration record of the program, all-zero until loaded.
extern TConfigSet ConfigSet;

// Language the interface may use from a record: a stored value above 2 is
// read as French, so no catalogue lookup is ever made with it.
TLangue LangueValide(TLangue langue);

// Loads "Config.set" of the current folder into ConfigSet. True when at least
// one byte was read; every failure is silent and leaves the defaults. A stored
// language above 2 is loaded as 0 (French).
bool ChargerConfig();
bool ChargerConfig(TConfigSet& config, const QString& chemin);

// Writes ConfigSet whole to "Config.set" through a temporary file renamed over
// it, so the old file survives a crash or a full disk; written in place when
// no temporary file can be made beside it. A symbolic link keeps pointing to
// the updated file, the file keeps its permissions, and anything but a regular
// file is refused. Throws EErreurVeilleur ("Impossible de créer le fichier
// ...") unless all 3140 bytes reached the disk.
void EnregistrerConfig();
void EnregistrerConfig(const TConfigSet& config, const QString& chemin);
