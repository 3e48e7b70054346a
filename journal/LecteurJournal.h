#pragma once
// Reads "Log.dat" as another process may: read-only, in big chunks of whole
// records, never the whole file in memory, the file closed again at once.
#include "data/JournalLog.h"
#include "platform/FichierOrdinaire.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <memory>

namespace LecteurJournal {

// Calls visiteur(entree, index) for each whole record of a byte run whose
// first record has the given index; returns the number of whole records.
template <class Visiteur>
qint64 ParcourirOctets(const char* octets, qint64 taille, qint64 premierIndex, Visiteur&& visiteur)
{
    const qint64 n = taille / TailleEntreeLog;
    TEntreeLog entree;
    for (qint64 i = 0; i < n; ++i) {
        // Copied out: records in a byte run are not aligned for doubles.
        std::memcpy(static_cast<void*>(&entree), octets + i * TailleEntreeLog, TailleEntreeLog);
        visiteur(static_cast<const TEntreeLog&>(entree), premierIndex + i);
    }
    return n;
}

// One sentence naming the file and the system's reason.
QString PhraseErreur(const QString& action, const QString& chemin, const QString& raison);

} // namespace LecteurJournal

class TLecteurJournal {
public:
    static constexpr qint64 EnregistrementsParBloc = 8192;  // 768 KiB per read

    explicit TLecteurJournal(const QString& chemin);

    // Opens the file read-only, without waiting and without a lock (appends
    // of a running station are never held up); false with Erreur() set when
    // it cannot, a FIFO, device or folder included.
    bool Ouvrir();
    void Fermer() { m_fichier.Fermer(); }

    // Whole records in the file as it is now.
    qint64 NbEnregistrements() { return std::max<qint64>(0, m_fichier.Taille()) / TailleEntreeLog; }
    // Bytes in the file as it is now; -1 with Erreur() set when that cannot be told.
    qint64 Taille();

    // Reads up to nbMax whole records from index on into tampon (room for
    // nbMax records); returns how many, 0 at the end of file, -1 on a read
    // error. Bytes of a record cut short by the end of file are counted in
    // OctetsRestants(), never returned.
    qint64 Lire(qint64 index, char* tampon, qint64 nbMax);
    // The same for several threads at once: changes nothing of this reader.
    // Bytes past the last whole record are not counted anywhere; on a read
    // error (-1) the errno is in code, for Echouer.
    qint64 Lire(qint64 index, char* tampon, qint64 nbMax, int& code) const;
    // Erreur() tells of a read that failed with this errno.
    void Echouer(int code);

    // Visits records from index debut up to (not including) fin, or to the
    // end of file when fin is negative. False on a read error.
    template <class Visiteur>
    bool Parcourir(Visiteur&& visiteur, qint64 debut = 0, qint64 fin = -1)
    {
        m_restants = 0;
        for (qint64 index = debut; fin < 0 || index < fin;) {
            const qint64 voulus = fin < 0 ? EnregistrementsParBloc : std::min(EnregistrementsParBloc, fin - index);
            const qint64 n = Lire(index, m_tampon.get(), voulus);
            if (n < 0)
                return false;
            index += LecteurJournal::ParcourirOctets(m_tampon.get(), n * TailleEntreeLog, index, visiteur);
            if (n < voulus)
                break;
        }
        return true;
    }

    qint64 OctetsRestants() const { return m_restants; }
    const QString& Erreur() const { return m_erreur; }
    const QString& Chemin() const { return m_chemin; }

private:
    void EchecLecture(const QString& raison);

    QString m_chemin;
    TFichierOrdinaire m_fichier;
    std::unique_ptr<char[]> m_tampon;
    qint64 m_restants = 0;
    QString m_erreur;
};
