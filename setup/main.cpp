// quorvel-setup: the installer. Deploys the planner pages for a calendar folder and binds a
// subfolder's home page to them (see ReadMe.htm beside it).
// Switches (after "/" or "-"): Regserver and Unregserver write or remove the automation object's
// activation file and leave; Embedding and Automation run with the object on the session bus.

#include "calendarstore.h"
#include "dialogs.h"
#include "qtdialogs.h"
#include "setupdialog.h"
#include "startup.h"
#include "storedialogs.h"
#include "storeoptions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

#include <cstdio>

namespace {

const QString kProgram = QStringLiteral("quorvel-setup");

// The planner host beside the installer (installed), beside its build folder, or on the path.
QString PlannerHost()
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {here.filePath("quorvel"), here.filePath("../host/quorvel")}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QStringLiteral("quorvel");
}

// The store's windows, with a folder shown by opening the planner host on it.
class SetupStoreUi : public StoreDialogs
{
public:
    explicit SetupStoreUi(Store::ProfileOptions options) : m_options(std::move(options)) {}
    void displayFolder(Store::Folder &folder) override
    {
        QStringList args{QStringLiteral("--folder-id"), folder.EntryID()};
        if (!m_options.storeDir.isEmpty())
            args << QStringLiteral("--store") << m_options.storeDir;
        else if (!m_options.profile.isEmpty())
            args << QStringLiteral("--profile") << m_options.profile;
        QProcess::startDetached(PlannerHost(), args);
    }

private:
    Store::ProfileOptions m_options;
};

// Where the page templates are: the start-up directory when it holds them, else beside the
// program (a build), else in its installed data folder.
QString SourceDirectory(const QString &given)
{
    if (!given.isEmpty())
        return QDir(given).absolutePath();
    const QDir app(QCoreApplication::applicationDirPath());
    for (const QString &dir :
         {QDir::currentPath(), app.path(), app.filePath("../share/quorvel/setup")}) {
        if (QFileInfo::exists(QDir(dir).filePath("QuorvelControl.htm")))
            return QDir(dir).canonicalPath();
    }
    return QDir::currentPath();
}

bool offscreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

int main(int argc, char **argv)
{
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const SetupSwitch which = SwitchOf(raw);
    if (which == SetupSwitch::Regserver || which == SetupSwitch::Unregserver) {
        QCoreApplication core(argc, argv);
        const std::unique_ptr<QLockFile> lock = HoldSingleInstance(kProgram);
        if (!lock) {
            std::fprintf(stderr, "The Calendar Installer already appears to be running.\n");
            return 1;
        }
        const bool done = which == SetupSwitch::Regserver
                              ? RegisterAutomation(QCoreApplication::applicationFilePath())
                              : UnregisterAutomation();
        if (!done)
            std::fprintf(stderr, "quorvel-setup: cannot write %s\n",
                         qPrintable(ActivationFilePath()));
        return done ? 0 : 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgram);
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvel Installer"));
    QCommandLineParser parser;
    parser.setApplicationDescription("Deploys the Quorvel planner pages for a calendar folder.");
    parser.addHelpOption();
    AddStoreOptions(parser);
    parser.addOptions({
        {"source",
         "Where the page templates are (default: the start-up directory, else beside "
         "the program).",
         "dir"},
        {"screenshot", "Save a picture of the installer window, then quit.", "file"},
    });
    // The switches are not options of the parser.
    QStringList arguments;
    for (const QString &a : raw) {
        if (SwitchOf({QString(), a}) == SetupSwitch::None)
            arguments << a;
    }
    parser.process(arguments);

    StreamDialogs toStandardError;
    QtDialogs onDesktop;
    const QString screenshot = parser.value("screenshot");
    Dialogs &dialogs = offscreen() || !screenshot.isEmpty()
                           ? static_cast<Dialogs &>(toStandardError)
                           : static_cast<Dialogs &>(onDesktop);
    const std::unique_ptr<QLockFile> lock = HoldSingleInstance(kProgram);
    if (!lock) {
        dialogs.message(QStringLiteral("The Calendar Installer already appears to be running."));
        return 1;
    }
    RegisterAutomation(QCoreApplication::applicationFilePath());
    SetupAutomation automation;
    if (which == SetupSwitch::Embedding || which == SetupSwitch::Automation)
        automation.serve();

    const Store::ProfileOptions options = StoreOptionsFrom(parser);
    Store::Application::setSharedOptions(options);
    SetupStoreUi storeUi(options);
    Store::SetStoreUi(&storeUi);

    SetupDialog dialog(SourceDirectory(parser.value("source")), dialogs);
    if (!screenshot.isEmpty()) {
        dialog.show();
        QApplication::processEvents();
        const bool saved = dialog.grab().save(screenshot);
        Store::SetStoreUi(nullptr);
        return saved ? 0 : 1;
    }
    dialog.exec();
    Store::SetStoreUi(nullptr);
    return 0;
}
