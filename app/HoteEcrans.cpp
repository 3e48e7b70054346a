#include "app/HoteEcrans.h"

#include "app/CurseurSablier.h"
#include "data/ConfigSet.h"
#include "data/ErreurVeilleur.h"
#include "data/JournalLog.h"
#include "data/VerrouDonnees.h"
#include "devices/AffichageQFL.h"
#include "devices/CadreKMT.h"
#include "devices/CadreQFL.h"
#include "devices/CadreRecherche.h"
#include "screens/CadreAccueil.h"
#include "screens/CadreConfiguration.h"
#include "screens/CadreJournal.h"
#include "screens/CadreNotices.h"
#include "screens/CadreSession.h"
#include "screens/CadreVueDEnsemble.h"
#include "sessions/Droits.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <optional>

THoteEcrans::THoteEcrans(const TEnvironnement& environnement)
    : m_env(environnement),
      m_tampon(std::make_unique<TTamponJournal>()),
      m_navigation(m_infosKMT, m_infosQFL, m_infosRecherche)
{
    QObject* fenetre = &m_env.Fenetre;
    m_infosAccueil.Handle = fenetre;
    m_nomsAppareils.Handle = fenetre;
    m_infosConfiguration.Handle = fenetre;
    m_infosKMT.Handle = fenetre;
    m_infosKMT.Commandes = m_env.Commandes;
    m_infosQFL.Handle = fenetre;
    m_infosRecherche.Handle = fenetre;
}

THoteEcrans::~THoteEcrans()
{
    Detruire();
}

bool THoteEcrans::Occupe() const
{
    return m_ecran && m_ecran->Occupe();
}

void THoteEcrans::Detruire()
{
    m_rafraichir = nullptr;
    m_appliquerSession = nullptr;
    m_rouvrirPourLaLangue = false;
    delete m_ecran;
    m_ecran = nullptr;
}

template <typename TEcran>
TEcran* THoteEcrans::Creer()
{
    Detruire();
    auto* ecran = new TEcran(&m_env.Cadre);
    ecran->move(0, 0);
    QObject::connect(ecran, &TFrameEnhanced::Libere, &m_env.Fenetre, m_env.EcranLibere, Qt::QueuedConnection);
    m_ecran = ecran;
    ecran->show();
    return ecran;
}

template <typename TEcran>
void THoteEcrans::Ouvrir(const TDescriptionEcran<TEcran>& d)
{
    if (d.EcranGeneral != 0) {
        m_navigation.VersEcranGeneral(d.EcranGeneral);
        if (QAbstractButton* bouton = m_env.Menu.button(d.EcranGeneral))
            bouton->setChecked(true);
    }
    if (d.Naviguer)
        d.Naviguer();
    TEcran* ecran = Creer<TEcran>();
    // Known before the first step that may fail: a screen left half open is
    // still refreshed and relabelled as its kind asks.
    m_rouvrirPourLaLangue = d.RouvrirPourLaLangue;
    if (d.SuitLesDonnees) {
        m_rafraichir = [ecran, preparer = d.Preparer, actualiser = d.Actualiser] {
            if (preparer)
                preparer();
            actualiser(*ecran);
        };
    }
    if (d.Session)
        m_appliquerSession = [ecran, session = d.Session] { session(*ecran); };
    std::optional<TCurseurSablier> sablier;
    if (d.Sablier)
        sablier.emplace();
    if (d.Preparer)
        d.Preparer();
    ecran->ChangerLangue(m_env.Langue);
    if (d.Initialiser)
        d.Initialiser(*ecran);
    if (d.Session)
        d.Session(*ecran);
    if (d.Actualiser)
        d.Actualiser(*ecran);
}

void THoteEcrans::Afficher(std::int32_t ecran, std::int32_t appareil)
{
    // A journal screen opened now loads every entry given to the store so far.
    m_entreesNouvelles.clear();
    switch (ecran) {
    case EcranAccueil: AfficherAccueil(); break;
    case EcranSession: AfficherSession(); break;
    case EcranVueDEnsemble: AfficherVueDEnsemble(); break;
    case EcranJournal: AfficherJournal(); break;
    case EcranNotices: AfficherNotices(); break;
    case EcranConfiguration: AfficherConfiguration(); break;
    case EcranKMT: AfficherKMT(appareil); break;
    case EcranQFL: AfficherQFL(appareil); break;
    case EcranRecherche: AfficherRecherche(appareil); break;
    default: break;
    }
}

