#pragma once
// How the station reaches its devices: live through the communication layer
// when the network file is in its folder at start, else through the
// demonstration generator. Owns the layer, drains what it reports (journal
// entries to the journal, command outcomes to the operator) and carries the
// device screens' commands to whichever is in force.
#include "data/CommandesAppareils.h"
#include "devices/CommandesQFL.h"
#include "data/JournalLog.h"
#include "data/TypesVeilleur.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

class TGenerateurDemo;
enum class EDroit;
class TLiaison;
class TVerrouDonnees;

class TStationDirecte : public QObject, public TCommandesAppareils, public TCommandesQFL {
    Q_OBJECT
public:
    struct TEnvironnement {
        TVerrouDonnees& Verrou;
        Tableau1<TDonneesKMT, NbSources>& Donnees;
        TGenerateurDemo& Generateur;
        const QString& Utilisateur;   // signs the operators' requests
        const std::uint8_t& Mode;
        // Appends one entry to the journal; called in the order observed.
        std::function<void(const TEntreeLog&)> Journaliser;
        std::function<void(const TResultatCommande&)> Resultat;
        // The fault locators' records (device n at n - 32).
        Tableau1<TDonneesQFL, NbSources>& DonneesQFL;
        // How a fault locator's command ended: a search (recherche) or a
        // setting or a reset of its min/max.
        std::function<void(int appareil, bool recherche, ERetourQFL retour)> RetourQFL{};
    };
    enum class TFonctionnement {
        Demonstration,       // no network file
        Direct,              // the layer polls the devices
        ReseauInutilisable,  // the file cannot be used: no device live, no demonstration
    };

    explicit TStationDirecte(const TEnvironnement& environnement, QObject* parent = nullptr);
    ~TStationDirecte() override;

    // Reads the network file when it exists (an empty Peripherique means COM
    // portCom) and starts the layer. Returns the message for the operator when
    // the file cannot be used, empty otherwise.
    QString Demarrer(const QString& cheminReseau, int portCom);
    // Stops the layer (within about a second) and drains what it still had.
    void Arreter();

    TFonctionnement Fonctionnement() const { return m_fonctionnement; }
    bool Demonstration() const { return m_fonctionnement == TFonctionnement::Demonstration; }
    TLiaison* Liaison() const { return m_liaison.get(); }

    // The demonstration timer's tick: run now, or as soon as no reader holds
    // the records.
    void TicDemonstration();

    // Journal entries and command outcomes of the layer, taken now.
    void Vidanger();

    std::uint8_t ModeSession() const override { return m_env.Mode; }
    void Acquitter(int appareil, TAcquitAppareil quoi) override;
    TIssueCommande DemanderSeuil(int appareil, int seuil, bool appliquerAuxSuivants) override;
    bool RechercheAutoPossible() const override { return m_liaison != nullptr; }
    bool RechercheAuto(int appareil) const override;
    QString DefinirRechercheAuto(int appareil, bool active) override;

    // The fault locators' commands, signed with the user in session; an
    // outcome that is known at once comes back through RetourQFL too.
    void EcrireReglageQFL(int appareil, int reglage, int valeur, bool appliquerAuxSuivants) override;
    void LancerRechercheQFL(int appareil) override;
    void RAZMinMaxQFL(int appareil) override;

private:
    void RetourQFL(int appareil, bool recherche, ERetourQFL retour);
    bool Autorise(EDroit droit) const;

    TEnvironnement m_env;
    QString m_cheminReseau;
    TFonctionnement m_fonctionnement = TFonctionnement::Demonstration;
    std::unique_ptr<TLiaison> m_liaison;
    // Retries a demonstration tick that had to wait for a reader.
    QTimer m_relanceDemo;
};
