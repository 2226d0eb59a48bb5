// The stake table's columns of the ground at the centre stake, after all its other columns:
// 地面高程 (the ground's height) and 填挖高 (the design elevation above the ground: positive a
// fill, negative a cut).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hcurve {

/// "地面高程", "填挖高".
std::vector<std::string> groundColumnHeader();

/// A stake's two cells: the ground's height with four decimals, as the table's other heights,
/// and design − ground with three, worked from the unrounded heights; empty where the stake has
/// no ground, 填挖高 empty also where it has no design elevation.
std::vector<std::string> groundColumnFields(std::optional<double> design_m,
                                            std::optional<double> ground_m);

}  // namespace hcurve
