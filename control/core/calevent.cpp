#include "calevent.h"

#include "oadate.h"
#include "planneryear.h"

#include <algorithm>

namespace {

// Month position of date; when the date is inside the year also its day column, less
// endAdjust (the end column counts the last whole day of an item ending at midnight).
void place(double date, const PlannerYear &year, qint16 &month, qint16 &day, int endAdjust)
{
    const PlannerYear::Cell cell = year.CellOf(date);
    if (cell.month) {
        month = cell.month;
        day = qint16(cell.column - endAdjust);
    } else {
        month = year.MonthIndexOf(date);
    }
}

} // namespace

void PlaceEvent(CalEvent &event, const PlannerYear &year)
{
    place(event.StartDate, year, event.StartMonth, event.StartDay, 0);
    place(event.EndDate, year, event.EndMonth, event.EndDay, 1);
}

bool TouchesPlannerYear(const CalEvent &event)
{
    return !(event.StartMonth > 12 || (event.StartMonth < 1 && event.EndMonth < 1));
}

RowSpan RowsOf(const CalEvent &event, const PlannerYear &year)
{
    if (!TouchesPlannerYear(event))
        return {};
    RowSpan span;
    span.first = year.InPlannerYear(event.StartDate) ? year.RowOfMonth(event.StartMonth) : 1;
    span.last =
        year.InPlannerYear(event.EndDate) ? year.RowOfMonth(event.EndMonth) : PlannerYear::kRows;
    return span;
}

RowColumns ColumnsInRow(const CalEvent &event, const PlannerYear &year, int row, bool allEvents)
{
    const int m = year.MonthOfRow(row);
    RowColumns c;
    c.left = m == event.StartMonth ? event.StartDay - 1 : year.LeadIn(row);
    const bool endsHere = m == event.EndMonth;
    const int right = endsHere ? event.EndDay : year.LastColumn(row);
    c.drawnRight = endsHere && allEvents && HasTimeOfDay(event.EndDate) ? right + 1 : right;
    // A timed event, or a zero-length one at midnight, holds its last day too; and a band is
    // held wherever its bar is drawn (midnight to a time on a later day is drawn through that day).
    const bool wholeDayStart = !HasTimeOfDay(event.StartDate);
    c.occupiedRight = allEvents && !(wholeDayStart && c.left != right) ? right + 1 : right;
    c.occupiedRight = std::max(c.occupiedRight, c.drawnRight);
    return c;
}
