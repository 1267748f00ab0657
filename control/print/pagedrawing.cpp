#include "pagedrawing.h"

#include "dialogs.h"
#include "localefont.h"
#include "paintercanvas.h"
#include "plannerstate.h"
#include "printsettings.h"
#include "qverror.h"
#include "twips.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

constexpr unsigned kNameFlags = Canvas::DT_WORDBREAK | Canvas::DT_NOPREFIX | Canvas::DT_EDITCONTROL;
constexpr quint32 kPaperWeekend = 0xAAE8EE;
constexpr quint32 kLegendFrame = 0xE0E0E0;

// A canvas over part of the page, given in twips from the page's top-left corner.
struct Part
{
    Part(QPainter &painter, const QRect &pageArea, double dpiX, double dpiY, const QRectF &twips,
         const QFont &font, quint32 back = 0xFFFFFF)
        : canvas(painter,
                 QRect(pageArea.left() + int(std::lround(Twips::toPixels(twips.left(), dpiX))),
                       pageArea.top() + int(std::lround(Twips::toPixels(twips.top(), dpiY))),
                       std::max(1, int(std::lround(Twips::toPixels(twips.width(), dpiX)))),
                       std::max(1, int(std::lround(Twips::toPixels(twips.height(), dpiY))))),
                 dpiX, dpiY, back)
    {
        canvas.setFont(font);
    }
    PainterCanvas canvas;
};

void drawLegend(Canvas &page, const CategoryTable &table, const PageLegend &legend)
{
    page.setFontSize(legend.fontSize);
    page.setForeColor(0x000000);
    const double px = page.px(), py = page.py();
    for (const PageLegendEntry &entry : legend.entries) {
        const QRectF &f = entry.frame;
        page.line(f.left(), f.top(), f.right(), f.top(), kLegendFrame);
        page.line(f.left(), f.bottom(), f.right(), f.bottom(), kLegendFrame);
        page.line(f.left(), f.top(), f.left(), f.bottom(), kLegendFrame);
        page.line(f.right(), f.top(), f.right(), f.bottom(), kLegendFrame);
        page.box(f.left() + px, f.top() + py, f.left() + 180, f.top() + 180,
                 table.colours.value(entry.index - 1), true);
        QRect r(QPoint(int(entry.name.left() / px), int(entry.name.top() / py)),
                QPoint(int(entry.name.right() / px), int(entry.name.bottom() / py)));
        page.DrawText(table.names.value(entry.index - 1), r, kNameFlags);
    }
}

} // namespace

PageLegend PageLegendOf(const PageLayout &layout, const PrintSettings &settings, int p, int n,
                        double y0)
{
    PageLegend legend;
    legend.fontSize = 10;
    int first = 0, last = -1;
    double shift = 0;
    if (p == 1 || layout.legendPageCount != 1 || layout.pageCount < 2) {
        legend.fontSize = layout.legendPageCount == 1 ? 10 : 9; // names are measured at 10
        if (p < layout.legendFirst.size()) {
            first = layout.legendFirst[p];
            last = layout.legendLast[p];
            shift = layout.legendBottom[layout.legendLast[p - 1]];
        }
    } else if (settings.ReprintLegend()) {
        first = 1;
        last = n;
    }
    const double left = layout.gridLeft + layout.gridWidth + 45;
    const double right = left + settings.legendWidthTwips() - 45;
    for (int i = std::max(first, 1); i <= last && i <= n && i < layout.legendBottom.size(); ++i) {
        const double top = y0 + layout.legendBottom[i - 1] - shift;
        const double bottom = y0 + layout.legendBottom[i] - shift - 30;
        legend.entries.append({i, QRectF(QPointF(left, top), QPointF(right, bottom)),
                               QRectF(QPointF(left + 240, top), QPointF(right, bottom))});
    }
    return legend;
}

QFont PageFont()
{
    LocaleFont font;
    font.font = QFont(QStringLiteral("Arial"));
    ApplyLocaleFont(font, AnsiCodePageOf(QLocale()));
    return font.font;
}

