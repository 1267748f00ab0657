#include "yearparts.h"

#include "binaryfile.h"
#include "filereplacement.h"
#include "yearrecords.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTimeZone>
#include <QtEndian>

namespace {

const QByteArray kHeader = "QUORVEL-PARTS 2";
constexpr qsizetype kDigestBytes = 20; // SHA-1
constexpr qsizetype kLengthBytes = 8;
// The records' digest, the text's length and the digest of the text and these two.
constexpr qsizetype kTrailerBytes = 2 * kDigestBytes + kLengthBytes;

QByteArray Encoded(const QString &text)
{
    return text.toUtf8().toPercentEncoding();
}

QString Decoded(QByteArrayView field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field.toByteArray()));
}

QByteArray Digest(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QByteArray StampText(const Store::FileStamp &s)
{
    return QByteArray::number(s.size) + '\t' + QByteArray::number(s.mtimeNs) + '\t' +
           QByteArray::number(s.inode);
}

// The stamp in fields at, at + 1 and at + 2.
bool ReadStamp(const QList<QByteArray> &fields, qsizetype at, Store::FileStamp &s)
{
    bool ok = fields.size() >= at + 3;
    s.size = ok ? fields[at].toLongLong(&ok) : 0;
    s.mtimeNs = ok ? fields[at + 1].toLongLong(&ok) : 0;
    s.inode = ok ? fields[at + 2].toULongLong(&ok) : 0;
    return ok;
}

// The text's length as the trailer's middle gives it.
qint64 TextSizeOf(QByteArrayView length)
{
    return length.size() == kLengthBytes ? qFromLittleEndian<qint64>(length.data()) : -1;
}

// The text and the trailer, which are the last bytes of a file of fileSize bytes.
std::optional<KeptParts> ParseIndex(QByteArrayView end, qint64 fileSize, const QByteArray &key)
{
    if (end.size() < kTrailerBytes ||
        Digest(end.first(end.size() - kDigestBytes)) != end.last(kDigestBytes))
        return std::nullopt;
    const qint64 textSize = TextSizeOf(end.last(kDigestBytes + kLengthBytes).first(kLengthBytes));
    if (textSize <= 0 || textSize != end.size() - kTrailerBytes || fileSize < end.size())
        return std::nullopt;
    const QList<QByteArray> lines = end.first(textSize).toByteArray().split('\n');
    KeptParts parts;
    if (lines.size() < 4 || lines[0] != kHeader || lines[1] != key || !lines.last().isEmpty() ||
        !ReadStamp(lines[2].split('\t'), 0, parts.cache))
        return std::nullopt;
    parts.recordBytes = fileSize - end.size();
    parts.recordsDigest = end.sliced(textSize, kDigestBytes).toByteArray();
    for (qsizetype i = 3; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split('\t');
        FilePart part;
        bool ok = f.size() == 6 && ReadStamp(f, 1, part.stamp);
        const qsizetype count = ok ? f[4].toLongLong(&ok) : 0;
        if (!ok || count < 0)
            return std::nullopt;
        const QString name = Decoded(f[0]);
        part.leftOut = Decoded(f[5]);
        parts.files.insert(name, std::move(part));
        if (count > 0)
            parts.unread.append({name, count});
    }
    return parts;
}

// The records of the unread files, from the bytes before the text.
bool ReadRecords(QByteArrayView records, KeptParts &parts)
{
    if (records.size() != parts.recordBytes || Digest(records) != parts.recordsDigest)
        return false;
    // Through the cache's own reader, from a copy in memory of the checked bytes.
    BinaryFile data = BinaryFile::inMemory(QStringLiteral("year parts"));
    if (!data.isOpen() || !data.write(records.data(), records.size()) || !data.rewind())
        return false;
    CacheRecordReader reader(data);
    CacheTextPool pool;
    for (const auto &[name, count] : std::as_const(parts.unread)) {
        std::vector<CacheRecord> &out = parts.files[name].records;
        out.resize(size_t(count));
        for (CacheRecord &r : out) {
            if (!reader.read(r, pool))
                return false;
        }
    }
    if (!reader.atEnd())
        return false;
    parts.unread.clear();
    return true;
}

} // namespace

QString YearPartsFileOf(const QString &cacheFile)
{
    return cacheFile + QStringLiteral(".parts");
}

QByteArray YearPartsKey(const YearRequest &request)
{
    return Encoded(request.storeId) + '\t' + Encoded(request.folderId) + '\t' +
           QByteArray::number(request.year) + '\t' + QByteArray::number(request.startMonth) + '\t' +
           (request.allEvents ? "all" : "days") + '\t' + Encoded(request.listSeparator) + '\t' +
           QTimeZone::systemTimeZoneId();
}

QByteArray SerializeYearParts(const QByteArray &key, const KeptParts &parts)
{
    QStringList names = parts.files.keys();
    names.sort();
    QByteArray out;
    QByteArray text = kHeader + '\n' + key + '\n' + StampText(parts.cache) + '\n';
    for (const QString &name : names) {
        const FilePart &p = parts.files[name];
        for (const CacheRecord &r : p.records)
            AppendCacheRecord(out, r.EventID, r.Subject, r.Categories, r.StartDate, r.EndDate);
        text += Encoded(name) + '\t' + StampText(p.stamp) + '\t' +
                QByteArray::number(qsizetype(p.records.size())) + '\t' + Encoded(p.leftOut) + '\n';
    }
    QByteArray trailer = Digest(out);
    trailer.resize(kDigestBytes + kLengthBytes);
    qToLittleEndian<qint64>(text.size(), trailer.data() + kDigestBytes);
    text += trailer;
    out += text;
    out += Digest(text);
    return out;
}

std::optional<KeptParts> ParseYearParts(const QByteArray &bytes, const QByteArray &key)
{
    const QByteArrayView all(bytes);
    const qint64 textSize =
        all.size() < kTrailerBytes
            ? -1
            : TextSizeOf(all.last(kDigestBytes + kLengthBytes).first(kLengthBytes));
    if (textSize <= 0 || textSize > all.size() - kTrailerBytes)
        return std::nullopt;
    std::optional<KeptParts> parts =
        ParseIndex(all.last(textSize + kTrailerBytes), all.size(), key);
    if (!parts || !ReadRecords(all.first(parts->recordBytes), *parts))
        return std::nullopt;
    return parts;
}

std::optional<KeptParts> ReadYearParts(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    if (size < kTrailerBytes || !file.seek(size - kDigestBytes - kLengthBytes))
        return std::nullopt;
    const qint64 textSize = TextSizeOf(file.read(kLengthBytes));
    if (textSize <= 0 || textSize > size - kTrailerBytes ||
        !file.seek(size - kTrailerBytes - textSize))
        return std::nullopt;
    std::optional<KeptParts> parts = ParseIndex(file.readAll(), size, key);
    if (parts)
        parts->path = path;
    return parts;
}

bool LoadPartRecords(KeptParts &parts)
{
    if (parts.unread.isEmpty())
        return true;
    QFile file(parts.path);
    const QByteArray records =
        file.open(QIODevice::ReadOnly) ? file.read(parts.recordBytes) : QByteArray();
    if (ReadRecords(records, parts))
        return true;
    parts.files.clear();
    parts.unread.clear();
    return false;
}

bool WriteYearParts(const QString &path, const QByteArray &key, const KeptParts &parts)
{
    // Records still on the disk would be written as none.
    return parts.unread.isEmpty() &&
           ReplaceFile(path, SerializeYearParts(key, parts), FileDurability::Quick,
                       BinaryFile::Access::Private) == 0;
}
