#pragma once

#include "syncherlink.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

struct CacheFileNames;
struct PlannerState;

// Keeps one planner's cache file current: asks its synchroniser for rebuilds (at refresh, after
// year navigation, on a background timer and after deletions), cancels them, handles their
// reports, and writes the store back after changes it applied itself. The counts keep apart the
// requests, reports and cancels that arrive in each other's yields.
class CacheUpdater : public QObject
{
    Q_OBJECT
public:
    static constexpr int kBackgroundIntervalMs = 50000;
    static constexpr int kCancelYields = 2000;
    // Requests that may meet a pending rebuild before the link is taken for broken.
    static constexpr int kBusyRequestLimit = 4;

    // Makes a new synchroniser; may raise QvError.
    using LinkFactory = std::function<std::unique_ptr<SyncherLink>()>;

    CacheUpdater(PlannerState &state, LinkFactory createLink, QObject *parent = nullptr);
    ~CacheUpdater() override;

    // What a rebuild writes and reads: the cache files of the selected year and the folder. The
    // year, its first month and whether timed appointments count are the state's at each request.
    void setCacheFiles(const CacheFileNames &names);
    void setFolder(const QString &folderId, const QString &storeId);

    // Requests a rebuild; cancelFirst cancels a pending one and waits for it first.
    void StartBackgroundUpdate(bool cancelFirst);
    // 0 nothing was pending, 1 a pending rebuild was cancelled, 2 failure, 3 a cancel was
    // already in progress.
    int CancelBackgroundUpdate();
    // Drops the link and creates a new synchroniser with the planner's AllEvents; may raise
    // QvError (the old link is gone either way, and the next request makes one again).
    void ResetSyncLink();
    // The report of the link's rebuild.
    void WriteComplete(SynchResult result, qint32 error);
    void BackgroundTick();
    // Writes the store to the cache file; cancels a pending rebuild first, since both writers
    // use the same temp file. Falls back to a rebuild when the file cannot be written.
    void WriteBackCache(const CacheFileNames &names);

    // Export stops the timed rebuilds while it runs.
    void setBackgroundTimerEnabled(bool on);

    SyncherLink *link() const { return m_link.get(); }
    int pending() const { return m_pending; }
    int busyRequests() const { return m_busy; }
    int ticks() const { return m_ticks; }
    bool cancelling() const { return m_cancelling; }
    bool backgroundTimerEnabled() const { return m_timer.isActive(); }

signals:
    // A rebuild was asked for: it reads the calendar as it is from now on.
    void rebuildRequested();
    // The cache file was rebuilt: load it, lay the year out and draw it.
    void rebuilt();
    // The cache could not be written (error: the file error): read the year from the calendar
    // into memory and draw it, saying what is wrong once.
    void cacheNotWritten(qint32 error);
    // The update indicator's colour: busy, rebuilding, idle, failed.
    void indicatorChanged(quint32 colour);

private:
    void indicate(quint32 colour) { emit indicatorChanged(colour); }
    void describeRequest(SyncherLink &link) const;

    PlannerState &m_state;
    LinkFactory m_createLink;
    QString m_cacheFile, m_tempFile, m_folderId, m_storeId;
    std::unique_ptr<SyncherLink> m_link;
    qint16 m_pending = 0;
    qint16 m_busy = 0;
    qint16 m_ticks = 0;
    bool m_cancelling = false;
    bool m_linkWanted = false;      // the refresh has made (or tried to make) the first link
    bool m_linkFailureSaid = false; // since the last link that could be made
    QTimer m_timer;
};
