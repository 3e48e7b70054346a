#pragma once
// The session of the station: who is logged in, in which mode, and the
// operations of the session screen. Plain logic, no widget: the screen calls
// these and shows the result; journal entries come back to the caller, who
// appends them.
//
// States:
//   - no users file, or one without users: the station is open, ADMINISTRATION
//     with nobody logged in, as a station without sessions always was;
//   - users: CONSULTATION with nobody logged in until a password opens a
//     session in the user's mode;
//   - a damaged users file: CONSULTATION, and nothing opens a session until
//     the file is repaired.
#include "data/JournalLog.h"
#include "sessions/Droits.h"
#include "sessions/MessagesSession.h"
#include "sessions/MotDePasse.h"
#include "sessions/Utilisateurs.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// What an operation did: whether it succeeded, what to tell the operator and
// the journal entries to append, oldest first.
struct TResultatSession {
    bool Reussi = false;
    EMessageSession Message = EMessageSession::Aucun;
    QString Argument;                 // the "%1" of the message
    std::vector<TEntreeLog> Journal;

    QString Texte(TLangue langue) const { return TexteMessageSession(Message, langue, Argument); }
};

// Journal codes and attributes of sessions.
constexpr std::uint8_t CodeDebutSession = 4;
constexpr std::uint8_t CodeFinSession = 5;
constexpr std::uint8_t DebutAccepte = 1;       // Attribut2 of a start
constexpr std::uint8_t DebutRefuse = 0;        // wrong password
constexpr std::uint8_t FinParUtilisateur = 0;  // Attribut1 of an end
constexpr std::uint8_t FinParInactivite = 1;

class TSession {
public:
    static constexpr int NbEssaisMax = 5;
    static constexpr std::int64_t DureeBlocageMs = 60 * 1000;
    static constexpr std::int64_t DelaiInactiviteMs = 15 * 60 * 1000;
    static constexpr int LongueurMinMotDePasse = 6;

    // horloge: monotonic milliseconds (steady clock when empty); date: the
    // journal's day count of now (the local clock when empty).
    explicit TSession(const QString& cheminFichier = QString::fromLatin1(NomFichierUtilisateurs),
                      std::function<std::int64_t()> horloge = {}, std::function<double()> date = {});

    // Reads the users file and sets the starting state, nobody logged in.
    // Returns FichierEndommage (with the file's path) when the file cannot be
    // used: the caller shows it once; DetailFichier() says what is wrong.
    TResultatSession Charger();

    EEtatUtilisateurs EtatFichier() const { return m_etat; }
    const QString& DetailFichier() const { return m_detail; }
    const QString& CheminFichier() const { return m_chemin; }
    // Open: no users at all, ADMINISTRATION for everybody.
    bool StationOuverte() const;
    std::uint8_t Mode() const;
    bool EnSession() const { return m_indexEnSession >= 0; }
    // Index in Utilisateurs() of the user in session, -1 when none.
    int IndexEnSession() const { return m_indexEnSession; }
    // "Prénom Nom" of the user in session, empty when none.
    QString NomEnSession() const;
    QString NomComplet(int index) const;

    // Sorted by last name; indexes of the operations below refer to it as it
    // is when they are called, and change after each of them.
    const std::vector<TUtilisateur>& Utilisateurs() const { return m_utilisateurs; }

    TDroit Droit(EDroit droit, bool acqAlarmesConsultation) const;

    // Seconds before the user may try a password again, 0 when free.
    int SecondesBlocage(int index) const;

    // The user at index with this password. A wrong one is journalled as a
    // refused start; the fifth wrong one in a row blocks that user (only)
    // for 60 s. Whoever was in session before is logged out first.
    TResultatSession DebuterSession(int index, const TMotDePasse& motDePasse);
    // Back to CONSULTATION with nobody logged in.
    TResultatSession FinirSession();

    // Mouse or keyboard input: the session lives 15 more minutes.
    void SignalerActivite();
    // Periodic check: ends the session when it has seen no input for 15
    // minutes (Reussi then, with the end journalled as by inactivity).
    TResultatSession Verifier();

    // New password of the user in session: the two texts equal exactly, at
    // least 6 characters.
    TResultatSession ChangerMotDePasse(const TMotDePasse& nouveau, const TMotDePasse& confirmation);

    // ADMINISTRATION only. The first user must be an administrator; adding
    // it on an open station logs that administrator in.
    TResultatSession AjouterUtilisateur(const QString& nom, const QString& prenom, std::uint8_t mode,
                                        const TMotDePasse& motDePasse, const TMotDePasse& confirmation);
    // Names and mode; the password too when either field is filled.
    TResultatSession ModifierUtilisateur(int index, const QString& nom, const QString& prenom, std::uint8_t mode,
                                         const TMotDePasse& motDePasse, const TMotDePasse& confirmation);
    // The screen asks for confirmation before calling this.
    TResultatSession SupprimerUtilisateur(int index);

    // Names the user in session in an entry a person caused (acknowledgement,
    // setting, search); leaves it as it is when nobody is logged in.
    void Signer(TEntreeLog& entree) const;

private:
    struct TEssais {
        int Echecs = 0;
        std::int64_t BloqueJusqua = 0;
        bool Bloque = false;
    };

    std::int64_t Maintenant() const;
    static QString Cle(const QString& nom, const QString& prenom);
    QString Cle(int index) const;
    int IndexDeCle(const QString& cle) const;
    TEntreeLog Entree(std::uint8_t code, const QString& nomComplet) const;
    TResultatSession Refus(EMessageSession message, const QString& argument = QString()) const;
    bool IndexValide(int index) const;
    int NbAdministrateurs() const;
    // Checks shared by add and modify; Aucun when the values may be stored.
    EMessageSession ControlerFiche(const QString& nom, const QString& prenom, std::uint8_t mode, int indexExclu) const;
    EMessageSession ControlerMotDePasse(const TMotDePasse& motDePasse, const TMotDePasse& confirmation) const;
    // Saves the list; on success it becomes the session's, sorted.
    bool Remplacer(std::vector<TUtilisateur> liste, QString& erreur);
    TResultatSession Terminer(std::uint8_t cause);

    QString m_chemin;
    std::function<std::int64_t()> m_horloge;
    std::function<double()> m_date;
    EEtatUtilisateurs m_etat = EEtatUtilisateurs::Absent;
    QString m_detail;
    std::vector<TUtilisateur> m_utilisateurs;
    int m_indexEnSession = -1;
    std::int64_t m_derniereActivite = 0;
    std::map<QString, TEssais> m_essais;
};
