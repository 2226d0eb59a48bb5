// Reverse calculation on the one curve's alignment: points set out from stakes come back to their
// stakes, on every element of curves with and without spirals, turning either way; the worked
// stakes find their chainages; the foot found is the nearest one.
#include "alignment/curve_reverse.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../geometry/example_curves.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"

namespace hcurve {
namespace {

using test::curveFromTexts;

struct NamedCurve {
    const char* name;
    CurveElements curve;
};

std::vector<NamedCurve> allCurves() {
    using test::leftHandDesign;
    using test::rightHandDesign;
    return {
        {"right-hand, both spirals", rightHandDesign("200", "250")},
        {"right-hand, no spirals", rightHandDesign("0", "0")},
        {"right-hand, entry spiral only", rightHandDesign("200", "0")},
        {"right-hand, exit spiral only", rightHandDesign("0", "250")},
        {"left-hand, both spirals", leftHandDesign("150", "120")},
        {"left-hand, no spirals", leftHandDesign("0", "0")},
        {"left-hand, entry spiral only", leftHandDesign("150", "0")},
        {"left-hand, exit spiral only", leftHandDesign("0", "120")},
        // T near north: the tangent azimuths cross 0/360 on the way round.
        {"left-hand across north, both spirals",
         curveFromTexts("500", "20000", "30000", "10", "-60", "250", "120", "150")},
    };
}

// A stake to set points out from, and whether it is the joint of two elements.
struct Stake {
    const char* where;
    double Kp_m;
    bool joint;
};

std::vector<Stake> stakesOn(const CurveElements& c) {
    std::vector<Stake> stakes{
        {"100 m before ZH", c.zh - 100, false},   {"ZH", c.zh, true},
        {"arc middle", (c.hy + c.yh) / 2, false}, {"HZ", c.hz, true},
        {"100 m after HZ", c.hz + 100, false},
    };
    if (c.A1 != 0) {
        stakes.push_back({"HY", c.hy, true});
        stakes.push_back({"first spiral middle", (c.zh + c.hy) / 2, false});
        stakes.push_back({"just into the first spiral", c.zh + 0.01, false});
    }
    if (c.A2 != 0) {
        stakes.push_back({"YH", c.yh, true});
        stakes.push_back({"second spiral middle", (c.yh + c.hz) / 2, false});
        stakes.push_back({"just before HZ", c.hz - 0.01, false});
    }
    return stakes;
}

// The foot of the point set out offset_m from the stake at Kp_m along its transverse axis, as the
// side points are set out.
std::optional<FootPoint> footFrom(const CurveElements& c, double Kp_m, double offset_m) {
    const std::optional<StakePosition> stake = centreStake(c, Kp_m, 0);
    const double a = stake->axisAzimuth_deg * c.f;
    return footPoint(c, stake->x_m + offset_m * std::cos(a), stake->y_m + offset_m * std::sin(a));
}

TEST(FootPoint, SidePointsComeBackToTheirStake) {
    for (const NamedCurve& named : allCurves()) {
        SCOPED_TRACE(named.name);
        const CurveElements& c = named.curve;
        for (const Stake& stake : stakesOn(c)) {
            SCOPED_TRACE(stake.where);
            // A point at a joint may find its foot on either element.
            const Segment before = centreStake(c, stake.Kp_m - 0.001, 0)->segment;
            const Segment after = centreStake(c, stake.Kp_m + 0.001, 0)->segment;
            for (double offset : {-40.0, -12.5, -3.0, 0.0, 3.0, 12.5, 40.0}) {
                SCOPED_TRACE(offset);
                const auto foot = footFrom(c, stake.Kp_m, offset);
                ASSERT_TRUE(foot);
                EXPECT_NEAR(foot->chainage_m, stake.Kp_m, 1e-6);
                EXPECT_NEAR(foot->offset_m, offset, 1e-6);
                if (stake.joint)
                    EXPECT_THAT(foot->element, ::testing::AnyOf(before, after));
                else
                    EXPECT_EQ(foot->element, centreStake(c, stake.Kp_m, 0)->segment);
            }
        }
    }
}

// The worked stakes of the two example curves, given to 0.1 mm, find their chainages to well within
// a millimetre, on the element the stake run puts them on.
TEST(FootPoint, WorkedStakes) {
    for (const test::WorkedStake& w : test::kWorkedStakes) {
        SCOPED_TRACE("Kp = " + generalText(w.Kp_m));
        auto foot = footPoint(w.curve(), *readNumber(w.x), *readNumber(w.y));
        ASSERT_TRUE(foot);
        EXPECT_NEAR(foot->chainage_m, w.Kp_m, 1e-4);
        EXPECT_NEAR(foot->offset_m, 0, 1e-4);
        EXPECT_EQ(foot->element, w.segment);
        EXPECT_EQ(chainageText(roundTo(foot->chainage_m, 3), kReportStakeForm),
                  chainageText(w.Kp_m, kReportStakeForm));
    }
}

// Points far off the stakes come back: halfway from an arc stake to the circle centre (inside the
// curve: right of a right-hand curve, left of a left-hand one), and 7 m off the tangents 5 km
// beyond ZH and HZ.
TEST(FootPoint, FarPointsComeBackToTheirStake) {
    const CurveElements right = test::rightHandCurve(), left = test::leftHandPlainCurve();
    struct Case {
        const CurveElements& c;
        double Kp_m, offset_m;
        Segment element;
    };
    const Case cases[] = {{right, 12300, 500.0 / 2, Segment::Arc},
                          {left, 2500, -300.0 / 2, Segment::Arc},
                          {left, left.zh - 5000, -7, Segment::IncomingTangent},
                          {left, left.hz + 5000, 7, Segment::OutgoingTangent}};
    for (const Case& k : cases) {
        SCOPED_TRACE(generalText(k.Kp_m));
        const auto foot = footFrom(k.c, k.Kp_m, k.offset_m);
        ASSERT_TRUE(foot);
        EXPECT_EQ(foot->element, k.element);
        EXPECT_NEAR(foot->chainage_m, k.Kp_m, 1e-6);
        EXPECT_NEAR(foot->offset_m, k.offset_m, 1e-6);
    }
}

// Far inside a curve, beyond its centre on the bisector, a point has feet on both tangents and on
// the far side of the circle; moved a little towards the exit, the outgoing tangent is nearest.
TEST(FootPoint, NearestOfSeveralFeet) {
    CurveElements c = test::rightHandCurve();
    // Bisector direction from the JD through the centre, then 3000 m out, 20 m towards the exit.
    const double toCentre_deg = std::atan2(c.Yo - c.Y, c.Xo - c.X) / c.f;
    const double x = c.X + 3000 * std::cos(toCentre_deg * c.f) + 20 * std::cos(c.tb * c.f);
    const double y = c.Y + 3000 * std::sin(toCentre_deg * c.f) + 20 * std::sin(c.tb * c.f);
    auto foot = footPoint(c, x, y);
    ASSERT_TRUE(foot);
    EXPECT_EQ(foot->element, Segment::OutgoingTangent);
    // Inside a right-hand curve: to the right.
    EXPECT_GT(foot->offset_m, 0);
    auto back = centreStake(c, foot->chainage_m, 0);
    EXPECT_NEAR(back->x_m + foot->offset_m * std::cos(back->axisAzimuth_deg * c.f), x, 1e-6);
    EXPECT_NEAR(back->y_m + foot->offset_m * std::sin(back->axisAzimuth_deg * c.f), y, 1e-6);
}

// What the reverse calculation says besides the foot: whether other feet are about as near, and
// whether the point is farther from the centre line than R or 1 km.
TEST(ReverseCalculation, TellsAmbiguousAndFarPoints) {
    const CurveElements spirals = test::rightHandCurve();  // R 500
    const CurveElements plain = curveFromTexts("2500", "1000", "2000", "120", "-45", "3000", "0",
                                               "0");  // R 3000, no spirals
    // On the bisector of the plain curve, beyond its centre: both tangents equally near.
    const double toCentre_deg = std::atan2(plain.Yo - plain.Y, plain.Xo - plain.X) / plain.f;
    const double bx = plain.X + 9000 * std::cos(toCentre_deg * plain.f);
    const double by = plain.Y + 9000 * std::sin(toCentre_deg * plain.f);
    struct Case {
        const char* name;
        const CurveElements& c;
        double x, y;
        bool ambiguous, far;
    };
    const auto stake = *centreStake(spirals, 12300, 0);
    const Case cases[] = {
        {"on a stake", spirals, stake.x_m, stake.y_m, false, false},
        {"the centre", spirals, spirals.Xo, spirals.Yo, true, false},
        {"the centre, as shown", spirals, 3456336.1782, 512598.8637, true, false},
        {"(0, 0)", spirals, 0, 0, false, true},
        {"R + 1 mm outside the arc", spirals, stake.x_m + (stake.x_m - spirals.Xo) * 1.000002,
         stake.y_m + (stake.y_m - spirals.Yo) * 1.000002, false, true},
        {"the plain curve's centre", plain, plain.Xo, plain.Yo, true, true},
        {"beyond the plain curve's centre", plain, bx, by, true, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const auto result = reverseCalculation(k.c, k.x, k.y);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->ambiguous, k.ambiguous);
        EXPECT_EQ(result->far, k.far);
        EXPECT_EQ(result->plausibleOffset_m, std::min(k.c.R, 1000.0));
    }
}

// Over a grid of points around each curve: the foot is a true foot (the stake at its chainage,
// moved by the offset along the normal, is the point) and no point of the alignment, sampled every
// 0.25 m, is nearer than the offset.
TEST(FootPoint, FootIsTheNearestPointOfTheAlignment) {
    for (const NamedCurve& named : allCurves()) {
        SCOPED_TRACE(named.name);
        const CurveElements& c = named.curve;
        std::vector<StakePosition> samples;
        for (double k = c.zh - 800; k <= c.hz + 800; k += 0.25)
            samples.push_back(*centreStake(c, k, 0));
        const double x0 = std::fmin(c.xa, c.xb) - 200, x1 = std::fmax(c.xa, c.xb) + 200;
        const double y0 = std::fmin(c.ya, c.yb) - 200, y1 = std::fmax(c.ya, c.yb) + 200;
        constexpr int kSteps = 11;
        for (int i = 0; i <= kSteps; ++i) {
            for (int j = 0; j <= kSteps; ++j) {
                const double x = x0 + (x1 - x0) * i / kSteps, y = y0 + (y1 - y0) * j / kSteps;
                SCOPED_TRACE("point " + generalText(x) + ", " + generalText(y));
                auto foot = footPoint(c, x, y);
                ASSERT_TRUE(foot);
                auto back = centreStake(c, foot->chainage_m, 0);
                const double a = back->axisAzimuth_deg * c.f;
                EXPECT_NEAR(back->x_m + foot->offset_m * std::cos(a), x, 1e-6);
                EXPECT_NEAR(back->y_m + foot->offset_m * std::sin(a), y, 1e-6);
                double nearest = HUGE_VAL;
                for (const StakePosition& s : samples)
                    nearest = std::fmin(nearest, std::hypot(s.x_m - x, s.y_m - y));
                EXPECT_LE(std::fabs(foot->offset_m), nearest + 1e-6);
            }
        }
    }
}

TEST(FootPoint, NothingForAPointThatIsNotFinite) {
    EXPECT_FALSE(footPoint(test::rightHandCurve(), NAN, 512318.9125));
    EXPECT_FALSE(footPoint(test::rightHandCurve(), 3456750.4575, HUGE_VAL));
}

}  // namespace
}  // namespace hcurve
