#pragma once
// A regular file opened for one access, closed when it goes out of scope.
//
// Opening never waits: a FIFO or a device node named like the file is refused
// before it is opened, and the open itself is non-blocking, so a node swapped
// in between cannot hold the interface thread either. Every failure keeps the
// system's text for its errno (the errno of the call that failed, also for a
// short write).
#include <QString>
#include <QtGlobal>
#include <sys/types.h>

class TFichierOrdinaire {
public:
    TFichierOrdinaire() = default;
    ~TFichierOrdinaire() { Fermer(); }
    TFichierOrdinaire(const TFichierOrdinaire&) = delete;
    TFichierOrdinaire& operator=(const TFichierOrdinaire&) = delete;

    // drapeaux: O_RDONLY, O_RDWR, O_CREAT... False when the path is not a
    // regular file or cannot be opened.
    bool Ouvrir(const QString& chemin, int drapeaux, mode_t mode = 0666);
    void Fermer();

    // Advisory lock on the whole file, shared or exclusive, held until the
    // file is closed; shared by no other open of the file, even in this
    // process. Retried for at most delaiMs, then false.
    bool Verrouiller(bool exclusif, int delaiMs);
    // Releases that lock before the file is closed.
    void Deverrouiller();

    qint64 Taille();  // -1 on failure
    // Waits until the data written so far is on the disk (fdatasync).
    bool Synchroniser();
    // All of the bytes at position, or false.
    bool Ecrire(qint64 position, const void* octets, qint64 longueur);
    // Up to longueur bytes from position (fewer at the end); -1 on failure.
    qint64 Lire(qint64 position, void* octets, qint64 longueur);
    // The same for several threads at once: changes nothing of this object
    // and gives the errno of a failure in code.
    qint64 Lire(qint64 position, void* octets, qint64 longueur, int& code) const;

    const QString& TexteErreur() const { return m_erreur; }

    // True when the path names something that exists but is not a regular
    // file (a symbolic link counts as what it points to).
    static bool ExisteMaisPasOrdinaire(const QString& chemin);
    static QString TexteSysteme(int code);
    static QString TextePasOrdinaire();

private:
    bool Echec(int code);

    int m_fd = -1;
    QString m_erreur;
};
