#include "icalitem_p.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

// Calendars made to hurt: each is left out with a line naming its file, or taken in a stated
// way, while the rest of its folder shows; nothing takes the machine's memory or time.

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVEL_SANITIZED 1
#endif
#endif
#ifndef QUORVEL_SANITIZED
#define QUORVEL_SANITIZED 0
#endif

namespace {

QByteArray Calendar(const QByteArray &body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

QByteArray Event(const QByteArray &uid, const QByteArray &lines)
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n" + lines +
           "END:VEVENT\r\n";
}

// One event with 200 daily rules: 73,000 repetitions in a year.
QByteArray ManyRules()
{
    QByteArray lines = "SUMMARY:Rules\r\nDTSTART:20260101T090000\r\nDTEND:20260101T100000\r\n";
    for (int i = 0; i < 200; ++i)
        lines += "RRULE:FREQ=DAILY;INTERVAL=1;BYMINUTE=" + QByteArray::number(i % 60) + "\r\n";
    return Calendar(Event("rules", lines));
}

// A daily series of a year whose 5,000 overrides name 366 of its days again and again.
QByteArray RepeatedOverrides()
{
    QByteArray body = Event(
        "series", "SUMMARY:Daily\r\nDTSTART;VALUE=DATE:20260101\r\nRRULE:FREQ=DAILY;COUNT=365\r\n");
    for (int i = 0; i < 5000; ++i) {
        const QDate day = QDate(2026, 1, 1).addDays(i % 365);
        const QByteArray d = day.toString("yyyyMMdd").toLatin1();
        body += Event("series", "RECURRENCE-ID;VALUE=DATE:" + d + "\r\nSEQUENCE:" +
                                    QByteArray::number(i / 365) + "\r\nSUMMARY:Moved " +
                                    QByteArray::number(i) + "\r\nDTSTART;VALUE=DATE:" + d + "\r\n");
    }
    return Calendar(body);
}

struct ToolRun
{
    int code = -1;
    QString out, err;
    bool finished = false;
};

// A tool in a child process that may use 500 MB of data at the most; a hang shows as not finished.
ToolRun Tool(const QString &program, const QStringList &args, const QTemporaryDir &dir)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMP", dir.path());
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    p.setProcessEnvironment(env);
#if !QUORVEL_SANITIZED // the sanitizers' shadow memory alone is larger than any such limit
    p.setChildProcessModifier([] {
        const rlimit data{rlim_t(500) << 20, rlim_t(500) << 20};
        ::setrlimit(RLIMIT_DATA, &data);
    });
#endif
    p.start(program, args);
    ToolRun r;
    r.finished = p.waitForFinished(60000);
    if (!r.finished)
        p.kill();
    p.waitForFinished();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class HostileFolder : public ::testing::Test
{
protected:
    HostileFolder()
    {
        QDir().mkpath(folder);
        WriteAll(dir.filePath("Team/.quorvel-store"), "[Store]\nName=Team\nUserName=Ana\n");
        put("fair.ics",
            Calendar(Event(
                "fair",
                "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260313\r\n")));
    }
    void put(const QString &name, const QByteArray &text) { WriteAll(folder + "/" + name, text); }
    ToolRun list(const QStringList &extra = {})
    {
        return Tool(QUORVEL_LIST,
                    QStringList{"--store", dir.filePath("Team")} + extra +
                        QStringList{"Team\\Calendar", "2026-01-01", "2026-12-31"},
                    dir);
    }
    static int rows(const ToolRun &r, const QString &uid = QString())
    {
        int n = 0;
        for (const QString &line : r.out.split('\n', Qt::SkipEmptyParts))
            n += uid.isEmpty() || line.contains(uid);
        return n;
    }

    QTemporaryDir dir;
    const QString folder = dir.filePath("Team/Calendar");
};

} // namespace

