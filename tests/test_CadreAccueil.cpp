// Home screen: layout, mode and user fields, links, display-only fields.
#include "platform/MessagesFenetre.h"
#include "screens/CadreAccueil.h"
#include "support/OutilsTest.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Ecran {
    TFenetreTemoin fenetre;
    TFrameAccueil cadre;
    explicit Ecran(std::uint8_t mode = ModeAdministration, const QString& utilisateur = {},
                   TLangue langue = LangueFrancais)
    {
        cadre.ChangerLangue(langue);
        TInfosAccueil infos{&fenetre, mode, utilisateur};
        cadre.Initialiser(infos);
    }
    template <class T> T* Ctrl(const char* nom) { return cadre.findChild<T*>(QLatin1String(nom)); }
    QLineEdit* Edit(const char* nom) { return Ctrl<QLineEdit>(nom); }
    bool Visible(const char* nom) { return Ctrl<QWidget>(nom)->isVisibleTo(&cadre); }
};

const char* const ChampsMode[] = {"EditModeAdministration", "EditModeExploitation", "EditModeConsultation"};
const char* const Champs[] = {"EditModeAdministration", "EditModeExploitation", "EditModeConsultation",
                              "EditUtilisateurEnCours", "EditAucunUtilisateurEnCours"};
const char* const Liens[] = {"LabelDebutFinSession", "LabelVueDEnsemble", "LabelJournal", "LabelNotices",
                             "LabelConfiguration"};
const char* const Descriptions[] = {"LabelDescMenuGauche", "LabelDescDebutFinSession1", "LabelDescDebutFinSession2",
                                    "LabelDescDebutFinSession3", "LabelDescVueDEnsemble", "LabelDescJournal",
                                    "LabelDescNotices", "LabelDescConfiguration"};

TEST(CadreAccueil, ControlesNommesEtPlaces)
{
    Ecran e;
    // Fixed boxes: the whole rectangle.
    const std::vector<std::pair<const char*, QRect>> fixes = {
        {"LabelTitre", {16, 16, 721, 20}},
        {"EditModeAdministration", {368, 73, 241, 24}},  {"EditModeExploitation", {368, 73, 241, 24}},
        {"EditModeConsultation", {368, 73, 241, 24}},    {"EditUtilisateurEnCours", {368, 109, 241, 24}},
        {"EditAucunUtilisateurEnCours", {368, 109, 241, 24}}, {"Bevel1", {16, 152, 713, 465}}};
    for (const auto& [nom, place] : fixes) {
        QWidget* w = e.Ctrl<QWidget>(nom);
        ASSERT_TRUE(w) << nom;
        EXPECT_EQ(w->geometry(), place) << nom;
    }
    // Captions sized to their text: the anchored edge stays where the layout puts it.
    EXPECT_EQ(e.Ctrl<QLabel>("LabelModeEnCours")->geometry().right() + 1, 347);
    EXPECT_EQ(e.Ctrl<QLabel>("LabelModeEnCours")->y(), 76);
    EXPECT_EQ(e.Ctrl<QLabel>("LabelUtilisateurEnCours")->geometry().right() + 1, 346);
    EXPECT_EQ(e.Ctrl<QLabel>("LabelUtilisateurEnCours")->y(), 112);
    const QPoint coinsLiens[] = {{24, 216}, {24, 328}, {24, 392}, {24, 456}, {24, 520}};
    for (int i = 0; i < 5; ++i) {
        QLabel* lien = e.Ctrl<QLabel>(Liens[i]);
        ASSERT_TRUE(lien) << Liens[i];
        EXPECT_EQ(lien->pos(), coinsLiens[i]) << Liens[i];
        EXPECT_EQ(lien->property("Tag").toInt(), i + 2) << Liens[i];
    }
    const int hautsDesc[] = {176, 240, 264, 288, 352, 416, 480, 544};
    for (int i = 0; i < 8; ++i) {
        QLabel* d = e.Ctrl<QLabel>(Descriptions[i]);
        ASSERT_TRUE(d) << Descriptions[i];
        EXPECT_EQ(d->geometry().topLeft(), QPoint(i == 0 ? 24 : 40, hautsDesc[i])) << Descriptions[i];
        EXPECT_EQ(d->width(), i == 0 ? 697 : 681) << Descriptions[i];
    }
}

