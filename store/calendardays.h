#pragma once

// The days a calendar's events cover, for marking days under a year (public holidays, school
// terms, a team's shutdown): only the days and the events' subjects, never the events themselves.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace Store {

struct MarkedDay
{
    QDate day;
    QString subject;
};

// Each day from..to (both included) that an event of the calendar text touches, with its
// subject, in date order (a day of two events twice). What cannot be read goes to problems.
QList<MarkedDay> DaysOfCalendarText(const QByteArray &ics, const QDate &from, const QDate &to,
                                    QStringList *problems);
// The same for every .ics file of a directory (a vdir collection) or one .ics file.
QList<MarkedDay> DaysOfCalendarFiles(const QString &path, const QDate &from, const QDate &to,
                                     QStringList *problems);

} // namespace Store
