#include "planneryear.h"

#include "oadate.h"

namespace {

// m mod 12 into [0, 11] for any sign.
int mod12(int m)
{
    return ((m % 12) + 12) % 12;
}

} // namespace

PlannerYear::PlannerYear(qint16 selectedYear, qint16 startMonth)
    : m_year(selectedYear), m_startMonth(startMonth >= 1 && startMonth <= 12 ? startMonth : 1)
{
    computeRowColumns();
}

void PlannerYear::setSelectedYear(qint16 year)
{
    m_year = year;
    computeRowColumns();
}

bool PlannerYear::setStartMonth(qint16 month)
{
    if (month < 1 || month > 12)
        return false;
    m_startMonth = month;
    computeRowColumns();
    return true;
}

void PlannerYear::computeRowColumns()
{
    m_leadIn[0] = m_lastColumn[0] = 0;
    m_firstDay = OADate::DayNumber(PlannerStart());
    m_days = 0;
    for (int row = 1; row <= kRows; ++row) {
        const int m = MonthOfRow(row);
        const int days = DaysInMonth(m);
        m_leadIn[row] = qint16(FirstWeekday(m) - 1);
        m_lastColumn[row] = qint16(m_leadIn[row] + days);
        m_rowStart[row] = qint16(m_days);
        m_monthOfRow[row] = qint16(m);
        for (int d = 0; d < days; ++d)
            m_rowOfDay[size_t(m_days++)] = quint8(row);
    }
}

PlannerYear::Cell PlannerYear::CellOf(double date) const
{
    if (!OADate::isValid(date))
        return {};
    const qint64 offset = OADate::DayNumber(date) - m_firstDay;
    if (offset < 0 || offset >= m_days)
        return {};
    const int row = m_rowOfDay[size_t(offset)];
    return {m_monthOfRow[row], qint16(m_leadIn[row] + (offset - m_rowStart[row]) + 1)};
}

qint16 PlannerYear::LeadIn(int row) const
{
    return row >= 1 && row <= kRows ? m_leadIn[row] : 0;
}

qint16 PlannerYear::LastColumn(int row) const
{
    return row >= 1 && row <= kRows ? m_lastColumn[row] : 0;
}

qint16 PlannerYear::MonthOfRow(int row) const
{
    if (row <= 0)
        return 0;
    return qint16(mod12(row + m_startMonth - 2) + 1);
}

qint16 PlannerYear::RowOfMonth(int month) const
{
    return qint16(month < m_startMonth ? month - m_startMonth + 13 : month - m_startMonth + 1);
}

qint16 PlannerYear::LastMonthOfYear() const
{
    return qint16(mod12(m_startMonth + 10) + 1);
}

qint16 PlannerYear::YearOfMonth(int month) const
{
    return qint16(month >= m_startMonth ? m_year : m_year + 1);
}

qint16 PlannerYear::DaysInMonth(int month) const
{
    return qint16(OADate::Day(OADate::DateSerial(YearOfMonth(month), month + 1, 0)));
}

qint16 PlannerYear::FirstWeekday(int month) const
{
    return qint16(OADate::Weekday(OADate::DateSerial(YearOfMonth(month), month, 1)));
}

double PlannerYear::DateOfColumn(int column, int month) const
{
    return OADate::DateSerial(YearOfMonth(month), month, column - FirstWeekday(month) + 1);
}

double PlannerYear::DateOfCell(int column, int row) const
{
    return DateOfColumn(column, MonthOfRow(row));
}

double PlannerYear::PlannerStart() const
{
    return OADate::DateSerial(m_year, m_startMonth, 1);
}

double PlannerYear::PlannerEnd() const
{
    if (m_startMonth < 2)
        return OADate::DateSerial(m_year, 12, 31);
    return OADate::DateSerial(m_year + 1, m_startMonth, 0);
}

bool PlannerYear::InPlannerYear(double date) const
{
    return CellOf(date).month != 0;
}

bool PlannerYear::InPlannerYear(int year, int month) const
{
    if (m_startMonth == 1)
        return year == m_year;
    return month >= m_startMonth ? year == m_year : year == m_year + 1;
}

qint16 PlannerYear::PlannerYearOf(double date) const
{
    const QDate d = OADate::toDate(date);
    return qint16(m_startMonth != 1 && d.month() < m_startMonth ? d.year() - 1 : d.year());
}

qint16 PlannerYear::MonthIndexOf(double date) const
{
    const QDate d = OADate::toDate(date);
    if (!d.isValid())
        return 0;
    if (InPlannerYear(date))
        return qint16(d.month());
    // Far-off dates stay in range: any value past the ends means the same to every caller.
    const double start = PlannerStart();
    const int index = d >= OADate::toDate(start) ? 12 + OADate::MonthBoundaries(PlannerEnd(), date)
                                                 : 1 + OADate::MonthBoundaries(start, date);
    return qint16(qBound(-32768, index, 32767));
}
