// Time to open the two stake tables with 100000 stakes and two side points each way, until the
// view has laid out and painted its first screen (offscreen): 中桩成果表 after a run of the
// right-hand example curve (12100 to about 12600 every 5 mm), and the route window's 中桩表 of a
// road of 3042 m every 3 cm. The route's stake computation itself is timed apart.
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <clocale>
#include <memory>
#include <string>
#include <vector>

#include "entry/design_entry.h"
#include "qt_bench_support.h"
#include "route_files/route_tables.h"
#include "stakes/stake_run.h"
#include "window/plan_view_window.h"
#include "window/route_window.h"
#include "window/stake_table_window.h"

namespace hcurve {
namespace {

using bench::largeRun;

void BM_OpenStakeTableWindow(benchmark::State& state) {
    const CurveRecord& record = largeRun();
    for (auto _ : state) {
        StakeTableWindow window(record, [](const std::string&) {});
        window.showRun("JD1", 1);
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.model()->rowCount());
    }
    state.counters["stakes"] = static_cast<double>(record.lastRun.stakes.size());
}
BENCHMARK(BM_OpenStakeTableWindow)->Unit(benchmark::kMillisecond);

const char kRoute[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,100,100,\nJD2,1000,1000,300,0,0,\n"
    "EP,2300,1000,,,,\n\n断链前桩号,断链后桩号\nK1+500,K1+490\n";

struct RouteFile {
    QTemporaryDir folder;
    QString path;
    RouteFile() : path(folder.filePath("route.csv")) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(kRoute);
    }
};

// The route window of the road, its form asking for every 3 cm with 5 and 10 m each way.
std::unique_ptr<RouteWindow> routeWindow(const RouteFile& file) {
    const Result<RouteWindow*> opened = openRouteWindow(file.path);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    if (!window)
        return window;
    window->intervalField()->setText("0.03");
    window->fromField()->setText("");
    window->toField()->setText("");
    window->leftField()->setText("5,10");
    window->rightField()->setText("5,10");
    window->skewField()->setText("");
    // The stake table's page in front.
    window->tabs()->setCurrentWidget(window->stakeTable()->parentWidget());
    return window;
}

// 计算中桩 in a shown window: the stakes computed and the table's first screen painted.
void BM_RouteStakeTable(benchmark::State& state) {
    RouteFile file;
    std::unique_ptr<RouteWindow> window = routeWindow(file);
    if (!window) {
        state.SkipWithError("the route does not open");
        return;
    }
    window->show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        if (!window->computeStakes()) {
            state.SkipWithError("the stakes are refused");
            return;
        }
        QCoreApplication::processEvents();
    }
    state.counters["stakes"] = static_cast<double>(window->stakeTable()->model()->rowCount());
}
BENCHMARK(BM_RouteStakeTable)->Unit(benchmark::kMillisecond);

// The plan tab looked at after 计算中桩: the stakes and their side points placed on the plan, and
// the plan painted.
void BM_RoutePlanWithStakes(benchmark::State& state) {
    RouteFile file;
    std::unique_ptr<RouteWindow> window = routeWindow(file);
    if (!window || !window->computeStakes()) {
        state.SkipWithError("the route does not open or its stakes are refused");
        return;
    }
    window->show();
    QCoreApplication::processEvents();
    QWidget* stakePage = window->stakeTable()->parentWidget();
    QWidget* planPage = window->plan()->parentWidget();
    for (auto _ : state) {
        state.PauseTiming();
        window->tabs()->setCurrentWidget(stakePage);
        if (!window->computeStakes()) {
            state.SkipWithError("the stakes are refused");
            return;
        }
        QCoreApplication::processEvents();
        state.ResumeTiming();
        window->tabs()->setCurrentWidget(planPage);
        window->plan()->repaint();
    }
    state.counters["stakes"] = static_cast<double>(window->plan()->scene()->stakes.size());
}
BENCHMARK(BM_RoutePlanWithStakes)->Unit(benchmark::kMillisecond);

// The stake computation alone (no window), to tell it from the table's part above.
void BM_RouteStakeComputation(benchmark::State& state) {
    RouteFile file;
    std::unique_ptr<RouteWindow> window = routeWindow(file);
    if (!window) {
        state.SkipWithError("the route does not open");
        return;
    }
    StakeRequest request;
    request.interval_m = 0.03;
    request.left_m = {5, 10};
    request.right_m = {5, 10};
    std::size_t rows = 0;
    for (auto _ : state) {
        StakeTable table = *stakeTable(window->route(), request);
        rows = table.rows.size();
        benchmark::DoNotOptimize(table);
    }
    state.counters["stakes"] = static_cast<double>(rows);
}
BENCHMARK(BM_RouteStakeComputation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hcurve

int main(int argc, char** argv) {
    return hcurve::bench::runBenchmarks<QApplication>(argc, argv);
}
