// The KMT device screen: values and lights of present and absent devices, the
// history plot with its two cursors following samples by date, the key
// filters, the title's number word, navigation requests, and refreshes that
// let pending events run while the shell holds the read lock.
#include "app/GenerateurDemo.h"
#include "data/VerrouDonnees.h"
#include "devices/CadreKMT.h"
#include "devices/ImagePlot.h"
#include "platform/MessagesFenetre.h"
#include "widgets/Led.h"
#include "support/OutilsTest.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <utility>
#include <vector>

// Readable QString values in failure messages.
inline void PrintTo(const QString& texte, std::ostream* flux)
{
    *flux << '"' << texte.toStdString() << '"';
}

namespace {

constexpr double Debut = 46000.5;              // 9 December 2025, 12:00:00
constexpr double DeuxSecondes = 2.0 / 86400.0;

double DateEchantillon(int i)
{
    return Debut + i * DeuxSecondes;
}

// Appends a sample the way a producer does: make room, count, write.
void Ajouter(TDonneesKMT& r, double date, std::uint16_t risolement, std::uint16_t rseuil)
{
    DecalerHistorique(r);
    ++r.NbMesures;
    const int k = r.NbMesures;
    r.HistDate[k] = date;
    r.HistRIsolement[k] = risolement;
    r.HistRSeuil[k] = rseuil;
    r.RIsolement = risolement;
    r.RSeuil = rseuil;
}

// Sample i (counted from 1 since the device started) reads 100 + i % 500 over
// a threshold of 40 + i % 7.
void AjouterEchantillon(TDonneesKMT& r, int i)
{
    Ajouter(r, DateEchantillon(i), static_cast<std::uint16_t>(100 + i % 500),
            static_cast<std::uint16_t>(40 + i % 7));
}

std::unique_ptr<TDonneesKMT> NouvelEnregistrement()
{
    return std::make_unique<TDonneesKMT>();  // all zero: absent, no samples
}

class CadreKMT : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        Infos.Handle = &Fenetre;
        Infos.NumAppareil = 12;
        Infos.EcranRetour = EcranVueDEnsemble;
        Infos.AppareilRetour = 7;
        Infos.NomAppareil = QStringLiteral("Tableau général");
        Ecran = std::make_unique<TFrameKMT>();
    }

    void TearDown() override
    {
        Ecran.reset();
        QCoreApplication::sendPostedEvents();
        QLocale::setDefault(QLocale::system());
    }

    void Ouvrir(TLangue langue = LangueFrancais)
    {
        Ecran->ChangerLangue(langue);
        Ecran->Initialiser(Infos);
    }

    template <typename T>
    T* Trouver(const char* nom) const
    {
        T* w = Ecran->findChild<T*>(QLatin1String(nom));
        EXPECT_NE(w, nullptr) << nom;
        return w;
    }

    QString TexteEdit(const char* nom) const { return Trouver<QLineEdit>(nom)->text(); }
    QString TexteLabel(const char* nom) const { return Trouver<QLabel>(nom)->text(); }
    QColor CouleurLed(const char* nom) const { return Trouver<TLed>(nom)->Couleur(); }
    QScrollBar* Barre(int n) const { return Trouver<QScrollBar>(n == 1 ? "ScrollBar1" : "ScrollBar2"); }
    TImagePlot* Plot() const { return Trouver<TImagePlot>("ImagePlot1"); }

    TFenetreTemoin Fenetre;
    TInfosKMT Infos;
    std::unique_ptr<TFrameKMT> Ecran;
};

const QColor Vert(72, 255, 0);
const QColor Rouge(254, 71, 59);
const QColor Jaune(255, 240, 70);
const QColor Argent(192, 192, 192);

