#include "icalitem_p.h"
#include "oadate.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString Corpus(const QString &rel)
{
    return QStringLiteral(QUORVEL_CORPUS) + '/' + rel;
}

// The corpus lies in shared/ beside the checkout; without it there is nothing to check.
#define REQUIRE_CORPUS()                                                                           \
    if (!QFile::exists(Corpus("README.md")))                                                       \
    GTEST_SKIP() << "no corpus at " << QUORVEL_CORPUS << " (shared/ beside the checkout)"

std::unique_ptr<IcalItem> Parse(const QByteArray &text)
{
    QString problem;
    auto item = IcalItem::parse(text, &problem);
    EXPECT_TRUE(item) << qPrintable(problem);
    return item;
}

std::unique_ptr<IcalItem> Event(const QByteArray &lines)
{
    return Parse("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:t\r\n" + lines +
                 "END:VEVENT\r\nEND:VCALENDAR\r\n");
}

QStringList Starts(const QList<IcalItem::Occurrence> &occurrences, bool withTime = true)
{
    QStringList out;
    for (const auto &o : occurrences)
        out << (withTime ? OADate::toDateTime(o.start).toString("yyyyMMdd'T'HHmmss")
                         : OADate::toDate(o.start).toString("yyyyMMdd"));
    return out;
}

const double kFar = OADate::kMax - 10;
const double kPast = OADate::kMin + 10;

} // namespace

TEST(Corpus, RecurTxtCountsMatchTheirExpectations)
{
    // Each VEVENT of libical's recur.txt names the number of instances it must give.
    REQUIRE_CORPUS();
    QFile f(Corpus("libical/recur.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression block("^BEGIN:VEVENT.*?END:VEVENT",
                                          QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::MultilineOption);
    static const QRegularExpression expect("X-EXPECT-NUMEVENTS:\\s*(\\d+)");
    int checked = 0;
    for (auto m = block.globalMatch(text); m.hasNext();) {
        const QString event = m.next().captured(0);
        const auto e = expect.match(event);
        if (!e.hasMatch())
            continue;
        if (event.contains("EXRULE"))
            continue; // withdrawn from the standard; not expanded here
        QString problem;
        auto item = IcalItem::parse(
            ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + event + "\r\nEND:VCALENDAR\r\n").toUtf8(),
            &problem);
        ASSERT_TRUE(item) << qPrintable(problem) << qPrintable(event);
        EXPECT_EQ(item->occurrences(kPast, kFar).size(), e.captured(1).toInt())
            << qPrintable(event.left(200));
        ++checked;
    }
    EXPECT_GE(checked, 40);
}

