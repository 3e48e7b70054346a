#include "devices/CadreKMT.h"

#include "widgets/Controles.h"

#include "data/DateVeilleur.h"
#include "devices/ImagePlot.h"
#include "data/ConfigSet.h"
#include "platform/MessagesFenetre.h"
#include "sessions/Droits.h"
#include "text/MessagesVeilleur.h"
#include "widgets/Led.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace {

// Light colours.
const QColor VertLed(72, 255, 0);
const QColor RougeLed(254, 71, 59);
const QColor JauneLed(255, 240, 70);
// A light whose state is unknown (communication lost).
const QColor GrisInconnu(128, 128, 128);

// Plot and cursor colours; the read-out texts use the colour of their curve.
const QColor Sarcelle(0, 128, 128);
const QColor Violet(128, 0, 128);
const QColor CouleurMesure(0, 0, 0);
const QColor CouleurSeuil(255, 0, 0);
const QColor CouleurPrealarme(0, 0, 255);

const QString Unite = QStringLiteral("kOhm");
const QString PasDeValeur = QStringLiteral("x");
const QString PasDeDateLongue = QStringLiteral("xxxxxxx xx xxxxxxx xxxx - xx:xx:xx");
const QString PasDeDateCourte = QStringLiteral("xx/xx/xx - xx:xx:xx");
const QString PasDeBorne = QStringLiteral("x kOhm");

// A raised panel, like the layouts' bevelled panels.
QFrame* NouveauPanneau(QWidget* parent, const char* nom, const QRect& place)
{
    auto* panneau = NouveauControle<QFrame>(parent, nom, place);
    panneau->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panneau->setLineWidth(1);
    return panneau;
}

QLineEdit* NouvelEdit(QWidget* parent, const char* nom, const QRect& place, bool lectureSeule)
{
    auto* edit = NouveauControle<QLineEdit>(parent, nom, place);
    edit->setReadOnly(lectureSeule);
    return edit;
}

// The unit shown after a value, the same in every language.
QLabel* NouveauLabelUnite(QWidget* parent, int gauche, int haut)
{
    QLabel* label = NouveauLabel(parent, "", QRect(gauche, haut, 40, 24));
    label->setText(Unite);
    return label;
}

void DefinirCouleur(QWidget* w, QPalette::ColorRole role, const QColor& couleur)
{
    QPalette p = w->palette();
    p.setColor(role, couleur);
    w->setPalette(p);
}

// "dddddd - hh:nn:ss": the locale's long date, then the time, as the count
// holds them (wall-clock time). 0 means never (a device never in alarm).
QString DateLongue(double jours)
{
    QDate date;
    QTime heure;
    if (jours == 0.0 || !DateVeilleur::VersDateEtHeure(jours, date, heure))
        return PasDeDateLongue;
    return DateVeilleur::TexteDateLongue(date, heure, QLocale());
}

// "dd/mm/yy - hh:nn:ss" with the locale's date and time separators.
QString DateCourte(double jours)
{
    QDate date;
    QTime heure;
    if (jours == 0.0 || !DateVeilleur::VersDateEtHeure(jours, date, heure))
        return PasDeDateCourte;
    return DateVeilleur::TexteDateCourte(date, heure, QLocale());
}

// "00": a whole number of at least two digits.
QString DeuxChiffresAuMoins(double valeur)
{
    const double arrondi = std::nearbyint(valeur);
    if (!std::isfinite(arrondi))
        return PasDeValeur;
    const QString chiffres = QStringLiteral("%1").arg(std::fabs(arrondi), 2, 'f', 0, QLatin1Char('0'));
    return arrondi < 0 ? QLatin1Char('-') + chiffres : chiffres;
}

// Sets a text only when it differs, so that a refresh repaints what changed.
void Ecrire(QLineEdit* edit, const QString& texte)
{
    if (edit->text() != texte)
        edit->setText(texte);
}

void Ecrire(QLabel* label, const QString& texte)
{
    if (label->text() != texte)
        label->setText(texte);
}

void Ecrire(QGroupBox* groupe, const QString& texte)
{
    if (groupe->title() != texte)
        groupe->setTitle(texte);
}

bool EstCaractereTape(const QKeyEvent& touche)
{
    // Tab stays the focus key and Delete an editing key, whatever text the
    // platform attaches to them; Backspace counts as a typed character even
    // where the platform gives it no text.
    if (touche.key() == Qt::Key_Tab || touche.key() == Qt::Key_Backtab || touche.key() == Qt::Key_Delete)
        return false;
    return !touche.text().isEmpty() || touche.key() == Qt::Key_Backspace;
}

