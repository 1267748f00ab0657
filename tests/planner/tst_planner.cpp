#include "appointmentcommands.h"
#include "binaryfile.h"
#include "calendarstore.h"
#include "categorycolours.h"
#include "eventkey.h"
#include "fakedesktop.h"
#include "indicatorstate.h"
#include "planner.h"
#include "plannerview.h"
#include "propertybag.h"
#include "scripteddialogs.h"
#include "syncher.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

namespace {

// A view that writes down what the planner asks of it.
class RecordingView : public PlannerView
{
public:
    bool visualStylesActive() const override { return visualStyles; }
    quint32 menuColour() const override { return 0xC0C0C0; }
    void applyToolbarColours(quint32 background, quint32 text) override
    {
        calls << QStringLiteral("colours %1 %2").arg(background, 0, 16).arg(text, 0, 16);
    }
    void readTwipsPerPixel() override { calls << "twips"; }
    void applyFontCharset(int codePage) override
    {
        calls << QStringLiteral("charset %1").arg(codePage);
    }
    void placeRefreshButton() override { calls << "refresh button"; }
    void showSelectedYear(int year) override { calls << QStringLiteral("year %1").arg(year); }
    void showRefreshCommands(bool categories) override
    {
        calls << QStringLiteral("commands %1").arg(categories);
    }
    void showFilterState(const QString &tooltip, bool active) override
    {
        calls << QStringLiteral("filter %1 %2").arg(tooltip).arg(active);
    }
    void categoriesChanged() override { calls << "categories"; }
    void DrawLegend() override { calls << "legend"; }
    void showUpdateIndicator(quint32 colour, const QString &) override { colours << colour; }
    void LayoutLegend() override { calls << "legend layout"; }
    void DrawYear() override { calls << "draw year"; }
    void layOutAndDraw() override
    {
        calls << "layout";
        if (failures > 0) {
            --failures;
            throw std::runtime_error("the window went away");
        }
    }

    bool visualStyles = true;
    int failures = 0;
    QStringList calls;
    QList<quint32> colours; // of the update indicator
};

QByteArray AllDay(const QByteArray &uid, const QByteArray &from, const QByteArray &to)
{
    return Vevent(uid, "SUMMARY:" + uid + "\r\nCATEGORIES:Holiday\r\nDTSTART;VALUE=DATE:" + from +
                           "\r\nDTEND;VALUE=DATE:" + to + "\r\n");
}

class PlannerTest : public ::testing::Test
{
protected:
    PlannerTest()
    {
        QDir().mkpath(dir.path() + "/Team/Calendar");
        const QByteArray year = QByteArray::number(QDate::currentDate().year());
        WriteAll(dir.path() + "/Team/Calendar/a.ics", AllDay("a", year + "0310", year + "0313"));
        WriteAll(dir.path() + "/Team/Calendar/b.ics", AllDay("b", year + "0311", year + "0312"));
        options.storeDir = dir.path() + "/Team";
        Store::Application::setSharedOptions(options);
    }
    ~PlannerTest() override { Store::Application::setSharedOptions({}); }

    // A planner that rebuilds in this process, as a host without quorvel-sync makes it.
    std::unique_ptr<Planner> make(PlannerView *view)
    {
        auto planner = std::make_unique<Planner>(dialogs);
        planner->setView(view);
        planner->setSyncherFactory([this](const Store::ProfileOptions &store) {
            return std::make_unique<Syncher>(dialogs, store);
        });
        planner->create();
        return planner;
    }

    bool settle(Planner &planner)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (planner.pendingUpdates() == 0 && planner.state().store->Count() > 0)
                return true;
        }
        return false;
    }

    QTemporaryDir dir, caches;
    ScopedEnv tmp{"TMP", QFile::encodeName(caches.path())};
    Store::ProfileOptions options;
    ScriptedDialogs dialogs;
};

} // namespace

