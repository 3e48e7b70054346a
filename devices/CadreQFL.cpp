#include "devices/CadreQFL.h"

#include "devices/AffichageQFL.h"
#include "sessions/Droits.h"

#include "widgets/Controles.h"

#include "platform/MessagesFenetre.h"
#include "text/MessagesVeilleur.h"
#include "platform/CouleursSysteme.h"
#include "widgets/GrilleDessinee.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QInputMethodEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

namespace {

// A caption that no code changes (units, fixed names).
QLabel* NouveauTexteFixe(QWidget* parent, const QString& texte, const QRect& place)
{
    QLabel* label = NouveauLabel(parent, QString(), place);
    label->setText(texte);
    return label;
}

QLineEdit* NouvelEdit(QWidget* parent, const char* nom, const QRect& place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(nom));
    edit->setGeometry(place);
    return edit;
}

// A raised panel, the container of each tab's controls.
QFrame* NouveauPanel(QWidget* parent, const char* nom, const QRect& place)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(nom));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(place);
    return panel;
}

// An engraved line separating the rows and columns of the settings table.
void NouveauSeparateur(QWidget* parent, const QRect& place, bool vertical)
{
    auto* trait = new QFrame(parent);
    trait->setFrameShape(vertical ? QFrame::VLine : QFrame::HLine);
    trait->setFrameShadow(QFrame::Sunken);
    trait->setGeometry(place);
}

QWidget* NouvellePage(QTabWidget* onglets, const char* nom)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(nom));
    onglets->addTab(page, QString());
    return page;
}

// Layout of one row of the settings table: names, unit and top edge.
struct TPlanReglage {
    const char* Label;
    const char* Edit;
    const char* EditNv;
    const char* Unite;
    const char* Bouton;
    const char* Case;
    int Haut;
    const TTexteLangues* Texte;  // null for the fixed names R1 and R2
    const char* TexteFixe;
};

const TPlanReglage PlanReglages[] = {
    {"LabelITransfo", "EditITransfo", "EditNvITransfo", "mA", "ButtonSetNvITransfo",
     "CheckBoxITransfoNext", 40, &MsgQFLSeuilITransfo, nullptr},
    {"LabelILimiteur", "EditILimiteur", "EditNvILimiteur", "mA", "ButtonSetNvILimiteur",
     "CheckBoxILimiteurNext", 94, &MsgQFLSeuilILimiteur, nullptr},
    {"LabelIDeparts", "EditIDeparts", "EditNvIDeparts", "mA", "ButtonSetNvIDeparts",
     "CheckBoxIDepartsNext", 148, &MsgQFLSeuilIDeparts, nullptr},
    {"LabelRSeuilKMT", "EditRSeuilKMT", "EditNvRSeuilKMT", "kOhm", "ButtonSetNvRSeuil",
     "CheckBoxRSeuilNext", 204, &MsgQFLRSeuilDuKMT, nullptr},
    {"LabelR1", "EditR1", "EditNvR1", "kOhm", "ButtonSetNvR1", "CheckBoxR1Next", 258, nullptr, "R1"},
    {"LabelR2", "EditR2", "EditNvR2", "kOhm", "ButtonSetNvR2", "CheckBoxR2Next", 312, nullptr, "R2"},
    {"LabelTension", "EditTension", "EditNvTension", "V", "ButtonSetNvTension",
     "CheckBoxTensionNext", 368, &MsgQFLTension, nullptr},
};

// Columns of the search history and its one sample row, as the layout keeps them.
constexpr int LargeursHistorique[] = {100, 100, 100, 100, 150, 100};
const char* const LigneExempleHistorique[] = {"QFLXX", "EXX", "15 kOhm", "0.25 mA",
                                              "05/10/03 - 15:36:22", "Neutre"};
// The second column names the unit model: the same word in every language.
const char* const ColonneQFL16 = "QFL16";

// The date column has room to spare: it gives it to headings that need it.
constexpr int ColonneDate = 4;
// Room a list cell leaves around its text.
constexpr int MargeTexteListe = 12;

// List headings show the stored text as it is ("Date && time" included): only
// buttons and labels treat "&&" as the escape of one ampersand.
QString TexteEntete(const TTexteLangues& entree, TLangue langue)
{
    return Texte(entree, langue);
}

}  // namespace

