#pragma once

#include "cachefile.h"
#include "cacheloader.h"
#include "cacheupdater.h"
#include "calendaraccess.h"
#include "marksources.h"
#include "plannerstate.h"
#include "syncherlink.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

// What a year outside the planner's window takes of the planner of a title: the user's list and
// category separators, and the filter the planner keeps for the title (in state.filter), so
// that the year hides what the window hides.
void UsePlannerTitle(PlannerState &state, const QString &title);

// One year of one calendar folder, loaded and kept current, without a window: the calendar
// access, the category table's load, the cache file's names and load, the synchroniser's
// rebuilds and their timers, the write-back of changes the calendar tells, and the year read
// into memory when the cache cannot be written. The window's planner, the export and the tools
// each open one; what it loads goes into the shared PlannerState's store, and it says so by its
// signals. Lives on the user-interface thread.
class YearSession : public QObject
{
    Q_OBJECT
public:
    // Creates a synchroniser link; may raise QvError.
    using SyncherFactory =
        std::function<std::unique_ptr<SyncherLink>(const Store::ProfileOptions &)>;
    // Changes told by the calendar within this time of each other are written to the cache once.
    static constexpr int kWriteBackDelayMs = 300;

    explicit YearSession(PlannerState &state, QObject *parent = nullptr);
    ~YearSession() override;

    // The synchroniser a rebuild asks; by default quorvel-sync's, and none without it.
    void setSyncherFactory(SyncherFactory factory) { m_syncherFactory = std::move(factory); }

    // Connects to the calendar store ("MAPI"); raises QvError.
    void connectToStore();
    // Finds the folder and, when listen, subscribes to its item notifications: an item added
    // or changed whose message class is appointmentForm is applied to the store at once (the
    // category table's item, of categoryStoreSubject, aside), a removal asks for a rebuild.
    // False when the folder's items cannot be had.
    bool openFolder(const QString &folder, const QString &appointmentForm,
                    const QString &categoryStoreSubject, bool listen);
    // Reads the category table of the folder into the state (subject: the table item's). A
    // folder that keeps none starts from the categories its appointments use, once a loaded year
    // has any (nothing is written to the folder until the table is edited).
    void loadCategories(const QString &subject);
    // The calendars of days marked under the year: their marks are read for each year selected
    // (and now), what cannot be read said once.
    void setMarkSources(const QList<MarkSource> &sources);
    const QList<MarkSource> &markSources() const { return m_markSources; }
    // Makes year the selected year and names its cache files; changes that wait to be written
    // back go to the cache of the year before first, while it is still the selected one.
    void selectYear(int year);
    // The cache of the selected year into the store, and what its rebuild left out.
    void loadCache();
    // The cache loaded again (changes not yet written back applied again over it), shown, and a
    // rebuild asked for: the recovery of a failed operation and the refresh button's.
    void reload();
    // Brings the store up to date for one added or changed item and shows it, and the cache
    // file once the changes pause; a failure reloads.
    void applyItemChange(const Store::ItemPtr &item);
    void WriteBackCache();
    bool writeBackPending() const { return m_writeBack.isActive(); }
    // For reading years other than the one shown (an export): while it lives the rebuild under
    // way is cancelled, timed rebuilds pause, and rebuilt years are neither loaded nor shown; at
    // its end the year selected before is selected again and the timer runs as it did.
    class OtherYears
    {
    public:
        explicit OtherYears(YearSession &session);
        ~OtherYears();
        OtherYears(const OtherYears &) = delete;
        OtherYears &operator=(const OtherYears &) = delete;

        // Selects year and asks for its rebuild; where its cache is missing, or always with
        // waitForRebuild, waits for it (two minutes at most). The cache file to read.
        QString cacheOf(int year, bool waitForRebuild);

