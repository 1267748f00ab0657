#include "meetingitem.h"

#include "calendarstore.h"
#include "sessiondata_p.h"

namespace Store {

MeetingItem::MeetingItem(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
                         QString fileName, std::shared_ptr<const IcalItem> content,
                         const IcalOccurrence *occurrence)
    : Item(std::move(session), std::move(folder), std::move(fileName), std::move(content))
{
    if (occurrence)
        m_occurrence = std::make_unique<IcalOccurrence>(*occurrence);
}

MeetingItem::~MeetingItem() = default;

QString MeetingItem::Subject() const
{
    return m_content->text("SUMMARY");
}

AppointmentItemPtr MeetingItem::GetAssociatedAppointment(bool)
{
    return std::make_shared<AppointmentItem>(m_session, m_folder, m_fileName, m_content,
                                             m_occurrence.get());
}

} // namespace Store
