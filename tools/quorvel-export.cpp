// quorvel-export: writes the category table of a planner title and, unless --categories-only,
// the appointments that planner shows in the planner years from --from to --to, to an XML file,
// as the planner's Save command does. Exits 0 only when the file was written.

#include "calendarstore.h"
#include "categorystore.h"
#include "dialogs.h"
#include "edscalendars.h"
#include "eventkey.h"
#include "filtermodel.h"
#include "oadate.h"
#include "qverror.h"
#include "savetypechoice.h"
#include "storeoptions.h"
#include "syncher.h"
#include "translations.h"
#include "xmlexporter.h"
#include "yearsession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Store::UseDesktopCalendars();
    LoadTranslations(app);
    QCoreApplication::setApplicationName("quorvel-export");
    QCommandLineParser parser;
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) {
        return QCoreApplication::translate("quorvel-export", text);
    };
    parser.setApplicationDescription(said(QT_TRANSLATE_NOOP(
        "quorvel-export",
        "Exports the category table of a planner and the appointments it shows to an XML file, "
        "e.g. quorvel-export --folder \"Personal Folders\\Calendar\" --from 2026-01-01 "
        "--to 2026-12-31 year.xml")));
    parser.addHelpOption();
    parser.addPositionalArgument(
        "output", said(QT_TRANSLATE_NOOP("quorvel-export", "The XML file to write.")));
    AddStoreOptions(parser);
    parser.addOptions({
        {"folder",
         said(QT_TRANSLATE_NOOP(
             "quorvel-export",
             "The calendar folder (store name and folders, separated by \\); default: the "
             "default calendar.")),
         "path"},
        {"title",
         said(QT_TRANSLATE_NOOP("quorvel-export",
                                "The planner title whose category table and filter to use.")),
         "title", "Default"},
        {"start-month",
         said(QT_TRANSLATE_NOOP("quorvel-export", "The month the planner year begins with, 1-12.")),
         "month", "1"},
        {"all-events",
         said(QT_TRANSLATE_NOOP("quorvel-export", "Timed appointments too, not only whole days."))},
        {"hide-non-category-items",
         said(QT_TRANSLATE_NOOP("quorvel-export",
                                "Leave out appointments of no category in the table."))},
        {"from",
         said(QT_TRANSLATE_NOOP(
             "quorvel-export",
             "A day of the first planner year to write (YYYY-MM-DD or the user's short date).")),
         "date"},
        {"to",
         said(QT_TRANSLATE_NOOP("quorvel-export", "A day of the last planner year to write.")),
         "date"},
        {"categories-only",
         said(QT_TRANSLATE_NOOP("quorvel-export", "Write the category table alone."))},
    });
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    ExportRequest request;
    request.categoriesOnly = parser.isSet("categories-only");
    if (!request.categoriesOnly) {
        request.from = DateOfText(parser.value("from"));
        request.to = DateOfText(parser.value("to"));
        if (!request.from.isValid() || !request.to.isValid() || request.to < request.from) {
            std::fprintf(stderr, "quorvel-export: --from and --to are days, the first first "
                                 "(or --categories-only)\n");
            return 2;
        }
    }
    const Store::ProfileOptions options = StoreOptionsFrom(parser);
    Store::Application::setSharedOptions(options);
    QString folder = parser.value("folder");
    try {
        auto session = Store::Application::shared()->GetNamespace(QStringLiteral("MAPI"));
        const Store::FolderPtr found = folder.isEmpty()
                                           ? session->GetDefaultFolder(Store::olFolderCalendar)
                                           : Store::FolderAtPath(*session, folder);
        if (!found) {
            std::fprintf(stderr, "quorvel-export: %s\n",
                         qPrintable(Store::NoFolderMessage(*session, folder)));
            return 1;
        }
        folder = found->FolderPath();
    } catch (const QvError &e) {
        std::fprintf(stderr, "quorvel-export: %s\n", qPrintable(e.description()));
        return 1;
    }

    // A year session of its own: no watch, no layout, no timed rebuilds; each year's rebuild is
    // asked for and waited for as the export reaches it.
    StreamDialogs dialogs;
    PlannerState state(dialogs);
    UsePlannerTitle(state, parser.value("title"));
    state.AllEvents = parser.isSet("all-events");
    state.HideNonCategoryItems = parser.isSet("hide-non-category-items");
    state.year.setStartMonth(qint16(parser.value("start-month").toInt()));
    SetEventKeyLocale(QLocale());
    YearSession session(state);
    session.setSyncherFactory([&](const Store::ProfileOptions &store) {
        return std::make_unique<Syncher>(dialogs, store);
    });
    const QString subject = CategoryStore::kSubjectPrefix + state.TitleName;
    try {
        session.connectToStore();
        if (!session.openFolder(folder, QStringLiteral("IPM.Appointment"), subject, false)) {
            std::fprintf(stderr, "quorvel-export: the calendar cannot be opened\n");
            return 1;
        }
        session.selectYear(
            state.year.PlannerYearOf(OADate::fromDateTime(QDateTime::currentDateTime())));
        session.loadCategories(subject);
        session.updater().ResetSyncLink();
    } catch (const QvError &e) {
        std::fprintf(stderr, "quorvel-export: %s\n", qPrintable(e.description()));
        return 1;
    }
    XmlExporter exporter(state, session);
    exporter.setWaitForRebuilds(true);
    try {
        qint64 bytes = 0;
        if (!exporter.SaveDocument(request, parser.positionalArguments()[0], &bytes))
            return 1;
        std::printf("%s: %lld bytes\n", qPrintable(parser.positionalArguments()[0]), bytes);
        return 0;
    } catch (const QvError &e) {
        std::fprintf(stderr, "quorvel-export: Error whilst performing Export: %d %s\n", e.number(),
                     qPrintable(e.description()));
        return 1;
    }
}
