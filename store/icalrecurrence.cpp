// The times of an item's events and its instances: rules, dates and exclusions expanded as far
// as a range of local dates needs, with the overrides that replace single instances.

#include "icalitem_p.h"

#include "icaltime_p.h"
#include "oadate.h"

#include <QElapsedTimer>
#include <QSet>

#include <cmath>
#include <limits>

using namespace IcalTime;

namespace {

// Start and length of an event: its DTSTART, and the exact length for timed events or the number
// of days for whole-day ones.
struct Span
{
    icaltimetype start = icaltime_null_time();
    Zone zone;
    qint64 seconds = 0; // timed
    qint64 days = 0;    // whole days
    bool valid = false;
    QString bent;    // how a length the file gives was taken, when not as it stands
    QString invalid; // why the event has no times
};

// Longer than any date the planner knows lasts: from the year 100 to the year 9999.
constexpr qint64 kMostDays = 3652059;

// A duration in seconds, without the overflow of the library's int.
qint64 secondsOf(const icaldurationtype &d)
{
    const qint64 s =
        ((qint64(d.weeks) * 7 + d.days) * 24 + d.hours) * 3600 + qint64(d.minutes) * 60 + d.seconds;
    return d.is_neg ? -s : s;
}

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
            s.days = first.daysTo(QDate(e.year, e.month, e.day));
        } else if (duration) {
            s.days = secondsOf(icalproperty_get_duration(duration)) / 86400;
        } else {
            s.days = 1;
        }
        if (s.days < 1) {
            if (s.days < 0)
                s.bent = QStringLiteral("ends before it starts; taken as one day");
            s.days = 1;
        }
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
            s.seconds = secondsOf(icalproperty_get_duration(duration));
        }
        if (s.seconds < 0) {
            s.bent = QStringLiteral("ends before it starts; taken as ending when it starts");
            s.seconds = 0;
        }
    }
    if (s.days > kMostDays || s.seconds > kMostDays * 86400) {
        s.valid = false;
        s.invalid = QStringLiteral("lasts past the year 9999");
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
        end.day += int(span.seconds / 86400);
        end.second += int(span.seconds % 86400);
        end = icaltime_normalize(end);
        o.end = localOf(end, span.zone);
    }
    return o;
}

// Steps the calendar library's iterator may try one by one, about the work of kMaxExpandMs: a
// rule repeating within the day whose other parts leave most steps out (every second of a
// 30 February) is searched that way, inside one call, until a step matches or UNTIL is passed.
constexpr qint64 kMaxSearchSteps = 250000;

