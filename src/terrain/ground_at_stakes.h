// The ground sections of a stake table from what the route's files give: the surveyed sections
// at their own chainages, and where there is a terrain model the sections cut from it at the
// stakes.
#pragma once

#include <string>
#include <vector>

#include "alignment/ground_sections.h"
#include "terrain/terrain_model.h"

namespace hcurve {

/// How far a section is cut from a terrain model to each side, unless asked otherwise.
constexpr double kDefaultGroundReach_m = 50.0;

struct GroundAtStakes {
    std::vector<GroundSection> sections;  // in route order
    std::vector<std::string> warnings;    // each a line to tell
};

/// The sections for the stakes: every surveyed section within the table's stretch (named by the
/// stake it lies at, or by its own chainage: sectionsAtStakes), and with a terrain model a section
/// cut at each stake that has no surveyed one (terrainSections). Without a model, the stakes
/// without a surveyed section are counted in a warning.
GroundAtStakes groundAtStakes(const std::vector<GroundSection>& surveyed,
                              const TerrainModel* terrain, const Route& route,
                              const StakeTable& stakes, double skew_deg, double reach_m);

}  // namespace hcurve
