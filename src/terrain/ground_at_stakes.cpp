#include "terrain/ground_at_stakes.h"

#include <algorithm>
#include <cmath>

namespace hcurve {

GroundAtStakes groundAtStakes(const std::vector<GroundSection>& surveyed,
                              const TerrainModel* terrain, const Route& route,
                              const StakeTable& stakes, double skew_deg, double reach_m) {
    GroundAtStakes ground;
    std::size_t uncovered = 0;
    ground.sections = sectionsAtStakes(surveyed, stakes, &uncovered);
    if (!terrain) {
        if (uncovered > 0 && !ground.sections.empty())
            ground.warnings.push_back(std::to_string(uncovered) +
                                      " 个桩没有地面横断面（横断面只列在给出的里程上，不在两个横断"
                                      "面之间插出）。");
        if (ground.sections.empty())
            ground.warnings.push_back("所列的桩号范围内没有地面横断面。");
        return ground;
    }
    // The stakes that no surveyed section stands at are cut from the model.
    StakeTable rest;
    for (const StakeRow& stake : stakes.rows) {
        const auto near = std::lower_bound(
            ground.sections.begin(), ground.sections.end(), stake.continuous_m - kSectionAtStake_m,
            [](const GroundSection& s, double c) { return s.continuous_m < c; });
        if (near == ground.sections.end() ||
            near->continuous_m > stake.continuous_m + kSectionAtStake_m)
            rest.rows.push_back(stake);
    }
    TerrainSections cut = terrainSections(*terrain, route, rest, skew_deg, reach_m);
    ground.warnings = std::move(cut.warnings);
    std::vector<GroundSection> merged;
    merged.reserve(ground.sections.size() + cut.sections.size());
    std::merge(std::make_move_iterator(ground.sections.begin()),
               std::make_move_iterator(ground.sections.end()),
               std::make_move_iterator(cut.sections.begin()),
               std::make_move_iterator(cut.sections.end()), std::back_inserter(merged),
               [](const GroundSection& a, const GroundSection& b) {
                   return a.continuous_m < b.continuous_m;
               });
    ground.sections = std::move(merged);
    return ground;
}

}  // namespace hcurve
