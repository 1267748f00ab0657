#include "marksources.h"

#include "calendardays.h"
#include "calendarstore.h"
#include "filtermodel.h"
#include "folderpath.h"
#include "holidays.h"
#include "subscription.h"
#include "usersettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kKey = QStringLiteral("DayMarks");
const QString kRegional = QStringLiteral("+regional");

} // namespace

QString MarkSource::spec() const
{
    switch (kind) {
    case Kind::Holidays:
        return QStringLiteral("holidays:") + value + (regional ? kRegional : QString());
    case Kind::Calendar:
        return QStringLiteral("calendar:") + value;
    case Kind::File:
        return QStringLiteral("file:") + value;
    case Kind::Subscription:
        return QStringLiteral("subscription:") + value;
    }
    return QString();
}

std::optional<MarkSource> MarkSource::parse(const QString &spec)
{
    const qsizetype colon = spec.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QString kind = spec.left(colon).trimmed();
    QString value = spec.mid(colon + 1).trimmed();
    if (value.isEmpty())
        return std::nullopt;
    MarkSource source;
    source.value = value;
    if (kind == QLatin1String("holidays")) {
        source.regional = value.endsWith(kRegional);
        if (source.regional)
            source.value.chop(kRegional.size());
        source.value = source.value.toUpper();
    } else if (kind == QLatin1String("calendar")) {
        source.kind = Kind::Calendar;
    } else if (kind == QLatin1String("file")) {
        source.kind = Kind::File;
    } else if (kind == QLatin1String("subscription")) {
        source.kind = Kind::Subscription;
    } else {
        return std::nullopt;
    }
    return source;
}

QString MarkSource::name() const
{
    switch (kind) {
    case Kind::Holidays:
        return QStringLiteral("Holidays %1").arg(value);
    case Kind::Calendar:
        return value.section(QLatin1Char('\\'), -1);
    case Kind::File:
        return QFileInfo(value).completeBaseName();
    case Kind::Subscription: {
        // "ferien-bayern (schulferien.example)"
        const QUrl url(value);
        const QString file = QFileInfo(url.path()).completeBaseName();
        return file.isEmpty() ? url.host() : file + QStringLiteral(" (") + url.host() + ')';
    }
    }
    return value;
}

QList<MarkSource> StoredMarkSources(const QString &titleName)
{
    QSettings settings = UserSettings();
    settings.beginGroup(FilterModel::SectionOf(titleName));
    QList<MarkSource> sources;
    for (const QString &spec : settings.value(kKey).toStringList())
        if (const std::optional<MarkSource> s = MarkSource::parse(spec))
            sources.append(*s);
    return sources;
}

bool StoreMarkSources(const QString &titleName, const QList<MarkSource> &sources)
{
    QStringList specs;
    for (const MarkSource &s : sources)
        specs << s.spec();
    QSettings settings = UserSettings();
    settings.beginGroup(FilterModel::SectionOf(titleName));
    if (specs.isEmpty())
        settings.remove(kKey);
    else
        settings.setValue(kKey, specs);
    return StoreSettings(settings);
}

QList<MarkSource> ParseMarkSources(const QString &specs, QStringList *wrong)
{
    QList<MarkSource> sources;
    for (const QString &spec : specs.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (const std::optional<MarkSource> s = MarkSource::parse(spec))
            sources.append(*s);
        else if (wrong)
            wrong->append(spec.trimmed());
    }
    return sources;
}

quint32 MarkColour(int n)
{
    // Light red, light violet, light teal, light orange, light olive (0x00BBGGRR).
    static const quint32 colours[] = {0xC8C8F8, 0xF0C8E0, 0xE0E8B8, 0xA8D8F8, 0xB8E8D8};
    return colours[size_t(n) % std::size(colours)];
}

DayMarks LoadDayMarks(const QList<MarkSource> &sources, const QDate &from, const QDate &to,
                      Store::NameSpace *session, QStringList *problems)
{
    DayMarks marks;
    for (int i = 0; i < sources.size(); ++i) {
        const MarkSource &source = sources[i];
        marks.sources.append({source.name(), MarkColour(i)});
        const auto mark = [&](const QDate &day, const QString &name) {
            if (day >= from && day <= to)
                marks.days[day.toJulianDay()].append({i, name});
        };
        QStringList said;
        if (source.kind == MarkSource::Kind::Holidays) {
            for (int year = from.year(); year <= to.year(); ++year) {
                QString problem;
                for (const Holiday &h :
                     PublicHolidays(source.value, year, source.regional, &problem))
                    mark(h.day, h.name);
                if (!problem.isEmpty() && !said.contains(problem))
                    said << problem;
            }
        } else {
            QString path = source.value;
            if (source.kind == MarkSource::Kind::Calendar) {
                const Store::FolderPtr folder =
                    session ? Store::FolderAtPath(*session, source.value) : nullptr;
                path = folder ? folder->directory() : QString();
            } else if (source.kind == MarkSource::Kind::Subscription) {
                path = SubscriptionDirectory(source.value);
            }
            if (source.kind == MarkSource::Kind::Subscription && QDir(path).isEmpty()) {
                said << QCoreApplication::translate(
                            "DayMarks", "%1 has not been fetched yet (vdirsyncer sync %2)")
                            .arg(source.value, SubscriptionPairName(source.value));
            } else if (path.isEmpty() || !QFileInfo::exists(path)) {
                said
                    << QCoreApplication::translate("DayMarks", "%1 is not there").arg(source.value);
            } else {
                QStringList unread;
                for (const Store::MarkedDay &d :
                     Store::DaysOfCalendarFiles(path, from, to, &unread))
                    mark(d.day, d.subject);
                if (!unread.isEmpty())
                    said << unread.first();
            }
        }
        if (problems)
            for (const QString &p : said)
                problems->append(QStringLiteral("%1: %2").arg(source.name(), p));
    }
    return marks;
}
