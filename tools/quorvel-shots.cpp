// quorvel-shots: pictures of the planner at work for the documentation, made without a display:
// the demo calendar with the pointer over an appointment (its tooltip and the date label), a pen
// drag across two month rows, the legend, the filter dialog, the print preview and its page
// setup; with --left-out, only the planner of a calendar some of whose files cannot be read, and
// the list of them. Usage: quorvel-shots --store DIR [--left-out] OUTPUT-DIRECTORY

#include "calendarstore.h"
#include "dialogs.h"
#include "filterdialog.h"
#include "printoptionsdialog.h"
#include "printpreviewwindow.h"
#include "qtdialogs.h"
#include "regio.h"
#include "storeoptions.h"
#include "syncher.h"
#include "yearplan.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <cstdio>

namespace {

void settle(YearPlan &plan)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000 && (plan.pendingUpdates() > 0 || plan.state().store->Count() == 0))
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();
}

QPoint cellOf(YearPlan &plan, int month, int day, int band)
{
    const PlannerYear &y = plan.state().year;
    const int row = y.RowOfMonth(month);
    const GridGeometry &g = plan.geometry();
    const double x = (y.LeadIn(row) + day - 0.5) * g.DayWidth;
    const double yy = (plan.state().RowBands[row - 1] + band - 0.5) * g.BandHeight;
    return QPoint(int(x / plan.px()), int(yy / plan.py()));
}

