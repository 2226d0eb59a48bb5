// Curve elements and characteristic points of one horizontal curve: entry clothoid, circular arc
// of radius R, exit clothoid (either spiral may be absent), at one intersection point (JD).
#pragma once

#include "curve/curve_record.h"

namespace hcurve {

/// The design of one curve with its angles in decimal degrees, as a route gives them.
struct DesignDegrees {
    double K_m = 0;
    double X_m = 0;
    double Y_m = 0;
    double T_deg = 0;  // azimuth of the incoming tangent
    double B_deg = 0;  // signed deflection (positive turns right)
    double R_m = 0;
    double A1_m = 0;
    double A2_m = 0;
};

/// Computes the curve elements and characteristic points, every expression in the grouping and
/// order of the classic spiral-arc-spiral formulas (pi = 3.1415926535), and fills the points a
/// missing spiral leaves open with their neighbours (A1 = 0: ZY = zh and HY = ZH; A2 = 0: YZ = hz
/// and YH = HZ). No checks: see checkCurve.
CurveElements computeCurve(const DesignValues& design);

/// The same computation from angles already in decimal degrees; computeCurve converts its DMS
/// angles and calls this.
CurveElements computeCurveFromDegrees(const DesignDegrees& design);

}  // namespace hcurve
