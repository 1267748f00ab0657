#pragma once

#include <QObject>

class GridKeyboard;
class GridPointer;
class Planner;
class QMenu;
class QScrollBar;
class QWidget;

// Turns the mouse over the planner's children into what the planner does with it: pointer
// positions on the grid from pixels to twips for the pointer handling, tooltips of the heading
// strips, clicks beside the grid that end pen mode, the logo's help page and menu, the wheel for
// the grid's scroll bar (a month a notch with Ctrl; a month's name takes the window to its top),
// the keys on the grid for its keyboard handling and Page Up and Page Down for the year.
class PlannerInput : public QObject
{
public:
    struct Children
    {
        QWidget *plan = nullptr; // the window itself: its background, keys and wheel
        QWidget *grid = nullptr;
        QWidget *monthColumn = nullptr;
        QWidget *dayHeadings = nullptr;
        QWidget *dateLabel = nullptr;
        QWidget *logo = nullptr;
        QScrollBar *gridScroll = nullptr;
        QMenu *help = nullptr;
    };

    // px and py: the twips per pixel the window keeps (read at each event).
    PlannerInput(GridPointer &pointer, GridKeyboard &keyboard, Planner &planner,
                 const Children &children, const double &px, const double &py,
                 QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    GridPointer &m_pointer;
    GridKeyboard &m_keyboard;
    Planner &m_planner;
    Children m_children;
    const double &m_px;
    const double &m_py;
};
