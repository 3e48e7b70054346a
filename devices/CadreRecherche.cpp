#include "devices/CadreRecherche.h"

#include "platform/MessagesFenetre.h"
#include "text/MessagesVeilleur.h"
#include "widgets/Controles.h"
#include "platform/CouleursSysteme.h"
#include "widgets/GrilleDessinee.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QColor FondLignePaire(240, 240, 240);
const QColor FondColonnePaire(207, 210, 225);
const QColor FondColonneImpaire(223, 225, 232);

// Pitch of the result rows of the QFL8 tab.
constexpr int PasLignesQFL8 = 40;
constexpr int LargeurColonneNumeros = 30;
constexpr int LargeurColonneDeparts = 38;

QLabel* NouvelleUnite(QWidget* parent, const char* unite, int gauche, int haut)
{
    QLabel* label = NouveauLabel(parent, QString(), QRect(gauche, haut, 40, 16));
    label->setText(QLatin1String(unite));
    return label;
}

// Every result field only displays.
QLineEdit* NouveauChamp(QWidget* parent, const QString& nom, const QRect& place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(nom);
    edit->setGeometry(place);
    edit->setReadOnly(true);
    return edit;
}

// Resistances sit on the button face, currents on the ordinary field colour.
QLineEdit* NouveauChampResistance(QWidget* parent, const QString& nom, const QRect& place)
{
    QLineEdit* edit = NouveauChamp(parent, nom, place);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, CouleursSysteme::FaceBouton);
    edit->setPalette(p);
    return edit;
}

QWidget* NouvellePage(QTabWidget* onglets, const char* nom, const char* titre)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(nom));
    onglets->addTab(page, QLatin1String(titre));
    return page;
}

QPushButton* NouveauBouton(QWidget* parent, const char* nom, const QRect& place)
{
    auto* bouton = new QPushButton(parent);
    bouton->setObjectName(QLatin1String(nom));
    bouton->setGeometry(place);
    return bouton;
}

QString Nom(const char* prefixe, int numero)
{
    return QLatin1String(prefixe) + QString::number(numero);
}

}  // namespace

TFrameRecherche::TFrameRecherche(QWidget* parent)
    : TFrameEnhanced(parent)
{
    LabelTitre = NouveauLabel(this, QStringLiteral("LabelTitre"), QRect(16, 16, 721, 20), Qt::AlignCenter);
    LabelTitre->setFont(PoliceEcran(16, true));

    BitBtnQuit = NouveauBoutonQuitter(this);
    connect(BitBtnQuit, &QPushButton::clicked, this, &TFrameRecherche::BitBtnQuitClick);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(16, 48, 713, 569);
    // The tabs are named after the device models: the same in every language.
    TabSheetQFL8 = NouvellePage(PageControl1, "TabSheetQFL8", "QFL8");
    TabSheetQFL16 = NouvellePage(PageControl1, "TabSheetQFL16", "QFL16");
    ConstruireQFL8(TabSheetQFL8);
    ConstruireQFL16(TabSheetQFL16);
}

