#pragma once

#include "localeservices.h"
#include "pagelayout.h"
#include "yeardrawing.h"

#include <QFont>
#include <QRect>

class QPagedPaintDevice;
class QPainter;
class PrintSettings;

// What a printed page is drawn with besides the planner: the locale's names, the system's
// colours for the headings and the page font ("Arial", with the locale's character set).
struct PageStyle
{
    CalendarNames names;
    SystemColours colours;
    QFont font;
};

// Where the legend's entries go on page p: each entry's frame and the rectangle its name is
// written in (twips from the page's corner), and the font size of the names. y0 is the grid's top.
struct PageLegendEntry
{
    int index; // 1..n in the category table
    QRectF frame;
    QRectF name;
};
struct PageLegend
{
    QList<PageLegendEntry> entries;
    int fontSize = 10;
};
PageLegend PageLegendOf(const PageLayout &layout, const PrintSettings &settings, int p, int entries,
                        double y0);

// The page font: "Arial" (or the face the system has for it) with the character set of the
// user's locale.
QFont PageFont();

// Draws page p (1..layout.pageCount) on the printable area pageArea of painter's device (pixels
// at dpiX and dpiY): the heading, the weekday strip, the month names, the legend or its part,
// the grid and the bars, with the drawing code of the screen. The heading's height is measured
// again as drawn, as the rows below it follow it.
void DrawPage(QPainter &painter, const QRect &pageArea, double dpiX, double dpiY,
              const PlannerState &state, const PrintSettings &settings, PageLayout &layout, int p,
              const PageStyle &style);

// Every page on device, one after the other. False when the device could not be painted on.
bool PrintPages(QPagedPaintDevice &device, const PlannerState &state, const PrintSettings &settings,
                PageLayout &layout, const PageStyle &style);
