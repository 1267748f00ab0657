#include "filterdate.h"
#include "oadate.h"
#include "testsupport.h"
#include "weeknumber.h"

#include <gtest/gtest.h>

TEST(FilterDate, TwoDigitYearsAreTheNearestToTheReference)
{
    struct Row
    {
        const char *name;
        int twoDigits, reference, expected;
    } rows[] = {
        {"just ahead", 30, 2026, 2030},
        {"just behind", 99, 2026, 1999},
        {"the same year", 26, 2026, 2026},
        {"49 ahead is still ahead", 75, 2026, 2075},
        {"50 ahead is behind", 76, 2026, 1976},
        {"into the next century", 5, 2098, 2105},
        {"back into the last one", 97, 2003, 1997},
        {"the planner year 2100", 0, 2100, 2100},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(NearestYear(row.twoDigits, row.reference), row.expected) << row.name;
    }
}

TEST(FilterDate, WhatIsWrittenReadsBackAsTheSameDayInEveryLocale)
{
    for (const QByteArray &name : UserLocaleNames()) {
        const ScopedLocale locale(name);
        for (int year : LocaleTestYears()) {
            for (const QDate day : {QDate(year, 1, 1), QDate(year, 12, 31), QDate(year, 2, 28)}) {
                SCOPED_TRACE(name.toStdString() + " " + day.toString(Qt::ISODate).toStdString());
                const QString text = FormatFilterDate(day);
                // A reference a lifetime away: the full year must carry the day by itself.
                double date = 0;
                ASSERT_TRUE(ParseFilterDate(text, QLocale(), date, 1900)) << text.toStdString();
                EXPECT_EQ(OADate::toDate(date), day) << text.toStdString();
                ASSERT_TRUE(ParseFilterDate(text + " 11:59 PM", QLocale(), date, 1900));
                EXPECT_EQ(OADate::toDateTime(date), QDateTime(day, QTime(23, 59)));
                // The locale's own short form, two-digit years and all, read near its year.
                const QString shown = QLocale().toString(day, QLocale::ShortFormat);
                ASSERT_TRUE(ParseFilterDate(shown, QLocale(), date, year)) << shown.toStdString();
                EXPECT_EQ(OADate::toDate(date), day) << shown.toStdString();
                ASSERT_TRUE(ParseFilterDate(day.toString(Qt::ISODate), QLocale(), date, 1900));
                EXPECT_EQ(OADate::toDate(date), day);
            }
        }
    }
}

TEST(FilterDate, TypedDatesInTheirForms)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    struct Row
    {
        const char *name;
        QLocale locale;
        const char *text;
        QDateTime expected; // invalid: no date
    } rows[] = {
        {"two-digit year ahead of the reference", us, "3/5/31", {QDate(2031, 3, 5), QTime(0, 0)}},
        {"midnight is 12 AM", us, "1/1/08 12:00 AM", {QDate(2008, 1, 1), QTime(0, 0)}},
        {"noon is 12 PM", us, "1/1/08 12:00 PM", {QDate(2008, 1, 1), QTime(12, 0)}},
        {"seconds, am/pm in small letters",
         us,
         "1/1/08 1:02:03 pm",
         {QDate(2008, 1, 1), QTime(13, 2, 3)}},
        {"four-digit year", us, "1/1/2035", {QDate(2035, 1, 1), QTime(0, 0)}},
        {"four-digit year in Germany",
         de,
         "31.12.2030 23:59",
         {QDate(2030, 12, 31), QTime(23, 59)}},
        {"two-digit year where the form has four",
         gb,
         "31/12/30",
         {QDate(2030, 12, 31), QTime(0, 0)}},
        {"ISO date", de, "2031-03-05", {QDate(2031, 3, 5), QTime(0, 0)}},
        {"ISO date and time", us, "2031-03-05T10:15", {QDate(2031, 3, 5), QTime(10, 15)}},
        {"spaces around", us, "  12/31/2030  ", {QDate(2030, 12, 31), QTime(0, 0)}},
        {"a three-digit year is neither", us, "1/1/203", {}},
        {"day first is no US date", us, "31/12/30", {}},
        {"no 13th month in ISO", us, "2031-13-01", {}},
        {"13 PM", us, "1/1/2031 13:00 PM", {}},
        {"no date at all", us, "soon", {}},
        {"nothing", us, "", {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        double date = 0;
        const bool ok = ParseFilterDate(QString::fromUtf8(row.text), row.locale, date, 2026);
        ASSERT_EQ(ok, row.expected.isValid()) << row.text;
        if (ok) {
            EXPECT_EQ(OADate::toDateTime(date), row.expected) << row.text;
        }
    }
}

// Week numbers by the locale's rule: ISO 8601 where the week starts on Monday, weeks from the
// one holding 1 January where it starts on Sunday.
TEST(WeekOfYear, IsoForMondayWeeksAndTheFirstOfJanuaryForSundayWeeks)
{
    const struct
    {
        QDate day;
        int iso;
        int sundayFirst;
    } days[] = {
        {QDate(2026, 1, 1), 1, 1},    {QDate(2026, 1, 3), 1, 1},     {QDate(2026, 1, 4), 1, 2},
        {QDate(2026, 5, 26), 22, 22}, {QDate(2026, 12, 31), 53, 53}, {QDate(2027, 1, 1), 53, 1},
        {QDate(2027, 1, 4), 1, 2},    {QDate(2028, 1, 1), 52, 1},    {QDate(2024, 12, 30), 1, 53},
    };
    for (const auto &d : days) {
        SCOPED_TRACE(qPrintable(d.day.toString(Qt::ISODate)));
        EXPECT_EQ(WeekOfYear(d.day, Qt::Monday), d.iso);
        EXPECT_EQ(WeekOfYear(d.day, Qt::Sunday), d.sundayFirst);
        EXPECT_EQ(WeekOfYear(d.day, Qt::Monday), d.day.weekNumber());
    }
    EXPECT_EQ(WeekOfYear(QDate(2026, 5, 26), QLocale("de_DE")), 22);
    EXPECT_EQ(WeekOfYear(QDate(2027, 1, 1), QLocale("en_GB")), 53);
    EXPECT_EQ(WeekOfYear(QDate(2027, 1, 1), QLocale("en_US")), 1);
    EXPECT_EQ(WeekOfYear(QDate(), Qt::Monday), 0);
    EXPECT_TRUE(StartsWeek(QDate(2026, 5, 24), Qt::Sunday));
    EXPECT_TRUE(StartsWeek(QDate(2026, 5, 25), Qt::Monday));
}
