#include "printpreviewwindow.h"

#include "binaryfile.h"
#include "colours.h"
#include "dialogs.h"
#include "filereplacement.h"
#include "pagelayout.h"
#include "printoptionsdialog.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QWheelEvent>

#include <cstdio>

namespace {

constexpr int kMarginTwips = 300; // round the page inside the viewport
constexpr quint32 kStatusColour = 0xFFEDDF;

// The page canvas: the drawn page, at full size or shrunk into its rectangle when zoomed.
class PageCanvas : public QWidget
{
public:
    PageCanvas(const QImage &page, QWidget *parent) : QWidget(parent), m_page(page)
    {
        setObjectName(QStringLiteral("pic1"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (size() == m_page.size()) {
            painter.drawImage(0, 0, m_page);
            return;
        }
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_page);
    }

private:
    const QImage &m_page;
};

struct Button
{
    const char *key;
    const char *caption;
    const char *tooltip;
    const char *icon;
};
const Button kButtons[] = {
    {"Print", QT_TRANSLATE_NOOP("PrintPreviewWindow", "Print"),
     QT_TRANSLATE_NOOP("PrintPreviewWindow", "Print year planner"), "document-print"},
    {"PrintSetup", QT_TRANSLATE_NOOP("PrintPreviewWindow", "Printer"),
     QT_TRANSLATE_NOOP("PrintPreviewWindow", "Printer setup"), "printer"},
    {"PageSetup", QT_TRANSLATE_NOOP("PrintPreviewWindow", "Page Setup"),
     QT_TRANSLATE_NOOP("PrintPreviewWindow", "Page setup - header, bands and margins"),
     "document-page-setup"},
    {nullptr, nullptr, nullptr, nullptr},
    {"Zoom", QT_TRANSLATE_NOOP("PrintPreviewWindow", "Zoom"),
     QT_TRANSLATE_NOOP("PrintPreviewWindow", "Zoom"), "zoom-fit-best"},
    {"Back", QT_TRANSLATE_NOOP("PrintPreviewWindow", "Back"),
     QT_TRANSLATE_NOOP("PrintPreviewWindow", "Back one page"), "go-previous"},
    {"Next", QT_TRANSLATE_NOOP("PrintPreviewWindow", "Next"),
     QT_TRANSLATE_NOOP("PrintPreviewWindow", "Next page"), "go-next"},
};

} // namespace

PrintPreviewWindow::PrintPreviewWindow(const PlannerState &planner, ClientVersion client,
                                       QWidget *parent)
    : QDialog(parent), m_dialogs(planner.dialogs), m_preview(planner, m_printer)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(tr("Print preview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("tbPreview"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const Button &b : kButtons) {
        if (!b.key) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction *action =
            m_toolbar->addAction(QIcon::fromTheme(QLatin1String(b.icon)), tr(b.caption));
        const QString key = QLatin1String(b.key);
        action->setObjectName(key);
        action->setToolTip(tr(b.tooltip));
        connect(action, &QAction::triggered, this, [this, key] { runCommand(key); });
    }
    action(QStringLiteral("Zoom"))->setCheckable(true);

    m_viewport = new QWidget(this);
    m_viewport->setObjectName(QStringLiteral("picParent"));
    m_viewport->setBackgroundRole(QPalette::Dark);
    m_viewport->setAutoFillBackground(true);
    m_canvas = new PageCanvas(m_page, m_viewport);
    m_across = new QScrollBar(Qt::Horizontal, this);
    m_down = new QScrollBar(Qt::Vertical, this);
    m_status = new QLineEdit(this);
    m_status->setObjectName(QStringLiteral("txtStatus"));
    m_status->setReadOnly(true);
    m_status->setFocusPolicy(Qt::NoFocus);
    if (client.modern()) {
        QPalette pal = m_status->palette();
        pal.setColor(QPalette::Base, ColorOf(kStatusColour));
        m_status->setPalette(pal);
    }
    for (QScrollBar *bar : {m_across, m_down}) {
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, &PrintPreviewWindow::placeCanvas);
    }
    m_viewport->installEventFilter(this);
    m_canvas->installEventFilter(this);

