#pragma once

#include "bandlayout.h"
#include "canvas.h"
#include "gridmetrics.h"
#include "hitmap.h"
#include "localeservices.h"
#include "selection.h"

#include <QString>

#include <functional>

class QPalette;
struct PlannerState;

// The desktop's colours that the headings use (0x00BBGGRR).
struct SystemColours
{
    quint32 windowBackground = 0xFFFFFF;
    quint32 windowFrame = 0x000000;
    quint32 inactiveTitleBar = 0xDBCDBF;
    quint32 darkShadow = 0x696969;
};
SystemColours SystemColoursOf(const QPalette &palette);

// The grid: weekend columns, grey cells outside each month, day lines, day numbers and a red
// outline per month row, at the heights of state.RowBands.
void DrawYear(Canvas &canvas, PlannerState &state, const GridGeometry &geometry,
              quint32 weekendColour);
void DrawDayLines(Canvas &canvas, const GridGeometry &geometry);
// The weekday strip above the grid (240 twips high) and the month names left of it (405 wide).
void DrawDayHeadings(Canvas &strip, const GridGeometry &geometry, const CalendarNames &names,
                     const SystemColours &colours);
void DrawMonthHeadings(Canvas &column, const PlannerState &state, const GridGeometry &geometry,
                       const CalendarNames &names, const SystemColours &colours);
// Every visible appointment as a bar in its category's colour in its band, subjects inside
// when state.DisplaySubject, the hit map rebuilt, then today's mark (today: an automation date)
// and the selection (redrawSelection, when given).
void DrawEvents(Canvas &canvas, PlannerState &state, const GridGeometry &geometry, HitMap &hits,
                double today, const std::function<void()> &redrawSelection = {});

// Toggles the highlight of a drag selection: band 1 (the day numbers) of each of its rows, from
// its first to its last day, in yellow by exclusive-or. Drawing the same corners twice restores
// the canvas.
void DrawSelection(Canvas &canvas, const PlannerState &state, const GridGeometry &geometry,
                   const SelectionCorners &corners);
