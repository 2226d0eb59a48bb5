// 开始计算: the design-data entry dialogue, then the curve computation and its display.
#pragma once

#include "curve/curve_record.h"
#include "port/user_port.h"

namespace hcurve {

/// Runs the whole command on the record, talking to the user through the port.
void command1(CurveRecord& record, UserPort& port);

}  // namespace hcurve
