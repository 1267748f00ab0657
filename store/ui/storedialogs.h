#pragma once

#include "calendarstore.h"

class QWidget;

// The store's windows for programs with a display: the appointment form, the folder picker and
// the categories dialog. Widgets are named (objectName) after what they hold, so tests can fill
// them in.
class StoreDialogs : public Store::StoreUi
{
public:
    explicit StoreDialogs(QWidget *parent = nullptr) : m_parent(parent) {}

    bool editAppointment(Store::AppointmentItem &item, std::optional<double> openedOn) override;
    Store::FolderPtr pickFolder(Store::NameSpace &session) override;
    bool editCategories(Store::AppointmentItem &item, Store::NameSpace &session) override;
    // Programs that show folders replace this; here it does nothing.
    void displayFolder(Store::Folder &) override {}

private:
    QWidget *m_parent;
};