void DrawPage(QPainter &painter, const QRect &pageArea, double dpiX, double dpiY,
              const PlannerState &state, const PrintSettings &settings, PageLayout &layout, int p,
              const PageStyle &style)
{
    PainterCanvas page(painter, pageArea, dpiX, dpiY);
    page.setFont(style.font);
    page.clear();
    const double left = settings.leftMarginTwips(), top = settings.topMarginTwips();

    // The heading, centred over the grid and the legend.
    page.setFontSize(12);
    page.setForeColor(0x000000);
    QRect headingRect(
        QPoint(int(left / page.px()), int(top / page.py())),
        QPoint(int((left + layout.gridWidth + settings.legendWidthTwips()) / page.px()),
               int((top + layout.headingHeight) / page.py())));
    const int drawn =
        page.DrawText(PageHeading(state, settings), headingRect, Canvas::DT_CENTER | kNameFlags);
    layout.headingHeight = drawn * page.py() + 120;
    const double y0 = layout.gridTop(top);
    const double x0 = layout.gridLeft;
    const double gridHeight = layout.pageGridHeight(p);

    GridGeometry g;
    g.DayWidth = layout.dayWidth;
    g.BandHeight = layout.bandHeight;
    g.GridWidth = int(layout.gridWidth);
    GridRows rows;
    rows.rowBands = layout.rowBands;
    rows.first = layout.pageFirstRow[p];
    rows.last = layout.pageLastRow[p];

    Part strip(painter, pageArea, dpiX, dpiY,
               QRectF(x0, y0 - PageLayout::kDayStrip, layout.gridWidth, PageLayout::kDayStrip),
               style.font, style.colours.windowBackground);
    strip.canvas.setFontSize(9);
    DrawDayHeadings(strip.canvas, g, style.names, style.colours);
    if (layout.hasMonths(p)) {
        Part months(painter, pageArea, dpiX, dpiY,
                    QRectF(left, y0, PageLayout::kMonthColumn, gridHeight), style.font,
                    style.colours.windowBackground);
        months.canvas.setFontSize(9);
        DrawMonthHeadings(months.canvas, state, g, style.names, style.colours, rows);
    }
    if (settings.DisplayLegend()) {
        const CategoryTable table = state.legendTable();
        drawLegend(page, table, PageLegendOf(layout, settings, p, int(table.names.size()), y0));
    }
    if (!layout.hasMonths(p))
        return;

    Part grid(painter, pageArea, dpiX, dpiY,
              QRectF(x0, y0, layout.gridWidth, gridHeight + page.py()), style.font);
    GridStyle paper;
    paper.dayNumberInset = 2;
    paper.subjectSize = 6;
    paper.subjectFlags =
        settings.PrintFormat() == 0
            ? kNameFlags
            : Canvas::DT_WORD_ELLIPSIS | Canvas::DT_NOPREFIX | Canvas::DT_SINGLELINE;
    grid.canvas.setFontSize(layout.dayNumberSize);
    DrawGrid(grid.canvas, state, g, rows, kPaperWeekend, paper);
    paper.subjects = settings.VisibleText();
    try {
        DrawBars(grid.canvas, state, g, rows, paper, nullptr);
    } catch (const std::exception &e) {
        state.dialogs.message(
            QCoreApplication::translate(
                "Messages", "Error drawing the current events, please refresh planner.\n\n") +
            ErrorTail(e));
    }
}

bool PrintPages(QPagedPaintDevice &device, const PlannerState &state, const PrintSettings &settings,
                PageLayout &layout, const PageStyle &style)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRect area(0, 0, device.width(), device.height());
    for (int p = 1; p <= layout.pageCount; ++p) {
        if (p > 1)
            device.newPage();
        DrawPage(painter, area, device.logicalDpiX(), device.logicalDpiY(), state, settings, layout,
                 p, style);
    }
    return painter.end();
}
