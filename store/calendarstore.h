#pragma once

// The calendar store: iCalendar files in folders on disk, behind the object model of the mail
// client the planner was written for. Class and member names are that object model's, as the
// control, the synchroniser and the installer call them.
//
// A store is a directory; its sub-directories are folders (names starting with "." are not);
// each "*.ics" file of a folder is one item. Identifiers (EntryID, StoreID) are opaque texts,
// stable while the item, folder or store exists.

#include "icalitem.h"
#include "restriction.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace Store {

class SessionData;
class FolderData;
class Application;
class NameSpace;
class Folder;
class Folders;
class Items;
class Item;
class AppointmentItem;
class MeetingItem;
class HiddenItems;
class HiddenItem;
class HelperObject;

using ApplicationPtr = std::shared_ptr<Application>;
using NameSpacePtr = std::shared_ptr<NameSpace>;
using FolderPtr = std::shared_ptr<Folder>;
using FoldersPtr = std::shared_ptr<Folders>;
using ItemsPtr = std::shared_ptr<Items>;
using ItemPtr = std::shared_ptr<Item>;
using AppointmentItemPtr = std::shared_ptr<AppointmentItem>;
using MeetingItemPtr = std::shared_ptr<MeetingItem>;
using HiddenItemsPtr = std::shared_ptr<HiddenItems>;
using HiddenItemPtr = std::shared_ptr<HiddenItem>;

// Kinds of folder and item, as the object model numbers them.
constexpr int olFolderCalendar = 9;
constexpr int olMailItem = 0;
constexpr int olAppointmentItem = 1;
constexpr int olContactItem = 2;

// RecurrenceState values.
constexpr int olApptNotRecurring = 0;
constexpr int olApptMaster = 1;
constexpr int olApptOccurrence = 2;
constexpr int olApptException = 3;

// Error number of a lookup that finds nothing (the messaging system's "not found").
constexpr int kNotFound = -2147221233;

// Which stores a session opens.
struct ProfileOptions
{
    // The profile file; empty: $QUORVEL_PROFILE, else $XDG_CONFIG_HOME/Quorvel/profile.ini.
    QString profile;
    // A store directory to open alone, in place of the profile's stores.
    QString storeDir;

    QString profilePath() const;
};

struct MasterCategory
{
    QString Name;
    int Color = 0; // the client's colour number, 1..25
};

// The windows the store shows in place of the client's own: the appointment form, the folder
// picker and the categories dialog. A program installs one (SetStoreUi); without one, showing
// a window raises an error.
class StoreUi
{
public:
    virtual ~StoreUi() = default;
    // Shows the form modally; true when the user saved the item (the form saves it).
    virtual bool editAppointment(AppointmentItem &item) = 0;
    // Null when the user cancels.
    virtual FolderPtr pickFolder(NameSpace &session) = 0;
    // Lets the user tick categories of the master list (and add new ones); true on OK.
    virtual bool editCategories(AppointmentItem &item, NameSpace &session) = 0;
    virtual void displayFolder(Folder &folder) = 0;
};
void SetStoreUi(StoreUi *ui);
StoreUi *CurrentStoreUi();

class Application
{
public:
    explicit Application(const ProfileOptions &options = ProfileOptions());

    // This thread's application, created on first use with the options last given to
    // setSharedOptions (new options make the next call create it anew).
    static ApplicationPtr shared();
    static void setSharedOptions(const ProfileOptions &options);

    QString Version() const;
    // "MAPI" is the only namespace.
    NameSpacePtr GetNamespace(const QString &type);
    // "TKCDO.tkCurrentUser", "TKCDO.tkAppointmentItem" or "TKCDO.tkMAPIFolder".
    std::shared_ptr<HelperObject> CreateObject(const QString &progId);

private:
    ProfileOptions m_options;
    NameSpacePtr m_session;
};

class NameSpace : public std::enable_shared_from_this<NameSpace>
{
public:
    explicit NameSpace(const ProfileOptions &options);
    ~NameSpace();

    // The stores' top folders.
    FoldersPtr Folders();
    // The default calendar (kind 9) of the default store.
    FolderPtr GetDefaultFolder(int kind);
    FolderPtr GetFolderFromID(const QString &entryId, const QString &storeId = QString());
    ItemPtr GetItemFromID(const QString &entryId, const QString &storeId = QString());
    // Null when cancelled.
    FolderPtr PickFolder();
    // Reads the profile again.
    void Logon(const QString &profile = QString(), const QString &password = QString(),
               bool showDialog = false, bool newSession = false);
    // The master category list of the default store.
    QList<MasterCategory> Categories() const;
    void setCategories(const QList<MasterCategory> &categories);

