#include "controllayout.h"

#include "planneryear.h"

#include <algorithm>
#include <cmath>

using namespace GridMetrics;

double DayWidthOf(double gridWidth, double px)
{
    return (gridWidth - kGridMarginPixels * px) / PlannerYear::kColumns;
}

namespace {

ScrollBarLayout scrollBar(const QRectF &rect, double maximum, int wanted, double pageStep)
{
    ScrollBarLayout s;
    s.visible = true;
    s.rect = rect;
    s.maximum = std::max(0, int(maximum));
    s.value = std::clamp(wanted, 0, s.maximum);
    s.pageStep = std::max(1, int(pageStep));
    return s;
}

} // namespace

GridLayout LayoutGrid(const GridLayoutInput &in)
{
    const double column = in.headings ? kMonthColumnWidth : 0;
    const double strip = in.headings ? kDayStripHeight : 0;
    // Before the first band layout there are no bands: the rows have no height yet.
    const int bands = std::max(in.totalBands, 1);
    const double fitted = (in.areaHeight - strip - 3 * in.py) / bands;

    GridLayout g;
    double canvasHeight;
    if (fitted >= kMinimumBandHeight || !in.mayScroll) {
        g.geometry.BandHeight = fitted;
        g.geometry.GridWidth = int(in.areaWidth - column);
        canvasHeight = in.areaHeight - strip + in.py;
    } else {
        g.geometry.BandHeight = kMinimumBandHeight;
        g.geometry.GridWidth = int(in.areaWidth - column - in.scrollBarWidth - in.px);
        canvasHeight = bands * double(kMinimumBandHeight) + in.py;
        g.scroll = scrollBar(
            QRectF(g.geometry.GridWidth + column, 0, in.scrollBarWidth, in.areaHeight - in.py),
            canvasHeight - (in.areaHeight - strip) + 2 * in.py, in.scrollValue,
            in.areaHeight - strip);
    }
    g.geometry.DayWidth = DayWidthOf(g.geometry.GridWidth, in.px);
    const double top = strip - g.scroll.value;
    g.grid = QRectF(column, top, g.geometry.GridWidth, canvasHeight);
    g.monthColumn = QRectF(0, top, column, canvasHeight);
    g.dayHeadings = QRectF(column, 0, g.geometry.GridWidth, strip);
    return g;
}

ControlLayout LayoutControls(const LayoutInput &in)
{
    ControlLayout c;
    // The legend column runs from below the toolbar: the logo and the indicator, then the list.
    const double height = std::max(in.height - in.py, double(kMinimumLegendHeight));
    double available = in.width - kLegendWidth;
    const double legendTop = in.toolbarHeight + in.logoHeight + 30;
    const double legendSpace = std::max(0.0, height - legendTop);
    if (in.legendListHeight > legendSpace) {
        c.legendScroll = scrollBar(QRectF(kLegendWidth, 0, in.scrollBarWidth, legendSpace),
                                   in.legendListHeight - legendSpace, in.legendScroll, legendSpace);
        available -= in.scrollBarWidth;
    }

    c.gridArea = QRectF(0, in.toolbarHeight, available, height - in.toolbarHeight);
    GridLayoutInput grid;
    grid.areaWidth = c.gridArea.width();
    grid.areaHeight = c.gridArea.height();
    grid.px = in.px;
    grid.py = in.py;
    grid.totalBands = in.totalBands;
    grid.scrollBarWidth = in.scrollBarWidth;
    grid.scrollValue = in.gridScroll;
    c.grid = LayoutGrid(grid);
    c.cornerButton = QRectF(0, 0, kMonthColumnWidth, kDayStripHeight);

    c.legendLeft = available;
    c.legendCentre = available + kLegendWidth / 2.0;
    c.legendView =
        QRectF(available, legendTop,
               kLegendWidth + (c.legendScroll.visible ? in.scrollBarWidth : 0), legendSpace);
    c.legendList = QRectF(0, -c.legendScroll.value, kLegendWidth, in.legendListHeight);

    c.statusWidth = std::max(0.0, in.width - in.toolbarOthersWidth);
    c.statusStrip = QRectF(0, 0, c.statusWidth + 45, in.toolbarHeight - in.py);
    // The date label lies over the stretched first button and never reaches the others.
    c.dateLabelWidth =
        std::max(0.0, std::min(available - in.dateLabelLeft - 2 * in.px - kDateLabelReserve,
                               c.statusWidth - in.dateLabelLeft - 2 * in.px));
    return c;
}
