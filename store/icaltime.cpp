#include "icaltime_p.h"

#include "oadate.h"

#include <QHash>

#include <algorithm>

namespace IcalTime {

// System zone names by any name a calendar may use: IANA, Windows, or an IANA name behind a
// libical prefix ("/freeassociation.sourceforge.net/Europe/Berlin").
QTimeZone qtZoneNamed(const QByteArray &tzid)
{
    static QHash<QByteArray, QTimeZone> cache;
    const auto it = cache.constFind(tzid);
    if (it != cache.constEnd())
        return *it;
    QTimeZone zone;
    QByteArray name = tzid.trimmed();
    for (int attempt = 0; attempt < 2 && !zone.isValid(); ++attempt) {
        if (QTimeZone::isTimeZoneIdAvailable(name))
            zone = QTimeZone(name);
        else if (const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(name); !iana.isEmpty())
            zone = QTimeZone(iana);
        // A prefixed name: try its last two or three path elements.
        const QList<QByteArray> parts = name.split('/');
        if (parts.size() > 2)
            name = parts[parts.size() - 2] + '/' + parts.last();
    }
    cache.insert(tzid, zone);
    return zone;
}

const QByteArray &systemZoneId()
{
    static const QByteArray id = QTimeZone::systemTimeZoneId();
    return id;
}

QByteArray tzidOf(icalproperty *prop)
{
    icalparameter *p = prop ? icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER) : nullptr;
    return p ? QByteArray(icalparameter_get_tzid(p)) : QByteArray();
}

QByteArray calendarZoneName(icalcomponent *calendar)
{
    for (icalproperty *p = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), "X-WR-TIMEZONE") == 0)
            return QByteArray(icalproperty_get_x(p)).trimmed();
    }
    return QByteArray();
}

Zone zoneOf(icalcomponent *calendar, icalproperty *prop, const icaltimetype &tt)
{
    Zone z;
    if (icaltime_is_utc(tt)) {
        z.kind = Zone::Utc;
        return z;
    }
    const QByteArray tzid = tzidOf(prop);
    if (tzid.isEmpty()) {
        // A floating time of a calendar that names its zone (X-WR-TIMEZONE, as some clients
        // write their exports) is a time of that zone; whole days stay days.
        if (calendar && !tt.is_date) {
            const QTimeZone named = qtZoneNamed(calendarZoneName(calendar));
            if (named.isValid() && named.id() != systemZoneId()) {
                z.kind = Zone::Qt;
                z.qt = named;
            }
        }
        return z;
    }
    if (calendar) {
        if (icaltimezone *own = icalcomponent_get_timezone(calendar, tzid.constData())) {
            // Prefer the system's rules when the zone is a known one: they are complete and
            // current, where a file's definition may cover only some years.
            const QTimeZone known = qtZoneNamed(tzid);
            if (known.isValid() && known.id() == systemZoneId()) {
                return z; // local time
            } else if (known.isValid()) {
                z.kind = Zone::Qt;
                z.qt = known;
            } else {
                z.kind = Zone::Ical;
                z.ical = own;
            }
            return z;
        }
    }
    const QTimeZone known = qtZoneNamed(tzid);
    if (known.isValid() && known.id() != systemZoneId()) {
        z.kind = Zone::Qt;
        z.qt = known;
    }
    // The system's own zone is local time: no conversion.
    return z;
}

