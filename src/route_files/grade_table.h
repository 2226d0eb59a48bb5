// The grade line (纵断面) of a route: its points of intersection of the grades (变坡点), each
// with the radius of its parabolic vertical curve (竖曲线), and the design elevation of the centre
// line at any continuous chainage (alignment/grade_line.h); this is its table as a file holds it:
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
#include <string>
#include <string_view>
#include <vector>

#include "alignment/route_design.h"

namespace hcurve {

struct CsvTable;

/// Whether a header row opens the grade-line table (it has a 变坡点桩号 or 变坡点里程 column).
bool isGradeHeader(const std::vector<std::string>& header);

/// Whether a title names a column of the grade-line table.
bool isGradeTitle(std::string_view title);

/// The rows of a grade-line table, collecting every fault of its fields with its line.
GradeTable readGradeTable(const CsvTable& table, std::size_t file, std::vector<Failure>& faults);

}  // namespace hcurve
