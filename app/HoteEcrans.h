#pragma once
// The one visible screen of the main window: which screen it is, the blocks
// handed to it, and how it is opened, relabelled, refreshed and closed.
//
// Every screen opens through the same steps (see TDescriptionEcran); what a
// screen takes and how it follows the device records is written once, where
// it is shown, with the screen's own typed operations. The host does not
// defer anything: the window calls it only when a screen may be replaced.
#include "app/Navigation.h"
#include "data/CommandesAppareils.h"
#include "data/JournalLog.h"
#include "devices/CommandesQFL.h"
#include "data/TypesVeilleur.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QObject;
class QWidget;
class TCommandesAppareils;
class TCommandesQFL;
class TFrameEnhanced;
class TVerrouDonnees;
class TSession;
struct TResultatSession;

class THoteEcrans {
public:
    // What the host uses of the window; everything outlives the host.
    struct TEnvironnement {
        QObject& Fenetre;          // the blocks' Handle, target of WM_ECRAN
        QWidget& Cadre;            // parent of the screens
        QButtonGroup& Menu;        // the general screens' buttons, by screen number
        TVerrouDonnees& Verrou;
        Tableau1<TDonneesKMT, NbSources>& Donnees;
        TJournalLog& Journal;
        const TLangue& Langue;
        const QString& Utilisateur;
        const std::uint8_t& Mode;
        // Reports an error once the current handler has returned.
        std::function<void(const QString&)> Signaler;
        // Runs, queued, when the screen leaves one of its busy handlers.
        std::function<void()> EcranLibere;
        // What the device screens' controls act through.
        TCommandesAppareils* Commandes = nullptr;
        // The station's session and what applies a session screen's result
        // (none: the session screen shows its layout only).
        TSession* Session = nullptr;
        std::function<void(const TResultatSession&)> AppliquerSession{};
        // The fault locators' records and what their screens act through;
        // they follow the records only while QFLEnDirect says the devices are
        // live (else they keep their layout's sample).
        Tableau1<TDonneesQFL, NbSources>* DonneesQFL = nullptr;
        TCommandesQFL* CommandesQFL = nullptr;
        std::function<bool()> QFLEnDirect{};
        // A word for the operator in the status bar.
        std::function<void(const QString&)> Barre{};
    };

    explicit THoteEcrans(const TEnvironnement& environnement);
    ~THoteEcrans();
    THoteEcrans(const THoteEcrans&) = delete;
    THoteEcrans& operator=(const THoteEcrans&) = delete;

    // Opens a screen of the table; the request must be valid
    // (TNavigation::RequeteValide).
    void Afficher(std::int32_t ecran, std::int32_t appareil);
    // The visible screen in the current language.
    void Reetiqueter();
    // The visible screen from the records, if it follows them; an open journal
    // screen gets the entries journalled since its last refresh.
    void Rafraichir();
    // An entry just given to the store: kept for the open journal screen,
    // which loaded everything before it.
    void NouvelleEntree(const TEntreeLog& entree);
    // The visible screen after the session's mode or user changed: the home
    // screen shows them, the others grant or refuse what the mode allows.
    void AppliquerSession();
    void Detruire();
    // A command's outcome, on the visible screen when it is that device's
    // screen for that command, else in the status bar.
    void MontrerResultat(const TResultatCommande& resultat);
    void MontrerRetourQFL(int appareil, bool recherche, ERetourQFL retour);

    TFrameEnhanced* EcranCourant() const { return m_ecran; }
    bool Occupe() const;
    const TNavigation& Navigation() const { return m_navigation; }

    const TInfosAccueil& InfosAccueil() const { return m_infosAccueil; }
    const TInfosKMT& InfosKMT() const { return m_infosKMT; }
    const TInfosQFL& InfosQFL() const { return m_infosQFL; }
    const TInfosRecherche& InfosRecherche() const { return m_infosRecherche; }
    const TNomsAppareils& NomsAppareils() const { return m_nomsAppareils; }
    const TEtatsAppareils& EtatsAppareils() const { return m_etatsAppareils; }
    const TTamponJournal& TamponJournal() const { return *m_tampon; }

private:
    // How one screen differs from the others when it opens. The steps, in
    // order: the screen becomes current (and its menu button is pressed), the
    // screen is created, then, under the hourglass if asked: Preparer, the
    // language, Initialiser, Actualiser.
    template <typename TEcran>
    struct TDescriptionEcran {
        // A general screen's number; 0 for a device screen, which Naviguer
        // makes current instead and for which the menu keeps its button.
        std::int32_t EcranGeneral = 0;
        bool Sablier = false;
        // The device screens' return bookkeeping and their device's block.
        std::function<void()> Naviguer{};
        // Brings the blocks up to date before the screen reads them.
        std::function<void()> Preparer{};
        std::function<void(TEcran&)> Initialiser{};
        std::function<void(TEcran&)> Actualiser{};
        // Preparer and Actualiser run again on every monitoring tick.
        bool SuitLesDonnees = false;
        // A new language reopens the screen instead of relabelling it.
        bool RouvrirPourLaLangue = false;
        // What the session's mode and user change on the screen; runs after
        // Initialiser and again at every change of session.
        std::function<void(TEcran&)> Session{};
    };

    template <typename TEcran>
    void Ouvrir(const TDescriptionEcran<TEcran>& description);
    template <typename TEcran>
    TEcran* Creer();

    void AfficherAccueil();
    void AfficherSession();
    void AfficherVueDEnsemble();
    void AfficherJournal();
    void AfficherNotices();
    void AfficherConfiguration();
    void AfficherKMT(std::int32_t appareil);
    void AfficherQFL(std::int32_t appareil);
    void AfficherRecherche(std::int32_t appareil);
    bool QFLEnDirect() const { return m_env.DonneesQFL && m_env.QFLEnDirect && m_env.QFLEnDirect(); }
    // A copy of fault locator appareil's record, taken under the read lock.
    TDonneesQFL DonneesQFL(std::int32_t appareil) const;

    TEnvironnement m_env;
    TInfosAccueil m_infosAccueil;
    TNomsAppareils m_nomsAppareils;
    TEtatsAppareils m_etatsAppareils;
    std::unique_ptr<TTamponJournal> m_tampon;   // about 1 MB
    TInfosConfiguration m_infosConfiguration;
    TInfosKMT m_infosKMT;
    TInfosQFL m_infosQFL;
    TInfosRecherche m_infosRecherche;
    TNavigation m_navigation;

    TFrameEnhanced* m_ecran = nullptr;
    // Bound to the visible screen's own type when it opens.
    std::function<void()> m_rafraichir;
    std::function<void()> m_appliquerSession;
    bool m_rouvrirPourLaLangue = false;
    // Journalled since the journal screen was loaded, oldest first.
    std::vector<TEntreeLog> m_entreesNouvelles;
};
