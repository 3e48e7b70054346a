#pragma once
// The source names of the "Config.set" kept beside a journal, for the tool's
// output: KMT device k and QFL device 32 + k are on source k.
#include "journal/ExportJournal.h"

#include <QString>
#include <array>
#include <optional>
#include <string>

class TSourcesJournal {
public:
    // Loads "Config.set" from the journal's folder, read-only; nullopt when
    // there is none there (or it cannot be read).
    static std::optional<TSourcesJournal> Charger(const QString& cheminJournal);

    // Name of the source of a device number; nullopt for a number on no source.
    std::optional<QString> Nom(int origine) const;

    // --- The export's "source" field, after every other one ---

    // Room a line needs for it: its key and 100 characters of 6 bytes each.
    static constexpr int LongueurMaxChamp = 16 + 100 * 6;
    // The field for lines of this format.
    void PreparerExport(TFormatExport format);
    // Adds the field's name to the CSV header row (ending in CRLF).
    void CompleterEnTete(std::string& entete) const;
    // Puts the field before the terminator of the line that ends at fin
    // ("\r\n" or "}\n"); returns the new end.
    char* CompleterLigne(char* fin, int origine) const;

private:
    std::array<std::optional<QString>, 256> m_noms;
    TFormatExport m_format = TFormatExport::Csv;
    std::array<std::string, 256> m_champs;  // ",name" or ",\"source\":\"name\"", ready to copy
};
