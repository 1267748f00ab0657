#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <limits>
#include <vector>

class BinaryFile;
struct CalEvent;

// One record of a cache file: three texts, each an unsigned 16-bit little-endian byte count and
// that many bytes in the locale's encoding (UTF-8 here), then start and end as little-endian
// automation dates. No header, no trailer: a reader reads records until the end of the file.
struct CacheRecord
{
    QString EventID;
    QString Subject;
    QString Categories;
    double StartDate = 0;
    double EndDate = 0;
};

constexpr int kCacheRecordFixedBytes = 22;
constexpr int kCacheTextMaxBytes = 65535;
// What every cache file on disk holds: three 16-bit counts and two IEEE 754 doubles a record.
static_assert(kCacheRecordFixedBytes == 3 * sizeof(quint16) + 2 * sizeof(double));
static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8);
static_assert(kCacheTextMaxBytes == std::numeric_limits<quint16>::max());

// A text as stored: its UTF-8 bytes, cut at a character boundary to at most 65,535 bytes.
QByteArray EncodeCacheText(const QString &text);

// Appends one record to out.
void AppendCacheRecord(QByteArray &out, const QString &eventId, const QString &subject,
                       const QString &categories, double start, double end);

// Shares one copy of texts that repeat from record to record (categories above all, subjects of
// recurring items): a repeated text is found by its bytes, so it costs neither a decoding nor an
// allocation, and a large store holds and frees far fewer strings. Where texts hardly repeat
// (identifiers of items that do not recur) the pool soon stops keeping them.
class CacheTextPool
{
public:
    QString text(const char *utf8, qsizetype size);
    // Whether the pool still looks texts up.
    bool sharing() const { return m_sharing; }

private:
    // Open addressing on a cheap hash of the bytes, at most half full.
    struct Slot
    {
        quint64 hash = 0;
        QByteArray bytes;
        QString text;
        bool used = false;
    };
    static constexpr qsizetype kLimit = 65536;
    // After this many lookups a pool that found fewer than a quarter of them stops.
    static constexpr qsizetype kTrial = 2048;
    void grow();

    std::vector<Slot> m_slots;
    qsizetype m_count = 0;
    qsizetype m_lookups = 0;
    qsizetype m_hits = 0;
    bool m_sharing = true;
};

// Reads records one after the other from an open file, through a buffer.
class CacheRecordReader
{
public:
    explicit CacheRecordReader(BinaryFile &file);

    // True at a clean end of the file (not after a failed read).
    bool atEnd();
    // Reads the next record. False when the file ends inside a record, when a date is not an
    // automation date, or when reading fails; errorNumber() and errorDescription() say which.
    bool read(CacheRecord &record);
    // The same, taking the subject and categories from pool when they have been read before,
    // and an entry identifier from the reader's own pool of them (occurrences of one item
    // share it).
    bool read(CacheRecord &record, CacheTextPool &pool);

    int errorNumber() const { return m_errorNumber; }
    QString errorDescription() const { return m_errorDescription; }
    // Bytes consumed so far.
    qint64 offset() const { return m_consumed; }

private:
    bool ensure(qsizetype bytes);
    bool readText(QString &text, CacheTextPool *pool = nullptr);
    bool readRecord(CacheRecord &record, CacheTextPool *pool);
    bool readDate(double &date);
    bool fail(int number, const QString &description);

    BinaryFile &m_file;
    CacheTextPool m_ids;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_consumed = 0;
    bool m_eof = false;
    int m_errorNumber = 0;
    QString m_errorDescription;
};

// Writes records to an open file through a buffer.
class CacheRecordWriter
{
public:
    explicit CacheRecordWriter(BinaryFile &file);

    bool write(const QString &eventId, const QString &subject, const QString &categories,
               double start, double end);
    bool write(const CalEvent &event);
    bool write(const CacheRecord &record);
    // Writes what is buffered; false on failure (errorNumber() says why).
    bool flush();
    int errorNumber() const;

private:
    BinaryFile &m_file;
    CacheTextPool m_ids;
    QByteArray m_buffer;
    bool m_failed = false;
};
