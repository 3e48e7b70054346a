#pragma once
// Named auto-reset event shared between processes, standing for the system
// event other programs wait on before touching the journal file.
//
// On Linux it is a POSIX named semaphore whose value 1 means "signalled":
// waiting with no delay is a try-wait (which consumes the signal, as an
// auto-reset event does), setting drains it and posts once, so it never goes
// above 1 through this process, and resetting drains it. Created signalled; an
// existing one is opened as it is.
//
// Any local user may create the name first (after each boot). The event then
// belongs to someone else, who can hold it at 0 for ever or remove it: other
// programs can no longer rely on it, though this process still uses it.
#include <QString>
#include <semaphore.h>
#include <sys/types.h>

enum class TProprieteEvenement {
    Cree,         // created by this process
    MemeUtilisateur,  // already there, created by this process's user
    AutreUtilisateur, // already there, created by another user
    Indisponible, // could not be created nor opened
};

class TEvenementNomme {
public:
    explicit TEvenementNomme(const QString& nom);
    ~TEvenementNomme();
    TEvenementNomme(const TEvenementNomme&) = delete;
    TEvenementNomme& operator=(const TEvenementNomme&) = delete;

    bool Valide() const { return m_sem != SEM_FAILED; }
    const QString& Erreur() const { return m_erreur; }

    TProprieteEvenement Propriete() const { return m_propriete; }
    // Ours (created by us, or by our user): other programs can wait on it.
    bool Propre() const
    {
        return m_propriete == TProprieteEvenement::Cree || m_propriete == TProprieteEvenement::MemeUtilisateur;
    }
    // What it means for the operator when it is not ours (empty when it is),
    // in the station's language: 0 French, 1 English, 2 Spanish.
    QString Avertissement(int langue) const;
    const QString& Nom() const { return m_nom; }

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
    QString m_nom;
    QString m_erreur;
    TProprieteEvenement m_propriete = TProprieteEvenement::Indisponible;
    uid_t m_proprietaire = 0;
};
