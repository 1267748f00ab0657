#include "calendarstore_p.h"

#include "dialogs.h"
#include "fileio.h"
#include "oadate.h"
#include "qverror.h"
#include "regio.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QUuid>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace Store {
namespace {


StoreUi *&storeUi()
{
    static StoreUi *ui = nullptr;
    return ui;
}

QString hashId(const char *prefix, const QString &text)
{
    const QByteArray digest =
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().toUpper();
    return QLatin1String(prefix) + QString::fromLatin1(digest.left(40));
}

[[noreturn]] void notFound(const QString &what)
{
    throw QvError(kNotFound, QStringLiteral("The operation failed. An object could not be found (%1).")
                                 .arg(what),
                  QStringLiteral("Calendar store"));
}

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

bool isFolderName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.'));
}

} // namespace

void SetStoreUi(StoreUi *ui)
{
    storeUi() = ui;
}

StoreUi *CurrentStoreUi()
{
    return storeUi();
}

QString ProfileOptions::profilePath() const
{
    if (!profile.isEmpty())
        return profile;
    const QString env = qEnvironmentVariable("QUORVEL_PROFILE");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quorvel/profile.ini");
}

// ---------------------------------------------------------------------------------------------
// FolderData

FolderData::FolderData(std::shared_ptr<StoreData> s, QString rel)
    : store(std::move(s)), relPath(std::move(rel))
{
    path = relPath.isEmpty() ? store->root : store->root + QLatin1Char('/') + relPath;
    id = hashId("0000QF", store->id + QLatin1Char('\0') + relPath);
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(150);
    connect(&m_debounce, &QTimer::timeout, this, &FolderData::scanForChanges);
}

QString FolderData::name() const
{
    return relPath.isEmpty() ? store->name : relPath.section(QLatin1Char('/'), -1);
}

QString FolderData::entryIdOf(const QString &fileName) const
{
    auto it = m_ids.constFind(fileName);
    if (it == m_ids.constEnd())
        it = m_ids.insert(fileName, hashId("0000QI", store->id + QLatin1Char('\0') + relPath +
                                                         QLatin1Char('/') + fileName));
    return *it;
}

QStringList FolderData::listItemFiles() const
{
    QStringList files;
    const QDir dir(path);
    for (const QString &name : dir.entryList({QStringLiteral("*.ics")}, QDir::Files)) {
        if (!name.startsWith(QLatin1Char('.')))
            files.append(name);
    }
    return files;
}

QString FolderData::fileWithId(const QString &entryId) const
{
    for (const QString &name : listItemFiles()) {
        if (entryIdOf(name) == entryId)
            return name;
    }
    return QString();
}

void FolderData::readEntry(const QString &fileName, Entry &e, QStringList &warnings)
{
    const QFileInfo info(path + QLatin1Char('/') + fileName);
    const qint64 mtime = info.lastModified().toMSecsSinceEpoch();
    const qint64 size = info.size();
    if (e.mtime == mtime && e.size == size)
        return;
    e.mtime = mtime;
    e.size = size;
    QFile file(info.filePath());
    QString problem;
    std::unique_ptr<IcalItem> item;
    if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else
        item = IcalItem::parse(file.readAll(), &problem);
    e.item = std::move(item);
    e.problem = problem;
    if (!problem.isEmpty()) {
        const QString line = info.filePath() + QStringLiteral(": ") +
                             (e.item ? problem : QStringLiteral("skipped, ") + problem);
        warnings.append(line);
        qWarning("%s", qPrintable(line));
    }
}

bool FolderData::refresh(QStringList &warnings, const std::function<bool()> &progress)
{
    const QStringList files = listItemFiles();
    QHash<QString, Entry> fresh;
    fresh.reserve(files.size());
    for (const QString &name : files) {
        if (progress && !progress())
            return false;
        Entry e = m_entries.value(name);
        readEntry(name, e, warnings);
        fresh.insert(name, std::move(e));
    }
    m_entries = std::move(fresh);
    return true;
}

const FolderData::Entry *FolderData::entry(const QString &fileName, QStringList &warnings)
{
    if (!QFileInfo::exists(path + QLatin1Char('/') + fileName)) {
        m_entries.remove(fileName);
        return nullptr;
    }
    Entry &e = m_entries[fileName];
    readEntry(fileName, e, warnings);
    return &e;
}

QString FolderData::newFileName(const IcalItem &item) const
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_.+-]{1,200}$"));
    QString base = item.uid();
    if (!safe.match(base).hasMatch())
        base = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString name = base + QStringLiteral(".ics");
    while (QFileInfo::exists(path + QLatin1Char('/') + name))
        name = QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".ics");
    return name;
}

