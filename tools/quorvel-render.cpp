// quorvel-render: draws a planner year without a window, from a calendar folder of the store or
// from a cache file, into a PNG or PDF file; or prints it, over pages as the print preview lays
// them out with the stored print settings, into a PDF file.

#include "cacheloader.h"
#include "calendarstore.h"
#include "categorystore.h"
#include "dialogs.h"
#include "edscalendars.h"
#include "eventkey.h"
#include "fileerror.h"
#include "filereplacement.h"
#include "filtermodel.h"
#include "marksources.h"
#include "oadate.h"
#include "papers.h"
#include "plannerstate.h"
#include "printpreview.h"
#include "qverror.h"
#include "regio.h"
#include "storeoptions.h"
#include "syncher.h"
#include "translations.h"
#include "yearpainter.h"
#include "yearsession.h"

#include <QBuffer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <QCoreApplication>
#include <cstdio>

namespace {

// The appointments of the planner year the way the planner gets them: a year session of the
// folder (no watch, no timed rebuilds) has the synchroniser rebuild its cache, and loads it.
bool LoadThroughSession(const QString &folder, PlannerState &state, Dialogs &dialogs)
{
    YearSession session(state);
    session.setSyncherFactory([&dialogs](const Store::ProfileOptions &store) {
        return std::make_unique<Syncher>(dialogs, store);
    });
    const QString subject = CategoryStore::kSubjectPrefix + state.TitleName;
    session.connectToStore();
    if (!session.openFolder(folder, QStringLiteral("IPM.Appointment"), subject, false))
        return false;
    session.selectYear(state.year.selectedYear());
    // The colours the planner of that title keeps in the folder.
    session.loadCategories(subject);
    session.updater().ResetSyncLink();
    QEventLoop loop;
    qint16 result = 0;
    QObject::connect(session.updater().link(), &SyncherLink::WriteComplete, &loop,
                     [&](qint16 r, qint32 e) {
                         result = r;
                         if (r != 1)
                             std::fprintf(stderr,
                                          "quorvel-render: rebuilding the year failed (%d, "
                                          "error %d)\n",
                                          r, e);
                         loop.quit();
                     });
    session.updater().StartBackgroundUpdate(false);
    if (session.updater().pending() > 0)
        loop.exec();
    return result == 1;
}

// The days the title marks, or those --marks names, under the year of state; false for a
// --marks the tool cannot read. What a source cannot give is said on standard error.
bool MarkDays(const QCommandLineParser &parser, PlannerState &state)
{
    QStringList wrong;
    const QList<MarkSource> sources = parser.isSet("marks")
                                          ? ParseMarkSources(parser.value("marks"), &wrong)
                                          : StoredMarkSources(state.TitleName);
    if (!wrong.isEmpty()) {
        std::fprintf(stderr, "quorvel-render: --marks cannot read %s\n",
                     qPrintable(wrong.join(QStringLiteral(", "))));
        return false;
    }
    const QDate from(state.year.selectedYear(), state.year.startMonth(), 1);
    QStringList problems;
    const auto session = Store::Application::shared()->GetNamespace(QStringLiteral("MAPI"));
    state.marks = std::make_shared<DayMarks>(
        LoadDayMarks(sources, from, from.addMonths(12).addDays(-1), session.get(), &problems));
    for (const QString &p : problems)
        std::fprintf(stderr, "quorvel-render: %s\n", qPrintable(p));
    return true;
}

// Puts the document in output's place whole, or says why it cannot; an old file there stays as
// it was on failure.
bool WriteOutput(const QString &output, const QByteArray &document)
{
    if (const int error = ReplaceFile(output, document)) {
        std::fprintf(stderr, "quorvel-render: cannot write %s: %s\n", qPrintable(output),
                     qPrintable(FileErrorDescription(error)));
        return false;
    }
    return true;
}

// The year over printed pages, as the print preview shows them with the stored settings of
// the planner's title, into a PDF file.
int PrintToPdf(PlannerState &state, const QString &output, const QCommandLineParser &parser)
{
    PageLayoutTarget paper;
    PrintPreview preview(state, paper);
    if (!preview.open())
        return 1;
    bool ok = true;
    if (parser.isSet("paper") && !PageSizeOfCode(parser.value("paper").toInt(&ok)).isValid()) {
        std::fprintf(stderr, "quorvel-render: --paper takes a paper size code (9 is A4)\n");
        return 2;
    }
    if (parser.isSet("paper"))
        paper.setPaperSize(parser.value("paper").toInt());
    if (parser.isSet("orientation"))
        paper.setOrientation(parser.value("orientation") == "portrait" ? 1 : 2);
    if (preview.Paginate() != PrintPreview::Outcome::Laid)
        return 1;
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&document);
    pdf.setTitle(PageHeading(preview.year(), preview.settings()).section('\n', 0, 0));
    pdf.setCreator("Quorvel");
    pdf.setPageLayout(paper.layout());
    pdf.setResolution(paper.resolution());
    if (!preview.print(pdf)) {
        std::fprintf(stderr, "quorvel-render: cannot write %s\n", qPrintable(output));
        return 1;
    }
    if (!WriteOutput(output, document.data()))
        return 1;
    std::printf("%s: year %d, %d appointments, %d pages (%s)\n", qPrintable(output),
                state.year.selectedYear(), state.store->Count(), preview.pageCount(),
                qPrintable(preview.status().section("  ", 1)));
    return 0;
}

