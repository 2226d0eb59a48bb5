// Time per reverse calculation (foot point of a surveyed point) on the right-hand example curve
// (R 500, A1 200, A2 250): a point 5 m right of the stakes at 12200 (first spiral), 12500 (second
// spiral), 12300 (arc) and 12100 (incoming tangent).
// About 15 000 instructions a call (callgrind, the arc), three quarters of them building the
// curve's one-JD alignment, which every reverse calculation does once; before the one curve was an
// alignment, 422 ns a call against 1935 ns now on a quiet machine.
#include <benchmark/benchmark.h>

#include <cmath>

#include "alignment/curve_reverse.h"
#include "curve/angle.h"
#include "geometry/curve_elements.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

const DesignValues kDesign{12345.678, 3456789.123, 512345.678, 45.3015, 30.1530, 500, 200, 250};
constexpr double kOffset_m = 5.0;

void BM_FootPoint(benchmark::State& state, double Kp_m) {
    const CurveElements curve = computeCurve(kDesign);
    const StakePosition stake = *centreStake(curve, Kp_m, 0.0);
    double x = stake.x_m + kOffset_m * std::cos(stake.axisAzimuth_deg * kDegreeFactor);
    double y = stake.y_m + kOffset_m * std::sin(stake.axisAzimuth_deg * kDegreeFactor);
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        auto foot = footPoint(curve, x, y);
        benchmark::DoNotOptimize(foot);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_FootPoint, first_spiral, 12200.0);
BENCHMARK_CAPTURE(BM_FootPoint, second_spiral, 12500.0);
BENCHMARK_CAPTURE(BM_FootPoint, arc, 12300.0);
BENCHMARK_CAPTURE(BM_FootPoint, tangent, 12100.0);

}  // namespace
}  // namespace hcurve
