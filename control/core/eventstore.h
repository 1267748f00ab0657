#pragma once

#include "calevent.h"
#include "digestindex_p.h"
#include "eventarena_p.h"

#include <QHash>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

// The ordered, keyed collection of every event the planner shows, prints and exports. Positions
// are 1-based; keys are unique and compared without regard to letter case. The store owns its
// events; nobody keeps a pointer to one across a yield.
class EventStore
{
public:
    EventStore() = default;
    ~EventStore();
    EventStore(const EventStore &) = delete;
    EventStore &operator=(const EventStore &) = delete;
    EventStore(EventStore &&other) noexcept;
    EventStore &operator=(EventStore &&other) noexcept;
    void swap(EventStore &other) noexcept;

    int Count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }

    // position in [1, Count()].
    CalEvent &Item(int position);
    const CalEvent &Item(int position) const;
    // The event under key, or null.
    CalEvent *Find(const QString &key);
    bool Contains(const QString &key) const;

    // Appends under key; false (and nothing added) when the key is taken.
    bool Add(std::unique_ptr<CalEvent> event, const QString &key);
    // Appends under EventKey(*event), which is worked out only when it must be compared: the
    // event's StartDate and EventID must stay as they are while it is in the store.
    bool Add(std::unique_ptr<CalEvent> event);
    // Inserts before position (Count() + 1 appends); false when the key is taken.
    bool InsertBefore(int position, std::unique_ptr<CalEvent> event, const QString &key);
    bool InsertBefore(int position, std::unique_ptr<CalEvent> event);

    // For loading many events: the digest of an event's own key, a hint to bring its place in
    // the index near, and Add with that digest (which must be KeyDigest(event)), taking the
    // event's values into the store. A loader that asks for a few places ahead of adding waits
    // for memory once, not once per event.
    static size_t KeyDigest(const CalEvent &event);
    void prefetch(size_t digest) const;
    bool Add(CalEvent &&event, size_t digest);
    bool Remove(const QString &key);
    // Removes every event whose EventID equals id (exact text); the number removed.
    int RemoveIf(const QString &id);

    void reserve(int n);
    // A store of copies of these events under the same keys, in the same order: for a pass that
    // must not see later changes, such as a print preview.
    EventStore clone() const;

    // The two fields worked out from the table and the layout, which the key does not include,
    // set on an event of this store (met while iterating it).
    void SetBand(const CalEvent &event, qint32 band);
    void SetCatIndex(const CalEvent &event, qint16 index);

private:
    struct Entry
    {
        CalEvent *event; // in m_arena
        size_t digest;
    };
    using Entries = std::vector<Entry>;

    bool insert(int position, std::unique_ptr<CalEvent> event, const QString &key, size_t digest);
    // The place of the index for a new event under this key, or DigestIndex::kTaken.
    size_t vacantSlot(const CalEvent &event, const QString &key, size_t digest);
    void link(int position, size_t slot, CalEvent *event, const QString &key, size_t digest);
    // The event under the key with this digest and text, or null.
    CalEvent *find(size_t digest, const QString &key) const;
    QString keyOf(const CalEvent &event) const;
    void unindex(size_t digest, const CalEvent *event);

public:
    class const_iterator
    {
    public:
        using Inner = Entries::const_iterator;
        explicit const_iterator(Inner it) : m_it(it) {}
        const CalEvent &operator*() const { return *m_it->event; }
        const CalEvent *operator->() const { return m_it->event; }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator==(const const_iterator &o) const { return m_it == o.m_it; }

    private:
        Inner m_it;
    };
    // In store order. Adding or removing events ends every iteration under way.
    const_iterator begin() const { return const_iterator(m_entries.begin()); }
    const_iterator end() const { return const_iterator(m_entries.end()); }

private:
    EventArena m_arena;
    Entries m_entries; // in store order
    // On key digests that ignore letter case; texts are compared only where digests match.
    DigestIndex m_index;
    // The keys given as text; every other event's key is its EventKey.
    QHash<const CalEvent *, QString> m_textKeys;
};

// Adds event before the first one that starts at the same time or later (so it goes before
// events with the same start), or at the end. False when its key is taken.
bool InsertEventSorted(EventStore &store, std::unique_ptr<CalEvent> event);
// The same for the occurrences of one recurring item, which arrive in ascending start: the walk
// begins at *from (1-based) and *from is left at the position of the inserted event.
bool InsertEventSorted(EventStore &store, std::unique_ptr<CalEvent> event, int *from);
// Removes every event of the entry identifier id.
void RemoveEventsOf(EventStore &store, const QString &id);