void THoteEcrans::Reetiqueter()
{
    if (!m_ecran)
        return;
    // The journal screen reloads for a new language.
    m_entreesNouvelles.clear();
    if (m_rouvrirPourLaLangue)
        Afficher(m_navigation.NumEcranCourant, m_navigation.NumAppareilCourant);
    else
        m_ecran->ChangerLangue(m_env.Langue);
}

void THoteEcrans::Rafraichir()
{
    if (m_rafraichir)
        m_rafraichir();
    if (m_entreesNouvelles.empty())
        return;
    if (auto* journal = qobject_cast<TFrameJournal*>(m_ecran))
        journal->AjouterEntrees(m_entreesNouvelles, m_env.Langue);
    m_entreesNouvelles.clear();
}

void THoteEcrans::NouvelleEntree(const TEntreeLog& entree)
{
    if (!m_ecran || m_navigation.NumEcranCourant != EcranJournal)
        return;
    m_entreesNouvelles.push_back(entree);
    // The list keeps no more than that either.
    if (m_entreesNouvelles.size() > std::size_t(CapaciteTampon))
        m_entreesNouvelles.erase(m_entreesNouvelles.begin());
}

void THoteEcrans::AppliquerSession()
{
    if (m_appliquerSession)
        m_appliquerSession();
}

// ---------------------------------------------------------------------------
// The screens

void THoteEcrans::AfficherAccueil()
{
    Ouvrir<TFrameAccueil>({
        .EcranGeneral = EcranAccueil,
        .Preparer =
            [this] {
                m_infosAccueil.Utilisateur = m_env.Utilisateur;
                m_infosAccueil.Mode = m_env.Mode;
            },
        .Initialiser = [this](TFrameAccueil& e) { e.Initialiser(m_infosAccueil); },
        .Session =
            [this](TFrameAccueil& e) {
                m_infosAccueil.Utilisateur = m_env.Utilisateur;
                m_infosAccueil.Mode = m_env.Mode;
                e.Initialiser(m_infosAccueil);
            },
    });
}

void THoteEcrans::AfficherSession()
{
    Ouvrir<TFrameSession>({
        .EcranGeneral = EcranSession,
        .Initialiser =
            [this](TFrameSession& e) {
                if (m_env.Session)
                    e.Initialiser(TInfosSession{&m_env.Fenetre, m_env.Session, m_env.AppliquerSession});
                else
                    e.Initialiser();
            },
        .Session = [](TFrameSession& e) { e.Actualiser(); },
    });
}

void THoteEcrans::AfficherVueDEnsemble()
{
    Ouvrir<TFrameVueDEnsemble>({
        .EcranGeneral = EcranVueDEnsemble,
        .Sablier = true,
        .Preparer =
            [this] {
                RemplirVueDEnsemble(m_env.Verrou, m_env.Donnees, ConfigSet, m_nomsAppareils, m_etatsAppareils);
            },
        .Initialiser = [this](TFrameVueDEnsemble& e) { e.Initialiser(m_nomsAppareils); },
        .Actualiser = [this](TFrameVueDEnsemble& e) { e.Actualiser(m_etatsAppareils); },
        .SuitLesDonnees = true,
    });
}

void THoteEcrans::AfficherJournal()
{
    Ouvrir<TFrameJournal>({
        .EcranGeneral = EcranJournal,
        .Sablier = true,
        .Preparer =
            [this] {
                try {
                    m_env.Journal.ChargerJournal(*m_tampon, m_env.Langue);
                } catch (const EErreurVeilleur& erreur) {
                    // The screen still opens, empty rather than half loaded.
                    m_tampon->NbEntrees = 0;
                    m_tampon->Langue = m_env.Langue;
                    m_env.Signaler(erreur.Texte());
                }
            },
        .Initialiser = [](TFrameJournal& e) { e.Initialiser(); },
        .Actualiser = [this](TFrameJournal& e) { e.Actualiser(*m_tampon); },
        // The journal names its events in the language of its loading.
        .RouvrirPourLaLangue = true,
    });
}

void THoteEcrans::AfficherNotices()
{
    Ouvrir<TFrameNotices>({
        .EcranGeneral = EcranNotices,
        .Sablier = true,
    });
}

