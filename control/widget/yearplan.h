#pragma once

#include "appointmentcommands.h"
#include "appointmentmenu.h"
#include "canvaswidget.h"
#include "categoryeditor.h"
#include "gridkeyboard.h"
#include "gridpointer.h"
#include "legendpanel.h"
#include "planner.h"
#include "plannertoolbar.h"
#include "plannerview.h"
#include "propertybag.h"
#include "yeardrawing.h"

#include <QLabel>
#include <QTextDocument>
#include <QWidget>

#include <memory>

class GridArea;
class HelpMenu;
class LegendPanel;
class PlannerInput;
class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;
class QToolButton;
class UpdateIndicator;
enum class Command;

// The year planner's window: one calendar folder as twelve month rows of 37 weekday-aligned day
// columns, every appointment a bar in its category's colour. A host creates it and hands it its
// stored properties (ReadProperties); its Planner connects to the calendar, keeps the year
// current and runs the commands, and the window lays the year out, draws it and forwards input.
class YearPlan : public QWidget, private PlannerView, private PointerView
{
    Q_OBJECT
public:
    using SyncherFactory = Planner::SyncherFactory;

    // dialogs: where messages go (desktop dialogs when null).
    explicit YearPlan(QWidget *parent = nullptr, Dialogs *dialogs = nullptr);
    ~YearPlan() override;

    Planner &planner() { return *m_planner; }
    GridPointer &pointer() { return *m_pointer; }
    GridKeyboard &keyboard() { return *m_keyboard; }
    AppointmentCommands &commands() { return *m_commands; }
    CategoryEditor &categoryEditor() { return *m_categories; }
    LegendPanel *legendPanel() const { return m_legend; }

    // The control's properties and methods, as its host knows them.
    QString Folder() const { return m_planner->Folder(); }
    void setFolder(const QString &folder) { m_planner->setFolder(folder); }
    bool AllEvents() const { return m_planner->AllEvents(); }
    void setAllEvents(bool all) { m_planner->setAllEvents(all); }
    bool DisplaySubject() const { return m_planner->DisplaySubject(); }
    void setDisplaySubject(bool display) { m_planner->setDisplaySubject(display); }
    bool HideNonCategoryItems() const { return m_planner->HideNonCategoryItems(); }
    void setHideNonCategoryItems(bool hide) { m_planner->setHideNonCategoryItems(hide); }
    QString TitleName() const { return m_planner->TitleName(); }
    void setTitleName(const QString &title) { m_planner->setTitleName(title); }
    QString AppointmentForm() const { return m_planner->AppointmentForm(); }
    void setAppointmentForm(const QString &form) { m_planner->setAppointmentForm(form); }
    qint16 StartMonth() const { return m_planner->StartMonth(); }
    void setStartMonth(qint16 month) { m_planner->setStartMonth(month); }
    QString CategoryStoreSubject() const { return m_planner->CategoryStoreSubject(); }
    void ReadProperties(const PropertyBag &bag) { m_planner->ReadProperties(bag); }
    void WriteProperties(PropertyBag &bag) const { m_planner->WriteProperties(bag); }
    void ChangeYear(int delta) { m_planner->ChangeYear(delta); }
    void ReloadPlanner() { m_planner->ReloadPlanner(); }
    void ArrangeControls() { m_planner->ArrangeControls(); }
    // Brings the category items of the appointment menu ("New Appointment") in line with the
    // category table: one item per category, captioned with its name.
    void RebuildCategoryMenu() { m_popup->setCategories(m_planner->state().categories.names); }
    void setSyncherFactory(SyncherFactory factory)
    {
        m_planner->setSyncherFactory(std::move(factory));
    }
    // The legend's public methods: recolour and delete the picked category; the names of the
    // table from position 0 (empty) on.
    void CatColour() { m_categories->CatColour(); }
    void CatDelete() { m_categories->CatDelete(); }
    QStringList GetStringList() const;

