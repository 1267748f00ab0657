#include "item.h"

#include "calendarstore.h"
#include "sessiondata_p.h"

namespace Store {

Item::Item(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
           QString fileName, std::shared_ptr<const IcalItem> content)
    : m_session(std::move(session)), m_folder(std::move(folder)), m_fileName(std::move(fileName)),
      m_content(std::move(content))
{
}

QString Item::EntryID() const
{
    return m_fileName.isEmpty()
               ? QString()
               : m_folder->entryIdOf(m_fileName, m_content ? m_content->uid() : QString());
}

QString Item::MessageClass() const
{
    return m_content ? ItemMessageClass(*m_content) : QStringLiteral("IPM.Appointment");
}

void Item::Delete()
{
    if (!m_fileName.isEmpty())
        m_folder->removeItem(m_fileName, m_content ? m_content->uid() : QString());
}

} // namespace Store
