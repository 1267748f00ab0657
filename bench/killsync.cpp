// Kills quorvel-sync at random moments of rebuilds and counts the caches left partial: after
// every kill the cache file must be missing or the whole file of a rebuild that finished. Run by
// bench/kill-sync on a private session bus.
#include "cachefile.h"
#include "calendarstore.h"
#include "remotesyncher.h"
#include "syncherbus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

bool WaitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: killsync STORE WORKDIR KILLS\n");
        return 2;
    }
    Store::ProfileOptions options;
    options.storeDir = args[1];
    const QString work = args[2];
    const int kills = args[3].toInt();
    QDir().mkpath(work);
    MarkCacheDirectory(work); // quorvel-sync writes only where a planner's caches may be
    const Store::FolderPtr folder = Store::NameSpace(options).GetDefaultFolder(9);

    std::pair<qint16, qint32> report{-1, -1};
    std::unique_ptr<RemoteSyncher> link;
    const auto connectLink = [&] {
        link = std::make_unique<RemoteSyncher>(options);
        link->FolderID = folder->EntryID();
        link->StoreID = folder->StoreID();
        link->CalStartYear = 2026;
        link->CalStartMonth = 1;
        link->AllEvents = true;
        link->CacheFileName = work + "/cache.tmp";
        link->TempFileName = work + "/~cache.tmp";
        QObject::connect(link.get(), &SyncherLink::WriteComplete, [&](qint16 r, qint32 e) {
            report = {r, e};
        });
    };
    const auto rebuild = [&](int timeoutMs) {
        report = {-1, -1};
        link->UpdateCache();
        return WaitFor([&] { return report.first != -1; }, timeoutMs);
    };

    // The whole cache, and how long a rebuild takes.
    connectLink();
    QElapsedTimer t;
    t.start();
    if (!rebuild(120000) || report.first != 1) {
        std::fprintf(stderr, "the first rebuild failed: %d %d\n", report.first, report.second);
        return 1;
    }
    const qint64 rebuildMs = std::max<qint64>(t.elapsed(), 1);
    const QByteArray whole = ReadAll(link->CacheFileName);

    int killed = 0, finished = 0, partial = 0, missing = 0, tempsLeft = 0;
    for (int i = 0; i < kills; ++i) {
        if (!link || report.first == 7)
            connectLink();
        const uint pid =
            QDBusConnection::sessionBus().interface()->servicePid(link->serviceOwner()).value();
        report = {-1, -1};
        link->UpdateCache();
        // A moment anywhere in the rebuild, its writing of the file and its rename included.
        const qint64 wait = QRandomGenerator::global()->bounded(rebuildMs + rebuildMs / 10 + 1);
        WaitFor([&] { return report.first != -1; }, int(wait));
        if (report.first == -1 && pid > 1 && ::kill(pid_t(pid), SIGKILL) == 0) {
            ++killed;
            WaitFor([&] { return report.first != -1; }, 10000);
            link.reset(); // its service is gone
        } else {
            ++finished;
        }
        const QByteArray now = ReadAll(work + "/cache.tmp");
        if (!QFile::exists(work + "/cache.tmp"))
            ++missing;
        else if (now != whole)
            ++partial;
        tempsLeft += QFile::exists(work + "/~cache.tmp");
    }
    std::printf("rebuild of the folder: %lld ms; %d kills during a rebuild, %d rebuilds ended "
                "first; caches partial afterwards: %d, missing: %d; temp files left by a killed "
                "writer (cleared by the next rebuild): %d\n",
                rebuildMs, killed, finished, partial, missing, tempsLeft);
    return partial == 0 && missing == 0 ? 0 : 1;
}
