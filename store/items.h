#pragma once

#include "restriction.h"
#include "storetypes.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class IcalItem;

namespace Store {

// The items of a folder, as a view: restrictions, a sort order and whether recurring items
// stand for their occurrences. Enumerating reads the folder as it is on disk at that moment.
class Items : public QObject
{
    Q_OBJECT
public:
    Items(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder);

    // Raises QvError for an invalid filter.
    ItemsPtr Restrict(const QString &filter);
    // The first item that matches, or null; FindNext the next.
    ItemPtr Find(const QString &filter);
    ItemPtr FindNext();
    // "[Start]", "[End]" or "[Subject]".
    void Sort(const QString &property, bool descending = false);
    bool IncludeRecurrences() const { return m_includeRecurrences; }
    void setIncludeRecurrences(bool include) { m_includeRecurrences = include; }
    // Accepted for the properties the items have; only a hint here.
    void SetColumns(const QString &columns);
    // Called between the folder's items while an enumeration reads and expands them (a large
    // folder takes seconds): a long enumeration can yield to the message loop there, and stops
    // when it returns false, giving what it has found so far. Whoever stops it knows that it did.
    void setProgress(std::function<bool()> progress) { m_progress = std::move(progress); }

    int Count();
    ItemPtr GetFirst();
    ItemPtr GetNext();
    // Every element, in order.
    QList<ItemPtr> all();
    // The calendar files the last enumeration left out, whole or in part, each as "path: why"
    // (the lines it also wrote to standard error); empty when it read everything.
    QStringList leftOut() const { return m_leftOut; }
    // Of the files the last enumeration left out: the line each, by file name.
    const QHash<QString, QString> &leftOutFiles() const { return m_leftOutFiles; }
    // A new, unsaved appointment of the folder.
    AppointmentItemPtr Add();

    // The folder's item files and their stamps as the disk has them now: who keeps what an
    // enumeration gave for a file tells by its stamp whether the file changed since.
    QHash<QString, FileStamp> fileStamps() const;
    // Later enumerations read only these item files (by name); every file again with nullopt.
    void setFileNames(std::optional<QStringList> names) { m_fileNames = std::move(names); }

signals:
    // Raised when an item file is added to, changed in or removed from the folder, by this
    // process or another; a removal names no item.
    void ItemAdd(const Store::ItemPtr &item);
    void ItemChange(const Store::ItemPtr &item);
    void ItemRemove();

protected:
    void connectNotify(const QMetaMethod &signal) override;

private:
    struct Element
    {
        ItemPtr item;
        double start, end;
        QString subject;
    };
    QList<ItemPtr> evaluate(const std::optional<Restriction> &extra);
    // The elements one item of a file gives under filter.
    void collect(const QString &fileName, const std::shared_ptr<const IcalItem> &item,
                 const std::optional<Restriction> &filter, double endMin, double startMax,
                 QList<Element> &elements);
    void onFolderChanged(const QStringList &added, const QStringList &changed, int removed);

    std::shared_ptr<SessionData> m_session;
    QStringList m_leftOut;
    QHash<QString, QString> m_leftOutFiles;
    std::optional<QStringList> m_fileNames;
    std::shared_ptr<FolderData> m_folder;
    std::optional<Restriction> m_restriction;
    QString m_sortProperty;
    bool m_sortDescending = false;
    bool m_includeRecurrences = false;
    QList<ItemPtr> m_cursor;
    int m_cursorNext = 0;
    QList<ItemPtr> m_found;
    int m_foundNext = 0;
    std::function<bool()> m_progress;
};

} // namespace Store