TEST_F(HostileFolder, FilesTooLargeOrOfNoKindAreLeftOutByName)
{
    // A link to a huge (sparse) file, a file of one 10 MB line, and a pipe named like an item.
    {
        QFile huge(dir.filePath("huge.bin"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(qint64(3) << 30));
    }
    ASSERT_TRUE(QFile::link(dir.filePath("huge.bin"), folder + "/linked.ics"));
    put("long-line.ics",
        Calendar(Event("long", "SUMMARY:Long\r\nDTSTART;VALUE=DATE:20260401\r\nDESCRIPTION:" +
                                   QByteArray(10 << 20, 'x') + "\r\n")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/pipe.ics").constData(), 0600), 0);

    const ToolRun r = list();
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(rows(r), 1);
    EXPECT_EQ(rows(r, "Fair"), 1) << "the rest of the folder shows";
    EXPECT_TRUE(r.err.contains(folder + "/linked.ics: skipped, larger than 1048576 bytes"))
        << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(folder + "/long-line.ics: skipped, larger than 1048576 bytes"));
}

TEST_F(HostileFolder, RepetitionsBeyondTheirBoundsLeaveTheirItemOut)
{
    put("rules.ics", ManyRules());
    put("secondly.ics", Calendar(Event("secondly", "SUMMARY:Tick\r\nDTSTART:20260101T000000\r\n"
                                                   "RRULE:FREQ=SECONDLY;COUNT=100000000\r\n")));
    put("since-1990.ics", Calendar(Event("old", "SUMMARY:Old series\r\nDTSTART:19900101T000000\r\n"
                                                "RRULE:FREQ=SECONDLY;COUNT=100000000\r\n")));
    // Every second, minute or hour of days that never come (or hardly ever): the calendar
    // library would search them one by one, for hours, inside one call.
    put("no-such-day.ics",
        Calendar(Event("nsd", "SUMMARY:Never\r\nDTSTART:20130301T100000\r\nDURATION:PT1H\r\n"
                              "RRULE:FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30\r\n")));
    put("first-saturday.ics",
        Calendar(Event("fs", "SUMMARY:Saturdays\r\nDTSTART:20130301T100000\r\nDURATION:PT1H\r\n"
                             "RRULE:BYDAY=1SA;FREQ=MINUTELY\r\n")));
    put("april-31.ics",
        Calendar(Event("a31", "SUMMARY:April 31\r\nDTSTART:20130301T100000\r\nDURATION:PT1H\r\n"
                              "RRULE:FREQ=HOURLY;BYMONTHDAY=31;BYMONTH=4\r\n")));
    // A week the calendar library cannot count back to: it would crash the reader.
    put("week-53.ics", Calendar(Event("w53", "SUMMARY:Week\r\nDTSTART:20220101T100000\r\n"
                                             "RRULE:FREQ=YEARLY;BYWEEKNO=1,-53\r\n")));
    // Within the day and limited, but searched over the year alone: kept.
    put("mondays.ics",
        Calendar(Event("mo", "SUMMARY:Monday nine\r\nDTSTART:20130304T090000\r\nDURATION:PT1H\r\n"
                             "RRULE:FREQ=HOURLY;BYDAY=MO;BYHOUR=9\r\n")));
    const ToolRun r = list();
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 0);
    for (const char *name : {"no-such-day", "first-saturday"})
        EXPECT_TRUE(r.err.contains(folder + "/" + name +
                                   ".ics: left out, its repetitions take longer than 500 ms"))
            << name << ": " << qPrintable(r.err);
    EXPECT_FALSE(r.err.contains("april-31")) << "searched to the end of the year only, it has none";
    EXPECT_TRUE(
        r.err.contains(folder + "/week-53.ics: left out, its repetition rule counts week -53"))
        << qPrintable(r.err);
    EXPECT_EQ(rows(r, "Monday nine"), 52);
    EXPECT_EQ(rows(r), 1 + 52) << "only the fair and the Mondays";
    EXPECT_TRUE(r.err.contains(
        folder + "/rules.ics: left out, more than 20000 repetitions from 2026-01-01 to "
                 "2026-12-31"))
        << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(folder + "/secondly.ics: left out, more than 20000 repetitions"));
    // A series counted from long ago walks its way up to the year: that takes too long.
    EXPECT_TRUE(r.err.contains(
        folder + "/since-1990.ics: left out, its repetitions take longer than 500 ms"))
        << qPrintable(r.err);

    // The planner's way: the year rebuilt and drawn from the cache, the same items left out.
    const ToolRun render = Tool(QUORVEL_RENDER,
                                {"--store", dir.filePath("Team"), "--folder", "Team\\Calendar",
                                 "--year", "2026", "--all-events", dir.filePath("year.png")},
                                dir);
    ASSERT_TRUE(render.finished);
    EXPECT_EQ(render.code, 0) << qPrintable(render.err);
    EXPECT_TRUE(render.out.contains("year 2026, 53 appointments")) << qPrintable(render.out);
    EXPECT_TRUE(render.err.contains("rules.ics: left out"));
    EXPECT_TRUE(render.err.contains("first-saturday.ics: left out"));
}

