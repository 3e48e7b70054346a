#include "screens/CadreConfiguration.h"

#include "widgets/Controles.h"

#include "data/ConfigSet.h"
#include "data/ErreurVeilleur.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "platform/SondePort.h"
#include "text/MessagesVeilleur.h"
#include "widgets/CaseACocherGlyphe.h"
#include "platform/CouleursSysteme.h"

#include <QAbstractItemDelegate>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>

namespace {

// Privileges table, in Panel1's coordinates: the grid lines of its columns
// (row heads, CONSULTATION, EXPLOITATION, ADMINISTRATION) and of its rows (two
// heading rows, then the four privileges).
constexpr int LignesX[] = {7, 219, 339, 459, 579};
constexpr int LignesY[] = {8, 30, 52, 73, 94, 115, 136};

// Rectangle from grid line to grid line, both lines included, so that
// neighbouring cells share their border pixel.
QRect Cellule(int x0, int y0, int x1, int y1)
{
    return QRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

// Port group: buttons in three columns, as many rows as needed (scrolled).
constexpr int ColonnesPorts = 3;
constexpr int LargeurBoutonPort = 74;
constexpr int HauteurBoutonPort = 16;

constexpr int LargeurColonneNumero = 18;
constexpr int HauteurLigneNoms = 18;

// A label whose width follows its text, from a fixed top-left corner.
QLabel* NouveauLabelAjuste(QWidget* parent, const char* nom, int gauche, int haut)
{
    return NouveauLabel(parent, nom, QRect(gauche, haut, 10, 16));
}

void AjusterLargeur(QLabel* label)
{
    label->resize(label->sizeHint().width(), label->height());
}

QFrame* NouveauTrait(QWidget* parent, const char* nom, const QRect& zone)
{
    auto* forme = new QFrame(parent);
    forme->setObjectName(QLatin1String(nom));
    forme->setFrameStyle(QFrame::Box | QFrame::Plain);
    forme->setLineWidth(1);
    forme->setGeometry(zone);
    forme->setAttribute(Qt::WA_TransparentForMouseEvents);
    return forme;
}

} // namespace

// Marks the scan (busy screen, scan flag) for its duration. The shell defers
// whatever would destroy the screen while it is busy; should the screen die
// under the scan all the same, the mark must not touch it any more.
class TFrameConfiguration::TMarqueScan {
public:
    explicit TMarqueScan(TFrameConfiguration& ecran)
        : m_ecran(&ecran), m_occupation(new TOccupationEcran(ecran))
    {
        ecran.m_scanEnCours = true;
    }
    ~TMarqueScan()
    {
        if (m_ecran) {
            m_ecran->m_scanEnCours = false;
            // Last: releasing emits Libere(), whose receivers may act on the screen.
            delete m_occupation;
        } else {
            // The busy counter died with the screen; only the mark's own storage is left.
            ::operator delete(m_occupation);
        }
    }
    TMarqueScan(const TMarqueScan&) = delete;
    TMarqueScan& operator=(const TMarqueScan&) = delete;

    bool EcranVivant() const { return !m_ecran.isNull(); }

private:
    QPointer<TFrameConfiguration> m_ecran;
    TOccupationEcran* m_occupation;
};

TFrameConfiguration::TFrameConfiguration(QWidget* parent)
    : TFrameEnhanced(parent), m_sonde(std::make_unique<TSondePortSerie>())
{
    setFont(PoliceEcran(13));

    LabelTitre = NouveauLabel(this, "LabelTitre", QRect(16, 16, 721, 20), Qt::AlignCenter);
    LabelTitre->setFont(PoliceEcran(16, true));

    LabelMsgAdmin = NouveauLabel(this, "LabelMsgAdmin", QRect(16, 56, 721, 23), Qt::AlignCenter);
    QFont souligne = PoliceEcran(13);
    souligne.setUnderline(true);
    LabelMsgAdmin->setFont(souligne);
    QPalette marine = LabelMsgAdmin->palette();
    marine.setColor(QPalette::WindowText, QColor(0, 0, 128));
    LabelMsgAdmin->setPalette(marine);
    LabelMsgAdmin->setCursor(Qt::PointingHandCursor);
    LabelMsgAdmin->installEventFilter(this);

    GroupBoxConfig = new QGroupBox(this);
    GroupBoxConfig->setObjectName(QStringLiteral("GroupBoxConfig"));
    GroupBoxConfig->setGeometry(16, 88, 713, 529);

    Bevel1 = new QFrame(GroupBoxConfig);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setLineWidth(1);
    Bevel1->setGeometry(8, 24, 697, 442);
    Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);

