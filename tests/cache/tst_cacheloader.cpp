#include "cacheloader.h"
#include "cacherecord.h"
#include "eventkey.h"
#include "plannerstate.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class LoaderTest : public ::testing::Test
{
protected:
    LoaderTest() : state(dialogs)
    {
        state.year = PlannerYear(2010, 7);
        state.categories.names = {"Holiday", "Work", "Other"};
        path = dir.filePath("cache.tmp");
    }

    void write(const QList<CacheRecord> &records) { WriteAll(path, CacheBytes(records)); }
    // Fills the store with one marker event, to see whether a load replaced it.
    void seed()
    {
        auto e = std::make_unique<CalEvent>();
        e->EventID = "seed";
        const QString key = EventKey(*e);
        state.store = std::make_shared<EventStore>();
        state.store->Add(std::move(e), key);
    }
    QStringList ids() const
    {
        QStringList out;
        for (const CalEvent &e : *state.store)
            out << e.EventID;
        return out;
    }

    QTemporaryDir dir;
    QString path;
    ScriptedDialogs dialogs;
    PlannerState state;
    QList<quint32> indicator;
    CacheLoader loader{[this](quint32 c) { indicator.append(c); }};
};

} // namespace

TEST_F(LoaderTest, EmptyFileGivesAnEmptyStoreAndNoMessage)
{
    seed();
    write({});
    loader.LoadCache(state, path);
    EXPECT_EQ(state.store->Count(), 0);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(indicator, QList<quint32>({0x00FFFF, 0xFFFFFF}));
    EXPECT_EQ(loader.loadState(), 0);
}

TEST_F(LoaderTest, KeepsWhatTouchesTheYearAndSkipsDuplicates)
{
    // Planner year: July 2010 to June 2011.
    write({
        {"before-in", "Starts 10 days early", "Work", At(2010, 6, 21), At(2010, 7, 3)},
        {"before-out", "Ends before", "", At(2010, 6, 1), At(2010, 6, 30, 12)},
        {"in", "Inside", "Holiday, Work", At(2010, 9, 5, 10), At(2010, 9, 5, 11)},
        {"in", "Same start again", "", At(2010, 9, 5, 10), At(2010, 9, 5, 12)},
        {"in", "Next occurrence", "", At(2010, 9, 12, 10), At(2010, 9, 12, 11)},
        {"nocat", "No category", "Lunch", At(2011, 3, 15), At(2011, 3, 16)},
        {"after", "Day after the year", "", At(2011, 7, 1), At(2011, 7, 2)},
        {"", "No identifier", "", At(2010, 8, 1), At(2010, 8, 2)},
    });
    loader.LoadCache(state, path);
    EXPECT_EQ(ids(), QStringList({"before-in", "in", "in", "nocat"}));
    EXPECT_TRUE(dialogs.shown().isEmpty());

    const EventStore &s = *state.store;
    EXPECT_LE(s.Item(1).StartMonth, 0);
    EXPECT_EQ(s.Item(1).StartDay, 0);
    EXPECT_EQ(s.Item(1).CatIndex, 2);
    EXPECT_EQ(s.Item(2).Subject, "Inside") << "the first of two equal keys stays";
    EXPECT_EQ(s.Item(2).CatIndex, 1);
    EXPECT_EQ(s.Item(2).StartDay, state.year.LeadIn(3) + 5);
    EXPECT_EQ(s.Item(4).CatIndex, 3) << "no match: the catch-all";
    for (const CalEvent &e : s)
        EXPECT_EQ(e.Band, 0);

    state.HideNonCategoryItems = true;
    loader.LoadCache(state, path);
    EXPECT_EQ(state.store->Item(4).EventID, "nocat") << "hidden items stay in the store";
    EXPECT_EQ(state.store->Item(4).CatIndex, -1);
}

TEST_F(LoaderTest, EveryEventIsPlacedAndIndexedAsOnItsOwn)
{
    // Many category texts, more than the loader remembers, each one recurring; events that
    // begin before the year or end after it among events inside it. Every loaded event must be
    // what placing it on its own gives.
    state.categories.names = {"Holiday", "Work", "c7", "c30", "c99", "Other"};
    QList<CacheRecord> records;
    for (int i = 0; i < 600; ++i) {
        const bool early = i % 5 == 0; // begins in June, ends in July
        const double start = early ? At(2010, 6, 20) + i % 7 : At(2010, 7, 1) + i / 2.0;
        const double end = i % 11 == 0 ? At(2011, 7, 3) : start + (early ? 20 : 1 + i % 3);
        const QString categories = i % 4 ? QString("c%1").arg(i % 100) : QString("x, Work");
        records.append({QString("id%1").arg(i), "s", categories, start, end});
    }
    write(records);
    loader.LoadCache(state, path);
    ASSERT_EQ(state.store->Count(), 600);
    int position = 0;
    for (const CacheRecord &r : records) {
        CalEvent alone;
        alone.StartDate = r.StartDate;
        alone.EndDate = r.EndDate;
        PlaceEvent(alone, state.year);
        const CalEvent &e = state.store->Item(++position);
        SCOPED_TRACE(r.EventID.toStdString());
        ASSERT_EQ(e.EventID, r.EventID);
        EXPECT_EQ(e.StartMonth, alone.StartMonth);
        EXPECT_EQ(e.StartDay, alone.StartDay);
        EXPECT_EQ(e.EndMonth, alone.EndMonth);
        EXPECT_EQ(e.EndDay, alone.EndDay);
        EXPECT_EQ(e.CatIndex, state.categoryIndexOf(r.Categories));
    }
}

