#include "planner.h"

#include "bandlayout.h"
#include "binaryfile.h"
#include "cacherecord.h"
#include "categorystore.h"
#include "dialogs.h"
#include "eventkey.h"
#include "fileerror.h"
#include "gridmetrics.h"
#include "itemchanges.h"
#include "leftoutlist.h"
#include "oadate.h"
#include "plannerview.h"
#include "propertybag.h"
#include "qverror.h"
#include "regio.h"
#include "remotesyncher.h"
#include "yeardrawing.h"
#include "yearrecords.h"
#include "yield.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QUrl>

#include <malloc.h>

const QString Planner::kCategoryPrefix =
    QStringLiteral("PLEASE IGNORE - Quorvel Category Colours: ");

namespace {

QString statusTextOf(quint32 colour)
{
    if (colour == Indicator::kFailed)
        return QStringLiteral("An error occured while synchronising with Outlook, attempting to "
                              "reset and refresh appointment data");
    if (colour == Indicator::kRebuilding)
        return QStringLiteral("Downloading appointment data from Outlook, the year planner will be "
                              "refreshed when this operation is completed");
    return QString();
}

// What the update indicator says while the cache cannot be written.
QString CacheFaultStatus(int error)
{
    if (error == 0)
        return QString();
    return QStringLiteral("The cache file cannot be written (%1): the year is read from the "
                          "calendar, and the cache is tried again at the next update.")
        .arg(FileErrorDescription(error));
}

} // namespace

Planner::Planner(Dialogs &dialogs, QObject *parent) : QObject(parent), m_state(dialogs)
{
    m_syncherFactory = [this](const Store::ProfileOptions &options) {
        return MakeSyncherLink(m_state.dialogs, options);
    };
    CacheUpdater::Hooks hooks;
    hooks.createLink = [this] {
        return m_syncherFactory(m_access ? m_access->session()->options()
                                         : Store::ProfileOptions());
    };
    hooks.describeRequest = [this](SyncherLink &link) {
        link.CalStartYear = m_state.year.selectedYear();
        link.CalStartMonth = m_state.year.startMonth();
        link.CacheFileName = m_cacheFiles.cacheFile;
        link.TempFileName = m_cacheFiles.tempFile;
        link.FolderID = m_access->folderId();
        link.StoreID = m_access->storeId();
    };
    hooks.showCache = [this] {
        if (m_rebuiltYearsHeld)
            return;
        if (std::exchange(m_cacheFault, 0) != 0)
            SetUpdateIndicator(m_indicatorColour);
        loadCache();
        reapplyUnwrittenChanges();
        ArrangeControls();
    };
    hooks.showCalendar = [this](qint32 error) { showCalendarYear(error); };
    m_updater = std::make_unique<CacheUpdater>(m_state, std::move(hooks));
    m_writeBack.setSingleShot(true);
    m_writeBack.setInterval(kWriteBackDelayMs);
    connect(&m_writeBack, &QTimer::timeout, this, &Planner::writeBackAfterChanges);
    m_removalRebuild.setSingleShot(true);
    m_removalRebuild.setInterval(0);
    connect(&m_removalRebuild, &QTimer::timeout, this,
            [this] { m_updater->StartBackgroundUpdate(true); });
    m_state.SetUpdateIndicator = [this](quint32 c) { SetUpdateIndicator(c); };
    m_state.IsFilteredOut = [this](const QString &c) { return m_filter.IsFilteredOut(c); };
}

Planner::~Planner()
{
    // The changes of a last burst. With a rebuild pending they are left to the next start's
    // rebuild (the calendar has them): cancelling it here would wait for the loop.
    if (m_writeBack.isActive() && m_access && m_updater->pending() == 0)
        WriteBackCache();
    // Release the calendar session and the synchroniser link.
    m_items.reset();
    m_updater.reset();
    m_access.reset();
}