    // For hosts and tests.
    PlannerState &state() { return m_planner->state(); }
    const GridGeometry &geometry() const { return m_geometry; }
    const HitMap &hitMap() const { return m_planner->hitMap(); }
    const FilterModel &filter() const { return m_planner->filter(); }
    ClientVersion clientVersion() const { return m_planner->clientVersion(); }
    quint32 weekendColour() const { return m_planner->weekendColour(); }
    const CacheFileNames &cacheFiles() const { return m_planner->cacheFiles(); }
    int pendingUpdates() const { return m_planner->pendingUpdates(); }
    CacheUpdater &updater() { return m_planner->updater(); }
    QScrollBar *gridScrollBar() const { return m_gridScroll; }
    CanvasWidget *gridCanvas() const { return m_grid; }
    CanvasWidget *monthColumn() const { return m_monthColumn; }
    QToolBar *toolBar() const { return m_toolbar; }
    PlannerToolBar *commandBar() const { return m_toolbar; }
    QLabel *yearLabel() const { return m_toolbar->yearLabel(); }
    QLabel *dateLabel() const { return m_dateLabel; }
    QLabel *bulletLabel() const { return m_bulletLabel; }
    CanvasWidget *dayHeadings() const { return m_dayHeadings; }
    QWidget *logo() const { return m_logo; }
    QMenu *appointmentMenu() const { return m_popup; }
    QMenu *newAppointmentMenu() const { return m_popup->newAppointmentMenu(); }
    double px() const { return m_px; }
    double py() const { return m_py; }

signals:
    void propertyChanged(const QString &name);
    void StatusChange(const QString &Msg);
    // After every drawing of the year and its appointments.
    void yearDrawn();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // PlannerView
    bool visualStylesActive() const override;
    quint32 menuColour() const override;
    void applyToolbarColours(quint32 background, quint32 text) override;
    void readTwipsPerPixel() override;
    void applyFontCharset(int codePage) override;
    void placeRefreshButton() override;
    void showSelectedYear(int year) override
    {
        m_toolbar->yearLabel()->setText(PlannerToolBar::tr("Year %1").arg(year));
        m_keyboard->yearShown();
    }
    void showRefreshCommands(bool categories) override
    {
        m_toolbar->showRefreshCommands(categories);
    }
    void showFilterState(const QString &tooltip, bool active) override
    {
        m_toolbar->showFilterState(tooltip, active);
    }
    void categoriesChanged() override { RebuildCategoryMenu(); }
    void DrawLegend() override;
    void LayoutLegend() override { m_legend->legend().LayoutLegend(); }
    void showUpdateIndicator(quint32 colour, const QString &status) override;
    void DrawYear() override;
    void layOutAndDraw() override;

    // PointerView
    const GridGeometry &gridGeometry() const override { return m_geometry; }
    void setDateLabel(const QString &text) override { m_dateLabel->setText(text); }
    // A subject is the calendar's text, never markup: one a tooltip would take for markup is
    // handed over escaped, so that it shows as it stands.
    void setGridToolTip(const QString &text) override
    {
        m_grid->setToolTip(Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text) : text);
    }
    void setGridCursor(PointerView::Cursor cursor) override;
    void toggleSelection(const SelectionCorners &corners) override;
    void showAppointmentMenu(const QString &key, bool clearSelection,
                             std::optional<QPointF> at) override;
    void showKeyboardMarks(const QRectF &keepInView) override;
    void paintKeyboardMarks(QPainter &painter);
    void redrawYear() override;
    void clearLegendHover() override { m_legend->legend().leaveList(); }

    void buildChildren();
    void runCommand(Command command);
    void showFilterDialog();
    void showPrintPreview();
    void drawEverything();
    void drawEvents();
    // After a scroll: the grid and the month column where their images no longer cover it.
    void drawScrolledIn();
    QRect pixels(const QRectF &twips) const;

    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<Planner> m_planner;
    std::unique_ptr<AppointmentCommands> m_commands;
    std::unique_ptr<GridPointer> m_pointer;
    std::unique_ptr<GridKeyboard> m_keyboard;
    std::unique_ptr<CategoryEditor> m_categories;
    // What the appointment menu acts on: the keyboard's choice when the keyboard opened it, else
    // the appointment under the pointer.
    QString menuKey() const { return m_menuFromKeyboard ? m_menuKey : m_pointer->hoveredKey(); }
    QString m_menuKey;
    bool m_menuFromKeyboard = false;
    GridGeometry m_geometry;
    SystemColours m_colours;
    double m_px = 15, m_py = 15;

    PlannerToolBar *m_toolbar = nullptr;
    QWidget *m_statusStrip = nullptr;
    QLabel *m_dateLabel = nullptr;
    QLabel *m_bulletLabel = nullptr;
    GridArea *m_gridArea = nullptr;
    CanvasWidget *m_grid = nullptr;
    CanvasWidget *m_dayHeadings = nullptr;
    CanvasWidget *m_monthColumn = nullptr;
    QScrollBar *m_gridScroll = nullptr;
    LegendPanel *m_legend = nullptr;
    QLabel *m_logo = nullptr;
    UpdateIndicator *m_indicator = nullptr;
    AppointmentMenu *m_popup = nullptr;
    HelpMenu *m_help = nullptr;
    PlannerInput *m_input = nullptr;
};