    QString CurrentUserName() const;
    // How Categories texts are joined: the list separator and a space.
    QString categorySeparator() const;
    // Files that could not be read, one line each ("path: reason").
    QStringList warnings() const;

    std::shared_ptr<SessionData> data() const { return m_data; }
    // The options the session was opened with, for another process or object to open the same.
    ProfileOptions options() const;

private:
    std::shared_ptr<SessionData> m_data;
};

class Folder : public std::enable_shared_from_this<Folder>
{
public:
    Folder(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> data);

    QString Name() const;
    QString EntryID() const;
    QString StoreID() const;
    // Null for a store's top folder.
    FolderPtr Parent() const;
    FoldersPtr Folders();
    int DefaultItemType() const;
    ItemsPtr Items();

    QString WebViewURL() const;
    void setWebViewURL(const QString &url);
    bool WebViewOn() const;
    void setWebViewOn(bool on);
    bool WebViewAllowNavigation() const;
    void setWebViewAllowNavigation(bool allow);
    void Display();

    // The folder's path from its store's top folder, elements joined by "\".
    QString FolderPath() const;
    QString directory() const;
    std::shared_ptr<FolderData> data() const { return m_data; }

private:
    std::shared_ptr<SessionData> m_session;
    std::shared_ptr<FolderData> m_data;
};

class Folders
{
public:
    Folders(std::shared_ptr<SessionData> session, QList<FolderPtr> folders,
            std::shared_ptr<FolderData> parent);

    int Count() const { return int(m_folders.size()); }
    FolderPtr GetFirst();
    FolderPtr GetNext();
    FolderPtr Item(int index) const; // 1-based
    FolderPtr Item(const QString &name) const;
    // A new subfolder of the kind's items (9 = calendar); raises when the name is taken.
    FolderPtr Add(const QString &name, int type = olFolderCalendar);

private:
    std::shared_ptr<SessionData> m_session;
    QList<FolderPtr> m_folders;
    std::shared_ptr<FolderData> m_parent;
    int m_next = 0;
};

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
    // A new, unsaved appointment of the folder.
    AppointmentItemPtr Add();

signals:
    // Raised when an item file is added to, changed in or removed from the folder, by this
    // process or another; a removal names no item.
    void ItemAdd(const Store::ItemPtr &item);
    void ItemChange(const Store::ItemPtr &item);
    void ItemRemove();

protected:
    void connectNotify(const QMetaMethod &signal) override;

private:
    QList<ItemPtr> evaluate(const std::optional<Restriction> &extra);
    void onFolderChanged(const QStringList &added, const QStringList &changed, int removed);

    std::shared_ptr<SessionData> m_session;
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

class Item : public std::enable_shared_from_this<Item>
{
public:
    virtual ~Item() = default;
    virtual QString TypeName() const = 0;
    QString EntryID() const;
    QString MessageClass() const;
    // Removes the item from its folder (one instance, for an occurrence).
    virtual void Delete();

    // The file of the item inside its folder (empty until a new item is saved).
    QString fileName() const { return m_fileName; }

protected:
    Item(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
         QString fileName, std::shared_ptr<const IcalItem> content);

    std::shared_ptr<SessionData> m_session;
    std::shared_ptr<FolderData> m_folder;
    QString m_fileName;
    std::shared_ptr<const IcalItem> m_content; // as read; null for a new item
};

class AppointmentItem : public Item
{
public:
    // An item, or one occurrence of it (occurrence non-null).
    AppointmentItem(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
                    QString fileName, std::shared_ptr<const IcalItem> content,
                    const IcalItem::Occurrence *occurrence = nullptr);

    QString TypeName() const override { return QStringLiteral("AppointmentItem"); }

    QString Subject() const;
    void setSubject(const QString &subject);
    // Names joined by the category separator.
    QString Categories() const;
    void setCategories(const QString &categories);
    double Start() const; // automation dates, local time
    void setStart(double start);
    double End() const;
    void setEnd(double end);
    bool AllDayEvent() const;
    void setAllDayEvent(bool allDay);
    bool IsRecurring() const;
    int RecurrenceState() const;
    QString Location() const;
    void setLocation(const QString &location);
    QString Body() const;
    void setBody(const QString &body);
    bool ReminderSet() const;
    void setReminderSet(bool on);
    QString StartTimeZone() const;
    QString EndTimeZone() const;
    QString MessageClassOf() const;