TEST_F(CadreKMT, AppareilPresentValeursVoyantsEtDates)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    r->Present = true;
    r->RIsolement = 250;
    r->RMin = 7;
    r->RSeuil = 101;
    r->NvSeuil = 95;
    r->AutoTest = true;
    r->DCPlus = false;
    r->DCMoins = true;
    r->PreAlarme = true;
    r->Klaxon = false;
    r->Alarme = true;
    r->DHDerniereAlarme = Debut + 1.0 / 24 + 2.0 / 1440 + 3.0 / 86400;  // 13:02:03
    r->VLogiciel = 3;
    Ecran->Actualiser(*r);

    EXPECT_EQ(TexteEdit("EditRisolement"), "250");
    EXPECT_EQ(TexteEdit("EditRmin"), "7");
    EXPECT_EQ(TexteEdit("EditRseuil"), "101");
    EXPECT_EQ(TexteEdit("EditRSeuilActuel"), "101");
    EXPECT_EQ(TexteEdit("EditNvSeuil"), "95");
    EXPECT_EQ(TexteEdit("EditVLogiciel"), "3");
    EXPECT_EQ(TexteEdit("EditAdrReseau"), "12");
    EXPECT_EQ(TexteEdit("EditDHDerniereAlarme"), "Tuesday, 9 December 2025 - 13:02:03");
    EXPECT_EQ(CouleurLed("JvTransLEDAutoTest"), Vert);
    EXPECT_EQ(CouleurLed("JvTransLEDDCPlus"), Rouge);
    EXPECT_EQ(CouleurLed("JvTransLEDDCMoins"), Vert);
    EXPECT_EQ(CouleurLed("JvTransLEDPreAlarme"), Jaune);
    EXPECT_EQ(CouleurLed("JvTransLEDKlaxon"), Argent);
    EXPECT_EQ(CouleurLed("JvTransLEDAlarme"), Rouge);

    // The next tick clears flags and raises the horn.
    r->AutoTest = false;
    r->PreAlarme = false;
    r->Klaxon = true;
    r->Alarme = false;
    Ecran->Actualiser(*r);
    EXPECT_EQ(CouleurLed("JvTransLEDAutoTest"), Rouge);
    EXPECT_EQ(CouleurLed("JvTransLEDPreAlarme"), Argent);
    EXPECT_EQ(CouleurLed("JvTransLEDKlaxon"), Rouge);
    EXPECT_EQ(CouleurLed("JvTransLEDAlarme"), Argent);
}

TEST_F(CadreKMT, AppareilAbsentSansHistorique)
{
    Ouvrir();
    for (const char* nom : {"JvTransLEDAutoTest", "JvTransLEDDCPlus", "JvTransLEDDCMoins", "JvTransLEDPreAlarme",
                            "JvTransLEDKlaxon", "JvTransLEDAlarme"})
        EXPECT_EQ(CouleurLed(nom), Argent) << nom;  // before any refresh

    auto r = NouvelEnregistrement();
    AjouterEchantillon(*r, 1);
    AjouterEchantillon(*r, 2);  // two samples are not a history yet
    r->Present = false;
    Ecran->Actualiser(*r);

    for (const char* nom : {"EditRisolement", "EditRmin", "EditRseuil", "EditRSeuilActuel", "EditNvSeuil",
                            "EditVLogiciel"})
        EXPECT_EQ(TexteEdit(nom), "x") << nom;
    EXPECT_EQ(TexteEdit("EditDHDerniereAlarme"), "xxxxxxx xx xxxxxxx xxxx - xx:xx:xx");
    EXPECT_EQ(CouleurLed("JvTransLEDAutoTest"), Vert);
    EXPECT_EQ(CouleurLed("JvTransLEDDCPlus"), Vert);
    EXPECT_EQ(CouleurLed("JvTransLEDDCMoins"), Vert);
    EXPECT_EQ(CouleurLed("JvTransLEDPreAlarme"), Argent);

    EXPECT_EQ(TexteLabel("Label4"), "x kOhm");
    EXPECT_EQ(TexteLabel("Label5"), "x kOhm");
    EXPECT_EQ(TexteLabel("Label12"), "xx/xx/xx - xx:xx:xx");
    EXPECT_EQ(TexteLabel("Label13"), "xx/xx/xx - xx:xx:xx");
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox1")->title(), "xxxxxxx xx xxxxxxx xxxx - xx:xx:xx");
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox2")->title(), "xxxxxxx xx xxxxxxx xxxx - xx:xx:xx");
    EXPECT_FALSE(Barre(1)->isEnabled());
    EXPECT_FALSE(Barre(2)->isEnabled());
    EXPECT_EQ(TexteEdit("EditMesure1"), "");
    EXPECT_EQ(TexteEdit("EditSeuil2"), "");

    // The plot is cleared to its white background.
    const QImage image = Plot()->Image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::white));
}

