#include "app/FormVeilleur.h"

#include "app/BoutonMenu.h"
#include "app/CouleursBoutons.h"
#include "app/CurseurSablier.h"
#include "app/GenerateurDemo.h"
#include "app/PanneauDecore.h"
#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"
#include "data/VerrouDonnees.h"
#include "devices/CadreKMT.h"
#include "devices/CadreQFL.h"
#include "devices/CadreRecherche.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "platform/Son.h"
#include "screens/CadreAccueil.h"
#include "screens/CadreConfiguration.h"
#include "screens/CadreEnhanced.h"
#include "screens/CadreJournal.h"
#include "screens/CadreNotices.h"
#include "screens/CadreSession.h"
#include "screens/CadreVueDEnsemble.h"
#include "text/MessagesVeilleur.h"
#include "widgets/BoutonAppareil.h"
#include "widgets/CouleursSysteme.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

QFont Police(int pixels, bool gras)
{
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPixelSize(pixels);
    police.setBold(gras);
    return police;
}

QLabel* LabelBlanc(QWidget* parent, const char* nom, const QFont& police)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(nom));
    label->setFont(police);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    return label;
}

QPixmap Image(const char* nom)
{
    return QPixmap(QStringLiteral(":/resources/") + QString::fromLatin1(nom));
}

} // namespace

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

    // 1. Shared state: the lock, the journal's event, the blocks, the
    // configuration and the zeroed device records.
    m_verrou = std::make_unique<TVerrouDonnees>();
    m_journal = std::make_unique<TJournalLog>(QString::fromLatin1(NomFichierLog), nomEvenement);
    if (!m_journal->EvenementAccesLog().Valide())
        std::fprintf(stderr, "Evénement \"%s\" indisponible : %s\n", qPrintable(nomEvenement),
                     qPrintable(m_journal->EvenementAccesLog().Erreur()));
    m_infosAccueil = std::make_unique<TInfosAccueil>();
    m_nomsAppareils = std::make_unique<TNomsAppareils>();
    m_etatsAppareils = std::make_unique<TEtatsAppareils>();
    m_tampon = std::make_unique<TTamponJournal>();   // about 1 MB, zeroed
    m_infosConfiguration = std::make_unique<TInfosConfiguration>();
    std::memset(static_cast<void*>(&ConfigSet), 0, sizeof(ConfigSet));
    m_infosKMT = std::make_unique<TInfosKMT>();
    m_infosQFL = std::make_unique<TInfosQFL>();
    m_infosRecherche = std::make_unique<TInfosRecherche>();
    m_donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    m_navigation = std::make_unique<TNavigation>(*m_infosKMT, *m_infosQFL, *m_infosRecherche);
    m_navigation->NumAppareilCourant = 1;
    m_infosAccueil->Handle = this;
    m_nomsAppareils->Handle = this;
    m_infosConfiguration->Handle = this;
    m_infosKMT->Handle = this;
    m_infosQFL->Handle = this;
    m_infosRecherche->Handle = this;
    m_generateur = std::make_unique<TGenerateurDemo>(*m_verrou, *m_donnees, m_compteurDemo,
                                                     [this](const TEntreeLog& entree) { EnvoyerLog(this, entree); });
    if (!m_son)
        m_son = std::make_unique<TSonSysteme>();

    // 2 and 3. The fixed client area (Qt paints every widget double-buffered).
    ConstruireFenetre();
    // 4. The strip.
    ConstruireBoutonsMonitoring();
    // 5.
    m_alarmeEnCours = false;
    // 6. (The loader already reads a stored language outside 0..2 as French.)
    m_langue = ChargerConfig() ? ConfigSet.Langue : LangueFrancais;
    // 7.
    m_utilisateurCourant.clear();
    m_modeCourant = ModeAdministration;
    // 8 and 9.
    AppliquerLangue();
    AfficherAccueil();
    // 10.
    m_compteurDemo = 1;

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

