// Fault locators: their registers decoded, and the layer driving the
// project's simulator over a pseudo-terminal (settings, searches, automatic
// searches, a locator lost in the middle of a search).
#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "liaison/ConfigReseau.h"
#include "liaison/DecodageModbus.h"
#include "liaison/DecodageQFL.h"
#include "liaison/Liaison.h"
#include "support/OutilsTest.h"
#include "support/ProgrammeTest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

using namespace DecodageQFL;
using TIssueCommande = TLiaison::TIssue;

TEST(LiaisonQFL, SearchRegistersAndFaultListDecode)
{
    // The pieces cover each register of the search exactly once, 125 at most each.
    std::multiset<int> lus;
    for (const TMorceau& m : MorceauxRecherche()) {
        EXPECT_LE(m.Nombre, 125);
        for (int a = m.Adresse; a < m.Adresse + m.Nombre; ++a)
            lus.insert(a);
    }
    for (int a = 0; a < 700; ++a) {
        const bool attendu = (a >= 20 && a <= 41) || (a >= 100 && a <= 595) || (a >= 600 && a <= 679);
        EXPECT_EQ(lus.count(a), attendu ? 1u : 0u) << a;
    }

    // A register image in which every value says where it comes from.
    std::vector<std::uint16_t> image(680, 0);
    const std::uint32_t date = 1700000000;  // two registers, high word first
    image[20] = date >> 16;
    image[21] = date & 0xFFFF;
    for (int a = 22; a <= 41; ++a)
        image[std::size_t(a)] = std::uint16_t(1000 + a);
    for (int a = 100; a <= 595; ++a)
        image[std::size_t(a)] = std::uint16_t(a);
    const std::uint16_t defaut0[8] = {5, 2, 150, 153, std::uint16_t(date >> 16), std::uint16_t(date & 0xFFFF), 1, 0};
    const std::uint16_t defaut9[8] = {7, 0, 40, 575, 0, 0, 5, 0};
    std::copy(defaut0, defaut0 + 8, image.begin() + 600);
    std::copy(defaut9, defaut9 + 8, image.begin() + 672);

    TRechercheQFL r{};
    for (const TMorceau& m : MorceauxRecherche())
        AppliquerMorceau(m.Adresse,
                         std::vector<std::uint16_t>(image.begin() + m.Adresse, image.begin() + m.Adresse + m.Nombre), r);
    EXPECT_NEAR(r.Date, DecodageModbus::DateAppareilVersJours(date), 1e-9);
    EXPECT_GT(r.Date, 45000.0);
    EXPECT_EQ(r.ITransfo, 1022);
    EXPECT_EQ(r.RTransfo, 1023);
    EXPECT_EQ(r.ILimiteur, 1024);
    EXPECT_EQ(r.RLimiteur, 1025);
    EXPECT_EQ(r.IDeparts[0], 1026);   // feeder 3
    EXPECT_EQ(r.RDeparts[0], 1027);
    EXPECT_EQ(r.IDeparts[7], 1040);   // feeder 10
    EXPECT_EQ(r.RDeparts[7], 1041);
    EXPECT_EQ(r.IQFL16[0][0], 100);   // unit 1, feeder 1
    EXPECT_EQ(r.IQFL16[2][4], 100 + 16 * 2 + 4);
    EXPECT_EQ(r.IQFL16[30][15], 595); // unit 31, feeder 16
    EXPECT_EQ(r.Defauts[0].Depart, 5);
    EXPECT_EQ(r.Defauts[0].Unite, 2);
    EXPECT_EQ(r.Defauts[0].R, 150);
    EXPECT_EQ(r.Defauts[0].I, 153);
    EXPECT_NEAR(r.Defauts[0].Date, r.Date, 1e-9);
    EXPECT_EQ(r.Defauts[0].Conducteur, 1);
    EXPECT_EQ(r.Defauts[1].Depart, 0);  // an empty slot
    EXPECT_EQ(r.Defauts[9].Depart, 7);
    EXPECT_EQ(r.Defauts[9].Conducteur, 5);
    EXPECT_EQ(r.Defauts[9].Date, 0.0);

    // The fault of the last search is the newest of the list, when the status says one was found.
    TDonneesQFL d{};
    d.Recherche = r;
    d.ResultatsConnus = true;
    EXPECT_EQ(DefautDerniereRecherche(d), nullptr);
    std::vector<std::uint16_t> etat(14, 0);
    etat[0] = 2;
    etat[2] = 9;
    etat[10] = BitTrouve | BitRecherche;
    etat[11] = 4;
    etat[12] = 0x8001;   // units 1 and 16
    etat[13] = 0x4001;   // units 17 and 31
    TEtatQFL e;
    ASSERT_TRUE(DecoderEtat(etat.data(), 14, e));
    AppliquerEtat(d, e);
    EXPECT_TRUE(d.Present && d.RechercheEnCours && d.DefautTrouve && !d.DefautAppareil);
    EXPECT_EQ(d.Unites, 0x40018001u);
    EXPECT_EQ(d.VLogiciel, 9);
    ASSERT_NE(DefautDerniereRecherche(d), nullptr);
    EXPECT_EQ(DefautDerniereRecherche(d)->Unite, 2);
    etat[0] = 1;  // a KMT is no locator
    EXPECT_FALSE(DecoderEtat(etat.data(), 14, e));
    EXPECT_FALSE(DecoderEtat(etat.data(), 13, e));
}