TEST_F(CadreKMT, AppareilAbsentAvecHistoriqueMontreLaCourbe)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    for (int i = 1; i <= 10; ++i)
        AjouterEchantillon(*r, i);
    r->Present = false;
    Ecran->Actualiser(*r);

    EXPECT_EQ(TexteEdit("EditRisolement"), "x");
    EXPECT_TRUE(Barre(1)->isEnabled());
    EXPECT_EQ(Barre(1)->minimum(), 1);
    EXPECT_EQ(Barre(2)->maximum(), 10);
    EXPECT_EQ(Barre(1)->value(), 1);
    EXPECT_EQ(Barre(2)->value(), 10);
    EXPECT_EQ(Plot()->NbValeurs(), 10);
    // Threshold 40 + i % 7 is lowest at sample 7 (40); pre-alarm level at most 2 x 46.
    EXPECT_EQ(TexteLabel("Label4"), "40 kOhm");
    EXPECT_EQ(TexteLabel("Label5"), "110 kOhm");
    EXPECT_EQ(TexteLabel("Label12"), "09/12/25 - 12:00:02");
    EXPECT_EQ(TexteLabel("Label13"), "09/12/25 - 12:00:20");

    // Something other than the background was drawn.
    const QImage image = Plot()->Image();
    int dessines = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dessines += image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_GT(dessines, 500);
}

TEST_F(CadreKMT, TroisEchantillonsReperesAuxDeuxBouts)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    r->Present = true;
    Ajouter(*r, DateEchantillon(1), 5, 3);
    Ajouter(*r, DateEchantillon(2), 120, 4);
    Ajouter(*r, DateEchantillon(3), 9, 60);
    Ecran->Actualiser(*r);

    EXPECT_EQ(Barre(1)->minimum(), 1);
    EXPECT_EQ(Barre(1)->maximum(), 3);
    EXPECT_EQ(Barre(2)->minimum(), 1);
    EXPECT_EQ(Barre(2)->maximum(), 3);
    EXPECT_EQ(Barre(1)->value(), 1);
    EXPECT_EQ(Barre(2)->value(), 3);
    EXPECT_EQ(Plot()->RepereX1(), 1);
    EXPECT_EQ(Plot()->RepereX2(), 3);
    EXPECT_EQ(TexteLabel("Label4"), "03 kOhm");   // "00": at least two digits
    EXPECT_EQ(TexteLabel("Label5"), "120 kOhm");
    // Read-outs: measurement, pre-alarm level (twice the threshold), threshold.
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox1")->title(), "Tuesday, 9 December 2025 - 12:00:02");
    EXPECT_EQ(TexteEdit("EditMesure1"), "05");
    EXPECT_EQ(TexteEdit("EditPrealarme1"), "06");
    EXPECT_EQ(TexteEdit("EditSeuil1"), "03");
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox2")->title(), "Tuesday, 9 December 2025 - 12:00:06");
    EXPECT_EQ(TexteEdit("EditMesure2"), "09");
    EXPECT_EQ(TexteEdit("EditPrealarme2"), "120");
    EXPECT_EQ(TexteEdit("EditSeuil2"), "60");
}

TEST_F(CadreKMT, Repere1SuitSaDatePuisRevientAuDebut)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    r->Present = true;
    int i = 0;
    while (i < NbMaxMesures)
        AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    ASSERT_EQ(Barre(2)->value(), 1000);

    // The operator drags cursor 1 to sample 5: read-outs and plot marker follow.
    Barre(1)->setValue(5);
    EXPECT_EQ(Plot()->RepereX1(), 5);
    EXPECT_EQ(TexteEdit("EditMesure1"), QString::number(100 + 5));
    const QString dateSuivie = Trouver<QGroupBox>("GroupBox1")->title();
    EXPECT_EQ(dateSuivie, "Tuesday, 9 December 2025 - 12:00:10");

    // One tick later the full history has moved by one: same sample, index 4.
    AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(Barre(1)->value(), 4);
    EXPECT_EQ(Plot()->RepereX1(), 4);
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox1")->title(), dateSuivie);
    EXPECT_EQ(TexteEdit("EditMesure1"), QString::number(100 + 5));
    // Cursor 2 was left alone: it stays on the newest sample.
    EXPECT_EQ(Barre(2)->value(), 1000);
    EXPECT_EQ(TexteEdit("EditMesure2"), QString::number(100 + i % 500));

    for (int k = 0; k < 3; ++k) {
        AjouterEchantillon(*r, ++i);
        Ecran->Actualiser(*r);
    }
    EXPECT_EQ(Barre(1)->value(), 1);  // the sample is still the oldest one
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox1")->title(), dateSuivie);

    // Its date leaves the history: back to the oldest sample, and following it.
    AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(Barre(1)->value(), 1);
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox1")->title(), "Tuesday, 9 December 2025 - 12:00:12");
    AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(Barre(1)->value(), 1);
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox1")->title(), "Tuesday, 9 December 2025 - 12:00:14");
}

