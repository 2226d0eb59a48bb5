#include "alignment/cross_fall.h"

#include <algorithm>
#include <cmath>

#include "alignment/route.h"

namespace hcurve {
namespace {

constexpr double kPercent = 100;

}  // namespace

std::optional<CrossFall> buildCrossFall(const CrossFallTable& table, const Route& route,
                                        std::vector<Failure>& faults) {
    const std::size_t before = faults.size();
    CrossFall cross;
    for (const CrossFallRow& r : table.rows) {
        if (faults.size() >= kMostRouteFaults)
            break;
        const Result<double> at = placedChainage(route, r.at, false);
        if (!at) {
            faults.push_back({at.failure().message, r.line, table.file});
            continue;
        }
        if (!cross.points.empty() && *at < cross.points.back().at_m) {
            faults.push_back({"桩号 " + r.at.text + " 在上一行之前：横坡表要按里程顺序排列。",
                              r.line, table.file});
            continue;
        }
        cross.points.push_back({*at, r.left_pct, r.right_pct});
    }
    if (faults.size() != before)
        return std::nullopt;
    return cross;
}

CrossSlopes crossSlopesAt(const CrossFall& crossFall, double continuous_m) {
    const auto& p = crossFall.points;
    // The first row beyond the chainage; at a row's own chainage the last row there holds.
    auto it = std::upper_bound(p.begin(), p.end(), continuous_m,
                               [](double s, const CrossFall::Point& q) { return s < q.at_m; });
    if (it == p.begin())
        return {p.front().left_pct, p.front().right_pct};
    if (it == p.end())
        return {p.back().left_pct, p.back().right_pct};
    const CrossFall::Point &a = *(it - 1), &b = *it;
    const double t = (continuous_m - a.at_m) / (b.at_m - a.at_m);
    return {a.left_pct + t * (b.left_pct - a.left_pct),
            a.right_pct + t * (b.right_pct - a.right_pct)};
}

std::optional<double> surfaceElevation_m(const GradeLine& line, const CrossFall& crossFall,
                                         double continuous_m, double offset_m) {
    const std::optional<double> centre = designElevation_m(line, continuous_m);
    if (!centre)
        return std::nullopt;
    const CrossSlopes slopes = crossSlopesAt(crossFall, continuous_m);
    const double slope_pct = offset_m < 0 ? slopes.left_pct : slopes.right_pct;
    return *centre + std::fabs(offset_m) * slope_pct / kPercent;
}

}  // namespace hcurve
