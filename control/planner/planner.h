#pragma once

#include "cachefile.h"
#include "cacheloader.h"
#include "cacheupdater.h"
#include "calendaraccess.h"
#include "clientversion.h"
#include "filtermodel.h"
#include "hitmap.h"
#include "localeservices.h"
#include "plannerstate.h"
#include "syncherlink.h"
#include "viewswitches.h"
#include "yearsession.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class PlannerView;
class PropertyBag;

// One year planner without its window: the state every part of it shares (year, events,
// categories, filter, hit map), its properties, its link to the calendar and to the
// synchroniser, the refresh sequence and the commands. The window (YearPlan), the print preview
// and the export all work on this one object. Lives on the user-interface thread.
// The address of the planner's help page: installed beside the programs, else the one of the
// sources they were built from.
QString HelpPageAddress();

class Planner : public QObject
{
    Q_OBJECT
public:
    using SyncherFactory = YearSession::SyncherFactory;

    static constexpr int kWriteBackDelayMs = YearSession::kWriteBackDelayMs;

    // Messages go to dialogs (not owned).
    explicit Planner(Dialogs &dialogs, QObject *parent = nullptr);
    ~Planner() override;

    // The window that shows the planner (not owned); set before create.
    void setView(PlannerView *view) { m_view = view; }
    // What the control fixes when it is made: the calendar client's version, colours, twips per
    // pixel, separators, the locale's names and fonts. A failure shows its message and step.
    void create();
    // A synchroniser link for the refresh; by default quorvel-sync's, and none without it.
    void setSyncherFactory(SyncherFactory factory)
    {
        m_session->setSyncherFactory(std::move(factory));
    }

    QString Folder() const { return m_folder; }
    void setFolder(const QString &folder);
    bool AllEvents() const { return m_state.AllEvents; }
    void setAllEvents(bool all);
    bool DisplaySubject() const { return m_state.DisplaySubject; }
    void setDisplaySubject(bool display);
    bool HideNonCategoryItems() const { return m_state.HideNonCategoryItems; }
    void setHideNonCategoryItems(bool hide);
    QString TitleName() const { return m_state.TitleName; }
    void setTitleName(const QString &title);
    QString AppointmentForm() const { return m_appointmentForm; }
    void setAppointmentForm(const QString &form);
    qint16 StartMonth() const { return m_state.year.startMonth(); }
    void setStartMonth(qint16 month);
    QString CategoryStoreSubject() const { return m_categoryStoreSubject; }

    // Reads the properties from the host's bag, then runs the refresh sequence.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // The commands.
    void RefreshPlanner();
    void ArrangeControls();
    void ChangeYear(int delta);
    // Loads the cache again, lays out, draws and asks for a rebuild.
    void ReloadPlanner();
    // Brings the store and the drawing up to date for one added or changed item, and the cache
    // file once the changes pause; a failure reloads the planner.
    void ApplyItemChange(const Store::ItemPtr &item);
    void WriteBackCache();
    // Whether changes wait to be written to the cache file.
    bool writeBackPending() const { return m_session->writeBackPending(); }
    // Makes year the selected year and names its cache files, drawing nothing.
    void selectYear(int year) { setSelectedYear(year); }
    // The cache of the selected year into the store, drawing nothing.
    void loadCache();
    // The file error that keeps the cache from being written, 0 when it was written last.
    int cacheFault() const { return m_session->cacheFault(); }
    void SetUpdateIndicator(quint32 colour);
    void ShowFilterState();
    // The window's switches: timed appointments and subjects shown or not, kept for the title.
    // Showing or hiding timed appointments rebuilds the year; subjects are only drawn again.
    ViewSwitches viewSwitches() const
    {
        return {m_state.AllEvents, m_state.DisplaySubject, m_state.WeekNumbers};
    }
    void switchView(const ViewSwitches &view);
    // The calendars of days marked under the year; kept for the title when keep.
    void setMarkSources(const QList<MarkSource> &sources, bool keep);
    void ShowAbout();
    // The calendar files the last rebuild could not read whole, and why.
    const QStringList &leftOutFiles() const { return m_session->leftOutFiles(); }
    void ShowLeftOutFiles();
    // The planner's help page in the desktop's browser.
    void ShowHelpPage();

    // The category picked to draw with: its position in the table, 0 for none. While one is
    // picked the planner is in pen mode: dragging over days creates an appointment of it.
    qint16 SelectedCategory() const { return m_selectedCategory; }
    bool CategorySelectionActive() const { return m_selectedCategory > 0; }
    // Picks a category (0: none) and shows it (DrawLegend).
    void SelectCategory(int position);
    // Brings the appointment menu's category items in line with the table.
    void RebuildCategoryMenu();

    PlannerState &state() { return m_state; }
    const PlannerState &state() const { return m_state; }
    Dialogs &dialogs() const { return m_state.dialogs; }
    HitMap &hitMap() { return m_hits; }
    const HitMap &hitMap() const { return m_hits; }
    const FilterModel &filter() const { return m_state.filter; }
    FilterModel &filter() { return m_state.filter; }
    const CalendarNames &names() const { return m_names; }
    ClientVersion clientVersion() const { return m_client; }
    quint32 weekendColour() const { return m_weekendColour; }
    quint32 indicatorColour() const { return m_indicatorColour; }
    int codePage() const { return m_codePage; }
    // The year of the folder, loaded and kept current.
    YearSession &session() { return *m_session; }
    const CacheFileNames &cacheFiles() const { return m_session->cacheFiles(); }
    // Null before the refresh connected the planner to its calendar.
    const CalendarAccess *access() const { return m_session->access(); }
    CacheUpdater &updater() { return m_session->updater(); }
    // Pending rebuild requests of the synchroniser link.
    int pendingUpdates() const { return m_session->updater().pending(); }

signals:
    void propertyChanged(const QString &name);
    void StatusChange(const QString &Msg);

private:
    void setSelectedYear(int year);

    PlannerState m_state;
    PlannerView *m_view = nullptr;
    HitMap m_hits;
    CalendarNames m_names;

    QString m_folder;
    QString m_appointmentForm = QStringLiteral("IPM.Appointment");
    QString m_categoryStoreSubject;
    ClientVersion m_client;
    bool m_visualStyles = false;
    quint32 m_weekendColour = 0xAAE8EE;
    quint32 m_indicatorColour = Indicator::kIdle;
    int m_codePage = 1252;
    int m_retries = 0;
    qint16 m_selectedCategory = 0;

    std::unique_ptr<YearSession> m_session;
};
