#include "planner.h"

#include "bandlayout.h"
#include "categorystore.h"
#include "dialogs.h"
#include "eventkey.h"
#include "fileerror.h"
#include "gridmetrics.h"
#include "leftoutlist.h"
#include "oadate.h"
#include "plannerview.h"
#include "propertybag.h"
#include "qverror.h"
#include "regio.h"
#include "usersettings.h"
#include "yeardrawing.h"
#include "yield.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QUrl>

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

Planner::Planner(Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_state(dialogs), m_session(std::make_unique<YearSession>(m_state))
{
    // A person pages through years: the next one is read while they look at this one.
    m_session->setReadAhead(true);
    connect(m_session.get(), &YearSession::yearChanged, this, &Planner::ArrangeControls);
    connect(m_session.get(), &YearSession::statusChanged, this,
            [this] { SetUpdateIndicator(m_indicatorColour); });
    connect(m_session.get(), &YearSession::categoriesChanged, this, &Planner::RebuildCategoryMenu);
    connect(m_session.get(), &YearSession::indicatorChanged, this, &Planner::SetUpdateIndicator);
}

Planner::~Planner()
{
    m_session->finish();
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
        m_categoryStoreSubject = CategoryStore::kSubjectPrefix;
        m_appointmentForm = QStringLiteral("IPM.Appointment");
        m_state.HideNonCategoryItems = false;
        step = 8;
        m_state.ListSeparator = registry.ListSeparator();
        m_state.CategorySeparator = m_state.ListSeparator + QLatin1Char(' ');
        m_state.filter.setSeparator(m_state.CategorySeparator);
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
        m_state.dialogs.message(
            QCoreApplication::translate("Messages", "Error initialising: %1 %2 Step: %3")
                .arg(e.number())
                .arg(e.description())
                .arg(step));
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
    m_categoryStoreSubject = CategoryStore::kSubjectPrefix + title;
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
    m_session->selectYear(year);
    if (m_view)
        m_view->showSelectedYear(year);
}

void Planner::RefreshPlanner()
{
    // First half: the link to the calendar.
    try {
        setSelectedYear(
            m_state.year.PlannerYearOf(OADate::fromDateTime(QDateTime::currentDateTime())));
        m_categoryStoreSubject = CategoryStore::kSubjectPrefix + m_state.TitleName;
        if (m_view)
            m_view->showRefreshCommands(m_client.modern());
        m_session->connectToStore();
    } catch (const QvError &e) {
        m_state.dialogs.message(
            QCoreApplication::translate("Messages",
                                        "Could not set up a link to Outlook. Cache will not "
                                        "be updated. Refresh to try again.\n\n") +
            ErrorTail(e));
        return;
    }

    // Second half: background processing.
    int step = 0;
    try {
        step = 1;
        const bool opened =
            m_session->openFolder(m_folder, m_appointmentForm, m_categoryStoreSubject, true);
        step = 2;
        if (!opened) {
            m_state.dialogs.message(QCoreApplication::translate(
                "Messages", "Unable to access specified calendar folder."));
            return;
        }
        setSelectedYear(m_state.year.selectedYear()); // names the cache files
        step = 4;
        m_session->loadCategories(m_categoryStoreSubject);
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
        updater().ResetSyncLink();
        step = 10;
        updater().link()->AllEvents = m_state.AllEvents;
        step = 11;
        updater().StartBackgroundUpdate(false);
        step = 12;
        m_state.filter.restore(m_state.TitleName);
        if (const std::optional<ViewSwitches> view = StoredViewSwitches(m_state.TitleName))
            m_state.WeekNumbers = view->weekNumbers;
        m_session->setMarkSources(StoredMarkSources(m_state.TitleName));
        ShowFilterState();
        ArrangeControls();
    } catch (const QvError &e) {
        m_state.dialogs.message(
            QCoreApplication::translate("Messages",
                                        "Error while initialising the background processing, "
                                        "the cache file will not be updated from the calender "
                                        "(Step:%1). \n\n")
                .arg(step) +
            ErrorTail(e));
    }
}

void Planner::ShowFilterState()
{
    const FilterModel::ButtonState state = m_state.filter.ShowFilterState();
    if (m_view)
        m_view->showFilterState(state.tooltip, state.active);
}

void Planner::switchView(const ViewSwitches &view)
{
    const bool rebuild = view.timedAppointments != m_state.AllEvents;
    m_state.AllEvents = view.timedAppointments;
    m_state.DisplaySubject = view.subjects;
    m_state.WeekNumbers = view.weekNumbers;
    emit propertyChanged(QStringLiteral("AllEvents"));
    emit propertyChanged(QStringLiteral("DisplaySubject"));
    if (!StoreViewSwitches(m_state.TitleName, view))
        m_state.dialogs.message(
            QCoreApplication::translate("Messages",
                                        "The view applies now, but it could not be kept for "
                                        "next time: %1 cannot be written.")
                .arg(UserSettings().fileName()),
            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
    ArrangeControls();
    // The cache of the year holds timed appointments only where it was built with them.
    if (rebuild && m_session->access())
        updater().StartBackgroundUpdate(true);
}

void Planner::setMarkSources(const QList<MarkSource> &sources, bool keep)
{
    m_session->setMarkSources(sources);
    if (keep && !StoreMarkSources(m_state.TitleName, sources))
        m_state.dialogs.message(QCoreApplication::translate(
                                    "Messages", "The marked days apply now, but they could not be "
                                                "kept for next time: %1 cannot be written.")
                                    .arg(UserSettings().fileName()),
                                Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
    ArrangeControls();
}

void Planner::ReloadPlanner()
{
    m_session->reload();
}

void Planner::ApplyItemChange(const Store::ItemPtr &item)
{
    m_session->applyItemChange(item);
}

void Planner::WriteBackCache()
{
    m_session->WriteBackCache();
}

void Planner::loadCache()
{
    m_session->loadCache();
}

void Planner::ChangeYear(int delta)
{
    setSelectedYear(m_state.year.selectedYear() + delta);
    if (m_view)
        m_view->DrawYear();
    loadCache();
    ArrangeControls();
    updater().StartBackgroundUpdate(true);
}

void Planner::SetUpdateIndicator(quint32 colour)
{
    m_indicatorColour = colour;
    QStringList parts{statusTextOf(colour), CacheFaultStatus(m_session->cacheFault()),
                      LeftOutStatus(int(m_session->leftOutFiles().size()))};
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
        m_state.RowBands = CalculateBands(
            *m_state.store, m_state.year, m_state.AllEvents, kScreenMinimumBands,
            [this](const CalEvent &e) { return m_state.isVisible(e); }, m_state.dialogs);
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
    if (m_session->leftOutFiles().isEmpty())
        return;
    m_state.dialogs.report(QStringLiteral("Calendar files left out"),
                           QStringLiteral("The planner does not show these files of the calendar, "
                                          "or not all of them:"),
                           m_session->leftOutFiles());
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
    // Where no browser can be started, the click would do nothing visible.
    const QString page = HelpPageAddress();
    if (!m_state.dialogs.openAddress(page))
        m_state.dialogs.message(
            QCoreApplication::translate(
                "Messages", "The help page could not be opened: no web browser could be started. "
                            "It is at %1")
                .arg(QUrl(page).toLocalFile()));
}

void Planner::RebuildCategoryMenu()
{
    if (m_view)
        m_view->categoriesChanged();
}
