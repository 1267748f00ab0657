#include "viewswitches.h"

#include "filtermodel.h"
#include "usersettings.h"

namespace {

const QString kTimed = QStringLiteral("ShowTimedAppointments");
const QString kSubjects = QStringLiteral("ShowSubjects");

} // namespace

std::optional<ViewSwitches> StoredViewSwitches(const QString &titleName)
{
    QSettings settings = UserSettings();
    settings.beginGroup(FilterModel::SectionOf(titleName));
    if (!settings.contains(kTimed) && !settings.contains(kSubjects))
        return std::nullopt;
    return ViewSwitches{settings.value(kTimed).toString() == QLatin1String("True"),
                        settings.value(kSubjects).toString() == QLatin1String("True")};
}

bool StoreViewSwitches(const QString &titleName, const ViewSwitches &view)
{
    const auto text = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    QSettings settings = UserSettings();
    settings.beginGroup(FilterModel::SectionOf(titleName));
    settings.setValue(kTimed, text(view.timedAppointments));
    settings.setValue(kSubjects, text(view.subjects));
    return StoreSettings(settings);
}
