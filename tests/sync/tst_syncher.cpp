#include "binaryfile.h"
#include "cachefile.h"
#include "cacherecord.h"
#include "fileerror.h"
#include "leftoutlist.h"
#include "oadate.h"
#include "remotesyncher.h"
#include "restriction.h"
#include "scripteddialogs.h"
#include "syncher.h"
#include "syncherbus.h"
#include "testsupport.h"
#include "yearparts.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Store;

namespace {

// The names of a cache of this test's own in the cache directory, the only place quorvel-sync
// writes; removed with their companions at the end.
struct OwnCacheNames
{
    OwnCacheNames()
    {
        const QString dir = CacheDirectory();
        const QString name = "tst-" + QFileInfo(unique.path()).fileName() + ".tmp";
        cacheFile = dir + "/" + name;
        tempFile = dir + "/~" + name;
    }
    ~OwnCacheNames()
    {
        for (const QString &f :
             {cacheFile, tempFile, LeftOutListFileOf(cacheFile), YearPartsFileOf(cacheFile)}) {
            QDir(f).removeRecursively();
            QFile::remove(f);
        }
    }
    QTemporaryDir unique;
    QString cacheFile, tempFile;
};

QList<CacheRecord> Records(const QString &path)
{
    BinaryFile f = BinaryFile::open(path);
    CacheRecordReader reader(f);
    QList<CacheRecord> out;
    CacheRecord r;
    while (!reader.atEnd() && reader.read(r))
        out.append(r);
    return out;
}

// A property of a synchroniser in quorvel-sync, read over the bus.
QVariant RemoteProperty(const RemoteSyncher &s, const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(s.serviceOwner(), s.objectPath(),
                                                      SyncBus::kPropertiesInterface, "Get");
    get << SyncBus::kSyncherInterface << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    return reply.arguments().isEmpty()
               ? QVariant()
               : qvariant_cast<QDBusVariant>(reply.arguments().first()).variant();
}

// The synchroniser in this process, or its twin in quorvel-sync reached over the session bus.
enum class Where { InProcess, OnTheBus };

class SyncherTest : public ::testing::TestWithParam<Where>
{
protected:
    SyncherTest()
    {
        QDir().mkpath(dir.path() + "/store/Calendar");
        const QString cal = dir.path() + "/store/Calendar/";
        WriteAll(cal + "week.ics",
                 Vevent("w", "SUMMARY:Review\r\nDTSTART;VALUE=DATE:20260105\r\n"
                             "DTEND;VALUE=DATE:20260106\r\nRRULE:FREQ=MONTHLY;COUNT=14\r\n"
                             "CATEGORIES:Work\r\n"));
        WriteAll(cal + "timed.ics", Vevent("t", "SUMMARY:Dentist\r\nDTSTART:20260310T080000\r\n"
                                                "DTEND:20260310T083000\r\n"));
        WriteAll(cal + "trip.ics", Vevent("trip", "SUMMARY:Trip\r\nDTSTART;VALUE=DATE:20251228\r\n"
                                                  "DTEND;VALUE=DATE:20260104\r\n"));
        WriteAll(cal + "invite.ics", Vevent("m",
                                            "SUMMARY:Offsite\r\nDTSTART;VALUE=DATE:20260601\r\n"
                                            "DTEND;VALUE=DATE:20260603\r\n",
                                            true));
        options.storeDir = dir.path() + "/store";
        session = std::make_shared<NameSpace>(options);
        if (GetParam() == Where::InProcess) {
            auto local = std::make_unique<Syncher>(dialogs, options);
            inProcess = local.get();
            syncher = std::move(local);
        } else {
            auto remote = std::make_unique<RemoteSyncher>(options);
            onTheBus = remote.get();
            syncher = std::move(remote);
        }
        const FolderPtr folder = session->GetDefaultFolder(9);
        syncher->FolderID = folder->EntryID();
        syncher->StoreID = folder->StoreID();
        syncher->CalStartYear = 2026;
        syncher->CalStartMonth = 1;
        syncher->CacheFileName = own.cacheFile;
        syncher->TempFileName = own.tempFile;
        QObject::connect(syncher.get(), &SyncherLink::WriteComplete, [this](qint16 r, qint32 e) {
            results.append({r, e});
        });
    }

