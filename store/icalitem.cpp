#include "icalitem.h"

#include "oadate.h"

#include <QDateTime>
#include <QCryptographicHash>
#include <QHash>
#include <QTimeZone>
#include <QUuid>

#include <libical/ical.h>

#include <cmath>

namespace {

constexpr const char *kHidden = "X-QUORVEL-HIDDEN";
constexpr const char *kNamed = "X-QUORVEL-PROP";

// Where a date-time's wall-clock time belongs.
struct Zone
{
    enum Kind { Floating, Utc, Qt, Ical } kind = Floating;
    QTimeZone qt;
    icaltimezone *ical = nullptr;
};

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

// The zone of a date-time property: the calendar's own VTIMEZONE first, then the system's zone
// of that name; an unknown name is taken as floating (local) time.
Zone zoneOf(icalcomponent *calendar, icalproperty *prop, const icaltimetype &tt)
{
    Zone z;
    if (icaltime_is_utc(tt)) {
        z.kind = Zone::Utc;
        return z;
    }
    const QByteArray tzid = tzidOf(prop);
    if (tzid.isEmpty())
        return z;
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

// Seconds from a to b, both wall-clock times of one zone.
qint64 wallSeconds(const icaltimetype &a, const icaltimetype &b)
{
    const QDateTime x(QDate(a.year, a.month, a.day), QTime(a.hour, a.minute, a.second), Qt::UTC);
    const QDateTime y(QDate(b.year, b.month, b.day), QTime(b.hour, b.minute, b.second), Qt::UTC);
    return x.secsTo(y);
}

// The wall-clock time in zone z of a local automation date.
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
        const icaltimetype utc = icaltime_from_timet_with_zone(
            time_t(dt.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
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

// The kind of a property by name: the few the store uses first, as libical's own lookup walks
// its whole table.
icalproperty_kind kindOf(const char *name)
{
    static const std::pair<const char *, icalproperty_kind> known[] = {
        {"SUMMARY", ICAL_SUMMARY_PROPERTY},         {"LOCATION", ICAL_LOCATION_PROPERTY},
        {"DESCRIPTION", ICAL_DESCRIPTION_PROPERTY}, {"CLASS", ICAL_CLASS_PROPERTY},
        {"TRANSP", ICAL_TRANSP_PROPERTY}};
    for (const auto &[n, kind] : known) {
        if (qstrcmp(n, name) == 0)
            return kind;
    }
    return icalproperty_string_to_kind(name);
}

QString fromIcal(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

QByteArray percentEncode(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const uchar u = uchar(c);
        if (u < 0x20 || c == '%' || c == ',' || c == ';' || c == '\\' || c == '"' || u == 0x7F)
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

QString percentDecode(const char *s)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray(s ? s : "")));
}

QString xParam(icalproperty *prop, const char *name)
{
    for (icalparameter *p = icalproperty_get_first_parameter(prop, ICAL_X_PARAMETER); p;
         p = icalproperty_get_next_parameter(prop, ICAL_X_PARAMETER)) {
        if (qstricmp(icalparameter_get_xname(p), name) == 0)
            return fromIcal(icalparameter_get_xvalue(p));
    }
    return QString();
}

void addXParam(icalproperty *prop, const char *name, const QString &value)
{
    icalparameter *p = icalparameter_new_x(value.toUtf8().constData());
    icalparameter_set_xname(p, name);
    icalproperty_add_parameter(prop, p);
}

icalproperty *findX(icalcomponent *c, const char *name)
{
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), name) == 0)
            return p;
    }
    return nullptr;
}

void removeAll(icalcomponent *c, icalproperty_kind kind)
{
    while (icalproperty *p = icalcomponent_get_first_property(c, kind)) {
        icalcomponent_remove_property(c, p);
        icalproperty_free(p);
    }
}

bool isOverride(icalcomponent *event)
{
    return icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
}

// Start and length of an event: its DTSTART, and the exact length for timed events or the number
// of days for whole-day ones.
struct Span
{
    icaltimetype start = icaltime_null_time();
    Zone zone;
    qint64 seconds = 0; // timed
    int days = 0;       // whole days
    bool valid = false;
};

