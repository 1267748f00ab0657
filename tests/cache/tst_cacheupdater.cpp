#include "binaryfile.h"
#include "cachefile.h"
#include "cacherecord.h"
#include "cacheupdater.h"
#include "calevent.h"
#include "plannerstate.h"
#include "qverror.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// A synchroniser that remembers what it was asked and reports when the test says so; a cancel
// with a request outstanding is reported (6) from the event loop, as a real one would.
class FakeLink : public SyncherLink
{
public:
    int updates = 0;
    int cancels = 0;
    bool answersCancel = true;
    bool refuses = false;
    bool outstanding = false;

    void UpdateCache() override
    {
        if (refuses)
            throw QvError(462, "gone");
        ++updates;
        outstanding = true;
    }
    void CancelUpdate() override
    {
        ++cancels;
        if (answersCancel && outstanding)
            QMetaObject::invokeMethod(
                this, [this] { report(6); }, Qt::QueuedConnection);
    }
    void report(qint16 result, qint32 error = 0)
    {
        outstanding = false;
        emit WriteComplete(SynchResult(result), error);
    }
};

class CacheUpdaterTest : public ::testing::Test
{
protected:
    CacheUpdaterTest() : state(dialogs)
    {
        state.year.setSelectedYear(2026);
        names = {dir.filePath("cache.tmp"), dir.filePath("~cache.tmp")};
        updater = std::make_unique<CacheUpdater>(state, [this] {
            if (linksFail)
                throw QvError(429, "ActiveX component can't create object");
            auto link = std::make_unique<FakeLink>();
            links.append(link.get());
            return std::unique_ptr<SyncherLink>(std::move(link));
        });
        updater->setCacheFiles(names);
        QObject::connect(updater.get(), &CacheUpdater::indicatorChanged,
                         [this](quint32 c) { colours.append(c); });
        QObject::connect(updater.get(), &CacheUpdater::rebuilt, [this] { ++shown; });
        updater->ResetSyncLink();
    }

    FakeLink &link() { return *static_cast<FakeLink *>(updater->link()); }

    QTemporaryDir dir;
    CacheFileNames names;
    ScriptedDialogs dialogs;
    PlannerState state;
    QList<FakeLink *> links;
    QList<quint32> colours;
    bool linksFail = false;
    int shown = 0;
    std::unique_ptr<CacheUpdater> updater;
};

} // namespace

TEST_F(CacheUpdaterTest, RequestsWhileBusyAreIgnoredUntilTheFourthResetsTheLink)
{
    state.AllEvents = true;
    updater->StartBackgroundUpdate(false);
    EXPECT_EQ(updater->pending(), 1);
    EXPECT_EQ(link().updates, 1);
    EXPECT_EQ(link().CalStartYear, 2026);
    EXPECT_EQ(colours.last(), 0x00FF00u);

    for (int busy = 1; busy <= 3; ++busy) {
        updater->StartBackgroundUpdate(false);
        EXPECT_EQ(updater->busyRequests(), busy);
        EXPECT_EQ(colours.last(), 0u) << "black: asked while busy";
        EXPECT_EQ(links.size(), 1);
        EXPECT_EQ(link().updates, 1);
    }
    updater->StartBackgroundUpdate(false);
    ASSERT_EQ(links.size(), 2) << "the fourth drops the link";
    EXPECT_EQ(updater->pending(), 1);
    EXPECT_EQ(link().updates, 1);
    EXPECT_TRUE(link().AllEvents) << "the new link takes the planner's AllEvents";

    // Once the count has reached 4, every request that meets a pending rebuild resets.
    updater->StartBackgroundUpdate(false);
    EXPECT_EQ(links.size(), 3);
    link().report(1);
    EXPECT_EQ(updater->pending(), 0);
    updater->StartBackgroundUpdate(false);
    EXPECT_EQ(updater->busyRequests(), 0) << "a request that finds nothing pending starts again";
    EXPECT_EQ(links.size(), 3);
}

