#pragma once
// Dates of records, files and plot samples: a double counting days from
// 1899-12-30, the fraction being the local time of day. A count is a
// wall-clock date and time: it is shown as written, whatever the time zone
// makes of that hour (skipped in spring, repeated in autumn).
#include <QDateTime>

class QLocale;

namespace DateVeilleur {

double DepuisDateTime(const QDateTime& moment);

// Calendar date and time of day of a day count, rounded to the millisecond;
// false (and nothing set) for NaN, infinities and counts outside the years
// 100..9999.
bool VersDateEtHeure(double jours, QDate& date, QTime& heure);

// Local date-time of a day count; an invalid QDateTime where VersDateEtHeure
// fails and for a wall-clock time the time zone skips.
QDateTime VersDateTime(double jours);

// VersDateEtHeure with the time of day as milliseconds since midnight,
// without building a QTime (cheap enough for bulk exports).
bool Decomposer(double jours, QDate& date, int& msDuJour);

// The same with the date as days after 1899-12-30.
bool DecomposerEnJours(double jours, qint64& jour, int& msDuJour);

// Current local date-time as a day count.
double Maintenant();

// The locale's date and time separators: the first character of its short
// format that is neither a field letter, quoted text, a blank nor an
// invisible mark; '/' and ':' when the format has none (the "C" locale).
QChar SeparateurDate(const QLocale& locale);
QChar SeparateurHeure(const QLocale& locale);

// hh:nn:ss: 24-hour hours, minutes and seconds, two digits each, apart by the
// locale's time separator.
QString TexteHeure(const QTime& heure, const QLocale& locale);
// "dddddd - hh:nn:ss": the locale's long date, " - ", then TexteHeure.
QString TexteDateLongue(const QDate& date, const QTime& heure, const QLocale& locale);
// "dd/mm/yy - hh:nn:ss" with the locale's date and time separators.
QString TexteDateCourte(const QDate& date, const QTime& heure, const QLocale& locale);

} // namespace DateVeilleur