Span spanOf(icalcomponent *calendar, icalcomponent *event)
{
    Span s;
    icalproperty *dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!dtstart)
        return s;
    s.start = icalproperty_get_dtstart(dtstart);
    if (icaltime_is_null_time(s.start) || !icaltime_is_valid_time(s.start))
        return s;
    s.zone = zoneOf(calendar, dtstart, s.start);
    s.valid = true;

    icalproperty *dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY);
    icalproperty *duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
    if (s.start.is_date) {
        const QDate first(s.start.year, s.start.month, s.start.day);
        if (dtend) {
            const icaltimetype e = icalproperty_get_dtend(dtend);
            s.days = int(first.daysTo(QDate(e.year, e.month, e.day)));
        } else if (duration) {
            const icaldurationtype d = icalproperty_get_duration(duration);
            s.days = int(icaldurationtype_as_int(d) / 86400);
        } else {
            s.days = 1;
        }
        s.days = std::max(s.days, 1);
    } else {
        // The length as the clock on the wall measures it when start and end share a zone, so
        // that an item keeps its end time across a change of daylight saving.
        if (dtend) {
            const icaltimetype e = icalproperty_get_dtend(dtend);
            if (!icaltime_is_null_time(e)) {
                if (!e.is_date && tzidOf(dtend) == tzidOf(dtstart) &&
                    icaltime_is_utc(e) == icaltime_is_utc(s.start))
                    s.seconds = wallSeconds(s.start, e);
                else
                    s.seconds = instantOf(s.start, s.zone)
                                    .secsTo(e.is_date ? QDateTime(QDate(e.year, e.month, e.day),
                                                                  QTime(0, 0), Qt::LocalTime)
                                                      : instantOf(e, zoneOf(calendar, dtend, e)));
            }
        } else if (duration) {
            s.seconds = icaldurationtype_as_int(icalproperty_get_duration(duration));
        }
        s.seconds = std::max<qint64>(s.seconds, 0);
    }
    return s;
}

IcalItem::Occurrence occurrenceAt(const icaltimetype &wall, const Span &span, icalcomponent *src)
{
    IcalItem::Occurrence o;
    o.source = src;
    o.allDay = wall.is_date;
    if (wall.is_date) {
        const QDate d(wall.year, wall.month, wall.day);
        o.start = OADate::fromDateTime(d);
        o.end = OADate::fromDateTime(d.addDays(span.days));
    } else {
        o.start = localOf(wall, span.zone);
        icaltimetype end = wall;
        end.second += int(span.seconds);
        end = icaltime_normalize(end);
        o.end = localOf(end, span.zone);
    }
    return o;
}

// Identity of an instance, for EXDATE and RECURRENCE-ID: the local start to the second, or
// the day for whole-day instances.
qint64 instanceKey(double localStart, bool date)
{
    return date ? qint64(std::floor(OADate::DateOnly(localStart))) * 100000
                : qint64(std::llround(localStart * 86400.0));
}

} // namespace

IcalItem::~IcalItem()
{
    if (m_calendar)
        icalcomponent_free(m_calendar);
}

void IcalItem::adopt(icalcomponent *calendar)
{
    m_calendar = calendar;
    m_master = nullptr;
    icalcomponent *firstOverride = nullptr;
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (!isOverride(c)) {
            m_master = c;
            break;
        }
        if (!firstOverride)
            firstOverride = c;
    }
    if (!m_master)
        m_master = firstOverride;
}

