// GLib's headers name a member "signals": they come before Qt's, and this file says Q_EMIT.
#include <libecal/libecal.h>

#include "edscalendars.h"

#include "desktopcalendars.h"
#include "qverror.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace Store {
namespace {

constexpr const char *kSourcesService = "org.gnome.evolution.dataserver.Sources5";
// Asking the bus whether the service runs; a start never waits longer.
constexpr int kBusTimeoutMs = 800;

struct Unref
{
    void operator()(gpointer p) const
    {
        if (p)
            g_object_unref(p);
    }
};
template <class T> using Ref = std::unique_ptr<T, Unref>;

struct ErrorHolder
{
    GError *error = nullptr;
    ~ErrorHolder() { g_clear_error(&error); }
    QString text() const
    {
        return error ? QString::fromUtf8(error->message) : QStringLiteral("unknown error");
    }
    bool is(GQuark domain, int code) const { return g_error_matches(error, domain, code); }
};

QString Said(const gchar *text)
{
    return QString::fromUtf8(text ? text : "");
}

QByteArray Owned(gchar *text)
{
    QByteArray out(text ? text : "");
    g_free(text);
    return out;
}

// Whether the service runs on the session bus: asked, never started. A session without the
// service (no desktop, a test's own bus) must not pay for it.
bool ServiceRuns()
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        !QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus")))
        return false;
    ErrorHolder e;
    Ref<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &e.error));
    if (!bus)
        return false;
    GVariant *reply = g_dbus_connection_call_sync(
        bus.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", kSourcesService), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, kBusTimeoutMs, nullptr, &e.error);
    if (!reply)
        return false;
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    return owned;
}

class EdsCalendars;

// One calendar of the service, connected at its first use.
class EdsSource : public CalendarSource
{
public:
    EdsSource(std::shared_ptr<EdsCalendars> owner, QString uid)
        : m_owner(std::move(owner)), m_uid(std::move(uid))
    {
        m_look.setSingleShot(true);
        m_look.setInterval(kLookAfterMs);
        connect(&m_look, &QTimer::timeout, this, [this] { heard(); });
    }
    ~EdsSource() override
    {
        if (m_view) {
            g_signal_handlers_disconnect_by_data(m_view.get(), this);
            e_cal_client_view_stop(m_view.get(), nullptr);
        }
    }

    QHash<QString, Object> objects() override
    {
        // Read once while watched: the view keeps them current from then on. Unwatched, read
        // again only when the calendar changed since: a rebuild asks for its stamps, then for
        // what changed.
        if (m_watched && m_complete)
            return m_objects;
        const QString now = revision();
        if (m_watched || now.isEmpty() || now != m_readRevision)
            readAll();
        m_readRevision = now;
        m_complete = m_watched;
        return m_objects;
    }

    // Each object found is read whole, overrides and all.
    QHash<QString, Object> objectsFound(const Query &query) override
    {
        QStringList parts;
        if (query.from.isValid() && query.to.isValid()) {
            const auto utc = [](const QDateTime &t) {
                return t.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
            };
            parts << QStringLiteral("(occur-in-time-range? (make-time \"%1\") (make-time \"%2\"))")
                         .arg(utc(query.from), utc(query.to));
        }
        if (!query.subject.isEmpty()) {
            QString quoted = query.subject;
            quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
                .replace(QLatin1Char('"'), QLatin1String("\\\""));
            parts << QStringLiteral("(contains? \"summary\" \"%1\")").arg(quoted);
        }
        const QString sexp = parts.isEmpty()     ? QStringLiteral("#t")
                             : parts.size() == 1 ? parts.constFirst()
                                                 : QStringLiteral("(and %1)").arg(parts.join(' '));
        GSList *list = nullptr;
        ErrorHolder e;
        if (!e_cal_client_get_object_list_sync(client(), sexp.toUtf8().constData(), &list, nullptr,
                                               &e.error))
            throw unreadable(e);
        QSet<QString> uids;
        for (GSList *l = list; l; l = l->next)
            uids.insert(Said(i_cal_component_get_uid(static_cast<ICalComponent *>(l->data))));
        g_slist_free_full(list, g_object_unref);
        QHash<QString, Object> out;
        for (const QString &uid : std::as_const(uids)) {
            if (Object o = readOne(uid); !o.text.isEmpty())
                out.insert(ObjectKey(uid), std::move(o));
        }
        return out;
    }

