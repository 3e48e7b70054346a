#pragma once
// The export of a whole journal in blocks of records: this thread reads the
// blocks and writes their lines in file order while worker threads make the
// lines of the blocks in between. Memory stays that of a few blocks, however
// big the file.
#include "journal/ExportJournal.h"
#include "journal/LecteurJournal.h"

#include <cstddef>
#include <functional>

class TExportEnBlocs {
public:
    static constexpr qint64 EnregistrementsParBloc = 2048;  // 192 KiB read at a time

    // nbOuvriers: threads making lines; 0 for one per processor.
    TExportEnBlocs(const TExportJournal& format, const TFiltreJournal& filtre, int nbOuvriers = 0);

    enum class TResultat { Fait, ErreurLecture, ErreurEcriture };

    // Exports every record of the open journal from its start. ecrire gets the
    // lines in file order and returns false when the output failed, which
    // stops the export. After a read error the lines of the records read
    // before it are still written. The reader's OctetsRestants() tells of a
    // record cut short at the end.
    TResultat Exporter(TLecteurJournal& lecteur, const std::function<bool(const char*, std::size_t)>& ecrire);

private:
    const TExportJournal& m_format;
    TFiltreJournal m_filtre;
    int m_nbOuvriers;
};
