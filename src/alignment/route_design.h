// The design of a route as its readers hand it to the model (route_files/route_file.h, the
// element, grade-line and cross-fall tables, LandXML) and buildRoute takes it (alignment/route.h):
// the rows of its tables with their lines, and the faults and warnings found in them.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "alignment/ground_design.h"
#include "alignment/section_design.h"
#include "alignment/table_chainage.h"
#include "curve/result.h"

namespace hcurve {

/// Reading and building a route stop once this many faults are found.
constexpr std::size_t kMostRouteFaults = 100;

/// A warning added to a list; one of a kind already there is counted with it (the list keeps the
/// one that comes first in the file). places remembers where each kind stands in the list.
void addWarning(std::vector<Failure>& warnings, std::map<std::string, std::size_t>& places,
                Failure warning);

/// A fault of the route file (or of the route it describes) as a Failure with its line:
/// "第 N 行：message".
std::string faultText(const Failure& fault);

/// The lines that tell a list of warnings, in the order of the first of each kind: a warning
/// alone as faultText has it; several of one kind (and file) as one line, "132 个线元的 dir 与座标
/// 给出的方向不符（第一处：第 1690 行，相差 36.000 秒）；按座标计算。", with the file and the first
/// line of each.
std::vector<Failure> warningLines(const std::vector<Failure>& warnings);

/// The start of an element route.
struct ElementStart {
    int line = 0;
    double chainage_m = 0;
    double x_m = 0;  // north
    double y_m = 0;  // east
    double azimuth_deg = 0;
};

/// One row of the element table. A radius of 0 stands for an infinite one (a straight's).
struct ElementRow {
    int line = 0;
    std::string name;  // of the point where the element starts, or empty
    double length_m = 0;
    double startCurvature_per_m = 0;  // signed: positive turns right
    double endCurvature_per_m = 0;
    std::optional<double> startX_m, startY_m;  // where the file states the start
    // A LandXML element: its tag (Line, Curve, Spiral), the tangent azimuth its own geometry
    // gives at its start (in the degrees of the stake position) and its stated end.
    std::string tag;
    std::optional<double> startAzimuth_deg;
    std::optional<double> endX_m, endY_m;
    // Its number among the file's elements where that is not its place in the table (a LandXML
    // element of no length is passed over); 0: its place.
    std::size_t number = 0;
};

/// The element route of a file: its start and its elements.
struct ElementTable {
    std::size_t file = 0;
    int headerLine = 0;
    std::vector<ElementRow> rows;
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

struct CrossFallRow {
    int line = 0;
    TableChainage at;
    double left_pct = 0;
    double right_pct = 0;
};

struct CrossFallTable {
    std::size_t file = 0;
    int headerLine = 0;
    std::vector<CrossFallRow> rows;
};

/// One row of the point table.
struct RoutePointRow {
    int line = 0;
    std::string name;
    double x_m = 0;  // north
    double y_m = 0;  // east
    double R_m = 0;  // JD rows only
    double A1_m = 0;
    double A2_m = 0;
};

/// One chain break: the chainage in force up to it and the one that starts there.
struct ChainBreakRow {
    int line = 0;
    double before_m = 0;   // 断链前桩号
    double after_m = 0;    // 断链后桩号
    std::size_t file = 0;  // of the files read together
};

struct RouteDesign {
    std::vector<RoutePointRow> points;  // BP, JD1..JDn, EP; empty for a route of elements
    double startChainage_m = 0;         // chainage of BP
    // A route of elements instead: its start and its elements.
    std::optional<ElementStart> elementStart;
    std::optional<ElementTable> elements;
    std::vector<ChainBreakRow> breaks;  // in the order of the file
    std::optional<GradeTable> grade;
    std::optional<CrossFallTable> crossFall;
    // A LandXML alignment: a profile that cannot be computed costs the elevations, not the
    // route; the faults found reading it (the grade table is then absent).
    bool planWithoutBadProfile = false;
    std::vector<Failure> profileFaults;
    // The cross-section: template, crown, superelevation and widening, slopes, ditch.
    SectionDesign section;
    // The ground: surveyed cross-sections or terrain points, from files of their own.
    GroundDesign ground;
};

}  // namespace hcurve