void TFormVeilleur::ConstruireFenetre()
{
    // Full screen the window is dark; the fixed client area sits in its middle.
    QPalette fond = palette();
    fond.setColor(QPalette::Window, QColor(16, 16, 16));
    setPalette(fond);
    setAutoFillBackground(true);
    resize(LargeurClient, HauteurClient);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ZoneClient"));
    m_client->setFixedSize(LargeurClient, HauteurClient);
    QPalette pc = m_client->palette();
    pc.setColor(QPalette::Window, CouleursSysteme::FaceBouton);
    m_client->setPalette(pc);
    m_client->setAutoFillBackground(true);
    m_client->setFont(Police(11, false));

    auto panneau = [](QWidget* parent, const char* nom, const QRect& place) {
        auto* p = new TPanneauDecore(parent);
        p->setObjectName(QString::fromLatin1(nom));
        p->setGeometry(place);
        return p;
    };

    m_panelLogo = panneau(m_client, "PanelLogo", {0, 0, 264, 109});
    auto* logo = new QLabel(m_panelLogo);
    logo->setObjectName(QStringLiteral("ImageLogo"));
    logo->setPixmap(Image("logo.png"));
    logo->setGeometry(5, 4, 254, 100);
    logo->setAttribute(Qt::WA_TranslucentBackground);

    m_panelBandeau = panneau(m_client, "PanelBandeau", {264, 0, 760, 33});
    m_labelBandeau = LabelBlanc(m_panelBandeau, "LabelBandeau", Police(16, true));
    m_labelBandeau->setGeometry(m_panelBandeau->contentsRect());
    m_labelBandeau->setAlignment(Qt::AlignCenter);

    auto boutonFenetre = [this](const char* nom, const char* glyphe, const QRect& place) {
        auto* b = new QPushButton(m_panelBandeau);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(place);
        b->setFocusPolicy(Qt::NoFocus);   // not a tab stop
        const QPixmap image = Image(glyphe);
        QIcon icone;
        icone.addPixmap(EtatDuGlyphe(image, 0), QIcon::Normal);
        icone.addPixmap(EtatDuGlyphe(image, 1), QIcon::Disabled);
        icone.addPixmap(EtatDuGlyphe(image, 2), QIcon::Active);
        b->setIcon(icone);
        b->setIconSize(QSize(14, 14));
        return b;
    };
    m_bitBtnMin = boutonFenetre("BitBtnMin", "glyphe_minimiser.png", {706, 6, 23, 20});
    m_bitBtnQuit = boutonFenetre("BitBtnQuit", "glyphe_quitter.png", {731, 6, 23, 20});
    connect(m_bitBtnMin, &QPushButton::clicked, this, [this] { BitBtnMinClick(); });
    connect(m_bitBtnQuit, &QPushButton::clicked, this, [this] { BitBtnQuitClick(); });

    m_panelMonitoring = panneau(m_client, "PanelMonitoring", {264, 33, 760, 76});
    auto* labelKMT = LabelBlanc(m_panelMonitoring, "LabelKMT", Police(11, true));
    labelKMT->setText(QStringLiteral("KMT"));
    labelKMT->adjustSize();
    labelKMT->move(8, 16);
    auto* labelQFL = LabelBlanc(m_panelMonitoring, "LabelQFL", Police(11, true));
    labelQFL->setText(QStringLiteral("QFL"));
    labelQFL->adjustSize();
    labelQFL->move(8, 44);

    m_panelBoutons = panneau(m_client, "PanelBoutons", {0, 109, 264, 642});
    // The window's own font: no larger caption was asked of it.
    m_labelNomAppli = LabelBlanc(m_panelBoutons, "LabelNomAppli", Police(11, false));
    m_labelNomAppli->setGeometry(3, 16, 257, 25);
    m_labelNomAppli->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto separateur = [this](const char* nom, int y) {
        auto* ligne = new QFrame(m_panelBoutons);
        ligne->setObjectName(QString::fromLatin1(nom));
        ligne->setGeometry(6, y, 252, 2);
        QPalette p = ligne->palette();
        p.setColor(QPalette::Window, QColor(255, 0, 0));
        ligne->setPalette(p);
        ligne->setAutoFillBackground(true);
    };
    separateur("ShapeSeparateurMenu", 38);
    separateur("ShapeSeparateurLangues", 574);

    m_groupeMenu = new QButtonGroup(this);
    m_groupeMenu->setObjectName(QStringLiteral("GroupeMenu"));
    m_groupeMenu->setExclusive(true);
    auto boutonMenu = [this](const char* nom, int tag, int y, const char* glyphe) {
        auto* b = new TBoutonMenu(tag, m_panelBoutons);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(20, y, 225, 49);
        b->setFont(Police(13, true));
        b->DefinirGlyphe(Image(glyphe));
        m_groupeMenu->addButton(b, tag);
        return b;
    };
    m_speedButtonAccueil = boutonMenu("SpeedButtonAccueil", 1, 72, "glyphe_accueil.png");
    m_speedButtonSession = boutonMenu("SpeedButtonSession", 2, 158, "glyphe_session.png");
    m_speedButtonVueDEnsemble = boutonMenu("SpeedButtonVueDEnsemble", 3, 244, "glyphe_vuedensemble.png");
    m_speedButtonJournal = boutonMenu("SpeedButtonJournal", 4, 331, "glyphe_journal.png");
    m_speedButtonNotices = boutonMenu("SpeedButtonNotices", 5, 417, "glyphe_notices.png");
    m_speedButtonConfiguration = boutonMenu("SpeedButtonConfiguration", 6, 504, "glyphe_configuration.png");
    m_speedButtonAccueil->setChecked(true);
    connect(m_groupeMenu, &QButtonGroup::buttonClicked, this, &TFormVeilleur::SpeedButtonMenuClick);

    m_groupeLangues = new QButtonGroup(this);
    m_groupeLangues->setObjectName(QStringLiteral("GroupeLangues"));
    m_groupeLangues->setExclusive(true);
    auto boutonLangue = [this](const char* nom, int tag, int x, const QString& legende) {
        auto* b = new TBoutonMenu(tag, m_panelBoutons);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(x, 592, 77, 31);
        b->setFont(Police(11, false));
        b->setText(legende);
        m_groupeLangues->addButton(b, tag);
        return b;
    };
    m_speedButtonEn = boutonLangue("SpeedButtonEn", 2, 12, QStringLiteral("English"));
    m_speedButtonSp = boutonLangue("SpeedButtonSp", 3, 93, QStringLiteral("Español"));
    m_speedButtonFr = boutonLangue("SpeedButtonFr", 1, 175, QStringLiteral("Français"));
    m_speedButtonFr->setChecked(true);
    connect(m_groupeLangues, &QButtonGroup::buttonClicked, this, &TFormVeilleur::SpeedButtonLangueClick);

    m_panelFrame0 = panneau(m_client, "PanelFrame0", {264, 109, 760, 642});
    m_panelFrame = new QFrame(m_panelFrame0);
    m_panelFrame->setObjectName(QStringLiteral("PanelFrame"));
    m_panelFrame->setFrameShape(QFrame::NoFrame);
    m_panelFrame->setGeometry(m_panelFrame0->contentsRect());
    QPalette pf = m_panelFrame->palette();
    pf.setColor(QPalette::Window, CouleursSysteme::FaceBouton);
    m_panelFrame->setPalette(pf);
    m_panelFrame->setAutoFillBackground(true);
    m_panelFrame->setFont(Police(13, false));

    m_statusBar = new QStatusBar(m_client);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setGeometry(0, HauteurClient - 19, LargeurClient, 19);
    for (int i = 1; i <= 4; ++i) {
        auto* panneauStatut = new QLabel(m_statusBar);
        panneauStatut->setObjectName(QStringLiteral("StatusBar1Panneau%1").arg(i));
        panneauStatut->setFixedWidth(50);
        panneauStatut->setFrameShape(QFrame::Panel);
        panneauStatut->setFrameShadow(QFrame::Sunken);
        m_statusBar->addWidget(panneauStatut);
    }
    m_statusBar->raise();
}