    private:
        YearSession &m_session;
        int m_shownYear;
        bool m_timerWasOn;
    };
    // Writes what waits to be written back when no rebuild is pending (at the end of a planner).
    void finish();
    // A window's session reads the next year (in the direction of the last change) into memory
    // once the year shown has been still for a while, so that the change to it needs no read.
    void setReadAhead(bool on) { m_readAheadOn = on; }
    static constexpr int kReadAheadDelayMs = 1200;

    const CacheFileNames &cacheFiles() const { return m_cacheFiles; }
    // Null before the session connected to its calendar.
    const CalendarAccess *access() const { return m_access.get(); }
    CacheUpdater &updater() { return *m_updater; }
    const CacheUpdater &updater() const { return *m_updater; }
    // The file error that keeps the cache from being written, 0 when it was written last.
    int cacheFault() const { return m_cacheFault; }
    // The calendar files the last rebuild could not read whole, and why.
    const QStringList &leftOutFiles() const { return m_leftOut; }
    // The selected year has no cache yet and its first rebuild is under way: nothing to show
    // until it reports, which the window says.
    bool readingFirstTime() const;
    // Whether listening for the folder's changes.
    bool listening() const { return m_items != nullptr; }

signals:
    // The store holds a year loaded anew (a rebuilt cache, the year read into memory) or changed
    // by the calendar: lay it out and draw it.
    void yearChanged();
    // What the status says beside the indicator changed (the cache fault, the files left out).
    void statusChanged();
    // The category table was made anew from the categories in use.
    void categoriesChanged();
    // The update indicator's colour: loading, rebuilding, idle, failed.
    void indicatorChanged(quint32 colour);

private:
    void reapplyUnwrittenChanges();
    void showRebuiltYear();
    void takeCategoriesInUse();
    // The year read from the calendar into memory, when the cache cannot be written for error.
    void showCalendarYear(int error);
    void writeBackAfterChanges();

    void loadMarks(bool sayProblems);

    // Which cache file the store holds, as the file was when read: the year left is kept in
    // memory, and a change back to it while its file is unchanged takes it without a read.
    struct FileStamp
    {
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds
        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const QString &file);
    struct LoadedYear
    {
        QString file;
        qint16 year = 0;
        qint16 startMonth = 0;
        std::shared_ptr<EventStore> store;
        FileStamp stamp;
        // Whether this is the year of file as it is now (stamp), placed from startMonth.
        bool holds(const QString &f, qint16 y, qint16 m, const FileStamp &now) const
        {
            return file == f && year == y && startMonth == m && stamp == now && now.size >= 0;
        }
    };
    LoadedYear m_shown;                // file empty: the store came from no cache file
    std::optional<LoadedYear> m_kept;  // the year shown before the last change
    std::optional<LoadedYear> m_ahead; // the year read ahead
    void readAhead();
    bool m_readAheadOn = false;
    QTimer m_readAheadTimer;
    int m_direction = 1;       // of the last year change
    int m_aheadGeneration = 0; // a read ahead stops when a load starts

    PlannerState &m_state;
    QList<MarkSource> m_markSources;
    CacheLoader m_loader;
    std::unique_ptr<CalendarAccess> m_access;
    Store::ItemsPtr m_items;
    QString m_folder;
    QString m_categoryStoreSubject;
    CacheFileNames m_cacheFiles;
    SyncherFactory m_syncherFactory;
    std::unique_ptr<CacheUpdater> m_updater;
    QStringList m_leftOut;
    int m_cacheFault = 0;
    bool m_rebuiltYearsHeld = false;
    bool m_defaultCategories = false; // the folder keeps no table: the default one is shown
    QTimer m_writeBack;
    // The items whose changes are in the store but not yet in the cache file.
    QList<Store::ItemPtr> m_unwritten;
    // How many of them were told before the last rebuild was asked for: that rebuild has them.
    qsizetype m_unwrittenRead = 0;
    // One rebuild for the removals the store tells at once: each request cancels the one before.
    QTimer m_removalRebuild;
};
