#include "oadate.h"

#include <cmath>
#include <limits>

namespace OADate {
namespace {

constexpr qint64 kEpochJulianDay = 2415019; // 30 December 1899

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
    if (!date.isValid()) // no day number to count from (a calendar's 30 February, say)
        return std::numeric_limits<double>::quiet_NaN();
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
    return QDate::fromJulianDay(DayNumber(d) + kEpochJulianDay);
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

Civil civil(double d)
{
    if (!isValid(d))
        return {};
    const qint64 day = DayNumber(d);
    // Neighbouring events mostly fall on the same day.
    thread_local qint64 lastDay = std::numeric_limits<qint64>::min();
    thread_local Civil last;
    if (day == lastDay)
        return last;
    // Days to civil date in the proleptic Gregorian calendar, after Howard Hinnant's
    // civil_from_days: eras of 400 years, years starting in March so leap days come last.
    const qint64 z = day - 25569 + 719468; // 25569: 1 January 1970
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;                                      // [0, 146096]
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365; // [0, 399]
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
    const qint64 mp = (5 * doy + 2) / 153;                                    // [0, 11]
    Civil c;
    c.day = int(doy - (153 * mp + 2) / 5 + 1);
    c.month = int(mp < 10 ? mp + 3 : mp - 9);
    c.year = int(yoe + era * 400 + (c.month <= 2 ? 1 : 0));
    c.valid = true;
    lastDay = day;
    last = c;
    return c;
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
