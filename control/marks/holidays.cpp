#include "holidays.h"

#include <QCoreApplication>
#include <QHash>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

constexpr int kGcalMs = 10000;

} // namespace

QList<Holiday> HolidaysOfGcalText(const QString &text, bool regional)
{
    // "Whit Monday (DE_BY)          + Mon,  May:25th:2026 = -199 days": + a legal holiday,
    // # one of part of the region, - and * memorial and other days.
    static const QRegularExpression line(QStringLiteral(
        "^(.*\\S)\\s+([-+#*])\\s+\\w{3},\\s+(\\w{3})[ :]\\s*(\\d{1,2})\\w{2}[ :](\\d{4})"));
    static const QStringList months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QList<Holiday> days;
    for (const QString &row : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = line.match(row);
        if (!m.hasMatch())
            continue;
        const QChar kind = m.captured(2).at(0);
        if (kind != QLatin1Char('+') && !(regional && kind == QLatin1Char('#')))
            continue;
        const QDate day(m.captured(5).toInt(), int(months.indexOf(m.captured(3))) + 1,
                        m.captured(4).toInt());
        if (day.isValid())
            days.append({day, m.captured(1), kind == QLatin1Char('#')});
    }
    return days;
}

QList<Holiday> PublicHolidays(const QString &region, int year, bool regional, QString *problem)
{
    static QMutex mutex;
    static QHash<QString, QString> printed; // by region and year: gcal's whole list
    static const QRegularExpression code(QStringLiteral("^[A-Z]{2}(_[A-Z]{1,3})?$"));
    if (!code.match(region).hasMatch()) {
        if (problem)
            *problem =
                QStringLiteral("\"%1\" is no holiday region (such as DE_BY or FR)").arg(region);
        return {};
    }
    const QString key = region + QLatin1Char(' ') + QString::number(year);
    QMutexLocker lock(&mutex);
    auto it = printed.constFind(key);
    if (it == printed.constEnd()) {
        const QString gcal = QStandardPaths::findExecutable(QStringLiteral("gcal"));
        if (gcal.isEmpty()) {
            if (problem)
                *problem = QCoreApplication::translate(
                    "DayMarks", "Public holidays need GNU gcal (Debian's package gcal)");
            return {};
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Its English names and month abbreviations are what the list is read by.
        for (const char *name : {"LC_ALL", "LANG", "LANGUAGE"})
            env.insert(QString::fromLatin1(name), QStringLiteral("C"));
        p.setProcessEnvironment(env);
        p.start(gcal, {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-q"), region,
                       QString::number(year)});
        if (!p.waitForFinished(kGcalMs) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0) {
            p.kill();
            if (problem)
                *problem = QStringLiteral("gcal knows no holidays of \"%1\"").arg(region);
            return {};
        }
        it = printed.insert(key, QString::fromUtf8(p.readAllStandardOutput()));
    }
    return HolidaysOfGcalText(*it, regional);
}

QString DefaultHolidayRegion(const QLocale &locale)
{
    // Countries whose holidays gcal knows only by their parts.
    static const QHash<QString, QString> byPart{{QStringLiteral("DE"), QStringLiteral("DE_BE")},
                                                {QStringLiteral("US"), QStringLiteral("US_DC")},
                                                {QStringLiteral("GB"), QStringLiteral("GB_EN")},
                                                {QStringLiteral("CH"), QStringLiteral("CH_BE")},
                                                {QStringLiteral("CA"), QStringLiteral("CA_ON")}};
    const QString country = QLocale::territoryToCode(locale.territory());
    if (country.isEmpty() || locale.territory() == QLocale::AnyTerritory)
        return QString();
    return byPart.value(country, country);
}
