// Return bookkeeping of the device screens and the requests the shell accepts.
#include "app/Navigation.h"

#include <gtest/gtest.h>

namespace {

struct Banc {
    TInfosKMT kmt;
    TInfosQFL qfl;
    TInfosRecherche recherche;
    TNavigation nav{kmt, qfl, recherche};
};

TEST(Navigation, ParcoursVueDEnsembleKMTRechercheEtRetours)
{
    Banc b;
    b.nav.VersEcranGeneral(EcranVueDEnsemble);
    b.nav.VersKMT(5);
    EXPECT_EQ(b.nav.NumEcranCourant, EcranKMT);
    EXPECT_EQ(b.nav.NumAppareilCourant, 5);
    EXPECT_EQ(b.kmt.NumAppareil, 5);
    EXPECT_EQ(b.kmt.EcranRetour, EcranVueDEnsemble);
    EXPECT_EQ(b.kmt.AppareilRetour, 1);

    // Launching the search from the KMT screen asks for QFL 5 + 32.
    b.nav.VersRecherche(37);
    EXPECT_EQ(b.recherche.NumAppareil, 37);
    EXPECT_EQ(b.recherche.EcranRetour, EcranKMT);
    EXPECT_EQ(b.recherche.AppareilRetour, 5);

    // Quitting the search sends its return target back: KMT 5, still leading to the overview.
    b.nav.VersKMT(b.recherche.AppareilRetour);
    EXPECT_EQ(b.nav.NumEcranCourant, EcranKMT);
    EXPECT_EQ(b.kmt.EcranRetour, EcranVueDEnsemble);
    EXPECT_EQ(b.kmt.AppareilRetour, 1);

    b.nav.VersEcranGeneral(b.kmt.EcranRetour);
    EXPECT_EQ(b.nav.NumEcranCourant, EcranVueDEnsemble);
    EXPECT_EQ(b.nav.NumAppareilCourant, 5);   // only device screens change it
}

TEST(Navigation, PassageEntreKMTEtQFLGardeLEcranGeneral)
{
    Banc b;
    b.nav.VersEcranGeneral(EcranJournal);
    b.nav.VersQFL(40);
    EXPECT_EQ(b.qfl.EcranRetour, EcranJournal);
    EXPECT_EQ(b.qfl.AppareilRetour, 1);
    b.nav.VersKMT(8);
    EXPECT_EQ(b.kmt.EcranRetour, EcranJournal);
    EXPECT_EQ(b.kmt.AppareilRetour, 1);
    b.nav.VersQFL(41);
    EXPECT_EQ(b.qfl.NumAppareil, 41);
    EXPECT_EQ(b.qfl.EcranRetour, EcranJournal);
    // KMT to KMT keeps the target too.
    b.nav.VersKMT(9);
    b.nav.VersKMT(10);
    EXPECT_EQ(b.kmt.EcranRetour, EcranJournal);
    EXPECT_EQ(b.nav.NumAppareilCourant, 10);
}

TEST(Navigation, EcranJamaisOuvertDepuisUnEcranGeneralRevientALAccueil)
{
    // A QFL screen opened from the strip while the search screen shows has
    // never been given a target: it leads home, never nowhere.
    Banc b;
    b.nav.VersEcranGeneral(EcranSession);
    b.nav.VersRecherche(50);
    EXPECT_EQ(b.recherche.EcranRetour, EcranSession);
    b.nav.VersQFL(45);
    EXPECT_EQ(b.qfl.EcranRetour, EcranAccueil);
    EXPECT_EQ(b.qfl.AppareilRetour, 1);
    EXPECT_EQ(b.nav.NumEcranCourant, EcranQFL);
    // The search always remembers where it came from, even another search.
    b.nav.VersRecherche(45);
    EXPECT_EQ(b.recherche.EcranRetour, EcranQFL);
    EXPECT_EQ(b.recherche.AppareilRetour, 45);
    b.nav.VersRecherche(46);
    EXPECT_EQ(b.recherche.EcranRetour, EcranRecherche);
    EXPECT_EQ(b.recherche.AppareilRetour, 45);
}

TEST(Navigation, RequetesAcceptees)
{
    for (int e = 1; e <= 6; ++e)
        EXPECT_TRUE(TNavigation::RequeteValide(e, 0)) << e;
    for (int e : {0, 7, 8, 9, 13, -1, 1025})
        EXPECT_FALSE(TNavigation::RequeteValide(e, 5)) << e;
    EXPECT_TRUE(TNavigation::RequeteValide(EcranKMT, 1));
    EXPECT_TRUE(TNavigation::RequeteValide(EcranKMT, 31));
    for (int a : {0, 32, 33, -5})
        EXPECT_FALSE(TNavigation::RequeteValide(EcranKMT, a)) << a;
    for (int ecran : {EcranQFL, EcranRecherche}) {
        EXPECT_TRUE(TNavigation::RequeteValide(ecran, 33));
        EXPECT_TRUE(TNavigation::RequeteValide(ecran, 63));
        for (int a : {31, 32, 64, 0})
            EXPECT_FALSE(TNavigation::RequeteValide(ecran, a)) << a;
    }
}

} // namespace
