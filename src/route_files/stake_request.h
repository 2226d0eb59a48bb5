// What the user types for a stake table of a route, read as the command line and the route
// window read it alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "curve/result.h"
#include "alignment/route.h"

namespace hcurve {

/// The interval between stakes, typed in metres: a number above zero, or
/// "桩距“text”必须是大于零的数值。".
Result<double> stakeInterval(const std::string& text);

/// The skew typed as 度.分秒, in decimal degrees: a valid DMS angle of less than 90 degrees either
/// way, or "斜交角“text”要按 度.分秒 输入，并小于 90 度。".
Result<double> skewDegrees(const std::string& text);

/// "5,7.5" -> {5, 7.5}; where a part is not a number or the list is empty the failure
/// "要用逗号分开的距离（如 5,7.5），“text”不对。", which the front end puts after the name of
/// its field ("--left", "左侧距离").
Result<std::vector<double>> distanceList(const std::string& text);

/// One end of a stretch: a continuous chainage in metres, or a chainage text with the breaks
/// applied (where it stands twice, its first place when first is true, else its last); or why
/// the text cannot be placed.
Result<double> stretchEnd(const Route& route, const std::string& text, bool first);

}  // namespace hcurve
