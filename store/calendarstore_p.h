#pragma once

#include "calendarstore.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QTimer>

#include <optional>

namespace Store {

// Error numbers of the client's object model that the store raises.
constexpr int kNoWindow = 287;           // "application-defined or object-defined error"
constexpr int kNotAllowed = -2147352567; // "operation not allowed"

struct StoreData
{
    QString id;
    QString name;
    QString root;
    QString defaultCalendar;
    QString metaPath() const { return root + QStringLiteral("/.quorvel-store"); }
};

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
    // The item file whose identifier is entryId, from the file names alone.
    QString fileWithId(const QString &entryId) const;

    // Writes an item file atomically (temp file, then rename); raises QvError on failure.
    void writeItem(const QString &fileName, const IcalItem &item);
    void removeItem(const QString &fileName);
    // A file name for a new item.
    QString newFileName(const IcalItem &item) const;

    QVariant meta(const QString &key, const QVariant &fallback = QVariant()) const;
    void setMeta(const QString &key, const QVariant &value);

    // Starts watching the directory for changes by anyone.
    void watch();

signals:
    void changed(const QStringList &added, const QStringList &changedFiles, int removed);

private:
    QStringList listItemFiles() const;
    void readEntry(const QString &fileName, Entry &e, QStringList &warnings);
    void scanForChanges();

    QHash<QString, Entry> m_entries;
    mutable QHash<QString, QString> m_ids; // entry identifiers by file name, once computed
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_debounce;
    QHash<QString, std::pair<qint64, qint64>> m_notified; // what the listeners last heard of
};

class SessionData : public std::enable_shared_from_this<SessionData>
{
public:
    explicit SessionData(const ProfileOptions &options);

    void load();
    std::shared_ptr<FolderData> folder(const std::shared_ptr<StoreData> &store,
                                       const QString &relPath);
    std::shared_ptr<StoreData> storeWithId(const QString &id) const;
    // Every folder of the stores (or of one store), walking the directories.
    QList<std::shared_ptr<FolderData>> allFolders(const QString &storeId = QString());
    ItemPtr makeItem(const std::shared_ptr<FolderData> &folder, const QString &fileName,
                     std::shared_ptr<const IcalItem> content,
                     const IcalItem::Occurrence *occurrence = nullptr);

    ProfileOptions options;
    QList<std::shared_ptr<StoreData>> stores;
    std::shared_ptr<StoreData> defaultStore;
    QString userName;
    QString listSeparator = QStringLiteral(",");
    QStringList warnings;
    QLocale locale;
    QHash<QString, std::shared_ptr<FolderData>> folders; // by directory path
};

} // namespace Store
