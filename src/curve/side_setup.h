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
    std::int16_t dd_n = 0;                  // 1 single row, any other value double row
    float ds_l = 0, ds_r = 0;               // front and back row from the transverse axis, m
};

}  // namespace hcurve
