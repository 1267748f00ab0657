#pragma once

#include "commands.h"

#include <QToolBar>

#include <map>

class QLabel;
class QToolButton;

// The planner's toolbar: the stretched status button, Back, the selected year, Next and the
// commands, each button with its key (object name), caption and tooltip. A command is offered
// only once it is available; until then its button is disabled.
class PlannerToolBar : public QToolBar
{
    Q_OBJECT
public:
    explicit PlannerToolBar(QWidget *parent = nullptr);

    QToolButton *button(Command command) const;
    QToolButton *statusButton() const { return m_status; }
    QLabel *yearLabel() const { return m_year; }

    void setAvailable(Command command, bool available);
    void setShown(Command command, bool shown);
    // Sizes the status button so the others end at the right edge of a toolbar width pixels wide.
    void stretchStatus(int width);
    // The width the toolbar needs besides its status button.
    int othersWidth();
    // The filter button's tooltip, and a pressed button for an active filter.
    void showFilterState(const QString &tooltip, bool active);
    // Once the planner is connected: Filter and Export, and Categories when it has them.
    void showRefreshCommands(bool categories);
    // The background of the toolbar and of the labels lying over it, and their text colour.
    void applyColours(quint32 background, quint32 text, const QList<QWidget *> &over);

signals:
    void triggered(Command command);

private:
    QAction *actionOf(Command command) const;

    QToolButton *m_status = nullptr;
    QLabel *m_year = nullptr;
    std::map<Command, QToolButton *> m_buttons;
};
