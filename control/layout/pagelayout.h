#pragma once

#include "bandlayout.h"
#include "gridmetrics.h"

#include <QList>
#include <QSizeF>
#include <QString>

class Canvas;
class PrintSettings;
struct PlannerState;

// The printed year's layout over pages, in twips: from the top of a page, inside its margins,
// a centred heading, the weekday strip, and the grid with the month names on its left and the
// category legend on its right. Month rows go to pages whole, as many as the minimum band
// height lets a page hold; a legend taller than the grid goes on over further pages.
struct PageLayout
{
    static constexpr int kMonthColumn = 450; // the month names between the left margin and the grid
    static constexpr int kDayStrip = GridMetrics::kDayStripHeight;

    QSizeF page;         // printable width and height
    double gridLeft = 0; // x0
    double gridWidth = 0;
    double headingHeight = 0;
    double gridHeight = 0; // the height all pages have room for
    double dayWidth = 0;
    double bandHeight = 0;
    RowBandTable rowBands{};
    int firstRow = 1; // rows of the first and last month printed
    int lastRow = 12;
    // Pages 1..pageCount; index 0 unused. A page with first row 1 and last row 0 holds the
    // legend alone.
    int pageCount = 1;
    QList<int> pageFirstRow{0};
    QList<int> pageLastRow{0};
    // The legend's entries: bottoms from its top (legendBottom[0] = 0), and its pages.
    QList<int> legendBottom{0};
    int legendHeight = 0;
    int legendPageCount = 1;
    QList<int> legendFirst{0};
    QList<int> legendLast{0};
    int dayNumberSize = 10;
    // Why the year could not be laid out (the message to show), or empty.
    QString problem;

    double gridTop(double topMargin) const { return topMargin + headingHeight + kDayStrip; }
    bool hasMonths(int p) const { return pageFirstRow[p] <= pageLastRow[p]; }
    // The height of page p's month rows.
    double pageGridHeight(int p) const;
    // One line per page: rows, legend entries, band height and day-number size, for tests and
    // for reading.
    QString summary() const;
};

// The text of the automatic heading and the user's heading of a page: "Year 2026", or
// "Year 2026/2027" when the months printed run into the next year.
QString PageHeading(const PlannerState &state, const PrintSettings &settings);

// Lays the year out on pages of size page (the printable area, twips). measure is a canvas at
// the printer's resolution, for the text; screenPixel the screen's twips per pixel, the
// one-pixel allowances of the layout. The band layout gives every event its printed band.
PageLayout Paginate(PlannerState &state, const PrintSettings &settings, const QSizeF &page,
                    Canvas &measure, double screenPixel = 15);
