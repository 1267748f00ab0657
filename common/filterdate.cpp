#include "filterdate.h"

#include "oadate.h"

#include <QRegularExpression>
#include <QTime>

namespace {

// The date format with every year field (a run of 'y' outside quoted text) written as yearField.
QString WithYearField(const QString &format, QLatin1String yearField)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('y')) {
            while (i < format.size() && format.at(i) == QLatin1Char('y'))
                ++i;
            out += yearField;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

// Splits a trailing time ("11:59 PM", "23:59:30") off text; false when it is there but no time.
bool SplitTime(QString &text, QTime &time)
{
    static const QRegularExpression timeRe(
        QStringLiteral("\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?$"));
    time = QTime(0, 0);
    const QRegularExpressionMatch m = timeRe.match(text);
    if (!m.hasMatch())
        return true;
    int h = m.captured(1).toInt();
    const int mi = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString ampm = m.captured(4).toUpper();
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12)
            return false;
        h = (h % 12) + (ampm == QLatin1String("PM") ? 12 : 0);
    }
    time = QTime(h, mi, s);
    text = text.left(m.capturedStart());
    return time.isValid();
}

} // namespace

QString WithFourDigitYear(const QString &format)
{
    return WithYearField(format, QLatin1String("yyyy"));
}

QString FormatFilterDate(const QDate &date, const QLocale &locale)
{
    if (!date.isValid())
        return QString();
    return locale.toString(
        date, WithYearField(locale.dateFormat(QLocale::ShortFormat), QLatin1String("yyyy")));
}

int NearestYear(int twoDigits, int referenceYear)
{
    const int low = referenceYear - 50;
    const int offset = ((twoDigits - low) % 100 + 100) % 100;
    return low + offset;
}

bool ParseFilterDate(const QString &text, const QLocale &locale, double &date, int referenceYear)
{
    const QString trimmed = text.trimmed();
    // ISO first: no locale's short form starts with four digits and a hyphen.
    static const QRegularExpression isoRe(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}"));
    if (isoRe.match(trimmed).hasMatch()) {
        const QDateTime iso = QDateTime::fromString(trimmed, Qt::ISODate);
        if (iso.isValid()) {
            date = OADate::fromDateTime(iso.date(), iso.time());
            return true;
        }
        const QDate day = QDate::fromString(trimmed, Qt::ISODate);
        if (!day.isValid())
            return false;
        date = OADate::fromDateTime(day);
        return true;
    }

    QString datePart = trimmed;
    QTime time;
    if (!SplitTime(datePart, time))
        return false;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    // Qt reads "yy" as 19yy and refuses four digits there; "yyyy" refuses two.
    QDate day = locale.toDate(datePart, WithYearField(format, QLatin1String("yy")));
    if (day.isValid())
        day = QDate(NearestYear(day.year() % 100, referenceYear), day.month(), day.day());
    else
        day = locale.toDate(datePart, WithYearField(format, QLatin1String("yyyy")));
    if (!day.isValid())
        return false;
    date = OADate::fromDateTime(day, time);
    return true;
}
