#pragma once

#include "desktopcalendars.h"
#include "folderindex_p.h"
#include "icalitem_p.h"
#include "storedata_p.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace Store {

class DirectoryWatcher;

// One folder: its items, parsed when first needed and again when they change. A folder of a
// vdir is a directory of item files; a folder of the desktop's calendars is one calendar of its
// service, whose objects take the place of the files (keyed by ObjectKey, stamped by their text)
// and whose directory holds only what the store keeps of the folder (its settings, name, colour).
class FolderData : public QObject
{
    Q_OBJECT
public:
    FolderData(std::shared_ptr<StoreData> store, QString relPath);

    struct Entry
    {
        FileStamp stamp; // of the version read
        // The file's events, an item a UID in the file's order; empty when it could not be read.
        std::vector<std::shared_ptr<const IcalItem>> items;
        QString problem;
    };

    std::shared_ptr<StoreData> store;
    QString relPath; // from the store's root, "/"-separated; empty for the top folder
    QString path;
    QString id;

    QString name() const;
    QString entryIdOf(const QString &fileName) const;
    // The identifier of the item uid of a file as last read: the file's own for its first (most
    // often its only) item, the file's with the UID's hash after it for the others.
    QString entryIdOf(const QString &fileName, const QString &uid) const;

    // Brings every file up to date with the disk; problems go to warnings once per version of a
    // file. progress, when given, is called before each file; when it says no, the refresh
    // stops, leaves the entries as they were and returns false.
    bool refresh(QStringList &warnings, const std::function<bool()> &progress = {});
    // The same for some files only (by name); the others stay as they were read last. The names
    // of those that are there.
    std::optional<QStringList> refresh(const QStringList &fileNames, QStringList &warnings,
                                       const std::function<bool()> &progress = {});
    // The entry of one file, read now; null when the file is not there.
    const Entry *entry(const QString &fileName, QStringList &warnings);
    const QHash<QString, Entry> &entries() const { return m_entries; }
    // The facts of every item file, from the folder's index where a file has not changed since
    // it was indexed, else read now (and the index brought up to date).
    const QHash<QString, FileFacts> &facts(QStringList &warnings);
    // The facts of the items that may be hidden: every item's of a directory; of a calendar of
    // the service, those of the day hidden items are dated (a large calendar read whole to find
    // them would cost a start seconds).
    // With a subject, only those that may have it.
    QHash<QString, FileFacts> hiddenFacts(QStringList &warnings, const QString &subject = {});
    // The same for the items that may have a subject: of a calendar of the service, those whose
    // subject holds it.
    QHash<QString, FileFacts> subjectFacts(const QString &subject, QStringList &warnings);
    // What was left out of a file that could not be read whole, as warnings say it.
    QString problemLine(const QString &fileName, const Entry &e) const;
    // The item file whose identifier is entryId, from the file names alone: from the index of a
    // watched folder, which its change notifications keep current, else by listing the folder.
    QString fileWithId(const QString &entryId) const;
    // The item with identifier entryId of a file, read now; null when it has none.
    std::shared_ptr<const IcalItem> itemWithId(const QString &fileName, const QString &entryId,
                                               QStringList &warnings);
    bool isWatched() const { return m_watcher != nullptr || m_sourceWatched; }
    // The calendar service's calendar of the folder; null for a directory of files.
    CalendarSource *source() const { return m_source.get(); }
    // The item files (or objects) there are now and their stamps.
    QHash<QString, FileStamp> stamps() const;

    // Writes an item file atomically (temp file, then rename); raises QvError on failure. A
    // batch (an import) leaves out storing each file on the disk and keeping it read: it calls
    // syncFiles once at its end, and the files are read when next listed. An item of a file that
    // holds other UIDs too moves to a file of its own, and the rest of that file stays; the
    // result is the name of the file that now holds the item.
    enum class Write { One, Batch };
    QString writeItem(const QString &fileName, const IcalItem &item, Write how = Write::One);
    // A batch write of an item already turned into text, to a file that holds no other UID.
    void writeBatchText(const QString &fileName, const QByteArray &text)
    {
        replaceFile(fileName, text, Write::Batch);
    }
    // Stores the folder's files on the disk; false when that failed.
    bool syncFiles() const;
    // Removes the item uid: its file, or its events from a file that holds other UIDs too.
    void removeItem(const QString &fileName, const QString &uid);
    // A file name for a new item of that UID.
    QString newFileName(const QString &uid) const;

