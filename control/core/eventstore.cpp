#include "eventstore.h"

#include "eventkey.h"

#include <algorithm>
#include <cstring>

namespace {

// A digest of a key that ignores letter case, fed piece by piece: texts that compare equal without
// regard to case have equal digests, however they are cut into pieces. Keys are mostly ASCII
// (dates and hexadecimal identifiers), which goes four characters at a time.
class KeyDigest
{
public:
    void add(QStringView text)
    {
        const char16_t *p = text.utf16();
        const qsizetype n = text.size();
        qsizetype i = 0;
        while (i < n) {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
            if (m_packed == 0 && m_high == 0) {
                for (; i + 4 <= n; i += 4) {
                    quint64 w;
                    std::memcpy(&w, p + i, sizeof w);
                    if (w & 0xFF80FF80FF80FF80ull)
                        break;
                    // Per 16-bit lane: bit 7 set where 'A' <= c <= 'Z'; lowering adds 0x20.
                    const quint64 upper =
                        (w + 0x003F003F003F003Full) & ~(w + 0x0025002500250025ull) & 0x0080008000800080ull;
                    mix(w | (upper >> 2));
                }
                if (i == n)
                    break;
            }
#endif
            unit(p[i++]);
        }
        m_units += quint64(n);
    }

    size_t result() const
    {
        KeyDigest d = *this;
        if (d.m_high)
            d.push(std::exchange(d.m_high, 0));
        if (d.m_packed)
            d.mix(d.m_word);
        quint64 h = (d.m_h ^ d.m_units) * 0xC4CEB9FE1A85EC53ull;
        return size_t(h ^ (h >> 32));
    }

private:
    void mix(quint64 word)
    {
        m_h = (m_h ^ word) * 0xFF51AFD7ED558CCDull;
        m_h ^= m_h >> 29;
    }
    void push(char16_t c)
    {
        m_word |= quint64(c) << (16 * m_packed);
        if (++m_packed == 4) {
            mix(m_word);
            m_word = 0;
            m_packed = 0;
        }
    }
    // One UTF-16 unit, folded as the case-insensitive comparison folds it: by code point.
    void unit(char16_t c)
    {
        if (m_high) {
            const char16_t high = std::exchange(m_high, 0);
            if (QChar::isLowSurrogate(c)) {
                const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(high, c));
                push(QChar::highSurrogate(folded));
                push(QChar::lowSurrogate(folded));
                return;
            }
            push(high);
        }
        if (c < 0x80)
            push(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        else if (QChar::isHighSurrogate(c))
            m_high = c;
        else
            push(QChar::toCaseFolded(c));
    }

    quint64 m_h = 0x9E3779B97F4A7C15ull;
    quint64 m_word = 0;
    quint64 m_units = 0;
    int m_packed = 0;
    char16_t m_high = 0;
};

size_t DigestOf(const QString &key)
{
    KeyDigest d;
    d.add(key);
    return d.result();
}

size_t DigestOf(const CalEvent &event)
{
    KeyDigest d;
    ForEachEventKeyPiece(event, [&d](QStringView piece) { d.add(piece); });
    return d.result();
}

} // namespace

CalEvent &EventStore::Item(int position)
{
    Q_ASSERT(position >= 1 && position <= Count());
    return *m_entries[size_t(position - 1)].event;
}

const CalEvent &EventStore::Item(int position) const
{
    Q_ASSERT(position >= 1 && position <= Count());
    return *m_entries[size_t(position - 1)].event;
}

CalEvent *EventStore::Find(const QString &key)
{
    const Slot *slot = find(DigestOf(key), key);
    return slot ? slot->event : nullptr;
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

bool EventStore::InsertBefore(int position, std::unique_ptr<CalEvent> event)
{
    const size_t digest = DigestOf(*event);
    return insert(position, std::move(event), QString(), digest);
}

bool EventStore::insert(int position, std::unique_ptr<CalEvent> event, const QString &key, size_t digest)
{
    if (position < 1 || position > Count() + 1)
        return false;
    const qsizetype before = m_byDigest.size();
    Slot &slot = m_byDigest[digest];
    if (m_byDigest.size() == before) {
        if (find(digest, key.isNull() ? EventKey(*event) : key))
            return false; // taken
        m_overflow.insert(digest, {event.get(), key});
    } else {
        slot = {event.get(), key};
    }
    m_entries.insert(m_entries.begin() + (position - 1), Entry{std::move(event), digest});
    return true;
}

const EventStore::Slot *EventStore::find(size_t digest, const QString &key) const
{
    auto matches = [&key](const Slot &slot) {
        return (slot.key.isNull() ? EventKey(*slot.event) : slot.key).compare(key, Qt::CaseInsensitive) == 0;
    };
    const auto it = m_byDigest.constFind(digest);
    if (it == m_byDigest.constEnd())
        return nullptr;
    if (matches(*it))
        return &*it;
    for (auto o = m_overflow.constFind(digest); o != m_overflow.constEnd() && o.key() == digest; ++o) {
        if (matches(*o))
            return &*o;
    }
    return nullptr;
}

void EventStore::removeSlot(size_t digest, const CalEvent *event)
{
    const auto it = m_byDigest.find(digest);
    if (it != m_byDigest.end() && it->event == event) {
        m_byDigest.erase(it);
        const auto o = m_overflow.find(digest);
        if (o != m_overflow.end()) {
            m_byDigest.insert(digest, *o);
            m_overflow.erase(o);
        }
        return;
    }
    for (auto o = m_overflow.find(digest); o != m_overflow.end() && o.key() == digest; ++o) {
        if (o->event == event) {
            m_overflow.erase(o);
            return;
        }
    }
}

bool EventStore::Remove(const QString &key)
{
    const Slot *slot = find(DigestOf(key), key);
    if (!slot)
        return false;
    const CalEvent *event = slot->event;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [event](const Entry &e) { return e.event.get() == event; });
    removeSlot(it->digest, event);
    m_entries.erase(it);
    return true;
}

int EventStore::RemoveIf(const QString &id)
{
    const auto removed = std::remove_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) {
        if (e.event->EventID != id)
            return false;
        removeSlot(e.digest, e.event.get());
        return true;
    });
    const int n = int(m_entries.end() - removed);
    m_entries.erase(removed, m_entries.end());
    return n;
}

void EventStore::reserve(int n)
{
    m_entries.reserve(size_t(n));
    m_byDigest.reserve(n);
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
