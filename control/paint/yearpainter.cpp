#include "yearpainter.h"

#include "colours.h"
#include "controllayout.h"
#include "paintercanvas.h"
#include "plannerstate.h"
#include "twips.h"

#include <QPainter>
#include <QPalette>
#include <QVariant>

#include <cmath>

SystemColours SystemColoursOf(const QPalette &palette)
{
    SystemColours c;
    c.windowBackground = BgrOf(palette.color(QPalette::Active, QPalette::Base));
    c.windowFrame = BgrOf(palette.color(QPalette::Active, QPalette::WindowText));
    c.inactiveTitleBar = BgrOf(palette.color(QPalette::Inactive, QPalette::Button).darker(115));
    c.darkShadow = BgrOf(palette.color(QPalette::Active, QPalette::Shadow));
    return c;
}

GridGeometry PaintYear(QPainter &painter, const QRect &area, double dpi, PlannerState &state,
                       const YearPaintOptions &options, HitMap &hits)
{
    const double twipsPerPixel = Twips::perPixel(dpi);
    state.RowBands = CalculateBands(
        *state.store, state.year, state.AllEvents, options.minimumBands,
        [&state](const CalEvent &e) { return state.isVisible(e); }, state.dialogs);
    GridLayoutInput in;
    in.areaWidth = area.width() * twipsPerPixel;
    in.areaHeight = area.height() * twipsPerPixel;
    in.px = in.py = twipsPerPixel;
    in.totalBands = state.RowBands[12];
    in.headings = options.headings;
    in.mayScroll = false; // an image or a page shows the whole year
    const GridLayout layout = LayoutGrid(in);
    const auto pixels = [&](const QRectF &r) {
        const auto px = [&](double twips) { return int(std::lround(twips / twipsPerPixel)); };
        return QRect(area.left() + px(r.left()), area.top() + px(r.top()), px(r.width()),
                     px(r.height()))
            .intersected(area);
    };

    PainterCanvas grid(painter, pixels(layout.grid), dpi, dpi);
    DrawYear(grid, state, layout.geometry, options.weekendColour);
    DrawEvents(grid, state, layout.geometry, hits, options.today);
    if (options.headings) {
        PainterCanvas days(painter, pixels(layout.dayHeadings), dpi, dpi,
                           options.colours.windowBackground);
        DrawDayHeadings(days, layout.geometry, options.names, options.colours);
        PainterCanvas months(painter, pixels(layout.monthColumn), dpi, dpi,
                             options.colours.windowBackground);
        DrawMonthHeadings(months, state, layout.geometry, options.names, options.colours);
    }
    return layout.geometry;
}