TEST_F(LoaderTest, TruncatedLastRecordLeavesTheStoreAndSaysSo)
{
    seed();
    const QByteArray bytes = CacheBytes({{"a", "s", "", At(2010, 8, 1), At(2010, 8, 2)},
                                         {"b", "t", "", At(2010, 8, 3), At(2010, 8, 4)}});
    WriteAll(path, bytes.chopped(3));
    loader.LoadCache(state, path);
    EXPECT_EQ(ids(), QStringList{"seed"});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Error reading cache file " + path +
                                           ".  Error No.: \n\n62 Error Description: Input past "
                                           "end of file");
    EXPECT_EQ(loader.loadState(), 0);
    EXPECT_FALSE(loader.abortRaised());
    EXPECT_EQ(indicator.last(), 0xFFFFFFu);
}

TEST_F(LoaderTest, UnopenableFileLeavesTheStore)
{
    seed();
    QDir().mkpath(dir.filePath("held/cache.tmp"));
    loader.LoadCache(state, dir.filePath("held/cache.tmp"));
    EXPECT_EQ(ids(), QStringList{"seed"});
    EXPECT_EQ(dialogs.texts(), QStringList{"Can't open your file for that type of access."});
    EXPECT_EQ(loader.loadState(), 0);
}

// A year never rebuilt, even one whose cache directory is not there yet, is an empty year; the
// loader creates nothing (on a full disk that would be an empty file posing as a cache).
TEST_F(LoaderTest, AMissingCacheIsAnEmptyYearAndIsNotCreated)
{
    for (const QString &path : {dir.filePath("cache.tmp"), dir.filePath("gone/cache.tmp")}) {
        seed();
        EXPECT_TRUE(loader.LoadCache(state, path));
        EXPECT_EQ(state.store->Count(), 0);
        EXPECT_FALSE(QFileInfo::exists(path));
    }
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(LoaderTest, SecondLoadFromAYieldStopsItself)
{
    seed();
    write({{"a", "", "", At(2010, 8, 1), At(2010, 8, 2)},
           {"b", "", "", At(2010, 8, 3), At(2010, 8, 4)},
           {"c", "", "", At(2010, 8, 5), At(2010, 8, 6)}});
    int yields = 0;
    bool innerSawLoading = false;
    ScopedYieldHook hook([&] {
        if (++yields == 1) {
            innerSawLoading = loader.loadState() == CacheLoader::kLoading;
            loader.LoadCache(state, path); // finds a load running: raises the flag, stops itself
        }
    });
    loader.LoadCache(state, path);
    EXPECT_TRUE(innerSawLoading);
    EXPECT_EQ(ids(), QStringList({"a", "b", "c"})) << "the running load finishes";
    EXPECT_FALSE(loader.abortRaised());
    EXPECT_EQ(loader.loadState(), 0);
}

TEST_F(LoaderTest, SecondLoadOfAnEmptyFileWinsAndTheFirstStops)
{
    seed();
    write({{"a", "", "", At(2010, 8, 1), At(2010, 8, 2)},
           {"b", "", "", At(2010, 8, 3), At(2010, 8, 4)}});
    const QString empty = dir.filePath("empty.tmp");
    WriteAll(empty, {});
    int yields = 0;
    ScopedYieldHook hook([&] {
        if (++yields == 1)
            loader.LoadCache(state, empty);
    });
    loader.LoadCache(state, path);
    EXPECT_EQ(state.store->Count(), 0) << "only the inner load assigned its store";
    EXPECT_EQ(yields, 1) << "the outer load stopped at its next test";
    EXPECT_FALSE(loader.abortRaised());
    EXPECT_EQ(loader.loadState(), 0);
}

TEST_F(LoaderTest, ALoadStoppedInItsLastYieldAssignsNothingAndLeavesNoFlag)
{
    // A year with no cache, or an empty one, shown in the yield after the last record of the
    // year being loaded (a year change at the end of a load): that year is what the store holds.
    write({{"a", "", "", At(2010, 8, 1), At(2010, 8, 2)},
           {"b", "", "", At(2010, 8, 3), At(2010, 8, 4)}});
    const QString empty = dir.filePath("empty.tmp");
    WriteAll(empty, {});
    for (const QString &other : {empty, dir.filePath("never-rebuilt.tmp")}) {
        SCOPED_TRACE(qPrintable(other));
        seed();
        int yields = 0;
        {
            ScopedYieldHook hook([&] {
                if (++yields == 2)
                    loader.LoadCache(state, other);
            });
            loader.LoadCache(state, path);
        }
        EXPECT_EQ(yields, 2);
        EXPECT_EQ(state.store->Count(), 0) << "the stopped load assigned its store too";
        EXPECT_FALSE(loader.abortRaised());
        EXPECT_EQ(loader.loadState(), 0);
        // The next load is not stopped by a flag left over.
        EXPECT_TRUE(loader.LoadCache(state, path));
        EXPECT_EQ(ids(), QStringList({"a", "b"}));
    }
}

TEST_F(LoaderTest, AStoreHeldAcrossAYieldSurvivesTheSwap)
{
    write({{"a", "", "", At(2010, 8, 1), At(2010, 8, 2)}});
    seed();
    std::shared_ptr<EventStore> held = state.store;
    loader.LoadCache(state, path);
    EXPECT_EQ(held->Item(1).EventID, "seed");
    EXPECT_EQ(state.store->Item(1).EventID, "a");
}

// A year of many records is read ahead of the loader in batches: every record comes in file
// order, damage after many batches still leaves the store as it was, and a load stopped while
// the reading is ahead of it stops at once.
TEST_F(LoaderTest, ALargeCacheLoadsInOrderAndStopsCleanly)
{
    QByteArray bytes;
    constexpr int kRecords = 30000;
    for (int i = 0; i < kRecords; ++i)
        AppendCacheRecord(bytes, QString("id%1").arg(i), "", "Work", At(2010, 8, 1) + i / 10000.0,
                          At(2010, 8, 2) + i / 10000.0);
    WriteAll(path, bytes);
    seed();
    ASSERT_TRUE(loader.LoadCache(state, path));
    ASSERT_EQ(state.store->Count(), kRecords);
    bool inOrder = true;
    for (int i = 1; i <= kRecords; ++i)
        inOrder &= state.store->Item(i).EventID == QString("id%1").arg(i - 1);
    EXPECT_TRUE(inOrder);

    seed();
    WriteAll(path, bytes.chopped(1));
    loader.LoadCache(state, path);
    EXPECT_EQ(ids(), QStringList{"seed"});
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("62 Error Description: Input past end of file"));

    WriteAll(path, bytes);
    const QString empty = dir.filePath("empty.tmp");
    WriteAll(empty, {});
    int yields = 0;
    ScopedYieldHook hook([&] {
        if (++yields == 5000)
            loader.LoadCache(state, empty);
    });
    seed();
    loader.LoadCache(state, path);
    EXPECT_EQ(state.store->Count(), 0) << "only the inner load assigned its store";
    EXPECT_EQ(yields, 5000) << "the outer load stopped at its next record";
    EXPECT_EQ(loader.loadState(), 0);
}

