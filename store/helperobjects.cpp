#include "helperobjects.h"

#include "calendarstore.h"
#include "qverror.h"
#include "sessiondata_p.h"

namespace Store {

QString CurrentUser::Name() const
{
    return m_session->CurrentUserName();
}

QString AppointmentBody::Body() const
{
    if (!m_item)
        throw QvError(ErrorCode::ObjectNotSet, QStringLiteral("tkAppointmentItem"));
    return m_item->Body();
}

HiddenItemsPtr MapiFolder::hiddenItems() const
{
    if (!m_folder)
        return nullptr;
    return std::make_shared<HiddenItems>(m_session, m_folder->data());
}

} // namespace Store