TEST_F(HostileFolder, FuzzedLinesAreRefusedBeforeParsing)
{
    const QString fuzz = QStringLiteral(QUORVEL_CORPUS) + "/libical/malformed/";
    if (!QFile::exists(fuzz + "fuzz42521679"))
        GTEST_SKIP() << "no corpus beside the checkout";
    for (const char *name : {"fuzz42521679", "fuzz56539"})
        ASSERT_TRUE(QFile::copy(fuzz + name, folder + "/" + name + ".ics"));
    const ToolRun r = list();
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(rows(r, "Fair"), 1);
    EXPECT_TRUE(r.err.contains(
        QRegularExpression("fuzz42521679.ics: skipped, line 3: 1224 comma-separated values "
                           "in a line of \\d+ bytes")))
        << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains("fuzz56539.ics: skipped"));
}

TEST_F(HostileFolder, LengthsAndOverridesAreTakenOneWayEverywhere)
{
    put("backwards.ics",
        Calendar(Event("backwards", "SUMMARY:Backwards\r\nDTSTART:20260501T120000\r\n"
                                    "DTEND:20260501T090000\r\n")));
    put("forever.ics", Calendar(Event("forever", "SUMMARY:Forever\r\nDTSTART:20260601T120000\r\n"
                                                 "DURATION:P99999999W\r\n")));
    put("overrides.ics", RepeatedOverrides());
    // Exclusions and an override on days no calendar has exclude nothing.
    put("nodays.ics",
        Calendar(Event("nodays", "SUMMARY:Nodays\r\nDTSTART:20260301T090000\r\nDURATION:PT1H\r\n"
                                 "RRULE:FREQ=DAILY;COUNT=5\r\nEXDATE;VALUE=DATE:29821529\r\n"
                                 "EXDATE:20260230T090000\r\n") +
                 Event("nodays", "RECURRENCE-ID:20261532T090000\r\nSUMMARY:Nodays moved\r\n"
                                 "DTSTART:20260310T090000\r\nDURATION:PT1H\r\n")));
    const ToolRun r = list();
    ASSERT_TRUE(r.finished);
    EXPECT_TRUE(r.err.contains(
        folder + "/backwards.ics: ends before it starts; taken as ending when it starts"));
    EXPECT_TRUE(r.err.contains(folder + "/forever.ics: skipped, lasts past the year 9999"))
        << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(
        folder + "/overrides.ics: 4635 overrides repeat the RECURRENCE-ID of another; "
                 "the newest of each is used"))
        << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains("2026-05-01T12:00:00\t2026-05-01T12:00:00\t0\tBackwards"));
    EXPECT_EQ(rows(r, "Forever"), 0);
    EXPECT_EQ(rows(r, "\tMoved "), 365) << "one row a day";
    EXPECT_TRUE(r.out.contains("\tMoved 4999\t")) << "the newest override of its day";
    EXPECT_FALSE(r.out.contains("\tMoved 4634\t"));
    EXPECT_EQ(r.out.count("\tNodays\t"), 5) << qPrintable(r.out);

    // The rebuilt cache draws what the listing lists.
    const ToolRun render = Tool(QUORVEL_RENDER,
                                {"--store", dir.filePath("Team"), "--folder", "Team\\Calendar",
                                 "--year", "2026", "--all-events", dir.filePath("year.png")},
                                dir);
    ASSERT_TRUE(render.finished);
    EXPECT_TRUE(render.out.contains(QStringLiteral("year 2026, %1 appointments").arg(rows(r))))
        << qPrintable(render.out) << " against " << rows(r) << " rows listed";
}

