// 开始计算: the design-data entry dialogue, then the curve computation and its display.
#pragma once

#include <string>

#include "curve/curve_record.h"
#include "port/user_port.h"

namespace hcurve {

/// Runs the whole command on the record, talking to the user through the port.
void designEntry(CurveRecord& record, UserPort& port);

/// The one-line hint before a confirmation is asked again because its answer was neither empty
/// nor a number.
std::string confirmationHint(const std::string& typed);

}  // namespace hcurve
