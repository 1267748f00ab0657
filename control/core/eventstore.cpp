#include "eventstore.h"

#include "eventkey.h"
#include "keydigest_p.h"

#include <algorithm>
#include <cstring>

EventStore::~EventStore()
{
    for (const Entry &e : m_entries)
        m_arena.destroy(e.event, false);
}

EventStore::EventStore(EventStore &&other) noexcept
{
    swap(other);
}

EventStore &EventStore::operator=(EventStore &&other) noexcept
{
    // The old events leave with `moved`, destroyed before their blocks are freed.
    EventStore moved(std::move(other));
    swap(moved);
    return *this;
}

void EventStore::swap(EventStore &other) noexcept
{
    m_arena.swap(other.m_arena);
    std::swap(m_entries, other.m_entries);
    m_index.swap(other.m_index);
    m_textKeys.swap(other.m_textKeys);
}

CalEvent &EventStore::Item(int position)
{
    Q_ASSERT(position >= 1 && position <= Count());
    return *m_entries[size_t(position - 1)].event;
}

void EventStore::SetBand(const CalEvent &event, qint32 band)
{
    const_cast<CalEvent &>(event).Band = band;
}

void EventStore::SetCatIndex(const CalEvent &event, qint16 index)
{
    const_cast<CalEvent &>(event).CatIndex = index;
}

const CalEvent &EventStore::Item(int position) const
{
    Q_ASSERT(position >= 1 && position <= Count());
    return *m_entries[size_t(position - 1)].event;
}

CalEvent *EventStore::Find(const QString &key)
{
    return find(DigestOf(key), key);
}

bool EventStore::Contains(const QString &key) const
{
    return find(DigestOf(key), key) != nullptr;
}

bool EventStore::Add(std::unique_ptr<CalEvent> event, const QString &key)
{
    return InsertBefore(Count() + 1, std::move(event), key);
}

bool EventStore::Add(std::unique_ptr<CalEvent> event)
{
    return InsertBefore(Count() + 1, std::move(event));
}

bool EventStore::InsertBefore(int position, std::unique_ptr<CalEvent> event, const QString &key)
{
    // A null text stands for the event's own key.
    const QString text = key.isNull() ? QLatin1String("") : key;
    return insert(position, std::move(event), text, DigestOf(text));
}

size_t EventStore::KeyDigest(const CalEvent &event)
{
    return DigestOf(event);
}

void EventStore::prefetch(size_t digest) const
{
    if (const void *place = m_index.home(digest))
        __builtin_prefetch(place);
}

bool EventStore::Add(CalEvent &&event, size_t digest)
{
    Q_ASSERT(digest == DigestOf(event));
    const size_t slot = vacantSlot(event, QString(), digest);
    if (slot == DigestIndex::kTaken)
        return false;
    link(Count() + 1, slot, m_arena.emplace(std::move(event)), QString(), digest);
    return true;
}

bool EventStore::InsertBefore(int position, std::unique_ptr<CalEvent> event)
{
    const size_t digest = DigestOf(*event);
    return insert(position, std::move(event), QString(), digest);
}

QString EventStore::keyOf(const CalEvent &event) const
{
    if (!m_textKeys.isEmpty()) {
        const auto it = m_textKeys.constFind(&event);
        if (it != m_textKeys.constEnd())
            return *it;
    }
    return EventKey(event);
}

EventStore EventStore::clone() const
{
    EventStore copy;
    copy.reserve(Count());
    for (const Entry &entry : m_entries) {
        const auto text = m_textKeys.constFind(entry.event);
        if (text != m_textKeys.cend())
            copy.Add(std::make_unique<CalEvent>(*entry.event), *text);
        else
            copy.Add(CalEvent(*entry.event), entry.digest);
    }
    return copy;
}

bool EventStore::insert(int position, std::unique_ptr<CalEvent> event, const QString &key,
                        size_t digest)
{
    if (position < 1 || position > Count() + 1)
        return false;
    const size_t slot = vacantSlot(*event, key, digest);
    if (slot == DigestIndex::kTaken)
        return false;
    link(position, slot, m_arena.adopt(std::move(event)), key, digest);
    return true;
}

size_t EventStore::vacantSlot(const CalEvent &event, const QString &key, size_t digest)
{
    QString text = key; // the new event's key, worked out when a digest meets its own
    return m_index.vacant(digest, [&](const CalEvent &other) {
        if (text.isNull())
            text = EventKey(event);
        return keyOf(other).compare(text, Qt::CaseInsensitive) == 0;
    });
}

void EventStore::link(int position, size_t slot, CalEvent *event, const QString &key, size_t digest)
{
    m_index.put(slot, digest, event);
    if (!key.isNull())
        m_textKeys.insert(event, key);
    m_entries.insert(m_entries.begin() + (position - 1), Entry{event, digest});
}

CalEvent *EventStore::find(size_t digest, const QString &key) const
{
    return m_index.find(digest, [&](const CalEvent &other) {
        return keyOf(other).compare(key, Qt::CaseInsensitive) == 0;
    });
}

void EventStore::unindex(size_t digest, const CalEvent *event)
{
    m_index.erase(digest, event);
    if (!m_textKeys.isEmpty())
        m_textKeys.remove(event);
}

bool EventStore::Remove(const QString &key)
{
    const CalEvent *event = find(DigestOf(key), key);
    if (!event)
        return false;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [event](const Entry &e) { return e.event == event; });
    unindex(it->digest, event);
    m_arena.destroy(it->event, true);
    m_entries.erase(it);
    return true;
}

int EventStore::RemoveIf(const QString &id)
{
    const auto removed = std::remove_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) {
        if (e.event->EventID != id)
            return false;
        unindex(e.digest, e.event);
        m_arena.destroy(e.event, true);
        return true;
    });
    const int n = int(m_entries.end() - removed);
    m_entries.erase(removed, m_entries.end());
    return n;
}

void EventStore::reserve(int n)
{
    m_entries.reserve(size_t(n));
    m_arena.reserve(size_t(n));
    m_index.reserve(size_t(n));
}

bool InsertEventSorted(EventStore &store, std::unique_ptr<CalEvent> event, int *from)
{
    int position = from ? std::clamp(*from, 1, store.Count() + 1) : 1;
    while (position <= store.Count() && store.Item(position).StartDate < event->StartDate)
        ++position;
    if (!store.InsertBefore(position, std::move(event)))
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
