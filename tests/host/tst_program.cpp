#include "testsupport.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the planner host with args; withoutDisplay takes every display away from it; lang, when
// given, is its LANG (LC_ALL and LC_MESSAGES taken away).
Outcome Quorvel(const QStringList &args, bool withoutDisplay = false, const QString &lang = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!lang.isEmpty()) {
        env.remove("LC_ALL");
        env.remove("LC_MESSAGES");
        env.remove("LANGUAGE");
        env.insert("LANG", lang);
    }
    if (withoutDisplay) {
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
    }
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUORVEL_HOST), args);
    if (!p.waitForFinished(60000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

TEST(Program, HelpAndVersionNeedNoDisplay)
{
    const Outcome help = Quorvel({"--help"}, true);
    EXPECT_EQ(help.exitCode, 0) << qPrintable(help.err);
    EXPECT_TRUE(help.out.contains("--folder")) << qPrintable(help.out);
    const Outcome version = Quorvel({"--version"}, true);
    EXPECT_EQ(version.exitCode, 0) << qPrintable(version.err);
    EXPECT_EQ(version.out.trimmed(), "Quorvel " QUORVEL_VERSION);
}

TEST(Program, HelpInTheUsersLanguage)
{
    const Outcome german = Quorvel({"--help"}, true, "de_DE.UTF-8");
    EXPECT_TRUE(german.out.contains("Optionen:")) << qPrintable(german.out);
    EXPECT_TRUE(german.out.contains("Nur dieses Speicherverzeichnis öffnen"))
        << qPrintable(german.out);
    const Outcome french = Quorvel({"--help"}, true, "fr_FR.UTF-8");
    EXPECT_TRUE(french.out.contains("Ouvrir uniquement ce répertoire de magasin"))
        << qPrintable(french.out);
    for (const QString lang : {"C.UTF-8", "en_US.UTF-8"}) {
        const Outcome english = Quorvel({"--help"}, true, lang);
        EXPECT_TRUE(english.out.contains("Options:")) << qPrintable(lang);
        EXPECT_TRUE(english.out.contains("Open this store directory alone")) << qPrintable(lang);
    }
}

TEST(Program, AStoreOrFolderThatIsNotThereIsAnErrorInWords)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Team/Calendar"));
    const QString shot = dir.filePath("shot.png");
    struct Row
    {
        const char *name;
        QStringList args;
        QString says;
    } rows[] = {
        {"a mistyped store",
         {"--store", dir.filePath("Tema")},
         dir.filePath("Tema") + " does not exist"},
        {"a store that is a file", {"--store", shot}, "is not a directory"},
        {"a folder the store lacks",
         {"--store", dir.filePath("Team"), "--folder", "Team\\Plans"},
         "there is no folder \"Team\\Plans\"; the folders are: Team, Team\\Calendar"},
    };
    WriteAll(shot, "not a store");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome r = Quorvel(row.args + QStringList{"--screenshot", dir.filePath("out.png")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(row.says)) << qPrintable(r.err);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.png")));
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("Tema"))) << "no store is made unasked";

    // A picture that cannot be written is a failure too.
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    WriteAll(dir.filePath("Team/Calendar/a.ics"),
             Vevent("a", "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:" + year + "0310\r\n"));
    const Outcome r =
        Quorvel({"--store", dir.filePath("Team"), "--screenshot", dir.filePath("no/shot.png")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("cannot write")) << qPrintable(r.err);
}

// The planner in the locales whose short dates have two-digit years: a year past 2029, and a
// planner year that begins in July 2029 and ends in 2030, draw their appointments. The same
// appointment a week later must move on the picture; where none is drawn both pictures are alike.
TEST(Program, YearsPast2029ShowInTheLocalesOfTwoDigitYears)
{
    struct Row
    {
        const char *name;
        QDate day;
        QString year, startMonth;
    } rows[] = {
        {"March 2031", QDate(2031, 3, 10), "2031", "1"},
        {"February 2030 of the planner year from July 2029", QDate(2030, 2, 10), "2029", "7"},
    };
    for (const char *lang : {"en_US.UTF-8", "de_DE.UTF-8"}) {
        for (const Row &row : rows) {
            SCOPED_TRACE(std::string(lang) + ", " + row.name);
            QTemporaryDir dir;
            QDir().mkpath(dir.filePath("Team/Calendar"));
            QDir().mkpath(dir.filePath("tmp"));
            auto shotOn = [&](const QDate &day) {
                WriteAll(dir.filePath("Team/Calendar/a.ics"),
                         Vevent("a", "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:" +
                                         day.toString("yyyyMMdd").toLatin1() + "\r\n"));
                QProcess p;
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.remove("LC_ALL");
                env.insert("LANG", lang);
                env.insert("TMP", dir.filePath("tmp"));
                p.setProcessEnvironment(env);
                const QString png = dir.filePath(day.toString(Qt::ISODate) + ".png");
                p.start(QStringLiteral(QUORVEL_HOST),
                        {"--store", dir.filePath("Team"), "--year", row.year, "--start-month",
                         row.startMonth, "--screenshot", png});
                p.waitForFinished(60000);
                EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
                return ReadAll(png);
            };
            const QByteArray first = shotOn(row.day);
            ASSERT_FALSE(first.isEmpty());
            EXPECT_NE(shotOn(row.day.addDays(7)), first) << "the appointment's bar is drawn";
        }
    }
}

// On a high-density screen (a scale factor of 2) the picture is the whole window at its device
// pixels: twice as wide and high as at scale 1, with the same year on it.
TEST(Program, AScreenshotUnderAScaleFactorIsTheWholeWindow)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Team/Calendar"));
    QDir().mkpath(dir.filePath("tmp"));
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    WriteAll(dir.filePath("Team/Calendar/a.ics"),
             Vevent("a", "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:" + year + "0310\r\n"));
    auto shot = [&](const QByteArray &scale) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", scale);
        env.insert("TMP", dir.filePath("tmp"));
        p.setProcessEnvironment(env);
        const QString png = dir.filePath("shot-" + scale + ".png");
        p.start(QStringLiteral(QUORVEL_HOST),
                {"--store", dir.filePath("Team"), "--screenshot", png});
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QImage(png);
    };
    const QImage one = shot("1"), two = shot("2");
    ASSERT_FALSE(one.isNull());
    ASSERT_FALSE(two.isNull());
    EXPECT_EQ(two.size(), one.size() * 2);
    // Scaled back down it is the same picture, not a part of it blown up.
    const QImage small = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_Grayscale8);
    const QImage plain = one.convertToFormat(QImage::Format_Grayscale8);
    double difference = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            difference += std::abs(int(qGray(small.pixel(x, y))) - int(qGray(plain.pixel(x, y))));
    EXPECT_LT(difference / (plain.width() * plain.height()), 12.0);
}