    QString revision() override
    {
        gchar *value = nullptr;
        ErrorHolder e;
        try {
            if (!e_client_get_backend_property_sync(E_CLIENT(client()),
                                                    CLIENT_BACKEND_PROPERTY_REVISION, &value,
                                                    nullptr, &e.error))
                return QString();
        } catch (const QvError &) {
            return QString(); // said where the calendar is read
        }
        return QString::fromUtf8(Owned(value));
    }

    Object object(const QString &key) override
    {
        if (m_watched && m_complete)
            return m_objects.value(key);
        const QString uid = m_objects.value(key).uid;
        if (uid.isEmpty()) {
            readAll();
            return m_objects.value(key);
        }
        return readOne(uid);
    }

    void write(const QByteArray &calendarText) override
    {
        ECalClient *c = client();
        if (e_client_is_readonly(E_CLIENT(c)))
            throw QvError(
                ErrorCode::NotAllowed,
                QCoreApplication::translate("Calendar store",
                                            "The calendar %1 is read-only: the change is not saved")
                    .arg(m_name),
                QStringLiteral("Calendar store"));
        Ref<ICalComponent> calendar(i_cal_component_new_from_string(calendarText.constData()));
        Ref<ICalComponent> event(
            calendar ? i_cal_component_get_first_component(calendar.get(), I_CAL_VEVENT_COMPONENT)
                     : nullptr);
        if (!event)
            throw QvError(ErrorCode::NotAllowed,
                          QCoreApplication::translate("Calendar store",
                                                      "The calendar %1 did not take the change: %2")
                              .arg(m_name, QStringLiteral("no event")),
                          QStringLiteral("Calendar store"));
        const QString uid = Said(i_cal_component_get_uid(event.get()));
        // Published, the service takes the event with its overrides and the zones it names,
        // adding it or replacing the one of its UID.
        i_cal_component_set_method(calendar.get(), I_CAL_METHOD_PUBLISH);
        ErrorHolder e;
        if (!e_cal_client_receive_objects_sync(c, calendar.get(), E_CAL_OPERATION_FLAG_NONE,
                                               nullptr, &e.error))
            throw refused(e);
        try {
            readOne(uid);
        } catch (const QvError &error) {
            // Taken all the same: the next read brings it.
            qWarning("%s", qPrintable(error.description()));
        }
    }

    void remove(const QString &uid) override
    {
        ErrorHolder e;
        if (!e_cal_client_remove_object_sync(client(), uid.toUtf8().constData(), nullptr,
                                             E_CAL_OBJ_MOD_ALL, E_CAL_OPERATION_FLAG_NONE, nullptr,
                                             &e.error) &&
            !e.is(E_CAL_CLIENT_ERROR, E_CAL_CLIENT_ERROR_OBJECT_NOT_FOUND))
            throw refused(e);
        m_objects.remove(ObjectKey(uid));
    }

    void watch() override
    {
        if (m_watched)
            return;
        ErrorHolder e;
        ECalClientView *view = nullptr;
        if (!e_cal_client_get_view_sync(client(), "#t", &view, nullptr, &e.error)) {
            qWarning("%s", qPrintable(unreadable(e).description()));
            return;
        }
        m_view.reset(view);
        // What is there now is read once; the view says what changes from then on.
        e_cal_client_view_set_flags(view, E_CAL_CLIENT_VIEW_FLAGS_NONE, nullptr);
        g_signal_connect(view, "objects-added", G_CALLBACK(&EdsSource::onAdded), this);
        g_signal_connect(view, "objects-modified", G_CALLBACK(&EdsSource::onModified), this);
        g_signal_connect(view, "objects-removed", G_CALLBACK(&EdsSource::onRemoved), this);
        e_cal_client_view_start(view, &e.error);
        if (e.error) {
            qWarning("%s", qPrintable(unreadable(e).description()));
            return;
        }
        m_watched = true;
    }

private:
    ECalClient *client();

