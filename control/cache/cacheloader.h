#pragma once

#include <QString>

#include <functional>
#include <memory>

class BinaryFile;
class EventStore;
class PlannerYear;
struct CalEvent;
struct PlannerState;

// The records of cacheFile that touch the planner year, one at a time, placed on the year as a
// load would place them, without keeping them: for a reader of every year that needs one at a
// time. A missing file has none.
class CachedEvents
{
public:
    CachedEvents(PlannerState &state, const QString &cacheFile);
    ~CachedEvents();
    CachedEvents(const CachedEvents &) = delete;
    CachedEvents &operator=(const CachedEvents &) = delete;

    // The next event, valid until the next call; null at the end of the file, and where it cannot
    // be opened or is damaged, which failed() then says (with the message a load shows).
    const CalEvent *next();
    bool failed() const { return m_failed; }

private:
    struct Reading;
    PlannerState &m_state;
    QString m_name;
    std::unique_ptr<Reading> m_reading;
    bool m_failed = false;
};

// Turns the cache file of the selected year into a fresh event store. Yields to the message loop
// after every record, so a second load can start while one runs: the later call raises the abort
// flag, and whichever load tests the flag first stops (the later one at its first record; the
// earlier one at its next record or at its end, when the later one completed first). At most one
// new store is assigned, a stopped load assigns none, and the flag is down once no load runs.
class CacheLoader
{
public:
    static constexpr qint16 kIdle = 0;
    static constexpr qint16 kLoading = 3;

    // indicate: shows the update indicator's colour while a load runs (may be empty).
    explicit CacheLoader(std::function<void(quint32 colour)> indicate = {})
        : m_indicate(std::move(indicate))
    {
    }

    // Replaces state.store with the records of cacheFile that touch the planner year; a missing
    // file gives an empty store (and is not created). Leaves the store as it was when the file
    // cannot be opened, when the load is aborted and when the file is damaged (a message says
    // so); never assigns a partly read store. True when the store was replaced.
    bool LoadCache(PlannerState &state, const QString &cacheFile);
    // The same for records that are not in the cache file (the year read into memory when the
    // cache cannot be written); reads from the start of the open file and closes it.
    bool LoadRecords(PlannerState &state, BinaryFile &records);

    qint16 loadState() const { return m_loadState; }
    bool abortRaised() const { return m_abort; }

private:
    bool load(PlannerState &state, BinaryFile &file, const QString &name);
    // The records of an open cache file as a new store; null when the load was aborted. Raises
    // QvError for a damaged file.
    std::shared_ptr<EventStore> readRecords(PlannerState &state, BinaryFile &file, int load);

    void indicate(quint32 colour) const
    {
        if (m_indicate)
            m_indicate(colour);
    }

    std::function<void(quint32 colour)> m_indicate;
    qint16 m_loadState = kIdle;
    bool m_abort = false;
    int m_loads = 0;         // loads begun, to tell them apart
    int m_running = 0;       // loads under way, nested in each other's yields
    int m_abortRaisedBy = 0; // the load that raised the flag
};

// The records of cacheFile that touch year, as a store of their own: a year read ahead of the
// one shown while the window idles, placed on its own planner year and never assigned to the
// state. Null when the file cannot be read whole or stop() said so before a record.
std::shared_ptr<EventStore> ReadYearAhead(PlannerState &state, const PlannerYear &year,
                                          const QString &cacheFile,
                                          const std::function<bool()> &stop);
