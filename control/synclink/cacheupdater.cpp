#include "cacheupdater.h"

#include "cachefile.h"
#include "dialogs.h"
#include "plannerstate.h"
#include "qverror.h"
#include "yield.h"

#include <QCoreApplication>

CacheUpdater::CacheUpdater(PlannerState &state, LinkFactory createLink, QObject *parent)
    : QObject(parent), m_state(state), m_createLink(std::move(createLink))
{
    m_timer.setInterval(kBackgroundIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CacheUpdater::BackgroundTick);
}

CacheUpdater::~CacheUpdater()
{
    ReleaseSyncherLink(std::move(m_link));
}

void CacheUpdater::setCacheFiles(const CacheFileNames &names)
{
    m_cacheFile = names.cacheFile;
    m_tempFile = names.tempFile;
}

void CacheUpdater::setFolder(const QString &folderId, const QString &storeId)
{
    m_folderId = folderId;
    m_storeId = storeId;
}

void CacheUpdater::describeRequest(SyncherLink &link) const
{
    link.CalStartYear = m_state.year.selectedYear();
    link.CalStartMonth = m_state.year.startMonth();
    link.AllEvents = m_state.AllEvents; // the window may have switched it since
    link.CacheFileName = m_cacheFile;
    link.TempFileName = m_tempFile;
    link.FolderID = m_folderId;
    link.StoreID = m_storeId;
}

void CacheUpdater::setBackgroundTimerEnabled(bool on)
{
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void CacheUpdater::StartBackgroundUpdate(bool cancelFirst)
{
    // Requests before the refresh has made the link (notifications in its yields) have nowhere
    // to go; the refresh's own request follows.
    if (m_cancelling || !m_linkWanted)
        return;
    bool requested = false;
    try {
        // A link that could not be made is made again at each request, until one is.
        if (!m_link)
            ResetSyncLink();
        if (cancelFirst && m_pending != 0)
            CancelBackgroundUpdate();
        indicate(Indicator::kBusy);
        if (m_pending != 0) {
            if (++m_busy < kBusyRequestLimit)
                return;
            ResetSyncLink();
        } else {
            m_busy = 0;
        }
        ++m_pending;
        requested = true;
        indicate(Indicator::kRebuilding);
        YieldToLoop();
        if (!m_link)
            return; // dropped in the yield; its successor's request is under way
        describeRequest(*m_link);
        emit rebuildRequested();
        m_link->UpdateCache();
        indicate(Indicator::kRebuilding);
    } catch (const QvError &e) {
        // No report will come for a request that was not made.
        if (requested && m_pending > 0)
            --m_pending;
        indicate(Indicator::kIdle);
        // A link that cannot be made is said once, not at every tick that tries again.
        if (m_link || !std::exchange(m_linkFailureSaid, true))
            m_state.dialogs.message(
                QCoreApplication::translate("Messages", "Error setting cache update.\n\n") +
                ErrorTail(e));
    }
}

int CacheUpdater::CancelBackgroundUpdate()
{
    int result = 0;
    try {
        indicate(Indicator::kFailed);
        if (m_cancelling) {
            indicate(Indicator::kIdle);
            return 3;
        }
        m_cancelling = true;
        if (m_pending >= 1) {
            m_link->CancelUpdate();
            for (int i = 0; m_pending >= 1 && i < kCancelYields; ++i)
                YieldAndWait(1);
            if (m_pending >= 1)
                ResetSyncLink();
            result = 1;
        }
    } catch (const QvError &) {
        result = 2;
    }
    // Cleared on failure too: a flag left set would refuse every later request.
    m_cancelling = false;
    indicate(Indicator::kIdle);
    m_timer.start();
    return result;
}

void CacheUpdater::ResetSyncLink()
{
    m_linkWanted = true;
    ReleaseSyncherLink(std::move(m_link));
    m_pending = 0;
    m_link = m_createLink();
    connect(m_link.get(), &SyncherLink::WriteComplete, this, &CacheUpdater::WriteComplete);
    m_link->AllEvents = m_state.AllEvents;
    m_linkFailureSaid = false;
}

void CacheUpdater::WriteComplete(SynchResult result, qint32 error)
{
    try {
        m_pending = qint16(std::max(0, m_pending - 1));
        indicate(Indicator::kIdle);
        m_timer.start();
        QString message;
        switch (result) {
        case SynchWritten:
            emit rebuilt();
            m_timer.start();
            break;
        case SynchTempFileFailed:
            message = QStringLiteral("Unable to open temp file, ") + m_link->TempFileName +
                      QStringLiteral(" for updating");
            break;
        case SynchOldCacheKept:
            message = QStringLiteral("Unable to clear old cache file, ") + m_link->CacheFileName +
                      QStringLiteral(" before updating");
            break;
        case SynchTimerFailed:
            message =
                QStringLiteral("An error starting the background timer, check that the qvtimer "
                               "dll exists.");
            break;
        case SynchRebuildFailed:
            message =
                QStringLiteral("Could not log on to MAPI, probably due to a network problem.  "
                               "Error code: ") +
                QString::number(error);
            break;
        case SynchCancelled:
            return;
        case SynchCacheUnwritable:
            // Not a failed rebuild: the timed rebuilds go on, and one of them may find room.
            emit cacheNotWritten(error);
            return;
        case SynchFetchFailed:
            message = QStringLiteral("Error occured while fetching events.");
            break;
        default:
            message = QStringLiteral("An error occured while updating the cache file");
            break;
        }
        if (!message.isEmpty()) {
            m_timer.stop();
            m_state.dialogs.message(message);
        }
        if (error != 0)
            throw QvError(error, ErrorDescription(error));
    } catch (const QvError &e) {
        m_state.dialogs.message(
            QCoreApplication::translate("Messages", "Reading cache error: %1 %2")
                .arg(e.number())
                .arg(e.description()));
    }
}

void CacheUpdater::BackgroundTick()
{
    if (m_ticks > 10) {
        StartBackgroundUpdate(false);
        m_ticks = 1;
    } else {
        ++m_ticks;
    }
}

void CacheUpdater::WriteBackCache(const CacheFileNames &names)
{
    if (m_pending != 0)
        CancelBackgroundUpdate();
    // A rebuild of this process that yielded to the loop is writing the file: it makes it anew.
    if (CacheNameBusy(names.cacheFile)) {
        StartBackgroundUpdate(false);
        return;
    }
    const CacheWriteResult written = WriteStoreToCache(*m_state.store, names);
    if (written.stage == CacheWriteResult::Done ||
        written.stage == CacheWriteResult::TempNotDeleted)
        return;
    // The file on disk is not the store: let the synchroniser make it again. When it cannot
    // either, its report says why, once, however many changes failed to be written.
    StartBackgroundUpdate(false);
}
