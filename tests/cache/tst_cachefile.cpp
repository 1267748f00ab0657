#include "binaryfile.h"
#include "cachefile.h"
#include "cacherecord.h"
#include "calevent.h"
#include "eventstore.h"
#include "fileerror.h"
#include "filereplacement.h"
#include "qverror.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QList<CacheRecord> ReadRecords(const QString &path, int *error = nullptr)
{
    BinaryFile f = BinaryFile::open(path);
    CacheRecordReader reader(f);
    QList<CacheRecord> out;
    CacheRecord r;
    while (!reader.atEnd()) {
        if (!reader.read(r)) {
            if (error)
                *error = reader.errorNumber();
            return out;
        }
        out.append(r);
    }
    return out;
}

bool Same(const CacheRecord &a, const CacheRecord &b)
{
    return a.EventID == b.EventID && a.Subject == b.Subject && a.Categories == b.Categories &&
           a.StartDate == b.StartDate && a.EndDate == b.EndDate;
}

mode_t ModeOf(const QString &path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

} // namespace

TEST(CacheRecord, LayoutToTheByte)
{
    QByteArray bytes;
    AppendCacheRecord(bytes, "ID1", "", "", 36526.5, 36527.0);
    ASSERT_EQ(bytes.size(), 22 + 3);
    // Little-endian count, text, two empty texts, then the doubles 36526.5 and 36527.0.
    EXPECT_EQ(bytes.toHex(), QByteArray("0300"
                                        "494431"
                                        "0000"
                                        "0000"
                                        "00000000d0d5e140"
                                        "00000000e0d5e140"));
}

TEST(CacheRecord, RoundTripThroughTheReplaceProtocol)
{
    QTemporaryDir dir;
    const CacheFileNames names{dir.filePath("cache.tmp"), dir.filePath("~cache.tmp")};
    const QList<CacheRecord> records = {
        {"00000000A1B2", "Sommerfest in Köln — Ümläute", "Family, Holiday", At(2026, 7, 4),
         At(2026, 7, 5)},
        {"id-empty", "", "", At(2026, 7, 4, 9, 30), At(2026, 7, 4, 10)},
        {"日本", "会議", "仕事", At(2026, 12, 31, 23, 59), At(2027, 1, 1, 0, 30)},
    };
    const CacheWriteResult result = ReplaceCacheFile(names, [&](CacheRecordWriter &w) {
        for (const CacheRecord &r : records)
            EXPECT_TRUE(w.write(r));
        return true;
    });
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(QFile::exists(names.tempFile));
    const QList<CacheRecord> back = ReadRecords(names.cacheFile);
    ASSERT_EQ(back.size(), records.size());
    for (int i = 0; i < records.size(); ++i)
        EXPECT_TRUE(Same(back[i], records[i])) << i;
    EXPECT_EQ(ModeOf(names.cacheFile), 0600u);
}

TEST(CacheTextPool, SameBytesSameTextDifferentBytesTheirOwn)
{
    CacheTextPool pool;
    // Lengths around the eight-byte steps, texts that differ only in their last byte, prefixes
    // of each other, the empty text and non-ASCII, each met twice as the occurrences of a
    // recurring item are; beyond the pool's limit texts still decode.
    QList<QByteArray> texts = {"",
                               "a",
                               "ab",
                               "abcdefg",
                               "abcdefgh",
                               "abcdefgi",
                               "abcdefghi",
                               "abcdefghj",
                               "Work, Holiday",
                               "Work, Holidaz",
                               "Köln — Ümläute"};
    for (int i = 0; i < 70000; ++i)
        texts.append("subject " + QByteArray::number(i));
    for (const QByteArray &bytes : texts) {
        for (int round = 0; round < 2; ++round)
            ASSERT_EQ(pool.text(bytes.constData(), bytes.size()), QString::fromUtf8(bytes))
                << bytes.constData();
    }
    EXPECT_TRUE(pool.sharing());
    // A repeated text is the pooled one itself, sharing its characters.
    const QString first = pool.text("Work, Holiday", 13);
    EXPECT_EQ(pool.text("Work, Holiday", 13).constData(), first.constData());

    // Texts that never repeat (identifiers of items that do not recur): the pool gives up on
    // them and still hands each back whole.
    CacheTextPool unique;
    for (int i = 0; i < 5000; ++i) {
        const QByteArray id = "0000000" + QByteArray::number(i * 7919);
        ASSERT_EQ(unique.text(id.constData(), id.size()), QString::fromUtf8(id));
    }
    EXPECT_FALSE(unique.sharing());
}

