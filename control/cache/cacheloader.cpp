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

#include <QCoreApplication>
#include <utility>

namespace {

// No cache yet (nor, perhaps, its directory): the synchroniser's report says what keeps it away.
bool isMissing(int error)
{
    return error == FileError::FileNotFound || error == FileError::PathNotFound;
}

auto MemoOfCategories(const PlannerState &state)
{
    return CategoryIndexMemo(
        [&state](const QString &categories) { return state.categoryIndexOf(categories); });
}
using CategoriesMemo = decltype(MemoOfCategories(std::declval<const PlannerState &>()));

// Turns a record into event, placed on the year; false for one that does not touch it.
bool PlaceRecord(CacheRecord &record, CalEvent &event, const PlannerYear &year,
                 CategoriesMemo &indexOf)
{
    event.StartDay = event.EndDay = 0;
    event.StartDate = record.StartDate;
    event.EndDate = record.EndDate;
    PlaceEvent(event, year);
    if (!TouchesPlannerYear(event) || record.EventID.isEmpty())
        return false;
    event.EventID = std::move(record.EventID);
    event.Categories = std::move(record.Categories);
    event.Subject = std::move(record.Subject);
    event.CatIndex = indexOf(event.Categories);
    event.Band = 0;
    return true;
}

// Each record of an open cache file that touches the planner year, placed on it, in the slot
// next() gives; take(event) keeps it. False when stopped(atEnd) said so before a record or at
// the end of the file. Raises QvError for a damaged file.
template <class Next, class Take, class Stopped>
bool ReadEvents(PlannerState &state, const PlannerYear &year, BinaryFile &file, Next next,
                Take take, Stopped stopped)
{
    CacheRecordPipe records(file);
    CategoryIndexMemo indexOf = MemoOfCategories(state);
    for (std::vector<CacheRecord> batch = records.next(); !batch.empty(); batch = records.next()) {
        for (CacheRecord &record : batch) {
            if (stopped(false))
                return false;
            CalEvent &event = next();
            if (PlaceRecord(record, event, year, indexOf))
                take(event);
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
    state.dialogs.message(
        QCoreApplication::translate("Messages", "Error reading cache file %1.  Error No.: \n\n%2 "
                                                "Error Description: %3")
            .arg(name)
            .arg(e.number())
            .arg(e.description()));
}

} // namespace

struct CachedEvents::Reading
{
    explicit Reading(PlannerState &state, BinaryFile opened)
        : file(std::move(opened)), records(file), indexOf(MemoOfCategories(state))
    {
    }
    BinaryFile file;
    CacheRecordPipe records;
    CategoriesMemo indexOf;
    std::vector<CacheRecord> batch;
    size_t at = 0;
    CalEvent event;
};

CachedEvents::CachedEvents(PlannerState &state, const QString &cacheFile)
    : m_state(state), m_name(cacheFile)
{
    int error = 0;
    BinaryFile file = BinaryFile::openForReading(cacheFile, &error);
    if (file.isOpen()) {
        m_reading = std::make_unique<Reading>(state, std::move(file));
    } else if (!isMissing(error)) {
        FileErrorMessage(error, state.dialogs);
        m_failed = true;
    }
}

CachedEvents::~CachedEvents() = default;

const CalEvent *CachedEvents::next()
{
    if (!m_reading)
        return nullptr;
    Reading &r = *m_reading;
    for (;;) {
        if (r.at == r.batch.size()) {
            r.batch = r.records.next();
            r.at = 0;
            if (r.batch.empty())
                break;
        }
        CacheRecord &record = r.batch[r.at++];
        YieldToLoop();
        if (PlaceRecord(record, r.event, m_state.year, r.indexOf))
            return &r.event;
    }
    if (r.records.failed()) {
        ShowReadError(m_state, m_name,
                      QvError(r.records.errorNumber(), r.records.errorDescription()));
        m_failed = true;
    }
    m_reading.reset();
    return nullptr;
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

namespace {

// The records of an open file that touch year, as a new store the size of the one shown; null
// when stopped said so. Raises QvError for a damaged file.
template <class Stopped>
std::shared_ptr<EventStore> ReadStore(PlannerState &state, const PlannerYear &year,
                                      BinaryFile &file, Stopped stopped)
{
    auto fresh = std::make_shared<EventStore>();
    fresh->reserve(state.store->Count()); // a reload is mostly the size it was
    PrefetchingAdder adder(*fresh);
    if (!ReadEvents(
            state, year, file, [&]() -> CalEvent & { return adder.next(); },
            [&](CalEvent &) { adder.add(); }, stopped))
        return nullptr;
    adder.flush();
    return fresh;
}

} // namespace

std::shared_ptr<EventStore> CacheLoader::readRecords(PlannerState &state, BinaryFile &file,
                                                     int load)
{
    // Before a record, whichever load tests the flag first stops; at its end, a load stops for
    // a flag another raised (the one that raised it, its file already at its end, completes).
    return ReadStore(state, state.year, file, [this, load](bool atEnd) {
        if (!m_abort || (atEnd && m_abortRaisedBy == load))
            return false;
        m_abort = false;
        return true;
    });
}

std::shared_ptr<EventStore> ReadYearAhead(PlannerState &state, const PlannerYear &year,
                                          const QString &cacheFile,
                                          const std::function<bool()> &stop)
{
    int error = 0;
    BinaryFile file = BinaryFile::openForReading(cacheFile, &error);
    if (!file.isOpen())
        return nullptr;
    try {
        return ReadStore(state, year, file, [&](bool) { return stop(); });
    } catch (const QvError &) {
        return nullptr; // the load of the year, when it is shown, says what is wrong
    }
}
