// Colours of both rows of the strip and the alarm flag, from the records alone.
#include "app/CouleursBoutons.h"
#include "platform/CouleursSysteme.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(CouleursBoutons, FaceEtLegendeSelonLEnregistrement)
{
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    auto& d = *donnees;
    d[1].Present = true;                                   // present, quiet
    d[2].Present = true; d[2].PreAlarme = true;            // yellow
    d[3].Present = true; d[3].PreAlarme = true; d[3].Alarme = true;   // red wins
    d[4].Alarme = true;                                    // absent but in alarm
    d[5].PreAlarme = true;                                 // absent, pre-alarm

    const TEtatBandeau etat = CalculerBandeau(d);
    EXPECT_TRUE(etat.AlarmeEnCours);
    EXPECT_EQ(etat.Boutons[1].Face, CouleursSysteme::FaceBouton);
    EXPECT_EQ(etat.Boutons[1].Texte, CouleursSysteme::TexteBouton);
    EXPECT_EQ(etat.Boutons[2].Face, QColor(240, 240, 0));
    EXPECT_EQ(etat.Boutons[3].Face, QColor(255, 0, 0));
    EXPECT_EQ(etat.Boutons[3].Texte, CouleursSysteme::TexteBouton);
    EXPECT_EQ(etat.Boutons[4].Face, QColor(255, 0, 0));
    EXPECT_EQ(etat.Boutons[4].Texte, CouleursSysteme::OmbreBouton);
    EXPECT_EQ(etat.Boutons[5].Face, QColor(240, 240, 0));
    EXPECT_EQ(etat.Boutons[5].Texte, CouleursSysteme::OmbreBouton);
    for (int i = 6; i <= NbSources; ++i) {
        EXPECT_EQ(etat.Boutons[i].Face, CouleursSysteme::FaceBouton) << i;
        EXPECT_EQ(etat.Boutons[i].Texte, CouleursSysteme::OmbreBouton) << i;
    }
}

TEST(CouleursBoutons, AlarmeEnCoursRecalculeeDeZero)
{
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    auto& d = *donnees;
    EXPECT_FALSE(CalculerBandeau(d).AlarmeEnCours);
    d[31].PreAlarme = true;                // the last device alone is enough
    EXPECT_TRUE(CalculerBandeau(d).AlarmeEnCours);
    d[31].PreAlarme = false;
    d[31].Present = true;
    d[31].AutoTest = d[31].DCPlus = d[31].DCMoins = d[31].Klaxon = true;   // other indicators do not count
    EXPECT_FALSE(CalculerBandeau(d).AlarmeEnCours);
    d[1].Alarme = true;
    EXPECT_TRUE(CalculerBandeau(d).AlarmeEnCours);
}

TEST(CouleursBoutons, RangeeQFLGriseSeulementPourUnLocalisateurPerdu)
{
    auto kmt = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    auto qfl = std::make_unique<Tableau1<TDonneesQFL, NbSources>>();
    auto& q = *qfl;
    // 37 lost in the middle of a search that had found a fault; 38 answering,
    // with a device fault and a fault found; 39 never heard of; 40 lost once,
    // back now.
    q[5].Present = true;
    q[5].EtatCom = ComPerdue;
    q[5].RechercheEnCours = q[5].DefautTrouve = true;
    q[6].Present = true;
    q[6].EtatCom = ComEnLigne;
    q[6].DefautAppareil = q[6].DefautTrouve = true;
    q[8].Present = true;
    q[8].EtatCom = ComEnLigne;
    (*kmt)[5].Present = true;
    (*kmt)[5].Alarme = true;

    const TEtatBandeau etat = CalculerBandeau(*kmt, qfl.get());
    EXPECT_EQ(etat.BoutonsQFL[5].Face, QColor(128, 128, 128));
    EXPECT_EQ(etat.BoutonsQFL[5].Texte, QColor(255, 255, 255));
    for (int i = 1; i <= NbSources; ++i) {
        if (i == 5)
            continue;
        EXPECT_EQ(etat.BoutonsQFL[i].Face, CouleursSysteme::FaceBouton) << i;
        EXPECT_EQ(etat.BoutonsQFL[i].Texte, CouleursSysteme::TexteBouton) << i;
    }
    // Each row speaks of its own devices: the KMT above the lost locator keeps
    // its alarm, and a lost locator does not grey it.
    EXPECT_EQ(etat.Boutons[5].Face, QColor(255, 0, 0));
    EXPECT_EQ(etat.Boutons[5].Texte, CouleursSysteme::TexteBouton);
    EXPECT_EQ(etat.Boutons[6].Face, CouleursSysteme::FaceBouton);

    // Without the locators' records (the demonstration), the row keeps the button's colours.
    const TEtatBandeau sans = CalculerBandeau(*kmt);
    EXPECT_EQ(sans.BoutonsQFL[5].Face, CouleursSysteme::FaceBouton);
    EXPECT_EQ(sans.BoutonsQFL[5].Texte, CouleursSysteme::TexteBouton);
}

} // namespace