    // Starts a rebuild and waits for its report.
    std::pair<qint16, qint32> run()
    {
        const qsizetype before = results.size();
        syncher->UpdateCache();
        WaitFor([&] { return results.size() > before; });
        return results.size() > before ? results.last() : std::pair<qint16, qint32>{-1, -1};
    }

    bool updating() const
    {
        return inProcess ? inProcess->Updating : RemoteProperty(*onTheBus, "Updating").toBool();
    }

    QTemporaryDir dir;
    OwnCacheNames own;
    ProfileOptions options;
    NameSpacePtr session;
    ScriptedDialogs dialogs;
    std::unique_ptr<SyncherLink> syncher;
    Syncher *inProcess = nullptr;
    RemoteSyncher *onTheBus = nullptr;
    QList<std::pair<qint16, qint32>> results;
};

} // namespace

TEST_P(SyncherTest, RebuildWritesTheStoresOwnEnumeration)
{
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    EXPECT_FALSE(updating());
    EXPECT_FALSE(QFile::exists(syncher->TempFileName));
    const QList<CacheRecord> records = Records(syncher->CacheFileName);

    // The same restriction, sort and enumeration through the store, whole days only.
    ItemsPtr items = session->GetDefaultFolder(9)->Items();
    items->Sort("[Start]");
    items->setIncludeRecurrences(true);
    items = items->Restrict(RangeRestriction(QDate(2026, 1, 1), QDate(2026, 12, 31)));
    QList<CacheRecord> expected;
    for (const ItemPtr &item : items->all()) {
        AppointmentItemPtr a = std::dynamic_pointer_cast<AppointmentItem>(item);
        if (!a)
            a = std::dynamic_pointer_cast<MeetingItem>(item)->GetAssociatedAppointment(false);
        if (a->AllDayEvent())
            expected.append({item->EntryID(), a->Subject(), a->Categories(), a->Start(), a->End()});
    }
    ASSERT_EQ(records.size(), expected.size());
    ASSERT_EQ(records.size(), 12 + 1 + 1) << "twelve reviews in 2026, the trip, the offsite";
    for (int i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].EventID, expected[i].EventID) << i;
        EXPECT_EQ(records[i].StartDate, expected[i].StartDate) << i;
        EXPECT_EQ(records[i].Subject, expected[i].Subject) << i;
        if (i > 0) {
            EXPECT_LE(records[i - 1].StartDate, records[i].StartDate) << "ascending start";
        }
    }
    EXPECT_EQ(records[0].Subject, "Trip") << "began in the year before";

    syncher->AllEvents = true;
    run();
    EXPECT_EQ(Records(syncher->CacheFileName).size(), records.size() + 1) << "the dentist too";
}

TEST_P(SyncherTest, FilesTheRebuildLeftOutAreListedBesideTheCache)
{
    const QString cal = dir.path() + "/store/Calendar/";
    const QString list = LeftOutListFileOf(syncher->CacheFileName);
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    EXPECT_FALSE(QFile::exists(list)) << "nothing left out, nothing listed";

    WriteAll(cal + "broken.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:half");
    WriteAll(cal + "endless.ics", Vevent("x", "SUMMARY:Every minute\r\nDTSTART:20260105T090000\r\n"
                                              "DTEND:20260105T090100\r\nRRULE:FREQ=MINUTELY\r\n"));
    WriteAll(cal + "twice.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                                "BEGIN:VEVENT\r\nUID:d\r\nSEQUENCE:2\r\nSUMMARY:New\r\n"
                                "DTSTART;VALUE=DATE:20260201\r\nEND:VEVENT\r\n"
                                "BEGIN:VEVENT\r\nUID:d\r\nSEQUENCE:1\r\nSUMMARY:Old\r\n"
                                "DTSTART;VALUE=DATE:20260201\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    const QStringList lines = ReadLeftOutList(syncher->CacheFileName);
    ASSERT_EQ(lines.size(), 3) << qPrintable(lines.join('\n'));
    EXPECT_TRUE(lines[0].startsWith(cal + "broken.ics: skipped, ")) << qPrintable(lines[0]);
    EXPECT_TRUE(lines[1].startsWith(cal + "endless.ics: left out, ")) << qPrintable(lines[1]);
    EXPECT_EQ(lines[2], cal + "twice.ics: 1 older copies of the event ignored");
    const QList<CacheRecord> records = Records(syncher->CacheFileName);
    EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const CacheRecord &r) {
        return r.Subject == "New";
    })) << "the newer copy is in";

    for (const char *name : {"broken.ics", "endless.ics", "twice.ics"})
        QFile::remove(cal + name);
    run();
    EXPECT_FALSE(QFile::exists(list)) << "the list goes with the last file left out";
}

