#include "cacheloader.h"

#include "cacherecord.h"
#include "dialogs.h"
#include "eventkey.h"
#include "fileio.h"
#include "plannerstate.h"
#include "qverror.h"
#include "yield.h"

#include <QSet>

namespace {

void showIndicator(const PlannerState &state, quint32 colour)
{
    if (state.SetUpdateIndicator)
        state.SetUpdateIndicator(colour);
}

// Shares one copy of texts that repeat from record to record (categories above all, subjects of
// recurring items), so a large store holds and frees far fewer strings.
class TextPool
{
public:
    QString take(QString &&text)
    {
        const auto it = m_texts.constFind(text);
        if (it != m_texts.constEnd())
            return *it;
        if (m_texts.size() < kLimit)
            m_texts.insert(text);
        return std::move(text);
    }

private:
    static constexpr qsizetype kLimit = 4096;
    QSet<QString> m_texts;
};

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
    TextPool pool;
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
            if (!reader.read(record))
                throw QvError(reader.errorNumber(), reader.errorDescription());

            auto event = std::make_unique<CalEvent>();
            event->StartDate = record.StartDate;
            event->EndDate = record.EndDate;
            PlaceEvent(*event, state.year);
            if (TouchesPlannerYear(*event) && !record.EventID.isEmpty()) {
                event->EventID = std::move(record.EventID);
                event->Categories = pool.take(std::move(record.Categories));
                event->Subject = pool.take(std::move(record.Subject));
                event->CatIndex = state.categoryIndexOf(event->Categories);
                event->Band = 0;
                const QString key = EventKey(*event);
                fresh->Add(std::move(event), key); // a duplicate key is skipped
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
