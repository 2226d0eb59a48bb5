// The ground model of terrain points: a model of 1 000 000 points built within 3 s, and 20 000
// sections cut from it within 500 ms (each 50 m to either side of a stake on a straight through
// the model, every 0.5 m). The points lie on a jittered grid, 1 m along and 2 m across, over a
// corridor 10 km long and 200 m wide, heights from a smooth surface, at a surveyor's coordinates.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "route_files/route_file.h"
#include "terrain/terrain_model.h"

namespace hcurve {
namespace {

constexpr double kNorth0_m = 3456000, kEast0_m = 512000;

std::vector<SurveyedPoint> corridorPoints() {
    std::vector<SurveyedPoint> points;
    const int along = 10000, across = 100;  // 2 m apart: 10 000 m by 200 m
    points.reserve(static_cast<std::size_t>(along) * across);
    unsigned seed = 7;
    const auto jitter = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) % 1000) / 1000.0 - 0.5;
    };
    for (int i = 0; i < along; ++i)
        for (int j = 0; j < across; ++j) {
            const double x = i * 1.0 + 0.6 * jitter(), y = -100 + j * 2.0 + 0.6 * jitter();
            points.push_back({0, "P", kNorth0_m + x, kEast0_m + y,
                              100 + 0.002 * x + 3 * std::sin(x / 150) + 0.01 * y * y / 20});
        }
    return points;
}

void BuildModelOfAMillionPoints(benchmark::State& state) {
    const std::vector<SurveyedPoint> points = corridorPoints();
    for (auto _ : state) {
        Result<std::shared_ptr<const TerrainModel>> building = buildTerrainModel(points, 1);
        benchmark::DoNotOptimize(building);
    }
    state.counters["points"] = static_cast<double>(points.size());
}
BENCHMARK(BuildModelOfAMillionPoints)->Unit(benchmark::kMillisecond)->Iterations(1);

// The reading of a terrain file of those points (点名,X,Y,H, 33 MB) beside a route, with the check
// for points given twice: no bound of its own, a part of what a run with such a file takes.
void ReadAMillionTerrainPoints(benchmark::State& state) {
    std::string text = "点名,X,Y,H\n";
    const std::vector<SurveyedPoint> points = corridorPoints();
    for (const SurveyedPoint& p : points) {
        char line[96];
        std::snprintf(line, sizeof line, "P,%.3f,%.3f,%.3f\n", p.x_m, p.y_m, p.H_m);
        text += line;
    }
    const std::string road =
        "点号,X,Y,R,A1,A2,桩号\nBP,3456000,512000,,,,K0+000\nJD1,3466000,512000,3000,0,0,\n"
        "EP,3466000,522000,,,,\n";
    for (auto _ : state) {
        const Result<RouteDesign> reading = readRouteFiles({road, text});
        if (!reading || reading->ground.terrain.size() != points.size())
            state.SkipWithError("not read");
    }
}
BENCHMARK(ReadAMillionTerrainPoints)->Unit(benchmark::kMillisecond)->Iterations(1);

void CutTwentyThousandSections(benchmark::State& state) {
    const Result<std::shared_ptr<const TerrainModel>> building =
        buildTerrainModel(corridorPoints(), 1);
    std::size_t crossings = 0;
    for (auto _ : state) {
        crossings = 0;
        for (int k = 0; k < 20000; ++k) {
            // Stakes every 0.5 m along the corridor's axis (north), sections to the east.
            const TerrainCut cut =
                cutSection(**building, kNorth0_m + 1 + k * 0.499, kEast0_m, 0, 1, 50);
            crossings += cut.points.size();
        }
        benchmark::DoNotOptimize(crossings);
    }
    state.counters["points_per_section"] = static_cast<double>(crossings) / 20000;
}
BENCHMARK(CutTwentyThousandSections)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hcurve

BENCHMARK_MAIN();
