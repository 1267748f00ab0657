#pragma once

#include "icalitem.h"
#include "storedata_p.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>

namespace Store {

// One folder directory: its item files, parsed when first needed and again when they change.
class FolderData : public QObject
{
    Q_OBJECT
public:
    FolderData(std::shared_ptr<StoreData> store, QString relPath);

    struct Entry
    {
        qint64 mtime = -1;
        qint64 size = -1;
        std::shared_ptr<const IcalItem> item; // null when the file could not be read
        QString problem;
    };

    std::shared_ptr<StoreData> store;
    QString relPath; // from the store's root, "/"-separated; empty for the top folder
    QString path;
    QString id;

    QString name() const;
    QString entryIdOf(const QString &fileName) const;

    // Brings every file up to date with the disk; problems go to warnings once per version of a
    // file. progress, when given, is called before each file; when it says no, the refresh
    // stops, leaves the entries as they were and returns false.
    bool refresh(QStringList &warnings, const std::function<bool()> &progress = {});
    // The entry of one file, read now; null when the file is not there.
    const Entry *entry(const QString &fileName, QStringList &warnings);
    const QHash<QString, Entry> &entries() const { return m_entries; }
    // The item file whose identifier is entryId, from the file names alone: from the index of a
    // watched folder, which its change notifications keep current, else by listing the folder.
    QString fileWithId(const QString &entryId) const;
    bool isWatched() const { return m_watcher != nullptr; }

    // Writes an item file atomically (temp file, then rename); raises QvError on failure. A
    // batch (an import) leaves out storing each file on the disk and keeping it read: it calls
    // syncFiles once at its end, and the files are read when next listed.
    enum class Write { One, Batch };
    void writeItem(const QString &fileName, const IcalItem &item, Write how = Write::One);
    // Stores the folder's files on the disk; false when that failed.
    bool syncFiles() const;
    void removeItem(const QString &fileName);
    // A file name for a new item.
    QString newFileName(const IcalItem &item) const;

    QVariant meta(const QString &key, const QVariant &fallback = QVariant()) const;
    void setMeta(const QString &key, const QVariant &value);

    // Starts watching the directory for changes by anyone.
    void watch();
    // The item files of the folder, by name.
    QStringList listItemFiles() const;

signals:
    void changed(const QStringList &added, const QStringList &changedFiles, int removed);

private:
    void readEntry(const QString &fileName, Entry &e, QStringList &warnings);
    void scanForChanges();

    QHash<QString, Entry> m_entries;
    mutable QHash<QString, QString> m_ids; // entry identifiers by file name, once computed
    QHash<QString, QString> m_fileById;    // of a watched folder: file names by identifier
    void index(const QString &fileName) { m_fileById.insert(entryIdOf(fileName), fileName); }
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_debounce;
    QHash<QString, std::pair<qint64, qint64>> m_notified; // what the listeners last heard of
};

} // namespace Store