// What creation settles, whatever the order it is settled in: the client's version, the weekend
// colour and the code page, and the view's toolbar colours, font and measures.
TEST_F(PlannerTest, CreationSettlesTheVersionColoursAndCharset)
{
    RecordingView themed;
    const auto planner = make(&themed);
    EXPECT_TRUE(planner->clientVersion().modern());
    EXPECT_EQ(planner->codePage(), 1252);
    EXPECT_NE(planner->weekendColour(), 0u);
    for (const char *call : {"colours ffeddf 723708", "twips", "charset 1252", "refresh button"})
        EXPECT_TRUE(themed.calls.contains(call))
            << call << " in " << qPrintable(themed.calls.join(", "));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));

    RecordingView plain;
    plain.visualStyles = false;
    make(&plain);
    EXPECT_TRUE(plain.calls.contains("colours c0c0c0 0")) << "the menu colour and black";
    EXPECT_FALSE(plain.calls.contains("colours ffeddf 723708"));
}

TEST_F(PlannerTest, TheRefreshSequenceAsTheViewSeesIt)
{
    RecordingView view;
    auto planner = make(&view);
    view.calls.clear();
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner)) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
    const QString year = QString::number(QDate::currentDate().year());
    const QStringList &calls = view.calls;
    const auto first = [&](const QString &call) { return calls.indexOf(call); };
    const auto last = [&](const QString &call) { return calls.lastIndexOf(call); };
    for (const QString call : {"commands 1", "categories", "draw year", "legend layout", "layout",
                               "filter Click to define a filter 0"})
        ASSERT_GE(first(call), 0) << qPrintable(call)
                                  << " missing: " << qPrintable(calls.join(", "));
    // The year is named before anything of it is shown; the table is known before the grid is
    // drawn, the grid before it is laid out, and the filter's state is shown before the last
    // layout, so the last layout has its button.
    EXPECT_EQ(first("year " + year), 0);
    EXPECT_LT(first("categories"), first("draw year"));
    EXPECT_LT(first("draw year"), first("layout"));
    EXPECT_LT(first("filter Click to define a filter 0"), last("layout"));
    EXPECT_LT(last("legend layout"), last("layout")) << "the legend is placed before the grid";
    // Both events are laid out, overlapping days in two bands.
    const EventStore &store = *planner->state().store;
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Item(1).Band, 2);
    EXPECT_EQ(store.Item(2).Band, 3);

    view.calls.clear();
    planner->ChangeYear(-1);
    EXPECT_EQ(view.calls.value(0), "year " + QString::number(year.toInt() - 1));
    EXPECT_LT(view.calls.indexOf("draw year"), view.calls.lastIndexOf("layout"));
    EXPECT_EQ(planner->state().store->Count(), 0) << "that year's cache is empty";
}

TEST_F(PlannerTest, WithoutAViewTheYearIsStillLaidOut)
{
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner));
    EXPECT_EQ(planner->state().RowBands[12], 48);
    EXPECT_EQ(planner->state().store->Item(2).Band, 3);
}

// Page Down pressed again and again while years load: the year asked for last is shown alone,
// laid out without a message, whatever loads and rebuilds were under way.
TEST_F(PlannerTest, YearsChangedWhileTheyLoadEndWithTheLastOneAlone)
{
    const int thisYear = QDate::currentDate().year();
    for (int y = thisYear; y <= thisYear + 3; ++y)
        for (int d = 0; d < 200; ++d) {
            const QDate day = QDate(y, 1, 1).addDays(d);
            const QByteArray id = QByteArray::number(y) + "-" + QByteArray::number(d);
            WriteAll(dir.path() + "/Team/Calendar/" + id + ".ics",
                     AllDay(id, day.toString("yyyyMMdd").toLatin1(),
                            day.addDays(1).toString("yyyyMMdd").toLatin1()));
        }
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner));
    for (const int step : {1, 1, 1, -1, -1, 1, 1, -1, 1, -1}) {
        planner->ChangeYear(step);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const int last = thisYear + 2; // the steps add up to two
    ASSERT_EQ(planner->state().year.selectedYear(), last);
    ASSERT_TRUE(settle(*planner));
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_EQ(planner->state().store->Count(), 200);
    for (const CalEvent &e : *planner->state().store)
        ASSERT_TRUE(e.Subject.startsWith(QString::number(last) + "-")) << qPrintable(e.Subject);
    EXPECT_EQ(planner->state().RowBands[12], 48) << "a year of one appointment a day";
}