TEST_F(CadreKMT, Repere2RameneAuBoutSuitLeDernier)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    r->Present = true;
    int i = 0;
    while (i < 20)
        AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);

    // Moved back, cursor 2 stays on its sample while the history grows.
    Barre(2)->setValue(15);
    AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(Barre(2)->maximum(), 21);
    EXPECT_EQ(Barre(2)->value(), 15);
    EXPECT_EQ(TexteEdit("EditMesure2"), "115");

    // Dragged back to the end, it follows the newest sample from the next tick.
    Barre(2)->setValue(Barre(2)->maximum());
    AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(Barre(2)->value(), 22);
    EXPECT_EQ(TexteEdit("EditMesure2"), "122");
    AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(Barre(2)->value(), 23);
    EXPECT_EQ(Plot()->RepereX2(), 23);

    // Cursor 1 dragged away and back to the start follows the oldest again.
    Barre(1)->setValue(3);
    Barre(1)->setValue(1);
    AjouterEchantillon(*r, ++i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(Barre(1)->value(), 1);
    EXPECT_EQ(TexteEdit("EditMesure1"), "101");
}

TEST_F(CadreKMT, ClicDansLaGlissiereAvanceDUnEchantillon)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    for (int i = 1; i <= 50; ++i)
        AjouterEchantillon(*r, i);
    Ecran->Actualiser(*r);
    Ecran->show();
    Trouver<QTabWidget>("PageControl1")->setCurrentWidget(Trouver<QWidget>("TabSheetHistorique"));
    QScrollBar* barre = Barre(1);
    ASSERT_TRUE(barre->isVisible());
    QTest::mouseClick(barre, Qt::LeftButton, {}, QPoint(barre->width() / 2, barre->height() / 2));
    EXPECT_EQ(barre->value(), 2);
    EXPECT_EQ(Plot()->RepereX1(), 2);
    EXPECT_EQ(TexteEdit("EditMesure1"), "102");
}

TEST_F(CadreKMT, ToucheNvSeuilSeulsLesChiffresPassent)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    r->Present = true;
    r->NvSeuil = 80;
    Ecran->Actualiser(*r);

    auto* edit = Trouver<QLineEdit>("EditNvSeuil");
    edit->setFocus();
    edit->setCursorPosition(2);
    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Minus);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->text(), "80");
    QTest::keyClicks(edit, "5");
    QTest::keyClick(edit, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(edit->text(), "8057");
    // A threshold being typed survives the refresh; left alone, the field
    // follows the device again.
    Ecran->Actualiser(*r);
    EXPECT_EQ(edit->text(), "8057");
    edit->clearFocus();
    edit->setModified(false);
    Ecran->Actualiser(*r);
    EXPECT_EQ(edit->text(), "80");
}

TEST_F(CadreKMT, ChampsDAffichageRefusentLaFrappe)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    r->Present = true;
    r->RSeuil = 101;
    Ecran->Actualiser(*r);

    for (const char* nom : {"EditRSeuilActuel", "EditDHDerniereAlarme", "EditMesure1", "EditRisolement"}) {
        auto* edit = Trouver<QLineEdit>(nom);
        const QString avant = edit->text();
        edit->setCursorPosition(1);
        QTest::keyClicks(edit, "7a");
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), avant) << nom;
    }
    // Only typed characters are filtered: Delete still edits a field that is
    // not read-only, until the next refresh.
    auto* seuil = Trouver<QLineEdit>("EditRSeuilActuel");
    seuil->setCursorPosition(0);
    QTest::keyClick(seuil, Qt::Key_Delete);
    EXPECT_EQ(seuil->text(), "01");
    Ecran->Actualiser(*r);
    EXPECT_EQ(seuil->text(), "101");
}

