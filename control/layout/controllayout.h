#pragma once

#include "gridmetrics.h"

#include <QRectF>

// What the layout pass needs to know of the control, in twips: the sizes it does not set itself
// and the scroll positions of the moment.
struct LayoutInput
{
    double width = 0; // the control
    double height = 0;
    double px = 15;
    double py = 15;
    double toolbarHeight = 0;
    double toolbarOthersWidth = 0; // the toolbar's buttons after the stretched first one
    double logoHeight = 0;         // the logo and the update indicator under it
    double legendListHeight = 0;   // every row of the legend
    double dateLabelLeft = 0;
    double scrollBarWidth = 0; // a vertical scroll bar
    int gridScroll = 0;
    int legendScroll = 0;
    int totalBands = 0; // RowBands[12]
};

struct ScrollBarLayout
{
    bool visible = false;
    QRectF rect; // in its parent
    int maximum = 0;
    int value = 0; // the value asked for, clamped to [0, maximum]; 0 when hidden
    int pageStep = 0;
};

// The grid with its two heading strips, inside the area below the toolbar (or any rectangle an
// image or a page gives it), in the area's coordinates.
struct GridLayout
{
    GridGeometry geometry;
    QRectF grid;        // the canvas; above the area's top by the scroll value
    QRectF dayHeadings; // the weekday strip, fixed
    QRectF monthColumn; // the month names, scrolled with the canvas
    ScrollBarLayout scroll;
};

// Every rectangle of the control. Each is in its parent's coordinates: the grid area, legend view
// and status strip in the control's, the grid's children in the grid area's, the legend list and
// its scroll bar in the legend view's.
struct ControlLayout
{
    QRectF gridArea;
    GridLayout grid;
    QRectF cornerButton;
    double legendLeft = 0;   // W: the legend column's left edge
    double legendCentre = 0; // where the logo and the update indicator are centred
    QRectF legendView;
    QRectF legendList;
    ScrollBarLayout legendScroll;
    double statusWidth = 0; // the toolbar's first button, pushing the others to the right edge
    QRectF statusStrip;
    double dateLabelWidth = 0;
};

// The layout of the whole control. Pure: the same sizes always give the same rectangles.
ControlLayout LayoutControls(const LayoutInput &in);

// The grid in an area areaWidth x areaHeight: bands share the height, but are never lower than
// the minimum band height when mayScroll (the grid then scrolls by scrollValue and the scroll bar
// takes its width from the grid); headings leave the month column and weekday strip room.
struct GridLayoutInput
{
    double areaWidth = 0;
    double areaHeight = 0;
    double px = 15;
    double py = 15;
    int totalBands = 0;
    bool headings = true;
    bool mayScroll = true;
    double scrollBarWidth = 0;
    int scrollValue = 0;
};
GridLayout LayoutGrid(const GridLayoutInput &in);
