#include "app/FormVeilleur.h"

#include "app/BarreAlarmes.h"
#include "app/BoiteOuverte.h"
#include "app/BoutonMenu.h"
#include "app/CycleStation.h"
#include "app/CouleursBoutons.h"
#include "app/GenerateurDemo.h"
#include "app/MarcheStation.h"
#include "app/SessionStation.h"
#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"
#include "data/VerrouDonnees.h"
#include "liaison/ConfigReseau.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "platform/Son.h"
#include "screens/CadreEnhanced.h"
#include "text/MessagesVeilleur.h"
#include "widgets/BoutonAppareil.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

// ---------------------------------------------------------------------------
// Start-up

TFormVeilleur::TFormVeilleur(std::unique_ptr<TSon> son, const QString& nomEvenement, QWidget* parent)
    : QWidget(parent),
      m_son(std::move(son)),
      m_requetes(*this, [this] { return m_ecrans && m_ecrans->Occupe(); },
                 [this](const TFileRequetes::TRequete& requete) { ExecuterRequete(requete); })
{
    setObjectName(QStringLiteral("FormVeilleur"));

    // Shared state: the lock, the journal and its system event, the
    // configuration and the zeroed device records.
    m_verrou = std::make_unique<TVerrouDonnees>();
    m_journal = std::make_unique<TJournalLog>(QString::fromLatin1(NomFichierLog), nomEvenement);
    if (!m_journal->EvenementAccesLog().Valide())
        std::fprintf(stderr, "Evénement \"%s\" indisponible : %s\n", qPrintable(nomEvenement),
                     qPrintable(m_journal->EvenementAccesLog().Erreur()));
    // Write failures come from the store's writer thread: reported on ours.
    m_journal->DefinirSignalement([](const QString& texte) { SignalerPlusTard(texte); });
    std::memset(static_cast<void*>(&ConfigSet), 0, sizeof(ConfigSet));
    m_donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    m_donneesQFL = std::make_unique<Tableau1<TDonneesQFL, NbSources>>();
    m_generateur = std::make_unique<TGenerateurDemo>(*m_verrou, *m_donnees, m_compteurDemo,
                                                     [this](const TEntreeLog& entree) { EnvoyerLog(this, entree); });
    m_station = std::make_unique<TStationDirecte>(TStationDirecte::TEnvironnement{
        .Verrou = *m_verrou,
        .Donnees = *m_donnees,
        .Generateur = *m_generateur,
        .Utilisateur = m_utilisateurCourant,
        .Mode = m_modeCourant,
        .Journaliser = [this](const TEntreeLog& entree) { EnvoyerLog(this, entree); },
        .Resultat =
            [this](const TResultatCommande& r) {
                if (!m_fermee)
                    m_ecrans->MontrerResultat(r);
            },
        .DonneesQFL = *m_donneesQFL,
        .RetourQFL =
            [this](int appareil, bool recherche, ERetourQFL retour) {
                if (!m_fermee)
                    m_ecrans->MontrerRetourQFL(appareil, recherche, retour);
            },
    });
    if (!m_son)
        m_son = std::make_unique<TSonSysteme>();
    m_marche = std::make_unique<TMarcheStation>(TMarcheStation::TEnvironnement{
        .Fenetre = *this,
        .Journal = *m_journal,
        .Verrou = *m_verrou,
        .Donnees = *m_donnees,
        .Langue = m_langue,
        .Journaliser = [this](const TEntreeLog& entree) { Journaliser(entree); },
        .Signaler = [](const QString& texte) { SignalerPlusTard(texte); },
    });

    m_sessions = std::make_unique<TSessionStation>(
        QString::fromLatin1(NomFichierUtilisateurs),
        [this](const TResultatSession& resultat) { Proteger([&] { AppliquerResultatSession(resultat); }); });

    // The fixed client area and the strip (Qt paints every widget double-buffered).
    m_disposition = std::make_unique<TDispositionFenetre>(*this);
    connect(&m_disposition->BoutonMinimiser(), &QPushButton::clicked, this, [this] { BitBtnMinClick(); });
    connect(&m_disposition->BoutonQuitter(), &QPushButton::clicked, this, [this] { BitBtnQuitClick(); });
    connect(&m_disposition->Menu(), &QButtonGroup::buttonClicked, this, &TFormVeilleur::SpeedButtonMenuClick);
    connect(&m_disposition->Langues(), &QButtonGroup::buttonClicked, this, &TFormVeilleur::SpeedButtonLangueClick);
    for (TBoutonAppareil* bouton : m_disposition->BoutonsMonitoring())
        connect(bouton, &QPushButton::clicked, this, [this, bouton] { ButtonMonitoringClick(bouton); });
    // Beside the bar's four panels.
    m_barreAlarmes = new TBarreAlarmes(m_disposition->BarreEtat(), LargeurClient - 4 * 50 - 24);
    connect(m_barreAlarmes, &TBarreAlarmes::Ouvrir, this,
            [this](int appareil) { EnvoyerEcran(this, EcranKMT, appareil); });

    // The screen host, with the blocks it hands to the screens.
    m_ecrans = std::make_unique<THoteEcrans>(THoteEcrans::TEnvironnement{
        .Fenetre = *this,
        .Cadre = m_disposition->Cadre(),
        .Menu = m_disposition->Menu(),
        .Verrou = *m_verrou,
        .Donnees = *m_donnees,
        .Journal = *m_journal,
        .Langue = m_langue,
        .Utilisateur = m_utilisateurCourant,
        .Mode = m_modeCourant,
        .Signaler = [this](const QString& texte) { SignalerPlusTard(texte); },
        .EcranLibere = [this] { m_requetes.Traiter(); },
        .Commandes = m_station.get(),
        .Session = &m_sessions->Session(),
        .AppliquerSession = [this](const TResultatSession& resultat) { AppliquerResultatSession(resultat); },
        .DonneesQFL = m_donneesQFL.get(),
        .CommandesQFL = m_station.get(),
        .QFLEnDirect = [this] { return m_station->Fonctionnement() == TStationDirecte::TFonctionnement::Direct; },
        .Barre = [this](const QString& texte) { m_disposition->BarreEtat().showMessage(texte, 15000); },
    });

    // The stored language (the loader reads one outside 0..2 as French), then
    // the home screen in it.
    m_langue = ChargerConfig() ? ConfigSet.Langue : LangueFrancais;
    DemarrerSessions();
    AppliquerLangue();
    DemarrerStationDirecte();
    AfficherEcran(EcranAccueil, 0);

    // The timers run from creation.
    auto regler = [this](QTimer& timer, const char* nom, int intervalle, void (TFormVeilleur::*gestionnaire)()) {
        timer.setParent(this);   // found by name; a member, so it leaves its parent first
        timer.setObjectName(QString::fromLatin1(nom));
        timer.setInterval(intervalle);
        connect(&timer, &QTimer::timeout, this, gestionnaire);
        timer.start();
    };
    regler(m_timerBandeau, "TimerBandeau", 200, &TFormVeilleur::TimerBandeauTimer);
    regler(m_timerMonitoringData, "TimerMonitoringData", 1000, &TFormVeilleur::TimerMonitoringDataTimer);
    regler(m_timerDemo, "TimerDemo", 2000, &TFormVeilleur::TimerDemoTimer);
    regler(m_timerBeep, "TimerBeep", 5000, &TFormVeilleur::TimerBeepTimer);
    // Live devices (or a network file that cannot be used) leave no room for
    // the demonstration.
    if (!m_station->Demonstration())
        m_timerDemo.stop();
    TimerBandeauTimer();
}

