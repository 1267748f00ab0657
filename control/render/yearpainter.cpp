#include "yearpainter.h"

#include "controllayout.h"
#include "plannerstate.h"

#include <QPainter>
#include <QVariant>

#include <cmath>

GridGeometry PaintYear(QPainter &painter, const QRect &area, double dpi, PlannerState &state,
                       const YearPaintOptions &options, HitMap &hits)
{
    const double twipsPerPixel = 1440.0 / dpi;
    CalculateBands(*state.store, state.year, state.AllEvents, options.minimumBands,
                   [&state](const CalEvent &e) { return state.isVisible(e); }, state.RowBands,
                   state.dialogs);
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

quint32 WeekendColourOf(int outlookMajorVersion, const QVariant &backgroundColorIndex)
{
    if (outlookMajorVersion < 12)
        return 0xAAE8EE;
    static const quint32 colours[] = {0xE1BFA5, 0xA4CDB1, 0xBCACD8, 0xD1CBC7, 0xCDCDA4,
                                      0xDC9B9B, 0xB2CEA5, 0xACACDD, 0xA2C9C9, 0xE1AFBF,
                                      0xA5C1CF, 0xBFCDA4, 0xD4C5A8, 0x9FE6FF, 0xD8BCAC};
    bool ok = false;
    const int index = backgroundColorIndex.toInt(&ok);
    if (!ok)
        return colours[0];
    return index >= 0 && index < int(std::size(colours)) ? colours[index] : 0xAAE8EE;
}