    LabelTableau = NouveauLabelAjuste(GroupBoxConfig, "LabelTableau", 24, 32);
    ConstruireTableauPrivileges(GroupBoxConfig);

    LabelSources = NouveauLabelAjuste(GroupBoxConfig, "LabelSources", 24, 216);

    ValueListEditorNomSources = new QTableWidget(1, 2, GroupBoxConfig);
    ValueListEditorNomSources->setObjectName(QStringLiteral("ValueListEditorNomSources"));
    ValueListEditorNomSources->setGeometry(64, 240, 265, 210);
    ValueListEditorNomSources->verticalHeader()->hide();
    ValueListEditorNomSources->verticalHeader()->setMinimumSectionSize(HauteurLigneNoms);
    ValueListEditorNomSources->verticalHeader()->setDefaultSectionSize(HauteurLigneNoms);
    ValueListEditorNomSources->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* titres = ValueListEditorNomSources->horizontalHeader();
    titres->setMinimumSectionSize(LargeurColonneNumero);
    titres->setSectionResizeMode(0, QHeaderView::Fixed);
    titres->resizeSection(0, LargeurColonneNumero);
    // The name column takes the rest of the width, as the scroll bar leaves it.
    titres->setSectionResizeMode(1, QHeaderView::Stretch);
    titres->setSectionsClickable(false);
    titres->setHighlightSections(false);
    titres->setFixedHeight(HauteurLigneNoms + 1);
    // "N°" and "31" are a little wider than their column's text margins: they
    // overflow into the margins rather than turn into an ellipsis.
    titres->setTextElideMode(Qt::ElideNone);
    ValueListEditorNomSources->setTextElideMode(Qt::ElideNone);
    ValueListEditorNomSources->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ValueListEditorNomSources->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ValueListEditorNomSources->setSelectionMode(QAbstractItemView::SingleSelection);
    // The name under the cursor is always open for typing.
    ValueListEditorNomSources->setEditTriggers(QAbstractItemView::AllEditTriggers);
    ValueListEditorNomSources->setTabKeyNavigation(false);
    // Placeholder row of the empty screen, replaced when the record is shown.
    ValueListEditorNomSources->setItem(0, 0, new QTableWidgetItem());
    ValueListEditorNomSources->setItem(0, 1, new QTableWidgetItem());

    LabelPortsDeCommunication = NouveauLabelAjuste(GroupBoxConfig, "LabelPortsDeCommunication", 368, 216);

    RadioGroupPortsComDispos = new QGroupBox(GroupBoxConfig);
    RadioGroupPortsComDispos->setObjectName(QStringLiteral("RadioGroupPortsComDispos"));
    RadioGroupPortsComDispos->setGeometry(400, 240, 249, 73);
    ZonePorts = new QScrollArea(RadioGroupPortsComDispos);
    ZonePorts->setObjectName(QStringLiteral("ZonePorts"));
    ZonePorts->setGeometry(8, 19, 235, 3 * HauteurBoutonPort);
    ZonePorts->setFrameShape(QFrame::NoFrame);
    ZonePorts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ZonePorts->verticalScrollBar()->setSingleStep(HauteurBoutonPort);
    ZonePorts->setWidgetResizable(false);
    ZonePorts->viewport()->setAutoFillBackground(false);
    ConteneurPorts = new QWidget;
    ConteneurPorts->setObjectName(QStringLiteral("ConteneurPorts"));
    ConteneurPorts->resize(ColonnesPorts * LargeurBoutonPort, 0);
    ZonePorts->setWidget(ConteneurPorts);
    // The scroll area paints its widget's background; the buttons sit on the group's face.
    ConteneurPorts->setAutoFillBackground(false);
    BoutonsPorts = new QButtonGroup(this);
    BoutonsPorts->setExclusive(true);

