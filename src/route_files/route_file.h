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

#include "alignment/route_design.h"
#include "curve/result.h"
#include "route_files/cross_fall_table.h"
#include "route_files/element_file.h"
#include "route_files/grade_table.h"

namespace hcurve {

/// The longest line read, in bytes (without its line end), as the console takes its input lines.
constexpr std::size_t kMaxRouteLineBytes = 64 * 1024;
/// The most rows of the two tables together: far more than any road has JDs and chain breaks.
constexpr std::size_t kMostRouteRows = 1000000;
/// The design of a route file, or every fault found in it with its line (nothing half read);
/// beside the design, the warnings of its ground files (route_files/ground_files.h).
Result<RouteDesign> readRouteFile(std::string_view utf8Text);

/// The design of several files read together: the first file opens with the point table, or with
/// the start or the element table of a route of elements; every other table (the other of those
/// two, the chain breaks, the grade line, the cross-fall) may stand in any of them, each once.
/// A further file that is a ground file (route_files/ground_files.h: its first line a BEGIN line,
/// the header 桩号,偏距,高程 or a terrain header) is read as one into the design's ground.
Result<RouteDesign> readRouteFiles(const std::vector<std::string_view>& utf8Texts);

/// The cross-section tables of further files read beside a route given otherwise (a LandXML
/// file's), file k of them standing as file firstFile + k in the faults, or their faults. Nothing,
/// and nothing read, when a file holds any other table (a JD or element table, a grade line, a
/// cross-fall, chain breaks, a table of an unknown header). ofElements: the route is one of
/// elements, whose superelevation is given by chainages.
Result<std::optional<SectionDesign>> readSectionFiles(
    const std::vector<std::string_view>& utf8Texts, std::size_t firstFile, bool ofElements);

/// True when the text's first table is a point table, or the start or the element table of a
/// route of elements: the file that is read first of several.
bool opensWithRouteTable(std::string_view utf8Text);

/// A chainage typed as metres ("12000", "12345.6") or as a K-text ("K12+345.600", "k12+345",
/// "K 12+345.6"); before zero "K0-001.500" or "K-1-846.900" as the tables write it, and
/// "K-1+998.500" (kilometres rounded down) for -1.5 as the design field shows it; nothing when it
/// is neither, its metre part is not below 1000, or a "-" follows kilometres past zero.
std::optional<double> readChainage(std::string_view text);

}  // namespace hcurve
