#include "appointmentmenu.h"

#include "menutext.h"

AppointmentMenu::AppointmentMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("mnuPop"));
    m_edit = addAction(tr("Edit Appointment"));
    m_edit->setObjectName(QStringLiteral("mnuEdit"));
    m_delete = addAction(tr("Delete Appointment"));
    m_delete->setObjectName(QStringLiteral("mnuDelete"));
    addSeparator();
    m_clear = addAction(tr("Clear Selection"));
    m_clear->setObjectName(QStringLiteral("mnuClear"));
    m_new = addMenu(tr("New Appointment"));
    m_new->setObjectName(QStringLiteral("mnuNew"));
    connect(m_edit, &QAction::triggered, this, &AppointmentMenu::editRequested);
    connect(m_delete, &QAction::triggered, this, &AppointmentMenu::deleteRequested);
    connect(m_clear, &QAction::triggered, this, &AppointmentMenu::clearRequested);
}

void AppointmentMenu::setCategories(const QStringList &names)
{
    QList<QAction *> items = m_new->actions();
    while (items.size() > names.size())
        delete items.takeLast();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i == items.size()) {
            QAction *item = m_new->addAction(QString());
            const int index = int(i + 1);
            item->setObjectName(QStringLiteral("mnuSelection%1").arg(index));
            connect(item, &QAction::triggered, this,
                    [this, index] { emit newAppointmentRequested(index); });
            items.append(item);
        }
        items[i]->setVisible(true);
        items[i]->setText(MenuText(names[i]));
    }
}
