#pragma once

// The calendar store's shared names: the classes by their pointers, the kinds of folder and item,
// the error of a lookup that finds nothing, the options that choose a session's stores and the
// master categories.

#include "qverror.h"

#include <QList>
#include <QString>

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

// What tells one version of a file from another: a file replaced by rename has another inode
// even when its size and time are the same.
struct FileStamp
{
    qint64 size = -1;
    qint64 mtimeNs = -1;
    quint64 inode = 0;
    bool operator==(const FileStamp &) const = default;
};
// The stamp of what is at path (a link's target), or nullopt when nothing is.
std::optional<FileStamp> StampOf(const QString &path);

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
constexpr int kNotFound = int(ErrorCode::NotFound);

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

// The client's light colour numbers, most distinct first: black text reads on each.
constexpr int kLightColourNumbers[] = {8, 5, 2, 9, 3, 6, 1, 10, 4, 7, 12, 14, 19, 18};

} // namespace Store
