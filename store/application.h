#pragma once

#include "storetypes.h"

#include <QString>

namespace Store {

class Application
{
public:
    explicit Application(const ProfileOptions &options = ProfileOptions());

    // This thread's application, created on first use with the options last given to
    // setSharedOptions (new options make the next call create it anew).
    static ApplicationPtr shared();
    static void setSharedOptions(const ProfileOptions &options);

    QString Version() const;
    // "MAPI" is the only namespace.
    NameSpacePtr GetNamespace(const QString &type);
    // "TKCDO.tkCurrentUser", "TKCDO.tkAppointmentItem" or "TKCDO.tkMAPIFolder".
    std::shared_ptr<HelperObject> CreateObject(const QString &progId);

private:
    ProfileOptions m_options;
    NameSpacePtr m_session;
};

} // namespace Store