TEST(CacheRecord, LongTextsAreCutAtACharacterBoundary)
{
    // 'é' is two bytes; 32768 of them are 65,536 bytes, one byte too many.
    const QString accents(32768, QChar(0xE9));
    const QByteArray cut = EncodeCacheText(accents);
    EXPECT_EQ(cut.size(), 65534);
    EXPECT_EQ(QString::fromUtf8(cut), QString(32767, QChar(0xE9)));

    const QString ascii(70000, 'x');
    EXPECT_EQ(EncodeCacheText(ascii).size(), 65535);
    // A four-byte character straddling the limit goes whole.
    const QString emoji = QString(65533, 'a') + QString::fromUcs4(U"\U0001F600");
    EXPECT_EQ(EncodeCacheText(emoji).size(), 65533);

    QByteArray bytes;
    AppendCacheRecord(bytes, "L", accents, ascii, 1, 2);
    QTemporaryDir dir;
    WriteAll(dir.filePath("c"), bytes);
    const QList<CacheRecord> back = ReadRecords(dir.filePath("c"));
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].Subject.size(), 32767);
    EXPECT_EQ(back[0].Categories.size(), 65535);
    EXPECT_EQ(back[0].EndDate, 2.0);
}

TEST(CacheRecord, ReaderRejectsTruncationAndNonDates)
{
    QTemporaryDir dir;
    const QByteArray good =
        CacheBytes({{"A", "s", "c", 40000, 40001}, {"B", "t", "", 40002, 40003}});
    WriteAll(dir.filePath("cut"), good.left(good.size() - 1));
    int error = 0;
    EXPECT_EQ(ReadRecords(dir.filePath("cut"), &error).size(), 1);
    EXPECT_EQ(error, FileError::InputPastEndOfFile);

    WriteAll(dir.filePath("nan"), CacheBytes({{"A", "", "", std::nan(""), 1}}));
    error = 0;
    EXPECT_TRUE(ReadRecords(dir.filePath("nan"), &error).isEmpty());
    EXPECT_EQ(error, 6);

    WriteAll(dir.filePath("empty"), {});
    error = 0;
    EXPECT_TRUE(ReadRecords(dir.filePath("empty"), &error).isEmpty());
    EXPECT_EQ(error, 0);
}

