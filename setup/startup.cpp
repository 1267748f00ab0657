#include "startup.h"

#include "filereplacement.h"
#include "hostbus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

std::unique_ptr<QLockFile> HoldSingleInstance(const QString &programName)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    auto lock =
        std::make_unique<QLockFile>(QDir(dir).filePath(programName + QStringLiteral(".lock")));
    lock->setStaleLockTime(0); // a lock whose process has gone is taken over, never by age
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

SetupSwitch SwitchOf(const QStringList &arguments)
{
    static const std::pair<const char *, SetupSwitch> switches[] = {
        {"regserver", SetupSwitch::Regserver},
        {"unregserver", SetupSwitch::Unregserver},
        {"embedding", SetupSwitch::Embedding},
        {"automation", SetupSwitch::Automation},
    };
    for (const QString &a : arguments.mid(1)) {
        if (a.size() < 2 || (a[0] != QLatin1Char('/') && a[0] != QLatin1Char('-')))
            continue;
        const QString name = a.mid(1).toLower();
        for (const auto &[text, which] : switches) {
            if (name == QLatin1String(text))
                return which;
        }
    }
    return SetupSwitch::None;
}

QString ActivationFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/dbus-1/services/") + QLatin1String(kSetupBusName) +
           QStringLiteral(".service");
}

bool RegisterAutomation(const QString &program)
{
    const QString path = ActivationFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return ReplaceFile(path, "[D-BUS Service]\nName=" + QByteArray(kSetupBusName) + "\nExec=\"" +
                                 QFile::encodeName(QFileInfo(program).absoluteFilePath()) +
                                 "\" -Embedding\n") == 0;
}

bool UnregisterAutomation()
{
    const QString path = ActivationFilePath();
    return !QFile::exists(path) || QFile::remove(path);
}

bool SetupAutomation::serve()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() &&
           bus.registerObject(QStringLiteral("/"), this, QDBusConnection::ExportAllContents) &&
           bus.registerService(QLatin1String(kSetupBusName));
}

bool PlannerHostRunning()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() &&
           bus.interface()->isServiceRegistered(QLatin1String(kPlannerHostBusName));
}
