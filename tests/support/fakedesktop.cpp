#include "fakedesktop.h"

#include "qverror.h"

#include <QRegularExpression>

#include <algorithm>

namespace Store {

QString ObjectField(const QByteArray &text, const char *name)
{
    const QRegularExpression field(QStringLiteral("\\n%1[^:\\r\\n]*:([^\\r\\n]*)").arg(name));
    // Of the event, not of the zones before it.
    const qsizetype event = std::max<qsizetype>(0, text.indexOf("BEGIN:VEVENT"));
    QString value = field.match(QString::fromUtf8(text.mid(event))).captured(1);
    // A text value as the service compares it: unescaped.
    value.replace(QStringLiteral("\\,"), QStringLiteral(","))
        .replace(QStringLiteral("\\;"), QStringLiteral(";"))
        .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return value;
}

QHash<QString, CalendarSource::Object> FakeSource::objects()
{
    ++wholeReads;
    if (!failure.isEmpty())
        throw QvError(ErrorCode::NotAllowed, failure, QStringLiteral("Calendar store"));
    return held;
}

QHash<QString, CalendarSource::Object> FakeSource::objectsFound(const Query &query)
{
    QHash<QString, Object> out;
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        const QDate start =
            QDate::fromString(ObjectField(it->text, "DTSTART").left(8), QStringLiteral("yyyyMMdd"));
        if (query.from.isValid() && (start < query.from.date() || start >= query.to.date()))
            continue;
        if (!ObjectField(it->text, "SUMMARY").contains(query.subject, Qt::CaseInsensitive))
            continue;
        out.insert(it.key(), *it);
    }
    return out;
}

void FakeSource::write(const QByteArray &text)
{
    if (!refusal.isEmpty())
        throw QvError(ErrorCode::NotAllowed, refusal, QStringLiteral("Calendar store"));
    put(ObjectField(text, "UID"), text);
}

void FakeSource::remove(const QString &uid)
{
    if (!refusal.isEmpty())
        throw QvError(ErrorCode::NotAllowed, refusal, QStringLiteral("Calendar store"));
    held.remove(ObjectKey(uid));
    ++revisionNumber;
}

void FakeSource::put(const QString &uid, const QByteArray &text)
{
    ++revisionNumber;
    held.insert(ObjectKey(uid), Object{uid, TextStamp(text), text});
}

void FakeSource::changeByOthers(const QString &uid, const QByteArray &text)
{
    const bool had = held.contains(ObjectKey(uid));
    if (text.isEmpty()) {
        held.remove(ObjectKey(uid));
        ++revisionNumber;
    } else {
        put(uid, text);
    }
    const QStringList key{ObjectKey(uid)};
    if (text.isEmpty())
        emit changed({}, {}, key);
    else if (had)
        emit changed({}, key, {});
    else
        emit changed(key, {}, {});
}

std::shared_ptr<CalendarSource> FakeCalendars::open(const QString &uid)
{
    auto &source = sources[uid];
    if (!source)
        source = std::make_shared<FakeSource>();
    return source;
}

FakeSource &FakeCalendars::source(const QString &uid)
{
    return *std::static_pointer_cast<FakeSource>(open(uid));
}

} // namespace Store
