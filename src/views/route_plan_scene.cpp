#include "views/route_plan_scene.h"

#include <algorithm>
#include <cmath>

#include "curve/angle.h"
#include "route_files/route_tables.h"

namespace hcurve {
namespace {

// The centre line is sampled about every this many metres, with at least and at most so many
// samples, so that a curve of a few metres stays round and a long road stays quick to draw.
constexpr double kSampleSpacing_m = 2.0;
constexpr int kLeastSamples = 400;
constexpr int kMostSamples = 20000;

}  // namespace

PlanScene routePlanScene(const Route& route, const std::string& title) {
    PlanScene scene;
    scene.title = title;
    scene.route = true;
    const double length_m = route.end_m - route.start_m;
    const int samples =
        std::clamp(static_cast<int>(length_m / kSampleSpacing_m), kLeastSamples, kMostSamples);
    scene.centreLine.reserve(static_cast<std::size_t>(samples) + 1);
    for (int i = 0; i <= samples; ++i) {
        const RouteStake s = stakeAt(route, route.start_m + length_m * i / samples);
        scene.centreLine.push_back({s.x_m, s.y_m});
    }
    for (const RoutePointRow& p : route.points)
        scene.polygon.push_back({{p.x_m, p.y_m}, p.name, "", std::nullopt});
    if (!scene.polygon.empty()) {
        scene.start = scene.polygon.front().at;
        scene.end = scene.polygon.back().at;
        scene.jd = scene.start;
        scene.centre = scene.start;
    } else if (!scene.centreLine.empty()) {  // a route of elements: no JDs, its ends are its own
        scene.start = scene.centreLine.front();
        scene.end = scene.centreLine.back();
        scene.jd = scene.start;
        scene.centre = scene.start;
    }
    // The named stakes of the whole route: BP, EP and every characteristic point, each with its
    // label on the right of the road.
    StakeRequest request;
    request.interval_m = std::max(length_m, 1.0) * 2;
    const Result<StakeTable> table = stakeTable(route, request);
    for (const StakeRow& row : table ? table->rows : std::vector<StakeRow>{}) {
        if (row.point.empty())
            continue;
        scene.marks.push_back(
            {{row.x_m, row.y_m}, row.point, row.text, row.tangent_deg + kRightAngle_deg});
    }
    return scene;
}

std::vector<PlanStake> routePlanStakes(const StakeTable& table, const StakeRequest& request) {
    // Per row (the front row first) the left points in the order asked, then the right ones.
    const std::size_t leftPerRow = request.left_m.size();
    const std::size_t perRow = leftPerRow + request.right_m.size();
    const std::size_t n = table.sidesPerStake;
    std::vector<PlanStake> stakes;
    stakes.reserve(table.rows.size());
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const StakeRow& r = table.rows[i];
        PlanStake stake{{r.x_m, r.y_m}, r.text, r.tangent_deg - kRightAngle_deg, {}, {}};
        stake.left.reserve(n / std::max<std::size_t>(perRow, 1) * leftPerRow);
        stake.right.reserve(n - stake.left.capacity());
        for (std::size_t j = 0; j < n && perRow > 0; ++j) {
            const PlanePoint p{table.sideX_m[i * n + j], table.sideY_m[i * n + j]};
            (j % perRow < leftPerRow ? stake.left : stake.right).push_back(p);
        }
        stakes.push_back(std::move(stake));
    }
    return stakes;
}

}  // namespace hcurve
