#include "platform/FichierOrdinaire.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

bool TFichierOrdinaire::Ouvrir(const QString& chemin, int drapeaux, mode_t mode)
{
    Fermer();
    m_erreur.clear();
    if (ExisteMaisPasOrdinaire(chemin)) {
        m_erreur = TextePasOrdinaire();
        return false;
    }
    const QByteArray nom = QFile::encodeName(chemin);
    int fd;
    do {
        fd = ::open(nom.constData(), drapeaux | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Echec(errno);
    // The node may have changed since the check above: decide on what was opened.
    struct stat etat {};
    if (::fstat(fd, &etat) != 0) {
        const int code = errno;
        ::close(fd);
        return Echec(code);
    }
    if (!S_ISREG(etat.st_mode)) {
        ::close(fd);
        m_erreur = TextePasOrdinaire();
        return false;
    }
    m_fd = fd;
    return true;
}

void TFichierOrdinaire::Fermer()
{
    if (m_fd >= 0)
        ::close(m_fd);  // releases the lock too
    m_fd = -1;
}

bool TFichierOrdinaire::Verrouiller(bool exclusif, int delaiMs)
{
    struct flock verrou {};
    verrou.l_type = exclusif ? F_WRLCK : F_RDLCK;
    verrou.l_whence = SEEK_SET;
    verrou.l_start = 0;
    verrou.l_len = 0;  // the whole file, however long it grows
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(delaiMs);
    for (;;) {
        // Locks of the open file itself, not of the process: two opens in one
        // process exclude each other as two processes do.
        if (::fcntl(m_fd, F_OFD_SETLK, &verrou) == 0)
            return true;
        const int code = errno;
        if (code == EINTR)
            continue;
        if (code != EAGAIN && code != EACCES)
            return Echec(code);
        if (std::chrono::steady_clock::now() >= limite) {
            m_erreur = QStringLiteral("fichier verrouillé par un autre programme depuis plus de %1 ms").arg(delaiMs);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TFichierOrdinaire::Deverrouiller()
{
    struct flock verrou {};
    verrou.l_type = F_UNLCK;
    verrou.l_whence = SEEK_SET;
    ::fcntl(m_fd, F_OFD_SETLK, &verrou);
}

qint64 TFichierOrdinaire::Taille()
{
    struct stat etat {};
    if (::fstat(m_fd, &etat) != 0) {
        Echec(errno);
        return -1;
    }
    return etat.st_size;
}

bool TFichierOrdinaire::Synchroniser()
{
    while (::fdatasync(m_fd) != 0) {
        if (errno != EINTR)
            return Echec(errno);
    }
    return true;
}

bool TFichierOrdinaire::Ecrire(qint64 position, const void* octets, qint64 longueur)
{
    const char* p = static_cast<const char*>(octets);
    qint64 fait = 0;
    while (fait < longueur) {
        // After a short write the next call fails and tells why (disk full,
        // size limit...).
        const ssize_t n = ::pwrite(m_fd, p + fait, size_t(longueur - fait), off_t(position + fait));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Echec(errno);
        if (n == 0)
            return Echec(EIO);
        fait += n;
    }
    return true;
}

qint64 TFichierOrdinaire::Lire(qint64 position, void* octets, qint64 longueur)
{
    int code = 0;
    const qint64 lus = Lire(position, octets, longueur, code);
    if (lus < 0)
        Echec(code);
    return lus;
}

qint64 TFichierOrdinaire::Lire(qint64 position, void* octets, qint64 longueur, int& code) const
{
    char* p = static_cast<char*>(octets);
    qint64 fait = 0;
    while (fait < longueur) {
        const ssize_t n = ::pread(m_fd, p + fait, size_t(longueur - fait), off_t(position + fait));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            code = errno;
            return -1;
        }
        if (n == 0)
            break;
        fait += n;
    }
    return fait;
}

bool TFichierOrdinaire::ExisteMaisPasOrdinaire(const QString& chemin)
{
    struct stat etat {};
    return ::stat(QFile::encodeName(chemin).constData(), &etat) == 0 && !S_ISREG(etat.st_mode);
}

QString TFichierOrdinaire::TexteSysteme(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString TFichierOrdinaire::TextePasOrdinaire()
{
    return QStringLiteral("Ce n'est pas un fichier ordinaire (dossier, tube ou périphérique)");
}

bool TFichierOrdinaire::Echec(int code)
{
    m_erreur = TexteSysteme(code);
    return false;
}
