// quorvel: plays the calendar client's part for the planner. Opens a folder of the calendar
// store, reads the planner page its home page names (or takes the folder with default
// settings) and shows the year planner in a window.

#include "calendarstore.h"
#include "commandline.h"
#include "desktopcalendars.h"
#include "dialogs.h"
#include "edscalendars.h"
#include "homepage.h"
#include "hostbus.h"
#include "marksources.h"
#include "plannerwindow.h"
#include "qverror.h"
#include "remotesyncher.h"
#include "storedialogs.h"
#include "syncher.h"
#include "translations.h"
#include "yearplan.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPainter>
#include <QSettings>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

QIcon AppIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 3));
    p.drawRoundedRect(4, 8, 56, 50, 6, 6);
    const QColor bars[] = {QColor(0xA6, 0xDD, 0x9F), QColor(0xF7, 0xB2, 0x81),
                           QColor(0x97, 0xB4, 0xE4)};
    for (int i = 0; i < 3; ++i)
        p.fillRect(12 + 8 * i, 18 + 12 * i, 28, 7, bars[i]);
    return QIcon(pixmap);
}

// The bundled demo calendar: in the source tree of a build, else installed beside the program.
QString DemoStore()
{
    const QString built = QStringLiteral(QUORVEL_DEMO_STORE);
    if (QFileInfo::exists(built))
        return built;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quorvel/demo");
}

void name(QCoreApplication &app)
{
    app.setApplicationName(QStringLiteral("Quorvel"));
    app.setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    app.setOrganizationName(QStringLiteral("Quorvel"));
}

// Help and version are printed without opening a window, so they work where there is no display.
bool asksForText(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-h" || a == "--help" || a == "-?" || a == "--help-all" || a == "-v" ||
            a == "--version")
            return true;
    }
    return false;
}

// Whether the desktop's calendar service runs and names a default calendar.
bool HasDesktopDefaultCalendar()
{
    const std::shared_ptr<Store::DesktopCalendars> desktop = Store::ConnectDesktopCalendars();
    return desktop && !desktop->defaultCalendar().isEmpty();
}

// The calendar opened from the window last time (or an account's connected since) where the
// session has it, else the session's default calendar; where the store names none of several,
// the one picked in the folder browser when ask (null when it is closed).
Store::FolderPtr DefaultFolder(Store::NameSpace &session, bool ask)
{
    if (Store::FolderPtr folder = RememberedFolder(session))
        return folder;
    try {
        return session.GetDefaultFolder(Store::olFolderCalendar);
    } catch (const QvError &) {
        if (!ask)
            throw;
    }
    return session.PickFolder();
}

// mayAsk: the folder browser may be shown when a store has several calendars and none is its
// default.
OpenedFolder OpenFolder(const QCommandLineParser &parser, bool mayAsk)
{
    Store::ProfileOptions options;
    options.profile = parser.value("profile");
    options.storeDir = parser.value("store");
    if (options.profile.isEmpty() && options.storeDir.isEmpty() &&
        !QFileInfo::exists(options.profilePath()) && Store::KnownCalendars().isEmpty() &&
        !HasDesktopDefaultCalendar())
        options.storeDir = DemoStore();
    Store::Application::setSharedOptions(options);

    OpenedFolder opened;
    try {
        Store::NameSpacePtr session = Store::Application::shared()->GetNamespace("MAPI");
        Store::FolderPtr folder;
        if (parser.isSet("folder-id"))
            folder = session->GetFolderFromID(parser.value("folder-id"));
        else if (parser.isSet("folder"))
            folder = Store::FolderAtPath(*session, parser.value("folder"));
        else
            folder = DefaultFolder(*session, mayAsk && parser.isSet("store"));
        if (!folder) {
            opened.error = Store::NoFolderMessage(*session, parser.value("folder"));
            return opened;
        }
        opened = OpenedOf(*folder);
    } catch (const QvError &e) {
        opened.error = e.description();
    }
    return opened;
}

// Queued, so that the name stays owned while any planner runs.
void ClaimHostName()
{
    if (QDBusConnection::sessionBus().isConnected())
        QDBusConnection::sessionBus().interface()->registerService(
            QLatin1String(kPlannerHostBusName), QDBusConnectionInterface::QueueService,
            QDBusConnectionInterface::DontAllowReplacement);
}

// The size asked for, else the one the window had when last closed; false for a size that is
// no size.
bool SizeWindow(QMainWindow &window, const QCommandLineParser &parser, const QSettings &settings)
{
    if (parser.isSet("window-size")) {
        const QSize size = WindowSizeOption(parser.value("window-size"));
        if (!size.isValid())
            return false;
        window.resize(size);
    } else if (!window.restoreGeometry(settings.value("Host/geometry").toByteArray())) {
        window.resize(1280, 760);
    }
    return true;
}

