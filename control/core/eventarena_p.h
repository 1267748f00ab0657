#pragma once

#include "calevent.h"

#include <QSet>

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

// Where the event store keeps its events: blocks that never move, side by side in the order the
// events came, so that a large store costs a few allocations instead of one per event and is
// read and freed front to back. A place an event leaves is taken by the next one. Events handed
// in on their own keep the address they came with. For the event store only.
class EventArena
{
public:
    EventArena() = default;
    EventArena(const EventArena &) = delete;
    EventArena &operator=(const EventArena &) = delete;

    // A new event in the arena, moved from event.
    CalEvent *emplace(CalEvent &&event)
    {
        CalEvent *place;
        if (!m_vacant.empty()) {
            place = m_vacant.back();
            m_vacant.pop_back();
        } else {
            if (m_blockUsed == kBlockEvents) {
                m_blocks.push_back(std::unique_ptr<Block>(new Block)); // left uninitialised
                m_blockUsed = 0;
            }
            place = reinterpret_cast<CalEvent *>(m_blocks.back()->bytes) + m_blockUsed++;
        }
        return new (place) CalEvent(std::move(event));
    }
    // Takes an event made elsewhere, at its own address.
    CalEvent *adopt(std::unique_ptr<CalEvent> event)
    {
        m_separate.insert(event.get());
        return event.release();
    }
    // Ends an event; keepPlace lets the next one take its place (not when the whole arena goes).
    void destroy(CalEvent *event, bool keepPlace)
    {
        if (!m_separate.isEmpty() && m_separate.remove(event)) {
            delete event;
            return;
        }
        event->~CalEvent();
        if (keepPlace)
            m_vacant.push_back(event);
    }
    void reserve(size_t events) { m_blocks.reserve(events / kBlockEvents + 1); }
    void swap(EventArena &other) noexcept
    {
        std::swap(m_blocks, other.m_blocks);
        std::swap(m_blockUsed, other.m_blockUsed);
        std::swap(m_vacant, other.m_vacant);
        m_separate.swap(other.m_separate);
    }

private:
    static constexpr size_t kBlockEvents = 256;
    struct Block
    {
        alignas(CalEvent) std::byte bytes[kBlockEvents * sizeof(CalEvent)];
    };
    std::vector<std::unique_ptr<Block>> m_blocks;
    size_t m_blockUsed = kBlockEvents; // places taken in the last block
    std::vector<CalEvent *> m_vacant;
    QSet<const CalEvent *> m_separate;
};
