// What the user types for a stake table of a route, read as the command line and the route
// window read it alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "alignment/route.h"

namespace hcurve {

/// The interval between stakes, typed in metres; nothing unless it is a number above zero.
std::optional<double> stakeInterval(const std::string& text);

/// The skew typed as 度.分秒, in decimal degrees; nothing unless it is a valid DMS angle of less
/// than 90 degrees either way.
std::optional<double> skewDegrees(const std::string& text);

/// "5,7.5" -> {5, 7.5}; nothing when a part is not a number or the list is empty.
std::optional<std::vector<double>> distanceList(const std::string& text);

/// One end of a stretch: a continuous chainage in metres, or a chainage text with the breaks
/// applied (where it stands twice, its first place when first is true, else its last). Nothing
/// and the reason in fault when the text cannot be placed.
std::optional<double> stretchEnd(const Route& route, const std::string& text, bool first,
                                 std::string& fault);

}  // namespace hcurve
