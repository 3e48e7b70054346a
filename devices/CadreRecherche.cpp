#include "devices/CadreRecherche.h"

#include "devices/AffichageQFL.h"
#include "sessions/Droits.h"

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

    // Under the tabs, for both: the search running, refused, or the line lost.
    LabelEtatRecherche = NouveauLabel(this, QStringLiteral("LabelEtatRecherche"), QRect(16, 617, 713, 16), Qt::AlignCenter);
    LabelEtatRecherche->setFont(PoliceEcran(11, true));
    QPalette p = LabelEtatRecherche->palette();
    p.setColor(QPalette::WindowText, AffichageQFL::CouleurDefaut);
    LabelEtatRecherche->setPalette(p);
    for (QPushButton* b : {ButtonLancerRechercheQFL8, ButtonLancerRechercheQFL16})
        connect(b, &QPushButton::clicked, this, &TFrameRecherche::ButtonLancerRechercheClick);
    MettreAJourEtat();
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
    m_langue = langue;
    if (m_aDesDonnees)
        Actualiser(m_donnees);
    else
        MettreAJourEtat();
}

void TFrameRecherche::Initialiser(const TInfosRecherche& bloc)
{
    PageControl1->setCurrentWidget(TabSheetQFL8);

    HandlePrincipal = bloc.Handle;
    NumAppareil = bloc.NumAppareil;
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

void TFrameRecherche::DefinirCommandes(TCommandesQFL* commandes, std::uint8_t mode)
{
    m_commandes = commandes;
    m_mode = mode;
    MettreAJourEtat();
}

std::pair<QLineEdit*, QLineEdit*> TFrameRecherche::ChampsDepart(int depart) const
{
    if (depart == 1)
        return {EditIntensT, EditRT};
    if (depart == 2)
        return {EditIntensL, EditRL};
    if (depart >= PremierDepartQFL8 && depart < PremierDepartQFL8 + NbDepartsQFL8)
        return {EditIntens[std::size_t(depart - PremierDepartQFL8)], EditR[std::size_t(depart - PremierDepartQFL8)]};
    return {nullptr, nullptr};
}

namespace {
void Ecrire(QLineEdit* edit, const QString& texte)
{
    if (edit->text() != texte)
        edit->setText(texte);
}

// A field on the alarm colour, or back on its own.
void Marquer(QLineEdit* edit, bool defaut, const QColor& normal)
{
    QPalette p = edit->palette();
    const QColor voulu = defaut ? AffichageQFL::CouleurDefaut : normal;
    if (p.color(QPalette::Base) == voulu)
        return;
    p.setColor(QPalette::Base, voulu);
    edit->setPalette(p);
}
}

void TFrameRecherche::Actualiser(const TDonneesQFL& d)
{
    const bool nouvelle = m_aDesDonnees && d.CompteurRecherches != m_donnees.CompteurRecherches;
    if (d.RechercheEnCours || nouvelle || d.EtatCom != ComEnLigne)
        m_demandee = false;
    if (!d.RechercheEnCours && (nouvelle || d.EtatCom != ComEnLigne))
        m_occupee = false;
    m_aDesDonnees = true;
    m_donnees = d;
    const TRechercheQFL& r = d.Recherche;
    const bool connus = d.ResultatsConnus;
    const QString date = connus ? AffichageQFL::DateLongue(r.Date) : QString();
    Ecrire(EditDateHeureMesureQFL8Aff, date);
    Ecrire(EditDateHeureMesureQFL16Aff, date);
    // Nothing to show before a first search: its date says so.
    const bool mesures = connus && r.Date != 0;
    const auto courant = [&](std::uint16_t i) { return mesures ? AffichageQFL::TexteCourant(i) : QString(); };
    const auto resistance = [&](std::uint16_t k) { return mesures ? AffichageQFL::TexteResistance(k) : QString(); };
    Ecrire(EditIntensT, courant(r.ITransfo));
    Ecrire(EditRT, resistance(r.RTransfo));
    Ecrire(EditIntensL, courant(r.ILimiteur));
    Ecrire(EditRL, resistance(r.RLimiteur));
    for (int k = 0; k < NbDepartsQFL8; ++k) {
        Ecrire(EditIntens[std::size_t(k)], courant(r.IDeparts[std::size_t(k)]));
        Ecrire(EditR[std::size_t(k)], resistance(r.RDeparts[std::size_t(k)]));
    }
    for (int u = 1; u <= NbUnitesQFL16; ++u) {
        const bool raccorde = d.Unites >> (u - 1) & 1u;
        for (int f = 1; f <= NbDepartsQFL16; ++f)
            StringGridMesuresQFL16->SetCellule(
                f, u, mesures && raccorde ? AffichageQFL::TexteCourant(r.IQFL16[std::size_t(u - 1)][std::size_t(f - 1)])
                                          : QString());
    }
    const TDefautQFL* defaut = DefautDerniereRecherche(d);
    for (int depart = 1; depart < PremierDepartQFL8 + NbDepartsQFL8; ++depart) {
        const bool ici = defaut && defaut->Unite == 0 && defaut->Depart == depart;
        const auto [i, res] = ChampsDepart(depart);
        Marquer(i, ici, QPalette().color(QPalette::Base));
        Marquer(res, ici, CouleursSysteme::FaceBouton);
    }
    StringGridMesuresQFL16->update();
    MettreAJourEtat();
}

void TFrameRecherche::MettreAJourEtat()
{
    QString etat;
    const TDefautQFL* defaut = m_aDesDonnees ? DefautDerniereRecherche(m_donnees) : nullptr;
    if (m_aDesDonnees && m_donnees.EtatCom != ComEnLigne)
        etat = AffichageQFL::TexteCommunication(m_donnees, m_langue);
    else if (m_occupee)
        etat = Texte(MsgRechercheDejaEnCours, m_langue);
    else if (m_aDesDonnees && (m_donnees.RechercheEnCours || m_demandee))
        etat = Texte(MsgRechercheEnCours, m_langue);
    else if (defaut)
        etat = Texte(MsgRechercheDefautTrouve, m_langue)
                   .arg(defaut->Depart)
                   .arg(defaut->Unite == 0 ? QStringLiteral("QFL8") : QStringLiteral("QFL16 %1").arg(defaut->Unite));
    if (LabelEtatRecherche->text() != etat)
        LabelEtatRecherche->setText(etat);
    const bool enLigne = m_aDesDonnees && m_donnees.EtatCom == ComEnLigne;
    const bool enCours = m_aDesDonnees && (m_donnees.RechercheEnCours || m_demandee);
    const bool possible = m_commandes && enLigne && !enCours;
    const QString raison = !m_aDesDonnees ? QString()
                           : !enLigne     ? AffichageQFL::TexteCommunication(m_donnees, m_langue)
                           : enCours      ? Texte(MsgRechercheEnCours, m_langue)
                                          : QString();
    for (QPushButton* b : {ButtonLancerRechercheQFL8, ButtonLancerRechercheQFL16})
        AffichageQFL::Autoriser(b, EDroit::LancerRecherche, m_mode, m_langue, possible, raison);
}

void TFrameRecherche::ButtonLancerRechercheClick()
{
    if (!m_commandes || !EstQFL(NumAppareil) || !Droit(EDroit::LancerRecherche, m_mode, false).Accorde)
        return;
    m_demandee = true;
    m_occupee = false;
    MettreAJourEtat();
    m_commandes->LancerRechercheQFL(NumAppareil);
}

void TFrameRecherche::Retour(ERetourQFL retour)
{
    // Taken, or refused because one already runs: the device is searching,
    // and the screen says so until a refresh shows it from the record. Only a
    // request that did not reach the device frees the buttons at once.
    if (retour != ERetourQFL::Acceptee && retour != ERetourQFL::Occupee)
        m_demandee = false;
    m_occupee = retour == ERetourQFL::Occupee;
    MettreAJourEtat();
    if (retour == ERetourQFL::ValeurRefusee || retour == ERetourQFL::SansReponse || retour == ERetourQFL::HorsLigne)
        LabelEtatRecherche->setText(Texte(MsgQFLSansReponse, m_langue));
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
    // The unit and feeder where the last search found the fault stand out.
    const TDefautQFL* defaut = m_aDesDonnees ? DefautDerniereRecherche(m_donnees) : nullptr;
    const bool ici = defaut && defaut->Unite == ligne && defaut->Depart == colonne;
    TGrilleDessinee::TexteRect(peintre, rect, rect.left() + 2, rect.top() + 2, texte,
                               ici ? AffichageQFL::CouleurDefaut : CouleurCelluleMesure(colonne, ligne));
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
