#pragma once

#include "storetypes.h"

class IcalItem;

namespace Store {

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
    Item(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder, QString fileName,
         std::shared_ptr<const IcalItem> content);

    std::shared_ptr<SessionData> m_session;
    std::shared_ptr<FolderData> m_folder;
    QString m_fileName;
    std::shared_ptr<const IcalItem> m_content; // as read; null for a new item
};

} // namespace Store
