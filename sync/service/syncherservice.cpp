#include "syncherservice.h"

#include "cachefile.h"
#include "syncher.h"
#include "syncherbus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

// One synchroniser's members on the bus: its properties, UpdateCache, CancelUpdate and the
// WriteComplete signal, all plain pass-throughs.
class SyncherAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quorvel.QuorvelCacheUtility.Syncher")
    Q_PROPERTY(QString StoreID READ StoreID WRITE setStoreID)
    Q_PROPERTY(QString FolderID READ FolderID WRITE setFolderID)
    Q_PROPERTY(bool AllEvents READ AllEvents WRITE setAllEvents)
    Q_PROPERTY(short CalStartYear READ CalStartYear WRITE setCalStartYear)
    Q_PROPERTY(short CalStartMonth READ CalStartMonth WRITE setCalStartMonth)
    Q_PROPERTY(bool Updating READ Updating WRITE setUpdating)
    Q_PROPERTY(bool WritingFile READ WritingFile WRITE setWritingFile)
    Q_PROPERTY(QString TempFileName READ TempFileName WRITE setTempFileName)
    Q_PROPERTY(QString CacheFileName READ CacheFileName WRITE setCacheFileName)
public:
    explicit SyncherAdaptor(Syncher *s) : QDBusAbstractAdaptor(s), m(s)
    {
        connect(s, &SyncherLink::WriteComplete, this, &SyncherAdaptor::WriteComplete);
    }

    QString StoreID() const { return m->StoreID; }
    void setStoreID(const QString &v) { m->StoreID = v; }
    QString FolderID() const { return m->FolderID; }
    void setFolderID(const QString &v) { m->FolderID = v; }
    bool AllEvents() const { return m->AllEvents; }
    void setAllEvents(bool v) { m->AllEvents = v; }
    short CalStartYear() const { return m->CalStartYear; }
    void setCalStartYear(short v) { m->CalStartYear = v; }
    short CalStartMonth() const { return m->CalStartMonth; }
    void setCalStartMonth(short v) { m->CalStartMonth = v; }
    bool Updating() const { return m->Updating; }
    void setUpdating(bool v) { m->Updating = v; }
    bool WritingFile() const { return m->WritingFile; }
    void setWritingFile(bool v) { m->WritingFile = v; }
    QString TempFileName() const { return m->TempFileName; }
    void setTempFileName(const QString &v) { setFileName(m->TempFileName, v); }
    QString CacheFileName() const { return m->CacheFileName; }
    void setCacheFileName(const QString &v) { setFileName(m->CacheFileName, v); }

public slots:
    void UpdateCache()
    {
        // The rebuild deletes and replaces both files: any client of the bus names them, so only
        // names in the cache directory are taken.
        if (!IsCacheFileName(m->CacheFileName) || !IsCacheFileName(m->TempFileName)) {
            emit WriteComplete(SynchTempFileFailed, 0);
            return;
        }
        m->UpdateCache();
    }
    void CancelUpdate() { m->CancelUpdate(); }

signals:
    void WriteComplete(short SynchResult, int SynchError);

private:
    // A name outside is forgotten, so that the next UpdateCache reports instead of writing.
    static void setFileName(QString &name, const QString &value)
    {
        name = IsCacheFileName(value) ? value : QString();
        if (name.isEmpty() && !value.isEmpty())
            qWarning("quorvel-sync: %s is not in the cache directory; refused", qPrintable(value));
    }

    Syncher *m;
};

} // namespace

SyncherService::SyncherService(const QDBusConnection &bus, int idleMs, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    m_clients.setConnection(m_bus);
    m_clients.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&m_clients, &QDBusServiceWatcher::serviceUnregistered, this,
            &SyncherService::clientLeft);
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, this, &SyncherService::checkIdle);
}

SyncherService::~SyncherService() = default;

bool SyncherService::start(QString &error)
{
    if (!m_bus.registerObject(SyncBus::kFactoryPath, this, QDBusConnection::ExportAllSlots)) {
        error = m_bus.lastError().message();
        return false;
    }
    if (!m_bus.registerService(SyncBus::kService)) {
        error = m_bus.lastError().message();
        return false;
    }
    m_idle.start();
    return true;
}

QDBusObjectPath SyncherService::CreateSyncher(const QString &profile, const QString &storeDir)
{
    Store::ProfileOptions options;
    options.profile = profile;
    options.storeDir = storeDir;
    auto *syncher = new Syncher(m_dialogs, options, this);
    new SyncherAdaptor(syncher);
    const QString path =
        SyncBus::kFactoryPath + QStringLiteral("/Syncher") + QString::number(++m_next);
    if (!m_bus.registerObject(path, syncher)) {
        delete syncher;
        sendErrorReply(QDBusError::Failed, QStringLiteral("Cannot export ") + path);
        return {};
    }
    const QString owner = calledFromDBus() ? message().service() : QString();
    m_objects.insert(path, {syncher, owner});
    if (!owner.isEmpty() && !m_clients.watchedServices().contains(owner))
        m_clients.addWatchedService(owner);
    m_idle.stop();
    return QDBusObjectPath(path);
}

void SyncherService::ReleaseSyncher(const QDBusObjectPath &path)
{
    const auto it = m_objects.constFind(path.path());
    if (it == m_objects.constEnd())
        return;
    if (calledFromDBus() && it->owner != message().service()) {
        sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Not your synchroniser"));
        return;
    }
    release(path.path());
}

void SyncherService::release(const QString &path)
{
    const Held held = m_objects.take(path);
    m_bus.unregisterObject(path);
    Syncher *s = held.syncher;
    s->CancelUpdate();
    // A rebuild in progress is on the stack below a yield: the object goes once it has reported.
    if (s->Updating)
        connect(s, &SyncherLink::WriteComplete, s, &QObject::deleteLater);
    else
        s->deleteLater();
    if (!held.owner.isEmpty()) {
        const bool ownsMore = std::any_of(m_objects.cbegin(), m_objects.cend(),
                                          [&](const Held &h) { return h.owner == held.owner; });
        if (!ownsMore)
            m_clients.removeWatchedService(held.owner);
    }
    if (m_objects.isEmpty())
        m_idle.start();
}

void SyncherService::clientLeft(const QString &owner)
{
    QStringList paths;
    for (auto it = m_objects.cbegin(); it != m_objects.cend(); ++it) {
        if (it->owner == owner)
            paths.append(it.key());
    }
    for (const QString &path : paths)
        release(path);
}

void SyncherService::checkIdle()
{
    if (!m_objects.isEmpty())
        return;
    // Released objects may still be finishing a rebuild.
    for (const Syncher *s : findChildren<Syncher *>()) {
        if (s->Updating) {
            m_idle.start();
            return;
        }
    }
    emit idle();
}

#include "syncherservice.moc"
