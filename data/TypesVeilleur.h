#pragma once
// Records and blocks the shell owns for the whole run and hands to the screens.
#include "data/Tableau1.h"

#include <QString>
#include <cstdint>

class QObject;

// Interface language: 0 French, 1 English, 2 Spanish.
using TLangue = std::uint8_t;
constexpr TLangue LangueFrancais = 0;
constexpr TLangue LangueAnglais = 1;
constexpr TLangue LangueEspagnol = 2;
constexpr int NbLangues = 3;

// Session modes.
constexpr std::uint8_t ModeAdministration = 0;
constexpr std::uint8_t ModeExploitation = 1;
constexpr std::uint8_t ModeConsultation = 2;

// Device numbers: KMT 1..31 (upper strip row), QFL 33..63 (lower row, QFL
// 32 + k under KMT k, same source); 32 is not used.
constexpr int NbSources = 31;
constexpr int PremierKMT = 1;
constexpr int DernierKMT = 31;
constexpr int PremierQFL = 33;
constexpr int DernierQFL = 63;
constexpr int DecalageQFL = 32;
constexpr int NbBoutonsMonitoring = 62;

constexpr bool EstKMT(int appareil) { return appareil >= PremierKMT && appareil <= DernierKMT; }
constexpr bool EstQFL(int appareil) { return appareil >= PremierQFL && appareil <= DernierQFL; }

// Screen numbers, carried by WM_ECRAN and by the return fields.
constexpr int EcranAccueil = 1;
constexpr int EcranSession = 2;
constexpr int EcranVueDEnsemble = 3;
constexpr int EcranJournal = 4;
constexpr int EcranNotices = 5;
constexpr int EcranConfiguration = 6;
constexpr int EcranKMT = 10;
constexpr int EcranQFL = 11;
constexpr int EcranRecherche = 12;

constexpr int NbMaxMesures = 1000;
constexpr int LongueurMaxNom = 100;

// Communication state of a live device: never heard, answering, or lost
// (its last values are then of unknown age).
constexpr std::uint8_t ComJamais = 0;
constexpr std::uint8_t ComEnLigne = 1;
constexpr std::uint8_t ComPerdue = 2;

// Measurement record of one KMT device, created all-zero. The fields after
// VLogiciel are filled by the communication layer only (in memory, never stored).
struct TDonneesKMT {
    bool Present;
    std::uint16_t RIsolement;
    std::uint16_t RMin;
    std::uint16_t RSeuil;
    std::uint16_t NvSeuil;
    bool AutoTest;
    bool DCPlus;
    bool DCMoins;
    bool PreAlarme;
    bool Klaxon;
    bool Alarme;
    double DHDerniereAlarme;
    Tableau1<double, NbMaxMesures> HistDate;
    // The same instants on a clock that the wall clock's steps do not move
    // (InstantMonotone), for the samples' order and spacing in time; 0 where
    // the producer recorded none. Held in memory only, like the whole history.
    Tableau1<double, NbMaxMesures> HistMonotone;
    Tableau1<std::uint16_t, NbMaxMesures> HistRIsolement;
    Tableau1<std::uint16_t, NbMaxMesures> HistRSeuil;
    std::uint16_t NbMesures;
    std::uint8_t VLogiciel;
    std::uint8_t EtatCom;              // ComJamais, ComEnLigne or ComPerdue
    double DHEtatCom;                  // day count of the last change of EtatCom, 0 never
    bool PreAlarmeAcquittee;           // status bits 8, 9, 10 as the device reports them
    bool AlarmeAcquittee;
    bool KlaxonAcquitte;
    std::uint16_t CompteurEvenements;  // the device's event counter at the last reading
};

// Makes room in a full history: drops the oldest sample so that the producer
// can append at index NbMesures + 1.
void DecalerHistorique(TDonneesKMT& donnees);

// Days elapsed on a clock that never steps (time since boot, suspend
// included), never 0: the value a producer stores in HistMonotone beside the
// wall-clock HistDate of the same sample.
double InstantMonotone();

// Parameter blocks. Handle is the main window: the target of WM_ECRAN.
struct TInfosAccueil {
    QObject* Handle = nullptr;
    std::uint8_t Mode = ModeAdministration;
    QString Utilisateur;
};

// The return target starts at the home screen so that a device screen's quit
// always leads somewhere, even before any general screen opened it.
class TCommandesAppareils;

struct TInfosKMT {
    QObject* Handle = nullptr;
    std::int32_t NumAppareil = 0;
    std::int32_t EcranRetour = EcranAccueil;
    std::int32_t AppareilRetour = 1;
    QString NomAppareil;
    // What the screen's controls act through; null: they act on nothing.
    TCommandesAppareils* Commandes = nullptr;
};

struct TInfosQFL {
    QObject* Handle = nullptr;
    std::int32_t NumAppareil = 0;
    std::int32_t EcranRetour = EcranAccueil;
    std::int32_t AppareilRetour = 1;
    QString NomAppareil;
};

struct TInfosRecherche {
    QObject* Handle = nullptr;
    std::int32_t NumAppareil = 0;
    std::int32_t EcranRetour = EcranAccueil;
    std::int32_t AppareilRetour = 1;
};

struct TInfosConfiguration {
    QObject* Handle = nullptr;
};

struct TNomsAppareils {
    QObject* Handle = nullptr;
    Tableau1<QString, NbSources> Noms;  // at most 100 characters each
};

// Data block of the overview screen.
struct TEtatsAppareils {
    Tableau1<bool, NbSources> Present{};
    Tableau1<std::uint16_t, NbSources> RIsolement{};
    Tableau1<std::uint16_t, NbSources> RMin{};
    Tableau1<std::uint16_t, NbSources> RSeuil{};
    Tableau1<bool, NbSources> PreAlarme{};
    Tableau1<bool, NbSources> Alarme{};
    // Communication with the device is lost: its values are of unknown age.
    Tableau1<bool, NbSources> Perdu{};
};

struct TConfigSet;
class TVerrouDonnees;

// Fills the overview blocks from the records and the configuration; takes the
// read lock itself. Absent devices keep their last values, only Present changes;
// a lost device is marked Perdu.
void RemplirVueDEnsemble(TVerrouDonnees& verrou, const Tableau1<TDonneesKMT, NbSources>& donnees,
                         const TConfigSet& config, TNomsAppareils& noms, TEtatsAppareils& etats);
