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

    // Visits records from index debut up to (not including) fin, or to the
    // end of file when fin is negative. Bytes after the last whole record are
    // counted in OctetsRestants(), never visited. False on a read error.
    template <class Visiteur>
    bool Parcourir(Visiteur&& visiteur, qint64 debut = 0, qint64 fin = -1)
    {
        m_restants = 0;
        if (fin >= 0 && fin <= debut)
            return true;
        qint64 position = debut * TailleEntreeLog;
        const qint64 tailleBloc = EnregistrementsParBloc * TailleEntreeLog;
        qint64 aLire = fin < 0 ? -1 : (fin - debut) * TailleEntreeLog;
        qint64 index = debut;
        qint64 garde = 0;  // bytes of a record cut by the previous read
        while (aLire != 0) {
            const qint64 demande = aLire < 0 ? tailleBloc - garde : std::min(tailleBloc - garde, aLire);
            const qint64 lus = m_fichier.Lire(position, m_tampon.get() + garde, demande);
            if (lus < 0)
                return Echec();
            if (lus == 0)
                break;
            position += lus;
            if (aLire > 0)
                aLire -= lus;
            const qint64 total = garde + lus;
            const qint64 n = LecteurJournal::ParcourirOctets(m_tampon.get(), total, index, visiteur);
            index += n;
            garde = total - n * TailleEntreeLog;
            if (garde > 0)
                std::memmove(m_tampon.get(), m_tampon.get() + n * TailleEntreeLog, size_t(garde));
        }
        m_restants = garde;
        return true;
    }

    qint64 OctetsRestants() const { return m_restants; }
    const QString& Erreur() const { return m_erreur; }
    const QString& Chemin() const { return m_chemin; }

private:
    bool Echec();

    QString m_chemin;
    TFichierOrdinaire m_fichier;
    std::unique_ptr<char[]> m_tampon;
    qint64 m_restants = 0;
    QString m_erreur;
};
