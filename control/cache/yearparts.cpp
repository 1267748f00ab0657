#include "yearparts.h"

#include "fileio.h"
#include "yearrecords.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTimeZone>
#include <QtEndian>

namespace {

const QByteArray kHeader = "QUORVEL-PARTS 1";
constexpr qsizetype kDigestBytes = 20; // SHA-1
constexpr qsizetype kLengthBytes = 8;

QByteArray Encoded(const QString &text)
{
    return text.toUtf8().toPercentEncoding();
}

QString Decoded(QByteArrayView field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field.toByteArray()));
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

QByteArray SerializeYearParts(const QByteArray &key, const YearParts &parts)
{
    QStringList names = parts.keys();
    names.sort();
    QByteArray out;
    QByteArray text = kHeader + '\n' + key + '\n';
    for (const QString &name : names) {
        const FilePart &p = parts[name];
        for (const CacheRecord &r : p.records)
            AppendCacheRecord(out, r.EventID, r.Subject, r.Categories, r.StartDate, r.EndDate);
        text += Encoded(name) + '\t' + QByteArray::number(p.stamp.size) + '\t' +
                QByteArray::number(p.stamp.mtimeNs) + '\t' + QByteArray::number(p.stamp.inode) +
                '\t' + QByteArray::number(qsizetype(p.records.size())) + '\t' + Encoded(p.leftOut) +
                '\n';
    }
    out += text;
    char length[kLengthBytes];
    qToLittleEndian<qint64>(text.size(), length);
    out.append(length, kLengthBytes);
    out += QCryptographicHash::hash(out, QCryptographicHash::Sha1);
    return out;
}

std::optional<YearParts> ParseYearParts(const QByteArray &bytes, const QByteArray &key)
{
    if (bytes.size() < kLengthBytes + kDigestBytes)
        return std::nullopt;
    const QByteArrayView sealed = QByteArrayView(bytes).first(bytes.size() - kDigestBytes);
    if (QCryptographicHash::hash(sealed, QCryptographicHash::Sha1) != bytes.right(kDigestBytes))
        return std::nullopt;
    const qint64 textSize = qFromLittleEndian<qint64>(sealed.last(kLengthBytes).data());
    const qsizetype recordBytes = sealed.size() - kLengthBytes - textSize;
    if (textSize <= 0 || recordBytes < 0)
        return std::nullopt;
    const QList<QByteArray> lines = sealed.sliced(recordBytes, textSize).toByteArray().split('\n');
    if (lines.size() < 3 || lines[0] != kHeader || lines[1] != key || !lines.last().isEmpty())
        return std::nullopt;

    // The records through the cache's own reader, from a copy in memory of the checked bytes.
    BinaryFile data = BinaryFile::inMemory(QStringLiteral("year parts"));
    if (!data.isOpen() || !data.write(bytes.constData(), recordBytes) || !data.rewind())
        return std::nullopt;
    CacheRecordReader reader(data);
    CacheTextPool pool;
    YearParts parts;
    for (qsizetype i = 2; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split('\t');
        bool ok = f.size() == 6;
        FilePart part;
        part.stamp.size = ok ? f[1].toLongLong(&ok) : 0;
        part.stamp.mtimeNs = ok ? f[2].toLongLong(&ok) : 0;
        part.stamp.inode = ok ? f[3].toULongLong(&ok) : 0;
        const qint64 count = ok ? f[4].toLongLong(&ok) : 0;
        if (!ok || count < 0)
            return std::nullopt;
        part.leftOut = Decoded(f[5]);
        part.records.resize(size_t(count));
        for (CacheRecord &r : part.records) {
            if (!reader.read(r, pool))
                return std::nullopt;
        }
        parts.insert(Decoded(f[0]), std::move(part));
    }
    if (!reader.atEnd())
        return std::nullopt;
    return parts;
}

std::optional<YearParts> ReadYearParts(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseYearParts(file.readAll(), key);
}

bool WriteYearParts(const QString &path, const QByteArray &key, const YearParts &parts)
{
    return ReplaceFile(path, SerializeYearParts(key, parts), FileDurability::Quick) == 0;
}