TEST_P(SyncherTest, ARebuildReadsOnlyTheFilesThatChangedAndWritesTheSameCache)
{
    const QString cal = dir.path() + "/store/Calendar/";
    const QString parts = YearPartsFileOf(syncher->CacheFileName);
    ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    ASSERT_TRUE(QFile::exists(parts));

    // Replaced by rename with the same size and time, added (starting with another, its name
    // first), deleted, and one that cannot be read.
    const QString other = cal + ".trip.tmp";
    WriteAll(other, ReadAll(cal + "trip.ics").replace("Trip", "Tour"));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(cal + "trip.ics").constData(), &st), 0);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(other).constData(), times, 0), 0);
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(),
                       QFile::encodeName(cal + "trip.ics").constData()),
              0);
    WriteAll(cal + "aaa.ics", Vevent("a", "SUMMARY:Same start\r\nDTSTART;VALUE=DATE:20251228\r\n"
                                          "DTEND;VALUE=DATE:20260102\r\n"));
    QFile::remove(cal + "invite.ics");
    WriteAll(cal + "broken.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:half");
    ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    const QByteArray fromParts = ReadAll(syncher->CacheFileName);
    const QStringList leftOutFromParts = ReadLeftOutList(syncher->CacheFileName);

    // Every file read: the same bytes, the same list.
    ASSERT_TRUE(QFile::remove(parts));
    ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    const QByteArray whole = ReadAll(syncher->CacheFileName);
    EXPECT_EQ(fromParts, whole);
    EXPECT_EQ(leftOutFromParts, ReadLeftOutList(syncher->CacheFileName));
    ASSERT_EQ(leftOutFromParts.size(), 1);
    const QList<CacheRecord> records = Records(syncher->CacheFileName);
    ASSERT_GE(records.size(), 2);
    EXPECT_EQ(records[0].Subject, "Same start");
    EXPECT_EQ(records[1].Subject, "Tour");

    // Nothing changed: the cache there is the year, and stays the very file it was.
    const std::optional<Store::FileStamp> written = Store::StampOf(syncher->CacheFileName);
    ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    EXPECT_EQ(Store::StampOf(syncher->CacheFileName), written) << "not written again";
    syncher->CancelUpdate(); // a cancel that came while idle still stops the next rebuild
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{6, 0}));
    // Written by someone else since (the planner's own write-back): the year is written again,
    // from the parts.
    WriteAll(syncher->CacheFileName, "the planner's");
    ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    EXPECT_EQ(ReadAll(syncher->CacheFileName), whole);
    const std::optional<Store::FileStamp> rewritten = Store::StampOf(syncher->CacheFileName);
    ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    EXPECT_EQ(Store::StampOf(syncher->CacheFileName), rewritten) << "the parts know it now";

    // What the parts say of an unchanged file is taken, not read again: so parts are only
    // believed whole. The key is the text's second line.
    QByteArray bytes = ReadAll(parts);
    const qsizetype head = bytes.indexOf("QUORVEL-PARTS 2\n") + 16;
    const QByteArray key = bytes.mid(head, bytes.indexOf('\n', head) - head);
    std::optional<KeptParts> kept = ParseYearParts(bytes, key);
    ASSERT_TRUE(kept);
    ASSERT_TRUE(kept->files.contains("week.ics"));
    for (CacheRecord &r : kept->files["week.ics"].records)
        r.Subject = "From the parts";
    kept->cache = {}; // as if the cache had been written since
    ASSERT_TRUE(WriteYearParts(parts, key, *kept));
    ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    const QList<CacheRecord> taken = Records(syncher->CacheFileName);
    EXPECT_EQ(std::count_if(taken.begin(), taken.end(),
                            [](const CacheRecord &r) { return r.Subject == "From the parts"; }),
              12);

    // A damaged file of parts is not used: in the records, which are read only when a file
    // changed, or in the text.
    const QByteArray good = ReadAll(parts);
    const qsizetype text = good.indexOf("QUORVEL-PARTS 2\n");
    ASSERT_GT(text, 0);
    for (const qsizetype at : {text / 2, text + 20}) {
        ASSERT_TRUE(ParseYearParts(good, key));
        bytes = good;
        bytes[at] = char(bytes[at] ^ 1);
        WriteAll(parts, bytes);
        EXPECT_FALSE(ParseYearParts(bytes, key));
        WriteAll(cal + "week.ics", ReadAll(cal + "week.ics") + "\r\n");
        ASSERT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
        EXPECT_EQ(ReadAll(syncher->CacheFileName), whole) << "damaged at " << at;
        ASSERT_TRUE(ParseYearParts(ReadAll(parts), key)) << "written anew";
    }
}