bool given(const short *part)
{
    return part[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

// The seconds between the steps of such a rule; 0 for the others, which find their next
// repetition in a few steps or have every step repeat.
qint64 searchStepSeconds(const icalrecurrencetype &r)
{
    bool limited = given(r.by_month) || given(r.by_week_no) || given(r.by_year_day) ||
                   given(r.by_month_day) || given(r.by_day) || given(r.by_set_pos);
    qint64 unit = 0;
    switch (r.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        unit = 1;
        limited = limited || given(r.by_hour) || given(r.by_minute) || given(r.by_second);
        break;
    case ICAL_MINUTELY_RECURRENCE:
        unit = 60;
        limited = limited || given(r.by_hour) || given(r.by_minute);
        break;
    case ICAL_HOURLY_RECURRENCE:
        unit = 3600;
        limited = limited || given(r.by_hour);
        break;
    default:
        return 0;
    }
    return limited ? unit * std::max<qint64>(r.interval, 1) : 0;
}

bool hasWeek(const icalrecurrencetype &r, int week)
{
    for (int i = 0; i < ICAL_BY_WEEKNO_SIZE && r.by_week_no[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        if (r.by_week_no[i] == week)
            return true;
    }
    return false;
}

icaltimetype wallAfter(icaltimetype t, qint64 seconds)
{
    icaltime_adjust(&t, int(seconds / 86400), 0, 0, int(seconds % 86400));
    return t;
}

// Identity of an instance, for EXDATE and RECURRENCE-ID: the local start to the second, or
// the day for whole-day instances. A time that names no day (a 15th month) identifies none.
qint64 instanceKey(double localStart, bool date)
{
    if (!OADate::isValid(localStart))
        return std::numeric_limits<qint64>::min();
    return date ? qint64(std::floor(OADate::DateOnly(localStart))) * 100000
                : qint64(std::llround(localStart * 86400.0));
}

// The instances of a series in one range of local time, worked out step by step: the rules'
// instances and the RDATEs as wall-clock times of the series' zone, then what EXDATEs and
// overrides take out, then the occurrences in the range. A step that must give up says why.
class SeriesExpansion
{
public:
    SeriesExpansion(icalcomponent *calendar, icalcomponent *master, const Span &span, double endMin,
                    double startMax, const QElapsedTimer &clock)
        : m_calendar(calendar), m_master(master), m_span(span), m_endMin(endMin),
          m_startMax(startMax), m_clock(clock), m_date(span.start.is_date),
          m_first(wallOnly(span.start))
    {
        // Bounds in the series' wall time, two days wide of the local bounds (no two zones
        // differ by more), and for the start bound also the length of one instance.
        const double lengthDays = m_date ? span.days : span.seconds / 86400.0;
        m_lowBound = OADate::isValid(endMin - lengthDays - 2);
        m_highBound = OADate::isValid(startMax + 2);
        m_wallFrom =
            m_lowBound ? wallIn(endMin - lengthDays - 2, Zone(), m_date) : icaltime_null_time();
        m_wallTo = m_highBound ? wallIn(startMax + 2, Zone(), m_date) : icaltime_null_time();
        // The instances a bounded range may hold: kMaxInstances for each 366 days of it.
        m_most = m_highBound
                     ? qsizetype(IcalItem::kMaxInstances) *
                           qsizetype(std::max(
                               1.0, std::ceil((startMax - std::max(endMin, OADate::kMin)) / 366)))
                     : std::numeric_limits<qsizetype>::max();
    }

    // The instances of every rule. A valid rule gives them all (its iterator yields the start
    // when the start matches the rule, as the calendar's own library counts); without one the
    // start is the only instance besides RDATEs.
    QString expandRules()
    {
        bool ruled = false;
        for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_RRULE_PROPERTY)) {
            const icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (rule.freq == ICAL_NO_RECURRENCE)
                continue;
            if (hasWeek(rule, -53)) // the calendar library reads outside its tables for it
                return QStringLiteral(
                    "its repetition rule counts week -53, which cannot be worked out");
            if (const QString why = expandRule(rule, ruled); !why.isEmpty())
                return why;
        }
        if (!ruled)
            m_instances.prepend(m_first);
        return QString();
    }

    // The RDATEs: dates and times are instances of the series' length, periods have their own.
    QString addDates()
    {
        for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype r = icalproperty_get_rdate(p);
            if (!icaltime_is_null_time(r.time)) {
                const Zone z = zoneOf(m_calendar, p, r.time);
                icaltimetype w = r.time.is_date ? wallOnly(r.time)
                                                : wallIn(localOf(r.time, z), m_span.zone, false);
                if (m_date)
                    w.is_date = 1;
                m_instances.append(w);
            } else if (!icaltime_is_null_time(r.period.start)) {
                const Zone z = zoneOf(m_calendar, p, r.period.start);
                const QDateTime from = instantOf(r.period.start, z);
                qint64 secs = m_span.seconds;
                if (!icaltime_is_null_time(r.period.end))
                    secs = from.secsTo(instantOf(r.period.end, z));
                else if (!icaldurationtype_is_null_duration(r.period.duration))
                    secs = icaldurationtype_as_int(r.period.duration);
                m_periods.append({wallIn(localOf(r.period.start, z), m_span.zone, false), secs});
            }
            if (m_instances.size() + m_periods.size() > m_most)
                return tooMany();
        }
        return QString();
    }

    // Exclusions: EXDATEs and every instance an override replaces.
    void exclude(const QList<icalcomponent *> &overrides)
    {
        for (icalproperty *p = icalcomponent_get_first_property(m_master, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(m_master, ICAL_EXDATE_PROPERTY)) {
            const icaltimetype x = icalproperty_get_exdate(p);
            if (icaltime_is_null_time(x))
                continue;
            // An EXDATE that is a day against a timed series takes out that day's instances,
            // the day as the series' own clock has it.
            if (x.is_date && !m_date) {
                m_excludedDays.insert(dayOf(x));
                continue;
            }
            const double local =
                x.is_date ? localOf(x, Zone()) : localOf(x, zoneOf(m_calendar, p, x));
            m_excluded.insert(instanceKey(local, m_date || x.is_date));
        }
        for (icalcomponent *o : overrides) {
            icalproperty *rid = icalcomponent_get_first_property(o, ICAL_RECURRENCEID_PROPERTY);
            const icaltimetype x = icalproperty_get_recurrenceid(rid);
            const double local =
                x.is_date ? localOf(x, Zone()) : localOf(x, zoneOf(m_calendar, rid, x));
            m_excluded.insert(instanceKey(local, m_date || x.is_date));
        }
    }

    // The occurrences in the range, each instance once.
    void collect(QList<IcalItem::Occurrence> &out) const
    {
        QSet<qint64> seen;
        auto take = [&](const IcalItem::Occurrence &o) {
            const qint64 key = instanceKey(o.start, m_date);
            if (m_excluded.contains(key) || seen.contains(key))
                return;
            seen.insert(key);
            if (o.start <= m_startMax && o.end >= m_endMin)
                out.append(o);
        };
        for (const icaltimetype &w : m_instances)
            if (!m_excludedDays.contains(dayOf(w)))
                take(occurrenceAt(w, m_span, m_master));
        for (const auto &[w, secs] : m_periods) {
            if (m_excludedDays.contains(dayOf(w)))
                continue;
            Span own = m_span;
            own.seconds = secs;
            take(occurrenceAt(w, own, m_master));
        }
    }

private:
    static int dayOf(const icaltimetype &t) { return t.year * 10000 + t.month * 100 + t.day; }

    QString slow() const
    {
        return QStringLiteral("its repetitions take longer than %1 ms to work out")
            .arg(IcalItem::kMaxExpandMs);
    }
    QString tooMany() const
    {
        return QStringLiteral("more than %1 repetitions from %2 to %3")
            .arg(m_most)
            .arg(IsoText(std::max(m_endMin, OADate::kMin)).left(10), IsoText(m_startMax).left(10));
    }

    QString expandRule(icalrecurrencetype rule, bool &ruled)
    {
        // UNTIL in UTC against a zoned start: compare in the series' wall time.
        if (!icaltime_is_null_time(rule.until) && icaltime_is_utc(rule.until) && !m_date) {
            const double untilLocal = localOf(rule.until, Zone{Zone::Utc, {}, nullptr});
            rule.until = wallIn(untilLocal, m_span.zone, false);
        } else {
            rule.until = wallOnly(rule.until);
        }
        // A rule that ends before the start repeats nothing, but the start is always the set's
        // first instance: without another rule the item is a one-off.
        if (!icaltime_is_null_time(rule.until) && icaltime_compare(rule.until, m_first) < 0)
            return QString();
        // Nothing past the range is needed, and the calendar library's search stops at UNTIL
        // (with a COUNT as well, whichever comes first).
        if (m_highBound &&
            (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, m_wallTo) > 0))
            rule.until = m_wallTo;
        const bool fromRange =
            rule.count == 0 && m_lowBound && icaltime_compare(m_wallFrom, m_first) > 0;
        // Its iterator may try every step inside one call that cannot be stopped: search no
        // further than kMaxSearchSteps steps, and when that cut the search short of a COUNT or
        // UNTIL, what lay beyond is unknown.
        bool searchCut = false;
        if (const qint64 step = searchStepSeconds(rule)) {
            const icaltimetype horizon =
                wallAfter(fromRange ? m_wallFrom : m_first, kMaxSearchSteps * step);
            if (icaltime_is_null_time(rule.until) || icaltime_compare(horizon, rule.until) < 0) {
                rule.until = horizon;
                searchCut = true;
            }
        }
        icalrecur_iterator *it = icalrecur_iterator_new(rule, m_first);
        if (!it)
            return QString();
        ruled = true;
        if (fromRange)
            icalrecur_iterator_set_start(it, m_wallFrom);
        int n = 0;
        qint64 steps = 0; // instances the iterator gave
        bool tooSlow = false, ended = false;
        for (icaltimetype next = icalrecur_iterator_next(it);; next = icalrecur_iterator_next(it)) {
            if (icaltime_is_null_time(next)) {
                ended = true;
                break;
            }
            if ((++steps & 1023) == 0 && m_clock.elapsed() > IcalItem::kMaxExpandMs) {
                tooSlow = true;
                break;
            }
            const icaltimetype wall = wallOnly(next);
            if (m_highBound && icaltime_compare(wall, m_wallTo) > 0)
                break;
            if (m_lowBound && icaltime_compare(wall, m_wallFrom) < 0)
                continue; // a counted series walks up from its start
            m_instances.append(wall);
            if (!m_highBound && ++n >= IcalItem::kMaxInstances)
                break; // an endless series in an endless range
            if (m_highBound && m_instances.size() > m_most)
                break;
        }
        icalrecur_iterator_free(it);
        if (tooSlow || (searchCut && ended && (rule.count == 0 || steps < rule.count)))
            return slow();
        if (m_highBound && m_instances.size() > m_most)
            return tooMany();
        return QString();
    }

    icalcomponent *m_calendar;
    icalcomponent *m_master;
    const Span &m_span;
    double m_endMin, m_startMax;
    const QElapsedTimer &m_clock;
    bool m_date;
    icaltimetype m_first;
    bool m_lowBound = false, m_highBound = false;
    icaltimetype m_wallFrom, m_wallTo;
    qsizetype m_most = 0;
    QList<icaltimetype> m_instances;
    QList<std::pair<icaltimetype, qint64>> m_periods; // RDATE periods with their own length
    QSet<qint64> m_excluded;
    QSet<int> m_excludedDays;
};

} // namespace

