// The pointer moving over the bars of one year of the 10,000-item bench store
// ($QUORVEL_BENCH_STORE, written by bench/make-bench-store), every appointment shown: each move
// finds the bar in the hit map, fetches its item from the store for the names of its time zones and
// writes the date label's text, as a planner does on every mouse move.

#include "appointmentcommands.h"
#include "calendarstore.h"
#include "controllayout.h"
#include "dialogs.h"
#include "gridpointer.h"
#include "oadate.h"
#include "planner.h"
#include "propertybag.h"
#include "syncher.h"
#include "yeardrawing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Draws nothing: the bars' places go into the hit map, which is all the pointer needs.
class NullCanvas : public Canvas
{
public:
    double px() const override { return 15; }
    double py() const override { return 15; }
    double width() const override { return 28800; }
    double height() const override { return 1e7; }
    void clear() override {}
    void line(double, double, double, double, quint32) override {}
    void box(double, double, double, double, quint32, bool) override {}
    void setPenWidth(int) override {}
    void setXorMode(bool) override {}
    void setCurrentX(double) override {}
    void setCurrentY(double) override {}
    void print(const QString &) override {}
    double textHeight(const QString &) const override { return 150; }
    double textWidth(const QString &text) const override { return 100.0 * text.size(); }
    void setFontSize(double) override {}
    double fontSize() const override { return 8; }
    void setForeColor(quint32) override {}
    int DrawText(const QString &, QRect &, unsigned) override { return 10; }
};

class LabelView : public PointerView
{
public:
    explicit LabelView(const GridGeometry &g) : m_geometry(g) {}
    const GridGeometry &gridGeometry() const override { return m_geometry; }
    void setDateLabel(const QString &text) override { label = text; }
    void setGridToolTip(const QString &) override {}
    void setGridCursor(Cursor) override {}
    void toggleSelection(const SelectionCorners &) override {}
    void showAppointmentMenu(const QString &, bool, std::optional<QPointF>) override {}
    void redrawYear() override {}

    QString label;

private:
    GridGeometry m_geometry;
};

void BM_PointerMoveOverBars(benchmark::State &bench)
{
    Store::ProfileOptions options;
    options.storeDir = qEnvironmentVariable("QUORVEL_BENCH_STORE");
    Store::Application::setSharedOptions(options);
    QTemporaryDir cacheDir;
    qputenv("TMP", QFile::encodeName(cacheDir.path()));
    StreamDialogs dialogs;
    Planner planner(dialogs);
    planner.setSyncherFactory([&](const Store::ProfileOptions &store) {
        return std::make_unique<Syncher>(dialogs, store);
    });
    planner.create();
    planner.ReadProperties(MapPropertyBag({{"AllEvents", "True"}}));
    QElapsedTimer wait;
    wait.start();
    while ((planner.pendingUpdates() > 0 || planner.state().store->Count() == 0) &&
           wait.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    GridLayoutInput fit;
    fit.areaWidth = 28800;
    fit.areaHeight = planner.state().RowBands[12] * 300.0;
    fit.totalBands = planner.state().RowBands[12];
    fit.mayScroll = false;
    const GridGeometry g = LayoutGrid(fit).geometry;
    NullCanvas canvas;
    DrawEvents(canvas, planner.state(), g, planner.hitMap(), 0);

    // The middle of every cell of the hit map that holds a bar.
    QList<QPointF> bars;
    const HitMap &hits = planner.hitMap();
    for (int row = 1; row <= 12; ++row)
        for (int column = 1; column <= 37; ++column)
            for (int band = 2; band <= hits.bands(); ++band)
                if (!hits.at(row, column, band).isEmpty())
                    bars.append({(column - 0.5) * g.DayWidth,
                                 (planner.state().RowBands[row - 1] + band - 0.5) * g.BandHeight});
    if (bars.isEmpty()) {
        bench.SkipWithError("no bars: is QUORVEL_BENCH_STORE set?");
        return;
    }
    LabelView view(g);
    AppointmentCommands commands(planner);
    GridPointer pointer(planner, commands, view);
    qsizetype i = 0;
    qint64 withZones = 0;
    for (auto _ : bench) {
        const QPointF &at = bars[i++ % bars.size()];
        pointer.move(at.x(), at.y());
        withZones += view.label.endsWith(QLatin1Char(']'));
    }
    bench.counters["bars"] = double(bars.size());
    bench.counters["events"] = planner.state().store->Count();
    bench.counters["with_zones"] = double(withZones) / double(bench.iterations());
}

} // namespace

BENCHMARK(BM_PointerMoveOverBars)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
