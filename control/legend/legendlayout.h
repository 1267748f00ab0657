#pragma once

#include "plannerstate.h"
#include "yeardrawing.h"

#include <QList>
#include <QRect>

class Canvas;

// The legend's geometry, in twips from the top-left of the legend list: a row per category, its
// colour swatch at the left and its name word-wrapped beside it.
namespace LegendMetrics {
constexpr int kLeft = 45; // swatches and frames
constexpr int kSwatch = 180;
constexpr int kTextLeft = 225; // kLeft + kSwatch; the names begin two pixels right of it
constexpr int kRight = 1320;   // the names and the selection frame end here
constexpr int kRowGap = 30;    // below each row's frame
constexpr int kFirstRowExtra = 30;
constexpr int kMinimumTextPixels = 15; // a name measured lower gets a line of 20 pixels
constexpr int kShortTextPixels = 20;
} // namespace LegendMetrics

// Where each row of the legend ends: bottoms[i] is the bottom of row i (bottoms[0] = 0), so row i
// spans [bottoms[i - 1], bottoms[i]); height is the legend's total height.
struct LegendRows
{
    QList<int> bottoms{0};
    int height = 30;
    int count() const { return int(bottoms.size()) - 1; }
};

// Measures each name word-wrapped in its text box on canvas (pixels at the canvas's px and py).
LegendRows LayoutLegend(Canvas &canvas, const QStringList &names);
// The row 1..N at y (twips from the list's top), 0 when y lies in none.
int HitLegendRow(const LegendRows &rows, double y);
// The pixel rectangle a name is drawn into, and measured in, on a canvas: from two pixels right
// of the swatch to the right edge, between top and bottom (twips).
QRect LegendTextRect(const Canvas &canvas, double left, double top, double bottom);

// The rows: a swatch in each category's colour and its name in black; the selected row (1..N, 0
// for none) in a sunken frame, its contents one pixel down and right.
void DrawLegend(Canvas &canvas, const CategoryTable &table, const LegendRows &rows, int selected,
                const SystemColours &colours);
// After the categories' rows, from row first on, a row for each calendar of marked days: a swatch
// in its colour and its name. They are no categories: never picked, framed or renamed.
void DrawLegendMarks(Canvas &canvas, const DayMarks &marks, const LegendRows &rows, int first);
// The raised hover frame on row (0: none), erasing the others' (but never the selected row's);
// listWidth in twips. Returns whether a frame is shown.
bool HighlightLegendRow(Canvas &canvas, const LegendRows &rows, int selected, int row,
                        double listWidth, const SystemColours &colours);
// Where the in-place editor covers the name of row (twips, in the list).
QRectF RenameEditorRect(const LegendRows &rows, int row, double listWidth, double px, double py);
