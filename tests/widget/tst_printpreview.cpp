#include "calevent.h"
#include "papers.h"
#include "printertarget.h"
#include "printoptionsdialog.h"
#include "printpreviewwindow.h"
#include "printsettings.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "translations.h"
#include "usersettings.h"
#include "yearplan.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The preview of a planner year with a few appointments, printed to PDF (no printer here), with
// the print settings of a private home.
class PreviewTest : public ::testing::Test
{
protected:
    PreviewTest()
    {
        state.year = PlannerYear(2026, 1);
        state.TitleName = "Preview";
        state.categories = {{"Work", "Travel", "Other"}, {0x0000FF, 0x00FF00, 0xCCCCCC}};
        for (int m = 1; m <= 12; ++m) {
            auto e = std::make_unique<CalEvent>();
            e->EventID = QStringLiteral("trip%1").arg(m);
            e->Subject = QStringLiteral("Trip %1").arg(m);
            e->StartDate = At(2026, m, 4);
            e->EndDate = At(2026, m, 9);
            e->CatIndex = 2;
            PlaceEvent(*e, state.year);
            state.store->Add(std::move(e));
        }
    }
    void store(const QString &key, const QString &value)
    {
        QSettings s = UserSettings();
        s.setValue("Printing/" + key, value);
    }
    std::unique_ptr<PrintPreviewWindow> open()
    {
        auto window = std::make_unique<PrintPreviewWindow>(state, ClientVersion{16});
        window->show();
        QApplication::processEvents();
        return window;
    }
    static void click(QWidget *w, QPoint at = {10, 10})
    {
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    // Whatever the page setup dialog is asked to do once it shows.
    static void whenOptionsShown(const std::function<void(PrintOptionsDialog &)> &act)
    {
        QTimer::singleShot(0, [act] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<PrintOptionsDialog *>(w); d && d->isVisible())
                    act(*d);
        });
    }

    QTemporaryDir dir;
    ScopedSettingsHome home{dir.path()};
    ScriptedDialogs dialogs;
    PlannerState state{dialogs};
};

} // namespace