void TFormVeilleur::resizeEvent(QResizeEvent* evenement)
{
    QWidget::resizeEvent(evenement);
    if (m_disposition)
        m_disposition->Centrer(size());
}

// ---------------------------------------------------------------------------
// Shutdown

void TFormVeilleur::closeEvent(QCloseEvent* evenement)
{
    if (m_fermee) {
        evenement->accept();
        return;
    }
    if (m_requetes.Differer()) {
        // A screen handler is still running: close when it has returned.
        m_requetes.Garder({TFileRequetes::TRequete::Fermeture});
        evenement->ignore();
        return;
    }
    if (!m_sansQuestion && m_marche->AlarmesAConfirmer()) {
        m_marche->DemanderConfirmation([this] {
            m_sansQuestion = true;
            close();
        });
        evenement->ignore();
        return;
    }
    FormCloseQuery();
    evenement->accept();
}

void TFormVeilleur::Arreter(const QString& raison)
{
    if (m_fermee)
        return;
    m_marche->DefinirRaison(raison);
    m_sansQuestion = true;
    m_marche->FermerConfirmation();
    close();
}

void TFormVeilleur::FormCloseQuery()
{
    // No tick may run once the screen and the buttons it uses are gone.
    m_timerBandeau.stop();
    m_timerMonitoringData.stop();
    m_timerDemo.stop();
    m_timerBeep.stop();
    // What the devices reported up to the end reaches the journal.
    m_station->Arreter();
    m_sessions->Arreter();
    m_requetes.Arreter();
    m_ecrans->Detruire();
    m_disposition->DetruireBoutonsMonitoring();
    m_fermee = true;
    m_marche->Terminer(!m_sansAffichage);
}

