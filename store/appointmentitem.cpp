#include "appointmentitem.h"

#include "calendarstore.h"
#include "oadate.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>

namespace Store {

AppointmentItem::AppointmentItem(std::shared_ptr<SessionData> session,
                                 std::shared_ptr<FolderData> folder, QString fileName,
                                 std::shared_ptr<const IcalItem> content,
                                 const IcalOccurrence *occurrence)
    : Item(std::move(session), std::move(folder), std::move(fileName), std::move(content))
{
    if (occurrence)
        m_occurrence = std::make_unique<IcalOccurrence>(*occurrence);
    if (!m_content) {
        // A new appointment: the next whole hour, for half an hour.
        m_working = IcalItem::create();
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime start(now.date(), QTime(now.time().hour(), 0));
        m_start = OADate::fromDateTime(start.addSecs(3600));
        m_end = *m_start + 1.0 / 48;
        m_allDay = false;
    }
}

const IcalItem &AppointmentItem::readable() const
{
    return m_working ? *m_working : *m_content;
}

IcalItem &AppointmentItem::writable()
{
    if (m_occurrence)
        throw QvError(
            kNotAllowed,
            QCoreApplication::translate("Calendar store",
                                        "One occurrence cannot be changed here; open the series."),
            QStringLiteral("AppointmentItem"));
    if (!m_working)
        m_working = m_content->clone();
    return *m_working;
}

AppointmentItem::~AppointmentItem() = default;

namespace {

// The event an appointment shows: the override of an exception as read, else the master.
icalcomponent *EventOf(const IcalItem &readable, const IcalOccurrence *occurrence, bool edited)
{
    if (occurrence && occurrence->isException && !edited)
        return occurrence->source;
    return readable.master();
}

} // namespace

QString AppointmentItem::Subject() const
{
    return IcalItem::textOf(EventOf(readable(), m_occurrence.get(), m_working != nullptr),
                            "SUMMARY");
}

void AppointmentItem::setSubject(const QString &subject)
{
    writable().setText("SUMMARY", subject);
}

QString AppointmentItem::Categories() const
{
    return IcalItem::categoriesOf(EventOf(readable(), m_occurrence.get(), m_working != nullptr))
        .join(m_session->listSeparator + QLatin1Char(' '));
}

void AppointmentItem::setCategories(const QString &categories)
{
    QStringList names;
    for (const QString &n : categories.split(m_session->listSeparator))
        names.append(n.trimmed());
    writable().setCategories(names);
}

double AppointmentItem::Start() const
{
    if (m_start)
        return *m_start;
    return m_occurrence ? m_occurrence->start : readable().times().start;
}

void AppointmentItem::setStart(double start)
{
    writable();
    // As in the client: moving the start keeps the length.
    const double length = End() - Start();
    m_start = start;
    m_end = start + std::max(0.0, length);
}

double AppointmentItem::End() const
{
    if (m_end)
        return *m_end;
    return m_occurrence ? m_occurrence->end : readable().times().end;
}

void AppointmentItem::setEnd(double end)
{
    writable();
    m_end = end;
}

bool AppointmentItem::AllDayEvent() const
{
    if (m_allDay)
        return *m_allDay;
    return m_occurrence ? m_occurrence->allDay : readable().times().allDay;
}

void AppointmentItem::setAllDayEvent(bool allDay)
{
    writable();
    m_allDay = allDay;
    if (allDay) {
        // Whole days: from the start's midnight to the midnight after the end's day.
        const double start = OADate::DateOnly(Start());
        double end = OADate::DateOnly(End());
        if (end < End() || end <= start)
            end += 1;
        m_start = start;
        m_end = end;
    }
}

bool AppointmentItem::IsRecurring() const
{
    return readable().isRecurring();
}

int AppointmentItem::RecurrenceState() const
{
    if (!readable().isRecurring())
        return olApptNotRecurring;
    if (!m_occurrence)
        return olApptMaster;
    return m_occurrence->isException ? olApptException : olApptOccurrence;
}

QString AppointmentItem::Location() const
{
    return IcalItem::textOf(EventOf(readable(), m_occurrence.get(), m_working != nullptr),
                            "LOCATION");
}

void AppointmentItem::setLocation(const QString &location)
{
    writable().setText("LOCATION", location);
}

QString AppointmentItem::Body() const
{
    return IcalItem::textOf(EventOf(readable(), m_occurrence.get(), m_working != nullptr),
                            "DESCRIPTION");
}

void AppointmentItem::setBody(const QString &body)
{
    writable().setText("DESCRIPTION", body);
}

bool AppointmentItem::ReminderSet() const
{
    return readable().reminderSet();
}

void AppointmentItem::setReminderSet(bool on)
{
    writable().setReminderSet(on);
}

QString AppointmentItem::StartTimeZone() const
{
    return readable().startZone();
}

QString AppointmentItem::EndTimeZone() const
{
    return readable().endZone();
}

QString AppointmentItem::MessageClassOf() const
{
    return ItemMessageClass(readable());
}

void AppointmentItem::Save()
{
    IcalItem &item = writable();
    bool timesChanged = false;
    if (m_start || m_end || m_allDay) {
        if (m_content) {
            const IcalItem::Times before = m_content->times();
            timesChanged = !before.valid || before.start != Start() || before.end != End() ||
                           before.allDay != AllDayEvent();
        }
        item.setTimes(Start(), End(), AllDayEvent());
    }
    item.stamp(timesChanged);
    if (m_fileName.isEmpty())
        m_fileName = m_folder->newFileName(item.uid());
    m_fileName = m_folder->writeItem(m_fileName, item);
    m_content = std::shared_ptr<const IcalItem>(std::move(m_working));
    m_start.reset();
    m_end.reset();
    m_allDay.reset();
}

void AppointmentItem::Delete()
{
    if (m_fileName.isEmpty())
        return;
    if (m_occurrence && m_content->isRecurring()) {
        std::unique_ptr<IcalItem> copy = m_content->clone();
        copy->excludeInstance(*m_occurrence);
        copy->stamp(true); // one instance fewer is a change of the series' times
        m_fileName = m_folder->writeItem(m_fileName, *copy);
        return;
    }
    Item::Delete();
}

void AppointmentItem::Display(bool, std::optional<double> openedOn)
{
    StoreUi *ui = CurrentStoreUi();
    if (!ui)
        throw QvError(kNoWindow, QStringLiteral("No window can be shown for the appointment"),
                      QStringLiteral("AppointmentItem"));
    ui->editAppointment(*this, openedOn);
}

bool AppointmentItem::ShowCategoriesDialog()
{
    StoreUi *ui = CurrentStoreUi();
    if (!ui)
        throw QvError(kNoWindow, QStringLiteral("No window can be shown for the categories"),
                      QStringLiteral("AppointmentItem"));
    NameSpace session(m_session->options);
    return ui->editCategories(*this, session);
}

AppointmentItemPtr AppointmentOf(const ItemPtr &item)
{
    if (!item)
        return nullptr;
    if (item->TypeName() == QLatin1String("AppointmentItem"))
        return std::dynamic_pointer_cast<AppointmentItem>(item);
    if (item->TypeName() == QLatin1String("MeetingItem"))
        return std::dynamic_pointer_cast<MeetingItem>(item)->GetAssociatedAppointment(false);
    return nullptr;
}

} // namespace Store
