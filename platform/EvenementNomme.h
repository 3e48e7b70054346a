#pragma once
// Named auto-reset event shared between processes, standing for the system
// event other programs wait on before touching the journal file.
//
// On Linux it is a POSIX named semaphore whose value 1 means "signalled":
// waiting with no delay is a try-wait (which consumes the signal, as an
// auto-reset event does), setting drains it and posts once, so it never goes
// above 1 through this process, and resetting drains it. Created signalled; an
// existing one is opened as it is.
#include <QString>
#include <semaphore.h>

class TEvenementNomme {
public:
    explicit TEvenementNomme(const QString& nom);
    ~TEvenementNomme();
    TEvenementNomme(const TEvenementNomme&) = delete;
    TEvenementNomme& operator=(const TEvenementNomme&) = delete;

    bool Valide() const { return m_sem != SEM_FAILED; }
    const QString& Erreur() const { return m_erreur; }

    // Wait with a time-out of 0 ms: true (and the signal consumed) when signalled.
    bool Attendre0();
    // Wait at most delaiMs: true (and the signal consumed) when it came in
    // time; false on time-out or when a signal to the process interrupted it.
    bool Attendre(int delaiMs);
    void Signaler();
    void Reinitialiser();

    // Removes the name from the system (tests only; the station never does).
    static void Supprimer(const QString& nom);

private:
    sem_t* m_sem = SEM_FAILED;
    QString m_erreur;
};
