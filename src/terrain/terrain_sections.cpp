#include <cmath>

#include "curve/angle.h"
#include "curve/format.h"
#include "terrain/terrain_model.h"

namespace hcurve {

TerrainSections terrainSections(const TerrainModel& model, const Route& route,
                                const StakeTable& stakes, double skew_deg, double reach_m) {
    (void)route;
    TerrainSections result;
    std::size_t outside = 0, leaving = 0;
    std::string firstOutside;
    for (const StakeRow& stake : stakes.rows) {
        // A stake of a chain break stands twice: one section for both.
        if (!result.sections.empty() && std::fabs(result.sections.back().continuous_m -
                                                  stake.continuous_m) <= kSectionAtStake_m)
            continue;
        const double axis_rad =
            normaliseAzimuthOnce(stake.tangent_deg + kRightAngle_deg + skew_deg) * kDegreeFactor;
        const TerrainCut cut = cutSection(model, stake.x_m, stake.y_m, std::cos(axis_rad),
                                          std::sin(axis_rad), reach_m);
        if (cut.outside) {
            if (outside++ == 0)
                firstOutside = stake.text;
            continue;
        }
        if ((cut.leavesLeft || cut.leavesRight) && leaving++ < kMostStakeWarnings) {
            std::string sides;
            if (cut.leavesLeft)
                sides = "左侧在偏距 " + format(cut.points.front().offset_m, Pattern::Fixed3);
            if (cut.leavesRight)
                sides += std::string(sides.empty() ? "" : "、") + "右侧在偏距 " +
                         format(cut.points.back().offset_m, Pattern::Fixed3);
            result.warnings.push_back("桩 " + stake.text + " 的横断面" + sides +
                                      " 处出了地面模型的范围，地面线到那里为止。");
        }
        GroundSection s;
        s.continuous_m = stake.continuous_m;
        s.text = stake.text;
        s.point = stake.point;
        s.points = cut.points;
        s.endsLeft = cut.leavesLeft;
        s.endsRight = cut.leavesRight;
        result.sections.push_back(std::move(s));
    }
    if (leaving > kMostStakeWarnings)
        result.warnings.push_back("共 " + std::to_string(leaving) +
                                  " 个桩的横断面出了地面模型的范围，上面只列出了前 " +
                                  std::to_string(kMostStakeWarnings) + " 个。");
    if (outside > 0)
        result.warnings.push_back(std::to_string(outside) + " 个桩在地面模型之外（第一个：" +
                                  firstOutside + "），没有地面横断面。");
    return result;
}

}  // namespace hcurve
