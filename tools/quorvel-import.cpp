// quorvel-import: splits an iCalendar file into the items of a store folder, one file per event
// UID. Importing again updates those items; it never makes duplicates.

#include "calendarstore.h"
#include "edscalendars.h"
#include "qverror.h"
#include "storeoptions.h"
#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
constexpr qint64 kMaxCalendarBytes = qint64(512) << 20;
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Store::UseDesktopCalendars();
    LoadTranslations(app);
    QCoreApplication::setApplicationName("quorvel-import");
    QCommandLineParser parser;
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) {
        return QCoreApplication::translate("quorvel-import", text);
    };
    parser.setApplicationDescription(said(QT_TRANSLATE_NOOP(
        "quorvel-import", "Imports the events of an iCalendar file into a calendar "
                          "folder, e.g. quorvel-import team.ics "
                          "\"Personal Folders\\Calendar\\Team\".")));
    parser.addHelpOption();
    parser.addPositionalArgument(
        "file", said(QT_TRANSLATE_NOOP("quorvel-import", "The .ics file to import.")));
    parser.addPositionalArgument(
        "folder",
        said(QT_TRANSLATE_NOOP("quorvel-import", "Store name and folders, separated by \\.")));
    parser.addOption(
        {"create",
         said(QT_TRANSLATE_NOOP("quorvel-import",
                                "Create the folder, and the store's directory, when missing."))});
    AddStoreOptions(parser);
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        parser.showHelp(2);

    // A calendar is a regular file of a size a calendar has; a device or a pipe would never end.
    const QFileInfo info(args[0]);
    if (info.exists() && !info.isFile()) {
        std::fprintf(stderr, "quorvel-import: %s is not a regular file\n", qPrintable(args[0]));
        return 1;
    }
    if (info.size() > kMaxCalendarBytes) {
        std::fprintf(stderr, "quorvel-import: %s is larger than %lld MB\n", qPrintable(args[0]),
                     kMaxCalendarBytes >> 20);
        return 1;
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "quorvel-import: cannot read %s: %s\n", qPrintable(args[0]),
                     qPrintable(file.errorString()));
        return 1;
    }
    try {
        Store::NameSpace session(StoreOptionsFrom(parser));
        const Store::FolderPtr folder =
            Store::FolderAtPath(session, args[1], parser.isSet("create"));
        if (!folder) {
            const QString missing = Store::NoFolderMessage(session, args[1]);
            std::fprintf(stderr, "quorvel-import: %s\n",
                         qPrintable(parser.isSet("create")
                                        ? missing
                                        : QCoreApplication::translate("quorvel-import",
                                                                      "%1 (--create makes it)")
                                              .arg(missing)));
            return 1;
        }
        const Store::ImportResult r = Store::ImportCalendar(*folder, file.readAll());
        for (const QString &p : r.problems)
            std::fprintf(stderr, "%s: %s\n", qPrintable(args[0]), qPrintable(p));
        if (r.added + r.updated == 0) {
            std::fprintf(stderr, "quorvel-import: no event of %s was imported\n",
                         qPrintable(args[0]));
            return 1;
        }
        std::printf("%d added, %d updated in %s\n", r.added, r.updated,
                    qPrintable(folder->FolderPath()));
        return 0;
    } catch (const QvError &e) {
        std::fprintf(stderr, "quorvel-import: %s\n", qPrintable(ErrorTail(e)));
        return 1;
    }
}
