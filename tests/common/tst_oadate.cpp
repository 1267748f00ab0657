#include "oadate.h"

#include <gtest/gtest.h>

using namespace OADate;

TEST(OADate, KnownSerials)
{
    // Serials checked against the platform's documented values: day 0 is 30 December 1899,
    // 1 January 1900 is 2, 1 January 2000 is 36526, 45 minutes past six is 0.28125.
    EXPECT_EQ(fromDateTime(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(fromDateTime(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(fromDateTime(QDate(2000, 1, 1)), 36526.0);
    EXPECT_EQ(fromDateTime(QDate(2000, 1, 1), QTime(6, 45)), 36526.28125);
    // Before the epoch the fraction still adds the time of day.
    EXPECT_EQ(fromDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    EXPECT_EQ(toDate(-1.25), QDate(1899, 12, 29));
    EXPECT_EQ(toTime(-1.25), QTime(6, 0));
    EXPECT_EQ(toTime(-0.5), QTime(12, 0));
    EXPECT_EQ(toDate(-0.5), QDate(1899, 12, 30));
}

TEST(OADate, RoundTripKeepsMillisecondsAndCarriesMidnight)
{
    for (const QDateTime &dt : {QDateTime(QDate(2026, 3, 29), QTime(2, 30)),
                                QDateTime(QDate(1812, 6, 24), QTime(23, 59, 59, 999)),
                                QDateTime(QDate(2027, 12, 31), QTime(10, 0))}) {
        const double d = fromDateTime(dt.date(), dt.time());
        EXPECT_EQ(toDateTime(d), dt) << qPrintable(dt.toString(Qt::ISODateWithMs));
    }
    // A time a hair below midnight rounds into the next day rather than to 24:00.
    const double almost = fromDateTime(QDate(2026, 5, 1)) + 0.99999999999;
    EXPECT_EQ(toDate(almost), QDate(2026, 5, 2));
    EXPECT_EQ(MsecsSinceMidnight(almost), 0);
    const Civil carried = civil(almost);
    EXPECT_EQ(QDate(carried.year, carried.month, carried.day), QDate(2026, 5, 2));
    // Half a millisecond is where rounding turns: just below it stays on the day.
    const double justBelow = fromDateTime(QDate(2026, 5, 1)) + (86400000 - 0.6) / 86400000.0;
    EXPECT_EQ(toDate(justBelow), QDate(2026, 5, 1));
    EXPECT_EQ(civil(justBelow).day, 1);
    // Before the epoch the time counts forward from the day too: 29 December 1899 at 24:00.
    const double before = -1.99999999999;
    EXPECT_EQ(toDate(before), QDate(1899, 12, 30));
    EXPECT_EQ(civil(before).day, 30);
}

TEST(OADate, RejectsWhatIsNoDate)
{
    EXPECT_FALSE(isValid(std::nan("")));
    EXPECT_FALSE(isValid(1e300));
    EXPECT_FALSE(isValid(-700000));
    EXPECT_FALSE(toDate(std::numeric_limits<double>::infinity()).isValid());
    EXPECT_TRUE(isValid(kMax));
    EXPECT_EQ(toDate(kMax), QDate(9999, 12, 31));
}

TEST(OADate, DateSerialRolls)
{
    struct Row
    {
        const char *name;
        int y, m, d;
        QDate expected;
    } rows[] = {
        {"day 0 is the last of the previous month", 2010, 3, 0, QDate(2010, 2, 28)},
        {"day 0 of a leap March", 2012, 3, 0, QDate(2012, 2, 29)},
        {"month 13 is January of the next year", 2010, 13, 1, QDate(2011, 1, 1)},
        {"month 0 is December of the previous year", 2010, 0, 15, QDate(2009, 12, 15)},
        {"month -11 is January of the previous year", 2010, -11, 1, QDate(2009, 1, 1)},
        {"month -12 is December two years back", 2010, -12, 1, QDate(2008, 12, 1)},
        {"day 32 rolls into the next month", 2010, 1, 32, QDate(2010, 2, 1)},
        {"negative days roll back", 2010, 3, -1, QDate(2010, 2, 27)},
        {"day 0 of January 2011 is New Year's Eve", 2011, 1, 0, QDate(2010, 12, 31)},
    };
    for (const Row &r : rows)
        EXPECT_EQ(toDate(DateSerial(r.y, r.m, r.d)), r.expected) << r.name;
}

TEST(OADate, PartsMinutesAndBoundaries)
{
    const double d = fromDateTime(QDate(2010, 3, 15), QTime(10, 0));
    EXPECT_EQ(Year(d), 2010);
    EXPECT_EQ(Month(d), 3);
    EXPECT_EQ(Day(d), 15);
    EXPECT_EQ(Weekday(d), 2); // a Monday
    EXPECT_EQ(Weekday(fromDateTime(QDate(2010, 3, 14))), 1);
    EXPECT_EQ(Weekday(fromDateTime(QDate(2010, 3, 20))), 7);
    // 10:00 is not exactly representable; whole minutes must still be 600, not 599.
    EXPECT_EQ(MinutesSinceMidnight(d), 600);
    EXPECT_EQ(DateOnly(d), fromDateTime(QDate(2010, 3, 15)));

    EXPECT_FALSE(HasTimeOfDay(fromDateTime(QDate(2010, 3, 5), QTime(0, 0, 30))));
    EXPECT_TRUE(HasTimeOfDay(fromDateTime(QDate(2010, 3, 5), QTime(0, 1))));
    EXPECT_FALSE(HasTimeOfDay(fromDateTime(QDate(2010, 3, 5))));

    const double jan31 = fromDateTime(QDate(2010, 1, 31));
    EXPECT_EQ(MonthBoundaries(jan31, fromDateTime(QDate(2010, 2, 1))), 1);
    EXPECT_EQ(MonthBoundaries(jan31, fromDateTime(QDate(2010, 1, 1))), 0);
    EXPECT_EQ(MonthBoundaries(jan31, fromDateTime(QDate(2009, 12, 31))), -1);
    EXPECT_EQ(MonthBoundaries(jan31, fromDateTime(QDate(2011, 3, 1))), 14);
}

TEST(OADate, CivilAgreesWithTheCalendar)
{
    // Every day from 1600 to 2400 and a stretch around the epoch, including negative serials.
    for (QDate day(1600, 1, 1); day <= QDate(2400, 12, 31); day = day.addDays(1)) {
        const Civil c = civil(fromDateTime(day, QTime(13, 0)));
        ASSERT_TRUE(c.valid);
        ASSERT_EQ(QDate(c.year, c.month, c.day), day);
    }
    EXPECT_FALSE(civil(std::nan("")).valid);
    const Civil last = civil(kMax);
    EXPECT_EQ(QDate(last.year, last.month, last.day), QDate(9999, 12, 31));
}

TEST(OADate, AnInvalidDayIsNoDate)
{
    // A calendar's 30 February, or a date with year 0, has no day number to count from.
    EXPECT_FALSE(OADate::isValid(OADate::fromDateTime(QDate(2026, 2, 30))));
    EXPECT_FALSE(OADate::isValid(OADate::fromDateTime(QDate())));
    EXPECT_TRUE(OADate::isValid(OADate::fromDateTime(QDate(2026, 2, 28))));
}