TEST(CacheFileNames, PartsChecksumAndCleaning)
{
    QTemporaryDir dir;
    ScopedEnv tmp("TMP", QFile::encodeName(dir.path()));
    ScriptedDialogs dialogs;

    const QString folder = "Personal Folders\\Calendar";
    qint64 sum = 0;
    for (QChar c : folder.chopped(1))
        sum += c.unicode();
    const CacheFileNames names =
        MakeCacheFileNames([] { return QString("A"); }, 2008, folder, dialogs);
    const QString base = "A2008Calendar" + QString::number(sum) + ".tmp";
    EXPECT_EQ(names.cacheFile, dir.path() + "/" + base);
    EXPECT_EQ(names.tempFile, dir.path() + "/~" + base);

    EXPECT_EQ(FolderChecksum("X"), 0);
    EXPECT_EQ(FolderChecksum(""), 0);
    EXPECT_EQ(FolderChecksum("ab"), 'a');
    EXPECT_EQ(FolderNameOf(""), "");
    EXPECT_EQ(FolderNameOf("Calendar"), "Calendar");

    const CacheFileNames odd =
        MakeCacheFileNames([] { return QString("Dr: Who?"); }, 2026, "", dialogs);
    EXPECT_EQ(odd.cacheFile, dir.path() + "/Dr_ Who_20260.tmp");
    EXPECT_EQ(odd.tempFile, dir.path() + "/~Dr_ Who_20260.tmp");
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST(CacheFileNames, MissingUserNameFallsBack)
{
    ScopedEnv tmp("TMP", "");
    QTemporaryDir runtime;
    ScopedEnv rt("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ScriptedDialogs dialogs;
    const CacheFileNames names =
        MakeCacheFileNames([]() -> QString { throw QvError(429, "no user"); }, 2026,
                           "Personal Folders\\Calendar", dialogs);
    EXPECT_EQ(names.cacheFile, runtime.path() + "/2026.tmp");
    EXPECT_EQ(names.tempFile, runtime.path() + "/~2026.tmp");
    EXPECT_EQ(dialogs.texts(), QStringList{"Unable to obtain current username! This is likely to "
                                           "be due to Outlook security: ensure that TKCDO.dll is "
                                           "registered."});
}

TEST(CacheFileNames, WithoutTmpTheDirectoryIsPrivate)
{
    QTemporaryDir home;
    ScopedEnv tmp("TMP", "");
    ScopedEnv cache("XDG_CACHE_HOME", QFile::encodeName(home.path()));
    ScriptedDialogs dialogs;
    const CacheFileNames names = MakeCacheFileNames([] { return QString("u"); }, 2026, "", dialogs);
    const QString dir = home.path() + "/quorvel";
    EXPECT_EQ(names.cacheFile, dir + "/u20260.tmp");
    EXPECT_EQ(ModeOf(dir), 0700u);

    EventStore store;
    ASSERT_TRUE(WriteStoreToCache(store, names).ok());
    EXPECT_EQ(ModeOf(names.cacheFile), 0600u);
}

TEST(ReplaceCacheFile, FailurePathsKeepTheOldCache)
{
    QTemporaryDir dir;
    const CacheFileNames names{dir.filePath("cache.tmp"), dir.filePath("~cache.tmp")};
    const QByteArray old = CacheBytes({{"old", "", "", 40000, 40001}});
    WriteAll(names.cacheFile, old);
    auto writeOne = [](CacheRecordWriter &w) { return w.write("new", "", "", 40002, 40003); };

    // A temp file that cannot be removed (a directory holding a file) stops the writer at once.
    QDir(dir.path()).mkpath("~cache.tmp/x");
    CacheWriteResult r = ReplaceCacheFile(names, writeOne);
    EXPECT_EQ(r.stage, CacheWriteResult::TempNotDeleted);
    EXPECT_NE(r.errorNumber, 0);
    EXPECT_EQ(ReadAll(names.cacheFile), old);
    QDir(dir.filePath("~cache.tmp")).removeRecursively();

    // A cancelled write leaves the cache, and what it wrote in the temp file.
    r = ReplaceCacheFile(names, [](CacheRecordWriter &w) {
        w.write("new", "", "", 40002, 40003);
        return false;
    });
    EXPECT_EQ(r.stage, CacheWriteResult::Cancelled);
    EXPECT_EQ(ReadAll(names.cacheFile), old);
    EXPECT_EQ(ReadAll(names.tempFile), CacheBytes({{"new", "", "", 40002, 40003}}));

    // A temp file in a missing directory cannot be created.
    const CacheFileNames nowhere{dir.filePath("cache.tmp"), dir.filePath("no/~cache.tmp")};
    r = ReplaceCacheFile(nowhere, writeOne);
    EXPECT_EQ(r.stage, CacheWriteResult::TempNotOpened);
    EXPECT_EQ(r.errorNumber, FileError::PathNotFound);

    // Watching the writing flag: true then false around the swap.
    QList<bool> flags;
    r = ReplaceCacheFile(names, writeOne, [&](bool on) { flags.append(on); });
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(flags, QList<bool>({true, false}));
    EXPECT_EQ(ReadRecords(names.cacheFile).value(0).EventID, "new");
}

TEST(ReplaceCacheFile, ACacheThatCannotBeReplacedStaysAndTheNewDataIsInTheTempFile)
{
    QTemporaryDir dir;
    const CacheFileNames names{dir.filePath("cache.tmp"), dir.filePath("~cache.tmp")};
    QDir(dir.path()).mkpath("cache.tmp/held");
    const CacheWriteResult r =
        ReplaceCacheFile(names, [](CacheRecordWriter &w) { return w.write("new", "", "", 1, 2); });
    EXPECT_EQ(r.stage, CacheWriteResult::RenameFailed);
    EXPECT_EQ(r.errorNumber, FileError::PathFileAccessError);
    const QList<CacheRecord> temp = ReadRecords(names.tempFile);
    ASSERT_EQ(temp.size(), 1);
    EXPECT_EQ(temp[0].EventID, "new");
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("cache.tmp/held"))) << "never deleted";
}

