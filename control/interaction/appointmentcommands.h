#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class Planner;

// The appointment operations of the grid and its menu: open an appointment in the calendar's own
// form, create one from a selection of days, delete one. Appointments are named by their keys in
// the event store. A failure reloads the planner.
class AppointmentCommands
{
public:
    explicit AppointmentCommands(Planner &planner);

    // Where CreateAppointment takes the time of day from; the system clock unless set.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    void OpenAppointment(const QString &key);
    // start and end are midnights: end is the midnight after the last selected day. The new item
    // shows in the calendar's form; once saved it reaches the grid through the folder's change
    // notification.
    void CreateAppointment(double start, double end, const QString &categoryName);
    // Asks first; No leaves everything as it is. One occurrence of a series deletes the series.
    void DeleteAppointment(const QString &key);

private:
    Planner &m_planner;
    std::function<QDateTime()> m_clock;
};

// The times of a new appointment over the days start..end (midnights, end exclusive): whole days
// when only whole-day appointments are shown; otherwise at the time of day now, rounded to the
// nearest half hour, half an hour long when one day was selected.
struct NewAppointmentTimes
{
    double start = 0;
    double end = 0;
    bool allDay = true;
};
NewAppointmentTimes TimesOfNewAppointment(double start, double end, bool allEvents,
                                          const QDateTime &now);
