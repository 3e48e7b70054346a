#include "screens/CadreSession.h"

#include "widgets/Controles.h"

#include "text/MessagesVeilleur.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QStyleFactory>
#include <QTreeWidget>

namespace {

// Right edge of the three captions in front of the password fields.
constexpr int DroiteLabelsMotDePasse = 289;

QLineEdit* NouveauChamp(QWidget* parent, const char* nom, const QRect& place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(nom));
    edit->setGeometry(place);
    return edit;
}

// Items of a drop-down list drawn as list rows of a fixed height.
class TElementsDeHauteurFixe : public QStyledItemDelegate {
public:
    TElementsDeHauteurFixe(int hauteur, QObject* parent) : QStyledItemDelegate(parent), m_hauteur(hauteur) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_hauteur};
    }

private:
    int m_hauteur;
};

QPushButton* NouveauBouton(QWidget* parent, const char* nom, const QRect& place)
{
    auto* bouton = new QPushButton(parent);
    bouton->setObjectName(QLatin1String(nom));
    bouton->setGeometry(place);
    bouton->setAutoDefault(false);
    return bouton;
}

QGroupBox* NouveauGroupe(QWidget* parent, const char* nom, const QRect& place)
{
    auto* groupe = new QGroupBox(parent);
    groupe->setObjectName(QLatin1String(nom));
    groupe->setGeometry(place);
    return groupe;
}

// The application's style, except that password fields mask each character with "*".
class TStyleMotDePasse : public QProxyStyle {
public:
    TStyleMotDePasse()
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
    {
    }

    int styleHint(StyleHint indice, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* retour) const override
    {
        if (indice == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(indice, option, widget, retour);
    }
};

void AjusterLargeur(QLabel* label)
{
    label->resize(label->sizeHint().width(), label->height());
}

void AjusterADroite(QLabel* label, int droite)
{
    const int largeur = label->sizeHint().width();
    label->setGeometry(droite - largeur, label->y(), largeur, label->height());
}

} // namespace

bool NouveauxMotsDePasseConcordants(const QString& motDePasse, const QString& confirmation)
{
    if (motDePasse.isEmpty())
        return false;
    // Lower-casing by the locale's own rules first, so that "É" and "é" (or a
    // locale's special pairs) match, then collating by the same locale.
    const QLocale locale = QLocale::system();
    return QString::localeAwareCompare(locale.toLower(motDePasse), locale.toLower(confirmation)) == 0;
}

