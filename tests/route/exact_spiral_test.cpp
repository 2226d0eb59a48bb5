// The clothoid to double precision: against the Fresnel integrals computed here by quadrature, and
// on curves whose spirals turn by up to 170 degrees, which must be accepted, join their arc without
// a step and come back through the reverse calculation on their alignment.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "../geometry/example_curves.h"
#include "alignment/curve_reverse.h"
#include "curve/angle.h"
#include "geometry/curve_elements.h"
#include "geometry/design_check.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// x(l) = integral of cos(t^2 / (2 A^2)), y(l) of sin, from 0 to l, by composite Simpson in long
// double with 20000 intervals. Its own error stays below 1e-14 l for turns up to a half circle.
ClothoidPoint fresnelBySimpson(double l_m, double A_m) {
    constexpr int kIntervals = 20000;
    const long double h = static_cast<long double>(l_m) / kIntervals;
    const long double twoA2 = 2.0L * A_m * A_m;
    long double sx = 0, sy = 0;
    for (int i = 0; i <= kIntervals; ++i) {
        const long double t = h * i;
        const long double w = (i == 0 || i == kIntervals) ? 1 : (i % 2 == 1 ? 4 : 2);
        sx += w * std::cos(t * t / twoA2);
        sy += w * std::sin(t * t / twoA2);
    }
    return {static_cast<double>(sx * h / 3), static_cast<double>(sy * h / 3)};
}

// The series against the quadrature: to a nanometre per kilometre of spiral.
TEST(ExactSpiral, MatchesTheFresnelIntegrals) {
    struct Case {
        double l_m, A_m;
    };
    // Turns l^2 / (2 A^2) of about 7, 29, 43, 90, 135, 161 and 180 degrees.
    const Case cases[] = {{50, 100},    {100, 100},   {200, 163.3},  {200, 112.8},
                          {400, 184.3}, {800, 337.6}, {3000, 1196.8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.l_m);
        const ClothoidPoint series = clothoidPoint(c.l_m, c.A_m);
        const ClothoidPoint quadrature = fresnelBySimpson(c.l_m, c.A_m);
        EXPECT_NEAR(series.x_m, quadrature.x_m, 1e-12 * c.l_m);
        EXPECT_NEAR(series.y_m, quadrature.y_m, 1e-12 * c.l_m);
        // The clothoid runs backwards the same way.
        EXPECT_EQ(clothoidPoint(-c.l_m, c.A_m).x_m, -series.x_m);
    }
}

// A curve of radius 1000 whose entry (or exit) spiral turns by beta degrees, the other end without
// spiral, and an arc of 5 degrees between; right- or left-hand. Heading south, no azimuth of the
// curve passes north: a turn of 360 degrees is 2 * 3.1415926535 radians, 1.8e-10 short of a full
// turn, and an exit tangent brought back past north swings HZ by that much about the JD, which
// these tangents of up to 30 km would make a step of some micrometres.
CurveElements spiralCurve(double beta_deg, bool entry, int turn) {
    const double R = 1000;
    const double Ls = beta_deg * kPi * R / 90;
    const double A = std::sqrt(Ls * R);
    DesignValues d{10000, 5000, 5000, 180, turn * (beta_deg + 5), R, entry ? A : 0, entry ? 0 : A};
    return computeCurve(d);
}

TEST(ExactSpiral, SpiralsOfAnyTurnJoinTheArcAndComeBack) {
    for (double beta : {10.0, 60.0, 120.0, 170.0}) {
        for (bool entry : {true, false}) {
            for (int turn : {1, -1}) {
                SCOPED_TRACE(::testing::Message()
                             << beta << (entry ? " entry " : " exit ") << turn);
                const CurveElements c = spiralCurve(beta, entry, turn);
                EXPECT_TRUE(checkCurve(c));
                // HY (YH) from the spiral just before (after) it and from the arc.
                const double joint = entry ? c.hy : c.yh;
                const double onSpiral = std::nextafter(joint, entry ? -kInf : kInf);
                const auto spiral = centreStake(c, onSpiral, 0);
                const auto arc = centreStake(c, joint, 0);
                ASSERT_TRUE(spiral && arc);
                EXPECT_EQ(spiral->segment, entry ? Segment::FirstSpiral : Segment::SecondSpiral);
                EXPECT_EQ(arc->segment, Segment::Arc);
                test::expectSameStake(*spiral, *arc);
                // A stake in the middle of the spiral, and a side point 3 m off it, come back.
                const double middle = entry ? (c.zh + c.hy) / 2 : (c.yh + c.hz) / 2;
                const auto stake = centreStake(c, middle, 0);
                for (double offset : {0.0, 3.0}) {
                    const double x = stake->x_m + offset * std::cos(stake->axisAzimuth_deg * c.f);
                    const double y = stake->y_m + offset * std::sin(stake->axisAzimuth_deg * c.f);
                    const auto foot = footPoint(c, x, y);
                    ASSERT_TRUE(foot);
                    EXPECT_NEAR(foot->chainage_m, middle, 1e-6);
                    EXPECT_NEAR(foot->offset_m, offset, 1e-6);
                }
            }
        }
    }
}

TEST(ExactSpiral, ShiftOfTheCircleFromTheSpiralsEnd) {
    // q = x(L) - R sin(L/2R), p = y(L) - R (1 - cos(L/2R)), here with the quadrature's x and y.
    const CurveElements c = spiralCurve(120, true, 1);
    const ClothoidPoint end = fresnelBySimpson(c.Ls1, c.A1);
    const double turn_rad = c.Ls1 / (2 * c.R);
    EXPECT_NEAR(c.q1, end.x_m - c.R * std::sin(turn_rad), 1e-8);
    EXPECT_NEAR(c.p1, end.y_m - c.R * (1 - std::cos(turn_rad)), 1e-8);
    EXPECT_EQ(c.q2, 0);
    EXPECT_EQ(c.p2, 0);
}

}  // namespace
}  // namespace hcurve
