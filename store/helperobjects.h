#pragma once

#include "storetypes.h"

#include <QString>

namespace Store {

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

} // namespace Store