TEST_F(CadreKMT, TitreGardeLeMotNumeroDeLOuverture)
{
    Ouvrir(LangueFrancais);
    EXPECT_EQ(TexteLabel("LabelTitre"), QString::fromUtf8("KMT N° 12 / Tableau général"));
    auto* onglets = Trouver<QTabWidget>("PageControl1");
    EXPECT_EQ(onglets->tabText(2), "Historique");
    EXPECT_EQ(onglets->currentWidget()->objectName(), "TabSheetMesures");

    Ecran->ChangerLangue(LangueAnglais);
    EXPECT_EQ(TexteLabel("LabelTitre"), QString::fromUtf8("KMT N° 12 / Tableau général"));
    EXPECT_EQ(onglets->tabText(0), "Measurements");
    EXPECT_EQ(onglets->tabText(3), "About KMT");
    EXPECT_EQ(TexteLabel("LabelSiAlarme"), "Automatic research");
    EXPECT_EQ(Trouver<QPushButton>("ButtonAcqKlaxon")->text(), "Acknowledge");

    // Opened in English, without a source name.
    Ecran = std::make_unique<TFrameKMT>();
    Infos.NomAppareil.clear();
    Ouvrir(LangueAnglais);
    EXPECT_EQ(TexteLabel("LabelTitre"), "KMT Nr 12");
    Ecran->ChangerLangue(LangueEspagnol);
    EXPECT_EQ(TexteLabel("LabelTitre"), "KMT Nr 12");
    EXPECT_EQ(Trouver<QTabWidget>("PageControl1")->tabText(1), "Ajustes");
    EXPECT_EQ(Trouver<QPushButton>("ButtonLancer")->text(), "Busqueda QFL8 && QFL16");
}

