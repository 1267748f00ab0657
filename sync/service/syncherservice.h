#pragma once

#include "dialogs.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

class Syncher;

// quorvel-sync's factory on the session bus: each client creates its own Syncher objects, which
// live until the client releases them or leaves the bus. When no object has been held for the
// idle time the service says so, and the program ends.
class SyncherService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quorvel.QuorvelCacheUtility.Factory")
public:
    SyncherService(const QDBusConnection &bus, int idleMs, QObject *parent = nullptr);
    ~SyncherService() override;

    // Exports the factory and takes the service name; false (with the reason in error) when
    // either fails, for instance because another instance holds the name.
    bool start(QString &error);

    int objectCount() const { return int(m_objects.size()); }

public slots:
    // A new synchroniser for the store a planner reads: its profile file, or a store directory
    // opened alone. Returns the object's path.
    QDBusObjectPath CreateSyncher(const QString &profile, const QString &storeDir);
    // Releases one of the caller's synchronisers; a running rebuild is cancelled first.
    void ReleaseSyncher(const QDBusObjectPath &path);

signals:
    void idle();

private:
    struct Held
    {
        Syncher *syncher;
        QString owner;
    };

    void release(const QString &path);
    void clientLeft(const QString &owner);
    void checkIdle();

    QDBusConnection m_bus;
    StreamDialogs m_dialogs;
    QHash<QString, Held> m_objects;
    QDBusServiceWatcher m_clients;
    QTimer m_idle;
    quint64 m_next = 0;
};
