// Importing a calendar of 200,000 timed events (a 40 MB file) into an empty folder: the time,
// and the process's peak memory (the calendar's text included).

#include "calendarstore.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

QByteArray BigCalendar(int events)
{
    QRandomGenerator rng(1);
    QByteArray text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n"
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n"
        "BEGIN:STANDARD\r\nDTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
        "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
        "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
        "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
    text.reserve(qsizetype(events) * 210);
    for (int i = 0; i < events; ++i) {
        const QDate day = QDate(2026, 1, 1).addDays(rng.bounded(365));
        const QByteArray d = day.toString("yyyyMMdd").toLatin1();
        const QByteArray h = QByteArray::number(8 + i % 9).rightJustified(2, '0');
        text += "BEGIN:VEVENT\r\nUID:ev-" + QByteArray::number(i) +
                "@bench\r\nDTSTAMP:20260101T000000Z\r\n"
                "DTSTART;TZID=Europe/Berlin:" +
                d + "T" + h + "0000\r\nDTEND;TZID=Europe/Berlin:" + d + "T" + h +
                "3000\r\nSUMMARY:Event number " + QByteArray::number(i) +
                "\r\nCATEGORIES:Work\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

void BM_Import200000(benchmark::State &bench)
{
    const QByteArray text = BigCalendar(200000);
    int added = 0;
    QTemporaryDir dir; // one import a run (Iterations(1)): the folder starts empty
    QDir().mkpath(dir.filePath("Bench/Calendar"));
    Store::ProfileOptions options;
    options.storeDir = dir.filePath("Bench");
    Store::NameSpace session(options);
    const Store::FolderPtr folder = Store::FolderAtPath(session, "Bench\\Calendar");
    for (auto _ : bench)
        added = Store::ImportCalendar(*folder, text).added;
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    bench.counters["events"] = added;
    bench.counters["file_MB"] = double(text.size()) / 1e6;
    bench.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024;
}

} // namespace

BENCHMARK(BM_Import200000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