TEST_F(PreviewTest, OnePageWithItsToolbarAndStatus)
{
    auto window = open();
    EXPECT_EQ(window->windowTitle(), "Print preview");
    QStringList keys, tips;
    for (QAction *a : window->findChild<QToolBar *>("tbPreview")->actions()) {
        keys << (a->isSeparator() ? "|" : a->objectName());
        tips << a->toolTip();
    }
    EXPECT_EQ(keys, (QStringList{"Print", "PrintSetup", "PageSetup", "|", "Zoom", "Back", "Next"}));
    EXPECT_EQ(tips[0], "Print year planner");
    EXPECT_EQ(tips[1], "Printer setup");
    EXPECT_EQ(tips[2], "Page setup - header, bands and margins");
    EXPECT_EQ(tips[4], "Zoom");
    EXPECT_EQ(tips[5], "Back one page");
    EXPECT_EQ(tips[6], "Next page");
    EXPECT_EQ(window->findChild<QLineEdit *>("txtStatus")->text(),
              "Page 1 of 1  Landscape A4, 210 x 297 mm");
    EXPECT_FALSE(window->action("Back")->isEnabled());
    EXPECT_FALSE(window->action("Next")->isEnabled());
    // The canvas is one landscape A4 page at the screen's resolution, and something is on it.
    const QImage &page = window->pageImage();
    EXPECT_NEAR(page.width(), 297 / 25.4 * 96, 1.5);
    EXPECT_NEAR(page.height(), 210 / 25.4 * 96, 1.5);
    EXPECT_NE(page.pixel(page.width() / 2, page.height() / 2), page.pixel(5, 5));
    EXPECT_EQ(QSettings(UserSettings().fileName(), QSettings::IniFormat)
                  .value("Printing/StartMonth")
                  .toString(),
              "1");
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

TEST_F(PreviewTest, PagingAndZoomingThroughSeveralPages)
{
    store("Band Height", "567");
    auto window = open();
    ASSERT_EQ(window->preview().pageCount(), 4);
    QLineEdit *status = window->findChild<QLineEdit *>("txtStatus");
    QWidget *canvas = window->findChild<QWidget *>("pic1");
    QWidget *viewport = window->findChild<QWidget *>("picParent");
    EXPECT_FALSE(window->action("Back")->isEnabled());
    EXPECT_TRUE(window->action("Next")->isEnabled());
    const QImage first = window->pageImage().copy();

    window->action("Next")->trigger();
    EXPECT_EQ(status->text(), "Page 2 of 4  Landscape A4, 210 x 297 mm");
    EXPECT_TRUE(window->action("Back")->isEnabled());
    EXPECT_NE(window->pageImage(), first);

    // Zoom by clicking the page: it fits the viewport with its proportions.
    click(canvas);
    ASSERT_TRUE(window->zoomed());
    EXPECT_TRUE(window->action("Zoom")->isChecked());
    EXPECT_TRUE(viewport->rect().contains(canvas->geometry()));
    EXPECT_NEAR(double(canvas->height()) / canvas->width(),
                double(window->pageImage().height()) / window->pageImage().width(), 0.01);
    EXPECT_EQ(canvas->width(), viewport->width() - 40) << "landscape: as wide as there is room";
    for (QScrollBar *bar : window->findChildren<QScrollBar *>())
        EXPECT_FALSE(bar->isVisible());

    // Paging keeps the zoom.
    window->action("Next")->trigger();
    window->action("Next")->trigger();
    EXPECT_EQ(status->text(), "Page 4 of 4  Landscape A4, 210 x 297 mm");
    EXPECT_TRUE(window->zoomed());
    EXPECT_FALSE(window->action("Next")->isEnabled());
    window->action("Back")->trigger();
    EXPECT_EQ(window->preview().currentPage(), 3);

    window->action("Zoom")->trigger();
    EXPECT_FALSE(window->zoomed());
    EXPECT_EQ(canvas->size(), window->pageImage().size());
    EXPECT_EQ(canvas->pos(), QPoint(20, 20));
}

TEST_F(PreviewTest, APortraitPageZoomsToTheViewportsHeight)
{
    store("Orientation", "1");
    auto window = open();
    ASSERT_GT(window->pageImage().height(), window->pageImage().width());
    window->action("Zoom")->trigger();
    QWidget *canvas = window->findChild<QWidget *>("pic1");
    QWidget *viewport = window->findChild<QWidget *>("picParent");
    EXPECT_EQ(canvas->height(), viewport->height() - 40);
    EXPECT_EQ(canvas->y(), 20);
    EXPECT_NEAR(canvas->x() * 2 + canvas->width(), viewport->width(), 1) << "centred across";
}

TEST_F(PreviewTest, TheWheelScrollsThePage)
{
    auto window = open();
    QScrollBar *down = nullptr;
    for (QScrollBar *bar : window->findChildren<QScrollBar *>())
        if (bar->orientation() == Qt::Vertical)
            down = bar;
    ASSERT_TRUE(down);
    ASSERT_TRUE(down->isVisible()) << "the offscreen screen is smaller than the page";
    QWidget *canvas = window->findChild<QWidget *>("pic1");
    const int top = canvas->y();
    QWheelEvent notch(QPointF(50, 50), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->findChild<QWidget *>("picParent"), &notch);
    EXPECT_EQ(down->value(), 3 * down->singleStep());
    EXPECT_EQ(canvas->y(), top - down->value());
    // Half notches add up.
    QWheelEvent half(QPointF(50, 50), QPointF(), QPoint(), QPoint(0, -60), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &half);
    EXPECT_EQ(down->value(), 3 * down->singleStep());
    QApplication::sendEvent(canvas, &half);
    EXPECT_EQ(down->value(), 6 * down->singleStep());
}

TEST_F(PreviewTest, APaperChangeIsStoredAndLaidOut)
{
    auto window = open();
    window->setPrinterSetup([](QWidget *, PrinterTarget &printer) {
        printer.setPaperSize(8);
        printer.setOrientation(1);
        return true;
    });
    window->action("PrintSetup")->trigger();
    EXPECT_EQ(UserSettings().value("Printing/PaperSize").toString(), "8");
    EXPECT_EQ(UserSettings().value("Printing/Orientation").toString(), "1");
    EXPECT_EQ(window->findChild<QLineEdit *>("txtStatus")->text(),
              "Page 1 of 1  Portrait A3, 297 x 420 mm");
    EXPECT_NEAR(window->pageImage().height(), 420 / 25.4 * 96, 1.5);

    // A cancelled setup changes nothing.
    window->setPrinterSetup([](QWidget *, PrinterTarget &printer) {
        printer.setPaperSize(9);
        return false;
    });
    window->action("PrintSetup")->trigger();
    EXPECT_EQ(UserSettings().value("Printing/PaperSize").toString(), "8");
}

TEST_F(PreviewTest, APdfPrintersSetupOffersPaperButNotItsOwnMargins)
{
    PrinterTarget target;
    if (!target.toPdf())
        GTEST_SKIP() << "a printer is installed here";
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto *top = dialog->findChild<QWidget *>("topMargin");
        ASSERT_TRUE(top) << "the margin boxes are there to hide";
        EXPECT_FALSE(top->isVisibleTo(dialog)) << "Page Setup's margins are the ones printed";
        auto *paper = dialog->findChild<QWidget *>("pageSizeCombo");
        ASSERT_TRUE(paper);
        EXPECT_TRUE(paper->isVisibleTo(dialog));
        seen = true;
        dialog->reject();
    });
    EXPECT_FALSE(ShowPrinterSetup(nullptr, target));
    EXPECT_TRUE(seen);
}