TEST_F(HostileFolder, ImportsSayWhatTheyCouldNotTake)
{
    auto import = [&](const QString &file) {
        return Tool(QUORVEL_IMPORT, {"--store", dir.filePath("Team"), file, "Team\\Calendar"}, dir);
    };
    // A device never ends: refused at once.
    ToolRun r = import("/dev/zero");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("/dev/zero is not a regular file"));

    // Stray ends and calendars nested ten thousand deep import nothing, and say so.
    WriteAll(dir.filePath("ends.ics"),
             QByteArray("END:VEVENT\r\nEND:VCALENDAR\r\n").repeated(20000));
    r = import(dir.filePath("ends.ics"));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("not an iCalendar file")) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains("no event of " + dir.filePath("ends.ics") + " was imported"));
    WriteAll(dir.filePath("nested.ics"), QByteArray("BEGIN:VCALENDAR\r\n").repeated(10000) +
                                             QByteArray("END:VCALENDAR\r\n").repeated(10000));
    r = import(dir.filePath("nested.ics"));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("components nested deeper than 16")) << qPrintable(r.err);

    // One calendar of good and bad events: the good ones come in, the bad are named.
    WriteAll(dir.filePath("mixed.ics"),
             Calendar(Event("good", "SUMMARY:Good\r\nDTSTART;VALUE=DATE:20260701\r\n") +
                      Event("big", "SUMMARY:Big\r\nDTSTART;VALUE=DATE:20260702\r\nDESCRIPTION:" +
                                       QByteArray(2 << 20, 'y') + "\r\n") +
                      Event("nostart", "SUMMARY:No start\r\n")));
    r = import(dir.filePath("mixed.ics"));
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.startsWith("1 added, 0 updated")) << qPrintable(r.out);
    EXPECT_TRUE(r.err.contains("big: larger than 1048576 bytes, skipped"));
    EXPECT_TRUE(r.err.contains("nostart: the event has no valid start, skipped"))
        << qPrintable(r.err);
    EXPECT_EQ(rows(list(), "Good"), 1);
}

