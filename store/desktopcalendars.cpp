#include "desktopcalendars.h"

#include "filereplacement.h"
#include "storedata_p.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstring>

namespace Store {

const char *const kDesktopStoreName = "Desktop Calendars";
const char *const kDesktopStoreOption = "desktop:";

QString ObjectKey(const QString &uid)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".ics");
}

FileStamp TextStamp(const QByteArray &text)
{
    const QByteArray digest = QCryptographicHash::hash(text, QCryptographicHash::Sha1);
    FileStamp s;
    s.size = text.size();
    std::memcpy(&s.mtimeNs, digest.constData(), sizeof s.mtimeNs);
    std::memcpy(&s.inode, digest.constData() + sizeof s.mtimeNs, sizeof s.inode);
    return s;
}

namespace {

DesktopCalendarsConnector &Connector()
{
    static DesktopCalendarsConnector connect;
    return connect;
}

// A calendar's folder name: its uid where that is a plain name (the service makes such uids),
// else a digest of it.
QString FolderNameOf(const QString &uid)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@+-][A-Za-z0-9_.@+-]*$"));
    return plain.match(uid).hasMatch() && uid.size() <= 200 ? uid : HashId("0000QD", uid);
}

// Keeps a file of the folder's directory saying text, for the programs that read a calendar's
// name and colour from there.
void KeepFile(const QString &path, const QString &text)
{
    QFile file(path);
    const QByteArray wanted = text.toUtf8();
    if (file.open(QIODevice::ReadOnly) && file.read(4096) == wanted)
        return;
    file.close();
    if (wanted.isEmpty())
        QFile::remove(path);
    else
        ReplaceFile(path, wanted, FileDurability::Quick);
}

} // namespace

void SetDesktopCalendarsConnector(DesktopCalendarsConnector connect)
{
    Connector() = std::move(connect);
}

std::shared_ptr<DesktopCalendars> ConnectDesktopCalendars()
{
    return Connector() ? Connector()() : nullptr;
}

std::shared_ptr<StoreData> DesktopStore(std::shared_ptr<DesktopCalendars> desktop)
{
    auto s = std::make_shared<StoreData>();
    s->desktop = std::move(desktop);
    s->root = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
              QStringLiteral("/quorvel/desktop");
    QDir().mkpath(s->root);
    s->id = HashId("0000QS", QString::fromLatin1(kDesktopStoreOption));
    s->name = QString::fromLatin1(kDesktopStoreName);
    const QString uid = s->desktop->defaultCalendar();
    s->calendarNamed = !uid.isEmpty();
    s->defaultCalendar = uid.isEmpty() ? QString() : FolderNameOf(uid);
    if (s->calendarNamed)
        s->desktopFolders(); // their directories, for the default folder's lookup
    return s;
}

QStringList StoreData::desktopFolders() const
{
    QStringList names;
    calendarsByFolder.clear();
    for (const DesktopCalendar &c : desktop->calendars()) {
        const QString folder = FolderNameOf(c.uid);
        calendarsByFolder.insert(folder, c);
        const QString dir = root + QLatin1Char('/') + folder;
        QDir().mkpath(dir);
        KeepFile(dir + QStringLiteral("/displayname"), c.name);
        KeepFile(dir + QStringLiteral("/color"), c.colour);
        names.append(folder);
    }
    return names;
}

DesktopCalendar StoreData::desktopCalendar(const QString &folder) const
{
    if (!calendarsByFolder.contains(folder))
        desktopFolders();
    DesktopCalendar c = calendarsByFolder.value(folder);
    if (c.uid.isEmpty())
        c.uid = c.name = folder; // gone: its reads say so
    return c;
}

} // namespace Store
