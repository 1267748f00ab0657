#include "cacherecord.h"

#include "binaryfile.h"
#include "calevent.h"
#include "fileerror.h"
#include "oadate.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr qsizetype kChunk = 1 << 16;
constexpr int kOverflow = 6;

void appendU16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void appendDate(QByteArray &out, double d)
{
    char b[8];
    qToLittleEndian(d, b);
    out.append(b, 8);
}

} // namespace

QByteArray EncodeCacheText(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > kCacheTextMaxBytes) {
        // Back off continuation bytes (10xxxxxx) so the cut falls before a whole character.
        qsizetype cut = kCacheTextMaxBytes;
        while (cut > 0 && (uchar(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    return bytes;
}

void AppendCacheRecord(QByteArray &out, const QString &eventId, const QString &subject,
                       const QString &categories, double start, double end)
{
    for (const QString *text : {&eventId, &subject, &categories}) {
        const QByteArray bytes = EncodeCacheText(*text);
        appendU16(out, quint16(bytes.size()));
        out.append(bytes);
    }
    appendDate(out, start);
    appendDate(out, end);
}

CacheRecordReader::CacheRecordReader(BinaryFile &file) : m_file(file) {}

bool CacheRecordReader::fail(int number, const QString &description)
{
    if (m_errorNumber == 0) {
        m_errorNumber = number;
        m_errorDescription = description;
    }
    return false;
}

// Makes at least `bytes` unread bytes available in the buffer; false when the file ends first
// or reading fails.
bool CacheRecordReader::ensure(qsizetype bytes)
{
    while (m_buffer.size() - m_pos < bytes) {
        if (m_eof || m_errorNumber)
            return false;
        if (m_pos > 0) {
            m_buffer.remove(0, m_pos);
            m_pos = 0;
        }
        const qsizetype have = m_buffer.size();
        m_buffer.resize(have + std::max(kChunk, bytes - have));
        const qint64 n = m_file.read(m_buffer.data() + have, m_buffer.size() - have);
        m_buffer.resize(have + std::max<qint64>(n, 0));
        if (n < 0)
            return fail(m_file.lastError(), FileErrorDescription(m_file.lastError()));
        if (n == 0)
            m_eof = true;
    }
    return true;
}

bool CacheRecordReader::atEnd()
{
    return !ensure(1) && m_errorNumber == 0;
}

namespace {

// Texts of a cache are short: eight bytes at a time, the last eight overlapping.
quint64 hashBytes(const char *p, qsizetype n)
{
    auto mix = [](quint64 h, quint64 w) {
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        return h ^ (h >> 32);
    };
    quint64 h = quint64(n) * 0x9E3779B97F4A7C15ull;
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        h = mix(h, w);
    }
    if (i < n) {
        quint64 w = 0;
        if (n >= 8)
            std::memcpy(&w, p + n - 8, 8);
        else
            for (; i < n; ++i)
                w = (w << 8) | uchar(p[i]);
        h = mix(h, w);
    }
    return h;
}

} // namespace

QString CacheTextPool::text(const char *utf8, qsizetype size)
{
    if (!m_sharing)
        return QString::fromUtf8(utf8, size);
    if (m_lookups == kTrial && m_hits * 4 < kTrial) {
        m_sharing = false;
        m_slots = {};
        return QString::fromUtf8(utf8, size);
    }
    ++m_lookups;
    if (m_slots.empty())
        grow();
    const quint64 hash = hashBytes(utf8, size);
    const size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    for (; m_slots[i].used; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.hash == hash && slot.bytes.size() == size &&
            std::memcmp(slot.bytes.constData(), utf8, size_t(size)) == 0) {
            ++m_hits;
            return slot.text;
        }
    }
    QString decoded = QString::fromUtf8(utf8, size);
    if (m_count < kLimit) {
        m_slots[i] = {hash, QByteArray(utf8, size), decoded, true};
        if (++m_count * 2 > qsizetype(m_slots.size()))
            grow();
    }
    return decoded;
}

void CacheTextPool::grow()
{
    std::vector<Slot> old =
        std::exchange(m_slots, std::vector<Slot>(std::max<size_t>(64, m_slots.size() * 2)));
    const size_t mask = m_slots.size() - 1;
    for (Slot &slot : old) {
        if (!slot.used)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].used)
            i = (i + 1) & mask;
        m_slots[i] = std::move(slot);
    }
}

bool CacheRecordReader::readText(QString &text, CacheTextPool *pool)
{
    if (!ensure(2))
        return false;
    const quint16 length = qFromLittleEndian<quint16>(m_buffer.constData() + m_pos);
    if (!ensure(2 + length))
        return false;
    const char *bytes = m_buffer.constData() + m_pos + 2;
    text = pool ? pool->text(bytes, length) : QString::fromUtf8(bytes, length);
    m_pos += 2 + length;
    m_consumed += 2 + length;
    return true;
}

bool CacheRecordReader::readDate(double &date)
{
    if (!ensure(8))
        return false;
    date = qFromLittleEndian<double>(m_buffer.constData() + m_pos);
    m_pos += 8;
    m_consumed += 8;
    return true;
}

bool CacheRecordReader::read(CacheRecord &record)
{
    return readRecord(record, nullptr);
}

bool CacheRecordReader::read(CacheRecord &record, CacheTextPool &pool)
{
    return readRecord(record, &pool);
}

bool CacheRecordReader::readRecord(CacheRecord &record, CacheTextPool *pool)
{
    if (!readText(record.EventID, pool ? &m_ids : nullptr) || !readText(record.Subject, pool) ||
        !readText(record.Categories, pool) || !readDate(record.StartDate) ||
        !readDate(record.EndDate)) {
        return fail(FileError::InputPastEndOfFile,
                    FileErrorDescription(FileError::InputPastEndOfFile));
    }
    if (!OADate::isValid(record.StartDate) || !OADate::isValid(record.EndDate))
        return fail(
            kOverflow,
            QStringLiteral("Overflow (no date in the record ending at byte %1)").arg(m_consumed));
    return true;
}

CacheRecordWriter::CacheRecordWriter(BinaryFile &file) : m_file(file)
{
    m_buffer.reserve(kChunk + 1024);
}

bool CacheRecordWriter::write(const QString &eventId, const QString &subject,
                              const QString &categories, double start, double end)
{
    AppendCacheRecord(m_buffer, eventId, subject, categories, start, end);
    return m_buffer.size() < kChunk || flush();
}

bool CacheRecordWriter::write(const CalEvent &e)
{
    return write(e.EventID, e.Subject, e.Categories, e.StartDate, e.EndDate);
}

bool CacheRecordWriter::write(const CacheRecord &r)
{
    return write(r.EventID, r.Subject, r.Categories, r.StartDate, r.EndDate);
}

bool CacheRecordWriter::flush()
{
    if (m_failed)
        return false;
    m_failed = !m_file.write(m_buffer.constData(), m_buffer.size());
    m_buffer.clear();
    return !m_failed;
}

int CacheRecordWriter::errorNumber() const
{
    return m_failed ? m_file.lastError() : 0;
}
