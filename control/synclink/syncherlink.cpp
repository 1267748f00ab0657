#include "syncherlink.h"

#include "cachefile.h"
#include "fileerror.h"

void ReleaseSyncherLink(std::unique_ptr<SyncherLink> link)
{
    if (!link)
        return;
    QObject::disconnect(link.get(), &SyncherLink::WriteComplete, nullptr, nullptr);
    link->CancelUpdate();
    if (link->rebuildingHere()) {
        SyncherLink *running = link.release();
        QObject::connect(running, &SyncherLink::WriteComplete, running, &QObject::deleteLater);
    }
}

SynchResult SynchResultOf(const CacheWriteResult &written)
{
    switch (written.stage) {
    case CacheWriteResult::Done:
        return SynchWritten;
    case CacheWriteResult::TempNotDeleted:
        return SynchTempFileFailed;
    case CacheWriteResult::TempNotOpened:
        // Another writer holding the name is a wait, not a cache that cannot be written.
        return written.errorNumber == FileError::FileAlreadyOpen ? SynchTempFileFailed
                                                                 : SynchCacheUnwritable;
    case CacheWriteResult::Cancelled:
        return SynchCancelled;
    case CacheWriteResult::RenameFailed:
        return SynchOldCacheKept;
    case CacheWriteResult::WriteFailed:
        return SynchCacheUnwritable;
    }
    return SynchRebuildFailed;
}

qint32 SynchErrorOf(const CacheWriteResult &written)
{
    // A name another writer holds is "temp file could not be opened": no file error of its own.
    if (SynchResultOf(written) == SynchTempFileFailed &&
        written.stage != CacheWriteResult::TempNotDeleted)
        return 0;
    return written.errorNumber;
}
