#pragma once

#include "folderdata_p.h"
#include "icalitem_p.h"
#include "storedata_p.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QStringList>

#include <memory>

namespace Store {

class SessionData : public std::enable_shared_from_this<SessionData>
{
public:
    explicit SessionData(const ProfileOptions &options);

    void load();
    std::shared_ptr<FolderData> folder(const std::shared_ptr<StoreData> &store,
                                       const QString &relPath);
    std::shared_ptr<StoreData> storeWithId(const QString &id) const;
    // Every folder of the stores (or of one store), walking the directories.
    QList<std::shared_ptr<FolderData>> allFolders(const QString &storeId = QString());
    ItemPtr makeItem(const std::shared_ptr<FolderData> &folder, const QString &fileName,
                     std::shared_ptr<const IcalItem> content,
                     const IcalItem::Occurrence *occurrence = nullptr);

    // Notes a file that was read only in part or not at all, once, and says so on standard error.
    void warn(const QString &line);

    ProfileOptions options;
    QList<std::shared_ptr<StoreData>> stores;
    std::shared_ptr<StoreData> defaultStore;
    QString userName;
    QString listSeparator = QStringLiteral(",");
    QStringList warnings;
    QLocale locale;
    QHash<QString, std::shared_ptr<FolderData>> folders; // by directory path
};

} // namespace Store
