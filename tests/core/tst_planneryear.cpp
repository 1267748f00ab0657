#include "oadate.h"
#include "planneryear.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(PlannerYear, CalendarYearWhenStartingInJanuary)
{
    const PlannerYear y(2010, 1);
    for (int r = 1; r <= 12; ++r) {
        EXPECT_EQ(y.MonthOfRow(r), r);
        EXPECT_EQ(y.RowOfMonth(r), r);
    }
    EXPECT_EQ(y.LastMonthOfYear(), 12);
    EXPECT_EQ(y.PlannerStart(), At(2010, 1, 1));
    EXPECT_EQ(y.PlannerEnd(), At(2010, 12, 31));
    EXPECT_EQ(y.MonthOfRow(0), 0);
    EXPECT_EQ(y.MonthOfRow(-3), 0);
}

TEST(PlannerYear, JulyStartSpansTwoCalendarYears)
{
    const PlannerYear y(2010, 7);
    EXPECT_EQ(y.MonthOfRow(1), 7);
    EXPECT_EQ(y.MonthOfRow(7), 1);
    EXPECT_EQ(y.MonthOfRow(12), 6);
    EXPECT_EQ(y.RowOfMonth(3), 9);
    EXPECT_EQ(y.LastMonthOfYear(), 6);
    EXPECT_EQ(y.YearOfMonth(7), 2010);
    EXPECT_EQ(y.YearOfMonth(1), 2011);
    EXPECT_EQ(y.PlannerStart(), At(2010, 7, 1));
    EXPECT_EQ(y.PlannerEnd(), At(2011, 6, 30));
    EXPECT_TRUE(y.InPlannerYear(At(2011, 3, 15)));
    EXPECT_FALSE(y.InPlannerYear(At(2010, 3, 15)));
    EXPECT_TRUE(y.InPlannerYear(At(2011, 6, 30, 23, 59)));
    EXPECT_FALSE(y.InPlannerYear(At(2011, 7, 1)));
    EXPECT_EQ(y.PlannerYearOf(At(2011, 3, 15)), 2010);
    EXPECT_EQ(y.PlannerYearOf(At(2010, 2, 15)), 2009);
    EXPECT_EQ(y.PlannerYearOf(At(2010, 7, 1)), 2010);
    EXPECT_EQ(PlannerYear(2010, 1).PlannerYearOf(At(2010, 2, 15)), 2010);
}

TEST(PlannerYear, MonthIndexOutsideTheYear)
{
    const PlannerYear y(2010, 7);
    EXPECT_EQ(y.MonthIndexOf(At(2011, 3, 15)), 3);
    EXPECT_EQ(y.MonthIndexOf(At(2010, 3, 15)), -3);
    EXPECT_EQ(y.MonthIndexOf(At(2010, 6, 30, 23, 0)), 0);
    EXPECT_EQ(y.MonthIndexOf(At(2011, 7, 1)), 13);
    EXPECT_EQ(y.MonthIndexOf(At(2011, 8, 15)), 14);
    EXPECT_EQ(y.MonthIndexOf(At(9999, 12, 31)), 32767) << "far dates stay in 16 bits";
    EXPECT_EQ(y.MonthIndexOf(At(100, 1, 1)), 1 + (100 - 2010) * 12 + (1 - 7));
    EXPECT_EQ(y.MonthIndexOf(std::nan("")), 0);
}

TEST(PlannerYear, LeapFebruaryAndColumns)
{
    // February 2012 is a leap month; with a March start it is the February of the next year.
    EXPECT_EQ(PlannerYear(2012, 1).DaysInMonth(2), 29);
    EXPECT_EQ(PlannerYear(2011, 3).DaysInMonth(2), 29);
    EXPECT_EQ(PlannerYear(2012, 3).DaysInMonth(2), 28);
    EXPECT_EQ(PlannerYear(2010, 1).DaysInMonth(12), 31);

    // August 2010 begins on a Sunday; January 2011 is a 31-day month beginning on a Saturday.
    const PlannerYear y(2010, 7);
    EXPECT_EQ(y.LeadIn(y.RowOfMonth(8)), 0);
    EXPECT_EQ(y.LastColumn(y.RowOfMonth(1)), 37);
    EXPECT_EQ(y.LeadIn(0), 0);
    // September 2010 begins on a Wednesday: column 1 is Sunday 29 August.
    EXPECT_EQ(y.FirstWeekday(9), 4);
    EXPECT_EQ(y.DateOfColumn(1, 9), At(2010, 8, 29));
    EXPECT_EQ(y.DateOfColumn(37, 9), At(2010, 10, 4));
    EXPECT_EQ(y.DateOfCell(y.LeadIn(3) + 1, 3), At(2010, 9, 1));
}

