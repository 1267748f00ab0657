#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// Dates as the system writes them into filter texts and date boxes, and reads them back from
// filters and from what the user types. One pair of functions for all of them, so a date
// written in any locale reads back as the same day.

// The locale's short date form with the year in four digits ("12/31/2031" where the form is
// "M/d/yy"); invalid for an invalid date.
QString FormatFilterDate(const QDate &date, const QLocale &locale = QLocale());

// A date or date-time format of the locale with its year in four digits ("M/d/yyyy h:mm AP"
// where the form is "M/d/yy h:mm AP"), for date boxes that show whole years.
QString WithFourDigitYear(const QString &format);

// The year whose last two digits are twoDigits [0, 99] and that lies nearest referenceYear:
// [referenceYear - 50, referenceYear + 49].
int NearestYear(int twoDigits, int referenceYear);

// Reads a date of a filter or a date box: the locale's short date form with a two- or four-digit
// year, optionally followed by a time with or without AM/PM ("12/31/31 11:59 PM"), or ISO 8601
// ("2031-12-31", "2031-12-31T23:59"). A two-digit year is the one nearest referenceYear (the
// planner year being read, or the current year for typed dates). False when the text is no date.
bool ParseFilterDate(const QString &text, const QLocale &locale, double &date,
                     int referenceYear = QDate::currentDate().year());