void send(QWidget *w, QEvent::Type type, QPoint at)
{
    QMouseEvent e(type, at, w->mapToGlobal(at),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The window, with the tooltip standing over it when there is one to show.
QImage picture(QWidget &window, bool withToolTip = false)
{
    QImage image = window.grab().toImage();
    QPainter p(&image);
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (withToolTip && top->isVisible() && top->inherits("QTipLabel"))
            p.drawPixmap(top->pos() - window.pos(), top->grab());
    }
    return image;
}

// The planner with the update indicator's status over its logo and the list of the files left
// out in front; the planner's messages must be windows.
bool leftOutPicture(YearPlan &plan, const QString &file)
{
    QWidget *logo = plan.findChild<QWidget *>(QStringLiteral("imgLogo"));
    QToolTip::showText(logo->mapToGlobal(QPoint(0, logo->height())), logo->toolTip(), logo);
    QApplication::processEvents();
    QImage image = picture(plan, true);
    QToolTip::hideText();
    QImage box;
    QTimer::singleShot(300, [&] {
        if (QWidget *shown = QApplication::activeModalWidget()) {
            box = shown->grab().toImage();
            shown->close();
        }
    });
    plan.planner().ShowLeftOutFiles();
    // Offscreen windows have no frame: the box gets its title as a window manager would draw it.
    QPainter p(&image);
    const int title = 26;
    const QRect frame(image.width() - box.width() - 24, image.height() - box.height() - title - 24,
                      box.width(), box.height() + title);
    p.fillRect(frame.adjusted(0, 0, 0, -box.height()), QColor(0x3c, 0x4a, 0x5c));
    p.setPen(Qt::white);
    p.drawText(frame.adjusted(10, 0, 0, -box.height()), Qt::AlignVCenter,
               QStringLiteral("Calendar files left out"));
    p.drawImage(frame.left(), frame.top() + title, box);
    p.setPen(QColor(0x3c, 0x4a, 0x5c));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.end();
    return !box.isNull() && image.save(file);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("quorvel-shots");
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument("directory", "Where the pictures go.");
    parser.addOption({"left-out", "Only the picture of the calendar files left out."});
    AddStoreOptions(parser);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QDir out(parser.positionalArguments()[0]);
    Store::Application::setSharedOptions(StoreOptionsFrom(parser));

    // The list of files left out is a window of its own.
    StreamDialogs streamDialogs;
    QtDialogs windowDialogs;
    Dialogs &dialogs =
        parser.isSet("left-out") ? static_cast<Dialogs &>(windowDialogs) : streamDialogs;
    YearPlan plan(nullptr, &dialogs);
    plan.setSyncherFactory([&](const Store::ProfileOptions &store) {
        return std::make_unique<Syncher>(dialogs, store);
    });
    plan.resize(1280, 760);
    plan.move(0, 0);
    plan.show();
    plan.ReadProperties(MapPropertyBag({{"DisplaySubject", true}}));
    settle(plan);
    plan.ChangeYear(2026 - plan.state().year.selectedYear());
    settle(plan);
    if (parser.isSet("left-out")) {
        if (plan.planner().leftOutFiles().isEmpty() ||
            !leftOutPicture(plan, out.filePath("quorvel-left-out.png"))) {
            std::fprintf(stderr,
                         "quorvel-shots: no calendar files left out, or no picture of them\n");
            return 1;
        }
        std::printf("quorvel-left-out.png in %s\n", qPrintable(out.path()));
        return 0;
    }

    // Over an appointment: the first bar of April.
    QWidget *grid = plan.gridCanvas();
    const int april = plan.state().year.RowOfMonth(4);
    QPoint at;
    for (int day = 1; day <= 30 && at.isNull(); ++day) {
        const int column = plan.state().year.LeadIn(april) + day;
        if (!plan.hitMap().at(april, column, 2).isEmpty())
            at = cellOf(plan, 4, day, 2);
    }
    send(grid, QEvent::MouseMove, at);
    QToolTip::showText(grid->mapToGlobal(at) + QPoint(8, 16), grid->toolTip(), grid);
    QApplication::processEvents();
    const bool hover = picture(plan, true).save(out.filePath("quorvel-hover.png"));
    QToolTip::hideText();

    // The legend with a category picked: the pen over the grid.
    plan.newAppointmentMenu()->actions()[1]->trigger();
    send(grid, QEvent::MouseMove, cellOf(plan, 6, 17, 2));
    QApplication::processEvents();
    const bool legend = picture(plan).save(out.filePath("quorvel-legend.png"));
    plan.planner().SelectCategory(0);

    // A pen drag from the 27th of March to the 3rd of April, held before the release.
    plan.newAppointmentMenu()->actions()[0]->trigger();
    send(grid, QEvent::MouseMove, cellOf(plan, 3, 27, 1));
    send(grid, QEvent::MouseButtonPress, cellOf(plan, 3, 27, 1));
    send(grid, QEvent::MouseMove, cellOf(plan, 4, 3, 1));
    QApplication::processEvents();
    const bool drag = picture(plan).save(out.filePath("quorvel-pen-drag.png"));

    // The filter dialog with the master list included and two categories chosen.
    Planner &p = plan.planner();
    RegIO registry(dialogs);
    FilterModel filter(p.state().CategorySeparator);
    filter.SetFilter(QStringLiteral("Holiday") + p.state().CategorySeparator +
                     QStringLiteral("Travel"));
    FilterDialog filterDialog(
        filter, p.TitleName(), plan.GetStringList(), p.state().CategorySeparator, p.clientVersion(),
        [&] {
            return ReadMasterCategories(p.clientVersion(), registry, p.access()->session().get());
        },
        dialogs);
    filterDialog.show();
    filterDialog.findChild<QCheckBox *>("cbMasterList")->setChecked(true);
    QApplication::processEvents();
    const bool filtering = filterDialog.grab().save(out.filePath("quorvel-filter.png"));
    filterDialog.hide();

    // The print preview, zoomed to show the whole page, and its page setup.
    PrintPreviewWindow preview(p.state(), p.clientVersion());
    preview.show();
    preview.resize(1100, 820);
    QApplication::processEvents();
    preview.runCommand(QStringLiteral("Zoom"));
    QApplication::processEvents();
    const bool previewing = preview.grab().save(out.filePath("quorvel-print-preview.png"));
    PrintOptionsDialog pageSetup(preview.preview().settings(), dialogs,
                                 preview.preview().reprintOffered());
    pageSetup.show();
    QApplication::processEvents();
    const bool options = pageSetup.grab().save(out.filePath("quorvel-print-options.png"));
    if (!hover || !drag || !legend || !filtering || !previewing || !options) {
        std::fprintf(stderr, "quorvel-shots: cannot write into %s\n", qPrintable(out.path()));
        return 1;
    }
    std::printf("quorvel-hover.png, quorvel-pen-drag.png, quorvel-legend.png, quorvel-filter.png, "
                "quorvel-print-preview.png and quorvel-print-options.png in %s\n",
                qPrintable(out.path()));
    return 0;
}
