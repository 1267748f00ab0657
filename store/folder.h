#pragma once

#include "storetypes.h"

#include <QString>

namespace Store {

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

} // namespace Store