TEST_F(LoaderTest, CutAtAnyByteNeverHalfLoads)
{
    QList<CacheRecord> records;
    QList<qsizetype> boundaries = {0};
    QByteArray bytes;
    for (int i = 0; i < 6; ++i) {
        const CacheRecord r{QString("id%1").arg(i), QString::fromUtf8("Tür %1").arg(i), "Work",
                            At(2010, 8, 1 + i), At(2010, 8, 2 + i)};
        records.append(r);
        AppendCacheRecord(bytes, r.EventID, r.Subject, r.Categories, r.StartDate, r.EndDate);
        boundaries.append(bytes.size());
    }
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        seed();
        dialogs.clear();
        WriteAll(path, bytes.left(cut));
        loader.LoadCache(state, path);
        const qsizetype whole = boundaries.indexOf(cut);
        if (whole >= 0) {
            // A cut between records is a valid, shorter cache: nothing marks the difference.
            EXPECT_EQ(state.store->Count(), whole) << cut;
            EXPECT_TRUE(dialogs.shown().isEmpty()) << cut;
        } else {
            EXPECT_EQ(ids(), QStringList{"seed"}) << cut;
            EXPECT_EQ(dialogs.shown().size(), 1) << cut;
        }
        ASSERT_EQ(loader.loadState(), 0);
    }
}

TEST_F(LoaderTest, RandomBytesNeverCrashOrHalfLoad)
{
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 300; ++round) {
        seed();
        dialogs.clear();
        QByteArray noise(rng.bounded(1, 4096), Qt::Uninitialized);
        for (char &c : noise)
            c = char(rng.bounded(256));
        if (round % 3 == 0) // plausible small lengths make the reader go deeper
            noise[0] = noise[1] = noise[2] = 0;
        WriteAll(path, noise);
        loader.LoadCache(state, path);
        if (!dialogs.shown().isEmpty()) {
            EXPECT_EQ(ids(), QStringList{"seed"}) << round;
        }
        ASSERT_EQ(loader.loadState(), 0);
        ASSERT_FALSE(loader.abortRaised());
    }
}