TEST_P(SyncherTest, CancelBeforeTheFirstItemLeavesTheCache)
{
    WriteAll(syncher->CacheFileName, "old cache");
    syncher->CancelUpdate(); // arrives while idle: stops the next rebuild at its first item
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{6, 0}));
    EXPECT_EQ(ReadAll(syncher->CacheFileName), "old cache");
    EXPECT_TRUE(QFileInfo(syncher->TempFileName).exists()) << "written with no records";
    EXPECT_EQ(QFileInfo(syncher->TempFileName).size(), 0);
    EXPECT_EQ(run().first, 1) << "the flag was cleared";
}

TEST_P(SyncherTest, ACancelDuringTheExpansionStopsItThere)
{
    if (!inProcess)
        GTEST_SKIP() << "watches the rebuild from inside";
    // The cancel comes at the rebuild's first yield: before any record, while the folder's
    // occurrences are still being worked out.
    WriteAll(syncher->CacheFileName, "old cache");
    {
        ScopedYieldHook hook([&] {
            if (inProcess->Updating)
                syncher->CancelUpdate();
        });
        EXPECT_EQ(run(), (std::pair<qint16, qint32>{6, 0}));
    }
    EXPECT_EQ(ReadAll(syncher->CacheFileName), "old cache");
    EXPECT_EQ(QFileInfo(syncher->TempFileName).size(), 0) << "stopped before the first record";
    EXPECT_EQ(run().first, 1);
}

TEST_P(SyncherTest, FailuresAndTheirResults)
{
    // A cache that cannot be deleted: result 3, the new data complete in the temp file.
    QDir().mkpath(syncher->CacheFileName + "/held");
    const auto undeletable = run();
    EXPECT_EQ(undeletable.first, 3);
    EXPECT_NE(undeletable.second, 0);
    EXPECT_EQ(Records(syncher->TempFileName).size(), 14);
    QDir(syncher->CacheFileName).removeRecursively();

    // A temp file that cannot be cleared: result 2 with the deletion's error.
    QFile::remove(syncher->TempFileName);
    ASSERT_TRUE(QDir().mkpath(syncher->TempFileName + "/held"));
    const auto stuck = run();
    EXPECT_EQ(stuck.first, 2);
    EXPECT_NE(stuck.second, 0);
    QDir(syncher->TempFileName).removeRecursively();

    // A temp file in a missing directory: the cache cannot be written, and the report says why
    // (the planner shows it; a message of quorvel-sync would reach nobody).
    // On the bus, a name outside the cache directory is refused before anything is written.
    syncher->TempFileName = dir.path() + "/nowhere/~cache.tmp";
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{onTheBus ? 2 : 8, onTheBus ? 0 : 76}));
    EXPECT_TRUE(dialogs.texts().isEmpty());
    syncher->TempFileName = own.tempFile;

    // A folder that is gone: result 5 with the store's error.
    syncher->FolderID = "0000QFGONE";
    const auto gone = run();
    EXPECT_EQ(gone.first, 5);
    EXPECT_EQ(gone.second, kNotFound);
}

