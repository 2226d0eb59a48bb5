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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/grade_line.h"

namespace hcurve {

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

/// Whether a header row opens the cross-fall table (it has a 左横坡 or 右横坡 column).
bool isCrossFallHeader(const std::vector<std::string>& header);

/// Whether a title names a column of the cross-fall table.
bool isCrossFallTitle(std::string_view title);

/// The rows of a cross-fall table, collecting every fault of its fields with its line.
CrossFallTable readCrossFallTable(const CsvTable& table, std::size_t file,
                                  std::vector<RouteFault>& faults);

/// The cross-fall of the table placed on the route; rows out of order are faults on their line.
std::optional<CrossFall> buildCrossFall(const CrossFallTable& table, const Route& route,
                                        std::vector<RouteFault>& faults);

/// The slopes of both sides at a continuous chainage.
CrossSlopes crossSlopesAt(const CrossFall& crossFall, double continuous_m);

/// The design elevation of a point off the centre line whose foot is at continuous_m: the centre
/// line's there plus |offset| times its side's slope (offset positive to the right). Nothing
/// where the foot lies outside the grade line.
std::optional<double> surfaceElevation_m(const GradeLine& line, const CrossFall& crossFall,
                                         double continuous_m, double offset_m);

}  // namespace hcurve
