// Whether typed design values can be used, and whether a computed design is a curve, with the
// reason in the words the user sees.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "curve/curve_record.h"
#include "curve/result.h"

namespace hcurve {

enum class DesignValue { K, X, Y, T, B, R, A1, A2 };

/// Largest magnitude accepted for a chainage, coordinate, radius or spiral parameter, metres.
constexpr double kMaxDesignLength_m = 1e9;

/// Reads the typed text for a value once: the number it stands for (m, or DMS for T and B), or
/// the failure that says why it cannot be used: not a number, minutes or seconds of 60 or more, T
/// outside [0, 360), R <= 0, B = 0 or |B| >= 180 degrees, A1 or A2 below 0, or a magnitude beyond
/// 1e9 m.
Result<double> readDesignValue(DesignValue which, std::string_view typed);

/// Done when the computed curve can be staked out; otherwise the failure: the spirals do not fit
/// the deflection (arc length negative), a value is not finite, or T1, T2, Lf, a characteristic
/// point or the centre lies beyond 1e9 m.
Result<void> checkCurve(const CurveElements& curve);

}  // namespace hcurve
