#pragma once

#include "storetypes.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class IcalItem;

namespace Store {

// The stamps of the files of one directory, each looked up from the open directory rather than
// by its whole path; files that are not there are left out.
QHash<QString, FileStamp> StampsOf(const QString &dir, const QStringList &names);

// What callers look up about an item of a file without parsing it.
struct ItemFacts
{
    QString uid;
    QStringList subjects; // the master's first, then its overrides' where they differ
    QString messageClass;
    bool hidden = false;
    bool recurring = false;
    double firstStart = 0; // of the master
    double lastEnd = 0;    // of the master; the latest date there is for a series

    static ItemFacts of(const IcalItem &item);
};

struct FileFacts
{
    FileStamp stamp;
    QString problem; // what was left out, as the folder's warnings say it
    std::vector<ItemFacts> items;
};

// A folder's index: the facts of each item file by file name, kept in the user's private cache
// directory (never in the calendar: opening one writes nothing into it), so that a start does
// not parse every item to find one. It is only ever a guide: a file whose stamp differs is read
// again, and an index that does not read back whole is dropped.
class FolderIndex
{
public:
    explicit FolderIndex(const QString &folderPath) : m_file(FileOf(folderPath)) {}

    // Where the index of the folder at folderPath is kept: a file of the cache directory named
    // by a digest of the folder's absolute path.
    static QString FileOf(const QString &folderPath);

    // The facts of a file whose stamp is still stamp, or null.
    const FileFacts *facts(const QString &fileName, const FileStamp &stamp);
    void set(const QString &fileName, FileFacts facts);
    void remove(const QString &fileName);
    // Keeps only the files named, or those of the stamps.
    void keepOnly(const QStringList &fileNames);
    void keepOnly(const QHash<QString, FileStamp> &stamps);
    const QHash<QString, FileFacts> &files();

    // Writes the index when it changed since it was read or written; false when that failed
    // (a read-only folder, say), which costs only the next start's time.
    bool save();

    // The text of an index, and the index read from such a text (nullopt when it is not one).
    static QByteArray serialize(const QHash<QString, FileFacts> &files);
    static std::optional<QHash<QString, FileFacts>> parse(const QByteArray &text);

    // Reads the index once; the calls above read it when it has not been read yet.
    void load();

private:
    QString m_file;
    bool m_loaded = false;
    bool m_dirty = false;
    QHash<QString, FileFacts> m_files;
};

} // namespace Store
