#pragma once
// What a device screen may ask of the devices, whoever carries it out: the
// communication layer in live mode, the demonstration generator otherwise.
// Commands return at once; their outcome, when it comes later, reaches the
// screen through TFrameKMT::MontrerResultat.
#include "data/TypesVeilleur.h"

#include <QString>
#include <cstdint>

// The values of the command register.
enum class TAcquitAppareil : std::uint8_t { PreAlarme = 1, Alarme = 2, Klaxon = 3 };

enum class TGenreCommandeAppareil : std::uint8_t { Acquitter, Seuil };

enum class TIssueCommande : std::uint8_t {
    Reussie,        // the device accepted
    Exception,      // the device refused (CodeException; 3: value refused)
    SansReponse,    // no valid reply
    HorsLigne,      // the device or the line is not online: nothing sent
    Arretee,        // the station stopped first
    HorsPlage,      // threshold outside SeuilMin..SeuilMax: nothing sent
    Demonstration,  // the demonstration has no device to send a threshold to
};

struct TResultatCommande {
    int Appareil = 0;
    TGenreCommandeAppareil Genre = TGenreCommandeAppareil::Acquitter;
    std::uint16_t Valeur = 0;
    TIssueCommande Issue = TIssueCommande::Reussie;
    int CodeException = 0;
};

class TCommandesAppareils {
public:
    static constexpr int SeuilMin = 10;
    static constexpr int SeuilMax = 10000;

    virtual ~TCommandesAppareils() = default;
    // The session mode in force now (it may change while a screen is shown).
    virtual std::uint8_t ModeSession() const = 0;
    virtual void Acquitter(int appareil, TAcquitAppareil quoi) = 0;
    // Reussie when the request is on its way (its outcome comes later);
    // otherwise nothing was sent and the issue says why (HorsPlage, ...).
    virtual TIssueCommande DemanderSeuil(int appareil, int seuil, bool appliquerAuxSuivants) = 0;
    // Whether the start of KMT appareil's alarm starts a search on its fault
    // locator (appareil + 32). Only live devices can: elsewhere it stays off.
    virtual bool RechercheAutoPossible() const { return false; }
    virtual bool RechercheAuto(int /*appareil*/) const { return false; }
    // Empty when the choice is in force and kept for the next start; else
    // why it is not, for the operator.
    virtual QString DefinirRechercheAuto(int /*appareil*/, bool /*active*/) { return {}; }
};

// The operator's message for a command's outcome, in the given language.
QString TexteResultatCommande(const TResultatCommande& resultat, TLangue langue);
