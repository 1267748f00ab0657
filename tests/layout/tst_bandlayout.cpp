#include "bandlayout.h"
#include "calevent.h"
#include "eventkey.h"
#include "eventstore.h"
#include "hitmap.h"
#include "oadate.h"
#include "planneryear.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

class BandTest : public ::testing::Test
{
protected:
    // Appends an event, placed in the year as the loader places it. The layout visits events in
    // store order, which a loaded store has ascending: tests add them so where it matters.
    CalEvent &add(double start, double end, qint16 catIndex = 1, const QString &categories = {},
                  bool sorted = false)
    {
        auto e = std::make_unique<CalEvent>();
        e->EventID = QString("ev%1").arg(++serial);
        e->StartDate = start;
        e->EndDate = end;
        e->CatIndex = catIndex;
        e->Categories = categories;
        PlaceEvent(*e, year);
        CalEvent &ref = *e;
        if (sorted)
            InsertEventSorted(store, std::move(e));
        else
            store.Add(std::move(e), EventKey(ref));
        return ref;
    }
    void layout(int minimum = kScreenMinimumBands)
    {
        rowBands = CalculateBands(store, year, allEvents, minimum, visible, dialogs);
    }
    int bandsOfRow(int r) const { return rowBands[r] - rowBands[r - 1]; }
    // A whole-day appointment from day d1 to day d2 of month m.
    CalEvent &days(int m, int d1, int d2) { return add(At(2010, m, d1), At(2010, m, d2) + 1); }

    PlannerYear year{2010, 1};
    EventStore store;
    bool allEvents = false;
    std::function<bool(const CalEvent &)> visible = [](const CalEvent &) { return true; };
    RowBandTable rowBands{};
    ScriptedDialogs dialogs;
    int serial = 0;
};

// Day numbers (days since the epoch) an event occupies in the layout, from the extents of the
// kinds of appointment: from its start day to the day before its end's day, and through the end's
// day as well when all events are shown and it starts or ends at a time of day.
std::pair<int, int> OccupiedDays(const CalEvent &e, bool allEvents)
{
    const int first = int(std::floor(OADate::DateOnly(e.StartDate)));
    int last = int(std::floor(OADate::DateOnly(e.EndDate))) - 1;
    if (allEvents && (HasTimeOfDay(e.StartDate) || HasTimeOfDay(e.EndDate)))
        ++last;
    return {first, last};
}

} // namespace