    ButtonValider = new QPushButton(GroupBoxConfig);
    ButtonValider->setObjectName(QStringLiteral("ButtonValider"));
    ButtonValider->setGeometry(216, 477, 281, 41);
    connect(ButtonValider, &QPushButton::clicked, this, [this] { ButtonValiderClick(); });
}

TFrameConfiguration::~TFrameConfiguration() = default;

void TFrameConfiguration::ConstruireTableauPrivileges(QWidget* groupe)
{
    Panel1 = new QFrame(groupe);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(64, 56, 586, 145);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);
    QPalette blanc = Panel1->palette();
    blanc.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(blanc);
    Panel1->setAutoFillBackground(true);

    const auto& x = LignesX;
    const auto& y = LignesY;

    // Cell borders: heading cells, the four privilege rows across the table,
    // and two columns of the body that draw the remaining vertical lines.
    NouveauTrait(Panel1, "Shape1", Cellule(x[0], y[0], x[1], y[2]));
    NouveauTrait(Panel1, "Shape2", Cellule(x[1], y[0], x[4], y[1]));
    NouveauTrait(Panel1, "Shape4", Cellule(x[1], y[1], x[2], y[2]));
    NouveauTrait(Panel1, "Shape6", Cellule(x[2], y[1], x[3], y[2]));
    NouveauTrait(Panel1, "Shape8", Cellule(x[3], y[1], x[4], y[2]));
    NouveauTrait(Panel1, "Shape10", Cellule(x[0], y[2], x[4], y[3]));
    NouveauTrait(Panel1, "Shape12", Cellule(x[0], y[3], x[4], y[4]));
    NouveauTrait(Panel1, "Shape14", Cellule(x[0], y[4], x[4], y[5]));
    NouveauTrait(Panel1, "Shape16", Cellule(x[0], y[5], x[4], y[6]));
    NouveauTrait(Panel1, "Shape17", Cellule(x[2], y[2], x[3], y[6]));
    NouveauTrait(Panel1, "Shape18", Cellule(x[0], y[2], x[1], y[6]));

    // Texts inside a cell, clear of its border lines.
    auto interieur = [](int x0, int y0, int x1, int y1) { return QRect(x0 + 1, y0 + 1, x1 - x0 - 1, y1 - y0 - 1); };
    const int milieuEntete = (y[0] + y[2]) / 2;
    LabelPrivileges1 = NouveauLabel(Panel1, "LabelPrivileges1", QRect(x[0] + 1, milieuEntete - 16, x[1] - x[0] - 1, 16),
                                    Qt::AlignHCenter | Qt::AlignBottom);
    LabelPrivileges2 = NouveauLabel(Panel1, "LabelPrivileges2", QRect(x[0] + 1, milieuEntete, x[1] - x[0] - 1, 16),
                                    Qt::AlignHCenter | Qt::AlignTop);
    LabelModeFonctionnement = NouveauLabel(Panel1, "LabelModeFonctionnement", interieur(x[1], y[0], x[4], y[1]), Qt::AlignCenter);
    LabelConsultation = NouveauLabel(Panel1, "LabelConsultation", interieur(x[1], y[1], x[2], y[2]), Qt::AlignCenter);
    LabelExploitation = NouveauLabel(Panel1, "LabelExploitation", interieur(x[2], y[1], x[3], y[2]), Qt::AlignCenter);
    LabelAdministration = NouveauLabel(Panel1, "LabelAdministration", interieur(x[3], y[1], x[4], y[2]), Qt::AlignCenter);

    auto enteteLigne = [&](const char* nom, int ligne) {
        QRect zone = interieur(x[0], y[ligne], x[1], y[ligne + 1]);
        zone.setLeft(zone.left() + 5);
        return NouveauLabel(Panel1, nom, zone);
    };
    LabelLectureMesures = enteteLigne("LabelLectureMesures", 2);
    LabelAcqDesAlarmes = enteteLigne("LabelAcqDesAlarmes", 3);
    LabelReglageSeuils = enteteLigne("LabelReglageSeuils", 4);
    LabelGestionListeUtilisateurs = enteteLigne("LabelGestionListeUtilisateurs", 5);

    // Cells: column 1 CONSULTATION, 2 EXPLOITATION, 3 ADMINISTRATION.
    auto caseCellule = [&](const char* nom, int ligne, int colonne) {
        auto* boite = new TCaseACocherGlyphe(Panel1);
        boite->setObjectName(QLatin1String(nom));
        const QRect cellule = Cellule(x[colonne], y[ligne], x[colonne + 1], y[ligne + 1]);
        const QSize taille = boite->sizeHint();
        boite->setGeometry(QRect(QPoint(0, 0), taille).translated(cellule.center() - QRect(QPoint(0, 0), taille).center()));
        return boite;
    };
    auto caseFixe = [&](const char* nom, int ligne, int colonne) {
        TCaseACocherGlyphe* boite = caseCellule(nom, ligne, colonne);
        boite->setChecked(true);
        boite->setEnabled(false);
    };
    caseFixe("CheckBoxLectureConsultation", 2, 1);
    caseFixe("CheckBoxLectureExploitation", 2, 2);
    caseFixe("CheckBoxLectureAdministration", 2, 3);
    CheckBoxAcqAlarmes = caseCellule("CheckBoxAcqAlarmes", 3, 1);
    caseFixe("CheckBoxAcqExploitation", 3, 2);
    caseFixe("CheckBoxAcqAdministration", 3, 3);
    caseFixe("CheckBoxReglageExploitation", 4, 2);
    caseFixe("CheckBoxReglageAdministration", 4, 3);
    caseFixe("CheckBoxGestionAdministration", 5, 3);
}

