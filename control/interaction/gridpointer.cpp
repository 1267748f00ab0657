#include "gridpointer.h"

#include "weeknumber.h"

#include "appointmentcommands.h"
#include "calendarstore.h"
#include "dialogs.h"
#include "oadate.h"
#include "planner.h"

#include <QCoreApplication>
#include <cmath>

QString HoverText(const CalEvent &event, bool allEvents, const QString &categorySeparator,
                  GeneralDateFormat &dates, const QString *startZone, const QString *endZone)
{
    const double start = event.StartDate;
    double end = event.EndDate;
    // A whole-day appointment ends at the midnight after its last day: show that day.
    if (std::floor(end) > std::floor(start) && (!HasTimeOfDay(end) || !allEvents))
        end -= 1;
    const bool range = end > start;
    QString text = dates.format(start);
    if (range)
        text += QStringLiteral(" to ") + dates.format(end);
    text += categorySeparator + event.Subject;
    if (startZone) {
        text += QStringLiteral(" [") + *startZone;
        if (range && endZone)
            text += QStringLiteral(" to ") + *endZone;
        text += QLatin1Char(']');
    }
    return text;
}

GridPointer::GridPointer(Planner &planner, AppointmentCommands &commands, PointerView &view)
    : m_planner(planner), m_commands(commands), m_view(view)
{
}

GeneralDateFormat &GridPointer::dates()
{
    // The user's date form of the moment: the texts it keeps belong to one locale.
    if (m_dates.locale() != QLocale())
        m_dates = GeneralDateFormat(QLocale());
    return m_dates;
}

QString GridPointer::dateText(double date)
{
    return dates().format(date);
}

QString GridPointer::dayText(double date)
{
    const QDate day = OADate::toDateTime(date).date();
    QString text =
        dateText(date) + QStringLiteral(", week %1").arg(WeekOfYear(day, dates().locale()));
    // What marks the day: "Whit Monday (DE_BY)".
    if (const QList<DayMarks::Mark> *marks = m_planner.state().marks->at(day))
        for (const DayMarks::Mark &m : *marks)
            text += QStringLiteral(", ") + m.name;
    return text;
}

std::pair<int, int> GridPointer::rowAndBand(double y) const
{
    const GridGeometry &g = m_view.gridGeometry();
    if (g.BandHeight <= 0)
        return {PlannerYear::kRows + 1, 0};
    const int u = int(std::floor(y / g.BandHeight)) + 1;
    const auto &rowBands = m_planner.state().RowBands;
    for (int r = 1; r <= PlannerYear::kRows; ++r) {
        if (rowBands[r - 1] < u && u <= rowBands[r])
            return {r, u - rowBands[r - 1]};
    }
    return {PlannerYear::kRows + 1, 0};
}

void GridPointer::move(double x, double y)
{
    m_lastX = x;
    m_lastY = y;
    m_overGrid = true;
    try {
        const auto [row, band] = rowAndBand(y);
        if (row > PlannerYear::kRows)
            return; // below the last row: nothing changes
        m_row = row;
        m_band = band;
        const GridGeometry &g = m_view.gridGeometry();
        const int column = g.DayWidth > 0 ? int(std::floor(x / g.DayWidth)) + 1 : 0;
        if (column < 0 || column > PlannerYear::kColumns)
            return;
        const PlannerYear &year = m_planner.state().year;
        const int lead = year.LeadIn(row), last = year.LastColumn(row);
        if (m_selecting) {
            m_view.toggleSelection(m_corners);
            m_corners.endColumn = column <= lead ? lead + 1 : column >= last ? last : column;
            m_corners.endRow = row;
            m_view.toggleSelection(m_corners);
            showDays(year.DateOfCell(m_corners.startColumn, m_corners.startRow),
                     year.DateOfCell(m_corners.endColumn, m_corners.endRow));
        } else if (m_planner.CategorySelectionActive()) {
            const double day = year.DateOfCell(column, row);
            showDays(day, day);
        } else {
            ShowHover(row, column, band);
        }
        m_column = lead < column && column <= last ? column : 0;
        m_view.clearLegendHover();
    } catch (const std::exception &) {
        reset();
    }
}

void GridPointer::ShowHover(int row, int column, int band)
{
    try {
        const QString key = m_planner.hitMap().at(row, column, band);
        if (key.isEmpty()) {
            m_hoveredKey.clear();
            const double date = m_planner.state().year.DateOfCell(column, row);
            m_view.setDateLabel(dayText(date));
            m_view.setGridCursor(PointerView::Cursor::Default);
            QStringList marks;
            if (const QList<DayMarks::Mark> *on =
                    m_planner.state().marks->at(OADate::toDateTime(date).date()))
                for (const DayMarks::Mark &m : *on)
                    marks << m.name;
            m_view.setGridToolTip(marks.join(QLatin1Char('\n')));
            return;
        }
        m_hoveredKey = key;
        const CalEvent *event = m_planner.state().store->Find(key);
        if (!event)
            throw std::runtime_error("the hit map names an event the store no longer has");
        m_view.setGridCursor(PointerView::Cursor::Hand);
        const PlannerState &state = m_planner.state();
        QString text;
        if (m_planner.clientVersion().modern()) {
            const CalendarAccess *access = m_planner.access();
            const Store::AppointmentItemPtr item =
                access ? access->GetAppointmentByID(event->EventID) : nullptr;
            if (!item) {
                m_planner.dialogs().message(
                    QCoreApplication::translate("Messages", "Cannot get appointment"));
                text = HoverText(*event, state.AllEvents, state.CategorySeparator, dates());
            } else if (item->AllDayEvent()) {
                // Whole days belong to no zone: "[Etc/UTC to Etc/UTC]" only puzzled.
                text = HoverText(*event, state.AllEvents, state.CategorySeparator, dates());
            } else {
                const QString startZone = item->StartTimeZone(), endZone = item->EndTimeZone();
                text = HoverText(*event, state.AllEvents, state.CategorySeparator, dates(),
                                 &startZone, &endZone);
            }
        } else {
            text = HoverText(*event, state.AllEvents, state.CategorySeparator, dates());
        }
        m_view.setGridToolTip(event->Subject);
        m_view.setDateLabel(text);
    } catch (const std::exception &) {
        m_hoveredKey.clear();
        m_view.setGridCursor(PointerView::Cursor::Default);
        m_view.setDateLabel(QString());
    }
}