void Planner::create()
{
    int step = 1;
    try {
        // 1-3: the calendar client's major version.
        const QString version = Store::Application::shared()->Version();
        step = 2;
        m_client = ClientVersion::of(version);
        step = 3;
        step = 4;
        m_visualStyles = m_view && m_view->visualStylesActive();
        step = 5;
        m_indicatorColour = Indicator::kIdle;
        if (m_view) {
            m_view->applyToolbarColours(m_visualStyles ? 0xFFEDDF : m_view->menuColour(),
                                        m_visualStyles ? 0x723708 : 0x000000);
        }
        step = 6;
        RegIO registry(m_state.dialogs);
        m_weekendColour = WeekendColourOf(m_client, registry);
        step = 7;
        if (m_view)
            m_view->readTwipsPerPixel();
        m_categoryStoreSubject = kCategoryPrefix;
        m_appointmentForm = QStringLiteral("IPM.Appointment");
        m_state.HideNonCategoryItems = false;
        step = 8;
        m_state.ListSeparator = registry.ListSeparator();
        m_state.CategorySeparator = m_state.ListSeparator + QLatin1Char(' ');
        m_filter.setSeparator(m_state.CategorySeparator);
        step = 9;
        const QLocale locale;
        m_names = LoadCalendarNames(locale);
        m_codePage = AnsiCodePageOf(locale);
        SetEventKeyLocale(locale);
        if (m_view)
            m_view->applyFontCharset(m_codePage);
        step = 10;
        if (m_view)
            m_view->placeRefreshButton();
        step = 11;
    } catch (const QvError &e) {
        m_state.dialogs.message(QStringLiteral("Error initialising: %1 %2 Step: %3")
                                    .arg(e.number())
                                    .arg(e.description())
                                    .arg(step));
        // Creation has made no synchroniser link yet; the session goes.
        m_access.reset();
    }
}

void Planner::setFolder(const QString &folder)
{
    m_folder = folder;
    emit propertyChanged(QStringLiteral("Folder"));
}

void Planner::setAllEvents(bool all)
{
    m_state.AllEvents = all;
    emit propertyChanged(QStringLiteral("AllEvents"));
}

void Planner::setDisplaySubject(bool display)
{
    m_state.DisplaySubject = display;
    emit propertyChanged(QStringLiteral("DisplaySubject"));
}

void Planner::setHideNonCategoryItems(bool hide)
{
    m_state.HideNonCategoryItems = hide;
    emit propertyChanged(QStringLiteral("HideNonCategoryItems"));
}

void Planner::setTitleName(const QString &title)
{
    m_state.TitleName = title;
    m_categoryStoreSubject = kCategoryPrefix + title;
    emit propertyChanged(QStringLiteral("TitleName"));
}

void Planner::setAppointmentForm(const QString &form)
{
    m_appointmentForm = form;
    emit propertyChanged(QStringLiteral("AppointmentForm"));
}

void Planner::setStartMonth(qint16 month)
{
    m_state.year.setStartMonth(month); // a month outside 1..12 leaves it as it was
    emit propertyChanged(QStringLiteral("StartMonth"));
}

void Planner::ReadProperties(const PropertyBag &bag)
{
    m_folder = bag.ReadProperty(QStringLiteral("Folder"), QString()).toString();
    m_state.AllEvents = bag.ReadProperty(QStringLiteral("AllEvents"), false).toBool();
    m_state.DisplaySubject = bag.ReadProperty(QStringLiteral("DisplaySubject"), false).toBool();
    setTitleName(
        bag.ReadProperty(QStringLiteral("TitleName"), QStringLiteral("Default")).toString());
    m_state.HideNonCategoryItems =
        bag.ReadProperty(QStringLiteral("HideNonCategoryItems"), false).toBool();
    m_appointmentForm =
        bag.ReadProperty(QStringLiteral("AppointmentForm"), QStringLiteral("IPM.Appointment"))
            .toString();
    m_state.year.setStartMonth(qint16(bag.ReadProperty(QStringLiteral("StartMonth"), 1).toInt()));
    try {
        RefreshPlanner();
    } catch (...) {
        // The sequence reports its own failures.
    }
}

void Planner::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("Folder"), m_folder, QString());
    bag.WriteProperty(QStringLiteral("AllEvents"), m_state.AllEvents, false);
    bag.WriteProperty(QStringLiteral("DisplaySubject"), m_state.DisplaySubject, false);
    bag.WriteProperty(QStringLiteral("TitleName"), m_state.TitleName, QStringLiteral("Default"));
    bag.WriteProperty(QStringLiteral("HideNonCategoryItems"), m_state.HideNonCategoryItems, false);
    bag.WriteProperty(QStringLiteral("AppointmentForm"), m_appointmentForm,
                      QStringLiteral("IPM.Appointment"));
    bag.WriteProperty(QStringLiteral("StartMonth"), int(m_state.year.startMonth()), 1);
}

void Planner::setSelectedYear(int year)
{
    if (m_writeBack.isActive())
        WriteBackCache(); // the changes belong to the cache of the year shown until now
    m_state.year.setSelectedYear(qint16(year));
    if (m_view)
        m_view->showSelectedYear(year);
    if (m_access) {
        m_cacheFiles = MakeCacheFileNames([this] { return m_access->GetCurrentUserName(); }, year,
                                          m_folder, m_state.dialogs);
    }
}

