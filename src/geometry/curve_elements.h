// Curve elements and characteristic points of one horizontal curve: entry clothoid, circular arc
// of radius R, exit clothoid (either spiral may be absent), at one intersection point (JD).
#pragma once

#include <optional>

#include "curve/curve_record.h"

namespace hcurve {

/// The numeric design of one curve, as the user typed it.
struct DesignNumbers {
    double K_m = 0;    // JD chainage
    double X_m = 0;    // JD north
    double Y_m = 0;    // JD east
    double T_dms = 0;  // azimuth of the incoming tangent, DMS
    double B_dms = 0;  // signed deflection, DMS (positive turns right)
    double R_m = 0;    // radius
    double A1_m = 0;   // entry spiral parameter, 0 = none
    double A2_m = 0;   // exit spiral parameter, 0 = none
};

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

/// The numbers of the typed design values of the record, or nothing when one of K, X, Y, T, B, R,
/// A1, A2 does not read as a number.
std::optional<DesignNumbers> designNumbers(const CurveRecord& record);

/// Computes the curve elements and characteristic points, every expression in the grouping and
/// order of the classic spiral-arc-spiral formulas (pi = 3.1415926535), and fills the points a
/// missing spiral leaves open with their neighbours (A1 = 0: ZY = zh and HY = ZH; A2 = 0: YZ = hz
/// and YH = HZ). No checks: see checkCurve.
CurveElements computeCurve(const DesignNumbers& design);

/// The same computation from angles already in decimal degrees; computeCurve converts its DMS
/// angles and calls this.
CurveElements computeCurveFromDegrees(const DesignDegrees& design);

}  // namespace hcurve
