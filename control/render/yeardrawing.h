#pragma once

#include "bandlayout.h"
#include "canvas.h"
#include "localeservices.h"

#include <QString>

#include <functional>
#include <vector>

class QPalette;
struct PlannerState;

// The lengths the drawing works with, in twips: one day column, one band, the whole grid.
struct GridGeometry
{
    double DayWidth = 0;
    double BandHeight = 0;
    int GridWidth = 0;
};

// The desktop's colours that the headings use (0x00BBGGRR).
struct SystemColours
{
    quint32 windowBackground = 0xFFFFFF;
    quint32 windowFrame = 0x000000;
    quint32 inactiveTitleBar = 0xDBCDBF;
    quint32 darkShadow = 0x696969;
};
SystemColours SystemColoursOf(const QPalette &palette);

// Which appointment is drawn where: the key of the appointment (EventKey) for every month row
// 0..12, column 0..37 and band 0..the year's band count; empty where nothing is drawn.
class HitMap
{
public:
    void reset(int bands);
    void set(int row, int column, int band, const QString &key);
    QString at(int row, int column, int band) const;
    int bands() const { return m_bands; }

private:
    int index(int row, int column, int band) const;
    int m_bands = 0;
    std::vector<QString> m_keys;
};

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

// The geometry of a grid canvas of the given size that shows the whole year without
// scrolling: band height from the year's band count, day width from the grid width.
GridGeometry FitGeometry(double gridWidth, double gridHeight, const RowBandTable &rowBands,
                         double px, double py);
