#pragma once

#include "cacherecord.h"
#include "storetypes.h"

#include <QByteArray>
#include <QHash>
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
// The parts a rebuild starts from and leaves, and whether it changed them.
struct KeptParts
{
    YearParts files;
    bool changed = true;
};

// Kept beside the cache file a rebuild wrote (once the cache is in place: on a full disk the
// cache comes first), so that the next rebuild of the same year reads only the files whose
// stamps changed since.
QString YearPartsFileOf(const QString &cacheFile);
// What the parts depend on besides the files: the folder, the year, the kind of appointments,
// the list separator and the time zone their times were worked out in.
QByteArray YearPartsKey(const YearRequest &request);

// The records first, as a cache holds them, then a line a file ("name size mtime inode count
// left-out", percent-encoded, tabs between), the key, the length of that text and a digest of
// everything before it. A file that is not whole, not of this key or not of this form is
// nullopt: the rebuild then reads every file.
std::optional<YearParts> ReadYearParts(const QString &path, const QByteArray &key);
QByteArray SerializeYearParts(const QByteArray &key, const YearParts &parts);
std::optional<YearParts> ParseYearParts(const QByteArray &bytes, const QByteArray &key);
// Replaces the file by temp file and rename; false when it could not be written.
bool WriteYearParts(const QString &path, const QByteArray &key, const YearParts &parts);
