#pragma once

#include <functional>

// Lets the host's message loop run between two elements of a long loop, so the planner stays
// responsive and notifications can arrive mid-loop. Callers must expect re-entry at every call.
//
// The loop itself runs at most once per slice of a few milliseconds: a pass of the event loop
// costs microseconds, which would dominate a loop over a hundred thousand cache records, while a
// slice this short is below what a person notices. The test hook runs at every call.
void YieldToLoop();

// One pass of the event loop that also waits up to ms milliseconds for something to arrive, for
// loops that wait for a report from elsewhere rather than walk through data. Runs the test hook.
void YieldAndWait(int ms);

// Installs code to run at every yield (tests drive re-entry with it); an empty function removes
// it. Returns the previous hook.
std::function<void()> SetYieldHook(std::function<void()> hook);
