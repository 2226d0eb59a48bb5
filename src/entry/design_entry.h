// 开始计算: the design-data entry dialogue, then the curve computation and its display.
#pragma once

#include <string>

#include "curve/curve_record.h"
#include "port/user_port.h"

namespace hcurve {

/// Runs the whole command on the record, talking to the user through the port.
void designEntry(CurveRecord& record, UserPort& port);

/// Shows the record's design in its fields as the dialogue leaves them, then computes and shows
/// the curve, as 开始计算 does after its last question (a curve opened from a file).
void showDesignAndCurve(CurveRecord& record, UserPort& port);

/// Whether the field shows a design value that can be changed on its own.
bool isDesignField(Field field);

/// Asks the design value of the field again with its dialogue and confirmation, then computes and
/// shows the curve again. Needs a computed curve (otherwise the message kNoComputedCurve).
void changeDesignValue(CurveRecord& record, UserPort& port, Field field);

/// The one-line hint before a confirmation is asked again because its answer was neither empty
/// nor a number.
std::string confirmationHint(const std::string& typed);

}  // namespace hcurve
