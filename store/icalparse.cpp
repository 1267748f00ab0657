#include "icalitem_p.h"

#include "icaltext_p.h"
#include "icaltime_p.h"

#include <QCryptographicHash>
#include <QSet>

#include <libical/ical.h>

// Reading calendar text into items: one file's item, every item of a file of several UIDs, and
// the items of a calendar stream being imported.

namespace {

// Which of two copies of one event is the newer: the higher SEQUENCE, then the later
// LAST-MODIFIED, then the later DTSTAMP; a tie goes to the one later in the file (b).
bool NewerThan(icalcomponent *a, icalcomponent *b)
{
    const auto sequence = [](icalcomponent *c) {
        icalproperty *p = icalcomponent_get_first_property(c, ICAL_SEQUENCE_PROPERTY);
        return p ? icalproperty_get_sequence(p) : 0;
    };
    if (sequence(a) != sequence(b))
        return sequence(a) > sequence(b);
    const auto modified = [](icalcomponent *c) {
        icalproperty *p = icalcomponent_get_first_property(c, ICAL_LASTMODIFIED_PROPERTY);
        return p ? icalproperty_get_lastmodified(p) : icaltime_null_time();
    };
    if (const int order = icaltime_compare(modified(a), modified(b)); order != 0)
        return order > 0;
    return icaltime_compare(icalcomponent_get_dtstamp(a), icalcomponent_get_dtstamp(b)) > 0;
}

} // namespace

int IcalItem::dropOlderMasters(icalcomponent *calendar)
{
    // A client that edited the event may have left its old copy beside the new one; the newest is
    // the event, as with the overrides of one instance.
    QList<icalcomponent *> masters;
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (!isOverride(c))
            masters.append(c);
    }
    if (masters.size() < 2)
        return 0;
    icalcomponent *newest = masters.first();
    for (icalcomponent *c : masters)
        if (c != newest && !NewerThan(newest, c))
            newest = c;
    for (icalcomponent *c : masters) {
        if (c != newest) {
            icalcomponent_remove_component(calendar, c);
            icalcomponent_free(c);
        }
    }
    return int(masters.size() - 1);
}

std::unique_ptr<IcalItem> IcalItem::parse(const QByteArray &text, QString *problem)
{
    return parseFirst(text, problem, nullptr);
}

std::unique_ptr<IcalItem> IcalItem::parseFirst(const QByteArray &text, QString *problem,
                                               bool *several)
{
    QByteArray data = text;
    if (data.startsWith("\xEF\xBB\xBF")) // a byte-order mark
        data.remove(0, 3);
    if (const QString unsafe = IcalText::CheckText(data); !unsafe.isEmpty()) {
        if (problem)
            *problem = unsafe;
        return nullptr;
    }
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
            if (!icalcomponent_get_first_component(c, ICAL_VEVENT_COMPONENT))
                continue;
            if (calendar) {
                if (several)
                    *several = true;
                break;
            }
            calendar = c;
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

    // Before anything converts a time: a zone libical would expand without end.
    QStringList notes = IcalTime::dropUnboundedZones(calendar);
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
    if (!others.isEmpty() && several)
        *several = true;
    else if (!others.isEmpty())
        notes << QStringLiteral("%1 events of other UIDs ignored").arg(others.size());
    if (const int older = dropOlderMasters(calendar))
        notes << QStringLiteral("%1 older copies of the event ignored").arg(older);
    if (!notes.isEmpty() && problem)
        *problem = notes.join(QStringLiteral("; "));
    item->adopt(calendar);
    if (const Times t = item->times(); !t.valid) {
        if (problem)
            *problem = t.invalid == QLatin1String("no valid start")
                           ? QStringLiteral("the event has no valid start")
                           : t.invalid;
        return nullptr;
    }
    return item;
}

std::vector<std::shared_ptr<const IcalItem>> IcalItem::parseFile(const QByteArray &text,
                                                                 QString *problem)
{
    std::vector<std::shared_ptr<const IcalItem>> items;
    bool several = false;
    std::unique_ptr<IcalItem> first = parseFirst(text, problem, &several);
    if (!several) {
        if (first)
            items.push_back(std::move(first));
        return items;
    }
    // Events of several UIDs, as some programs keep a whole calendar in one file: each UID an
    // item, known by its UID (or one made from its text) as long as the file stays as it is.
    QStringList notes;
    QByteArrayView data = text;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QSet<QByteArray> seen;
    int laterCopies = 0;
    IcalText::SplitText(
        data,
        [&](IcalText::ItemText &&part) {
            const QByteArray uid = IcalText::UidOf(part);
            QString partProblem;
            std::unique_ptr<IcalItem> item = parse(part.text, &partProblem);
            if (seen.contains(uid)) {
                ++laterCopies;
                return;
            }
            seen.insert(uid);
            if (!item) {
                notes << QStringLiteral("%1: skipped, %2").arg(QString(uid), partProblem);
                return;
            }
            if (part.uid.isEmpty())
                icalcomponent_set_uid(item->master(), uid.constData());
            if (!partProblem.isEmpty())
                notes << QStringLiteral("%1: %2").arg(QString(uid), partProblem);
            items.push_back(std::move(item));
        },
        &notes);
    if (laterCopies)
        notes << QStringLiteral("%1 copies of events in later calendars of the file ignored")
                     .arg(laterCopies);
    if (problem)
        *problem = items.empty() && notes.isEmpty() ? QStringLiteral("no event in the calendar")
                                                    : notes.join(QStringLiteral("; "));
    return items;
}

void IcalItem::splitEach(const QByteArray &text,
                         const std::function<void(std::unique_ptr<IcalItem>)> &take,
                         QStringList *problems)
{
    QByteArrayView data = text;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    IcalText::SplitText(
        data,
        [&](IcalText::ItemText &&part) {
            QString problem;
            std::unique_ptr<IcalItem> item = parse(part.text, &problem);
            const QString who =
                part.uid.isEmpty() ? QStringLiteral("an event without a UID") : QString(part.uid);
            if (!item) {
                if (problems)
                    problems->append(who + QStringLiteral(": ") + problem +
                                     QStringLiteral(", skipped"));
                return;
            }
            if (part.uid.isEmpty()) {
                // A UID made from the event's content: importing the same file again gives the
                // same.
                icalcomponent *e = item->master();
                char *t = icalcomponent_as_ical_string_r(e);
                const QByteArray uid =
                    "quorvel-" +
                    QCryptographicHash::hash(QByteArray(t), QCryptographicHash::Sha1).toHex();
                icalmemory_free_buffer(t);
                icalcomponent_set_uid(e, uid.constData());
            }
            if (const Times t = item->times(); !t.valid) {
                if (problems)
                    problems->append(QStringLiteral("%1: %2, skipped").arg(who, t.invalid));
                return;
            }
            take(std::move(item));
        },
        problems);
}

QList<std::shared_ptr<IcalItem>> IcalItem::split(const QByteArray &text, QStringList *problems)
{
    QList<std::shared_ptr<IcalItem>> items;
    splitEach(
        text, [&](std::unique_ptr<IcalItem> item) { items.append(std::move(item)); }, problems);
    return items;
}
