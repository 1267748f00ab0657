#include "appointmentcommands.h"

#include "calendarstore.h"
#include "dialogs.h"
#include "fileerror.h"
#include "planner.h"
#include "qverror.h"

#include <QCoreApplication>

#include <cmath>

namespace {

constexpr double kMinutesPerDay = 24 * 60;

const QString kCannotLocate = QCoreApplication::translate(
    "Messages", "Unable to locate event, please refresh and try again.");

} // namespace

NewAppointmentTimes TimesOfNewAppointment(double start, double end, bool allEvents,
                                          const QDateTime &now)
{
    NewAppointmentTimes t{start, end, true};
    if (!allEvents)
        return t;
    // The nearest half hour: a quarter past rounds up.
    const int minutes = int(std::lround(now.time().msecsSinceStartOfDay() / 60000.0));
    const int m = minutes % 30;
    const int rounded = m < 15 ? minutes - m : minutes + (30 - m);
    const double timeOfDay = rounded / kMinutesPerDay;
    const bool oneDay = std::lround(end - start) == 1;
    t.start = start + timeOfDay;
    if (oneDay) {
        t.end = t.start + 30 / kMinutesPerDay;
        t.allDay = false;
    } else {
        t.end = end - 1 + timeOfDay;
    }
    return t;
}

AppointmentCommands::AppointmentCommands(Planner &planner)
    : m_planner(planner), m_clock([] { return QDateTime::currentDateTime(); })
{
}

void AppointmentCommands::OpenAppointment(const QString &key)
{
    if (key.isEmpty())
        return;
    Dialogs &dialogs = m_planner.dialogs();
    try {
        const CalEvent *event = m_planner.state().store->Find(key);
        if (!event)
            throw QvError(ErrorCode::ObjectNotSet);
        const QString id = event->EventID;
        const double openedOn = event->StartDate;
        if (id.isEmpty())
            return;
        const CalendarAccess *access = m_planner.access();
        Store::ItemPtr item;
        try {
            item = access->session()->GetItemFromID(id, access->storeId());
        } catch (const QvError &) {
            // Not found: said below.
        }
        if (!item || (item->TypeName() != QLatin1String("AppointmentItem") &&
                      item->TypeName() != QLatin1String("MeetingItem"))) {
            dialogs.message(kCannotLocate);
            return;
        }
        const Store::AppointmentItemPtr appointment = Store::AppointmentOf(item);
        if (!appointment) {
            dialogs.message(QStringLiteral("Nothing for ai"));
            return;
        }
        appointment->Display(true, openedOn);
        // Saving one occurrence may have moved others: only the cache can tell.
        if (appointment->IsRecurring())
            m_planner.ReloadPlanner();
    } catch (const QvError &) {
        m_planner.ReloadPlanner();
    }
}

void AppointmentCommands::CreateAppointment(double start, double end, const QString &categoryName)
{
    try {
        const CalendarAccess *access = m_planner.access();
        if (!access)
            throw QvError(ErrorCode::ObjectNotSet);
        const Store::AppointmentItemPtr item = access->folder()->Items()->Add();
        const NewAppointmentTimes t =
            TimesOfNewAppointment(start, end, m_planner.AllEvents(), m_clock());
        item->setStart(t.start);
        item->setEnd(t.end);
        item->setAllDayEvent(t.allDay);
        item->setCategories(categoryName);
        item->setReminderSet(false);
        item->Display(true);
    } catch (const QvError &) {
        m_planner.ReloadPlanner();
    }
}

void AppointmentCommands::DeleteAppointment(const QString &key)
{
    if (key.isEmpty())
        return;
    PlannerState &state = m_planner.state();
    try {
        const CalEvent *event = state.store->Find(key);
        if (!event)
            throw QvError(ErrorCode::ObjectNotSet);
        const QString id = event->EventID;
        if (!m_planner.dialogs().question(
                QCoreApplication::translate("AppointmentCommands", "Delete this appointment %1?")
                    .arg(event->Subject)))
            return;
        const CalendarAccess *access = m_planner.access();
        const Store::ItemPtr item = access->session()->GetItemFromID(id, access->storeId());
        const Store::AppointmentItemPtr appointment = Store::AppointmentOf(item);
        if (!appointment)
            throw QvError(ErrorCode::TypeMismatch);
        // Every occurrence of a series goes with it.
        if (appointment->IsRecurring())
            RemoveEventsOf(*state.store, id);
        else
            state.store->Remove(key);
        // A file the store cannot remove (a read-only or failing disk) is said, not only
        // undone by the reload below; Retry tries again where the message offers it.
        for (;;) {
            try {
                item->Delete();
                break;
            } catch (const QvError &e) {
                // What has no file error message of its own (a calendar service's refusal, say)
                // is said in its own words: the reload alone would look like a deletion ignored.
                const FileErrorAnswer answer = FileErrorMessage(e.number(), m_planner.dialogs());
                if (answer == FileErrorAnswer::NotShown)
                    m_planner.dialogs().message(ErrorTail(e));
                if (answer != FileErrorAnswer::Retry)
                    throw;
            }
        }
        m_planner.ArrangeControls();
        m_planner.WriteBackCache();
    } catch (const QvError &) {
        m_planner.ReloadPlanner();
    }
}
