#include "plannertoolbar.h"

#include "colours.h"

#include <QLabel>
#include <QToolButton>

PlannerToolBar::PlannerToolBar(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setMovable(false);
    for (const ToolbarEntry &entry : PlannerToolbarLayout()) {
        if (!entry.key) {
            addSeparator();
            continue;
        }
        const QString key = QLatin1String(entry.key);
        if (key == QLatin1String("Year")) {
            // The selected year stands in its own place, as wide as any year's label.
            m_year = new QLabel(this);
            m_year->setObjectName(QStringLiteral("lblYear"));
            m_year->setAlignment(Qt::AlignCenter);
            m_year->setMinimumWidth(m_year->fontMetrics().horizontalAdvance(
                                        tr("Year %1").arg(QStringLiteral("00000"))) +
                                    8);
            addWidget(m_year)->setObjectName(key);
            continue;
        }
        auto *button = new QToolButton(this);
        button->setObjectName(key);
        // The entries are the English texts; the user's language is looked up by them.
        button->setText(tr(entry.caption));
        button->setToolTip(*entry.tooltip ? tr(entry.tooltip) : QString());
        button->setAccessibleName(*entry.tooltip ? button->toolTip()
                                                 : QString::fromUtf8(entry.key));
        button->setAccessibleDescription(button->toolTip());
        button->setAutoRaise(true);
        addWidget(button)->setObjectName(key);
        if (!entry.command) {
            button->setEnabled(false);
            button->setFocusPolicy(Qt::NoFocus);
            m_status = button;
            continue;
        }
        const Command command = *entry.command;
        m_buttons[command] = button;
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QToolButton::clicked, this, [this, command] { emit triggered(command); });
    }
}

QToolButton *PlannerToolBar::button(Command command) const
{
    return m_buttons.at(command);
}

QAction *PlannerToolBar::actionOf(Command command) const
{
    for (QAction *action : actions()) {
        if (widgetForAction(action) == button(command))
            return action;
    }
    return nullptr;
}

// The toolbar keeps each button in line with the action that holds it, but only when it next
// lays itself out: both are set.
void PlannerToolBar::setAvailable(Command command, bool available)
{
    actionOf(command)->setEnabled(available);
    button(command)->setEnabled(available);
}

void PlannerToolBar::setShown(Command command, bool shown)
{
    actionOf(command)->setVisible(shown);
    button(command)->setVisible(shown);
}

int PlannerToolBar::othersWidth()
{
    m_status->setFixedWidth(0);
    return sizeHint().width();
}

void PlannerToolBar::stretchStatus(int width)
{
    m_status->setFixedWidth(std::max(0, width));
}

void PlannerToolBar::showFilterState(const QString &tooltip, bool active)
{
    QToolButton *filter = button(Command::Filter);
    filter->setToolTip(tooltip);
    filter->setAccessibleDescription(tooltip);
    filter->setCheckable(true);
    filter->setChecked(active);
}

void PlannerToolBar::showRefreshCommands(bool categories)
{
    setShown(Command::Filter, true);
    setShown(Command::Save, true);
    setShown(Command::Categories, categories);
}

void PlannerToolBar::applyColours(quint32 background, quint32 text, const QList<QWidget *> &over)
{
    for (QWidget *w : over + QList<QWidget *>{m_year, this}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, ColorOf(background));
        pal.setColor(QPalette::WindowText, ColorOf(text));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
}
