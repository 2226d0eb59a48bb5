// The order in which a stake's side points are shown and kept: the listing, the stake table and
// the export files all walk this one order.
#pragma once

#include <cstddef>
#include <vector>

namespace hcurve {

/// The row of a side point.
enum class SideRow { Single, Front, Back };

/// One side point of a stake: its side, its row and the number of its distance in dl or dr.
struct SidePointSlot {
    bool left;
    SideRow row;
    std::size_t distance;
};

/// The side points of a stake with nl left and nr right distances (none on a side whose count is
/// not positive) in one row or two: per row, the front row first, the left points from the
/// outermost in, then the right points from the innermost out.
std::vector<SidePointSlot> sidePointOrder(int nl, int nr, bool singleRow);

}  // namespace hcurve
