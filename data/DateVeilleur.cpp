#include "data/DateVeilleur.h"

#include <QLocale>

#include <cmath>

namespace {
const QDate Origine(1899, 12, 30);
constexpr double MsParJour = 86400000.0;

QChar Separateur(const QString& format, QChar defaut)
{
    bool dansCitation = false;
    bool apresChamp = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            dansCitation = !dansCitation;
            continue;
        }
        if (dansCitation)
            continue;
        if (c.isLetter()) {
            apresChamp = true;
            continue;
        }
        if (!apresChamp || c.isSpace() || c.category() == QChar::Other_Format)
            continue;
        return c;
    }
    return defaut;
}

QString DeuxChiffres(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
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

bool DecomposerEnJours(double jours, qint64& jour, int& msDuJour)
{
    if (!(jours >= -657434.0 && jours < 2958466.0))  // NaN and infinities too
        return false;
    // Casts rather than trunc and llround, which are library calls: bulk
    // exports decompose millions of dates.
    jour = static_cast<qint64>(jours);
    const double fraction = (jours < 0 ? static_cast<double>(jour) - jours : jours - static_cast<double>(jour)) * MsParJour;
    qint64 ms = static_cast<qint64>(fraction);
    if (fraction - static_cast<double>(ms) >= 0.5)  // half away from zero
        ++ms;
    if (ms >= static_cast<qint64>(MsParJour)) {  // rounding reached midnight
        ms = 0;
        jour += jours < 0 ? -1 : 1;
    }
    msDuJour = static_cast<int>(ms);
    return true;
}

bool Decomposer(double jours, QDate& date, int& msDuJour)
{
    qint64 jour = 0;
    if (!DecomposerEnJours(jours, jour, msDuJour))
        return false;
    date = Origine.addDays(jour);
    return true;
}

bool VersDateEtHeure(double jours, QDate& date, QTime& heure)
{
    int ms = 0;
    if (!Decomposer(jours, date, ms))
        return false;
    heure = QTime::fromMSecsSinceStartOfDay(ms);
    return true;
}

QDateTime VersDateTime(double jours)
{
    QDate date;
    QTime heure;
    if (!VersDateEtHeure(jours, date, heure))
        return {};
    return QDateTime(date, heure);
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

QChar SeparateurDate(const QLocale& locale)
{
    return Separateur(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
}

QChar SeparateurHeure(const QLocale& locale)
{
    return Separateur(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
}

QString TexteHeure(const QTime& heure, const QLocale& locale)
{
    const QChar sep = SeparateurHeure(locale);
    return DeuxChiffres(heure.hour()) + sep + DeuxChiffres(heure.minute()) + sep + DeuxChiffres(heure.second());
}

QString TexteDateLongue(const QDate& date, const QTime& heure, const QLocale& locale)
{
    return locale.toString(date, QLocale::LongFormat) + QStringLiteral(" - ") + TexteHeure(heure, locale);
}

QString TexteDateCourte(const QDate& date, const QTime& heure, const QLocale& locale)
{
    const QChar sep = SeparateurDate(locale);
    return DeuxChiffres(date.day()) + sep + DeuxChiffres(date.month()) + sep + DeuxChiffres(date.year() % 100)
         + QStringLiteral(" - ") + TexteHeure(heure, locale);
}

} // namespace DateVeilleur