TEST(LiaisonQFL, AutomaticSearchChoiceKeptInTheNetworkFile)
{
    TDossierTemporaire dossier;
    const QString chemin = dossier.Chemin(QStringLiteral("Reseau.ini"));
    EcrireFichier(chemin, "; the operators' network\n[Liaison]\nVitesse=9600\n[Appareils]\nListe=1-3,33-35\n");
    EXPECT_TRUE(LireRechercheAuto(chemin).empty());
    ASSERT_TRUE(EcrireRechercheAuto(chemin, {7, 1, 2, 3, 31}));
    EXPECT_EQ(LireRechercheAuto(chemin), (std::vector<int>{1, 2, 3, 7, 31}));
    // The rest of the file holds, and the whole file still reads.
    const TLectureReseau l = LireConfigReseau(chemin, QStringLiteral("/dev/ttyS0"));
    ASSERT_TRUE(l.Utilisable) << l.Message.toStdString();
    EXPECT_EQ(l.Config.Vitesse, 9600);
    EXPECT_EQ(l.Config.Appareils, (std::vector<int>{1, 2, 3, 33, 34, 35}));
    EXPECT_EQ(l.Config.RechercheAuto, (std::vector<int>{1, 2, 3, 7, 31}));
    ASSERT_TRUE(EcrireRechercheAuto(chemin, {}));
    EXPECT_TRUE(LireRechercheAuto(chemin).empty());
    EXPECT_TRUE(LireConfigReseau(chemin, QStringLiteral("/dev/ttyS0")).Utilisable);

    EXPECT_EQ(TexteListeAppareils({5, 1, 2, 3, 9, 10, 3}), QStringLiteral("1-3,5,9-10"));
    // A QFL number has no alarm of its own.
    EcrireFichier(chemin, "[RechercheAuto]\nListe=3,40\n");
    const TLectureReseau refus = LireConfigReseau(chemin, QStringLiteral("/dev/ttyS0"));
    EXPECT_FALSE(refus.Utilisable);
    EXPECT_TRUE(refus.Message.contains(QStringLiteral("[RechercheAuto] Liste"))) << refus.Message.toStdString();
}

namespace {

struct TStation {
    TVerrouDonnees Verrou;
    std::unique_ptr<Tableau1<TDonneesKMT, NbSources>> Donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::unique_ptr<Tableau1<TDonneesQFL, NbSources>> QFL = std::make_unique<Tableau1<TDonneesQFL, NbSources>>();
    std::unique_ptr<TLiaison> Liaison;
    std::vector<TEntreeLog> Entrees;
    std::vector<TLiaison::TResultat> Resultats;

    explicit TStation(const TConfigReseau& config)
    {
        Liaison = std::make_unique<TLiaison>(config, Verrou, *Donnees, *QFL);
        QObject::connect(Liaison.get(), &TLiaison::Disponible, [this] {
            for (const TEntreeLog& e : Liaison->PrendreEntrees())
                Entrees.push_back(e);
            for (const auto& r : Liaison->PrendreResultats())
                Resultats.push_back(r);
        });
        Liaison->Demarrer();
    }
    std::vector<TEntreeLog> De(int code, int appareil) const
    {
        std::vector<TEntreeLog> v;
        std::copy_if(Entrees.begin(), Entrees.end(), std::back_inserter(v),
                     [&](const TEntreeLog& e) { return e.Code == code && e.Origine == appareil; });
        return v;
    }
    int Nombre(int code, int appareil) const { return static_cast<int>(De(code, appareil).size()); }
    TDonneesQFL Lire(int appareil)
    {
        TLectureDonnees lecture(Verrou);
        return (*QFL)[appareil - DecalageQFL];
    }
    const TLiaison::TResultat* Resultat(std::uint64_t id) const
    {
        for (const auto& r : Resultats)
            if (r.Id == id)
                return &r;
        return nullptr;
    }
};

bool Attendre(const std::function<bool()>& condition, int ms = 10000)
{
    return QTest::qWaitFor(condition, ms);
}

} // namespace

