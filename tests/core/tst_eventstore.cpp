#include "calevent.h"
#include "categoryindex.h"
#include "eventkey.h"
#include "eventstore.h"
#include "filterdate.h"
#include "oadate.h"
#include "planneryear.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CalEvent> Event(const QString &id, double start, double end = 0)
{
    auto e = std::make_unique<CalEvent>();
    e->EventID = id;
    e->StartDate = start;
    e->EndDate = end ? end : start + 1.0 / 24;
    return e;
}

QStringList IdsOf(const EventStore &store)
{
    QStringList ids;
    for (const CalEvent &e : store)
        ids << e.EventID;
    return ids;
}

} // namespace

TEST(PlaceEvent, DayColumnsInAMonthStartingOnWednesday)
{
    // September 2010 begins on a Wednesday: LeadIn 3.
    const PlannerYear year(2010, 1);
    ASSERT_EQ(year.LeadIn(9), 3);

    CalEvent timed;
    timed.StartDate = At(2010, 9, 5, 10);
    timed.EndDate = At(2010, 9, 5, 11);
    PlaceEvent(timed, year);
    EXPECT_EQ(timed.StartMonth, 9);
    EXPECT_EQ(timed.EndMonth, 9);
    EXPECT_EQ(timed.StartDay, 8);
    EXPECT_EQ(timed.EndDay, 7);

    CalEvent allDay;
    allDay.StartDate = At(2010, 9, 5);
    allDay.EndDate = At(2010, 9, 6);
    PlaceEvent(allDay, year);
    EXPECT_EQ(allDay.StartDay, 8);
    EXPECT_EQ(allDay.EndDay, 8);
}

TEST(PlaceEvent, JulyStartMonthPositions)
{
    const PlannerYear year(2010, 7);
    CalEvent inYear;
    inYear.StartDate = At(2011, 3, 15);
    inYear.EndDate = At(2011, 3, 16);
    PlaceEvent(inYear, year);
    EXPECT_EQ(inYear.StartMonth, 3) << "the calendar month, not the row";
    EXPECT_EQ(year.RowOfMonth(inYear.StartMonth), 9);
    EXPECT_EQ(inYear.StartDay, year.LeadIn(9) + 15);

    CalEvent before;
    before.StartDate = At(2010, 3, 15);
    before.EndDate = At(2010, 7, 3);
    PlaceEvent(before, year);
    EXPECT_EQ(before.StartMonth, -3);
    EXPECT_EQ(before.StartDay, 0);
    EXPECT_EQ(before.EndMonth, 7);
    EXPECT_EQ(before.EndDay, year.LeadIn(1) + 2);

    CalEvent after;
    after.StartDate = At(2011, 8, 15);
    after.EndDate = At(2011, 8, 16);
    after.StartDay = 9; // a column outside the year keeps what it had
    PlaceEvent(after, year);
    EXPECT_EQ(after.StartMonth, 14);
    EXPECT_EQ(after.StartDay, 9);
}

TEST(EventKey, GeneralDateFormAndCase)
{
    CalEvent e;
    e.EventID = "AbC";
    e.StartDate = At(2010, 3, 5, 14, 30);
    EXPECT_EQ(EventKey(e), "3/5/10 2:30:00 PMAbC");
    e.StartDate = At(2010, 3, 5);
    EXPECT_EQ(EventKey(e), "3/5/10AbC") << "midnight shows no time";

    SetEventKeyLocale(QLocale(QLocale::German, QLocale::Germany));
    e.StartDate = At(2010, 3, 5, 14, 30, 5);
    EXPECT_EQ(EventKey(e), "05.03.10 14:30:05AbC") << "no time-zone name in a key";
    SetEventKeyLocale(QLocale());

    EventStore store;
    e.StartDate = At(2010, 3, 5, 9);
    EXPECT_TRUE(store.Add(std::make_unique<CalEvent>(e), EventKey(e)));
    CalEvent other = e;
    other.EventID = "abc";
    EXPECT_FALSE(store.Add(std::make_unique<CalEvent>(other), EventKey(other)))
        << "keys ignore letter case";
    EXPECT_NE(store.Find(EventKey(other)), nullptr);
    EXPECT_EQ(store.Count(), 1);
}