TFrameQFL::TFrameQFL(QWidget* parent)
    : TFrameEnhanced(parent)
{
    LabelTitre = NouveauLabel(this, "LabelTitre", QRect(0, 16, 721, 20), Qt::AlignCenter);
    LabelTitre->setFont(PoliceEcran(16, true));

    BitBtnQuit = NouveauBoutonQuitter(this);
    connect(BitBtnQuit, &QPushButton::clicked, this, &TFrameQFL::BitBtnQuitClick);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(16, 48, 713, 481);
    TabSheetReglages = NouvellePage(PageControl1, "TabSheetReglages");
    TabSheetHistorique = NouvellePage(PageControl1, "TabSheetHistorique");
    TabSheetInfos = NouvellePage(PageControl1, "TabSheetInfos");
    ConstruireReglages(TabSheetReglages);
    ConstruireHistorique(TabSheetHistorique);
    ConstruireInfos(TabSheetInfos);

    QFrame* panel1 = NouveauPanel(this, "Panel1", QRect(16, 544, 713, 73));
    ButtonLancer = new QPushButton(panel1);
    ButtonLancer->setObjectName(QStringLiteral("ButtonLancer"));
    ButtonLancer->setGeometry(192, 16, 329, 41);
    connect(ButtonLancer, &QPushButton::clicked, this, &TFrameQFL::ButtonLancerClick);

    // Between the tabs and the bottom panel: what is known of the device's line.
    LabelEtatCom = NouveauLabel(this, "LabelEtatCom", QRect(16, 529, 713, 15), Qt::AlignCenter);
    LabelEtatCom->setFont(PoliceEcran(11, true));
    QPalette p = LabelEtatCom->palette();
    p.setColor(QPalette::WindowText, AffichageQFL::CouleurDefaut);
    LabelEtatCom->setPalette(p);
    MettreAJourBoutons();
}

void TFrameQFL::ConstruireReglages(QWidget* page)
{
    QFrame* panel6 = NouveauPanel(page, "Panel6", QRect(16, 16, 673, 417));
    LabelActuels = NouveauLabel(panel6, "LabelActuels", QRect(168, 12, 170, 16));
    LabelNouveaux = NouveauLabel(panel6, "LabelNouveaux", QRect(360, 12, 190, 16));

    // The table's rules: columns after the captions and after the current
    // values, a line under the heads and under every row.
    for (int gauche : {152, 344})
        NouveauSeparateur(panel6, QRect(gauche, 8, 2, 401), true);
    for (int haut : {32, 86, 140, 194, 250, 304, 360})
        NouveauSeparateur(panel6, QRect(8, haut, 657, 2), false);

    for (int i = 0; i < NbReglages; ++i) {
        const TPlanReglage& plan = PlanReglages[i];
        const int haut = plan.Haut;
        TLigneReglage& ligne = Reglages[i];
        ligne.Label = NouveauLabel(panel6, plan.Label, QRect(16, haut, 124, 24),
                                   Qt::AlignRight | Qt::AlignVCenter);
        if (plan.TexteFixe)
            ligne.Label->setText(QLatin1String(plan.TexteFixe));
        ligne.EditActuel = NouvelEdit(panel6, plan.Edit, QRect(168, haut, 121, 24));
        ligne.EditActuel->installEventFilter(this);
        NouveauTexteFixe(panel6, QLatin1String(plan.Unite), QRect(296, haut, 46, 24));
        ligne.EditNouveau = NouvelEdit(panel6, plan.EditNv, QRect(360, haut, 121, 24));
        // A number only: the currents in mA with two decimals at most.
        const bool courant = i <= ReglageIDeparts;
        ligne.EditNouveau->setValidator(new QRegularExpressionValidator(
            QRegularExpression(courant ? QStringLiteral("\\d{0,5}([.,]\\d{0,2})?") : QStringLiteral("\\d{0,5}")),
            ligne.EditNouveau));
        NouveauTexteFixe(panel6, QLatin1String(plan.Unite), QRect(488, haut, 64, 24));
        ligne.ButtonSet = new QPushButton(QStringLiteral("OK"), panel6);
        ligne.ButtonSet->setObjectName(QLatin1String(plan.Bouton));
        ligne.ButtonSet->setGeometry(560, haut, 81, 25);
        ligne.CheckBoxNext = new QCheckBox(panel6);
        ligne.CheckBoxNext->setObjectName(QLatin1String(plan.Case));
        ligne.CheckBoxNext->setGeometry(360, haut + 28, 281, 17);
        connect(ligne.ButtonSet, &QPushButton::clicked, this, [this, i] { ButtonSetClick(i); });
    }
    LabelMessage = NouveauLabel(page, "LabelMessage", QRect(16, 436, 673, 16));
    QPalette p = LabelMessage->palette();
    p.setColor(QPalette::WindowText, AffichageQFL::CouleurDefaut);
    LabelMessage->setPalette(p);
}

