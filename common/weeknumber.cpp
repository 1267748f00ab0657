#include "weeknumber.h"

int WeekOfYear(const QDate &date, Qt::DayOfWeek firstDay)
{
    if (!date.isValid())
        return 0;
    if (firstDay == Qt::Monday)
        return date.weekNumber();
    // Days from the start of the week that holds 1 January.
    const QDate first(date.year(), 1, 1);
    const int lead = (first.dayOfWeek() - int(firstDay) + 7) % 7;
    return int((first.daysTo(date) + lead) / 7) + 1;
}

int WeekOfYear(const QDate &date, const QLocale &locale)
{
    return WeekOfYear(date, locale.firstDayOfWeek());
}

bool StartsWeek(const QDate &date, Qt::DayOfWeek firstDay)
{
    return date.isValid() && date.dayOfWeek() == int(firstDay);
}
