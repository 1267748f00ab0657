#include "calendardays.h"
#include "holidays.h"
#include "knowncalendars.h"
#include "marksources.h"
#include "subscription.h"
#include "testsupport.h"
#include "usersettings.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QList<QDate> DaysOf(const QList<Holiday> &holidays)
{
    QList<QDate> days;
    for (const Holiday &h : holidays)
        days << h.day;
    return days;
}

} // namespace

// gcal's list as it prints it: legal holidays, regional ones on request, memorial days never.
TEST(Holidays, ReadFromGcalsList)
{
    const QString text = QStringLiteral(
        "\nEternal holiday list:                      The year 2026 is NO leap year\n\n"
        "New Year's Day (DE_BY)                   + Thu,  Jan: 1st:2026 = -343 days\n"
        "St Valentine's Day (DE_BY)               - Sat,  Feb 14th 2026 = -299 days\n"
        "Whit Monday (DE_BY)                      + Mon,  May:25th:2026 = -199 days\n"
        "Peace Festival (DE_BY)                   * Sat,  Aug  8th 2026 = -124 days\n"
        "Mary's Ascension Day (DE_BY)             # Sat,  Aug:15th:2026 = -117 days\n"
        "Christmas Day (DE_BY)                    + Fri,  Dec:25th:2026 =  +15 days\n");
    const QList<Holiday> legal = HolidaysOfGcalText(text, false);
    EXPECT_EQ(DaysOf(legal),
              QList<QDate>({QDate(2026, 1, 1), QDate(2026, 5, 25), QDate(2026, 12, 25)}));
    EXPECT_EQ(legal[1].name, "Whit Monday (DE_BY)");
    const QList<Holiday> all = HolidaysOfGcalText(text, true);
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all[2].day, QDate(2026, 8, 15));
    EXPECT_TRUE(all[2].regional);
    EXPECT_TRUE(HolidaysOfGcalText("no list here", true).isEmpty());
}

// The holidays gcal computes, against dates known: the movable feasts of several years too.
TEST(Holidays, OfRegionsAndYearsByGcal)
{
    if (QStandardPaths::findExecutable("gcal").isEmpty())
        GTEST_SKIP() << "gcal is not installed";
    const struct
    {
        const char *region;
        int year;
        QList<QDate> expected; // some of the legal holidays
    } rows[] = {
        {"DE_BY",
         2026,
         {{2026, 1, 6},
          {2026, 4, 3},
          {2026, 4, 6},
          {2026, 5, 14},
          {2026, 5, 25},
          {2026, 6, 4},
          {2026, 10, 3},
          {2026, 11, 1},
          {2026, 12, 26}}},
        {"DE_BY", 2027, {{2027, 3, 26}, {2027, 3, 29}, {2027, 5, 6}, {2027, 5, 17}, {2027, 5, 27}}},
        {"US_CA", 2026, {{2026, 1, 19}, {2026, 5, 25}, {2026, 7, 4}, {2026, 9, 7}, {2026, 11, 26}}},
        {"US_CA", 2027, {{2027, 1, 18}, {2027, 5, 31}, {2027, 9, 6}, {2027, 11, 25}}},
        {"GB_EN", 2026, {{2026, 4, 3}, {2026, 4, 6}, {2026, 5, 4}, {2026, 5, 25}, {2026, 8, 31}}},
        {"GB_EN", 2027, {{2027, 3, 26}, {2027, 3, 29}, {2027, 5, 3}, {2027, 8, 30}}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.region << " " << row.year);
        QString problem;
        const QList<QDate> days = DaysOf(PublicHolidays(row.region, row.year, false, &problem));
        EXPECT_TRUE(problem.isEmpty()) << qPrintable(problem);
        for (const QDate &d : row.expected)
            EXPECT_TRUE(days.contains(d)) << qPrintable(d.toString(Qt::ISODate));
        EXPECT_FALSE(days.contains(QDate(row.year, 2, 14))) << "a memorial day is no holiday";
    }
    QString problem;
    EXPECT_TRUE(PublicHolidays("XX_YY", 2026, false, &problem).isEmpty());
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_TRUE(PublicHolidays("-q; rm", 2026, false, &problem).isEmpty());
    EXPECT_TRUE(problem.contains("no holiday region")) << qPrintable(problem);
}

