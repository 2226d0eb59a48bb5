// The grade line (纵断面) of a route: its points of intersection of the grades (变坡点), each
// with the radius of its parabolic vertical curve (竖曲线), and the design elevation of the centre
// line at any continuous chainage.
//
//   变坡点桩号,高程,竖曲线半径
//   K4+800,415.680,           the start of the grade line (no radius)
//   K5+030,427.680,2000       a 变坡点 with its vertical curve (empty or 0: none)
//   K5+500,408.880,           the end
//
// 变坡点桩号 is a continuous chainage in metres or a K-text with the chain breaks applied; a column
// 变坡点里程 instead holds continuous chainages only (for the texts that stand twice on a long
// chain).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hcurve {

struct Route;
struct RouteDesign;
struct RouteFault;
struct CsvTable;

/// The chainage of a grade-line or cross-fall row as the file gives it.
struct TableChainage {
    std::string text;     // as written, for the messages
    double value_m = 0;   // read
    bool broken = false;  // a K-text with the chain breaks applied, else a continuous chainage
};

/// The kind of a vertical curve: the table's symmetric parabola, or as LandXML files give them a
/// parabola of unequal halves, or a true circle.
enum class VerticalCurveKind { Parabola, UnsymmetricParabola, Circle };

/// One row of the grade-line table.
struct GradeRow {
    int line = 0;
    TableChainage at;
    double H_m = 0;
    double R_m = 0;  // 0: no vertical curve (a parabola's radius, or the circle's)
    VerticalCurveKind kind = VerticalCurveKind::Parabola;
    // A parabola given by its length instead (its radius follows from the grades); an
    // unsymmetric one by the lengths before and after the point.
    double L_m = 0;
    double Lin_m = 0, Lout_m = 0;
    // A circle as LandXML gives it: its radius written negative (some exporters write crest
    // curves so) and the length the file states, both only checked against the grades.
    bool negativeRadius = false;
    std::optional<double> statedLength_m = std::nullopt;
};

struct GradeTable {
    std::size_t file = 0;  // the file of the tables it came from
    int headerLine = 0;
    std::vector<GradeRow> rows;
    // LandXML: where stations read through the chain breaks fall into the gap of a short chain,
    // but read as continuous (internal) stations all lie on the route, they are read so.
    bool internalStationsInGap = false;
};

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

/// Whether a header row opens the grade-line table (it has a 变坡点桩号 or 变坡点里程 column).
bool isGradeHeader(const std::vector<std::string>& header);

/// Whether a title names a column of the grade-line table.
bool isGradeTitle(std::string_view title);

/// The rows of a grade-line table, collecting every fault of its fields with its line.
GradeTable readGradeTable(const CsvTable& table, std::size_t file, std::vector<RouteFault>& faults);

/// The continuous chainage of a table chainage on the route: a K-text through the chain breaks
/// (before BP and beyond EP the first and last stretch run on). Nothing and the reason in fault
/// when it falls in the gap of a short chain, or stands twice and allowTwice is false.
std::optional<double> placedChainage(const Route& route, const TableChainage& at, bool allowTwice,
                                     std::string& fault);

/// The grade line of the design's table placed on the route, with every fault (chainages not
/// increasing or beyond the coordinates' bound, fewer than two rows, radii on the ends, vertical
/// curves that overlap or run past the ends) on its row's line. Rounding is no fault: neighbouring
/// curves that overlap by less than 10 mm are each shortened by half the overlap on the side where
/// they meet, and ends within a millimetre of the route's ends reach them. The warnings tell what
/// was rounded so, and circles whose stated length or sign disagree with their grades.
std::optional<GradeLine> buildGradeLine(const GradeTable& table, const Route& route,
                                        std::vector<RouteFault>& faults,
                                        std::vector<RouteFault>& warnings);

/// The design elevation of the centre line at a continuous chainage: the grade, plus (concave) or
/// minus (convex) x^2 / (2R) on a vertical curve, x from the curve's nearer end (on an unsymmetric
/// parabola E (x / its half's length)^2; on a circle the circle itself). Nothing outside the grade
/// line.
std::optional<double> designElevation_m(const GradeLine& line, double continuous_m);

/// The slope of the design line (rise per metre) at a continuous chainage; nothing outside.
std::optional<double> designSlope(const GradeLine& line, double continuous_m);

}  // namespace hcurve
