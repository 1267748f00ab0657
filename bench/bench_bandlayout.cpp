// CalculateBands over a year of events with realistic overlaps: mostly one-hour meetings, some
// whole days, a few long stretches, at two sizes to show the cost grows linearly.

#include "bandlayout.h"
#include "calevent.h"
#include "dialogs.h"
#include "eventkey.h"
#include "eventstore.h"
#include "oadate.h"
#include "planneryear.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void Fill(EventStore &store, const PlannerYear &year, int n)
{
    QRandomGenerator rng(11);
    const double first = year.PlannerStart();
    for (int i = 0; i < n; ++i) {
        auto e = std::make_unique<CalEvent>();
        e->EventID = QString::number(i);
        e->CatIndex = 1;
        const double day = first + std::floor(365.0 * i / n);
        const int kind = rng.bounded(20);
        if (kind < 15) { // a meeting in working hours
            e->StartDate = day + (8 + rng.bounded(9)) / 24.0;
            e->EndDate = e->StartDate + 1 / 24.0;
        } else if (kind < 19) { // one to three whole days
            e->StartDate = day;
            e->EndDate = day + 1 + rng.bounded(3);
        } else { // one to three weeks
            e->StartDate = day;
            e->EndDate = day + 7 * (1 + rng.bounded(3));
        }
        PlaceEvent(*e, year);
        const QString key = EventKey(*e);
        store.Add(std::move(e), key);
    }
}

void BM_CalculateBands(benchmark::State &state)
{
    const PlannerYear year(2026, 1);
    EventStore store;
    Fill(store, year, int(state.range(0)));
    StreamDialogs dialogs;
    RowBandTable rowBands{};
    const auto visible = [](const CalEvent &) { return true; };
    for (auto _ : state) {
        rowBands =
            CalculateBands(store, year, state.range(1) != 0, kScreenMinimumBands, visible, dialogs);
        benchmark::DoNotOptimize(rowBands);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_event"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
    state.counters["year_bands"] = rowBands[12];
}

} // namespace

// Arguments: events, AllEvents.
BENCHMARK(BM_CalculateBands)
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
