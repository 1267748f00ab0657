#include "import.h"

#include "calendarstore.h"
#include "fileio.h"
#include "icaltext_p.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace Store {

namespace {

// The item file of each UID the folder holds, from the files' text: no item is parsed and kept.
// The files that hold several go to shared.
QHash<QString, QString> filesByUid(const FolderData &data, QSet<QString> &shared)
{
    QHash<QString, QString> files;
    for (const QString &name : data.listItemFiles()) {
        QFile f(data.path + QLatin1Char('/') + name);
        if (f.size() > IcalText::kMaxItemBytes || !f.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> uids = IcalText::Uids(f.readAll());
        for (const QByteArray &uid : uids)
            files.insert(QString::fromUtf8(uid), name);
        if (uids.size() > 1)
            shared.insert(name);
    }
    return files;
}

} // namespace

ImportResult ImportCalendar(Folder &folder, const QByteArray &text)
{
    ImportResult result;
    FolderData &data = *folder.data();
    QSet<QString> shared;
    QHash<QString, QString> fileOfUid = filesByUid(data, shared);
    IcalItem::splitEach(
        text,
        [&](std::unique_ptr<IcalItem> item) {
            if (QString zone; !item->anchorFloatingTimes(&zone))
                result.problems.append(
                    QStringLiteral(
                        "%1: the calendar's zone \"%2\" is not known here, its times are local")
                        .arg(item->uid(), zone));
            QString name = fileOfUid.value(item->uid());
            if (name.isEmpty()) {
                name = data.newFileName(*item);
                fileOfUid.insert(item->uid(), name);
                ++result.added;
            } else {
                ++result.updated;
            }
            // An event of a file of several moves out of it; the rest of the file stays.
            if (shared.contains(name))
                fileOfUid.insert(item->uid(), data.writeItem(name, *item, FolderData::Write::One));
            else
                data.writeItem(name, *item, FolderData::Write::Batch);
        },
        &result.problems);
    if (result.added + result.updated > 0 && !data.syncFiles())
        throw QvError(FileError::DeviceUnavailable,
                      QStringLiteral("The imported items could not be stored on the disk"),
                      QStringLiteral("Calendar store"));
    return result;
}

} // namespace Store
