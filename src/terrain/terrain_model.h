// The ground model of surveyed terrain points: their Delaunay triangulation (CGAL), from which a
// ground section is cut along a line. A build without CGAL (the Windows and web builds) has no
// model: terrainModelAvailable() is false there and buildTerrainModel refuses.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "alignment/ground_design.h"
#include "alignment/route_design.h"
#include "curve/result.h"

namespace hcurve {

/// Whether this build can triangulate terrain points.
bool terrainModelAvailable();

/// The triangulated terrain (opaque).
class TerrainModel;

/// The model of the points (their duplicates already refused by the reader; a point repeated
/// with its height is taken once), or its fault: fewer than three points, all of them on one
/// line, or a build without CGAL. file: the points' file, for the fault.
Result<std::shared_ptr<const TerrainModel>> buildTerrainModel(
    const std::vector<SurveyedPoint>& points, std::size_t file);

/// A section cut from the model along the line through (x_m, y_m) in the direction (dx, dy)
/// (a unit vector, north and east, pointing to the right): the model's height at every crossing
/// of a triangle edge, from the hull on the left to the hull on the right, with offsets along
/// the line from the point (negative to the left). The section is the one piece of the line
/// inside the hull that holds the point; leavesLeft / leavesRight tell that the line leaves the
/// hull within reach_m on that side (the section ends there), outside that the point itself
/// lies outside the hull (no points then).
struct TerrainCut {
    std::vector<GroundPoint> points;
    bool outside = false;
    bool leavesLeft = false;
    bool leavesRight = false;
};

TerrainCut cutSection(const TerrainModel& model, double x_m, double y_m, double dx, double dy,
                      double reach_m);

/// The model's height at a point (x_m north, y_m east): the plane of the triangle it lies in;
/// nothing outside the hull.
std::optional<double> terrainHeightAt(const TerrainModel& model, double x_m, double y_m);

}  // namespace hcurve

#include "alignment/ground_sections.h"

namespace hcurve {

/// The sections cut from the model at the stakes of a table, along each stake's transverse axis
/// (turned by skew_deg clockwise from the normal, as the stake request has it), reach_m to each
/// side at most; offsets are along that axis. A stake of a chain break (its two texts at one place)
/// has one section, under its first text. warnings: each stake whose section leaves the hull
/// within reach_m (its side and the offset where it ends; the first kMostStakeWarnings, then how
/// many in all), and the stakes outside the model (no section).
constexpr std::size_t kMostStakeWarnings = 20;

struct TerrainSections {
    std::vector<GroundSection> sections;
    std::vector<std::string> warnings;
};

TerrainSections terrainSections(const TerrainModel& model, const Route& route,
                                const StakeTable& stakes, double skew_deg, double reach_m);

}  // namespace hcurve