TEST(LiaisonQFL, SettingsSearchesAndLossOverTheSimulator)
{
    TDossierTemporaire dossier;
    const QString lien = dossier.Chemin(QStringLiteral("ligne"));
    TProgramme simulateur;
    simulateur.Lancer(QStringLiteral(VEILLEUR_SIMULATEUR),
                     {QStringLiteral("--pty"), lien, QStringLiteral("--kmt"), QStringLiteral("1,5"), QStringLiteral("--qfl"),
                      QStringLiteral("33,35-37"), QStringLiteral("--demarrage-ms"), QStringLiteral("0"),
                      QStringLiteral("--derive"), QStringLiteral("0"), QStringLiteral("--duree-recherche"),
                      QStringLiteral("700")});
    const auto dire = [&](const QByteArray& c) { simulateur.Dire(c); };
    dire("seuil 1,5 100\nr 1,5 800\nunites 35 1-4\nfuite 35 5 2 1 150\nfuite 33 4 0 2 300");

    TConfigReseau c;
    c.Peripherique = lien;
    c.DelaiReponse = 100;
    c.Appareils = {1, 5, 33, 35, 36, 37, 38};
    c.ListeDonnee = true;
    TStation s(c);
    const auto enLigne = [&](int n) { return s.Lire(n).EtatCom == ComEnLigne; };
    ASSERT_TRUE(Attendre([&] {
        return enLigne(33) && enLigne(35) && enLigne(36) && enLigne(37) && s.Lire(37).ReglagesConnus
               && s.Lire(35).ResultatsConnus;
    }));
    EXPECT_EQ(s.Lire(38).EtatCom, ComJamais);
    for (int n : {33, 35, 36, 37})
        EXPECT_EQ(s.Nombre(2, n), 1) << n;
    TDonneesQFL q = s.Lire(35);
    EXPECT_EQ(q.Unites, 0x0Fu);
    EXPECT_EQ(q.VLogiciel, 7);
    EXPECT_EQ(q.Reglages[ReglageTension], 230);
    EXPECT_EQ(q.Recherche.Date, 0.0);            // never searched
    EXPECT_EQ(q.Recherche.RTransfo, RQFLNonMesuree);

    // Out of range: refused here, nothing journalled nor sent.
    EXPECT_FALSE(s.Liaison->DemanderReglageQFL(35, ReglageTension, 1001, false, QStringLiteral("Dupont")).Acceptee);
    EXPECT_FALSE(s.Liaison->DemanderReglageQFL(35, ReglageRSeuilKMT, 9, false, QStringLiteral("Dupont")).Acceptee);
    EXPECT_FALSE(s.Liaison->DemanderReglageQFL(5, ReglageR1, 100, false, QStringLiteral("Dupont")).Acceptee);

    // I transformer on 35 and the present locators above it, not 33 nor silent 38.
    const auto transfo = s.Liaison->DemanderReglageQFL(35, ReglageITransfo, 1234, true, QStringLiteral("Dupont"));
    ASSERT_TRUE(transfo.Acceptee);
    EXPECT_EQ(transfo.Ids.size(), 3u);
    const auto r1 = s.Liaison->DemanderReglageQFL(36, ReglageR1, 4321, false, QStringLiteral("Dupont"));
    ASSERT_TRUE(Attendre([&] {
        return s.Nombre(27, 35) + s.Nombre(27, 36) + s.Nombre(27, 37) == 3 && s.Resultat(r1.Ids[0])
               && s.Lire(37).Reglages[ReglageITransfo] == 1234;
    }));
    for (int n : {35, 36, 37}) {
        const auto demande = s.De(31, n);
        ASSERT_EQ(demande.size(), 1u);
        EXPECT_EQ(demande[0].Valeur1, 1234);
        EXPECT_EQ(demande[0].Valeur2, 1000);
        EXPECT_EQ(LireChaine(demande[0].InfosCompl), QStringLiteral("Dupont"));
        EXPECT_EQ(s.De(27, n)[0].Valeur2, 1000);
    }
    EXPECT_EQ(s.Lire(33).Reglages[ReglageITransfo], 1000);
    EXPECT_EQ(s.Nombre(31, 33) + s.Nombre(31, 38), 0);
    const auto nomme = s.De(25, 36);
    ASSERT_EQ(nomme.size(), 2u);   // asked, then confirmed
    EXPECT_EQ(LireChaine(nomme[0].InfosCompl), QStringLiteral("R1 - Dupont"));
    EXPECT_EQ(LireChaine(nomme[1].InfosCompl), QStringLiteral("R1"));
    EXPECT_EQ(nomme[1].Valeur1, 4321);
    EXPECT_EQ(nomme[1].Valeur2, 100);
    // Read back from the device afterwards, as the panel would show it.
    ASSERT_TRUE(Attendre([&] { return s.Lire(36).Reglages[ReglageR1] == 4321; }));

    // A search from start to results, and a second one refused meanwhile.
    const std::uint16_t compteur = s.Lire(35).CompteurRecherches;
    const std::uint64_t id = s.Liaison->LancerRecherche(35, QStringLiteral("Dupont"));
    ASSERT_TRUE(Attendre([&] { return s.Resultat(id) != nullptr; }));
    EXPECT_EQ(s.Resultat(id)->Issue, TIssueCommande::Reussie);
    EXPECT_TRUE(s.Lire(35).RechercheEnCours);
    const std::uint64_t occupe = s.Liaison->LancerRecherche(35, QStringLiteral("Dupont"));
    ASSERT_TRUE(Attendre([&] { return s.Resultat(occupe) != nullptr; }));
    EXPECT_EQ(s.Resultat(occupe)->Issue, TIssueCommande::Exception);
    EXPECT_EQ(s.Resultat(occupe)->CodeException, DecodageModbus::ExceptionOccupe);
    ASSERT_EQ(s.Nombre(37, 35), 2);
    EXPECT_EQ(LireChaine(s.De(37, 35)[0].InfosCompl), QStringLiteral("Dupont"));
    ASSERT_TRUE(Attendre([&] {
        const TDonneesQFL d = s.Lire(35);
        return !d.RechercheEnCours && d.CompteurRecherches != compteur && d.Recherche.Date > 0;
    }));
    // Wait for the pieces to land (they follow the counter).
    ASSERT_TRUE(Attendre([&] { return s.Lire(35).Recherche.IQFL16[1][4] != 0; }));
    q = s.Lire(35);
    EXPECT_NEAR(q.Recherche.Date, DateVeilleur::Maintenant(), 10.0 / 86400);
    EXPECT_EQ(q.Recherche.IQFL16[1][4], 230 * 100 / 150);   // unit 2, feeder 5
    EXPECT_EQ(q.Recherche.IQFL16[1][3], 0);
    EXPECT_EQ(q.Recherche.RTransfo, 150);
    const TDefautQFL* trouve = DefautDerniereRecherche(q);
    ASSERT_NE(trouve, nullptr);
    EXPECT_EQ(trouve->Depart, 5);
    EXPECT_EQ(trouve->Unite, 2);
    EXPECT_EQ(trouve->Conducteur, 1);
    EXPECT_EQ(trouve->R, 150);

    // KMT 1's alarm starts a search on QFL8 33 when asked to.
    s.Liaison->DefinirRechercheAuto(1, true);
    EXPECT_TRUE(s.Liaison->RechercheAuto(1));
    EXPECT_FALSE(s.Liaison->RechercheAuto(5));
    const std::uint16_t avant33 = s.Lire(33).CompteurRecherches;
    dire("r 1 50\nr 5 50");
    ASSERT_TRUE(Attendre([&] { return s.Nombre(8, 1) == 1 && s.Nombre(8, 5) == 1 && s.Nombre(37, 33) == 1; }));
    EXPECT_EQ(LireChaine(s.De(37, 33)[0].InfosCompl), QStringLiteral("automatique"));
    EXPECT_EQ(s.Nombre(37, 37), 0);   // KMT 5 was not ticked
    ASSERT_TRUE(Attendre([&] {
        const TDonneesQFL d = s.Lire(33);
        return d.CompteurRecherches != avant33 && d.Recherche.IDeparts[1] != 0;
    }));
    EXPECT_EQ(s.Lire(33).Recherche.IDeparts[1], 230 * 100 / 300);  // feeder 4 of the QFL8 itself
    EXPECT_EQ(s.Lire(33).Recherche.RDeparts[1], 300);

    // A locator lost in the middle of a search: shown lost, then the search's
    // results once it answers again.
    dire("duree-recherche 36 2500");
    const std::uint16_t avant36 = s.Lire(36).CompteurRecherches;
    const double date36 = s.Lire(36).Recherche.Date;
    s.Liaison->LancerRecherche(36, QStringLiteral("Martin"));
    ASSERT_TRUE(Attendre([&] { return s.Lire(36).RechercheEnCours; }));
    dire("muet 36");
    ASSERT_TRUE(Attendre([&] { return s.Nombre(3, 36) == 1; }));
    EXPECT_EQ(s.Lire(36).EtatCom, ComPerdue);
    EXPECT_EQ(s.Nombre(3, 35), 0);
    dire("repond 36");
    ASSERT_TRUE(Attendre([&] {
        const TDonneesQFL d = s.Lire(36);
        return d.EtatCom == ComEnLigne && d.CompteurRecherches != avant36 && d.Recherche.Date > date36
               && !d.RechercheEnCours;
    }, 15000));
    EXPECT_EQ(s.Nombre(2, 36), 2);

    const TLiaison::TStatistiquesCycle stat = s.Liaison->Statistiques();
    EXPECT_GT(stat.Cycles, 5u);
    EXPECT_GT(stat.PlancherUs, 0);
    // Two KMT and five locators (one silent): at least two reads each.
    EXPECT_GE(stat.Transactions, 2 * 6);

    s.Liaison.reset();
    dire("quitter");
}

