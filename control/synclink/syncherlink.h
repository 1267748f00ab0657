#pragma once

#include <QObject>
#include <QString>

#include <memory>

// What a rebuild reports. The numbers travel over the session bus as they are.
enum SynchResult : qint16 {
    SynchWritten = 1,        // written and in place
    SynchTempFileFailed = 2, // the temp file could not be cleared or opened
    SynchOldCacheKept =
        3,                // the old cache could not be deleted; the new data stays in the temp file
    SynchTimerFailed = 4, // the write timer could not be started
    SynchRebuildFailed = 5, // any other failure of the rebuild
    SynchCancelled = 6,
    SynchFetchFailed = 7, // a failure outside the rebuild
    // The cache could not be written (a full disk, a read-only or missing directory, a quota);
    // the error is the file error, the old cache stays.
    SynchCacheUnwritable = 8,
};
// The results travel on the bus and into the planner's messages by number.
static_assert(SynchWritten == 1 && SynchTempFileFailed == 2 && SynchOldCacheKept == 3 &&
              SynchTimerFailed == 4 && SynchRebuildFailed == 5 && SynchCancelled == 6 &&
              SynchFetchFailed == 7 && SynchCacheUnwritable == 8);

struct CacheWriteResult;
// What a rebuild reports for how its cache write ended, and the error number that goes with it:
// result 2 carries the temp file's deletion error, or none when it could not be opened.
SynchResult SynchResultOf(const CacheWriteResult &written);
qint32 SynchErrorOf(const CacheWriteResult &written);

// The planner's end of a synchroniser: the values it sets before each UpdateCache, the two
// requests and the completion report. The synchroniser itself (in this process) and its proxy
// over the session bus offer the same members, so the scheduling does not know which it holds.
//
// The values are plain: setting one has no effect until the next UpdateCache.
class SyncherLink : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    QString StoreID;
    QString FolderID;
    bool AllEvents = false;
    qint16 CalStartYear = 0;
    qint16 CalStartMonth = 1;
    QString TempFileName;
    QString CacheFileName;

    // Starts a rebuild with the values above and returns at once; WriteComplete reports it.
    // Raises QvError when the request cannot be made.
    virtual void UpdateCache() = 0;
    // Asks a running rebuild to stop; one that has not started yet stops at its first item.
    virtual void CancelUpdate() = 0;
    // A rebuild of this object runs in this process and is on the stack below a yield.
    virtual bool rebuildingHere() const { return false; }

signals:
    void WriteComplete(SynchResult result, qint32 SynchError);
};

// Drops a link: nobody hears its reports any more, a running rebuild is asked to stop, and the
// object goes at once or, when its rebuild is on the stack below a yield, once that has ended.
void ReleaseSyncherLink(std::unique_ptr<SyncherLink> link);
