#include "data/ConfigSet.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "platform/SondePort.h"
#include "screens/CadreConfiguration.h"
#include "support/OutilsTest.h"
#include "widgets/CaseACocherGlyphe.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

// A machine whose serial ports are chosen by the test; it can also act in the
// middle of the scan, as the user or a timer would.
class TSondeFactice : public TSondePort {
public:
    TSondeFactice(std::set<int> presents, std::vector<int>& appels, std::function<void(int)> pendant = {})
        : m_presents(std::move(presents)), m_appels(appels), m_pendant(std::move(pendant)) {}

    bool Present(int n) override
    {
        m_appels.push_back(n);
        if (m_pendant)
            m_pendant(n);
        return m_presents.count(n) > 0;
    }

private:
    std::set<int> m_presents;
    std::vector<int>& m_appels;
    std::function<void(int)> m_pendant;
};

// Replaces the error box for one test.
class TErreursCapturees {
public:
    TErreursCapturees()
    {
        TRapportErreurs::Instance().DefinirAfficheur([this](const QString& t) { textes.push_back(t); });
    }
    ~TErreursCapturees() { TRapportErreurs::Instance().AfficheurParDefaut(); }
    std::vector<QString> textes;
};

TConfigSet Vide()
{
    TConfigSet c;
    std::memset(&c, 0, sizeof c);
    return c;
}

// The screen as the main window shows it: language, handle block, record.
struct TEcranConfiguration {
    TFenetreTemoin fenetre;
    TInfosConfiguration infos;
    TConfigSet config = Vide();
    std::vector<int> sondes;
    TFrameConfiguration* ecran = new TFrameConfiguration;

    TEcranConfiguration() { infos.Handle = &fenetre; }
    ~TEcranConfiguration() { delete ecran; }

    void Ouvrir(std::set<int> presents = {}, std::function<void(int)> pendant = {}, TLangue langue = LangueFrancais)
    {
        ecran->DefinirSonde(std::make_unique<TSondeFactice>(std::move(presents), sondes, std::move(pendant)));
        ecran->ChangerLangue(langue);
        ecran->Initialiser(infos);
        ecran->Actualiser(config);
    }

    template <typename T>
    T* Controle(const char* nom) const { return ecran->findChild<T*>(QLatin1String(nom)); }
    QTableWidget* Noms() const { return Controle<QTableWidget>("ValueListEditorNomSources"); }
    QGroupBox* GroupePorts() const { return Controle<QGroupBox>("RadioGroupPortsComDispos"); }
    QList<QRadioButton*> Ports() const { return GroupePorts()->findChildren<QRadioButton*>(); }
    void Enregistrer() const { QTest::mouseClick(Controle<QPushButton>("ButtonValider"), Qt::LeftButton); }
};

QByteArray OctetsNom(const QByteArray& fichier, int source)
{
    const int debut = 9 + 101 * (source - 1);
    return fichier.mid(debut + 1, uchar(fichier[debut]));
}

} // namespace