std::unique_ptr<IcalItem> IcalItem::parse(const QByteArray &text, QString *problem)
{
    QByteArray data = text;
    if (data.startsWith("\xEF\xBB\xBF")) // a byte-order mark
        data.remove(0, 3);
    icalcomponent *root = icalparser_parse_string(data.constData());
    if (!root) {
        if (problem)
            *problem = QStringLiteral("not an iCalendar file");
        return nullptr;
    }
    // A stream of several calendars parses as an XROOT holding them: keep the first with events.
    icalcomponent *calendar = root;
    if (icalcomponent_isa(root) == ICAL_XROOT_COMPONENT) {
        calendar = nullptr;
        for (icalcomponent *c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT)) {
            if (icalcomponent_get_first_component(c, ICAL_VEVENT_COMPONENT)) {
                calendar = c;
                break;
            }
        }
        if (calendar)
            icalcomponent_remove_component(root, calendar);
        icalcomponent_free(root);
    } else if (icalcomponent_isa(root) == ICAL_VEVENT_COMPONENT) {
        calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
        icalcomponent_add_component(calendar, root);
    }
    if (!calendar || icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT ||
        !icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (calendar)
            icalcomponent_free(calendar);
        if (problem)
            *problem = QStringLiteral("no event in the calendar");
        return nullptr;
    }

    // Keep the events of the first UID only.
    std::unique_ptr<IcalItem> item(new IcalItem);
    item->adopt(calendar);
    const QByteArray uid = icalcomponent_get_uid(item->m_master);
    QList<icalcomponent *> others;
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (QByteArray(icalcomponent_get_uid(c)) != uid)
            others.append(c);
    }
    for (icalcomponent *c : others) {
        icalcomponent_remove_component(calendar, c);
        icalcomponent_free(c);
    }
    if (!others.isEmpty() && problem)
        *problem = QStringLiteral("%1 events of other UIDs ignored").arg(others.size());
    item->adopt(calendar);
    if (!item->times().valid) {
        if (problem)
            *problem = QStringLiteral("the event has no valid start");
        return nullptr;
    }
    return item;
}

QList<std::shared_ptr<IcalItem>> IcalItem::split(const QByteArray &text, QStringList *problems)
{
    QList<std::shared_ptr<IcalItem>> items;
    QByteArray data = text;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    icalcomponent *root = icalparser_parse_string(data.constData());
    if (!root) {
        if (problems)
            problems->append(QStringLiteral("not an iCalendar file"));
        return items;
    }
    QList<icalcomponent *> calendars;
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
        calendars.append(root);
    } else {
        for (icalcomponent *c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
            calendars.append(c);
    }
    for (icalcomponent *calendar : calendars) {
        // Events by UID, in the order the UIDs first appear.
        QList<QByteArray> order;
        QHash<QByteArray, QList<icalcomponent *>> byUid;
        for (icalcomponent *e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             e; e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            QByteArray uid = icalcomponent_get_uid(e);
            if (uid.isEmpty()) {
                char *t = icalcomponent_as_ical_string_r(e);
                uid = "quorvel-" +
                      QCryptographicHash::hash(QByteArray(t), QCryptographicHash::Sha1).toHex();
                icalmemory_free_buffer(t);
                icalcomponent_set_uid(e, uid.constData());
            }
            if (!byUid.contains(uid))
                order.append(uid);
            byUid[uid].append(e);
        }
        for (const QByteArray &uid : order) {
            icalcomponent *out = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
            // Calendar properties (VERSION, PRODID, METHOD, ...) and every time zone.
            for (icalproperty *p = icalcomponent_get_first_property(calendar, ICAL_ANY_PROPERTY); p;
                 p = icalcomponent_get_next_property(calendar, ICAL_ANY_PROPERTY))
                icalcomponent_add_property(out, icalproperty_new_clone(p));
            if (!icalcomponent_get_first_property(out, ICAL_VERSION_PROPERTY))
                icalcomponent_add_property(out, icalproperty_new_version("2.0"));
            if (!icalcomponent_get_first_property(out, ICAL_PRODID_PROPERTY))
                icalcomponent_add_property(out, icalproperty_new_prodid("-//Quorvel//Quorvel//EN"));
            for (icalcomponent *tz = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT);
                 tz; tz = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT))
                icalcomponent_add_component(out, icalcomponent_new_clone(tz));
            for (icalcomponent *e : byUid[uid])
                icalcomponent_add_component(out, icalcomponent_new_clone(e));
            std::shared_ptr<IcalItem> item(new IcalItem);
            item->adopt(out);
            if (!item->times().valid) {
                if (problems)
                    problems->append(QStringLiteral("%1: no valid start, skipped").arg(QString(uid)));
                continue;
            }
            items.append(std::move(item));
        }
    }
    icalcomponent_free(root);
    return items;
}

std::unique_ptr<IcalItem> IcalItem::create()
{
    icalcomponent *calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Quorvel//Quorvel//EN"));
    icalcomponent *event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    const QByteArray uid = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
    icalcomponent_add_property(event, icalproperty_new_uid(uid.constData()));
    icalcomponent_add_property(
        event, icalproperty_new_dtstamp(icaltime_current_time_with_zone(icaltimezone_get_utc_timezone())));
    icalcomponent_add_component(calendar, event);
    std::unique_ptr<IcalItem> item(new IcalItem);
    item->adopt(calendar);
    return item;
}

