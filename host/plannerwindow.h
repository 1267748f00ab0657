#pragma once

#include "folderpath.h"
#include "marksources.h"
#include "propertybag.h"

#include <QMainWindow>

class Dialogs;
class YearPlan;
class QAction;

// The calendar a window shows: its page's planner properties, or where it has no page the
// defaults of a calendar of one's own (timed appointments and subjects shown) with what the user
// switched for the title; and the window's title.
struct OpenedFolder
{
    MapPropertyBag bag;
    QString title;
    QString error; // why nothing could be opened, or empty
};
OpenedFolder OpenedOf(Store::Folder &folder);
// The calendar opened from the window last time, or the first of an account connected since,
// where the session has it; null otherwise.
Store::FolderPtr RememberedFolder(Store::NameSpace &session);

// The planner's window: the year planner under two menus, Calendar (Open Calendar..., Quit) and
// View (Timed Appointments, Subjects, Week Numbers, switched for the planner's title).
class PlannerWindow : public QMainWindow
{
    Q_OBJECT
public:
    // dialogs: where the planner's messages go (null: message boxes).
    explicit PlannerWindow(Dialogs *dialogs = nullptr);

    YearPlan *planner() const { return m_planner; }
    // The planner of another calendar in place of the one shown.
    void showCalendar(const OpenedFolder &opened);
    // The menu entry of key: "open", "quit", "timed", "subjects", "weeks".
    QAction *action(const QString &key) const;
    // Lets the user pick one of the session's calendars; opens it and remembers it for the next
    // start. Set a picker to answer without a window.
    using CalendarPicker =
        std::function<int(QWidget *owner, const QList<Store::CalendarChoice> &, int current)>;
    void setCalendarPicker(CalendarPicker picker) { m_picker = std::move(picker); }
    void openCalendar();
    // The calendars of days marked under the year, chosen for the planner's title.
    void editDayMarks();

signals:
    // A planner of another calendar is shown.
    void plannerShown(YearPlan *planner);

private:
    void showSwitches();
    void switchView();

    Dialogs *m_dialogs;
    YearPlan *m_planner = nullptr;
    QString m_folderPath;
    CalendarPicker m_picker;
};

// Lets the user add holidays of a region, a calendar of the session or an .ics file to sources,
// and remove some; false when cancelled (sources then as they were).
bool EditMarkSources(QWidget *owner, QList<MarkSource> &sources,
                     const QList<Store::CalendarChoice> &calendars);

// The calendars in a list by the names they show, the store's name beside names that occur in
// several stores; the index of the one picked, -1 when cancelled.
int PickCalendar(QWidget *owner, const QList<Store::CalendarChoice> &calendars, int current);
