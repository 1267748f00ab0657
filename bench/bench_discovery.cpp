// Discovery of a vdirsyncer storage of many collections and no pair (a directory anyone may
// fill): the calendars found and the stores made of them, at 5,000 to 40,000 subdirectories.
// Linear: each step of 4x in the count costs about 4x the time. And what a session pays to find
// that the desktop's calendar service does not run (run it on a bus without the service, e.g.
// dbus-run-session --config-file=build/dbus/session.conf -- build/bench/bench_discovery).

#include "desktopcalendars.h"
#include "edscalendars.h"
#include "knowncalendars.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_DiscoverManyCollections(benchmark::State &state)
{
    QTemporaryDir home;
    const QString storage = home.filePath("calendars");
    for (int i = 0; i < state.range(0); ++i)
        QDir().mkpath(storage + QStringLiteral("/c%1").arg(i));
    const QString config = QStringLiteral("[storage many]\ntype = \"filesystem\"\npath = \"%1\"\n"
                                          "fileext = \".ics\"\n")
                               .arg(storage);
    for (auto _ : state) {
        const QList<Store::KnownCalendar> found = Store::VdirsyncerCalendars(config, home.path());
        const QList<Store::KnownStore> stores = Store::KnownStores(found);
        benchmark::DoNotOptimize(stores.size());
        if (found.size() != state.range(0) || stores.size() != 1 ||
            stores[0].folders.size() != state.range(0))
            state.SkipWithError("not every collection was found");
    }
    state.SetComplexityN(state.range(0));
}

void BM_DesktopCalendarsNotRunning(benchmark::State &state)
{
    Store::UseDesktopCalendars();
    for (auto _ : state) {
        if (Store::ConnectDesktopCalendars())
            state.SkipWithError("the desktop's calendar service runs on this bus");
    }
}

} // namespace

BENCHMARK(BM_DesktopCalendarsNotRunning)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscoverManyCollections)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

BENCHMARK_MAIN();
