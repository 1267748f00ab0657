#pragma once

#include "calendarstore.h"

#include <QString>

class CalendarAccess;
struct PlannerState;

// Brings the store up to date for one item the folder reports as added or changed, without a
// rebuild: its old events go, and its new ones come in at their place in start order. Returns
// whether the store changed, so that the caller lays out, draws and writes the cache back.
// Raises QvError when a recurring item's occurrences cannot be read.
bool ApplyItemChange(PlannerState &state, const CalendarAccess &access, const Store::ItemPtr &item,
                     const QString &categoryStoreSubject);

// Puts the occurrences of the recurring item series that fall in the planner year into the
// store, as a rebuild has them (each with its own subject and categories), before the events
// already there with the same start. They come in whatever their categories: a filter or a
// hidden category keeps them from the drawing, as it keeps every other event, and clearing it
// shows them. Raises QvError.
void RefreshRecurringItem(PlannerState &state, const CalendarAccess &access,
                          const Store::Item &series);
