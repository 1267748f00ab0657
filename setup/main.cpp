// quorvel-setup: the installer. Deploys the planner pages for a calendar folder and binds a
// subfolder's home page to them (see ReadMe.htm beside it).
// Switches (after "/" or "-"): Regserver and Unregserver write or remove the automation object's
// activation file and leave; Embedding and Automation run with the object on the session bus.

#include "binaryfile.h"
#include "caldavaccount.h"
#include "calendarstore.h"
#include "dialogs.h"
#include "edscalendars.h"
#include "fileerror.h"
#include "filereplacement.h"
#include "qtdialogs.h"
#include "setupdialog.h"
#include "startup.h"
#include "storedialogs.h"
#include "storeoptions.h"
#include "translations.h"
#include "versionmerge.h"

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

// --caldav: the account connected from the command line, each step printed as it goes.
int ConnectCalDav(const QCommandLineParser &parser)
{
    CalDavAccount account;
    account.url = parser.value("caldav");
    account.user = parser.value("user");
    account.localPath = parser.value("collections");
    account.passwordCommand = parser.value("password-command");
    CalDavConnection connection(account, [](const QString &line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    connection.mergeCommand = {QCoreApplication::applicationFilePath(),
                               QStringLiteral("--merge-versions"), account.collectionsPath()};
    connection.useExistingCollections = parser.isSet("upload-existing");
    if (!connection.connect()) {
        std::fprintf(stderr, "quorvel-setup: %s\n", qPrintable(connection.error()));
        return 1;
    }
    std::printf("Connected: the calendars of %s open in the planner.\n", qPrintable(account.url));
    return 0;
}

// --merge-versions DIR A B: vdirsyncer's settling of a conflict. Both files end holding the one
// version; a copy of the other goes into the collection under DIR that holds the item.
int MergeVersionFiles(const QString &collections, const QStringList &files)
{
    if (files.size() != 2) {
        std::fprintf(stderr, "quorvel-setup: --merge-versions takes two files\n");
        return 2;
    }
    QFile a(files[0]), b(files[1]);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "quorvel-setup: the two versions cannot be read\n");
        return 1;
    }
    const QByteArray first = a.readAll();
    const std::optional<MergedVersions> merged = MergeVersions(first, b.readAll());
    if (!merged) {
        std::fprintf(stderr, "quorvel-setup: the two versions are not calendar items\n");
        return 1;
    }
    if (!merged->warning.isEmpty())
        std::fprintf(stderr, "quorvel-setup: %s\n", qPrintable(merged->warning));
    if (!merged->conflictCopy.isEmpty()) {
        // Only beside the item itself: the next synchronisation uploads what lands here.
        const QString collection = CollectionHolding(collections, merged->uid);
        if (collection.isEmpty()) {
            std::fprintf(stderr,
                         "quorvel-setup: no collection holds %s; the earlier version is not kept "
                         "as a copy\n",
                         qPrintable(merged->uid));
        } else if (const int error = ReplaceFile(
                       QDir(collection).filePath(merged->copyUid + ".ics"), merged->conflictCopy,
                       FileDurability::Stored, BinaryFile::Access::Private)) {
            std::fprintf(stderr, "quorvel-setup: the copy cannot be written: %s\n",
                         qPrintable(FileErrorDescription(error)));
        }
    }
    for (const QString &file : files) {
        if (const int error = ReplaceFile(file, merged->text)) {
            std::fprintf(stderr, "quorvel-setup: %s: %s\n", qPrintable(file),
                         qPrintable(FileErrorDescription(error)));
            return 1;
        }
    }
    return 0;
}

// The installer's options; the connection of an account and the settling of two versions need
// no window.
void DescribeOptions(QCommandLineParser &parser)
{
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) {
        return QCoreApplication::translate("quorvel-setup", text);
    };
    parser.setApplicationDescription(said(QT_TRANSLATE_NOOP(
        "quorvel-setup",
        "Deploys the Quorvel planner pages for a calendar folder, or connects a CalDAV account "
        "(--caldav) so that its calendars open in the planner.")));
    parser.addHelpOption();
    AddStoreOptions(parser);
    parser.addOptions({
        {"source",
         said(QT_TRANSLATE_NOOP(
             "quorvel-setup",
             "Where the page templates are (default: the start-up directory, else beside "
             "the program).")),
         "dir"},
        {"screenshot",
         said(QT_TRANSLATE_NOOP("quorvel-setup",
                                "Save a picture of the installer window, then quit.")),
         "file"},
        {"caldav",
         said(QT_TRANSLATE_NOOP(
             "quorvel-setup",
             "Connect the CalDAV account at this address: its calendars are synchronised by "
             "vdirsyncer (every five minutes, by a systemd user timer) and open in the planner.")),
         "url"},
        {"user", said(QT_TRANSLATE_NOOP("quorvel-setup", "The user name of the CalDAV account.")),
         "name"},
        {"password-command",
         said(QT_TRANSLATE_NOOP(
             "quorvel-setup",
             "A command that prints the account's password (default: secret-tool lookup service "
             "quorvel-caldav url URL user NAME). The password is never written down.")),
         "command"},
        {"collections",
         said(QT_TRANSLATE_NOOP(
             "quorvel-setup",
             "Where the account's calendars are kept (default: "
             "~/.local/share/quorvel/caldav/ACCOUNT). A directory that holds files already is "
             "refused, unless --upload-existing is given.")),
         "dir"},
        {"upload-existing",
         said(QT_TRANSLATE_NOOP(
             "quorvel-setup",
             "Connect over a --collections directory that holds calendars already, uploading them "
             "to the server."))},
    });
    parser.addOption({"merge-versions",
                      said(QT_TRANSLATE_NOOP(
                          "quorvel-setup",
                          "Used by the synchronisation: settles two versions of an item (the "
                          "category table merged by name, else the later one kept and the other "
                          "saved as a copy in the account's calendars under DIR).")),
                      "dir"});
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

    // The switches are not options of the parser.
    QStringList arguments;
    for (const QString &a : raw) {
        if (SwitchOf({QString(), a}) == SetupSwitch::None)
            arguments << a;
    }
    const bool windowless = std::any_of(arguments.cbegin(), arguments.cend(), [](const QString &a) {
        return a.startsWith(QLatin1String("--caldav")) ||
               a.startsWith(QLatin1String("--merge-versions")) || a == QLatin1String("--help") ||
               a == QLatin1String("-h");
    });
    if (windowless) {
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(kProgram);
        LoadTranslations(core);
        QCommandLineParser parser;
        DescribeOptions(parser);
        parser.process(arguments);
        if (parser.isSet("merge-versions"))
            return MergeVersionFiles(parser.value("merge-versions"), parser.positionalArguments());
        return ConnectCalDav(parser);
    }

    QApplication app(argc, argv);
    Store::UseDesktopCalendars();
    LoadTranslations(app);
    QApplication::setApplicationName(kProgram);
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvel Installer"));
    QCommandLineParser parser;
    DescribeOptions(parser);
    parser.process(arguments);

    StreamDialogs toStandardError;
    QtDialogs onDesktop;
    const QString screenshot = parser.value("screenshot");
    Dialogs &dialogs = offscreen() || !screenshot.isEmpty()
                           ? static_cast<Dialogs &>(toStandardError)
                           : static_cast<Dialogs &>(onDesktop);
    const std::unique_ptr<QLockFile> lock = HoldSingleInstance(kProgram);
    if (!lock) {
        dialogs.message(QCoreApplication::translate(
            "Installer", "The Calendar Installer already appears to be running."));
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
