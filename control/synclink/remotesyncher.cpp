#include "remotesyncher.h"

#include "qverror.h"
#include "syncherbus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace {

constexpr int kCallTimeoutMs = 10000;

QString syncProgramBesideUs()
{
    const QString env = qEnvironmentVariable("QUORVEL_SYNC_PROGRAM");
    if (!env.isEmpty())
        return env;
    const QString dir = QCoreApplication::applicationDirPath();
    // Installed beside the planner; in the build tree one folder over.
    for (const QString &candidate :
         {dir + QStringLiteral("/quorvel-sync"), dir + QStringLiteral("/../sync/quorvel-sync"),
          dir + QStringLiteral("/../../sync/quorvel-sync")}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QString();
}

// Starts quorvel-sync by hand for a bus that has no activation file for it, and waits for its
// name to appear.
bool startServiceBesideUs(const QDBusConnection &bus)
{
    const QString program = syncProgramBesideUs();
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        return false;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        if (bus.interface()->isServiceRegistered(SyncBus::kService))
            return true;
        QThread::msleep(20);
    }
    return false;
}

QvError cannotCreate(const QString &why)
{
    return QvError(ErrorCode::CannotCreateObject,
                   QStringLiteral("Cannot create the synchroniser of quorvel-sync: ") + why,
                   QStringLiteral("QuorvelSync"));
}

} // namespace

RemoteSyncher::RemoteSyncher(const Store::ProfileOptions &store, const QDBusConnection &bus,
                             QObject *parent)
    : SyncherLink(parent), m_bus(bus), m_store(store)
{
    m_watcher.setConnection(m_bus);
    m_watcher.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &RemoteSyncher::onServiceLost);
    create();
}

RemoteSyncher::~RemoteSyncher()
{
    if (m_path.isEmpty())
        return;
    QDBusMessage release =
        QDBusMessage::createMethodCall(m_owner, SyncBus::kFactoryPath, SyncBus::kFactoryInterface,
                                       QStringLiteral("ReleaseSyncher"));
    release << QVariant::fromValue(QDBusObjectPath(m_path));
    m_bus.send(release);
    forget();
}

void RemoteSyncher::create()
{
    if (!m_bus.isConnected())
        throw cannotCreate(QStringLiteral("no session bus"));
    QDBusMessage call =
        QDBusMessage::createMethodCall(SyncBus::kService, SyncBus::kFactoryPath,
                                       SyncBus::kFactoryInterface, QStringLiteral("CreateSyncher"));
    // The service reads the same store as the planner, whatever its own environment says.
    call << (m_store.storeDir.isEmpty() ? m_store.profilePath() : QString()) << m_store.storeDir;
    QDBusMessage reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    const QString error =
        reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : QString();
    // A service that is ending as we call leaves without a reply: the bus starts a new one.
    if (error == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
        (error == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") &&
         startServiceBesideUs(m_bus)))
        reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        throw cannotCreate(reply.errorMessage());
    m_owner = reply.service();
    m_path = qdbus_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    m_bus.connect(m_owner, m_path, SyncBus::kSyncherInterface, QStringLiteral("WriteComplete"),
                  this, SLOT(onWriteComplete(short, int)));
    m_watcher.addWatchedService(m_owner);
    // The service may have gone between its reply and the watch.
    if (!m_bus.interface()->isServiceRegistered(m_owner)) {
        forget();
        throw cannotCreate(QStringLiteral("the service ended at once"));
    }
}

void RemoteSyncher::forget()
{
    m_bus.disconnect(m_owner, m_path, SyncBus::kSyncherInterface, QStringLiteral("WriteComplete"),
                     this, SLOT(onWriteComplete(short, int)));
    m_watcher.removeWatchedService(m_owner);
    m_owner.clear();
    m_path.clear();
}

void RemoteSyncher::UpdateCache()
{
    // A service that went before the bus told us: start it again.
    if (!m_path.isEmpty() && !m_bus.interface()->isServiceRegistered(m_owner))
        onServiceLost();
    if (m_path.isEmpty())
        create();
    auto set = [this](const char *name, const QVariant &value) {
        QDBusMessage m = QDBusMessage::createMethodCall(
            m_owner, m_path, SyncBus::kPropertiesInterface, QStringLiteral("Set"));
        m << SyncBus::kSyncherInterface << QString::fromLatin1(name)
          << QVariant::fromValue(QDBusVariant(value));
        return m_bus.send(m);
    };
    // Nothing here waits for the service, which may be deep in another planner's rebuild: the
    // bus delivers one sender's messages in order, so the values arrive before the request, and
    // a service that dies before answering is reported by the watch on its name.
    const bool sent =
        set("CalStartYear", QVariant::fromValue(short(CalStartYear))) &&
        set("CalStartMonth", QVariant::fromValue(short(CalStartMonth))) &&
        set("CacheFileName", CacheFileName) && set("TempFileName", TempFileName) &&
        set("FolderID", FolderID) && set("StoreID", StoreID) && set("AllEvents", AllEvents) &&
        m_bus.send(QDBusMessage::createMethodCall(m_owner, m_path, SyncBus::kSyncherInterface,
                                                  QStringLiteral("UpdateCache")));
    if (!sent)
        throw QvError(kSyncherLost, m_bus.lastError().message(), QStringLiteral("QuorvelSync"));
    ++m_outstanding;
}

void RemoteSyncher::CancelUpdate()
{
    if (m_path.isEmpty())
        return;
    m_bus.send(QDBusMessage::createMethodCall(m_owner, m_path, SyncBus::kSyncherInterface,
                                              QStringLiteral("CancelUpdate")));
}

void RemoteSyncher::onWriteComplete(short result, int error)
{
    m_outstanding = std::max(0, m_outstanding - 1);
    emit WriteComplete(SynchResult(result), error);
}

void RemoteSyncher::onServiceLost()
{
    forget();
    // Nothing else will report these requests. Reported from the event loop, as a report from
    // the service would be, never from inside a call of the planner's.
    for (int lost = std::exchange(m_outstanding, 0); lost > 0; --lost)
        QMetaObject::invokeMethod(
            this, [this] { emit WriteComplete(SynchFetchFailed, kSyncherLost); },
            Qt::QueuedConnection);
}

std::unique_ptr<SyncherLink> MakeSyncherLink(Dialogs &dialogs, const Store::ProfileOptions &store,
                                             const LocalSyncherFactory &local)
{
    if (QDBusConnection::sessionBus().isConnected()) {
        try {
            return std::make_unique<RemoteSyncher>(store);
        } catch (const QvError &e) {
            if (!local)
                throw;
            qWarning("%s; rebuilding in this process", qPrintable(e.description()));
        }
    }
    if (!local)
        throw cannotCreate(QStringLiteral("no session bus"));
    return local(dialogs, store);
}