void TFrameRecherche::ConstruireQFL8(QWidget* page)
{
    LabelDateHeureMesureQFL8Aff =
        NouveauLabel(page, QStringLiteral("LabelDateHeureMesureQFL8Aff"), QRect(16, 29, 673, 16));
    EditDateHeureMesureQFL8Aff =
        NouveauChamp(page, QStringLiteral("EditDateHeureMesureQFL8Aff"), QRect(16, 48, 673, 24));
    LabelResultatsQFL8 = NouveauLabel(page, QStringLiteral("LabelResultatsQFL8"), QRect(16, 109, 673, 16));

    auto* panel3 = new QFrame(page);
    panel3->setObjectName(QStringLiteral("Panel3"));
    panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel3->setGeometry(16, 128, 673, 337);
    auto* separateur = new QFrame(panel3);
    separateur->setFrameShape(QFrame::VLine);
    separateur->setFrameShadow(QFrame::Sunken);
    separateur->setGeometry(340, 8, 2, 321);

    // Left part: transformer and limiter. Each label is 4 pixels lower than its
    // fields so that the texts line up.
    const Qt::Alignment aDroite = Qt::AlignRight | Qt::AlignVCenter;
    LabelTransfo = NouveauLabel(panel3, QStringLiteral("LabelTransfo"), QRect(16, 18, 105, 16), aDroite);
    EditIntensT = NouveauChamp(panel3, QStringLiteral("EditIntensT"), QRect(128, 14, 57, 24));
    NouvelleUnite(panel3, "mA", 192, 18);
    EditRT = NouveauChampResistance(panel3, QStringLiteral("EditRT"), QRect(224, 14, 57, 24));
    NouvelleUnite(panel3, "kOhm", 288, 18);
    LabelLimiteur = NouveauLabel(panel3, QStringLiteral("LabelLimiteur"), QRect(16, 58, 105, 16), aDroite);
    EditIntensL = NouveauChamp(panel3, QStringLiteral("EditIntensL"), QRect(128, 54, 57, 24));
    NouvelleUnite(panel3, "mA", 192, 58);
    EditRL = NouveauChampResistance(panel3, QStringLiteral("EditRL"), QRect(224, 54, 57, 24));
    NouvelleUnite(panel3, "kOhm", 288, 58);

    // Right part: the eight feeders.
    for (int k = 0; k < NbDepartsQFL8; ++k) {
        const int haut = 18 + k * PasLignesQFL8;
        LabelDepart[k] = NouveauLabel(panel3, Nom("LabelDepart", k + 1), QRect(352, haut, 105, 16), aDroite);
        EditIntens[k] = NouveauChamp(panel3, Nom("EditIntens", k + 1), QRect(464, haut - 4, 57, 24));
        NouvelleUnite(panel3, "mA", 528, haut);
        EditR[k] = NouveauChampResistance(panel3, Nom("EditR", k + 1), QRect(560, haut - 4, 57, 24));
        NouvelleUnite(panel3, "kOhm", 624, haut);
    }

    ButtonLancerRechercheQFL8 = NouveauBouton(page, "ButtonLancerRechercheQFL8", QRect(452, 480, 237, 41));
}

void TFrameRecherche::ConstruireQFL16(QWidget* page)
{
    LabelDateHeureMesureQFL16Aff =
        NouveauLabel(page, QStringLiteral("LabelDateHeureMesureQFL16Aff"), QRect(16, 29, 673, 16));
    EditDateHeureMesureQFL16Aff =
        NouveauChamp(page, QStringLiteral("EditDateHeureMesureQFL16Aff"), QRect(16, 48, 673, 24));
    LabelResultatsQFL16 = NouveauLabel(page, QStringLiteral("LabelResultatsQFL16"), QRect(16, 109, 673, 16));

    // A heading strip of which only the first cell shows: it starts where the
    // first feeder column of the table below starts.
    StringGrid1 = new TGrilleDessinee(2, 2, page);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(47, 128, 642, 17);
    StringGrid1->setFont(PoliceEcran(11));
    StringGrid1->SetLignesFixes(1);
    StringGrid1->SetColonnesFixes(1);
    StringGrid1->SetLargeurDefaut(640);
    StringGrid1->SetHauteurLigne(15);
    StringGrid1->SetDessinCellule(
        [this](TGrilleDessinee&, QPainter& peintre, int colonne, int ligne, const QRect& rect) {
            StringGrid1DrawCell(peintre, colonne, ligne, rect);
        });

    StringGridMesuresQFL16 = new TGrilleDessinee(NbDepartsQFL16 + 1, NbUnitesQFL16 + 1, page);
    StringGridMesuresQFL16->setObjectName(QStringLiteral("StringGridMesuresQFL16"));
    StringGridMesuresQFL16->setGeometry(16, 144, 673, 321);
    StringGridMesuresQFL16->setFont(PoliceEcran(11));
    StringGridMesuresQFL16->SetLignesFixes(1);
    StringGridMesuresQFL16->SetColonnesFixes(1);
    StringGridMesuresQFL16->SetLargeurDefaut(LargeurColonneDeparts);
    StringGridMesuresQFL16->SetLargeurColonne(0, LargeurColonneNumeros);
    StringGridMesuresQFL16->SetHauteurLigne(15);
    StringGridMesuresQFL16->SetLignesGrille(true);
    StringGridMesuresQFL16->SetBarreVerticale(true);
    // Headings keep the grid's ordinary painting; the handler paints the data cells.
    StringGridMesuresQFL16->SetDessinParDefaut(true);
    StringGridMesuresQFL16->SetDessinCellule(
        [this](TGrilleDessinee&, QPainter& peintre, int colonne, int ligne, const QRect& rect) {
            StringGridMesuresQFL16DrawCell(peintre, colonne, ligne, rect);
        });

    ButtonLancerRechercheQFL16 = NouveauBouton(page, "ButtonLancerRechercheQFL16", QRect(452, 480, 237, 41));
}

