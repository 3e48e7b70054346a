// A device's communication state and the journal entries of its status word,
// driven by hand: no thread, no bus, an explicit clock.
#include "liaison/SuiviAppareil.h"
#include "liaison/TransitionsKMT.h"

#include <gtest/gtest.h>

using namespace DecodageModbus;
using TChangement = TSuiviAppareil::TChangement;

TEST(LiaisonEtats, LostAfterThreeFailuresBackAfterOneReply)
{
    TSuiviAppareil s;
    std::int64_t t = 1000;
    // Silent from the start: never online, nothing to report, retried with a growing delay.
    EXPECT_EQ(s.Echec(t), TChangement::Aucun);
    EXPECT_EQ(s.Etat(), TSuiviAppareil::TEtat::Jamais);
    EXPECT_EQ(s.ProchainEssai(), t + 2000);
    EXPECT_FALSE(s.EssaiDu(t + 1999));
    EXPECT_TRUE(s.EssaiDu(t + 2000));

    EXPECT_EQ(s.Reponse(t += 100, 1), TChangement::Retrouve);
    EXPECT_TRUE(s.EnLigne());
    EXPECT_FALSE(s.EssaiDu(t + 100000));  // online devices are polled, not retried
    // Two failures, a reply: the count starts again.
    EXPECT_EQ(s.Echec(t += 100), TChangement::Aucun);
    EXPECT_EQ(s.Echec(t += 100), TChangement::Aucun);
    EXPECT_EQ(s.Reponse(t += 100, 2), TChangement::Aucun);
    EXPECT_EQ(s.Echec(t += 100), TChangement::Aucun);
    EXPECT_EQ(s.Echec(t += 100), TChangement::Aucun);
    EXPECT_EQ(s.Echec(t += 100), TChangement::Perdu);
    EXPECT_EQ(s.Etat(), TSuiviAppareil::TEtat::Perdu);

    // Lost: back-off doubling up to 30 s, and back at once with one reply.
    std::int64_t attendu = 1000;
    EXPECT_EQ(s.ProchainEssai(), t + attendu);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(s.Echec(t), TChangement::Aucun);
        attendu = std::min<std::int64_t>(attendu * 2, TSuiviAppareil::DelaiMaxMs);
        EXPECT_EQ(s.ProchainEssai(), t + attendu);
    }
    EXPECT_EQ(attendu, 30000);
    EXPECT_EQ(s.Reponse(t += 100, 3), TChangement::Retrouve);
    EXPECT_EQ(s.Echec(t), TChangement::Aucun);  // one failure does not lose it again

    // The line vanishing loses an online device at once, and only once.
    EXPECT_EQ(s.LigneFermee(t), TChangement::Perdu);
    EXPECT_EQ(s.LigneFermee(t), TChangement::Aucun);
}

TEST(LiaisonEtats, FrozenHeartbeatAndProbes)
{
    TSuiviAppareil s;
    std::int64_t t = 0;
    EXPECT_EQ(s.Reponse(t, 7), TChangement::Retrouve);
    // It answers, but its heartbeat stands still: lost at 10 s, not before.
    for (t = 500; t < TSuiviAppareil::BattementFigeMs; t += 500)
        EXPECT_EQ(s.Reponse(t, 7), TChangement::Aucun) << t;
    EXPECT_EQ(s.Reponse(t, 7), TChangement::Perdu);
    // Still frozen: still lost however often it answers.
    EXPECT_EQ(s.Reponse(t += 1000, 7), TChangement::Aucun);
    EXPECT_FALSE(s.EnLigne());
    EXPECT_GT(s.ProchainEssai(), t);
    // The heartbeat moves (a wrap counts): back.
    EXPECT_EQ(s.Reponse(t += 1000, 8), TChangement::Retrouve);
    EXPECT_EQ(s.Reponse(t += 9000, 9), TChangement::Aucun);
    EXPECT_EQ(s.Reponse(t += 9000, 9), TChangement::Aucun);
    EXPECT_TRUE(s.EnLigne());

    // A number probed without a list: a silent one is tried again a minute later.
    TSuiviAppareil sonde(true);
    EXPECT_TRUE(sonde.EssaiDu(0));
    EXPECT_EQ(sonde.Echec(5000), TChangement::Aucun);
    EXPECT_EQ(sonde.ProchainEssai(), 5000 + TSuiviAppareil::DelaiSondageMs);
    EXPECT_EQ(sonde.Reponse(70000, 1), TChangement::Retrouve);
    // Once heard and then lost, it is retried like a listed device.
    for (int i = 0; i < 3; ++i)
        sonde.Echec(70000);
    EXPECT_EQ(sonde.Etat(), TSuiviAppareil::TEtat::Perdu);
    EXPECT_EQ(sonde.ProchainEssai(), 71000);
}

