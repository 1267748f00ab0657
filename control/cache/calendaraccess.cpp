#include "calendaraccess.h"

#include "oadate.h"
#include "planneryear.h"
#include "qverror.h"

using namespace Store;

void CalendarAccess::ResolveFolder(const QString &path)
{
    FolderPtr folder;
    m_problem.reset();
    try {
        // "A\B\C": a top-level folder, then subfolders. A single name would ask for a top-level
        // folder with an empty name, which no session has.
        if (path != QLatin1String("Calendar") && path.contains(QLatin1Char('\\'))) {
            folder = FolderAtPath(*m_session, path);
            if (folder && folder->DefaultItemType() != olAppointmentItem)
                folder.reset();
        }
        if (!folder)
            folder = m_session->GetDefaultFolder(olFolderCalendar);
    } catch (const QvError &) {
        try {
            folder = m_session->GetDefaultFolder(olFolderCalendar);
        } catch (const QvError &e) {
            folder.reset();
            m_problem = e;
        }
    }
    m_storeId = folder ? folder->StoreID() : QString();
    m_folderId = folder ? folder->EntryID() : QString();
}

FolderPtr CalendarAccess::folder() const
{
    if (m_folderId.isEmpty() && m_problem)
        throw *m_problem; // what kept the folder from being found says more than its empty id
    return m_session->GetFolderFromID(m_folderId, m_storeId);
}

AppointmentItemPtr CalendarAccess::GetAppointmentByID(const QString &entryId) const
{
    if (entryId.isEmpty())
        return nullptr;
    ItemPtr item;
    try {
        item = m_session->GetItemFromID(entryId, m_storeId);
    } catch (const QvError &) {
        return nullptr;
    }
    return AppointmentOf(item);
}

void CalendarAccess::GetBodyAndLocation(const QString &entryId, QString &body,
                                        QString &location) const
{
    const AppointmentItemPtr a = GetAppointmentByID(entryId);
    if (!a)
        return;
    body = GetItemBody(a);
    location = a->Location();
}

QString CalendarAccess::GetItemBody(const AppointmentItemPtr &item) const
{
    auto helper = std::dynamic_pointer_cast<AppointmentBody>(
        Application::shared()->CreateObject(QStringLiteral("TKCDO.tkAppointmentItem")));
    helper->setItem(item);
    return helper->Body();
}

QString CalendarAccess::GetCurrentUserName() const
{
    auto user = std::make_shared<CurrentUser>(m_session);
    const QString name = user->Name();
    user->Cleanup();
    return name;
}

QString PlannerRestriction(const PlannerYear &year)
{
    return RangeRestriction(OADate::toDate(year.PlannerStart()), OADate::toDate(year.PlannerEnd()));
}
