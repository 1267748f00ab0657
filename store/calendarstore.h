#pragma once

// The calendar store: iCalendar files in folders on disk, behind the object model of the mail
// client the planner was written for. Class and member names are that object model's, as the
// control, the synchroniser and the installer call them.
//
// A store is a directory; its sub-directories are folders (names starting with "." are not);
// each "*.ics" file of a folder is one item. Identifiers (EntryID, StoreID) are opaque texts,
// stable while the item, folder or store exists.

#include "application.h"
#include "appointmentitem.h"
#include "folder.h"
#include "folderpath.h"
#include "folders.h"
#include "helperobjects.h"
#include "hiddenitem.h"
#include "hiddenitems.h"
#include "import.h"
#include "item.h"
#include "items.h"
#include "knowncalendars.h"
#include "meetingitem.h"
#include "namespace.h"
#include "restriction.h"
#include "storetypes.h"
#include "storeui.h"