namespace {
struct TSuite {
    TEtatObserveKMT Observe;
    TLectureKMT Lecture;
    std::vector<TEntreeLog> Lire(std::uint16_t etat, int compteurEnPlus, std::uint16_t r = 150)
    {
        Lecture.Genre = GenreKMT;
        Lecture.Etat = etat;
        Lecture.R = r;
        Lecture.RSeuil = 100;
        Lecture.Compteur = static_cast<std::uint16_t>(Lecture.Compteur + compteurEnPlus);
        auto e = TransitionsKMT(12, Observe, Lecture, 45000.5);
        Observe = TEtatObserveKMT{true, Lecture.Etat, Lecture.Compteur};
        return e;
    }
};

std::vector<int> Codes(const std::vector<TEntreeLog>& entrees)
{
    std::vector<int> v;
    for (const TEntreeLog& e : entrees)
        v.push_back(e.Code);
    return v;
}
}

TEST(LiaisonEtats, EachStatusChangeJournalledOnce)
{
    TSuite s;
    s.Lecture.Compteur = 40;
    // First reading: what is already on is journalled as starting, nothing as ending.
    auto e = s.Lire(BitPreAlarme | BitDefautDCMoins | BitPreAlarmeAcquittee, 0, 180);
    EXPECT_EQ(Codes(e), (std::vector<int>{7, 12}));
    for (const TEntreeLog& x : e) {
        EXPECT_EQ(x.Origine, 12);
        EXPECT_EQ(x.Attribut2, 1);
        EXPECT_EQ(x.Valeur1, 180);
        EXPECT_EQ(x.Valeur2, 100);
        EXPECT_EQ(x.DateHeure, 45000.5);
    }
    // The same status again, however often: nothing.
    EXPECT_TRUE(s.Lire(BitPreAlarme | BitDefautDCMoins | BitPreAlarmeAcquittee, 0).empty());
    EXPECT_TRUE(s.Lire(BitPreAlarme | BitDefautDCMoins | BitPreAlarmeAcquittee, 0).empty());

    // Alarm and horn start; DC- ends.
    e = s.Lire(BitPreAlarme | BitAlarme | BitKlaxon | BitPreAlarmeAcquittee, 2, 90);
    EXPECT_EQ(Codes(e), (std::vector<int>{8, 9, 18}));
    EXPECT_EQ(e[2].Attribut2, 0);
    EXPECT_EQ(e[0].Valeur1, 90);
    // The device confirms the horn and the alarm acknowledged.
    e = s.Lire(BitPreAlarme | BitAlarme | BitPreAlarmeAcquittee | BitAlarmeAcquittee | BitKlaxonAcquitte, 1, 90);
    EXPECT_EQ(Codes(e), (std::vector<int>{14, 15}));
    // The alarm ends, the pre-alarm remains: one code 6 with the status low byte.
    e = s.Lire(BitPreAlarme | BitPreAlarmeAcquittee, 1, 150);
    ASSERT_EQ(Codes(e), (std::vector<int>{6}));
    EXPECT_EQ(e[0].Attribut1, BitPreAlarme);
    EXPECT_EQ(e[0].Attribut2, 0);
    // Self-test and DC+ faults come and go.
    EXPECT_EQ(Codes(s.Lire(BitPreAlarme | BitDefautAutoTest | BitDefautDCPlus, 2)), (std::vector<int>{10, 11}));
    EXPECT_EQ(Codes(s.Lire(BitPreAlarme, 2)), (std::vector<int>{16, 17}));
    // A pre-alarm that came and went between two readings: only the counter says so.
    e = s.Lire(BitPreAlarme, 2);
    ASSERT_EQ(Codes(e), (std::vector<int>{6}));
    EXPECT_EQ(e[0].Attribut1, BitPreAlarme);
    // A new pre-alarm acknowledgement, then the end of everything.
    EXPECT_EQ(Codes(s.Lire(BitPreAlarme | BitPreAlarmeAcquittee, 1)), (std::vector<int>{13}));
    e = s.Lire(0, 1, PasDeMesure);
    ASSERT_EQ(Codes(e), (std::vector<int>{6}));
    EXPECT_EQ(e[0].Attribut1, 0);
    EXPECT_EQ(e[0].Valeur1, 0);  // no measurement: never 65535 as a resistance
    // The counter wraps without a false transient.
    s.Lecture.Compteur = 65535;
    s.Observe.Compteur = 65535;
    EXPECT_TRUE(s.Lire(0, 0).empty());
    EXPECT_EQ(Codes(s.Lire(BitAlarme | BitPreAlarme, 1)), (std::vector<int>{7, 8}));
    EXPECT_EQ(s.Lecture.Compteur, 0);

    // The user who acted goes with the entries of his requests.
    const TEntreeLog demande = EntreeLiaison(22, 1.0, 5, 0, 1, 250, 100, QStringLiteral("Dupont"));
    EXPECT_EQ(LireChaine(demande.InfosCompl), QStringLiteral("Dupont"));
    EXPECT_EQ(demande.Valeur1, 250);
    EXPECT_EQ(demande.Valeur2, 100);
}
