// General error report: one box at a time, later errors queued and counted.
#include "platform/RapportErreurs.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

class RapportErreursTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TRapportErreurs::Instance().DefinirAfficheur([this](const QString& texte) {
            ++profondeur;
            profondeurMax = std::max(profondeurMax, profondeur);
            boites.push_back(texte);
            // What other handlers report while this box runs its loop.
            if (pendantLaBoite) {
                auto f = std::move(pendantLaBoite);
                pendantLaBoite = nullptr;
                f();
            }
            --profondeur;
        });
    }
    void TearDown() override { TRapportErreurs::Instance().AfficheurParDefaut(); }

    std::vector<QString> boites;
    std::function<void()> pendantLaBoite;
    int profondeur = 0;
    int profondeurMax = 0;
};

TEST_F(RapportErreursTest, UneErreurUneBoite)
{
    TRapportErreurs& r = TRapportErreurs::Instance();
    const int avant = r.NbAffichees();
    SignalerErreur(QStringLiteral("Impossible de créer le fichier \"Config.set\"."));
    ASSERT_EQ(boites.size(), 1u);
    EXPECT_EQ(boites[0], QStringLiteral("Impossible de créer le fichier \"Config.set\"."));
    EXPECT_EQ(r.NbAffichees(), avant + 1);
    EXPECT_EQ(r.BoitesOuvertes(), 0);
}

TEST_F(RapportErreursTest, ErreursPendantUneBoiteAttendentEtLesIdentiquesSontComptees)
{
    pendantLaBoite = [this] {
        EXPECT_EQ(TRapportErreurs::Instance().BoitesOuvertes(), 1);
        SignalerErreur(QStringLiteral("B"));
        SignalerErreur(QStringLiteral("C"));
        SignalerErreur(QStringLiteral("B"));
        SignalerErreur(QStringLiteral("B"));
        EXPECT_EQ(boites.size(), 1u);   // nothing shown yet
        // An error raised while a queued one is shown waits as well.
        pendantLaBoite = [] { SignalerErreur(QStringLiteral("D")); };
    };
    SignalerErreur(QStringLiteral("A"));
    EXPECT_EQ(profondeurMax, 1);
    EXPECT_EQ(boites, (std::vector<QString>{QStringLiteral("A"), QStringLiteral("B\n(3 fois)"),
                                            QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_EQ(TRapportErreurs::Instance().BoitesOuvertes(), 0);
}

TEST_F(RapportErreursTest, FileBorneeEtResumeDesErreursEnTrop)
{
    const int n = TRapportErreurs::CapaciteFile + 5;
    pendantLaBoite = [n] {
        for (int i = 1; i <= n; ++i)
            SignalerErreur(QStringLiteral("erreur %1").arg(i));
    };
    SignalerErreur(QStringLiteral("premiere"));
    ASSERT_EQ(boites.size(), std::size_t(1 + TRapportErreurs::CapaciteFile + 1));
    EXPECT_EQ(boites[1], QStringLiteral("erreur 1"));
    EXPECT_EQ(boites[TRapportErreurs::CapaciteFile], QStringLiteral("erreur %1").arg(TRapportErreurs::CapaciteFile));
    EXPECT_TRUE(boites.back().startsWith(QStringLiteral("5 "))) << boites.back().toStdString();
    EXPECT_EQ(profondeurMax, 1);

    // The report is ready again afterwards.
    boites.clear();
    SignalerErreur(QStringLiteral("suivante"));
    EXPECT_EQ(boites, (std::vector<QString>{QStringLiteral("suivante")}));
}

} // namespace

TEST(RapportErreurs, ABoxThatFailsToShowDoesNotSilenceLaterErrors)
{
    TRapportErreurs& r = TRapportErreurs::Instance();
    int montrees = 0;
    r.DefinirAfficheur([&](const QString&) {
        if (++montrees == 1)
            throw std::runtime_error("box could not be created");
    });
    EXPECT_THROW(r.Signaler(QStringLiteral("premiere")), std::runtime_error);
    EXPECT_EQ(r.BoitesOuvertes(), 0);
    r.Signaler(QStringLiteral("seconde"));
    EXPECT_EQ(montrees, 2) << "the next error opens its box";
    r.AfficheurParDefaut();
}
