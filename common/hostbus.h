#pragma once

// The session bus name every running planner host queues for: while one runs, the name has an
// owner. The installer asks for it to tell whether the calendar client is open.
inline constexpr char kPlannerHostBusName[] = "org.quorvel.Quorvel";
