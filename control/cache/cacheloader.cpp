#include "cacheloader.h"

#include "cacherecord.h"
#include "dialogs.h"
#include "fileio.h"
#include "plannerstate.h"
#include "qverror.h"
#include "yield.h"

#include <array>

namespace {

void showIndicator(const PlannerState &state, quint32 colour)
{
    if (state.SetUpdateIndicator)
        state.SetUpdateIndicator(colour);
}

} // namespace

bool CacheLoader::LoadCache(PlannerState &state, const QString &cacheFile)
{
    showIndicator(state, Indicator::kLoading);
    if (m_loadState == kLoading)
        m_abort = true;
    else
        m_loadState = kLoading;

    BinaryFile file = OpenBinaryFile(cacheFile, state.dialogs);
    if (!file.isOpen()) {
        m_loadState = kIdle;
        showIndicator(state, Indicator::kIdle);
        return false;
    }

    auto fresh = std::make_shared<EventStore>();
    fresh->reserve(state.store->Count()); // a reload is mostly the size it was
    CacheRecordReader reader(file);
    CacheRecord record;
    CacheTextPool pool;
    // Category indexes of the texts met so far. Pooled texts share their data, so a text is
    // recognised by where its characters are; the table holds the text, so no other text can
    // come to live there meanwhile. A few places are tried before one is taken over.
    struct KnownIndex
    {
        QString categories;
        qint16 index = 0;
        bool known = false;
    };
    std::array<KnownIndex, 64> known;
    auto indexOf = [&](const QString &categories) {
        const size_t home = (quintptr(categories.constData()) * 0x9E3779B97F4A7C15ull) >> 58;
        for (size_t tried = 0, i = home; tried < 4; ++tried, i = (i + 1) % known.size()) {
            KnownIndex &k = known[i];
            if (k.known && k.categories.constData() == categories.constData() &&
                k.categories.size() == categories.size())
                return k.index;
            if (!k.known) {
                k = {categories, state.categoryIndexOf(categories), true};
                return k.index;
            }
        }
        known[home] = {categories, state.categoryIndexOf(categories), true};
        return known[home].index;
    };
    // Events wait a few records between asking for their place in the index and taking it.
    struct Waiting
    {
        CalEvent event;
        size_t digest = 0;
    };
    constexpr size_t kAhead = 16;
    std::array<Waiting, kAhead> ahead;
    size_t oldest = 0, waiting = 0;
    auto addOldest = [&] {
        // A duplicate key is skipped.
        fresh->Add(std::move(ahead[oldest].event), ahead[oldest].digest);
        oldest = (oldest + 1) % kAhead;
        --waiting;
    };
    try {
        for (;;) {
            if (reader.atEnd()) {
                while (waiting)
                    addOldest();
                file.close();
                state.store = std::move(fresh);
                m_loadState = kIdle;
                showIndicator(state, Indicator::kIdle);
                return true;
            }
            if (m_abort) {
                file.close();
                m_loadState = kIdle;
                m_abort = false;
                showIndicator(state, Indicator::kIdle);
                return false;
            }
            if (!reader.read(record, pool))
                throw QvError(reader.errorNumber(), reader.errorDescription());

            Waiting &next = ahead[(oldest + waiting) % kAhead];
            CalEvent &event = next.event; // a place used before: every field is set again
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
                next.digest = EventStore::KeyDigest(event);
                fresh->prefetch(next.digest);
                if (++waiting == kAhead)
                    addOldest();
            }
            YieldToLoop();
        }
    } catch (const QvError &e) {
        state.dialogs.message(QStringLiteral("Error reading cache file %1.  Error No.: \n\n%2 "
                                             "Error Description: %3")
                                  .arg(cacheFile)
                                  .arg(e.number())
                                  .arg(e.description()));
        file.close();
        m_loadState = kIdle;
        m_abort = false;
        showIndicator(state, Indicator::kIdle);
        return false;
    }
}