void FolderData::writeItem(const QString &fileName, const IcalItem &item)
{
    const QString target = path + QLatin1Char('/') + fileName;
    const QString temp = path + QStringLiteral("/.~") + fileName + QStringLiteral(".tmp");
    const QByteArray text = item.serialize();
    int error = 0;
    BinaryFile f = BinaryFile::create(temp, &error);
    bool ok = f.isOpen() && f.write(text.constData(), text.size()) && f.sync() && f.close();
    if (ok && std::rename(QFile::encodeName(temp).constData(),
                          QFile::encodeName(target).constData()) != 0) {
        ok = false;
        error = FileErrorNumber(errno, target);
    }
    if (!ok) {
        if (!error)
            error = f.lastError();
        QFile::remove(temp);
        throw QvError(error, FileErrorDescription(error) + QStringLiteral(" (") + target + ')',
                      QStringLiteral("Calendar store"));
    }
    // The file and its directory entry are stored; remember what we wrote.
    QStringList ignored;
    Entry &e = m_entries[fileName];
    e.mtime = -1;
    readEntry(fileName, e, ignored);
}

void FolderData::removeItem(const QString &fileName)
{
    if (const int error = DeleteFile(path + QLatin1Char('/') + fileName))
        throw QvError(error, FileErrorDescription(error), QStringLiteral("Calendar store"));
    m_entries.remove(fileName);
}

QVariant FolderData::meta(const QString &key, const QVariant &fallback) const
{
    const QString file = path + QStringLiteral("/.quorvel-folder");
    if (!QFileInfo::exists(file))
        return fallback;
    return QSettings(file, QSettings::IniFormat).value(key, fallback);
}

void FolderData::setMeta(const QString &key, const QVariant &value)
{
    QSettings settings(path + QStringLiteral("/.quorvel-folder"), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw QvError(75, QStringLiteral("Cannot write the folder settings of ") + path,
                      QStringLiteral("Calendar store"));
}

void FolderData::watch()
{
    if (m_watcher)
        return;
    m_watcher = new QFileSystemWatcher(this);
    m_watcher->addPath(path);
    for (const QString &name : listItemFiles()) {
        const QFileInfo info(path + QLatin1Char('/') + name);
        m_notified.insert(name, {info.lastModified().toMSecsSinceEpoch(), info.size()});
        // Files too, so that a file rewritten in place is noticed.
        m_watcher->addPath(info.filePath());
    }
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_debounce.start(); });
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_debounce.start(); });
}

void FolderData::scanForChanges()
{
    QStringList added, changedFiles;
    QHash<QString, std::pair<qint64, qint64>> now;
    for (const QString &name : listItemFiles()) {
        const QFileInfo info(path + QLatin1Char('/') + name);
        const std::pair<qint64, qint64> stamp{info.lastModified().toMSecsSinceEpoch(), info.size()};
        now.insert(name, stamp);
        const auto old = m_notified.constFind(name);
        if (old == m_notified.constEnd()) {
            added.append(name);
            m_watcher->addPath(info.filePath());
        } else if (*old != stamp) {
            changedFiles.append(name);
            m_watcher->addPath(info.filePath()); // a rename put a new file in its place
        }
    }
    int removed = 0;
    for (auto it = m_notified.constBegin(); it != m_notified.constEnd(); ++it) {
        if (!now.contains(it.key()))
            ++removed;
    }
    m_notified = std::move(now);
    if (!added.isEmpty() || !changedFiles.isEmpty() || removed)
        emit changed(added, changedFiles, removed);
}

// ---------------------------------------------------------------------------------------------
// SessionData

SessionData::SessionData(const ProfileOptions &o) : options(o)
{
    load();
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
            s->id = hashId("0000QS", s->root);
        s->name = name.isEmpty() ? meta.value(QStringLiteral("Store/Name"),
                                              QFileInfo(s->root).fileName()).toString()
                                 : name;
        s->defaultCalendar = calendar.isEmpty()
                                 ? meta.value(QStringLiteral("Store/DefaultCalendar"),
                                              QStringLiteral("Calendar")).toString()
                                 : calendar;
        if (userName.isEmpty())
            userName = meta.value(QStringLiteral("Store/UserName")).toString();
        stores.append(s);
        return s;
    };

    if (!options.storeDir.isEmpty()) {
        defaultStore = addStore(options.storeDir, QString(), QString());
    } else {
        const QString file = options.profilePath();
        if (QFileInfo::exists(file)) {
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
            if (!user.isEmpty())
                userName = user;
        }
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
            const QDir dir(rel.isEmpty() ? s->root : s->root + '/' + rel);
            for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
                if (isFolderName(sub))
                    pending.append(rel.isEmpty() ? sub : rel + '/' + sub);
            }
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

