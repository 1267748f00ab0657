#pragma once

// Files opened for binary access without following links, and the small file helpers: deleting
// with retries, reading a small text file, cleaning a file name.

#include "fileerror.h"

#include <QString>

#include <utility>

class Dialogs;

// An open file for binary reading and writing. Move-only; closes on destruction.
class BinaryFile
{
public:
    BinaryFile() = default;
    BinaryFile(BinaryFile &&other) noexcept;
    BinaryFile &operator=(BinaryFile &&other) noexcept;
    BinaryFile(const BinaryFile &) = delete;
    BinaryFile &operator=(const BinaryFile &) = delete;
    ~BinaryFile();

    // Opens path for reading and writing, creating it empty (readable by the user alone) when it
    // is missing; a file that may only be read is opened for reading. On failure the result is
    // closed and errorNumber holds the file error number. A link is never followed and anything
    // but a regular file (a pipe, a device, a directory) is refused as "Bad file mode": in a
    // directory others can write, a planted name must not lead elsewhere.
    static BinaryFile open(const QString &path, int *errorNumber = nullptr);
    // Who may read a file that is created: the user alone (caches, in directories others may
    // share), or whoever the user's umask lets (calendar items, documents).
    enum class Access { Private, AsUmask };
    // Creates path, which must not exist yet (a name planted meanwhile is refused, never
    // followed).
    static BinaryFile create(const QString &path, int *errorNumber = nullptr,
                             Access access = Access::Private);
    // Opens path for reading only; a missing file is not created.
    static BinaryFile openForReading(const QString &path, int *errorNumber = nullptr);
    // A file in memory alone (for data that has no place on the disk); name only labels it.
    static BinaryFile inMemory(const QString &name, int *errorNumber = nullptr);

    bool isOpen() const { return m_fd >= 0; }
    // The permission bits of the open file (07777 at most).
    bool setMode(unsigned mode);
    // The descriptor, now the caller's to close.
    int release() { return std::exchange(m_fd, -1); }
    QString path() const { return m_path; }

    // Up to size bytes into data; the count read (0 at the end), or -1 on failure.
    qint64 read(char *data, qint64 size);
    bool write(const char *data, qint64 size);
    // Back to the first byte, for reading what was written.
    bool rewind();
    // Flushes the file's data to the disk, so that a rename after it cannot expose a file whose
    // content is not yet stored.
    bool sync();
    bool close();

    // The file error number of the last failed operation.
    int lastError() const { return m_error; }

private:
    // The file of descriptor fd, or of the errno its opening left when fd is -1.
    static BinaryFile opened(const QString &path, int fd, int *errorNumber, bool inMemory = false);
    bool fail(int err);

    int m_fd = -1;
    int m_error = 0;
    bool m_inMemory = false; // not a file of any disk: the test hook leaves it alone
    QString m_path;
};

// For tests of what every writer does on a full disk or a read-only file system: once bytes more
// have been written through this helper, writes fail with err (an errno value such as ENOSPC,
// EROFS, EIO or EDQUOT); the bytes before that reach the file, as on a disk that fills. With no
// bytes left, creating a file fails too; with none from the start and EROFS or EIO, so does
// removing one. A negative bytes switches it off. Process-wide.
void FailWritesAfter(qint64 bytes, int err);

// Opens path for binary access; on failure shows the file error message and returns a closed
// file.
BinaryFile OpenBinaryFile(const QString &path, Dialogs &dialogs);

// The text of a small file such as another program's configuration or a planner page (UTF-8),
// empty when it cannot be read, is not a regular file or is larger than kMaxTextFileBytes.
constexpr qint64 kMaxTextFileBytes = 4 * 1024 * 1024;
QString ReadTextFile(const QString &path);

// Deletes the file at path, trying up to 11 times. 0 when the file is gone or was never there,
// else the file error number of the last failed attempt.
int DeleteFile(const QString &path);

// Turns name into a legal file name (characters that no file system or shell takes become "_");
// name itself is replaced by the result as well. Empty or all-space names are left as they are.
QString CleanFileName(QString &name);
