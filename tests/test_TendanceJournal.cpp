// Trend of the journal the demonstration generator writes: device 26 falls
// about one kOhm per two-second step, so its pre-alarms foretell its first
// alarm (step 265).
#include "app/GenerateurDemo.h"
#include "data/VerrouDonnees.h"
#include "data/DateVeilleur.h"
#include "journal/LecteurJournal.h"
#include "journal/TendanceJournal.h"
#include "support/OutilsTest.h"

#include <QRegularExpression>
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
    EXPECT_TRUE(TTendanceJournal::Texte(r[0]).ends_with("resistance not falling\n"));
}

namespace {

// A device falling 180 kOhm per hour of real time towards its 100 kOhm
// threshold, one entry every 5 s from 01:30 on the night summer time ends in
// Paris (2026-10-25: 03:00 summer time is 02:00 winter time again). The
// journal's dates are the wall clock's; sautJours moves it forward once at
// reelSaut hours of real time.
constexpr double PenteVraie = -180.0;
constexpr double Seuil = 100.0;

struct TChute {
    std::vector<TEntreeLog> Entrees;
    double ValeurFinale = 0;
};

TChute Chute(double heuresReelles, double reelSaut = -1, double sautJours = 0)
{
    const double debut = DateVeilleur::DepuisDateTime(QDateTime(QDate(2026, 10, 25), QTime(1, 30)));
    const double troisHeures = DateVeilleur::DepuisDateTime(QDateTime(QDate(2026, 10, 25), QTime(3, 0)));
    TChute c;
    for (int k = 0; k * 5.0 <= heuresReelles * 3600.0; ++k) {
        const double heures = k * 5.0 / 3600.0;
        double date = debut + heures / 24.0;
        if (date >= troisHeures - 1e-9)
            date -= 1.0 / 24.0;  // 03:00:00 summer time shows 02:00:00
        if (reelSaut >= 0 && heures >= reelSaut)
            date += sautJours;
        c.ValeurFinale = 600.0 + PenteVraie * heures;
        c.Entrees.push_back(EntreeDeTest(7, date, 26, c.ValeurFinale, Seuil));
    }
    return c;
}

double MinutesAvantSeuil(const std::string& texte)
{
    const QRegularExpression forme(QStringLiteral("estimated to reach it in about ([0-9.]+) (min|h)"));
    const QRegularExpressionMatch m = forme.match(QString::fromStdString(texte));
    if (!m.hasMatch())
        return NAN;
    return m.captured(1).toDouble() * (m.captured(2) == u"h" ? 60.0 : 1.0);
}

std::string Rapport(const QString& fichier, double fenetreJours = 1.0)
{
    TLecteurJournal lecteur(fichier);
    EXPECT_TRUE(lecteur.Ouvrir());
    std::string texte;
    EXPECT_TRUE(::TendanceJournal::Rapport(lecteur, fenetreJours, "24h", -1, texte));
    return texte;
}

} // namespace

TEST_F(TendanceJournal, ClockStepsAreNamedAndTheFitKeepsToTheLastSegment)
{
    // Through the end of summer time: 1.5 h before the step, 30 min after.
    TChute c = Chute(2.0);
    EcrireEntrees("Log.dat", c.Entrees);
    qputenv("TZ", "Europe/Paris");
    TResultatProgramme sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"tendance"});
    qunsetenv("TZ");
    ASSERT_EQ(sortie.Code, 0) << sortie.Erreurs.constData();
    std::string texte = sortie.Sortie.toStdString();
    EXPECT_EQ(texte.rfind("window 24h ending 2026-10-25T02:59:55.000\n"
                          "clock set back at record 1080: from 2026-10-25T02:59:55.000 to 2026-10-25T02:00:00.000\n", 0),
              0u) << texte;
    double verite = (c.ValeurFinale - Seuil) / -PenteVraie * 60.0;
    EXPECT_NEAR(MinutesAvantSeuil(texte), verite, 0.2 * verite) << texte;
    EXPECT_NE(texte.find("falling 180.0 kOhm/h"), std::string::npos) << texte;
    EXPECT_NE(texte.find("(around 2026-10-25T03:16:40"), std::string::npos) << "after the last fitted entry: " << texte;

    // The check tells the step from damage.
    sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"verifier"});
    EXPECT_EQ(sortie.Code, 0);
    EXPECT_EQ(sortie.Sortie.toStdString(),
              "record 1080: note: date 2026-10-25T02:00:00.000 goes back one hour from 2026-10-25T02:59:55.000 "
              "(record 1079), the end of summer time; not a problem\n1441 records, no problem found, 1 note\n");

    // Then the clock is set a day forward: the jump is named and the fit
    // keeps to the 20 minutes after it.
    c = Chute(2.0 + 20.0 / 60.0, 2.0, 1.0);
    EcrireEntrees("Log.dat", c.Entrees);
    texte = Rapport(QStringLiteral("Log.dat"));
    EXPECT_NE(texte.find("\ngap of 24.0 h at record 1440: from 2026-10-25T02:29:55.000 to 2026-10-26T02:30:00.000 "
                         "(more than ten times the median interval, 5.0 s)\n"),
              std::string::npos) << texte;
    verite = (c.ValeurFinale - Seuil) / -PenteVraie * 60.0;
    EXPECT_NEAR(MinutesAvantSeuil(texte), verite, 0.2 * verite) << texte;

    // Set back by two hours instead: damage for the check, a break for the trend.
    c = Chute(1.0, 0.5, -2.0 / 24.0);
    EcrireEntrees("Log.dat", c.Entrees);
    sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"verifier"});
    EXPECT_EQ(sortie.Code, 1);
    EXPECT_NE(sortie.Sortie.indexOf("record 360: date 2026-10-25T00:00:00.000 goes backwards"), -1) << sortie.Sortie.constData();
    EXPECT_NE(Rapport(QStringLiteral("Log.dat")).find("clock set back at record 360"), std::string::npos);
}

TEST_F(TendanceJournal, TooLittleAfterABreakOrNoValidDateIsSaidNotGuessed)
{
    // Five entries after the end of summer time: no estimate from them, and
    // none from the hour before either.
    TChute c = Chute(1.5 + 25.0 / 3600.0);
    EcrireEntrees("Log.dat", c.Entrees);
    std::string texte = Rapport(QStringLiteral("Log.dat"));
    EXPECT_TRUE(texte.ends_with("; not enough data since the clock change at 2026-10-25T02:00:00.000\n")) << texte;

    // The window ends at the latest date, not at the last record: an entry
    // dated far back at the end of the file leaves the window where it was.
    c = Chute(1.0);
    c.Entrees.push_back(EntreeDeTest(7, 40000.0, 26, 50, Seuil));
    EcrireEntrees("Log.dat", c.Entrees);
    texte = Rapport(QStringLiteral("Log.dat"));
    EXPECT_EQ(texte.rfind("window 24h ending 2026-10-25T02:30:00.000\n", 0), 0u) << texte;

    TEntreeLog e = EntreeDeTest(7, NAN, 26, 500, Seuil);
    TEntreeLog f = EntreeDeTest(7, 1e300, 26, 400, Seuil);
    EcrireEntrees("Log.dat", {e, f, e});
    const TResultatProgramme sortie = LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), {"tendance"});
    EXPECT_EQ(sortie.Code, 0);
    EXPECT_EQ(sortie.Sortie, "no valid dates: not enough data\n");
}
