// Colours of the KMT row of the strip and the alarm flag, from the records alone.
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

} // namespace
