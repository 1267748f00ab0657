#pragma once

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

struct Holiday
{
    QDate day;
    QString name;          // as gcal names it, with its region: "Whit Monday (DE_BY)"
    bool regional = false; // a holiday in part of the region only
};

// gcal's holiday list of one year for a region ("DE_BY", "FR"), read from the text it prints.
// Legal holidays, and with regional those of parts of the region; other memorial days never.
QList<Holiday> HolidaysOfGcalText(const QString &text, bool regional);

// The public holidays of a region and year, computed by gcal (run once per region and year).
// Empty, with problem set, where gcal is missing or knows no such region.
QList<Holiday> PublicHolidays(const QString &region, int year, bool regional, QString *problem);

// The region a locale's holidays are of until the user chooses one: its country, or where gcal
// knows only its parts, the part of the capital ("DE_BE", "US_DC", "GB_EN").
QString DefaultHolidayRegion(const QLocale &locale);
