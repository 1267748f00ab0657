#include "yearsession.h"

#include "binaryfile.h"
#include "cacherecord.h"
#include "categorycolours.h"
#include "categorystore.h"
#include "dialogs.h"
#include "fileerror.h"
#include "filtermodel.h"
#include "itemchanges.h"
#include "leftoutlist.h"
#include "qverror.h"
#include "regio.h"
#include "remotesyncher.h"
#include "viewswitches.h"
#include "yearrecords.h"
#include "yield.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <malloc.h>
#include <sys/stat.h>

void UsePlannerTitle(PlannerState &state, const QString &title)
{
    state.TitleName = title;
    state.ListSeparator = RegIO(state.dialogs).ListSeparator();
    state.CategorySeparator = state.ListSeparator + QLatin1Char(' ');
    state.filter.setSeparator(state.CategorySeparator);
    state.filter.restore(title);
    if (const std::optional<ViewSwitches> view = StoredViewSwitches(title))
        state.WeekNumbers = view->weekNumbers;
}

YearSession::YearSession(PlannerState &state, QObject *parent)
    : QObject(parent), m_state(state),
      m_loader([this](quint32 colour) { emit indicatorChanged(colour); })
{
    m_syncherFactory = [this](const Store::ProfileOptions &options) {
        return MakeSyncherLink(m_state.dialogs, options);
    };
    m_updater = std::make_unique<CacheUpdater>(m_state, [this] {
        return m_syncherFactory(m_access ? m_access->session()->options()
                                         : Store::ProfileOptions());
    });
    connect(m_updater.get(), &CacheUpdater::rebuildRequested, this,
            [this] { m_unwrittenRead = m_unwritten.size(); });
    connect(m_updater.get(), &CacheUpdater::rebuilt, this, &YearSession::showRebuiltYear);
    connect(m_updater.get(), &CacheUpdater::cacheNotWritten, this, &YearSession::showCalendarYear);
    connect(m_updater.get(), &CacheUpdater::indicatorChanged, this, &YearSession::indicatorChanged);
    m_writeBack.setSingleShot(true);
    m_writeBack.setInterval(kWriteBackDelayMs);
    connect(&m_writeBack, &QTimer::timeout, this, &YearSession::writeBackAfterChanges);
    m_readAheadTimer.setSingleShot(true);
    m_readAheadTimer.setInterval(kReadAheadDelayMs);
    connect(&m_readAheadTimer, &QTimer::timeout, this, &YearSession::readAhead);
    m_removalRebuild.setSingleShot(true);
    m_removalRebuild.setInterval(0);
    connect(&m_removalRebuild, &QTimer::timeout, this,
            [this] { m_updater->StartBackgroundUpdate(true); });
}

YearSession::~YearSession()
{
    // The calendar session and the synchroniser link go; nothing is written on the way out.
    m_items.reset();
    m_updater.reset();
    m_access.reset();
}

YearSession::OtherYears::OtherYears(YearSession &session)
    : m_session(session), m_shownYear(session.m_state.year.selectedYear()),
      m_timerWasOn(session.m_updater->backgroundTimerEnabled())
{
    m_session.m_updater->CancelBackgroundUpdate();
    m_session.m_updater->setBackgroundTimerEnabled(false);
    m_session.m_rebuiltYearsHeld = true;
}

YearSession::OtherYears::~OtherYears()
{
    m_session.m_rebuiltYearsHeld = false;
    m_session.selectYear(m_shownYear);
    m_session.m_updater->setBackgroundTimerEnabled(m_timerWasOn);
}

QString YearSession::OtherYears::cacheOf(int year, bool waitForRebuild)
{
    constexpr int kRebuildWaitMs = 120000;
    m_session.selectYear(year);
    const QString cache = m_session.m_cacheFiles.cacheFile;
    CacheUpdater &updater = *m_session.m_updater;
    const bool fresh = !QFileInfo::exists(cache);
    // The year before is read already: a rebuild of it still under way gives way to this one's.
    updater.StartBackgroundUpdate(true);
    if (waitForRebuild || fresh) {
        // A year never opened has no cache yet: its rebuild is the only way to its appointments.
        QElapsedTimer waited;
        waited.start();
        while (updater.pending() > 0 && waited.elapsed() < kRebuildWaitMs)
            YieldAndWait(10);
    }
    return cache;
}