TFrameSession::TFrameSession(QWidget* parent)
    : TFrameEnhanced(parent)
{
    setFont(PoliceEcran(13));

    LabelTitre = NouveauLabel(this, "LabelTitre", QRect(16, 16, 721, 20));
    LabelTitre->setFont(PoliceEcran(16, true));
    LabelTitre->setAlignment(Qt::AlignCenter);

    // Lowered outside, raised inside: the etched edge of a box drawn sunken.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setGeometry(16, 48, 713, 569);

    LabelUtilisateurEnCours = NouveauLabel(Panel1, "LabelUtilisateurEnCours", QRect(24, 16, 144, 16));
    EditUtilisateurEnCours = NouveauChamp(Panel1, "EditUtilisateurEnCours", QRect(24, 32, 481, 24));
    // Display-only: read-only discards typing, pasting, cutting and dropping alike.
    EditUtilisateurEnCours->setReadOnly(true);
    ButtonFinSession = NouveauBouton(Panel1, "ButtonFinSession", QRect(520, 32, 169, 24));

    LabelNvMotDePasse = NouveauLabel(Panel1, "LabelNvMotDePasse", QRect(159, 66, 130, 16));
    EditNvMotDePasse = NouveauChamp(Panel1, "EditNvMotDePasse", QRect(304, 64, 201, 24));
    LabelNvMotDePasseBis = NouveauLabel(Panel1, "LabelNvMotDePasseBis", QRect(140, 98, 149, 16));
    EditNvMotDePasseBis = NouveauChamp(Panel1, "EditNvMotDePasseBis", QRect(304, 96, 201, 24));
    ButtonChangerMotDePasse = NouveauBouton(Panel1, "ButtonChangerMotDePasse", QRect(520, 96, 169, 24));
    ButtonChangerMotDePasse->setEnabled(false);

    ListViewUtilisateurs = new QTreeWidget(Panel1);
    ListViewUtilisateurs->setObjectName(QStringLiteral("ListViewUtilisateurs"));
    ListViewUtilisateurs->setGeometry(24, 144, 665, 225);
    ListViewUtilisateurs->setColumnCount(3);
    ListViewUtilisateurs->setRootIsDecorated(false);
    ListViewUtilisateurs->setItemsExpandable(false);
    ListViewUtilisateurs->setUniformRowHeights(true);
    ListViewUtilisateurs->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewUtilisateurs->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewUtilisateurs->setAllColumnsShowFocus(true);
    ListViewUtilisateurs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewUtilisateurs->setFrameStyle(QFrame::Box | QFrame::Plain);
    ListViewUtilisateurs->setLineWidth(1);
    QHeaderView* entete = ListViewUtilisateurs->header();
    entete->setStretchLastSection(false);
    entete->setSectionResizeMode(QHeaderView::Fixed);
    entete->setMinimumSectionSize(1);
    const int largeurs[] = {280, 200, 150};
    for (int colonne = 0; colonne < 3; ++colonne)
        entete->resizeSection(colonne, largeurs[colonne]);
    // Rows stay in the order of their last names; the headings do not re-sort.
    ListViewUtilisateurs->setSortingEnabled(true);
    ListViewUtilisateurs->sortByColumn(0, Qt::AscendingOrder);
    entete->setSectionsClickable(false);
    entete->setSortIndicatorShown(false);
    // Example row: last name, first name, session mode (rows are not relabelled).
    new QTreeWidgetItem(ListViewUtilisateurs, {QStringLiteral("MARTIN"), QStringLiteral("Claire"),
                                               Texte(MsgSessionComboBoxModeExploitation, LangueFrancais)});

    LabelMotDePasse = NouveauLabel(Panel1, "LabelMotDePasse", QRect(176, 378, 113, 16));
    EditMotDePasse = NouveauChamp(Panel1, "EditMotDePasse", QRect(304, 376, 201, 24));
    ButtonDebutSession = NouveauBouton(Panel1, "ButtonDebutSession", QRect(520, 376, 169, 24));
    for (QLabel* label : {LabelNvMotDePasse, LabelNvMotDePasseBis, LabelMotDePasse})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    GroupBoxOutilsAdmin = NouveauGroupe(Panel1, "GroupBoxOutilsAdmin", QRect(24, 408, 665, 145));
    LabelNom = NouveauLabel(GroupBoxOutilsAdmin, "LabelNom", QRect(16, 24, 63, 16));
    LabelPrenom = NouveauLabel(GroupBoxOutilsAdmin, "LabelPrenom", QRect(288, 24, 81, 16));
    LabelMode = NouveauLabel(GroupBoxOutilsAdmin, "LabelMode", QRect(488, 24, 69, 16));
    GroupBoxUtilisateurSelection =
        NouveauGroupe(GroupBoxOutilsAdmin, "GroupBoxUtilisateurSelection", QRect(16, 80, 425, 57));
    ButtonModifier = NouveauBouton(GroupBoxUtilisateurSelection, "ButtonModifier", QRect(16, 24, 193, 25));
    ButtonSupprimer = NouveauBouton(GroupBoxUtilisateurSelection, "ButtonSupprimer", QRect(216, 24, 193, 25));
    EditNom = NouveauChamp(GroupBoxOutilsAdmin, "EditNom", QRect(16, 48, 265, 24));
    EditPrenom = NouveauChamp(GroupBoxOutilsAdmin, "EditPrenom", QRect(288, 48, 193, 24));
    ComboBoxMode = new QComboBox(GroupBoxOutilsAdmin);
    ComboBoxMode->setObjectName(QStringLiteral("ComboBoxMode"));
    ComboBoxMode->setGeometry(488, 48, 161, 24);
    ComboBoxMode->setEditable(false);
    ComboBoxMode->setItemDelegate(new TElementsDeHauteurFixe(16, ComboBoxMode));
    // One item per session mode, in the order of the mode byte.
    ComboBoxMode->addItems({QString(), QString(), QString()});
    ButtonAjouter = NouveauBouton(GroupBoxOutilsAdmin, "ButtonAjouter", QRect(456, 104, 193, 25));

    // Made after Panel1 so that, as a later child, it outlives the fields using it.
    auto* style = new TStyleMotDePasse;
    style->setParent(this);
    for (QLineEdit* edit : {EditNvMotDePasse, EditNvMotDePasseBis, EditMotDePasse}) {
        edit->setStyle(style);
        edit->setEchoMode(QLineEdit::Password);
    }

    setTabOrder(ListViewUtilisateurs, ButtonModifier);
    setTabOrder(ButtonModifier, ButtonSupprimer);
    setTabOrder(ButtonSupprimer, EditNom);
    setTabOrder(EditNom, EditPrenom);
    setTabOrder(EditPrenom, ComboBoxMode);
    setTabOrder(ComboBoxMode, ButtonAjouter);
    setTabOrder(ButtonAjouter, EditUtilisateurEnCours);
    setTabOrder(EditUtilisateurEnCours, ButtonFinSession);
    setTabOrder(ButtonFinSession, EditMotDePasse);
    setTabOrder(EditMotDePasse, ButtonDebutSession);
    setTabOrder(ButtonDebutSession, EditNvMotDePasse);
    setTabOrder(EditNvMotDePasse, EditNvMotDePasseBis);
    setTabOrder(EditNvMotDePasseBis, ButtonChangerMotDePasse);

    connect(EditNvMotDePasse, &QLineEdit::textChanged, this, &TFrameSession::EditNvMotDePasseChange);
    connect(EditNvMotDePasseBis, &QLineEdit::textChanged, this, &TFrameSession::EditNvMotDePasseChange);
}