void TFrameQFL::ConstruireHistorique(QWidget* page)
{
    ListViewHistorique = new QTreeWidget(page);
    ListViewHistorique->setObjectName(QStringLiteral("ListViewHistorique"));
    ListViewHistorique->setGeometry(16, 16, 673, 409);
    ListViewHistorique->setRootIsDecorated(false);
    ListViewHistorique->setItemsExpandable(false);
    ListViewHistorique->setUniformRowHeights(true);
    ListViewHistorique->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewHistorique->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewHistorique->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewHistorique->setAllColumnsShowFocus(true);
    ListViewHistorique->setColumnCount(std::size(LargeursHistorique));
    ListViewHistorique->header()->setStretchLastSection(false);
    ListViewHistorique->header()->setSectionsMovable(false);
    ListViewHistorique->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < static_cast<int>(std::size(LargeursHistorique)); ++c)
        ListViewHistorique->setColumnWidth(c, LargeursHistorique[c]);
    ListViewHistorique->headerItem()->setText(1, QLatin1String(ColonneQFL16));

    auto* exemple = new QTreeWidgetItem(ListViewHistorique);
    for (int c = 0; c < static_cast<int>(std::size(LigneExempleHistorique)); ++c)
        exemple->setText(c, QLatin1String(LigneExempleHistorique[c]));
}

void TFrameQFL::ConstruireInfos(QWidget* page)
{
    QFrame* panel9 = NouveauPanel(page, "Panel9", QRect(16, 16, 673, 209));
    LabelVLogiciel = NouveauLabel(panel9, "LabelVLogiciel", QRect(16, 29, 225, 24),
                                  Qt::AlignRight | Qt::AlignVCenter);
    EditVLogiciel = NouvelEdit(panel9, "EditVLogiciel", QRect(256, 29, 121, 24));
    EditVLogiciel->setReadOnly(true);
    EditVLogiciel->installEventFilter(this);
    LabelAdrReseau = NouveauLabel(panel9, "LabelAdrReseau", QRect(16, 77, 225, 24),
                                  Qt::AlignRight | Qt::AlignVCenter);
    EditAdrReseau = NouvelEdit(panel9, "EditAdrReseau", QRect(256, 77, 121, 24));
    EditAdrReseau->setReadOnly(true);
    EditAdrReseau->installEventFilter(this);
    // Right-aligned so that it ends just before the first column of the grid.
    LabelQFL16Raccordes = NouveauLabel(panel9, "LabelQFL16Raccordes", QRect(16, 128, 230, 16),
                                       Qt::AlignRight | Qt::AlignVCenter);

    // A row of unit numbers over a row of unit states.
    StringGridEtatsQFL16 = new TGrilleDessinee(NbUnitesQFL16, 2, panel9);
    StringGridEtatsQFL16->setObjectName(QStringLiteral("StringGridEtatsQFL16"));
    // Tall enough for the states row under the numbers: two 18-pixel rows, the
    // line between them and the border above and below.
    StringGridEtatsQFL16->setGeometry(49, 150, 590, 39);
    StringGridEtatsQFL16->SetLignesFixes(1);
    StringGridEtatsQFL16->SetColonnesFixes(0);
    StringGridEtatsQFL16->SetLargeurDefaut(18);
    StringGridEtatsQFL16->SetHauteurLigne(18);
    StringGridEtatsQFL16->SetCouleurFond(CouleursSysteme::FaceBouton);
    StringGridEtatsQFL16->SetLignesGrille(true);
    StringGridEtatsQFL16->SetDessinCellule(
        [this](TGrilleDessinee&, QPainter& peintre, int colonne, int ligne, const QRect& rect) {
            StringGridEtatsQFL16DrawCell(peintre, colonne, ligne, rect);
        });

    ButtonRAZMinMax = new QPushButton(page);
    ButtonRAZMinMax->setObjectName(QStringLiteral("ButtonRAZMinMax"));
    ButtonRAZMinMax->setGeometry(16, 240, 329, 33);
    connect(ButtonRAZMinMax, &QPushButton::clicked, this, &TFrameQFL::ButtonRAZMinMaxClick);
}

