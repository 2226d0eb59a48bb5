// The ground sections of a route at its stakes: the surveyed sections placed on the route, and
// the list of the chainages that have ground for a stake table.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "alignment/ground_design.h"
#include "alignment/route.h"
#include "alignment/stake_table.h"

namespace hcurve {

/// A section lies at a stake when their chainages differ by this much at most.
constexpr double kSectionAtStake_m = 1e-3;

/// A ground section on the route.
struct GroundSection {
    double continuous_m = 0;
    std::string text;   // its 桩号: the stake's, or the route's at its chainage
    std::string point;  // the stake's name (BP, ZH, ...) where it lies at one, else empty
    std::vector<GroundPoint> points;  // left to right, offsets from the centre stake
    int line = 0;                     // of the file's section (0: cut from the terrain model)
    std::size_t file = 0;
    // Cut from a terrain model: the section's line left the model's hull on that side before the
    // reach asked (the ground line ends there).
    bool endsLeft = false, endsRight = false;
};

/// The surveyed sections of a design placed on the route, in route order; or the faults, in the
/// order of their lines: a chainage the route does not have (before BP, beyond EP, in the gap of a
/// short chain; a K-text a long chain gives twice), or two sections at one place, is a fault of
/// its section's line.
Result<std::vector<GroundSection>> placeGroundSections(const GroundDesign& ground,
                                                       const Route& route);

/// The sections for the stakes of a table: every placed section within the table's stretch
/// (its first stake to its last), named by the stake it lies at (within kSectionAtStake_m) or by
/// its own chainage where none is. Sections are never made up between two given ones: a stake
/// without a section has none. uncovered (when given) counts the stakes without one.
std::vector<GroundSection> sectionsAtStakes(const std::vector<GroundSection>& placed,
                                            const StakeTable& stakes,
                                            std::size_t* uncovered = nullptr);

/// The ground's height at an offset, linear between its points (at a marked step the point
/// after it, looking right); nothing beyond its ends.
std::optional<double> groundHeightAt(const std::vector<GroundPoint>& points, double offset_m);

}  // namespace hcurve
