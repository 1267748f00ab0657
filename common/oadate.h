#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// Automation dates: days since 30 December 1899 as a double, the fraction being the time of day,
// local wall-clock time. Before the epoch the whole part counts back and the fraction still adds
// the time (-1.25 is 29 December 1899, 06:00). Times are kept to the millisecond.
namespace OADate {

constexpr double kMin = -657434.0;        // 1 January 100
constexpr double kMax = 2958465.99999999; // 31 December 9999, 23:59:59.999

// True for a finite value inside the range above.
bool isValid(double d);

// Not a number (so not isValid) for an invalid date.
double fromDateTime(const QDate &date, const QTime &time = QTime(0, 0));
double fromDateTime(const QDateTime &dt); // the local wall-clock time of dt
QDate toDate(double d);                   // invalid QDate for an invalid d
QTime toTime(double d);
QDateTime toDateTime(double d); // local time

// Calendar arithmetic with rolling: month 13 is January of the next year, day 0 the last day of
// the previous month.
double DateSerial(int year, int month, int day);

// Year, month and day of d's date, computed without a calendar object (drawing and listing ask it
// for many dates). valid is false for an invalid d.
struct Civil
{
    int year = 0;
    int month = 0;
    int day = 0;
    bool valid = false;
};
Civil civil(double d);
// The day d falls on, counted from the epoch (30 December 1899 is 0). d must be valid. Inline,
// since a loader asks it twice per record.
constexpr qint64 kMsecsPerDay = 86400000;

inline qint64 DayNumber(double d)
{
    const qint64 whole = static_cast<qint64>(d); // toward zero, as the whole part counts
    // A time that rounds to a whole day's milliseconds belongs to the next day.
    const double frac = d - double(whole);
    return whole + ((frac < 0 ? -frac : frac) * kMsecsPerDay >= double(kMsecsPerDay) - 0.5);
}

int Year(double d);
int Month(double d);
int Day(double d);
int Weekday(double d);     // 1 = Sunday .. 7 = Saturday
double DateOnly(double d); // midnight of d's day

// Whole minutes between midnight of d's day and d.
int MinutesSinceMidnight(double d);
// Milliseconds between midnight of d's day and d, [0, 86,400,000).
int MsecsSinceMidnight(double d);
// The number of month boundaries crossed going from a to b (negative when b is earlier).
int MonthBoundaries(double a, double b);

} // namespace OADate

// True when a date-time lies at least one whole minute past its midnight.
bool HasTimeOfDay(double d);
