#include "plannerinput.h"

#include "gridkeyboard.h"
#include "gridpointer.h"
#include "planner.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>

PlannerInput::PlannerInput(GridPointer &pointer, GridKeyboard &keyboard, Planner &planner,
                           const Children &children, const double &px, const double &py,
                           QObject *parent)
    : QObject(parent), m_pointer(pointer), m_keyboard(keyboard), m_planner(planner),
      m_children(children), m_px(px), m_py(py)
{
    for (QWidget *w : {children.grid, children.monthColumn, children.dayHeadings,
                       children.dateLabel, children.logo}) {
        w->installEventFilter(this);
        w->setMouseTracking(true);
    }
    children.plan->installEventFilter(this);
}

bool PlannerInput::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Wheel && (watched == m_children.grid || watched == m_children.monthColumn ||
                                  watched == m_children.plan)) {
        QScrollBar *scroll = m_children.gridScroll;
        const auto *wheel = static_cast<QWheelEvent *>(event);
        if (scroll->isHidden())
            return true;
        // With Ctrl a notch goes a month: a crowded month may be many windows tall.
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (const int dy = wheel->angleDelta().y())
                scroll->setValue(
                    int(std::lround(m_pointer.monthTopFrom(scroll->value(), dy > 0 ? -1 : 1))));
            return true;
        }
        QApplication::sendEvent(scroll, event);
        return true;
    }
    if (watched == m_children.grid) {
        if (type == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            return m_keyboard.keyPress(key->key(), key->modifiers());
        }
        if (type == QEvent::FocusIn) {
            m_keyboard.focusIn();
            return false;
        }
        if (type == QEvent::FocusOut) {
            m_children.grid->update(); // the cursor goes with the focus
            return false;
        }
    }
    if (type == QEvent::KeyPress && watched == m_children.plan) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            m_planner.ChangeYear(key == Qt::Key_PageUp ? -1 : 1);
            return true;
        }
        return false;
    }
    if (type == QEvent::Leave && watched == m_children.grid) {
        m_pointer.leave();
        return false;
    }
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const double x = mouse->position().x() * m_px, y = mouse->position().y() * m_py;
    const auto button =
        mouse->button() == Qt::RightButton ? GridPointer::Button::Right : GridPointer::Button::Left;
    auto *widget = static_cast<QWidget *>(watched);
    // Presses handled here go no further: the window's own press would end pen mode.
    const bool handled = type != QEvent::MouseMove;
    if (watched == m_children.grid) {
        if (type == QEvent::MouseMove)
            m_pointer.move(x, y);
        else if (type == QEvent::MouseButtonPress) {
            m_pointer.press(button, x, y);
            m_keyboard.placeAt(m_pointer.row(), m_pointer.column());
        } else
            m_pointer.release(button, x, y);
        return handled;
    }
    if (watched == m_children.logo) {
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton)
            m_children.help->popup(mouse->globalPosition().toPoint());
        else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
            m_planner.ShowHelpPage();
        return handled;
    }
    if (type == QEvent::MouseMove) {
        if (watched == m_children.monthColumn)
            widget->setToolTip(m_pointer.monthToolTip(y));
        else if (watched == m_children.dayHeadings)
            widget->setToolTip(m_pointer.weekdayToolTip(x));
    } else if (type == QEvent::MouseButtonPress) {
        m_pointer.clickOutsideGrid(); // the headings, the date label and the background
        // A month's name takes the window to the month's top.
        if (watched == m_children.monthColumn && mouse->button() == Qt::LeftButton &&
            !m_children.gridScroll->isHidden())
            m_children.gridScroll->setValue(int(std::lround(m_pointer.monthTopAt(y))));
    }
    return handled && watched != m_children.plan;
}
