#include "sessiondata_p.h"

#include "calendarstore.h"
#include "dialogs.h"
#include "knowncalendars.h"
#include "regio.h"
#include "sessiondata_p.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <pwd.h>
#include <unistd.h>

namespace Store {
namespace {

QString systemUserName()
{
    if (const passwd *pw = getpwuid(getuid())) {
        const QString gecos = QString::fromLocal8Bit(pw->pw_gecos).section(',', 0, 0).trimmed();
        if (!gecos.isEmpty())
            return gecos;
        return QString::fromLocal8Bit(pw->pw_name);
    }
    return qEnvironmentVariable("USER", QStringLiteral("user"));
}

} // namespace

SessionData::SessionData(const ProfileOptions &o) : options(o)
{
    load();
}

void SessionData::warn(const QString &line)
{
    if (warnings.contains(line))
        return;
    warnings.append(line);
    qWarning("%s", qPrintable(line));
}

void SessionData::load()
{
    stores.clear();
    folders.clear();
    defaultStore.reset();
    userName.clear();

    auto addStore = [this](const QString &root, const QString &name, const QString &calendar) {
        auto s = std::make_shared<StoreData>();
        s->root = QDir(root).absolutePath();
        const QSettings meta(s->metaPath(), QSettings::IniFormat);
        s->id = meta.value(QStringLiteral("Store/ID")).toString();
        if (s->id.isEmpty())
            s->id = HashId("0000QS", s->root);
        s->name =
            name.isEmpty()
                ? meta.value(QStringLiteral("Store/Name"), QFileInfo(s->root).fileName()).toString()
                : name;
        s->defaultCalendar = calendar.isEmpty()
                                 ? meta.value(QStringLiteral("Store/DefaultCalendar")).toString()
                                 : calendar;
        s->calendarNamed = !s->defaultCalendar.isEmpty();
        if (!s->calendarNamed)
            s->defaultCalendar = QStringLiteral("Calendar");
        if (userName.isEmpty())
            userName = meta.value(QStringLiteral("Store/UserName")).toString();
        stores.append(s);
        return s;
    };

    // The desktop's calendars are one more store wherever its calendar service runs.
    const auto addDesktopStore = [this]() -> std::shared_ptr<StoreData> {
        std::shared_ptr<DesktopCalendars> desktop = ConnectDesktopCalendars();
        if (!desktop)
            return nullptr;
        stores.append(DesktopStore(std::move(desktop)));
        return stores.constLast();
    };

    const QString file = options.profilePath();
    if (options.storeDir == QLatin1String(kDesktopStoreOption)) {
        defaultStore = addDesktopStore();
    } else if (!options.storeDir.isEmpty()) {
        defaultStore = addStore(options.storeDir, QString(), QString());
    } else if (!QFileInfo::exists(file)) {
        // No profile of the user's own: the calendars khal and vdirsyncer keep, else the
        // desktop's default calendar.
        for (const KnownStore &known : KnownStores(KnownCalendars())) {
            auto s = addStore(known.root, known.name, known.defaultCalendar);
            s->topFolders = known.folders;
            if (!defaultStore)
                defaultStore = s;
        }
        const auto desktop = addDesktopStore();
        if (!defaultStore && desktop && desktop->calendarNamed)
            defaultStore = desktop;
    } else {
        QSettings profile(file, QSettings::IniFormat);
        const QString base = QFileInfo(file).absolutePath();
        const QString user = profile.value(QStringLiteral("User/Name")).toString();
        const QString preferred = profile.value(QStringLiteral("General/DefaultStore")).toString();
        const int n = profile.beginReadArray(QStringLiteral("Stores"));
        for (int i = 0; i < n; ++i) {
            profile.setArrayIndex(i);
            QString root = profile.value(QStringLiteral("Root")).toString();
            if (root.isEmpty())
                continue;
            if (QDir::isRelativePath(root))
                root = base + QLatin1Char('/') + root;
            auto s = addStore(root, profile.value(QStringLiteral("Name")).toString(),
                              profile.value(QStringLiteral("DefaultCalendar")).toString());
            if (!defaultStore || s->name == preferred)
                defaultStore = s;
        }
        profile.endArray();
        addDesktopStore();
        if (!user.isEmpty())
            userName = user;
    }
    if (userName.isEmpty())
        userName = systemUserName();

    static StreamDialogs quiet;
    listSeparator = RegIO(quiet).ListSeparator();
}

std::shared_ptr<FolderData> SessionData::folder(const std::shared_ptr<StoreData> &store,
                                                const QString &relPath)
{
    const QString path = relPath.isEmpty() ? store->root : store->root + QLatin1Char('/') + relPath;
    auto &slot = folders[path];
    if (!slot)
        slot = std::make_shared<FolderData>(store, relPath);
    return slot;
}

std::shared_ptr<StoreData> SessionData::storeWithId(const QString &id) const
{
    for (const auto &s : stores) {
        if (s->id == id)
            return s;
    }
    return nullptr;
}

QList<std::shared_ptr<FolderData>> SessionData::allFolders(const QString &storeId)
{
    QList<std::shared_ptr<FolderData>> out;
    for (const auto &s : stores) {
        if (!storeId.isEmpty() && s->id != storeId)
            continue;
        QStringList pending{QString()};
        while (!pending.isEmpty()) {
            const QString rel = pending.takeFirst();
            out.append(folder(s, rel));
            for (const QString &sub : s->subfolderNames(rel))
                pending.append(rel.isEmpty() ? sub : rel + '/' + sub);
        }
    }
    return out;
}

ItemPtr SessionData::makeItem(const std::shared_ptr<FolderData> &folder, const QString &fileName,
                              std::shared_ptr<const IcalItem> content,
                              const IcalItem::Occurrence *occurrence)
{
    if (content && content->isMeeting())
        return std::make_shared<MeetingItem>(shared_from_this(), folder, fileName,
                                             std::move(content), occurrence);
    return std::make_shared<AppointmentItem>(shared_from_this(), folder, fileName,
                                             std::move(content), occurrence);
}

} // namespace Store
