#include "controllayout.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace GridMetrics;

namespace {

// A control of w x h pixels at 96 dots per inch, with a 30-pixel toolbar and 16-pixel scroll
// bars, showing a year of the given band total.
LayoutInput Control(int w, int h, int bands, int gridScroll = 0)
{
    LayoutInput in;
    in.width = w * 15.0;
    in.height = h * 15.0;
    in.toolbarHeight = 30 * 15;
    in.toolbarOthersWidth = 420 * 15;
    in.logoHeight = 40 * 15;
    in.dateLabelLeft = 4 * 15;
    in.scrollBarWidth = 16 * 15;
    in.gridScroll = gridScroll;
    in.totalBands = bands;
    return in;
}

} // namespace

TEST(ControlLayout, RectanglesOfTallShortAndScrolledControls)
{
    struct Row
    {
        const char *name;
        LayoutInput in;
        double bandHeight;
        int gridWidth;
        double canvasHeight;
        bool scrolls;
        int scrollMaximum;
        int scrollValue;
    } rows[] = {
        // Area 19635 x 13035 below the toolbar: (13035 - 240 - 45) / 48 bands.
        {"tall: the bands share the height", Control(1400, 900, 48), 265.625, 19230, 12810, false,
         0, 0},
        // (4335 - 285) / 48 < 100: bands of 100 twips, the scroll bar takes 240 + px.
        {"short: minimum bands and a scroll bar", Control(1400, 320, 48), 100, 18975, 4815, true,
         750, 0},
        {"scrolled within the range", Control(1400, 320, 48, 300), 100, 18975, 4815, true, 750,
         300},
        {"scrolled past the end is clamped", Control(1400, 320, 48, 5000), 100, 18975, 4815, true,
         750, 750},
        {"a year that grew keeps a clamped value", Control(1400, 320, 96, 5000), 100, 18975, 9615,
         true, 5550, 5000},
        // Below 3000 twips the legend, and with it the grid area, is laid out 3000 high.
        {"lower than 3000 twips", Control(1400, 100, 48), 100, 18975, 4815, true, 2535, 0},
        {"exactly 100 twips a band does not scroll",
         [] {
             LayoutInput in = Control(1400, 900, 48);
             in.height = 450 + 240 + 45 + 4800 + 15; // area height 4800 + 240 + 45
             return in;
         }(),
         100, 19230, 4860, false, 0, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const ControlLayout c = LayoutControls(row.in);
        const GridLayout &g = c.grid;
        EXPECT_DOUBLE_EQ(g.geometry.BandHeight, row.bandHeight);
        EXPECT_EQ(g.geometry.GridWidth, row.gridWidth);
        EXPECT_DOUBLE_EQ(g.geometry.DayWidth, (row.gridWidth - 45) / 37.0);
        EXPECT_DOUBLE_EQ(g.grid.height(), row.canvasHeight);
        EXPECT_EQ(g.scroll.visible, row.scrolls);
        EXPECT_EQ(g.scroll.maximum, row.scrollMaximum);
        EXPECT_EQ(g.scroll.value, row.scrollValue);

        // The grid area lies below the toolbar, left of the legend column.
        EXPECT_EQ(c.gridArea.top(), row.in.toolbarHeight);
        EXPECT_EQ(c.gridArea.width(), row.in.width - kLegendWidth);
        // The canvas and the month column scroll together; the weekday strip stays.
        EXPECT_EQ(g.grid.left(), kMonthColumnWidth);
        EXPECT_EQ(g.grid.top(), kDayStripHeight - row.scrollValue);
        EXPECT_EQ(g.monthColumn.top(), g.grid.top());
        EXPECT_EQ(g.monthColumn.width(), kMonthColumnWidth);
        EXPECT_EQ(g.dayHeadings, QRectF(kMonthColumnWidth, 0, row.gridWidth, kDayStripHeight));
        if (row.scrolls) {
            EXPECT_EQ(g.scroll.rect,
                      QRectF(row.gridWidth + kMonthColumnWidth, 0, 240, c.gridArea.height() - 15));
            EXPECT_EQ(g.scroll.pageStep, int(c.gridArea.height() - kDayStripHeight));
        }
        EXPECT_EQ(c.cornerButton, QRectF(0, 0, kMonthColumnWidth, kDayStripHeight));
    }
}

TEST(ControlLayout, TheLegendColumnAndTheToolbar)
{
    LayoutInput in = Control(1400, 900, 48);
    ControlLayout c = LayoutControls(in);
    const double top = in.toolbarHeight + in.logoHeight + 30;
    EXPECT_EQ(c.legendLeft, 21000 - kLegendWidth);
    EXPECT_EQ(c.legendCentre, c.legendLeft + kLegendWidth / 2.0);
    EXPECT_EQ(c.legendView, QRectF(c.legendLeft, top, kLegendWidth, 13485 - top));
    EXPECT_FALSE(c.legendScroll.visible);
    EXPECT_EQ(c.statusWidth, 21000 - 420 * 15);
    EXPECT_EQ(c.statusStrip, QRectF(0, 0, c.statusWidth + 45, in.toolbarHeight - 15));
    // The date label stops 1650 twips short of the legend, and never reaches the buttons.
    EXPECT_EQ(c.dateLabelWidth, c.statusWidth - 60 - 30);
    in.toolbarOthersWidth = 0;
    EXPECT_EQ(LayoutControls(in).dateLabelWidth, c.legendLeft - 60 - 30 - kDateLabelReserve);

    // A legend list taller than its room scrolls, and its scroll bar narrows the grid.
    in = Control(1400, 900, 48);
    in.legendListHeight = 20000;
    in.legendScroll = 99999;
    c = LayoutControls(in);
    const double space = 13485 - top;
    ASSERT_TRUE(c.legendScroll.visible);
    EXPECT_EQ(c.legendScroll.maximum, int(20000 - space));
    EXPECT_EQ(c.legendScroll.value, c.legendScroll.maximum);
    EXPECT_EQ(c.legendList, QRectF(0, -c.legendScroll.value, kLegendWidth, 20000));
    EXPECT_EQ(c.legendView.width(), kLegendWidth + 240);
    EXPECT_EQ(c.legendScroll.rect, QRectF(kLegendWidth, 0, 240, space));
    EXPECT_EQ(c.gridArea.width(), 21000 - kLegendWidth - 240);
    EXPECT_EQ(c.grid.geometry.GridWidth, int(21000 - kLegendWidth - 240 - kMonthColumnWidth));
}

TEST(ControlLayout, AGridFittedToAnImageOrAPage)
{
    GridLayoutInput in;
    in.areaWidth = 1600 * 15;
    in.areaHeight = 900 * 15;
    in.totalBands = 480; // far below 100 twips a band: an image never scrolls
    in.mayScroll = false;
    GridLayout g = LayoutGrid(in);
    EXPECT_FALSE(g.scroll.visible);
    EXPECT_DOUBLE_EQ(g.geometry.BandHeight, (13500 - 240 - 45) / 480.0);
    EXPECT_EQ(g.geometry.GridWidth, 24000 - 405);

    in.headings = false;
    g = LayoutGrid(in);
    EXPECT_DOUBLE_EQ(g.geometry.BandHeight, (13500 - 45) / 480.0);
    EXPECT_EQ(g.grid, QRectF(0, 0, 24000, 13500 + 15));
    EXPECT_EQ(g.dayHeadings.height(), 0);

    // Before the first band layout the rows have no bands: the height stays finite.
    in.totalBands = 0;
    EXPECT_TRUE(std::isfinite(LayoutGrid(in).geometry.BandHeight));
    EXPECT_DOUBLE_EQ(DayWidthOf(37 * 100 + 45, 15), 100);
}
