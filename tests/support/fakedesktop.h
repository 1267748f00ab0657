#pragma once

// A desktop calendar service of the test's making, for the desktop calendars' store without the
// real service: calendars "Birthdays" (bday) and "Team" (team-1, the default), objects by key,
// whole reads counted, refusals and read failures on demand, changes told as its view would.

#include "desktopcalendars.h"

#include <QHash>

namespace Store {

// A field's value in an object's event (the first line of that name).
QString ObjectField(const QByteArray &text, const char *name);

class FakeSource : public CalendarSource
{
public:
    QHash<QString, Object> objects() override;
    QHash<QString, Object> objectsFound(const Query &query) override;
    QString revision() override { return QString::number(revisionNumber); }
    Object object(const QString &key) override { return held.value(key); }
    void write(const QByteArray &text) override;
    void remove(const QString &uid) override;
    void watch() override { watched = true; }

    void put(const QString &uid, const QByteArray &text);
    // Another client's change (an empty text: a removal), as the service's view tells it.
    void changeByOthers(const QString &uid, const QByteArray &text);

    QHash<QString, Object> held;
    QString failure; // of reads, when set
    QString refusal; // of writes and removals, when set
    bool watched = false;
    int wholeReads = 0;
    int revisionNumber = 1; // counted up by every change made through the fake
};

class FakeCalendars : public DesktopCalendars
{
public:
    QList<DesktopCalendar> calendars() override
    {
        return {{"bday", "Birthdays", ""}, {"team-1", "Team", "#62a0ea"}};
    }
    QString defaultCalendar() override { return "team-1"; }
    std::shared_ptr<CalendarSource> open(const QString &uid) override;
    FakeSource &source(const QString &uid);

    QHash<QString, std::shared_ptr<CalendarSource>> sources;
};

} // namespace Store