bool YearSession::readingFirstTime() const
{
    return m_updater->pending() > 0 && !m_cacheFiles.cacheFile.isEmpty() &&
           !QFileInfo::exists(m_cacheFiles.cacheFile);
}

void YearSession::finish()
{
    // The changes of a last burst. With a rebuild pending they are left to the next start's
    // rebuild (the calendar has them): cancelling it here would wait for the loop.
    if (m_writeBack.isActive() && m_access && m_updater->pending() == 0)
        WriteBackCache();
}

void YearSession::connectToStore()
{
    m_access = std::make_unique<CalendarAccess>(
        Store::Application::shared()->GetNamespace(QStringLiteral("MAPI")));
}

bool YearSession::openFolder(const QString &folder, const QString &appointmentForm,
                             const QString &categoryStoreSubject, bool listen)
{
    m_items.reset();
    m_folder = folder;
    m_categoryStoreSubject = categoryStoreSubject;
    m_access->ResolveFolder(folder);
    m_updater->setFolder(m_access->folderId(), m_access->storeId());
    Store::ItemsPtr items = m_access->folder()->Items();
    if (!items)
        return false;
    if (!listen)
        return true;
    auto changed = [this, appointmentForm](const Store::ItemPtr &item) {
        if (item->MessageClass() == appointmentForm)
            applyItemChange(item);
    };
    connect(items.get(), &Store::Items::ItemAdd, this, changed);
    connect(items.get(), &Store::Items::ItemChange, this, changed);
    // A removal does not say which item went: only a rebuild can tell.
    connect(items.get(), &Store::Items::ItemRemove, &m_removalRebuild, qOverload<>(&QTimer::start));
    m_items = items;
    return true;
}

void YearSession::loadCategories(const QString &subject)
{
    m_defaultCategories = !CategoryStore(m_state.dialogs, m_access->session(), m_access->folderId(),
                                         m_access->storeId())
                               .LoadCategories(m_state.categories, subject);
}

void YearSession::takeCategoriesInUse()
{
    if (!m_defaultCategories || !m_access)
        return;
    const QStringList used = CategoriesInUse(*m_state.store, m_state.ListSeparator);
    if (used.isEmpty())
        return;
    // The catch-all in the calendar's own colour, where it has one.
    std::optional<quint32> own;
    try {
        own = ColourOfHexText(Store::CollectionColour(m_access->folder()->directory()));
    } catch (const QvError &) {
    }
    m_state.categories = CategoryTableOfUse(used, own);
    ResolveEventCategories(m_state); // the loaded events were placed in the default table
    m_defaultCategories = false;
    emit categoriesChanged();
}

void YearSession::setMarkSources(const QList<MarkSource> &sources)
{
    m_markSources = sources;
    loadMarks(true);
}

