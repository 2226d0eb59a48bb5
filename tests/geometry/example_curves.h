// The two worked example curves, built from the texts a user types.
#pragma once

#include <string_view>

#include "curve/design_values.h"
#include "curve/number.h"
#include "geometry/curve_elements.h"

namespace hcurve::test {

/// The curve of a design typed as K, X, Y, T, B, R, A1, A2, each read as design entry reads it.
inline CurveElements curveFromTexts(std::string_view K, std::string_view X, std::string_view Y,
                                    std::string_view T, std::string_view B, std::string_view R,
                                    std::string_view A1, std::string_view A2) {
    return computeCurve({*readNumber(K), *readNumber(X), *readNumber(Y), *readNumber(T),
                         *readNumber(B), *readNumber(R), *readNumber(A1), *readNumber(A2)});
}

/// Right-hand curve with two different spirals.
inline CurveElements rightHandCurve() {
    return curveFromTexts("12345.678", "3456789.123", "512345.678", "45.3015", "30.1530", "500",
                          "200", "250");
}

/// Left-hand curve without spirals.
inline CurveElements leftHandPlainCurve() {
    return curveFromTexts("2500", "1000", "2000", "120", "-45", "300", "0", "0");
}

/// Left-hand curve with two different spirals (no worked figures; used for the checks that hold
/// on every curve).
inline CurveElements leftHandSpiralCurve() {
    return curveFromTexts("2500", "1000", "2000", "120", "-45", "300", "150", "120");
}

}  // namespace hcurve::test
