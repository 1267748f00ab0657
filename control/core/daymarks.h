#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

// Days marked under the year by calendars of days (public holidays, school terms): each source
// with its name and colour, and for each marked day what marks it. Marks never take a band and
// are never appointments: layout, filter, hit map and export do not see them.
struct DayMarks
{
    struct Source
    {
        QString name;
        quint32 colour = 0; // 0x00BBGGRR
    };
    struct Mark
    {
        int source = 0; // index into sources
        QString name;   // "Whit Monday (DE_BY)"
    };

    QList<Source> sources;
    QHash<qint64, QList<Mark>> days; // by Julian day

    const QList<Mark> *at(const QDate &day) const
    {
        const auto it = days.constFind(day.toJulianDay());
        return it == days.constEnd() ? nullptr : &*it;
    }
    bool isEmpty() const { return days.isEmpty(); }
};
