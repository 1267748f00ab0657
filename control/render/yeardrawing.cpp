#include "yeardrawing.h"

#include "regio.h"

#include "dialogs.h"
#include "eventkey.h"
#include "oadate.h"
#include "plannerstate.h"
#include "qverror.h"
#include "weeknumber.h"

#include <QCoreApplication>
#include <QLocale>
#include <QVariant>

#include <cmath>

namespace {

constexpr quint32 kOutsideMonth = 0xE0E0E0;
constexpr quint32 kDayLine = 0x808080;
constexpr quint32 kMonthOutline = 0x0000FF;
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kSelection = 0x00FFFF;    // yellow
constexpr quint32 kNoticeColour = 0xE1FFFF; // light yellow, as a tooltip
constexpr quint32 kWeekNumberColour = 0x808080;
constexpr int kLegibleTextPixels = 4;

// Shows a drawing failure the way every drawing step reports one.
void report(Dialogs &dialogs, const QString &sentence, const std::exception &e)
{
    dialogs.notice(sentence + QStringLiteral("\n\n") + ErrorTail(e));
}

} // namespace

double FitLabelSize(Canvas &canvas, const QStringList &texts, double width, double height)
{
    const double own = canvas.fontSize();
    const auto widthFits = [&] {
        double widest = 0;
        for (const QString &t : texts)
            widest = std::max(widest, canvas.textWidth(t));
        return widest <= width;
    };
    // The largest size that fits both ways; failing that, the largest that fits the width (the
    // labels then reach below their cell, under what is drawn there).
    double widthOnly = 0;
    for (double size = own; size >= kMinLabelPoints; size = std::floor(size * 2 - 1) / 2) {
        canvas.setFontSize(size);
        if (!widthFits())
            continue;
        if (canvas.textHeight(QStringLiteral("0")) <= height)
            return size;
        if (widthOnly == 0)
            widthOnly = size;
    }
    canvas.setFontSize(widthOnly > 0 ? widthOnly : own);
    return widthOnly;
}

void DrawDayLines(Canvas &canvas, const GridGeometry &g)
{
    const double h = canvas.height();
    for (int i = 0; i <= PlannerYear::kColumns; ++i) {
        const double x = std::round(i * g.DayWidth);
        canvas.line(x, 0, x, h, kDayLine);
    }
}

double GridRows::top(int r, double bandHeight) const
{
    return (rowBands[r - 1] - rowBands[first - 1]) * bandHeight;
}

double GridRows::bottom(int r, double bandHeight) const
{
    return (rowBands[r] - rowBands[first - 1]) * bandHeight;
}

GridRows AllRows(const RowBandTable &rowBands)
{
    GridRows rows;
    rows.rowBands = rowBands;
    return rows;
}

namespace {

// A marked day's cell in its first source's colour, under the day lines, numbers and bars; on a
// weekend the day-number band keeps the weekend's shade, so both show.
void ShadeMarkedDays(Canvas &canvas, const PlannerState &state, const GridGeometry &g,
                     const GridRows &rows)
{
    const PlannerYear &year = state.year;
    const DayMarks &marks = *state.marks;
    for (int r = rows.first; r <= rows.last; ++r) {
        const double top = rows.top(r, g.BandHeight), bottom = rows.bottom(r, g.BandHeight);
        if (!canvas.shows(top, bottom))
            continue;
        for (int q = year.LeadIn(r) + 1; q <= year.LastColumn(r); ++q) {
            const QList<DayMarks::Mark> *on = marks.at(OADate::toDate(year.DateOfCell(q, r)));
            if (!on || on->isEmpty())
                continue;
            const quint32 colour = marks.sources.value(on->first().source).colour;
            const bool weekend = q % 7 == 0 || q % 7 == 1; // column 1 is a Sunday
            canvas.box((q - 1) * g.DayWidth, weekend ? top + g.BandHeight : top, q * g.DayWidth,
                       bottom, colour, true);
        }
    }
}

// The week's number at the right of the day-number band of each week's first day in each row
// (and of each month's first day), in grey and smaller than the day numbers; left out of a cell
// too narrow to hold both.
void DrawWeekNumbers(Canvas &canvas, const PlannerYear &year, const GridGeometry &g,
                     const GridRows &rows, double inset)
{
    const double px = canvas.px();
    const double numberSize = canvas.fontSize();
    const double dayNumberWidth = canvas.textWidth(QStringLiteral("31"));
    canvas.setFontSize(std::max(2.0, numberSize * 0.8));
    const Qt::DayOfWeek firstDay = QLocale().firstDayOfWeek();
    if (inset + dayNumberWidth + canvas.textWidth(QStringLiteral("53")) + 4 * px > g.DayWidth) {
        canvas.setFontSize(numberSize);
        return;
    }
    canvas.setForeColor(kWeekNumberColour);
    for (int r = rows.first; r <= rows.last; ++r) {
        const double top = rows.top(r, g.BandHeight);
        if (!canvas.shows(top, rows.bottom(r, g.BandHeight)))
            continue;
        for (int q = year.LeadIn(r) + 1; q <= year.LastColumn(r); ++q) {
            const QDate day = OADate::toDate(year.DateOfCell(q, r));
            if (!StartsWeek(day, firstDay) && q != year.LeadIn(r) + 1)
                continue;
            const QString week = QString::number(WeekOfYear(day, firstDay));
            canvas.setCurrentX(q * g.DayWidth - canvas.textWidth(week) - 2 * px);
            canvas.setCurrentY(top);
            canvas.print(week);
        }
    }
    canvas.setForeColor(0x000000);
    canvas.setFontSize(numberSize);
}

} // namespace

