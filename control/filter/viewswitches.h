#pragma once

#include <QString>

#include <optional>

// What the planner shows besides whole-day appointments, as the user switched it in the window:
// kept per planner title beside the title's filter. A page or the command line decides where the
// user has switched nothing.
struct ViewSwitches
{
    bool timedAppointments = false; // the AllEvents property
    bool subjects = false;          // DisplaySubject
    bool weekNumbers = false;       // at the start of each week on the grid
};

// The switches stored for a title, if the user ever switched them.
std::optional<ViewSwitches> StoredViewSwitches(const QString &titleName);
// False when the settings file cannot be written.
bool StoreViewSwitches(const QString &titleName, const ViewSwitches &view);
