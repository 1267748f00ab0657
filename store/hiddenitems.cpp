#include "hiddenitems.h"

#include "calendarstore.h"
#include "oadate.h"
#include "sessiondata_p.h"

namespace Store {

HiddenItems::HiddenItems(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder)
    : m_session(std::move(session)), m_folder(std::move(folder))
{
}

HiddenItemPtr HiddenItems::item(const QString &subject) const
{
    m_folder->refresh(m_session->warnings);
    QStringList names = m_folder->entries().keys();
    names.sort();
    for (const QString &name : names) {
        const FolderData::Entry &e = m_folder->entries()[name];
        if (e.item && e.item->isHidden() && e.item->text("SUMMARY") == subject)
            return std::make_shared<HiddenItem>(m_folder, name, e.item->clone());
    }
    return nullptr;
}

int HiddenItems::Count() const
{
    m_folder->refresh(m_session->warnings);
    int n = 0;
    for (const FolderData::Entry &e : m_folder->entries())
        n += e.item && e.item->isHidden();
    return n;
}

HiddenItemPtr HiddenItems::Add(const QString &messageClass)
{
    std::unique_ptr<IcalItem> content = IcalItem::create();
    content->setHidden(true);
    content->setXText(kMessageClassProperty, messageClass);
    // Dated where the client keeps such items, in the past and out of the way of other
    // programs' views; private and taking no time.
    const double when = OADate::fromDateTime(QDate(2011, 1, 1), QTime(1, 30));
    content->setTimes(when, when, false);
    content->setText("CLASS", QStringLiteral("PRIVATE"));
    content->setText("TRANSP", QStringLiteral("TRANSPARENT"));
    return std::make_shared<HiddenItem>(m_folder, QString(), std::move(content));
}

} // namespace Store
