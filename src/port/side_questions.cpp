#include "port/side_questions.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hcurve {
namespace {

// A count, then that many distances into entries 1..count.
void askSide(UserPort& port, const Question& count, const Question& distance, std::int16_t& n,
             std::vector<float>& distances) {
    n = askCount(port, count);
    distances.assign(static_cast<std::size_t>(n) + 1, 0.0f);
    for (std::size_t i = 1; i < distances.size(); ++i)
        distances[i] = askFloat32(port, distance);
}

}  // namespace

void askSideWidths(SideSetup& sides, UserPort& port, const SideQuestions& q) {
    askSide(port, q.leftCount, q.leftDistance, sides.dl_n, sides.dl);
    askSide(port, q.rightCount, q.rightDistance, sides.dr_n, sides.dr);
    sides.dd_n = askInt16(port, q.rows);
}

void askRowDistances(SideSetup& sides, UserPort& port, const SideQuestions& q) {
    if (sides.dd_n == 1)
        return;
    sides.ds_l = askFloat32(port, q.frontRow);
    sides.ds_r = askFloat32(port, q.backRow);
}

}  // namespace hcurve