TEST(CadreAccueil, DemarrageSansUtilisateurEnAdministration)
{
    Ecran e;
    EXPECT_EQ(e.Ctrl<QLabel>("LabelModeEnCours")->text(), QString::fromUtf8("Le veilleur est en mode : "));
    EXPECT_EQ(e.Ctrl<QLabel>("LabelUtilisateurEnCours")->text(), QString::fromUtf8("Utilisateur en cours : "));
    EXPECT_TRUE(e.Visible("EditModeAdministration"));
    EXPECT_FALSE(e.Visible("EditModeExploitation"));
    EXPECT_FALSE(e.Visible("EditModeConsultation"));
    EXPECT_EQ(e.Edit("EditModeAdministration")->text(), "ADMINISTRATION");
    EXPECT_TRUE(e.Visible("EditAucunUtilisateurEnCours"));
    EXPECT_FALSE(e.Visible("EditUtilisateurEnCours"));
    EXPECT_EQ(e.Edit("EditAucunUtilisateurEnCours")->text(), QString::fromUtf8("Aucun utilisateur enregistré"));
}

TEST(CadreAccueil, ModeConsultationEtNomTelQuel)
{
    const QString nom = QString::fromUtf8("  Hélène O'Brien-Dupré ");
    Ecran e(ModeConsultation, nom);
    EXPECT_FALSE(e.Visible("EditModeAdministration"));
    EXPECT_FALSE(e.Visible("EditModeExploitation"));
    EXPECT_TRUE(e.Visible("EditModeConsultation"));
    EXPECT_TRUE(e.Visible("EditUtilisateurEnCours"));
    EXPECT_FALSE(e.Visible("EditAucunUtilisateurEnCours"));
    EXPECT_EQ(e.Edit("EditUtilisateurEnCours")->text(), nom);

    // An unknown mode byte leaves the fields shown as they were.
    TInfosAccueil inconnu{&e.fenetre, 7, nom};
    e.cadre.Initialiser(inconnu);
    EXPECT_TRUE(e.Visible("EditModeConsultation"));
    EXPECT_FALSE(e.Visible("EditModeAdministration"));
}

TEST(CadreAccueil, LangueChangeLesTextesPasLesChampsVisibles)
{
    Ecran e(ModeExploitation, "DURAND");
    e.cadre.ChangerLangue(LangueEspagnol);
    EXPECT_EQ(e.Ctrl<QLabel>("LabelTitre")->text(), "Pantalla de Inicio");
    EXPECT_EQ(e.Edit("EditModeAdministration")->text(), QString::fromUtf8("ADMINITRACIÓN"));
    EXPECT_EQ(e.Edit("EditModeExploitation")->text(), QString::fromUtf8("EXPLOTACIÓN"));
    EXPECT_TRUE(e.Visible("EditModeExploitation"));
    EXPECT_FALSE(e.Visible("EditModeAdministration"));
    EXPECT_EQ(e.Edit("EditUtilisateurEnCours")->text(), "DURAND");
    EXPECT_TRUE(e.Visible("EditUtilisateurEnCours"));
    e.cadre.ChangerLangue(LangueAnglais);
    EXPECT_EQ(e.Edit("EditModeAdministration")->text(), "ADMINISTRATION");
    EXPECT_EQ(e.Ctrl<QLabel>("LabelJournal")->text(), "Events log");
    EXPECT_EQ(e.Ctrl<QLabel>("LabelConfiguration")->text(), "Setting");
}

