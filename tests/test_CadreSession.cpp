// Session screen: layout, opening state, password-change rule, relabelling.
#include "platform/MessagesFenetre.h"
#include "screens/CadreSession.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// Types text one character at a time, accented letters included.
void Taper(QWidget* champ, const QString& texte)
{
    for (QChar c : texte)
        QTest::sendKeyEvent(QTest::Click, champ, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

struct Ecran {
    TFrameSession cadre;
    explicit Ecran(TLangue langue = LangueFrancais)
    {
        cadre.ChangerLangue(langue);
        cadre.Initialiser();
    }
    template <class T> T* Ctrl(const char* nom) { return cadre.findChild<T*>(QLatin1String(nom)); }
    QLineEdit* Edit(const char* nom) { return Ctrl<QLineEdit>(nom); }
    QPushButton* Valider() { return Ctrl<QPushButton>("ButtonChangerMotDePasse"); }
};

TEST(CadreSession, ControlesNommesEtPlacesDansLeurConteneur)
{
    Ecran e;
    struct Place { const char* nom; const char* conteneur; QRect rect; };
    // Captions sized to their text are checked by their anchored corner only (empty size).
    const Place places[] = {
        {"LabelTitre", nullptr, {16, 16, 721, 20}},
        {"Panel1", nullptr, {16, 48, 713, 569}},
        {"LabelUtilisateurEnCours", "Panel1", {24, 16, 0, 0}},
        {"EditUtilisateurEnCours", "Panel1", {24, 32, 481, 24}},
        {"ButtonFinSession", "Panel1", {520, 32, 169, 24}},
        {"EditNvMotDePasse", "Panel1", {304, 64, 201, 24}},
        {"EditNvMotDePasseBis", "Panel1", {304, 96, 201, 24}},
        {"ButtonChangerMotDePasse", "Panel1", {520, 96, 169, 24}},
        {"ListViewUtilisateurs", "Panel1", {24, 144, 665, 225}},
        {"EditMotDePasse", "Panel1", {304, 376, 201, 24}},
        {"ButtonDebutSession", "Panel1", {520, 376, 169, 24}},
        {"GroupBoxOutilsAdmin", "Panel1", {24, 408, 665, 145}},
        {"LabelNom", "GroupBoxOutilsAdmin", {16, 24, 0, 0}},
        {"LabelPrenom", "GroupBoxOutilsAdmin", {288, 24, 0, 0}},
        {"LabelMode", "GroupBoxOutilsAdmin", {488, 24, 0, 0}},
        {"EditNom", "GroupBoxOutilsAdmin", {16, 48, 265, 24}},
        {"EditPrenom", "GroupBoxOutilsAdmin", {288, 48, 193, 24}},
        {"ComboBoxMode", "GroupBoxOutilsAdmin", {488, 48, 161, 24}},
        {"GroupBoxUtilisateurSelection", "GroupBoxOutilsAdmin", {16, 80, 425, 57}},
        {"ButtonModifier", "GroupBoxUtilisateurSelection", {16, 24, 193, 25}},
        {"ButtonSupprimer", "GroupBoxUtilisateurSelection", {216, 24, 193, 25}},
        {"ButtonAjouter", "GroupBoxOutilsAdmin", {456, 104, 193, 25}},
    };
    for (const Place& p : places) {
        QWidget* w = e.Ctrl<QWidget>(p.nom);
        ASSERT_TRUE(w) << p.nom;
        EXPECT_EQ(w->parentWidget()->objectName(), p.conteneur ? p.conteneur : "") << p.nom;
        if (p.rect.isEmpty())
            EXPECT_EQ(w->pos(), p.rect.topLeft()) << p.nom;
        else
            EXPECT_EQ(w->geometry(), p.rect) << p.nom;
    }
    // Right-aligned captions end where the password fields begin.
    for (const auto& [nom, haut] : {std::pair{"LabelNvMotDePasse", 66}, {"LabelNvMotDePasseBis", 98},
                                    {"LabelMotDePasse", 378}}) {
        QLabel* l = e.Ctrl<QLabel>(nom);
        EXPECT_EQ(l->geometry().right() + 1, 289) << nom;
        EXPECT_EQ(l->y(), haut) << nom;
    }
}

TEST(CadreSession, EtatALOuverture)
{
    Ecran e;
    EXPECT_EQ(e.Ctrl<QComboBox>("ComboBoxMode")->currentText(), "CONSULTATION");
    for (const char* nom : {"EditUtilisateurEnCours", "EditNom", "EditPrenom", "EditMotDePasse",
                            "EditNvMotDePasse", "EditNvMotDePasseBis"})
        EXPECT_TRUE(e.Edit(nom)->text().isEmpty()) << nom;
    EXPECT_FALSE(e.Valider()->isEnabled());
    EXPECT_EQ(e.Valider()->text(), "Valider");

    // No sample row: the list shows the station's users only.
    auto* liste = e.Ctrl<QTreeWidget>("ListViewUtilisateurs");
    EXPECT_EQ(liste->topLevelItemCount(), 0);
    EXPECT_EQ(liste->columnWidth(0), 280);
    EXPECT_EQ(liste->columnWidth(1), 200);
    EXPECT_EQ(liste->columnWidth(2), 150);
    EXPECT_FALSE(liste->header()->sectionsClickable());
}

TEST(CadreSession, ConcordanceDesNouveauxMotsDePasse)
{
    EXPECT_TRUE(NouveauxMotsDePasseConcordants("secret", "secret"));
    // Exact: a capital typed by mistake never becomes the password.
    EXPECT_FALSE(NouveauxMotsDePasseConcordants("Secret", "sECRET"));
    EXPECT_FALSE(NouveauxMotsDePasseConcordants(QString::fromUtf8("ÉtÉ"), QString::fromUtf8("été")));
    EXPECT_TRUE(NouveauxMotsDePasseConcordants(QString::fromUtf8("ÉtÉ"), QString::fromUtf8("ÉtÉ")));
    EXPECT_FALSE(NouveauxMotsDePasseConcordants("", ""));
    EXPECT_FALSE(NouveauxMotsDePasseConcordants("secret", ""));
    EXPECT_FALSE(NouveauxMotsDePasseConcordants("secret", "secret "));
    EXPECT_FALSE(NouveauxMotsDePasseConcordants(QString::fromUtf8("été"), "ete"));
}

TEST(CadreSession, ValiderSuitLaSaisie)
{
    Ecran e;
    QLineEdit* nv = e.Edit("EditNvMotDePasse");
    QLineEdit* bis = e.Edit("EditNvMotDePasseBis");
    Taper(nv, QString::fromUtf8("Éclair"));
    EXPECT_FALSE(e.Valider()->isEnabled());
    EXPECT_EQ(nv->displayText(), "******");
    Taper(bis, QString::fromUtf8("éCLAIR"));
    EXPECT_FALSE(e.Valider()->isEnabled());
    bis->clear();
    Taper(bis, QString::fromUtf8("Éclair"));
    EXPECT_TRUE(e.Valider()->isEnabled());
    QTest::keyClick(bis, Qt::Key_S);
    EXPECT_FALSE(e.Valider()->isEnabled());
    QTest::keyClick(bis, Qt::Key_Backspace);
    EXPECT_TRUE(e.Valider()->isEnabled());
    nv->clear();
    bis->clear();
    EXPECT_FALSE(e.Valider()->isEnabled());
}

TEST(CadreSession, UtilisateurEnCoursNonModifiable)
{
    Ecran e;
    QLineEdit* champ = e.Edit("EditUtilisateurEnCours");
    QTest::keyClicks(champ, "intrus");
    QTest::keyClick(champ, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(champ->text().isEmpty());
}

TEST(CadreSession, LangueGardeLeModeChoisi)
{
    Ecran e;
    auto* combo = e.Ctrl<QComboBox>("ComboBoxMode");
    combo->setCurrentIndex(ModeExploitation);
    e.cadre.ChangerLangue(LangueEspagnol);
    EXPECT_EQ(combo->currentIndex(), ModeExploitation);
    EXPECT_EQ(combo->currentText(), QString::fromUtf8("EXPLOTACIÓN"));
    EXPECT_EQ(combo->itemText(ModeAdministration), QString::fromUtf8("ADMINITRACIÓN"));
    // The three items are 16 pixels high in the open list.
    e.cadre.show();
    combo->showPopup();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(combo->view()->visualRect(combo->model()->index(i, 0)).height(), 16) << i;
    combo->hidePopup();
    auto* liste = e.Ctrl<QTreeWidget>("ListViewUtilisateurs");
    EXPECT_EQ(liste->headerItem()->text(0), "Apelido");
    EXPECT_EQ(e.Ctrl<QLabel>("LabelNom")->text(), "Apelido");
}

// Without the station's session (the screen alone) the buttons do nothing.
TEST(CadreSession, BoutonsSansSessionSansEffet)
{
    Ecran e;
    int demandes = 0;
    struct Filtre : QObject {
        int& n;
        explicit Filtre(int& compteur) : n(compteur) {}
        bool eventFilter(QObject*, QEvent* ev) override { n += ev->type() == WM_ECRAN; return false; }
    } filtre(demandes);
    QCoreApplication::instance()->installEventFilter(&filtre);
    e.cadre.show();
    e.Edit("EditMotDePasse")->setText("n'importe");
    for (const char* nom : {"ButtonDebutSession", "ButtonFinSession", "ButtonModifier", "ButtonSupprimer",
                            "ButtonAjouter"})
        QTest::mouseClick(e.Ctrl<QPushButton>(nom), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&filtre);
    EXPECT_EQ(demandes, 0);
    EXPECT_EQ(e.Ctrl<QTreeWidget>("ListViewUtilisateurs")->topLevelItemCount(), 0);
    EXPECT_EQ(e.Edit("EditMotDePasse")->text(), "n'importe");
    EXPECT_TRUE(e.Edit("EditUtilisateurEnCours")->text().isEmpty());
}

// In every language the captions fit their place and the password captions
// stay inside the panel. Saves the screen images when VEILLEUR_CAPTURES names a folder.
TEST(CadreSession, LibellesEntiersDansLesTroisLangues)
{
    for (TLangue langue : {LangueFrancais, LangueAnglais, LangueEspagnol}) {
        Ecran e(langue);
        for (QLabel* l : e.cadre.findChildren<QLabel*>()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString() << int(langue);
            EXPECT_GE(l->x(), 2) << l->objectName().toStdString() << int(langue);
        }
        for (QPushButton* b : e.cadre.findChildren<QPushButton*>())
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 8) << b->objectName().toStdString();
        for (QGroupBox* g : e.cadre.findChildren<QGroupBox*>())
            EXPECT_GE(g->width(), g->fontMetrics().horizontalAdvance(g->title()) + 16) << g->objectName().toStdString();
        const QString dossier = qEnvironmentVariable("VEILLEUR_CAPTURES");
        if (!dossier.isEmpty())
            e.cadre.grab().save(QDir(dossier).filePath(QStringLiteral("session-%1.png").arg(langue)));
    }
}

} // namespace
