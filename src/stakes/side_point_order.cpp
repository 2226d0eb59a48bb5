#include "stakes/side_point_order.h"

namespace hcurve {

std::vector<SidePointSlot> sidePointOrder(int nl, int nr, bool singleRow) {
    std::vector<SidePointSlot> order;
    // Points from..to counted over both rows, the second row's after the first's: both rows share
    // the distances.
    auto left = [&](SideRow row, int from, int to) {
        for (int j = from; j >= to; --j) {
            order.push_back({true, row, static_cast<std::size_t>((j - 1) % nl + 1)});
        }
    };
    auto right = [&](SideRow row, int from, int to) {
        for (int j = from; j <= to; ++j) {
            order.push_back({false, row, static_cast<std::size_t>((j - 1) % nr + 1)});
        }
    };
    if (singleRow) {
        left(SideRow::Single, nl, 1);
        right(SideRow::Single, 1, nr);
        return order;
    }
    left(SideRow::Front, nl, 1);
    right(SideRow::Front, 1, nr);
    left(SideRow::Back, 2 * nl, nl + 1);
    right(SideRow::Back, nr + 1, 2 * nr);
    return order;
}

}  // namespace hcurve
