#include "folders.h"

#include "calendarstore.h"
#include "fileerror.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QCoreApplication>
#include <QDir>

namespace Store {

Folders::Folders(std::shared_ptr<SessionData> session, QList<FolderPtr> folders,
                 std::shared_ptr<FolderData> parent)
    : m_session(std::move(session)), m_folders(std::move(folders)), m_parent(std::move(parent))
{
}

FolderPtr Folders::GetFirst()
{
    m_next = 1;
    return m_folders.value(0);
}

FolderPtr Folders::GetNext()
{
    return m_folders.value(m_next++);
}

FolderPtr Folders::Item(int index) const
{
    if (index < 1 || index > m_folders.size())
        throw QvError(ErrorCode::NotAllowed, QStringLiteral("Array index out of bounds."),
                      QStringLiteral("Folders"));
    return m_folders[index - 1];
}

FolderPtr Folders::Item(const QString &name) const
{
    for (const FolderPtr &f : m_folders) {
        if (f->Name().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    }
    NotFound(QStringLiteral("folder ") + name);
}

FolderPtr Folders::Add(const QString &name, int type)
{
    if (!m_parent)
        throw QvError(ErrorCode::InvalidCall,
                      QStringLiteral("Stores are added in the profile, not as folders"),
                      QStringLiteral("Folders"));
    if (!IsFolderName(name) || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        throw QvError(ErrorCode::InvalidCall,
                      QStringLiteral("\"%1\" is not a valid folder name").arg(name),
                      QStringLiteral("Folders"));
    for (const FolderPtr &f : std::as_const(m_folders)) {
        if (f->Name() == name)
            throw QvError(
                ErrorCode::NotAllowed,
                QCoreApplication::translate("Calendar store", "Cannot create the folder."),
                QStringLiteral("Folders"));
    }
    const QString rel = m_parent->relPath.isEmpty() ? name : m_parent->relPath + '/' + name;
    auto data = m_session->folder(m_parent->store, rel);
    if (!QDir().mkpath(data->path))
        throw QvError(FileError::PathFileAccessError,
                      QCoreApplication::translate("Calendar store", "Cannot create the folder %1")
                          .arg(data->path),
                      QStringLiteral("Folders"));
    const int itemType = type == olFolderCalendar ? olAppointmentItem
                         : type == 10             ? olContactItem
                                                  : olMailItem;
    if (itemType != olAppointmentItem)
        data->setMeta(QStringLiteral("Folder/ItemType"), itemType);
    auto folder = std::make_shared<Folder>(m_session, data);
    m_folders.append(folder);
    return folder;
}

} // namespace Store