void TFrameQFL::ChangerLangue(TLangue langue)
{
    ButtonLancer->setText(Texte(MsgQFLRechercheQFL8QFL16, langue));
    PageControl1->setTabText(PageControl1->indexOf(TabSheetReglages), Texte(MsgQFLReglages, langue));
    LabelActuels->setText(Texte(MsgQFLActuels, langue));
    LabelNouveaux->setText(Texte(MsgQFLNouveaux, langue));
    for (int i = 0; i < NbReglages; ++i) {
        if (PlanReglages[i].Texte)
            Reglages[i].Label->setText(Texte(*PlanReglages[i].Texte, langue));
        Reglages[i].CheckBoxNext->setText(Texte(MsgQFLAppliquerAuxQFLSuivants, langue));
    }

    PageControl1->setTabText(PageControl1->indexOf(TabSheetHistorique), Texte(MsgQFLHistorique, langue));
    // Column 1 is the fixed model name.
    QTreeWidgetItem* entetes = ListViewHistorique->headerItem();
    entetes->setText(0, TexteEntete(MsgQFLDepartN, langue));
    entetes->setText(2, TexteEntete(MsgQFLRDefaut, langue));
    entetes->setText(3, TexteEntete(MsgQFLIDefaut, langue));
    entetes->setText(4, TexteEntete(MsgQFLDateEtHeure, langue));
    entetes->setText(5, TexteEntete(MsgQFLCond, langue));
    AjusterColonnesHistorique();

    PageControl1->setTabText(PageControl1->indexOf(TabSheetInfos), Texte(MsgQFLInfos, langue));
    LabelVLogiciel->setText(Texte(MsgQFLVersionDuLogiciel, langue));
    LabelAdrReseau->setText(Texte(MsgKMTAdresseSurLeReseau, langue));
    LabelQFL16Raccordes->setText(Texte(MsgQFLQFL16Raccordes, langue));

    ButtonRAZMinMax->setText(Texte(MsgQFLRAZMinMax, langue));

    // Kept for the title, which is built once when the screen opens.
    TexteNumero = Texte(MsgVueDEnsembleStringGridNumSourceN, langue);
    m_langue = langue;
    // The texts that come with the data follow the language too.
    m_historiqueAJour = false;
    if (m_aDesDonnees)
        Actualiser(m_donnees);
    else
        MettreAJourBoutons();
}

// The layout's column widths, widened where a heading would be cut off; what
// that costs is taken from the date column, as long as its own texts still fit,
// so that the list needs no horizontal scrolling.
void TFrameQFL::AjusterColonnesHistorique()
{
    QHeaderView* entete = ListViewHistorique->header();
    const int nbColonnes = static_cast<int>(std::size(LargeursHistorique));
    int total = 0;
    for (int c = 0; c < nbColonnes; ++c) {
        const int largeur = std::max(LargeursHistorique[c], entete->sectionSizeHint(c));
        ListViewHistorique->setColumnWidth(c, largeur);
        total += largeur;
    }
    const int disponible = ListViewHistorique->width() - 2 * ListViewHistorique->frameWidth();
    const int exces = total - disponible;
    if (exces > 0) {
        int minimum = entete->sectionSizeHint(ColonneDate);
        const QFontMetrics mesure(ListViewHistorique->font());
        for (int i = 0; i < ListViewHistorique->topLevelItemCount(); ++i) {
            const QString texte = ListViewHistorique->topLevelItem(i)->text(ColonneDate);
            minimum = std::max(minimum, mesure.horizontalAdvance(texte) + MargeTexteListe);
        }
        const int largeur = ListViewHistorique->columnWidth(ColonneDate);
        ListViewHistorique->setColumnWidth(ColonneDate, std::max(minimum, largeur - exces));
    }
}