TEST(Holidays, TheLocaleDecidesTheDefaultRegion)
{
    EXPECT_EQ(DefaultHolidayRegion(QLocale("de_DE")), "DE_BE");
    EXPECT_EQ(DefaultHolidayRegion(QLocale("en_US")), "US_DC");
    EXPECT_EQ(DefaultHolidayRegion(QLocale("en_GB")), "GB_EN");
    EXPECT_EQ(DefaultHolidayRegion(QLocale("fr_FR")), "FR");
    EXPECT_EQ(DefaultHolidayRegion(QLocale::c()), "");
}

// The days a calendar's events touch: every day of a whole-day span, each day a timed event
// touches, each occurrence of a series, nothing outside the range.
TEST(CalendarDays, EveryDayAnEventTouches)
{
    const QByteArray ics =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n"
        "BEGIN:VEVENT\r\nUID:term\r\nSUMMARY:Autumn break\r\nDTSTART;VALUE=DATE:20261026\r\n"
        "DTEND;VALUE=DATE:20261031\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:night\r\nSUMMARY:Night shift\r\nDTSTART:20260301T220000\r\n"
        "DTEND:20260302T060000\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:midnight\r\nSUMMARY:Ends at midnight\r\nDTSTART:20260305T200000\r\n"
        "DTEND:20260306T000000\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:weekly\r\nSUMMARY:Market\r\nDTSTART;VALUE=DATE:20261201\r\n"
        "DTEND;VALUE=DATE:20261202\r\nRRULE:FREQ=WEEKLY;COUNT=10\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n";
    QStringList problems;
    const QList<Store::MarkedDay> days =
        Store::DaysOfCalendarText(ics, QDate(2026, 1, 1), QDate(2026, 12, 31), &problems);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
    QMap<QDate, QString> byDay;
    for (const Store::MarkedDay &d : days)
        byDay[d.day] = d.subject;
    for (int d = 26; d <= 30; ++d)
        EXPECT_EQ(byDay.value(QDate(2026, 10, d)), "Autumn break") << d;
    EXPECT_FALSE(byDay.contains(QDate(2026, 10, 31))) << "the end is the midnight after";
    EXPECT_EQ(byDay.value(QDate(2026, 3, 1)), "Night shift");
    EXPECT_EQ(byDay.value(QDate(2026, 3, 2)), "Night shift");
    EXPECT_TRUE(byDay.contains(QDate(2026, 3, 5)));
    EXPECT_FALSE(byDay.contains(QDate(2026, 3, 6))) << "an end at midnight touches no next day";
    int markets = 0;
    for (const Store::MarkedDay &d : days)
        markets += d.subject == "Market";
    EXPECT_EQ(markets, 5) << "December's five, none of the next year";
    EXPECT_TRUE(std::is_sorted(days.begin(), days.end(),
                               [](const auto &a, const auto &b) { return a.day < b.day; }));
}

