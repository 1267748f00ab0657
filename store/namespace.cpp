#include "namespace.h"

#include "calendarstore.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace Store {

NameSpace::NameSpace(const ProfileOptions &options) : m_data(std::make_shared<SessionData>(options))
{
}

NameSpace::~NameSpace() = default;

FoldersPtr NameSpace::Folders()
{
    QList<FolderPtr> tops;
    for (const auto &s : m_data->stores)
        tops.append(std::make_shared<Folder>(m_data, m_data->folder(s, QString())));
    return std::make_shared<Store::Folders>(m_data, tops, nullptr);
}

FolderPtr NameSpace::GetDefaultFolder(int kind)
{
    if (kind != olFolderCalendar)
        throw QvError(ErrorCode::InvalidCall,
                      QStringLiteral("Only the calendar (9) is a default folder here"),
                      QStringLiteral("NameSpace"));
    if (!m_data->defaultStore)
        NotFound(QStringLiteral("no calendar store is set up"));
    // A store is never made here: a mistyped store must not look like an empty calendar.
    const auto &s = m_data->defaultStore;
    const QFileInfo root(s->root);
    if (!root.isDir())
        NotFound(QStringLiteral("the store \"%1\": %2 %3")
                     .arg(s->name, s->root,
                          root.exists() ? QStringLiteral("is not a directory")
                                        : QStringLiteral("does not exist")));
    if (!QFileInfo(s->root + QLatin1Char('/') + s->defaultCalendar).isDir() && !s->calendarNamed) {
        // A store of someone else's making: its one calendar folder, whatever its name.
        std::shared_ptr<FolderData> only;
        int calendars = 0;
        for (const auto &f : m_data->allFolders(s->id)) {
            if (Folder(m_data, f).DefaultItemType() == olAppointmentItem) {
                only = f;
                ++calendars;
            }
        }
        if (calendars == 1)
            return std::make_shared<Folder>(m_data, only);
    }
    if (!QFileInfo(s->root + QLatin1Char('/') + s->defaultCalendar).isDir())
        NotFound(
            QStringLiteral("the calendar \"%1\" of the store \"%2\"; its folders are: %3")
                .arg(s->defaultCalendar, s->name, FolderPaths(*this).join(QStringLiteral(", "))));
    return std::make_shared<Folder>(m_data, m_data->folder(s, s->defaultCalendar));
}

FolderPtr NameSpace::GetFolderFromID(const QString &entryId, const QString &storeId)
{
    // A folder met before is found without walking the store's tree again (a calendar folder
    // of many files costs a full listing to find it has no subfolders).
    for (const auto &f : std::as_const(m_data->folders)) {
        if (f->id == entryId && (storeId.isEmpty() || f->store->id == storeId) &&
            QFileInfo(f->path).isDir())
            return std::make_shared<Folder>(m_data, f);
    }
    for (const auto &f : m_data->allFolders(storeId)) {
        if (f->id == entryId)
            return std::make_shared<Folder>(m_data, f);
    }
    NotFound(QStringLiteral("folder ") + entryId);
}

ItemPtr NameSpace::GetItemFromID(const QString &entryId, const QString &storeId)
{
    if (!entryId.isEmpty()) {
        auto itemIn = [&](const auto &f) -> ItemPtr {
            const QString file = f->fileWithId(entryId);
            if (file.isEmpty())
                return {};
            const auto content = f->itemWithId(file, entryId, m_data->warnings);
            return content ? m_data->makeItem(f, file, content) : ItemPtr();
        };
        // The folders being watched know their items by identifier without reading the disk.
        for (const auto &f : std::as_const(m_data->folders)) {
            if (!f->isWatched() || (!storeId.isEmpty() && f->store->id != storeId))
                continue;
            if (ItemPtr item = itemIn(f))
                return item;
        }
        for (const auto &f : m_data->allFolders(storeId)) {
            if (ItemPtr item = itemIn(f))
                return item;
        }
    }
    NotFound(QStringLiteral("item ") + entryId);
}

FolderPtr NameSpace::PickFolder()
{
    StoreUi *ui = CurrentStoreUi();
    if (!ui)
        throw QvError(kNoWindow, QStringLiteral("No window can be shown to pick a folder"),
                      QStringLiteral("NameSpace"));
    return ui->pickFolder(*this);
}

void NameSpace::Logon(const QString &profile, const QString &, bool, bool)
{
    if (!profile.isEmpty())
        m_data->options.profile = profile;
    m_data->load();
}

QList<MasterCategory> NameSpace::Categories() const
{
    QList<MasterCategory> out;
    if (!m_data->defaultStore)
        return out;
    QSettings meta(m_data->defaultStore->metaPath(), QSettings::IniFormat);
    const int n = meta.beginReadArray(QStringLiteral("Categories"));
    for (int i = 0; i < n; ++i) {
        meta.setArrayIndex(i);
        out.append({meta.value(QStringLiteral("Name")).toString(),
                    meta.value(QStringLiteral("Color")).toInt()});
    }
    meta.endArray();
    return out;
}

void NameSpace::setCategories(const QList<MasterCategory> &categories)
{
    if (!m_data->defaultStore)
        NotFound(QStringLiteral("no calendar store is set up"));
    QSettings meta(m_data->defaultStore->metaPath(), QSettings::IniFormat);
    meta.beginWriteArray(QStringLiteral("Categories"), int(categories.size()));
    for (int i = 0; i < categories.size(); ++i) {
        meta.setArrayIndex(i);
        meta.setValue(QStringLiteral("Name"), categories[i].Name);
        meta.setValue(QStringLiteral("Color"), categories[i].Color);
    }
    meta.endArray();
}

ProfileOptions NameSpace::options() const
{
    return m_data->options;
}

QString NameSpace::CurrentUserName() const
{
    return m_data->userName;
}

QString NameSpace::categorySeparator() const
{
    return m_data->listSeparator + QLatin1Char(' ');
}

QStringList NameSpace::warnings() const
{
    return m_data->warnings;
}

} // namespace Store
