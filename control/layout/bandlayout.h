#pragma once

#include <QtGlobal>

#include <array>
#include <functional>

class Dialogs;
class EventStore;
class PlannerYear;
struct CalEvent;

// Running band totals of the twelve month rows: index 0 is 0, row r occupies band units
// [RowBands[r - 1], RowBands[r]), and RowBands[12] is the height of the year in bands. Wider than
// the cache's 16 bits: a crowded year of a large folder passes 32,767 bands.
using RowBandTable = std::array<qint32, 13>;

constexpr int kScreenMinimumBands = 4; // the day-number band and three for appointments

// Gives every visible event of the store a band (2 or more) inside its month rows, so that no two
// events that occupy the same day columns of a row share a band, and returns the running totals
// of the bands each row needs (at least minimumBands). Events are visited in store order
// and each takes the first band of its first row that is free at its start column; it keeps that
// band through every row it covers.
//
// With allEvents, timed events occupy their last day as well; without, a timed event within one
// day occupies nothing. Events that visible() rejects keep their band and take no space. A
// failure shows its message through dialogs and returns what the pass had reached.
RowBandTable CalculateBands(EventStore &store, const PlannerYear &year, bool allEvents,
                            int minimumBands, const std::function<bool(const CalEvent &)> &visible,
                            Dialogs &dialogs);
