#include "yearpainter.h"

#include "plannerstate.h"

#include <QPainter>
#include <QVariant>

#include <cmath>

GridGeometry PaintYear(QPainter &painter, const QRect &area, double dpi, PlannerState &state,
                       const YearPaintOptions &options, HitMap &hits)
{
    const double twipsPerPixel = 1440.0 / dpi;
    const int column = options.headings ? int(std::lround(405 / twipsPerPixel)) : 0;
    const int strip = options.headings ? int(std::lround(240 / twipsPerPixel)) : 0;
    const QRect gridArea(area.left() + column, area.top() + strip, area.width() - column,
                         area.height() - strip);

    CalculateBands(*state.store, state.year, state.AllEvents, options.minimumBands,
                   [&state](const CalEvent &e) { return state.isVisible(e); }, state.RowBands,
                   state.dialogs);
    PainterCanvas grid(painter, gridArea, dpi, dpi);
    const GridGeometry g =
        FitGeometry(grid.width(), grid.height(), state.RowBands, grid.px(), grid.py());
    DrawYear(grid, state, g, options.weekendColour);
    DrawEvents(grid, state, g, hits, options.today);
    if (options.headings) {
        PainterCanvas days(painter, QRect(gridArea.left(), area.top(), gridArea.width(), strip),
                           dpi, dpi, options.colours.windowBackground);
        DrawDayHeadings(days, g, options.names, options.colours);
        PainterCanvas months(painter, QRect(area.left(), gridArea.top(), column, gridArea.height()),
                             dpi, dpi, options.colours.windowBackground);
        DrawMonthHeadings(months, state, g, options.names, options.colours);
    }
    return g;
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