QByteArray IcalItem::serialize() const
{
    char *text = icalcomponent_as_ical_string_r(m_calendar);
    const QByteArray out(text);
    icalmemory_free_buffer(text);
    return out;
}

std::unique_ptr<IcalItem> IcalItem::clone() const
{
    std::unique_ptr<IcalItem> copy(new IcalItem);
    copy->adopt(icalcomponent_new_clone(m_calendar));
    return copy;
}

QList<icalcomponent *> IcalItem::overrides() const
{
    QList<icalcomponent *> out;
    for (icalcomponent *c = icalcomponent_get_first_component(m_calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(m_calendar, ICAL_VEVENT_COMPONENT)) {
        if (isOverride(c))
            out.append(c);
    }
    return out;
}

bool IcalItem::hasMaster() const
{
    return m_master && !isOverride(m_master);
}

QString IcalItem::uid() const
{
    return fromIcal(icalcomponent_get_uid(m_master));
}

bool IcalItem::isMeeting() const
{
    icalproperty *p = icalcomponent_get_first_property(m_calendar, ICAL_METHOD_PROPERTY);
    return p && icalproperty_get_method(p) == ICAL_METHOD_REQUEST;
}

bool IcalItem::isRecurring() const
{
    if (!hasMaster())
        return false;
    return icalcomponent_get_first_property(m_master, ICAL_RRULE_PROPERTY) ||
           icalcomponent_get_first_property(m_master, ICAL_RDATE_PROPERTY) ||
           !overrides().isEmpty();
}

bool IcalItem::isHidden() const
{
    return xText(kHidden).compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
}

void IcalItem::setHidden(bool hidden)
{
    setXText(kHidden, hidden ? QStringLiteral("TRUE") : QString());
}

QString IcalItem::text(const char *property) const
{
    return textOf(m_master, property);
}

QString IcalItem::textOf(icalcomponent *event, const char *property)
{
    const icalproperty_kind kind = kindOf(property);
    icalproperty *p = icalcomponent_get_first_property(event, kind);
    if (!p)
        return QString();
    switch (kind) {
    case ICAL_SUMMARY_PROPERTY: return fromIcal(icalproperty_get_summary(p));
    case ICAL_LOCATION_PROPERTY: return fromIcal(icalproperty_get_location(p));
    case ICAL_DESCRIPTION_PROPERTY: return fromIcal(icalproperty_get_description(p));
    default: return fromIcal(icalproperty_get_value_as_string(p));
    }
}

void IcalItem::setText(const char *property, const QString &value)
{
    const icalproperty_kind kind = kindOf(property);
    removeAll(m_master, kind);
    if (value.isEmpty())
        return;
    icalproperty *p = icalproperty_new(kind);
    icalproperty_set_value(p, icalvalue_new_text(value.toUtf8().constData()));
    icalcomponent_add_property(m_master, p);
}

QStringList IcalItem::categories() const
{
    return categoriesOf(m_master);
}

QStringList IcalItem::categoriesOf(icalcomponent *event)
{
    QStringList names;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_CATEGORIES_PROPERTY)) {
        const QString name = fromIcal(icalproperty_get_categories(p)).trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

void IcalItem::setCategories(const QStringList &names)
{
    removeAll(m_master, ICAL_CATEGORIES_PROPERTY);
    for (const QString &name : names) {
        if (!name.trimmed().isEmpty())
            icalcomponent_add_property(m_master,
                                       icalproperty_new_categories(name.trimmed().toUtf8().constData()));
    }
}

QString IcalItem::xText(const char *name) const
{
    icalproperty *p = findX(m_master, name);
    return p ? percentDecode(icalproperty_get_x(p)) : QString();
}

void IcalItem::setXText(const char *name, const QString &value)
{
    while (icalproperty *p = findX(m_master, name)) {
        icalcomponent_remove_property(m_master, p);
        icalproperty_free(p);
    }
    if (value.isEmpty())
        return;
    icalproperty *p = icalproperty_new_x(percentEncode(value).constData());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(m_master, p);
}

bool IcalItem::reminderSet() const
{
    return icalcomponent_get_first_component(m_master, ICAL_VALARM_COMPONENT) != nullptr;
}

void IcalItem::setReminderSet(bool on)
{
    while (icalcomponent *a = icalcomponent_get_first_component(m_master, ICAL_VALARM_COMPONENT)) {
        icalcomponent_remove_component(m_master, a);
        icalcomponent_free(a);
    }
    if (!on)
        return;
    icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_description("Reminder"));
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-15 * 60);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_component(m_master, alarm);
}