    openPreview();
    sizeToPage();
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

QAction *PrintPreviewWindow::action(const QString &key) const
{
    for (QAction *a : m_toolbar->actions()) {
        if (a->objectName() == key)
            return a;
    }
    return nullptr;
}

void PrintPreviewWindow::openPreview()
{
    m_preview.open();
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    m_dpi = screen ? screen->logicalDotsPerInchY() : 96;
    const QSizeF twips = m_printer.printableTwips();
    m_page = QImage(std::max(1, int(std::lround(Twips::toPixels(twips.width(), m_dpi)))),
                    std::max(1, int(std::lround(Twips::toPixels(twips.height(), m_dpi)))),
                    QImage::Format_RGB32);
    m_page.fill(Qt::white);
    m_canvas->resize(m_page.size());
}

void PrintPreviewWindow::sizeToPage()
{
    const int margin = int(std::lround(Twips::toPixels(kMarginTwips, m_dpi)));
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 0.95 : QSize(1024, 768);
    const QSize wanted(m_page.width() + 2 * margin + m_down->sizeHint().width(),
                       m_toolbar->sizeHint().height() + m_page.height() + 2 * margin +
                           m_status->sizeHint().height());
    resize(wanted.boundedTo(room));
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
}

void PrintPreviewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_laidOut) {
        m_laidOut = true;
        Paginate();
    }
}

void PrintPreviewWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeCanvas();
}

void PrintPreviewWindow::OptionsChanged()
{
    Paginate();
}

void PrintPreviewWindow::Paginate()
{
    const PrintPreview::Outcome outcome = m_preview.Paginate();
    if (outcome == PrintPreview::Outcome::Close) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    drawPage();
}

void PrintPreviewWindow::drawPage()
{
    {
        QPainter painter(&m_page);
        m_preview.drawPage(painter, m_page.rect(), m_dpi, m_dpi);
    }
    action(QStringLiteral("Back"))->setEnabled(m_preview.canGoBack());
    action(QStringLiteral("Next"))->setEnabled(m_preview.canGoNext());
    showStatus();
    placeCanvas();
    m_canvas->update();
}

void PrintPreviewWindow::showStatus()
{
    m_status->setText(m_preview.status());
}

// Lays out the toolbar, the viewport with its scroll bars and the status line, and puts the
// page in the viewport: at its scrolled place, or fitted into it when zoomed.
void PrintPreviewWindow::placeCanvas()
{
    const int margin = int(std::lround(Twips::toPixels(kMarginTwips, m_dpi)));
    const int top = m_toolbar->sizeHint().height();
    const int statusHeight = m_status->sizeHint().height();
    m_toolbar->setGeometry(0, 0, width(), top);
    m_status->setGeometry(0, height() - statusHeight, width(), statusHeight);
    QSize viewport(width(), height() - top - statusHeight);

    ScrollRange across, down;
    if (!m_zoomed) {
        // A bar along one side takes room from the other direction.
        const int barWidth = m_down->sizeHint().width(), barHeight = m_across->sizeHint().height();
        for (int pass = 0; pass < 2; ++pass) {
            const QSize inner(viewport.width() - (down.visible ? barWidth : 0),
                              viewport.height() - (across.visible ? barHeight : 0));
            across = ScrollRangeOf(m_page.width(), inner.width(), margin);
            down = ScrollRangeOf(m_page.height(), inner.height(), margin);
        }
        viewport -= QSize(down.visible ? barWidth : 0, across.visible ? barHeight : 0);
    }
    m_viewport->setGeometry(0, top, viewport.width(), viewport.height());
    const auto apply = [](QScrollBar *bar, const ScrollRange &range, const QRect &where) {
        const QSignalBlocker quiet(bar);
        bar->setVisible(range.visible);
        if (!range.visible) {
            bar->setValue(0);
            return;
        }
        bar->setGeometry(where);
        bar->setRange(0, range.maximum);
        bar->setPageStep(range.largeChange);
        bar->setSingleStep(range.smallChange);
    };
    apply(m_across, across,
          QRect(0, top + viewport.height(), viewport.width(), m_across->sizeHint().height()));
    apply(m_down, down,
          QRect(viewport.width(), top, m_down->sizeHint().width(), viewport.height()));

    if (m_zoomed) {
        m_canvas->setGeometry(ZoomedPage(viewport, m_page.size(), margin));
    } else {
        const int x = m_across->isVisible() ? margin - m_across->value() : margin;
        const int y = m_down->isVisible() ? margin - m_down->value() : margin;
        m_canvas->setGeometry(x, y, m_page.width(), m_page.height());
    }
}

