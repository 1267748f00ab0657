#pragma once

#include <QLocale>
#include <QString>

#include <array>

// Month and weekday names in the user's language, for the grid headings and printing.
struct CalendarNames
{
    std::array<QString, 13> MonthNames; // 0 = January .. 11 = December; 12 stays empty
    std::array<QString, 13> MonthShortNames;
    std::array<QString, 8> DayNames;      // 1 = Monday .. 7 = Sunday, 0 = Sunday again
    std::array<QString, 8> DayShortNames; // the same, at most two characters each
};

// The ANSI code page the platform assigns to a locale's language and territory: 932 Japanese,
// 936 simplified and 950 traditional Chinese, 949 Korean, 874 Thai, 1250..1257 for the Central
// European, Cyrillic, Greek, Turkish, Hebrew, Arabic and Baltic languages, 1252 otherwise.
int AnsiCodePageOf(const QLocale &locale);

// The names of locale; the names stand alone (nominative), as headings need them.
CalendarNames LoadCalendarNames(const QLocale &locale);

// The font character set that goes with a code page (1 for one without its own).
int CharSetOfCodePage(int codePage);
