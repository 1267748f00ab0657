#pragma once

#include "storetypes.h"

#include <QList>
#include <QVariant>

class IcalItem;

namespace Store {

class HiddenItem
{
public:
    HiddenItem(std::shared_ptr<FolderData> folder, QString fileName,
               std::unique_ptr<IcalItem> content);
    ~HiddenItem();

    QString Subject() const;
    void setSubject(const QString &subject);
    QString MessageClass() const;
    // The identifier of a named property, shifted into the upper 16 bits of a property tag;
    // callers OR it with the property type (3 = 32-bit integer, 30 = 8-bit text).
    qint32 GetIDsFromNames(const QString &propertySet, const QString &name);
    // A property by its tag written in decimal; raises QvError for a property the item lacks.
    QVariant Fields(const QString &tag) const;
    void setFields(const QString &tag, const QVariant &value);
    void Save();

private:
    std::pair<QString, QString> nameOf(const QString &tag, int *type) const;

    std::shared_ptr<FolderData> m_folder;
    QString m_fileName;
    std::unique_ptr<IcalItem> m_content;
    QList<std::pair<QString, QString>> m_names; // identifier - 0x8000 -> (set, name)
};

} // namespace Store