TEST(CalendarText, SplitKeepsEachItemsZonesAndMakesStableUids)
{
    const QByteArray zone =
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
        "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
    const QByteArray other =
        "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\nBEGIN:STANDARD\r\nDTSTART:19701101T020000\r\n"
        "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
    const QByteArray text = Calendar(
        zone + other + Event("a", "SUMMARY:A\r\nDTSTART;TZID=Europe/Berlin:20260101T090000\r\n") +
        "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260105\r\nSUMMARY:No uid\r\n END "
        "folded\r\nEND:VEVENT\r\n" +
        Event("b", "SUMMARY:B\r\nDTSTART;VALUE=DATE:20260102\r\n") +
        Event("a", "RECURRENCE-ID;TZID=Europe/Berlin:20260108T090000\r\nDTSTART;TZID=Europe/"
                   "Berlin:20260108T100000\r\n"));
    QStringList problems;
    const auto items = IcalItem::split(text, &problems);
    ASSERT_EQ(items.size(), 3) << qPrintable(problems.join('\n'));
    EXPECT_EQ(items[0]->uid(), "a");
    EXPECT_EQ(items[0]->overrides().size(), 1) << "the override found its master";
    const QByteArray a = items[0]->serialize();
    EXPECT_TRUE(a.contains("TZID:Europe/Berlin"));
    EXPECT_FALSE(a.contains("America/New_York")) << "only the zones it names";
    EXPECT_EQ(items[1]->uid(), "b");
    EXPECT_TRUE(items[2]->uid().startsWith("quorvel-"));
    EXPECT_EQ(items[2]->text("SUMMARY"), "No uidEND folded");
    EXPECT_EQ(IcalItem::split(text, nullptr)[2]->uid(), items[2]->uid())
        << "the same file, the same UID";
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(HostileFolder, ToolsExitNonZeroWhenTheyDidNotDoIt)
{
    const QString missing = dir.filePath("missing.cache");
    WriteAll(dir.filePath("corrupt.cache"), QByteArray("\x05\x00", 2) + "abc"); // cut in a record
    for (const QString &cache : {missing, dir.path(), dir.filePath("corrupt.cache")}) {
        SCOPED_TRACE(cache.toStdString());
        const ToolRun print = Tool(QUORVEL_CACHE, {"print", cache, "--year", "2026"}, dir);
        EXPECT_EQ(print.code, 1) << qPrintable(print.err);
        EXPECT_TRUE(print.err.contains("could not be read") ||
                    print.err.contains("does not exist"));
        EXPECT_FALSE(print.out.contains("Planner year"));
        const ToolRun render =
            Tool(QUORVEL_RENDER,
                 {"--store", dir.filePath("Team"), "--cache", cache, dir.filePath("x.png")}, dir);
        EXPECT_EQ(render.code, 1) << qPrintable(render.err);
        EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
    }
    EXPECT_FALSE(QFile::exists(missing)) << "nothing is made for a name mistyped";

    const ToolRun before =
        Tool(QUORVEL_LIST,
             {"--store", dir.filePath("Team"), "Team\\Calendar", "-0001-01-01", "2026-12-31"}, dir);
    EXPECT_EQ(before.code, 2);
    EXPECT_TRUE(before.err.contains("-0001-01-01 is not a day")) << qPrintable(before.err);
    EXPECT_EQ(Tool(QUORVEL_LIST,
                   {"--store", dir.filePath("Team"), "Team\\Calendar", "2026-12-31", "2026-01-01"},
                   dir)
                  .code,
              2);
}

TEST_F(HostileFolder, AZoneThatChangesMoreOftenThanDailyIsNeverExpanded)
{
    // libical expands a zone whole, from its start, before it converts one time: a rule of every
    // minute since 1970 would take every program minutes and gigabytes.
    const auto zone = [](const QByteArray &tzid, const QByteArray &rule) {
        return "BEGIN:VTIMEZONE\r\nTZID:" + tzid +
               "\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\nRRULE:" + rule +
               "\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
    };
    const auto zoned = [](const QByteArray &uid, const QByteArray &tzid) {
        return Event(uid, "SUMMARY:" + uid + "\r\nDTSTART;TZID=" + tzid +
                              ":20260505T090000\r\nDTEND;TZID=" + tzid + ":20260505T100000\r\n");
    };
    put("minutely.ics",
        Calendar(zone("Hostile/Minutes", "FREQ=MINUTELY") + zoned("minutes", "Hostile/Minutes")));
    put("secondly.ics",
        Calendar(zone("Hostile/Seconds", "FREQ=SECONDLY") + zoned("seconds", "Hostile/Seconds")));
    put("hours.ics",
        Calendar(zone("Hostile/Hours", "FREQ=DAILY;BYHOUR=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,"
                                       "16,17,18,19,20,21,22,23") +
                 zoned("hours", "Hostile/Hours")));
    // A real zone's rule, from 1601 as some programs write it, is expanded as before.
    put("yearly.ics", Calendar(zone("Own/Yearly", "FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU") +
                               zoned("yearly", "Own/Yearly")));

    const ToolRun r = list();
    ASSERT_TRUE(r.finished) << "a zone's expansion hangs the listing";
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    for (const char *uid : {"minutes", "seconds", "hours", "yearly"})
        EXPECT_EQ(rows(r, QString("\t%1").arg(uid)), 1) << uid << ": " << qPrintable(r.out);
    EXPECT_TRUE(r.err.contains("\"Hostile/Minutes\" has a rule that repeats more often than daily"))
        << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains("\"Hostile/Hours\" has a rule that repeats more often than daily"));
    EXPECT_FALSE(r.err.contains("Own/Yearly"));
    // +01:00 by its own rule is 10:00 in summer Berlin; the refused zones read as floating.
    EXPECT_TRUE(r.out.contains("2026-05-05T10:00:00\t2026-05-05T11:00:00\t0\tyearly"))
        << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains("2026-05-05T09:00:00\t2026-05-05T10:00:00\t0\tminutes"));

    const ToolRun render = Tool(QUORVEL_RENDER,
                                {"--store", dir.filePath("Team"), "--folder", "Team\\Calendar",
                                 "--year", "2026", "--all-events", dir.filePath("year.png")},
                                dir);
    ASSERT_TRUE(render.finished) << "the planner's rebuild hangs";
    EXPECT_TRUE(render.out.contains("year 2026, 5 appointments")) << qPrintable(render.out);
    QDir().mkpath(dir.filePath("Team/Imported"));
    const ToolRun import =
        Tool(QUORVEL_IMPORT,
             {"--store", dir.filePath("Team"), folder + "/minutely.ics", "Team\\Imported"}, dir);
    ASSERT_TRUE(import.finished) << "the import hangs";
    EXPECT_EQ(import.code, 0) << qPrintable(import.err);
}