// The hover label and the keys show dates in the user's own short form; in every locale that
// text names its day, read near its year.
TEST(EventKey, TheGeneralDateNamesItsDayInEveryLocale)
{
    for (const QByteArray &name : UserLocaleNames()) {
        const ScopedLocale locale(name);
        GeneralDateFormat general;
        for (int year : LocaleTestYears()) {
            const QDate day(year, 12, 31);
            const QString text = general.dateText(day);
            double date = 0;
            ASSERT_TRUE(ParseFilterDate(text, QLocale(), date, year)) << text.toStdString();
            EXPECT_EQ(OADate::toDate(date), day) << name.toStdString() << " " << text.toStdString();
            EXPECT_TRUE(general.format(At(year, 12, 31, 9, 30)).startsWith(text + ' '));
        }
    }
}

TEST(EventStore, RecurringOccurrencesAndDuplicates)
{
    EventStore store;
    int from = 1;
    // Two occurrences of one item: two keys, one identifier.
    EXPECT_TRUE(InsertEventSorted(store, Event("R", At(2010, 1, 4, 9)), &from));
    EXPECT_TRUE(InsertEventSorted(store, Event("R", At(2010, 1, 11, 9)), &from));
    EXPECT_EQ(from, 2);
    EXPECT_FALSE(InsertEventSorted(store, Event("R", At(2010, 1, 11, 9))))
        << "same identifier and start";
    EXPECT_EQ(store.Count(), 2);
}

TEST(EventStore, InsertSortedGoesBeforeEqualStarts)
{
    EventStore store;
    const double t = At(2010, 5, 1, 9);
    for (const char *id : {"A", "B", "C"})
        ASSERT_TRUE(InsertEventSorted(store, Event(id, t)));
    ASSERT_TRUE(InsertEventSorted(store, Event("early", t - 1)));
    ASSERT_TRUE(InsertEventSorted(store, Event("late", t + 1)));
    ASSERT_TRUE(InsertEventSorted(store, Event("D", t)));
    EXPECT_EQ(IdsOf(store), QStringList({"early", "D", "C", "B", "A", "late"}));
    EXPECT_EQ(store.Item(2).EventID, "D");

    // The occurrence walk starts where the last one went in and ends up after the earlier ones.
    int from = 3;
    ASSERT_TRUE(InsertEventSorted(store, Event("occ1", t + 0.5), &from));
    ASSERT_TRUE(InsertEventSorted(store, Event("occ2", t + 2), &from));
    EXPECT_EQ(IdsOf(store), QStringList({"early", "D", "C", "B", "A", "occ1", "late", "occ2"}));
    EXPECT_EQ(from, 8);
}

TEST(EventStore, RemoveEventsOfIdentifier)
{
    EventStore store;
    for (int i = 0; i < 5; ++i) {
        InsertEventSorted(store, Event("X", At(2010, 1, 1 + i)));
        InsertEventSorted(store, Event(i % 2 ? "Y" : "x", At(2010, 1, 1 + i, 12)));
    }
    RemoveEventsOf(store, "X");
    EXPECT_EQ(IdsOf(store), QStringList({"x", "Y", "x", "Y", "x"})) << "identifiers are exact";
    CalEvent probe;
    probe.EventID = "X";
    probe.StartDate = At(2010, 1, 1);
    EXPECT_FALSE(store.Contains(EventKey(probe)));
    EXPECT_TRUE(InsertEventSorted(store, Event("X", At(2010, 1, 1)))) << "its keys are free again";
    EXPECT_TRUE(store.Remove(EventKey(probe)));
    EXPECT_FALSE(store.Remove(EventKey(probe)));
}