// A disk that fills, a read-only file system, a quota or a failing device while the cache is
// written: the report names the file error, the old cache stays whole and no temp file is left.
TEST(SyncherFaults, ACacheThatCannotBeWrittenIsReportedAsSuchAndLeftWhole)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/store/Calendar");
    for (int i = 0; i < 40; ++i) {
        WriteAll(dir.path() + QStringLiteral("/store/Calendar/e%1.ics").arg(i),
                 Vevent(QByteArray("e") + QByteArray::number(i),
                        QStringLiteral("SUMMARY:Day %1\r\nDTSTART;VALUE=DATE:202602%2\r\n")
                            .arg(i)
                            .arg(i % 27 + 1, 2, 10, QLatin1Char('0'))
                            .toUtf8()));
    }
    ProfileOptions options;
    options.storeDir = dir.path() + "/store";
    ScriptedDialogs dialogs;
    Syncher syncher(dialogs, options);
    const FolderPtr folder = NameSpace(options).GetDefaultFolder(9);
    syncher.FolderID = folder->EntryID();
    syncher.StoreID = folder->StoreID();
    syncher.CalStartYear = 2026;
    syncher.CacheFileName = dir.path() + "/cache.tmp";
    syncher.TempFileName = dir.path() + "/~cache.tmp";
    QList<std::pair<qint16, qint32>> results;
    QObject::connect(&syncher, &SyncherLink::WriteComplete, [&](qint16 r, qint32 e) {
        results.append({r, e});
    });
    const auto run = [&] {
        results.clear();
        syncher.UpdateCache();
        WaitFor([&] { return !results.isEmpty(); });
        return results.value(0, {-1, -1});
    };
    ASSERT_EQ(run().first, 1);
    const QByteArray whole = ReadAll(syncher.CacheFileName);
    ASSERT_GT(whole.size(), 1000);

    const struct
    {
        int err;
        int number;
    } faults[] = {{ENOSPC, 57}, {EDQUOT, 57}, {EROFS, 54}, {EIO, 68}};
    for (const auto &fault : faults) {
        for (const qint64 after : {qint64(0), whole.size() / 2, whole.size() - 1}) {
            SCOPED_TRACE(testing::Message() << "errno " << fault.err << " after " << after);
            QFile::remove(YearPartsFileOf(syncher.CacheFileName)); // or nothing needs writing
            FailWritesAfter(after, fault.err);
            const auto report = run();
            FailWritesAfter(-1, 0);
            EXPECT_EQ(report, (std::pair<qint16, qint32>{8, fault.number}));
            EXPECT_EQ(ReadAll(syncher.CacheFileName), whole);
            EXPECT_FALSE(QFileInfo::exists(syncher.TempFileName));
            EXPECT_TRUE(dialogs.texts().isEmpty());
        }
    }
    EXPECT_EQ(run().first, 1); // room again
}