TFormVeilleur::~TFormVeilleur()
{
    // The members go in the reverse of their declaration. Nothing is shown
    // from here: the window is going.
    m_sansAffichage = true;
    if (!m_fermee)
        FormCloseQuery();
}

// ---------------------------------------------------------------------------
// The run in the journal

void TFormVeilleur::Demarrer()
{
    if (!m_fermee)
        m_marche->Demarrer();
}

void TFormVeilleur::TerminerSansAffichage(const QString& raison)
{
    m_marche->DefinirRaison(raison, false);
    m_marche->Terminer(false);
}

void TFormVeilleur::BitBtnQuitClick()
{
    close();
}

void TFormVeilleur::BitBtnMinClick()
{
    showMinimized();
}

// ---------------------------------------------------------------------------
// Window messages and deferred requests

bool TFormVeilleur::event(QEvent* evenement)
{
    if (evenement->type() == WM_ECRAN) {
        const auto* message = static_cast<TMessageEcran*>(evenement);
        const std::int32_t ecran = message->WParam;
        const std::int32_t appareil = message->LParam;
        Proteger([&] { DemanderEcran(ecran, appareil); });
        return true;
    }
    if (evenement->type() == WM_LOG) {
        const auto* message = static_cast<TMessageLog*>(evenement);
        if (message->WParam && m_journal)
            Journaliser(*message->WParam);
        return true;
    }
    return QWidget::event(evenement);
}

template <typename F>
void TFormVeilleur::Proteger(F&& travail)
{
    try {
        travail();
    } catch (const EErreurVeilleur& erreur) {
        SignalerPlusTard(erreur.Texte());
    } catch (const std::exception& erreur) {
        SignalerPlusTard(QString::fromLocal8Bit(erreur.what()));
    }
}

void TFormVeilleur::Journaliser(const TEntreeLog& entree)
{
    // The store keeps a copy and writes it on its own thread: no tick waits
    // for the disk.
    m_journal->DeposerEntreeLog(entree);
    m_ecrans->NouvelleEntree(entree);
}

void TFormVeilleur::SignalerPlusTard(const QString& texte)
{
    // The application object outlives the window: the report is never lost.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [texte] { SignalerErreur(texte); }, Qt::QueuedConnection);
}

void TFormVeilleur::ExecuterRequete(const TFileRequetes::TRequete& requete)
{
    Proteger([&] {
        switch (requete.type) {
        case TFileRequetes::TRequete::Ecran: AfficherEcran(requete.a, requete.b); break;
        case TFileRequetes::TRequete::Langue: ChangerDeLangue(requete.a); break;
        case TFileRequetes::TRequete::Fermeture: close(); break;
        }
    });
}

void TFormVeilleur::DemanderEcran(std::int32_t ecran, std::int32_t appareil)
{
    if (!m_fermee)
        m_requetes.Soumettre({TFileRequetes::TRequete::Ecran, ecran, appareil});
}

void TFormVeilleur::AfficherEcran(std::int32_t ecran, std::int32_t appareil)
{
    // Unknown screens and devices of the wrong family are ignored: the
    // visible screen stays and no record or name is read out of range.
    if (!TNavigation::RequeteValide(ecran, appareil))
        return;
    TFileRequetes::TGarde garde(m_requetes);
    m_ecrans->Afficher(ecran, appareil);
}

// ---------------------------------------------------------------------------
// Buttons and language

void TFormVeilleur::SpeedButtonMenuClick(QAbstractButton* bouton)
{
    if (auto* b = qobject_cast<TBoutonMenu*>(bouton))
        EnvoyerEcran(this, b->Tag(), 0);
}

void TFormVeilleur::ButtonMonitoringClick(TBoutonAppareil* bouton)
{
    if (!bouton)
        return;
    const int tag = bouton->Tag();
    EnvoyerEcran(this, tag <= DernierKMT ? EcranKMT : EcranQFL, tag);
}

void TFormVeilleur::SpeedButtonLangueClick(QAbstractButton* bouton)
{
    auto* b = qobject_cast<TBoutonMenu*>(bouton);
    if (!b || m_fermee)
        return;
    m_requetes.Soumettre({TFileRequetes::TRequete::Langue, b->Tag()});
}

