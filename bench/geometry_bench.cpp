// Time per curve-element computation, per centre stake on each kind of segment, and per side-point
// set of one stake, on the right-hand example curve (R 500, A1 200, A2 250).
#include <benchmark/benchmark.h>

#include <vector>

#include "curve/angle.h"
#include "geometry/curve_elements.h"
#include "geometry/side_points.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

const DesignValues kDesign{12345.678, 3456789.123, 512345.678, 45.3015, 30.1530, 500, 200, 250};

void BM_CurveElements(benchmark::State& state) {
    DesignValues design = kDesign;
    for (auto _ : state) {
        benchmark::DoNotOptimize(design);
        CurveElements c = computeCurve(design);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_CurveElements);

// One stake at Kp (m) on the example curve: 12100 tangent, 12200 spiral, 12300 arc.
void BM_CentreStake(benchmark::State& state, double Kp_m) {
    const CurveElements curve = computeCurve(kDesign);
    double kp = Kp_m;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kp);
        auto s = centreStake(curve, kp, 0.0);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK_CAPTURE(BM_CentreStake, tangent, 12100.0);
BENCHMARK_CAPTURE(BM_CentreStake, spiral, 12200.0);
BENCHMARK_CAPTURE(BM_CentreStake, arc, 12300.0);

// Two left and two right points, front and back row (8 listed points).
void BM_SidePointsTwoRows(benchmark::State& state) {
    const std::vector<float> dl{0.0f, 5.0f, 10.0f};
    const std::vector<float> dr{0.0f, 5.0f, 10.0f};
    const SideSetup setup{dl, dr, 2, 2, 2, 1.5f, 2.0f};
    const SideRequest request = sideRequestOf(setup);
    std::vector<PlanePoint> points;
    double axis_deg = 161.450961;
    for (auto _ : state) {
        benchmark::DoNotOptimize(axis_deg);
        sidePointsOnAxis(3456750.4575, 512318.9125, axis_deg, request, points);
        benchmark::DoNotOptimize(points.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SidePointsTwoRows);

}  // namespace
}  // namespace hcurve

BENCHMARK_MAIN();
