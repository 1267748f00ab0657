#pragma once

#include <QtGlobal>
#include <array>

// The planner year of one control: the selected year, the month it starts with, and the date and
// grid helpers that place dates in its twelve month rows of 37 day columns. Every control owns
// one, so two planners in one process never disturb each other.
//
// Rows are 1..12 from the top; row 1 holds StartMonth of the selected year. Column 1 is always a
// Sunday; column q shows weekday ((q - 1) mod 7) + 1 (1 = Sunday). Dates are automation dates.
class PlannerYear
{
public:
    static constexpr int kRows = 12;
    static constexpr int kColumns = 37;
    static_assert(kColumns == 6 + 31); // 31 days starting on a Saturday end in column 37

    explicit PlannerYear(qint16 selectedYear = 2000, qint16 startMonth = 1);

    qint16 selectedYear() const { return m_year; }
    // Both setters refresh the per-row tables at once.
    void setSelectedYear(qint16 year);
    qint16 startMonth() const { return m_startMonth; }
    // Months outside 1..12 are refused and leave the value as it was; false then.
    bool setStartMonth(qint16 month);

    // Columns before day 1 of row r, [0, 6]; row 0 and rows outside 1..12 give 0.
    qint16 LeadIn(int row) const;
    // Column of the last day of row r's month, [28, 37].
    qint16 LastColumn(int row) const;

    qint16 MonthOfRow(int row) const;
    qint16 RowOfMonth(int month) const;
    qint16 LastMonthOfYear() const;
    qint16 YearOfMonth(int month) const;
    qint16 DaysInMonth(int month) const;
    qint16 FirstWeekday(int month) const;
    double DateOfColumn(int column, int month) const;
    double DateOfCell(int column, int row) const;
    double PlannerStart() const;
    double PlannerEnd() const; // the last day, at midnight
    bool InPlannerYear(double date) const;
    // The same for a date given by its calendar year and month.
    bool InPlannerYear(int year, int month) const;
    qint16 PlannerYearOf(double date) const;
    // For a date outside the planner year: <= 0 before it, >= 13 after it; inside it the
    // calendar month; 0 for an invalid date.
    qint16 MonthIndexOf(double date) const;

    // Where a date falls in the grid: its calendar month and its day column; month 0 for a date
    // outside the planner year.
    struct Cell
    {
        qint16 month = 0;
        qint16 column = 0;
    };
    Cell CellOf(double date) const;

private:
    void computeRowColumns();

    qint16 m_year;
    qint16 m_startMonth;
    std::array<qint16, kRows + 1> m_leadIn{};
    std::array<qint16, kRows + 1> m_lastColumn{};
    // The days of the year by their distance from its first day: which row each is in, and how
    // far from the year's first day each row begins: placing a date needs no calendar arithmetic.
    qint64 m_firstDay = 0;
    int m_days = 0;
    std::array<quint8, 366> m_rowOfDay{};
    std::array<qint16, kRows + 1> m_rowStart{};
    std::array<qint16, kRows + 1> m_monthOfRow{};
};
