#include "application.h"

#include "calendarstore.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <atomic>

namespace Store {
namespace {

ProfileOptions &sharedOptions()
{
    static ProfileOptions options;
    return options;
}

std::atomic<int> &optionsGeneration()
{
    static std::atomic<int> generation{0};
    return generation;
}

} // namespace

Application::Application(const ProfileOptions &options) : m_options(options) {}

ApplicationPtr Application::shared()
{
    thread_local ApplicationPtr app;
    thread_local int generation = -1;
    if (!app || generation != optionsGeneration()) {
        app = std::make_shared<Application>(sharedOptions());
        generation = optionsGeneration();
    }
    return app;
}

void Application::setSharedOptions(const ProfileOptions &options)
{
    sharedOptions() = options;
    ++optionsGeneration(); // the next shared() opens a session with them
}

QString Application::Version() const
{
    // The object model of the 16th major version of the client is what the store offers.
    return QStringLiteral("16.0.0.0");
}

NameSpacePtr Application::GetNamespace(const QString &type)
{
    if (type.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0)
        throw QvError(ErrorCode::InvalidCall, QStringLiteral("Application"));
    if (!m_session)
        m_session = std::make_shared<NameSpace>(m_options);
    return m_session;
}

std::shared_ptr<HelperObject> Application::CreateObject(const QString &progId)
{
    if (progId == QLatin1String("TKCDO.tkCurrentUser"))
        return std::make_shared<CurrentUser>(GetNamespace(QStringLiteral("MAPI")));
    if (progId == QLatin1String("TKCDO.tkAppointmentItem"))
        return std::make_shared<AppointmentBody>();
    if (progId == QLatin1String("TKCDO.tkMAPIFolder"))
        return std::make_shared<MapiFolder>(GetNamespace(QStringLiteral("MAPI"))->data());
    throw QvError(ErrorCode::CannotCreateObject, QStringLiteral("Application"));
}

} // namespace Store