    QvError unreadable(const ErrorHolder &e) const
    {
        return QvError(
            ErrorCode::NotAllowed,
            QCoreApplication::translate("Calendar store", "The calendar %1 cannot be read: %2")
                .arg(m_name, e.text()),
            QStringLiteral("Calendar store"));
    }
    QvError refused(const ErrorHolder &e) const
    {
        return QvError(ErrorCode::NotAllowed,
                       QCoreApplication::translate("Calendar store",
                                                   "The calendar %1 did not take the change: %2")
                           .arg(m_name, e.text()),
                       QStringLiteral("Calendar store"));
    }

    // One VCALENDAR of an event's components (master first), with the zones they name.
    QByteArray calendarOf(QList<QByteArray> components)
    {
        std::stable_sort(components.begin(), components.end(),
                         [](const QByteArray &a, const QByteArray &b) {
                             return !a.contains("\nRECURRENCE-ID") && b.contains("\nRECURRENCE-ID");
                         });
        QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                          "PRODID:-//Quorvel//Desktop Calendars//EN\r\n";
        static const QRegularExpression tzid(
            QStringLiteral(";TZID=(\"[^\"\\r\\n]*\"|[^;:\\r\\n]*)"));
        QSet<QString> named;
        for (const QByteArray &component : std::as_const(components)) {
            auto it = tzid.globalMatch(QString::fromUtf8(component));
            while (it.hasNext()) {
                QString zone = it.next().captured(1);
                if (zone.startsWith(QLatin1Char('"')))
                    zone = zone.mid(1, zone.size() - 2);
                if (!named.contains(zone)) {
                    named.insert(zone);
                    text += zoneText(zone);
                }
            }
        }
        for (const QByteArray &component : std::as_const(components))
            text += component;
        return text + "END:VCALENDAR\r\n";
    }

    // The service's definition of a zone its events name; nothing for one it does not know
    // (the store's own reading then knows it by its name, or reads the times as floating).
    QByteArray zoneText(const QString &zone)
    {
        const auto known = m_zones.constFind(zone);
        if (known != m_zones.cend())
            return *known;
        ICalTimezone *tz = nullptr;
        ErrorHolder e;
        QByteArray text;
        if (e_cal_client_get_timezone_sync(client(), zone.toUtf8().constData(), &tz, nullptr,
                                           &e.error) &&
            tz) {
            Ref<ICalComponent> c(i_cal_timezone_get_component(tz));
            if (c)
                text = Owned(i_cal_component_as_ical_string(c.get()));
        }
        m_zones.insert(zone, text);
        return text;
    }

    void readAll()
    {
        GSList *list = nullptr;
        ErrorHolder e;
        if (!e_cal_client_get_object_list_sync(client(), "#t", &list, nullptr, &e.error))
            throw unreadable(e);
        QHash<QString, QList<QByteArray>> byUid;
        for (GSList *l = list; l; l = l->next) {
            auto *component = static_cast<ICalComponent *>(l->data);
            byUid[Said(i_cal_component_get_uid(component))].append(
                Owned(i_cal_component_as_ical_string(component)));
        }
        g_slist_free_full(list, g_object_unref);
        QHash<QString, Object> fresh;
        fresh.reserve(byUid.size());
        for (auto it = byUid.cbegin(); it != byUid.cend(); ++it) {
            const QByteArray text = calendarOf(it.value());
            fresh.insert(ObjectKey(it.key()), Object{it.key(), TextStamp(text), text});
        }
        m_objects = std::move(fresh);
    }

    // The event of one UID as the service has it now, kept for the key; no text when gone.
    Object readOne(const QString &uid)
    {
        GSList *list = nullptr;
        ErrorHolder e;
        const QString key = ObjectKey(uid);
        if (!e_cal_client_get_objects_for_uid_sync(client(), uid.toUtf8().constData(), &list,
                                                   nullptr, &e.error)) {
            if (!e.is(E_CAL_CLIENT_ERROR, E_CAL_CLIENT_ERROR_OBJECT_NOT_FOUND))
                throw unreadable(e);
            m_objects.remove(key);
            return Object{uid, {}, {}};
        }
        QList<QByteArray> components;
        for (GSList *l = list; l; l = l->next)
            components.append(Owned(i_cal_component_as_ical_string(
                e_cal_component_get_icalcomponent(static_cast<ECalComponent *>(l->data)))));
        g_slist_free_full(list, g_object_unref);
        if (components.isEmpty()) {
            m_objects.remove(key);
            return Object{uid, {}, {}};
        }
        const QByteArray text = calendarOf(components);
        Object object{uid, TextStamp(text), text};
        m_objects.insert(key, object);
        return object;
    }

