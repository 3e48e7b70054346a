#include "app/FormVeilleur.h"

#include "app/BoutonMenu.h"
#include "app/CouleursBoutons.h"
#include "app/GenerateurDemo.h"
#include "app/SessionStation.h"
#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"
#include "data/VerrouDonnees.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "platform/Son.h"
#include "screens/CadreEnhanced.h"
#include "widgets/BoutonAppareil.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <cstdio>
#include <cstring>
#include <exception>

// Marks one of the window's own operations that may let pending events run;
// requests arriving meanwhile wait for its end.
class TFormVeilleur::TGardeAffichage {
public:
    explicit TGardeAffichage(TFormVeilleur& fenetre) : m_fenetre(fenetre) { ++m_fenetre.m_profondeurAffichage; }
    ~TGardeAffichage()
    {
        if (--m_fenetre.m_profondeurAffichage == 0 && !m_fenetre.m_requetes.empty())
            QMetaObject::invokeMethod(&m_fenetre, &TFormVeilleur::TraiterRequetesEnAttente, Qt::QueuedConnection);
    }
    TGardeAffichage(const TGardeAffichage&) = delete;
    TGardeAffichage& operator=(const TGardeAffichage&) = delete;

private:
    TFormVeilleur& m_fenetre;
};

// ---------------------------------------------------------------------------
// Start-up

TFormVeilleur::TFormVeilleur(std::unique_ptr<TSon> son, const QString& nomEvenement, QWidget* parent)
    : QWidget(parent), m_son(std::move(son))
{
    setObjectName(QStringLiteral("FormVeilleur"));

    // Shared state: the lock, the journal and its system event, the
    // configuration and the zeroed device records.
    m_verrou = std::make_unique<TVerrouDonnees>();
    m_journal = std::make_unique<TJournalLog>(QString::fromLatin1(NomFichierLog), nomEvenement);
    if (!m_journal->EvenementAccesLog().Valide())
        std::fprintf(stderr, "Evénement \"%s\" indisponible : %s\n", qPrintable(nomEvenement),
                     qPrintable(m_journal->EvenementAccesLog().Erreur()));
    std::memset(static_cast<void*>(&ConfigSet), 0, sizeof(ConfigSet));
    m_donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    m_generateur = std::make_unique<TGenerateurDemo>(*m_verrou, *m_donnees, m_compteurDemo,
                                                     [this](const TEntreeLog& entree) { EnvoyerLog(this, entree); });
    if (!m_son)
        m_son = std::make_unique<TSonSysteme>();

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
        .EcranLibere = [this] { TraiterRequetesEnAttente(); },
        .Session = &m_sessions->Session(),
        .AppliquerSession = [this](const TResultatSession& resultat) { AppliquerResultatSession(resultat); },
    });

    // The stored language (the loader reads one outside 0..2 as French), then
    // the home screen in it.
    m_langue = ChargerConfig() ? ConfigSet.Langue : LangueFrancais;
    DemarrerSessions();
    AppliquerLangue();
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
    m_relanceDemo.setParent(this);
    m_relanceDemo.setObjectName(QStringLiteral("TimerRelanceDemo"));
    m_relanceDemo.setSingleShot(true);
    m_relanceDemo.setInterval(10);
    connect(&m_relanceDemo, &QTimer::timeout, this, [this] {
        Proteger([this] {
            if (m_generateur->Reprendre())
                m_relanceDemo.start();
        });
    });
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
    if (Differer()) {
        // A screen handler is still running: close when it has returned.
        Differer({TRequete::Fermeture});
        evenement->ignore();
        return;
    }
    FormCloseQuery();
    evenement->accept();
}

void TFormVeilleur::FormCloseQuery()
{
    // No tick may run once the screen and the buttons it uses are gone.
    m_timerBandeau.stop();
    m_timerMonitoringData.stop();
    m_timerDemo.stop();
    m_timerBeep.stop();
    m_relanceDemo.stop();
    m_sessions->Arreter();
    m_requetes.clear();
    m_ecrans->Detruire();
    m_disposition->DetruireBoutonsMonitoring();
    m_fermee = true;
}