TEST_F(PreviewTest, PageSetupDialog)
{
    auto window = open();
    whenOptionsShown([](PrintOptionsDialog &d) {
        EXPECT_EQ(d.windowTitle(), "Print Options");
        EXPECT_FALSE(d.findChild<QCheckBox *>("chkReprint")->isVisibleTo(&d)) << "one page";
        EXPECT_EQ(d.findChild<QComboBox *>("cmbStart")->count(), 12);
        EXPECT_EQ(d.findChild<QComboBox *>("cmbStart")->itemText(0), "Jan");
        // The typing filter: letters are refused, digits taken; no full stop in the bands.
        QLineEdit *height = d.findChild<QLineEdit *>("txtMinBandW");
        QLineEdit *bands = d.findChild<QLineEdit *>("txtMinBandNo");
        height->clear();
        for (const QString key : {"a", "1", "0", "."}) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
            QApplication::sendEvent(height, &press);
            QApplication::sendEvent(bands, &press);
        }
        EXPECT_EQ(height->text(), "10.");
        EXPECT_EQ(bands->text(), "310");
        bands->setText("3");
        d.findChild<QPushButton *>("cmdOK")->click();
    });
    window->action("PageSetup")->trigger();
    EXPECT_EQ(UserSettings().value("Printing/Band Height").toString(), "567");
    EXPECT_EQ(window->preview().pageCount(), 4) << "laid out again at once";
    EXPECT_EQ(window->findChild<QLineEdit *>("txtStatus")->text(),
              "Page 1 of 4  Landscape A4, 210 x 297 mm");
    EXPECT_EQ(dialogs.waiting(), 0);

    // Now the legend fits on one page of several: reprinting it is offered. Units change at once,
    // even when the dialog is cancelled.
    whenOptionsShown([](PrintOptionsDialog &d) {
        EXPECT_TRUE(d.findChild<QCheckBox *>("chkReprint")->isVisibleTo(&d));
        d.findChild<QRadioButton *>("optInch")->click();
        EXPECT_EQ(d.findChild<QLineEdit *>("txtMLeft")->text(), "0.8");
        EXPECT_EQ(d.findChild<QLineEdit *>("txtMinBandW")->text(), "0.4");
        d.findChild<QLineEdit *>("txtMLeft")->setText("3");
        d.findChild<QPushButton *>("cmdCancel")->click();
    });
    window->action("PageSetup")->trigger();
    EXPECT_EQ(UserSettings().value("Printing/Units").toString(), "Inch");
    EXPECT_EQ(UserSettings().value("Printing/Left Margin").toString(), "1134")
        << "as the first OK left it";
}

TEST_F(PreviewTest, PrintingWithoutAPrinterWritesAPdf)
{
    store("Band Height", "567");
    auto window = open();
    ASSERT_TRUE(window->printer().toPdf());
    const QString path = dir.filePath("year.pdf");
    dialogs.queueFileName(path);
    window->action("Print")->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs.shown()[0].saveFile.initialName, "Year 2026.pdf");
    EXPECT_EQ(dialogs.shown()[1].text, "The pages are in " + path) << "where they went";
    EXPECT_EQ(dialogs.shown()[1].icon, Dialogs::Icon::Information);
    const QByteArray pdf = ReadAll(path);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              4);

    EXPECT_FALSE(QFileInfo::exists(dir.filePath(".~year.pdf.tmp")))
        << "the temp file took its place";

    // A print that cannot be finished leaves the earlier PDF whole.
    dialogs.clear();
    ASSERT_TRUE(QDir().mkpath(dir.filePath(".~year.pdf.tmp/in the way")));
    dialogs.queueFileName(path);
    window->action("Print")->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].text, "The pages could not be written to " + path);
    EXPECT_EQ(ReadAll(path), pdf);
    QDir(dir.filePath(".~year.pdf.tmp")).removeRecursively();

    // A file that cannot be written says so.
    dialogs.clear();
    dialogs.queueFileName(dir.filePath("no/such/folder/year.pdf"));
    window->action("Print")->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].text,
              "The pages could not be written to " + dir.filePath("no/such/folder/year.pdf"));
    // Cancelling the file dialog prints nothing.
    dialogs.clear();
    window->action("Print")->trigger();
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.waiting(), 0);
}

