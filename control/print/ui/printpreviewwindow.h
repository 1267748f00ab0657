#pragma once

#include "clientversion.h"
#include "printertarget.h"
#include "printpreview.h"

#include <QDialog>
#include <QImage>

#include <functional>

class Dialogs;
class QAction;
class QLineEdit;
class QScrollBar;
class QToolBar;

// The print preview (frmPrint, "Print preview"): one printed page at a time on a canvas as large
// as the page, with Print, printer and page setup, zoom to fit, Back and Next. It lays the pages
// out when first shown and after each change of settings or printer; closing it ends printing.
class PrintPreviewWindow : public QDialog
{
    Q_OBJECT
public:
    // planner: the year to print (copied: the preview keeps what it opened with).
    // client picks the status line's colour.
    PrintPreviewWindow(const PlannerState &planner, ClientVersion client,
                       QWidget *parent = nullptr);
    ~PrintPreviewWindow() override;

    PrintPreview &preview() { return m_preview; }
    PrinterTarget &printer() { return m_printer; }
    const QImage &pageImage() const { return m_page; }
    bool zoomed() const { return m_zoomed; }
    QAction *action(const QString &key) const;

    // The printer setup the PrintSetup button shows; ShowPrinterSetup unless replaced.
    using PrinterSetup = std::function<bool(QWidget *owner, PrinterTarget &target)>;
    void setPrinterSetup(PrinterSetup setup) { m_printerSetup = std::move(setup); }

    // The toolbar's commands, by key: "Print", "PrintSetup", "PageSetup", "Zoom", "Back", "Next".
    void runCommand(const QString &key);
    void OptionsChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openPreview();
    void sizeToPage();
    void Paginate();
    void drawPage();
    void placeCanvas();
    void zoomToFit();
    void zoomBack();
    void printPages();
    void showStatus();
    void scrollBy(int wheelDelta);

    Dialogs &m_dialogs;
    PrinterTarget m_printer;
    PrintPreview m_preview;
    PrinterSetup m_printerSetup = ShowPrinterSetup;
    QImage m_page;
    double m_dpi = 96;
    bool m_zoomed = false;
    bool m_laidOut = false;
    int m_wheelRest = 0; // eighths of a degree not yet scrolled
    QToolBar *m_toolbar = nullptr;
    QWidget *m_viewport = nullptr;
    QWidget *m_canvas = nullptr;
    QScrollBar *m_across = nullptr;
    QScrollBar *m_down = nullptr;
    QLineEdit *m_status = nullptr;
};
