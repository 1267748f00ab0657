#pragma once

#include "storetypes.h"

#include <QString>
#include <QStringList>

namespace Store {

// The folder at path ("Store name\\Folder\\Subfolder"), walking the session's folders by name;
// with create, missing subfolders are made as calendars. Null when there is none.
FolderPtr FolderAtPath(NameSpace &session, const QString &path, bool create = false);

// The path of every folder of the session's stores, store by store, in the form FolderAtPath
// takes; a store whose directory is missing has none.
QStringList FolderPaths(NameSpace &session);

// A calendar of the session as the user knows it: by the name its collection shows where it has
// one (a CalDAV calendar's directory is often a server's identifier), in the store it is in.
struct CalendarChoice
{
    QString path; // as FolderAtPath takes it
    QString displayName;
    QString storeName;
    QString directory;
    QString colour; // "#RRGGBB" the collection gives itself, or empty
};
// Every folder of the session's stores that holds appointments, in FolderPaths' order.
QList<CalendarChoice> CalendarsOf(NameSpace &session);

// Why there is no folder at path, naming the stores and folders there are, for messages.
QString NoFolderMessage(NameSpace &session, const QString &path);

} // namespace Store
