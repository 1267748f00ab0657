#include "storeui.h"

#include "storedata_p.h"

#include <QStandardPaths>

namespace Store {
namespace {

StoreUi *&storeUi()
{
    static StoreUi *ui = nullptr;
    return ui;
}

} // namespace

void SetStoreUi(StoreUi *ui)
{
    storeUi() = ui;
}

StoreUi *CurrentStoreUi()
{
    return storeUi();
}

QString ProfileOptions::profilePath() const
{
    if (!profile.isEmpty())
        return profile;
    const QString env = qEnvironmentVariable("QUORVEL_PROFILE");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quorvel/profile.ini");
}

} // namespace Store
