#include "storedata_p.h"

#include "icalitem_p.h"
#include "qverror.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include <dirent.h>

namespace Store {

const char *const kMessageClassProperty = "X-QUORVEL-MESSAGE-CLASS";

QDate HiddenItemsDay()
{
    return QDate(2011, 1, 1);
}

QString HashId(const char *prefix, const QString &text)
{
    const QByteArray digest =
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().toUpper();
    return QLatin1String(prefix) + QString::fromLatin1(digest.left(40));
}

void NotFound(const QString &what)
{
    throw QvError(
        kNotFound,
        QStringLiteral("The operation failed. An object could not be found (%1).").arg(what),
        QStringLiteral("Calendar store"));
}

bool IsFolderName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.'));
}

QStringList DirectoryNames(const QString &path, EntryKind kind,
                           bool (*accept)(const char *name, size_t length), NameOrder order)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return names;
    while (const dirent *d = ::readdir(dir)) {
        const char *name = d->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0 ||
            !accept(name, std::strlen(name)))
            continue;
        bool folder = d->d_type == DT_DIR;
        if (d->d_type == DT_UNKNOWN || d->d_type == DT_LNK)
            folder = QFileInfo(path + QLatin1Char('/') + QFile::decodeName(name)).isDir();
        if (folder == (kind == EntryKind::Folder))
            names.append(QFile::decodeName(name));
    }
    ::closedir(dir);
    if (order == NameOrder::Sorted)
        std::sort(names.begin(), names.end());
    return names;
}

QStringList SubfolderNames(const QString &path)
{
    return DirectoryNames(path, EntryKind::Folder, [](const char *name, size_t length) {
        return length > 0 && name[0] != '.';
    });
}

QStringList StoreData::subfolderNames(const QString &relPath) const
{
    if (desktop)
        return relPath.isEmpty() ? desktopFolders() : QStringList();
    if (relPath.isEmpty() && !topFolders.isEmpty()) {
        QStringList present;
        for (const QString &name : topFolders) {
            if (QFileInfo(root + QLatin1Char('/') + name).isDir())
                present.append(name);
        }
        present.sort();
        return present;
    }
    return SubfolderNames(relPath.isEmpty() ? root : root + QLatin1Char('/') + relPath);
}

QString ItemMessageClass(const IcalItem &item)
{
    const QString own = item.xText(kMessageClassProperty);
    if (!own.isEmpty())
        return own;
    return item.isMeeting() ? QStringLiteral("IPM.Schedule.Meeting.Request")
                            : QStringLiteral("IPM.Appointment");
}

} // namespace Store