TEST_F(BandTest, EmptyStoreGivesTheMinimumInEveryRow)
{
    layout();
    EXPECT_EQ(rowBands, (RowBandTable{0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48}));
    layout(6);
    EXPECT_EQ(rowBands[12], 72);
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(BandTest, NeighboursShareOverlapsStack)
{
    CalEvent &a = days(3, 5, 5);
    CalEvent &b = days(3, 6, 6);
    CalEvent &c = days(3, 5, 5);
    CalEvent &d = days(4, 3, 5);
    CalEvent &e = days(4, 5, 5);
    layout();
    EXPECT_EQ(a.Band, 2);
    EXPECT_EQ(b.Band, 2) << "5 and 6 March share a band";
    EXPECT_EQ(c.Band, 3) << "two on 5 March";
    EXPECT_EQ(d.Band, 2);
    EXPECT_EQ(e.Band, 3) << "3-5 April and 5 April overlap on the 5th";
}

TEST_F(BandTest, FiveOnOneDayMakeTheRowSixBandsHigh)
{
    for (int i = 0; i < 5; ++i)
        days(6, 10, 10);
    layout();
    EXPECT_EQ(bandsOfRow(6), 6);
    for (int r = 1; r <= 12; ++r) {
        if (r != 6) {
            EXPECT_EQ(bandsOfRow(r), 4) << r;
        }
    }
    EXPECT_EQ(rowBands[12], 11 * 4 + 6);
}

TEST_F(BandTest, AcrossTheYearEndKeepsOneBandAndFillsTheLastRow)
{
    CalEvent &long_ = add(At(2010, 11, 20), At(2011, 1, 11));
    CalEvent &december1 = days(12, 1, 1);
    CalEvent &newYearsEve = days(12, 31, 31);
    layout();
    EXPECT_EQ(long_.Band, 2);
    EXPECT_EQ(long_.EndMonth, 13);
    EXPECT_EQ(december1.Band, 3) << "the long one holds band 2 all through December";
    EXPECT_EQ(newYearsEve.Band, 3) << "and up to the last column";
}

TEST_F(BandTest, BeganBeforeTheYearTakesTheFirstEmptyBandOfRowOne)
{
    year = PlannerYear(2010, 7);
    CalEvent &earlier = add(At(2010, 6, 10), At(2010, 7, 2)); // to 1 July
    CalEvent &early = add(At(2010, 6, 20), At(2010, 7, 4));   // to 3 July
    CalEvent &july1 = days(7, 1, 1);
    CalEvent &july8 = days(7, 8, 8);
    layout();
    EXPECT_EQ(earlier.StartDay, 0);
    EXPECT_EQ(earlier.Band, 2);
    EXPECT_EQ(early.Band, 3) << "band 2 of row 1 is not empty";
    EXPECT_EQ(july1.Band, 4) << "both hold 1 July, the first column of the month";
    EXPECT_EQ(july8.Band, 2) << "band 2 ended before 8 July";
}

TEST_F(BandTest, TimedWithinADayWithoutAllEventsTakesNoSpace)
{
    CalEvent &meeting = add(At(2010, 3, 5, 10), At(2010, 3, 5, 11));
    CalEvent &holiday = days(3, 5, 5);
    layout();
    EXPECT_EQ(meeting.Band, 2);
    EXPECT_EQ(holiday.Band, 2) << "the meeting occupies nothing";
    EXPECT_EQ(bandsOfRow(3), 4);

    allEvents = true;
    layout();
    EXPECT_EQ(holiday.Band, 3) << "with all events the meeting holds its day";
}

TEST_F(BandTest, HiddenEventsKeepTheirBandAndTakeNoSpace)
{
    for (int i = 0; i < 4; ++i)
        days(5, 1, 1);
    CalEvent &hiddenCategory = add(At(2010, 5, 1), At(2010, 5, 2), -1);
    CalEvent &filtered = add(At(2010, 5, 1), At(2010, 5, 2), 2, "Secret");
    visible = [](const CalEvent &e) { return e.Categories != "Secret"; };
    layout();
    EXPECT_EQ(hiddenCategory.Band, 0);
    EXPECT_EQ(filtered.Band, 0);
    EXPECT_EQ(bandsOfRow(5), 5);
}

TEST_F(BandTest, ExtentsOfEachKindWithAllEvents)
{
    allEvents = true;
    // Each case is the subject event followed by probes: whole-day events on single days from
    // the subject's first day on, that show whether the subject's band is free there.
    struct Case
    {
        const char *name;
        double start, end;
        int firstDay, lastDay; // days of March 2010 the subject occupies
    } cases[] = {
        {"whole days 10-12", At(2010, 3, 10), At(2010, 3, 13), 10, 12},
        {"timed 10:00-11:00 on the 10th", At(2010, 3, 10, 10), At(2010, 3, 10, 11), 10, 10},
        {"timed from the 10th to 09:00 on the 12th", At(2010, 3, 10, 10), At(2010, 3, 12, 9), 10,
         12},
        // drawn through the 12th, so its band is held there too
        {"midnight of the 10th to 09:00 on the 12th", At(2010, 3, 10), At(2010, 3, 12, 9), 10, 12},
    };
    for (const Case &c : cases) {
        store = EventStore();
        CalEvent &subject = add(c.start, c.end);
        QList<CalEvent *> probes;
        for (int d = 10; d <= 14; ++d)
            probes.append(&days(3, d, d));
        layout();
        ASSERT_EQ(subject.Band, 2) << c.name;
        for (int i = 0; i < probes.size(); ++i) {
            const int d = 10 + i;
            const bool occupied = d >= c.firstDay && d <= c.lastDay;
            EXPECT_EQ(probes[i]->Band, occupied ? 3 : 2) << c.name << ", day " << d;
        }
    }
}

TEST_F(BandTest, MidnightEndsAndZeroLengthWithAllEvents)
{
    allEvents = true;
    // Whole days to 28 February end at midnight of 1 March: in the March row nothing is drawn,
    // but the layout holds band 2 on the 1st.
    CalEvent &spanning = add(At(2010, 2, 20), At(2010, 3, 1));
    CalEvent &first = days(3, 1, 1);
    // A zero-length item at midnight holds its day with all events, and nothing without.
    CalEvent &zero = add(At(2010, 3, 5), At(2010, 3, 5));
    CalEvent &fifth = days(3, 5, 5);
    layout();
    EXPECT_EQ(spanning.Band, 2);
    EXPECT_EQ(first.Band, 3);
    EXPECT_EQ(zero.Band, 2);
    EXPECT_EQ(fifth.Band, 3);

    allEvents = false;
    layout();
    EXPECT_EQ(first.Band, 2);
    EXPECT_EQ(fifth.Band, 2);
}

TEST_F(BandTest, EventsOutsideTheYearTakeNoSpace)
{
    // An item changed to next year stays in the store until the next load; it must not fill the
    // year from January to December.
    CalEvent &nextYear = add(At(2011, 2, 1), At(2011, 2, 2));
    CalEvent &lastYear = add(At(2009, 2, 1), At(2009, 2, 2));
    CalEvent &here = days(6, 1, 1);
    layout();
    EXPECT_EQ(nextYear.Band, 0);
    EXPECT_EQ(lastYear.Band, 0);
    EXPECT_EQ(here.Band, 2);
}

TEST_F(BandTest, RandomYearsHaveNoOverlapsInABand)
{
    QRandomGenerator rng(7);
    for (int round = 0; round < 40; ++round) {
        store = EventStore();
        allEvents = round % 2;
        year = PlannerYear(2010, qint16(1 + round % 12));
        const double from = year.PlannerStart() - 20;
        for (int i = 0; i < 250; ++i) {
            const double day = std::floor(from + rng.bounded(400));
            switch (rng.bounded(4)) {
            case 0: // whole days
                add(day, day + 1 + rng.bounded(rng.bounded(6) == 0 ? 40 : 4), 1, {}, true);
                break;
            case 1: { // timed within a day
                const double h = 8 + rng.bounded(9);
                add(day + h / 24, day + (h + 1 + rng.bounded(3)) / 24, 1, {}, true);
                break;
            }
            case 2: // timed across days
                add(day + 14.0 / 24, day + 1 + rng.bounded(5) + 9.0 / 24, 1, {}, true);
                break;
            default: // from midnight to a time on a later day
                add(day, day + 1 + rng.bounded(3) + 9.0 / 24, 1, {}, true);
            }
        }
        layout();
        ASSERT_TRUE(dialogs.shown().isEmpty());

        // Each event has the band the plain search by the rules gives: the first of its start row
        // that is empty or ends before its start column.
        std::vector<std::vector<int>> ends(13);
        for (const CalEvent &e : store) {
            const RowSpan rows = RowsOf(e, year);
            if (rows.isEmpty())
                continue;
            std::vector<int> &start = ends[size_t(rows.first)];
            int b = 2;
            while (b < int(start.size()) && !(start[size_t(b)] < e.StartDay) &&
                   start[size_t(b)] > 0)
                ++b;
            ASSERT_EQ(e.Band, b) << "round " << round << ": " << qPrintable(e.EventID);
            for (int j = rows.first; j <= rows.last && j <= 12; ++j) {
                const RowColumns columns = ColumnsInRow(e, year, j, allEvents);
                if (!columns.occupies())
                    continue;
                std::vector<int> &row = ends[size_t(j)];
                row.resize(std::max(row.size(), size_t(b) + 1));
                row[size_t(b)] = columns.occupiedRight;
            }
        }

        ASSERT_EQ(rowBands[0], 0);
        for (int r = 1; r <= 12; ++r)
            ASSERT_GE(bandsOfRow(r), kScreenMinimumBands) << "round " << round << " row " << r;

        const double yearFirst = year.PlannerStart(), yearLast = year.PlannerEnd();
        QList<const CalEvent *> placed;
        for (const CalEvent &e : store) {
            if (!TouchesPlannerYear(e))
                continue;
            auto [first, last] = OccupiedDays(e, allEvents);
            first = std::max(first, int(yearFirst));
            last = std::min(last, int(yearLast));
            if (first > last)
                continue;
            ASSERT_GE(e.Band, 2);
            // The band fits every row the event occupies.
            for (int d = first; d <= last; ++d) {
                const int row = year.RowOfMonth(OADate::Month(d));
                ASSERT_LE(e.Band, bandsOfRow(row)) << "round " << round;
            }
            for (const CalEvent *o : placed) {
                if (o->Band != e.Band)
                    continue;
                auto [of, ol] = OccupiedDays(*o, allEvents);
                of = std::max(of, int(yearFirst));
                ol = std::min(ol, int(yearLast));
                ASSERT_TRUE(ol < first || last < of)
                    << "round " << round << ": " << qPrintable(o->EventID) << " and "
                    << qPrintable(e.EventID) << " share band " << e.Band;
            }
            placed.append(&e);
        }
    }
}

TEST_F(BandTest, ACrowdedYearCountsPastSixteenBits)
{
    // 40,000 appointments on one April day, and 3,000 on the first of every other month: more
    // bands in one row, and in the year, than 16 bits count (the year once said "Overflow").
    for (int i = 0; i < 40000; ++i)
        days(4, 1, 1);
    for (int m = 1; m <= 12; ++m)
        for (int i = 0; m != 4 && i < 3000; ++i)
            days(m, 1, 1);
    layout();
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_EQ(bandsOfRow(year.RowOfMonth(4)), 40001);
    EXPECT_EQ(bandsOfRow(year.RowOfMonth(5)), 3001);
    EXPECT_EQ(rowBands[12], 40001 + 11 * 3001);
    EXPECT_EQ(store.Item(40000).Band, 40001) << "the last of April's, above the rest";
}

TEST(HitMap, CellsKeepTheirOwnKeyWhereBarsMeetAndPart)
{
    const auto event = [](const char *id, double start) {
        CalEvent e;
        e.EventID = QString::fromLatin1(id);
        e.StartDate = start;
        return e;
    };
    const CalEvent a = event("a", OADate::fromDateTime(QDate(2026, 3, 5)));
    const CalEvent b = event("b", OADate::fromDateTime(QDate(2026, 3, 7), QTime(12, 0)));
    HitMap hits;
    hits.reset(3);
    hits.set(2, 1, 5, 1, a);
    hits.set(2, 3, 3, 1, b);    // drawn over
    hits.set(2, 6, 6, 1, a);    // met again after another
    hits.set(12, 37, 40, 3, a); // the columns past the grid are left out
    hits.set(4, 9, 8, 1, b);    // no columns
    EXPECT_EQ(hits.at(2, 1, 1), EventKey(a));
    EXPECT_EQ(hits.at(2, 3, 1), EventKey(b)) << "with its time of day";
    EXPECT_EQ(hits.at(2, 4, 1), EventKey(a));
    EXPECT_EQ(hits.at(2, 6, 1), EventKey(a));
    EXPECT_EQ(hits.at(12, 37, 3), EventKey(a));
    EXPECT_EQ(hits.at(4, 8, 1), "");
    EXPECT_EQ(hits.at(2, 1, 2), "") << "another band";
    EXPECT_EQ(hits.at(13, 1, 1), "") << "outside the map";
    hits.set(2, 1, 1, 4, b); // past the bands: ignored
    EXPECT_EQ(hits.at(2, 1, 4), "");
    hits.reset(1);
    EXPECT_EQ(hits.at(2, 1, 1), "") << "a reset forgets every key";
    EXPECT_EQ(hits.bands(), 1);
}
