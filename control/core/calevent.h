#pragma once

#include <QString>

class PlannerYear;

// One occurrence of an appointment, with the values that place it in the planner year. A plain
// record: whoever fills it keeps the fields consistent (PlaceEvent for the placement).
struct CalEvent
{
    QString EventID; // entry identifier, shared by all occurrences of a recurring item
    QString Subject;
    QString Categories;    // names joined by the category separator, as the calendar gives them
    double StartDate = 0;  // automation date, local time
    double EndDate = 0;    // a whole-day appointment ends at midnight after its last day
    qint16 CatIndex = 0;   // 1..N in the category table, or -1: not shown
    qint16 StartDay = 0;   // column of the start day, 0 when the start is outside the year
    qint16 EndDay = 0;     // column of the end day minus 1, 0 when the end is outside the year
    qint16 StartMonth = 0; // calendar month inside the year; <= 0 before it, >= 13 after it
    qint16 EndMonth = 0;
    qint32 Band = 0; // 0 until the band layout assigns 2 or more; a crowded year has thousands
};

// Sets StartMonth, StartDay, EndMonth and EndDay from StartDate and EndDate. A day column whose
// date lies outside the planner year keeps its previous value.
void PlaceEvent(CalEvent &event, const PlannerYear &year);

// The month rows an event covers, first..last (1..12); empty for an event that lies wholly
// outside the planner year. Rows start at 1 for an event that began before the year and end at
// 12 for one that ends after it.
struct RowSpan
{
    int first = 1;
    int last = 0;
    bool isEmpty() const { return first > last; }
};
RowSpan RowsOf(const CalEvent &event, const PlannerYear &year);

// False for an event that starts after the planner year or ends before it (its month positions
// say so); such events are not loaded, laid out or drawn.
bool TouchesPlannerYear(const CalEvent &event);

// The day columns an event covers in month row j, as half-open ranges (left, right]: columns
// left + 1 .. right, nothing when left == right. The bar is drawn over `drawn`; the band layout
// keeps the band taken over `occupied`, which holds at least the drawn columns. The two differ on
// the last day: a bar runs through its last day when its end has a time of day, the layout holds
// that day when its start or its end has one.
struct RowColumns
{
    int left = 0;
    int drawnRight = 0;
    int occupiedRight = 0;
    bool isDrawn() const { return left != drawnRight; }
    bool occupies() const { return left != occupiedRight; }
};
// row must lie in RowsOf(event, year); allEvents: timed appointments are shown too.
RowColumns ColumnsInRow(const CalEvent &event, const PlannerYear &year, int row, bool allEvents);
