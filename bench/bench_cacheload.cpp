// LoadCache of a 100,000-record cache file, beside a plain read and decode of the same records
// that builds no store: the loader's own cost is placement, keys, the store and the yields.

#include "cachefile.h"
#include "cacheloader.h"
#include "cacherecord.h"
#include "dialogs.h"
#include "fileio.h"
#include "oadate.h"
#include "plannerstate.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

const QString &CacheFile(int records)
{
    static QTemporaryDir dir;
    static QHash<int, QString> files;
    if (!files.contains(records)) {
        const QString path = dir.filePath(QString("bench%1.cache").arg(records));
        QRandomGenerator rng(42);
        const QStringList subjects = {"Team meeting", "Kundentermin München", "Release review",
                                      "Training: advanced C++", "Holiday", "Dentist",
                                      "Quarterly planning", "1:1 with Ana"};
        const QStringList categories = {"Work", "Holiday, Family", "Travel, Work", "", "Training",
                                        "Project"};
        // Ascending starts across the year, as the synchroniser writes them.
        const double first = OADate::fromDateTime(QDate(2026, 1, 1));
        const CacheWriteResult r = ReplaceCacheFile({path, path + ".new"}, [&](CacheRecordWriter &w) {
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

void BM_PlainRead(benchmark::State &state)
{
    const QString path = CacheFile(int(state.range(0)));
    for (auto _ : state) {
        BinaryFile f = BinaryFile::open(path);
        CacheRecordReader reader(f);
        CacheRecord r;
        int n = 0;
        while (!reader.atEnd() && reader.read(r))
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LoadCache(benchmark::State &state)
{
    const QString path = CacheFile(int(state.range(0)));
    StreamDialogs dialogs;
    PlannerState planner(dialogs);
    planner.year = PlannerYear(2026, 1);
    planner.categories.names = {"Holiday", "Work", "Travel", "Family", "Training", "Project",
                                "Other"};
    CacheLoader loader;
    for (auto _ : state) {
        loader.LoadCache(planner, path);
        if (planner.store->Count() != state.range(0))
            state.SkipWithError("records went missing");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_PlainRead)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCache)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the loader yields to a real event loop
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