TEST(PlannerYear, GridInvariantsForEveryStartMonth)
{
    for (qint16 year = 1999; year <= 2031; ++year) {
        for (qint16 start = 1; start <= 12; ++start) {
            const PlannerYear y(year, start);
            const double first = y.PlannerStart();
            EXPECT_EQ(OADate::toDate(y.PlannerEnd()).addDays(1),
                      OADate::toDate(PlannerYear(year + 1, start).PlannerStart()));
            EXPECT_TRUE(y.InPlannerYear(first));
            EXPECT_TRUE(y.InPlannerYear(y.PlannerEnd()));
            EXPECT_FALSE(y.InPlannerYear(first - 1));
            EXPECT_FALSE(y.InPlannerYear(y.PlannerEnd() + 1));
            for (int row = 1; row <= 12; ++row) {
                const int m = y.MonthOfRow(row);
                ASSERT_EQ(y.RowOfMonth(m), row);
                ASSERT_GE(y.LeadIn(row), 0);
                ASSERT_LE(y.LeadIn(row), 6);
                ASSERT_LE(y.LastColumn(row), PlannerYear::kColumns);
                const QDate day1 = OADate::toDate(y.DateOfCell(y.LeadIn(row) + 1, row));
                ASSERT_EQ(day1, QDate(y.YearOfMonth(m), m, 1));
                ASSERT_EQ(OADate::Weekday(y.DateOfCell(1, row)), 1) << "column 1 is a Sunday";
                ASSERT_EQ(OADate::toDate(y.DateOfCell(y.LastColumn(row), row)),
                          day1.addMonths(1).addDays(-1));
                ASSERT_EQ(y.PlannerYearOf(y.DateOfCell(y.LeadIn(row) + 1, row)), year);
            }
        }
    }
}

TEST(PlannerYear, EveryDayFindsItsCell)
{
    // Leap years, a century that is not one (2100) and every start month; days just outside the
    // year have no cell, whatever their time.
    for (qint16 year : {2023, 2024, 2099, 2100}) {
        for (qint16 start = 1; start <= 12; ++start) {
            SCOPED_TRACE(QString("%1/%2").arg(year).arg(start).toStdString());
            const PlannerYear y(year, start);
            const QDate first = OADate::toDate(y.PlannerStart());
            const QDate last = OADate::toDate(y.PlannerEnd());
            for (QDate d = first.addDays(-2); d <= last.addDays(2); d = d.addDays(1)) {
                const bool inside = d >= first && d <= last;
                for (const QTime &t : {QTime(0, 0), QTime(13, 30), QTime(23, 59, 59, 999)}) {
                    const PlannerYear::Cell cell = y.CellOf(OADate::fromDateTime(d, t));
                    ASSERT_EQ(cell.month, inside ? d.month() : 0) << d.toString().toStdString();
                    if (inside) {
                        ASSERT_EQ(cell.column, y.LeadIn(y.RowOfMonth(d.month())) + d.day());
                    }
                }
            }
            EXPECT_EQ(y.CellOf(std::nan("")).month, 0);
        }
    }
}

TEST(PlannerYear, RefusesStartMonthsOutsideTheYear)
{
    PlannerYear y(2010, 4);
    EXPECT_FALSE(y.setStartMonth(0));
    EXPECT_FALSE(y.setStartMonth(13));
    EXPECT_EQ(y.startMonth(), 4);
    EXPECT_EQ(PlannerYear(2010, 14).startMonth(), 1);
    // Changing the year refreshes the row tables: March 2010 starts on a Monday, 2011 a Tuesday.
    PlannerYear z(2010, 1);
    EXPECT_EQ(z.LeadIn(3), 1);
    z.setSelectedYear(2011);
    EXPECT_EQ(z.LeadIn(3), 2);
}
