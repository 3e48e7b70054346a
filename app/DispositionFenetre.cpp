#include "app/DispositionFenetre.h"

#include "app/BoutonMenu.h"
#include "app/PanneauDecore.h"
#include "text/MessagesVeilleur.h"
#include "widgets/BoutonAppareil.h"
#include "widgets/Controles.h"
#include "platform/CouleursSysteme.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

namespace {

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

TPanneauDecore* Panneau(QWidget* parent, const char* nom, const QRect& place)
{
    auto* p = new TPanneauDecore(parent);
    p->setObjectName(QString::fromLatin1(nom));
    p->setGeometry(place);
    return p;
}

void Remplir(QWidget* controle, const QColor& couleur)
{
    QPalette p = controle->palette();
    p.setColor(QPalette::Window, couleur);
    controle->setPalette(p);
    controle->setAutoFillBackground(true);
}

} // namespace

TDispositionFenetre::TDispositionFenetre(QWidget& fenetre)
    : m_fenetre(fenetre)
{
    // Full screen the window is dark; the fixed client area sits in its middle.
    Remplir(&m_fenetre, QColor(16, 16, 16));
    m_fenetre.resize(LargeurClient, HauteurClient);

    m_client = new QWidget(&m_fenetre);
    m_client->setObjectName(QStringLiteral("ZoneClient"));
    m_client->setFixedSize(LargeurClient, HauteurClient);
    Remplir(m_client, CouleursSysteme::FaceBouton);
    m_client->setFont(PoliceEcran(11, false));

    // Built in this order, which is also the order of the keyboard focus.
    ConstruireBandeau();
    ConstruireMonitoring();
    ConstruireMenu();
    ConstruireCadre();
    ConstruireBarreEtat();

    // The strip: upper row KMT 1..31, lower row QFL 33..63, each QFL under its KMT.
    m_boutons.reserve(NbBoutonsMonitoring);
    for (int i = 1; i <= NbBoutonsMonitoring; ++i) {
        const bool haut = i <= NbSources;
        const int tag = haut ? i : i + 1;
        const int colonne = haut ? i - 1 : i - 32;
        auto* bouton = new TBoutonAppareil(tag, m_panelMonitoring);
        bouton->setObjectName(QStringLiteral("BoutonMonitoring%1").arg(tag));
        bouton->setGeometry(39 + 23 * colonne, haut ? 8 : 38, TBoutonAppareil::Largeur, TBoutonAppareil::Hauteur);
        m_boutons.push_back(bouton);
    }
}

