#include "cacherecord.h"
#include "dialogs.h"
#include "fileio.h"
#include "oadate.h"
#include "restriction.h"
#include "syncher.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Store;

namespace {

QByteArray Vevent(const QByteArray &uid, const QByteArray &lines, bool meeting = false)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + QByteArray(meeting ? "METHOD:REQUEST\r\n" : "") +
           "BEGIN:VEVENT\r\nUID:" + uid + "\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

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

class SyncherTest : public ::testing::Test
{
protected:
    SyncherTest()
    {
        QDir().mkpath(dir.path() + "/store/Calendar");
        const QString cal = dir.path() + "/store/Calendar/";
        WriteAll(cal + "week.ics", Vevent("w", "SUMMARY:Review\r\nDTSTART;VALUE=DATE:20260105\r\n"
                                               "DTEND;VALUE=DATE:20260106\r\nRRULE:FREQ=MONTHLY;COUNT=14\r\n"
                                               "CATEGORIES:Work\r\n"));
        WriteAll(cal + "timed.ics", Vevent("t", "SUMMARY:Dentist\r\nDTSTART:20260310T080000\r\n"
                                                "DTEND:20260310T083000\r\n"));
        WriteAll(cal + "trip.ics", Vevent("trip", "SUMMARY:Trip\r\nDTSTART;VALUE=DATE:20251228\r\n"
                                                  "DTEND;VALUE=DATE:20260104\r\n"));
        WriteAll(cal + "invite.ics", Vevent("m", "SUMMARY:Offsite\r\nDTSTART;VALUE=DATE:20260601\r\n"
                                                 "DTEND;VALUE=DATE:20260603\r\n", true));
        options.storeDir = dir.path() + "/store";
        session = std::make_shared<NameSpace>(options);
        syncher = std::make_unique<Syncher>(dialogs, options);
        const FolderPtr folder = session->GetDefaultFolder(9);
        syncher->FolderID = folder->EntryID();
        syncher->StoreID = folder->StoreID();
        syncher->CalStartYear = 2026;
        syncher->CalStartMonth = 1;
        syncher->CacheFileName = dir.path() + "/cache.tmp";
        syncher->TempFileName = dir.path() + "/~cache.tmp";
        QObject::connect(syncher.get(), &Syncher::WriteComplete, [this](qint16 r, qint32 e) {
            results.append({r, e});
        });
    }

    // Starts a rebuild and waits for its report.
    std::pair<qint16, qint32> run()
    {
        const qsizetype before = results.size();
        syncher->UpdateCache();
        QElapsedTimer t;
        t.start();
        while (results.size() == before && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return results.size() > before ? results.last() : std::pair<qint16, qint32>{-1, -1};
    }

    QTemporaryDir dir;
    ProfileOptions options;
    NameSpacePtr session;
    ScriptedDialogs dialogs;
    std::unique_ptr<Syncher> syncher;
    QList<std::pair<qint16, qint32>> results;
};

} // namespace

TEST_F(SyncherTest, RebuildWritesTheStoresOwnEnumeration)
{
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{1, 0}));
    EXPECT_FALSE(syncher->Updating);
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

TEST_F(SyncherTest, CancelBeforeTheFirstItemLeavesTheCache)
{
    WriteAll(syncher->CacheFileName, "old cache");
    syncher->CancelUpdate(); // arrives while idle: stops the next rebuild at its first item
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{6, 0}));
    EXPECT_EQ(ReadAll(syncher->CacheFileName), "old cache");
    EXPECT_EQ(run().first, 1) << "the flag was cleared";
}

TEST_F(SyncherTest, FailuresAndTheirResults)
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

    // A temp file in a missing directory: result 2, error 0, and the file helper's message.
    syncher->TempFileName = dir.path() + "/nowhere/~cache.tmp";
    EXPECT_EQ(run(), (std::pair<qint16, qint32>{2, 0}));
    EXPECT_EQ(dialogs.texts(), QStringList{"That path doesn't exist."});
    syncher->TempFileName = dir.path() + "/~cache.tmp";

    // A folder that is gone: result 5 with the store's error.
    syncher->FolderID = "0000QFGONE";
    const auto gone = run();
    EXPECT_EQ(gone.first, 5);
    EXPECT_EQ(gone.second, kNotFound);
}
