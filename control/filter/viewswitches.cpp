#include "viewswitches.h"

#include "filtermodel.h"
#include "usersettings.h"

namespace {

const QString kTimed = QStringLiteral("ShowTimedAppointments");
const QString kSubjects = QStringLiteral("ShowSubjects");
const QString kWeeks = QStringLiteral("ShowWeekNumbers");

} // namespace

std::optional<ViewSwitches> StoredViewSwitches(const QString &titleName)
{
    QSettings settings = UserSettings();
    settings.beginGroup(FilterModel::SectionOf(titleName));
    if (!settings.contains(kTimed) && !settings.contains(kSubjects) && !settings.contains(kWeeks))
        return std::nullopt;
    const auto on = [&](const QString &key) {
        return settings.value(key).toString() == QLatin1String("True");
    };
    return ViewSwitches{on(kTimed), on(kSubjects), on(kWeeks)};
}

bool StoreViewSwitches(const QString &titleName, const ViewSwitches &view)
{
    const auto text = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    QSettings settings = UserSettings();
    settings.beginGroup(FilterModel::SectionOf(titleName));
    settings.setValue(kTimed, text(view.timedAppointments));
    settings.setValue(kSubjects, text(view.subjects));
    settings.setValue(kWeeks, text(view.weekNumbers));
    return StoreSettings(settings);
}