TEST_F(CadreKMT, QuitterEtRecherchePostentLesBonsNumeros)
{
    Ouvrir();
    QTest::mouseClick(Trouver<QPushButton>("BitBtnQuit"), Qt::LeftButton);
    // Posted, not sent: nothing arrives before the handler has returned.
    EXPECT_TRUE(Fenetre.Recus.empty());
    QCoreApplication::sendPostedEvents(&Fenetre);
    ASSERT_EQ(Fenetre.Recus.size(), 1u);
    EXPECT_EQ(Fenetre.Recus[0], std::make_pair(EcranVueDEnsemble, 7));

    QTest::mouseClick(Trouver<QPushButton>("ButtonLancer"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(&Fenetre);
    ASSERT_EQ(Fenetre.Recus.size(), 2u);
    EXPECT_EQ(Fenetre.Recus[1], std::make_pair(EcranRecherche, 44));

    // The values come from the block as it was at Initialiser; later changes
    // of the block do not leak in.
    Infos.EcranRetour = EcranJournal;
    Ecran->BitBtnQuitClick();
    QCoreApplication::sendPostedEvents(&Fenetre);
    EXPECT_EQ(Fenetre.Recus.back(), std::make_pair(EcranVueDEnsemble, 7));
}

// Places, names and colours of the layout: a control out of place, a curve and
// its read-out in different colours or a cursor of the wrong colour mislead the
// operator.
TEST_F(CadreKMT, DispositionNomsEtCouleurs)
{
    Ouvrir();
    struct Place {
        const char* nom;
        const char* parent;
        QRect rect;
    };
    const Place places[] = {
        {"LabelTitre", nullptr, {16, 16, 721, 20}},
        {"BitBtnQuit", nullptr, {712, 4, 31, 29}},
        {"PageControl1", nullptr, {16, 48, 713, 481}},
        {"Panel1", nullptr, {16, 544, 713, 73}},
        {"ButtonLancer", "Panel1", {192, 16, 329, 41}},
        {"Panel2", "TabSheetMesures", {16, 16, 673, 153}},
        {"EditRisolement", "Panel2", {256, 14, 121, 24}},
        {"EditRmin", "Panel2", {256, 61, 121, 24}},
        {"EditRseuil", "Panel2", {256, 108, 121, 24}},
        {"Panel3", "TabSheetMesures", {16, 192, 673, 233}},
        {"JvTransLEDAutoTest", "Panel3", {27, 24, 25, 25}},
        {"JvTransLEDDCPlus", "Panel3", {27, 72, 25, 25}},
        {"JvTransLEDDCMoins", "Panel3", {27, 120, 25, 25}},
        {"JvTransLEDPreAlarme", "Panel3", {475, 24, 25, 25}},
        {"JvTransLEDKlaxon", "Panel3", {475, 72, 25, 25}},
        {"JvTransLEDAlarme", "Panel3", {475, 120, 25, 25}},
        {"EditDHDerniereAlarme", "Panel3", {24, 182, 625, 24}},
        {"Panel6", "TabSheetReglages", {16, 16, 673, 137}},
        {"ButtonSetNvSeuil", "Panel6", {472, 76, 81, 25}},
        {"CheckBoxAuxSuivants", "Panel6", {256, 104, 297, 17}},
        {"Panel5", "TabSheetReglages", {16, 168, 673, 65}},
        {"Panel4", "TabSheetHistorique", {16, 16, 673, 409}},
        {"Panel8", "Panel4", {8, 8, 657, 265}},
        {"Panel7", "Panel8", {80, 8, 553, 225}},
        {"Shape3", "Panel4", {8, 281, 15, 15}},
        {"ScrollBar1", "Panel4", {28, 281, 304, 16}},
        {"Shape4", "Panel4", {340, 281, 15, 15}},
        {"ScrollBar2", "Panel4", {360, 281, 304, 16}},
        {"GroupBox1", "Panel4", {8, 301, 325, 100}},
        {"GroupBox2", "Panel4", {340, 301, 325, 100}},
        {"Panel9", "TabSheetInfos", {16, 16, 673, 137}},
    };
    for (const Place& p : places) {
        auto* w = Trouver<QWidget>(p.nom);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), p.rect) << p.nom;
        EXPECT_EQ(w->parentWidget() == Ecran.get() ? QString() : w->parentWidget()->objectName(),
                  QLatin1String(p.parent ? p.parent : "")) << p.nom;
    }
    // Places given by their corner only, or by the end of a right-aligned text.
    const std::pair<const char*, QPoint> coins[] = {
        {"EditRSeuilActuel", {256, 29}}, {"EditNvSeuil", {256, 76}},  {"CheckBoxAutoRecherche", {256, 24}},
        {"LabelDHDerniereAlarme", {24, 165}}, {"Label12", {80, 236}}, {"EditVLogiciel", {256, 29}},
        {"EditAdrReseau", {256, 77}}};
    for (const auto& [nom, coin] : coins)
        EXPECT_EQ(Trouver<QWidget>(nom)->pos(), coin) << nom;
    EXPECT_EQ(Trouver<QWidget>("Label13")->geometry().right() + 1, 632);
    EXPECT_EQ(Trouver<QWidget>("LabelSiAlarme")->geometry().right() + 1, 241);
    for (const char* nom : {"ButtonAcqPrealarme", "ButtonAcqKlaxon", "ButtonAcqAlarme"}) {
        EXPECT_EQ(Trouver<QWidget>(nom)->x(), 512) << nom;
        EXPECT_EQ(Trouver<QWidget>(nom)->size(), QSize(129, 28)) << nom;
    }
    EXPECT_EQ(Plot()->parentWidget()->objectName(), "Panel7");
    EXPECT_EQ(Plot()->size(), QSize(551, 223));

    auto* onglets = Trouver<QTabWidget>("PageControl1");
    const char* pages[] = {"TabSheetMesures", "TabSheetReglages", "TabSheetHistorique", "TabSheetInfos"};
    ASSERT_EQ(onglets->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(onglets->widget(i)->objectName(), pages[i]);

    const QFont titre = Trouver<QLabel>("LabelTitre")->font();
    EXPECT_EQ(titre.pixelSize(), 16);
    EXPECT_TRUE(titre.bold());
    EXPECT_EQ(Trouver<QLabel>("LabelTitre")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(Trouver<QLabel>("LabelRisolement")->font().pixelSize(), 13);
    EXPECT_EQ(Trouver<QPushButton>("ButtonSetNvSeuil")->text(), "OK");

    // Display fields that are read-only; the others only filter typed keys.
    for (const char* nom : {"EditRisolement", "EditRmin", "EditRseuil", "EditVLogiciel", "EditAdrReseau"})
        EXPECT_TRUE(Trouver<QLineEdit>(nom)->isReadOnly()) << nom;
    for (const char* nom : {"EditDHDerniereAlarme", "EditRSeuilActuel", "EditNvSeuil", "EditMesure1"})
        EXPECT_FALSE(Trouver<QLineEdit>(nom)->isReadOnly()) << nom;

    // Cursor scroll bars: horizontal, no page, tagged 1 and 2.
    for (int n : {1, 2}) {
        EXPECT_EQ(Barre(n)->orientation(), Qt::Horizontal);
        EXPECT_EQ(Barre(n)->pageStep(), 0);
        EXPECT_EQ(Barre(n)->property("Tag").toInt(), n);
    }

    // Colours: panels, cursors, curves, and the read-outs in their curve's colour.
    const QColor face(240, 240, 240), sarcelle(0, 128, 128), violet(128, 0, 128);
    EXPECT_EQ(Trouver<QWidget>("Panel4")->palette().color(QPalette::Window), face);
    EXPECT_EQ(Trouver<QWidget>("Panel8")->palette().color(QPalette::Window), face);
    EXPECT_EQ(Trouver<QWidget>("Panel7")->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(Trouver<QWidget>("Shape3")->palette().color(QPalette::Window), sarcelle);
    EXPECT_EQ(Trouver<QWidget>("Shape4")->palette().color(QPalette::Window), violet);
    EXPECT_EQ(Plot()->CouleurFond(), QColor(255, 255, 255));
    EXPECT_EQ(Plot()->CouleurCourbe1(), QColor(0, 0, 0));
    EXPECT_EQ(Plot()->CouleurCourbe2(), QColor(255, 0, 0));
    EXPECT_EQ(Plot()->CouleurCourbe3(), QColor(0, 0, 255));
    EXPECT_EQ(Plot()->CouleurRepereX1(), sarcelle);
    EXPECT_EQ(Plot()->CouleurRepereX2(), violet);
    for (int g : {1, 2}) {
        const QByteArray n = QByteArray::number(g);
        auto texte = [&](const char* racine) {
            return Trouver<QLineEdit>((racine + n).constData())->palette().color(QPalette::Text);
        };
        EXPECT_EQ(texte("EditMesure"), QColor(0, 0, 0)) << g;
        EXPECT_EQ(texte("EditPrealarme"), QColor(0, 0, 255)) << g;
        EXPECT_EQ(texte("EditSeuil"), QColor(255, 0, 0)) << g;
    }

    // The group captions are painted in their cursor's colour.
    auto r = NouvelEnregistrement();
    for (int i = 1; i <= 3; ++i)
        AjouterEchantillon(*r, i);
    Ecran->Actualiser(*r);
    auto pixels = [](QGroupBox* groupe, const QColor& couleur) {
        const QImage image = groupe->grab().toImage();
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == couleur;
        return n;
    };
    auto* groupe1 = Trouver<QGroupBox>("GroupBox1");
    auto* groupe2 = Trouver<QGroupBox>("GroupBox2");
    EXPECT_GT(pixels(groupe1, sarcelle), 5);
    EXPECT_EQ(pixels(groupe1, violet), 0);
    EXPECT_GT(pixels(groupe2, violet), 5);
    EXPECT_EQ(pixels(groupe2, sarcelle), 0);
}

// The range labels end just left of the plot and show the largest value, twice
// the largest threshold, whole; no caption of the screen is cut in any language.
TEST_F(CadreKMT, EtiquettesEntieresJusquA131070)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    for (int i = 1; i <= 3; ++i)
        Ajouter(*r, DateEchantillon(i), 65535, 65535);
    Ecran->Actualiser(*r);
    EXPECT_EQ(TexteLabel("Label5"), "131070 kOhm");
    EXPECT_EQ(TexteLabel("Label4"), "65535 kOhm");
    auto* onglets = Trouver<QTabWidget>("PageControl1");
    VerifierLibellesEntiers(*Ecran, onglets, [this](int langue) { Ecran->ChangerLangue(TLangue(langue)); },
                            QStringLiteral("kmt"));

    for (const char* nom : {"Label4", "Label5"}) {
        auto* label = Trouver<QLabel>(nom);
        EXPECT_EQ(label->geometry().right() + 1, 78) << nom;
        // All the room left of the plot, inside the panel's border.
        EXPECT_GE(label->x(), 1) << nom;
        EXPECT_LE(label->x(), 2) << nom;
    }
}

TEST_F(CadreKMT, SeparateursDeLaLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Ouvrir();
    auto r = NouvelEnregistrement();
    for (int i = 1; i <= 3; ++i)
        AjouterEchantillon(*r, i);
    Ecran->Actualiser(*r);
    EXPECT_EQ(TexteLabel("Label12"), "09.12.25 - 12:00:02");
    EXPECT_EQ(Trouver<QGroupBox>("GroupBox2")->title(), "Dienstag, 9. Dezember 2025 - 12:00:06");
}

// The shell refreshes the screen under the read lock; the cursor set-up lets
// pending events run, among them a demonstration tick and a second refresh.
TEST_F(CadreKMT, EvenementsPendantActualiserSousLeVerrou)
{
    Ouvrir();
    TVerrouDonnees verrou;
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::int32_t compteur = 1;
    int seconde = 0;
    TGenerateurDemo generateur(verrou, *donnees, compteur, {}, [&] { return DateEchantillon(++seconde); });
    for (int k = 0; k < 5; ++k)
        generateur.Tick();
    TDonneesKMT& r12 = (*donnees)[12];
    const QString mesure12 = QString::number(r12.RIsolement);
    ASSERT_NE(mesure12, QString::number((*donnees)[26].RIsolement));

    bool execute = false;
    bool occupe = false;
    bool tickPasse = true;
    int nbAvant = -1;
    int nbApres = -1;
    QObject hote;
    QMetaObject::invokeMethod(
        &hote,
        [&] {
            execute = true;
            occupe = Ecran->Occupe();
            nbAvant = r12.NbMesures;
            tickPasse = generateur.Demander();
            nbApres = r12.NbMesures;
            // Re-entering the lock on this thread does not wait for ourselves.
            { TEcritureDonnees ecriture(verrou); }
            // A second refresh arriving now is refused, not interleaved.
            Ecran->Actualiser((*donnees)[26]);
        },
        Qt::QueuedConnection);
    {
        TLectureDonnees lecture(verrou);
        Ecran->Actualiser(r12);
    }

    ASSERT_TRUE(execute);
    EXPECT_TRUE(occupe);
    EXPECT_FALSE(tickPasse);
    EXPECT_EQ(nbAvant, 5);
    EXPECT_EQ(nbApres, 5);
    EXPECT_EQ(generateur.TicksEnAttente(), 1);
    EXPECT_FALSE(Ecran->Occupe());
    EXPECT_EQ(TexteEdit("EditRisolement"), mesure12);
    EXPECT_EQ(Plot()->NbValeurs(), 5);
    EXPECT_EQ(Barre(2)->value(), 5);

    // With the lock released the kept tick runs, and the next refresh shows it.
    EXPECT_FALSE(generateur.Reprendre());
    EXPECT_EQ(r12.NbMesures, 6);
    {
        TLectureDonnees lecture(verrou);
        Ecran->Actualiser(r12);
    }
    EXPECT_EQ(Barre(2)->value(), 6);
}

// A request to leave that is processed while the screen lets events run must
// not destroy it under its own handler: the window defers it until Libere.
TEST_F(CadreKMT, DemandeDEcranDiffereeTantQueLEcranEstOccupe)
{
    Ouvrir();
    auto r = NouvelEnregistrement();
    for (int i = 1; i <= 30; ++i)
        AjouterEchantillon(*r, i);

    // The window's rule: a request that would destroy a busy screen waits for
    // Libere, queued; when it runs it checks again, since it may be delivered
    // inside a later busy spell (another handler letting events through).
    QPointer<TFrameKMT> ecran = Ecran.release();
    int differees = 0;
    int arriveesOccupe = 0;
    std::function<void()> detruire = [&] {
        if (!ecran)
            return;
        if (ecran->Occupe()) {
            ++differees;
            QObject::connect(ecran.data(), &TFrameEnhanced::Libere, &Fenetre, [&] { detruire(); },
                             static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
            return;
        }
        delete ecran.data();
    };
    Fenetre.SurEcran = [&] {
        if (ecran && ecran->Occupe())
            ++arriveesOccupe;
        detruire();
    };

    // A quit request pending while the first refresh sets the cursors up.
    ecran->BitBtnQuitClick();
    ecran->Actualiser(*r);
    ASSERT_FALSE(ecran.isNull());
    EXPECT_EQ(arriveesOccupe, 1);
    EXPECT_EQ(ecran->findChild<QScrollBar*>("ScrollBar2")->value(), 30);

    // A search request pending while the operator drags a cursor; the first
    // request's Libere is still queued behind it.
    ecran->ButtonLancerClick();
    ecran->findChild<QScrollBar*>("ScrollBar1")->setValue(9);
    ASSERT_FALSE(ecran.isNull());
    EXPECT_EQ(arriveesOccupe, 2);
    EXPECT_GE(differees, 3);  // the first request was deferred once more
    EXPECT_EQ(ecran->findChild<QLineEdit*>("EditMesure1")->text(), "109");

    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(ecran.isNull());
    ASSERT_EQ(Fenetre.Recus.size(), 2u);
    EXPECT_EQ(Fenetre.Recus[0], std::make_pair(EcranVueDEnsemble, 7));
    EXPECT_EQ(Fenetre.Recus[1], std::make_pair(EcranRecherche, 44));
}

} // namespace
