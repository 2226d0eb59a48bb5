#include "terrain/centre_ground.h"

#include <algorithm>
#include <cmath>

namespace hcurve {
namespace {

// The surveyed section within kSectionAtStake_m of a place, or none.
const GroundSection* surveyedAt(const std::vector<GroundSection>& surveyed, double continuous_m) {
    const auto near =
        std::lower_bound(surveyed.begin(), surveyed.end(), continuous_m - kSectionAtStake_m,
                         [](const GroundSection& s, double c) { return s.continuous_m < c; });
    if (near == surveyed.end() || near->continuous_m > continuous_m + kSectionAtStake_m)
        return nullptr;
    // Of two sections within reach (never closer than a millimetre to each other when placed),
    // the nearer.
    const auto next = near + 1;
    if (next != surveyed.end() && next->continuous_m <= continuous_m + kSectionAtStake_m &&
        std::fabs(next->continuous_m - continuous_m) < std::fabs(near->continuous_m - continuous_m))
        return &*next;
    return &*near;
}

}  // namespace

Result<RouteGround> routeGround(const GroundDesign& design, std::vector<GroundSection> placed) {
    RouteGround ground;
    ground.surveyed = std::move(placed);
    if (!design.terrain.empty()) {
        Result<std::shared_ptr<const TerrainModel>> building =
            buildTerrainModel(design.terrain, design.terrainFile);
        if (!building)
            return Result<RouteGround>::failed(building.failures());
        ground.terrain = std::move(*building);
    }
    return ground;
}

std::vector<std::optional<double>> centreGroundAtStakes_m(const RouteGround& ground,
                                                          const StakeTable& stakes) {
    std::vector<std::optional<double>> heights;
    heights.reserve(stakes.rows.size());
    for (const StakeRow& stake : stakes.rows) {
        if (const GroundSection* s = surveyedAt(ground.surveyed, stake.continuous_m))
            heights.push_back(groundHeightAt(s->points, 0));
        else if (ground.terrain)
            heights.push_back(terrainHeightAt(*ground.terrain, stake.x_m, stake.y_m));
        else
            heights.emplace_back();
    }
    return heights;
}

std::size_t stakesWithoutGround(const std::vector<std::optional<double>>& ground_m) {
    return static_cast<std::size_t>(
        std::count_if(ground_m.begin(), ground_m.end(), [](const auto& h) { return !h; }));
}

std::vector<GroundLinePoint> centreGroundLine(const RouteGround& ground, const StakeTable* stakes) {
    std::vector<GroundLinePoint> line;
    for (const GroundSection& s : ground.surveyed)
        line.push_back({s.continuous_m, groundHeightAt(s.points, 0)});
    if (ground.terrain && stakes) {
        std::vector<GroundLinePoint> cut;
        for (const StakeRow& stake : stakes->rows) {
            // A chain break's two rows are one place.
            if (!cut.empty() &&
                std::fabs(cut.back().continuous_m - stake.continuous_m) <= kSectionAtStake_m)
                continue;
            if (surveyedAt(ground.surveyed, stake.continuous_m))
                continue;
            cut.push_back(
                {stake.continuous_m, terrainHeightAt(*ground.terrain, stake.x_m, stake.y_m)});
        }
        std::vector<GroundLinePoint> merged;
        merged.reserve(line.size() + cut.size());
        std::merge(line.begin(), line.end(), cut.begin(), cut.end(), std::back_inserter(merged),
                   [](const GroundLinePoint& a, const GroundLinePoint& b) {
                       return a.continuous_m < b.continuous_m;
                   });
        line = std::move(merged);
    }
    return line;
}

}  // namespace hcurve
