#pragma once

#include "bandlayout.h"
#include "canvas.h"
#include "clientversion.h"
#include "gridmetrics.h"
#include "hitmap.h"
#include "localeservices.h"
#include "planneryear.h"
#include "selection.h"

#include <QString>
#include <QVariant>

#include <functional>

class RegIO;
struct PlannerState;

// The desktop's colours that the headings use (0x00BBGGRR).
struct SystemColours
{
    quint32 windowBackground = 0xFFFFFF;
    quint32 windowFrame = 0x000000;
    quint32 inactiveTitleBar = 0xDBCDBF;
    quint32 darkShadow = 0x696969;
};

// Which month rows a drawing shows, and where: rows first..last of the running band totals
// rowBands, the first at the canvas's top. The screen shows all twelve; a printed page its own.
struct GridRows
{
    RowBandTable rowBands{};
    int first = 1;
    int last = PlannerYear::kRows;

    // The top and bottom of row r in twips.
    double top(int r, double bandHeight) const;
    double bottom(int r, double bandHeight) const;
    bool contains(int r) const { return r >= first && r <= last; }
};
GridRows AllRows(const RowBandTable &rowBands);

// Where paper differs from the screen.
struct GridStyle
{
    int dayNumberInset = 0; // pixels between a cell's left edge and its day number
    double subjectSize = 0; // points; 0: the largest of 7..2 that the bands have room for
    unsigned subjectFlags = Canvas::DT_WORD_ELLIPSIS | Canvas::DT_NOPREFIX;
    bool subjects = false; // subjects inside the bars
};

// The grid: weekend columns, grey cells outside each month, day lines, day numbers and a red
// outline per month row, at the heights of state.RowBands.
void DrawYear(Canvas &canvas, PlannerState &state, const GridGeometry &geometry,
              quint32 weekendColour);
// The same for some rows, in a style.
// Labels in cells width by height twips (day numbers, weekday names): the largest font size from
// the canvas's own down to kMinLabelPoints, in half points, at which the widest of texts fits the
// width and a line the height; failing the height at every size, the largest that fits the
// width; 0 where none fits the width and the labels are left out. The canvas is left at the size
// returned (at its own for 0).
constexpr double kMinLabelPoints = 5;
double FitLabelSize(Canvas &canvas, const QStringList &texts, double width, double height);

void DrawGrid(Canvas &canvas, const PlannerState &state, const GridGeometry &geometry,
              const GridRows &rows, quint32 weekendColour, const GridStyle &style);
void DrawDayLines(Canvas &canvas, const GridGeometry &geometry);
// The weekday strip above the grid (240 twips high) and the month names left of it (as wide as
// its canvas: 405 twips on screen).
void DrawDayHeadings(Canvas &strip, const GridGeometry &geometry, const CalendarNames &names,
                     const SystemColours &colours);
// A line over the grid's top at visibleTop (twips) saying what the empty grid waits for.
void DrawGridNotice(Canvas &canvas, const GridGeometry &geometry, double visibleTop,
                    const QString &text);

// visibleTop (twips from the column's top) is where the window shows it from: a row taller than
// the window keeps its month's name in view there while it is scrolled past.
void DrawMonthHeadings(Canvas &column, const PlannerState &state, const GridGeometry &geometry,
                       const CalendarNames &names, const SystemColours &colours,
                       double visibleTop = 0);
void DrawMonthHeadings(Canvas &column, const PlannerState &state, const GridGeometry &geometry,
                       const CalendarNames &names, const SystemColours &colours,
                       const GridRows &rows, double visibleTop = 0);
// Every visible appointment as a bar in its category's colour in its band, subjects inside
// when state.DisplaySubject, the hit map rebuilt, then today's mark (today: an automation date)
// and the selection (redrawSelection, when given).
void DrawEvents(Canvas &canvas, PlannerState &state, const GridGeometry &geometry, HitMap &hits,
                double today, const std::function<void()> &redrawSelection = {});
// The bars of the rows alone, in a style; hits, when given, records where each is.
void DrawBars(Canvas &canvas, const PlannerState &state, const GridGeometry &geometry,
              const GridRows &rows, const GridStyle &style, HitMap *hits);

// Toggles the highlight of a drag selection: band 1 (the day numbers) of each of its rows, from
// its first to its last day, in yellow by exclusive-or. Drawing the same corners twice restores
// the canvas.
void DrawSelection(Canvas &canvas, const PlannerState &state, const GridGeometry &geometry,
                   const SelectionCorners &corners);

// The weekend colour for the calendar client's major version: before 12 a fixed pale yellow,
// from 12 on the colour its calendar options name by index (an unreadable index counts as 0).
quint32 WeekendColourOf(ClientVersion client, const QVariant &backgroundColorIndex);
// The same with the index read from the client's calendar options in the registry.
quint32 WeekendColourOf(ClientVersion client, const RegIO &registry);
