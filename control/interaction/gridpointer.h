#pragma once

#include "eventkey.h"
#include "gridmetrics.h"
#include "selection.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

class AppointmentCommands;
class Planner;
struct CalEvent;

// What the pointer handling asks of the window that shows the grid.
class PointerView
{
public:
    enum class Cursor { Default, Hand, Pen };

    virtual ~PointerView() = default;
    // The grid's lengths of the last layout.
    virtual const GridGeometry &gridGeometry() const = 0;
    virtual void setDateLabel(const QString &text) = 0;
    virtual void setGridToolTip(const QString &text) = 0;
    virtual void setGridCursor(Cursor cursor) = 0;
    // Toggles the highlight of a selection on the grid (drawn twice, it is gone).
    virtual void toggleSelection(const SelectionCorners &corners) = 0;
    // The appointment menu for the appointment of key (Edit and Delete disabled when empty), with
    // Clear Selection enabled or not; at the pointer, or at a place on the grid (twips) when
    // opened from the keyboard.
    virtual void showAppointmentMenu(const QString &key, bool clearSelection,
                                     std::optional<QPointF> at = std::nullopt) = 0;
    // What the keyboard marks on the grid changed; keepInView (twips on the grid), unless null,
    // is scrolled into view.
    virtual void showKeyboardMarks(const QRectF &keepInView) { (void)keepInView; }
    // The grid and the appointments drawn again, after a failure.
    virtual void redrawYear() = 0;
    // Any hover frame in the legend goes.
    virtual void clearLegendHover() {}
};

// The grid canvas under the pointer. Normally a move shows the date under the pointer, or the
// appointment there, in the date label and as a tooltip; a click opens that appointment and a
// right click the appointment menu. In pen mode (a category picked, Planner::SelectCategory)
// dragging across days selects them, and releasing creates a whole-day appointment of that
// category over them. Positions are twips on the grid canvas.
class GridPointer
{
public:
    enum class Button { Left, Right };

    GridPointer(Planner &planner, AppointmentCommands &commands, PointerView &view);

    void move(double x, double y);
    // A press or release where the pointer did not move to runs the move there first.
    void press(Button button, double x, double y);
    void release(Button button, double x, double y);
    // Shows the appointment at row, column and band of the hit map, or the date of the cell.
    void ShowHover(int row, int column, int band);
    // The date label over selected days (first..last, midnights), as a pen drag shows them: the
    // picked category's name, then the days.
    void showDays(double first, double last);
    // A click on the headings, the date label or the control's background: pen mode ends.
    void clickOutsideGrid();
    // The year or its layout changed under a pointer that stands still: the date label shows
    // what is under it now. Nothing while the pointer is off the grid or selecting.
    void refresh();
    // The pointer left the grid.
    void leave() { m_overGrid = false; }

    // Tooltips of the heading strips: the full name of the month of the row at y (twips down
    // the month column), of the weekday of the column at x (twips across the weekday strip).
    QString monthToolTip(double y) const;
    // Where the grid scrolls to show a month from its top (twips): the month row at y on the
    // month column; or, steps rows on from the row the window shows at visibleTop (1: the next
    // month's top, -1: the top of the month shown, or of the one before when at its top).
    double monthTopAt(double y) const;
    double monthTopFrom(double visibleTop, int steps) const;
    QString weekdayToolTip(double x) const;

    int row() const { return m_row; }
    int band() const { return m_band; }
    int column() const { return m_column; }
    QString hoveredKey() const { return m_hoveredKey; }
    bool selecting() const { return m_selecting; }
    const SelectionCorners &selection() const { return m_corners; }

private:
    // The month row and band at y: row 13 below the last row.
    std::pair<int, int> rowAndBand(double y) const;
    GeneralDateFormat &dates();
    QString dateText(double date);
    // The date of an empty day's label, with its week of the year in the locale's rule.
    QString dayText(double date);
    void moveIfMoved(double x, double y);
    void leavePenMode();
    void reset();

    Planner &m_planner;
    AppointmentCommands &m_commands;
    PointerView &m_view;
    GeneralDateFormat m_dates;

    int m_row = 0;
    int m_band = 0;
    int m_column = 0;
    QString m_hoveredKey;
    bool m_selecting = false;
    SelectionCorners m_corners;
    int m_startBand = 0;
    double m_lastX = -1;
    double m_lastY = -1;
    bool m_overGrid = false;
};

// The date label's text for an appointment: its first and last day (a whole-day appointment
// shows its last day, not the midnight after it) or its start alone, then the subject, joined by
// the category separator; with zones, the time-zone names of its start and end in brackets.
QString HoverText(const CalEvent &event, bool allEvents, const QString &categorySeparator,
                  GeneralDateFormat &dates, const QString *startZone = nullptr,
                  const QString *endZone = nullptr);
