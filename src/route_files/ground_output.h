// The table the route writes of its ground sections (alignment/ground_sections.h): one row a
// section, its 桩号 and 里程, how many points it has, its two ends' offsets and the ground's
// height at the centre stake (empty where the ground line does not reach it), with four decimals
// as the route's other tables.
#pragma once

#include <string>
#include <vector>

#include "alignment/ground_sections.h"

namespace hcurve {

/// "桩号,里程,点数,左端偏距,右端偏距,中桩地面高程" and a row per section.
std::string groundTableCsv(const std::vector<GroundSection>& sections);

}  // namespace hcurve
