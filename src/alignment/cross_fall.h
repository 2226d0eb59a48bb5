// The cross-fall of a route (横坡, with the superelevation 超高 on the curves) placed on the
// route: the slope of the carriageway on each side of the centre line, in percent, positive where
// the surface rises away from the centre line, running linearly between its points. Its table is
// read by route_files/cross_fall_table.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "alignment/grade_line.h"
#include "alignment/route_design.h"

namespace hcurve {

/// The cross-fall placed on the route: continuous chainages, in order.
struct CrossFall {
    struct Point {
        double at_m;
        double left_pct;
        double right_pct;
    };
    std::vector<Point> points;
};

struct CrossSlopes {
    double left_pct;
    double right_pct;
};

/// The cross-fall of the table placed on the route; rows out of order are faults on their line.
std::optional<CrossFall> buildCrossFall(const CrossFallTable& table, const Route& route,
                                        std::vector<Failure>& faults);

/// The slopes of both sides at a continuous chainage.
CrossSlopes crossSlopesAt(const CrossFall& crossFall, double continuous_m);

/// The design elevation of a point off the centre line whose foot is at continuous_m: the centre
/// line's there plus |offset| times its side's slope (offset positive to the right). Nothing
/// where the foot lies outside the grade line.
std::optional<double> surfaceElevation_m(const GradeLine& line, const CrossFall& crossFall,
                                         double continuous_m, double offset_m);

}  // namespace hcurve
