#include "usersettings.h"

bool StoreSettings(QSettings &settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QSettings UserSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Rudi Zuvevid"),
                     QStringLiteral("Rudi Zuvevid"));
}
