#include "eventstore.h"

#include "eventkey.h"

#include <algorithm>

namespace {

// The case-folded code point at p[i], advancing i past it. Keys are mostly ASCII (dates and
// hexadecimal identifiers), where folding is lowering.
char32_t foldedAt(const char16_t *p, qsizetype n, qsizetype &i)
{
    char32_t c = p[i++];
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(p[i]))
        c = QChar::surrogateToUcs4(char16_t(c), p[i++]);
    return QChar::toCaseFolded(c);
}

} // namespace

// Consistent with the comparison below: texts equal without regard to case have equal digests.
EventStore::Key::Key(const QString &key) : text(key)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(key.utf16());
    const qsizetype n = key.size();
    quint64 h = 0x9E3779B97F4A7C15ull ^ quint64(n);
    quint64 word = 0;
    int packed = 0;
    for (qsizetype i = 0; i < n;) {
        const char32_t c = foldedAt(p, n, i);
        word = (word << 16) | ((c ^ (c >> 16)) & 0xFFFF);
        if (++packed == 4) {
            h = (h ^ word) * 0xFF51AFD7ED558CCDull;
            h ^= h >> 29;
            word = 0;
            packed = 0;
        }
    }
    h = (h ^ word) * 0xC4CEB9FE1A85EC53ull;
    digest = size_t(h ^ (h >> 32));
}

bool EventStore::Key::operator==(const Key &other) const
{
    return digest == other.digest && text.compare(other.text, Qt::CaseInsensitive) == 0;
}

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
    return m_byKey.value(Key(key), nullptr);
}

bool EventStore::Contains(const QString &key) const
{
    return m_byKey.contains(Key(key));
}

bool EventStore::Add(std::unique_ptr<CalEvent> event, const QString &key)
{
    return InsertBefore(Count() + 1, std::move(event), key);
}

bool EventStore::InsertBefore(int position, std::unique_ptr<CalEvent> event, const QString &key)
{
    if (position < 1 || position > Count() + 1)
        return false;
    Key k(key);
    const qsizetype before = m_byKey.size();
    CalEvent *&slot = m_byKey[k];
    if (m_byKey.size() == before)
        return false; // taken
    slot = event.get();
    m_entries.insert(m_entries.begin() + (position - 1), {std::move(event), std::move(k)});
    return true;
}

bool EventStore::Remove(const QString &key)
{
    CalEvent *event = m_byKey.take(Key(key));
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
