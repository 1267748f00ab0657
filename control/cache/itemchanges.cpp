#include "itemchanges.h"

#include "calendaraccess.h"
#include "calevent.h"
#include "eventstore.h"
#include "plannerstate.h"
#include "restriction.h"

namespace {

std::unique_ptr<CalEvent> EventOf(const Store::AppointmentItem &a, const QString &entryId,
                                  const QString &categories, qint16 catIndex,
                                  const PlannerYear &year)
{
    auto e = std::make_unique<CalEvent>();
    e->Categories = categories;
    e->CatIndex = catIndex;
    e->StartDate = a.Start();
    e->EndDate = a.End();
    PlaceEvent(*e, year);
    e->Subject = a.Subject();
    e->EventID = entryId;
    return e;
}

} // namespace

bool ApplyItemChange(PlannerState &state, const CalendarAccess &access, const Store::ItemPtr &item,
                     const QString &categoryStoreSubject)
{
    const QString id = item->EntryID();
    const int before = state.store->Count();
    RemoveEventsOf(*state.store, id);
    // Whatever else happens, events that went must go from the screen and the file too.
    const bool removed = state.store->Count() != before;
    const Store::AppointmentItemPtr a = Store::AppointmentOf(item);
    if (!a || a->Subject() == categoryStoreSubject)
        return removed;
    if (!a->AllDayEvent() && !state.AllEvents && a->RecurrenceState() == Store::olApptNotRecurring)
        return removed;
    if (a->IsRecurring()) {
        RefreshRecurringItem(state, access, *item);
        return true;
    }
    // As a rebuild selects them: an item moved out of the year goes, and one changed in
    // another year does not come in.
    RestrictionValues times;
    times.start = a->Start();
    times.end = a->End();
    if (!Restriction::parse(PlannerRestriction(state.year)).matches(times))
        return removed;
    const QString categories = a->Categories();
    InsertEventSorted(*state.store,
                      EventOf(*a, id, categories, state.categoryIndexOf(categories), state.year));
    return true;
}

void RefreshRecurringItem(PlannerState &state, const CalendarAccess &access,
                          const Store::Item &series)
{
    // The year's occurrences as a rebuild enumerates them (a series that began years ago, an
    // occurrence renamed or recategorised), reading only the series' own file.
    Store::ItemsPtr items = access.folder()->Items();
    items->setIncludeRecurrences(true);
    items = items->Restrict(PlannerRestriction(state.year));
    items->setFileNames(QStringList{series.fileName()});
    items->Sort(QStringLiteral("[Start]"));
    const QString entryId = series.EntryID();
    int position = 1;
    for (const Store::ItemPtr &item : items->all()) {
        if (item->EntryID() != entryId)
            continue;
        const Store::AppointmentItemPtr a = Store::AppointmentOf(item);
        // Timed occurrences stay out of a whole-day planner, as they do in a rebuild.
        if (!a || (!state.AllEvents && !a->AllDayEvent()))
            continue;
        const QString categories = a->Categories();
        InsertEventSorted(
            *state.store,
            EventOf(*a, entryId, categories, state.categoryIndexOf(categories), state.year),
            &position);
    }
}
