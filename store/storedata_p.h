#pragma once

// What the store's classes share inside the store: a store's directory and names, the errors
// they raise, and the helpers of several of them.

#include "desktopcalendars.h"
#include "storetypes.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class IcalItem;

namespace Store {

// Error numbers of the client's object model that the store raises.
constexpr int kNoWindow = int(ErrorCode::NoWindow);
constexpr int kNotAllowed = int(ErrorCode::NotAllowed);

struct StoreData
{
    QString id;
    QString name;
    QString root;
    QString defaultCalendar;
    // False when no profile or store setting named the default calendar: "Calendar" is only
    // the usual name, and a store without it opens its only calendar folder.
    bool calendarNamed = true;
    // When not empty, the only folders of the top folder: a store of known calendars in a
    // directory that holds other things too (a home directory, say).
    QStringList topFolders;
    // Of the desktop's calendars' store: the service, and its calendars by folder name as
    // last listed. Its root then holds only what the store keeps of them.
    std::shared_ptr<DesktopCalendars> desktop;
    mutable QHash<QString, DesktopCalendar> calendarsByFolder;
    // The desktop store's folders, listed from the service now; and one calendar by its folder.
    QStringList desktopFolders() const;
    DesktopCalendar desktopCalendar(const QString &folder) const;
    QString metaPath() const { return root + QStringLiteral("/.quorvel-store"); }
    // The folders directly in the folder at relPath.
    QStringList subfolderNames(const QString &relPath) const;
};

// The store of the desktop's calendars.
std::shared_ptr<StoreData> DesktopStore(std::shared_ptr<DesktopCalendars> desktop);
// A stable identifier made of a prefix and a digest of text.
QString HashId(const char *prefix, const QString &text);
// Raises the lookup's "not found" error, naming what was looked for.
[[noreturn]] void NotFound(const QString &what);
// Directory names that are folders: not empty, not starting with ".".
bool IsFolderName(const QString &name);
// The names of a directory's subdirectories or of its other entries (files, links to files)
// that accept takes, sorted unless asked in the directory's own order (a large folder's listing
// for a lookup by name need not sort). Read with the entry types the directory gives, so that a
// folder of many item files costs no stat of each.
enum class EntryKind { Folder, File };
enum class NameOrder { Sorted, AsListed };
QStringList DirectoryNames(const QString &path, EntryKind kind,
                           bool (*accept)(const char *name, size_t length),
                           NameOrder order = NameOrder::Sorted);
// The folders directly in a directory.
QStringList SubfolderNames(const QString &path);
// The day hidden items are dated: in the past, out of the way of other programs' views.
QDate HiddenItemsDay();
// The X- property an item keeps its message class in, and the class an item has.
extern const char *const kMessageClassProperty;
QString ItemMessageClass(const IcalItem &item);

} // namespace Store
