// The synchroniser's full rebuild of one planner year from a store of 10,000 items (a fifth
// recurring, written by bench/make-bench-store into $QUORVEL_BENCH_STORE), beside the store's
// plain enumeration of the same year: the same session, restriction and occurrences, every item
// read, nothing written. The rebuild's own cost is the cache file, the per-item yield and the
// write timer's first tick. A rebuild after one that left its parts reads only the files that
// changed since: with none changed, and with one.

#include "cachefile.h"
#include "calendarstore.h"
#include "dialogs.h"
#include "edscalendars.h"
#include "filereplacement.h"
#include "remotesyncher.h"
#include "restriction.h"
#include "syncher.h"
#include "yearparts.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <utility>

namespace {

Store::ProfileOptions BenchStore()
{
    Store::ProfileOptions options;
    options.storeDir = qEnvironmentVariable("QUORVEL_BENCH_STORE");
    return options;
}

QString YearRestriction()
{
    return RangeRestriction(QDate(2026, 1, 1), QDate(2026, 12, 31));
}

// Every item of the year, as the synchroniser reads it; the number of occurrences.
qint64 Enumerate(Store::NameSpace &session)
{
    Store::ItemsPtr items = session.GetDefaultFolder(Store::olFolderCalendar)->Items();
    items->Sort("[Start]");
    items->setIncludeRecurrences(true);
    items = items->Restrict(YearRestriction());
    items->Sort("[Start]");
    double sum = 0;
    qint64 occurrences = 0;
    for (const Store::ItemPtr &item : items->all()) {
        const Store::AppointmentItemPtr a = Store::AppointmentOf(item);
        sum += a->Start() + a->End() + a->Subject().size() + a->Categories().size() +
               item->EntryID().size();
        ++occurrences;
    }
    benchmark::DoNotOptimize(sum);
    return occurrences;
}

// A session opened for each enumeration: every file is read and parsed.
void BM_PlainEnumeration(benchmark::State &state)
{
    qint64 occurrences = 0;
    for (auto _ : state) {
        Store::NameSpace session(BenchStore());
        occurrences = Enumerate(session);
    }
    state.counters["occurrences"] = double(occurrences);
}

// Points link at the bench store's calendar, 2026, every event, cache files in dir (marked, as
// a planner marks its TMP, so that quorvel-sync writes there).
void Prepare(SyncherLink &link, const QTemporaryDir &dir)
{
    MarkCacheDirectory(dir.path());
    Store::NameSpace session(BenchStore());
    const Store::FolderPtr folder = session.GetDefaultFolder(Store::olFolderCalendar);
    link.FolderID = folder->EntryID();
    link.StoreID = folder->StoreID();
    link.AllEvents = true;
    link.CalStartYear = 2026;
    link.CalStartMonth = 1;
    link.CacheFileName = dir.filePath("cache.tmp");
    link.TempFileName = dir.filePath("~cache.tmp");
}

// The results a link reports, one at a time.
class Reports
{
public:
    explicit Reports(SyncherLink &link)
        : m_connection(QObject::connect(&link, &SyncherLink::WriteComplete,
                                        [this](qint16 r, qint32) { m_result = r; }))
    {
    }
    ~Reports() { QObject::disconnect(m_connection); }
    // Serves events until the next report arrives; its result.
    int next()
    {
        while (m_result == 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return std::exchange(m_result, 0);
    }

private:
    int m_result = 0;
    QMetaObject::Connection m_connection;
};

// What comes between the rebuilds: every file read (no parts of the last rebuild), nothing
// changed, or one item file replaced (by rename, with its own text) since.
enum class Between { EveryFile, NothingChanged, OneFileChanged };

// After an error the loops break: the benchmark library takes no more timing calls then.
void Rebuild(benchmark::State &state, SyncherLink &link, Between between)
{
    QTemporaryDir dir;
    Prepare(link, dir);
    Reports reports(link);
    const QString parts = YearPartsFileOf(link.CacheFileName);
    QString changed;
    if (between != Between::EveryFile) {
        link.UpdateCache(); // the parts the timed rebuilds start from
        reports.next();
        const QStringList files = QDir(BenchStore().storeDir + "/Calendar").entryList({"*.ics"});
        changed = files.value(files.size() / 2);
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (between == Between::EveryFile)
            QFile::remove(parts);
        if (between == Between::OneFileChanged) {
            const QString file = BenchStore().storeDir + "/Calendar/" + changed;
            QFile in(file);
            if (!in.open(QIODevice::ReadOnly) ||
                ReplaceFile(file, in.readAll(), FileDurability::Quick) != 0) {
                state.SkipWithError("cannot replace an item file");
                break;
            }
        }
        state.ResumeTiming();
        link.UpdateCache();
        if (reports.next() != 1) {
            state.SkipWithError("the rebuild failed");
            break;
        }
    }
}

void BM_Rebuild(benchmark::State &state)
{
    StreamDialogs dialogs;
    Syncher syncher(dialogs, BenchStore());
    Rebuild(state, syncher, Between::EveryFile);
}

void BM_RebuildNothingChanged(benchmark::State &state)
{
    StreamDialogs dialogs;
    Syncher syncher(dialogs, BenchStore());
    Rebuild(state, syncher, Between::NothingChanged);
}

void BM_RebuildOneFileChanged(benchmark::State &state)
{
    StreamDialogs dialogs;
    Syncher syncher(dialogs, BenchStore());
    Rebuild(state, syncher, Between::OneFileChanged);
}

// quorvel-sync doing the same, when a session bus is at hand.
void BM_RebuildOverTheBus(benchmark::State &state)
{
    try {
        RemoteSyncher remote(BenchStore());
        Rebuild(state, remote, Between::EveryFile);
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

// How long a cancel waits for its report when it reaches quorvel-sync half a second into a
// rebuild, while the folder is still being read and its occurrences worked out.
void BM_CancelOverTheBus(benchmark::State &state)
{
    try {
        RemoteSyncher remote(BenchStore());
        QTemporaryDir dir;
        Prepare(remote, dir);
        Reports reports(remote);
        for (auto _ : state) {
            QFile::remove(YearPartsFileOf(remote.CacheFileName)); // a rebuild that reads every file
            remote.UpdateCache();
            QElapsedTimer running;
            running.start();
            while (running.elapsed() < 500)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QElapsedTimer waited;
            waited.start();
            remote.CancelUpdate();
            const int result = reports.next();
            state.SetIterationTime(double(waited.nsecsElapsed()) / 1e9);
            if (result != 6) {
                state.SkipWithError("the rebuild ended before the cancel reached it");
                break;
            }
        }
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

// From a change saved by one session (another program, as the store sees it) to the folder's
// change notification in another that watches it: a vdir's watch, or the desktop calendar
// service's view.
void BM_ChangeHeard(benchmark::State &state)
{
    Store::NameSpace watching(BenchStore());
    const Store::ItemsPtr items = watching.GetDefaultFolder(Store::olFolderCalendar)->Items();
    int heard = 0;
    QObject::connect(items.get(), &Store::Items::ItemChange,
                     [&](const Store::ItemPtr &) { ++heard; });
    Store::NameSpace writing(BenchStore());
    const Store::ItemsPtr all = writing.GetDefaultFolder(Store::olFolderCalendar)->Items();
    Store::AppointmentItemPtr item;
    for (const Store::ItemPtr &i : all->all()) {
        if ((item = Store::AppointmentOf(i)) && !item->IsRecurring())
            break;
    }
    if (!item) {
        state.SkipWithError("no appointment to change");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QCoreApplication::processEvents(); // nothing left over from the last round
        heard = 0;
        item->setSubject(QStringLiteral("Changed %1").arg(++round));
        state.ResumeTiming();
        QElapsedTimer waited;
        waited.start();
        item->Save();
        while (heard == 0 && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (heard == 0) {
            state.SkipWithError("the change was not heard");
            break;
        }
    }
}

BENCHMARK(BM_PlainEnumeration)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Rebuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RebuildNothingChanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RebuildOneFileChanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RebuildOverTheBus)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CancelOverTheBus)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_ChangeHeard)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Store::UseDesktopCalendars(); // QUORVEL_BENCH_STORE=desktop: for the desktop's calendars
    if (qEnvironmentVariableIsEmpty("QUORVEL_BENCH_STORE")) {
        fprintf(stderr,
                "Set QUORVEL_BENCH_STORE to a store from bench/make-bench-store DIR 10000\n");
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
