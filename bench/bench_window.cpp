// What a person feels in the window, at the demo and at the 10,000-item bench store
// ($QUORVEL_BENCH_STORE): a wheel notch over the grid (and a notch that scrolls past what the
// window keeps drawn), a scroll-bar step, and a year change with the first drawing after it,
// each from the event to the last change of the picture. Offscreen; rebuilds in quorvel-sync on
// the session bus, as in the planner (bench/run gives it one).

#include "calendarstore.h"
#include "dialogs.h"
#include "propertybag.h"
#include "yearplan.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Window
{
    std::unique_ptr<QTemporaryDir> cache = std::make_unique<QTemporaryDir>();
    StreamDialogs dialogs;
    std::unique_ptr<YearPlan> plan;
};

// A planner of the demo (0) or of the bench store (1), every appointment shown, its year rebuilt
// and drawn; made once per store.
YearPlan &PlanOf(int which)
{
    static Window windows[2];
    Window &w = windows[which];
    if (w.plan)
        return *w.plan;
    Store::ProfileOptions options;
    options.storeDir = which == 0 ? QStringLiteral(QUORVEL_DEMO_STORE)
                                  : qEnvironmentVariable("QUORVEL_BENCH_STORE");
    Store::Application::setSharedOptions(options);
    qputenv("TMP", QFile::encodeName(w.cache->path()));
    w.plan = std::make_unique<YearPlan>(nullptr, &w.dialogs);
    YearPlan &plan = *w.plan;
    plan.resize(1600, 900);
    plan.show();
    plan.ReadProperties(
        MapPropertyBag({{QStringLiteral("AllEvents"), QStringLiteral("True")},
                        {QStringLiteral("DisplaySubject"), QStringLiteral("True")}}));
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 120000 && (plan.pendingUpdates() > 0 || plan.state().store->Count() == 0))
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return plan;
}

void Notch(YearPlan &plan, int delta)
{
    QWheelEvent wheel(QPointF(200, 200), plan.gridCanvas()->mapToGlobal(QPointF(200, 200)),
                      QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(plan.gridCanvas(), &wheel);
    QApplication::processEvents(); // the repaint the scroll asked for
}

// A notch down and back up: within what the window keeps drawn.
void BM_WheelNotch(benchmark::State &bench)
{
    YearPlan &plan = PlanOf(int(bench.range(0)));
    plan.gridScrollBar()->setValue(0);
    for (auto _ : bench) {
        Notch(plan, -120);
        Notch(plan, 120);
    }
    bench.counters["scrolls"] = plan.gridScrollBar()->maximum() > 0;
}

// Twenty notches down, then the scroll bar back to the top: past what the window keeps drawn.
void BM_WheelFar(benchmark::State &bench)
{
    YearPlan &plan = PlanOf(int(bench.range(0)));
    for (auto _ : bench) {
        plan.gridScrollBar()->setValue(0);
        QApplication::processEvents();
        for (int i = 0; i < 20; ++i)
            Notch(plan, -120);
    }
}

// One step of the scroll bar down and one up.
void BM_ScrollBarStep(benchmark::State &bench)
{
    YearPlan &plan = PlanOf(int(bench.range(0)));
    QScrollBar *bar = plan.gridScrollBar();
    bar->setValue(0);
    for (auto _ : bench) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QApplication::processEvents();
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QApplication::processEvents();
    }
}

// The caches of the next two years, made by their first rebuilds; the year shown as before.
void MakeCaches(YearPlan &plan)
{
    for (int delta : {1, 1, -2}) {
        plan.ChangeYear(delta);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 120000 && plan.pendingUpdates() > 0)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// The next year and back, each loaded from its cache, laid out and drawn (their rebuilds, asked
// for by every change, are cancelled by the next one as a person paging through years does).
void BM_YearChange(benchmark::State &bench)
{
    YearPlan &plan = PlanOf(int(bench.range(0)));
    MakeCaches(plan);
    for (auto _ : bench) {
        plan.ChangeYear(1);
        QApplication::processEvents();
        plan.ChangeYear(-1);
        QApplication::processEvents();
    }
}

// Onward through three years: each change lands on a year not kept in memory, read from its cache.
void BM_YearChangeOnward(benchmark::State &bench)
{
    YearPlan &plan = PlanOf(int(bench.range(0)));
    MakeCaches(plan);
    for (auto _ : bench) {
        for (int delta : {1, 1, -2}) {
            plan.ChangeYear(delta);
            QApplication::processEvents();
        }
    }
}

// Onward a year at a time, looking at each for a while (untimed) before the next change: the
// next year is read ahead meanwhile.
void BM_YearChangeAfterAPause(benchmark::State &bench)
{
    YearPlan &plan = PlanOf(int(bench.range(0)));
    MakeCaches(plan);
    const auto look = [&] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < YearSession::kReadAheadDelayMs + 800)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    int delta = 1;
    for (auto _ : bench) {
        bench.PauseTiming();
        look();
        bench.ResumeTiming();
        plan.ChangeYear(delta);
        QApplication::processEvents();
        delta = -delta;
    }
}

} // namespace

// Argument: 0 the demo, 1 the 10,000-item bench store.
BENCHMARK(BM_WheelNotch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelFar)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollBarStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearChangeOnward)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearChangeAfterAPause)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(6);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