TEST_F(HostileFolder, AnImportNeverDropsAnEventItCouldNotRead)
{
    QByteArray params = "SUMMARY";
    for (int i = 0; i < 101; ++i)
        params += ";X-P" + QByteArray::number(i) + "=v";
    const struct
    {
        const char *what;
        QByteArray lines;
    } unreadable[] = {
        {"a NUL byte", QByteArray("SUMMARY:nul\0byte\r\nDTSTART;VALUE=DATE:20260902\r\n", 47)},
        {"101 parameters", params + ":many\r\nDTSTART;VALUE=DATE:20260902\r\n"},
        {"no start", "SUMMARY:No start\r\n"},
    };
    for (const auto &u : unreadable) {
        SCOPED_TRACE(u.what);
        const QByteArray b = Event("b", u.lines);
        put("shared.ics", Calendar(Event("a", "SUMMARY:A\r\nDTSTART;VALUE=DATE:20260901\r\n") + b));
        WriteAll(dir.filePath("update.ics"),
                 Calendar(Event("a", "SUMMARY:A updated\r\nDTSTART;VALUE=DATE:20260901\r\n")));
        const ToolRun r = Tool(
            QUORVEL_IMPORT,
            {"--store", dir.filePath("Team"), dir.filePath("update.ics"), "Team\\Calendar"}, dir);
        ASSERT_TRUE(r.finished);
        // The event it cannot read is still there, byte for byte.
        int holding = 0;
        for (const QString &name : QDir(folder).entryList({"*.ics"}, QDir::Files))
            holding += ReadAll(folder + "/" + name).contains(b);
        EXPECT_EQ(holding, 1) << qPrintable(r.out) << qPrintable(r.err);
        // Either the update went to a file of its own, or the import said why it did not.
        if (r.code == 0) {
            EXPECT_TRUE(r.out.startsWith("0 added, 1 updated")) << qPrintable(r.out);
            EXPECT_EQ(rows(list(), "A updated"), 1);
        } else {
            EXPECT_TRUE(r.err.contains("shares the file")) << qPrintable(r.err);
            EXPECT_TRUE(ReadAll(folder + "/shared.ics").contains("SUMMARY:A\r\n"));
        }
        for (const QString &name : QDir(folder).entryList({"*.ics"}, QDir::Files))
            if (name != "fair.ics")
                QFile::remove(folder + "/" + name);
    }
}

TEST_F(HostileFolder, UidsThatStartWithADotOrCarryEscapesImportOnceAndShow)
{
    WriteAll(dir.filePath("odd.ics"),
             Calendar(Event(".hidden", "SUMMARY:Hidden\r\nDTSTART;VALUE=DATE:20260801\r\n") +
                      Event("..", "SUMMARY:Dots\r\nDTSTART;VALUE=DATE:20260802\r\n") +
                      Event("team\\,2026", "SUMMARY:Team\r\nDTSTART;VALUE=DATE:20260803\r\n")));
    for (const char *said : {"3 added, 0 updated", "0 added, 3 updated", "0 added, 3 updated"}) {
        const ToolRun r =
            Tool(QUORVEL_IMPORT,
                 {"--store", dir.filePath("Team"), dir.filePath("odd.ics"), "Team\\Calendar"}, dir);
        EXPECT_EQ(r.code, 0) << qPrintable(r.err);
        EXPECT_TRUE(r.out.startsWith(said)) << qPrintable(r.out);
    }
    const ToolRun r = list();
    for (const char *subject : {"\tHidden", "\tDots", "\tTeam"})
        EXPECT_EQ(rows(r, subject), 1) << subject << ": " << qPrintable(r.out);
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        EXPECT_TRUE(!name.startsWith('.') || name.startsWith(".quorvel")) << qPrintable(name);
}