void TFormVeilleur::ConstruireBoutonsMonitoring()
{
    m_boutons.reserve(NbBoutonsMonitoring);
    for (int i = 1; i <= NbBoutonsMonitoring; ++i) {
        // Upper row KMT 1..31, lower row QFL 33..63, each QFL under its KMT.
        const bool haut = i <= NbSources;
        const int tag = haut ? i : i + 1;
        const int colonne = haut ? i - 1 : i - 32;
        auto* bouton = new TBoutonAppareil(tag, m_panelMonitoring);
        bouton->setObjectName(QStringLiteral("BoutonMonitoring%1").arg(tag));
        bouton->setGeometry(39 + 23 * colonne, haut ? 8 : 38, TBoutonAppareil::Largeur, TBoutonAppareil::Hauteur);
        connect(bouton, &QPushButton::clicked, this, [this, bouton] { ButtonMonitoringClick(bouton); });
        m_boutons.push_back(bouton);
    }
}

TBoutonAppareil* TFormVeilleur::BoutonMonitoring(int index) const
{
    if (index < 1 || index > static_cast<int>(m_boutons.size()))
        return nullptr;
    return m_boutons[static_cast<std::size_t>(index - 1)];
}

void TFormVeilleur::resizeEvent(QResizeEvent* evenement)
{
    QWidget::resizeEvent(evenement);
    // A smaller screen shows the top left of the client area.
    m_client->move(std::max(0, (width() - LargeurClient) / 2), std::max(0, (height() - HauteurClient) / 2));
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
    m_requetes.clear();
    DetruireEcran();
    for (TBoutonAppareil* bouton : m_boutons)
        delete bouton;
    m_boutons.clear();
    m_fermee = true;
}

