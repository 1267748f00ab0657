#include "binaryfile.h"
#include "cachefile.h"
#include "cacheloader.h"
#include "cacherecord.h"
#include "fileerror.h"
#include "plannerstate.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Cache files in a directory others can write: names planted as links, pipes or devices, and
// two writers of one name.

namespace {

class SharedDirectory : public ::testing::Test
{
protected:
    SharedDirectory()
    {
        names = {dir.filePath("Ana2026Calendar100.tmp"), dir.filePath("~Ana2026Calendar100.tmp")};
        WriteAll(victim, "the user's own file\n");
    }
    static bool link(const QString &target, const QString &name)
    {
        return ::symlink(QFile::encodeName(target).constData(),
                         QFile::encodeName(name).constData()) == 0;
    }
    static bool isLink(const QString &path)
    {
        struct stat st
        {
        };
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
    }
    // n records of one writer's mark.
    static std::function<bool(CacheRecordWriter &)> records(const QString &mark, int n)
    {
        return [mark, n](CacheRecordWriter &w) {
            for (int i = 0; i < n; ++i)
                w.write(mark + QString::number(i), "Subject", "Work", 46000 + i, 46001 + i);
            return true;
        };
    }
    // The marks and count of the cache's records; an empty mark when they are not whole.
    static std::pair<QString, int> contents(const QString &path)
    {
        BinaryFile f = BinaryFile::open(path);
        CacheRecordReader reader(f);
        CacheRecord r;
        QString mark;
        int n = 0;
        while (!reader.atEnd()) {
            if (!reader.read(r))
                return {QString(), n};
            const QString m = r.EventID.left(1);
            if (!mark.isEmpty() && m != mark)
                return {QString(), n};
            mark = m;
            ++n;
        }
        return {mark, n};
    }