void TFrameRecherche::ChangerLangue(TLangue langue)
{
    LabelTitre->setText(Texte(MsgRechercheRechercheQFL8EtQFL16, langue));
    const QString dateHeure = Texte(MsgRechercheDateHeureDerniereRecherche, langue);
    LabelDateHeureMesureQFL8Aff->setText(dateHeure);
    LabelDateHeureMesureQFL16Aff->setText(dateHeure);
    const QString resultats = Texte(MsgRechercheResultatsDerniereRecherche, langue);
    LabelResultatsQFL8->setText(resultats);
    LabelResultatsQFL16->setText(resultats + QStringLiteral(" (mA)"));
    const QString nouvelle = Texte(MsgRechercheNouvelleRecherche, langue);
    ButtonLancerRechercheQFL8->setText(nouvelle);
    ButtonLancerRechercheQFL16->setText(nouvelle);
    LabelTransfo->setText(Texte(MsgQFLTransfo, langue));
    LabelLimiteur->setText(Texte(MsgQFLLimiteur, langue));
    const QString depart = Texte(MsgQFLDepartN, langue);
    for (int k = 0; k < NbDepartsQFL8; ++k)
        LabelDepart[k]->setText(depart + QString::number(PremierDepartQFL8 + k));
    StringGrid1->SetCellule(0, 0, depart);
    StringGridMesuresQFL16->SetCellule(0, 0, Texte(MsgVueDEnsembleStringGridNumSourceN, langue));
}

void TFrameRecherche::Initialiser(const TInfosRecherche& bloc)
{
    PageControl1->setCurrentWidget(TabSheetQFL8);

    // The device searched is not needed yet: there are no results to show.
    HandlePrincipal = bloc.Handle;
    EcranRetour = bloc.EcranRetour;
    AppareilRetour = bloc.AppareilRetour;

    StringGridMesuresQFL16->SetLargeurColonne(0, LargeurColonneNumeros);
    for (int c = 1; c <= NbDepartsQFL16; ++c)
        StringGridMesuresQFL16->SetLargeurColonne(c, LargeurColonneDeparts);

    EditDateHeureMesureQFL8Aff->clear();
    EditIntensT->clear();
    EditRT->clear();
    EditIntensL->clear();
    EditRL->clear();
    for (int k = 0; k < NbDepartsQFL8; ++k) {
        EditIntens[k]->clear();
        EditR[k]->clear();
    }
    EditDateHeureMesureQFL16Aff->clear();

    for (int i = 1; i <= NbUnitesQFL16; ++i)
        StringGridMesuresQFL16->SetCellule(0, i, QString::number(i));
    for (int i = 1; i <= NbDepartsQFL16; ++i)
        StringGridMesuresQFL16->SetCellule(i, 0, QString::number(i));
}

void TFrameRecherche::BitBtnQuitClick()
{
    PosterEcran(HandlePrincipal, EcranRetour, AppareilRetour);
}

QColor TFrameRecherche::CouleurCelluleMesure(int colonne, int ligne)
{
    if (ligne % 2 == 0)
        return FondLignePaire;
    return colonne % 2 == 0 ? FondColonnePaire : FondColonneImpaire;
}

void TFrameRecherche::StringGridMesuresQFL16DrawCell(QPainter& peintre, int colonne, int ligne,
                                                     const QRect& rect)
{
    if (ligne == 0 || colonne == 0)
        return;
    const QString texte = StringGridMesuresQFL16->Cellule(colonne, ligne);
    StringGridMesuresQFL16->AjusterPolice(peintre, texte, rect.width() - 3);
    TGrilleDessinee::TexteRect(peintre, rect, rect.left() + 2, rect.top() + 2, texte,
                               CouleurCelluleMesure(colonne, ligne));
}

void TFrameRecherche::StringGrid1DrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect)
{
    const QString texte = StringGrid1->Cellule(colonne, ligne);
    const int largeur = StringGrid1->AjusterPolice(peintre, texte, rect.width() - 2);
    const bool fixe = ligne < StringGrid1->LignesFixes() || colonne < StringGrid1->ColonnesFixes();
    TGrilleDessinee::TexteRect(peintre, rect,
                               TGrilleDessinee::PositionCentree(rect.left(), rect.width(), largeur),
                               rect.top() + 2, texte,
                               fixe ? StringGrid1->CouleurFixe() : StringGrid1->CouleurFond());
}