TEST_F(CacheUpdaterTest, CancelFirstWaitsForTheCancelledReportThenAsksAgain)
{
    updater->StartBackgroundUpdate(false);
    colours.clear();
    updater->StartBackgroundUpdate(true);
    EXPECT_EQ(link().cancels, 1);
    EXPECT_EQ(link().updates, 2);
    EXPECT_EQ(links.size(), 1) << "the report came: the link is sound";
    EXPECT_EQ(updater->pending(), 1);
    EXPECT_EQ(colours, (QList<quint32>{0x0000FF, 0xFFFFFF, 0xFFFFFF, 0, 0x00FF00, 0x00FF00}))
        << "cancelling red, the report's idle, the cancel's end, then the request";
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_TRUE(updater->backgroundTimerEnabled());
}

TEST_F(CacheUpdaterTest, ACancelThatIsNeverReportedResetsTheLink)
{
    updater->StartBackgroundUpdate(false);
    link().answersCancel = false;
    EXPECT_EQ(updater->CancelBackgroundUpdate(), 1);
    EXPECT_EQ(links.size(), 2);
    EXPECT_EQ(updater->pending(), 0);
    EXPECT_FALSE(updater->cancelling());
    EXPECT_EQ(updater->CancelBackgroundUpdate(), 0) << "nothing pending now";
}

TEST_F(CacheUpdaterTest, ACancelInsideACancelIsRefused)
{
    updater->StartBackgroundUpdate(false);
    int inner = -1;
    {
        ScopedYieldHook hook([&] {
            if (inner == -1)
                inner = updater->CancelBackgroundUpdate();
        });
        EXPECT_EQ(updater->CancelBackgroundUpdate(), 1);
    }
    EXPECT_EQ(inner, 3);
    // Requests made during a cancel are dropped.
    {
        ScopedYieldHook hook([&] { updater->StartBackgroundUpdate(false); });
        updater->StartBackgroundUpdate(false);
        updater->CancelBackgroundUpdate();
    }
    EXPECT_EQ(link().updates, 2);
}

TEST_F(CacheUpdaterTest, ReportsAndTheirMessages)
{
    auto reported = [&](qint16 result, qint32 error) {
        dialogs.clear();
        updater->StartBackgroundUpdate(false);
        link().report(result, error);
        return dialogs.texts();
    };
    EXPECT_TRUE(reported(1, 0).isEmpty());
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(updater->backgroundTimerEnabled());

    EXPECT_EQ(
        reported(3, 32),
        (QStringList{"Unable to clear old cache file, " + names.cacheFile + " before updating",
                     "Reading cache error: 32 The process cannot access the file because it "
                     "is being used by another process."}));
    EXPECT_FALSE(updater->backgroundTimerEnabled()) << "no timed rebuild after a failure";

    EXPECT_TRUE(reported(6, 0).isEmpty());
    EXPECT_TRUE(updater->backgroundTimerEnabled());
    EXPECT_EQ(reported(2, 0),
              QStringList{"Unable to open temp file, " + names.tempFile + " for updating"});
    EXPECT_EQ(
        reported(5, 91),
        (QStringList{"Could not log on to MAPI, probably due to a network problem.  Error code: 91",
                     "Reading cache error: 91 Object variable or With block variable not set"}));
    EXPECT_EQ(reported(7, 0), QStringList{"Error occured while fetching events."});
    EXPECT_EQ(
        reported(4, 0),
        QStringList{"An error starting the background timer, check that the qvtimer dll exists."});
    EXPECT_EQ(reported(9, 0), QStringList{"An error occured while updating the cache file"});
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(updater->pending(), 0);
}

TEST_F(CacheUpdaterTest, TimedRequestsComeOnTheTwelfthTickThenEveryEleventh)
{
    auto ticksUntilRequest = [&] {
        const int before = link().updates;
        for (int tick = 1; tick <= 20; ++tick) {
            updater->BackgroundTick();
            if (link().updates > before) {
                link().report(6);
                return tick;
            }
        }
        return 0;
    };
    EXPECT_EQ(ticksUntilRequest(), 12);
    EXPECT_EQ(ticksUntilRequest(), 11);
    EXPECT_EQ(ticksUntilRequest(), 11);
}

