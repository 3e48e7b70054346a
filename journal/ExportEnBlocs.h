#pragma once
// The export of a whole journal in blocks of records, on one thread per
// processor: each thread reads a block, makes its lines and writes, in file
// order, the blocks whose turn has come. Memory stays that of a few blocks,
// however big the file.
#include "journal/ExportJournal.h"
#include "journal/LecteurJournal.h"

#include <cstddef>
#include <functional>

class TSourcesJournal;

class TExportEnBlocs {
public:
    static constexpr qint64 EnregistrementsParBloc = 2048;  // 192 KiB read at a time

    // nbOuvriers: threads making lines, the caller's included; 0 for one per processor.
    // sources, when given, adds each line's source name as its last field.
    TExportEnBlocs(const TExportJournal& format, const TFiltreJournal& filtre, int nbOuvriers = 0,
                   const TSourcesJournal* sources = nullptr);

    enum class TResultat { Fait, ErreurLecture, ErreurEcriture };

    // Exports the records the open journal holds when this starts (a station
    // may go on appending meanwhile). ecrire gets the lines in file order and
    // returns false when the output failed, which stops the export. After a
    // read error (lecteur.Erreur() tells it) the lines of the records before
    // it are still written.
    TResultat Exporter(TLecteurJournal& lecteur, const std::function<bool(const char*, std::size_t)>& ecrire);

    // Bytes after the last whole record exported: a record cut short at the end.
    qint64 OctetsRestants() const { return m_restants; }

private:
    const TExportJournal& m_format;
    TFiltreJournal m_filtre;
    int m_nbOuvriers;
    const TSourcesJournal* m_sources;
    qint64 m_restants = 0;
};
