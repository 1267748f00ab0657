#pragma once

#include <QtGlobal>

// The planner's fixed lengths and the lengths worked out for one layout, in twips (1/1440 inch).
// px and py, the twips per pixel across and down, come from the canvas or the screen.
namespace GridMetrics {

constexpr int kMonthColumnWidth = 405; // month names left of the grid; the corner button too
constexpr int kDayStripHeight = 240;   // weekday names above the grid
constexpr int kLegendWidth = 1365;
constexpr int kMinimumBandHeight = 100; // below it the grid scrolls instead of shrinking
constexpr int kMinimumLegendHeight = 3000;
constexpr int kDateLabelReserve = 1650; // beside the date label, for the status text
constexpr int kLayoutRetries = 3;
// The canvas is three pixels wider than its 37 columns, so the last day line stays inside.
constexpr int kGridMarginPixels = 3;

} // namespace GridMetrics

// The lengths the drawing works with: one day column, one band, the whole grid canvas.
struct GridGeometry
{
    double DayWidth = 0;
    double BandHeight = 0;
    int GridWidth = 0;
};

// The width of one day column of a grid canvas gridWidth twips wide.
double DayWidthOf(double gridWidth, double px);
