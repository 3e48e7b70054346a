#include "screens/CadreSession.h"

#include "widgets/Controles.h"

#include "text/MessagesVeilleur.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>
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
    return !motDePasse.isEmpty() && motDePasse == confirmation;
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
    // Rows come in the session's order (by last name, letter case aside), so
    // that a row's place is the user's index; the headings do not re-sort.
    entete->setSectionsClickable(false);
    entete->setSortIndicatorShown(false);

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

    // What the last operation said, between the password change and the list.
    LabelMessage = NouveauLabel(Panel1, "LabelMessage", QRect(24, 120, 665, 24));
    LabelMessage->setWordWrap(true);
    LabelMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

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
    connect(ListViewUtilisateurs, &QTreeWidget::itemSelectionChanged, this, &TFrameSession::ListeSelectionChange);
    connect(ButtonDebutSession, &QPushButton::clicked, this, [this] { ButtonDebutSessionClick(); });
    connect(EditMotDePasse, &QLineEdit::returnPressed, this, [this] { ButtonDebutSessionClick(); });
    connect(ButtonFinSession, &QPushButton::clicked, this, [this] { ButtonFinSessionClick(); });
    connect(ButtonChangerMotDePasse, &QPushButton::clicked, this, [this] { ButtonChangerMotDePasseClick(); });
    connect(ButtonAjouter, &QPushButton::clicked, this, [this] { ButtonAjouterClick(); });
    connect(ButtonModifier, &QPushButton::clicked, this, [this] { ButtonModifierClick(); });
    connect(ButtonSupprimer, &QPushButton::clicked, this, [this] { ButtonSupprimerClick(); });
    AppliquerDroits();
}