void YearSession::loadMarks(bool sayProblems)
{
    if (m_markSources.isEmpty()) {
        m_state.marks = std::make_shared<DayMarks>();
        return;
    }
    const QDate from(m_state.year.selectedYear(), m_state.year.startMonth(), 1);
    QStringList problems;
    m_state.marks = std::make_shared<DayMarks>(
        LoadDayMarks(m_markSources, from, from.addMonths(12).addDays(-1),
                     m_access ? m_access->session().get() : nullptr, &problems));
    if (sayProblems && !problems.isEmpty())
        m_state.dialogs.message(
            QCoreApplication::translate("Messages", "Some days cannot be marked: %1")
                .arg(problems.join(QStringLiteral("; "))),
            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
}

void YearSession::selectYear(int year)
{
    if (m_writeBack.isActive())
        WriteBackCache(); // the changes belong to the cache of the year shown until now
    if (year != m_state.year.selectedYear())
        m_direction = year > m_state.year.selectedYear() ? 1 : -1;
    m_state.year.setSelectedYear(qint16(year));
    loadMarks(false);
    if (m_access) {
        m_cacheFiles = MakeCacheFileNames([this] { return m_access->GetCurrentUserName(); }, year,
                                          m_folder, m_state.dialogs);
        m_updater->setCacheFiles(m_cacheFiles);
    }
}

YearSession::FileStamp YearSession::stampOf(const QString &file)
{
    struct stat st;
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return {};
    // Files are replaced by rename: a rewritten cache is another inode.
    return {quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void YearSession::loadCache()
{
    const QString file = m_cacheFiles.cacheFile;
    const qint16 year = m_state.year.selectedYear(), startMonth = m_state.year.startMonth();
    // A year change keeps the year left; the changes told meanwhile were written back to its
    // file when it was left, so the store and the file agree.
    std::optional<LoadedYear> left;
    if (!m_shown.file.isEmpty() && m_shown.file != file && m_unwritten.isEmpty()) {
        left = m_shown;
        left->store = m_state.store;
        left->stamp = stampOf(m_shown.file);
    }
    ++m_aheadGeneration;
    const FileStamp stamp = stampOf(file);
    const auto holds = [&](const std::optional<LoadedYear> &y) {
        return y && y->holds(file, year, startMonth, stamp);
    };
    bool loaded = true;
    if (holds(m_kept)) {
        m_state.store = std::move(m_kept->store);
        m_kept.reset();
    } else if (holds(m_ahead)) {
        m_state.store = std::move(m_ahead->store);
        m_ahead.reset();
    } else {
        loaded = m_loader.LoadCache(m_state, file);
    }
    if (left)
        m_kept = std::move(left);
    m_shown = loaded ? LoadedYear{file, year, startMonth, nullptr, stamp} : LoadedYear{};
    if (m_readAheadOn)
        m_readAheadTimer.start();
    takeCategoriesInUse();
    // The year replaced is freed in many small pieces that the allocator would keep for reuse:
    // a planner reloading its year at every change outside it would otherwise only grow.
    ::malloc_trim(0);
    // What the rebuild that wrote this cache could not read.
    if (QStringList leftOut = ReadLeftOutList(m_cacheFiles.cacheFile); leftOut != m_leftOut) {
        m_leftOut = std::move(leftOut);
        emit statusChanged();
    }
}

void YearSession::readAhead()
{
    if (!m_access || m_rebuiltYearsHeld || m_shown.file.isEmpty())
        return;
    const int year = m_state.year.selectedYear() + m_direction;
    const qint16 startMonth = m_state.year.startMonth();
    const QString file = MakeCacheFileNames([this] { return m_access->GetCurrentUserName(); }, year,
                                            m_folder, m_state.dialogs)
                             .cacheFile;
    const FileStamp stamp = stampOf(file);
    const auto holds = [&](const std::optional<LoadedYear> &y) {
        return y && y->holds(file, qint16(year), startMonth, stamp);
    };
    if (stamp.size < 0 || holds(m_kept) || holds(m_ahead))
        return; // never rebuilt, or in memory already
    const int generation = m_aheadGeneration;
    std::shared_ptr<EventStore> store =
        ReadYearAhead(m_state, PlannerYear(qint16(year), startMonth), file,
                      [&] { return generation != m_aheadGeneration; });
    // A load that began while it read (a year change in one of its yields) stopped it.
    if (store && generation == m_aheadGeneration && stampOf(file) == stamp)
        m_ahead = LoadedYear{file, qint16(year), startMonth, std::move(store), stamp};
}

void YearSession::showRebuiltYear()
{
    if (m_rebuiltYearsHeld)
        return;
    if (std::exchange(m_cacheFault, 0) != 0)
        emit statusChanged();
    loadCache();
    // The changes told before it was asked for are in the rebuilt year: applied again, one that
    // a later change undid (a file changed, then removed) would come back.
    m_unwritten.remove(0, std::exchange(m_unwrittenRead, 0));
    if (m_unwritten.isEmpty())
        m_writeBack.stop();
    reapplyUnwrittenChanges();
    emit yearChanged();
}

void YearSession::showCalendarYear(int error)
{
    if (error != m_cacheFault) {
        m_cacheFault = error;
        if (FileErrorMessage(error, m_state.dialogs) == FileErrorAnswer::NotShown)
            m_state.dialogs.message(
                QCoreApplication::translate(
                    "Messages", "An error occured while updating the cache file\n\nError: %1 %2")
                    .arg(error)
                    .arg(FileErrorDescription(error)));
    }
    emit statusChanged();
    if (!m_access)
        return;
    // The records the cache would hold, kept in memory: the loader reads them as it would the
    // file, so the year looks the same.
    BinaryFile records = BinaryFile::inMemory(QStringLiteral("planner year"));
    if (!records.isOpen())
        return;
    const qint16 year = m_state.year.selectedYear();
    const YearRequest request{
        m_access->folderId(),      m_access->storeId(), year,
        m_state.year.startMonth(), m_state.AllEvents,   m_state.ListSeparator};
    CacheRecordWriter writer(records);
    QStringList leftOut;
    try {
        WaitCursor wait(m_state.dialogs);
        // The user may go to another year meanwhile: its own rebuild follows.
        const auto sameYear = [this, year] {
            YieldToLoop();
            return m_state.year.selectedYear() == year;
        };
        if (!WriteYearRecords(*m_access->session(), request, writer, sameYear, &leftOut) ||
            !writer.flush())
            return;
    } catch (const QvError &e) {
        m_state.dialogs.message(
            QCoreApplication::translate("Messages", "Error occured while fetching events.\n\n") +
            ErrorTail(e));
        return;
    }
    m_loader.LoadRecords(m_state, records);
    m_shown = {}; // from no file: nothing to keep
    takeCategoriesInUse();
    m_leftOut = std::move(leftOut);
    emit statusChanged();
    emit yearChanged();
}

void YearSession::reload()
{
    loadCache();
    reapplyUnwrittenChanges();
    emit yearChanged();
    m_updater->StartBackgroundUpdate(true);
}

void YearSession::applyItemChange(const Store::ItemPtr &item)
{
    if (!m_access)
        return;
    bool changed = false;
    try {
        WaitCursor wait(m_state.dialogs);
        changed = ::ApplyItemChange(m_state, *m_access, item, m_categoryStoreSubject);
    } catch (const QvError &) {
        reload();
        return;
    }
    if (changed) {
        // A sync tool changes files in bursts: one write of the cache for the burst.
        m_unwritten.append(item);
        m_writeBack.start();
        emit yearChanged();
    }
}

void YearSession::reapplyUnwrittenChanges()
{
    // A cache loaded while changes wait to be written back may have been rebuilt before them:
    // they are applied again, and the write-back that follows keeps them.
    if (!m_access || !m_writeBack.isActive())
        return;
    for (const Store::ItemPtr &item : std::as_const(m_unwritten)) {
        try {
            ::ApplyItemChange(m_state, *m_access, item, m_categoryStoreSubject);
        } catch (const QvError &) {
            // Its rebuild, asked for when the write-back finds one pending, reads it anew.
        }
    }
}

void YearSession::WriteBackCache()
{
    m_writeBack.stop();
    m_unwritten.clear();
    m_unwrittenRead = 0;
    m_updater->WriteBackCache(m_cacheFiles);
}

void YearSession::writeBackAfterChanges()
{
    // A rebuild asked for meanwhile (a file removed) is asked for again instead: it reads every
    // change, the ones it may have missed while it ran included, and writes the cache itself.
    if (m_updater->pending() != 0) {
        m_unwritten.clear();
        m_unwrittenRead = 0;
        m_updater->StartBackgroundUpdate(true);
    } else {
        WriteBackCache();
    }
}
