#pragma once

#include "pagedrawing.h"
#include "pagelayout.h"
#include "plannerstate.h"
#include "printsettings.h"

#include <QRect>
#include <QSize>

class PrintTarget;
class QPagedPaintDevice;
class QPainter;

// What the print preview window shows and does, without the window: the settings, the year
// laid out over the printer's pages, the page shown and printing. It works on a copy of the
// planner's appointments taken when it opens, so the pages stay as previewed while the planner
// takes in changes, and the planner's own bands are left alone.
class PrintPreview
{
public:
    PrintPreview(const PlannerState &planner, PrintTarget &printer);

    // The opening steps: the settings loaded and the stored paper applied to the printer. A
    // stored setting that is no number shows "Error initialising: " and its error; false then.
    bool open();

    PrintSettings &settings() { return m_settings; }
    const PageLayout &layout() const { return m_layout; }
    const PlannerState &year() const { return m_year; }
    PrintTarget &printer() { return m_printer; }
    PageStyle &style() { return m_style; }

    enum class Outcome { Laid, Kept, Close };
    // Lays the pages out again for the current settings and printer and shows page 1. When a
    // month or the legend will not fit, asks OK (the pages stay as they were: Kept) or Cancel
    // (the window closes: Close).
    Outcome Paginate();

    int currentPage() const { return m_current; }
    int pageCount() const { return m_layout.pageCount; }
    bool canGoBack() const { return m_current > 1; }
    bool canGoNext() const { return m_current < pageCount(); }
    bool back();
    bool next();
    // "Page 1 of 2  Landscape A4, 210 x 297 mm".
    QString status() const;
    // Whether the page setup offers to reprint the legend: it fits on one page of several.
    bool reprintOffered() const { return m_layout.legendPageCount == 1 && pageCount() > 1; }

    // The page shown, drawn on the pixel rectangle area of painter's device.
    void drawPage(QPainter &painter, const QRect &area, double dpiX, double dpiY);
    // Every page, on device. False when nothing could be printed.
    bool print(QPagedPaintDevice &device);

private:
    PlannerState m_year;
    PrintTarget &m_printer;
    PrintSettings m_settings;
    PageStyle m_style;
    PageLayout m_layout;
    int m_current = 0;
    int m_retries = 0; // layouts that failed unexpectedly and were tried again
};

// How the preview's scroll bar for one direction is set from the page canvas's length and the
// viewport's, both in pixels; margin is the space kept round the page on each side.
struct ScrollRange
{
    bool visible = false;
    int largeChange = 0;
    int smallChange = 0;
    int maximum = 0;
};
ScrollRange ScrollRangeOf(int canvas, int viewport, int margin);

// Where the page goes when the preview zooms it to fit a viewport: the largest rectangle of
// the page's proportions inside the viewport less margin on every side, centred across the
// other way.
QRect ZoomedPage(const QSize &viewport, const QSize &canvas, int margin);

// The scroll steps of a turn of the mouse wheel: eighths of a degree as the wheel reports them,
// 120 a notch; down (towards the user) is negative and moves the page up. A system that reports
// fewer than one line a notch gets three.
int WheelScrollAmount(int delta, int smallChange, int linesPerNotch);

// The installed printer a chosen device name selects: the platform's device record keeps 31
// characters of it, so the first installed printer whose upper-cased name contains the kept
// part upper-cased. Empty when none does.
QString MatchPrinter(const QString &chosen, const QStringList &installed);