TEST(EventStore, AnEventsOwnKeyAndTheSameKeyAsTextAreOneKey)
{
    // Identifiers that mix ASCII with characters that fold to other characters, so the digest
    // goes both four characters at a time and one at a time, across the date text's end.
    const QStringList ids = {
        "abcdefgh",
        QString::fromUtf8("ab\u00c4cdEFGHijkl-\u212aelvin"), // Ä and the Kelvin sign
        QString::fromUtf8("x\U0001D400y\U00010400zz"),       // surrogate pairs, one with a case
    };
    const QStringList same = {
        "ABCDEFGH",
        QString::fromUtf8("AB\u00e4CDefghIJKL-kELVIN"),
        QString::fromUtf8("X\U0001D400Y\U00010428ZZ"),
    };
    for (int i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(ids[i].toStdString());
        ASSERT_EQ(ids[i].compare(same[i], Qt::CaseInsensitive), 0) << "the test's own premise";
        for (double start : {At(2026, 3, 1), At(2026, 3, 1, 14, 30, 5)}) {
            EventStore store;
            ASSERT_TRUE(store.Add(Event(ids[i], start)));
            CalEvent twin = *Event(same[i], start);
            EXPECT_FALSE(store.Add(std::make_unique<CalEvent>(twin))) << "the same key";
            EXPECT_FALSE(store.Add(std::make_unique<CalEvent>(twin), EventKey(twin)))
                << "the same key, as text";
            EXPECT_EQ(store.Find(EventKey(twin)), &store.Item(1));
            EXPECT_FALSE(store.Contains(EventKey(*Event(ids[i], start + 1))));

            // A key given as text is found through an event's own key too.
            EventStore texts;
            ASSERT_TRUE(texts.Add(Event("anything", 0), EventKey(twin).toUpper()));
            EXPECT_FALSE(texts.Add(Event(ids[i], start)));
            EXPECT_TRUE(texts.Remove(EventKey(twin)));
            EXPECT_TRUE(texts.Add(Event(ids[i], start)));
        }
    }
}

TEST(EventStore, ManyEventsStayFoundThroughRemovalsAndGrowth)
{
    // Enough events to grow the index several times and to make runs of neighbours that
    // removals must close up.
    EventStore store;
    QList<CalEvent> all;
    for (int i = 0; i < 3000; ++i) {
        const QString id = QString("id%1").arg(i % 700);
        auto e = Event(id, At(2026, 1, 1) + i / 700 + (i % 7) / 24.0);
        all.append(*e);
        if (i % 2)
            ASSERT_TRUE(store.Add(std::move(e)));
        else
            ASSERT_TRUE(store.Add(std::move(e), EventKey(all.last())));
    }
    ASSERT_EQ(store.Count(), 3000);
    for (int id = 0; id < 700; id += 3)
        EXPECT_GT(store.RemoveIf(QString("id%1").arg(id)), 0);
    int left = 0;
    for (const CalEvent &e : all) {
        const bool removed = e.EventID.mid(2).toInt() % 3 == 0;
        left += !removed;
        EXPECT_EQ(store.Contains(EventKey(e)), !removed) << e.EventID.toStdString();
    }
    EXPECT_EQ(store.Count(), left);
    for (const CalEvent &e : all)
        store.Remove(EventKey(e));
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(store.Add(Event("id1", At(2026, 1, 1))));
}

TEST(EventStore, EventsAddedByValueAndOnTheirOwnLiveTogether)
{
    // The loader's way in (by value, with the digest) beside events handed in on their own, which
    // keep their address; removals leave places that later events take.
    EventStore store;
    auto alone = Event("alone", At(2026, 5, 1));
    const CalEvent *aloneAt = alone.get();
    ASSERT_TRUE(store.Add(std::move(alone)));
    EXPECT_EQ(&store.Item(1), aloneAt);
    for (int i = 0; i < 600; ++i) {
        CalEvent e = *Event(QString("v%1").arg(i), At(2026, 1, 1) + i / 10.0);
        e.Subject = QString("subject %1").arg(i);
        const size_t digest = EventStore::KeyDigest(e);
        ASSERT_TRUE(store.Add(std::move(e), digest));
    }
    CalEvent twin = *Event("V7", At(2026, 1, 1) + 0.7);
    EXPECT_FALSE(store.Add(CalEvent(twin), EventStore::KeyDigest(twin))) << "a duplicate key";
    EXPECT_EQ(store.Count(), 601);

    for (int i = 0; i < 600; i += 2)
        EXPECT_EQ(store.RemoveIf(QString("v%1").arg(i)), 1);
    for (int i = 0; i < 300; ++i) {
        CalEvent e = *Event(QString("w%1").arg(i), At(2026, 2, 1) + i);
        e.Subject = QString("again %1").arg(i);
        ASSERT_TRUE(store.Add(CalEvent(e), EventStore::KeyDigest(e)));
    }
    ASSERT_TRUE(InsertEventSorted(store, Event("sorted", At(2026, 1, 2))));

    EventStore moved;
    moved.Add(Event("to be replaced", 1));
    moved = std::move(store);
    EXPECT_EQ(moved.Count(), 602);
    EXPECT_EQ(store.Count(), 0);
    for (int i = 1; i < 600; i += 2) {
        const CalEvent *e =
            moved.Find(EventKey(*Event(QString("v%1").arg(i), At(2026, 1, 1) + i / 10.0)));
        ASSERT_NE(e, nullptr) << i;
        EXPECT_EQ(e->Subject, QString("subject %1").arg(i));
    }
    for (int i = 0; i < 300; ++i) {
        const CalEvent *e = moved.Find(EventKey(*Event(QString("w%1").arg(i), At(2026, 2, 1) + i)));
        ASSERT_NE(e, nullptr) << i;
        EXPECT_EQ(e->Subject, QString("again %1").arg(i));
    }
    EXPECT_EQ(moved.Find(EventKey(*Event("alone", At(2026, 5, 1)))), aloneAt);
    EXPECT_EQ(IdsOf(moved).mid(0, 3), (QStringList{"sorted", "alone", "v1"}))
        << "the first event starts later than the sorted one";
    EXPECT_TRUE(moved.Remove(EventKey(*Event("alone", At(2026, 5, 1)))));
}