void TFrameQFL::Initialiser(const TInfosQFL& bloc)
{
    PageControl1->setCurrentWidget(TabSheetReglages);

    HandlePrincipal = bloc.Handle;
    NumAppareil = bloc.NumAppareil;
    EcranRetour = bloc.EcranRetour;
    AppareilRetour = bloc.AppareilRetour;
    // The strip numbers QFL devices 33..63; the operator knows them by source, 1..31.
    QString titre = QStringLiteral("QFL8 ") + TexteNumero + QLatin1Char(' ')
                    + QString::number(NumAppareil - DecalageQFL);
    if (!bloc.NomAppareil.isEmpty())
        titre += QStringLiteral(" / ") + bloc.NomAppareil;
    LabelTitre->setText(titre);

    for (TLigneReglage& ligne : Reglages) {
        ligne.EditActuel->clear();
        ligne.EditNouveau->clear();
    }
    EditVLogiciel->clear();
    // The network address is the device number itself, as the strip shows it.
    EditAdrReseau->setText(QString::number(NumAppareil));

    for (int colonne = 0; colonne < NbUnitesQFL16; ++colonne)
        StringGridEtatsQFL16->SetCellule(colonne, 0, QString::number(colonne + 1));
}

void TFrameQFL::BitBtnQuitClick()
{
    PosterEcran(HandlePrincipal, EcranRetour, AppareilRetour);
}

void TFrameQFL::ButtonLancerClick()
{
    PosterEcran(HandlePrincipal, EcranRecherche, NumAppareil);
}

void TFrameQFL::DefinirCommandes(TCommandesQFL* commandes, std::uint8_t mode)
{
    m_commandes = commandes;
    m_mode = mode;
    MettreAJourBoutons();
}

void TFrameQFL::Actualiser(const TDonneesQFL& d)
{
    if (!m_aDesDonnees || d.Recherche.Defauts != m_donnees.Recherche.Defauts || d.ResultatsConnus != m_donnees.ResultatsConnus)
        m_historiqueAJour = false;
    m_aDesDonnees = true;
    m_donnees = d;
    for (int i = 0; i < NbReglages; ++i) {
        const QString texte = d.ReglagesConnus ? AffichageQFL::TexteReglage(i, d.Reglages[std::size_t(i)]) : QString();
        if (Reglages[i].EditActuel->text() != texte)
            Reglages[i].EditActuel->setText(texte);
    }
    const QString version = d.Present ? QString::number(d.VLogiciel) : QString();
    if (EditVLogiciel->text() != version)
        EditVLogiciel->setText(version);
    LabelEtatCom->setText(AffichageQFL::TexteCommunication(d, m_langue));
    // The values of a lost device are of unknown age: shown greyed, as on the
    // KMT screen; its units' states row tells nothing, as the strip.
    const bool perdu = d.EtatCom == ComPerdue;
    for (TLigneReglage& ligne : Reglages)
        ligne.EditActuel->setEnabled(!perdu);
    EditVLogiciel->setEnabled(!perdu);
    if (!m_historiqueAJour)
        RemplirHistorique();
    StringGridEtatsQFL16->update();
    MettreAJourBoutons();
}

// The device's faults, newest first, in place of the layout's sample row.
void TFrameQFL::RemplirHistorique()
{
    m_historiqueAJour = true;
    ListViewHistorique->clear();
    if (!m_donnees.ResultatsConnus)
        return;
    for (const TDefautQFL& f : m_donnees.Recherche.Defauts) {
        if (f.Depart == 0)
            continue;
        auto* ligne = new QTreeWidgetItem(ListViewHistorique);
        ligne->setText(0, QString::number(f.Depart));
        ligne->setText(1, f.Unite == 0 ? QStringLiteral("-") : QString::number(f.Unite));
        ligne->setText(2, AffichageQFL::TexteResistance(f.R) + QStringLiteral(" kOhm"));
        ligne->setText(3, AffichageQFL::TexteCourant(f.I) + QStringLiteral(" mA"));
        ligne->setText(4, AffichageQFL::DateCourte(f.Date));
        ligne->setText(5, AffichageQFL::NomConducteur(f.Conducteur, m_langue));
    }
    AjusterColonnesHistorique();
}