IcalItem::Times IcalItem::timesOf(icalcomponent *event)
{
    Times t;
    icalcomponent *calendar = icalcomponent_get_parent(event);
    const Span s = spanOf(calendar, event);
    if (!s.valid)
        return t;
    const Occurrence o = occurrenceAt(wallOnly(s.start), s, event);
    t.start = o.start;
    t.end = o.end;
    t.allDay = o.allDay;
    t.valid = OADate::isValid(t.start) && OADate::isValid(t.end);
    return t;
}

IcalItem::Times IcalItem::times() const
{
    return timesOf(m_master);
}

QString IcalItem::startZone() const
{
    const QByteArray tzid =
        tzidOf(icalcomponent_get_first_property(m_master, ICAL_DTSTART_PROPERTY));
    return tzid.isEmpty() ? QString::fromUtf8(QTimeZone::systemTimeZoneId()) : QString(tzid);
}

QString IcalItem::endZone() const
{
    const QByteArray tzid = tzidOf(icalcomponent_get_first_property(m_master, ICAL_DTEND_PROPERTY));
    return tzid.isEmpty() ? startZone() : QString(tzid);
}

void IcalItem::setTimes(double start, double end, bool allDay)
{
    icalproperty *old = icalcomponent_get_first_property(m_master, ICAL_DTSTART_PROPERTY);
    Zone zone;
    QByteArray tzid;
    if (old) {
        const icaltimetype tt = icalproperty_get_dtstart(old);
        zone = zoneOf(m_calendar, old, tt);
        tzid = tzidOf(old);
    }
    // New items, and items that were whole days, get the system's zone when it has a name
    // other programs know, else UTC.
    if (!old || (zone.kind == Zone::Floating && icalproperty_get_dtstart(old).is_date)) {
        const QByteArray system = QTimeZone::systemTimeZoneId();
        icaltimezone *builtin = icaltimezone_get_builtin_timezone(system.constData());
        if (builtin && QTimeZone::isTimeZoneIdAvailable(system)) {
            zone.kind = Zone::Qt;
            zone.qt = QTimeZone(system);
            tzid = system;
            if (!icalcomponent_get_timezone(m_calendar, system.constData())) {
                icalcomponent *vtz = icalcomponent_new_clone(icaltimezone_get_component(builtin));
                removeAll(vtz, ICAL_TZID_PROPERTY);
                icalcomponent_add_property(vtz, icalproperty_new_tzid(system.constData()));
                icalcomponent_add_component(m_calendar, vtz);
            }
        } else {
            zone.kind = Zone::Utc;
            tzid.clear();
        }
    }
    removeAll(m_master, ICAL_DTSTART_PROPERTY);
    removeAll(m_master, ICAL_DTEND_PROPERTY);
    removeAll(m_master, ICAL_DURATION_PROPERTY);

    auto make = [&](double when, bool isEnd) {
        icaltimetype w = allDay ? wallIn(when, Zone(), true) : wallIn(when, zone, false);
        if (!allDay && zone.kind == Zone::Utc)
            w.zone = icaltimezone_get_utc_timezone(); // written with "Z"
        icalproperty *p = isEnd ? icalproperty_new_dtend(w) : icalproperty_new_dtstart(w);
        if (!allDay && !tzid.isEmpty())
            icalproperty_add_parameter(p, icalparameter_new_tzid(tzid.constData()));
        icalcomponent_add_property(m_master, p);
    };
    make(start, false);
    make(std::max(start, end), true);
}

