#include "calendaraccess.h"
#include "calevent.h"
#include "itemchanges.h"
#include "plannerstate.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Store;

namespace {

class ItemChangesTest : public ::testing::Test
{
protected:
    ItemChangesTest() : state(dialogs)
    {
        QDir().mkpath(dir.path() + "/store/Calendar");
        options.storeDir = dir.path() + "/store";
        state.year.setSelectedYear(2026);
        state.categories.names = {"Work", "Holiday", "Other"};
        for (int day : {1, 10})
            keep("kept" + QString::number(day), At(2026, 2, day), At(2026, 2, day + 1));
    }

    void keep(const QString &id, double start, double end)
    {
        auto e = std::make_unique<CalEvent>();
        e->EventID = id;
        e->Subject = id;
        e->StartDate = start;
        e->EndDate = end;
        PlaceEvent(*e, state.year);
        InsertEventSorted(*state.store, std::move(e));
    }

    // Writes an item file and returns the item as the folder hands it out.
    ItemPtr write(const QByteArray &uid, const QByteArray &lines)
    {
        WriteAll(dir.path() + "/store/Calendar/" + uid + ".ics", Vevent(uid, lines));
        access = std::make_unique<CalendarAccess>(std::make_shared<NameSpace>(options));
        access->ResolveFolder(QString());
        for (const ItemPtr &item : access->folder()->Items()->all()) {
            if (item->fileName().startsWith(uid))
                return item;
        }
        return nullptr;
    }

    bool apply(const ItemPtr &item)
    {
        return ApplyItemChange(state, *access, item, "PLEASE IGNORE");
    }

    QStringList subjects() const
    {
        QStringList out;
        for (const CalEvent &e : *state.store)
            out.append(e.Subject);
        return out;
    }

    QTemporaryDir dir;
    ProfileOptions options;
    ScriptedDialogs dialogs;
    PlannerState state;
    std::unique_ptr<CalendarAccess> access;
};

} // namespace

TEST_F(ItemChangesTest, AWholeDayItemGoesInAtItsPlaceAndAChangeReplacesIt)
{
    const ItemPtr ski =
        write("ski", "SUMMARY:Ski\r\nCATEGORIES:Holiday\r\nDTSTART;VALUE=DATE:20260205\r\n"
                     "DTEND;VALUE=DATE:20260208\r\n");
    ASSERT_TRUE(apply(ski));
    EXPECT_EQ(subjects(), (QStringList{"kept1", "Ski", "kept10"}));
    const CalEvent &e = state.store->Item(2);
    EXPECT_EQ(e.EventID, ski->EntryID());
    EXPECT_EQ(e.CatIndex, 2);
    EXPECT_EQ(e.StartMonth, 2);
    EXPECT_EQ(e.EndDate, At(2026, 2, 8));

    // Moved past the second kept event: one event, at its new place.
    const ItemPtr moved =
        write("ski", "SUMMARY:Ski\r\nCATEGORIES:Holiday\r\nDTSTART;VALUE=DATE:20260215\r\n"
                     "DTEND;VALUE=DATE:20260216\r\n");
    ASSERT_TRUE(apply(moved));
    EXPECT_EQ(subjects(), (QStringList{"kept1", "kept10", "Ski"}));
}