namespace {

int CountOf(const short *values, int size)
{
    int n = 0;
    while (n < size && values[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

// Why a zone's rule is refused; empty when its expansion is bounded. Real zones change twice a
// year at most, by rules of FREQ=YEARLY since 1970 or 1601.
QString RefusedRule(const icalrecurrencetype &r, int fromYear)
{
    const int hours = std::max(1, CountOf(r.by_hour, ICAL_BY_HOUR_SIZE));
    const int minutes = std::max(1, CountOf(r.by_minute, ICAL_BY_MINUTE_SIZE));
    const int seconds = std::max(1, CountOf(r.by_second, ICAL_BY_SECOND_SIZE));
    if (r.freq < ICAL_SECONDLY_RECURRENCE || r.freq > ICAL_YEARLY_RECURRENCE)
        return QStringLiteral("a rule without a frequency");
    if (r.freq < ICAL_DAILY_RECURRENCE || hours * minutes * seconds > 1)
        return QStringLiteral("a rule that repeats more often than daily");
    const int days = CountOf(r.by_day, ICAL_BY_DAY_SIZE);
    const int monthDays = CountOf(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const int yearDays = CountOf(r.by_year_day, ICAL_BY_YEARDAY_SIZE);
    const int weeks = CountOf(r.by_week_no, ICAL_BY_WEEKNO_SIZE);
    const int months = std::max(1, CountOf(r.by_month, ICAL_BY_MONTH_SIZE));
    const int inPeriod = std::max({1, 5 * days, monthDays, yearDays, 7 * weeks});
    int perYear = 366;
    if (r.freq == ICAL_WEEKLY_RECURRENCE)
        perYear = 53 * std::max(1, days);
    else if (r.freq == ICAL_MONTHLY_RECURRENCE)
        perYear = 12 * inPeriod;
    else if (r.freq == ICAL_YEARLY_RECURRENCE)
        perYear = months * inPeriod;
    perYear = std::min(366, perYear) / std::max<int>(1, r.interval);
    // libical expands up to the year it converts; a calendar's times end by 2200 or so.
    constexpr qint64 kMostChanges = 100000;
    if (qint64(std::max(1, perYear)) * std::max(1, 2200 - fromYear) > kMostChanges)
        return QStringLiteral("a rule with more changes than a zone has");
    return QString();
}

} // namespace

QStringList dropUnboundedZones(icalcomponent *calendar)
{
    QStringList notes;
    QList<icalcomponent *> refused;
    for (icalcomponent *zone =
             icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT);
         zone; zone = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
        QString why;
        int rdates = 0;
        for (icalcomponent *part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT);
             part && why.isEmpty();
             part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
            const icaltimetype start = icalcomponent_get_dtstart(part);
            for (icalproperty *p = icalcomponent_get_first_property(part, ICAL_ANY_PROPERTY);
                 p && why.isEmpty(); p = icalcomponent_get_next_property(part, ICAL_ANY_PROPERTY)) {
                if (icalproperty_isa(p) == ICAL_RRULE_PROPERTY)
                    why = RefusedRule(icalproperty_get_rrule(p),
                                      icaltime_is_null_time(start) ? 1 : start.year);
                else if (icalproperty_isa(p) == ICAL_RDATE_PROPERTY && ++rdates > 10000)
                    why = QStringLiteral("more changes than a zone has");
            }
        }
        if (why.isEmpty())
            continue;
        const char *tzid =
            icalcomponent_get_first_property(zone, ICAL_TZID_PROPERTY)
                ? icalproperty_get_tzid(icalcomponent_get_first_property(zone, ICAL_TZID_PROPERTY))
                : "";
        notes << QStringLiteral("the time zone \"%1\" has %2: its times are read as local")
                     .arg(QString::fromUtf8(tzid), why);
        refused << zone;
    }
    for (icalcomponent *zone : refused) {
        icalcomponent_remove_component(calendar, zone);
        icalcomponent_free(zone);
    }
    return notes;
}

icaltimetype wallOnly(icaltimetype tt)
{
    tt.zone = nullptr;
    return tt;
}

QDateTime instantOf(const icaltimetype &tt, const Zone &z)
{
    const QDate d(tt.year, tt.month, tt.day);
    const QTime t(tt.hour, tt.minute, tt.second);
    switch (z.kind) {
    case Zone::Utc:
        return QDateTime(d, t, Qt::UTC);
    case Zone::Qt:
        return QDateTime(d, t, z.qt);
    case Zone::Ical:
        return QDateTime::fromSecsSinceEpoch(
            qint64(icaltime_as_timet_with_zone(wallOnly(tt), z.ical)), Qt::UTC);
    case Zone::Floating:
        break;
    }
    return QDateTime(d, t, Qt::LocalTime);
}

double localOf(const icaltimetype &tt, const Zone &z)
{
    if (tt.is_date)
        return OADate::fromDateTime(QDate(tt.year, tt.month, tt.day));
    if (z.kind == Zone::Floating)
        return OADate::fromDateTime(QDate(tt.year, tt.month, tt.day),
                                    QTime(tt.hour, tt.minute, tt.second));
    return OADate::fromDateTime(instantOf(tt, z));
}

qint64 wallSeconds(const icaltimetype &a, const icaltimetype &b)
{
    const QDateTime x(QDate(a.year, a.month, a.day), QTime(a.hour, a.minute, a.second), Qt::UTC);
    const QDateTime y(QDate(b.year, b.month, b.day), QTime(b.hour, b.minute, b.second), Qt::UTC);
    return x.secsTo(y);
}

icaltimetype wallIn(double local, const Zone &z, bool isDate)
{
    const QDateTime dt = OADate::toDateTime(local);
    QDateTime there = dt;
    switch (z.kind) {
    case Zone::Utc:
        there = dt.toUTC();
        break;
    case Zone::Qt:
        there = dt.toTimeZone(z.qt);
        break;
    case Zone::Ical: {
        const icaltimetype utc = icaltime_from_timet_with_zone(time_t(dt.toSecsSinceEpoch()), 0,
                                                               icaltimezone_get_utc_timezone());
        icaltimetype w = icaltime_convert_to_zone(utc, z.ical);
        w.is_date = isDate;
        return wallOnly(w);
    }
    case Zone::Floating:
        break;
    }
    icaltimetype w = icaltime_null_time();
    w.year = there.date().year();
    w.month = there.date().month();
    w.day = there.date().day();
    if (isDate) {
        w.is_date = 1;
    } else {
        w.hour = there.time().hour();
        w.minute = there.time().minute();
        w.second = there.time().second();
    }
    return w;
}

} // namespace IcalTime