// A cache that cannot be written (a full disk; a cache directory that is not there) still shows
// the year, read from the calendar; the file error is said once, not at every retry, and not as a
// failed log-on; the next rebuild that can write the cache ends it.
TEST_F(PlannerTest, ACacheThatCannotBeWrittenStillShowsTheYear)
{
    const struct
    {
        const char *what;
        int err;
        const char *message;
        int number;
    } faults[] = {{"full", ENOSPC, "The disk is full.", 57},
                  {"missing", 0, "That path doesn't exist.", 76}};
    for (const auto &fault : faults) {
        SCOPED_TRACE(fault.what);
        const QString cacheDir = dir.path() + "/cache-" + fault.what;
        ScopedEnv cache{"TMP", QFile::encodeName(cacheDir)};
        if (fault.err)
            QDir().mkpath(cacheDir);
        FailWritesAfter(fault.err ? 0 : -1, fault.err);
        dialogs.clear();
        auto planner = make(nullptr);
        planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
        ASSERT_TRUE(settle(*planner));
        EXPECT_EQ(planner->state().store->Count(), 2);
        EXPECT_EQ(planner->cacheFault(), fault.number);
        planner->updater().StartBackgroundUpdate(false); // a timed retry that fails again
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300 || planner->pendingUpdates() != 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(dialogs.texts(), QStringList{fault.message});
        EXPECT_TRUE(planner->updater().backgroundTimerEnabled()) << "it tries again later";
        EXPECT_EQ(QDir(cacheDir).entryList(QDir::Files | QDir::Hidden), QStringList());

        FailWritesAfter(-1, 0);
        QDir().mkpath(cacheDir);
        planner->updater().StartBackgroundUpdate(false);
        t.restart();
        while (t.elapsed() < 300 || planner->pendingUpdates() != 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(planner->cacheFault(), 0);
        EXPECT_TRUE(QFileInfo::exists(planner->cacheFiles().cacheFile));
        EXPECT_EQ(planner->state().store->Count(), 2);
    }
}

// A sync tool that writes several files in a row: each shows at once, and the cache file is
// written once they pause, holding all of them.
TEST_F(PlannerTest, ABurstOfChangesIsWrittenToTheCacheOnce)
{
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner));
    const QString cache = planner->cacheFiles().cacheFile;
    const QByteArray before = ReadAll(cache);
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    for (int i = 0; i < 4; ++i) {
        const QByteArray uid = "burst" + QByteArray::number(i);
        WriteAll(dir.path() + "/Team/Calendar/" + uid + ".ics",
                 AllDay(uid, year + "060" + QByteArray::number(i + 1),
                        year + "060" + QByteArray::number(i + 2)));
    }
    QElapsedTimer shown;
    shown.start();
    while (planner->state().store->Count() < 6 && shown.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(planner->state().store->Count(), 6);
    EXPECT_TRUE(planner->writeBackPending());
    EXPECT_EQ(ReadAll(cache), before) << "not yet written";
    QElapsedTimer t;
    t.start();
    while (planner->writeBackPending() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(planner->writeBackPending());
    EXPECT_EQ(ReadAll(cache).count("burst"), 4);

    // Going to another year before the pause: the changes go to the cache of their year first.
    WriteAll(dir.path() + "/Team/Calendar/late.ics", AllDay("late", year + "0701", year + "0702"));
    shown.restart();
    while (planner->state().store->Count() < 7 && shown.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(planner->writeBackPending());
    planner->ChangeYear(1);
    EXPECT_TRUE(ReadAll(cache).contains("late"));
}

// A rebuild that began before a change reports while the change waits to be written back: the
// cache it wrote lacks the change, and the change must survive its reload and reach the cache.
TEST_F(PlannerTest, AChangeWaitingToBeWrittenSurvivesARebuildReportedMeanwhile)
{
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner));
    const QString cache = planner->cacheFiles().cacheFile;
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    WriteAll(dir.path() + "/Team/Calendar/new.ics", AllDay("new", year + "0801", year + "0802"));
    QElapsedTimer shown;
    shown.start();
    while (planner->state().store->Count() < 3 && shown.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(planner->state().store->Count(), 3);
    ASSERT_TRUE(planner->writeBackPending());
    ASSERT_FALSE(ReadAll(cache).contains("new"));

    emit planner->updater().link()->WriteComplete(SynchWritten, 0);
    EXPECT_EQ(planner->state().store->Count(), 3) << "the reload undid the change";
    EXPECT_TRUE(planner->writeBackPending());
    QElapsedTimer t;
    t.start();
    while ((planner->writeBackPending() || planner->pendingUpdates() != 0) && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(ReadAll(cache).contains("new"));
    EXPECT_EQ(planner->state().store->Count(), 3);
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

// A sync tool that changes a file and soon removes it: the rebuild the removal asks for has read
// the change, which must not be applied again over it (the appointment came back, and stayed in
// the cache).
TEST_F(PlannerTest, AChangeToldBeforeARebuildWasAskedForIsNotAppliedAgainOverIt)
{
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner));
    const QString cache = planner->cacheFiles().cacheFile;
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    const QString file = dir.path() + "/Team/Calendar/brief.ics";
    WriteAll(file, AllDay("brief", year + "0901", year + "0902"));
    WaitFor([&] { return planner->state().store->Count() == 3; }, 5000);
    ASSERT_EQ(planner->state().store->Count(), 3);
    ASSERT_TRUE(QFile::remove(file));
    WaitFor([&] { return planner->pendingUpdates() != 0; }, 5000);
    WaitFor([&] { return planner->pendingUpdates() == 0 && !planner->writeBackPending(); }, 5000);
    EXPECT_EQ(planner->state().store->Count(), 2);
    EXPECT_FALSE(ReadAll(cache).contains("brief"));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

// Files a sync tool removes together are told one by one; the planner asks for one rebuild for
// them, not one a removal that cancels the one before.
TEST_F(PlannerTest, RemovalsToldTogetherAskForOneRebuild)
{
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    for (int i = 0; i < 8; ++i) {
        const QByteArray uid = "gone" + QByteArray::number(i);
        WriteAll(dir.path() + "/Team/Calendar/" + uid + ".ics",
                 AllDay(uid, year + "0501", year + "0502"));
    }
    RecordingView view;
    auto planner = make(&view);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner));
    ASSERT_EQ(planner->state().store->Count(), 10);
    view.colours.clear();
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(
            QFile::remove(dir.path() + "/Team/Calendar/gone" + QString::number(i) + ".ics"));
    QElapsedTimer t;
    t.start();
    while (planner->state().store->Count() != 2 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(settle(*planner));
    EXPECT_EQ(planner->state().store->Count(), 2);
    // Every request shows the busy colour first; a cancel shows the failed one.
    EXPECT_EQ(view.colours.count(Indicator::kBusy), 1);
    EXPECT_EQ(view.colours.count(Indicator::kFailed), 0) << "no rebuild cancelled by the next";
}

TEST_F(PlannerTest, AFailedLayoutIsTriedThreeTimesMoreSilently)
{
    RecordingView view;
    auto planner = make(&view);
    view.calls.clear();
    view.failures = 10;
    planner->ArrangeControls();
    EXPECT_EQ(view.calls.count("layout"), 4);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    // Given up, the count stays spent until a pass works.
    view.failures = 1;
    view.calls.clear();
    planner->ArrangeControls();
    EXPECT_EQ(view.calls.count("layout"), 1);
    planner->ArrangeControls();
    view.failures = 3;
    view.calls.clear();
    planner->ArrangeControls();
    EXPECT_EQ(view.calls.count("layout"), 4) << "three failures and the pass that worked";
}

TEST_F(PlannerTest, AMissingStoreIsSaidInWords)
{
    Store::ProfileOptions wrong;
    wrong.storeDir = dir.path() + "/Tema";
    Store::Application::setSharedOptions(wrong);
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Tema\\Calendar"}}));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text,
              "Error while initialising the background processing, the cache file will not be "
              "updated from the calender (Step:1). \n\nError: -2147221233 The operation failed. "
              "An object could not be found (the store \"Tema\": " +
                  dir.path() + "/Tema does not exist).");
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/Tema"));
}

