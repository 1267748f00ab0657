#pragma once

#include "storetypes.h"

#include <QStringList>

namespace Store {

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

} // namespace Store
