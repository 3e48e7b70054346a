#pragma once
// The network file "Reseau.ini": how the station reaches its devices.
#include <QString>
#include <vector>

inline const char* const NomFichierReseau = "Reseau.ini";

struct TConfigReseau {
    enum class TType { Rtu, Tcp };
    TType Type = TType::Rtu;
    QString Peripherique;           // rtu: the serial device
    int Vitesse = 19200;
    char Parite = 'E';              // 'N', 'E' or 'O'
    int BitsDeStop = 1;
    QString Hote;                   // tcp: the gateway
    int Port = 502;
    int DelaiReponse = 300;         // ms a device has to answer
    // Device numbers polled, ascending; empty when the file names none and
    // every KMT number is probed.
    std::vector<int> Appareils;
    bool ListeDonnee = false;
    // KMT numbers whose alarm starts a search on their QFL8 ([RechercheAuto] Liste).
    std::vector<int> RechercheAuto;
};

struct TLectureReseau {
    bool Utilisable = false;
    TConfigReseau Config;
    QString Message;                // why the file cannot be used, for the operator
};

// Reads the file; every key is optional. An empty (or absent) Peripherique
// means peripheriqueParDefaut, the device of the port chosen on the
// configuration screen. The first value that cannot be used makes the whole
// file unusable, with one message naming the file, the key and the value.
TLectureReseau LireConfigReseau(const QString& chemin, const QString& peripheriqueParDefaut);

// "1-8,12" -> 1..8, 12 (KMT 1..31 and QFL 33..63); false on anything else.
bool LireListeAppareils(const QString& texte, std::vector<int>& appareils);

// [RechercheAuto] Liste of the file: the KMTs whose alarm starts a search on
// their QFL8. Empty when absent, empty or unusable.
std::vector<int> LireRechercheAuto(const QString& chemin);
// Writes that list into the file, the rest of it kept; false when the file
// cannot be written.
bool EcrireRechercheAuto(const QString& chemin, const std::vector<int>& kmt);
// "1-3,7": the shortest text that LireListeAppareils reads back as these numbers.
QString TexteListeAppareils(std::vector<int> appareils);