void TFrameSession::ChangerLangue(TLangue langue)
{
    m_langue = langue;
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
    // The mode column, the tooltips and the last message follow the language.
    if (m_infos.Session) {
        RemplirListe();
        AppliquerDroits();
    }
    AfficherMessage();
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

void TFrameSession::Initialiser(const TInfosSession& infos)
{
    m_infos = infos;
    m_nomAffiche = m_infos.Session ? m_infos.Session->NomEnSession() : QString();
    Initialiser();
    m_message = EMessageSession::Aucun;
    // A damaged users file is said at once, and stays said.
    if (m_infos.Session && m_infos.Session->EtatFichier() == EEtatUtilisateurs::Endommage) {
        m_message = EMessageSession::FichierEndommage;
        m_argument = m_infos.Session->CheminFichier();
        m_messageErreur = true;
    }
    Actualiser();
}

void TFrameSession::Actualiser()
{
    if (!m_infos.Session)
        return;
    const TSession& session = *m_infos.Session;
    // A session that began or ended elsewhere (by inactivity) makes the last
    // message stale; the screen's own operations set theirs after this.
    const QString enSession = session.NomEnSession();
    if (enSession != m_nomAffiche && m_message != EMessageSession::FichierEndommage)
        m_message = EMessageSession::Aucun;
    m_nomAffiche = enSession;
    EditUtilisateurEnCours->setText(enSession);
    RemplirListe();
    AppliquerDroits();
    // Empty tools take the selected user, as a new selection would.
    if (EditNom->text().isEmpty())
        ListeSelectionChange();
    AfficherMessage();
}

void TFrameSession::RemplirListe()
{
    const TSession& session = *m_infos.Session;
    QString nom, prenom;
    if (const int index = IndexSelectionne(); index >= 0) {
        nom = ListViewUtilisateurs->topLevelItem(index)->text(0);
        prenom = ListViewUtilisateurs->topLevelItem(index)->text(1);
    }
    const QSignalBlocker blocage(ListViewUtilisateurs);
    ListViewUtilisateurs->clear();
    const TTexteLangues* modes[] = {&MsgSessionComboBoxModeAdministration, &MsgSessionComboBoxModeExploitation,
                                    &MsgSessionComboBoxModeConsultation};
    for (const TUtilisateur& u : session.Utilisateurs())
        new QTreeWidgetItem(ListViewUtilisateurs,
                            {u.Nom, u.Prenom, u.Mode <= ModeConsultation ? Texte(*modes[u.Mode], m_langue) : QString()});
    if (!nom.isEmpty())
        Selectionner(nom, prenom);
}

void TFrameSession::Selectionner(const QString& nom, const QString& prenom)
{
    for (int i = 0; i < ListViewUtilisateurs->topLevelItemCount(); ++i) {
        QTreeWidgetItem* ligne = ListViewUtilisateurs->topLevelItem(i);
        if (ligne->text(0) == nom && ligne->text(1) == prenom) {
            ListViewUtilisateurs->setCurrentItem(ligne);
            ligne->setSelected(true);
            return;
        }
    }
}

int TFrameSession::IndexSelectionne() const
{
    const QList<QTreeWidgetItem*> lignes = ListViewUtilisateurs->selectedItems();
    return lignes.isEmpty() ? -1 : ListViewUtilisateurs->indexOfTopLevelItem(lignes.front());
}

void TFrameSession::AppliquerDroits()
{
    const TSession* session = m_infos.Session;
    const bool utilisable = session && session->EtatFichier() != EEtatUtilisateurs::Endommage;
    ButtonDebutSession->setEnabled(utilisable && !session->Utilisateurs().empty());
    ButtonFinSession->setEnabled(session && session->EnSession());
    EditNvMotDePasseChange();

    // The tools stay visible, greyed, with the reason on them.
    TDroit gestion = session ? session->Droit(EDroit::GererUtilisateurs, false) : TDroit{};
    if (session && !utilisable)
        gestion = TDroit{false, EMessageSession::FichierEndommage};
    GroupBoxOutilsAdmin->setEnabled(gestion.Accorde);
    const QString raison = gestion.Accorde || !session
                               ? QString()
                               : TexteMessageSession(gestion.Raison, m_langue, session->CheminFichier());
    GroupBoxOutilsAdmin->setToolTip(raison);
    for (QWidget* outil : GroupBoxOutilsAdmin->findChildren<QWidget*>())
        outil->setToolTip(raison);
    // Changing or deleting needs users; an open station only adds its first one.
    GroupBoxUtilisateurSelection->setEnabled(gestion.Accorde && !session->Utilisateurs().empty());
}

void TFrameSession::EditNvMotDePasseChange()
{
    const TSession* session = m_infos.Session;
    ButtonChangerMotDePasse->setEnabled(
        (!session || session->EnSession())
        && NouveauxMotsDePasseConcordants(EditNvMotDePasse->text(), EditNvMotDePasseBis->text()));
}

void TFrameSession::ListeSelectionChange()
{
    // An administrator picks a user to change: the tools take that user's values.
    const int index = IndexSelectionne();
    if (!m_infos.Session || index < 0 || !GroupBoxOutilsAdmin->isEnabled())
        return;
    const TUtilisateur& u = m_infos.Session->Utilisateurs()[static_cast<std::size_t>(index)];
    EditNom->setText(u.Nom);
    EditPrenom->setText(u.Prenom);
    ComboBoxMode->setCurrentIndex(u.Mode);
}

void TFrameSession::AfficherMessage()
{
    const QString texte = m_message == EMessageSession::Aucun ? QString()
                                                             : TexteMessageSession(m_message, m_langue, m_argument);
    LabelMessage->setText(texte);
    LabelMessage->setToolTip(texte);
    QPalette palette = LabelMessage->palette();
    palette.setColor(QPalette::WindowText, m_messageErreur ? QColor(176, 0, 0) : QColor(0, 0, 128));
    LabelMessage->setPalette(palette);
    // Two lines fit in a smaller font; one line keeps the screen's.
    LabelMessage->setFont(PoliceEcran(13));
    if (LabelMessage->heightForWidth(LabelMessage->width()) > LabelMessage->height())
        LabelMessage->setFont(PoliceEcran(10));
}

void TFrameSession::Terminer(const TResultatSession& resultat)
{
    if (resultat.Reussi || !resultat.Journal.empty()) {
        if (m_infos.Appliquer)
            m_infos.Appliquer(resultat);
    }
    // A damaged file keeps its notice over any other message.
    if (m_infos.Session && m_infos.Session->EtatFichier() == EEtatUtilisateurs::Endommage) {
        m_message = EMessageSession::FichierEndommage;
        m_argument = m_infos.Session->CheminFichier();
        m_messageErreur = true;
    } else {
        m_message = resultat.Message;
        m_argument = resultat.Argument;
        m_messageErreur = !resultat.Reussi;
    }
    Actualiser();
}

void TFrameSession::ButtonDebutSessionClick()
{
    if (!m_infos.Session)
        return;
    QString texte = EditMotDePasse->text();
    EditMotDePasse->clear();
    const TMotDePasse motDePasse = TMotDePasse::Prendre(texte);
    Terminer(m_infos.Session->DebuterSession(IndexSelectionne(), motDePasse));
}

void TFrameSession::ButtonFinSessionClick()
{
    if (!m_infos.Session)
        return;
    EditMotDePasse->clear();
    Terminer(m_infos.Session->FinirSession());
}

std::pair<TMotDePasse, TMotDePasse> TFrameSession::PrendreMotsDePasse()
{
    // The typed text leaves the fields at once, whatever the outcome.
    QString texte = EditNvMotDePasse->text();
    QString bis = EditNvMotDePasseBis->text();
    EditNvMotDePasse->clear();
    EditNvMotDePasseBis->clear();
    return {TMotDePasse::Prendre(texte), TMotDePasse::Prendre(bis)};
}

void TFrameSession::ButtonChangerMotDePasseClick()
{
    if (!m_infos.Session)
        return;
    const auto [nouveau, confirmation] = PrendreMotsDePasse();
    Terminer(m_infos.Session->ChangerMotDePasse(nouveau, confirmation));
}

void TFrameSession::ButtonAjouterClick()
{
    if (!m_infos.Session)
        return;
    const auto [motDePasse, confirmation] = PrendreMotsDePasse();
    const QString nom = EditNom->text();
    const QString prenom = EditPrenom->text();
    const TResultatSession resultat = m_infos.Session->AjouterUtilisateur(
        nom, prenom, static_cast<std::uint8_t>(ComboBoxMode->currentIndex()), motDePasse, confirmation);
    Terminer(resultat);
    if (resultat.Reussi) {
        Selectionner(nom.trimmed(), prenom.trimmed());
        EditNom->clear();
        EditPrenom->clear();
    }
}

void TFrameSession::ButtonModifierClick()
{
    if (!m_infos.Session)
        return;
    const auto [motDePasse, confirmation] = PrendreMotsDePasse();
    const QString nom = EditNom->text();
    const QString prenom = EditPrenom->text();
    const TResultatSession resultat = m_infos.Session->ModifierUtilisateur(
        IndexSelectionne(), nom, prenom, static_cast<std::uint8_t>(ComboBoxMode->currentIndex()), motDePasse,
        confirmation);
    Terminer(resultat);
    if (resultat.Reussi)
        Selectionner(nom.trimmed(), prenom.trimmed());
}

void TFrameSession::ButtonSupprimerClick()
{
    if (!m_infos.Session || m_confirmation)
        return;
    const int index = IndexSelectionne();
    if (index < 0) {
        Terminer(m_infos.Session->SupprimerUtilisateur(index));
        return;
    }
    const TUtilisateur& u = m_infos.Session->Utilisateurs()[static_cast<std::size_t>(index)];
    const QString nom = u.Nom;
    const QString prenom = u.Prenom;
    // Opened, not run: monitoring, timers and requests go on while it asks.
    auto* boite = new QMessageBox(QMessageBox::Question, Texte(MsgSessionLabelTitre, m_langue),
                                  TexteMessageSession(EMessageSession::ConfirmerSuppression, m_langue,
                                                      m_infos.Session->NomComplet(index)),
                                  QMessageBox::Yes | QMessageBox::No, this);
    boite->setObjectName(QStringLiteral("ConfirmationSuppression"));
    boite->setAttribute(Qt::WA_DeleteOnClose);
    boite->setDefaultButton(QMessageBox::No);
    boite->button(QMessageBox::Yes)->setText(TexteMessageSession(EMessageSession::Oui, m_langue));
    boite->button(QMessageBox::No)->setText(TexteMessageSession(EMessageSession::Non, m_langue));
    m_confirmation = boite;
    connect(boite, &QMessageBox::finished, this, [this, boite, nom, prenom] {
        // Answered once: the box is on its way out, a new click may ask again.
        m_confirmation = nullptr;
        if (boite->clickedButton() == boite->button(QMessageBox::Yes))
            SupprimerConfirme(nom, prenom);
    });
    boite->open();
}

void TFrameSession::SupprimerConfirme(const QString& nom, const QString& prenom)
{
    // The list may have changed while the box was open: the user is found again by name.
    const auto& liste = m_infos.Session->Utilisateurs();
    int index = -1;
    for (int i = 0; i < static_cast<int>(liste.size()); ++i)
        if (liste[static_cast<std::size_t>(i)].Nom == nom && liste[static_cast<std::size_t>(i)].Prenom == prenom)
            index = i;
    Terminer(m_infos.Session->SupprimerUtilisateur(index));
}