void Planner::loadCache()
{
    m_loader.LoadCache(m_state, m_cacheFiles.cacheFile);
    // The year replaced is freed in many small pieces that the allocator would keep for reuse:
    // a planner reloading its year at every change outside it would otherwise only grow.
    ::malloc_trim(0);
    // What the rebuild that wrote this cache could not read.
    if (QStringList leftOut = ReadLeftOutList(m_cacheFiles.cacheFile); leftOut != m_leftOut) {
        m_leftOut = std::move(leftOut);
        SetUpdateIndicator(m_indicatorColour);
    }
}

void Planner::showCalendarYear(int error)
{
    if (error != m_cacheFault) {
        m_cacheFault = error;
        if (FileErrorMessage(error, m_state.dialogs) == FileErrorAnswer::NotShown)
            m_state.dialogs.message(
                QStringLiteral("An error occured while updating the cache file\n\nError: %1 %2")
                    .arg(error)
                    .arg(FileErrorDescription(error)));
    }
    SetUpdateIndicator(m_indicatorColour);
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
        m_state.dialogs.message(QStringLiteral("Error occured while fetching events.\n\n") +
                                ErrorTail(e));
        return;
    }
    m_loader.LoadRecords(m_state, records);
    m_leftOut = std::move(leftOut);
    SetUpdateIndicator(m_indicatorColour);
    ArrangeControls();
}

void Planner::RefreshPlanner()
{
    // First half: the link to the calendar.
    try {
        setSelectedYear(
            m_state.year.PlannerYearOf(OADate::fromDateTime(QDateTime::currentDateTime())));
        m_categoryStoreSubject = kCategoryPrefix + m_state.TitleName;
        if (m_view)
            m_view->showRefreshCommands(m_client.modern());
        m_access = std::make_unique<CalendarAccess>(
            Store::Application::shared()->GetNamespace(QStringLiteral("MAPI")));
    } catch (const QvError &e) {
        m_state.dialogs.message(QStringLiteral("Could not set up a link to Outlook. Cache will not "
                                               "be updated. Refresh to try again.\n\n") +
                                ErrorTail(e));
        return;
    }

    // Second half: background processing.
    int step = 0;
    try {
        m_access->ResolveFolder(m_folder);
        step = 1;
        subscribe();
        step = 2;
        if (!m_items) {
            m_state.dialogs.message(QStringLiteral("Unable to access specified calendar folder."));
            return;
        }
        setSelectedYear(m_state.year.selectedYear()); // names the cache files
        step = 4;
        CategoryStore(m_state.dialogs, m_access->session(), m_access->folderId(),
                      m_access->storeId())
            .LoadCategories(m_state.categories, m_categoryStoreSubject);
        RebuildCategoryMenu();
        step = 5;
        if (m_view)
            m_view->DrawYear();
        step = 6;
        loadCache();
        step = 7;
        ArrangeControls();
        step = 8;
        YieldToLoop();
        step = 9;
        m_updater->ResetSyncLink();
        step = 10;
        m_updater->link()->AllEvents = m_state.AllEvents;
        step = 11;
        m_updater->StartBackgroundUpdate(false);
        step = 12;
        m_filter.restore(m_state.TitleName);
        ShowFilterState();
        ArrangeControls();
    } catch (const QvError &e) {
        m_state.dialogs.message(
            QStringLiteral("Error while initialising the background processing, "
                           "the cache file will not be updated from the calender "
                           "(Step:%1). \n\n")
                .arg(step) +
            ErrorTail(e));
    }
}

void Planner::ShowFilterState()
{
    const FilterModel::ButtonState state = m_filter.ShowFilterState();
    if (m_view)
        m_view->showFilterState(state.tooltip, state.active);
}

void Planner::subscribe()
{
    m_items.reset();
    Store::ItemsPtr items = m_access->folder()->Items();
    auto changed = [this](const Store::ItemPtr &item) {
        if (item->MessageClass() == m_appointmentForm)
            ApplyItemChange(item);
    };
    connect(items.get(), &Store::Items::ItemAdd, this, changed);
    connect(items.get(), &Store::Items::ItemChange, this, changed);
    // A removal does not say which item went: only a rebuild can tell.
    connect(items.get(), &Store::Items::ItemRemove, &m_removalRebuild, qOverload<>(&QTimer::start));
    m_items = items;
}