TEST(Corpus, RuleInstancesFromLibicalsOwnTable)
{
    // icalrecur_test.txt lists RRULE, DTSTART and the exact instances. Floating starts, so the
    // local times are the instances themselves. The table comes from a later libical than
    // Debian's 3.0.16, which expands some rare combinations differently (set positions, week
    // numbers, negative month days, rules below a day): those are listed, and every common rule
    // must match exactly.
    REQUIRE_CORPUS();
    QFile f(Corpus("libical/icalrecur_test.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString rrule, dtstart;
    int checked = 0;
    QStringList differing;
    for (const QByteArray &raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith("RRULE:"))
            rrule = line;
        else if (line.startsWith("DTSTART"))
            dtstart = line;
        else if (line.startsWith("START-AT") || line.startsWith("#"))
            continue;
        if (!line.startsWith("INSTANCES:") || rrule.contains("RSCALE") ||
            dtstart.contains("TZID") || dtstart.endsWith('Z') || rrule.isEmpty())
            continue;
        const QStringList expected = line.mid(10).split(',', Qt::SkipEmptyParts);
        QString problem;
        auto item = IcalItem::parse(("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:t\r\n" + dtstart +
                                     "\r\n" + rrule + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
                                        .toUtf8(),
                                    &problem);
        if (!item) {
            ADD_FAILURE() << qPrintable(dtstart + " " + rrule + ": " + problem);
            continue;
        }
        const bool dates = !dtstart.section(':', 1).contains('T');
        QStringList got = Starts(item->occurrences(kPast, kFar), !dates);
        got = got.mid(0, expected.size());
        static const QRegularExpression rare(
            "BYSETPOS|BYWEEKNO|SECONDLY|MINUTELY|HOURLY|BYMINUTE|BYSECOND|=-|,-");
        ++checked;
        if (got != expected) {
            if (rare.match(rrule).hasMatch())
                differing << rrule;
            else
                ADD_FAILURE() << qPrintable(rrule + " from " + dtstart + ": " + got.join(','));
        }
        rrule.clear();
        dtstart.clear();
    }
    EXPECT_GE(checked, 100);
    std::printf("%d rules checked; rare rules libical 3.0.16 expands otherwise: %d\n", checked,
                int(differing.size()));
}

TEST(Recurrence, HandCheckedSeries)
{
    // Checked by hand on a 2002 calendar: Tuesday 2 April 2002, six instances on Tuesdays and
    // Wednesdays are 2, 3, 9, 10, 16 and 17 April.
    auto weekly = Event("DTSTART:20020402T114500\r\nDTEND:20020402T124500\r\n"
                        "RRULE:FREQ=WEEKLY;COUNT=6;BYDAY=TU,WE\r\n");
    EXPECT_EQ(Starts(weekly->occurrences(kPast, kFar)),
              QStringList({"20020402T114500", "20020403T114500", "20020409T114500",
                           "20020410T114500", "20020416T114500", "20020417T114500"}));

    // Monthly on the 31st skips the shorter months (2026: January, March, May, July).
    auto monthly = Event("DTSTART;VALUE=DATE:20260131\r\nRRULE:FREQ=MONTHLY;COUNT=4\r\n");
    EXPECT_EQ(Starts(monthly->occurrences(kPast, kFar), false),
              QStringList({"20260131", "20260331", "20260531", "20260731"}));
}

// The start is always the first instance of the set: a rule whose UNTIL lies before it repeats
// nothing, and the start shows as a one-off, in any range that holds it.
TEST(Recurrence, UntilBeforeTheStartLeavesTheStart)
{
    struct Row
    {
        const char *name;
        QByteArray lines;
        QStringList expected;
    } rows[] = {
        {"timed, UNTIL in UTC",
         "DTSTART:20260310T090000\r\nDTEND:20260310T100000\r\n"
         "RRULE:FREQ=DAILY;UNTIL=20260301T000000Z\r\n",
         {"20260310T090000"}},
        {"whole days, UNTIL a date",
         "DTSTART;VALUE=DATE:20260310\r\n"
         "RRULE:FREQ=WEEKLY;UNTIL=20260309\r\n",
         {"20260310T000000"}},
        {"with a COUNT too",
         "DTSTART:20260310T090000\r\nRRULE:FREQ=DAILY;COUNT=5;UNTIL=20250101T000000Z\r\n",
         {"20260310T090000"}},
        {"an RDATE still adds its day",
         "DTSTART:20260310T090000\r\nRRULE:FREQ=DAILY;UNTIL=20260301T000000Z\r\n"
         "RDATE:20260320T090000\r\n",
         {"20260310T090000", "20260320T090000"}},
        {"UNTIL on the start keeps the start once",
         "DTSTART:20260310T090000\r\n"
         "RRULE:FREQ=DAILY;UNTIL=20260310T090000\r\n",
         {"20260310T090000"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto item = Event(row.lines);
        ASSERT_TRUE(item);
        EXPECT_EQ(Starts(item->occurrences(kPast, kFar)), row.expected);
        EXPECT_EQ(Starts(item->occurrences(At(2026, 3, 1), At(2026, 3, 31))), row.expected)
            << "in a range";
        EXPECT_TRUE(item->occurrences(At(2026, 4, 1), At(2026, 4, 30)).isEmpty());
    }
}

// Two masters of one UID in one file (an edited copy a client left behind): the newest is the
// event, by SEQUENCE, then LAST-MODIFIED, then DTSTAMP, then the later in the file.
TEST(IcalItem, TheNewestCopyOfAnEventIsTheEvent)
{
    auto copy = [](const QByteArray &subject, const QByteArray &lines) {
        return "BEGIN:VEVENT\r\nUID:dup\r\nSUMMARY:" + subject + "\r\n" + lines +
               "DTSTART;VALUE=DATE:20260310\r\nEND:VEVENT\r\n";
    };
    struct Row
    {
        const char *name;
        QByteArray first, second;
        const char *expected;
    } rows[] = {
        {"the higher SEQUENCE", copy("new", "SEQUENCE:2\r\nDTSTAMP:20200101T000000Z\r\n"),
         copy("old", "SEQUENCE:1\r\nDTSTAMP:20250101T000000Z\r\n"), "new"},
        {"no SEQUENCE counts as 0", copy("old", "DTSTAMP:20250101T000000Z\r\n"),
         copy("new", "SEQUENCE:1\r\n"), "new"},
        {"then the later LAST-MODIFIED", copy("old", "LAST-MODIFIED:20250101T000000Z\r\n"),
         copy("new", "LAST-MODIFIED:20250102T000000Z\r\nDTSTAMP:20200101T000000Z\r\n"), "new"},
        {"then the later DTSTAMP", copy("new", "DTSTAMP:20250102T000000Z\r\n"),
         copy("old", "DTSTAMP:20250101T000000Z\r\n"), "new"},
        {"then the later in the file", copy("old", "DTSTAMP:20250101T000000Z\r\n"),
         copy("new", "DTSTAMP:20250101T000000Z\r\n"), "new"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray text =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + row.first + row.second + "END:VCALENDAR\r\n";
        QString problem;
        auto item = IcalItem::parse(text, &problem);
        ASSERT_TRUE(item);
        EXPECT_EQ(IcalItem::textOf(item->master(), "SUMMARY"), row.expected);
        EXPECT_EQ(problem, "1 older copies of the event ignored");
        EXPECT_EQ(item->occurrences(kPast, kFar).size(), 1) << "one event, not two";
        // Import reads a calendar by the same rule.
        QStringList notes;
        const auto imported = IcalItem::split(text, &notes);
        ASSERT_EQ(imported.size(), 1);
        EXPECT_EQ(IcalItem::textOf(imported[0]->master(), "SUMMARY"), row.expected);
    }
}

// Where the RFC is silent or lenient readers differ, what the store makes of it: every
// instance as start and end.
TEST(Recurrence, WhatTheStoreMakesOfTheRfcsCorners)
{
    auto spans = [](const QList<IcalItem::Occurrence> &occurrences) {
        QStringList out;
        for (const auto &o : occurrences)
            out << OADate::toDateTime(o.start).toString("yyyyMMdd'T'HHmm") + "-" +
                       OADate::toDateTime(o.end).toString("yyyyMMdd'T'HHmm");
        return out;
    };
    struct Row
    {
        const char *name;
        QByteArray events;
        QStringList expected;
    } rows[] = {
        {"a timed event ending as it starts is an instant",
         "BEGIN:VEVENT\r\nUID:t\r\nDTSTART:20260310T090000\r\nDTEND:20260310T090000\r\nEND:"
         "VEVENT\r\n",
         {"20260310T0900-20260310T0900"}},
        {"a whole day ending as it starts is one day",
         "BEGIN:VEVENT\r\nUID:t\r\nDTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260310\r\nEND:"
         "VEVENT\r\n",
         {"20260310T0000-20260311T0000"}},
        {"a zero DURATION is an instant",
         "BEGIN:VEVENT\r\nUID:t\r\nDTSTART:20260310T090000\r\nDURATION:PT0S\r\nEND:VEVENT\r\n",
         {"20260310T0900-20260310T0900"}},
        {"a negative DURATION is taken as none",
         "BEGIN:VEVENT\r\nUID:t\r\nDTSTART:20260310T090000\r\nDURATION:-PT1H\r\nEND:VEVENT\r\n",
         {"20260310T0900-20260310T0900"}},
        {"an RDATE period keeps its own length",
         "BEGIN:VEVENT\r\nUID:t\r\nDTSTART:20260310T090000\r\nDTEND:20260310T100000\r\n"
         "RDATE;VALUE=PERIOD:20260320T140000/20260320T170000\r\nEND:VEVENT\r\n",
         {"20260310T0900-20260310T1000", "20260320T1400-20260320T1700"}},
        {"an EXDATE day takes out that day's instance of a timed series",
         "BEGIN:VEVENT\r\nUID:t\r\nDTSTART:20260310T090000\r\nDTEND:20260310T093000\r\n"
         "RRULE:FREQ=DAILY;COUNT=3\r\nEXDATE;VALUE=DATE:20260311\r\nEND:VEVENT\r\n",
         {"20260310T0900-20260310T0930", "20260312T0900-20260312T0930"}},
        {"an override before its master still replaces its instance",
         "BEGIN:VEVENT\r\nUID:t\r\nRECURRENCE-ID:20260311T090000\r\nDTSTART:20260311T150000\r\n"
         "DTEND:20260311T160000\r\nEND:VEVENT\r\n"
         "BEGIN:VEVENT\r\nUID:t\r\nDTSTART:20260310T090000\r\nDTEND:20260310T093000\r\n"
         "RRULE:FREQ=DAILY;COUNT=3\r\nEND:VEVENT\r\n",
         {"20260310T0900-20260310T0930", "20260311T1500-20260311T1600",
          "20260312T0900-20260312T0930"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QString problem;
        auto item = IcalItem::parse(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + row.events + "END:VCALENDAR\r\n", &problem);
        ASSERT_TRUE(item) << problem.toStdString();
        EXPECT_EQ(spans(item->occurrences(kPast, kFar)), row.expected);
    }
}

TEST(Recurrence, ExdateRdateAndOverrides)
{
    auto item = Parse("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                      "BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Stand-up\r\n"
                      "DTSTART:20260105T090000\r\nDTEND:20260105T091500\r\n"
                      "RRULE:FREQ=DAILY;COUNT=5\r\n"
                      "EXDATE:20260106T090000\r\n"
                      "RDATE:20260110T100000\r\n"
                      "END:VEVENT\r\n"
                      "BEGIN:VEVENT\r\nUID:s\r\nRECURRENCE-ID:20260107T090000\r\n"
                      "SUMMARY:Stand-up (moved)\r\n"
                      "DTSTART:20260107T113000\r\nDTEND:20260107T114500\r\nEND:VEVENT\r\n"
                      "BEGIN:VEVENT\r\nUID:s\r\nRECURRENCE-ID:20260108T090000\r\n"
                      "STATUS:CANCELLED\r\nDTSTART:20260108T090000\r\nEND:VEVENT\r\n"
                      "END:VCALENDAR\r\n");
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isRecurring());
    const auto occ = item->occurrences(kPast, kFar);
    EXPECT_EQ(Starts(occ), QStringList({"20260105T090000", "20260107T113000", "20260109T090000",
                                        "20260110T100000"}));
    EXPECT_TRUE(occ[1].isException);
    EXPECT_EQ(IcalItem::textOf(occ[1].source, "SUMMARY"), "Stand-up (moved)");
    EXPECT_NEAR(occ[3].end - occ[3].start, 0.25 / 24, 1e-9) << "an RDATE instance keeps the length";

    // Deleting one instance writes an EXDATE; deleting the moved one drops its override too.
    auto copy = item->clone();
    copy->excludeInstance(occ[0]);
    copy->excludeInstance(copy->occurrences(kPast, kFar)[0]); // now the moved one
    EXPECT_EQ(Starts(copy->occurrences(kPast, kFar)),
              QStringList({"20260109T090000", "20260110T100000"}));
    EXPECT_EQ(copy->overrides().size(), 1) << "the cancelled override stays";
}

TEST(Recurrence, OnlyTheRangeIsExpanded)
{
    // A daily event since 1990: asking for one year gives that year's instances only.
    auto daily = Event("DTSTART:19900101T080000\r\nDTEND:19900101T083000\r\nRRULE:FREQ=DAILY\r\n");
    const auto year = daily->occurrences(At(2026, 1, 1), At(2026, 12, 31, 23, 59));
    ASSERT_FALSE(year.isEmpty());
    EXPECT_EQ(OADate::toDate(year.first().start), QDate(2026, 1, 1));
    EXPECT_EQ(OADate::toDate(year.last().start), QDate(2026, 12, 31));
    EXPECT_EQ(year.size(), 365);
}

TEST(TimeZones, ForeignZonesDaylightSavingAndFloating)
{
    // The tests run in Europe/Berlin. A weekly 09:00 meeting in New York is 15:00 here, but 14:00
    // in the weeks when New York has moved its clocks (8 March 2026) and Berlin not yet (29 March).
    auto ny = Event("DTSTART;TZID=America/New_York:20260302T090000\r\n"
                    "DTEND;TZID=America/New_York:20260302T100000\r\n"
                    "RRULE:FREQ=WEEKLY;COUNT=5\r\n");
    EXPECT_EQ(Starts(ny->occurrences(kPast, kFar)),
              QStringList({"20260302T150000", "20260309T140000", "20260316T140000",
                           "20260323T140000", "20260330T150000"}));

    // A Windows zone name without VTIMEZONE is the zone it names.
    auto windows = Event("DTSTART;TZID=W. Europe Standard Time:20260615T090000\r\n"
                         "DTEND;TZID=W. Europe Standard Time:20260615T100000\r\n");
    EXPECT_EQ(Starts(windows->occurrences(kPast, kFar)), QStringList{"20260615T090000"});

    // UTC, floating and unknown zones.
    auto utc = Event("DTSTART:20260115T120000Z\r\nDTEND:20260115T130000Z\r\n");
    EXPECT_EQ(Starts(utc->occurrences(kPast, kFar)), QStringList{"20260115T130000"});
    auto floating = Event("DTSTART:20260715T090000\r\nDTEND:20260715T100000\r\n");
    EXPECT_EQ(Starts(floating->occurrences(kPast, kFar)), QStringList{"20260715T090000"});
    auto unknown = Event("DTSTART;TZID=Mars/Olympus:20260715T090000\r\n");
    EXPECT_EQ(Starts(unknown->occurrences(kPast, kFar)), QStringList{"20260715T090000"})
        << "an unknown zone is taken as local time";

    // Whole days run from midnight to the midnight after the last day.
    auto days = Event("DTSTART;VALUE=DATE:20260720\r\nDTEND;VALUE=DATE:20260723\r\n");
    const IcalItem::Times t = days->times();
    EXPECT_TRUE(t.allDay);
    EXPECT_EQ(t.start, At(2026, 7, 20));
    EXPECT_EQ(t.end, At(2026, 7, 23));
}

// A calendar that names its zone with X-WR-TIMEZONE: its floating times are times of that zone
// (09:00 in New York is 15:00 here), zoned and UTC times keep theirs, whole days stay days.
TEST(TimeZones, FloatingTimesOfACalendarThatNamesItsZone)
{
    auto calendar = [](const QByteArray &zone, const QByteArray &lines) {
        return Parse("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-TIMEZONE:" + zone +
                     "\r\nBEGIN:VEVENT\r\nUID:w\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n");
    };
    struct Row
    {
        const char *name;
        QByteArray zone, lines;
        QStringList expected;
    } rows[] = {
        {"floating in New York",
         "America/New_York",
         "DTSTART:20260302T090000\r\nDTEND:20260302T100000\r\nRRULE:FREQ=WEEKLY;COUNT=2\r\n",
         {"20260302T150000", "20260309T140000"}},
        {"a zoned time keeps its zone",
         "America/New_York",
         "DTSTART;TZID=Asia/Tokyo:20260302T090000\r\n",
         {"20260302T010000"}},
        {"UTC stays UTC", "America/New_York", "DTSTART:20260302T090000Z\r\n", {"20260302T100000"}},
        {"whole days stay days",
         "America/New_York",
         "DTSTART;VALUE=DATE:20260302\r\n",
         {"20260302T000000"}},
        {"the planner's own zone is local time",
         "Europe/Berlin",
         "DTSTART:20260302T090000\r\n",
         {"20260302T090000"}},
        {"an unknown zone leaves floating times local",
         "Mars/Olympus",
         "DTSTART:20260302T090000\r\n",
         {"20260302T090000"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto item = calendar(row.zone, row.lines);
        ASSERT_TRUE(item);
        EXPECT_EQ(Starts(item->occurrences(kPast, kFar)), row.expected);
        // Anchored as an import does, the item needs the calendar's zone name no more.
        QString unknown;
        EXPECT_EQ(item->anchorFloatingTimes(&unknown), row.zone != "Mars/Olympus");
        QByteArray stored = item->serialize();
        stored.replace("X-WR-TIMEZONE:" + row.zone + "\r\n", "");
        auto alone = Parse(stored);
        ASSERT_TRUE(alone) << stored.constData();
        if (row.zone != "Mars/Olympus")
            EXPECT_EQ(Starts(alone->occurrences(kPast, kFar)), row.expected) << stored.constData();
        else
            EXPECT_EQ(unknown, "Mars/Olympus");
    }
    {
        // A rule's end, excluded and added instances and a moved one move with the start.
        auto item = calendar("America/New_York",
                             "DTSTART:20260302T090000\r\nDTEND:20260302T100000\r\n"
                             "RRULE:FREQ=DAILY;UNTIL=20260305T090000\r\nEXDATE:20260303T090000\r\n"
                             "RDATE:20260310T090000\r\n");
        ASSERT_TRUE(item);
        const QStringList before = Starts(item->occurrences(kPast, kFar));
        EXPECT_EQ(before, QStringList({"20260302T150000", "20260304T150000", "20260305T150000",
                                       "20260310T140000"}));
        ASSERT_TRUE(item->anchorFloatingTimes());
        const QByteArray stored = item->serialize();
        EXPECT_TRUE(stored.contains("DTSTART;TZID=America/New_York:20260302T090000"))
            << stored.constData();
        EXPECT_TRUE(stored.contains("UNTIL=20260305T140000Z")) << stored.constData();
        EXPECT_TRUE(stored.contains("BEGIN:VTIMEZONE\r\n") &&
                    stored.contains("\nTZID:America/New_York\r\n"))
            << stored.constData();
        EXPECT_EQ(Starts(Parse(QByteArray(stored).replace("X-WR-TIMEZONE:America/New_York\r\n", ""))
                             ->occurrences(kPast, kFar)),
                  before);
    }
    // Imported, each item keeps the calendar's zone and reads the same.
    QStringList notes;
    const auto imported =
        IcalItem::split("BEGIN:VCALENDAR\r\nX-WR-TIMEZONE:America/New_York\r\n"
                        "BEGIN:VEVENT\r\nUID:a\r\nDTSTART:20260302T090000\r\nEND:VEVENT\r\n"
                        "BEGIN:VEVENT\r\nUID:b\r\nDTSTART:20260303T090000\r\nEND:VEVENT\r\n"
                        "END:VCALENDAR\r\n",
                        &notes);
    ASSERT_EQ(imported.size(), 2);
    EXPECT_EQ(Starts(imported[1]->occurrences(kPast, kFar)), QStringList{"20260303T150000"});
    auto again = Parse(imported[1]->serialize());
    ASSERT_TRUE(again);
    EXPECT_EQ(Starts(again->occurrences(kPast, kFar)), QStringList{"20260303T150000"})
        << "as stored";
}

TEST(TimeZones, CustomVtimezone)
{
    // A zone the system does not know, defined in the file: UTC+3 without daylight saving.
    auto item = Parse("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                      "BEGIN:VTIMEZONE\r\nTZID:Custom Plus Three\r\n"
                      "BEGIN:STANDARD\r\nDTSTART:19700101T000000\r\nTZOFFSETFROM:+0300\r\n"
                      "TZOFFSETTO:+0300\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
                      "BEGIN:VEVENT\r\nUID:c\r\nDTSTART;TZID=Custom Plus Three:20260115T120000\r\n"
                      "DTEND;TZID=Custom Plus Three:20260115T130000\r\nEND:VEVENT\r\n"
                      "END:VCALENDAR\r\n");
    ASSERT_TRUE(item);
    EXPECT_EQ(Starts(item->occurrences(kPast, kFar)), QStringList{"20260115T100000"});
}

TEST(IcalItem, WritingKeepsWhatOthersWrote)
{
    auto item = Event("SUMMARY:Old\r\nDTSTART;TZID=America/New_York:20260302T090000\r\n"
                      "DTEND;TZID=America/New_York:20260302T100000\r\n"
                      "X-OTHER-CLIENT:keep me\r\nATTENDEE:mailto:ana@example.org\r\n");
    item->setText("SUMMARY", "New, with; punctuation");
    item->setCategories({"Travel", "Work"});
    item->setTimes(At(2026, 3, 2, 16), At(2026, 3, 2, 17), false);
    item->setReminderSet(true);
    const QByteArray text = item->serialize();
    EXPECT_TRUE(text.contains("X-OTHER-CLIENT:keep me"));
    EXPECT_TRUE(text.contains("ATTENDEE:mailto:ana@example.org"));
    EXPECT_TRUE(text.contains("TZID=America/New_York:20260302T100000")) << "keeps the series' zone";

    auto back = Parse(text);
    EXPECT_EQ(back->text("SUMMARY"), "New, with; punctuation");
    EXPECT_EQ(back->categories(), QStringList({"Travel", "Work"}));
    EXPECT_EQ(back->times().start, At(2026, 3, 2, 16));
    EXPECT_TRUE(back->reminderSet());
}

TEST(IcalItem, NamedValuesSurviveAnyText)
{
    auto item = IcalItem::create();
    item->setTimes(At(2011, 1, 1, 1, 30), At(2011, 1, 1, 1, 30), false);
    const QString set = "{FFF40745-D92F-4C11-9E14-92701F001EB3}";
    const QString tricky = "Sales, North; \"East\" \\ 100% — Ümläut\nsecond line";
    item->setNamedValue(set, "Category1", 30, tricky);
    item->setNamedValue(set, "Colour1", 3, "-16777216");
    const QByteArray text = item->serialize();
    // No comma or semicolon of the value reaches the file unencoded.
    const qsizetype line = text.indexOf("X-QUORVEL-PROP");
    EXPECT_FALSE(
        text.mid(text.indexOf(':', text.indexOf("X-NAME=Category1", line)), 20).contains(','));
    auto back = Parse(text);
    QString value;
    int type = 0;
    ASSERT_TRUE(back->namedValue(set.toLower(), "Category1", value, type));
    EXPECT_EQ(value, tricky);
    EXPECT_EQ(type, 30);
    ASSERT_TRUE(back->namedValue(set, "Colour1", value, type));
    EXPECT_EQ(value, "-16777216");
    EXPECT_FALSE(back->namedValue(set, "Category2", value, type));
}

TEST(IcalItem, BadInputIsRefusedWithAReason)
{
    QString problem;
    EXPECT_FALSE(IcalItem::parse("", &problem));
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_FALSE(IcalItem::parse("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n", &problem));
    EXPECT_FALSE(IcalItem::parse("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nSUMMARY:no start\r\n"
                                 "END:VEVENT\r\nEND:VCALENDAR\r\n",
                                 &problem));
    EXPECT_EQ(problem, "the event has no valid start");
    // Two UIDs in one file: the first makes the item, the others are named in the problem.
    problem.clear();
    auto two =
        IcalItem::parse("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTART:20260101T100000\r\n"
                        "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:b\r\nDTSTART:20260102T100000\r\n"
                        "END:VEVENT\r\nEND:VCALENDAR\r\n",
                        &problem);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->uid(), "a");
    EXPECT_EQ(problem, "1 events of other UIDs ignored");
}
