#include "icaltext_p.h"

#include <QCryptographicHash>
#include <QHash>
#include <QList>
#include <QSet>

#include <algorithm>

namespace IcalText {
namespace {

// One content line: its raw bytes (folds and line break included) and, unfolded, its name in
// upper case, its parameters' text and its value.
struct Line
{
    qsizetype begin = 0;
    qsizetype end = 0;
    QByteArray name;
    QByteArrayView params; // from the first ";" to the value's ":", in unfolded
    QByteArrayView value;
    QByteArray unfolded; // holds the views' bytes when the line was folded
};

bool isFold(QByteArrayView text, qsizetype at)
{
    return at < text.size() && (text[at] == ' ' || text[at] == '\t');
}

// Walks the content lines of text; step gets each and returns false to stop. A line whose name
// and parameters break a bound stops the walk with problem set.
class Walker
{
public:
    explicit Walker(QByteArrayView text) : m_text(text) {}

    bool next(Line &line)
    {
        if (m_pos >= m_text.size())
            return false;
        line.begin = m_pos;
        qsizetype segmentEnd = lineEnd(m_pos);
        qsizetype end = afterBreak(segmentEnd);
        QByteArrayView whole;
        if (isFold(m_text, end)) {
            // Folded: join the segments without their breaks and leading blanks.
            line.unfolded = m_text.sliced(m_pos, segmentEnd - m_pos).toByteArray();
            while (isFold(m_text, end)) {
                const qsizetype from = end + 1;
                segmentEnd = lineEnd(from);
                line.unfolded += m_text.sliced(from, segmentEnd - from);
                end = afterBreak(segmentEnd);
            }
            whole = line.unfolded;
        } else {
            line.unfolded.clear();
            whole = m_text.sliced(m_pos, segmentEnd - m_pos);
        }
        line.end = end;
        m_pos = end;
        ++m_lineNumber;
        return split(whole, line);
    }

