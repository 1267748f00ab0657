#include "oadate.h"

#include <cmath>

namespace OADate {
namespace {

constexpr qint64 kEpochJulianDay = 2415019; // 30 December 1899
constexpr qint64 kMsecsPerDay = 86400000;

// Splits d into a day number relative to the epoch and milliseconds into that day, carrying a
// time that rounds up to midnight into the next day.
void split(double d, qint64 &day, qint64 &msecs)
{
    const double whole = std::trunc(d);
    day = static_cast<qint64>(whole);
    msecs = std::llround(std::fabs(d - whole) * kMsecsPerDay);
    if (msecs >= kMsecsPerDay) {
        msecs -= kMsecsPerDay;
        ++day;
    }
}

} // namespace

bool isValid(double d)
{
    return std::isfinite(d) && d >= kMin && d <= kMax;
}

double fromDateTime(const QDate &date, const QTime &time)
{
    const qint64 day = date.toJulianDay() - kEpochJulianDay;
    const double frac = (time.isValid() ? time.msecsSinceStartOfDay() : 0) / double(kMsecsPerDay);
    return day >= 0 ? day + frac : day - frac;
}

double fromDateTime(const QDateTime &dt)
{
    const QDateTime local = dt.toLocalTime();
    return fromDateTime(local.date(), local.time());
}

QDate toDate(double d)
{
    if (!isValid(d))
        return {};
    qint64 day, msecs;
    split(d, day, msecs);
    return QDate::fromJulianDay(day + kEpochJulianDay);
}

QTime toTime(double d)
{
    if (!isValid(d))
        return {};
    return QTime::fromMSecsSinceStartOfDay(MsecsSinceMidnight(d));
}

QDateTime toDateTime(double d)
{
    if (!isValid(d))
        return {};
    return QDateTime(toDate(d), toTime(d));
}

double DateSerial(int year, int month, int day)
{
    const int m0 = month - 1;
    const int yearShift = m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
    const int m = m0 - yearShift * 12 + 1;
    const QDate first(year + yearShift, m, 1);
    return fromDateTime(first.addDays(qint64(day) - 1));
}

int Year(double d)
{
    return toDate(d).year();
}

int Month(double d)
{
    return toDate(d).month();
}

int Day(double d)
{
    return toDate(d).day();
}

int Weekday(double d)
{
    return toDate(d).dayOfWeek() % 7 + 1;
}

double DateOnly(double d)
{
    return fromDateTime(toDate(d));
}

int MsecsSinceMidnight(double d)
{
    if (!isValid(d))
        return 0;
    qint64 day, msecs;
    split(d, day, msecs);
    return int(msecs);
}

int MinutesSinceMidnight(double d)
{
    return MsecsSinceMidnight(d) / 60000;
}

int MonthBoundaries(double a, double b)
{
    const QDate da = toDate(a), db = toDate(b);
    return (db.year() - da.year()) * 12 + (db.month() - da.month());
}

} // namespace OADate

bool HasTimeOfDay(double d)
{
    return OADate::MinutesSinceMidnight(d) != 0;
}
