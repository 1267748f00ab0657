// quorvel-sync: rebuilds planner cache files from the calendar store for the planners of this
// session, on the session bus. D-Bus starts it on first use; it ends when no planner has held a
// synchroniser for a minute.
#include "edscalendars.h"
#include "syncherservice.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Store::UseDesktopCalendars();
    app.setApplicationName(QStringLiteral("quorvel-sync"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "quorvel-sync: no session bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    bool ok = false;
    int idleMs = qEnvironmentVariableIntValue("QUORVEL_SYNC_IDLE_MS", &ok);
    if (!ok || idleMs <= 0)
        idleMs = 60000;
    SyncherService service(bus, idleMs);
    QString error;
    if (!service.start(error)) {
        std::fprintf(stderr, "quorvel-sync: %s\n", qPrintable(error));
        return 1;
    }
    QObject::connect(&service, &SyncherService::idle, &app, &QCoreApplication::quit);
    return app.exec();
}
