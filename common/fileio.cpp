#include "fileio.h"

#include "dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int FileErrorNumber(int err, const QString &path)
{
    switch (err) {
    case ENOENT:
        if (!path.isEmpty() && !QFileInfo(path).absoluteDir().exists())
            return FileError::PathNotFound;
        return FileError::FileNotFound;
    case ENOTDIR:
        return FileError::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ELOOP: // a link where a file was expected: never followed
        return FileError::BadFileMode;
    case EBUSY:
    case ETXTBSY:
        return FileError::FileAlreadyOpen;
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    case EEXIST:
        return FileError::FileAlreadyExists;
    case ENAMETOOLONG:
    case EILSEQ:
    case EINVAL:
        return FileError::BadFileName;
    case EMFILE:
    case ENFILE:
        return FileError::TooManyFiles;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return FileError::DeviceUnavailable;
    default:
        return FileError::PathFileAccessError;
    }
}

QString FileErrorDescription(int number)
{
    switch (number) {
    case FileError::BadFileNameOrNumber:
        return QStringLiteral("Bad file name or number");
    case FileError::FileNotFound:
        return QStringLiteral("File not found");
    case FileError::BadFileMode:
        return QStringLiteral("Bad file mode");
    case FileError::FileAlreadyOpen:
        return QStringLiteral("File already open");
    case FileError::DiskFull:
        return QStringLiteral("Disk full");
    case FileError::FileAlreadyExists:
        return QStringLiteral("File already exists");
    case FileError::InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case FileError::BadFileName:
        return QStringLiteral("Bad file name");
    case FileError::TooManyFiles:
        return QStringLiteral("Too many files");
    case FileError::DeviceUnavailable:
        return QStringLiteral("Device unavailable");
    case FileError::DiskNotReady:
        return QStringLiteral("Disk not ready");
    case FileError::PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case FileError::PathNotFound:
        return QStringLiteral("Path not found");
    default:
        return QStringLiteral("File error");
    }
}

BinaryFile::BinaryFile(BinaryFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error), m_inMemory(other.m_inMemory),
      m_path(std::move(other.m_path))
{
}

BinaryFile &BinaryFile::operator=(BinaryFile &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_error = other.m_error;
        m_inMemory = other.m_inMemory;
        m_path = std::move(other.m_path);
    }
    return *this;
}

BinaryFile::~BinaryFile()
{
    close();
}

