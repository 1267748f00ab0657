#include "binaryfile.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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