void GridPointer::showDays(double first, double last)
{
    QString text;
    if (m_planner.CategorySelectionActive())
        text = m_planner.state().categories.names.value(m_planner.SelectedCategory() - 1) +
               QStringLiteral("  ");
    text += dateText(first);
    if (last != first)
        text += QStringLiteral(" to ") + dateText(last);
    m_view.setDateLabel(text);
}

void GridPointer::refresh()
{
    if (m_overGrid && !m_selecting)
        move(m_lastX, m_lastY);
}

void GridPointer::moveIfMoved(double x, double y)
{
    if (x != m_lastX || y != m_lastY)
        move(x, y);
}

void GridPointer::press(Button button, double x, double y)
{
    moveIfMoved(x, y);
    try {
        if (button == Button::Left && m_planner.CategorySelectionActive()) {
            if (m_column == 0) {
                leavePenMode(); // a grey cell: outside the month's days
                return;
            }
            m_corners = {m_column, m_column, m_row, m_row};
            m_startBand = m_band;
            m_selecting = true;
            m_view.toggleSelection(m_corners);
        } else if (button == Button::Right) {
            m_view.showAppointmentMenu(m_hoveredKey, m_planner.CategorySelectionActive());
        }
    } catch (const std::exception &) {
        reset();
    }
}

void GridPointer::release(Button button, double x, double y)
{
    moveIfMoved(x, y);
    if (m_selecting) {
        const SelectionCorners c = Normalised(m_corners);
        m_view.toggleSelection(m_corners);
        m_selecting = false;
        const PlannerYear &year = m_planner.state().year;
        const double start = year.DateOfCell(c.startColumn, c.startRow);
        const double end =
            year.DateOfCell(c.endColumn + 1, c.endRow); // midnight after the last day
        const QString name =
            m_planner.state().categories.names.value(m_planner.SelectedCategory() - 1);
        m_commands.CreateAppointment(start, end, name);
        leavePenMode();
    } else if (button == Button::Left && !m_planner.CategorySelectionActive() &&
               !m_hoveredKey.isEmpty()) {
        m_commands.OpenAppointment(m_hoveredKey);
    }
}

void GridPointer::clickOutsideGrid()
{
    if (m_planner.CategorySelectionActive())
        leavePenMode();
}

void GridPointer::leavePenMode()
{
    m_planner.SelectCategory(0);
}

void GridPointer::reset()
{
    m_selecting = false;
    // The redraw after a failure must not show the hover again that failed.
    m_overGrid = false;
    m_row = m_column = m_band = 0;
    m_view.redrawYear();
}

QString GridPointer::monthToolTip(double y) const
{
    const int row = rowAndBand(y).first;
    if (row > PlannerYear::kRows)
        return QString();
    return m_planner.names().MonthNames[size_t(m_planner.state().year.MonthOfRow(row) - 1)];
}

double GridPointer::monthTopAt(double y) const
{
    const int row = rowAndBand(y).first;
    if (row > PlannerYear::kRows)
        return y;
    return m_planner.state().RowBands[row - 1] * m_view.gridGeometry().BandHeight;
}

double GridPointer::monthTopFrom(double visibleTop, int steps) const
{
    const double bandHeight = m_view.gridGeometry().BandHeight;
    const auto &rowBands = m_planner.state().RowBands;
    const auto top = [&](int row) { return rowBands[row - 1] * bandHeight; };
    double at = visibleTop;
    for (; steps > 0; --steps) {
        int r = 1;
        while (r <= PlannerYear::kRows && top(r) <= at + 0.5)
            ++r;
        if (r > PlannerYear::kRows)
            break;
        at = top(r);
    }
    for (; steps < 0; ++steps) {
        int r = PlannerYear::kRows;
        while (r >= 1 && top(r) >= at - 0.5)
            --r;
        at = r >= 1 ? top(r) : 0;
    }
    return at;
}

QString GridPointer::weekdayToolTip(double x) const
{
    const GridGeometry &g = m_view.gridGeometry();
    if (g.DayWidth <= 0 || x < 0)
        return QString();
    const int index = int(std::floor(x / g.DayWidth));
    // Column 1 is a Sunday; DayNames counts from Monday with Sunday at 0 and 7.
    return m_planner.names().DayNames[size_t(index % 7)];
}