void TFrameQFL::MettreAJourBoutons()
{
    // Commands need a carrier and a device that answers; the rights come first.
    const bool possible = m_commandes && m_aDesDonnees && m_donnees.EtatCom == ComEnLigne;
    const QString raison = m_aDesDonnees ? AffichageQFL::TexteCommunication(m_donnees, m_langue) : QString();
    for (TLigneReglage& ligne : Reglages)
        AffichageQFL::Autoriser(ligne.ButtonSet, EDroit::ReglerSeuils, m_mode, m_langue, possible, raison);
    AffichageQFL::Autoriser(ButtonRAZMinMax, EDroit::ReglerSeuils, m_mode, m_langue, possible, raison);
}

void TFrameQFL::Signaler(const QString& texte)
{
    LabelMessage->setText(texte);
}

void TFrameQFL::ButtonSetClick(int reglage)
{
    // The mode may have changed since the buttons were last set.
    if (!m_commandes || reglage < 0 || reglage >= NbReglages || !Droit(EDroit::ReglerSeuils, m_mode, false).Accorde)
        return;
    const TLigneReglage& ligne = Reglages[reglage];
    long long valeur = 0;
    if (!AffichageQFL::LireReglage(reglage, ligne.EditNouveau->text(), valeur) || !ReglageQFLValide(reglage, valeur)) {
        Signaler(Texte(MsgQFLHorsPlage, m_langue)
                     .arg(AffichageQFL::TexteReglage(reglage, MinReglageQFL[reglage]),
                          AffichageQFL::TexteReglage(reglage, MaxReglageQFL[reglage]), AffichageQFL::Unite(reglage)));
        return;
    }
    Signaler(QString());
    m_commandes->EcrireReglageQFL(NumAppareil, reglage, static_cast<int>(valeur), ligne.CheckBoxNext->isChecked());
}

void TFrameQFL::ButtonRAZMinMaxClick()
{
    if (m_commandes && Droit(EDroit::ReglerSeuils, m_mode, false).Accorde)
        m_commandes->RAZMinMaxQFL(NumAppareil);
}

void TFrameQFL::Retour(ERetourQFL retour)
{
    Signaler(AffichageQFL::TexteRetour(retour, m_langue));
}

void TFrameQFL::StringGridEtatsQFL16DrawCell(QPainter& peintre, int colonne, int ligne,
                                             const QRect& rect)
{
    if (ligne == 1) {
        // The states row: filled for a connected unit, in the alarm colour for
        // the unit where the last search found the fault.
        QColor fond = CouleursSysteme::FaceBouton;
        const int unite = colonne + 1;
        if (m_aDesDonnees && (m_donnees.Unites >> colonne & 1u))
            fond = AffichageQFL::CouleurRaccorde;
        const TDefautQFL* defaut = m_aDesDonnees ? DefautDerniereRecherche(m_donnees) : nullptr;
        if (defaut && defaut->Unite == unite)
            fond = AffichageQFL::CouleurDefaut;
        if (m_aDesDonnees && m_donnees.EtatCom == ComPerdue)
            fond = AffichageQFL::CouleurInconnu;
        peintre.fillRect(rect, fond);
        return;
    }
    const QString texte = StringGridEtatsQFL16->Cellule(colonne, ligne);
    const int largeur = StringGridEtatsQFL16->AjusterPolice(peintre, texte, rect.width() - 2);
    TGrilleDessinee::TexteRect(peintre, rect,
                               TGrilleDessinee::PositionCentree(rect.left(), rect.width(), largeur),
                               rect.top() + 2, texte, CouleursSysteme::FaceBouton);
}

bool TFrameQFL::eventFilter(QObject* objet, QEvent* evenement)
{
    if (evenement->type() == QEvent::KeyPress && EditKeyPress(evenement))
        return true;
    // Text composed by an input method is typed text too.
    if (evenement->type() == QEvent::InputMethod
        && !static_cast<QInputMethodEvent*>(evenement)->commitString().isEmpty())
        return true;
    return TFrameEnhanced::eventFilter(objet, evenement);
}

bool TFrameQFL::EditKeyPress(QEvent* evenement)
{
    const auto* touche = static_cast<QKeyEvent*>(evenement);
    // Only typed characters are eaten: focus moves and the Delete key are no typing.
    switch (touche->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return !touche->text().isEmpty();
    }
}
