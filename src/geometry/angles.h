// Whole turns in degrees, as the curve geometry and the route turn by them.
#pragma once

namespace hcurve {

constexpr double kRightAngle_deg = 90.0;
constexpr double kHalfCircle_deg = 180.0;
constexpr double kFullCircle_deg = 360.0;

/// A full turn as atan2 counts it: in true radians, not in the ten-decimal pi of the stake
/// position.
constexpr double kFullTurn_rad = 2 * 3.14159265358979323846;

}  // namespace hcurve