QList<IcalItem::Occurrence> IcalItem::occurrences(double endMin, double startMax) const
{
    QList<Occurrence> out;
    const QList<icalcomponent *> overrideList = overrides();

    if (hasMaster()) {
        const Span span = spanOf(m_calendar, m_master);
        if (!span.valid)
            return out;
        const bool date = span.start.is_date;
        const icaltimetype first = wallOnly(span.start);

        // Instances as wall-clock times in the series' zone. A valid rule gives them all (its
        // iterator yields the start when the start matches the rule, as the calendar's own
        // library counts); without one the start is the only instance besides RDATEs.
        QList<icaltimetype> instances;
        bool ruled = false;

        // Bounds in the series' wall time, two days wide of the local bounds (no two zones
        // differ by more), and for the start bound also the length of one instance.
        const double lengthDays = date ? span.days : span.seconds / 86400.0;
        const bool lowBound = OADate::isValid(endMin - lengthDays - 2);
        const bool highBound = OADate::isValid(startMax + 2);
        const icaltimetype wallFrom = lowBound ? wallIn(endMin - lengthDays - 2, Zone(), date)
                                               : icaltime_null_time();
        const icaltimetype wallTo = highBound ? wallIn(startMax + 2, Zone(), date)
                                              : icaltime_null_time();

        for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (rule.freq == ICAL_NO_RECURRENCE)
                continue;
            // UNTIL in UTC against a zoned start: compare in the series' wall time.
            if (!icaltime_is_null_time(rule.until) && icaltime_is_utc(rule.until) && !date) {
                const double untilLocal = localOf(rule.until, Zone{Zone::Utc, {}, nullptr});
                rule.until = wallIn(untilLocal, span.zone, false);
            } else {
                rule.until = wallOnly(rule.until);
            }
            icalrecur_iterator *it = icalrecur_iterator_new(rule, first);
            if (!it)
                continue;
            ruled = true;
            if (rule.count == 0 && lowBound && icaltime_compare(wallFrom, first) > 0)
                icalrecur_iterator_set_start(it, wallFrom);
            int n = 0;
            for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
                 next = icalrecur_iterator_next(it)) {
                if (highBound && icaltime_compare(wallOnly(next), wallTo) > 0)
                    break;
                instances.append(wallOnly(next));
                if (++n >= kMaxInstances)
                    break;
            }
            icalrecur_iterator_free(it);
        }
        if (!ruled)
            instances.prepend(first);
        QList<std::pair<icaltimetype, qint64>> periods; // RDATE periods with their own length
        for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype r = icalproperty_get_rdate(p);
            if (!icaltime_is_null_time(r.time)) {
                const Zone z = zoneOf(m_calendar, p, r.time);
                icaltimetype w = r.time.is_date ? wallOnly(r.time)
                                                : wallIn(localOf(r.time, z), span.zone, false);
                if (date)
                    w.is_date = 1;
                instances.append(w);
            } else if (!icaltime_is_null_time(r.period.start)) {
                const Zone z = zoneOf(m_calendar, p, r.period.start);
                const QDateTime from = instantOf(r.period.start, z);
                qint64 secs = span.seconds;
                if (!icaltime_is_null_time(r.period.end))
                    secs = from.secsTo(instantOf(r.period.end, z));
                else if (!icaldurationtype_is_null_duration(r.period.duration))
                    secs = icaldurationtype_as_int(r.period.duration);
                periods.append({wallIn(localOf(r.period.start, z), span.zone, false), secs});
            }
        }

        // Exclusions: EXDATEs and every instance an override replaces.
        QSet<qint64> excluded;
        for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_EXDATE_PROPERTY)) {
            const icaltimetype x = icalproperty_get_exdate(p);
            if (icaltime_is_null_time(x))
                continue;
            const double local = x.is_date ? localOf(x, Zone()) : localOf(x, zoneOf(m_calendar, p, x));
            excluded.insert(instanceKey(local, date || x.is_date));
        }
        for (icalcomponent *o : overrideList) {
            icalproperty *rid = icalcomponent_get_first_property(o, ICAL_RECURRENCEID_PROPERTY);
            const icaltimetype x = icalproperty_get_recurrenceid(rid);
            const double local = x.is_date ? localOf(x, Zone()) : localOf(x, zoneOf(m_calendar, rid, x));
            excluded.insert(instanceKey(local, date || x.is_date));
        }

        QSet<qint64> seen;
        auto take = [&](const Occurrence &o) {
            const qint64 key = instanceKey(o.start, date);
            if (excluded.contains(key) || seen.contains(key))
                return;
            seen.insert(key);
            if (o.start <= startMax && o.end >= endMin)
                out.append(o);
        };
        for (const icaltimetype &w : std::as_const(instances))
            take(occurrenceAt(w, span, m_master));
        for (const auto &[w, secs] : std::as_const(periods)) {
            Span own = span;
            own.seconds = secs;
            take(occurrenceAt(w, own, m_master));
        }
    }

    for (icalcomponent *o : overrideList) {
        if (icalproperty *status = icalcomponent_get_first_property(o, ICAL_STATUS_PROPERTY);
            status && icalproperty_get_status(status) == ICAL_STATUS_CANCELLED)
            continue;
        const Times t = timesOf(o);
        if (!t.valid || t.start > startMax || t.end < endMin)
            continue;
        Occurrence occ;
        occ.start = t.start;
        occ.end = t.end;
        occ.allDay = t.allDay;
        occ.source = o;
        occ.isException = hasMaster();
        out.append(occ);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Occurrence &a, const Occurrence &b) { return a.start < b.start; });
    return out;
}

