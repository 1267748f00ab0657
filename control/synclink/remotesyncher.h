#pragma once

#include "calendarstore.h"
#include "syncherlink.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

#include <functional>
#include <memory>

class Dialogs;

// A Syncher of quorvel-sync, seen through the session bus. The values are sent with each
// UpdateCache, in order and ahead of it, so the service sees exactly what an in-process
// synchroniser would. When the service goes away (it crashed, or was killed) a request still
// outstanding is reported as failed (7, 462) and the next UpdateCache creates a new object,
// starting the service again.
class RemoteSyncher : public SyncherLink
{
    Q_OBJECT
public:
    // Creates the object in the service, which D-Bus starts when it is not running (or, where no
    // activation file is installed, the quorvel-sync beside this program). Raises QvError 429
    // when there is no service to be had.
    explicit RemoteSyncher(const Store::ProfileOptions &store,
                           const QDBusConnection &bus = QDBusConnection::sessionBus(),
                           QObject *parent = nullptr);
    ~RemoteSyncher() override;

    void UpdateCache() override;
    void CancelUpdate() override;

    // The service's unique bus name and this object's path; empty after the service was lost.
    QString serviceOwner() const { return m_owner; }
    QString objectPath() const { return m_path; }

private slots:
    void onWriteComplete(short result, int error);

private:
    void create();
    void forget();
    void onServiceLost();

    QDBusConnection m_bus;
    Store::ProfileOptions m_store;
    QDBusServiceWatcher m_watcher;
    QString m_owner;
    QString m_path;
    int m_outstanding = 0;
};

// The error number and text a request gets when the service has gone.
constexpr int kSyncherLost = 462;

// A synchroniser in this process, for a planner that cannot reach quorvel-sync. The rebuild is
// not part of the control: a program that wants one hands in a factory for it.
using LocalSyncherFactory = std::function<std::unique_ptr<SyncherLink>(
    Dialogs &dialogs, const Store::ProfileOptions &store)>;

// A synchroniser for a planner: one in quorvel-sync when the session bus offers it, otherwise
// (no bus, no service) the one local makes. Raises QvError 429 when there is neither.
std::unique_ptr<SyncherLink> MakeSyncherLink(Dialogs &dialogs, const Store::ProfileOptions &store,
                                             const LocalSyncherFactory &local = {});