    QVariant meta(const QString &key, const QVariant &fallback = QVariant()) const;
    void setMeta(const QString &key, const QVariant &value);

    // Whether, since the last call, an item of a file that still has items lost its
    // identifier (it left a file of several UIDs, or another took over the file's own).
    bool takeItemsWent() { return std::exchange(m_itemsWent, false); }

    // Starts watching the directory for changes by anyone.
    void watch();
    // The item files of the folder, by name (sorted unless asked otherwise).
    QStringList listItemFiles(NameOrder order = NameOrder::Sorted) const;

signals:
    void changed(const QStringList &added, const QStringList &changedFiles, int removed);

private:
    void readEntry(const QString &fileName, Entry &e, QStringList &warnings);
    // The facts of an entry just read; its problem, if any, goes to warnings.
    FileFacts factsOfRead(const QString &name, const Entry &e, QStringList &warnings) const;
    void replaceFile(const QString &fileName, const QByteArray &text, Write how);
    // uids: the file's, as uidsInFile read them.
    QString moveOut(const QString &fileName, const IcalItem &item,
                    const std::optional<QList<QByteArray>> &uids);
    // The text of an item file, up to the largest item; nothing when it cannot be read or is
    // larger.
    std::optional<QByteArray> fileText(const QString &fileName) const;
    // The UIDs of the items of fileName by its text (an empty list when there is no such file);
    // nothing when it cannot be read or split.
    std::optional<QList<QByteArray>> uidsInFile(const QString &fileName) const;
    // The rest of fileName without the events of uid, read from the disk now.
    std::optional<QByteArray> restWithout(const QString &fileName, const QString &uid) const;
    // Finishes a move that an earlier writer did not end.
    void recover();
    void recoverOrWarn(QStringList &warnings);
    void scanForChanges();

    // Of a calendar of the service: the entry of an object as it is now, read again when its
    // text changed; the facts of all of them.
    void takeObject(const QString &key, const CalendarSource::Object &object, Entry &e,
                    QStringList &warnings);
    void refreshFromSource(QStringList &warnings);
    QHash<QString, FileStamp> sourceStamps() const;
    QStringList sourceKeys(NameOrder order) const;
    const Entry *sourceEntry(const QString &key, QStringList &warnings);
    void writeToSource(const QString &key, const QByteArray &text, Write how);
    // Drops what was read of an object that is gone or about to be read again.
    void forgetObject(const QString &key);
    // The facts of the objects a query of the service found, read as entries.
    QHash<QString, FileFacts> factsOfFound(const CalendarSource::Query &query,
                                           QStringList &warnings);
    void onSourceChanged(const QStringList &added, const QStringList &changedKeys,
                         const QStringList &removed);

    QHash<QString, Entry> m_entries;
    std::unique_ptr<FolderIndex> m_index;
    std::shared_ptr<CalendarSource> m_source;
    bool m_sourceWatched = false;
    QHash<QString, FileFacts> m_sourceFacts;
    bool m_itemsWent = false;
    mutable QHash<QString, QString> m_ids; // entry identifiers by file name, once computed
    // Of a watched folder: file names by identifier, made at the first lookup (each identifier
    // is a digest, too many for a start to make) and then kept current with the watch.
    mutable std::optional<QHash<QString, QString>> m_fileById;
    void rememberIdOf(const QString &fileName)
    {
        if (m_fileById)
            m_fileById->insert(entryIdOf(fileName), fileName);
    }
    void forgetIdOf(const QString &fileName)
    {
        if (m_fileById)
            m_fileById->remove(entryIdOf(fileName));
    }
    DirectoryWatcher *m_watcher = nullptr;
    // A look at the folder once it has been quiet a moment, or at most a second after the first
    // change unlooked at: a sync tool that never pauses is heard all the same.
    static constexpr int kQuietMs = 150, kLongestWaitMs = 1000;
    QTimer m_debounce;
    QElapsedTimer m_unlookedSince;
    QHash<QString, FileStamp> m_notified; // what the listeners last heard of
    bool m_factsMatchNotified = false;    // the index was checked against m_notified since
};

} // namespace Store