    // The events the view told of since the last look, each read again: those it said were
    // added are new; the others changed, went, or lost an override.
    void heard()
    {
        const QSet<QString> uids = std::exchange(m_heard, {});
        const QSet<QString> added = std::exchange(m_heardAdded, {});
        // Another client's import is heard in batches of thousands: one read of the calendar
        // then, not one call to the service an event.
        const bool readWhole = uids.size() > kReadWholeAbove;
        if (readWhole) {
            try {
                readAll();
                m_complete = m_watched;
            } catch (const QvError &error) {
                qWarning("%s", qPrintable(error.description()));
                return;
            }
        }
        QStringList addedKeys, changedKeys, removed;
        for (const QString &uid : uids) {
            const QString key = ObjectKey(uid);
            const bool had = !added.contains(uid);
            Object now;
            try {
                now = readWhole ? m_objects.value(key) : readOne(uid);
            } catch (const QvError &error) {
                qWarning("%s", qPrintable(error.description()));
                continue;
            }
            if (now.text.isEmpty()) {
                if (had)
                    removed.append(key);
            } else {
                (had ? changedKeys : addedKeys).append(key);
            }
        }
        if (!addedKeys.isEmpty() || !changedKeys.isEmpty() || !removed.isEmpty())
            Q_EMIT changed(addedKeys, changedKeys, removed);
    }

    static QSet<QString> uidsOf(const GSList *components)
    {
        QSet<QString> uids;
        for (const GSList *l = components; l; l = l->next)
            uids.insert(Said(i_cal_component_get_uid(static_cast<ICalComponent *>(l->data))));
        return uids;
    }
    // The view tells in batches of a few dozen: what it tells within a moment is looked at
    // together.
    void hear(const QSet<QString> &uids, bool areNew)
    {
        m_heard.unite(uids);
        if (areNew)
            m_heardAdded.unite(uids);
        if (!m_look.isActive())
            m_look.start();
    }
    static void onAdded(ECalClientView *, const GSList *components, gpointer self)
    {
        static_cast<EdsSource *>(self)->hear(uidsOf(components), true);
    }
    static void onModified(ECalClientView *, const GSList *components, gpointer self)
    {
        static_cast<EdsSource *>(self)->hear(uidsOf(components), false);
    }

    static void onRemoved(ECalClientView *, const GSList *ids, gpointer self)
    {
        QSet<QString> uids;
        for (const GSList *l = ids; l; l = l->next)
            uids.insert(
                Said(e_cal_component_id_get_uid(static_cast<const ECalComponentId *>(l->data))));
        static_cast<EdsSource *>(self)->hear(uids, false);
    }

    static constexpr qsizetype kReadWholeAbove = 64;
    static constexpr int kLookAfterMs = 50;

    std::shared_ptr<EdsCalendars> m_owner;
    QString m_uid;
    QString m_name;
    std::shared_ptr<ECalClient> m_client;
    Ref<ECalClientView> m_view;
    bool m_watched = false;
    bool m_complete = false;          // every object read since the view started
    QString m_readRevision;           // of the calendar when last read whole, unwatched
    QHash<QString, Object> m_objects; // by key: as last read, or as the view keeps them
    QHash<QString, QByteArray> m_zones;
    QSet<QString> m_heard, m_heardAdded; // told by the view, not looked at yet
    QTimer m_look;
};

class EdsCalendars : public DesktopCalendars, public std::enable_shared_from_this<EdsCalendars>
{
public:
    explicit EdsCalendars(ESourceRegistry *registry) : m_registry(registry) {}

    ESourceRegistry *registry() const { return m_registry.get(); }