TEST(CadreAccueil, LienJournalPosteUneDemandeEcran4)
{
    Ecran e;
    e.cadre.show();
    QTest::mouseClick(e.Ctrl<QLabel>("LabelJournal"), Qt::RightButton);
    QTest::mouseClick(e.Ctrl<QLabel>("LabelJournal"), Qt::LeftButton);
    // Posted, not sent: nothing arrives while the click is being handled.
    EXPECT_TRUE(e.fenetre.Recus.empty());
    QCoreApplication::sendPostedEvents(&e.fenetre);
    ASSERT_EQ(e.fenetre.Recus.size(), 1u);
    EXPECT_EQ(e.fenetre.Recus[0], std::make_pair(EcranJournal, 0));

    e.fenetre.Recus.clear();
    for (const char* lien : Liens)
        QTest::mouseClick(e.Ctrl<QLabel>(lien), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(&e.fenetre);
    const std::vector<std::pair<int, int>> attendu = {{2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}};
    EXPECT_EQ(e.fenetre.Recus, attendu);
}

TEST(CadreAccueil, ChampsNonModifiablesAuClavier)
{
    Ecran e(ModeAdministration, "DURAND");
    e.cadre.show();
    QApplication::clipboard()->setText("collage");
    for (const char* nom : Champs) {
        QLineEdit* champ = e.Edit(nom);
        champ->setVisible(true);
        const QString avant = champ->text();
        champ->setFocus();
        QTest::keyClicks(champ, "xyz");
        champ->selectAll();
        QTest::keyClick(champ, Qt::Key_Delete);
        QTest::keyClick(champ, Qt::Key_Backspace);
        QTest::keyClick(champ, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(champ, Qt::Key_V, Qt::ControlModifier);
        champ->end(false);
        QTest::keyClick(champ, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(champ->text(), avant) << nom;
    }
}

// In every language the captions fit: none is cut off, none runs into the
// next one or out of the frame around the menu. Saves the screen images when
// VEILLEUR_CAPTURES names a folder.
TEST(CadreAccueil, LibellesSansChevauchementDansLesTroisLangues)
{
    for (TLangue langue : {LangueFrancais, LangueAnglais, LangueEspagnol}) {
        Ecran e(ModeAdministration, {}, langue);
        const QRect bevel = e.Ctrl<QWidget>("Bevel1")->geometry();
        QLabel* precedent = nullptr;
        for (const char* nom : {"LabelDescMenuGauche", "LabelDebutFinSession", "LabelDescDebutFinSession1",
                                "LabelDescDebutFinSession2", "LabelDescDebutFinSession3", "LabelVueDEnsemble",
                                "LabelDescVueDEnsemble", "LabelJournal", "LabelDescJournal", "LabelNotices",
                                "LabelDescNotices", "LabelConfiguration", "LabelDescConfiguration"}) {
            QLabel* l = e.Ctrl<QLabel>(nom);
            EXPECT_GE(l->height(), l->heightForWidth(l->width())) << nom << int(langue);
            EXPECT_GE(l->width(), l->sizeHint().width()) << nom << int(langue);
            EXPECT_TRUE(bevel.adjusted(2, 2, -2, -2).contains(l->geometry())) << nom << int(langue);
            if (precedent) {
                EXPECT_LE(precedent->geometry().bottom(), l->y()) << nom << int(langue);
            }
            precedent = l;
        }
        for (const char* nom : {"LabelModeEnCours", "LabelUtilisateurEnCours"}) {
            QLabel* l = e.Ctrl<QLabel>(nom);
            EXPECT_GE(l->width(), l->sizeHint().width()) << nom;
            EXPECT_GE(l->x(), 0) << nom;
        }
        // The link's caption is drawn navy and underlined: a row of navy pixels under the text.
        const QImage image = e.cadre.grab().toImage();
        QLabel* lien = e.Ctrl<QLabel>("LabelJournal");
        int rangeeLaPlusLongue = 0;
        for (int y = lien->y(); y <= lien->geometry().bottom(); ++y) {
            int n = 0;
            for (int x = lien->x(); x <= lien->geometry().right(); ++x)
                n += image.pixelColor(x, y) == QColor(0, 0, 128);
            rangeeLaPlusLongue = std::max(rangeeLaPlusLongue, n);
        }
        EXPECT_GE(rangeeLaPlusLongue, lien->width() * 3 / 4) << int(langue);
        const QString dossier = qEnvironmentVariable("VEILLEUR_CAPTURES");
        if (!dossier.isEmpty())
            image.save(QDir(dossier).filePath(QStringLiteral("accueil-%1.png").arg(langue)));
    }
}

} // namespace
