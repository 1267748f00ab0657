#pragma once

#include "item.h"

#include <optional>

struct IcalOccurrence;

namespace Store {

class AppointmentItem : public Item
{
public:
    // An item, or one occurrence of it (occurrence non-null).
    AppointmentItem(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
                    QString fileName, std::shared_ptr<const IcalItem> content,
                    const IcalOccurrence *occurrence = nullptr);
    ~AppointmentItem() override;

    QString TypeName() const override { return QStringLiteral("AppointmentItem"); }

    QString Subject() const;
    void setSubject(const QString &subject);
    // Names joined by the category separator.
    QString Categories() const;
    void setCategories(const QString &categories);
    double Start() const; // automation dates, local time
    void setStart(double start);
    double End() const;
    void setEnd(double end);
    bool AllDayEvent() const;
    void setAllDayEvent(bool allDay);
    bool IsRecurring() const;
    int RecurrenceState() const;
    QString Location() const;
    void setLocation(const QString &location);
    QString Body() const;
    void setBody(const QString &body);
    bool ReminderSet() const;
    void setReminderSet(bool on);
    QString StartTimeZone() const;
    QString EndTimeZone() const;
    QString MessageClassOf() const;

    // Writes the item to its folder, atomically. Raises QvError for an occurrence (change the
    // series) and when the file cannot be written.
    void Save();
    void Delete() override;
    // Shows the appointment form; a saved form writes the item. openedOn: the start of the
    // occurrence of a series the user opened it from, which the form names.
    void Display(bool modal = true, std::optional<double> openedOn = std::nullopt);
    // Shows the categories dialog over the master list; changes the item's categories on OK.
    // False when it was cancelled.
    bool ShowCategoriesDialog();

    bool isNew() const { return m_fileName.isEmpty(); }
    bool isOccurrence() const { return m_occurrence != nullptr; }

private:
    IcalItem &writable();
    const IcalItem &readable() const;

    std::unique_ptr<IcalItem> m_working; // the edited copy
    std::unique_ptr<IcalOccurrence> m_occurrence;
    // Times being edited, applied together at Save.
    std::optional<double> m_start, m_end;
    std::optional<bool> m_allDay;

    friend class MeetingItem;
};

// The appointment an item stands for: an appointment itself, or a meeting request's appointment
// (never added to the calendar); null for any other kind of item.
AppointmentItemPtr AppointmentOf(const ItemPtr &item);

} // namespace Store