// Sources as stored and given: specs read back as written, kept per title, and marks from a
// file beside a source that is gone (said, the others still marked).
TEST(MarkSources, SpecsTitlesAndLoading)
{
    for (const QString spec : {"holidays:DE_BY", "holidays:DE_BY+regional",
                               "calendar:Team\\Calendar\\School", "file:/tmp/x.ics"}) {
        const std::optional<MarkSource> s = MarkSource::parse(spec);
        ASSERT_TRUE(s) << qPrintable(spec);
        EXPECT_EQ(s->spec(), spec);
    }
    EXPECT_EQ(MarkSource::parse("holidays:de_by")->value, "DE_BY");
    for (const QString bad : {"", "holidays:", "nothing", "web:http://x"})
        EXPECT_FALSE(MarkSource::parse(bad)) << qPrintable(bad);
    QStringList wrong;
    EXPECT_EQ(ParseMarkSources("holidays:FR, bad, file:/a.ics", &wrong).size(), 2);
    EXPECT_EQ(wrong, QStringList({"bad"}));
    EXPECT_NE(MarkColour(0), MarkColour(1));

    QTemporaryDir dir;
    ScopedSettingsHome home(dir.path());
    const QList<MarkSource> chosen = ParseMarkSources("holidays:FR,file:/a.ics", nullptr);
    ASSERT_TRUE(StoreMarkSources("Team/Plan", chosen));
    EXPECT_EQ(StoredMarkSources("Team/Plan"), chosen);
    EXPECT_TRUE(StoredMarkSources("Other").isEmpty());

    WriteAll(dir.filePath("school.ics"),
             Vevent("s", "SUMMARY:Autumn break\r\nDTSTART;VALUE=DATE:20261026\r\n"
                         "DTEND;VALUE=DATE:20261028\r\n"));
    QStringList problems;
    const DayMarks marks = LoadDayMarks(
        ParseMarkSources("file:" + dir.filePath("gone.ics") + ",file:" + dir.filePath("school.ics"),
                         nullptr),
        QDate(2026, 1, 1), QDate(2026, 12, 31), nullptr, &problems);
    ASSERT_EQ(marks.sources.size(), 2);
    EXPECT_EQ(marks.sources[1].name, "school");
    ASSERT_TRUE(marks.at(QDate(2026, 10, 27)));
    EXPECT_EQ(marks.at(QDate(2026, 10, 27))->first().source, 1);
    EXPECT_EQ(marks.at(QDate(2026, 10, 27))->first().name, "Autumn break");
    EXPECT_FALSE(marks.at(QDate(2026, 10, 28)));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("gone.ics")) << qPrintable(problems[0]);
}

// A planner year from July: the marks of both calendar years it spans, and none outside it.
TEST(MarkSources, AYearFromJulySpansTwoCalendarYears)
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("breaks.ics"),
             "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n"
             "BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:Summer\r\nDTSTART;VALUE=DATE:20260629\r\n"
             "DTEND;VALUE=DATE:20260703\r\nEND:VEVENT\r\n"
             "BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:Winter\r\nDTSTART;VALUE=DATE:20261230\r\n"
             "DTEND;VALUE=DATE:20270103\r\nEND:VEVENT\r\n"
             "BEGIN:VEVENT\r\nUID:c\r\nSUMMARY:Next summer\r\nDTSTART;VALUE=DATE:20270630\r\n"
             "DTEND;VALUE=DATE:20270702\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    const DayMarks marks =
        LoadDayMarks(ParseMarkSources("file:" + dir.filePath("breaks.ics"), nullptr),
                     QDate(2026, 7, 1), QDate(2027, 6, 30), nullptr, nullptr);
    EXPECT_FALSE(marks.at(QDate(2026, 6, 30))) << "before the planner year";
    EXPECT_TRUE(marks.at(QDate(2026, 7, 1)));
    for (const QDate d : {QDate(2026, 12, 31), QDate(2027, 1, 1), QDate(2027, 1, 2)})
        EXPECT_TRUE(marks.at(d)) << qPrintable(d.toString(Qt::ISODate));
    EXPECT_FALSE(marks.at(QDate(2027, 1, 3)));
    EXPECT_TRUE(marks.at(QDate(2027, 6, 30)));
    EXPECT_FALSE(marks.at(QDate(2027, 7, 1))) << "after it";
    if (!QStandardPaths::findExecutable("gcal").isEmpty()) {
        const DayMarks holidays =
            LoadDayMarks(ParseMarkSources("holidays:DE_BY", nullptr), QDate(2026, 7, 1),
                         QDate(2027, 6, 30), nullptr, nullptr);
        EXPECT_TRUE(holidays.at(QDate(2026, 12, 25)));
        EXPECT_TRUE(holidays.at(QDate(2027, 1, 6))) << "Epiphany of the next calendar year";
        EXPECT_FALSE(holidays.at(QDate(2026, 5, 25))) << "Whit Monday before the year";
    }
}