void THoteEcrans::AfficherConfiguration()
{
    Ouvrir<TFrameConfiguration>({
        .EcranGeneral = EcranConfiguration,
        .Sablier = true,
        .Initialiser = [this](TFrameConfiguration& e) { e.Initialiser(m_infosConfiguration); },
        .Actualiser = [](TFrameConfiguration& e) { e.Actualiser(ConfigSet); },
        .Session =
            [this](TFrameConfiguration& e) {
                e.DefinirDroitModification(
                    Droit(EDroit::ModifierConfiguration, m_env.Mode, ConfigSet.AcqAlarmesConsultation != 0));
            },
    });
}

void THoteEcrans::AfficherKMT(std::int32_t appareil)
{
    Ouvrir<TFrameKMT>({
        .Naviguer =
            [this, appareil] {
                m_navigation.VersKMT(appareil);
                m_infosKMT.NomAppareil = LireChaine(ConfigSet.NomsSources[appareil]);
            },
        .Initialiser = [this](TFrameKMT& e) { e.Initialiser(m_infosKMT); },
        .Actualiser =
            [this](TFrameKMT& e) {
                TLectureDonnees lecture(m_env.Verrou);
                e.Actualiser(m_env.Donnees[m_navigation.NumAppareilCourant]);
            },
        .SuitLesDonnees = true,
    });
}

TDonneesQFL THoteEcrans::DonneesQFL(std::int32_t appareil) const
{
    TLectureDonnees lecture(m_env.Verrou);
    return (*m_env.DonneesQFL)[appareil - DecalageQFL];
}

void THoteEcrans::AfficherQFL(std::int32_t appareil)
{
    const bool direct = QFLEnDirect();
    Ouvrir<TFrameQFL>({
        .Naviguer =
            [this, appareil] {
                m_navigation.VersQFL(appareil);
                m_infosQFL.NomAppareil = LireChaine(ConfigSet.NomsSources[appareil - DecalageQFL]);
            },
        .Initialiser = [this](TFrameQFL& e) { e.Initialiser(m_infosQFL); },
        .Actualiser =
            [this, direct](TFrameQFL& e) {
                if (direct)
                    e.Actualiser(DonneesQFL(m_navigation.NumAppareilCourant));
            },
        // Live, the settings and the faults follow the device.
        .SuitLesDonnees = direct,
        .Session =
            [this, direct](TFrameQFL& e) { e.DefinirCommandes(direct ? m_env.CommandesQFL : nullptr, m_env.Mode); },
    });
}

void THoteEcrans::AfficherRecherche(std::int32_t appareil)
{
    const bool direct = QFLEnDirect();
    Ouvrir<TFrameRecherche>({
        .Naviguer = [this, appareil] { m_navigation.VersRecherche(appareil); },
        .Initialiser = [this](TFrameRecherche& e) { e.Initialiser(m_infosRecherche); },
        .Actualiser =
            [this, direct](TFrameRecherche& e) {
                if (direct)
                    e.Actualiser(DonneesQFL(m_navigation.NumAppareilCourant));
            },
        // A search's results appear as soon as the device has them.
        .SuitLesDonnees = direct,
        .Session =
            [this, direct](TFrameRecherche& e) {
                e.DefinirCommandes(direct ? m_env.CommandesQFL : nullptr, m_env.Mode);
            },
    });
}

void THoteEcrans::MontrerResultat(const TResultatCommande& resultat)
{
    if (auto* kmt = qobject_cast<TFrameKMT*>(m_ecran))
        kmt->MontrerResultat(resultat);
    else if (m_env.Barre)
        m_env.Barre(TexteResultatCommande(resultat, m_env.Langue));
}

void THoteEcrans::MontrerRetourQFL(int appareil, bool recherche, ERetourQFL retour)
{
    const bool sonEcran = appareil == m_navigation.NumAppareilCourant;
    if (auto* qfl = qobject_cast<TFrameQFL*>(m_ecran); qfl && sonEcran && !recherche)
        qfl->Retour(retour);
    else if (auto* ecran = qobject_cast<TFrameRecherche*>(m_ecran); ecran && sonEcran && recherche)
        ecran->Retour(retour);
    else if (const QString texte = AffichageQFL::TexteRetour(retour, m_env.Langue); !texte.isEmpty() && m_env.Barre)
        m_env.Barre(QStringLiteral("QFL %1 : %2").arg(appareil).arg(texte));
}
