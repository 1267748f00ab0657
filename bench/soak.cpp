// The planner on a folder that a sync tool keeps changing (bench/soak runs both): it runs for the
// given seconds, then waits for the last rebuild and checks that its year holds exactly what the
// folder holds then. Prints the memory at the start and the end and what differs.
#include "binaryfile.h"
#include "cacherecord.h"
#include "calendarstore.h"
#include "dialogs.h"
#include "planner.h"
#include "propertybag.h"
#include "yearrecords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QTimer>

#include <cstdio>
#include <malloc.h>

namespace {

// Runs the event loop for ms, sleeping while nothing happens (processEvents with a time limit
// returns at once when nothing waits, and spinning on it took a core from the planner's peers).
void Serve(qint64 ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// "VmRSS" or "VmHWM" of this process, in MiB.
long MemoryMiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

using Events = QMap<QString, int>; // "identifier|subject|start minute" and how often

QString KeyOf(const QString &id, const QString &subject, double start)
{
    return id + '|' + subject + '|' + QString::number(qRound64(start * 1440));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: soak STORE SECONDS\n");
        return 2;
    }
    Store::ProfileOptions options;
    options.storeDir = args[1];
    Store::Application::setSharedOptions(options);
    const qint64 seconds = args[2].toLongLong();

    StreamDialogs dialogs;
    Planner planner(dialogs); // rebuilds in quorvel-sync, as for a user
    planner.create();
    planner.ReadProperties(MapPropertyBag({{"AllEvents", "True"}}));
    QElapsedTimer t;
    t.start();
    while ((planner.pendingUpdates() > 0 || planner.state().store->Count() == 0) &&
           t.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const long startRss = MemoryMiB("VmRSS");
    ::malloc_trim(0);
    std::printf("start: %d events, %ld MiB (%ld MiB held)\n", planner.state().store->Count(),
                startRss, MemoryMiB("VmRSS"));
    std::fflush(stdout);

    Serve(seconds * 1000);
    // The sync tool has stopped: the last rebuild, then the year as it stands.
    t.restart();
    do
        Serve(3000);
    while (planner.pendingUpdates() > 0 && t.elapsed() < 300000);
    std::printf("caught up %lld s after the sync tool stopped\n", t.elapsed() / 1000);
    // The planner's own memory, before the check below reads the whole folder beside it.
    const long endRss = MemoryMiB("VmRSS"), endPeak = MemoryMiB("VmHWM");
    // What of it the allocator only keeps for reuse, handed back: the rest is held.
    ::malloc_trim(0);
    const long endHeld = MemoryMiB("VmRSS");

    Events shown;
    const EventStore &store = *planner.state().store;
    for (int i = 1; i <= store.Count(); ++i) {
        const CalEvent &e = store.Item(i);
        ++shown[KeyOf(e.EventID, e.Subject, e.StartDate)];
    }
    Events folder;
    BinaryFile memory = BinaryFile::inMemory(QStringLiteral("soak"));
    CacheRecordWriter writer(memory);
    const CalendarAccess &access = *planner.access();
    WriteYearRecords(*access.session(),
                     {access.folderId(), access.storeId(), planner.state().year.selectedYear(),
                      planner.state().year.startMonth(), true, planner.state().ListSeparator},
                     writer, [] { return true; });
    writer.flush();
    memory.rewind();
    CacheRecordReader reader(memory);
    CacheRecord r;
    while (!reader.atEnd() && reader.read(r))
        ++folder[KeyOf(r.EventID, r.Subject, r.StartDate)];

    int missing = 0, extra = 0;
    // The first few that differ, to find the change that was not seen.
    const auto say = [](const char *what, const QString &key, int count) {
        if (count > 0 && count < 6)
            std::printf("%s: %s\n", what, qPrintable(key));
    };
    for (auto it = folder.cbegin(); it != folder.cend(); ++it) {
        const int more = std::max(0, it.value() - shown.value(it.key()));
        missing += more;
        say("missing", it.key(), more ? missing : 0);
    }
    for (auto it = shown.cbegin(); it != shown.cend(); ++it) {
        const int more = std::max(0, it.value() - folder.value(it.key()));
        extra += more;
        say("not in the folder", it.key(), more ? extra : 0);
    }
    std::printf("end: %d events shown, %d in the folder's year; %d missing, %d not in the "
                "folder; memory %ld MiB (peak %ld MiB, %ld MiB held once the allocator gave "
                "back what it kept) before this check\n",
                store.Count(), int(folder.size()), missing, extra, endRss, endPeak, endHeld);
    return missing == 0 && extra == 0 ? 0 : 1;
}
