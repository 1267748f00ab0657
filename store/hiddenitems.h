#pragma once

#include "storetypes.h"

#include <QString>

namespace Store {

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

} // namespace Store