void DescribeOptions(QCommandLineParser &parser)
{
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) {
        return QCoreApplication::translate("quorvel-render", text);
    };
    parser.setApplicationDescription(said(QT_TRANSLATE_NOOP(
        "quorvel-render", "Draws a planner year into a PNG or PDF file, or prints it "
                          "over pages into a PDF file (--pages).")));
    parser.addHelpOption();
    parser.addPositionalArgument(
        "output", said(QT_TRANSLATE_NOOP("quorvel-render",
                                         "The file to write, .png or .pdf (not with --pages).")));
    AddStoreOptions(parser);
    parser.addOptions({
        {"folder",
         said(QT_TRANSLATE_NOOP(
             "quorvel-render",
             "The calendar folder (store name and folders, separated by \\); default: "
             "the default calendar.")),
         "path"},
        {"cache",
         said(
             QT_TRANSLATE_NOOP("quorvel-render", "Draw from this cache file instead of a folder.")),
         "file"},
        {"year",
         said(QT_TRANSLATE_NOOP("quorvel-render",
                                "Selected year (default: the planner year of today).")),
         "year"},
        {"start-month",
         said(QT_TRANSLATE_NOOP("quorvel-render",
                                "First month of the planner year, 1-12 (default 1).")),
         "month", "1"},
        {"size",
         said(QT_TRANSLATE_NOOP("quorvel-render", "Image size in pixels (default 1600x900).")),
         "WxH", "1600x900"},
        {"subjects",
         said(QT_TRANSLATE_NOOP("quorvel-render", "Write the subjects into the bars."))},
        {"all-events", said(QT_TRANSLATE_NOOP(
                           "quorvel-render", "Show timed appointments too, not only whole days."))},
        {"no-headings",
         said(QT_TRANSLATE_NOOP("quorvel-render", "Leave out the weekday and month headings."))},
        {"today",
         said(QT_TRANSLATE_NOOP("quorvel-render",
                                "The day to mark as today, YYYY-MM-DD (default: today).")),
         "date"},
        {"locale",
         said(QT_TRANSLATE_NOOP("quorvel-render",
                                "Month and weekday names of this locale (default: the user's).")),
         "name"},
        {"title",
         said(QT_TRANSLATE_NOOP(
             "quorvel-render",
             "The planner title whose category colours, filter and print settings to use "
             "(default: Default).")),
         "title", "Default"},
        {"pages",
         said(QT_TRANSLATE_NOOP(
             "quorvel-render",
             "Print the year into this PDF file, over pages as the print preview lays them "
             "out with the title's stored print settings.")),
         "file"},
        {"paper",
         said(QT_TRANSLATE_NOOP(
             "quorvel-render",
             "With --pages: the paper size code instead of the stored one (8 A3, 9 A4, "
             "1 Letter).")),
         "code"},
        {"orientation",
         said(QT_TRANSLATE_NOOP(
             "quorvel-render",
             "With --pages: portrait or landscape instead of the stored orientation.")),
         "portrait|landscape"},
        {"marks",
         said(QT_TRANSLATE_NOOP(
             "quorvel-render",
             "Days to mark under the year instead of the title's: holidays:REGION (DE_BY, FR; "
             "+regional for those of parts of it), calendar:Store\\Folder, file:FILE.ics or "
             "subscription:URL (a web calendar vdirsyncer has fetched), separated by commas.")),
         "sources"},
        {"week-numbers",
         said(QT_TRANSLATE_NOOP("quorvel-render", "Number the weeks on the grid."))},
    });
}

