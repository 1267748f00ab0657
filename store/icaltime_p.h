#pragma once

// Date-times of calendar files and the zones they belong to: the calendar's own VTIMEZONE, the
// system's zone of the same name (IANA or Windows), UTC or floating. Local times are automation
// dates in the system's zone. For the store's iCalendar layer only.

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <libical/ical.h>

namespace IcalTime {

// Where a date-time's wall-clock time belongs.
struct Zone
{
    enum Kind { Floating, Utc, Qt, Ical } kind = Floating;
    QTimeZone qt;
    icaltimezone *ical = nullptr;
};

// The system's zone for a zone name a calendar may use; invalid when there is none.
QTimeZone qtZoneNamed(const QByteArray &tzid);
const QByteArray &systemZoneId();
// The TZID parameter of a property, empty when it has none.
QByteArray tzidOf(icalproperty *prop);
// The zone a calendar names for its floating times (X-WR-TIMEZONE); empty when it names none.
QByteArray calendarZoneName(icalcomponent *calendar);
// The zone of a date-time property: the calendar's own VTIMEZONE first, then the system's zone
// of that name; an unknown name is taken as floating (local) time. A floating time of a calendar
// with X-WR-TIMEZONE is in that zone.
Zone zoneOf(icalcomponent *calendar, icalproperty *prop, const icaltimetype &tt);
// Takes out of calendar every VTIMEZONE whose rules libical could not expand in bounded time
// (changes more often than daily, or more than a zone ever has since its start): libical expands
// a zone whole, from its start, before it converts one time, and cannot be stopped. Their times
// then read as the system's zone of that name, or as floating. One note a zone taken out.
QStringList dropUnboundedZones(icalcomponent *calendar);
icaltimetype wallOnly(icaltimetype tt);
QDateTime instantOf(const icaltimetype &tt, const Zone &z);
// The local automation date of a wall-clock time of zone z.
double localOf(const icaltimetype &tt, const Zone &z);
// Seconds from a to b, both wall-clock times of one zone.
qint64 wallSeconds(const icaltimetype &a, const icaltimetype &b);
// The wall-clock time in zone z of a local automation date.
icaltimetype wallIn(double local, const Zone &z, bool isDate);

} // namespace IcalTime
