#pragma once

#include <QSettings>

// The per-user settings of the application "Rudi Zuvevid", where the planner's filters and
// print settings have always lived: an INI file under the user's configuration directory, one
// section each.
QSettings UserSettings();
