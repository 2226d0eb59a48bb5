// The element table (线元表) of a route: its start and the chain of its elements, each a length, a
// start radius and an end radius, as the field calculators hand over ramps, egg curves and
// S-curves that a JD table cannot describe.
//
//   起点桩号,X,Y,方位角
//   K0+000,3456000.000,512000.000,45.3015      one row: 桩号 as metres or K-text, 方位角 DMS
//
//   长度,起点半径,终点半径,转向,名称
//   120,,,,ZD                                   a straight (both radii empty, ∞, inf or >= 1e9)
//   80,,600,右,ZH                               a spiral from the straight into R 600, turning
//   right 150,600,600,右,HY                           an arc 60,600,300,右 an egg curve's spiral
//   between two arcs
//
// 转向 is 左 or 右 (L or R), required where a radius is finite. Optional columns 起点X,起点Y put
// an element's start where the design has it (the file's coordinates are the design).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/route_design.h"

namespace hcurve {

struct CsvTable;

/// Whether a header's title names a column of the start or the element table.
bool isElementTitle(std::string_view title);
/// Whether a header opens the start table (起点桩号 and 方位角) or the element table (长度).
bool isElementStartHeader(const std::vector<std::string>& header);
bool isElementTableHeader(const std::vector<std::string>& header);

/// The start of its one row, or nothing and the faults, each with its line.
std::optional<ElementStart> readElementStart(const CsvTable& table, std::size_t file,
                                             std::vector<Failure>& faults);

/// The rows of the element table; the faults, each with its line.
ElementTable readElementTable(const CsvTable& table, std::size_t file,
                              std::vector<Failure>& faults);

}  // namespace hcurve
