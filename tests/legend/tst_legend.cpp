#include "legendlayout.h"
#include "paintercanvas.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace LegendMetrics;

namespace {

// A legend list 1365 twips wide at 96 dots per inch, in an 8-point sans-serif font.
std::unique_ptr<ImageCanvas> ListCanvas(int height = 600)
{
    auto canvas = std::make_unique<ImageCanvas>(QSize(91, height), 96);
    QFont font("DejaVu Sans");
    font.setPointSize(8);
    canvas->setFont(font);
    return canvas;
}

} // namespace

TEST(Legend, RowsGrowWithTheirNames)
{
    auto canvas = ListCanvas();
    const QString longName = "Customer support and account management";
    const LegendRows rows = LayoutLegend(*canvas, {"Work", longName, "Other"});
    ASSERT_EQ(rows.count(), 3);
    EXPECT_EQ(rows.bottoms[0], 0);
    // "Work" measures under 15 pixels: a 20-pixel line; the first row starts 30 lower.
    QRect one = LegendTextRect(*canvas, kTextLeft, 60, 1060);
    const int lineHeight =
        canvas->DrawText("Work", one, Canvas::DT_CALCRECT | Canvas::DT_WORDBREAK);
    ASSERT_LT(lineHeight, kMinimumTextPixels);
    EXPECT_EQ(rows.bottoms[1], 30 + 30 + 20 * 15 + 60);
    // The long name wraps onto three lines in the box from 225 twips to 1320: its row is taller.
    const int longRow = rows.bottoms[2] - rows.bottoms[1];
    const int textPixels = (longRow - 90) / 15;
    EXPECT_GE(textPixels, 3 * lineHeight) << "three lines or more";
    EXPECT_GT(longRow, rows.bottoms[3] - rows.bottoms[2]);
    EXPECT_EQ(rows.bottoms[3] - rows.bottoms[2], 20 * 15 + 90);
    EXPECT_EQ(rows.height, rows.bottoms[3]);
    EXPECT_EQ(LayoutLegend(*canvas, {}).height, 30) << "an empty table";
}

TEST(Legend, HitRowsAtTheirEdges)
{
    auto canvas = ListCanvas();
    const LegendRows rows = LayoutLegend(*canvas, {"Work", "Travel", "Other"});
    struct Row
    {
        const char *name;
        double y;
        int row;
    } cases[] = {
        {"the first row's top", 0, 1},
        {"just above the first row's bottom", rows.bottoms[1] - 0.5, 1},
        {"the second row's top", double(rows.bottoms[1]), 2},
        {"the last row's last twip", rows.bottoms[3] - 1.0, 3},
        {"below the last row", double(rows.bottoms[3]), 0},
        {"above the list", -1, 0},
    };
    for (const Row &c : cases)
        EXPECT_EQ(HitLegendRow(rows, c.y), c.row) << c.name;
}

TEST(Legend, TheSelectedRowSunkenAndTheHoverFrameRaised)
{
    auto canvas = ListCanvas();
    CategoryTable table{{"Work", "Travel", "Other"}, {0x0000FF, 0x00FF00, 0xCCCCCC}};
    const LegendRows rows = LayoutLegend(*canvas, table.names);
    SystemColours colours;
    colours.darkShadow = 0x404040;
    DrawLegend(*canvas, table, rows, 2, colours);
    const QImage &image = canvas->image();
    auto pixel = [&](double x, double y) {
        return image.pixel(int(x / 15), int(y / 15)) & 0xFFFFFF;
    };
    // Swatches in their colours; the selected one's contents one pixel down and right.
    EXPECT_EQ(pixel(45 + 30, rows.bottoms[0] + 30), QColor(Qt::red).rgb() & 0xFFFFFF);
    EXPECT_EQ(pixel(45 + 15 + 30, rows.bottoms[1] + 15 + 30), QColor(Qt::green).rgb() & 0xFFFFFF);
    // The sunken frame: dark left and top edges, white right and bottom ones.
    EXPECT_EQ(pixel(45, rows.bottoms[1] + 60), 0x404040u);
    EXPECT_EQ(pixel(600, rows.bottoms[1]), 0x404040u);
    EXPECT_EQ(pixel(45, rows.bottoms[0] + 60), 0xFFFFFFu) << "no frame on the others";

    EXPECT_TRUE(HighlightLegendRow(*canvas, rows, 2, 1, 1365, colours));
    EXPECT_EQ(pixel(45, rows.bottoms[0] + 60), 0xFFFFFFu) << "a raised frame's left edge is white";
    EXPECT_EQ(pixel(600, rows.bottoms[1] - 30), 0x404040u) << "and its bottom dark";
    EXPECT_FALSE(HighlightLegendRow(*canvas, rows, 2, 0, 1365, colours));
    EXPECT_EQ(pixel(600, rows.bottoms[1] - 30), 0xFFFFFFu) << "erased";
    EXPECT_EQ(pixel(45, rows.bottoms[1] + 60), 0x404040u) << "the selected row's frame stays";
}
