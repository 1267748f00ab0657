#include "cachefile.h"

#include "binaryfile.h"
#include "cacherecord.h"
#include "dialogs.h"
#include "eventstore.h"
#include "fileerror.h"
#include "qverror.h"
#include "yield.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The cache names written in this process, and the thread writing each.
QMutex &writersMutex()
{
    static QMutex mutex;
    return mutex;
}
QHash<QString, QThread *> &writers()
{
    static QHash<QString, QThread *> names;
    return names;
}

} // namespace

const char *const kCacheDirectoryMarker = ".quorvel-cache-directory";

bool IsPrivateDirectory(const QString &dir)
{
    struct stat st;
    return ::stat(QFile::encodeName(dir).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString CacheDirectory()
{
    // TMP only when no one else may write there: in a shared one (mode 1777) another user could
    // plant a cache under the predictable name first, or read what the planner writes.
    // One that is not there is still the user's choice; its error is said where it is written.
    const QString tmp = qEnvironmentVariable("TMP");
    if (!tmp.isEmpty() && (!QFileInfo::exists(tmp) || IsPrivateDirectory(tmp))) {
        // Marked, for a synchroniser whose TMP is not this one.
        if (QFileInfo::exists(tmp))
            MarkCacheDirectory(tmp);
        return QDir::cleanPath(tmp);
    }
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/quorvel";
    if (!QDir().mkpath(dir))
        return QString();
    // Cache files name the user and hold their appointments: keep the directory private.
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

void MarkCacheDirectory(const QString &dir)
{
    const QString marker = QDir::cleanPath(dir) + QLatin1Char('/') + kCacheDirectoryMarker;
    if (!QFileInfo::exists(marker))
        BinaryFile::create(marker);
}

QString FallbackCacheDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    return QDir::homePath();
}

bool IsCacheFileName(const QString &path)
{
    const QFileInfo file(path);
    const QString name = file.fileName();
    if (!file.isAbsolute() || name.isEmpty() || name.startsWith(QLatin1Char('.')) ||
        !name.endsWith(QLatin1String(".tmp")) || QDir::cleanPath(path) != path)
        return false;
    const QString dir = file.absolutePath();
    const QString cache = CacheDirectory();
    if ((!cache.isEmpty() && dir == QDir::cleanPath(cache)) ||
        dir == QDir::cleanPath(FallbackCacheDirectory()))
        return true;
    // A planner's private TMP: only whoever can write there can have marked it.
    const QFileInfo marker(dir + QLatin1Char('/') + kCacheDirectoryMarker);
    return IsPrivateDirectory(dir) && marker.isFile() && !marker.isSymLink() &&
           marker.ownerId() == ::geteuid();
}

QString FolderNameOf(const QString &folder)
{
    return folder.section(QLatin1Char('\\'), -1);
}

qint64 FolderChecksum(const QString &folder)
{
    const QList<uint> codes = folder.toUcs4();
    qint64 sum = 0;
    for (qsizetype i = 0; i + 1 < codes.size(); ++i)
        sum += codes[i];
    return sum;
}

CacheFileNames MakeCacheFileNames(const std::function<QString()> &userName, int year,
                                  const QString &folder, Dialogs &dialogs)
{
    QString user;
    try {
        user = userName();
    } catch (const QvError &) {
        dialogs.message(QCoreApplication::translate(
            "Messages", "Unable to obtain current username! This is likely to be "
                        "due to Outlook security: ensure that TKCDO.dll is "
                        "registered."));
        QString base = QString::number(year) + QStringLiteral(".tmp");
        CleanFileName(base);
        const QString dir = FallbackCacheDirectory();
        return {dir + '/' + base, dir + "/~" + base};
    }
    QString base = user + QString::number(year) + FolderNameOf(folder) +
                   QString::number(FolderChecksum(folder)) + QStringLiteral(".tmp");
    CleanFileName(base);
    QString dir = CacheDirectory();
    if (dir.isEmpty())
        dir = FallbackCacheDirectory();
    return {dir + '/' + base, dir + "/~" + base};
}

CacheNameLock::CacheNameLock(const QString &cacheFile, const QString &lockFile, int patienceMs)
    : m_cacheFile(cacheFile)
{
    {
        const QMutexLocker locked(&writersMutex());
        const auto writer = writers().constFind(cacheFile);
        if (writer != writers().cend() && *writer == QThread::currentThread()) {
            // A writer this one interrupts (it yielded to the loop): it cannot finish first.
            m_error = FileError::FileAlreadyOpen;
            return;
        }
    }
    QElapsedTimer waited;
    waited.start();
    const bool mainThread = QCoreApplication::instance() &&
                            QThread::currentThread() == QCoreApplication::instance()->thread();
    for (;;) {
        BinaryFile file = BinaryFile::open(lockFile, &m_error);
        if (!file.isOpen())
            return;
        m_fd = file.release();
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= patienceMs) {
                m_error = errno == EWOULDBLOCK ? FileError::FileAlreadyOpen
                                               : FileErrorNumber(errno, lockFile);
                ::close(std::exchange(m_fd, -1));
                return;
            }
            // The other writer may be a window of this program waiting for the same loop.
            if (mainThread)
                YieldToLoop();
            QThread::msleep(10);
        }
        // The holder before removes the lock file as it lets go; a lock on the file it removed
        // guards nothing, so take the one now at the name.
        struct stat held, named;
        if (::fstat(m_fd, &held) == 0 &&
            ::lstat(QFile::encodeName(lockFile).constData(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            break;
        ::close(std::exchange(m_fd, -1));
    }
    m_lockFile = lockFile;
    const QMutexLocker locked(&writersMutex());
    writers().insert(cacheFile, QThread::currentThread());
}

CacheNameLock::~CacheNameLock()
{
    if (m_fd < 0)
        return;
    {
        const QMutexLocker locked(&writersMutex());
        writers().remove(m_cacheFile);
    }
    // Removed while still locked, so no lock files collect beside the caches; a writer waiting on
    // this one sees the name gone and opens it afresh.
    ::unlink(QFile::encodeName(m_lockFile).constData());
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
}

bool CacheNameBusy(const QString &cacheFile)
{
    const QMutexLocker locked(&writersMutex());
    return writers().contains(cacheFile);
}

CacheWriteResult ReplaceCacheFile(const CacheFileNames &names,
                                  const std::function<bool(CacheRecordWriter &)> &writeRecords,
                                  const std::function<void(bool)> &writingFile)
{
    const CacheNameLock lock(names.cacheFile, names.tempFile + QStringLiteral(".lock"));
    if (!lock.held())
        return {CacheWriteResult::TempNotOpened, lock.error()};
    if (const int error = DeleteFile(names.tempFile))
        return {CacheWriteResult::TempNotDeleted, error};

    int error = 0;
    BinaryFile temp = BinaryFile::create(names.tempFile, &error);
    if (!temp.isOpen())
        return {CacheWriteResult::TempNotOpened, error};

    CacheRecordWriter writer(temp);
    if (!writeRecords(writer)) {
        // A cancelled writer leaves what it wrote in the temp file, the cache untouched.
        writer.flush();
        temp.close();
        return {CacheWriteResult::Cancelled, 0};
    }
    if (!writer.flush() || !temp.sync() || !temp.close()) {
        const int failure = writer.errorNumber() ? writer.errorNumber() : temp.lastError();
        temp.close();
        DeleteFile(names.tempFile);
        return {CacheWriteResult::WriteFailed, failure};
    }

    if (writingFile)
        writingFile(true);
    CacheWriteResult result;
    // The rename replaces the cache in one step; when it cannot, the cache there stays.
    if (std::rename(QFile::encodeName(names.tempFile).constData(),
                    QFile::encodeName(names.cacheFile).constData()) != 0)
        result = {CacheWriteResult::RenameFailed, FileErrorNumber(errno, names.cacheFile)};
    if (writingFile)
        writingFile(false);
    return result;
}

CacheWriteResult WriteStoreToCache(const EventStore &store, const CacheFileNames &names)
{
    return ReplaceCacheFile(names, [&store](CacheRecordWriter &writer) {
        for (const CalEvent &e : store) {
            if (!writer.write(e))
                return true; // the failure shows at the final flush
        }
        return true;
    });
}
