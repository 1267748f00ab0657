#include "calendardays.h"

#include "binaryfile.h"
#include "icalitem_p.h"
#include "oadate.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace Store {

QList<MarkedDay> DaysOfCalendarText(const QByteArray &ics, const QDate &from, const QDate &to,
                                    QStringList *problems)
{
    QList<MarkedDay> days;
    const double first = OADate::fromDateTime(from), afterLast = OADate::fromDateTime(to) + 1;
    IcalItem::splitEach(
        ics,
        [&](std::unique_ptr<IcalItem> item) {
            const QString subject = item->text("SUMMARY");
            for (const IcalOccurrence &o : item->occurrences(first, afterLast)) {
                // A whole day ends at the midnight after it; a timed event marks each day it
                // touches, and one ending at midnight not the day after (a minute back is
                // safely in the day before, whatever the rounding of the dates).
                constexpr double kMinute = 1.0 / (24 * 60);
                const double end = o.allDay ? o.end - 1 : std::max(o.start, o.end - kMinute);
                for (double d = std::max(OADate::DateOnly(o.start), first);
                     d <= OADate::DateOnly(end) && d < afterLast; ++d)
                    days.append({OADate::toDateTime(d).date(), subject});
            }
        },
        problems);
    std::stable_sort(days.begin(), days.end(),
                     [](const MarkedDay &a, const MarkedDay &b) { return a.day < b.day; });
    return days;
}

QList<MarkedDay> DaysOfCalendarFiles(const QString &path, const QDate &from, const QDate &to,
                                     QStringList *problems)
{
    QStringList files;
    if (QFileInfo(path).isDir()) {
        for (const QString &name : QDir(path).entryList({QStringLiteral("*.ics")}, QDir::Files))
            files << QDir(path).filePath(name);
    } else {
        files << path;
    }
    QList<MarkedDay> days;
    for (const QString &file : files) {
        const QString text = ReadTextFile(file);
        if (text.isEmpty()) {
            if (problems)
                problems->append(QStringLiteral("%1 cannot be read").arg(file));
            continue;
        }
        days += DaysOfCalendarText(text.toUtf8(), from, to, problems);
    }
    std::stable_sort(days.begin(), days.end(),
                     [](const MarkedDay &a, const MarkedDay &b) { return a.day < b.day; });
    return days;
}

} // namespace Store
