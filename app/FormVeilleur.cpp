#include "app/FormVeilleur.h"

#include "app/BarreAlarmes.h"
#include "app/BoutonMenu.h"
#include "app/CycleStation.h"
#include "app/CouleursBoutons.h"
#include "app/GenerateurDemo.h"
#include "app/SessionStation.h"
#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"
#include "data/VerrouDonnees.h"
#include "devices/CadreKMT.h"
#include "liaison/ConfigReseau.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "platform/Son.h"
#include "screens/CadreEnhanced.h"
#include "screens/CadreJournal.h"
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
    // Write failures come from the store's writer thread: reported on ours.
    m_journal->DefinirSignalement([](const QString& texte) { SignalerPlusTard(texte); });
    std::memset(static_cast<void*>(&ConfigSet), 0, sizeof(ConfigSet));
    m_donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    m_generateur = std::make_unique<TGenerateurDemo>(*m_verrou, *m_donnees, m_compteurDemo,
                                                     [this](const TEntreeLog& entree) { EnvoyerLog(this, entree); });
    m_station = std::make_unique<TStationDirecte>(TStationDirecte::TEnvironnement{
        .Verrou = *m_verrou,
        .Donnees = *m_donnees,
        .Generateur = *m_generateur,
        .Utilisateur = m_utilisateurCourant,
        .Mode = m_modeCourant,
        .Journaliser = [this](const TEntreeLog& entree) { EnvoyerLog(this, entree); },
        .Resultat = [this](const TResultatCommande& r) { MontrerResultatCommande(r); },
    });
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
        .EcranLibere = [this] { TraiterRequetesEnAttente(); },
        .Commandes = m_station.get(),
        .Session = &m_sessions->Session(),
        .AppliquerSession = [this](const TResultatSession& resultat) { AppliquerResultatSession(resultat); },
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
    if (!m_sansQuestion && AlarmesAConfirmer()) {
        DemanderConfirmation();
        evenement->ignore();
        return;
    }
    FormCloseQuery();
    evenement->accept();
}

bool TFormVeilleur::AlarmesAConfirmer()
{
    TLectureDonnees lecture(*m_verrou);
    for (int n = 1; n <= NbSources; ++n)
        if (TSuiviAlarmes::Active((*m_donnees)[n]))
            return true;
    return false;
}

void TFormVeilleur::DemanderConfirmation()
{
    if (m_confirmation) {
        m_confirmation->raise();
        return;
    }
    // Not a loop of its own: the ticks go on while the question waits.
    auto* boite = new QMessageBox(QMessageBox::Warning, Texte(MsgMenuTitreFenetre, m_langue),
                                  Texte(MsgFermetureConfirmation, m_langue), QMessageBox::NoButton, this);
    boite->setObjectName(QStringLiteral("ConfirmationFermeture"));
    boite->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* fermer = boite->addButton(Texte(MsgFermetureFermer, m_langue), QMessageBox::AcceptRole);
    fermer->setObjectName(QStringLiteral("ConfirmationFermer"));
    QPushButton* continuer = boite->addButton(Texte(MsgFermetureContinuer, m_langue), QMessageBox::RejectRole);
    continuer->setObjectName(QStringLiteral("ConfirmationContinuer"));
    boite->setDefaultButton(continuer);
    boite->setEscapeButton(continuer);
    connect(fermer, &QPushButton::clicked, this, [this] {
        m_sansQuestion = true;
        // Once the box has gone.
        QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
    });
    m_confirmation = boite;
    boite->open();
}

void TFormVeilleur::Arreter(const QString& raison)
{
    if (m_fermee)
        return;
    m_raisonArret = raison;
    m_sansQuestion = true;
    if (m_confirmation)
        m_confirmation->close();
    close();
}

void TFormVeilleur::FormCloseQuery()
{
    // No tick may run once the screen and the buttons it uses are gone.
    m_timerBandeau.stop();
    m_timerMonitoringData.stop();
    m_timerDemo.stop();
    m_timerBeep.stop();
    m_relanceDemo.stop();
    // What the devices reported up to the end reaches the journal.
    m_station->Arreter();
    m_sessions->Arreter();
    m_requetes.clear();
    m_ecrans->Detruire();
    m_disposition->DetruireBoutonsMonitoring();
    m_fermee = true;
    if (m_confirmation)
        m_confirmation->close();
    TerminerJournal(!m_sansAffichage);
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
    if (m_demarre || m_fermee)
        return;
    m_demarre = true;
    const double maintenant = DateVeilleur::Maintenant();
    // Entries the previous run could only keep aside go in first, in their
    // order, so that its stop (or its absence) is read in the right place.
    const TBilanRecuperation recuperation = m_journal->RecupererEntrees();
    if (!recuperation.Erreur.isEmpty()) {
        std::fprintf(stderr, "%s\n", recuperation.Erreur.toLocal8Bit().constData());
        SignalerPlusTard(recuperation.Erreur);
    }
    const bool finIncorrecte = CycleStation::FinPrecedenteIncorrecte(m_journal->CheminFichier());
    Journaliser(CycleStation::EntreeLancement(maintenant, finIncorrecte));
    if (recuperation.Recuperees > 0) {
        Journaliser(TJournalLog::EntreeRecuperation(recuperation.Recuperees, maintenant));
        std::fprintf(stderr, "Journal : %d entrées récupérées de \"%s\"\n", recuperation.Recuperees,
                     qPrintable(m_journal->CheminRecuperation()));
    }
    // Other programs waiting on the event would wait on someone else's.
    if (!m_journal->EvenementAccesLog().Propre()) {
        const QString texte = m_journal->EvenementAccesLog().Avertissement(m_langue);
        std::fprintf(stderr, "%s\n", texte.toLocal8Bit().constData());
        auto* boite = new QMessageBox(QMessageBox::Warning, Texte(MsgMenuTitreFenetre, m_langue), texte,
                                      QMessageBox::Ok, this);
        boite->setObjectName(QStringLiteral("AvertissementEvenement"));
        boite->setAttribute(Qt::WA_DeleteOnClose);
        m_avertissement = boite;
        boite->open();
    }
}

