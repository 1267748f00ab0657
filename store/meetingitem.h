#pragma once

#include "item.h"

#include <optional>

namespace Store {

class MeetingItem : public Item
{
public:
    MeetingItem(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
                QString fileName, std::shared_ptr<const IcalItem> content,
                const IcalItem::Occurrence *occurrence = nullptr);

    QString TypeName() const override { return QStringLiteral("MeetingItem"); }
    QString Subject() const;
    // The appointment the request is about; never added to the calendar here.
    AppointmentItemPtr GetAssociatedAppointment(bool addToCalendar = false);

private:
    std::optional<IcalItem::Occurrence> m_occurrence;
};

} // namespace Store