// A web calendar: vdirsyncer fetches it from a server on this machine into a vdir beside the
// user's other pairs, and its days are marked from there; the planner itself fetches nothing.
TEST(MarkSources, AWebCalendarIsFetchedByVdirsyncerAndMarked)
{
    const QString vdirsyncer = QStandardPaths::findExecutable("vdirsyncer");
    const QString python = QStandardPaths::findExecutable("python3");
    if (vdirsyncer.isEmpty() || python.isEmpty())
        GTEST_SKIP() << "vdirsyncer and python3 are needed";
    QTemporaryDir dir;
    ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    const QString config = dir.filePath("config/vdirsyncer/config");
    ScopedEnv configEnv("VDIRSYNCER_CONFIG", QFile::encodeName(config));
    QDir().mkpath(dir.filePath("config/vdirsyncer"));
    const QString own =
        "[pair mine]\na = \"mine_local\"\nb = \"mine_remote\"\ncollections = null\n";
    WriteAll(config, "[general]\nstatus_path = \"" + dir.filePath("status").toUtf8() + "\"\n\n" +
                         own.toUtf8());
    QDir().mkpath(dir.filePath("www"));
    WriteAll(dir.filePath("www/ferien.ics"),
             "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n"
             "BEGIN:VEVENT\r\nUID:e@x\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Osterferien\r\n"
             "DTSTART;VALUE=DATE:20260406\r\nDTEND;VALUE=DATE:20260418\r\nEND:VEVENT\r\n"
             "END:VCALENDAR\r\n");
    QProcess server;
    server.start(python, {"-c",
                          "import http.server,sys,os\n"
                          "os.chdir(sys.argv[1])\n"
                          "s=http.server.ThreadingHTTPServer(('127.0.0.1',0),"
                          "http.server.SimpleHTTPRequestHandler)\n"
                          "print(s.server_address[1],flush=True)\n"
                          "s.serve_forever()\n",
                          dir.filePath("www")});
    ASSERT_TRUE(server.waitForReadyRead(10000));
    const QString base = "http://127.0.0.1:" + QString::fromUtf8(server.readLine()).trimmed();
    const QString url = base + "/ferien.ics";

    const std::optional<MarkSource> source = MarkSource::parse("subscription:" + url);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->spec(), "subscription:" + url);
    EXPECT_EQ(source->name(), "ferien (127.0.0.1)");
    QStringList problems;
    LoadDayMarks({*source}, QDate(2026, 1, 1), QDate(2026, 12, 31), nullptr, &problems);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("has not been fetched yet")) << qPrintable(problems[0]);

    QString error;
    ASSERT_TRUE(Subscribe(url, vdirsyncer, &error)) << qPrintable(error);
    const QString text = QString::fromUtf8(ReadAll(config));
    EXPECT_TRUE(text.contains(own)) << "the user's own pair stays";
    EXPECT_TRUE(text.contains("type = \"http\"")) << qPrintable(text);
    ASSERT_TRUE(Subscribe(url, vdirsyncer, &error)) << "again: " << qPrintable(error);
    EXPECT_EQ(QString::fromUtf8(ReadAll(config)).count("[pair "), 2) << "replaced, not added";
    problems.clear();
    const DayMarks marks =
        LoadDayMarks({*source}, QDate(2026, 1, 1), QDate(2026, 12, 31), nullptr, &problems);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
    ASSERT_TRUE(marks.at(QDate(2026, 4, 7)));
    EXPECT_EQ(marks.at(QDate(2026, 4, 7))->first().name, "Osterferien");
    EXPECT_FALSE(marks.at(QDate(2026, 4, 18)));
    // Days to shade, not a calendar to open.
    for (const Store::KnownCalendar &c : Store::VdirsyncerCalendars(text, QDir::homePath()))
        EXPECT_FALSE(c.path.startsWith(dir.filePath("data"))) << qPrintable(c.path);

    EXPECT_FALSE(Subscribe(base + "/gone.ics", vdirsyncer, &error));
    EXPECT_TRUE(error.contains("gone.ics")) << qPrintable(error);
    EXPECT_FALSE(Subscribe("ftp://example.org/x.ics", vdirsyncer, &error));
    server.kill();
    server.waitForFinished();
}