TEST_F(ItemChangesTest, OnlyItemsOverlappingThePlannerYearComeIn)
{
    // A sync tool changes items of every year: one of another year must not be drawn in this one.
    const ItemPtr later = write("later", "SUMMARY:Later\r\nDTSTART;VALUE=DATE:20271007\r\n"
                                         "DTEND;VALUE=DATE:20271008\r\n");
    EXPECT_FALSE(apply(later));
    EXPECT_EQ(subjects(), (QStringList{"kept1", "kept10"}));

    // Moved out of the year: its event goes.
    keep(later->EntryID(), At(2026, 2, 5), At(2026, 2, 6));
    EXPECT_TRUE(apply(later));
    EXPECT_EQ(subjects(), (QStringList{"kept1", "kept10"}));

    // Across the year's edges, as a rebuild takes them; ending as the year starts, not.
    const ItemPtr edges[] = {
        write("newyear", "SUMMARY:New year\r\nDTSTART;VALUE=DATE:20251231\r\n"
                         "DTEND;VALUE=DATE:20260102\r\n"),
        write("eve", "SUMMARY:Eve\r\nDTSTART:20261231T235900\r\nDTEND:20270101T010000\r\n"),
        write("before", "SUMMARY:Before\r\nDTSTART;VALUE=DATE:20251231\r\n"
                        "DTEND;VALUE=DATE:20260101\r\n")};
    state.AllEvents = true;
    for (const ItemPtr &item : edges)
        apply(item);
    EXPECT_EQ(subjects(), (QStringList{"New year", "kept1", "kept10", "Eve"}));
}

TEST_F(ItemChangesTest, TimedItemsStayOutOfAWholeDayPlanner)
{
    const ItemPtr lunch =
        write("lunch", "SUMMARY:Lunch\r\nDTSTART:20260203T120000\r\nDTEND:20260203T130000\r\n");
    EXPECT_FALSE(apply(lunch)) << "nothing to draw or write";
    EXPECT_EQ(state.store->Count(), 2);

    // It was a whole day before: its old event must go, from the screen and the file.
    keep(lunch->EntryID(), At(2026, 2, 3), At(2026, 2, 4));
    EXPECT_TRUE(apply(lunch));
    EXPECT_EQ(subjects(), (QStringList{"kept1", "kept10"}));

    state.AllEvents = true;
    EXPECT_TRUE(apply(lunch));
    EXPECT_EQ(subjects(), (QStringList{"kept1", "Lunch", "kept10"}));
}

TEST_F(ItemChangesTest, ARecurringItemBringsEveryOccurrenceOfTheYear)
{
    // Another item with the same subject and an apostrophe in it, which the restriction must
    // survive.
    write("other", "SUMMARY:Bob's review\r\nCATEGORIES:Work\r\nDTSTART;VALUE=DATE:20260101\r\n"
                   "DTEND;VALUE=DATE:20260102\r\n");
    const ItemPtr series =
        write("series", "SUMMARY:Bob's review\r\nCATEGORIES:Holiday\r\n"
                        "DTSTART;VALUE=DATE:20261203\r\nDTEND;VALUE=DATE:20261204\r\n"
                        "RRULE:FREQ=WEEKLY;COUNT=6\r\n");
    ASSERT_TRUE(apply(series));
    QList<double> starts;
    for (const CalEvent &e : *state.store) {
        if (e.EventID == series->EntryID()) {
            starts.append(e.StartDate);
            EXPECT_EQ(e.CatIndex, 2) << "the series' own categories";
        }
    }
    EXPECT_EQ(starts, (QList<double>{At(2026, 12, 3), At(2026, 12, 10), At(2026, 12, 17),
                                     At(2026, 12, 24), At(2026, 12, 31)}))
        << "the sixth is in the next year";
    EXPECT_EQ(state.store->Count(), 2 + 5);

    // Applied again, the occurrences are replaced, not doubled.
    ASSERT_TRUE(apply(series));
    EXPECT_EQ(state.store->Count(), 2 + 5);
}