TFormVeilleur::~TFormVeilleur()
{
    if (!m_fermee)
        FormCloseQuery();
    // FormDestroy: the blocks, the records, then the event and the lock last.
    m_son.reset();
    m_generateur.reset();
    m_navigation.reset();
    m_infosAccueil.reset();
    m_nomsAppareils.reset();
    m_etatsAppareils.reset();
    m_tampon.reset();
    m_infosConfiguration.reset();
    m_infosKMT.reset();
    m_infosQFL.reset();
    m_infosRecherche.reset();
    m_donnees.reset();
    m_journal.reset();
    m_verrou.reset();
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
    return m_profondeurAffichage > 0 || (m_ecranCourant && m_ecranCourant->Occupe());
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
    switch (m_langue) {
    case LangueAnglais: m_speedButtonEn->setChecked(true); break;
    case LangueEspagnol: m_speedButtonSp->setChecked(true); break;
    default: m_speedButtonFr->setChecked(true); break;
    }
    setWindowTitle(Texte(MsgMenuTitreFenetre, m_langue));
    m_labelNomAppli->setText(Texte(MsgMenuLabelNomAppli, m_langue));
    m_speedButtonAccueil->setText(Texte(MsgMenuSpeedButtonAccueil, m_langue));
    m_speedButtonSession->setText(Texte(MsgAccueilLabelDebutFinSession, m_langue));
    m_speedButtonVueDEnsemble->setText(Texte(MsgVueDEnsembleLabelVueDEnsemble, m_langue));
    m_speedButtonJournal->setText(Texte(MsgJournalLabelJournal, m_langue));
    m_speedButtonNotices->setText(Texte(MsgNoticesLabelNotices, m_langue));
    m_speedButtonConfiguration->setText(Texte(MsgConfigurationLabelConfiguration, m_langue));

    if (!m_ecranCourant)
        return;
    if (m_navigation->NumEcranCourant == EcranJournal) {
        // The journal names its events in the language of its loading.
        AfficherJournal();
    } else {
        TGardeAffichage garde(*this);
        m_ecranCourant->ChangerLangue(m_langue);
    }
}

// ---------------------------------------------------------------------------
// Showing screens

template <typename TEcran>
TEcran* TFormVeilleur::CreerEcran()
{
    DetruireEcran();
    auto* ecran = new TEcran(m_panelFrame);
    ecran->move(0, 0);
    connect(ecran, &TFrameEnhanced::Libere, this, &TFormVeilleur::TraiterRequetesEnAttente, Qt::QueuedConnection);
    m_ecranCourant = ecran;
    ecran->show();
    return ecran;
}

void TFormVeilleur::DetruireEcran()
{
    delete m_ecranCourant;
    m_ecranCourant = nullptr;
}

void TFormVeilleur::EnfoncerBoutonMenu(int tag)
{
    if (QAbstractButton* bouton = m_groupeMenu->button(tag))
        bouton->setChecked(true);
}

void TFormVeilleur::AfficherAccueil()
{
    TGardeAffichage garde(*this);
    m_navigation->VersEcranGeneral(EcranAccueil);
    EnfoncerBoutonMenu(EcranAccueil);
    auto* ecran = CreerEcran<TFrameAccueil>();
    m_infosAccueil->Utilisateur = m_utilisateurCourant;
    m_infosAccueil->Mode = m_modeCourant;
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(m_infosAccueil.get());
}

void TFormVeilleur::AfficherSession()
{
    TGardeAffichage garde(*this);
    m_navigation->VersEcranGeneral(EcranSession);
    EnfoncerBoutonMenu(EcranSession);
    auto* ecran = CreerEcran<TFrameSession>();
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(nullptr);
}

