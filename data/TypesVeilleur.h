#pragma once
// Records and blocks the shell owns for the whole run and hands to the screens.
#include "data/Tableau1.h"

#include <QString>
#include <array>
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

// Fault locators (QFL8 with up to 31 QFL16 units). Settings are indexed 0..6
// in the order of their registers: I transformer, I limiter, I feeders
// (hundredths of a mA), the KMT's R threshold, R1, R2 (kOhm), the voltage (V).
constexpr int NbUnitesQFL16 = 31;
constexpr int NbDepartsQFL16 = 16;
constexpr int NbDepartsQFL8 = 8;         // feeders 3..10; 1 and 2 are the transformer and the limiter
constexpr int PremierDepartQFL8 = 3;
constexpr int NbDefautsQFL = 10;
constexpr int NbReglagesQFL = 7;
constexpr int ReglageITransfo = 0;
constexpr int ReglageILimiteur = 1;
constexpr int ReglageIDeparts = 2;
constexpr int ReglageRSeuilKMT = 3;
constexpr int ReglageR1 = 4;
constexpr int ReglageR2 = 5;
constexpr int ReglageTension = 6;
// What a device accepts for each setting.
constexpr int MinReglageQFL[NbReglagesQFL] = {1, 1, 1, 10, 1, 1, 1};
constexpr int MaxReglageQFL[NbReglagesQFL] = {50000, 50000, 50000, 10000, 65534, 65534, 1000};
constexpr bool ReglageQFLValide(int reglage, long long valeur)
{
    return reglage >= 0 && reglage < NbReglagesQFL && valeur >= MinReglageQFL[reglage]
           && valeur <= MaxReglageQFL[reglage];
}
// A resistance a fault locator did not measure.
constexpr std::uint16_t RQFLNonMesuree = 65535;
// Conductors of a fault: 0 neutral, 1..3 L1..L3, 4 DC+, 5 DC-.
constexpr int NbConducteurs = 6;

// One fault a QFL8 found; Depart 0 is an empty slot.
struct TDefautQFL {
    std::uint16_t Depart;       // 1..16
    std::uint16_t Unite;        // QFL16 unit 1..31, 0 for the QFL8 itself
    std::uint16_t R;            // kOhm
    std::uint16_t I;            // hundredths of a mA
    double Date;                // day count, 0 unknown
    std::uint8_t Conducteur;

    bool operator==(const TDefautQFL&) const = default;
};

// The results of a QFL8's last search and its list of faults.
struct TRechercheQFL {
    double Date;                               // day count, 0 never
    std::uint16_t ITransfo, RTransfo;          // hundredths of a mA, kOhm (65535: not measured)
    std::uint16_t ILimiteur, RLimiteur;
    std::array<std::uint16_t, NbDepartsQFL8> IDeparts;
    std::array<std::uint16_t, NbDepartsQFL8> RDeparts;
    // Current of each QFL16 feeder: [unit - 1][feeder - 1], hundredths of a mA.
    std::array<std::array<std::uint16_t, NbDepartsQFL16>, NbUnitesQFL16> IQFL16;
    std::array<TDefautQFL, NbDefautsQFL> Defauts;  // newest first
};

// Record of one QFL8, created all-zero; filled by the communication layer
// only, in memory, never stored.
struct TDonneesQFL {
    bool Present;                      // has answered at least once
    std::uint8_t EtatCom;              // ComJamais, ComEnLigne or ComPerdue
    double DHEtatCom;                  // day count of the last change of EtatCom
    std::uint8_t VLogiciel;
    std::uint16_t Etat;                // status word
    bool RechercheEnCours;
    bool DefautTrouve;                 // the last search found a fault
    bool DefautAppareil;
    std::uint16_t CompteurRecherches;
    bool ReglagesConnus;
    std::array<std::uint16_t, NbReglagesQFL> Reglages;  // in force
    std::uint32_t Unites;              // connected QFL16 units: bit k - 1 for unit k
    bool ResultatsConnus;              // Recherche holds what the device reported
    TRechercheQFL Recherche;
};

// The fault the last search found, if any: the newest of the list.
const TDefautQFL* DefautDerniereRecherche(const TDonneesQFL& donnees);

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
