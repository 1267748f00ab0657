#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

typedef struct icalcomponent_impl icalcomponent;

// One instance of an item's event in local time; source is the master or the override it came
// from.
struct IcalOccurrence
{
    double start = 0;
    double end = 0;
    bool allDay = false;
    icalcomponent *source = nullptr;
    bool isException = false;
};

// The store's own: no header of another folder includes this one, and libical stays behind it.
//
// The content of one item file: a VCALENDAR holding one event (a master and any overrides that
// carry RECURRENCE-ID), or only overrides. Times come out as automation dates in local time.
class IcalItem
{
public:
    ~IcalItem();
    IcalItem(const IcalItem &) = delete;
    IcalItem &operator=(const IcalItem &) = delete;

    // Parses a file's text. Null, with problem set, when it holds no event; when it holds events
    // of several UIDs, the first UID's events make the item and problem says so.
    static std::unique_ptr<IcalItem> parse(const QByteArray &text, QString *problem);
    // Parses an item file that may hold events of several UIDs: one item for each, in the order
    // the UIDs first appear (most files give one). Empty, with problem set, when none is read;
    // problem also names what of the file was left out.
    static std::vector<std::shared_ptr<const IcalItem>> parseFile(const QByteArray &text,
                                                                  QString *problem);
    // Splits a calendar file into items, one per UID, each with the time zones it refers to,
    // handing each to take as soon as it is made (a large file is never held parsed whole).
    // Events without a UID get one made from their content, so that importing the same file
    // again gives the same UIDs. problems collects what was left out, and why.
    static void splitEach(const QByteArray &text,
                          const std::function<void(std::unique_ptr<IcalItem>)> &take,
                          QStringList *problems);
    static QList<std::shared_ptr<IcalItem>> split(const QByteArray &text, QStringList *problems);
    // A new, empty event with a fresh UID.
    static std::unique_ptr<IcalItem> create();
    QByteArray serialize() const;
    std::unique_ptr<IcalItem> clone() const;

    icalcomponent *calendar() const { return m_calendar; }
    // The master event, or the first override when the file has no master.
    icalcomponent *master() const { return m_master; }
    QList<icalcomponent *> overrides() const;
    bool hasMaster() const;

    QString uid() const;
    bool isMeeting() const;   // METHOD:REQUEST
    bool isRecurring() const; // RRULE or RDATE on the master, or overrides
    bool isHidden() const;
    void setHidden(bool hidden);

    // Properties of any event of the item (an override has its own).
    static QString textOf(icalcomponent *event, const char *property);
    static QStringList categoriesOf(icalcomponent *event);

    // Whole-item properties of the master.
    QString text(const char *property) const; // SUMMARY, LOCATION, DESCRIPTION
    void setText(const char *property, const QString &value);
    QStringList categories() const;
    void setCategories(const QStringList &names);
    QString xText(const char *name) const; // an X- property's text, unescaped
    void setXText(const char *name, const QString &value);
    bool reminderSet() const;
    void setReminderSet(bool on);

    struct Times
    {
        double start = 0;
        double end = 0;
        bool allDay = false;
        bool valid = false;
        QString invalid; // why not valid: "no valid start" unless said otherwise
    };
    Times times() const;                        // of the master
    static Times timesOf(icalcomponent *event); // of any event of this item
    void setTimes(double start, double end, bool allDay);
    QString startZone() const; // TZID of DTSTART, or the local zone's name
    // Gives the floating date-times of an item whose calendar names its zone (X-WR-TIMEZONE)
    // that zone's TZID, and the calendar a VTIMEZONE of it, so that the item reads the same
    // wherever it is copied. Dates stay dates. False, with unknownZone set to its name, when the
    // zone is not known here: the times stay floating.
    bool anchorFloatingTimes(QString *unknownZone = nullptr);
    QString endZone() const;
    // Marks the master as written now (DTSTAMP and LAST-MODIFIED in UTC), and as a new
    // revision (SEQUENCE one higher) when its times changed: other clients and CalDAV servers
    // tell an edit and its kind by them.
    void stamp(bool timesChanged);
    int sequence() const; // 0 when the master has none

    using Occurrence = IcalOccurrence;
    // What an expansion could not take as the file has it: why the item gives no instances
    // (leftOut), and what was taken otherwise than written (bent).
    struct Notes
    {
        QString leftOut;
        QStringList bent;
    };
    // Instances that start on or before startMax and end on or after endMin, ascending. Rules
    // are expanded only as far as those bounds need. An item may put at most kMaxInstances
    // instances into each 366 days of a bounded range, over all its rules and dates, and take at
    // most kMaxExpandMs to work them out; beyond either it gives none, and notes say why. An
    // unbounded range takes kMaxInstances of each rule. Of overrides that name one instance the
    // newest counts; an end before the start is taken as no length (a day for whole days).
    QList<Occurrence> occurrences(double endMin, double startMax, Notes *notes = nullptr) const;
    // Removes one instance of the series: an EXDATE at its start, and its override if it has
    // one. The occurrence must come from this item (its source points into it).
    void excludeInstance(const Occurrence &occurrence);
    static constexpr int kMaxInstances = 20000;
    static constexpr int kMaxExpandMs = 500;

    // Named properties: X-QUORVEL-PROP;X-SET=...;X-NAME=...;X-TYPE=...:value, the value
    // percent-encoded so any text survives servers that keep X- values only to a comma.
    bool namedValue(const QString &set, const QString &name, QString &value, int &type) const;
    void setNamedValue(const QString &set, const QString &name, int type, const QString &value);

private:
    IcalItem() = default;
    // An event that carries RECURRENCE-ID: it replaces one instance of the series.
    static bool isOverride(icalcomponent *event);
    // As parse; several, when given, is set (and nothing said of it) when the text holds events
    // of more than one UID.
    static std::unique_ptr<IcalItem> parseFirst(const QByteArray &text, QString *problem,
                                                bool *several);
    QList<icalcomponent *> latestOverrides(Notes *notes) const;
    // Removes all but the newest of several masters of the calendar's event; how many went.
    static int dropOlderMasters(icalcomponent *calendar);
    void adopt(icalcomponent *calendar);

    icalcomponent *m_calendar = nullptr;
    icalcomponent *m_master = nullptr;
};

// The text of an automation date for messages: ISO 8601, local time.
QString IsoText(double date);
