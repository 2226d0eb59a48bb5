// The plan of the one computed curve for CAD, as the route's plan is drawn: its tangents and JD,
// its spirals and arc, its characteristic points with their chainage texts, and the stakes and
// side points of the last run with their names.
#pragma once

#include <optional>
#include <string>

#include "cad/route_dxf.h"
#include "curve/curve_record.h"
#include "curve/result.h"

namespace hcurve {

/// The record's computed curve (it must hold one) as one JD of a route: the centre line from ZH
/// (or the first stake before it) to HZ (or the last stake beyond it), the tangents ZH-JD-HZ, ZH,
/// HY, QZ, YH, HZ (ZY, YZ without spirals) with their chainages, and the last run's points.
PlanDrawing curvePlanDrawing(const CurveRecord& record);

/// Saves it as a DXF file at path (UTF-8); nothing on success, else the message for the user
/// (kNoComputedCurve without a computed curve).
Result<void> savePlanDxf(const CurveRecord& record, const std::string& path);

}  // namespace hcurve