TEST(CacheFileNames, ASharedTmpIsNotUsedSoNoOneCanPlantACache)
{
    // A directory anyone may write to, as /tmp is: another user could make the cache's name
    // first and have the planner draw what they put there.
    QTemporaryDir shared, home;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    ScopedEnv tmp("TMP", QFile::encodeName(shared.path()));
    ScopedEnv cache("XDG_CACHE_HOME", QFile::encodeName(home.path()));
    ScriptedDialogs dialogs;
    const CacheFileNames names = MakeCacheFileNames([] { return QString("u"); }, 2026, "", dialogs);
    EXPECT_EQ(names.cacheFile, home.path() + "/quorvel/u20260.tmp");
    EXPECT_FALSE(IsPrivateDirectory(shared.path()));
    EXPECT_TRUE(IsPrivateDirectory(home.path() + "/quorvel"));

    // A private TMP of the user's is still used, as before.
    QTemporaryDir own;
    ScopedEnv privateTmp("TMP", QFile::encodeName(own.path()));
    EXPECT_EQ(MakeCacheFileNames([] { return QString("u"); }, 2026, "", dialogs).cacheFile,
              own.path() + "/u20260.tmp");
}

TEST(CacheFileNames, OnlyNamesInTheCacheDirectoryAreCacheNames)
{
    QTemporaryDir cacheDir, runtime, elsewhere;
    ScopedEnv tmp("TMP", QFile::encodeName(cacheDir.path()));
    ScopedEnv rt("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ScriptedDialogs dialogs;
    const CacheFileNames names =
        MakeCacheFileNames([] { return QString("u"); }, 2026, "Team\\Calendar", dialogs);
    EXPECT_TRUE(IsCacheFileName(names.cacheFile));
    EXPECT_TRUE(IsCacheFileName(names.tempFile));
    EXPECT_TRUE(IsCacheFileName(runtime.path() + "/~2026.tmp")) << "the fallback directory";
    for (const QString &name : {elsewhere.path() + "/u2026.tmp", cacheDir.path() + "/../u2026.tmp",
                                cacheDir.path() + "/sub/u2026.tmp",
                                cacheDir.path() + "/.bashrc.tmp", cacheDir.path() + "/notes.txt",
                                QString("u2026.tmp"), QString(), QDir::homePath() + "/.profile"})
        EXPECT_FALSE(IsCacheFileName(name)) << qPrintable(name);

    // Another planner's private TMP, marked as its cache directory when it named a cache there;
    // the mark counts only while no one else may write to the directory.
    {
        ScopedEnv other("TMP", QFile::encodeName(elsewhere.path()));
        MakeCacheFileNames([] { return QString("u"); }, 2026, "", dialogs);
    }
    EXPECT_TRUE(IsCacheFileName(elsewhere.path() + "/u2026.tmp"));
    QTemporaryDir marked; // by a program that names its caches itself
    EXPECT_FALSE(IsCacheFileName(marked.path() + "/u2026.tmp"));
    MarkCacheDirectory(marked.path());
    EXPECT_TRUE(IsCacheFileName(marked.path() + "/u2026.tmp"));
    ASSERT_EQ(::chmod(QFile::encodeName(elsewhere.path()).constData(), 01777), 0);
    EXPECT_FALSE(IsCacheFileName(elsewhere.path() + "/u2026.tmp"));
}

TEST(CacheFileNames, WhatIsDerivedFromTheCalendarIsReadableByTheUserAlone)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("derived");
    // Even over a file others could read.
    WriteAll(target, "old");
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_EQ(ReplaceFile(target, "subjects", FileDurability::Quick, BinaryFile::Access::Private),
              0);
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_EQ(ReadAll(target), "subjects");
    ASSERT_EQ(ReplaceFile(dir.filePath("new"), "subjects", FileDurability::Quick,
                          BinaryFile::Access::Private),
              0);
    EXPECT_EQ(ModeOf(dir.filePath("new")), 0600u);
}
