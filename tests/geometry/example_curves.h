// The two worked example curves, built from the texts a user types.
#pragma once

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "curve/design_values.h"
#include "curve/number.h"
#include "geometry/curve_elements.h"
#include "geometry/stake_position.h"

namespace hcurve::test {

/// The curve of a design typed as K, X, Y, T, B, R, A1, A2, each read as design entry reads it.
inline CurveElements curveFromTexts(std::string_view K, std::string_view X, std::string_view Y,
                                    std::string_view T, std::string_view B, std::string_view R,
                                    std::string_view A1, std::string_view A2) {
    return computeCurve({*readNumber(K), *readNumber(X), *readNumber(Y), *readNumber(T),
                         *readNumber(B), *readNumber(R), *readNumber(A1), *readNumber(A2)});
}

/// The right-hand worked design (B 30.1530, R 500) with the spirals given.
inline CurveElements rightHandDesign(std::string A1, std::string A2) {
    return curveFromTexts("12345.678", "3456789.123", "512345.678", "45.3015", "30.1530", "500", A1,
                          A2);
}

/// The left-hand design (B -45, R 300) with the spirals given.
inline CurveElements leftHandDesign(std::string A1, std::string A2) {
    return curveFromTexts("2500", "1000", "2000", "120", "-45", "300", A1, A2);
}

/// Right-hand curve with two different spirals.
inline CurveElements rightHandCurve() {
    return rightHandDesign("200", "250");
}

/// Left-hand curve without spirals.
inline CurveElements leftHandPlainCurve() {
    return leftHandDesign("0", "0");
}

/// Left-hand curve with two different spirals (no worked figures; used for the checks that hold
/// on every curve).
inline CurveElements leftHandSpiralCurve() {
    return leftHandDesign("150", "120");
}

/// Two stakes at one place: position to a micrometre, axis to a microdegree.
inline void expectSameStake(const StakePosition& a, const StakePosition& b) {
    EXPECT_NEAR(a.x_m, b.x_m, 1e-6);
    EXPECT_NEAR(a.y_m, b.y_m, 1e-6);
    EXPECT_LE(std::fabs(std::remainder(a.axisAzimuth_deg - b.axisAzimuth_deg, 360.0)), 1e-6);
}

/// A worked stake of the two example curves: its coordinates to 0.1 mm, the element it lies on
/// and the azimuth of its transverse axis.
struct WorkedStake {
    CurveElements (*curve)();
    double Kp_m;
    Segment segment;
    const char *x, *y;
    double axis_deg;
};

inline const WorkedStake kWorkedStakes[] = {
    {rightHandCurve, 12100, Segment::IncomingTangent, "3456616.9378", "512170.4355", 135.504167},
    {rightHandCurve, 12200, Segment::FirstSpiral, "3456686.9332", "512241.8537", 136.199800},
    {rightHandCurve, 12300, Segment::Arc, "3456750.4575", "512318.9125", 145.950961},
    {rightHandCurve, 12500, Segment::SecondSpiral, "3456828.6273", "512501.8495", 165.188474},
    {rightHandCurve, 12600, Segment::OutgoingTangent, "3456853.3360", "512598.7486", 165.762500},
    {leftHandPlainCurve, 2300, Segment::IncomingTangent, "1100.0000", "1826.7949", 210.000000},
    {leftHandPlainCurve, 2400, Segment::Arc, "1050.8625", "1913.8649", 205.365904},
    {leftHandPlainCurve, 2500, Segment::Arc, "1023.7326", "2009.6340", 186.267311},
    {leftHandPlainCurve, 2600, Segment::Arc, "1029.4312", "2109.0084", 167.168718},
    {leftHandPlainCurve, 2700, Segment::OutgoingTangent, "1055.1048", "2205.6540", 165.000000},
};

}  // namespace hcurve::test
