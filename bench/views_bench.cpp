// Time to fill 中桩成果表 and to draw 平面图 for the right-hand example curve (R 500, A1 200,
// A2 250) after a run of the largest size the stake run takes, 100000 stakes (12100 to about
// 12600 every 5 mm), with two side points on each side; and for a run of 26 stakes every 20 m.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <clocale>
#include <string>
#include <vector>

#include "entry/design_entry.h"
#include "qt_bench_support.h"
#include "stakes/stake_run.h"
#include "stakes/stake_table.h"
#include "views/plan_painter.h"

namespace hcurve {
namespace {

using bench::largeRun;
using bench::recordWithRun;

const CurveRecord& smallRun() {
    static const CurveRecord record = recordWithRun("12600", "20");
    return record;
}

void BM_StakeTableRows(benchmark::State& state, const CurveRecord& (*record)()) {
    const CurveRecord& r = record();
    for (auto _ : state) {
        auto rows = stakeTableRows(r);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK_CAPTURE(BM_StakeTableRows, stakes_26, &smallRun)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StakeTableRows, stakes_100000, &largeRun)->Unit(benchmark::kMillisecond);

void BM_PlanScene(benchmark::State& state, const CurveRecord& (*record)()) {
    const CurveRecord& r = record();
    for (auto _ : state) {
        auto scene = planScene(r);
        benchmark::DoNotOptimize(scene);
    }
}
BENCHMARK_CAPTURE(BM_PlanScene, stakes_26, &smallRun)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlanScene, stakes_100000, &largeRun)->Unit(benchmark::kMillisecond);

// One repaint of a 1600 x 1130 picture, fitted (every stake in view) and zoomed 50 times about
// the middle (few stakes in view).
void BM_PaintPlan(benchmark::State& state, const CurveRecord& (*record)(), double zoom) {
    const PlanScene scene = planScene(record());
    const QSizeF size(1600, 1130);
    const PlanFrame frame = fitFrame(scene, size).zoomedAt(QPointF(800, 565), size, zoom);
    QImage image(size.toSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        paintPlan(painter, size, scene, frame);
    }
}
BENCHMARK_CAPTURE(BM_PaintPlan, stakes_26, &smallRun, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintPlan, stakes_100000_fitted, &largeRun, 1.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintPlan, stakes_100000_zoomed, &largeRun, 50.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hcurve

int main(int argc, char** argv) {
    return hcurve::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