void TFrameConfiguration::DefinirSonde(std::unique_ptr<TSondePort> sonde)
{
    // The scan in progress keeps calling the probe it started with.
    if (m_scanEnCours || !sonde)
        return;
    m_sonde = std::move(sonde);
}

int TFrameConfiguration::NumPortListe(int k) const
{
    return k >= 1 && k <= m_nbPorts ? NumPortsListe[k] : 0;
}

void TFrameConfiguration::ChangerLangue(TLangue langue)
{
    TFrameEnhanced::ChangerLangue(langue);
    LabelTitre->setText(Texte(MsgConfigurationConfiguration, langue));
    LabelMsgAdmin->setText(Texte(MsgConfigurationFenetreModifiableEnModeAdministration, langue));
    LabelTableau->setText(Texte(MsgConfigurationModeFonctionnementPrivileges, langue));
    LabelPrivileges1->setText(Texte(MsgConfigurationPrivilegesDes, langue));
    LabelPrivileges2->setText(Texte(MsgConfigurationUtilisateurs, langue));
    LabelModeFonctionnement->setText(Texte(MsgConfigurationModeDeFonctionnement, langue));
    LabelConsultation->setText(Texte(MsgConfigurationConsultation, langue));
    LabelExploitation->setText(Texte(MsgConfigurationExploitation, langue));
    LabelAdministration->setText(Texte(MsgConfigurationAdministration, langue));
    LabelLectureMesures->setText(Texte(MsgConfigurationLectureDesMesures, langue));
    LabelAcqDesAlarmes->setText(Texte(MsgConfigurationAcquittementDesAlarmes, langue));
    LabelReglageSeuils->setText(Texte(MsgConfigurationReglagesDesSeuils, langue));
    LabelGestionListeUtilisateurs->setText(Texte(MsgConfigurationGestionListeUtilisateurs, langue));
    LabelPortsDeCommunication->setText(Texte(MsgConfigurationPortsDeCommunication, langue));
    LabelSources->setText(Texte(MsgConfigurationNomDesSources, langue));
    ValueListEditorNomSources->setHorizontalHeaderLabels(
        {Texte(MsgConfigurationN, langue), Texte(MsgConfigurationSource, langue)});
    ButtonValider->setText(Texte(MsgConfigurationEnregistrerConfiguration, langue));
    AjusterLargeur(LabelTableau);
    AjusterLargeur(LabelSources);
    AjusterLargeur(LabelPortsDeCommunication);

    // Relabelled during a scan, the group shows the new caption with the
    // progress of the scan, and keeps it once the scan is over.
    m_legendePorts = Texte(MsgConfigurationPortsExistants, langue);
    AfficherLegendePorts();
    m_langue = langue;
    AppliquerDroit();
}