void TFormVeilleur::TerminerJournal(bool surEcran)
{
    if (!m_demarre || m_journalTermine)
        return;
    m_journalTermine = true;
    const QString raison = m_raisonArret.isEmpty() ? QString::fromLatin1(CycleStation::RaisonBouton) : m_raisonArret;
    m_journal->DeposerEntreeLog(CycleStation::EntreeFermeture(DateVeilleur::Maintenant(), raison));
    const TBilanFinJournal bilan = m_journal->Terminer();
    const QString texte = bilan.Texte();
    if (!texte.isEmpty())
        std::fprintf(stderr, "%s\n", texte.toLocal8Bit().constData());
    if (!bilan.AMontrer() || !surEcran)
        return;
    // No tick runs any more: the window may wait for the operator here. Not
    // for ever, though: a log-out or a service stop waits for this process.
    QMessageBox boite(QMessageBox::Critical, Texte(MsgMenuTitreFenetre, m_langue), texte, QMessageBox::Ok, this);
    boite.setObjectName(QStringLiteral("JournalNonEcrit"));
    QTimer::singleShot(60000, &boite, [&boite] { boite.done(QMessageBox::Ok); });
    boite.exec();
}

void TFormVeilleur::TerminerSansAffichage(const QString& raison)
{
    if (m_raisonArret.isEmpty())
        m_raisonArret = raison;
    TerminerJournal(false);
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
    if (NumEcranCourant() == EcranJournal && !m_fermee) {
        m_entreesNouvelles.push_back(entree);
        // The list keeps no more than that either.
        if (m_entreesNouvelles.size() > std::size_t(CapaciteTampon))
            m_entreesNouvelles.erase(m_entreesNouvelles.begin());
    }
}

void TFormVeilleur::TransmettreEntreesAuJournal()
{
    if (m_entreesNouvelles.empty())
        return;
    if (auto* journal = qobject_cast<TFrameJournal*>(m_ecrans->EcranCourant()))
        journal->AjouterEntrees(m_entreesNouvelles, m_langue);
    m_entreesNouvelles.clear();
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
    // A journal screen opened now loads every entry given to the store so far.
    m_entreesNouvelles.clear();
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
    m_suiviAlarmes.DefinirLangue(m_langue);
    if (m_barreAlarmes && !m_fermee)
        ActualiserBarreAlarmes();
    if (!m_ecrans->EcranCourant())
        return;
    TGardeAffichage garde(*this);
    // The journal screen reloads for a new language.
    m_entreesNouvelles.clear();
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
        ActualiserBarreAlarmes();

        // A screen inside one of its own handlers is refreshed at the next tick.
        if (!m_ecrans->EcranCourant() || Differer())
            return;
        TGardeAffichage garde(*this);
        m_ecrans->Rafraichir();
        TransmettreEntreesAuJournal();
    });
}

void TFormVeilleur::ActualiserBarreAlarmes()
{
    std::vector<TAlarmeActive> alarmes;
    {
        TLectureDonnees lecture(*m_verrou);
        alarmes = m_suiviAlarmes.Actualiser(*m_donnees, ConfigSet, DateVeilleur::Maintenant());
    }
    m_barreAlarmes->Afficher(alarmes, m_langue);
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

// ---------------------------------------------------------------------------
// Live devices

void TFormVeilleur::DemarrerStationDirecte()
{
    const QString message = m_station->Demarrer(QString::fromLatin1(NomFichierReseau), ConfigSet.PortCom);
    if (message.isEmpty())
        return;
    // The strip is watched as ever; no device is live and there is no demonstration.
    std::fprintf(stderr, "%s\n", qPrintable(message));
    auto* boite = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    boite->setObjectName(QStringLiteral("BoiteReseau"));
    boite->setAttribute(Qt::WA_DeleteOnClose);
    boite->open();
}

void TFormVeilleur::MontrerResultatCommande(const TResultatCommande& resultat)
{
    if (m_fermee)
        return;
    if (auto* kmt = qobject_cast<TFrameKMT*>(EcranCourant())) {
        kmt->MontrerResultat(resultat);
        return;
    }
    m_disposition->BarreEtat().showMessage(TexteResultatCommande(resultat, m_langue), 15000);
}
