#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<QTranslator>> &Installed()
{
    static std::vector<std::unique_ptr<QTranslator>> installed;
    return installed;
}

} // namespace

void LoadTranslations(QCoreApplication &app, const QLocale &locale)
{
    UnloadTranslations(app);
    const QString ours[] = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quorvel/translations"),
        QStringLiteral(QUORVEL_BUILD_TRANSLATIONS),
    };
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        Installed().push_back(std::move(qt));
    for (const QString &dir : ours) {
        auto planner = std::make_unique<QTranslator>();
        if (planner->load(locale, QStringLiteral("quorvel"), QStringLiteral("_"), dir)) {
            Installed().push_back(std::move(planner));
            break;
        }
    }
    for (const auto &t : Installed())
        app.installTranslator(t.get());
}

void UnloadTranslations(QCoreApplication &app)
{
    for (const auto &t : Installed())
        app.removeTranslator(t.get());
    Installed().clear();
}
