#include "screens/CadreAccueil.h"

#include "widgets/Controles.h"

#include "platform/MessagesFenetre.h"
#include "text/MessagesVeilleur.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

const QColor BleuLien(0, 0, 128);
// Right edges of the two captions that end where their fields begin.
constexpr int DroiteLabelMode = 347;
constexpr int DroiteLabelUtilisateur = 346;

// A description under a link: fixed width, as many lines as its text needs.
QLabel* NouvelleDescription(QWidget* parent, const char* nom, int gauche, int haut, int largeur)
{
    QLabel* label = NouveauLabel(parent, nom, QRect(gauche, haut, largeur, 16));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* NouveauLien(QWidget* parent, const char* nom, const QRect& place, int ecran)
{
    QLabel* label = NouveauLabel(parent, nom, place);
    QFont police = PoliceEcran(13, true);
    police.setUnderline(true);
    label->setFont(police);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, BleuLien);
    label->setPalette(p);
    label->setCursor(Qt::PointingHandCursor);
    // The tag is the number of the screen the link opens.
    label->setProperty("Tag", ecran);
    return label;
}

// Display-only field: read-only discards typing, pasting, cutting and dropping alike.
QLineEdit* NouveauChamp(QWidget* parent, const char* nom, const QRect& place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(nom));
    edit->setGeometry(place);
    edit->setReadOnly(true);
    return edit;
}

void AjusterADroite(QLabel* label, int droite)
{
    const int largeur = label->sizeHint().width();
    label->setGeometry(droite - largeur, label->y(), largeur, label->height());
}

void AjusterLargeur(QLabel* label)
{
    label->resize(label->sizeHint().width(), label->height());
}

void AjusterHauteur(QLabel* label)
{
    label->resize(label->width(), label->heightForWidth(label->width()));
}

} // namespace

TFrameAccueil::TFrameAccueil(QWidget* parent)
    : TFrameEnhanced(parent)
{
    setFont(PoliceEcran(13));

    // First, so that every caption lies over it.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(16, 152, 713, 465);
    Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);

    LabelTitre = NouveauLabel(this, "LabelTitre", QRect(16, 16, 721, 20));
    LabelTitre->setFont(PoliceEcran(16, true));
    LabelTitre->setAlignment(Qt::AlignCenter);

    LabelModeEnCours = NouveauLabel(this, "LabelModeEnCours", QRect(227, 76, 120, 16));
    LabelModeEnCours->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EditModeAdministration = NouveauChamp(this, "EditModeAdministration", QRect(368, 73, 241, 24));
    EditModeExploitation = NouveauChamp(this, "EditModeExploitation", QRect(368, 73, 241, 24));
    EditModeConsultation = NouveauChamp(this, "EditModeConsultation", QRect(368, 73, 241, 24));

    LabelUtilisateurEnCours = NouveauLabel(this, "LabelUtilisateurEnCours", QRect(202, 112, 144, 16));
    LabelUtilisateurEnCours->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EditUtilisateurEnCours = NouveauChamp(this, "EditUtilisateurEnCours", QRect(368, 109, 241, 24));
    EditAucunUtilisateurEnCours = NouveauChamp(this, "EditAucunUtilisateurEnCours", QRect(368, 109, 241, 24));

    LabelDescMenuGauche = NouvelleDescription(this, "LabelDescMenuGauche", 24, 176, 697);
    LabelDebutFinSession = NouveauLien(this, "LabelDebutFinSession", QRect(24, 216, 158, 16), EcranSession);
    LabelDescDebutFinSession1 = NouvelleDescription(this, "LabelDescDebutFinSession1", 40, 240, 681);
    LabelDescDebutFinSession2 = NouvelleDescription(this, "LabelDescDebutFinSession2", 40, 264, 681);
    LabelDescDebutFinSession3 = NouvelleDescription(this, "LabelDescDebutFinSession3", 40, 288, 681);
    LabelVueDEnsemble = NouveauLien(this, "LabelVueDEnsemble", QRect(24, 328, 147, 16), EcranVueDEnsemble);
    LabelDescVueDEnsemble = NouvelleDescription(this, "LabelDescVueDEnsemble", 40, 352, 681);
    LabelJournal = NouveauLien(this, "LabelJournal", QRect(24, 392, 91, 16), EcranJournal);
    LabelDescJournal = NouvelleDescription(this, "LabelDescJournal", 40, 416, 681);
    LabelNotices = NouveauLien(this, "LabelNotices", QRect(24, 456, 93, 16), EcranNotices);
    LabelDescNotices = NouvelleDescription(this, "LabelDescNotices", 40, 480, 681);
    LabelConfiguration = NouveauLien(this, "LabelConfiguration", QRect(24, 520, 131, 16), EcranConfiguration);
    LabelDescConfiguration = NouvelleDescription(this, "LabelDescConfiguration", 40, 544, 681);

    for (QLabel* lien : {LabelDebutFinSession, LabelVueDEnsemble, LabelJournal, LabelNotices, LabelConfiguration})
        lien->installEventFilter(this);

    setTabOrder(EditModeAdministration, EditUtilisateurEnCours);
    setTabOrder(EditUtilisateurEnCours, EditModeExploitation);
    setTabOrder(EditModeExploitation, EditModeConsultation);
    setTabOrder(EditModeConsultation, EditAucunUtilisateurEnCours);
}

