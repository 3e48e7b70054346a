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