void Planner::ReloadPlanner()
{
    loadCache();
    reapplyUnwrittenChanges();
    ArrangeControls();
    m_updater->StartBackgroundUpdate(true);
}

void Planner::ApplyItemChange(const Store::ItemPtr &item)
{
    if (!m_access)
        return;
    bool changed = false;
    try {
        WaitCursor wait(m_state.dialogs);
        changed = ::ApplyItemChange(m_state, *m_access, item, m_categoryStoreSubject);
    } catch (const QvError &) {
        ReloadPlanner();
        return;
    }
    if (changed) {
        ArrangeControls();
        // A sync tool changes files in bursts: one write of the cache for the burst.
        m_unwritten.append(item);
        m_writeBack.start();
    }
}

void Planner::reapplyUnwrittenChanges()
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

void Planner::WriteBackCache()
{
    m_writeBack.stop();
    m_unwritten.clear();
    m_updater->WriteBackCache(m_cacheFiles);
}

void Planner::writeBackAfterChanges()
{
    // A rebuild asked for meanwhile (a file removed) is asked for again instead: it reads every
    // change, the ones it may have missed while it ran included, and writes the cache itself.
    if (m_updater->pending() != 0) {
        m_unwritten.clear();
        m_updater->StartBackgroundUpdate(true);
    } else {
        WriteBackCache();
    }
}

void Planner::ChangeYear(int delta)
{
    setSelectedYear(m_state.year.selectedYear() + delta);
    if (m_view)
        m_view->DrawYear();
    loadCache();
    ArrangeControls();
    m_updater->StartBackgroundUpdate(true);
}

void Planner::SetUpdateIndicator(quint32 colour)
{
    m_indicatorColour = colour;
    QStringList parts{statusTextOf(colour), CacheFaultStatus(m_cacheFault),
                      LeftOutStatus(int(m_leftOut.size()))};
    parts.removeAll(QString());
    const QString text = parts.join(QStringLiteral("  "));
    if (m_view)
        m_view->showUpdateIndicator(colour, text);
    emit StatusChange(text);
}

void Planner::ArrangeControls()
{
    try {
        if (m_view)
            m_view->LayoutLegend();
        ResolveEventCategories(m_state); // against the table of the moment
        CalculateBands(
            *m_state.store, m_state.year, m_state.AllEvents, kScreenMinimumBands,
            [this](const CalEvent &e) { return m_state.isVisible(e); }, m_state.RowBands,
            m_state.dialogs);
        if (m_view)
            m_view->layOutAndDraw();
        m_retries = 0;
    } catch (const std::exception &) {
        // A failed pass is tried again a few times, silently.
        if (m_retries < GridMetrics::kLayoutRetries) {
            ++m_retries;
            ArrangeControls();
        }
    }
}

void Planner::ShowAbout()
{
    Dialogs::About box;
    box.caption = QStringLiteral("About Quorvel");
    box.versionLine = QStringLiteral("Quorvel Version %1.%2 Build %3")
                          .arg(QUORVEL_VERSION_MAJOR)
                          .arg(QUORVEL_VERSION_MINOR)
                          .arg(QUORVEL_VERSION_PATCH);
    box.productLine = QStringLiteral("Quorvel Year Planner");
    box.description = QStringLiteral("The Quorvel for Microsoft Outlook is designed to display "
                                     "events contained in an Outlook calendar within a digital "
                                     "dashboard environment.");
    box.address = HelpPageAddress();
    m_state.dialogs.about(box);
}

void Planner::ShowLeftOutFiles()
{
    if (m_leftOut.isEmpty())
        return;
    m_state.dialogs.report(QStringLiteral("Calendar files left out"),
                           QStringLiteral("The planner does not show these files of the calendar, "
                                          "or not all of them:"),
                           m_leftOut);
}

void Planner::SelectCategory(int position)
{
    m_selectedCategory =
        qint16(position >= 0 && position <= m_state.categories.names.size() ? position : 0);
    if (m_view)
        m_view->DrawLegend();
}

QString HelpPageAddress()
{
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/quorvel/index.html");
    const QString page =
        QFileInfo::exists(installed) ? installed : QStringLiteral(QUORVEL_HELP_PAGE);
    return QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()).toString();
}

void Planner::ShowHelpPage()
{
    m_state.dialogs.openAddress(HelpPageAddress());
}

void Planner::RebuildCategoryMenu()
{
    if (m_view)
        m_view->categoriesChanged();
}