// The synchroniser builds its restriction in the user's locale: a planner year past 2029, or one
// that begins in July 2029, keeps its appointments where short dates have two-digit years.
TEST(SyncherLocales, EveryPlannerYearIsRebuiltInEveryLocale)
{
    QTemporaryDir dir;
    const QString cal = dir.path() + "/store/Calendar/";
    QDir().mkpath(cal);
    ProfileOptions options;
    options.storeDir = dir.path() + "/store";
    ScriptedDialogs dialogs;
    for (const QByteArray &name : UserLocaleNames()) {
        const ScopedLocale locale(name);
        for (int year : LocaleTestYears()) {
            for (qint16 startMonth : {1, 7}) {
                SCOPED_TRACE(name.toStdString() + " " + std::to_string(year) + "/" +
                             std::to_string(startMonth));
                // One whole day in the planner year's last month, one the day after the year.
                const QDate inside = QDate(year, startMonth, 1).addMonths(11).addDays(9);
                const QDate after = QDate(year, startMonth, 1).addYears(1);
                for (const auto &[uid, day] : {std::pair{"in", inside}, std::pair{"out", after}}) {
                    WriteAll(cal + uid + ".ics",
                             Vevent(uid, QByteArray("SUMMARY:") + uid + "\r\nDTSTART;VALUE=DATE:" +
                                             day.toString("yyyyMMdd").toLatin1() + "\r\n"));
                }
                Syncher syncher(dialogs, options);
                NameSpace session(options);
                const FolderPtr folder = session.GetDefaultFolder(9);
                syncher.FolderID = folder->EntryID();
                syncher.StoreID = folder->StoreID();
                syncher.CalStartYear = qint16(year);
                syncher.CalStartMonth = startMonth;
                syncher.CacheFileName = dir.path() + "/cache.tmp";
                syncher.TempFileName = dir.path() + "/~cache.tmp";
                std::pair<qint16, qint32> result{-1, -1};
                QObject::connect(&syncher, &SyncherLink::WriteComplete, [&](qint16 r, qint32 e) {
                    result = {r, e};
                });
                syncher.UpdateCache();
                ASSERT_TRUE(WaitFor([&] { return result.first != -1; }));
                EXPECT_EQ(result, (std::pair<qint16, qint32>{1, 0}));
                const QList<CacheRecord> records = Records(syncher.CacheFileName);
                ASSERT_EQ(records.size(), 1);
                EXPECT_EQ(records[0].Subject, "in");
                EXPECT_EQ(OADate::toDate(records[0].StartDate), inside);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Link, SyncherTest, ::testing::Values(Where::InProcess, Where::OnTheBus),
                         [](const auto &info) {
                             return info.param == Where::InProcess ? "InProcess" : "OnTheBus";
                         });

namespace {

// quorvel-sync itself: started by the bus, serving a store large enough that a rebuild takes a
// while, so it can be killed in the middle.
class SyncServiceTest : public ::testing::Test
{
protected:
    SyncServiceTest()
    {
        const QString cal = dir.path() + "/store/Calendar/";
        QDir().mkpath(cal);
        for (int i = 0; i < 400; ++i) {
            const QByteArray day = QByteArray::number(20260101 + (i % 12) * 100 + i % 28);
            QByteArray lines = "SUMMARY:Item " + QByteArray::number(i) +
                               "\r\nDTSTART;VALUE=DATE:" + day + "\r\nCATEGORIES:Work\r\n";
            if (i % 5 == 0)
                lines += "RRULE:FREQ=WEEKLY;COUNT=20\r\n";
            WriteAll(cal + QString("item%1.ics").arg(i),
                     Vevent("i" + QByteArray::number(i), lines));
        }
        options.storeDir = dir.path() + "/store";
        NameSpace session(options);
        folder = session.GetDefaultFolder(9)->EntryID();
        store = session.GetDefaultFolder(9)->StoreID();
        link = std::make_unique<RemoteSyncher>(options);
        QObject::connect(link.get(), &SyncherLink::WriteComplete, [this](qint16 r, qint32 e) {
            results.append({r, e});
        });
        link->FolderID = folder;
        link->StoreID = store;
        link->CalStartYear = 2026;
        link->CacheFileName = own.cacheFile;
        link->TempFileName = own.tempFile;
    }

    // Starts a rebuild; the caller waits for the report.
    qsizetype request()
    {
        const qsizetype before = results.size();
        link->UpdateCache();
        return before;
    }
    std::pair<qint16, qint32> reportAfter(qsizetype before)
    {
        WaitFor([&] { return results.size() > before; });
        return results.size() > before ? results.last() : std::pair<qint16, qint32>{-1, -1};
    }
    static uint pidOf(const QString &busName)
    {
        return QDBusConnection::sessionBus().interface()->servicePid(busName).value();
    }

    QTemporaryDir dir;
    OwnCacheNames own;
    ProfileOptions options;
    QString folder, store;
    std::unique_ptr<RemoteSyncher> link;
    QList<std::pair<qint16, qint32>> results;
};

} // namespace

TEST_F(SyncServiceTest, RebuildsInItsOwnProcessStartedByTheBus)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    const uint pid = pidOf(link->serviceOwner());
    ASSERT_NE(pid, 0u);
    EXPECT_NE(pid, uint(getpid()));
    EXPECT_EQ(QFileInfo(QString("/proc/%1/exe").arg(pid)).symLinkTarget().section('/', -1),
              "quorvel-sync");
    EXPECT_EQ(reportAfter(request()), (std::pair<qint16, qint32>{1, 0}));
    int expected = 320;
    for (int i = 0; i < 400; i += 5) {
        const QDate first(2026, i % 12 + 1, i % 28 + 1);
        for (int week = 0; week < 20; ++week)
            expected += first.addDays(7 * week).year() == 2026;
    }
    EXPECT_EQ(Records(link->CacheFileName).size(), expected);
}

TEST_F(SyncServiceTest, ALostServiceReportsItsRequestAndIsStartedAgain)
{
    const QString first = link->serviceOwner();
    const qsizetype before = request();
    ASSERT_TRUE(KillProcess(pidOf(first))) << "the service has a process of its own";
    EXPECT_EQ(reportAfter(before), (std::pair<qint16, qint32>{7, kSyncherLost}));
    EXPECT_TRUE(link->objectPath().isEmpty());

    EXPECT_EQ(reportAfter(request()), (std::pair<qint16, qint32>{1, 0}));
    EXPECT_NE(link->serviceOwner(), first) << "a new service, started by the bus";
}

TEST_F(SyncServiceTest, KilledAtAnyMomentTheCacheIsTheOldFileOrTheNew)
{
    ASSERT_EQ(reportAfter(request()), (std::pair<qint16, qint32>{1, 0}));
    const QByteArray fresh = ReadAll(link->CacheFileName);
    const QByteArray old = CacheBytes({{"x", "Old", "", At(2026, 5, 1), At(2026, 5, 2)}});
    // How long a rebuild takes, from the request to the report.
    WriteAll(link->CacheFileName, old);
    QElapsedTimer t;
    t.start();
    ASSERT_EQ(reportAfter(request()).first, 1);
    const qint64 rebuildMs = std::max<qint64>(t.elapsed(), 20);

    constexpr int kRounds = 30;
    int keptOld = 0, tookNew = 0;
    for (int round = 0; round < kRounds; ++round) {
        WriteAll(link->CacheFileName, old);
        const qsizetype before = request();
        // Moments spread from the request to a little past the usual end of the rebuild.
        const qint64 waitMs = rebuildMs * 13 * round / (10 * kRounds);
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < waitMs && results.size() == before)
            QThread::usleep(200);
        // The request may have started a new service, and the owner the link knows may be the
        // one killed last round until the bus has seen it go: kill the one that is there. When
        // the request went to that one, the link reports it lost and there is nothing to kill.
        bool killed = false;
        const bool settled = WaitFor([&] {
            const uint pid = pidOf(link->serviceOwner());
            killed = killed || (pid > 0 && KillProcess(pid));
            return killed || (results.size() > before && link->serviceOwner().isEmpty());
        });
        ASSERT_TRUE(settled) << "round " << round;
        const auto report = reportAfter(before);
        EXPECT_TRUE(report.first == 7 || report.first == 1) << report.first;
        const QByteArray now = ReadAll(link->CacheFileName);
        ASSERT_TRUE(now == old || now == fresh)
            << "round " << round << ": " << now.size() << " bytes";
        (now == old ? keptOld : tookNew)++;
        // The file the planner reads must load in full.
        BinaryFile f = BinaryFile::open(link->CacheFileName);
        CacheRecordReader reader(f);
        CacheRecord r;
        while (!reader.atEnd())
            ASSERT_TRUE(reader.read(r));
    }
    EXPECT_GT(keptOld, 0);
    RecordProperty("kept_old", keptOld);
    RecordProperty("took_new", tookNew);
}

TEST_F(SyncServiceTest, EndsWhenNoPlannerHoldsASynchroniser)
{
    const QString owner = link->serviceOwner();
    ASSERT_FALSE(owner.isEmpty());
    link.reset(); // releases the object; the tests' idle time is 1.5 s
    auto *bus = QDBusConnection::sessionBus().interface();
    EXPECT_TRUE(WaitFor([&] { return !bus->isServiceRegistered(owner).value(); }, 8000));
}

TEST_F(SyncServiceTest, ObjectsOfAPlannerThatLeavesTheBusGo)
{
    auto exists = [&](const QString &p) {
        QDBusMessage get = QDBusMessage::createMethodCall(link->serviceOwner(), p,
                                                          SyncBus::kPropertiesInterface, "Get");
        get << SyncBus::kSyncherInterface << QString("Updating");
        return QDBusConnection::sessionBus().call(get).type() == QDBusMessage::ReplyMessage;
    };
    {
        QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "other");
        auto released = std::make_unique<RemoteSyncher>(options, other);
        const QString path = released->objectPath();
        ASSERT_TRUE(exists(path));
        link->UpdateCache(); // ours stays busy meanwhile
        released.reset();
        EXPECT_TRUE(WaitFor([&] { return !exists(path); }, 5000)) << "released";
    }
    QDBusConnection::disconnectFromBus("other");

    // A planner that vanishes without a word: another process that creates one and ends.
    QProcess client;
    client.start("dbus-send", {"--session", "--print-reply=literal", "--dest=" + SyncBus::kService,
                               SyncBus::kFactoryPath, SyncBus::kFactoryInterface + ".CreateSyncher",
                               "string:", "string:" + options.storeDir});
    ASSERT_TRUE(client.waitForFinished(5000));
    const QString path = QString::fromUtf8(client.readAllStandardOutput()).trimmed();
    ASSERT_TRUE(path.startsWith(SyncBus::kFactoryPath)) << path.toStdString();
    EXPECT_TRUE(WaitFor([&] { return !exists(path); }, 5000)) << "dropped with its client";
    EXPECT_TRUE(exists(link->objectPath())) << "ours stays";
    EXPECT_EQ(reportAfter(results.size()).first, 1);
}

