#pragma once

#include "cacherecord.h"
#include "storetypes.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>
#include <vector>

struct YearRequest;

// What a rebuild of a year gave for one calendar file: the file's stamp when it was read, the
// line it was left out with (if it was), and its records in the order the enumeration gave them.
struct FilePart
{
    Store::FileStamp stamp;
    QString leftOut;
    std::vector<CacheRecord> records;
};
using YearParts = QHash<QString, FilePart>; // by file name

// The parts a rebuild starts from and leaves. Read from the disk, they hold the files' stamps at
// first and their records only once LoadPartRecords asked for them: a rebuild that finds nothing
// changed needs none.
struct KeptParts
{
    YearParts files;
    Store::FileStamp cache; // the cache file the parts were kept with, as it was then
    // The files whose records are still on the disk, in the order they are there, and how many.
    QList<QPair<QString, qsizetype>> unread;
    QString path;
    qint64 recordBytes = 0;
    QByteArray recordsDigest;
};

// Kept beside the cache file a rebuild wrote (once the cache is in place: on a full disk the
// cache comes first), so that the next rebuild of the same year reads only the files whose
// stamps changed since, and writes no cache at all when none did and the cache is the one the
// parts were kept with.
QString YearPartsFileOf(const QString &cacheFile);
// What the parts depend on besides the files: the folder, the year, the kind of appointments,
// the list separator and the time zone their times were worked out in.
QByteArray YearPartsKey(const YearRequest &request);

// The records first, as a cache holds them, then the text: the key, the cache's stamp and a
// line a file ("name size mtime inode count left-out", percent-encoded, tabs between); then a
// digest of the records, the length of the text and a digest of the text and what follows it.
// The text is read alone; the records when they are needed. A file that is not whole, not of
// this key or not of this form is nullopt (LoadPartRecords: false, and no files left): the
// rebuild then reads every file.
std::optional<KeptParts> ReadYearParts(const QString &path, const QByteArray &key);
bool LoadPartRecords(KeptParts &parts);
QByteArray SerializeYearParts(const QByteArray &key, const KeptParts &parts);
std::optional<KeptParts> ParseYearParts(const QByteArray &bytes, const QByteArray &key);
// Replaces the file by temp file and rename; false when it could not be written.
bool WriteYearParts(const QString &path, const QByteArray &key, const KeptParts &parts);
