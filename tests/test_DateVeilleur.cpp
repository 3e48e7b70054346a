#include "data/DateVeilleur.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(DateVeilleur, DayCountsFromTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(DateVeilleur::DepuisDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(DateVeilleur::DepuisDateTime(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    // Before the origin the time of day still counts forward from midnight.
    const QDateTime avant(QDate(1899, 12, 29), QTime(6, 0));
    EXPECT_DOUBLE_EQ(DateVeilleur::DepuisDateTime(avant), -1.25);
    EXPECT_EQ(DateVeilleur::VersDateTime(-1.25), avant);
    const QDateTime moment(QDate(2026, 12, 6), QTime(17, 40, 5, 123));
    const double jours = DateVeilleur::DepuisDateTime(moment);
    EXPECT_EQ(std::floor(jours), 46362.0);
    EXPECT_EQ(DateVeilleur::VersDateTime(jours), moment);
}

TEST(DateVeilleur, RoundingAndInvalidCounts)
{
    // Just below midnight rounds to the next day, never to a 24:00 time.
    const QDateTime t = DateVeilleur::VersDateTime(46362.0 - 1e-10);
    EXPECT_EQ(t, QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    EXPECT_FALSE(DateVeilleur::VersDateTime(std::nan("")).isValid());
    EXPECT_FALSE(DateVeilleur::VersDateTime(std::numeric_limits<double>::infinity()).isValid());
    EXPECT_FALSE(DateVeilleur::VersDateTime(1e300).isValid());
}

TEST(DateVeilleur, NowMatchesTheLocalClock)
{
    const double avant = DateVeilleur::DepuisDateTime(QDateTime::currentDateTime());
    const double maintenant = DateVeilleur::Maintenant();
    const double apres = DateVeilleur::DepuisDateTime(QDateTime::currentDateTime());
    EXPECT_GE(maintenant, avant - 1e-9);
    EXPECT_LE(maintenant, apres + 1e-9);
}