// ---------------------------------------------------------------------------------------------
// Application and NameSpace

namespace {

ProfileOptions &sharedOptions()
{
    static ProfileOptions options;
    return options;
}

std::atomic<int> &optionsGeneration()
{
    static std::atomic<int> generation{0};
    return generation;
}

} // namespace

Application::Application(const ProfileOptions &options) : m_options(options) {}

ApplicationPtr Application::shared()
{
    thread_local ApplicationPtr app;
    thread_local int generation = -1;
    if (!app || generation != optionsGeneration()) {
        app = std::make_shared<Application>(sharedOptions());
        generation = optionsGeneration();
    }
    return app;
}

void Application::setSharedOptions(const ProfileOptions &options)
{
    sharedOptions() = options;
    ++optionsGeneration(); // the next shared() opens a session with them
}

QString Application::Version() const
{
    // The object model of the 16th major version of the client is what the store offers.
    return QStringLiteral("16.0.0.0");
}

NameSpacePtr Application::GetNamespace(const QString &type)
{
    if (type.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0)
        throw QvError(5, QStringLiteral("Invalid procedure call or argument"),
                      QStringLiteral("Application"));
    if (!m_session)
        m_session = std::make_shared<NameSpace>(m_options);
    return m_session;
}

std::shared_ptr<HelperObject> Application::CreateObject(const QString &progId)
{
    if (progId == QLatin1String("TKCDO.tkCurrentUser"))
        return std::make_shared<CurrentUser>(GetNamespace(QStringLiteral("MAPI")));
    if (progId == QLatin1String("TKCDO.tkAppointmentItem"))
        return std::make_shared<AppointmentBody>();
    if (progId == QLatin1String("TKCDO.tkMAPIFolder"))
        return std::make_shared<MapiFolder>(GetNamespace(QStringLiteral("MAPI"))->data());
    throw QvError(429, QStringLiteral("ActiveX component can't create object"),
                  QStringLiteral("Application"));
}

NameSpace::NameSpace(const ProfileOptions &options)
    : m_data(std::make_shared<SessionData>(options))
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
        throw QvError(5, QStringLiteral("Only the calendar (9) is a default folder here"),
                      QStringLiteral("NameSpace"));
    if (!m_data->defaultStore)
        notFound(QStringLiteral("no calendar store is set up"));
    const auto &s = m_data->defaultStore;
    QDir().mkpath(s->root + QLatin1Char('/') + s->defaultCalendar);
    return std::make_shared<Folder>(m_data, m_data->folder(s, s->defaultCalendar));
}

FolderPtr NameSpace::GetFolderFromID(const QString &entryId, const QString &storeId)
{
    for (const auto &f : m_data->allFolders(storeId)) {
        if (f->id == entryId)
            return std::make_shared<Folder>(m_data, f);
    }
    notFound(QStringLiteral("folder ") + entryId);
}

ItemPtr NameSpace::GetItemFromID(const QString &entryId, const QString &storeId)
{
    if (!entryId.isEmpty()) {
        for (const auto &f : m_data->allFolders(storeId)) {
            const QString file = f->fileWithId(entryId);
            if (file.isEmpty())
                continue;
            const FolderData::Entry *e = f->entry(file, m_data->warnings);
            if (e && e->item)
                return m_data->makeItem(f, file, e->item);
        }
    }
    notFound(QStringLiteral("item ") + entryId);
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
        notFound(QStringLiteral("no calendar store is set up"));
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

// ---------------------------------------------------------------------------------------------
// Folder and Folders

Folder::Folder(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> data)
    : m_session(std::move(session)), m_data(std::move(data))
{
}

QString Folder::Name() const
{
    return m_data->name();
}

QString Folder::EntryID() const
{
    return m_data->id;
}

QString Folder::StoreID() const
{
    return m_data->store->id;
}

FolderPtr Folder::Parent() const
{
    if (m_data->relPath.isEmpty())
        return nullptr;
    const QString up = m_data->relPath.contains(QLatin1Char('/'))
                           ? m_data->relPath.section(QLatin1Char('/'), 0, -2)
                           : QString();
    return std::make_shared<Folder>(m_session, m_session->folder(m_data->store, up));
}

FoldersPtr Folder::Folders()
{
    QList<FolderPtr> subs;
    const QDir dir(m_data->path);
    for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!isFolderName(sub))
            continue;
        const QString rel = m_data->relPath.isEmpty() ? sub : m_data->relPath + '/' + sub;
        subs.append(std::make_shared<Folder>(m_session, m_session->folder(m_data->store, rel)));
    }
    return std::make_shared<Store::Folders>(m_session, subs, m_data);
}