void DrawYear(Canvas &canvas, PlannerState &state, const GridGeometry &g, quint32 weekendColour)
{
    DrawGrid(canvas, state, g, AllRows(state.RowBands), weekendColour, GridStyle());
}

void DrawGrid(Canvas &canvas, const PlannerState &state, const GridGeometry &g,
              const GridRows &rows, quint32 weekendColour, const GridStyle &style)
{
    try {
        const double h = canvas.height();
        canvas.clear();
        // Column 1 is a Sunday; then each Saturday with the Sunday after it.
        canvas.box(0, 0, g.DayWidth, h, weekendColour, true);
        for (int saturday = 7; saturday < PlannerYear::kColumns; saturday += 7)
            canvas.box((saturday - 1) * g.DayWidth, 0, (saturday + 1) * g.DayWidth, h,
                       weekendColour, true);
        if (state.marks && !state.marks->isEmpty())
            ShadeMarkedDays(canvas, state, g, rows);
        DrawDayLines(canvas, g);

        const PlannerYear &year = state.year;
        const double inset = style.dayNumberInset * canvas.px();
        // Day numbers never run into each other: smaller in narrow cells, left out in cells too
        // narrow for the smallest.
        static const QStringList dayNumbers = [] {
            QStringList n;
            for (int d = 1; d <= 31; ++d)
                n << QString::number(d);
            return n;
        }();
        // A gap of two pixels before the next cell's line keeps neighbours apart.
        const double ownSize = canvas.fontSize();
        const bool numbered = FitLabelSize(canvas, dayNumbers, g.DayWidth - inset - 3 * canvas.px(),
                                           g.BandHeight) > 0;
        for (int r = rows.first; r <= rows.last; ++r) {
            const int lead = year.LeadIn(r), last = year.LastColumn(r);
            const double top = rows.top(r, g.BandHeight), bottom = rows.bottom(r, g.BandHeight);
            canvas.box(0, top, lead * g.DayWidth, bottom, kOutsideMonth, true);
            canvas.box(last * g.DayWidth, top, g.GridWidth, bottom, kOutsideMonth, true);
            for (int q = lead + 1; numbered && canvas.shows(top, bottom) && q <= last; ++q) {
                canvas.setCurrentX((q - 1) * g.DayWidth + inset);
                canvas.setCurrentY(top);
                canvas.print(QString::number(q - lead));
            }
        }
        if (numbered && state.WeekNumbers)
            DrawWeekNumbers(canvas, year, g, rows, inset);
        canvas.setFontSize(ownSize);
        for (int r = rows.first; r <= rows.last; ++r) {
            canvas.box(year.LeadIn(r) * g.DayWidth, rows.top(r, g.BandHeight),
                       year.LastColumn(r) * g.DayWidth, rows.bottom(r, g.BandHeight), kMonthOutline,
                       false);
        }
    } catch (const std::exception &e) {
        report(state.dialogs,
               QCoreApplication::translate("Messages",
                                           "Error drawing the year, please refresh planner."),
               e);
    }
}