void TFrameSession::ChangerLangue(TLangue langue)
{
    LabelTitre->setText(Texte(MsgSessionLabelTitre, langue));
    LabelUtilisateurEnCours->setText(Texte(MsgSessionLabelUtilisateurEnCours, langue));
    ButtonFinSession->setText(Texte(MsgSessionButtonFinSession, langue));
    LabelNvMotDePasse->setText(Texte(MsgSessionLabelNvMotDePasse, langue));
    LabelNvMotDePasseBis->setText(Texte(MsgSessionLabelNvMotDePasseBis, langue));
    ButtonChangerMotDePasse->setText(Texte(MsgSessionButtonChangerMotDePasse, langue));
    QTreeWidgetItem* entete = ListViewUtilisateurs->headerItem();
    entete->setText(0, Texte(MsgSessionLabelNom, langue));
    LabelNom->setText(Texte(MsgSessionLabelNom, langue));
    entete->setText(1, Texte(MsgSessionLabelPrenom, langue));
    LabelPrenom->setText(Texte(MsgSessionLabelPrenom, langue));
    entete->setText(2, Texte(MsgSessionLabelMode, langue));
    LabelMode->setText(Texte(MsgSessionLabelMode, langue));
    // Relabelling the items in place keeps the operator's choice selected.
    const int choix = ComboBoxMode->currentIndex();
    ComboBoxMode->setItemText(ModeAdministration, Texte(MsgSessionComboBoxModeAdministration, langue));
    ComboBoxMode->setItemText(ModeExploitation, Texte(MsgSessionComboBoxModeExploitation, langue));
    ComboBoxMode->setItemText(ModeConsultation, Texte(MsgSessionComboBoxModeConsultation, langue));
    ComboBoxMode->setCurrentIndex(choix);
    LabelMotDePasse->setText(Texte(MsgSessionLabelMotDePasse, langue));
    ButtonDebutSession->setText(Texte(MsgSessionButtonDebutSession, langue));
    GroupBoxOutilsAdmin->setTitle(Texte(MsgSessionGroupBoxOutilsAdmin, langue));
    GroupBoxUtilisateurSelection->setTitle(Texte(MsgSessionGroupBoxUtilisateurSelection, langue));
    ButtonModifier->setText(Texte(MsgSessionButtonModifier, langue));
    ButtonSupprimer->setText(Texte(MsgSessionButtonSupprimer, langue));
    ButtonAjouter->setText(Texte(MsgSessionButtonAjouter, langue));
    AjusterLibelles();
}

// Captions size themselves to their text: those in front of the password
// fields grow to the left, the others to the right.
void TFrameSession::AjusterLibelles()
{
    for (QLabel* label : {LabelUtilisateurEnCours, LabelNom, LabelPrenom, LabelMode})
        AjusterLargeur(label);
    for (QLabel* label : {LabelNvMotDePasse, LabelNvMotDePasseBis, LabelMotDePasse})
        AjusterADroite(label, DroiteLabelsMotDePasse);
}

void TFrameSession::Initialiser()
{
    EditUtilisateurEnCours->clear();
    EditNom->clear();
    EditPrenom->clear();
    EditMotDePasse->clear();
    ComboBoxMode->setCurrentIndex(ModeConsultation);
}

void TFrameSession::EditNvMotDePasseChange()
{
    ButtonChangerMotDePasse->setEnabled(
        NouveauxMotsDePasseConcordants(EditNvMotDePasse->text(), EditNvMotDePasseBis->text()));
}
