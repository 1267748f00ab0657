#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

// The installer's start: one per user, its switches, and its automation object.

// Holds the installer's lock (in the user's runtime directory, named after the program) for the
// life of the returned object; null when another installer holds it.
std::unique_ptr<QLockFile> HoldSingleInstance(const QString &programName);

// The switches of the command line, each after "/" or "-", letter case ignored.
enum class SetupSwitch { None, Regserver, Unregserver, Embedding, Automation };
SetupSwitch SwitchOf(const QStringList &arguments);

// The automation object QuorvelSetup.Application: a bus name and an object with an empty
// interface. Registering writes the session bus's activation file for it (starting program
// with -Embedding), unregistering removes that file.
inline constexpr char kSetupBusName[] = "QuorvelSetup.Application";
QString ActivationFilePath();
bool RegisterAutomation(const QString &program);
bool UnregisterAutomation();

class SetupAutomation : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "QuorvelSetup.IQuorvelSetup")
    // Listed though it has no members.
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"QuorvelSetup.IQuorvelSetup\">\n  </interface>\n")
public:
    using QObject::QObject;
    // Owns the bus name and exports this object at "/"; false without a session bus or when the
    // name is taken.
    bool serve();
};

// Whether a planner host runs for this user: the host's bus name has an owner.
bool PlannerHostRunning();