    QTemporaryDir dir;
    CacheFileNames names;
    const QString victim = dir.filePath("victim.txt");
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(SharedDirectory, PlantedLinksAreNeverFollowed)
{
    // The temp name as a link: the writer removes it and makes a file of its own.
    ASSERT_TRUE(link(victim, names.tempFile));
    EXPECT_TRUE(ReplaceCacheFile(names, records("A", 3)).ok());
    EXPECT_EQ(ReadAll(victim), "the user's own file\n");
    EXPECT_EQ(contents(names.cacheFile), std::make_pair(QString("A"), 3));

    // A link planted between the removal and the creation is refused, not followed.
    ASSERT_TRUE(link(victim, names.tempFile));
    int error = 0;
    EXPECT_FALSE(BinaryFile::create(names.tempFile, &error).isOpen());
    EXPECT_EQ(error, FileError::FileAlreadyExists);
    EXPECT_EQ(ReadAll(victim), "the user's own file\n");
    QFile::remove(names.tempFile);

    // The cache name as a link: the new cache takes the name, the link's target stays.
    QFile::remove(names.cacheFile);
    ASSERT_TRUE(link(victim, names.cacheFile));
    EXPECT_TRUE(ReplaceCacheFile(names, records("B", 2)).ok());
    EXPECT_FALSE(isLink(names.cacheFile));
    EXPECT_EQ(ReadAll(victim), "the user's own file\n");
    EXPECT_EQ(contents(names.cacheFile), std::make_pair(QString("B"), 2));

    // The lock's name as a link: nothing is written, and the writer says so.
    const CacheFileNames other{dir.filePath("x.tmp"), dir.filePath("~x.tmp")};
    ASSERT_TRUE(link(victim, other.tempFile + ".lock"));
    const CacheWriteResult r = ReplaceCacheFile(other, records("C", 1));
    EXPECT_EQ(r.stage, CacheWriteResult::TempNotOpened);
    EXPECT_EQ(r.errorNumber, FileError::BadFileMode);
    EXPECT_EQ(ReadAll(victim), "the user's own file\n");
    EXPECT_FALSE(QFile::exists(other.cacheFile));
}

TEST_F(SharedDirectory, TheLoaderRefusesAnythingButARegularFile)
{
    PlannerState state(dialogs);
    state.year = PlannerYear(2026, 1);
    CacheLoader loader;
    auto load = [&](const QString &path) {
        dialogs.clear();
        QElapsedTimer t;
        t.start();
        loader.LoadCache(state, path);
        EXPECT_LT(t.elapsed(), 2000) << qPrintable(path);
        return dialogs.texts();
    };
    const QStringList refused{"Can't open your file for that type of access."};

    // A dangling link: its target is not created.
    const QString dangling = dir.filePath("dangling.tmp");
    ASSERT_TRUE(link(dir.filePath("made-by-the-loader"), dangling));
    EXPECT_EQ(load(dangling), refused);
    EXPECT_FALSE(QFile::exists(dir.filePath("made-by-the-loader")));

    // A link to a file of the user's.
    const QString toVictim = dir.filePath("linked.tmp");
    ASSERT_TRUE(link(victim, toVictim));
    EXPECT_EQ(load(toVictim), refused);

    // A pipe and a device, which would never end.
    const QString fifo = dir.filePath("fifo.tmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(load(fifo), refused);
    EXPECT_EQ(load("/dev/zero"), refused);
    EXPECT_EQ(load(dir.path()), refused) << "a directory";
    EXPECT_EQ(state.store->Count(), 0);

    // A regular cache still loads.
    WriteAll(names.cacheFile, CacheBytes({{"ok", "Fair", "", 46090, 46091}}));
    EXPECT_TRUE(load(names.cacheFile).isEmpty());
    EXPECT_EQ(state.store->Count(), 1);
}

TEST_F(SharedDirectory, TwoWritersOfOneNameTakeTurns)
{
    // Two planners' writers (threads here, processes in life) rebuild the same cache name over
    // and over while a reader keeps reading it: every cache read is one writer's whole file.
    constexpr int kRounds = 100, kRecords = 300;
    ASSERT_TRUE(ReplaceCacheFile(names, records("A", kRecords)).ok());
    std::atomic<bool> stop = false;
    std::atomic<int> failures = 0, reads = 0, torn = 0;
    auto writer = [&](const QString &mark) {
        for (int i = 0; i < kRounds; ++i) {
            if (!ReplaceCacheFile(names, records(mark, kRecords)).ok())
                ++failures;
        }
    };
    std::thread reader([&] {
        while (!stop) {
            const auto [mark, n] = contents(names.cacheFile);
            ++reads;
            if (mark.isEmpty() || n != kRecords)
                ++torn;
        }
    });
    std::thread a(writer, QStringLiteral("A"));
    std::thread b(writer, QStringLiteral("B"));
    a.join();
    b.join();
    stop = true;
    reader.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    const auto [mark, n] = contents(names.cacheFile);
    EXPECT_TRUE(mark == "A" || mark == "B");
    EXPECT_EQ(n, kRecords);
    EXPECT_FALSE(QFileInfo::exists(names.tempFile + ".lock"))
        << "the last writer removes its lock file";
}

TEST_F(SharedDirectory, AWriterInterruptedByAnotherOfItsThreadIsNotWaitedFor)
{
    // A rebuild that yielded to the loop holds the name; a write-back in the same thread cannot
    // wait for it to finish, so it is refused at once.
    const CacheNameLock first(names.cacheFile, names.tempFile + ".lock");
    ASSERT_TRUE(first.held());
    EXPECT_TRUE(CacheNameBusy(names.cacheFile));
    QElapsedTimer t;
    t.start();
    const CacheWriteResult r = ReplaceCacheFile(names, records("A", 1));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(r.stage, CacheWriteResult::TempNotOpened);
    EXPECT_EQ(r.errorNumber, FileError::FileAlreadyOpen);

    // Another thread waits, a while, then gives up the same way.
    std::thread other([&] {
        const CacheNameLock second(names.cacheFile, names.tempFile + ".lock", 300);
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.error(), FileError::FileAlreadyOpen);
    });
    other.join();
}