namespace {

std::atomic<qint64> writeBudget{-1};
std::atomic<int> writeFault{0};
std::atomic<bool> removalsRefused{false};

// The bytes of size that may still be written, and the error the rest meets.
qint64 writableBytes(qint64 size, int &err)
{
    qint64 left = writeBudget.load();
    while (left >= 0) {
        const qint64 granted = std::min(left, size);
        if (writeBudget.compare_exchange_weak(left, left - granted)) {
            err = granted < size ? writeFault.load() : 0;
            return granted;
        }
    }
    err = 0;
    return size;
}

// Whether the test hook refuses to create name now (an existing file still opens).
// A file system read-only or failing from the start refuses removals too; a full one or a quota
// lets files go.
bool removalRefused()
{
    if (!removalsRefused.load())
        return false;
    errno = writeFault.load();
    return true;
}

bool creationRefused(const QByteArray &name)
{
    struct stat st;
    if (writeBudget.load() != 0 || ::lstat(name.constData(), &st) == 0)
        return false;
    errno = writeFault.load();
    return true;
}

// Opens name without following a link in its last part and without waiting on a pipe; anything
// but a regular file is refused with EACCES. -1 and errno on failure.
int openRegular(const QByteArray &name, int flags, mode_t mode = 0600)
{
    const int fd = ::open(name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) {
        if (errno == EISDIR)
            errno = EACCES;
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EACCES;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace

BinaryFile BinaryFile::opened(const QString &path, int fd, int *errorNumber, bool inMemory)
{
    BinaryFile f;
    f.m_path = path;
    f.m_inMemory = inMemory;
    f.m_fd = fd;
    if (fd < 0)
        f.m_error = FileErrorNumber(errno, inMemory ? QString() : path);
    if (errorNumber)
        *errorNumber = f.m_error;
    return f;
}

BinaryFile BinaryFile::open(const QString &path, int *errorNumber)
{
    const QByteArray name = QFile::encodeName(path);
    int fd = creationRefused(name) ? -1 : openRegular(name, O_RDWR | O_CREAT);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        const int refused = errno;
        fd = openRegular(name, O_RDONLY);
        if (fd < 0)
            errno = refused;
    }
    return opened(path, fd, errorNumber);
}

BinaryFile BinaryFile::create(const QString &path, int *errorNumber, Access access)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = creationRefused(name) ? -1
                                         : openRegular(name, O_RDWR | O_CREAT | O_EXCL,
                                                       access == Access::Private ? 0600 : 0666);
    return opened(path, fd, errorNumber);
}

BinaryFile BinaryFile::openForReading(const QString &path, int *errorNumber)
{
    return opened(path, openRegular(QFile::encodeName(path), O_RDONLY), errorNumber);
}

BinaryFile BinaryFile::inMemory(const QString &name, int *errorNumber)
{
    return opened(name, ::memfd_create(QFile::encodeName(name).constData(), MFD_CLOEXEC),
                  errorNumber, true);
}

void FailWritesAfter(qint64 bytes, int err)
{
    writeFault = err;
    writeBudget = bytes < 0 ? -1 : bytes;
    removalsRefused = bytes == 0 && (err == EROFS || err == EIO);
}

bool BinaryFile::setMode(unsigned mode)
{
    return m_fd >= 0 && ::fchmod(m_fd, mode_t(mode & 07777)) == 0;
}

bool BinaryFile::fail(int err)
{
    m_error = FileErrorNumber(err, m_path);
    return false;
}

qint64 BinaryFile::read(char *data, qint64 size)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, data, size_t(size));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            fail(errno);
            return -1;
        }
    }
}

bool BinaryFile::write(const char *data, qint64 size)
{
    int fault = 0;
    if (!m_inMemory)
        size = writableBytes(size, fault);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        data += n;
        size -= n;
    }
    return fault == 0 || fail(fault);
}

bool BinaryFile::rewind()
{
    return ::lseek(m_fd, 0, SEEK_SET) == 0 || fail(errno);
}

bool BinaryFile::sync()
{
    return ::fsync(m_fd) == 0 || fail(errno);
}

bool BinaryFile::close()
{
    if (m_fd < 0)
        return true;
    const int fd = std::exchange(m_fd, -1);
    return ::close(fd) == 0 || fail(errno);
}

BinaryFile OpenBinaryFile(const QString &path, Dialogs &dialogs)
{
    int error = 0;
    BinaryFile f = BinaryFile::open(path, &error);
    if (!f.isOpen())
        FileErrorMessage(error, dialogs);
    return f;
}

QString ReadTextFile(const QString &path)
{
    // A path another person chose: never a pipe that blocks or a device without end.
    BinaryFile f = BinaryFile::openForReading(path);
    if (!f.isOpen())
        return QString();
    QByteArray text(kMaxTextFileBytes + 1, Qt::Uninitialized);
    qint64 size = 0;
    for (qint64 n = 0; size < text.size(); size += n) {
        n = f.read(text.data() + size, text.size() - size);
        if (n < 0)
            return QString();
        if (n == 0)
            break;
    }
    if (size > kMaxTextFileBytes)
        return QString();
    text.truncate(size);
    return QString::fromUtf8(text);
}

int DeleteFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    int error = 0;
    for (int attempt = 0; attempt < 11; ++attempt) {
        struct stat st;
        if (::lstat(name.constData(), &st) != 0) {
            if (errno == ENOENT)
                return 0;
            error = FileErrorNumber(errno, path);
            continue;
        }
        if (!removalRefused() && (::unlink(name.constData()) == 0 || errno == ENOENT))
            return 0;
        error = FileErrorNumber(errno, path);
    }
    return error;
}