TEST(EventStore, ACloneIsACopyUnderTheSameKeys)
{
    EventStore store;
    for (int i = 0; i < 300; ++i) {
        CalEvent e = *Event(QString("v%1").arg(i), At(2026, 1, 1) + i);
        store.Add(CalEvent(e), EventStore::KeyDigest(e));
    }
    ASSERT_TRUE(store.Add(Event("texted", 5), "a key of its own"));
    store.SetBand(store.Item(2), 7);

    EventStore copy = store.clone();
    EXPECT_EQ(IdsOf(copy), IdsOf(store));
    EXPECT_EQ(copy.Item(2).Band, 7);
    EXPECT_NE(&copy.Item(2), &store.Item(2));
    EXPECT_TRUE(copy.Contains("A KEY OF ITS OWN"));
    EXPECT_FALSE(copy.Add(Event("V12", At(2026, 1, 13)))) << "the keys are indexed";
    // Changes to one leave the other alone.
    copy.SetBand(copy.Item(2), 3);
    store.RemoveIf("v0");
    EXPECT_EQ(store.Item(1).Band, 7);
    EXPECT_EQ(copy.Count(), 301);
    EXPECT_EQ(copy.Item(1).EventID, "v0");
}

TEST(EventStore, KeysFollowTheKeyLocale)
{
    // The digest of the date part is kept from one event to the next with the same start; a new
    // key locale must not find the old one's.
    const double start = At(2026, 3, 5, 14, 30, 5);
    EventStore english;
    ASSERT_TRUE(english.Add(Event("id", start)));
    SetEventKeyLocale(QLocale(QLocale::German, QLocale::Germany));
    EventStore german;
    ASSERT_TRUE(german.Add(Event("id", start)));
    EXPECT_NE(german.Find("05.03.26 14:30:05id"), nullptr);
    SetEventKeyLocale(QLocale());
    EXPECT_NE(english.Find(EventKey(*Event("id", start))), nullptr);
}

TEST(CategoryIndexOf, FirstListedCategoryWins)
{
    const QStringList table = {"Holiday", "Work", "Travel", "Family", "Training", "Other"};
    struct Row
    {
        const char *name;
        QString text;
        QString separator;
        bool hide;
        int expected;
    } rows[] = {
        {"first listed wins over table order", "Training, Work", ", ", false, 5},
        {"pieces are trimmed", "  Travel  ,  Work", ", ", false, 3},
        {"no match gives the catch-all", "Unknown, Nothing", ", ", false, 6},
        {"no match hidden", "Unknown", ", ", true, -1},
        {"empty text", "", ", ", false, 6},
        {"empty text hidden", "", ", ", true, -1},
        {"letter case matters", "work", ", ", false, 6},
        {"semicolon separator", "Nope; Family", "; ", false, 4},
        {"a comma is no separator then", "Nope, Family", "; ", false, 6},
        {"later piece matches", "Nope, Holiday", ", ", false, 1},
    };
    for (const Row &r : rows)
        EXPECT_EQ(CategoryIndexOf(r.text, table, r.separator, r.hide), r.expected) << r.name;
}