void IcalItem::excludeInstance(const Occurrence &occurrence)
{
    if (!hasMaster())
        return;
    icaltimetype when;
    if (occurrence.isException && occurrence.source) {
        // The source may belong to another copy of this item: find ours by its RECURRENCE-ID.
        icalproperty *rid =
            icalcomponent_get_first_property(occurrence.source, ICAL_RECURRENCEID_PROPERTY);
        when = icalproperty_get_recurrenceid(rid);
        const QByteArray tzid = tzidOf(rid);
        for (icalcomponent *own : overrides()) {
            icalproperty *ownRid = icalcomponent_get_first_property(own, ICAL_RECURRENCEID_PROPERTY);
            if (icaltime_compare(icalproperty_get_recurrenceid(ownRid), when) == 0) {
                icalcomponent_remove_component(m_calendar, own);
                icalcomponent_free(own);
                break;
            }
        }
        icalproperty *ex = icalproperty_new_exdate(wallOnly(when));
        if (!tzid.isEmpty())
            icalproperty_add_parameter(ex, icalparameter_new_tzid(tzid.constData()));
        icalcomponent_add_property(m_master, ex);
        return;
    }
    icalproperty *dtstart = icalcomponent_get_first_property(m_master, ICAL_DTSTART_PROPERTY);
    const icaltimetype first = icalproperty_get_dtstart(dtstart);
    const Zone zone = zoneOf(m_calendar, dtstart, first);
    when = first.is_date ? wallIn(occurrence.start, Zone(), true)
                         : wallIn(occurrence.start, zone, false);
    if (zone.kind == Zone::Utc)
        when.zone = icaltimezone_get_utc_timezone();
    icalproperty *ex = icalproperty_new_exdate(when);
    if (const QByteArray tzid = tzidOf(dtstart); !tzid.isEmpty())
        icalproperty_add_parameter(ex, icalparameter_new_tzid(tzid.constData()));
    icalcomponent_add_property(m_master, ex);
}

bool IcalItem::namedValue(const QString &set, const QString &name, QString &value, int &type) const
{
    for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(m_master, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), kNamed) != 0)
            continue;
        if (xParam(p, "X-SET").compare(set, Qt::CaseInsensitive) == 0 &&
            xParam(p, "X-NAME") == name) {
            value = percentDecode(icalproperty_get_x(p));
            type = xParam(p, "X-TYPE").toInt();
            return true;
        }
    }
    return false;
}

void IcalItem::setNamedValue(const QString &set, const QString &name, int type,
                             const QString &value)
{
    for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(m_master, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), kNamed) == 0 &&
            xParam(p, "X-SET").compare(set, Qt::CaseInsensitive) == 0 &&
            xParam(p, "X-NAME") == name) {
            icalcomponent_remove_property(m_master, p);
            icalproperty_free(p);
            break;
        }
    }
    icalproperty *p = icalproperty_new_x(percentEncode(value).constData());
    icalproperty_set_x_name(p, kNamed);
    addXParam(p, "X-SET", set);
    addXParam(p, "X-NAME", name);
    addXParam(p, "X-TYPE", QString::number(type));
    icalcomponent_add_property(m_master, p);
}

QString IsoText(double date)
{
    return OADate::toDateTime(date).toString(Qt::ISODate);
}