TEST_F(PlannerTest, TheAboutBox)
{
    auto planner = make(nullptr);
    planner->ShowAbout();
    ASSERT_EQ(dialogs.shown().size(), 1);
    const Dialogs::About &box = dialogs.shown()[0].aboutBox;
    EXPECT_EQ(box.caption, "About Quorvel");
    const QStringList version = QStringLiteral(QUORVEL_VERSION).split('.');
    EXPECT_EQ(box.versionLine,
              "Quorvel Version " + version[0] + "." + version[1] + " Build " + version[2]);
    EXPECT_EQ(box.description, "The Quorvel for Microsoft Outlook is designed to display events "
                               "contained in an Outlook calendar within a digital dashboard "
                               "environment.");
}

// A calendar that keeps no table (opened with no set-up): its appointments' categories are the
// legend, in colours of their own, and the catch-all takes the calendar's colour; nothing is
// written to the folder for it.
TEST_F(PlannerTest, ACalendarWithoutATableShowsTheCategoriesItUses)
{
    const QString cal = dir.path() + "/Team/Calendar";
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    WriteAll(cal + "/c.ics", Vevent("c", "SUMMARY:Meeting\r\nCATEGORIES:Work,Family\r\n"
                                         "DTSTART;VALUE=DATE:" +
                                             year + "0401\r\n"));
    WriteAll(cal + "/color", "#3366CC\n");
    const QStringList before = QDir(cal).entryList(QDir::AllEntries | QDir::Hidden);
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
    ASSERT_TRUE(settle(*planner));
    const CategoryTable &table = planner->state().categories;
    EXPECT_EQ(table.names, (QStringList{"Holiday", "Work", "Family", "Other"}))
        << qPrintable(table.names.join(", "));
    EXPECT_EQ(table.colours.last(), ReadableUnderBlackText(0xCC6633u)) << "the calendar's #3366CC";
    for (const CalEvent &e : *planner->state().store)
        EXPECT_GE(e.CatIndex, 1) << qPrintable(e.Subject) << " has its category's colour";
    EXPECT_EQ(QDir(cal).entryList(QDir::AllEntries | QDir::Hidden), before);
}

