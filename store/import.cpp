#include "import.h"

#include "calendarstore.h"
#include "fileio.h"
#include "icaltext_p.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QDir>
#include <QFile>

namespace Store {

namespace {

// The item file of each UID the folder holds, from the files' text: no item is parsed and kept.
QHash<QString, QString> filesByUid(const FolderData &data)
{
    QHash<QString, QString> files;
    for (const QString &name : data.listItemFiles()) {
        QFile f(data.path + QLatin1Char('/') + name);
        if (f.size() > IcalText::kMaxItemBytes || !f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray uid = IcalText::FirstUid(f.readAll());
        if (!uid.isEmpty())
            files.insert(QString::fromUtf8(uid), name);
    }
    return files;
}

} // namespace

ImportResult ImportCalendar(Folder &folder, const QByteArray &text)
{
    ImportResult result;
    FolderData &data = *folder.data();
    QHash<QString, QString> fileOfUid = filesByUid(data);
    IcalItem::splitEach(
        text,
        [&](std::unique_ptr<IcalItem> item) {
            QString name = fileOfUid.value(item->uid());
            if (name.isEmpty()) {
                name = data.newFileName(*item);
                fileOfUid.insert(item->uid(), name);
                ++result.added;
            } else {
                ++result.updated;
            }
            data.writeItem(name, *item, FolderData::Write::Batch);
        },
        &result.problems);
    if (result.added + result.updated > 0 && !data.syncFiles())
        throw QvError(FileError::DeviceUnavailable, QStringLiteral("The imported items could not be stored on the disk"),
                      QStringLiteral("Calendar store"));
    return result;
}

} // namespace Store
