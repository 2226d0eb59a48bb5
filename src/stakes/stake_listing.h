// The listing of a stake run: each stake and each of its side points shown in the same few fields,
// one after the other, each released by a pause prompt.
#pragma once

#include "curve/curve_record.h"
#include "geometry/side_points.h"
#include "port/user_port.h"

namespace hcurve {

/// Shows stake i (1-based): its chainage and coordinates, then, when side points are on, its side
/// points from the row tables of that stake.
void listStake(const CurveRecord& record, const SideTables& sides, std::size_t i, UserPort& port);

}  // namespace hcurve