void TFormVeilleur::ChangerDeLangue(int tag)
{
    switch (tag) {
    case 1: m_langue = LangueFrancais; break;
    case 2: m_langue = LangueAnglais; break;
    case 3: m_langue = LangueEspagnol; break;
    default: break;
    }
    ConfigSet.Langue = m_langue;
    // The language is already in use: relabel even when it cannot be saved,
    // and say why once.
    QString echec;
    try {
        EnregistrerConfig();
    } catch (const EErreurVeilleur& erreur) {
        echec = erreur.Texte();
    }
    AppliquerLangue();
    if (!echec.isEmpty())
        SignalerPlusTard(echec);
}

void TFormVeilleur::AppliquerLangue()
{
    m_disposition->Reetiqueter(m_langue);
    if (m_barreAlarmes && !m_fermee)
        m_barreAlarmes->Actualiser(*m_verrou, *m_donnees, m_langue);
    if (!m_ecrans->EcranCourant())
        return;
    TFileRequetes::TGarde garde(m_requetes);
    m_ecrans->Reetiqueter();
}

// ---------------------------------------------------------------------------
// Sessions

void TFormVeilleur::DemarrerSessions()
{
    const TResultatSession chargement = m_sessions->Demarrer();
    m_modeCourant = m_sessions->Session().Mode();
    m_utilisateurCourant = m_sessions->Session().NomEnSession();
    if (chargement.Message != EMessageSession::FichierEndommage)
        return;
    // Said once, by a box that does not wait, once the window is up; the
    // session screen keeps saying it. The detail goes to standard error.
    std::fprintf(stderr, "%s\n", qPrintable(m_sessions->Session().DetailFichier()));
    const QString texte = chargement.Texte(m_langue);
    QMetaObject::invokeMethod(this, [this, texte] {
        if (!m_fermee)
            OuvrirBoite(this, QMessageBox::Warning, QCoreApplication::applicationName(), texte,
                        QStringLiteral("MessageFichierUtilisateurs"));
    }, Qt::QueuedConnection);
}

void TFormVeilleur::AppliquerResultatSession(const TResultatSession& resultat)
{
    // Through the window's journal path, oldest first, as every other entry.
    for (const TEntreeLog& entree : resultat.Journal)
        EnvoyerLog(this, entree);
    const TSession& session = m_sessions->Session();
    m_modeCourant = session.Mode();
    m_utilisateurCourant = session.NomEnSession();
    if (resultat.Message == EMessageSession::SessionFinInactivite)
        m_disposition->BarreEtat().showMessage(resultat.Texte(m_langue), 60 * 1000);
    if (m_fermee || !m_ecrans->EcranCourant())
        return;
    TFileRequetes::TGarde garde(m_requetes);
    m_ecrans->AppliquerSession();
}

// ---------------------------------------------------------------------------
// Timers

QString TFormVeilleur::TexteBandeau(const QDateTime& instant, const QLocale& locale)
{
    return DateVeilleur::TexteDateLongue(instant.date(), instant.time(), locale);
}

void TFormVeilleur::TimerBandeauTimer()
{
    // The date follows the system's regional settings, not the interface language.
    m_disposition->DefinirBandeau(TexteBandeau(QDateTime::currentDateTime(), QLocale::system()));
}

void TFormVeilleur::TimerMonitoringDataTimer()
{
    if (m_fermee)
        return;
    Proteger([this] {
        m_alarmeEnCours = false;
        TEtatBandeau etat;
        {
            TLectureDonnees lecture(*m_verrou);
            etat = CalculerBandeau(*m_donnees, m_donneesQFL.get());
        }
        m_disposition->Colorer(etat);
        m_alarmeEnCours = etat.AlarmeEnCours;
        m_barreAlarmes->Actualiser(*m_verrou, *m_donnees, m_langue);

        // A screen inside one of its own handlers is refreshed at the next tick.
        if (!m_ecrans->EcranCourant() || m_requetes.Differer())
            return;
        TFileRequetes::TGarde garde(m_requetes);
        m_ecrans->Rafraichir();
    });
}

void TFormVeilleur::TimerDemoTimer()
{
    if (m_fermee)
        return;
    Proteger([this] {
        m_station->TicDemonstration();
    });
}

void TFormVeilleur::TimerBeepTimer()
{
    if (m_fermee || !m_alarmeEnCours)
        return;
    JouerAlarme(*m_son);
}

// ---------------------------------------------------------------------------
// Live devices

void TFormVeilleur::DemarrerStationDirecte()
{
    const QString message = m_station->Demarrer(QString::fromLatin1(NomFichierReseau), ConfigSet.PortCom);
    if (message.isEmpty())
        return;
    // The strip is watched as ever; no device is live and there is no demonstration.
    std::fprintf(stderr, "%s\n", qPrintable(message));
    OuvrirBoite(this, QMessageBox::Warning, windowTitle(), message, QStringLiteral("BoiteReseau"));
}
