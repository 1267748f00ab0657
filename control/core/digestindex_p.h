#pragma once

#include "calevent.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// The event store's index: open addressing on key digests, at most half full so that a lookup
// mostly touches one place. It holds digests and events only; whether two keys are the same is
// asked of the caller (sameKey(event)) where digests match. For the event store only.
class DigestIndex
{
public:
    static constexpr size_t kTaken = ~size_t(0);

    void swap(DigestIndex &other) noexcept
    {
        std::swap(m_slots, other.m_slots);
        std::swap(m_used, other.m_used);
    }

    // Where a lookup of digest starts, for the caller to prefetch; null while empty. (A prefetch
    // inside an inline function of its own is dropped by GCC, which sees it has no effect.)
    const void *home(size_t digest) const
    {
        return m_slots.empty() ? nullptr : m_slots.data() + (digest & (m_slots.size() - 1));
    }

    // The event whose key has this digest and for which sameKey holds, or null.
    template <typename SameKey> CalEvent *find(size_t digest, SameKey sameKey) const
    {
        if (m_slots.empty())
            return nullptr;
        const size_t mask = m_slots.size() - 1;
        for (size_t i = digest & mask; m_slots[i].event; i = (i + 1) & mask) {
            if (m_slots[i].digest == digest && sameKey(*m_slots[i].event))
                return m_slots[i].event;
        }
        return nullptr;
    }

    // The place for one more event with this digest, or kTaken when sameKey holds for one there.
    // Grows first, so the place stays valid until put.
    template <typename SameKey> size_t vacant(size_t digest, SameKey sameKey)
    {
        if ((m_used + 1) * 2 > m_slots.size())
            rehash(std::max<size_t>(16, m_slots.size() * 2));
        const size_t mask = m_slots.size() - 1;
        size_t i = digest & mask;
        for (; m_slots[i].event; i = (i + 1) & mask) {
            if (m_slots[i].digest == digest && sameKey(*m_slots[i].event))
                return kTaken;
        }
        return i;
    }

    void put(size_t place, size_t digest, CalEvent *event)
    {
        m_slots[place] = {digest, event};
        ++m_used;
    }

    // Takes out the event, which is in the index under digest.
    void erase(size_t digest, const CalEvent *event)
    {
        const size_t mask = m_slots.size() - 1;
        size_t i = digest & mask;
        while (m_slots[i].event != event)
            i = (i + 1) & mask;
        // Close the gap: move up every later place of the run that may not stay behind it.
        for (size_t j = i;;) {
            j = (j + 1) & mask;
            if (!m_slots[j].event)
                break;
            const size_t home = m_slots[j].digest & mask;
            const bool staysBehind = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (!staysBehind) {
                m_slots[i] = m_slots[j];
                i = j;
            }
        }
        m_slots[i] = Slot();
        --m_used;
    }

    // Room for n events without growing.
    void reserve(size_t n)
    {
        size_t capacity = 16;
        while (capacity < n * 2)
            capacity *= 2;
        if (capacity > m_slots.size())
            rehash(capacity);
    }

private:
    // Empty without an event.
    struct Slot
    {
        size_t digest = 0;
        CalEvent *event = nullptr;
    };

    void rehash(size_t capacity)
    {
        std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(capacity));
        const size_t mask = capacity - 1;
        for (const Slot &slot : old) {
            if (!slot.event)
                continue;
            size_t i = slot.digest & mask;
            while (m_slots[i].event)
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }

    std::vector<Slot> m_slots; // a power of two long
    size_t m_used = 0;
};
