// The grade line (纵断面) of a route: its points of intersection of the grades (变坡点), each
// with its vertical curve (竖曲线), placed on the route, and the design elevation of the centre
// line at any continuous chainage. Its table is read by route_files/grade_table.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "alignment/route_design.h"
#include "curve/result.h"

namespace hcurve {

struct Route;

/// A point of the grade line, placed on the route with its vertical curve worked out. Grades are
/// rises per metre (0.05 for 5 %), positive uphill in the direction of increasing chainage.
struct GradePoint {
    int line = 0;
    double at_m = 0;  // continuous chainage
    double H_m = 0;
    double R_m = 0;       // 0 at the start and end and where there is no vertical curve
    double gradeIn = 0;   // i1; 0 at the start
    double gradeOut = 0;  // i2; 0 at the end
    double omega = 0;     // ω = i2 - i1: concave (凹) above 0, convex (凸) below
    double L_m = 0;       // R |ω|
    double T_m = 0;       // L / 2
    double E_m = 0;       // T^2 / (2R)
    // An unsymmetric parabola or a circle: its horizontal reach before and after the point (a
    // parabola's: T both), R 0 for the unsymmetric parabola, E the vertical distance from the point
    // to the curve.
    VerticalCurveKind kind = VerticalCurveKind::Parabola;
    double Tin_m = 0, Tout_m = 0;
    double curveStart_m() const { return at_m - Tin_m; }
    double curveEnd_m() const { return at_m + Tout_m; }
};

/// The grade line: its start, its 变坡点 in chainage order and its end.
struct GradeLine {
    std::vector<GradePoint> points;
    double start_m() const { return points.front().at_m; }
    double end_m() const { return points.back().at_m; }
};

/// The continuous chainage of a table chainage on the route: a K-text through the chain breaks
/// (before BP and beyond EP the first and last stretch run on); or why not, when it falls in the
/// gap of a short chain, or stands twice and allowTwice is false.
Result<double> placedChainage(const Route& route, const TableChainage& at, bool allowTwice);

/// The grade line of the design's table placed on the route, with every fault (chainages not
/// increasing or beyond the coordinates' bound, fewer than two rows, radii on the ends, vertical
/// curves that overlap or run past the ends) on its row's line. Rounding is no fault: neighbouring
/// curves that overlap by less than 10 mm are each shortened by half the overlap on the side where
/// they meet, and ends within a millimetre of the route's ends reach them. The warnings tell what
/// was rounded so, and circles whose stated length or sign disagree with their grades.
std::optional<GradeLine> buildGradeLine(const GradeTable& table, const Route& route,
                                        std::vector<Failure>& faults,
                                        std::vector<Failure>& warnings);

/// The design elevation of the centre line at a continuous chainage: the grade, plus (concave) or
/// minus (convex) x^2 / (2R) on a vertical curve, x from the curve's nearer end (on an unsymmetric
/// parabola E (x / its half's length)^2; on a circle the circle itself). Nothing outside the grade
/// line.
std::optional<double> designElevation_m(const GradeLine& line, double continuous_m);

/// The slope of the design line (rise per metre) at a continuous chainage; nothing outside.
std::optional<double> designSlope(const GradeLine& line, double continuous_m);

}  // namespace hcurve