TFormVeilleur::~TFormVeilleur()
{
    // The members go in the reverse of their declaration.
    if (!m_fermee)
        FormCloseQuery();
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
            Proteger([&] { m_journal->AjouterEntreeLog(*message->WParam); });
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

void TFormVeilleur::SignalerPlusTard(const QString& texte)
{
    // The application object outlives the window: the report is never lost.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [texte] { SignalerErreur(texte); }, Qt::QueuedConnection);
}

bool TFormVeilleur::Differer() const
{
    return m_profondeurAffichage > 0 || m_ecrans->Occupe();
}

void TFormVeilleur::Differer(const TRequete& requete)
{
    m_requetes.push_back(requete);
    // Kept only to stay behind older requests: nothing else will run them.
    if (!Differer())
        QMetaObject::invokeMethod(this, &TFormVeilleur::TraiterRequetesEnAttente, Qt::QueuedConnection);
}

void TFormVeilleur::TraiterRequetesEnAttente()
{
    while (!m_requetes.empty() && !Differer() && !m_fermee) {
        const TRequete requete = m_requetes.front();
        m_requetes.pop_front();
        Proteger([&] { ExecuterRequete(requete); });
    }
}

void TFormVeilleur::ExecuterRequete(const TRequete& requete)
{
    switch (requete.type) {
    case TRequete::Ecran:
        AfficherEcran(requete.a, requete.b);
        break;
    case TRequete::Langue:
        ChangerDeLangue(requete.a);
        break;
    case TRequete::Fermeture:
        close();
        break;
    }
}

void TFormVeilleur::DemanderEcran(std::int32_t ecran, std::int32_t appareil)
{
    if (m_fermee)
        return;
    // Older requests still waiting go first, or the screen asked for last
    // would be replaced by one asked for before it.
    if (Differer() || !m_requetes.empty()) {
        Differer({TRequete::Ecran, ecran, appareil});
        return;
    }
    AfficherEcran(ecran, appareil);
}

void TFormVeilleur::AfficherEcran(std::int32_t ecran, std::int32_t appareil)
{
    // Unknown screens and devices of the wrong family are ignored: the
    // visible screen stays and no record or name is read out of range.
    if (!TNavigation::RequeteValide(ecran, appareil))
        return;
    TGardeAffichage garde(*this);
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
    if (Differer() || !m_requetes.empty()) {
        Differer({TRequete::Langue, b->Tag()});
        return;
    }
    Proteger([&] { ChangerDeLangue(b->Tag()); });
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
    if (!m_ecrans->EcranCourant())
        return;
    TGardeAffichage garde(*this);
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
        if (m_fermee)
            return;
        auto* boite = new QMessageBox(QMessageBox::Warning, QCoreApplication::applicationName(), texte,
                                      QMessageBox::Ok, this);
        boite->setObjectName(QStringLiteral("MessageFichierUtilisateurs"));
        boite->setAttribute(Qt::WA_DeleteOnClose);
        boite->open();
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
    TGardeAffichage garde(*this);
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
            etat = CalculerBandeau(*m_donnees);
        }
        for (int i = 1; i <= NbSources; ++i) {
            TBoutonAppareil* bouton = BoutonMonitoring(i);
            bouton->DefinirCouleurTexte(etat.Boutons[i].Texte);
            bouton->DefinirCouleurFace(etat.Boutons[i].Face);
        }
        m_alarmeEnCours = etat.AlarmeEnCours;

        // A screen inside one of its own handlers is refreshed at the next tick.
        if (!m_ecrans->EcranCourant() || Differer())
            return;
        TGardeAffichage garde(*this);
        m_ecrans->Rafraichir();
    });
}

void TFormVeilleur::TimerDemoTimer()
{
    if (m_fermee)
        return;
    Proteger([this] {
        if (!m_generateur->Demander() && !m_relanceDemo.isActive())
            m_relanceDemo.start();
    });
}

void TFormVeilleur::TimerBeepTimer()
{
    if (m_fermee || !m_alarmeEnCours)
        return;
    JouerAlarme(*m_son);
}