void DrawDayHeadings(Canvas &strip, const GridGeometry &g, const CalendarNames &names,
                     const SystemColours &colours)
{
    const double px = strip.px(), py = strip.py();
    const double h = GridMetrics::kDayStripHeight;
    const double th = std::round(strip.textHeight(QStringLiteral("0")));
    strip.clear();
    strip.box(0, 0, g.GridWidth, h, colours.windowBackground, false);
    strip.line(strip.width() - px, py, strip.width() - px, h, colours.windowFrame);
    const double ownSize = strip.fontSize();
    QStringList weekdays;
    for (int d = 0; d < 7; ++d)
        weekdays << names.DayShortNames[size_t(d)];
    const bool named = FitLabelSize(strip, weekdays, g.DayWidth - 4 * px, h - py) > 0;
    const double nameHeight = named ? std::round(strip.textHeight(QStringLiteral("0"))) : th;
    for (int v = 0; v < PlannerYear::kColumns; ++v) {
        const double x = std::round(v * g.DayWidth);
        // The raised edge first: where a device draws both on one dot, the separator shows.
        strip.line(x + px, 0, x + px, h, kWhite);
        strip.line(x, 0, x, h, colours.inactiveTitleBar);
        if (!named)
            continue;
        strip.setCurrentX(x + 3 * px);
        strip.setCurrentY(h - nameHeight - py);
        strip.print(names.DayShortNames[size_t(v % 7)]);
    }
    strip.setFontSize(ownSize);
    strip.line(0, strip.height() - py, strip.width(), strip.height() - py, colours.windowFrame);
}

void DrawGridNotice(Canvas &canvas, const GridGeometry &g, double visibleTop, const QString &text)
{
    const double px = canvas.px(), py = canvas.py();
    const double savedSize = canvas.fontSize();
    canvas.setFontSize(9);
    const double height = canvas.textHeight(text) + 8 * py;
    const double width = std::min(canvas.textWidth(text) + 16 * px, double(g.GridWidth) - 2 * px);
    const double left = std::round((g.GridWidth - width) / 2);
    const double top = std::round(visibleTop + g.BandHeight + 4 * py);
    canvas.box(left, top, left + width, top + height, kNoticeColour, true);
    canvas.box(left, top, left + width, top + height, 0x808080, false);
    canvas.setForeColor(0x000000);
    QRect r(int(left / px) + 8, int(top / py) + 4, int(width / px) - 16, int(height / py) - 8);
    canvas.DrawText(text, r, Canvas::DT_SINGLELINE | Canvas::DT_NOPREFIX | Canvas::DT_END_ELLIPSIS);
    canvas.setFontSize(savedSize); // the grid's day numbers are drawn at the size they had
}

void DrawMonthHeadings(Canvas &column, const PlannerState &state, const GridGeometry &g,
                       const CalendarNames &names, const SystemColours &colours, double visibleTop)
{
    DrawMonthHeadings(column, state, g, names, colours, AllRows(state.RowBands), visibleTop);
}

void DrawMonthHeadings(Canvas &column, const PlannerState &state, const GridGeometry &g,
                       const CalendarNames &names, const SystemColours &colours,
                       const GridRows &rows, double visibleTop)
{
    const double px = column.px(), py = column.py();
    const double w = std::round(column.width());
    column.clear();
    column.box(0, 0, w, column.height(), colours.windowBackground, false);
    column.line(0, 0, w, 0, colours.windowFrame);
    for (int r = rows.first; r <= rows.last; ++r) {
        const double y = std::round(rows.bottom(r, g.BandHeight));
        column.line(0, y + py, w, y + py, kWhite);
        column.line(0, y, w, y, colours.inactiveTitleBar);
        const QString &name = names.MonthShortNames[size_t(state.year.MonthOfRow(r) - 1)];
        double top = std::round(rows.top(r, g.BandHeight)) + 2 * py;
        // Scrolled past its top, the name moves down with the window, until the row's end.
        const double last = y - column.textHeight(name) - py;
        if (visibleTop + 2 * py > top && visibleTop < y)
            top = std::max(top, std::min(std::round(visibleTop) + 2 * py, last));
        column.setCurrentX(3 * px);
        column.setCurrentY(top);
        column.print(name);
    }
    column.line(w - px, 0, w - px, column.height(), colours.windowFrame);
}

