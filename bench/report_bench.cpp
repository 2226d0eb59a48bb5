// Time to write the route report as a PDF for every metre of a road of 3042 m with a side point
// each way (3053 stakes, 75 pages), as 打印 of the route window writes it where no printer
// is found; and for a stretch of 300 m every 20 m.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <clocale>
#include <memory>

#include "qt_bench_support.h"
#include "window/route_window.h"

namespace hcurve {
namespace {

const char kRoute[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,100,100,\nJD2,1000,1000,300,0,0,\n"
    "EP,2300,1000,,,,\n\n断链前桩号,断链后桩号\nK1+500,K1+490\n";

void routeReport(benchmark::State& state, const char* interval, const char* to) {
    QTemporaryDir folder;
    QFile file(folder.filePath("route.csv"));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the route");
        return;
    }
    file.write(kRoute);
    file.close();
    const Result<RouteWindow*> opened = openRouteWindow(file.fileName());
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    if (!window) {
        state.SkipWithError("the route does not open");
        return;
    }
    window->intervalField()->setText(interval);
    window->fromField()->setText("");
    window->toField()->setText(to);
    window->leftField()->setText("5");
    window->rightField()->setText("5");
    window->skewField()->setText("");
    if (!window->computeStakes()) {
        state.SkipWithError("the stakes are refused");
        return;
    }
    int pages = 0;
    for (auto _ : state) {
        if (!window->print(folder.filePath("route.pdf"), [&](int, int all) {
                pages = all;
                return true;
            })) {
            state.SkipWithError("the report is not written");
            return;
        }
    }
    state.counters["pages"] = pages;
}

void BM_RouteReportEveryMetre(benchmark::State& state) {
    routeReport(state, "1", "");
}
BENCHMARK(BM_RouteReportEveryMetre)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RouteReportAStretch(benchmark::State& state) {
    routeReport(state, "20", "1300");
}
BENCHMARK(BM_RouteReportAStretch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hcurve

int main(int argc, char** argv) {
    return hcurve::bench::runBenchmarks<QApplication>(argc, argv);
}
