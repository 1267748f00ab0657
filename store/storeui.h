#pragma once

#include "storetypes.h"

#include <optional>

namespace Store {

// The windows the store shows in place of the client's own: the appointment form, the folder
// picker and the categories dialog. A program installs one (SetStoreUi); without one, showing
// a window raises an error.
class StoreUi
{
public:
    virtual ~StoreUi() = default;
    // Shows the form modally; true when the user saved the item (the form saves it). For a
    // series, openedOn is the start of the occurrence the user opened it from, where known.
    virtual bool editAppointment(AppointmentItem &item, std::optional<double> openedOn) = 0;
    // Null when the user cancels.
    virtual FolderPtr pickFolder(NameSpace &session) = 0;
    // Lets the user tick categories of the master list (and add new ones); true on OK.
    virtual bool editCategories(AppointmentItem &item, NameSpace &session) = 0;
    virtual void displayFolder(Folder &folder) = 0;
};
void SetStoreUi(StoreUi *ui);
StoreUi *CurrentStoreUi();

} // namespace Store
