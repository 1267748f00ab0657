// Printing a year of 10,000 appointments: laying it out over landscape A4 pages and drawing every
// page into a PDF (in memory), beside drawing the same year on a 1920x1080 screen with subjects.

#include "benchyear.h"
#include "dialogs.h"
#include "oadate.h"
#include "paintercanvas.h"
#include "papers.h"
#include "printpreview.h"
#include "yeardrawing.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kAppointments = 10000;

void BM_ScreenYearWithSubjects(benchmark::State &bench)
{
    StreamDialogs dialogs;
    PlannerState state(dialogs);
    state.year = PlannerYear(2026, 1);
    state.DisplaySubject = true;
    FillBenchYear(state, kAppointments);
    ImageCanvas canvas(QSize(1920, 1080));
    HitMap hits;
    for (auto _ : bench) {
        QSize size;
        const GridGeometry g = LayOutBenchYear(state, QSize(1920, 1080), false, size); // bands too
        DrawYear(canvas, state, g, 0xE1BFA5);
        DrawEvents(canvas, state, g, hits, OADate::fromDateTime(QDate(2026, 6, 1)));
    }
}

void BM_PrintYear(benchmark::State &bench)
{
    StreamDialogs dialogs;
    PlannerState state(dialogs);
    state.year = PlannerYear(2026, 1);
    state.DisplaySubject = true;
    FillBenchYear(state, kAppointments);
    PageLayoutTarget paper;
    PrintPreview preview(state, paper);
    preview.open();
    preview.settings().setMinBandHeight(1); // millimetres: a few months a page
    qint64 bytes = 0;
    for (auto _ : bench) {
        if (preview.Paginate() != PrintPreview::Outcome::Laid) {
            bench.SkipWithError("the year could not be laid out");
            return;
        }
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QPdfWriter writer(&pdf);
        writer.setPageLayout(paper.layout());
        writer.setResolution(paper.resolution());
        preview.print(writer);
        bytes = pdf.size();
    }
    bench.counters["pages"] = preview.pageCount();
    bench.counters["pdf_bytes"] = double(bytes);
}

} // namespace

BENCHMARK(BM_ScreenYearWithSubjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintYear)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Print settings of their own, never the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