void DrawBars(Canvas &canvas, const PlannerState &state, const GridGeometry &g,
              const GridRows &grid, const GridStyle &style, HitMap *hits)
{
    const double px = canvas.px(), py = canvas.py();
    const double savedSize = canvas.fontSize();
    if (style.subjects) {
        double size = style.subjectSize;
        if (size <= 0) {
            for (size = 7; size > 2; --size) {
                canvas.setFontSize(size);
                if (canvas.textHeight(QStringLiteral("0")) <= g.BandHeight)
                    break;
            }
        }
        canvas.setFontSize(size);
    }
    const PlannerYear &year = state.year;
    const std::shared_ptr<EventStore> store = state.store; // kept for the whole pass
    for (const CalEvent &e : *store) {
        if (!state.isVisible(e))
            continue;
        const RowSpan rows = RowsOf(e, year);
        if (rows.isEmpty() || e.Band < 2)
            continue;
        const int b = e.Band;
        const quint32 colour = e.CatIndex >= 1 && e.CatIndex <= state.categories.colours.size()
                                   ? state.categories.colours[e.CatIndex - 1]
                                   : 0xFFFFFF;
        for (int j = std::max(rows.first, grid.first); j <= std::min(rows.last, grid.last); ++j) {
            const RowColumns columns = ColumnsInRow(e, year, j, state.AllEvents);
            if (!columns.isDrawn())
                continue;
            const int k = columns.left, l = columns.drawnRight;
            const double left = k * g.DayWidth + px, right = l * g.DayWidth - px;
            const double bottom = grid.top(j, g.BandHeight) + b * g.BandHeight - py;
            const double top = bottom - g.BandHeight + 2 * py;
            const bool shown = canvas.shows(top, bottom);
            if (shown)
                canvas.box(left, top, right, bottom, colour, true);
            if (shown && style.subjects) {
                QRect r(QPoint(int(std::lround(left / px)), int(std::lround(top / py))),
                        QPoint(int(std::lround(right / px)), int(std::lround(bottom / py))));
                // A bar lower than the smallest legible line shows no letters, only specks.
                if (r.height() >= kLegibleTextPixels)
                    canvas.DrawText(e.Subject, r, style.subjectFlags);
            }
            if (hits)
                hits->set(j, k + 1, l, b, e);
        }
    }
    if (style.subjects)
        canvas.setFontSize(savedSize);
    canvas.setXorMode(false);
}

void DrawEvents(Canvas &canvas, PlannerState &state, const GridGeometry &g, HitMap &hits,
                double today, const std::function<void()> &redrawSelection)
{
    const double px = canvas.px(), py = canvas.py();
    const double savedSize = canvas.fontSize();
    try {
        hits.reset(state.RowBands[12]);
        GridStyle screen;
        screen.subjects = state.DisplaySubject;
        DrawBars(canvas, state, g, AllRows(state.RowBands), screen, &hits);

        const PlannerYear &year = state.year;
        const OADate::Civil t = OADate::civil(today);
        if (t.valid && year.InPlannerYear(t.year, t.month)) {
            const int row = year.RowOfMonth(t.month);
            const int q = year.LeadIn(row) + t.day;
            const double top = state.RowBands[row - 1] * g.BandHeight;
            const double bottom = state.RowBands[row] * g.BandHeight;
            canvas.box((q - 1) * g.DayWidth, top, q * g.DayWidth + 2 * px, bottom + 2 * py,
                       0x808080, false);
            canvas.setPenWidth(2);
            canvas.box((q - 1) * g.DayWidth - px, top - py, q * g.DayWidth + px, bottom + py,
                       kMonthOutline, false);
            canvas.setPenWidth(1);
        }
        if (redrawSelection)
            redrawSelection();
    } catch (const std::exception &e) {
        canvas.setFontSize(savedSize);
        report(state.dialogs,
               QCoreApplication::translate(
                   "Messages", "Error drawing the current events, please refresh planner."),
               e);
    }
}

void DrawSelection(Canvas &canvas, const PlannerState &state, const GridGeometry &g,
                   const SelectionCorners &corners)
{
    const SelectionCorners c = Normalised(corners);
    const PlannerYear &year = state.year;
    canvas.setXorMode(true);
    for (int i = std::max(c.startRow, 1); i <= std::min(c.endRow, PlannerYear::kRows); ++i) {
        const double left = (i == c.startRow ? c.startColumn - 1 : year.LeadIn(i)) * g.DayWidth;
        const double right = (i == c.endRow ? c.endColumn : year.LastColumn(i)) * g.DayWidth;
        const double bottom = (state.RowBands[i - 1] + 1) * g.BandHeight;
        canvas.box(left, bottom - g.BandHeight, right, bottom, kSelection, true);
    }
    canvas.setXorMode(false);
}

quint32 WeekendColourOf(ClientVersion client, const RegIO &registry)
{
    if (!client.modern())
        return WeekendColourOf(client, QVariant());
    return WeekendColourOf(
        client,
        registry.RegReadNumber(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\") +
                                   QString::number(client.major) +
                                   QStringLiteral(".0\\Outlook\\Options\\Calendar"),
                               QStringLiteral("BackgroundColorIndex")));
}

quint32 WeekendColourOf(ClientVersion client, const QVariant &backgroundColorIndex)
{
    if (!client.modern())
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
