#pragma once

// The calendars a desktop keeps in a calendar service of its own rather than in files: each is a
// folder of one more store of the session. A backend below the object model does a calendar's
// own work (its objects with a version stamp each, writes, removals, changes heard); the store
// reads, expands and writes their iCalendar text exactly as it does a vdir's files.

#include "storetypes.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace Store {

// The store's name in folder paths ("Desktop Calendars\Personal"), and the --store value that
// opens it alone.
extern const char *const kDesktopStoreName;
extern const char *const kDesktopStoreOption;

// The key an object of a calendar is listed by, where a vdir has a file name: made from its UID,
// which may hold anything, so that it is safe wherever file names go (the cache, warnings).
QString ObjectKey(const QString &uid);
// A version stamp of an object's text: another text has another stamp.
FileStamp TextStamp(const QByteArray &text);

// One calendar of the service.
class CalendarSource : public QObject
{
    Q_OBJECT
public:
    struct Object
    {
        QString uid;
        FileStamp stamp;
        QByteArray text; // one VCALENDAR: the event, its overrides and the zones they name
    };

    // Every object, by key, as the service holds them now (while watched, as its changes left
    // them). Raises QvError when the calendar cannot be read.
    virtual QHash<QString, Object> objects() = 0;
    // What a search of the service asks: an occurrence between two times, a subject (of the
    // event or an override) that holds a text ignoring letter case; a part left empty asks
    // nothing.
    struct Query
    {
        QDateTime from, to;
        QString subject;
    };
    // The objects the service finds for a query, as it holds them now, without reading the
    // others.
    virtual QHash<QString, Object> objectsFound(const Query &query) = 0;
    // A text that changes whenever any object does; empty where the service keeps none or
    // cannot say.
    virtual QString revision() = 0;
    // The object of that key as the service holds it now; no text when it has none.
    virtual Object object(const QString &key) = 0;
    // Writes one VCALENDAR's event (adding it or replacing the one of its UID) and the zones it
    // names. Raises QvError with the service's reason when the write is refused.
    virtual void write(const QByteArray &calendarText) = 0;
    // Removes the event of that UID, overrides and all. Raises QvError when refused.
    virtual void remove(const QString &uid) = 0;
    // Starts listening to the service: changed is emitted for what anyone changes from then on.
    virtual void watch() = 0;

Q_SIGNALS:
    // Keys of the objects added, changed and removed.
    void changed(const QStringList &added, const QStringList &changedKeys,
                 const QStringList &removed);
};

struct DesktopCalendar
{
    QString uid; // stable while the calendar exists
    QString name;
    QString colour; // "#rrggbb", or empty
};

// The desktop's calendar service, reached once it runs.
class DesktopCalendars
{
public:
    virtual ~DesktopCalendars() = default;
    // The enabled calendars, by name.
    virtual QList<DesktopCalendar> calendars() = 0;
    // The uid of the user's default calendar, or empty.
    virtual QString defaultCalendar() = 0;
    virtual std::shared_ptr<CalendarSource> open(const QString &uid) = 0;
};

// How a session reaches the service: null where it is not installed or not running (answered
// within a second). Set by the program that links a backend; without one a session has no
// desktop calendars.
using DesktopCalendarsConnector = std::function<std::shared_ptr<DesktopCalendars>()>;
void SetDesktopCalendarsConnector(DesktopCalendarsConnector connect);
std::shared_ptr<DesktopCalendars> ConnectDesktopCalendars();

} // namespace Store