void TFrameConfiguration::DefinirDroitModification(const TDroit& droit)
{
    m_droit = droit;
    AppliquerDroit();
}

void TFrameConfiguration::AppliquerDroit()
{
    const bool modifiable = m_droit.Accorde;
    const QString raison = modifiable ? QString() : TexteMessageSession(m_droit.Raison, m_langue);
    // An edit under way ends with the right: nothing typed can be kept.
    ValueListEditorNomSources->setEditTriggers(modifiable ? QAbstractItemView::AllEditTriggers
                                                          : QAbstractItemView::NoEditTriggers);
    // An editor already open closes without storing anything.
    if (!modifiable && !ValueListEditorNomSources->viewport()->findChildren<QLineEdit*>().isEmpty())
        ValueListEditorNomSources->reset();
    CheckBoxAcqAlarmes->setEnabled(modifiable);
    ConteneurPorts->setEnabled(modifiable);
    ButtonValider->setEnabled(modifiable);
    for (QWidget* champ : std::initializer_list<QWidget*>{ValueListEditorNomSources, CheckBoxAcqAlarmes,
                                                          RadioGroupPortsComDispos, ButtonValider})
        champ->setToolTip(raison);
}

void TFrameConfiguration::Initialiser(const TInfosConfiguration& infos)
{
    m_handle = infos.Handle;
    m_charge = false;
}

void TFrameConfiguration::Actualiser(TConfigSet& config)
{
    m_config = &config;
    CheckBoxAcqAlarmes->setChecked(config.AcqAlarmesConsultation != 0);
    RemplirNoms();
    // Called again while its scan is processing events: the running scan goes
    // on (it reads the port to preselect from the record now shown).
    if (m_scanEnCours)
        return;
    ScannerPorts();
}

void TFrameConfiguration::RemplirNoms()
{
    // Every row is rebuilt, the placeholder row of the empty screen included.
    ValueListEditorNomSources->setRowCount(0);
    ValueListEditorNomSources->setRowCount(NbSources);
    for (int k = 1; k <= NbSources; ++k) {
        auto* numero = new QTableWidgetItem(QString::number(k));
        numero->setFlags(Qt::ItemIsEnabled);
        numero->setTextAlignment(Qt::AlignCenter);
        numero->setBackground(CouleursSysteme::FaceBouton);
        ValueListEditorNomSources->setItem(k - 1, 0, numero);
        ValueListEditorNomSources->setItem(k - 1, 1, new QTableWidgetItem(LireChaine(m_config->NomsSources[k])));
    }
}

void TFrameConfiguration::ViderPorts()
{
    for (QAbstractButton* bouton : BoutonsPorts->buttons()) {
        BoutonsPorts->removeButton(bouton);
        delete bouton;
    }
    m_nbPorts = 0;
    NumPortsListe = {};
    ConteneurPorts->resize(ConteneurPorts->width(), 0);
}

