#include "hiddenitems.h"

#include "calendarstore.h"
#include "oadate.h"
#include "sessiondata_p.h"

#include <algorithm>

namespace Store {

HiddenItems::HiddenItems(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder)
    : m_session(std::move(session)), m_folder(std::move(folder))
{
}

HiddenItemPtr HiddenItems::item(const QString &subject) const
{
    QStringList names;
    const QHash<QString, FileFacts> hidden = m_folder->hiddenFacts(m_session->warnings, subject);
    for (const auto &[name, facts] : hidden.asKeyValueRange()) {
        if (std::any_of(facts.items.begin(), facts.items.end(), [&](const ItemFacts &i) {
                return i.hidden && i.subjects.value(0) == subject;
            }))
            names.append(name);
    }
    names.sort();
    for (const QString &name : std::as_const(names)) {
        const FolderData::Entry *e = m_folder->entry(name, m_session->warnings);
        for (const auto &item : e ? e->items : decltype(e->items)()) {
            if (item->isHidden() && item->text("SUMMARY") == subject)
                return std::make_shared<HiddenItem>(m_folder, name, item->clone());
        }
    }
    return nullptr;
}

int HiddenItems::Count() const
{
    int n = 0;
    for (const FileFacts &f : m_folder->hiddenFacts(m_session->warnings))
        n += int(std::count_if(f.items.begin(), f.items.end(),
                               [](const ItemFacts &i) { return i.hidden; }));
    return n;
}

HiddenItemPtr HiddenItems::Add(const QString &messageClass)
{
    std::unique_ptr<IcalItem> content = IcalItem::create();
    content->setHidden(true);
    content->setXText(kMessageClassProperty, messageClass);
    // Dated where the client keeps such items; private and taking no time.
    const double when = OADate::fromDateTime(HiddenItemsDay(), QTime(1, 30));
    content->setTimes(when, when, false);
    content->setText("CLASS", QStringLiteral("PRIVATE"));
    content->setText("TRANSP", QStringLiteral("TRANSPARENT"));
    return std::make_shared<HiddenItem>(m_folder, QString(), std::move(content));
}

} // namespace Store
