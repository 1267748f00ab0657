// The XML export of the 10,000-item bench store ($QUORVEL_BENCH_STORE, written by
// bench/make-bench-store), every appointment shown: one planner year from its cache, with the
// body and place of each item read from the store, beside the synchroniser's rebuild of that
// year's cache; and three years, with the process's peak memory.

#include "calendarstore.h"
#include "dialogs.h"
#include "planner.h"
#include "propertybag.h"
#include "remotesyncher.h"
#include "syncher.h"
#include "xmlexporter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

Store::ProfileOptions BenchStore()
{
    Store::ProfileOptions options;
    options.storeDir = qEnvironmentVariable("QUORVEL_BENCH_STORE");
    return options;
}

// A planner on the bench store, showing every appointment, with the caches of the years asked
// for already built. Its rebuilds run in quorvel-sync, as a planner's do (bench/run gives it a
// bus of its own): an export's request for a year's update must not rebuild in its yields.
struct BenchPlanner
{
    // warm: the years' items are read once, as a planner that exported before has them.
    BenchPlanner(int firstYear, int lastYear, bool warm = true)
    {
        static QTemporaryDir cacheDir; // the caches stay for the next planner
        qputenv("TMP", QFile::encodeName(cacheDir.path()));
        Store::Application::setSharedOptions(BenchStore());
        planner.setSyncherFactory([this](const Store::ProfileOptions &store) {
            return MakeSyncherLink(dialogs, store, [](Dialogs &d, const Store::ProfileOptions &o) {
                return std::make_unique<Syncher>(d, o);
            });
        });
        planner.create();
        planner.ReadProperties(MapPropertyBag({{"AllEvents", "True"}}));
        if (!warm)
            return;
        XmlExporter exporter(planner);
        exporter.setWaitForRebuilds(true);
        exporter.SaveDocument({false, QDate(firstYear, 1, 1), QDate(lastYear, 12, 31)},
                              cacheDir.filePath("warm.xml"));
        planner.ReloadPlanner(); // the year shown, as after an export
    }

    StreamDialogs dialogs;
    Planner planner{dialogs};
};

void BM_RebuildYear(benchmark::State &bench)
{
    QTemporaryDir dir;
    StreamDialogs dialogs;
    Syncher syncher(dialogs, BenchStore());
    Store::NameSpace session(BenchStore());
    const Store::FolderPtr folder = session.GetDefaultFolder(Store::olFolderCalendar);
    syncher.FolderID = folder->EntryID();
    syncher.StoreID = folder->StoreID();
    syncher.AllEvents = true;
    syncher.CalStartYear = 2026;
    syncher.CalStartMonth = 1;
    syncher.CacheFileName = dir.filePath("cache.tmp");
    syncher.TempFileName = dir.filePath("~cache.tmp");
    for (auto _ : bench) {
        QEventLoop loop;
        QObject::connect(&syncher, &SyncherLink::WriteComplete, &loop, &QEventLoop::quit);
        syncher.UpdateCache();
        loop.exec();
    }
}

void BM_ExportYear(benchmark::State &bench)
{
    BenchPlanner b(2026, 2026);
    XmlExporter exporter(b.planner);
    // No counters here: a CSV report takes only those the first benchmark has.
    for (auto _ : bench)
        benchmark::DoNotOptimize(
            exporter.BuildDocument({false, QDate(2026, 1, 1), QDate(2026, 12, 31)}).size());
}

// A planner's first export: every item is read from its file for its body and place.
void BM_ExportYearFirst(benchmark::State &bench)
{
    BenchPlanner caches(2026, 2026);
    for (auto _ : bench) {
        bench.PauseTiming();
        auto b = std::make_unique<BenchPlanner>(2026, 2026, false);
        XmlExporter exporter(b->planner);
        bench.ResumeTiming();
        benchmark::DoNotOptimize(
            exporter.BuildDocument({false, QDate(2026, 1, 1), QDate(2026, 12, 31)}).size());
        bench.PauseTiming();
        b.reset();
        bench.ResumeTiming();
    }
}

void BM_ExportThreeYears(benchmark::State &bench)
{
    BenchPlanner b(2025, 2027);
    XmlExporter exporter(b.planner);
    QTemporaryDir dir;
    qint64 bytes = 0;
    for (auto _ : bench)
        exporter.SaveDocument({false, QDate(2025, 1, 1), QDate(2027, 12, 31)},
                              dir.filePath("three-years.xml"), &bytes);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    bench.counters["bytes"] = double(bytes);
    bench.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024.0;
}

} // namespace

BENCHMARK(BM_RebuildYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportYearFirst)->Unit(benchmark::kMillisecond);
// Run alone (--benchmark_filter=ThreeYears) for a peak memory of its own.
BENCHMARK(BM_ExportThreeYears)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
