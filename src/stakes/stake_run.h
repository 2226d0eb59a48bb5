// 中桩计算: one stake run (single chainage or a range) and its listing.
#pragma once

#include "curve/curve_record.h"
#include "port/user_port.h"

namespace hcurve {

/// Runs one stake run on the record, talking to the user through the port.
void stakeRun(CurveRecord& record, UserPort& port);

}  // namespace hcurve