// Only the ten ASCII digits, not the digits of other scripts.
bool QueDesChiffres(const QString& texte)
{
    return !texte.isEmpty()
        && std::all_of(texte.begin(), texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// What identifies a history sample for a cursor: its steady-clock instant,
// or its date when it has none (0).
double InstantEchantillon(double instantMonotone, double date)
{
    return instantMonotone != 0.0 ? instantMonotone : date;
}

// Clears a flag on every way out of a scope.
class TDrapeau {
public:
    explicit TDrapeau(bool& drapeau) : m_drapeau(drapeau) { m_drapeau = true; }
    ~TDrapeau() { m_drapeau = false; }
    TDrapeau(const TDrapeau&) = delete;
    TDrapeau& operator=(const TDrapeau&) = delete;

private:
    bool& m_drapeau;
};

} // namespace

TFrameKMT::TFrameKMT(QWidget* parent)
    : TFrameEnhanced(parent)
{
    LabelTitre = NouveauLabel(this, "LabelTitre", QRect(16, 16, 721, 20), Qt::AlignCenter);
    LabelTitre->setFont(PoliceEcran(16, true));

    // Created after the title, which it overlaps, so that it stays clickable.
    BitBtnQuit = NouveauBoutonQuitter(this);
    connect(BitBtnQuit, &QPushButton::clicked, this, &TFrameKMT::BitBtnQuitClick);

    // Qt paints every widget double-buffered; nothing to ask for.
    PageControl1 = NouveauControle<QTabWidget>(this, "PageControl1", QRect(16, 48, 713, 481));
    TabSheetMesures = new QWidget;
    TabSheetMesures->setObjectName(QStringLiteral("TabSheetMesures"));
    TabSheetReglages = new QWidget;
    TabSheetReglages->setObjectName(QStringLiteral("TabSheetReglages"));
    TabSheetHistorique = new QWidget;
    TabSheetHistorique->setObjectName(QStringLiteral("TabSheetHistorique"));
    TabSheetInfos = new QWidget;
    TabSheetInfos->setObjectName(QStringLiteral("TabSheetInfos"));
    PageControl1->addTab(TabSheetMesures, QString());
    PageControl1->addTab(TabSheetReglages, QString());
    PageControl1->addTab(TabSheetHistorique, QString());
    PageControl1->addTab(TabSheetInfos, QString());
    ConstruireMesures(TabSheetMesures);
    ConstruireReglages(TabSheetReglages);
    ConstruireHistorique(TabSheetHistorique);
    ConstruireInfos(TabSheetInfos);

    Panel1 = NouveauPanneau(this, "Panel1", QRect(16, 544, 713, 73));
    ButtonLancer = NouveauControle<QPushButton>(Panel1, "ButtonLancer", QRect(192, 16, 329, 41));
    connect(ButtonLancer, &QPushButton::clicked, this, &TFrameKMT::ButtonLancerClick);

    // Between the tabs and the bottom panel, seen whatever the tab.
    LabelEtatCom = NouveauLabel(this, "LabelEtatCom", QRect(16, 529, 713, 15), Qt::AlignCenter);
    LabelEtatCom->setFont(PoliceEcran(12, true));
    DefinirCouleur(LabelEtatCom, QPalette::WindowText, QColor(192, 0, 0));

    EditsAffichage = {EditRisolement, EditRmin,      EditRseuil,      EditDHDerniereAlarme, EditRSeuilActuel,
                      EditMesure1,    EditPrealarme1, EditSeuil1,     EditMesure2,          EditPrealarme2,
                      EditSeuil2,     EditVLogiciel,  EditAdrReseau};
    for (QLineEdit* edit : EditsAffichage)
        edit->installEventFilter(this);
    EditNvSeuil->installEventFilter(this);
}

void TFrameKMT::ConstruireMesures(QWidget* page)
{
    QFrame* panel2 = NouveauPanneau(page, "Panel2", QRect(16, 16, 673, 153));
    Panel2 = panel2;
    LabelMessageMesures = NouveauLabel(page, "LabelMessageMesures", QRect(16, 170, 673, 20), Qt::AlignCenter);
    const Qt::Alignment aDroite = Qt::AlignRight | Qt::AlignVCenter;
    LabelRisolement = NouveauLabel(panel2, "LabelRisolement", QRect(24, 14, 220, 24), aDroite);
    EditRisolement = NouvelEdit(panel2, "EditRisolement", QRect(256, 14, 121, 24), true);
    NouveauLabelUnite(panel2, 400, 14);
    LabelRmin = NouveauLabel(panel2, "LabelRmin", QRect(24, 61, 220, 24), aDroite);
    EditRmin = NouvelEdit(panel2, "EditRmin", QRect(256, 61, 121, 24), true);
    NouveauLabelUnite(panel2, 400, 61);
    LabelRseuil = NouveauLabel(panel2, "LabelRseuil", QRect(24, 108, 220, 24), aDroite);
    EditRseuil = NouvelEdit(panel2, "EditRseuil", QRect(256, 108, 121, 24), true);
    NouveauLabelUnite(panel2, 400, 108);

    QFrame* panel3 = NouveauPanneau(page, "Panel3", QRect(16, 192, 673, 233));
    auto led = [panel3](const char* nom, int gauche, int haut) {
        auto* l = new TLed(panel3);
        l->setObjectName(QLatin1String(nom));
        l->move(gauche, haut);
        return l;
    };
    JvTransLEDAutoTest = led("JvTransLEDAutoTest", 27, 24);
    JvTransLEDDCPlus = led("JvTransLEDDCPlus", 27, 72);
    JvTransLEDDCMoins = led("JvTransLEDDCMoins", 27, 120);
    LabelAutoTest = NouveauLabel(panel3, "LabelAutoTest", QRect(64, 24, 290, 25));
    LabelDCPlus = NouveauLabel(panel3, "LabelDCPlus", QRect(64, 72, 290, 25));
    LabelDCMoins = NouveauLabel(panel3, "LabelDCMoins", QRect(64, 120, 290, 25));

    LabelPrealarme = NouveauLabel(panel3, "LabelPrealarme", QRect(360, 24, 107, 25), aDroite);
    LabelKlaxon = NouveauLabel(panel3, "LabelKlaxon", QRect(360, 72, 107, 25), aDroite);
    LabelAlarme = NouveauLabel(panel3, "LabelAlarme", QRect(360, 120, 107, 25), aDroite);
    JvTransLEDPreAlarme = led("JvTransLEDPreAlarme", 475, 24);
    JvTransLEDKlaxon = led("JvTransLEDKlaxon", 475, 72);
    JvTransLEDAlarme = led("JvTransLEDAlarme", 475, 120);
    ButtonAcqPrealarme = NouveauControle<QPushButton>(panel3, "ButtonAcqPrealarme", QRect(512, 22, 129, 28));
    ButtonAcqKlaxon = NouveauControle<QPushButton>(panel3, "ButtonAcqKlaxon", QRect(512, 70, 129, 28));
    ButtonAcqAlarme = NouveauControle<QPushButton>(panel3, "ButtonAcqAlarme", QRect(512, 118, 129, 28));
    connect(ButtonAcqPrealarme, &QPushButton::clicked, this, [this] { ButtonAcqClick(TAcquitAppareil::PreAlarme); });
    connect(ButtonAcqAlarme, &QPushButton::clicked, this, [this] { ButtonAcqClick(TAcquitAppareil::Alarme); });
    connect(ButtonAcqKlaxon, &QPushButton::clicked, this, [this] { ButtonAcqClick(TAcquitAppareil::Klaxon); });
    for (QPushButton* b : {ButtonAcqPrealarme, ButtonAcqKlaxon, ButtonAcqAlarme})
        b->setEnabled(false);

    LabelDHDerniereAlarme = NouveauLabel(panel3, "LabelDHDerniereAlarme", QRect(24, 165, 625, 16));
    EditDHDerniereAlarme = NouvelEdit(panel3, "EditDHDerniereAlarme", QRect(24, 182, 625, 24), false);
}

void TFrameKMT::ConstruireReglages(QWidget* page)
{
    const Qt::Alignment aDroite = Qt::AlignRight | Qt::AlignVCenter;
    QFrame* panel6 = NouveauPanneau(page, "Panel6", QRect(16, 16, 673, 137));
    LabelRSeuilActuel = NouveauLabel(panel6, "LabelRSeuilActuel", QRect(24, 29, 220, 24), aDroite);
    EditRSeuilActuel = NouvelEdit(panel6, "EditRSeuilActuel", QRect(256, 29, 121, 24), false);
    NouveauLabelUnite(panel6, 400, 29);
    LabelNvSeuil = NouveauLabel(panel6, "LabelNvSeuil", QRect(24, 76, 220, 24), aDroite);
    EditNvSeuil = NouvelEdit(panel6, "EditNvSeuil", QRect(256, 76, 121, 24), false);
    NouveauLabelUnite(panel6, 400, 76);
    ButtonSetNvSeuil = NouveauControle<QPushButton>(panel6, "ButtonSetNvSeuil", QRect(472, 76, 81, 25));
    ButtonSetNvSeuil->setText(QStringLiteral("OK"));
    ButtonSetNvSeuil->setEnabled(false);
    connect(ButtonSetNvSeuil, &QPushButton::clicked, this, &TFrameKMT::ButtonSetNvSeuilClick);
    CheckBoxAuxSuivants = NouveauControle<QCheckBox>(panel6, "CheckBoxAuxSuivants", QRect(256, 104, 297, 17));

    QFrame* panel5 = NouveauPanneau(page, "Panel5", QRect(16, 168, 673, 65));
    LabelSiAlarme = NouveauLabel(panel5, "LabelSiAlarme", QRect(21, 24, 220, 17), aDroite);
    CheckBoxAutoRecherche = NouveauControle<QCheckBox>(panel5, "CheckBoxAutoRecherche", QRect(256, 24, 150, 17));
    connect(CheckBoxAutoRecherche, &QCheckBox::clicked, this, &TFrameKMT::CheckBoxAutoRechercheClick);
    LabelMessageReglages = NouveauLabel(page, "LabelMessageReglages", QRect(16, 245, 673, 40), Qt::AlignCenter);
    LabelMessageReglages->setWordWrap(true);
}

void TFrameKMT::ConstruireHistorique(QWidget* page)
{
    const QColor face(240, 240, 240);
    QFrame* panel4 = NouveauPanneau(page, "Panel4", QRect(16, 16, 673, 409));
    DefinirCouleur(panel4, QPalette::Window, face);
    panel4->setAutoFillBackground(true);
    QFrame* panel8 = NouveauPanneau(panel4, "Panel8", QRect(8, 8, 657, 265));
    DefinirCouleur(panel8, QPalette::Window, face);
    panel8->setAutoFillBackground(true);

    // Range labels: the largest value at the top and the smallest at the bottom,
    // both ending just left of the plot. Right-aligned over all the room left of
    // it, so that a value grows to the left; the largest, "131070 kOhm", is
    // condensed a little to fit there.
    Label5 = NouveauLabel(panel8, "Label5", QRect(2, 8, 76, 16), Qt::AlignRight | Qt::AlignTop);
    Label4 = NouveauLabel(panel8, "Label4", QRect(2, 216, 76, 16), Qt::AlignRight | Qt::AlignTop);

    Panel7 = NouveauControle<QFrame>(panel8, "Panel7", QRect(80, 8, 553, 225));
    Panel7->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel7->setLineWidth(1);
    QPalette p7 = Panel7->palette();
    p7.setColor(QPalette::Window, Qt::white);
    p7.setColor(QPalette::WindowText, Qt::black);
    Panel7->setPalette(p7);
    Panel7->setAutoFillBackground(true);
    ImagePlot1 = NouveauControle<TImagePlot>(Panel7, "ImagePlot1", QRect(1, 1, 551, 223));
    ImagePlot1->DefinirCouleurFond(Qt::white);
    ImagePlot1->DefinirCouleurCourbe1(CouleurMesure);
    ImagePlot1->DefinirCouleurCourbe2(CouleurSeuil);
    ImagePlot1->DefinirCouleurCourbe3(CouleurPrealarme);
    ImagePlot1->DefinirCouleurRepereX1(Sarcelle);
    ImagePlot1->DefinirCouleurRepereX2(Violet);

    Label12 = NouveauLabel(panel8, "Label12", QRect(80, 236, 270, 16), Qt::AlignLeft | Qt::AlignTop);
    Label13 = NouveauLabel(panel8, "Label13", QRect(362, 236, 270, 16), Qt::AlignRight | Qt::AlignTop);

    auto forme = [panel4](const char* nom, int gauche, const QColor& couleur) {
        auto* f = NouveauControle<QFrame>(panel4, nom, QRect(gauche, 281, 15, 15));
        f->setFrameStyle(QFrame::Box | QFrame::Plain);
        f->setLineWidth(1);
        QPalette p = f->palette();
        p.setColor(QPalette::Window, couleur);
        p.setColor(QPalette::WindowText, Qt::black);
        f->setPalette(p);
        f->setAutoFillBackground(true);
    };
    auto barre = [this, panel4](const char* nom, int gauche, int tag) {
        auto* b = new QScrollBar(Qt::Horizontal, panel4);
        b->setObjectName(QLatin1String(nom));
        b->setGeometry(gauche, 281, 304, 16);
        b->setProperty("Tag", tag);
        // No page: the thumb keeps its smallest size and a click beside it
        // moves the cursor by one sample, like the arrows.
        b->setPageStep(0);
        b->setSingleStep(1);
        b->setEnabled(false);
        connect(b, &QScrollBar::actionTriggered, b, [b](int action) {
            if (action == QAbstractSlider::SliderPageStepAdd)
                b->setSliderPosition(b->sliderPosition() + 1);
            else if (action == QAbstractSlider::SliderPageStepSub)
                b->setSliderPosition(b->sliderPosition() - 1);
        });
        connect(b, &QScrollBar::valueChanged, this, [this, b] { ScrollBarChange(b); });
        return b;
    };
    forme("Shape3", 8, Sarcelle);
    ScrollBar1 = barre("ScrollBar1", 28, 1);
    forme("Shape4", 340, Violet);
    ScrollBar2 = barre("ScrollBar2", 360, 2);

    auto groupe = [panel4](const char* nom, int gauche, const QColor& couleur) {
        auto* g = NouveauControle<QGroupBox>(panel4, nom, QRect(gauche, 301, 325, 100));
        DefinirCouleur(g, QPalette::WindowText, couleur);
        return g;
    };
    auto lecture = [](QGroupBox* g, const char* nom, int haut, const QColor& couleur) {
        QLineEdit* e = NouvelEdit(g, nom, QRect(120, haut, 65, 24), false);
        DefinirCouleur(e, QPalette::Text, couleur);
        // The group's caption colour must not reach its unit texts.
        QLabel* unite = NouveauLabelUnite(g, 192, haut);
        DefinirCouleur(unite, QPalette::WindowText, Qt::black);
        return e;
    };
    GroupBox1 = groupe("GroupBox1", 8, Sarcelle);
    EditMesure1 = lecture(GroupBox1, "EditMesure1", 20, CouleurMesure);
    EditPrealarme1 = lecture(GroupBox1, "EditPrealarme1", 46, CouleurPrealarme);
    EditSeuil1 = lecture(GroupBox1, "EditSeuil1", 72, CouleurSeuil);
    GroupBox2 = groupe("GroupBox2", 340, Violet);
    EditMesure2 = lecture(GroupBox2, "EditMesure2", 20, CouleurMesure);
    EditPrealarme2 = lecture(GroupBox2, "EditPrealarme2", 46, CouleurPrealarme);
    EditSeuil2 = lecture(GroupBox2, "EditSeuil2", 72, CouleurSeuil);
}

void TFrameKMT::ConstruireInfos(QWidget* page)
{
    const Qt::Alignment aDroite = Qt::AlignRight | Qt::AlignVCenter;
    QFrame* panel9 = NouveauPanneau(page, "Panel9", QRect(16, 16, 673, 137));
    LabelVLogiciel = NouveauLabel(panel9, "LabelVLogiciel", QRect(24, 29, 220, 24), aDroite);
    EditVLogiciel = NouvelEdit(panel9, "EditVLogiciel", QRect(256, 29, 121, 24), true);
    LabelAdrReseau = NouveauLabel(panel9, "LabelAdrReseau", QRect(24, 77, 220, 24), aDroite);
    EditAdrReseau = NouvelEdit(panel9, "EditAdrReseau", QRect(256, 77, 121, 24), true);
}

void TFrameKMT::ChangerLangue(TLangue langue)
{
    PageControl1->setTabText(PageControl1->indexOf(TabSheetMesures), Texte(MsgKMTMesures, langue));
    LabelRisolement->setText(Texte(MsgKMTRIsolement, langue));
    LabelRmin->setText(Texte(MsgKMTRMin, langue));
    LabelRseuil->setText(Texte(MsgKMTRSeuil, langue));
    LabelAutoTest->setText(Texte(MsgKMTAutotest, langue));
    LabelDCPlus->setText(Texte(MsgKMTTestTensionContinuePlus, langue));
    LabelDCMoins->setText(Texte(MsgKMTTestTensionContinueMoins, langue));
    LabelPrealarme->setText(Texte(MsgKMTPrealarme, langue));
    LabelKlaxon->setText(Texte(MsgKMTKlaxon, langue));
    LabelAlarme->setText(Texte(MsgKMTAlarme, langue));
    LabelDHDerniereAlarme->setText(Texte(MsgKMTDateHeureDerniereAlarme, langue));
    const QString acquitter = Texte(MsgKMTAcquitter, langue);
    ButtonAcqPrealarme->setText(acquitter);
    ButtonAcqKlaxon->setText(acquitter);
    ButtonAcqAlarme->setText(acquitter);
    PageControl1->setTabText(PageControl1->indexOf(TabSheetReglages), Texte(MsgKMTReglages, langue));
    LabelRSeuilActuel->setText(Texte(MsgKMTRSeuilActuel, langue));
    LabelNvSeuil->setText(Texte(MsgKMTNouveauSeuil, langue));
    CheckBoxAuxSuivants->setText(Texte(MsgKMTAppliquerAuxKMTSuivants, langue));
    LabelSiAlarme->setText(Texte(MsgRechercheRechercheAutomatique, langue));
    CheckBoxAutoRecherche->setText(Texte(MsgRechercheOui, langue));
    PageControl1->setTabText(PageControl1->indexOf(TabSheetHistorique), Texte(MsgKMTHistorique, langue));
    PageControl1->setTabText(PageControl1->indexOf(TabSheetInfos), Texte(MsgKMTInfos, langue));
    LabelVLogiciel->setText(Texte(MsgKMTVersionDuLogiciel, langue));
    LabelAdrReseau->setText(Texte(MsgKMTAdresseSurLeReseau, langue));
    // A button shows the stored "&&" as one "&".
    ButtonLancer->setText(Texte(MsgKMTRechercheQFL8QFL16, langue));
    m_langue = langue;
    // Kept for the title, which is built once, when the screen opens.
    TexteNumero = Texte(MsgVueDEnsembleStringGridNumSourceN, langue);
}

void TFrameKMT::Initialiser(const TInfosKMT& bloc)
{
    PageControl1->setCurrentWidget(TabSheetMesures);
    HandlePrincipal = bloc.Handle;
    Commandes = bloc.Commandes;
    NumAppareil = bloc.NumAppareil;
    EcranRetour = bloc.EcranRetour;
    AppareilRetour = bloc.AppareilRetour;

    QString titre = QStringLiteral("KMT ") + TexteNumero + QLatin1Char(' ') + QString::number(NumAppareil);
    if (!bloc.NomAppareil.isEmpty())
        titre += QStringLiteral(" / ") + bloc.NomAppareil;
    LabelTitre->setText(titre);

    for (QLineEdit* edit : {EditRisolement, EditRmin, EditRseuil, EditDHDerniereAlarme, EditRSeuilActuel,
                            EditNvSeuil, EditMesure1, EditPrealarme1, EditSeuil1, EditMesure2, EditPrealarme2,
                            EditSeuil2, EditVLogiciel})
        edit->clear();
    // The device's network address is its number.
    EditAdrReseau->setText(QString::number(NumAppareil));
    if (Commandes && Commandes->RechercheAutoPossible())
        CheckBoxAutoRecherche->setChecked(Commandes->RechercheAuto(NumAppareil));
    PremiereMiseAJour = true;
}

void TFrameKMT::Actualiser(const TDonneesKMT& r)
{
    // A refresh that arrives while this one lets pending events run would
    // rebuild the plot under the cursors being set up: the next tick redraws.
    if (MiseAJourEnCours)
        return;
    // Busy for the whole refresh, not only while one cursor handler runs: the
    // handlers it raises let events through, and the screen must not be
    // destroyed before this call has returned.
    TOccupationEcran occupation(*this);
    TDrapeau enCours(MiseAJourEnCours);

    if (r.Present) {
        Ecrire(EditRisolement, QString::number(r.RIsolement));
        Ecrire(EditRmin, QString::number(r.RMin));
        Ecrire(EditRseuil, QString::number(r.RSeuil));
        Ecrire(EditRSeuilActuel, QString::number(r.RSeuil));
        // Not while the operator is typing a threshold into it.
        if (!EditNvSeuil->hasFocus() && !EditNvSeuil->isModified())
            Ecrire(EditNvSeuil, QString::number(r.NvSeuil));
        JvTransLEDAutoTest->DefinirCouleur(r.AutoTest ? VertLed : RougeLed);
        JvTransLEDDCPlus->DefinirCouleur(r.DCPlus ? VertLed : RougeLed);
        JvTransLEDDCMoins->DefinirCouleur(r.DCMoins ? VertLed : RougeLed);
        JvTransLEDPreAlarme->DefinirCouleur(r.PreAlarme ? JauneLed : TLed::Argent);
        JvTransLEDKlaxon->DefinirCouleur(r.Klaxon ? RougeLed : TLed::Argent);
        JvTransLEDAlarme->DefinirCouleur(r.Alarme ? RougeLed : TLed::Argent);
        Ecrire(EditDHDerniereAlarme, DateLongue(r.DHDerniereAlarme));
        Ecrire(EditVLogiciel, QString::number(r.VLogiciel));
    } else {
        for (QLineEdit* edit : {EditRisolement, EditRmin, EditRseuil, EditRSeuilActuel})
            Ecrire(edit, PasDeValeur);
        if (!EditNvSeuil->hasFocus() && !EditNvSeuil->isModified())
            Ecrire(EditNvSeuil, PasDeValeur);
        for (TLed* led : {JvTransLEDAutoTest, JvTransLEDDCPlus, JvTransLEDDCMoins})
            led->DefinirCouleur(VertLed);
        for (TLed* led : {JvTransLEDPreAlarme, JvTransLEDKlaxon, JvTransLEDAlarme})
            led->DefinirCouleur(TLed::Argent);
        Ecrire(EditDHDerniereAlarme, PasDeDateLongue);
        Ecrire(EditVLogiciel, PasDeValeur);
    }

    RegimeCommandes(r);

    // A damaged count never reads past the history.
    const int n = std::min<int>(r.NbMesures, NbMaxMesures);
    if (n < 3)
        AfficherHistoriqueVide();
    else
        AfficherHistorique(r, n);
}

void TFrameKMT::AfficherHistoriqueVide()
{
    ImagePlot1->Effacer();
    Ecrire(Label4, PasDeBorne);
    Ecrire(Label5, PasDeBorne);
    Ecrire(Label12, PasDeDateCourte);
    Ecrire(Label13, PasDeDateCourte);
    Ecrire(GroupBox1, PasDeDateLongue);
    Ecrire(GroupBox2, PasDeDateLongue);
    ScrollBar1->setEnabled(false);
    ScrollBar2->setEnabled(false);
}

void TFrameKMT::AfficherHistorique(const TDonneesKMT& r, int n)
{
    const auto& T = r.HistDate;
    const auto& M = r.HistMonotone;
    // A cursor follows its sample by the sample's steady-clock instant, which
    // a clock set back cannot give to two samples; by its date where the
    // producer recorded none. DateRepere1/2 hold that instant.
    auto instant = [&](int i) { return InstantEchantillon(M[i], T[i]); };
    if (PremiereMiseAJour) {
        DateRepere1 = instant(1);
        DateRepere2 = instant(n);
        Repere1Deplace = false;
        Repere2Deplace = false;
        PremiereMiseAJour = false;
    }
    // An untouched cursor stays at its end of the history.
    if (!Repere1Deplace)
        DateRepere1 = instant(1);
    if (!Repere2Deplace)
        DateRepere2 = instant(n);

    // With equal instants (dates without steady-clock times) the last one wins.
    TImagePlot::TValeurs x, y1, y2, y3, t;
    int repere1 = ImagePlot1->RepereX1();
    int repere2 = ImagePlot1->RepereX2();
    for (int i = 1; i <= n; ++i) {
        x[i] = T[i];
        t[i] = M[i];
        y1[i] = r.HistRIsolement[i];
        y2[i] = r.HistRSeuil[i];
        y3[i] = 2.0 * r.HistRSeuil[i];  // the pre-alarm level is twice the threshold
        if (instant(i) == DateRepere1)
            repere1 = i;
        if (instant(i) == DateRepere2)
            repere2 = i;
    }
    // The followed sample has left the history: back to the end position.
    if (repere1 < 1 || repere1 > n || instant(repere1) != DateRepere1) {
        Repere1Deplace = false;
        DateRepere1 = instant(1);
        repere1 = 1;
    }
    if (repere2 < 1 || repere2 > n || instant(repere2) != DateRepere2) {
        Repere2Deplace = false;
        DateRepere2 = instant(n);
        repere2 = n;
    }
    ImagePlot1->ValeursX = x;
    ImagePlot1->ValeursY1 = y1;
    ImagePlot1->ValeursY2 = y2;
    ImagePlot1->ValeursY3 = y3;
    ImagePlot1->ValeursT = t;
    ImagePlot1->DefinirNbValeurs(n);
    ImagePlot1->DefinirRepereX1(repere1);
    ImagePlot1->DefinirRepereX2(repere2);
    // The record is not read past this point: the scroll bar changes below let
    // pending events (other timers) run.

    ScrollBar1->setEnabled(true);
    ScrollBar2->setEnabled(true);
    ScrollBar1->setRange(1, n);
    ScrollBar2->setRange(1, n);
    ScrollBar1->setValue(repere1);
    ScrollBar2->setValue(repere2);

    ImagePlot1->Update();
    Ecrire(Label4, DeuxChiffresAuMoins(ImagePlot1->MinY()) + QLatin1Char(' ') + Unite);
    Ecrire(Label5, DeuxChiffresAuMoins(ImagePlot1->MaxY()) + QLatin1Char(' ') + Unite);
    // The dates of the first and last samples, which a step of the clock may
    // have made other than the smallest and largest.
    Ecrire(Label12, DateCourte(ImagePlot1->ValeursX[1]));
    Ecrire(Label13, DateCourte(ImagePlot1->ValeursX[n]));
    AfficherReperes();
}

void TFrameKMT::AfficherRepere(int position, QGroupBox* groupe, QLineEdit* mesure, QLineEdit* prealarme,
                               QLineEdit* seuil) const
{
    // Left as it is while a scroll bar still holds a position outside the samples.
    if (position < 1 || position > ImagePlot1->NbValeurs())
        return;
    Ecrire(groupe, DateLongue(ImagePlot1->ValeursX[position]));
    Ecrire(mesure, DeuxChiffresAuMoins(ImagePlot1->ValeursY1[position]));
    Ecrire(prealarme, DeuxChiffresAuMoins(ImagePlot1->ValeursY3[position]));
    Ecrire(seuil, DeuxChiffresAuMoins(ImagePlot1->ValeursY2[position]));
}

void TFrameKMT::AfficherReperes()
{
    AfficherRepere(ScrollBar1->value(), GroupBox1, EditMesure1, EditPrealarme1, EditSeuil1);
    AfficherRepere(ScrollBar2->value(), GroupBox2, EditMesure2, EditPrealarme2, EditSeuil2);
}

void TFrameKMT::ScrollBarChange(QScrollBar* sender)
{
    // The pending events processed below may hold a request to show another
    // screen or to relabel this one: the main window waits until we are done.
    TOccupationEcran occupation(*this);
    const int position = sender->value();
    const int nb = ImagePlot1->NbValeurs();
    if (sender->property("Tag").toInt() == 1) {
        if (!MiseAJourEnCours) {
            ImagePlot1->DefinirRepereX1(position);
            Repere1Deplace = position != sender->minimum();
        }
        const int k = ImagePlot1->RepereX1();
        if (k >= 1 && k <= nb)
            DateRepere1 = InstantEchantillon(ImagePlot1->ValeursT[k], ImagePlot1->ValeursX[k]);
    } else {
        if (!MiseAJourEnCours) {
            ImagePlot1->DefinirRepereX2(position);
            Repere2Deplace = position != sender->maximum();
        }
        const int k = ImagePlot1->RepereX2();
        if (k >= 1 && k <= nb)
            DateRepere2 = InstantEchantillon(ImagePlot1->ValeursT[k], ImagePlot1->ValeursX[k]);
    }
    AfficherReperes();
    // Paint the new read-outs at once, while the cursor is being dragged.
    QCoreApplication::processEvents();
    if (!MiseAJourEnCours)
        ImagePlot1->Update();
}

bool TFrameKMT::EditKeyPress(const QKeyEvent& touche) const
{
    return EstCaractereTape(touche);
}

bool TFrameKMT::EditKeyNumPress(const QKeyEvent& touche) const
{
    // Digits only; Backspace is refused like any other character.
    return EstCaractereTape(touche) && !QueDesChiffres(touche.text());
}

bool TFrameKMT::eventFilter(QObject* objet, QEvent* evenement)
{
    const bool affichage = std::find(EditsAffichage.begin(), EditsAffichage.end(), objet) != EditsAffichage.end();
    if (affichage || objet == EditNvSeuil) {
        if (evenement->type() == QEvent::KeyPress) {
            const auto& touche = *static_cast<QKeyEvent*>(evenement);
            return affichage ? EditKeyPress(touche) : EditKeyNumPress(touche);
        }
        // Text composed by an input method is typed text too.
        if (evenement->type() == QEvent::InputMethod) {
            const QString texte = static_cast<QInputMethodEvent*>(evenement)->commitString();
            if (!texte.isEmpty() && (affichage || !QueDesChiffres(texte)))
                return true;
        }
    }
    return TFrameEnhanced::eventFilter(objet, evenement);
}

void TFrameKMT::BitBtnQuitClick()
{
    PosterEcran(HandlePrincipal, EcranRetour, AppareilRetour);
}

void TFrameKMT::ButtonLancerClick()
{
    // The QFL device under this KMT device in the monitoring strip.
    PosterEcran(HandlePrincipal, EcranRecherche, NumAppareil + DecalageQFL);
}

// ---------------------------------------------------------------------------
// Commands

void TFrameKMT::RegimeCommandes(const TDonneesKMT& r)
{
    const bool perdu = r.EtatCom == ComPerdue;
    Ecrire(LabelEtatCom, perdu ? Texte(MsgDirectCommunicationPerdue, m_langue).arg(DateLongue(r.DHEtatCom)) : QString());
    // The values of a lost device are of unknown age: shown greyed, and its
    // lights tell nothing, as on the strip.
    Panel2->setEnabled(!perdu);
    if (perdu)
        for (TLed* led : {JvTransLEDAutoTest, JvTransLEDDCPlus, JvTransLEDDCMoins, JvTransLEDPreAlarme,
                          JvTransLEDKlaxon, JvTransLEDAlarme})
            led->DefinirCouleur(GrisInconnu);

    const bool enLigne = r.Present && !perdu;
    ReglerBoutonAcquit(ButtonAcqPrealarme, r.PreAlarme, r.PreAlarmeAcquittee, enLigne);
    ReglerBoutonAcquit(ButtonAcqAlarme, r.Alarme, r.AlarmeAcquittee, enLigne);
    ReglerBoutonAcquit(ButtonAcqKlaxon, r.Klaxon, r.KlaxonAcquitte, enLigne);

    QString pourquoi;
    if (Commandes) {
        const TDroit droit = Droit(EDroit::ReglerSeuils, Commandes->ModeSession(), ConfigSet.AcqAlarmesConsultation);
        if (!droit.Accorde)
            pourquoi = TexteMessageSession(droit.Raison, m_langue);
        else if (!enLigne)
            pourquoi = perdu ? LabelEtatCom->text() : Texte(MsgDirectHorsLigne, m_langue);
    }
    ButtonSetNvSeuil->setEnabled(Commandes && pourquoi.isEmpty());
    if (ButtonSetNvSeuil->toolTip() != pourquoi)
        ButtonSetNvSeuil->setToolTip(pourquoi);

    // The automatic search is a setting of the live network, whatever the
    // device's state. The demonstration has no fault locator: the box is
    // left as it has always been there.
    if (!Commandes || !Commandes->RechercheAutoPossible())
        return;
    const TDroit droit = Droit(EDroit::ReglerSeuils, Commandes->ModeSession(), ConfigSet.AcqAlarmesConsultation);
    const QString refus = droit.Accorde ? QString() : TexteMessageSession(droit.Raison, m_langue);
    CheckBoxAutoRecherche->setEnabled(droit.Accorde);
    if (CheckBoxAutoRecherche->toolTip() != refus)
        CheckBoxAutoRecherche->setToolTip(refus);
}

void TFrameKMT::CheckBoxAutoRechercheClick(bool active)
{
    if (!Commandes || !Commandes->RechercheAutoPossible())
        return;
    if (!Droit(EDroit::ReglerSeuils, Commandes->ModeSession(), ConfigSet.AcqAlarmesConsultation).Accorde) {
        CheckBoxAutoRecherche->setChecked(!active);
        return;
    }
    const QString echec = Commandes->DefinirRechercheAuto(NumAppareil, active);
    // The box shows what is in force.
    CheckBoxAutoRecherche->setChecked(Commandes->RechercheAuto(NumAppareil));
    AfficherMessage(LabelMessageReglages, echec, !echec.isEmpty());
}

void TFrameKMT::ReglerBoutonAcquit(QPushButton* bouton, bool condition, bool acquitte, bool enLigne)
{
    QString pourquoi;
    if (Commandes) {
        const TDroit droit = Droit(EDroit::AcquitterAlarmes, Commandes->ModeSession(), ConfigSet.AcqAlarmesConsultation);
        if (!droit.Accorde)
            pourquoi = TexteMessageSession(droit.Raison, m_langue);
        else if (!enLigne)
            pourquoi = Texte(MsgDirectHorsLigne, m_langue);
        else if (!condition)
            pourquoi = Texte(MsgDirectRienAAcquitter, m_langue);
        else if (acquitte)
            pourquoi = Texte(MsgDirectDejaAcquitte, m_langue);
    }
    bouton->setEnabled(Commandes && pourquoi.isEmpty());
    if (bouton->toolTip() != pourquoi)
        bouton->setToolTip(pourquoi);
}

void TFrameKMT::ButtonAcqClick(TAcquitAppareil quoi)
{
    // The mode may have changed since the last refresh.
    if (!Commandes || !Droit(EDroit::AcquitterAlarmes, Commandes->ModeSession(), ConfigSet.AcqAlarmesConsultation).Accorde)
        return;
    LabelMessageMesures->clear();
    Commandes->Acquitter(NumAppareil, quoi);
}

void TFrameKMT::ButtonSetNvSeuilClick()
{
    if (!Commandes || !Droit(EDroit::ReglerSeuils, Commandes->ModeSession(), ConfigSet.AcqAlarmesConsultation).Accorde)
        return;
    bool lu = false;
    const int seuil = EditNvSeuil->text().toInt(&lu);
    TResultatCommande resultat{NumAppareil, TGenreCommandeAppareil::Seuil, 0, TIssueCommande::HorsPlage, 0};
    if (!lu || seuil < TCommandesAppareils::SeuilMin || seuil > TCommandesAppareils::SeuilMax) {
        MontrerResultat(resultat);
        return;
    }
    resultat.Valeur = static_cast<std::uint16_t>(seuil);
    resultat.Issue = Commandes->DemanderSeuil(NumAppareil, seuil, CheckBoxAuxSuivants->isChecked());
    if (resultat.Issue != TIssueCommande::Reussie) {
        MontrerResultat(resultat);
        return;
    }
    // Sent: the field follows the device again; the outcome comes later.
    EditNvSeuil->setModified(false);
    AfficherMessage(LabelMessageReglages, Texte(MsgDirectSeuilEnvoye, m_langue).arg(seuil), false);
}

void TFrameKMT::MontrerResultat(const TResultatCommande& resultat)
{
    QLabel* label = resultat.Genre == TGenreCommandeAppareil::Seuil ? LabelMessageReglages : LabelMessageMesures;
    AfficherMessage(label, TexteResultatCommande(resultat, m_langue), resultat.Issue != TIssueCommande::Reussie);
}

void TFrameKMT::AfficherMessage(QLabel* label, const QString& texte, bool echec)
{
    DefinirCouleur(label, QPalette::WindowText, echec ? QColor(192, 0, 0) : QColor(0, 112, 0));
    label->setText(texte);
}
