#include "cacheloader.h"

#include "binaryfile.h"
#include "cacherecord.h"
#include "cacherecordpipe_p.h"
#include "categoryindexmemo_p.h"
#include "dialogs.h"
#include "fileerror.h"
#include "plannerstate.h"
#include "prefetchingadder_p.h"
#include "qverror.h"
#include "yield.h"

#include <utility>

namespace {

// No cache yet (nor, perhaps, its directory): the synchroniser's report says what keeps it away.
bool isMissing(int error)
{
    return error == FileError::FileNotFound || error == FileError::PathNotFound;
}

// Each record of an open cache file that touches the planner year, placed on it, in the slot
// next() gives; take(event) keeps it. False when stopped(atEnd) said so before a record or at
// the end of the file. Raises QvError for a damaged file.
template <class Next, class Take, class Stopped>
bool ReadEvents(PlannerState &state, BinaryFile &file, Next next, Take take, Stopped stopped)
{
    CacheRecordPipe records(file);
    CategoryIndexMemo indexOf(
        [&state](const QString &categories) { return state.categoryIndexOf(categories); });
    for (std::vector<CacheRecord> batch = records.next(); !batch.empty(); batch = records.next()) {
        for (CacheRecord &record : batch) {
            if (stopped(false))
                return false;
            CalEvent &event = next();
            event.StartDay = event.EndDay = 0;
            event.StartDate = record.StartDate;
            event.EndDate = record.EndDate;
            PlaceEvent(event, state.year);
            if (TouchesPlannerYear(event) && !record.EventID.isEmpty()) {
                event.EventID = std::move(record.EventID);
                event.Categories = std::move(record.Categories);
                event.Subject = std::move(record.Subject);
                event.CatIndex = indexOf(event.Categories);
                event.Band = 0;
                take(event);
            }
            YieldToLoop();
        }
    }
    if (records.failed())
        throw QvError(records.errorNumber(), records.errorDescription());
    // A load that began in the last record's yield asked this one to stop too.
    return !stopped(true);
}

void ShowReadError(const PlannerState &state, const QString &name, const QvError &e)
{
    state.dialogs.message(QStringLiteral("Error reading cache file %1.  Error No.: \n\n%2 "
                                         "Error Description: %3")
                              .arg(name)
                              .arg(e.number())
                              .arg(e.description()));
}

} // namespace

bool ReadCachedEvents(PlannerState &state, const QString &cacheFile,
                      const std::function<void(const CalEvent &)> &take)
{
    int error = 0;
    BinaryFile file = BinaryFile::openForReading(cacheFile, &error);
    if (!file.isOpen()) {
        if (isMissing(error))
            return true;
        FileErrorMessage(error, state.dialogs);
        return false;
    }
    CalEvent event;
    try {
        return ReadEvents(
            state, file, [&]() -> CalEvent & { return event; }, take, [](bool) { return false; });
    } catch (const QvError &e) {
        ShowReadError(state, cacheFile, e);
        return false;
    }
}

bool CacheLoader::LoadCache(PlannerState &state, const QString &cacheFile)
{
    int error = 0;
    BinaryFile file = BinaryFile::openForReading(cacheFile, &error);
    if (!file.isOpen() && !isMissing(error))
        FileErrorMessage(error, state.dialogs);
    return load(state, file, cacheFile);
}

bool CacheLoader::LoadRecords(PlannerState &state, BinaryFile &records)
{
    if (!records.rewind())
        records.close();
    return load(state, records, records.path());
}

bool CacheLoader::load(PlannerState &state, BinaryFile &file, const QString &name)
{
    indicate(Indicator::kLoading);
    const int load = ++m_loads;
    if (m_running > 0) {
        m_abort = true;
        m_abortRaisedBy = load;
    }
    ++m_running;
    m_loadState = kLoading;

    std::shared_ptr<EventStore> loaded;
    if (file.isOpen()) {
        try {
            loaded = readRecords(state, file, load);
        } catch (const QvError &e) {
            ShowReadError(state, name, e);
            m_abort = false;
        }
        file.close();
    } else if (isMissing(file.lastError())) {
        // A year never rebuilt reads as an empty cache; nothing is created for it.
        loaded = std::make_shared<EventStore>();
    } else if (m_abortRaisedBy == load) {
        m_abort = false; // it makes no change: the load it interrupted goes on
    }
    const bool replaced = loaded != nullptr;
    if (replaced)
        state.store = std::move(loaded);
    // No flag outlives the loads it was raised for: the next load must not stop itself.
    if (--m_running == 0) {
        m_loadState = kIdle;
        m_abort = false;
    }
    indicate(Indicator::kIdle);
    return replaced;
}

std::shared_ptr<EventStore> CacheLoader::readRecords(PlannerState &state, BinaryFile &file,
                                                     int load)
{
    auto fresh = std::make_shared<EventStore>();
    fresh->reserve(state.store->Count()); // a reload is mostly the size it was
    PrefetchingAdder adder(*fresh);
    // Before a record, whichever load tests the flag first stops; at its end, a load stops for
    // a flag another raised (the one that raised it, its file already at its end, completes).
    const auto stopped = [this, load](bool atEnd) {
        if (!m_abort || (atEnd && m_abortRaisedBy == load))
            return false;
        m_abort = false;
        return true;
    };
    const bool read = ReadEvents(
        state, file, [&]() -> CalEvent & { return adder.next(); }, [&](CalEvent &) { adder.add(); },
        stopped);
    if (!read)
        return nullptr;
    adder.flush();
    return fresh;
}