// Polled without pause through a search's end: once the counter has moved,
// the record never gives the previous search's results as known.
TEST(LiaisonQFL, NoStaleResultsBesideAMovedCounter)
{
    TDossierTemporaire dossier;
    const QString lien = dossier.Chemin(QStringLiteral("ligne"));
    TProgramme simulateur;
    simulateur.Lancer(QStringLiteral(VEILLEUR_SIMULATEUR),
                     {QStringLiteral("--pty"), lien, QStringLiteral("--qfl"), QStringLiteral("33"),
                      QStringLiteral("--demarrage-ms"), QStringLiteral("0"), QStringLiteral("--duree-recherche"),
                      QStringLiteral("300")});
    const auto dire = [&](const QByteArray& c) { simulateur.Dire(c); };
    dire("fuite 33 4 0 2 300");

    TConfigReseau c;
    c.Peripherique = lien;
    c.DelaiReponse = 100;
    c.Appareils = {33};
    c.ListeDonnee = true;
    TStation s(c);
    ASSERT_TRUE(Attendre([&] { return s.Lire(33).EtatCom == ComEnLigne && s.Lire(33).ResultatsConnus; }));
    const std::uint16_t compteur0 = s.Lire(33).CompteurRecherches;
    s.Liaison->LancerRecherche(33, QStringLiteral("Dupont"));
    ASSERT_TRUE(Attendre([&] {
        const TDonneesQFL d = s.Lire(33);
        return d.CompteurRecherches != compteur0 && d.ResultatsConnus && d.Recherche.Defauts[0].Depart == 4;
    }));
    const TDonneesQFL premier = s.Lire(33);
    ASSERT_GT(premier.Recherche.Date, 0.0);
    // Devices date in seconds: the next search ends in a later one.
    QTest::qWait(1100);

    dire("fuite 33 6 0 3 200");
    s.Liaison->LancerRecherche(33, QStringLiteral("Dupont"));
    int entreDeux = 0;   // reads of the new counter before its results
    int perimes = 0;
    bool fini = false;
    QElapsedTimer chrono;
    chrono.start();
    while (!fini && chrono.elapsed() < 10000) {
        const TDonneesQFL d = s.Lire(33);
        if (d.CompteurRecherches != premier.CompteurRecherches) {
            if (!d.ResultatsConnus)
                ++entreDeux;
            else if (d.Recherche.Date == premier.Recherche.Date || d.Recherche.Defauts[0].Depart != 6)
                ++perimes;
            else
                fini = true;
        } else {
            EXPECT_EQ(d.Recherche.Date, premier.Recherche.Date);
        }
        QTest::qWait(1);
    }
    ASSERT_TRUE(fini);
    EXPECT_EQ(perimes, 0);
    // The pieces take several cycles: the window between them was polled.
    EXPECT_GT(entreDeux, 0);
    const TDonneesQFL second = s.Lire(33);
    EXPECT_GT(second.Recherche.Date, premier.Recherche.Date);
    EXPECT_EQ(second.Recherche.Defauts[1].Depart, 4);
    EXPECT_EQ(second.Recherche.RDeparts[3], 200);   // feeder 6

    s.Liaison.reset();
    dire("quitter");
}
