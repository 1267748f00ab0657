#pragma once

#include <QSettings>

// The per-user settings of the application "Rudi Zuvevid", where the planner's filters and
// print settings have always lived: an INI file under the user's configuration directory, one
// section each.
QSettings UserSettings();
// Writes what was set to the settings file; false when it cannot be written (the file stays as
// it was).
bool StoreSettings(QSettings &settings);
