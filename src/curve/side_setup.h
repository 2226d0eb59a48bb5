// The side points wanted at every stake: how many on each side, their distances from the centre
// line, and one row or two. The record holds the setup as entered, a stake run keeps a copy of
// the setup it listed, and the side-point geometry reads either.
#pragma once

#include <cstdint>
#include <vector>

namespace hcurve {

struct SideSetup {
    std::vector<float> dl{0.0f}, dr{0.0f};  // 0..dl_n, 0..dr_n: distances from the centre line, m
    std::int16_t dl_n = 0, dr_n = 0;        // points per row on the left and on the right
    // The row mode and the two rows' distances. The names are the formulas' own: dd_n is no count
    // but the mode (1 single row, any other value two rows, front and back), and the _l and _r of
    // ds_l and ds_r mean front and back, not left and right: ds_l is the front row's distance
    // ahead of the transverse axis (towards a - 90), ds_r the back row's behind it (a + 90), m.
    std::int16_t dd_n = 0;
    float ds_l = 0, ds_r = 0;
};

}  // namespace hcurve
