// The second stage of 开始计算: compute the curve from the accepted design and show its elements
// and characteristic points, labelling each end of the curve for its spiral or its absence.
#pragma once

#include "curve/curve_record.h"
#include "port/user_port.h"

namespace hcurve {

/// Computes the record's curve and shows it, with the captions of its own spiral ends; the stakes
/// of the last run go with the old curve, and so do their fields, the axis angle and the side
/// groups' captions (back to those of the start). A design that gives no curve (spirals longer than
/// the deflection allows, or values that overflow) is answered with the reason; the element and
/// point fields are cleared and the record then holds no computed curve.
void computeAndShowCurve(CurveRecord& record, UserPort& port);

}  // namespace hcurve
