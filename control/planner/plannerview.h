#pragma once

#include <QString>

// What the planner asks of the window that shows it. The planner keeps the state and runs the
// sequences; the view lays out, draws and shows. A planner without a view (a test, a tool) only
// lays the year out.
class PlannerView
{
public:
    virtual ~PlannerView() = default;

    // Creation: what the desktop says of itself, and what the planner fixed for it.
    virtual bool visualStylesActive() const = 0;
    virtual quint32 menuColour() const = 0; // 0x00BBGGRR
    virtual void applyToolbarColours(quint32 background, quint32 text) = 0;
    virtual void readTwipsPerPixel() = 0;
    virtual void applyFontCharset(int codePage) = 0;
    virtual void placeRefreshButton() = 0;

    // The refresh sequence and the commands.
    virtual void showSelectedYear(int year) = 0;
    // The commands a connected planner offers; Categories only for a recent calendar client.
    virtual void showRefreshCommands(bool categories) = 0;
    virtual void showFilterState(const QString &tooltip, bool active) = 0;
    virtual void categoriesChanged() = 0;
    // The legend and the selection display: in pen mode the picked category's colour and name
    // beside the date and the pen pointer over the grid; otherwise neither.
    virtual void DrawLegend() = 0;
    virtual void showUpdateIndicator(quint32 colour, const QString &status) = 0;
    // Measures the legend's rows, first in every layout pass.
    virtual void LayoutLegend() = 0;
    // The empty grid of the selected year.
    virtual void DrawYear() = 0;
    // The layout pass after the band layout: every rectangle, and everything drawn again. May
    // raise std::exception; the planner tries the pass again.
    virtual void layOutAndDraw() = 0;
};
