#include "usersettings.h"

QSettings UserSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Rudi Zuvevid"),
                     QStringLiteral("Rudi Zuvevid"));
}