TEST(CadreConfiguration, AllZeroRecordShowsEmptyNamesNoPortAndUncheckedBox)
{
    TDossierTemporaire dossier;
    TEcranConfiguration t;
    t.Ouvrir();

    QTableWidget* noms = t.Noms();
    ASSERT_EQ(noms->rowCount(), 31);   // the placeholder row is gone
    for (int k = 1; k <= 31; ++k) {
        EXPECT_EQ(noms->item(k - 1, 0)->text(), QString::number(k));
        EXPECT_FALSE(noms->item(k - 1, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(noms->item(k - 1, 1)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(noms->item(k - 1, 1)->text().isEmpty());
    }
    EXPECT_FALSE(t.Controle<TCaseACocherGlyphe>("CheckBoxAcqAlarmes")->isChecked());
    EXPECT_TRUE(t.Ports().isEmpty());
    EXPECT_EQ(t.GroupePorts()->title(), "Ports existants");
    EXPECT_TRUE(t.ecran->Charge());
    std::vector<int> attendus;
    for (int n = 1; n <= 50; ++n)
        attendus.push_back(n);
    EXPECT_EQ(t.sondes, attendus);

    // No port to choose: the save keeps PortCom as it was.
    t.config.PortCom = 7;
    t.Enregistrer();
    EXPECT_EQ(t.config.PortCom, 7);
    const QByteArray fichier = LireFichier(dossier.Chemin("Config.set"));
    ASSERT_EQ(fichier.size(), 3140);
    EXPECT_EQ(uchar(fichier[4]), 7);
}

TEST(CadreConfiguration, PresentPortsAreListedAndTheStoredOnePreselected)
{
    TDossierTemporaire dossier;
    TEcranConfiguration t;
    t.config.PortCom = 3;
    t.config.AcqAlarmesConsultation = 1;
    t.Ouvrir({1, 3});

    const QList<QRadioButton*> ports = t.Ports();
    ASSERT_EQ(ports.size(), 2);
    EXPECT_EQ(ports[0]->text(), "COM1");
    EXPECT_EQ(ports[1]->text(), "COM3");
    EXPECT_FALSE(ports[0]->isChecked());
    EXPECT_TRUE(ports[1]->isChecked());
    EXPECT_EQ(t.ecran->NumPortListe(1), 1);
    EXPECT_EQ(t.ecran->NumPortListe(2), 3);
    auto* acq = t.Controle<TCaseACocherGlyphe>("CheckBoxAcqAlarmes");
    EXPECT_TRUE(acq->isChecked());

    QTest::mouseClick(ports[0], Qt::LeftButton);
    QTest::mouseClick(acq, Qt::LeftButton);
    t.Enregistrer();
    EXPECT_EQ(t.config.PortCom, 1);
    EXPECT_EQ(t.config.AcqAlarmesConsultation, 0);
    const QByteArray fichier = LireFichier(dossier.Chemin("Config.set"));
    ASSERT_EQ(fichier.size(), 3140);
    EXPECT_EQ(uchar(fichier[0]), 0);
    EXPECT_EQ(uchar(fichier[4]), 1);
}

TEST(CadreConfiguration, StoredPortThatIsNotPresentSelectsNothing)
{
    TDossierTemporaire dossier;
    TEcranConfiguration t;
    t.config.PortCom = 2;
    t.Ouvrir({1, 3, 50});
    ASSERT_EQ(t.Ports().size(), 3);
    for (QRadioButton* p : t.Ports())
        EXPECT_FALSE(p->isChecked());
    EXPECT_EQ(t.ecran->NumPortListe(3), 50);
    t.Enregistrer();
    EXPECT_EQ(t.config.PortCom, 2);
}

TEST(CadreConfiguration, NamesAreCutTo100CharactersAndStoredInWindows1252)
{
    TDossierTemporaire dossier;
    TEcranConfiguration t;
    EcrireChaine(t.config.NomsSources[2], QStringLiteral("Départ B"));
    t.Ouvrir();
    EXPECT_EQ(t.Noms()->item(1, 1)->text(), "Départ B");

    QString longNom;
    for (int i = 0; i < 120; ++i)
        longNom.append(QChar('A' + i % 26));
    t.Noms()->item(0, 1)->setText(longNom);
    const QString accentue = QStringLiteral("Œuvre – 5 € «été»");
    t.Noms()->item(30, 1)->setText(accentue);
    t.Noms()->item(4, 1)->setText(QStringLiteral("Poste Ω 3"));
    t.Enregistrer();
    // The grid now shows the names as stored.
    EXPECT_EQ(t.Noms()->item(4, 1)->text(), "Poste ? 3");
    EXPECT_EQ(t.Noms()->item(0, 1)->text(), longNom.left(100));
    EXPECT_EQ(t.Noms()->item(30, 1)->text(), accentue);

    const QByteArray fichier = LireFichier(dossier.Chemin("Config.set"));
    ASSERT_EQ(fichier.size(), 3140);
    EXPECT_EQ(uchar(fichier[9]), 100);
    EXPECT_EQ(OctetsNom(fichier, 1), longNom.left(100).toLatin1());
    EXPECT_EQ(OctetsNom(fichier, 2), QByteArray("D\xE9part B"));
    EXPECT_EQ(OctetsNom(fichier, 31), QByteArray("\x8Cuvre \x96 5 \x80 \xAB\xE9t\xE9\xBB"));
    // The shared record holds the names at once, as the other screens read them.
    EXPECT_EQ(LireChaine(t.config.NomsSources[1]), longNom.left(100));
    EXPECT_EQ(LireChaine(t.config.NomsSources[31]), accentue);

    // Read back from the file, a new screen shows the same names.
    TEcranConfiguration relu;
    ASSERT_TRUE(ChargerConfig(relu.config, QStringLiteral("Config.set")));
    relu.Ouvrir();
    EXPECT_EQ(relu.Noms()->item(30, 1)->text(), accentue);
    EXPECT_EQ(relu.Noms()->item(0, 1)->text(), longNom.left(100));
}

TEST(CadreConfiguration, NameStillInItsEditorIsSaved)
{
    TDossierTemporaire dossier;
    TEcranConfiguration t;
    t.Ouvrir();
    QTableWidget* noms = t.Noms();
    noms->setCurrentCell(4, 1);
    noms->editItem(noms->item(4, 1));
    QLineEdit* editeur = noms->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editeur, nullptr);
    QTest::keyClicks(editeur, QStringLiteral("Tableau 5"));
    t.ecran->ButtonValiderClick();
    EXPECT_EQ(LireChaine(t.config.NomsSources[5]), "Tableau 5");
    EXPECT_EQ(OctetsNom(LireFichier(dossier.Chemin("Config.set")), 5), QByteArray("Tableau 5"));
}

TEST(CadreConfiguration, FailedSaveKeepsTheNewValuesAndIsReportedOnce)
{
    TDossierTemporaire dossier;
    // A folder in the file's place: the file cannot be created, even by root.
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Config.set")));
    TErreursCapturees erreurs;
    TEcranConfiguration t;
    t.Ouvrir({4});
    t.Noms()->item(6, 1)->setText(QStringLiteral("Pompe"));
    QTest::mouseClick(t.Ports()[0], Qt::LeftButton);
    t.Enregistrer();

    EXPECT_EQ(LireChaine(t.config.NomsSources[7]), "Pompe");
    EXPECT_EQ(t.config.PortCom, 4);
    EXPECT_TRUE(erreurs.textes.empty()) << "no box from inside the click";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(erreurs.textes.size(), 1u);
    EXPECT_TRUE(erreurs.textes[0].startsWith(QStringLiteral("Impossible de créer le fichier \"")));
    EXPECT_TRUE(erreurs.textes[0].contains(dossier.Chemin("Config.set")));
}

TEST(CadreConfiguration, HintOpensTheSessionScreenOnlyOnceLoaded)
{
    TEcranConfiguration t;
    auto* lien = t.Controle<QLabel>("LabelMsgAdmin");
    t.ecran->ChangerLangue(LangueFrancais);
    t.ecran->Initialiser(t.infos);
    t.ecran->LabelMsgAdminClick();
    QTest::mouseClick(lien, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.fenetre.Recus.empty());

    t.Ouvrir();
    t.ecran->LabelMsgAdminClick();
    EXPECT_TRUE(t.fenetre.Recus.empty());   // posted, not sent
    QCoreApplication::processEvents();
    ASSERT_EQ(t.fenetre.Recus.size(), 1u);
    EXPECT_EQ(t.fenetre.Recus[0], std::make_pair(2, 0));
    QTest::mouseClick(lien, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(t.fenetre.Recus.size(), 2u);
}

TEST(CadreConfiguration, ScanMarksTheScreenBusyAndIgnoresWhatWouldReenterIt)
{
    TEcranConfiguration t;
    auto* lien = t.Controle<QLabel>("LabelMsgAdmin");
    std::vector<QString> legendes;
    bool toujoursOccupe = true;
    int liberations = 0;
    bool chargeALaLiberation = false;
    QObject::connect(t.ecran, &TFrameEnhanced::Libere, [&] {
        ++liberations;
        chargeALaLiberation = t.ecran->Charge() && !t.ecran->Occupe() && !t.ecran->ScanEnCours();
    });

    t.Ouvrir({2, 9}, [&](int n) {
        toujoursOccupe = toujoursOccupe && t.ecran->Occupe() && t.ecran->ScanEnCours() && !t.ecran->Charge();
        legendes.push_back(t.GroupePorts()->title());
        if (n == 5) {
            // A click on the hint, delivered by the scan's own event processing.
            QPoint centre = lien->rect().center();
            QCoreApplication::postEvent(lien, new QMouseEvent(QEvent::MouseButtonPress, centre, lien->mapToGlobal(centre),
                                                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(lien, new QMouseEvent(QEvent::MouseButtonRelease, centre, lien->mapToGlobal(centre),
                                                              Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        }
        if (n == 10)
            t.ecran->Actualiser(t.config);   // must not start a second scan
        if (n == 20)
            t.ecran->ChangerLangue(LangueAnglais);
        if (liberations != 0)
            toujoursOccupe = false;
    });

    EXPECT_TRUE(toujoursOccupe);
    EXPECT_EQ(liberations, 1);
    EXPECT_TRUE(chargeALaLiberation);
    ASSERT_EQ(t.sondes.size(), 50u);
    for (int n = 1; n <= 50; ++n)
        EXPECT_EQ(t.sondes[n - 1], n);
    ASSERT_EQ(legendes.size(), 50u);
    EXPECT_EQ(legendes[0], "Ports existants COM1 ? ");
    EXPECT_EQ(legendes[19], "Ports existants COM20 ? ");
    EXPECT_EQ(legendes[20], "Usable ports COM21 ? ");
    EXPECT_EQ(t.GroupePorts()->title(), "Usable ports");
    EXPECT_EQ(t.Ports().size(), 2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.fenetre.Recus.empty());   // the click during the scan was ignored
}

TEST(CadreConfiguration, ScreenDestroyedUnderItsScanStopsIt)
{
    // A careless host deleting the screen from inside the scan's event processing.
    struct TDestructeur : QObject {
        TFrameConfiguration** ecran = nullptr;
        bool event(QEvent* e) override
        {
            if (e->type() != QEvent::User)
                return QObject::event(e);
            delete *ecran;
            *ecran = nullptr;
            return true;
        }
    };
    TEcranConfiguration t;
    TDestructeur destructeur;
    destructeur.ecran = &t.ecran;
    t.Ouvrir({1}, [&](int n) {
        if (n == 3)
            QCoreApplication::postEvent(&destructeur, new QEvent(QEvent::User));
    });
    EXPECT_EQ(t.ecran, nullptr);
    EXPECT_EQ(t.sondes.size(), 3u);   // no probe after the screen died
}

TEST(CadreConfiguration, PrivilegesTableHasItsFixedGrantedBoxesAndOneEditable)
{
    TEcranConfiguration t;
    auto* panneau = t.Controle<QFrame>("Panel1");
    const QList<TCaseACocherGlyphe*> boites = panneau->findChildren<TCaseACocherGlyphe*>();
    EXPECT_EQ(boites.size(), 9);   // three cells of the table are empty
    for (TCaseACocherGlyphe* b : boites) {
        if (b->objectName() == QLatin1String("CheckBoxAcqAlarmes")) {
            EXPECT_TRUE(b->isEnabled());
        } else {
            EXPECT_TRUE(b->isChecked()) << qPrintable(b->objectName());
            EXPECT_FALSE(b->isEnabled()) << qPrintable(b->objectName());
        }
    }
    for (const char* forme : {"Shape1", "Shape2", "Shape4", "Shape6", "Shape8", "Shape10", "Shape12", "Shape14", "Shape16",
                              "Shape17", "Shape18"})
        EXPECT_NE(t.Controle<QFrame>(forme), nullptr) << forme;
    // The editable box sits in the CONSULTATION column of the acknowledge row.
    auto* acq = t.Controle<TCaseACocherGlyphe>("CheckBoxAcqAlarmes");
    EXPECT_TRUE(t.Controle<QLabel>("LabelConsultation")->geometry().contains(acq->geometry().center().x(),
                                                                             t.Controle<QLabel>("LabelConsultation")->y()));
    EXPECT_TRUE(t.Controle<QLabel>("LabelAcqDesAlarmes")->geometry().contains(t.Controle<QLabel>("LabelAcqDesAlarmes")->x(),
                                                                              acq->geometry().center().y()));
}

TEST(CadreConfiguration, EveryCaptionFitsInEveryLanguage)
{
    TEcranConfiguration t;
    t.Ouvrir({1, 3, 33, 50});
    const char* const attendusAdministration[] = {"ADMINISTRATION", "ADMINISTRATION", "ADMINISTRACIÓN"};
    const char* const attendusSource[] = {"Source", "Source", "Fuente"};
    for (TLangue langue : {LangueFrancais, LangueAnglais, LangueEspagnol}) {
        t.ecran->ChangerLangue(langue);
        EXPECT_EQ(t.Controle<QLabel>("LabelAdministration")->text(), QString::fromUtf8(attendusAdministration[langue]));
        EXPECT_EQ(t.Noms()->horizontalHeaderItem(1)->text(), QString::fromUtf8(attendusSource[langue]));
        for (QLabel* label : t.ecran->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            EXPECT_LE(label->sizeHint().width(), label->width()) << qPrintable(label->objectName()) << " " << int(langue);
            EXPECT_LE(label->geometry().right(), label->parentWidget()->width() - 1) << qPrintable(label->objectName());
        }
        auto* bouton = t.Controle<QPushButton>("ButtonValider");
        EXPECT_LE(bouton->fontMetrics().horizontalAdvance(bouton->text()) + 12, bouton->width());
        // The progress caption, the longest the group shows, fits in the group.
        QGroupBox* groupe = t.GroupePorts();
        EXPECT_LE(groupe->fontMetrics().horizontalAdvance(groupe->title() + " COM50 ? ") + 16, groupe->width());
    }
}
