#include "appointmentcommands.h"
#include "calevent.h"
#include "commands.h"
#include "gridkeyboard.h"
#include "gridpointer.h"
#include "oadate.h"
#include "planneryear.h"
#include "selection.h"
#include "testsupport.h"

#include <gtest/gtest.h>

TEST(NewAppointment, TimesAtTheNearestHalfHour)
{
    const double first = At(2026, 6, 10), day = At(2026, 6, 11), days = At(2026, 6, 13);
    struct Row
    {
        const char *name;
        bool allEvents;
        double end;
        QTime now;
        QDateTime start, finish;
        bool allDay;
    } rows[] = {
        {"whole days without timed appointments",
         false,
         days,
         QTime(10, 7),
         {QDate(2026, 6, 10), QTime(0, 0)},
         {QDate(2026, 6, 13), QTime(0, 0)},
         true},
        {"one day at 10:07",
         true,
         day,
         QTime(10, 7),
         {QDate(2026, 6, 10), QTime(10, 0)},
         {QDate(2026, 6, 10), QTime(10, 30)},
         false},
        {"one day at 10:20",
         true,
         day,
         QTime(10, 20),
         {QDate(2026, 6, 10), QTime(10, 30)},
         {QDate(2026, 6, 10), QTime(11, 0)},
         false},
        {"a quarter past rounds up",
         true,
         day,
         QTime(10, 15),
         {QDate(2026, 6, 10), QTime(10, 30)},
         {QDate(2026, 6, 10), QTime(11, 0)},
         false},
        {"seconds round the minute",
         true,
         day,
         QTime(10, 14, 31),
         {QDate(2026, 6, 10), QTime(10, 30)},
         {QDate(2026, 6, 10), QTime(11, 0)},
         false},
        {"just before",
         true,
         day,
         QTime(10, 14, 29),
         {QDate(2026, 6, 10), QTime(10, 0)},
         {QDate(2026, 6, 10), QTime(10, 30)},
         false},
        {"late evening runs into the next day",
         true,
         day,
         QTime(23, 50),
         {QDate(2026, 6, 11), QTime(0, 0)},
         {QDate(2026, 6, 11), QTime(0, 30)},
         false},
        {"several days keep whole days from the start to the last day",
         true,
         days,
         QTime(10, 7),
         {QDate(2026, 6, 10), QTime(10, 0)},
         {QDate(2026, 6, 12), QTime(10, 0)},
         true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const NewAppointmentTimes t = TimesOfNewAppointment(first, row.end, row.allEvents,
                                                            QDateTime(QDate(2026, 1, 2), row.now));
        EXPECT_EQ(OADate::toDateTime(t.start), row.start);
        EXPECT_EQ(OADate::toDateTime(t.end), row.finish);
        EXPECT_EQ(t.allDay, row.allDay);
    }
}

TEST(HoverText, SingleAndRangeForms)
{
    GeneralDateFormat dates(QLocale(QLocale::English, QLocale::UnitedStates));
    auto event = [](double start, double end) {
        CalEvent e;
        e.Subject = "Fair";
        e.StartDate = start;
        e.EndDate = end;
        return e;
    };
    const QString berlin = "Europe/Berlin", tokyo = "Asia/Tokyo";
    struct Row
    {
        const char *name;
        CalEvent e;
        bool allEvents;
        bool zones;
        QString text;
    } rows[] = {
        {"a whole day shows its day", event(At(2026, 3, 5), At(2026, 3, 6)), false, false,
         "3/5/26; Fair"},
        {"two whole days end on the second", event(At(2026, 3, 5), At(2026, 3, 7)), false, false,
         "3/5/26 to 3/6/26; Fair"},
        {"timed within a day", event(At(2026, 3, 5, 10), At(2026, 3, 5, 11)), true, false,
         "3/5/26 10:00:00 AM to 3/5/26 11:00:00 AM; Fair"},
        {"timed across days keeps its end with all events",
         event(At(2026, 3, 5, 10), At(2026, 3, 7, 9)), true, false,
         "3/5/26 10:00:00 AM to 3/7/26 9:00:00 AM; Fair"},
        {"and shows the day before without", event(At(2026, 3, 5, 10), At(2026, 3, 7, 9)), false,
         false, "3/5/26 10:00:00 AM to 3/6/26 9:00:00 AM; Fair"},
        {"zones of the single form", event(At(2026, 3, 5), At(2026, 3, 6)), false, true,
         "3/5/26; Fair [Europe/Berlin]"},
        {"zones of the range form", event(At(2026, 3, 5), At(2026, 3, 7)), false, true,
         "3/5/26 to 3/6/26; Fair [Europe/Berlin to Asia/Tokyo]"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HoverText(row.e, row.allEvents, "; ", dates, row.zones ? &berlin : nullptr,
                            row.zones ? &tokyo : nullptr),
                  row.text);
    }
}

TEST(Selection, CornersInOrder)
{
    struct Row
    {
        const char *name;
        SelectionCorners in, out;
    } rows[] = {
        {"forwards stays", {3, 9, 2, 4}, {3, 9, 2, 4}},
        {"backwards across rows swaps rows with their columns", {9, 3, 4, 2}, {3, 9, 2, 4}},
        {"backwards across rows, columns in any order", {3, 9, 4, 2}, {9, 3, 2, 4}},
        {"backwards in one row", {9, 3, 5, 5}, {3, 9, 5, 5}},
        {"one day", {7, 7, 1, 1}, {7, 7, 1, 1}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(Normalised(row.in), row.out) << row.name;
}

TEST(Toolbar, EntriesInTheirOrderWithKeysAndTooltips)
{
    QStringList keys, tips;
    for (const ToolbarEntry &e : PlannerToolbarLayout()) {
        keys << (e.key ? e.key : "|");
        if (e.command)
            tips << e.tooltip;
    }
    EXPECT_EQ(keys, QStringList({"Status", "Back", "|", "Year", "Next", "|", "Filter", "Categories",
                                 "Save", "Print", "About"}));
    EXPECT_EQ(tips,
              QStringList({"Back a year", "Forward a year", "Apply filter", "Define Categories",
                           "Export", "Print this year", "About Quorvel"}));
    EXPECT_STREQ(EntryOf(Command::Filter).key, "Filter");
}

TEST(DayCursor, MovesStayInTheYearAndKeepTheirColumn)
{
    using M = DayMove;
    const PlannerYear y2026(2026, 1), y2024(2024, 1), fromJuly(2026, 7);
    struct Row
    {
        const char *name;
        const PlannerYear &year;
        QDate from;
        DayMove move;
        QDate to;
    } rows[] = {
        {"left across a month end", y2026, {2026, 3, 1}, M::Left, {2026, 2, 28}},
        {"right across a month end", y2026, {2026, 2, 28}, M::Right, {2026, 3, 1}},
        {"right on the last day stays", y2026, {2026, 12, 31}, M::Right, {2026, 12, 31}},
        {"left on the first day stays", y2026, {2026, 1, 1}, M::Left, {2026, 1, 1}},
        {"up in the top row stays", y2026, {2026, 1, 20}, M::Up, {2026, 1, 20}},
        {"down in the bottom row stays", y2026, {2026, 12, 2}, M::Down, {2026, 12, 2}},
        // 1 January 2026 is a Thursday (column 5); February starts on a Sunday.
        {"down keeps the weekday column", y2026, {2026, 1, 1}, M::Down, {2026, 2, 5}},
        {"up past the month's end: its last day", y2026, {2026, 3, 31}, M::Up, {2026, 2, 28}},
        {"up before the month's start: its first day", y2026, {2026, 2, 1}, M::Up, {2026, 1, 1}},
        {"up past a leap February's end: its 29th", y2024, {2024, 3, 29}, M::Up, {2024, 2, 29}},
        {"home", y2026, {2026, 5, 17}, M::MonthStart, {2026, 5, 1}},
        {"end of a leap February", y2024, {2024, 2, 10}, M::MonthEnd, {2024, 2, 29}},
        {"end of a common February", y2026, {2026, 2, 10}, M::MonthEnd, {2026, 2, 28}},
        {"ctrl+home from July", fromJuly, {2027, 3, 3}, M::YearStart, {2026, 7, 1}},
        {"ctrl+end from July", fromJuly, {2026, 9, 3}, M::YearEnd, {2027, 6, 30}},
        {"right across the calendar year", fromJuly, {2026, 12, 31}, M::Right, {2027, 1, 1}},
        {"down across the calendar year", fromJuly, {2026, 12, 31}, M::Down, {2027, 1, 28}},
        {"a day outside the year comes in first", y2026, {2025, 6, 1}, M::Right, {2026, 1, 2}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(MovedDay(r.year, r.from, r.move), r.to) << r.name;
}

TEST(DayCursor, AYearChangeKeepsTheDateWhereItExists)
{
    EXPECT_EQ(SameDayInYear(PlannerYear(2025, 1), QDate(2024, 2, 29)), QDate(2025, 2, 28));
    EXPECT_EQ(SameDayInYear(PlannerYear(2028, 1), QDate(2027, 2, 28)), QDate(2028, 2, 28));
    EXPECT_EQ(SameDayInYear(PlannerYear(2027, 1), QDate(2026, 12, 31)), QDate(2027, 12, 31));
    // From July: January belongs to the planner year's second calendar year.
    EXPECT_EQ(SameDayInYear(PlannerYear(2026, 7), QDate(2026, 1, 15)), QDate(2027, 1, 15));
    EXPECT_EQ(SameDayInYear(PlannerYear(2026, 7), QDate(2026, 8, 15)), QDate(2026, 8, 15));
    EXPECT_EQ(SameDayInYear(PlannerYear(2026, 7), QDate()), QDate(2026, 7, 1));
}