// With the cache directory on a file system that is really full (a small tmpfs; mounting one
// needs root), the planner draws the calendar's appointments as it would with room, says the
// disk is full rather than blaming a log-on, and leaves nothing on the full file system.
TEST(Program, OnAFullFileSystemTheYearIsStillDrawn)
{
    QTemporaryDir dir;
    const QString full = dir.filePath("full");
    QDir().mkpath(full);
    const FullFileSystem filled(full);
    if (!filled.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";

    QDir().mkpath(dir.filePath("Team/Calendar"));
    QDir().mkpath(dir.filePath("room"));
    WriteAll(dir.filePath("Team/Calendar/a.ics"),
             Vevent("a", "SUMMARY:Fair\r\nCATEGORIES:Travel\r\nDTSTART;VALUE=DATE:" +
                             QDate::currentDate().toString("yyyyMMdd").toLatin1() +
                             "\r\nDTEND;VALUE=DATE:" +
                             QDate::currentDate().addDays(3).toString("yyyyMMdd").toLatin1() +
                             "\r\n"));
    const auto shot = [&](const QString &tmp, QString *err) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMP", tmp);
        p.setProcessEnvironment(env);
        const QString png = dir.filePath(QFileInfo(tmp).fileName() + ".png");
        p.start(QStringLiteral(QUORVEL_HOST),
                {"--store", dir.filePath("Team"), "--all-events", "--screenshot", png});
        p.waitForFinished(60000);
        *err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 0) << qPrintable(*err);
        return QImage(png);
    };
    QString withRoomErr, fullErr;
    const QImage withRoom = shot(dir.filePath("room"), &withRoomErr);
    const QImage onFull = shot(full, &fullErr);
    ASSERT_FALSE(onFull.isNull());
    EXPECT_EQ(onFull, withRoom) << "the same year, appointments and all";
    EXPECT_TRUE(fullErr.contains("The disk is full.")) << qPrintable(fullErr);
    EXPECT_FALSE(fullErr.contains("log on")) << qPrintable(fullErr);
    // Only the empty mark that says the planner keeps its caches there.
    EXPECT_EQ(filled.files().keys(), QStringList{".quorvel-cache-directory"})
        << qPrintable(filled.files().keys().join(' '));
}

