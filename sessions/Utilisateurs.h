#pragma once
// The users file, "Utilisateurs.ini" in the station's folder: one section per
// user with last name, first name, session mode and password hash, in UTF-8:
//
//     [Utilisateur1]
//     Nom=DURAND
//     Prenom=Hélène
//     Mode=ADMINISTRATION
//     Empreinte=$y$j9T$...
//
// Read strictly: a file the station did not write as such is damaged, and a
// damaged file opens no session (see EEtatUtilisateurs).
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

inline const char* const NomFichierUtilisateurs = "Utilisateurs.ini";

// Longest last or first name accepted, in characters.
constexpr int LongueurMaxNomUtilisateur = 100;

struct TUtilisateur {
    QString Nom;
    QString Prenom;
    std::uint8_t Mode = 2;     // ModeConsultation
    QByteArray Empreinte;      // yescrypt hash
};

enum class EEtatUtilisateurs {
    Absent,           // no file: the station is open
    SansUtilisateur,  // a file holding no user: open as well
    Charge,           // at least one user: sessions required
    Endommage,        // unreadable or damaged: nobody may log in
};

struct TChargementUtilisateurs {
    EEtatUtilisateurs Etat = EEtatUtilisateurs::Absent;
    std::vector<TUtilisateur> Utilisateurs;  // sorted, empty unless Charge
    QString Detail;                          // what is wrong, when Endommage
};

// Reads the file. Damaged: not a regular file, unreadable, larger than
// 1 MiB, not UTF-8, a line that is not a section, key=value, comment or
// blank; a key outside a section, unknown or repeated; a user without last
// name, with an unknown mode or without a valid yescrypt hash; two users with
// the same names (letter case aside); users but no administrator.
TChargementUtilisateurs ChargerUtilisateurs(const QString& chemin);

// Writes the list whole through a temporary file, readable and writable by
// its owner only before any byte goes in, synced, then renamed over the old
// file: a crash or a full disk leaves the old file as it was. False with the
// reason in erreur (French, the file named) when it failed.
bool EnregistrerUtilisateurs(const std::vector<TUtilisateur>& utilisateurs, const QString& chemin, QString& erreur);

// Sorted by last name, then first name, letter case aside.
void TrierUtilisateurs(std::vector<TUtilisateur>& utilisateurs);

// The same person: equal names, letter case aside.
bool MemesNoms(const TUtilisateur& a, const QString& nom, const QString& prenom);

// "ADMINISTRATION", "EXPLOITATION", "CONSULTATION" as stored in the file.
QString NomModeFichier(std::uint8_t mode);
bool ModeDepuisNomFichier(const QString& nom, std::uint8_t& mode);

// True when a name may be stored: not empty, at most
// LongueurMaxNomUtilisateur characters, no control character, no blank at
// either end.
bool NomUtilisateurValide(const QString& nom);