void TFrameAccueil::ChangerLangue(TLangue langue)
{
    LabelTitre->setText(Texte(MsgAccueilLabelTitre, langue));
    LabelModeEnCours->setText(Texte(MsgAccueilLabelModeEnCours, langue));
    EditModeAdministration->setText(Texte(MsgAccueilEditModeAdministration, langue));
    EditModeExploitation->setText(Texte(MsgAccueilEditModeExploitation, langue));
    EditModeConsultation->setText(Texte(MsgAccueilEditModeConsultation, langue));
    LabelUtilisateurEnCours->setText(Texte(MsgAccueilLabelUtilisateurEnCours, langue));
    EditAucunUtilisateurEnCours->setText(Texte(MsgAccueilEditAucunUtilisateurEnCours, langue));
    LabelDescMenuGauche->setText(Texte(MsgAccueilLabelDescMenuGauche, langue));
    LabelDebutFinSession->setText(Texte(MsgAccueilLabelDebutFinSession, langue));
    LabelDescDebutFinSession1->setText(Texte(MsgAccueilLabelDescDebutFinSession1, langue));
    LabelDescDebutFinSession2->setText(Texte(MsgAccueilLabelDescDebutFinSession2, langue));
    LabelDescDebutFinSession3->setText(Texte(MsgAccueilLabelDescDebutFinSession3, langue));
    LabelVueDEnsemble->setText(Texte(MsgVueDEnsembleLabelVueDEnsemble, langue));
    LabelDescVueDEnsemble->setText(Texte(MsgAccueilLabelDescVueDEnsemble, langue));
    LabelJournal->setText(Texte(MsgJournalLabelJournal, langue));
    LabelDescJournal->setText(Texte(MsgAccueilLabelDescJournal, langue));
    LabelNotices->setText(Texte(MsgNoticesLabelNotices, langue));
    LabelDescNotices->setText(Texte(MsgAccueilLabelDescNotices, langue));
    LabelConfiguration->setText(Texte(MsgConfigurationLabelConfiguration, langue));
    LabelDescConfiguration->setText(Texte(MsgAccueilLabelDescConfiguration, langue));
    AjusterLibelles();
}

// Captions size themselves to their text in every language: the two field
// captions grow to the left, the links to the right, the descriptions downwards.
void TFrameAccueil::AjusterLibelles()
{
    AjusterADroite(LabelModeEnCours, DroiteLabelMode);
    AjusterADroite(LabelUtilisateurEnCours, DroiteLabelUtilisateur);
    for (QLabel* lien : {LabelDebutFinSession, LabelVueDEnsemble, LabelJournal, LabelNotices, LabelConfiguration})
        AjusterLargeur(lien);
    for (QLabel* desc : {LabelDescMenuGauche, LabelDescDebutFinSession1, LabelDescDebutFinSession2,
                         LabelDescDebutFinSession3, LabelDescVueDEnsemble, LabelDescJournal, LabelDescNotices,
                         LabelDescConfiguration})
        AjusterHauteur(desc);
}

void TFrameAccueil::Initialiser(const TInfosAccueil& accueil)
{
    HandlePrincipal = accueil.Handle;

    switch (accueil.Mode) {
    case ModeAdministration:
    case ModeExploitation:
    case ModeConsultation:
        EditModeAdministration->setVisible(accueil.Mode == ModeAdministration);
        EditModeExploitation->setVisible(accueil.Mode == ModeExploitation);
        EditModeConsultation->setVisible(accueil.Mode == ModeConsultation);
        break;
    default:
        break;  // an unknown mode leaves the fields as they are
    }

    const bool connu = !accueil.Utilisateur.isEmpty();
    if (connu)
        EditUtilisateurEnCours->setText(accueil.Utilisateur);
    EditUtilisateurEnCours->setVisible(connu);
    EditAucunUtilisateurEnCours->setVisible(!connu);
}

bool TFrameAccueil::eventFilter(QObject* objet, QEvent* evenement)
{
    auto* lien = qobject_cast<QLabel*>(objet);
    if (!lien || !lien->property("Tag").isValid())
        return TFrameEnhanced::eventFilter(objet, evenement);

    if (evenement->type() == QEvent::MouseButtonPress) {
        // Taking the press makes the release come back to this link.
        return static_cast<QMouseEvent*>(evenement)->button() == Qt::LeftButton;
    }
    if (evenement->type() == QEvent::MouseButtonRelease) {
        auto* souris = static_cast<QMouseEvent*>(evenement);
        if (souris->button() == Qt::LeftButton && lien->rect().contains(souris->position().toPoint())) {
            LabelClick(lien);
            return true;
        }
    }
    return TFrameEnhanced::eventFilter(objet, evenement);
}

void TFrameAccueil::LabelClick(QLabel* lien)
{
    // Posted, not sent: the main window destroys this screen when it opens the
    // next one, which must not happen inside this handler.
    PosterEcran(HandlePrincipal, lien->property("Tag").toInt(), 0);
}
