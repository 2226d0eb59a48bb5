// The two worked example curves, built from the texts a user types.
#pragma once

#include <string>

#include "curve/curve_record.h"
#include "geometry/curve_elements.h"

namespace hcurve::test {

inline CurveRecord typedDesign(std::string K, std::string X, std::string Y, std::string T,
                               std::string B, std::string R, std::string A1, std::string A2) {
    CurveRecord record;
    record.K = std::move(K);
    record.X = std::move(X);
    record.Y = std::move(Y);
    record.T = std::move(T);
    record.B = std::move(B);
    record.R = std::move(R);
    record.A1 = std::move(A1);
    record.A2 = std::move(A2);
    return record;
}

inline CurveElements curveFromTexts(std::string K, std::string X, std::string Y, std::string T,
                                    std::string B, std::string R, std::string A1, std::string A2) {
    return computeCurve(*designNumbers(typedDesign(K, X, Y, T, B, R, A1, A2)));
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
