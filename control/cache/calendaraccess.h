#pragma once

#include "calendarstore.h"
#include "qverror.h"

#include <QString>

#include <optional>

class PlannerYear;

// The control's access to its calendar through the store: the folder named by the Folder
// property, single appointments by identifier, bodies, the user's name and the restriction of
// the planner year.
class CalendarAccess
{
public:
    explicit CalendarAccess(Store::NameSpacePtr session) : m_session(std::move(session)) {}

    Store::NameSpacePtr session() const { return m_session; }

    // Resolves a folder path ("Store\Folder\Sub") to the folder's identifiers; empty,
    // "Calendar", a single name, a path the session lacks or a folder of other items give the
    // default calendar. Never fails outward.
    void ResolveFolder(const QString &path);
    QString folderId() const { return m_folderId; }
    QString storeId() const { return m_storeId; }
    // The resolved folder, opened again. Raises QvError when there is none, with the reason the
    // default calendar could not be had when resolving fell back to it in vain.
    Store::FolderPtr folder() const;

    // The appointment, or a meeting request's appointment; null for anything else and for an
    // identifier that finds nothing.
    Store::AppointmentItemPtr GetAppointmentByID(const QString &entryId) const;
    // Body and location of the appointment; both left as they are when it is not found.
    void GetBodyAndLocation(const QString &entryId, QString &body, QString &location) const;
    // The body through the helper component. Raises QvError when it cannot be created.
    QString GetItemBody(const Store::AppointmentItemPtr &item) const;
    // The current user's display name through the helper component; raises QvError.
    QString GetCurrentUserName() const;

private:
    Store::NameSpacePtr m_session;
    QString m_folderId;
    QString m_storeId;
    std::optional<QvError> m_problem;
};

// The restriction of the planner year: starting on or before its last minute, ending after its
// first instant, dates in the user's short date form.
QString PlannerRestriction(const PlannerYear &year);
