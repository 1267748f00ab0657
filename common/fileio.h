#pragma once

#include <QString>

#include <utility>

class Dialogs;

// File error numbers of the platform the system was written for; the operating system's errors
// are mapped onto them so that messages and error texts read the same everywhere.
namespace FileError {
constexpr int BadFileNameOrNumber = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int FileAlreadyOpen = 55;
constexpr int DiskFull = 57;
constexpr int FileAlreadyExists = 58;
constexpr int InputPastEndOfFile = 62;
constexpr int BadFileName = 64;
constexpr int TooManyFiles = 67;
constexpr int DeviceUnavailable = 68;
constexpr int DiskNotReady = 71;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
} // namespace FileError

// Maps an errno value met while working on path onto a file error number.
int FileErrorNumber(int err, const QString &path = QString());
// The description that goes with a file error number.
QString FileErrorDescription(int number);

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

// Replaces target by a file holding text: a temp file beside it (".~name.tmp"), stored on the
// disk unless Quick, then renamed over it. A new file gets the umask's mode, a replaced one
// keeps its own; a Private one is readable by the user alone either way (what is derived from
// calendar text, configurations that name a password command). 0, or the file error number; a
// failure leaves target as it was and no temp file.
enum class FileDurability { Stored, Quick };
int ReplaceFile(const QString &target, const QByteArray &text,
                FileDurability durability = FileDurability::Stored,
                BinaryFile::Access access = BinaryFile::Access::AsUmask);

// The temp file a replacement of target writes first: ".~name.tmp" beside it.
QString ReplacementTempName(const QString &target);

// The same replacement written piece by piece, for a file too large to hold in memory first: the
// temp file is made at construction, filled by write and renamed over target by commit. Until
// then target is untouched; one not committed leaves no temp file behind.
class FileReplacement
{
public:
    explicit FileReplacement(const QString &target,
                             FileDurability durability = FileDurability::Stored,
                             BinaryFile::Access access = BinaryFile::Access::AsUmask);
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;
    ~FileReplacement();

    // False once any write has failed; later writes are left out.
    bool write(const char *data, qint64 size);
    // 0 when target now holds what was written, else the file error number of the first fault.
    int commit();
    // The file error number of the first fault so far, 0 while there is none.
    int error() const { return m_error; }

private:
    void discard();

    QString m_target;
    QString m_temp;
    FileDurability m_durability;
    BinaryFile m_file;
    int m_error = 0;
};

// Shows the "File Error" message for the known file errors. Answer: 0 Retry, 1 Ignore, 2 OK,
// Cancel or Abort, 3 when nothing was shown.
int FileErrorMessage(int errorNumber, Dialogs &dialogs);

// Turns name into a legal file name (characters that no file system or shell takes become "_");
// name itself is replaced by the result as well. Empty or all-space names are left as they are.
QString CleanFileName(QString &name);
