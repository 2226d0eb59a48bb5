// The named points of one computed curve, as the plan view marks them and the route's stake table
// lists them.
#pragma once

#include <vector>

#include "curve/curve_record.h"

namespace hcurve {

/// One end of the curve: ZH and HY at its start, YH and HZ at its end.
enum class CurveEnd { Start, End };

struct CharacteristicPoint {
    const char* name;
    double chainage_m;
    double x_m;  // north
    double y_m;  // east
};

/// The points of one end in chainage order: ZH, HY at the start and YH, HZ at the end. An end
/// without its spiral has one point, ZY at the start or YZ at the end.
std::vector<CharacteristicPoint> characteristicPoints(const CurveElements& c, CurveEnd end);

}  // namespace hcurve