void TFrameConfiguration::ScannerPorts()
{
    TMarqueScan marque(*this);
    ViderPorts();
    // Widgets paint through a back buffer already: the caption changes below
    // cannot flicker.
    for (int n = 1; n <= NbMaxPorts; ++n) {
        m_portSonde = n;
        AfficherLegendePorts();
        // Paints the caption and keeps the window alive; requests that would
        // replace or relabel the screen wait until it is released.
        QCoreApplication::processEvents();
        if (!marque.EcranVivant())
            return;
        if (m_sonde->Present(n))
            AjouterPort(n);
    }
    m_portSonde = 0;
    AfficherLegendePorts();
    m_charge = true;
}

void TFrameConfiguration::AjouterPort(int numero)
{
    const int k = m_nbPorts + 1;
    if (k > NbMaxPorts)
        return;
    auto* bouton = new QRadioButton(QStringLiteral("COM%1").arg(numero), ConteneurPorts);
    bouton->setObjectName(QStringLiteral("RadioButtonCOM%1").arg(numero));
    const int colonne = (k - 1) % ColonnesPorts;
    const int ligne = (k - 1) / ColonnesPorts;
    bouton->setGeometry(colonne * LargeurBoutonPort, ligne * HauteurBoutonPort, LargeurBoutonPort, HauteurBoutonPort);
    BoutonsPorts->addButton(bouton, k);
    ConteneurPorts->resize(ConteneurPorts->width(), (ligne + 1) * HauteurBoutonPort);
    bouton->show();
    if (m_config && numero == m_config->PortCom)
        bouton->setChecked(true);
    NumPortsListe[k] = numero;
    m_nbPorts = k;
}

void TFrameConfiguration::AfficherLegendePorts()
{
    if (m_portSonde > 0)
        RadioGroupPortsComDispos->setTitle(m_legendePorts + QStringLiteral(" COM%1 ? ").arg(m_portSonde));
    else
        RadioGroupPortsComDispos->setTitle(m_legendePorts);
}

void TFrameConfiguration::TerminerSaisieNoms()
{
    // A name still in its editor (the save reached by keyboard, or called
    // directly) is taken as typed.
    const auto editeurs = ValueListEditorNomSources->viewport()->findChildren<QLineEdit*>();
    for (QLineEdit* editeur : editeurs)
        if (!editeur->isHidden())
            emit ValueListEditorNomSources->itemDelegate()->commitData(editeur);
}

void TFrameConfiguration::ButtonValiderClick()
{
    if (!m_config || !m_droit.Accorde)
        return;
    TerminerSaisieNoms();
    m_config->AcqAlarmesConsultation = CheckBoxAcqAlarmes->isChecked() ? 1 : 0;
    const int k = BoutonsPorts->checkedId();
    if (k >= 1 && k <= m_nbPorts)
        m_config->PortCom = NumPortsListe[k];
    for (int source = 1; source <= NbSources; ++source) {
        QTableWidgetItem* nom = ValueListEditorNomSources->item(source - 1, 1);
        // Cut to the slot's 100 characters by the store itself.
        EcrireChaine(m_config->NomsSources[source], nom ? nom->text() : QString());
        // Shown as stored ("?" for a character Windows-1252 lacks), as the
        // other screens will show it.
        if (nom)
            nom->setText(LireChaine(m_config->NomsSources[source]));
    }
    try {
        EnregistrerConfig(*m_config, QString::fromLatin1(NomFichierConfig));
    } catch (const EErreurVeilleur& erreur) {
        SignalerErreur(erreur.Texte());
    }
}

void TFrameConfiguration::LabelMsgAdminClick()
{
    if (m_charge)
        PosterEcran(m_handle, EcranSession, 0);
}

bool TFrameConfiguration::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == LabelMsgAdmin && evenement->type() == QEvent::MouseButtonRelease) {
        const auto* souris = static_cast<QMouseEvent*>(evenement);
        if (souris->button() == Qt::LeftButton && LabelMsgAdmin->rect().contains(souris->position().toPoint())) {
            LabelMsgAdminClick();
            return true;
        }
    }
    return TFrameEnhanced::eventFilter(objet, evenement);
}
