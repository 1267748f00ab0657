#include "calevent.h"

#include "oadate.h"
#include "planneryear.h"

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
    span.last = year.InPlannerYear(event.EndDate) ? year.RowOfMonth(event.EndMonth)
                                                  : PlannerYear::kRows;
    return span;
}
