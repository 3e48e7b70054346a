// General error report: shown later from the event loop, never blocking, one
// box at a time, later errors queued and counted.
#include "platform/RapportErreurs.h"
#include "support/OutilsTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

void Traiter()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents();
}

class RapportErreursTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TRapportErreurs::Instance().DefinirBoite(
            [this](const QString& texte, std::unique_ptr<TRapportErreurs::TBoiteOuverte> ouverte) {
                boites.push_back(texte);
                ouvertes.push_back(std::move(ouverte));
            });
    }
    void TearDown() override
    {
        ouvertes.clear();
        Traiter();
        TRapportErreurs::Instance().AfficheurParDefaut();
    }
    // The operator closes the box shown last.
    void Fermer()
    {
        ASSERT_FALSE(ouvertes.empty());
        ouvertes.pop_back();
    }

    std::vector<QString> boites;
    std::vector<std::unique_ptr<TRapportErreurs::TBoiteOuverte>> ouvertes;
};

TEST_F(RapportErreursTest, BoiteMontreePlusTardPuisUneALaFoisEtRepetitionsComptees)
{
    TRapportErreurs& r = TRapportErreurs::Instance();
    const int avant = r.NbAffichees();
    SignalerErreur(QStringLiteral("A"));
    EXPECT_TRUE(boites.empty()) << "never shown inside the caller";
    Traiter();
    ASSERT_EQ(boites, (std::vector<QString>{QStringLiteral("A")}));
    EXPECT_EQ(r.BoitesOuvertes(), 1);

    // While it is open the next errors wait, identical ones counted.
    for (const char* t : {"B", "C", "B", "B"})
        SignalerErreur(QString::fromLatin1(t));
    Traiter();
    EXPECT_EQ(boites.size(), 1u);
    EXPECT_EQ(r.EnAttente(), 2);

    Fermer();
    EXPECT_EQ(boites.size(), 1u);
    Traiter();
    ASSERT_EQ(boites.size(), 2u);
    EXPECT_EQ(boites[1], QStringLiteral("B\n(3 fois)"));
    SignalerErreur(QStringLiteral("D"));
    Fermer();
    Traiter();
    Fermer();
    Traiter();
    EXPECT_EQ(boites, (std::vector<QString>{QStringLiteral("A"), QStringLiteral("B\n(3 fois)"),
                                            QStringLiteral("C"), QStringLiteral("D")}));
    Fermer();
    Traiter();
    EXPECT_EQ(r.BoitesOuvertes(), 0);
    EXPECT_EQ(r.EnAttente(), 0);
    EXPECT_EQ(r.NbAffichees(), avant + 4);

    // Errors raised together before the report runs make one box.
    SignalerErreur(QStringLiteral("E"));
    SignalerErreur(QStringLiteral("E"));
    Traiter();
    EXPECT_EQ(boites.back(), QStringLiteral("E\n(2 fois)"));
}

TEST_F(RapportErreursTest, FileBorneeEtResumeDesErreursEnTrop)
{
    SignalerErreur(QStringLiteral("premiere"));
    Traiter();
    const int n = TRapportErreurs::CapaciteFile + 5;
    for (int i = 1; i <= n; ++i)
        SignalerErreur(QStringLiteral("erreur %1").arg(i));
    for (int i = 0; i < n && !ouvertes.empty(); ++i) {
        Fermer();
        Traiter();
    }
    ASSERT_EQ(boites.size(), std::size_t(1 + TRapportErreurs::CapaciteFile + 1));
    EXPECT_EQ(boites[1], QStringLiteral("erreur 1"));
    EXPECT_EQ(boites[TRapportErreurs::CapaciteFile], QStringLiteral("erreur %1").arg(TRapportErreurs::CapaciteFile));
    EXPECT_TRUE(boites.back().startsWith(QStringLiteral("5 "))) << boites.back().toStdString();
    EXPECT_EQ(TRapportErreurs::Instance().EnAttente(), 0);
}

} // namespace

TEST(RapportErreurs, UneBoiteQuiNePeutSAfficherNeFaitPasTaireLesSuivantes)
{
    TRapportErreurs& r = TRapportErreurs::Instance();
    int montrees = 0;
    r.DefinirAfficheur([&](const QString&) {
        if (++montrees == 1)
            throw std::runtime_error("box could not be created");
    });
    r.Signaler(QStringLiteral("premiere"));
    Traiter();
    EXPECT_EQ(montrees, 1);
    EXPECT_EQ(r.BoitesOuvertes(), 0);
    r.Signaler(QStringLiteral("seconde"));
    Traiter();
    EXPECT_EQ(montrees, 2) << "the next error opens its box";
    r.AfficheurParDefaut();
}

// The real box: shown without a loop of its own and without modality, so that
// the caller and the rest of the station go on; closing it lets the next one up.
TEST(RapportErreurs, VraieBoiteNonModaleQuiNeBloquePas)
{
    TRapportErreurs& r = TRapportErreurs::Instance();
    r.AfficheurParDefaut();
    auto fenetre = std::make_unique<QWidget>();
    fenetre->resize(300, 200);
    fenetre->show();

    SignalerErreur(QStringLiteral("Log.dat inaccessible"));
    SignalerErreur(QStringLiteral("Config.set inaccessible"));
    QTest::qWait(50);   // a blocking box would never let this return
    QPointer<QMessageBox> boite = BoiteMessageOuverte();
    ASSERT_TRUE(boite);
    EXPECT_EQ(boite->text(), QStringLiteral("Log.dat inaccessible"));
    EXPECT_FALSE(boite->isModal());
    EXPECT_EQ(boite->windowModality(), Qt::NonModal);
    EXPECT_EQ(boite->parentWidget(), fenetre.get());
    EXPECT_EQ(r.BoitesOuvertes(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QTest::mouseClick(boite->button(QMessageBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return boite.isNull(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return BoiteMessageOuverte() != nullptr; }, 2000));
    boite = BoiteMessageOuverte();
    ASSERT_TRUE(boite);
    EXPECT_EQ(boite->text(), QStringLiteral("Config.set inaccessible"));

    // A box still open when its window goes is closed with it.
    boite->hide();
    EXPECT_EQ(r.BoitesOuvertes(), 1) << "hidden is not closed";
    fenetre.reset();
    EXPECT_TRUE(boite.isNull());
    EXPECT_EQ(r.BoitesOuvertes(), 0);
}
