#pragma once
// Lines of the journal export: RFC 4180 CSV (UTF-8, a header row, CRLF) or
// JSON Lines, one line per entry, the event named in the chosen language.
#include "data/JournalLog.h"

#include <array>
#include <string>

enum class TFormatExport { Csv, Json };

// Keeps the text of the last day and day count written: one object per thread.
class TExportJournal {
public:
    TExportJournal(TFormatExport format, TLangue langue);

    // The CSV header row; nothing for JSON Lines.
    void EnTete(std::string& sortie) const;
    // Beyond the longest line (52 characters of text each escaped to 6
    // bytes, the event name, the numbers): a character is copied as 8 bytes.
    static constexpr int LongueurMaxLigne = 1024;

    // Appends the line of one entry (index = its position in the file, from 0).
    void Ligne(std::string& sortie, const TEntreeLog& entree, qint64 index) const;
    // The same at p (room for LongueurMaxLigne); returns the end of the line.
    char* Ligne(char* p, const TEntreeLog& entree, qint64 index) const;

    TFormatExport Format() const { return m_format; }

private:
    template <TFormatExport F>
    char* LigneDe(char* p, const TEntreeLog& entree, qint64 index) const;

    TFormatExport m_format;
    // Event names already quoted for the format, and each Windows-1252 byte
    // of the extra information as UTF-8 escaped for it (a CSV quote doubled):
    // the export writes millions. A byte's text is copied as 8 bytes at once.
    std::array<std::string, NbCodesEvenements> m_noms;
    struct TOctet {
        char Texte[8];
        std::uint8_t Longueur;
    };
    std::array<TOctet, 256> m_octets{};
    // Text of the last day written.
    mutable bool m_avecJour = false;
    mutable qint64 m_numeroJour = 0;
    mutable char m_jour[10] = {};
    // Text of the whole part of the last common day count, and its point.
    mutable std::uint32_t m_entierJours = 0;
    mutable std::uint64_t m_texteEntierJours = 0;
};

namespace ExportJournal {

// ISO 8601 local time with milliseconds ("2026-12-08T06:00:00.000") into t
// (LongueurDateIso characters, no terminator); false for a day count that is
// no date (NaN, infinite, out of range).
constexpr int LongueurDateIso = 23;
bool EcrireDateIso(double jours, char* t);
// The same as a string, empty for no date.
std::string DateIso(double jours);

// Shortest text that reads back as the same double; integers without a point.
void AjouterNombre(std::string& sortie, double valeur);

} // namespace ExportJournal

// Which entries an export keeps.
struct TFiltreJournal {
    bool AvecDepuis = false;
    double Depuis = 0;     // day count, inclusive
    bool AvecJusqua = false;
    double Jusqua = 0;     // day count, exclusive
    int Origine = -1;      // -1: every origin
    int Code = -1;         // -1: every code
    bool AvecAgeMax = false;
    double AgeMaxJours = 0;
    double Maintenant = 0; // "now" of the age rule

    bool Garde(const TEntreeLog& e) const
    {
        if (Origine >= 0 && e.Origine != Origine)
            return false;
        if (Code >= 0 && e.Code != Code)
            return false;
        // A NaN date fails both comparisons, so any date bound leaves it out.
        if (AvecDepuis && !(e.DateHeure >= Depuis))
            return false;
        if (AvecJusqua && !(e.DateHeure < Jusqua))
            return false;
        if (AvecAgeMax && EntreeTropAncienne(e.DateHeure, Maintenant, AgeMaxJours))
            return false;
        return true;
    }
};
