// DrawYear and DrawEvents of a year of visible appointments in a 1920x1080 area, at several
// counts, to show how drawing grows with the number of bars: squeezed into the area, or laid out
// as the planner does (scrolling once bands reach their least height, every subject legible);
// drawn again on one canvas, or the first time on a new one.

#include "benchyear.h"
#include "dialogs.h"
#include "oadate.h"
#include "paintercanvas.h"
#include "plannerstate.h"
#include "yeardrawing.h"

#include <QGuiApplication>

#include <optional>

#include <benchmark/benchmark.h>

namespace {

void BM_DrawYearAndEvents(benchmark::State &bench)
{
    StreamDialogs dialogs;
    PlannerState state(dialogs);
    state.year = PlannerYear(2026, 1);
    state.DisplaySubject = bench.range(1) != 0;
    FillBenchYear(state, int(bench.range(0)));
    QSize size;
    const GridGeometry g = LayOutBenchYear(state, QSize(1920, 1080), bench.range(2) != 0, size);
    const bool firstDraw = bench.range(3) != 0;
    // The planner's window keeps an image of what is shown (a screen at the top) and a screen's
    // height either way, not the whole of a tall year.
    const QRect window = bench.range(4) != 0 ? QRect(0, -1080, size.width(), 3 * 1080) : QRect();
    std::optional<ImageCanvas> canvas(std::in_place, size, 96, 0xFFFFFF, window);
    HitMap hits;
    // Drawn again: the planner redraws its year far more often than it first draws it.
    for (int warm = 0; warm < 2 && !firstDraw; ++warm) {
        DrawYear(*canvas, state, g, 0xE1BFA5);
        DrawEvents(*canvas, state, g, hits, OADate::fromDateTime(QDate(2026, 6, 1)));
    }
    for (auto _ : bench) {
        if (firstDraw)
            canvas.emplace(size, 96, 0xFFFFFF, window);
        DrawYear(*canvas, state, g, 0xE1BFA5);
        DrawEvents(*canvas, state, g, hits, OADate::fromDateTime(QDate(2026, 6, 1)));
    }
    bench.counters["year_bands"] = state.RowBands[12];
    bench.counters["canvas_px"] = size.height();
}

// The same year drawn again with and without marked days under it (a region's holidays and a
// school calendar's terms: about a hundred days of two sources) and week numbers: what the marks
// add to a drawing.
void BM_DrawYearWithMarks(benchmark::State &bench)
{
    StreamDialogs dialogs;
    PlannerState state(dialogs);
    state.year = PlannerYear(2026, 1);
    state.DisplaySubject = true;
    FillBenchYear(state, int(bench.range(0)));
    if (bench.range(1) != 0) {
        auto marks = std::make_shared<DayMarks>();
        marks->sources = {{QStringLiteral("Holidays"), 0xC8C8F8},
                          {QStringLiteral("School"), 0xE0E8B8}};
        for (QDate d(2026, 1, 1); d.year() == 2026; d = d.addDays(1)) {
            if (d.day() == 1 || d.day() == 25)
                marks->days[d.toJulianDay()].append({0, QStringLiteral("Holiday")});
            if ((d.month() == 7 && d.day() > 20) || (d.month() == 8 && d.day() < 31) ||
                (d.month() == 10 && d.day() > 25))
                marks->days[d.toJulianDay()].append({1, QStringLiteral("Term break")});
        }
        state.marks = marks;
        state.WeekNumbers = true;
    }
    QSize size;
    const GridGeometry g = LayOutBenchYear(state, QSize(1920, 1080), true, size);
    ImageCanvas canvas(size, 96, 0xFFFFFF, QRect(0, -1080, size.width(), 3 * 1080));
    HitMap hits;
    for (int warm = 0; warm < 2; ++warm) {
        DrawYear(canvas, state, g, 0xE1BFA5);
        DrawEvents(canvas, state, g, hits, OADate::fromDateTime(QDate(2026, 6, 1)));
    }
    for (auto _ : bench) {
        DrawYear(canvas, state, g, 0xE1BFA5);
        DrawEvents(canvas, state, g, hits, OADate::fromDateTime(QDate(2026, 6, 1)));
    }
}

} // namespace

BENCHMARK(BM_DrawYearWithMarks)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({236, 0})
    ->Args({236, 1})
    ->Unit(benchmark::kMillisecond);

// Arguments: appointments, subjects written into the bars, laid out as the planner does
// (scrolling), a new canvas for every drawing, the image kept as the planner's window keeps it.
BENCHMARK(BM_DrawYearAndEvents)
    ->Args({1000, 0, 0, 0, 0})
    ->Args({3000, 0, 0, 0, 0})
    ->Args({10000, 0, 0, 0, 0})
    ->Args({1000, 1, 0, 0, 0})
    ->Args({10000, 1, 0, 0, 0})
    ->Args({10000, 0, 1, 0, 0})
    ->Args({10000, 1, 1, 0, 0})
    ->Args({10000, 1, 1, 1, 0})
    ->Args({10000, 1, 1, 1, 1})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
