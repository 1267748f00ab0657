#pragma once

namespace Store {

// Lets the sessions of this program open the calendars evolution-data-server keeps, where it
// runs. Call once, before the first session.
void UseDesktopCalendars();

} // namespace Store
