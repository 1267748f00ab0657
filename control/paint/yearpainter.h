#pragma once

#include "yeardrawing.h"

class QPainter;
class QPalette;

// The headings' colours of a desktop palette.
SystemColours SystemColoursOf(const QPalette &palette);

// What PaintYear needs besides the planner's state.
struct YearPaintOptions
{
    CalendarNames names;
    SystemColours colours;
    quint32 weekendColour = 0xE1BFA5;
    bool headings = true; // the weekday strip and the month-name column
    double today = 0;     // automation date of today's mark; 0 for none
    int minimumBands = kScreenMinimumBands;
};

// Lays out and draws the whole year, headings included, into one rectangle of a paint device
// (an image, a PDF page): the band layout, then the grid fitted to the rectangle, the
// appointments and the headings. Returns the geometry it drew with; hits receives the hit map.
GridGeometry PaintYear(QPainter &painter, const QRect &area, double dpi, PlannerState &state,
                       const YearPaintOptions &options, HitMap &hits);
