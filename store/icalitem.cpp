#include "icalitem_p.h"

#include "icaltext_p.h"
#include "icaltime_p.h"
#include "oadate.h"

#include <QDateTime>
#include <QTimeZone>
#include <QUuid>

#include <libical/ical.h>

#include <cmath>

using namespace IcalTime;

namespace {

constexpr const char *kHidden = "X-QUORVEL-HIDDEN";
constexpr const char *kNamed = "X-QUORVEL-PROP";

// The kind of a property by name: the few the store uses first, as libical's own lookup walks
// its whole table.
icalproperty_kind kindOf(const char *name)
{
    static const std::pair<const char *, icalproperty_kind> known[] = {
        {"SUMMARY", ICAL_SUMMARY_PROPERTY},
        {"LOCATION", ICAL_LOCATION_PROPERTY},
        {"DESCRIPTION", ICAL_DESCRIPTION_PROPERTY},
        {"CLASS", ICAL_CLASS_PROPERTY},
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

// Gives calendar a VTIMEZONE of the zone tzid (an IANA name) unless it has one; false when the
// calendar library does not know the zone.
bool addZone(icalcomponent *calendar, const QByteArray &tzid)
{
    if (icalcomponent_get_timezone(calendar, tzid.constData()))
        return true;
    icaltimezone *builtin = icaltimezone_get_builtin_timezone(tzid.constData());
    if (!builtin)
        return false;
    icalcomponent *vtz = icalcomponent_new_clone(icaltimezone_get_component(builtin));
    removeAll(vtz, ICAL_TZID_PROPERTY);
    icalcomponent_add_property(vtz, icalproperty_new_tzid(tzid.constData()));
    icalcomponent_add_component(calendar, vtz);
    return true;
}

// Whether a date-time property holds a wall-clock time of no zone.
bool isFloating(icalproperty *p)
{
    if (!tzidOf(p).isEmpty())
        return false;
    const icalvalue *v = icalproperty_get_value(p);
    if (!v)
        return false;
    if (icalvalue_isa(v) == ICAL_PERIOD_VALUE) {
        const icalperiodtype period = icalvalue_get_period(v);
        return !period.start.is_date && !icaltime_is_utc(period.start);
    }
    if (icalvalue_isa(v) == ICAL_DATETIMEPERIOD_VALUE) {
        const icaldatetimeperiodtype dp = icalvalue_get_datetimeperiod(v);
        const icaltimetype t = icaltime_is_null_time(dp.time) ? dp.period.start : dp.time;
        return !icaltime_is_null_time(t) && !t.is_date && !icaltime_is_utc(t);
    }
    if (icalvalue_isa(v) != ICAL_DATETIME_VALUE && icalvalue_isa(v) != ICAL_DATE_VALUE)
        return false;
    const icaltimetype t = icalvalue_get_datetime(v);
    return !icaltime_is_null_time(t) && !t.is_date && !icaltime_is_utc(t);
}

} // namespace

bool IcalItem::isOverride(icalcomponent *event)
{
    return icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
}

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

std::unique_ptr<IcalItem> IcalItem::create()
{
    icalcomponent *calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Quorvel//Quorvel//EN"));
    icalcomponent *event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    const QByteArray uid = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
    icalcomponent_add_property(event, icalproperty_new_uid(uid.constData()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(icaltime_current_time_with_zone(
                                          icaltimezone_get_utc_timezone())));
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
    case ICAL_SUMMARY_PROPERTY:
        return fromIcal(icalproperty_get_summary(p));
    case ICAL_LOCATION_PROPERTY:
        return fromIcal(icalproperty_get_location(p));
    case ICAL_DESCRIPTION_PROPERTY:
        return fromIcal(icalproperty_get_description(p));
    default:
        return fromIcal(icalproperty_get_value_as_string(p));
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
            icalcomponent_add_property(
                m_master, icalproperty_new_categories(name.trimmed().toUtf8().constData()));
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

bool IcalItem::anchorFloatingTimes(QString *unknownZone)
{
    const QByteArray named = calendarZoneName(m_calendar);
    if (named.isEmpty())
        return true;
    const QTimeZone zone = qtZoneNamed(named);
    const QByteArray tzid = zone.isValid() ? zone.id() : QByteArray();
    if (tzid.isEmpty() || !addZone(m_calendar, tzid)) {
        if (unknownZone)
            *unknownZone = QString::fromUtf8(named);
        return false;
    }
    for (icalcomponent *c = icalcomponent_get_first_component(m_calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(m_calendar, ICAL_VEVENT_COMPONENT)) {
        for (const icalproperty_kind kind :
             {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_RECURRENCEID_PROPERTY,
              ICAL_EXDATE_PROPERTY, ICAL_RDATE_PROPERTY}) {
            for (icalproperty *p = icalcomponent_get_first_property(c, kind); p;
                 p = icalcomponent_get_next_property(c, kind)) {
                if (isFloating(p))
                    icalproperty_add_parameter(p, icalparameter_new_tzid(tzid.constData()));
            }
        }
        // With a zone on the start, a rule's end must be in UTC.
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (icaltime_is_null_time(rule.until) || rule.until.is_date ||
                icaltime_is_utc(rule.until))
                continue;
            const QDateTime until(QDate(rule.until.year, rule.until.month, rule.until.day),
                                  QTime(rule.until.hour, rule.until.minute, rule.until.second),
                                  zone);
            const QDateTime utc = until.toUTC();
            rule.until = icaltime_from_timet_with_zone(utc.toSecsSinceEpoch(), 0,
                                                       icaltimezone_get_utc_timezone());
            icalproperty_set_rrule(p, rule);
        }
    }
    return true;
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
        if (QTimeZone::isTimeZoneIdAvailable(system) && addZone(m_calendar, system)) {
            zone.kind = Zone::Qt;
            zone.qt = QTimeZone(system);
            tzid = system;
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

void IcalItem::stamp(bool timesChanged)
{
    const icaltimetype now = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    removeAll(m_master, ICAL_DTSTAMP_PROPERTY);
    removeAll(m_master, ICAL_LASTMODIFIED_PROPERTY);
    icalcomponent_add_property(m_master, icalproperty_new_dtstamp(now));
    icalcomponent_add_property(m_master, icalproperty_new_lastmodified(now));
    if (timesChanged) {
        const int next = sequence() + 1;
        removeAll(m_master, ICAL_SEQUENCE_PROPERTY);
        icalcomponent_add_property(m_master, icalproperty_new_sequence(next));
    }
}

int IcalItem::sequence() const
{
    icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_SEQUENCE_PROPERTY);
    return p ? std::max(0, icalproperty_get_sequence(p)) : 0;
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
