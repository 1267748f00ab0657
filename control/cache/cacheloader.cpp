#include "cacheloader.h"

#include "cacherecord.h"
#include "dialogs.h"
#include "fileio.h"
#include "plannerstate.h"
#include "qverror.h"
#include "yield.h"


namespace {

void showIndicator(const PlannerState &state, quint32 colour)
{
    if (state.SetUpdateIndicator)
        state.SetUpdateIndicator(colour);
}

} // namespace

void CacheLoader::LoadCache(PlannerState &state, const QString &cacheFile)
{
    showIndicator(state, 0x00FFFF);
    if (m_loadState == kLoading)
        m_abort = true;
    else
        m_loadState = kLoading;

    BinaryFile file = OpenBinaryFile(cacheFile, state.dialogs);
    if (!file.isOpen()) {
        m_loadState = kIdle;
        showIndicator(state, PlannerState::kIdleIndicatorColour);
        return;
    }

    auto fresh = std::make_shared<EventStore>();
    fresh->reserve(state.store->Count()); // a reload is mostly the size it was
    CacheRecordReader reader(file);
    CacheRecord record;
    CacheTextPool pool;
    try {
        for (;;) {
            if (reader.atEnd()) {
                file.close();
                state.store = std::move(fresh);
                m_loadState = kIdle;
                showIndicator(state, PlannerState::kIdleIndicatorColour);
                return;
            }
            if (m_abort) {
                file.close();
                m_loadState = kIdle;
                m_abort = false;
                showIndicator(state, PlannerState::kIdleIndicatorColour);
                return;
            }
            if (!reader.read(record, pool))
                throw QvError(reader.errorNumber(), reader.errorDescription());

            auto event = std::make_unique<CalEvent>();
            event->StartDate = record.StartDate;
            event->EndDate = record.EndDate;
            PlaceEvent(*event, state.year);
            if (TouchesPlannerYear(*event) && !record.EventID.isEmpty()) {
                event->EventID = std::move(record.EventID);
                event->Categories = std::move(record.Categories);
                event->Subject = std::move(record.Subject);
                event->CatIndex = state.categoryIndexOf(event->Categories);
                event->Band = 0;
                fresh->Add(std::move(event)); // a duplicate key is skipped
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
        showIndicator(state, PlannerState::kIdleIndicatorColour);
    }
}
