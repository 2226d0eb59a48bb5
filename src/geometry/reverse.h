// Reverse calculation (坐标反算): where on the alignment of a computed curve a surveyed point lies.
//
// The alignment is the one the centre stakes are placed on: the incoming tangent behind ZH, the
// first spiral, the arc, the second spiral and the outgoing tangent beyond HZ, each by the very
// formulas of centreStake, so a point set out from a stake comes back to that stake. The two
// tangents run on without end, so a point before ZH gets a chainage below zh and a point after HZ
// one above hz.
#pragma once

#include <optional>
#include <string>

#include "curve/curve_record.h"
#include "geometry/stake_position.h"

namespace hcurve {

/// The foot of the perpendicular from a point onto the alignment.
struct FootPoint {
    double chainage_m;  // chainage of the foot
    double offset_m;    // signed distance from the foot: positive to the right seen in the
                        // direction of increasing chainage, like the right side points
    Segment element;    // the element the foot lies on
};

/// The foot point of (x_m north, y_m east). Where the point has feet on several elements the
/// nearest one is taken. A foot may lie up to a micrometre beyond its element's end, so that a
/// point set out exactly at ZH, HY, YH or HZ finds its stake although the elements meet with steps
/// of some tens of nanometres. On a spiral the foot is found by Newton's method on the clothoid
/// series of the stake position, to 1e-9 m. Every finite point has a foot, since the tangents run
/// on without end and the alignment turns by less than a half circle; nothing when the point or the
/// curve is not finite.
std::optional<FootPoint> footPoint(const CurveElements& curve, double x_m, double y_m);

/// What a reverse calculation can say of its foot point.
struct ReverseResult {
    FootPoint foot;  // the nearest foot, as footPoint gives it
    bool ambiguous;  // other feet are about as near (within a millimetre) elsewhere, or the
                     // point is at the circle centre, where every point of the arc is
    bool far;        // the offset, to the millimetre, exceeds plausibleOffset_m
    double plausibleOffset_m;  // the smaller of R and 1 km
};

/// The foot point of (x_m, y_m) with what is known of it; nothing where footPoint gives nothing.
std::optional<ReverseResult> reverseCalculation(const CurveElements& curve, double x_m, double y_m);

/// The user's name of an element: 始端直线, 第一缓和曲线, 圆曲线, 第二缓和曲线, 终端直线.
std::string elementName(Segment element);

}  // namespace hcurve
