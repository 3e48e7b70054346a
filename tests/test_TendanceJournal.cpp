// Trend of the journal the demonstration generator writes: device 26 falls
// about one kOhm per two-second step, so its pre-alarms foretell its first
// alarm (step 265).
#include "app/GenerateurDemo.h"
#include "data/VerrouDonnees.h"
#include "journal/LecteurJournal.h"
#include "journal/TendanceJournal.h"
#include "support/OutilsTest.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr double Debut = 45366.25;  // 2024-03-15 06:00, step 0
constexpr double SecondesParPas = 2.0;

double DateDuPas(int pas)
{
    return Debut + pas * SecondesParPas / 86400.0;
}

struct TendanceJournal : ::testing::Test {
    TDossierTemporaire dossier;
    QString evenement = NomUnique("EvtTendance");

    // The journal of steps 1..dernierPas, written by the station's own store.
    void Generer(int dernierPas)
    {
        TJournalLog journal(QStringLiteral("Log.dat"), evenement);
        TVerrouDonnees verrou;
        auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
        std::int32_t compteur = 1;
        TGenerateurDemo generateur(verrou, *donnees, compteur, [&](const TEntreeLog& e) { journal.AjouterEntreeLog(e); },
                                   [&] { return DateDuPas(compteur); });
        while (compteur <= dernierPas)
            generateur.Tick();
    }
    ~TendanceJournal() override { TEvenementNomme::Supprimer(evenement); }
};

} // namespace

TEST_F(TendanceJournal, PreAlarmsOfDevice26ForetellItsFirstAlarm)
{
    Generer(200);
    TLecteurJournal lecteur(QStringLiteral("Log.dat"));
    ASSERT_TRUE(lecteur.Ouvrir());
    TTendanceJournal tendance(DateDuPas(200) - 1.0, DateDuPas(200));
    ASSERT_TRUE(lecteur.Parcourir([&](const TEntreeLog& e, qint64) { tendance.Ajouter(e); }));
    const auto resultats = tendance.Resultats();
    ASSERT_EQ(resultats.size(), 1u) << "device 12 is not in pre-alarm before step 471";
    const TTendanceOrigine& r = resultats[0];
    EXPECT_EQ(r.Origine, 26);
    EXPECT_EQ(r.Premiere, DateDuPas(159));
    EXPECT_EQ(r.Derniere, DateDuPas(200));
    EXPECT_EQ(r.Nombre, lecteur.NbEnregistrements());
    EXPECT_GE(r.Nombre, 35);
    ASSERT_TRUE(r.PenteConnue);
    EXPECT_GT(r.PenteKOhmParHeure, -2000.0);
    EXPECT_LT(r.PenteKOhmParHeure, -1500.0);
    const double pasAlarme = 200 + r.HeuresAvantSeuil * 3600.0 / SecondesParPas;
    EXPECT_NEAR(pasAlarme, 265, 5);

    // The program says the same, and says when it cannot tell.
    TResultatProgramme sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"tendance"});
    EXPECT_EQ(sortie.Code, 0);
    const QString texte = QString::fromUtf8(sortie.Sortie);
    EXPECT_TRUE(texte.startsWith("window 24h ending 2024-03-15T06:06:40.000\nKMT 26: " + QString::number(r.Nombre)
                                 + " entries from 2024-03-15T06:05:18.000 to 2024-03-15T06:06:40.000; lowest resistance "))
        << sortie.Sortie.constData();
    EXPECT_TRUE(texte.contains(QStringLiteral("not reached; falling %1 kOhm/h, estimated to reach it in about ")
                                   .arg(-r.PenteKOhmParHeure, 0, 'f', 1)))
        << sortie.Sortie.constData();
    sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"tendance", "--fenetre", "15s"});
    EXPECT_TRUE(sortie.Sortie.endsWith("; not enough data for an estimate\n")) << sortie.Sortie.constData();
}

TEST_F(TendanceJournal, RisingOrFlatResistanceGivesNoEstimate)
{
    TTendanceJournal tendance(0.0, 1.0);
    TEntreeLog e{};
    e.Origine = 3;
    e.Valeur2 = 100;
    for (int i = 0; i < 12; ++i) {
        e.DateHeure = i / 100.0;
        e.Valeur1 = 200 + i;
        tendance.Ajouter(e);
    }
    e.DateHeure = 2.0;  // outside the window
    e.Valeur1 = 10;
    tendance.Ajouter(e);
    const auto r = tendance.Resultats();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].Nombre, 12);
    EXPECT_EQ(r[0].MinValeur1, 200);
    EXPECT_TRUE(r[0].AssezDeValeurs);
    EXPECT_FALSE(r[0].PenteConnue);
    EXPECT_TRUE(TTendanceJournal::Texte(r[0]).ends_with("Valeur1 not falling\n"));
}
