#include "oadate.h"
#include "qverror.h"
#include "restriction.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

// An item of 5 March 2026, 10:00 to 11:30, with a subject, a place and two categories.
RestrictionValues Item()
{
    RestrictionValues v;
    v.start = At(2026, 3, 5, 10);
    v.end = At(2026, 3, 5, 11, 30);
    v.subject = "O'Brien's \"big\" day";
    v.location = "Room 4";
    v.categories = {"Holiday", "Work"};
    v.messageClass = "IPM.Appointment";
    v.entryId = "E1";
    return v;
}

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

} // namespace

TEST(Restriction, WhatEachTextMatches)
{
    struct Row
    {
        const char *name;
        const char *text;
        bool matches;
    } rows[] = {
        {"equal subject, apostrophes doubled", "[Subject] = 'O''Brien''s \"big\" day'", true},
        {"equal subject, quotes doubled", "[Subject] = \"O'Brien's \"\"big\"\" day\"", true},
        {"text ignores letter case", "[subject] = 'o''brien''s \"BIG\" DAY'", true},
        {"unequal subject", "[Subject] <> 'Room 4'", true},
        {"text ordering", "[Location] < 'Room 5'", true},
        {"one of the categories", "[Categories] = 'work'", true},
        {"not one of the categories", "[Categories] <> 'Travel'", true},
        {"start on or before, 12-hour clock", "[Start] <= '3/5/26 10:00 AM'", true},
        {"start before, one minute early", "[Start] < '3/5/26 10:00 AM'", false},
        {"end after noon", "[End] > '3/5/26 11:29 AM'", true},
        {"end after, PM", "[End] > '3/5/26 12:00 PM'", false},
        {"24-hour time", "[End] >= '3/5/26 11:30'", true},
        {"ISO date", "[Start] >= '2026-03-05'", true},
        {"whole days", "[AllDayEvent] = False", true},
        {"recurring as a number", "[IsRecurring] = 0", true},
        {"AND both true", "[Location] = 'Room 4' AND [EntryID] = 'E1'", true},
        {"AND one false", "[Location] = 'Room 4' AND [EntryID] = 'E2'", false},
        {"OR one true", "[Location] = 'Hall' OR [EntryID] = 'E1'", true},
        {"OR both false", "[Location] = 'Hall' OR [EntryID] = 'E2'", false},
        {"AND binds before OR", "[Location] = 'Room 4' OR [EntryID] = 'E2' AND [Subject] = 'x'",
         true},
        {"parentheses first", "([Location] = 'Room 4' OR [EntryID] = 'E2') AND [Subject] = 'x'",
         false},
        {"NOT", "NOT [Location] = 'Hall'", true},
        {"NOT of a group", "NOT ([Location] = 'Hall' OR [EntryID] = 'E1')", false},
        {"NOT NOT", "NOT NOT [EntryID] = 'E1'", true},
        {"keywords in any case", "[location] = 'room 4' and not [entryid] = 'x' or [Subject] = 'y'",
         true},
        {"the planner year's restriction",
         "[Start] <= \"12/31/26 11:59 PM\" AND [End] > \"1/1/26 12:00 AM\"", true},
        {"another year", "[Start] <= \"12/31/25 11:59 PM\" AND [End] > \"1/1/25 12:00 AM\"", false},
    };
    const RestrictionValues item = Item();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Restriction r = Restriction::parse(QString::fromUtf8(row.text), kUs);
        EXPECT_EQ(r.matches(item), row.matches) << row.text;
    }
}

TEST(Restriction, InvalidTextsRaiseTheFilterError)
{
    const char *rows[] = {
        "",
        "[Start] <= ",
        "[Nope] = 'x'",
        "Subject = 'a'",
        "[Subject = 'a'",
        "[Subject] 'a'",
        "[Subject] == 'a'",
        "[Subject] = 'unclosed",
        "([Subject] = 'a'",
        "[Subject] = 'a')",
        "[Subject] = 'a' AND",
        "[Subject] = 'a' OR OR [Subject] = 'b'",
        "NOT",
        "[Subject] = 'a' extra",
        "[Start] <= 'not a date'",
        "[Start] <= '2/30/26'",
        "[Start] <= '3/5/26 13:00 PM'",
        "[Start] <= '3/5/26 0:30 AM'",
        "[Start] <= '3/5/26 25:00'",
        "[AllDayEvent] = maybe",
        "[AllDayEvent] < True",
    };
    for (const char *text : rows) {
        try {
            Restriction::parse(QString::fromUtf8(text), kUs);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const QvError &e) {
            EXPECT_EQ(e.number(), 440) << text;
        }
    }
}

TEST(Restriction, BoundsOfTheDatesEveryMatchHas)
{
    const Restriction r =
        Restriction::parse("[Start] <= '12/31/26 11:59 PM' AND [End] > '1/1/26 12:00 AM'", kUs);
    EXPECT_EQ(OADate::toDateTime(r.startMax()), QDateTime(QDate(2026, 12, 31), QTime(23, 59)));
    EXPECT_EQ(OADate::toDateTime(r.endMin()), QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
    // A condition under OR or NOT bounds nothing.
    const Restriction loose =
        Restriction::parse("[Start] <= '12/31/26' OR NOT [End] > '1/1/26'", kUs);
    EXPECT_EQ(loose.startMax(), OADate::kMax);
    EXPECT_EQ(loose.endMin(), OADate::kMin);
    // Restricting a restricted collection keeps the tighter bounds of both.
    const Restriction both = r.andAlso(Restriction::parse("[Start] <= '6/30/26'", kUs));
    EXPECT_EQ(OADate::toDateTime(both.startMax()), QDateTime(QDate(2026, 6, 30), QTime(0, 0)));
    EXPECT_FALSE(both.matches([] {
        RestrictionValues v = Item();
        v.start = v.end = At(2026, 7, 1);
        return v;
    }()));
}

TEST(Restriction, TheSubjectsEveryMatchHas)
{
    const Restriction one = Restriction::parse("[Start] >= '1/1/10' AND [Subject] = 'Plan'", kUs);
    EXPECT_TRUE(one.restrictsSubject());
    EXPECT_TRUE(one.maySubjectMatch({"Other", "PLAN"})) << "letter case aside, as matches";
    EXPECT_FALSE(one.maySubjectMatch({"Plans", ""}));
    // Under OR or NOT, or compared otherwise than equal, a subject restricts nothing.
    for (const char *text : {"[Subject] = 'Plan' OR [Start] >= '1/1/10'", "NOT [Subject] = 'Plan'",
                             "[Subject] > 'P'"}) {
        const Restriction r = Restriction::parse(text, kUs);
        EXPECT_FALSE(r.restrictsSubject()) << text;
        EXPECT_TRUE(r.maySubjectMatch({"Anything"})) << text;
    }
    // Both of a restricted collection's.
    const Restriction both = one.andAlso(Restriction::parse("[Subject] = 'Other'", kUs));
    EXPECT_TRUE(both.maySubjectMatch({"Plan", "Other"}));
    EXPECT_FALSE(both.maySubjectMatch({"Plan"}));
}
