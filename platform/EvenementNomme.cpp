#include "platform/EvenementNomme.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <time.h>

namespace {
QByteArray NomPosix(const QString& nom)
{
    return "/" + nom.toUtf8();
}
}

TEvenementNomme::TEvenementNomme(const QString& nom)
{
    m_sem = sem_open(NomPosix(nom).constData(), O_CREAT, 0666, 1);
    if (m_sem == SEM_FAILED)
        m_erreur = QString::fromLocal8Bit(std::strerror(errno));
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
