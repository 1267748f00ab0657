#include "eventkey.h"

#include "calevent.h"
#include "oadate.h"

namespace {

// The long time format without its time-zone field: keys and the texts shown with them hold the
// wall-clock time only.
QString withoutTimeZone(const QString &format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('t')) {
            while (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            continue;
        }
        out.append(c);
    }
    return out.trimmed();
}

constexpr int kCacheLimit = 8192;

struct KeyFormat
{
    GeneralDateFormat format;
    quint64 generation = 0;
};

KeyFormat &keyFormat()
{
    thread_local KeyFormat format;
    return format;
}

} // namespace

GeneralDateFormat::GeneralDateFormat(const QLocale &locale)
    : m_locale(locale), m_timeFormat(withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))
{
}

const QString &GeneralDateFormat::dateText(const QDate &day)
{
    const qint64 jd = day.toJulianDay();
    if (jd != m_lastDay) {
        auto it = m_dates.constFind(jd);
        if (it == m_dates.constEnd()) {
            if (m_dates.size() >= kCacheLimit)
                m_dates.clear();
            it = m_dates.insert(jd, m_locale.toString(day, QLocale::ShortFormat));
        }
        m_lastDay = jd;
        m_lastDayText = *it;
    }
    return m_lastDayText;
}

const QString &GeneralDateFormat::timeText(int msecs)
{
    if (msecs != m_lastMsecs) {
        auto it = m_times.constFind(msecs);
        if (it == m_times.constEnd()) {
            if (m_times.size() >= kCacheLimit)
                m_times.clear();
            it = m_times.insert(
                msecs, m_locale.toString(QTime::fromMSecsSinceStartOfDay(msecs), m_timeFormat));
        }
        m_lastMsecs = msecs;
        m_lastTimeText = *it;
    }
    return m_lastTimeText;
}

QString GeneralDateFormat::format(double date)
{
    const QDate day = OADate::toDate(date);
    if (!day.isValid())
        return QString::number(date, 'g', 17);
    const int msecs = OADate::MsecsSinceMidnight(date);
    if (msecs == 0)
        return dateText(day);
    return dateText(day) + QLatin1Char(' ') + timeText(msecs);
}

void ForEachKeyDatePiece(double startDate, const std::function<void(QStringView)> &piece)
{
    GeneralDateFormat &f = keyFormat().format;
    const QDate day = OADate::toDate(startDate);
    const int msecs = OADate::MsecsSinceMidnight(startDate);
    if (!day.isValid() || msecs == 0) {
        piece(f.format(startDate));
    } else {
        piece(f.dateText(day));
        piece(u" ");
        piece(f.timeText(msecs));
    }
}

QString EventKey(const CalEvent &event)
{
    return EventKeyOf(event.StartDate, event.EventID);
}

QString EventKeyOf(double startDate, const QString &eventId)
{
    QString key;
    key.reserve(eventId.size() + 24);
    ForEachKeyDatePiece(startDate, [&key](QStringView piece) { key += piece; });
    key += eventId;
    return key;
}

void SetEventKeyLocale(const QLocale &locale)
{
    KeyFormat &k = keyFormat();
    k.format = GeneralDateFormat(locale);
    ++k.generation;
}

quint64 EventKeyLocaleGeneration()
{
    return keyFormat().generation;
}
