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

GeneralDateFormat &keyFormat()
{
    thread_local GeneralDateFormat format;
    return format;
}

} // namespace

GeneralDateFormat::GeneralDateFormat(const QLocale &locale)
    : m_locale(locale), m_timeFormat(withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))
{
}

QString GeneralDateFormat::format(double date)
{
    const QDate day = OADate::toDate(date);
    if (!day.isValid())
        return QString::number(date, 'g', 17);
    const qint64 jd = day.toJulianDay();
    auto dit = m_dates.constFind(jd);
    if (dit == m_dates.constEnd()) {
        if (m_dates.size() >= kCacheLimit)
            m_dates.clear();
        dit = m_dates.insert(jd, m_locale.toString(day, QLocale::ShortFormat));
    }
    const int msecs = OADate::MsecsSinceMidnight(date);
    if (msecs == 0)
        return *dit;
    auto tit = m_times.constFind(msecs);
    if (tit == m_times.constEnd()) {
        if (m_times.size() >= kCacheLimit)
            m_times.clear();
        tit = m_times.insert(msecs, m_locale.toString(QTime::fromMSecsSinceStartOfDay(msecs),
                                                      m_timeFormat));
    }
    return *dit + QLatin1Char(' ') + *tit;
}

QString EventKey(const CalEvent &event)
{
    return keyFormat().format(event.StartDate) + event.EventID;
}

void SetEventKeyLocale(const QLocale &locale)
{
    keyFormat() = GeneralDateFormat(locale);
}
