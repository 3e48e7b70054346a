#pragma once
// How a KMT's readings change its record and the journal: one entry per
// change seen between two readings, never one per poll. No thread, no bus.
#include "data/JournalLog.h"
#include "data/TypesVeilleur.h"
#include "liaison/DecodageModbus.h"

#include <QString>
#include <cstdint>
#include <vector>

// Journal codes of the live devices.
namespace CodeJournal {
constexpr std::uint8_t Retrouve = 2;
constexpr std::uint8_t Perdu = 3;
constexpr std::uint8_t FinAlarme = 6;
constexpr std::uint8_t DebutPreAlarme = 7;
constexpr std::uint8_t DebutAlarme = 8;
constexpr std::uint8_t DebutKlaxon = 9;
constexpr std::uint8_t DebutAutoTest = 10;
constexpr std::uint8_t DebutDCPlus = 11;
constexpr std::uint8_t DebutDCMoins = 12;
constexpr std::uint8_t AcquitPreAlarme = 13;
constexpr std::uint8_t AcquitAlarme = 14;
constexpr std::uint8_t AcquitKlaxon = 15;
constexpr std::uint8_t FinAutoTest = 16;
constexpr std::uint8_t FinDCPlus = 17;
constexpr std::uint8_t FinDCMoins = 18;
constexpr std::uint8_t DemandeAcquitKlaxon = 19;
constexpr std::uint8_t DemandeAcquitAlarme = 20;
constexpr std::uint8_t SeuilConfirme = 21;
constexpr std::uint8_t SeuilDemande = 22;
constexpr std::uint8_t HorlogeConfirmee = 23;
constexpr std::uint8_t HorlogeDemandee = 24;
// QFL8
constexpr std::uint8_t ReglageQFL = 25;      // R1, R2, voltage: the setting's name in InfosCompl
constexpr std::uint8_t RSeuilQFL = 26;
constexpr std::uint8_t ITransfoQFL = 27;
constexpr std::uint8_t ILimiteurQFL = 28;
constexpr std::uint8_t IDepartsQFL = 29;
constexpr std::uint8_t DemandeRSeuilQFL = 30;
constexpr std::uint8_t DemandeITransfoQFL = 31;
constexpr std::uint8_t DemandeILimiteurQFL = 32;
constexpr std::uint8_t DemandeIDepartsQFL = 33;
constexpr std::uint8_t HorlogeConfirmeeQFL = 34;
constexpr std::uint8_t HorlogeDemandeeQFL = 35;
constexpr std::uint8_t DemandeRAZMinMax = 36;
constexpr std::uint8_t DemandeRecherche = 37;
}

// A zeroed entry with these fields; InfosCompl holds the user who acted, if any.
TEntreeLog EntreeLiaison(std::uint8_t code, double date, int appareil, std::uint8_t attribut1, std::uint8_t attribut2,
                         double valeur1 = 0.0, double valeur2 = 0.0, const QString& utilisateur = {});

// What the layer remembers of a KMT's last reading.
struct TEtatObserveKMT {
    bool Connu = false;
    std::uint16_t Etat = 0;
    std::uint16_t Compteur = 0;
};

// Entries for the changes between the last reading (avant) and this one.
// At the first reading, conditions already on are journalled as starting;
// nothing is journalled as ending or confirmed.
std::vector<TEntreeLog> TransitionsKMT(int appareil, const TEtatObserveKMT& avant,
                                       const DecodageModbus::TLectureKMT& lecture, double maintenant);

// The reading in the record (the caller holds the write lock). A resistance of
// 65535 ("no measurement") is never stored; Present comes with the first real one.
void AppliquerLectureKMT(TDonneesKMT& donnees, const DecodageModbus::TLectureKMT& lecture);

// One history sample (date, R, threshold), the oldest dropped when full.
void AjouterEchantillonKMT(TDonneesKMT& donnees, double date);

void DefinirEtatCom(TDonneesKMT& donnees, std::uint8_t etat, double date);