int Folder::DefaultItemType() const
{
    if (m_data->relPath.isEmpty())
        return olMailItem; // a store's top folder holds folders, not appointments
    return m_data->meta(QStringLiteral("Folder/ItemType"), olAppointmentItem).toInt();
}

ItemsPtr Folder::Items()
{
    return std::make_shared<Store::Items>(m_session, m_data);
}

QString Folder::WebViewURL() const
{
    return m_data->meta(QStringLiteral("WebView/URL")).toString();
}

void Folder::setWebViewURL(const QString &url)
{
    m_data->setMeta(QStringLiteral("WebView/URL"), url);
}

bool Folder::WebViewOn() const
{
    return m_data->meta(QStringLiteral("WebView/On"), false).toBool();
}

void Folder::setWebViewOn(bool on)
{
    m_data->setMeta(QStringLiteral("WebView/On"), on);
}

bool Folder::WebViewAllowNavigation() const
{
    return m_data->meta(QStringLiteral("WebView/AllowNavigation"), true).toBool();
}

void Folder::setWebViewAllowNavigation(bool allow)
{
    m_data->setMeta(QStringLiteral("WebView/AllowNavigation"), allow);
}

void Folder::Display()
{
    StoreUi *ui = CurrentStoreUi();
    if (!ui)
        throw QvError(kNoWindow, QStringLiteral("No window can be shown for the folder"),
                      QStringLiteral("Folder"));
    ui->displayFolder(*this);
}

QString Folder::FolderPath() const
{
    QString path = m_data->store->name;
    if (!m_data->relPath.isEmpty())
        path += QLatin1Char('\\') + QString(m_data->relPath).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return path;
}

QString Folder::directory() const
{
    return m_data->path;
}

Folders::Folders(std::shared_ptr<SessionData> session, QList<FolderPtr> folders,
                 std::shared_ptr<FolderData> parent)
    : m_session(std::move(session)), m_folders(std::move(folders)), m_parent(std::move(parent))
{
}

FolderPtr Folders::GetFirst()
{
    m_next = 1;
    return m_folders.value(0);
}

FolderPtr Folders::GetNext()
{
    return m_folders.value(m_next++);
}

FolderPtr Folders::Item(int index) const
{
    if (index < 1 || index > m_folders.size())
        throw QvError(-2147352567, QStringLiteral("Array index out of bounds."),
                      QStringLiteral("Folders"));
    return m_folders[index - 1];
}

FolderPtr Folders::Item(const QString &name) const
{
    for (const FolderPtr &f : m_folders) {
        if (f->Name().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    }
    notFound(QStringLiteral("folder ") + name);
}

FolderPtr Folders::Add(const QString &name, int type)
{
    if (!m_parent)
        throw QvError(5, QStringLiteral("Stores are added in the profile, not as folders"),
                      QStringLiteral("Folders"));
    if (!isFolderName(name) || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        throw QvError(5, QStringLiteral("\"%1\" is not a valid folder name").arg(name),
                      QStringLiteral("Folders"));
    for (const FolderPtr &f : std::as_const(m_folders)) {
        if (f->Name() == name)
            throw QvError(-2147352567, QStringLiteral("Cannot create the folder."),
                          QStringLiteral("Folders"));
    }
    const QString rel = m_parent->relPath.isEmpty() ? name : m_parent->relPath + '/' + name;
    auto data = m_session->folder(m_parent->store, rel);
    if (!QDir().mkpath(data->path))
        throw QvError(75, QStringLiteral("Cannot create the folder ") + data->path,
                      QStringLiteral("Folders"));
    const int itemType = type == olFolderCalendar ? olAppointmentItem : type == 10 ? olContactItem
                                                                                    : olMailItem;
    if (itemType != olAppointmentItem)
        data->setMeta(QStringLiteral("Folder/ItemType"), itemType);
    auto folder = std::make_shared<Folder>(m_session, data);
    m_folders.append(folder);
    return folder;
}

FolderPtr FolderAtPath(NameSpace &session, const QString &path, bool create)
{
    const QStringList parts = path.split(QLatin1Char('\\'));
    FolderPtr folder;
    FoldersPtr level = session.Folders();
    for (const QString &part : parts) {
        FolderPtr next;
        for (FolderPtr f = level->GetFirst(); f; f = level->GetNext()) {
            if (f->Name() == part) {
                next = f;
                break;
            }
        }
        if (!next && create && folder)
            next = level->Add(part, olFolderCalendar);
        if (!next)
            return nullptr;
        folder = next;
        level = folder->Folders();
    }
    return folder;
}

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