namespace {

// A home whose khal configuration names one calendar, cals/work, and no profile of Quorvel's.
struct KhalHome
{
    KhalHome()
    {
        QDir().mkpath(dir.filePath("cals/work"));
        QDir().mkpath(dir.filePath("config/khal"));
        QDir().mkpath(dir.filePath("tmp"));
        WriteAll(dir.filePath("config/khal/config"), "[calendars]\n  [[work]]\n    path = " +
                                                         dir.filePath("cals/work").toUtf8() + "\n");
    }
    // The planner run in that home; its standard output.
    QString run(const QStringList &args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("VDIRSYNCER_CONFIG", dir.filePath("config/vdirsyncer/config"));
        env.insert("TMP", dir.filePath("tmp"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QUORVEL_HOST), args);
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QTemporaryDir dir;
};

} // namespace

// Someone who reads a vdir with khal and has no profile of Quorvel's: the planner opens that
// calendar, and pointing it at the directory of the calendar finds the same one.
TEST(Program, TheCalendarKhalReadsOpensWithoutAProfile)
{
    const KhalHome home;
    auto shot = [&](const QDate &day, const QStringList &args) {
        WriteAll(home.dir.filePath("cals/work/fair.ics"),
                 Vevent("fair", "SUMMARY:Fair\r\nCATEGORIES:Travel\r\nDTSTART;VALUE=DATE:" +
                                    day.toString("yyyyMMdd").toLatin1() + "\r\n"));
        const QString png = home.dir.filePath("shot.png");
        QFile::remove(png);
        home.run(args + QStringList{"--screenshot", png});
        return QImage(png);
    };
    const QDate day(QDate::currentDate().year(), 3, 10);
    const QImage known = shot(day, {});
    ASSERT_FALSE(known.isNull());
    EXPECT_NE(shot(day.addDays(7), {}), known) << "the calendar's appointment is drawn";
    EXPECT_EQ(shot(day, {"--store", home.dir.filePath("cals")}), known)
        << "a store of one calendar folder opens it";
}

// A calendar of one's own, opened with no planner page: its timed meetings and their subjects
// show. (A folder bound to a page keeps the page's choice: SetupTest's installed planner.)
TEST(Program, ACalendarWithoutAPageShowsItsMeetingsAndTheirSubjects)
{
    const KhalHome home;
    WriteAll(home.dir.filePath("cals/work/standup.ics"),
             Vevent("standup", "SUMMARY:Stand-up\r\nDTSTART:20260310T091500\r\n"
                               "DTEND:20260310T093000\r\n"));
    const QString own = home.run({"--print-properties"});
    EXPECT_TRUE(own.contains("\nAllEvents=1\n")) << qPrintable(own);
    EXPECT_TRUE(own.contains("\nDisplaySubject=1\n")) << qPrintable(own);
}
