#pragma once

#include "storetypes.h"

#include <QString>

namespace Store {

// The folder at path ("Store name\\Folder\\Subfolder"), walking the session's folders by name;
// with create, missing subfolders are made as calendars. Null when there is none.
FolderPtr FolderAtPath(NameSpace &session, const QString &path, bool create = false);

} // namespace Store
