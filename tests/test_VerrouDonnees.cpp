#include "data/VerrouDonnees.h"

#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(VerrouDonnees, SameThreadNestingsNeverWait)
{
    TVerrouDonnees v;
    {
        TLectureDonnees lecture(v);
        EXPECT_TRUE(v.LectureEnCoursIci());
        { TLectureDonnees encore(v); }
        {
            // A demonstration tick run from inside a refresh that holds the read lock.
            TEcritureDonnees ecriture(v);
            TLectureDonnees dedans(v);
            TEcritureDonnees encore(v);
        }
        EXPECT_TRUE(v.LectureEnCoursIci());
    }
    {
        TEcritureDonnees ecriture(v);
        TLectureDonnees lecture(v);
        EXPECT_TRUE(v.EssayerEcriture());
        v.FinEcriture();
    }
    EXPECT_FALSE(v.Pris());
    EXPECT_FALSE(v.LectureEnCoursIci());
}

TEST(VerrouDonnees, WriterExcludesOtherThreads)
{
    TVerrouDonnees v;
    std::atomic<bool> lu{false};
    std::future<void> autre;
    {
        TEcritureDonnees ecriture(v);
        autre = std::async(std::launch::async, [&] {
            TLectureDonnees lecture(v);
            lu = true;
        });
        EXPECT_EQ(autre.wait_for(100ms), std::future_status::timeout);
        EXPECT_FALSE(lu);
        std::async(std::launch::async, [&] { EXPECT_FALSE(v.EssayerEcriture()); }).get();
    }
    autre.get();
    EXPECT_TRUE(lu);
    EXPECT_FALSE(v.Pris());
}

TEST(VerrouDonnees, ReadersShareAndHoldOffWriters)
{
    TVerrouDonnees v;
    TLectureDonnees ici(v);
    // Another reader gets in at once while no writer waits.
    std::async(std::launch::async, [&] { TLectureDonnees la(v); }).get();

    std::atomic<bool> ecrit{false};
    auto ecrivain = std::async(std::launch::async, [&] {
        TEcritureDonnees ecriture(v);
        ecrit = true;
    });
    EXPECT_EQ(ecrivain.wait_for(100ms), std::future_status::timeout);
    EXPECT_FALSE(ecrit);
    // This thread, already a reader, still reads again while the writer waits.
    { TLectureDonnees encore(v); }
    v.FinLecture();
    v.DebutLecture();  // back in: the writer may have gone first, never deadlocks
    v.FinLecture();
    ecrivain.get();
    EXPECT_TRUE(ecrit);
    v.DebutLecture();  // balance the guard still in scope
}

TEST(VerrouDonnees, TwoReadersAskingToWriteDoNotDeadlock)
{
    // Each thread holds the read lock, then both ask for the write lock: one of
    // them must be refused at once, and the other must get it once the refused
    // one has let its read lock go.
    TVerrouDonnees v;
    std::promise<void> deuxLecteurs[2];
    std::shared_future<void> tousLecteurs[2] = {deuxLecteurs[0].get_future().share(),
                                               deuxLecteurs[1].get_future().share()};
    std::atomic<int> refus{0}, ecritures{0};
    const auto fil = [&](int i) {
        bool refuse = false;
        {
            TLectureDonnees lecture(v);
            deuxLecteurs[i].set_value();
            tousLecteurs[1 - i].wait();
            try {
                TEcritureDonnees ecriture(v);
                ++ecritures;
            } catch (const EVerrouImpossible&) {
                refuse = true;
                ++refus;
            }
        }
        if (refuse) {
            // Out of the read lock, the same thread writes like any other.
            TEcritureDonnees ecriture(v);
            ++ecritures;
        }
    };
    auto a = std::async(std::launch::async, fil, 0);
    auto b = std::async(std::launch::async, fil, 1);
    ASSERT_EQ(a.wait_for(5s), std::future_status::ready) << "deadlock";
    ASSERT_EQ(b.wait_for(5s), std::future_status::ready) << "deadlock";
    a.get();
    b.get();
    EXPECT_EQ(refus, 1);
    EXPECT_EQ(ecritures, 2);
    EXPECT_FALSE(v.Pris());

    // A lone upgrader still waits for plain readers and then writes.
    std::promise<void> lu;
    std::promise<void> relacher;
    auto lecteur = std::async(std::launch::async, [&] {
        TLectureDonnees lecture(v);
        lu.set_value();
        relacher.get_future().wait();
    });
    lu.get_future().wait();
    std::atomic<bool> ecrit{false};
    auto monteur = std::async(std::launch::async, [&] {
        TLectureDonnees lecture(v);
        TEcritureDonnees ecriture(v);
        ecrit = true;
    });
    EXPECT_EQ(monteur.wait_for(100ms), std::future_status::timeout);
    relacher.set_value();
    lecteur.get();
    ASSERT_EQ(monteur.wait_for(5s), std::future_status::ready);
    monteur.get();
    EXPECT_TRUE(ecrit);
}