void PrintPreviewWindow::zoomToFit()
{
    m_zoomed = true;
    action(QStringLiteral("Zoom"))->setChecked(true);
    placeCanvas();
    m_canvas->update();
}

void PrintPreviewWindow::zoomBack()
{
    m_zoomed = false;
    action(QStringLiteral("Zoom"))->setChecked(false);
    m_across->setValue(0);
    m_down->setValue(0);
    placeCanvas();
    m_canvas->update();
}

void PrintPreviewWindow::runCommand(const QString &key)
{
    WaitCursor wait(m_dialogs);
    if (key == QLatin1String("Print")) {
        printPages();
    } else if (key == QLatin1String("PrintSetup")) {
        if (m_printerSetup(this, m_printer)) {
            m_preview.settings().storePaper(m_printer.paperSize(), m_printer.orientation());
            openPreview();
            sizeToPage();
            Paginate();
        }
    } else if (key == QLatin1String("PageSetup")) {
        PrintOptionsDialog dialog(m_preview.settings(), m_dialogs, m_preview.reprintOffered(),
                                  this);
        m_dialogs.endWait(); // not while the user fills the dialog in
        const bool ok = dialog.exec() == QDialog::Accepted;
        m_dialogs.beginWait();
        if (ok)
            OptionsChanged();
    } else if (key == QLatin1String("Zoom")) {
        m_zoomed ? zoomBack() : zoomToFit();
    } else if (key == QLatin1String("Back")) {
        if (m_preview.back())
            drawPage();
    } else if (key == QLatin1String("Next")) {
        if (m_preview.next())
            drawPage();
    }
}

void PrintPreviewWindow::printPages()
{
    QPrinter &printer = m_printer.printer();
    if (m_printer.toPdf()) {
        Dialogs::SaveFile request;
        request.filter = tr("PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*");
        request.title = tr("Print to PDF");
        request.defaultExtension = QStringLiteral("pdf");
        request.initialName = PageHeading(m_preview.year(), m_preview.settings())
                                  .section(QLatin1Char('\n'), 0, 0)
                                  .replace(QLatin1Char('/'), QLatin1Char('-')) +
                              QStringLiteral(".pdf");
        const QString file = m_dialogs.saveFileName(request);
        if (file.isEmpty())
            return;
        // The pages go to a temp file beside the chosen one, which takes its place once they
        // are all written: a failure leaves an earlier PDF as it was.
        const QString temp = ReplacementTempName(file);
        bool written = DeleteFile(temp) == 0;
        if (written) {
            printer.setOutputFileName(temp);
            printer.setDocName(request.initialName.chopped(4));
            written = m_preview.print(printer);
            printer.setOutputFileName(QString());
            written = written && std::rename(QFile::encodeName(temp).constData(),
                                             QFile::encodeName(file).constData()) == 0;
            DeleteFile(temp);
        }
        if (!written)
            m_dialogs.message(tr("The pages could not be written to %1").arg(file),
                              Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, tr("Print"));
        else // without a printer there is no queue to see them in
            m_dialogs.message(tr("The pages are in %1").arg(file), Dialogs::Buttons::Ok,
                              Dialogs::Icon::Information, tr("Print"));
        return;
    }
    const QSizeF before = m_printer.printableTwips();
    QPrintDialog dialog(&printer, this);
    m_dialogs.endWait();
    const bool ok = dialog.exec() == QDialog::Accepted;
    m_dialogs.beginWait();
    if (!ok)
        return;
    if (m_printer.printableTwips() != before) {
        // Another paper in the printer dialog: the pages are laid out for it first.
        m_preview.settings().storePaper(m_printer.paperSize(), m_printer.orientation());
        m_preview.Paginate();
        drawPage();
    }
    if (!m_preview.print(printer))
        m_dialogs.message(tr("The pages could not be printed on %1").arg(printer.printerName()),
                          Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, tr("Print"));
}

void PrintPreviewWindow::scrollBy(int wheelDelta)
{
    if (!m_down->isVisible())
        return;
    // Touchpads report parts of a notch: they add up until they make whole steps.
    m_wheelRest += wheelDelta;
    const int amount =
        WheelScrollAmount(m_wheelRest, m_down->singleStep(), QApplication::wheelScrollLines());
    m_wheelRest %= 120;
    if (amount)
        m_down->setValue(m_down->value() + amount);
}

bool PrintPreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        scrollBy(static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    if (watched == m_canvas && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        runCommand(QStringLiteral("Zoom"));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