// The folder's categories and the year's appointments into state, through the cache (or from
// the cache file given); false, with a message on standard error, when they cannot be read.
bool LoadYear(const QCommandLineParser &parser, PlannerState &state, Dialogs &dialogs)
{
    try {
        Store::Application::setSharedOptions(StoreOptionsFrom(parser));
        const auto session = Store::Application::shared()->GetNamespace(QStringLiteral("MAPI"));
        const Store::FolderPtr folder = parser.isSet("folder")
                                            ? Store::FolderAtPath(*session, parser.value("folder"))
                                            : session->GetDefaultFolder(Store::olFolderCalendar);
        if (!folder) {
            std::fprintf(stderr, "quorvel-render: %s\n",
                         qPrintable(Store::NoFolderMessage(*session, parser.value("folder"))));
            return false;
        }
        if (!parser.isSet("cache"))
            return LoadThroughSession(folder->FolderPath(), state, dialogs);
        // A cache file given: drawn as it is, with the colours the planner of that title keeps.
        CategoryStore(dialogs, session, folder->EntryID(), folder->StoreID())
            .LoadCategories(state.categories, CategoryStore::kSubjectPrefix + state.TitleName);
        if (!QFileInfo::exists(parser.value("cache")) ||
            !CacheLoader().LoadCache(state, parser.value("cache"))) {
            std::fprintf(stderr, "quorvel-render: %s could not be read\n",
                         qPrintable(parser.value("cache")));
            return false;
        }
    } catch (const QvError &e) {
        std::fprintf(stderr, "quorvel-render: %s\n", qPrintable(ErrorTail(e)));
        return false;
    }
    return true;
}

// The whole year on one landscape A4 page, or in an image of width x height pixels; false when
// the file cannot be written (the message is printed).
bool DrawYear(const QString &output, QSize pixels, PlannerState &state,
              const YearPaintOptions &options)
{
    HitMap hits;
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    if (output.endsWith(".pdf", Qt::CaseInsensitive)) {
        QPdfWriter pdf(&document);
        pdf.setTitle(QStringLiteral("Year %1").arg(state.year.selectedYear()));
        pdf.setCreator("Quorvel");
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setResolution(300);
        {
            QPainter painter(&pdf);
            if (!painter.isActive())
                return false;
            PaintYear(painter, QRect(0, 0, pdf.width(), pdf.height()), 300, state, options, hits);
        }
        return WriteOutput(output, document.data());
    }
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintYear(painter, image.rect(), 96, state, options, hits);
    }
    const QByteArray format = QFileInfo(output).suffix().toLower().toLatin1();
    if (!image.save(&document, format.isEmpty() ? "png" : format.constData())) {
        std::fprintf(stderr, "quorvel-render: cannot write %s\n", qPrintable(output));
        return false;
    }
    return WriteOutput(output, document.data());
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no window is ever shown
    QGuiApplication app(argc, argv);
    LoadTranslations(app);
    Store::UseDesktopCalendars();
    QCoreApplication::setApplicationName("quorvel-render");
    QCommandLineParser parser;
    DescribeOptions(parser);
    parser.process(app);
    const bool pages = parser.isSet("pages");
    if (parser.positionalArguments().size() != (pages ? 0 : 1))
        parser.showHelp(2);
    const QString output = pages ? parser.value("pages") : parser.positionalArguments()[0];

    StreamDialogs dialogs;
    PlannerState state(dialogs);
    state.DisplaySubject = parser.isSet("subjects");
    state.AllEvents = parser.isSet("all-events");
    UsePlannerTitle(state, parser.value("title"));
    const QDate today = parser.isSet("today")
                            ? QDate::fromString(parser.value("today"), Qt::ISODate)
                            : QDate::currentDate();
    bool ok = true;
    const int startMonth = parser.value("start-month").toInt(&ok);
    if (!ok || !today.isValid() || !state.year.setStartMonth(qint16(startMonth))) {
        std::fprintf(stderr, "quorvel-render: --start-month is 1-12, --today YYYY-MM-DD\n");
        return 2;
    }
    const int year = parser.isSet("year") ? parser.value("year").toInt(&ok)
                                          : state.year.PlannerYearOf(OADate::fromDateTime(today));
    const QStringList size = parser.value("size").split('x');
    const int width = size.value(0).toInt(), height = size.value(1).toInt();
    if (!ok || year < 100 || year > 9998 || width < 320 || height < 200 || width > 20000 ||
        height > 20000) {
        std::fprintf(stderr, "quorvel-render: --year 100-9998, --size between 320x200 and "
                             "20000x20000\n");
        return 2;
    }
    state.year.setSelectedYear(qint16(year));
    const QLocale locale = parser.isSet("locale") ? QLocale(parser.value("locale")) : QLocale();
    SetEventKeyLocale(locale);
    if (!LoadYear(parser, state, dialogs))
        return 1;
    if (!MarkDays(parser, state))
        return 2;
    state.WeekNumbers = state.WeekNumbers || parser.isSet("week-numbers");

    YearPaintOptions options;
    options.names = LoadCalendarNames(locale);
    options.headings = !parser.isSet("no-headings");
    options.today = OADate::fromDateTime(today);
    options.weekendColour =
        WeekendColourOf(ClientVersion::of(Store::Application::shared()->Version()), RegIO(dialogs));
    if (pages)
        return PrintToPdf(state, output, parser);
    if (!DrawYear(output, QSize(width, height), state, options))
        return 1;
    std::printf("%s: year %d, %d appointments\n", qPrintable(output), year, state.store->Count());
    return 0;
}
