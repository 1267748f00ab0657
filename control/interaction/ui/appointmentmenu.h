#pragma once

#include <QMenu>
#include <QStringList>

// The grid's appointment menu (mnuPop): Edit, Delete, a separator, Clear Selection, and New
// Appointment with one item per category (mnuSelection, captioned with the category's name).
class AppointmentMenu : public QMenu
{
    Q_OBJECT
public:
    explicit AppointmentMenu(QWidget *parent = nullptr);

    QAction *editAction() const { return m_edit; }
    QAction *deleteAction() const { return m_delete; }
    QAction *clearAction() const { return m_clear; }
    QMenu *newAppointmentMenu() const { return m_new; }

    // One New Appointment item per category, in table order; items past the table go.
    void setCategories(const QStringList &names);

signals:
    void editRequested();
    void deleteRequested();
    void clearRequested();
    // index: the category's position in the table, 1..N.
    void newAppointmentRequested(int index);

private:
    QAction *m_edit;
    QAction *m_delete;
    QAction *m_clear;
    QMenu *m_new;
};