void TDispositionFenetre::ConstruireBandeau()
{
    TPanneauDecore* panelLogo = Panneau(m_client, "PanelLogo", {0, 0, 264, 109});
    auto* logo = new QLabel(panelLogo);
    logo->setObjectName(QStringLiteral("ImageLogo"));
    logo->setPixmap(Image("logo.png"));
    logo->setGeometry(5, 4, 254, 100);
    logo->setAttribute(Qt::WA_TranslucentBackground);

    TPanneauDecore* panelBandeau = Panneau(m_client, "PanelBandeau", {264, 0, 760, 33});
    m_labelBandeau = LabelBlanc(panelBandeau, "LabelBandeau", PoliceEcran(16, true));
    m_labelBandeau->setGeometry(panelBandeau->contentsRect());
    m_labelBandeau->setAlignment(Qt::AlignCenter);

    auto boutonFenetre = [panelBandeau](const char* nom, const char* glyphe, const QRect& place) {
        auto* b = new QPushButton(panelBandeau);
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
}

void TDispositionFenetre::ConstruireMonitoring()
{
    m_panelMonitoring = Panneau(m_client, "PanelMonitoring", {264, 33, 760, 76});
    auto rangee = [this](const char* nom, const char* texte, int y) {
        QLabel* label = LabelBlanc(m_panelMonitoring, nom, PoliceEcran(11, true));
        label->setText(QString::fromLatin1(texte));
        label->adjustSize();
        label->move(8, y);
    };
    rangee("LabelKMT", "KMT", 16);
    rangee("LabelQFL", "QFL", 44);
}

void TDispositionFenetre::ConstruireMenu()
{
    m_panelBoutons = Panneau(m_client, "PanelBoutons", {0, 109, 264, 642});
    // The window's own font: no larger caption was asked of it.
    m_labelNomAppli = LabelBlanc(m_panelBoutons, "LabelNomAppli", PoliceEcran(11, false));
    m_labelNomAppli->setGeometry(3, 16, 257, 25);
    m_labelNomAppli->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto separateur = [this](const char* nom, int y) {
        auto* ligne = new QFrame(m_panelBoutons);
        ligne->setObjectName(QString::fromLatin1(nom));
        ligne->setGeometry(6, y, 252, 2);
        Remplir(ligne, QColor(255, 0, 0));
    };
    separateur("ShapeSeparateurMenu", 38);
    separateur("ShapeSeparateurLangues", 574);

    auto groupe = [this](const char* nom) {
        auto* g = new QButtonGroup(&m_fenetre);
        g->setObjectName(QString::fromLatin1(nom));
        g->setExclusive(true);
        return g;
    };
    m_groupeMenu = groupe("GroupeMenu");
    auto boutonMenu = [this](const char* nom, int tag, int y, const char* glyphe) {
        auto* b = new TBoutonMenu(tag, m_panelBoutons);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(20, y, 225, 49);
        b->setFont(PoliceEcran(13, true));
        b->DefinirGlyphe(Image(glyphe));
        m_groupeMenu->addButton(b, tag);
        return b;
    };
    m_speedButtonAccueil = boutonMenu("SpeedButtonAccueil", EcranAccueil, 72, "glyphe_accueil.png");
    m_speedButtonSession = boutonMenu("SpeedButtonSession", EcranSession, 158, "glyphe_session.png");
    m_speedButtonVueDEnsemble = boutonMenu("SpeedButtonVueDEnsemble", EcranVueDEnsemble, 244, "glyphe_vuedensemble.png");
    m_speedButtonJournal = boutonMenu("SpeedButtonJournal", EcranJournal, 331, "glyphe_journal.png");
    m_speedButtonNotices = boutonMenu("SpeedButtonNotices", EcranNotices, 417, "glyphe_notices.png");
    m_speedButtonConfiguration =
        boutonMenu("SpeedButtonConfiguration", EcranConfiguration, 504, "glyphe_configuration.png");
    m_speedButtonAccueil->setChecked(true);

    m_groupeLangues = groupe("GroupeLangues");
    auto boutonLangue = [this](const char* nom, int tag, int x, const QString& legende) {
        auto* b = new TBoutonMenu(tag, m_panelBoutons);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(x, 592, 77, 31);
        b->setFont(PoliceEcran(11, false));
        b->setText(legende);
        m_groupeLangues->addButton(b, tag);
        return b;
    };
    m_speedButtonEn = boutonLangue("SpeedButtonEn", 2, 12, QStringLiteral("English"));
    m_speedButtonSp = boutonLangue("SpeedButtonSp", 3, 93, QStringLiteral("Español"));
    m_speedButtonFr = boutonLangue("SpeedButtonFr", 1, 175, QStringLiteral("Français"));
    m_speedButtonFr->setChecked(true);
}

void TDispositionFenetre::ConstruireCadre()
{
    TPanneauDecore* panelFrame0 = Panneau(m_client, "PanelFrame0", {264, 109, 760, 642});
    m_panelFrame = new QFrame(panelFrame0);
    m_panelFrame->setObjectName(QStringLiteral("PanelFrame"));
    m_panelFrame->setFrameShape(QFrame::NoFrame);
    m_panelFrame->setGeometry(panelFrame0->contentsRect());
    Remplir(m_panelFrame, CouleursSysteme::FaceBouton);
    m_panelFrame->setFont(PoliceEcran(13, false));
}

void TDispositionFenetre::ConstruireBarreEtat()
{
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

void TDispositionFenetre::Reetiqueter(TLangue langue)
{
    switch (langue) {
    case LangueAnglais: m_speedButtonEn->setChecked(true); break;
    case LangueEspagnol: m_speedButtonSp->setChecked(true); break;
    default: m_speedButtonFr->setChecked(true); break;
    }
    m_fenetre.setWindowTitle(Texte(MsgMenuTitreFenetre, langue));
    m_labelNomAppli->setText(Texte(MsgMenuLabelNomAppli, langue));
    m_speedButtonAccueil->setText(Texte(MsgMenuSpeedButtonAccueil, langue));
    m_speedButtonSession->setText(Texte(MsgAccueilLabelDebutFinSession, langue));
    m_speedButtonVueDEnsemble->setText(Texte(MsgVueDEnsembleLabelVueDEnsemble, langue));
    m_speedButtonJournal->setText(Texte(MsgJournalLabelJournal, langue));
    m_speedButtonNotices->setText(Texte(MsgNoticesLabelNotices, langue));
    m_speedButtonConfiguration->setText(Texte(MsgConfigurationLabelConfiguration, langue));
}

void TDispositionFenetre::DefinirBandeau(const QString& texte)
{
    m_labelBandeau->setText(texte);
}

void TDispositionFenetre::Centrer(const QSize& taille)
{
    m_client->move(std::max(0, (taille.width() - LargeurClient) / 2),
                   std::max(0, (taille.height() - HauteurClient) / 2));
}

TBoutonAppareil* TDispositionFenetre::BoutonMonitoring(int index) const
{
    if (index < 1 || index > static_cast<int>(m_boutons.size()))
        return nullptr;
    return m_boutons[static_cast<std::size_t>(index - 1)];
}

void TDispositionFenetre::DetruireBoutonsMonitoring()
{
    for (TBoutonAppareil* bouton : m_boutons)
        delete bouton;
    m_boutons.clear();
}

void TDispositionFenetre::Colorer(const TEtatBandeau& etat)
{
    if (m_boutons.size() != std::size_t(NbBoutonsMonitoring))
        return;
    // Upper row KMT k at k - 1, lower row QFL 32 + k at 30 + k.
    for (int k = 1; k <= NbSources; ++k) {
        for (auto [bouton, couleurs] : {std::pair{m_boutons[std::size_t(k - 1)], etat.Boutons[k]},
                                        std::pair{m_boutons[std::size_t(30 + k)], etat.BoutonsQFL[k]}}) {
            bouton->DefinirCouleurTexte(couleurs.Texte);
            bouton->DefinirCouleurFace(couleurs.Face);
        }
    }
}