// A calendar of the desktop's calendar service that refuses a deletion: the user reads its
// reason, and the year shows the appointment again.
TEST_F(PlannerTest, ADeletionTheCalendarServiceRefusesIsSaidWithItsReason)
{
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    auto desktop = std::make_shared<Store::FakeCalendars>();
    desktop->source("team-1").put(
        "fair", Vevent("fair", "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:" + year +
                                   "0505\r\nDTEND;VALUE=DATE:" + year + "0507\r\n"));
    Store::SetDesktopCalendarsConnector([desktop] { return desktop; });
    options.storeDir = Store::kDesktopStoreOption;
    Store::Application::setSharedOptions(options);
    auto planner = make(nullptr);
    planner->ReadProperties(MapPropertyBag({{"Folder", "Desktop Calendars\\Team"}}));
    ASSERT_TRUE(settle(*planner)) << qPrintable(dialogs.texts().join('\n'));
    ASSERT_EQ(planner->state().store->Count(), 1);
    const QString key = EventKey(planner->state().store->Item(1));

    desktop->source("team-1").refusal = "The calendar Team did not take the change: offline";
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    AppointmentCommands(*planner).DeleteAppointment(key);
    ASSERT_EQ(dialogs.shown().size(), 2) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_EQ(dialogs.shown()[1].text,
              "Error: -2147352567 The calendar Team did not take the change: offline");
    EXPECT_TRUE(settle(*planner));
    EXPECT_EQ(planner->state().store->Count(), 1) << "shown again";
    EXPECT_EQ(desktop->source("team-1").held.size(), 1);

    desktop->source("team-1").refusal.clear();
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    AppointmentCommands(*planner).DeleteAppointment(key);
    EXPECT_TRUE(desktop->source("team-1").held.isEmpty());
    Store::SetDesktopCalendarsConnector({});
}
