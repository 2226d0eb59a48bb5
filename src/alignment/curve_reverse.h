// The one computed curve as an alignment of one JD, and its reverse calculation (坐标反算): where
// on it a surveyed point lies.
//
// The alignment is the chain a route makes of one JD (compileChain): the incoming tangent behind
// ZH, the first spiral, the arc, the second spiral and the outgoing tangent beyond HZ, on the
// curve's own chainage. Its foot search is the route's (alignmentFeet), so a point set out from a
// stake comes back to that stake. The two tangents run on without end, so a point before ZH gets a
// chainage below zh and a point after HZ one above hz.
#pragma once

#include <optional>

#include "alignment/alignment.h"
#include "curve/curve_record.h"
#include "geometry/stake_position.h"

namespace hcurve {

/// The curve as a one-JD chain from from_m (at most zh) to to_m (at least hz): a straight to ZH
/// (running back from it), the spirals and the arc, a straight from HZ; its elements named ZH,
/// HY, YH, HZ (ZY, YZ without spirals), the arc's middle QZ, its ends' elements by the two
/// tangents (which run on without end beyond from_m and to_m, as every chain's end straights do).
/// chainSegment (alignment/route.h) tells which part of the curve an element is.
Alignment curveAlignment(const CurveElements& curve, double from_m, double to_m);

/// The foot of the perpendicular from a point onto the curve's alignment.
struct FootPoint {
    double chainage_m;  // chainage of the foot
    double offset_m;    // signed distance from the foot: positive to the right seen in the
                        // direction of increasing chainage, like the right side points
    Segment element;    // the element the foot lies on
};

/// What a reverse calculation can say of its foot point.
struct ReverseResult {
    FootPoint foot;  // the nearest foot
    bool ambiguous;  // other feet are about as near (within a millimetre) elsewhere, or the
                     // point is at the circle centre, where every point of the arc is
    bool far;        // the offset, to the millimetre, exceeds plausibleOffset_m
    double plausibleOffset_m;  // the smaller of R and 1 km
};

/// The nearest foot of (x_m north, y_m east) on the curve's alignment, with what is known of it.
/// Every finite point has a foot, since the tangents run on without end; nothing when the point
/// or the curve is not finite.
std::optional<ReverseResult> reverseCalculation(const CurveElements& curve, double x_m, double y_m);

/// The nearest foot alone.
std::optional<FootPoint> footPoint(const CurveElements& curve, double x_m, double y_m);

}  // namespace hcurve
