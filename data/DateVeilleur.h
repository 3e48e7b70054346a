#pragma once
// Dates of records, files and plot samples: a double counting days from
// 1899-12-30, the fraction being the local time of day.
#include <QDateTime>

namespace DateVeilleur {

double DepuisDateTime(const QDateTime& moment);

// Local date-time of a day count; an invalid QDateTime for NaN, infinities and
// counts outside the years 100..9999.
QDateTime VersDateTime(double jours);

// Calendar day and milliseconds since midnight of a day count, without going
// through a QDateTime (cheap enough for bulk exports); false where
// VersDateTime gives an invalid date-time.
bool Decomposer(double jours, QDate& date, int& msDuJour);

// Current local date-time as a day count.
double Maintenant();

} // namespace DateVeilleur
