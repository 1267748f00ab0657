#pragma once

#include "item.h"

#include <memory>

struct IcalOccurrence;

namespace Store {

class MeetingItem : public Item
{
public:
    MeetingItem(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
                QString fileName, std::shared_ptr<const IcalItem> content,
                const IcalOccurrence *occurrence = nullptr);
    ~MeetingItem() override;

    QString TypeName() const override { return QStringLiteral("MeetingItem"); }
    QString Subject() const;
    // The appointment the request is about; never added to the calendar here.
    AppointmentItemPtr GetAssociatedAppointment(bool addToCalendar = false);

private:
    std::unique_ptr<IcalOccurrence> m_occurrence;
};

} // namespace Store
