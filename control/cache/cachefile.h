#pragma once

#include <QString>

#include <functional>

class CacheRecordWriter;
class Dialogs;
class EventStore;

// The two files of one user, folder and planner year: the cache and the temp file that a writer
// fills before it takes the cache's place.
struct CacheFileNames
{
    QString cacheFile;
    QString tempFile;
};

// Where cache files live: the TMP directory when TMP is set and private to the user (a
// directory of the user's that no one else may write to), otherwise a directory of the user's
// cache home created readable by the user alone. Empty when that directory cannot be made.
QString CacheDirectory();
// Whether dir is a directory of the effective user that neither group nor others may write to.
bool IsPrivateDirectory(const QString &dir);
// Where cache files go when the user name or the directory cannot be determined: the user's
// runtime directory, else the home directory. Never a directory other users can write to.
QString FallbackCacheDirectory();

// Whether path names a file directly inside the cache directory or the fallback directory, as
// MakeCacheFileNames makes them, or inside another private directory a planner marked as its
// cache directory (its TMP): what a synchroniser on the bus may be asked to write and delete.
bool IsCacheFileName(const QString &path);
// Marks dir, a private directory of the user's, as one whose cache files a synchroniser on the
// bus may write.
void MarkCacheDirectory(const QString &dir);
extern const char *const kCacheDirectoryMarker;

// The last element of a folder path split at "\" (empty for an empty path).
QString FolderNameOf(const QString &folder);
// The sum of the character codes of folder, all but its last character.
qint64 FolderChecksum(const QString &folder);

// The names for a user, selected year and Folder property. userName is asked once; when it
// raises QvError the message about the user name is shown and the names are made of the year
// alone, in the fallback directory.
CacheFileNames MakeCacheFileNames(const std::function<QString()> &userName, int year,
                                  const QString &folder, Dialogs &dialogs);

// How a replacement of the cache file ended.
struct CacheWriteResult
{
    enum Stage {
        Done,
        TempNotDeleted, // an old temp file could not be removed; nothing written
        TempNotOpened,  // the temp file could not be created; nothing written
        WriteFailed,    // writing the records failed; the cache file is untouched
        Cancelled,      // the record writer asked to stop; what it wrote stays in the temp file
        RenameFailed,   // the new data is complete in the temp file, the old cache stays
    };
    Stage stage = Done;
    int errorNumber = 0; // the file error number of the failing step

    bool ok() const { return stage == Done; }
};

// Replaces the cache file by the records that writeRecords writes, through the temp file: take
// the cache name's lock, remove an old temp file, create it anew, write and store every record,
// then let the temp file take the cache file's name. writeRecords returns false to cancel.
// writingFile, when given, is told true before the cache file is touched and false after.
//
// Readers see the old complete file or the new complete file, never a part: the rename replaces
// the cache in one step, and when it cannot (the cache is a directory, say) the cache there
// stays. Writers of one name take turns: a second one waits for the lock (a while, then it
// fails as a temp file that cannot be opened does). No name in the directory is ever followed
// as a link.
CacheWriteResult ReplaceCacheFile(const CacheFileNames &names,
                                  const std::function<bool(CacheRecordWriter &)> &writeRecords,
                                  const std::function<void(bool)> &writingFile = {});

// The advisory lock on a cache name while it is written: a lock file beside it, locked with
// flock and removed when let go. A writer of this process interrupted by another of the same
// thread (a yield to the loop) can never finish first, so the second is refused at once rather
// than left waiting.
class CacheNameLock
{
public:
    static constexpr int kPatienceMs = 20000;

    CacheNameLock(const QString &cacheFile, const QString &lockFile, int patienceMs = kPatienceMs);
    ~CacheNameLock();
    CacheNameLock(const CacheNameLock &) = delete;
    CacheNameLock &operator=(const CacheNameLock &) = delete;

    bool held() const { return m_fd >= 0; }
    int error() const { return m_error; } // the file error number when not held

private:
    QString m_cacheFile;
    QString m_lockFile;
    int m_fd = -1;
    int m_error = 0;
};

// Whether a writer of this process is writing the cache file now.
bool CacheNameBusy(const QString &cacheFile);

// Writes the whole store, in store order, by ReplaceCacheFile.
CacheWriteResult WriteStoreToCache(const EventStore &store, const CacheFileNames &names);