IcalItem::Times IcalItem::timesOf(icalcomponent *event)
{
    Times t;
    icalcomponent *calendar = icalcomponent_get_parent(event);
    const Span s = spanOf(calendar, event);
    t.invalid = s.invalid.isEmpty() ? QStringLiteral("no valid start") : s.invalid;
    if (!s.valid)
        return t;
    const Occurrence o = occurrenceAt(wallOnly(s.start), s, event);
    t.start = o.start;
    t.end = o.end;
    t.allDay = o.allDay;
    t.valid = OADate::isValid(t.start) && OADate::isValid(t.end);
    if (t.valid)
        t.invalid.clear();
    return t;
}

QList<icalcomponent *> IcalItem::latestOverrides(Notes *notes) const
{
    const QList<icalcomponent *> all = overrides();
    if (all.size() < 2)
        return all;
    // One override an instance: the newest by SEQUENCE, then DTSTAMP, then place in the file.
    bool date = false;
    if (hasMaster()) {
        icalproperty *dtstart = icalcomponent_get_first_property(m_master, ICAL_DTSTART_PROPERTY);
        date = dtstart && icalproperty_get_dtstart(dtstart).is_date;
    }
    auto newer = [](icalcomponent *a, icalcomponent *b) {
        const int sa = icalcomponent_get_sequence(a), sb = icalcomponent_get_sequence(b);
        if (sa != sb)
            return sa > sb;
        return icaltime_compare(icalcomponent_get_dtstamp(a), icalcomponent_get_dtstamp(b)) >= 0;
    };
    QHash<qint64, qsizetype> placeOf; // instance -> index in kept
    QList<icalcomponent *> kept;
    int repeated = 0;
    for (icalcomponent *o : all) {
        icalproperty *rid = icalcomponent_get_first_property(o, ICAL_RECURRENCEID_PROPERTY);
        const icaltimetype x = icalproperty_get_recurrenceid(rid);
        const double local =
            x.is_date ? localOf(x, Zone()) : localOf(x, zoneOf(m_calendar, rid, x));
        const qint64 key = instanceKey(local, date || x.is_date);
        const auto at = placeOf.constFind(key);
        if (at == placeOf.cend()) {
            placeOf.insert(key, kept.size());
            kept.append(o);
            continue;
        }
        ++repeated;
        if (newer(o, kept[*at]))
            kept[*at] = o;
    }
    if (repeated && notes)
        notes->bent.append(
            QStringLiteral("%1 overrides repeat the RECURRENCE-ID of another; the newest of "
                           "each is used")
                .arg(repeated));
    return kept;
}

