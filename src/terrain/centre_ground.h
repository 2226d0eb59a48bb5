// The ground at the centre line of a route: its height at each stake of a table (the stake
// table's 地面高程 and 填挖高) and the ground line of the profile (纵断面图), from the surveyed
// sections and, where the files give terrain points, their model.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "alignment/ground_sections.h"
#include "alignment/stake_table.h"
#include "curve/result.h"
#include "terrain/terrain_model.h"

namespace hcurve {

/// The ground of a route's files as the front ends keep it: the surveyed sections placed on the
/// route (route order) and the model of its terrain points (none without them).
struct RouteGround {
    std::vector<GroundSection> surveyed;
    std::shared_ptr<const TerrainModel> terrain;
    bool empty() const { return surveyed.empty() && !terrain; }
};

/// The ground of a route's files: its surveyed sections as placed, and the model of the design's
/// terrain points built here; or the faults that the model cannot be built for (fewer than three
/// points, all on one line, no triangulation in this build), each with its file and line.
Result<RouteGround> routeGround(const GroundDesign& design, std::vector<GroundSection> placed);

/// The ground's height at each row of the table, at its centre stake: the surveyed section at
/// its place (within kSectionAtStake_m) at offset 0, else the terrain model's height at the
/// stake; nothing where neither gives one (no section there, or one that does not reach the
/// centre; no model, or a stake outside it). No height is made up between two sections. Both rows
/// of a chain break stand at one place and read one ground.
std::vector<std::optional<double>> centreGroundAtStakes_m(const RouteGround& ground,
                                                          const StakeTable& stakes);

/// The stakes of centreGroundAtStakes_m without a height.
std::size_t stakesWithoutGround(const std::vector<std::optional<double>>& ground_m);

/// A point of the profile's ground line; without a height the line breaks there.
struct GroundLinePoint {
    double continuous_m = 0;
    std::optional<double> H_m;
};

/// The ground line along the centre: every surveyed section's height at offset 0, and with a
/// terrain model its height at every stake of the table (when one is given) that has no surveyed
/// section, in route order. A section that does not reach the centre, or a stake outside the
/// model, is a point without a height: the line is not drawn across it.
std::vector<GroundLinePoint> centreGroundLine(const RouteGround& ground, const StakeTable* stakes);

}  // namespace hcurve
