// The alarm's sound: its pattern, the synthesised tones, and a machine without
// an audio output that must stay silent without blocking.
#include "platform/Son.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class TSonEnregistreur : public TSon {
public:
    void Tonalite(int f, int ms) override { appels.push_back("ton " + std::to_string(f) + " " + std::to_string(ms)); }
    void SonParDefaut() override { appels.push_back("defaut"); }
    std::vector<std::string> appels;
};

TEST(Son, MotifDAlarmeDeuxTonsALOctavePuisLeSonParDefaut)
{
    TSonEnregistreur son;
    JouerAlarme(son);
    EXPECT_EQ(son.appels, (std::vector<std::string>{"ton 980 100", "ton 490 100", "defaut"}));
}

std::vector<int> Echantillons(const QByteArray& pcm)
{
    std::vector<int> v;
    for (int i = 0; i + 1 < pcm.size(); i += 2)
        v.push_back(qFromLittleEndian<qint16>(pcm.constData() + i));
    return v;
}

TEST(Son, TonSynthetiseALaBonneFrequenceSansClic)
{
    for (int frequence : {980, 490}) {
        const std::vector<int> s = Echantillons(SynthetiserTon(frequence, 100));
        ASSERT_EQ(s.size(), std::size_t(FrequenceEchantillonnage / 10));
        // Ramps: silent at both ends.
        EXPECT_EQ(s.front(), 0);
        EXPECT_LT(std::abs(s.back()), 200);
        int crete = 0;
        int passages = 0;
        for (std::size_t i = 1; i < s.size(); ++i) {
            crete = std::max(crete, std::abs(s[i]));
            if ((s[i - 1] < 0) != (s[i] < 0))
                ++passages;
        }
        EXPECT_GT(crete, 16000);
        EXPECT_LE(crete, 16384);
        // Two zero crossings per period: 0.1 s at f Hz.
        EXPECT_NEAR(passages, frequence / 5, 3) << frequence;
    }
    EXPECT_TRUE(SynthetiserTon(980, 0).isEmpty());
}

TEST(Son, SonDuSystemeNeBloqueJamais)
{
    // With or without an audio output, each call returns within a bounded time.
    QElapsedTimer chrono;
    chrono.start();
    {
        TSonSysteme son;
        JouerAlarme(son);
        JouerAlarme(son);
        son.Tonalite(0, 100);      // nonsense asks play nothing
        son.Tonalite(440, -5);
    }
    EXPECT_LT(chrono.elapsed(), 2 * (100 + 100 + 600) + 2000);
}

// A machine without an audio output, whose bells are counted.
class TSonSansSortie : public TSonSysteme {
public:
    TSonSansSortie() : TSonSysteme(QAudioDevice()) { chrono.start(); }
    QElapsedTimer chrono;
    std::vector<qint64> sonneries;

protected:
    void Sonnerie() override { sonneries.push_back(chrono.elapsed()); }
};

// Without tones the alarm keeps its pattern in bells: two signals standing for
// the tones with a silence after each, then the default sound; never one bell.
TEST(Son, SansSortieAudioLAlarmeResteTroisSignauxSepares)
{
    TSonSansSortie son;
    EXPECT_FALSE(son.TonalitesDisponibles());
    JouerAlarme(son);
    EXPECT_LT(son.chrono.elapsed(), 50) << "the caller is not held";
    ASSERT_TRUE(QTest::qWaitFor([&] { return son.sonneries.size() == 3; }, 2000));
    const std::vector<qint64> t = son.sonneries;
    EXPECT_GE(t[1] - t[0], 190) << "a 100 ms signal, then 100 ms of silence";
    EXPECT_GE(t[2] - t[1], 190);
    EXPECT_LT(t[2] - t[0], 1000);

    // An alarm asked for at once waits for the signals of the one before.
    JouerAlarme(son);
    JouerAlarme(son);
    ASSERT_TRUE(QTest::qWaitFor([&] { return son.sonneries.size() == 9; }, 4000));
    for (std::size_t i = 4; i < 9; ++i)
        EXPECT_GE(son.sonneries[i] - son.sonneries[i - 1], 190) << i;
}

} // namespace
