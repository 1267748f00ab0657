#pragma once

#include "calevent.h"
#include "eventstore.h"

#include <array>
#include <cstddef>

// Adds events to a store a few records after asking the store to bring their place in its
// index near, so that the wait for memory overlaps the reading of the next records. For the
// cache loader only.
class PrefetchingAdder
{
public:
    explicit PrefetchingAdder(EventStore &store) : m_store(store) {}

    // The place for the next event; every field must be set again (it held an earlier one).
    CalEvent &next() { return m_ahead[(m_oldest + m_waiting) % kAhead].event; }
    // Takes the event next() gave, now filled in; a duplicate key is skipped when it is added.
    void add()
    {
        Waiting &w = m_ahead[(m_oldest + m_waiting) % kAhead];
        w.digest = EventStore::KeyDigest(w.event);
        m_store.prefetch(w.digest);
        if (++m_waiting == kAhead)
            addOldest();
    }
    // Adds every event still waiting.
    void flush()
    {
        while (m_waiting)
            addOldest();
    }

private:
    struct Waiting
    {
        CalEvent event;
        size_t digest = 0;
    };
    static constexpr size_t kAhead = 16;

    void addOldest()
    {
        m_store.Add(std::move(m_ahead[m_oldest].event), m_ahead[m_oldest].digest);
        m_oldest = (m_oldest + 1) % kAhead;
        --m_waiting;
    }

    EventStore &m_store;
    std::array<Waiting, kAhead> m_ahead;
    size_t m_oldest = 0, m_waiting = 0;
};
