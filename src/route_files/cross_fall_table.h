// The cross-fall of a route (横坡, with the superelevation 超高 on the curves): the slope of the
// carriageway on each side of the centre line, in percent, positive where the surface rises away
// from the centre line. A normal crown is -2, -2; a right-hand curve superelevated at 4 % is
// +4, -4.
//
//   桩号,左横坡,右横坡
//   K12+100,-2,-2
//   K12+160,4,-4
//
// Between rows the slopes run linearly with the chainage; before the first row and after the last
// the nearest row holds. 桩号 is read as on the grade line (a 里程 column instead holds continuous
// chainages).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/route_design.h"

namespace hcurve {

struct CsvTable;

/// Whether a header row opens the cross-fall table (it has a 左横坡 or 右横坡 column).
bool isCrossFallHeader(const std::vector<std::string>& header);

/// Whether a title names a column of the cross-fall table.
bool isCrossFallTitle(std::string_view title);

/// The rows of a cross-fall table, collecting every fault of its fields with its line.
CrossFallTable readCrossFallTable(const CsvTable& table, std::size_t file,
                                  std::vector<Failure>& faults);

}  // namespace hcurve