    QString problem() const { return m_problem; }
    int lineNumber() const { return m_lineNumber; }

private:
    qsizetype lineEnd(qsizetype from) const
    {
        qsizetype e = m_text.indexOf('\n', from);
        if (e < 0)
            e = m_text.size();
        if (e > from && m_text[e - 1] == '\r')
            --e;
        return e;
    }
    qsizetype afterBreak(qsizetype at) const
    {
        if (at < m_text.size() && m_text[at] == '\r')
            ++at;
        if (at < m_text.size() && m_text[at] == '\n')
            ++at;
        return at;
    }
    bool split(QByteArrayView whole, Line &line)
    {
        bool quoted = false;
        int parameters = 0;
        qsizetype nameEnd = -1, colon = -1;
        for (qsizetype i = 0; i < whole.size(); ++i) {
            const char c = whole[i];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && c == ';') {
                ++parameters;
                if (nameEnd < 0)
                    nameEnd = i;
            } else if (!quoted && c == ':') {
                colon = i;
                break;
            }
            if (i >= kMaxPropertyHead) {
                m_problem =
                    QStringLiteral("line %1: a property name and parameters longer than %2 bytes")
                        .arg(m_lineNumber)
                        .arg(kMaxPropertyHead);
                return false;
            }
        }
        if (parameters > kMaxParameters) {
            m_problem = QStringLiteral("line %1: a property with %2 parameters (at most %3)")
                            .arg(m_lineNumber)
                            .arg(parameters)
                            .arg(kMaxParameters);
            return false;
        }
        if (const qsizetype commas = whole.count(',');
            qint64(commas) * whole.size() > kMaxValueWork) {
            m_problem = QStringLiteral("line %1: %2 comma-separated values in a line of %3 bytes")
                            .arg(m_lineNumber)
                            .arg(commas)
                            .arg(whole.size());
            return false;
        }
        const qsizetype headEnd = colon < 0 ? whole.size() : colon;
        if (nameEnd < 0)
            nameEnd = headEnd;
        line.name = whole.first(nameEnd).toByteArray().trimmed().toUpper();
        line.params = whole.sliced(nameEnd, headEnd - nameEnd);
        line.value = colon < 0 ? QByteArrayView() : whole.sliced(colon + 1);
        return true;
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_lineNumber = 0;
    QString m_problem;
};

QByteArray componentOf(const Line &line)
{
    return line.value.toByteArray().trimmed().toUpper();
}

// The TZID parameter's value of a line, or an empty text.
QByteArray tzidOf(const Line &line)
{
    const QByteArray params = line.params.toByteArray();
    const qsizetype at = params.toUpper().indexOf(";TZID=");
    if (at < 0)
        return QByteArray();
    QByteArray value = params.mid(at + 6);
    if (value.startsWith('"'))
        return value.mid(1, value.indexOf('"', 1) - 1);
    const qsizetype end = value.indexOf(';');
    return end < 0 ? value : value.left(end);
}

QByteArray raw(QByteArrayView text, qsizetype begin, qsizetype end)
{
    QByteArray bytes = text.sliced(begin, end - begin).toByteArray();
    if (!bytes.endsWith('\n'))
        bytes += "\r\n";
    return bytes;
}

// One VCALENDAR of a stream, gathered while walking it.
struct Calendar
{
    QByteArray properties;
    bool hasVersion = false;
    bool hasProdId = false;
    QHash<QByteArray, QByteArray> zones; // TZID -> VTIMEZONE block
    struct Event
    {
        QByteArray block;
        QList<QByteArray> tzids;
        std::pair<qsizetype, qsizetype> range; // of block in the stream
    };
    QList<QByteArray> order; // UIDs as they first appear
    QHash<QByteArray, QList<Event>> byUid;
    QList<Event> withoutUid;
};

void emitItems(Calendar &c, const std::function<void(ItemText &&)> &take, QStringList *problems)
{
    QByteArray head = "BEGIN:VCALENDAR\r\n" + c.properties;
    if (!c.hasVersion)
        head += "VERSION:2.0\r\n";
    if (!c.hasProdId)
        head += "PRODID:-//Quorvel//Quorvel//EN\r\n";
    auto make = [&](const QByteArray &uid, const QList<Calendar::Event> &events) {
        QByteArray text = head;
        QList<std::pair<qsizetype, qsizetype>> ranges;
        QList<QByteArray> zonesAdded;
        for (const Calendar::Event &e : events) {
            for (const QByteArray &tzid : e.tzids) {
                const auto zone = c.zones.constFind(tzid);
                if (zone != c.zones.cend() && !zonesAdded.contains(tzid)) {
                    zonesAdded.append(tzid);
                    text += *zone;
                }
            }
        }
        for (const Calendar::Event &e : events) {
            text += e.block;
            ranges.append(e.range);
        }
        text += "END:VCALENDAR\r\n";
        if (text.size() > kMaxItemBytes) {
            if (problems)
                problems->append(QStringLiteral("%1: larger than %2 bytes, skipped")
                                     .arg(uid.isEmpty() ? QStringLiteral("an event without a UID")
                                                        : QString(uid))
                                     .arg(kMaxItemBytes));
            return;
        }
        take({uid, std::move(text), std::move(ranges)});
    };
    for (const QByteArray &uid : std::as_const(c.order))
        make(uid, c.byUid.take(uid));
    for (const Calendar::Event &e : std::as_const(c.withoutUid))
        make(QByteArray(), {e});
    c = Calendar();
}

} // namespace

QString CheckText(QByteArrayView text)
{
    if (text.size() > kMaxItemBytes)
        return QStringLiteral("larger than %1 bytes").arg(kMaxItemBytes);
    Walker walker(text);
    Line line;
    int depth = 0;
    while (walker.next(line)) {
        if (line.name == "BEGIN" && ++depth > kMaxDepth)
            return QStringLiteral("line %1: components nested deeper than %2")
                .arg(walker.lineNumber())
                .arg(kMaxDepth);
        if (line.name == "END" && depth > 0)
            --depth;
    }
    return walker.problem();
}

bool SplitText(QByteArrayView text, const std::function<void(ItemText &&)> &take,
               QStringList *problems)
{
    auto refuse = [&](const QString &why) {
        if (problems)
            problems->append(why);
        return false;
    };
    Walker walker(text);
    Line line;
    Calendar calendar;
    bool sawCalendar = false;
    int depth = 0;            // 1 inside a VCALENDAR, more inside its components
    qsizetype blockBegin = 0; // of the component of the calendar being read
    QByteArray blockKind, uid, zoneId;
    QList<QByteArray> tzids;
    while (walker.next(line)) {
        const bool begin = line.name == "BEGIN", end = line.name == "END";
        if (begin && depth + 1 > kMaxDepth)
            return refuse(QStringLiteral("line %1: components nested deeper than %2")
                              .arg(walker.lineNumber())
                              .arg(kMaxDepth));
        if (depth == 0) {
            // Between calendars only a calendar begins; anything else is passed over.
            if (begin && componentOf(line) == "VCALENDAR") {
                sawCalendar = true;
                depth = 1;
            } else if (begin) {
                depth = -1; // a component outside any calendar, skipped to its end
                blockKind = componentOf(line);
            }
            continue;
        }
        if (depth < 0) {
            if (begin)
                --depth;
            else if (end && ++depth == 0)
                blockKind.clear();
            continue;
        }
        if (depth == 1) {
            if (end) {
                emitItems(calendar, take, problems);
                depth = 0;
            } else if (begin) {
                depth = 2;
                blockBegin = line.begin;
                blockKind = componentOf(line);
                uid.clear();
                zoneId.clear();
                tzids.clear();
            } else {
                calendar.properties += raw(text, line.begin, line.end);
                calendar.hasVersion |= line.name == "VERSION";
                calendar.hasProdId |= line.name == "PRODID";
            }
            continue;
        }
        // Inside a component of the calendar.
        if (depth == 2 && line.name == "UID")
            uid = Unescaped(line.value).trimmed();
        if (depth == 2 && line.name == "TZID")
            zoneId = line.value.toByteArray().trimmed();
        if (const QByteArray tzid = tzidOf(line); !tzid.isEmpty() && !tzids.contains(tzid))
            tzids.append(tzid);
        if (begin) {
            ++depth;
        } else if (end && --depth == 1) {
            const QByteArray block = raw(text, blockBegin, line.end);
            if (blockKind == "VTIMEZONE" && !zoneId.isEmpty()) {
                calendar.zones.insert(zoneId, block);
            } else if (blockKind == "VEVENT") {
                const Calendar::Event event{block, tzids, {blockBegin, line.end}};
                if (uid.isEmpty()) {
                    calendar.withoutUid.append(event);
                } else {
                    if (!calendar.byUid.contains(uid))
                        calendar.order.append(uid);
                    calendar.byUid[uid].append(event);
                }
            }
        }
    }
    if (!walker.problem().isEmpty())
        return refuse(walker.problem());
    if (!sawCalendar)
        return refuse(QStringLiteral("not an iCalendar file"));
    if (depth > 0)
        emitItems(calendar, take, problems); // a calendar the file does not end
    return true;
}

QByteArray UidOf(const ItemText &item)
{
    if (!item.uid.isEmpty())
        return item.uid;
    return "quorvel-" + QCryptographicHash::hash(item.text, QCryptographicHash::Sha1).toHex();
}

std::optional<QByteArray> WithoutItem(QByteArrayView text, const QByteArray &uid)
{
    QList<std::pair<qsizetype, qsizetype>> cut;
    const bool read = SplitText(
        text,
        [&](ItemText &&item) {
            if (UidOf(item) == uid)
                cut += item.ranges;
        },
        nullptr);
    if (!read || cut.isEmpty())
        return std::nullopt;
    std::sort(cut.begin(), cut.end());
    QByteArray rest;
    rest.reserve(text.size());
    qsizetype from = 0;
    for (const auto &[begin, end] : std::as_const(cut)) {
        rest += text.sliced(from, begin - from);
        from = end;
    }
    rest += text.sliced(from);
    return rest;
}

std::optional<QList<QByteArray>> ItemUids(QByteArrayView text)
{
    QList<QByteArray> uids;
    if (!SplitText(
            text, [&](ItemText &&item) { uids.append(UidOf(item)); }, nullptr))
        return std::nullopt;
    return uids;
}

QByteArray Unescaped(QByteArrayView value)
{
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const char next = value[++i];
        out += next == 'n' || next == 'N' ? '\n' : next;
    }
    return out;
}

QList<QByteArray> Uids(QByteArrayView text)
{
    QList<QByteArray> uids;
    QSet<QByteArray> seen;
    Walker walker(text);
    Line line;
    int depth = 0;
    bool inEvent = false;
    while (walker.next(line)) {
        if (line.name == "BEGIN") {
            ++depth;
            if (depth == 2 && componentOf(line) == "VEVENT")
                inEvent = true;
        } else if (line.name == "END") {
            if (depth == 2)
                inEvent = false;
            depth = std::max(0, depth - 1);
        } else if (inEvent && depth == 2 && line.name == "UID") {
            const QByteArray uid = Unescaped(line.value).trimmed();
            if (!uid.isEmpty() && !seen.contains(uid)) {
                seen.insert(uid);
                uids.append(uid);
            }
        }
    }
    return uids;
}

} // namespace IcalText
