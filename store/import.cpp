#include "import.h"

#include "calendarstore.h"
#include "sessiondata_p.h"

namespace Store {

ImportResult ImportCalendar(Folder &folder, const QByteArray &text)
{
    ImportResult result;
    const auto items = IcalItem::split(text, &result.problems);
    FolderData &data = *folder.data();
    QStringList ignored;
    data.refresh(ignored);
    QHash<QString, QString> fileOfUid;
    for (auto it = data.entries().cbegin(); it != data.entries().cend(); ++it) {
        if (it->item)
            fileOfUid.insert(it->item->uid(), it.key());
    }
    for (const auto &item : items) {
        QString name = fileOfUid.value(item->uid());
        if (name.isEmpty()) {
            name = data.newFileName(*item);
            fileOfUid.insert(item->uid(), name);
            ++result.added;
        } else {
            ++result.updated;
        }
        data.writeItem(name, *item);
    }
    return result;
}

} // namespace Store