int ReplaceFile(const QString &target, const QByteArray &text, FileDurability durability,
                BinaryFile::Access access)
{
    FileReplacement file(target, durability, access);
    file.write(text.constData(), text.size());
    return file.commit();
}

QString ReplacementTempName(const QString &target)
{
    const QFileInfo info(target);
    return info.path() + QStringLiteral("/.~") + info.fileName() + QStringLiteral(".tmp");
}

FileReplacement::FileReplacement(const QString &target, FileDurability durability,
                                 BinaryFile::Access access)
    : m_target(target), m_durability(durability)
{
    m_temp = ReplacementTempName(target);
    m_error = DeleteFile(m_temp); // one a crash left behind
    if (m_error)
        return;
    m_file = BinaryFile::create(m_temp, &m_error, access);
    struct stat old;
    if (m_file.isOpen() && access == BinaryFile::Access::AsUmask &&
        ::stat(QFile::encodeName(target).constData(), &old) == 0)
        m_file.setMode(old.st_mode);
}

FileReplacement::~FileReplacement()
{
    if (m_file.isOpen() || m_error)
        discard();
}

bool FileReplacement::write(const char *data, qint64 size)
{
    if (m_error || !m_file.isOpen())
        return false;
    if (!m_file.write(data, size)) {
        m_error = m_file.lastError();
        return false;
    }
    return true;
}

int FileReplacement::commit()
{
    if (m_error || !m_file.isOpen()) {
        discard();
        return m_error;
    }
    if (!((m_durability == FileDurability::Quick || m_file.sync()) && m_file.close())) {
        m_error = m_file.lastError();
    } else if (std::rename(QFile::encodeName(m_temp).constData(),
                           QFile::encodeName(m_target).constData()) != 0) {
        m_error = FileErrorNumber(errno, m_target);
    } else {
        return 0;
    }
    discard();
    return m_error;
}

void FileReplacement::discard()
{
    m_file = BinaryFile();
    DeleteFile(m_temp);
}

int FileErrorMessage(int errorNumber, Dialogs &dialogs)
{
    QString text;
    Dialogs::Buttons buttons = Dialogs::Buttons::Ok;
    switch (errorNumber) {
    case 52:
    case 64:
        text = QStringLiteral("That filename is illegal.");
        break;
    case 54:
        text = QStringLiteral("Can't open your file for that type of access.");
        break;
    case 55:
        text = QStringLiteral("That file is already open.");
        break;
    case 57:
        text = QStringLiteral("The disk is full.");
        break;
    case 62:
        text = QStringLiteral("This file has a nonstandard end-of-file marker,"
                              "or an attempt was made to read beyond "
                              "the end-of-file marker.");
        break;
    case 68:
        text = QStringLiteral("That device appears to be unavailable.");
        buttons = Dialogs::Buttons::RetryCancel;
        break;
    case 71:
        text = QStringLiteral("The disk is not ready.");
        break;
    case 76:
        text = QStringLiteral("That path doesn't exist.");
        break;
    default:
        return 3;
    }
    switch (
        dialogs.message(text, buttons, Dialogs::Icon::Exclamation, QStringLiteral("File Error"))) {
    case Dialogs::Answer::Retry:
        return 0;
    case Dialogs::Answer::Ignore:
        return 1;
    case Dialogs::Answer::Ok:
    case Dialogs::Answer::Cancel:
    case Dialogs::Answer::Abort:
        return 2;
    default:
        return 3;
    }
}

QString CleanFileName(QString &name)
{
    if (name.count(QLatin1Char(' ')) == name.size()) // empty, or spaces only
        return name;
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name[name.size() - 1] = QLatin1Char('_');
    static const QString forbidden = QStringLiteral("\"/\\:|<>*?");
    for (QChar &c : name) {
        if (c.unicode() < 32 || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return name;
}
