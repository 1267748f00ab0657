#pragma once

#include <QHash>
#include <QLocale>
#include <QString>

#include <functional>
#include <limits>

struct CalEvent;

// The user's general date form: the short date, followed by a space and the long time unless the
// time is midnight. Texts are cached per day and per time of day, since a year of appointments
// repeats few of either.
class GeneralDateFormat
{
public:
    explicit GeneralDateFormat(const QLocale &locale = QLocale());

    QString format(double date);
    // The text of the date alone, and of a time of day (milliseconds after midnight, not 0);
    // each stays valid until the next call of the same function.
    const QString &dateText(const QDate &date);
    const QString &timeText(int msecs);
    QLocale locale() const { return m_locale; }

private:
    QLocale m_locale;
    QString m_timeFormat;
    QHash<qint64, QString> m_dates;
    QHash<int, QString> m_times;
    // The last texts handed out: neighbouring events mostly share them.
    qint64 m_lastDay = std::numeric_limits<qint64>::min();
    QString m_lastDayText;
    int m_lastMsecs = -1;
    QString m_lastTimeText;
};

// Key of an event in the store: StartDate in the general date form immediately followed by
// EventID. Every insertion, removal and lookup builds keys with this function.
QString EventKey(const CalEvent &event);
QString EventKeyOf(double startDate, const QString &eventId);

// The pieces of the text an event's key begins with, StartDate in the general date form, in
// order, handed to piece without building the text. The key is their concatenation followed by
// the EventID.
void ForEachKeyDatePiece(double startDate, const std::function<void(QStringView)> &piece);

// The locale whose general date form EventKey uses on this thread (the default locale until
// set). Keys built before and after a change do not match: reload the store after it.
void SetEventKeyLocale(const QLocale &locale);
// Changes with every SetEventKeyLocale on this thread: what was worked out from the date pieces
// before a change no longer holds.
quint64 EventKeyLocaleGeneration();
