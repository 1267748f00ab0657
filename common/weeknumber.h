#pragma once

#include <QDate>
#include <QLocale>

// The week of the year a day lies in, by the rule of the locale's week: ISO 8601 where weeks
// start on Monday (week 1 holds the year's first Thursday; the last days of December may be
// week 1 of the next year, the first of January week 52 or 53 of the last); otherwise weeks start
// on the locale's first day and week 1 is the one that holds 1 January (as in the United States).
int WeekOfYear(const QDate &date, Qt::DayOfWeek firstDay);
int WeekOfYear(const QDate &date, const QLocale &locale);

// Whether day starts a week of the locale's rule.
bool StartsWeek(const QDate &date, Qt::DayOfWeek firstDay);