    QList<DesktopCalendar> calendars() override
    {
        QList<DesktopCalendar> out;
        GList *list = e_source_registry_list_enabled(m_registry.get(), E_SOURCE_EXTENSION_CALENDAR);
        for (GList *l = list; l; l = l->next) {
            ESource *source = E_SOURCE(l->data);
            auto *calendar = static_cast<ESourceSelectable *>(
                e_source_get_extension(source, E_SOURCE_EXTENSION_CALENDAR));
            out.append({Said(e_source_get_uid(source)), Said(e_source_get_display_name(source)),
                        Owned(e_source_selectable_dup_color(calendar))});
        }
        g_list_free_full(list, g_object_unref);
        std::sort(out.begin(), out.end(), [](const DesktopCalendar &a, const DesktopCalendar &b) {
            const int c = a.name.localeAwareCompare(b.name);
            return c != 0 ? c < 0 : a.uid < b.uid;
        });
        return out;
    }

    QString defaultCalendar() override
    {
        Ref<ESource> source(e_source_registry_ref_default_calendar(m_registry.get()));
        return source ? Said(e_source_get_uid(source.get())) : QString();
    }

    std::shared_ptr<CalendarSource> open(const QString &uid) override
    {
        return std::make_shared<EdsSource>(shared_from_this(), uid);
    }

    // The calendar's client, connected once for the program's sessions; its display name.
    // Raises QvError when it cannot be connected.
    std::shared_ptr<ECalClient> client(const QString &uid, QString &name);

private:
    static void onBackendDied(EClient *client, gpointer self);

    Ref<ESourceRegistry> m_registry;
    QHash<QString, std::shared_ptr<ECalClient>> m_clients;
};

ECalClient *EdsSource::client()
{
    if (!m_client)
        m_client = m_owner->client(m_uid, m_name);
    return m_client.get();
}

std::shared_ptr<ECalClient> EdsCalendars::client(const QString &uid, QString &name)
{
    Ref<ESource> source(e_source_registry_ref_source(m_registry.get(), uid.toUtf8().constData()));
    name = source ? Said(e_source_get_display_name(source.get())) : uid;
    if (!source)
        throw QvError(
            ErrorCode::NotAllowed,
            QCoreApplication::translate("Calendar store", "The calendar %1 cannot be read: %2")
                .arg(name, QCoreApplication::translate("Calendar store",
                                                       "the desktop has no such calendar")),
            QStringLiteral("Calendar store"));
    if (const auto known = m_clients.constFind(uid); known != m_clients.cend())
        return *known;
    ErrorHolder e;
    // Not waiting for an online account to connect: its calendar reads from the service's copy.
    EClient *c = e_cal_client_connect_sync(source.get(), E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                           guint32(-1), nullptr, &e.error);
    if (!c)
        throw QvError(
            ErrorCode::NotAllowed,
            QCoreApplication::translate("Calendar store", "The calendar %1 cannot be read: %2")
                .arg(name, e.text()),
            QStringLiteral("Calendar store"));
    std::shared_ptr<ECalClient> client(E_CAL_CLIENT(c), [](ECalClient *p) { g_object_unref(p); });
    // A calendar whose backend went away is connected afresh by the next session.
    g_signal_connect(c, "backend-died", G_CALLBACK(&EdsCalendars::onBackendDied), this);
    m_clients.insert(uid, client);
    return client;
}

void EdsCalendars::onBackendDied(EClient *client, gpointer self)
{
    auto &clients = static_cast<EdsCalendars *>(self)->m_clients;
    clients.removeIf([client](const auto &c) { return E_CLIENT(c.value().get()) == client; });
}

} // namespace

void UseDesktopCalendars()
{
    SetDesktopCalendarsConnector([]() -> std::shared_ptr<DesktopCalendars> {
        // One connection to the service, and to each calendar, for the program's sessions: a
        // synchroniser's rebuild opens a session of its own each time.
        static std::shared_ptr<EdsCalendars> shared;
        if (shared)
            return shared;
        if (!ServiceRuns())
            return nullptr;
        ErrorHolder e;
        ESourceRegistry *registry = e_source_registry_new_sync(nullptr, &e.error);
        if (!registry) {
            qWarning("The desktop's calendars cannot be reached: %s", qPrintable(e.text()));
            return nullptr;
        }
        shared = std::make_shared<EdsCalendars>(registry);
        return shared;
    });
}

} // namespace Store