void TFormVeilleur::AfficherVueDEnsemble()
{
    TGardeAffichage garde(*this);
    m_navigation->VersEcranGeneral(EcranVueDEnsemble);
    EnfoncerBoutonMenu(EcranVueDEnsemble);
    auto* ecran = CreerEcran<TFrameVueDEnsemble>();
    TCurseurSablier sablier;
    RemplirVueDEnsemble(*m_verrou, *m_donnees, ConfigSet, *m_nomsAppareils, *m_etatsAppareils);
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(m_nomsAppareils.get());
    ecran->Actualiser(m_etatsAppareils.get());
}

void TFormVeilleur::AfficherJournal()
{
    TGardeAffichage garde(*this);
    EnfoncerBoutonMenu(EcranJournal);
    m_navigation->VersEcranGeneral(EcranJournal);
    auto* ecran = CreerEcran<TFrameJournal>();
    QString echec;
    {
        TCurseurSablier sablier;
        try {
            m_journal->ChargerJournal(*m_tampon, m_langue);
        } catch (const EErreurVeilleur& erreur) {
            // The screen still opens, empty rather than half loaded.
            echec = erreur.Texte();
            m_tampon->NbEntrees = 0;
            m_tampon->Langue = m_langue;
        }
        ecran->ChangerLangue(m_langue);
        ecran->Initialiser(nullptr);
        ecran->Actualiser(m_tampon.get());
    }
    if (!echec.isEmpty())
        SignalerPlusTard(echec);
}

void TFormVeilleur::AfficherNotices()
{
    TGardeAffichage garde(*this);
    EnfoncerBoutonMenu(EcranNotices);
    m_navigation->VersEcranGeneral(EcranNotices);
    auto* ecran = CreerEcran<TFrameNotices>();
    TCurseurSablier sablier;
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(nullptr);
}

void TFormVeilleur::AfficherConfiguration()
{
    TGardeAffichage garde(*this);
    EnfoncerBoutonMenu(EcranConfiguration);
    m_navigation->VersEcranGeneral(EcranConfiguration);
    auto* ecran = CreerEcran<TFrameConfiguration>();
    TCurseurSablier sablier;
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(m_infosConfiguration.get());
    ecran->Actualiser(&ConfigSet);
}

void TFormVeilleur::AfficherKMT(std::int32_t appareil)
{
    TGardeAffichage garde(*this);
    auto* ecran = CreerEcran<TFrameKMT>();
    m_navigation->VersKMT(appareil);
    m_infosKMT->NomAppareil = LireChaine(ConfigSet.NomsSources[appareil]);
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(m_infosKMT.get());
    TLectureDonnees lecture(*m_verrou);
    ecran->Actualiser(&(*m_donnees)[appareil]);
}

void TFormVeilleur::AfficherQFL(std::int32_t appareil)
{
    TGardeAffichage garde(*this);
    auto* ecran = CreerEcran<TFrameQFL>();
    m_navigation->VersQFL(appareil);
    m_infosQFL->NomAppareil = LireChaine(ConfigSet.NomsSources[appareil - DecalageQFL]);
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(m_infosQFL.get());
}

void TFormVeilleur::AfficherRecherche(std::int32_t appareil)
{
    TGardeAffichage garde(*this);
    auto* ecran = CreerEcran<TFrameRecherche>();
    m_navigation->VersRecherche(appareil);
    ecran->ChangerLangue(m_langue);
    ecran->Initialiser(m_infosRecherche.get());
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
    m_labelBandeau->setText(TexteBandeau(QDateTime::currentDateTime(), QLocale::system()));
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
        if (!m_ecranCourant || Differer())
            return;
        TGardeAffichage garde(*this);
        if (m_navigation->NumEcranCourant == EcranVueDEnsemble) {
            RemplirVueDEnsemble(*m_verrou, *m_donnees, ConfigSet, *m_nomsAppareils, *m_etatsAppareils);
            m_ecranCourant->Actualiser(m_etatsAppareils.get());
        } else if (m_navigation->NumEcranCourant == EcranKMT) {
            TLectureDonnees lecture(*m_verrou);
            m_ecranCourant->Actualiser(&(*m_donnees)[m_navigation->NumAppareilCourant]);
        }
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
