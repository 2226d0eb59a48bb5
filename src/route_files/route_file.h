// The route file: the designer's table of intersection points (BP, JD1..JDn, EP) as CSV text, or
// the start and the element table (route_files/element_file.h), and the tables that follow after an
// empty line, or stand in further files, each known by its header: the chain breaks (断链), the
// grade line (alignment/grade_line.h) and the cross-fall (alignment/cross_fall.h).
//
//   点号,X,Y,R,A1,A2,桩号
//   BP,3456000.000,512000.000,,,,K12+000
//   JD1,3456789.123,512345.678,500,200,250,
//   EP,3457100.000,513400.000,,,,
//
//   断链前桩号,断链后桩号
//   K12+800,K12+780
//
// The columns come in any order; Ls1, Ls2 may stand instead of A1, A2 (A^2 = Ls * R); further
// columns are ignored. 桩号 is read on the BP row only. Chainages are metres (12000) or K-texts
// (K12+000, K12+000.000). The text is UTF-8; a byte-order mark is skipped. Lines end with LF, CR LF
// or a lone CR; a field in double quotes may hold commas and doubled quotes, but no line end.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/cross_fall.h"
#include "alignment/grade_line.h"
#include "route_files/element_file.h"

namespace hcurve {

/// The longest line read, in bytes (without its line end), as the console takes its input lines.
constexpr std::size_t kMaxRouteLineBytes = 64 * 1024;
/// The most rows of the two tables together: far more than any road has JDs and chain breaks.
constexpr std::size_t kMostRouteRows = 1000000;
/// Reading and building a route stop once this many faults are found.
constexpr std::size_t kMostRouteFaults = 100;

/// A fault of the route file (or of the route it describes), on its line (1-based) of the file
/// it names (0 for the first of the files read together). A warning is one too.
struct RouteFault {
    int line;
    std::string message;
    std::size_t file = 0;
    // A warning that may come once an element: how the one line that tells all of its kind names
    // them ("线元的 dir 与座标给出的方向不符"), what this case adds ("相差 36.000 秒") and what is
    // done about them ("按座标计算"). Without a kind a warning is told on its own.
    std::string kind = {}, detail = {}, done = {};
    // With a kind: the cases it stands for (it is the first of them in the file).
    std::size_t count = 1;
};

/// A warning added to a list; one of a kind already there is counted with it (the list keeps the
/// one that comes first in the file). places remembers where each kind stands in the list.
void addWarning(std::vector<RouteFault>& warnings, std::map<std::string, std::size_t>& places,
                RouteFault warning);

/// "第 N 行：message".
std::string faultText(const RouteFault& fault);

/// The lines that tell a list of warnings, in the order of the first of each kind: a warning
/// alone as faultText has it; several of one kind (and file) as one line, "132 个线元的 dir 与座标
/// 给出的方向不符（第一处：第 1690 行，相差 36.000 秒）；按座标计算。", with the file of each.
struct WarningLine {
    std::string text;
    std::size_t file = 0;
};
std::vector<WarningLine> warningLines(const std::vector<RouteFault>& warnings);

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
    std::vector<RouteFault> profileFaults;
};

/// The design of a route file, or every fault found in it (nothing half read).
struct RouteFileReading {
    std::optional<RouteDesign> design;
    std::vector<RouteFault> faults;
};

RouteFileReading readRouteFile(std::string_view utf8Text);

/// The design of several files read together: the first file opens with the point table, or with
/// the start or the element table of a route of elements; every other table (the other of those
/// two, the chain breaks, the grade line, the cross-fall) may stand in any of them, each once.
RouteFileReading readRouteFiles(const std::vector<std::string_view>& utf8Texts);

/// True when the text's first table is a point table, or the start or the element table of a
/// route of elements: the file that is read first of several.
bool opensWithRouteTable(std::string_view utf8Text);

/// A chainage typed as metres ("12000", "12345.6") or as a K-text ("K12+345.600", "k12+345",
/// "K 12+345.6"); before zero "K0-001.500" or "K-1-846.900" as the tables write it, and
/// "K-1+998.500" (kilometres rounded down) for -1.5 as the design field shows it; nothing when it
/// is neither, its metre part is not below 1000, or a "-" follows kilometres past zero.
std::optional<double> readChainage(std::string_view text);

}  // namespace hcurve
