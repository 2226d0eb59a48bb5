// Checks that hold on every computed curve: the segments join without a step in position or
// axis, HY and YH lie on the circle, and the chainages add up.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "example_curves.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct NamedCurve {
    const char* name;
    CurveElements (*make)();
};

const NamedCurve kCurves[] = {
    {"right-hand with spirals", test::rightHandCurve},
    {"left-hand without spirals", test::leftHandPlainCurve},
    {"left-hand with spirals", test::leftHandSpiralCurve},
};

double angleBetween_deg(double a_deg, double b_deg) {
    return std::fabs(std::remainder(a_deg - b_deg, 360.0));
}

void expectSameStake(const StakePosition& a, const StakePosition& b) {
    EXPECT_NEAR(a.x_m, b.x_m, 1e-6);
    EXPECT_NEAR(a.y_m, b.y_m, 1e-6);
    EXPECT_LE(angleBetween_deg(a.axisAzimuth_deg, b.axisAzimuth_deg), 1e-6);
}

TEST(Continuity, EntryEndMeetsTheArc) {
    for (const NamedCurve& named : kCurves) {
        SCOPED_TRACE(named.name);
        CurveElements c = named.make();
        // With a spiral: the spiral just before HY against the arc at HY; without one: the
        // tangent at ZY against the arc just after it.
        double before = c.A1 != 0 ? std::nextafter(c.hy, -kInf) : c.zh;
        double after = c.A1 != 0 ? c.hy : std::nextafter(c.zh, kInf);
        auto s = centreStake(c, before, 0);
        auto a = centreStake(c, after, 0);
        ASSERT_TRUE(s && a);
        EXPECT_EQ(s->segment, c.A1 != 0 ? Segment::FirstSpiral : Segment::IncomingTangent);
        EXPECT_EQ(a->segment, Segment::Arc);
        expectSameStake(*s, *a);
    }
}

TEST(Continuity, ArcMeetsTheExitEnd) {
    for (const NamedCurve& named : kCurves) {
        SCOPED_TRACE(named.name);
        CurveElements c = named.make();
        double before = c.A2 != 0 ? c.yh : std::nextafter(c.hz, -kInf);
        double after = c.A2 != 0 ? std::nextafter(c.yh, kInf) : c.hz;
        auto a = centreStake(c, before, 0);
        auto s = centreStake(c, after, 0);
        ASSERT_TRUE(a && s);
        EXPECT_EQ(a->segment, Segment::Arc);
        EXPECT_EQ(s->segment, c.A2 != 0 ? Segment::SecondSpiral : Segment::OutgoingTangent);
        expectSameStake(*a, *s);
    }
}

TEST(Continuity, SpiralsMeetTheirTangents) {
    for (const NamedCurve& named : kCurves) {
        SCOPED_TRACE(named.name);
        CurveElements c = named.make();
        if (c.A1 == 0)
            continue;
        expectSameStake(*centreStake(c, c.zh, 0), *centreStake(c, std::nextafter(c.zh, kInf), 0));
        expectSameStake(*centreStake(c, std::nextafter(c.hz, -kInf), 0), *centreStake(c, c.hz, 0));
    }
}

TEST(CurveInvariants, HyAndYhOnTheCircle) {
    for (const NamedCurve& named : kCurves) {
        SCOPED_TRACE(named.name);
        CurveElements c = named.make();
        EXPECT_NEAR(std::hypot(c.xh1 - c.Xo, c.yh1 - c.Yo), c.R, 1e-6);
        EXPECT_NEAR(std::hypot(c.xh2 - c.Xo, c.yh2 - c.Yo), c.R, 1e-6);
    }
}

TEST(CurveInvariants, ChainagesAddUp) {
    for (const NamedCurve& named : kCurves) {
        SCOPED_TRACE(named.name);
        CurveElements c = named.make();
        EXPECT_NEAR(c.hz - c.zh, c.Ls1 + c.Lf + c.Ls2, 1e-9);
        EXPECT_EQ(c.hy, c.zh + c.Ls1);
        EXPECT_EQ(c.yh, c.hy + c.Lf);
        EXPECT_EQ(c.hz, c.yh + c.Ls2);
    }
}

TEST(CurveInvariants, HzLiesOnTheOutgoingTangentFromTheSpiralEnd) {
    // HZ comes from the JD, the spiral end from the centre; they must be the same point.
    for (const NamedCurve& named : kCurves) {
        SCOPED_TRACE(named.name);
        CurveElements c = named.make();
        if (c.A2 == 0)
            continue;
        auto end = centreStake(c, std::nextafter(c.yh, kInf), 0);
        ASSERT_TRUE(end);
        EXPECT_NEAR(end->x_m, c.xh2, 1e-6);
        EXPECT_NEAR(end->y_m, c.yh2, 1e-6);
    }
}

}  // namespace
}  // namespace hcurve
