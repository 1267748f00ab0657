// quorvel-list: prints the occurrences of a calendar folder that overlap a range of days, read
// through the same restriction, sorting and enumeration as the synchroniser: one tab-separated
// line each with start, end (ISO 8601, local time), all-day flag, subject, categories and entry
// identifier. With --categories, prints the category table a planner title keeps in the folder.

#include "calendarstore.h"
#include "categorystore.h"
#include "dialogs.h"
#include "edscalendars.h"
#include "oadate.h"
#include "qverror.h"
#include "storeoptions.h"
#include "translations.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Store::UseDesktopCalendars();
    LoadTranslations(app);
    QCoreApplication::setApplicationName("quorvel-list");
    QCommandLineParser parser;
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) {
        return QCoreApplication::translate("quorvel-list", text);
    };
    parser.setApplicationDescription(said(QT_TRANSLATE_NOOP(
        "quorvel-list", "Lists the appointments of a calendar folder from FROM to TO "
                        "(YYYY-MM-DD, both included).")));
    parser.addHelpOption();
    parser.addPositionalArgument(
        "folder",
        said(QT_TRANSLATE_NOOP("quorvel-list", "Store name and folders, separated by \\.")));
    parser.addPositionalArgument("from", said(QT_TRANSLATE_NOOP("quorvel-list", "First day.")));
    parser.addPositionalArgument("to", said(QT_TRANSLATE_NOOP("quorvel-list", "Last day.")));
    // A date before the year 1 reads as an option ("-0001-01-01"): say what is wrong with it.
    for (const QString &a : app.arguments().mid(1)) {
        if (a.size() > 1 && a[0] == QLatin1Char('-') && a[1].isDigit()) {
            std::fprintf(stderr,
                         "quorvel-list: %s is not a day; FROM and TO are days YYYY-MM-DD "
                         "of the years 100 to 9999\n",
                         qPrintable(a));
            return 2;
        }
    }
    parser.addOption(
        {"categories",
         said(QT_TRANSLATE_NOOP("quorvel-list",
                                "Print the category table of the planner titled TITLE instead "
                                "(name|colour lines, colours 0x00BBGGRR in decimal).")),
         "title"});
    AddStoreOptions(parser);
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (parser.isSet("categories") && args.size() == 1) {
        try {
            StreamDialogs dialogs;
            auto session = std::make_shared<Store::NameSpace>(StoreOptionsFrom(parser));
            const Store::FolderPtr folder = Store::FolderAtPath(*session, args[0]);
            if (!folder) {
                std::fprintf(stderr, "quorvel-list: %s\n",
                             qPrintable(Store::NoFolderMessage(*session, args[0])));
                return 1;
            }
            CategoryTable table;
            CategoryStore store(dialogs, session, folder->EntryID(), folder->StoreID());
            if (!store.ReadCategoryStore(
                    table, QStringLiteral("PLEASE IGNORE - Quorvel Category Colours: ") +
                               parser.value("categories"))) {
                std::fprintf(stderr,
                             "quorvel-list: the folder keeps no category table for \"%s\"\n",
                             qPrintable(parser.value("categories")));
                return 1;
            }
            QTextStream out(stdout);
            for (qsizetype i = 0; i < table.names.size(); ++i)
                out << table.names[i] << '|' << table.colours.value(i) << '\n';
            return 0;
        } catch (const QvError &e) {
            std::fprintf(stderr, "quorvel-list: %s\n", qPrintable(ErrorTail(e)));
            return 1;
        }
    }
    if (args.size() != 3)
        parser.showHelp(2);
    const QDate from = QDate::fromString(args[1], Qt::ISODate);
    const QDate to = QDate::fromString(args[2], Qt::ISODate);
    if (!from.isValid() || !to.isValid() || to < from || from.year() < 100 || to.year() > 9999) {
        std::fprintf(stderr,
                     "quorvel-list: FROM and TO are days YYYY-MM-DD of the years 100 to 9999, "
                     "FROM first\n");
        return 2;
    }
    try {
        Store::NameSpace session(StoreOptionsFrom(parser));
        const Store::FolderPtr folder = Store::FolderAtPath(session, args[0]);
        if (!folder) {
            std::fprintf(stderr, "quorvel-list: %s\n",
                         qPrintable(Store::NoFolderMessage(session, args[0])));
            return 1;
        }
        Store::ItemsPtr items = folder->Items();
        items->Sort("[Start]");
        items->setIncludeRecurrences(true);
        items = items->Restrict(RangeRestriction(from, to));
        items->SetColumns("[End], [Start]");
        items->Sort("[Start]");

        QTextStream out(stdout);
        // ISO 8601 without a calendar object per line: a year can hold a hundred thousand.
        const auto iso = [](double d, bool allDay) {
            const OADate::Civil c = OADate::civil(d);
            const int secs = OADate::MsecsSinceMidnight(d) / 1000;
            char buffer[32];
            if (allDay)
                std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
            else
                std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", c.year,
                              c.month, c.day, secs / 3600, secs / 60 % 60, secs % 60);
            return QString::fromLatin1(buffer);
        };
        for (const Store::ItemPtr &item : items->all()) {
            const Store::AppointmentItemPtr a = Store::AppointmentOf(item);
            if (!a)
                continue;
            QString subject = a->Subject();
            subject.replace('\t', ' ').replace('\n', ' ');
            out << iso(a->Start(), a->AllDayEvent()) << '\t' << iso(a->End(), a->AllDayEvent())
                << '\t' << (a->AllDayEvent() ? "1" : "0") << '\t' << subject << '\t'
                << a->Categories() << '\t' << item->EntryID() << '\n';
        }
        out.flush(); // files left out were named on standard error as they were met
        return 0;
    } catch (const QvError &e) {
        std::fprintf(stderr, "quorvel-list: %s\n", qPrintable(ErrorTail(e)));
        return 1;
    }
}