TEST(KillProcess, RefusesNumbersThatWouldHitTheTestsThemselves)
{
    // pidOf gives 0 for a name without an owner; kill(0, ...) would end this whole group.
    EXPECT_FALSE(KillProcess(0));
    EXPECT_FALSE(KillProcess(-1));
    EXPECT_FALSE(KillProcess(1));
    EXPECT_FALSE(KillProcess(getpid()));
}

TEST_F(SyncServiceTest, ABusClientCannotNameAFileOutsideTheCacheDirectory)
{
    // Any client of the session bus sets these names: the rebuild deletes the temp file and
    // renames over the cache, so a name elsewhere would delete or replace any file of the user.
    const QString victim = dir.filePath("notes.txt"), planted = dir.filePath("cache.tmp");
    WriteAll(victim, "precious");
    WriteAll(planted, "mine");
    for (const auto &[cache, temp] :
         {std::pair{planted, own.tempFile}, std::pair{own.cacheFile, victim},
          std::pair{own.cacheFile, CacheDirectory() + "/../~escape.tmp"}}) {
        SCOPED_TRACE(qPrintable(cache + " " + temp));
        link->CacheFileName = cache;
        link->TempFileName = temp;
        EXPECT_EQ(reportAfter(request()), (std::pair<qint16, qint32>{2, 0}));
    }
    EXPECT_EQ(ReadAll(victim), "precious");
    EXPECT_EQ(ReadAll(planted), "mine");
    EXPECT_FALSE(QFile::exists(own.cacheFile));

    link->CacheFileName = own.cacheFile;
    link->TempFileName = own.tempFile;
    EXPECT_EQ(reportAfter(request()), (std::pair<qint16, qint32>{1, 0}));
}

