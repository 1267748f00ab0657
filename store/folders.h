#pragma once

#include "storetypes.h"

namespace Store {

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

} // namespace Store
