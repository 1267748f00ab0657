// LoadCache of a 100,000-record cache file, beside a plain read and decode of the same records
// that builds no store: the loader's own cost is placement, keys, the store and the yields.

#include "binaryfile.h"
#include "cachefile.h"
#include "cacheloader.h"
#include "cacherecord.h"
#include "dialogs.h"
#include "oadate.h"
#include "plannerstate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString &CacheFile(int records)
{
    static QTemporaryDir dir;
    static QHash<int, QString> files;
    if (!files.contains(records)) {
        const QString path = dir.filePath(QString("bench%1.cache").arg(records));
        QRandomGenerator rng(42);
        const QStringList subjects = {"Team meeting",
                                      "Kundentermin München",
                                      "Release review",
                                      "Training: advanced C++",
                                      "Holiday",
                                      "Dentist",
                                      "Quarterly planning",
                                      "1:1 with Ana"};
        const QStringList categories = {"Work", "Holiday, Family", "Travel, Work",
                                        "",     "Training",        "Project"};
        // Ascending starts across the year, as the synchroniser writes them.
        const double first = OADate::fromDateTime(QDate(2026, 1, 1));
        const CacheWriteResult r =
            ReplaceCacheFile({path, path + ".new"}, [&](CacheRecordWriter &w) {
                for (int i = 0; i < records; ++i) {
                    // Whole quarter hours, as people book them.
                    const double start = first + std::floor(365.0 * 96 * i / records) / 96;
                    const double length = rng.bounded(4) == 0 ? 1.0 + rng.bounded(10) : 1.0 / 24;
                    // Entry identifiers as long as a mail client's (70 hex characters).
                    const QString id = QString("00000000%1%2")
                                           .arg(rng.generate64(), 16, 16, QChar('0'))
                                           .arg(i, 46, 16, QChar('0'));
                    w.write(id, subjects[i % subjects.size()], categories[i % categories.size()],
                            start, start + length);
                }
                return true;
            });
        if (!r.ok())
            std::abort();
        files.insert(records, path);
    }
    return files[records];
}

int PlainRead(const QString &path)
{
    BinaryFile f = BinaryFile::open(path);
    CacheRecordReader reader(f);
    CacheRecord r;
    int n = 0;
    while (!reader.atEnd() && reader.read(r))
        ++n;
    return n;
}

struct Planner
{
    Planner()
    {
        state.year = PlannerYear(2026, 1);
        state.categories.names = {"Holiday",  "Work",    "Travel", "Family",
                                  "Training", "Project", "Other"};
    }
    StreamDialogs dialogs;
    PlannerState state{dialogs};
    CacheLoader loader;
};

void BM_PlainRead(benchmark::State &state)
{
    const QString path = CacheFile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainRead(path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LoadCache(benchmark::State &state)
{
    const QString path = CacheFile(int(state.range(0)));
    Planner planner;
    for (auto _ : state) {
        planner.loader.LoadCache(planner.state, path);
        if (planner.state.store->Count() != state.range(0))
            state.SkipWithError("records went missing");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The two back to back in every iteration, and the median of their ratios: on a shared machine
// whatever slows one down for a while slows the other down too.
void BM_LoadCacheOverPlainRead(benchmark::State &state)
{
    const QString path = CacheFile(int(state.range(0)));
    Planner planner;
    std::vector<double> ratios;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(PlainRead(path));
        const qint64 plain = timer.nsecsElapsed();
        timer.restart();
        planner.loader.LoadCache(planner.state, path);
        ratios.push_back(double(timer.nsecsElapsed()) / double(std::max<qint64>(plain, 1)));
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    state.counters["ratio"] = ratios.empty() ? 0 : ratios[ratios.size() / 2];
}

} // namespace

BENCHMARK(BM_PlainRead)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCache)->Arg(100000)->Unit(benchmark::kMillisecond);
// Run on its own for CSV output: its counter is one the others lack.
BENCHMARK(BM_LoadCacheOverPlainRead)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the loader yields to a real event loop
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