TEST_F(ItemChangesTest, TimedOccurrencesStayOutAndFilteredOrHiddenOnesStayInTheStore)
{
    const ItemPtr standup = write("standup", "SUMMARY:Standup\r\nCATEGORIES:Work\r\n"
                                             "DTSTART:20260302T090000\r\nDTEND:20260302T091500\r\n"
                                             "RRULE:FREQ=DAILY;COUNT=5\r\n");
    EXPECT_TRUE(apply(standup));
    EXPECT_EQ(state.store->Count(), 2) << "timed occurrences, whole-day planner";
    state.AllEvents = true;
    apply(standup);
    EXPECT_EQ(state.store->Count(), 2 + 5);

    // A filter hides the occurrences from the drawing; the store keeps them, as a load does,
    // so that clearing the filter shows them again without a reload.
    const auto standupsShown = [&] {
        int shown = 0;
        for (const CalEvent &e : *state.store)
            shown += e.Subject == "Standup" && state.isVisible(e);
        return shown;
    };
    state.filter.SetFilter("Holiday");
    state.filter.SetFilterMode(false);
    apply(standup);
    EXPECT_EQ(state.store->Count(), 2 + 5) << "filtered out, still in the store";
    EXPECT_EQ(standupsShown(), 0);
    state.filter.SetFilter("Work");
    EXPECT_EQ(standupsShown(), 5) << "another filter shows them without a reload";

    state.filter.SetFilter(QString());
    state.HideNonCategoryItems = true;
    const ItemPtr odd =
        write("odd", "SUMMARY:Odd\r\nCATEGORIES:Garden\r\nDTSTART;VALUE=DATE:20260401\r\n"
                     "DTEND;VALUE=DATE:20260402\r\nRRULE:FREQ=DAILY;COUNT=2\r\n");
    apply(odd);
    EXPECT_EQ(state.store->Count(), 2 + 5 + 2) << "a category not in the table, kept hidden";
    int hidden = 0;
    for (const CalEvent &e : *state.store)
        hidden += e.EventID == odd->EntryID() && e.CatIndex == -1;
    EXPECT_EQ(hidden, 2);

    const ItemPtr table = write("table", "SUMMARY:PLEASE IGNORE\r\nDTSTART;VALUE=DATE:20260401\r\n"
                                         "DTEND;VALUE=DATE:20260402\r\n");
    EXPECT_FALSE(apply(table)) << "the category item is no appointment of the planner";
}

TEST_F(ItemChangesTest, ASeriesBegunYearsAgoKeepsItsOccurrencesWithTheirOwnSubjects)
{
    // The team's monthly review since 2015, one of this year's moved to another day and renamed:
    // a change to it must bring this year's occurrences back, as a rebuild would.
    const QByteArray series = "SUMMARY:Review\r\nCATEGORIES:Work\r\n"
                              "DTSTART;VALUE=DATE:20150105\r\nDTEND;VALUE=DATE:20150106\r\n"
                              "RRULE:FREQ=MONTHLY\r\n";
    const ItemPtr review = write("review", series);
    keep(review->EntryID(), At(2026, 3, 5), At(2026, 3, 6)); // as the cache had it
    ASSERT_TRUE(apply(review));
    QStringList march;
    for (const CalEvent &e : *state.store) {
        if (e.EventID == review->EntryID() && e.StartMonth == 3)
            march.append(e.Subject + " " + QString::number(e.CatIndex));
    }
    EXPECT_EQ(march, QStringList{"Review 1"});
    EXPECT_EQ(state.store->Count(), 2 + 12);

    const ItemPtr renamed = write("review", series + "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:review\r\n"
                                                     "SUMMARY:Review with the board\r\n"
                                                     "CATEGORIES:Holiday\r\n"
                                                     "RECURRENCE-ID;VALUE=DATE:20260605\r\n"
                                                     "DTSTART;VALUE=DATE:20260608\r\n"
                                                     "DTEND;VALUE=DATE:20260609\r\n");
    ASSERT_TRUE(apply(renamed));
    EXPECT_EQ(state.store->Count(), 2 + 12) << "replaced, not doubled";
    QStringList june;
    for (const CalEvent &e : *state.store) {
        if (e.EventID == review->EntryID() && e.StartMonth == 6)
            june.append(e.Subject + " " + QString::number(e.CatIndex));
    }
    EXPECT_EQ(june, QStringList{"Review with the board 2"});
}