TEST_F(PreviewTest, CancelOnAPageThatWillNotFitClosesThePreview)
{
    store("Band Height", "567");
    store("Bands", "40");
    PrintPreviewWindow window(state, ClientVersion{16});
    dialogs.queueAnswer(Dialogs::Answer::Cancel);
    QTimer::singleShot(5000, &window, &QDialog::accept); // never hang
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, "Print");
    EXPECT_TRUE(dialogs.texts()[0].startsWith("Events for January will not all fit onto the page"));
}

TEST_F(PreviewTest, ThePlannersPrintButtonOpensThePreview)
{
    QTemporaryDir storeDir;
    QDir().mkpath(storeDir.path() + "/Team/Calendar");
    WriteAll(storeDir.path() + "/Team/.quorvel-store", "[Store]\nName=Team\nUserName=Ana\n");
    const QByteArray y = QByteArray::number(QDate::currentDate().year());
    WriteAll(storeDir.path() + "/Team/Calendar/a.ics",
             Vevent("a", "SUMMARY:Away\r\nDTSTART;VALUE=DATE:" + y +
                             "0310\r\nDTEND;VALUE=DATE:" + y + "0312\r\n"));
    Store::ProfileOptions options;
    options.storeDir = storeDir.path() + "/Team";
    Store::Application::setSharedOptions(options);
    ScopedEnv tmp("TMP", QFile::encodeName(storeDir.path()));
    {
        YearPlan plan(nullptr, &dialogs);
        plan.resize(1200, 800);
        plan.show();
        plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar"}}));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000 &&
               (plan.pendingUpdates() > 0 || plan.state().store->Count() == 0))
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_EQ(plan.state().store->Count(), 1);
        const auto screenBands = plan.state().RowBands;
        store("Bands", "4");

        QString shown;
        QTimer::singleShot(0, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *p = qobject_cast<PrintPreviewWindow *>(w); p && p->isVisible()) {
                    shown = p->findChild<QLineEdit *>("txtStatus")->text();
                    EXPECT_EQ(p->preview().layout().rowBands[12], 60)
                        << "five bands a month on paper";
                    p->close();
                }
        });
        plan.toolBar()->findChild<QToolButton *>("Print")->click();
        EXPECT_EQ(shown, "Page 1 of 1  Landscape A4, 210 x 297 mm");
        EXPECT_EQ(plan.state().RowBands, screenBands) << "the screen's layout is its own";
        EXPECT_EQ(dialogs.waiting(), 0);
    }
    Store::Application::setSharedOptions({});
}

// The longer German and French texts: nothing on the print options or the preview's toolbar is
// cut off.
TEST_F(PreviewTest, LongTranslationsAreNotCutOff)
{
    for (const QLocale &locale :
         {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::France)}) {
        SCOPED_TRACE(qPrintable(locale.name()));
        LoadTranslations(*QCoreApplication::instance(), locale);
        PrintSettings settings;
        settings.LoadPrintSettings("Default", 1, true);
        PrintOptionsDialog options(settings, dialogs, true);
        options.show();
        QApplication::processEvents();
        EXPECT_NE(options.windowTitle(), "Print Options") << "translated";
        for (QWidget *w : options.findChildren<QWidget *>()) {
            if (!w->isVisible() ||
                !(qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)))
                continue;
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << qPrintable(w->objectName());
            EXPECT_TRUE(options.rect().contains(QRect(w->mapTo(&options, QPoint()), w->size())))
                << qPrintable(w->objectName());
        }
        auto window = open();
        QToolBar *bar = window->findChild<QToolBar *>("tbPreview");
        EXPECT_EQ(bar->actions().first()->text(),
                  locale.language() == QLocale::German ? "Drucken" : "Imprimer");
        for (QAction *a : bar->actions()) {
            QWidget *b = bar->widgetForAction(a);
            if (b && !a->isSeparator()) {
                EXPECT_GE(b->width(), b->minimumSizeHint().width()) << qPrintable(a->objectName());
            }
        }
    }
    UnloadTranslations(*QCoreApplication::instance());
}