    // Writes the item to its folder, atomically. Raises QvError for an occurrence (change the
    // series) and when the file cannot be written.
    void Save();
    void Delete() override;
    // Shows the appointment form; a saved form writes the item.
    void Display(bool modal = true);
    // Shows the categories dialog over the master list; changes the item's categories on OK.
    void ShowCategoriesDialog();

    bool isNew() const { return m_fileName.isEmpty(); }
    bool isOccurrence() const { return m_occurrence.has_value(); }

private:
    IcalItem &writable();
    const IcalItem &readable() const;
    icalcomponent *event() const; // the override of an exception, else the master

    std::unique_ptr<IcalItem> m_working; // the edited copy
    std::optional<IcalItem::Occurrence> m_occurrence;
    // Times being edited, applied together at Save.
    std::optional<double> m_start, m_end;
    std::optional<bool> m_allDay;

    friend class MeetingItem;
};

class MeetingItem : public Item
{
public:
    MeetingItem(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
                QString fileName, std::shared_ptr<const IcalItem> content,
                const IcalItem::Occurrence *occurrence = nullptr);

    QString TypeName() const override { return QStringLiteral("MeetingItem"); }
    QString Subject() const;
    // The appointment the request is about; never added to the calendar here.
    AppointmentItemPtr GetAssociatedAppointment(bool addToCalendar = false);

private:
    std::optional<IcalItem::Occurrence> m_occurrence;
};

// The helper components of the maker: the current user, item bodies, a folder's hidden items.
class HelperObject
{
public:
    virtual ~HelperObject() = default;
};

class CurrentUser : public HelperObject
{
public:
    explicit CurrentUser(NameSpacePtr session) : m_session(std::move(session)) {}
    QString Name() const;
    void Cleanup() {}

private:
    NameSpacePtr m_session;
};

class AppointmentBody : public HelperObject
{
public:
    void setItem(AppointmentItemPtr item) { m_item = std::move(item); }
    QString Body() const;

private:
    AppointmentItemPtr m_item;
};

class MapiFolder : public HelperObject
{
public:
    explicit MapiFolder(std::shared_ptr<SessionData> session) : m_session(std::move(session)) {}
    void setItem(FolderPtr folder) { m_folder = std::move(folder); }
    // Null before a folder is set.
    HiddenItemsPtr hiddenItems() const;

private:
    std::shared_ptr<SessionData> m_session;
    FolderPtr m_folder;
};

class HiddenItems
{
public:
    HiddenItems(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder);
    // The hidden item with that subject, or null.
    HiddenItemPtr item(const QString &subject) const;
    // A new hidden item of that message class (stored at its first Save).
    HiddenItemPtr Add(const QString &messageClass);
    int Count() const;

private:
    std::shared_ptr<SessionData> m_session;
    std::shared_ptr<FolderData> m_folder;
};

class HiddenItem
{
public:
    HiddenItem(std::shared_ptr<FolderData> folder, QString fileName,
               std::unique_ptr<IcalItem> content);

    QString Subject() const;
    void setSubject(const QString &subject);
    QString MessageClass() const;
    // The identifier of a named property, shifted into the upper 16 bits of a property tag;
    // callers OR it with the property type (3 = 32-bit integer, 30 = 8-bit text).
    qint32 GetIDsFromNames(const QString &propertySet, const QString &name);
    // A property by its tag written in decimal; raises QvError for a property the item lacks.
    QVariant Fields(const QString &tag) const;
    void setFields(const QString &tag, const QVariant &value);
    void Save();

private:
    std::pair<QString, QString> nameOf(const QString &tag, int *type) const;

    std::shared_ptr<FolderData> m_folder;
    QString m_fileName;
    std::unique_ptr<IcalItem> m_content;
    QList<std::pair<QString, QString>> m_names; // identifier - 0x8000 -> (set, name)
};

// The appointment an item stands for: an appointment itself, or a meeting request's appointment
// (never added to the calendar); null for any other kind of item.
AppointmentItemPtr AppointmentOf(const ItemPtr &item);

// The folder at path ("Store name\\Folder\\Subfolder"), walking the session's folders by name;
// with create, missing subfolders are made as calendars. Null when there is none.
FolderPtr FolderAtPath(NameSpace &session, const QString &path, bool create = false);

// Writes the events of a calendar file into folder, one item per UID. An item whose UID the
// folder holds already is written over (in its own file), so importing again updates.
struct ImportResult
{
    int added = 0;
    int updated = 0;
    QStringList problems;
};
ImportResult ImportCalendar(Folder &folder, const QByteArray &text);

} // namespace Store