QList<IcalItem::Occurrence> IcalItem::occurrences(double endMin, double startMax,
                                                  Notes *notes) const
{
    QList<Occurrence> out;
    QElapsedTimer clock;
    clock.start();
    auto refuse = [&](const QString &why) {
        if (notes)
            notes->leftOut = why;
        return QList<Occurrence>();
    };
    auto bend = [&](const QString &how) {
        if (notes && !how.isEmpty() && !notes->bent.contains(how))
            notes->bent.append(how);
    };
    const QList<icalcomponent *> overrideList = latestOverrides(notes);

    if (hasMaster()) {
        const Span span = spanOf(m_calendar, m_master);
        if (!span.valid)
            return span.invalid.isEmpty() ? out : refuse(span.invalid);
        bend(span.bent);
        SeriesExpansion series(m_calendar, m_master, span, endMin, startMax, clock);
        QString why = series.expandRules();
        if (why.isEmpty())
            why = series.addDates();
        if (!why.isEmpty())
            return refuse(why);
        series.exclude(overrideList);
        series.collect(out);
    }

    for (icalcomponent *o : overrideList) {
        if (icalproperty *status = icalcomponent_get_first_property(o, ICAL_STATUS_PROPERTY);
            status && icalproperty_get_status(status) == ICAL_STATUS_CANCELLED)
            continue;
        bend(spanOf(m_calendar, o).bent);
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
            icalproperty *ownRid =
                icalcomponent_get_first_property(own, ICAL_RECURRENCEID_PROPERTY);
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
