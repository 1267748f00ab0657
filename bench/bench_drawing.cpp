// DrawYear and DrawEvents of a year of visible appointments on a 1920x1080 canvas, at several
// counts, to show how drawing grows with the number of bars.

#include "benchyear.h"
#include "dialogs.h"
#include "oadate.h"
#include "plannerstate.h"
#include "yeardrawing.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_DrawYearAndEvents(benchmark::State &bench)
{
    StreamDialogs dialogs;
    PlannerState state(dialogs);
    state.year = PlannerYear(2026, 1);
    state.DisplaySubject = bench.range(1) != 0;
    FillBenchYear(state, int(bench.range(0)));
    ImageCanvas canvas(QSize(1920, 1080));
    const GridGeometry g = FitBenchYear(state, canvas);
    HitMap hits;
    for (auto _ : bench) {
        DrawYear(canvas, state, g, 0xE1BFA5);
        DrawEvents(canvas, state, g, hits, OADate::fromDateTime(QDate(2026, 6, 1)));
    }
    bench.counters["year_bands"] = state.RowBands[12];
}

} // namespace

// Arguments: appointments, subjects written into the bars.
BENCHMARK(BM_DrawYearAndEvents)
    ->Args({1000, 0})
    ->Args({3000, 0})
    ->Args({10000, 0})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