TEST_P(SyncherTest, AnyFailureOfTheRebuildIsReportedAndLeavesItIdle)
{
    if (!inProcess)
        GTEST_SKIP() << "the failure is planted through this process's yield";
    // Memory running out, or a library's own exception, in the middle of the enumeration.
    const struct
    {
        std::function<void()> fail;
        qint32 number;
    } failures[] = {{[] { throw std::bad_alloc(); }, 7},
                    {[] { throw std::runtime_error("x"); }, 51}};
    for (const auto &failure : failures) {
        const auto &fail = failure.fail;
        const qint32 number = failure.number;
        bool armed = true;
        QFile::remove(YearPartsFileOf(syncher->CacheFileName)); // or nothing needs reading
        {
            ScopedYieldHook hook([&] {
                if (inProcess->Updating && std::exchange(armed, false))
                    fail();
            });
            EXPECT_EQ(run(), (std::pair<qint16, qint32>{5, number}));
        }
        EXPECT_FALSE(armed);
        EXPECT_FALSE(inProcess->Updating) << "a rebuild left running never reports again";
        EXPECT_FALSE(inProcess->WritingFile);
        EXPECT_EQ(run(), (std::pair<qint16, qint32>{1, 0})) << "the next request is served";
    }
}

TEST(SynchResults, ResultTwoCarriesOnlyTheDeletionsError)
{
    using W = CacheWriteResult;
    const struct
    {
        W written;
        qint16 result;
        qint32 error;
    } rows[] = {
        {{W::Done, 0}, 1, 0},
        {{W::TempNotDeleted, 70}, 2, 70},
        {{W::TempNotOpened, FileError::FileAlreadyOpen}, 2, 0}, // another writer holds the name
        {{W::TempNotOpened, FileError::PathNotFound}, 8, FileError::PathNotFound},
        {{W::RenameFailed, 75}, 3, 75},
        {{W::Cancelled, 0}, 6, 0},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(SynchResultOf(row.written), row.result) << row.written.stage;
        EXPECT_EQ(SynchErrorOf(row.written), row.error) << row.written.stage;
    }
}