void PrintProperties(const Planner &p)
{
    std::printf("TitleName=%s\nFolder=%s\nAllEvents=%d\nDisplaySubject=%d\n"
                "HideNonCategoryItems=%d\nStartMonth=%d\n",
                qPrintable(p.TitleName()), qPrintable(p.Folder()), p.AllEvents(),
                p.DisplaySubject(), p.HideNonCategoryItems(), p.StartMonth());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (asksForText(argc, argv)) {
        QCoreApplication core(argc, argv);
        name(core);
        LoadTranslations(core);
        QCommandLineParser parser;
        DescribeHostOptions(parser);
        parser.process(core); // prints and leaves
        return 0;
    }
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    Store::UseDesktopCalendars();
    name(app);
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvel"));
    LoadTranslations(app);
    QCommandLineParser parser;
    DescribeHostOptions(parser);
    parser.process(app);
    const bool measure = parser.isSet("measure-startup");
    const QString screenshot = parser.value("screenshot");
    const bool printProperties = parser.isSet("print-properties");
    // Scripted runs never wait for somebody to close a box: messages go to standard error.
    const bool scripted = measure || !screenshot.isEmpty() || printProperties;
    const bool desktop = !scripted &&
                         QGuiApplication::platformName() != QLatin1String("offscreen") &&
                         QGuiApplication::platformName() != QLatin1String("minimal");
    auto fail = [desktop](const QString &text) {
        std::fprintf(stderr, "quorvel: %s\n", qPrintable(text));
        if (desktop)
            QMessageBox::critical(nullptr, QStringLiteral("Quorvel"), text);
        return 1;
    };

    ClaimHostName();
    StoreDialogs storeUi;
    Store::SetStoreUi(&storeUi);
    OpenedFolder opened = OpenFolder(parser, desktop);
    if (!opened.error.isEmpty())
        return fail(opened.error);
    int firstYear = 0;
    const QString wrong = ApplyPlannerOptions(parser, opened.bag, firstYear);
    if (!wrong.isEmpty())
        return fail(wrong);

    StreamDialogs toStandardError;
    PlannerWindow window(scripted ? &toStandardError : nullptr);
    window.setWindowIcon(AppIcon());
    QSettings settings;
    if (!SizeWindow(window, parser, settings))
        return fail(QCoreApplication::translate(
            "quorvel", "--window-size is a width and a height in pixels, e.g. 700x450"));

    int result = 0;
    if (scripted) {
        // Once the year of the cache is drawn (or after a while, when there is none).
        auto finish = [&] {
            if (measure)
                std::printf("first year drawn after %lld ms\n", sinceStart.elapsed());
            if (!screenshot.isEmpty()) {
                // The window drawn into a picture at its device pixels: a grab of the screen
                // takes device pixels at the window's logical size, a quarter of it at scale 2.
                if (!window.grab().save(screenshot)) {
                    std::fprintf(stderr, "quorvel: cannot write %s\n", qPrintable(screenshot));
                    result = 1;
                }
            }
            app.quit();
        };
        QObject::connect(&window, &PlannerWindow::plannerShown, &app, [&, finish](YearPlan *p) {
            QObject::connect(p, &YearPlan::yearDrawn, &app, [p, measure, &app, finish] {
                if (p->state().store->Count() > 0 && p->pendingUpdates() == 0)
                    QTimer::singleShot(measure ? 0 : 300, &app, finish);
            });
        });
        QTimer::singleShot(15000, &app, finish);
    }
    window.show();
    window.showCalendar(opened);
    YearPlan *planner = window.planner();
    if (parser.isSet("marks") || parser.isSet("week-numbers")) {
        QStringList wrong;
        const QList<MarkSource> marks = parser.isSet("marks")
                                            ? ParseMarkSources(parser.value("marks"), &wrong)
                                            : planner->planner().session().markSources();
        if (!wrong.isEmpty())
            return fail(QCoreApplication::translate("quorvel", "--marks cannot read %1")
                            .arg(wrong.join(", ")));
        planner->state().WeekNumbers = planner->state().WeekNumbers || parser.isSet("week-numbers");
        planner->planner().setMarkSources(marks, false);
    }
    if (firstYear)
        planner->ChangeYear(firstYear - planner->state().year.selectedYear());
    if (printProperties) {
        PrintProperties(planner->planner());
        return 0;
    }
    const int exitCode = app.exec();
    if (!scripted)
        settings.setValue("Host/geometry", window.saveGeometry());
    Store::SetStoreUi(nullptr);
    return result ? result : exitCode;
}
