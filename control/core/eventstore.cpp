#include "eventstore.h"

#include "eventkey.h"

#include <algorithm>

CalEvent &EventStore::Item(int position)
{
    Q_ASSERT(position >= 1 && position <= Count());
    return *m_entries[size_t(position - 1)].first;
}

const CalEvent &EventStore::Item(int position) const
{
    Q_ASSERT(position >= 1 && position <= Count());
    return *m_entries[size_t(position - 1)].first;
}

CalEvent *EventStore::Find(const QString &key)
{
    return m_byKey.value(fold(key), nullptr);
}

bool EventStore::Contains(const QString &key) const
{
    return m_byKey.contains(fold(key));
}

bool EventStore::Add(std::unique_ptr<CalEvent> event, const QString &key)
{
    return InsertBefore(Count() + 1, std::move(event), key);
}

bool EventStore::InsertBefore(int position, std::unique_ptr<CalEvent> event, const QString &key)
{
    QString folded = fold(key);
    if (m_byKey.contains(folded) || position < 1 || position > Count() + 1)
        return false;
    m_byKey.insert(folded, event.get());
    m_entries.insert(m_entries.begin() + (position - 1), {std::move(event), std::move(folded)});
    return true;
}

bool EventStore::Remove(const QString &key)
{
    CalEvent *event = m_byKey.take(fold(key));
    if (!event)
        return false;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [event](const auto &e) { return e.first.get() == event; });
    m_entries.erase(it);
    return true;
}

int EventStore::RemoveIf(const QString &id)
{
    const auto removed = std::remove_if(m_entries.begin(), m_entries.end(), [&](const auto &e) {
        if (e.first->EventID != id)
            return false;
        m_byKey.remove(e.second);
        return true;
    });
    const int n = int(m_entries.end() - removed);
    m_entries.erase(removed, m_entries.end());
    return n;
}

void EventStore::reserve(int n)
{
    m_entries.reserve(size_t(n));
    m_byKey.reserve(n);
}

bool InsertEventSorted(EventStore &store, std::unique_ptr<CalEvent> event, int *from)
{
    const QString key = EventKey(*event);
    int position = from ? std::clamp(*from, 1, store.Count() + 1) : 1;
    while (position <= store.Count() && store.Item(position).StartDate < event->StartDate)
        ++position;
    if (!store.InsertBefore(position, std::move(event), key))
        return false;
    if (from)
        *from = position;
    return true;
}

bool InsertEventSorted(EventStore &store, std::unique_ptr<CalEvent> event)
{
    return InsertEventSorted(store, std::move(event), nullptr);
}

void RemoveEventsOf(EventStore &store, const QString &id)
{
    store.RemoveIf(id);
}
