#include "platform/EvenementNomme.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {
QByteArray NomPosix(const QString& nom)
{
    return "/" + nom.toUtf8();
}
}

TEvenementNomme::TEvenementNomme(const QString& nom) : m_nom(nom)
{
    const QByteArray posix = NomPosix(nom);
    // Created exclusively first: then it is ours for sure. Otherwise the one
    // there is opened and its owner looked at (glibc keeps named semaphores
    // as files "sem.<name>" in /dev/shm).
    m_sem = sem_open(posix.constData(), O_CREAT | O_EXCL, 0666, 1);
    if (m_sem != SEM_FAILED) {
        m_propriete = TProprieteEvenement::Cree;
        return;
    }
    if (errno == EEXIST)
        m_sem = sem_open(posix.constData(), 0);
    if (m_sem == SEM_FAILED) {
        m_erreur = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    struct stat etat {};
    const QByteArray fichier = "/dev/shm/sem." + posix.mid(1);
    if (::lstat(fichier.constData(), &etat) == 0 && S_ISREG(etat.st_mode)) {
        m_proprietaire = etat.st_uid;
        m_propriete = etat.st_uid == ::geteuid() ? TProprieteEvenement::MemeUtilisateur
                                                 : TProprieteEvenement::AutreUtilisateur;
    } else {
        // Opened, yet not where it should be: nobody can tell whose it is.
        m_propriete = TProprieteEvenement::AutreUtilisateur;
        m_proprietaire = uid_t(-1);
    }
}

QString TEvenementNomme::Avertissement(int langue) const
{
    if (Propre())
        return {};
    const bool indisponible = m_propriete == TProprieteEvenement::Indisponible;
    const QString qui = m_proprietaire == uid_t(-1) ? QStringLiteral("?") : QString::number(m_proprietaire);
    switch (langue) {
    case 1:
        return (indisponible ? QStringLiteral("The named event \"%1\" cannot be created (%2).").arg(m_nom, m_erreur)
                             : QStringLiteral("The named event \"%1\" belongs to another user (uid %2).").arg(m_nom, qui))
               + QStringLiteral(" Other programs cannot wait for the journal's accesses. The journal is still written.");
    case 2:
        return (indisponible ? QStringLiteral("El evento con nombre \"%1\" no se puede crear (%2).").arg(m_nom, m_erreur)
                             : QStringLiteral("El evento con nombre \"%1\" pertenece a otro usuario (uid %2).").arg(m_nom, qui))
               + QStringLiteral(" Los demás programas no pueden esperar el fin de los accesos al registro. El registro se sigue escribiendo.");
    default:
        return (indisponible ? QStringLiteral("L'événement nommé \"%1\" ne peut pas être créé (%2).").arg(m_nom, m_erreur)
                             : QStringLiteral("L'événement nommé \"%1\" appartient à un autre utilisateur (uid %2).").arg(m_nom, qui))
               + QStringLiteral(" Les autres programmes ne peuvent pas attendre la fin des accès au journal. Le journal est toujours écrit.");
    }
}

TEvenementNomme::~TEvenementNomme()
{
    if (m_sem != SEM_FAILED)
        sem_close(m_sem);
}

bool TEvenementNomme::Attendre0()
{
    if (m_sem == SEM_FAILED)
        return true;  // without the system object the process's own flag rules alone
    while (sem_trywait(m_sem) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

bool TEvenementNomme::Attendre(int delaiMs)
{
    if (m_sem == SEM_FAILED)
        return true;
    timespec limite{};
    clock_gettime(CLOCK_MONOTONIC, &limite);
    limite.tv_sec += delaiMs / 1000;
    limite.tv_nsec += long(delaiMs % 1000) * 1000000L;
    if (limite.tv_nsec >= 1000000000L) {
        ++limite.tv_sec;
        limite.tv_nsec -= 1000000000L;
    }
    return sem_clockwait(m_sem, CLOCK_MONOTONIC, &limite) == 0;
}

void TEvenementNomme::Signaler()
{
    if (m_sem == SEM_FAILED)
        return;
    // Drained first, then posted once: the value ends at 1 whatever it was,
    // even 2 left by two processes that set it together.
    Reinitialiser();
    sem_post(m_sem);
}

void TEvenementNomme::Reinitialiser()
{
    if (m_sem == SEM_FAILED)
        return;
    while (sem_trywait(m_sem) == 0 || errno == EINTR) {
    }
}

void TEvenementNomme::Supprimer(const QString& nom)
{
    sem_unlink(NomPosix(nom).constData());
}
