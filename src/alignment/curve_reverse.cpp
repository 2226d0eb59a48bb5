#include "alignment/curve_reverse.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "alignment/route.h"
#include "curve/format.h"

namespace hcurve {

Alignment curveAlignment(const CurveElements& c, double from_m, double to_m) {
    // One JD between the two ends of its tangents; the chain reads only its curve.
    RouteCurve curve;
    curve.curve = c;
    curve.qz_m = c.hy + c.Lf / 2;
    return compileChain({RoutePointRow{}, RoutePointRow{}, RoutePointRow{}}, {curve},
                        std::min(from_m, c.zh), std::max(to_m, c.hz));
}

std::optional<ReverseResult> reverseCalculation(const CurveElements& c, double x_m, double y_m) {
    Alignment al;
    std::vector<AlignmentFoot> feet;
    try {
        al = curveAlignment(c, c.zh, c.hz);
        feet = alignmentFeet(al, x_m, y_m);
    } catch (const std::length_error&) {
        return std::nullopt;  // a spiral of more pieces than memory holds has no foot
    }
    if (feet.empty())
        return std::nullopt;
    // The nearest foot of its own: at the circle centre the arc's ends tell only that every point
    // of the arc is as near.
    const auto own = std::find_if(feet.begin(), feet.end(),
                                  [](const AlignmentFoot& f) { return !f.forWholeArc; });
    const AlignmentFoot& best = own != feet.end() ? *own : feet.front();
    if (!std::isfinite(best.continuous_m) || !std::isfinite(best.offset_m))
        return std::nullopt;
    const double plausible_m = std::min(c.R, kPlausibleOffsetLimit_m);
    // Decided on the offset as the message shows it, to the millimetre.
    const bool far = roundTo(std::fabs(best.offset_m), 3) > plausible_m;
    return ReverseResult{{best.continuous_m, best.offset_m, chainSegment(al, best.element)},
                         feetAmbiguous(feet),
                         far,
                         plausible_m};
}

std::optional<FootPoint> footPoint(const CurveElements& c, double x_m, double y_m) {
    if (std::optional<ReverseResult> result = reverseCalculation(c, x_m, y_m))
        return result->foot;
    return std::nullopt;
}

}  // namespace hcurve
