#include "data/DateVeilleur.h"

#include <cmath>

namespace {
const QDate Origine(1899, 12, 30);
constexpr double MsParJour = 86400000.0;
}

namespace DateVeilleur {

double DepuisDateTime(const QDateTime& moment)
{
    const QDateTime local = moment.toLocalTime();
    const double jours = static_cast<double>(Origine.daysTo(local.date()));
    const double fraction = local.time().msecsSinceStartOfDay() / MsParJour;
    // Before the origin the whole part counts days back and the fraction still
    // counts the time of day forward: 29/12/1899 06:00 is -1.25.
    return jours >= 0 ? jours + fraction : jours - fraction;
}

bool Decomposer(double jours, QDate& date, int& msDuJour)
{
    if (!std::isfinite(jours) || jours < -657434.0 || jours >= 2958466.0)
        return false;
    const double entier = std::trunc(jours);
    qint64 ms = std::llround(std::fabs(jours - entier) * MsParJour);
    qint64 j = static_cast<qint64>(entier);
    if (ms >= static_cast<qint64>(MsParJour)) {  // rounding reached midnight
        ms = 0;
        j += jours < 0 ? -1 : 1;
    }
    date = Origine.addDays(j);
    msDuJour = static_cast<int>(ms);
    return true;
}

QDateTime VersDateTime(double jours)
{
    QDate date;
    int ms = 0;
    if (!Decomposer(jours, date, ms))
        return {};
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(ms));
}

double Maintenant()
{
    // The local offset is looked up at most once a second: the journal load asks
    // for the time once per record read and the time-zone lookup dominates.
    static bool verifie = false;
    static qint64 derniereVerification = 0;
    static qint64 decalageMs = 0;
    const qint64 utc = QDateTime::currentMSecsSinceEpoch();
    if (!verifie || utc - derniereVerification > 1000 || utc < derniereVerification) {
        verifie = true;
        decalageMs = qint64(QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc()) * 1000;
        derniereVerification = utc;
    }
    constexpr double JoursJusquA1970 = 25569.0;
    return JoursJusquA1970 + double(utc + decalageMs) / MsParJour;
}

} // namespace DateVeilleur