TEST_F(CacheUpdaterTest, ARequestThatCannotBeMadeSaysSoAndLeavesNothingPending)
{
    link().refuses = true;
    updater->StartBackgroundUpdate(false);
    EXPECT_EQ(dialogs.texts(), QStringList{"Error setting cache update.\n\nError: 462 gone"});
    EXPECT_EQ(updater->pending(), 0);
    link().refuses = false;
    updater->StartBackgroundUpdate(false);
    EXPECT_EQ(link().updates, 1) << "not taken for busy";
}

TEST_F(CacheUpdaterTest, WriteBackWritesTheStoreAfterCancellingARebuild)
{
    for (int day : {3, 1}) {
        auto e = std::make_unique<CalEvent>();
        e->EventID = QString::number(day);
        e->Subject = "Day " + QString::number(day);
        e->StartDate = At(2026, 2, day);
        e->EndDate = At(2026, 2, day + 1);
        InsertEventSorted(*state.store, std::move(e));
    }
    updater->StartBackgroundUpdate(false);
    updater->WriteBackCache(names);
    EXPECT_EQ(link().cancels, 1) << "both writers use the temp file";
    EXPECT_EQ(ReadAll(names.cacheFile),
              CacheBytes(QList<CacheRecord>{{"1", "Day 1", "", At(2026, 2, 1), At(2026, 2, 2)},
                                            {"3", "Day 3", "", At(2026, 2, 3), At(2026, 2, 4)}}));
    EXPECT_EQ(link().updates, 1);

    // A temp file that cannot be made, or a disk that fills while writing: a rebuild instead,
    // whose report says what is wrong (once, for every change that could not be written); the
    // cache stays whole.
    const QByteArray whole = ReadAll(names.cacheFile);
    const CacheFileNames nowhere{names.cacheFile, dir.filePath("gone/~cache.tmp")};
    updater->WriteBackCache(nowhere);
    EXPECT_EQ(link().updates, 2);
    FailWritesAfter(30, ENOSPC);
    updater->WriteBackCache(names);
    FailWritesAfter(-1, 0);
    EXPECT_EQ(link().updates, 3);
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(ReadAll(names.cacheFile), whole);
    EXPECT_FALSE(QFileInfo::exists(names.tempFile));
}

TEST_F(CacheUpdaterTest, ALinkThatCouldNotBeMadeIsMadeAgainAtTheNextRequest)
{
    // The fourth request while busy resets the link, and the synchroniser cannot be created.
    updater->StartBackgroundUpdate(false);
    linksFail = true;
    for (int i = 0; i < 4; ++i)
        updater->StartBackgroundUpdate(false);
    EXPECT_EQ(updater->link(), nullptr);
    EXPECT_EQ(updater->pending(), 0);
    EXPECT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts().value(0).startsWith("Error setting cache update."));

    // Every timed request tries again; the message was said once.
    for (int tick = 0; tick < 30; ++tick)
        updater->BackgroundTick();
    updater->StartBackgroundUpdate(true); // a reload
    EXPECT_EQ(dialogs.texts().size(), 1) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_EQ(updater->link(), nullptr);

    // Once the synchroniser can be created, the next timed request makes it and asks it.
    linksFail = false;
    for (int tick = 0; tick < 11 && !updater->link(); ++tick)
        updater->BackgroundTick();
    ASSERT_NE(updater->link(), nullptr);
    EXPECT_EQ(link().updates, 1);
    EXPECT_EQ(updater->pending(), 1);
    link().report(1);
    EXPECT_EQ(shown, 1) << "its rebuild is shown";

    // A later failure is said again.
    linksFail = true;
    EXPECT_THROW(updater->ResetSyncLink(), QvError);
    updater->StartBackgroundUpdate(false);
    EXPECT_EQ(dialogs.texts().size(), 2);
}
