#pragma once

#include "calendaraccess.h"
#include "cachefile.h"
#include "cacheloader.h"
#include "cacheupdater.h"
#include "filtermodel.h"
#include "localefont.h"
#include "plannerstate.h"
#include "propertybag.h"
#include "yeardrawing.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;
class QToolButton;
class CanvasWidget;

// The year planner: one calendar folder as twelve month rows of 37 weekday-aligned day columns,
// every appointment a bar in its category's colour. A host creates it, hands it its stored
// properties (ReadProperties), and it connects to the calendar, draws the cached year and keeps
// it current.
class YearPlan : public QWidget
{
    Q_OBJECT
public:
    // Creates a synchroniser link; may raise QvError.
    using SyncherFactory = std::function<std::unique_ptr<SyncherLink>(const Store::ProfileOptions &)>;

    // dialogs: where messages go (a desktop message box when null).
    explicit YearPlan(QWidget *parent = nullptr, Dialogs *dialogs = nullptr);
    ~YearPlan() override;

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

    void RefreshPlanner();
    void ArrangeControls();
    void ChangeYear(int delta);
    // Loads the cache again, lays out, draws and asks for a rebuild.
    void ReloadPlanner();
    // Brings the store, the drawing and the cache file up to date for one added or changed
    // item; a failure reloads the planner.
    void ApplyItemChange(const Store::ItemPtr &item);
    void WriteBackCache();
    void SetUpdateIndicator(quint32 colour);
    // Brings the category items of the appointment menu ("New Appointment") in line with the
    // category table: one item per category, captioned with its name.
    void RebuildCategoryMenu();

    void setSyncherFactory(SyncherFactory factory) { m_syncherFactory = std::move(factory); }

    // For hosts and tests.
    PlannerState &state() { return m_state; }
    const GridGeometry &geometry() const { return m_geometry; }
    const HitMap &hitMap() const { return m_hits; }
    const FilterModel &filter() const { return m_filter; }
    int outlookMajorVersion() const { return m_outlookMajor; }
    quint32 weekendColour() const { return m_weekendColour; }
    const CacheFileNames &cacheFiles() const { return m_cacheFiles; }
    QScrollBar *gridScrollBar() const { return m_gridScroll; }
    CanvasWidget *gridCanvas() const { return m_grid; }
    CanvasWidget *monthColumn() const { return m_monthColumn; }
    QToolBar *toolBar() const { return m_toolbar; }
    QLabel *yearLabel() const { return m_yearLabel; }
    QMenu *appointmentMenu() const { return m_popup; }
    QMenu *newAppointmentMenu() const { return m_newMenu; }
    double px() const { return m_px; }
    double py() const { return m_py; }
    // Pending rebuild requests of the synchroniser link.
    int pendingUpdates() const { return m_updater->pending(); }
    CacheUpdater &updater() { return *m_updater; }

signals:
    void propertyChanged(const QString &name);
    void StatusChange(const QString &Msg);
    // After every drawing of the year and its appointments.
    void yearDrawn();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void create();
    void buildChildren();
    void drawEverything();
    void setSelectedYear(int year);
    void subscribe();
    void ShowFilterState();
    double toolbarHeightTwips() const;

    std::unique_ptr<Dialogs> m_ownDialogs;
    PlannerState m_state;
    CacheLoader m_loader;
    GridGeometry m_geometry;
    HitMap m_hits;
    CalendarNames m_names;
    SystemColours m_colours;

    QString m_folder;
    QString m_appointmentForm = QStringLiteral("IPM.Appointment");
    QString m_categoryStoreSubject;
    int m_outlookMajor = 0;
    bool m_visualStyles = false;
    quint32 m_weekendColour = 0xAAE8EE;
    quint32 m_toolbarBackground = 0xFFEDDF;
    quint32 m_toolbarText = 0x723708;
    double m_px = 15, m_py = 15;
    int m_codePage = 1252;
    int m_retries = 0;
    FilterModel m_filter;

    std::unique_ptr<CalendarAccess> m_access;
    Store::ItemsPtr m_items;
    CacheFileNames m_cacheFiles;
    SyncherFactory m_syncherFactory;
    std::unique_ptr<CacheUpdater> m_updater;

    QToolBar *m_toolbar = nullptr;
    QWidget *m_statusStrip = nullptr;
    QLabel *m_yearLabel = nullptr;
    QLabel *m_dateLabel = nullptr;
    QLabel *m_bulletLabel = nullptr;
    QToolButton *m_refresh = nullptr;
    QWidget *m_gridArea = nullptr;
    CanvasWidget *m_grid = nullptr;
    CanvasWidget *m_dayHeadings = nullptr;
    CanvasWidget *m_monthColumn = nullptr;
    QScrollBar *m_gridScroll = nullptr;
    QWidget *m_legendView = nullptr;
    QWidget *m_legendList = nullptr;
    QScrollBar *m_legendScroll = nullptr;
    QLabel *m_logo = nullptr;
    QWidget *m_indicator = nullptr;
    quint32 m_indicatorColour = 0xFFFFFF;
    QMenu *m_popup = nullptr;   // mnuPop, the grid's appointment menu
    QMenu *m_newMenu = nullptr; // mnuNew, with one mnuSelection item per category
};

// A child that shows a canvas: the drawing stays on its image until drawn over.
class CanvasWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget *parent, quint32 backColour = 0xFFFFFF);
    // The canvas at the widget's size (made anew when the size changed).
    ImageCanvas &canvas();
    LocaleFont font;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<ImageCanvas> m_canvas;
    quint32 m_back;
};
