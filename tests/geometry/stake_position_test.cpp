#include "geometry/stake_position.h"

#include <cmath>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "curve/angle.h"
#include "curve/format.h"
#include "example_curves.h"

namespace hcurve {
namespace {

using test::leftHandPlainCurve;
using test::rightHandCurve;

std::string coordText(double v) {
    return coordinateText(v, kTableCoordinate);
}

TEST(CentreStake, WorkedStakes) {
    for (const test::WorkedStake& w : test::kWorkedStakes) {
        SCOPED_TRACE("Kp = " + generalText(w.Kp_m));
        auto s = centreStake(w.curve(), w.Kp_m, 0);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->segment, w.segment);
        EXPECT_EQ(coordText(s->x_m), w.x);
        EXPECT_EQ(coordText(s->y_m), w.y);
        EXPECT_NEAR(s->axisAzimuth_deg, w.axis_deg, 5e-7);
    }
}

TEST(ClothoidPoint, WorkedSeries) {
    const ClothoidPoint pt = clothoidPoint(50, 100);
    EXPECT_NEAR(pt.x_m, 49.921931, 5e-7);
    EXPECT_NEAR(pt.y_m, 2.081009, 5e-7);
    EXPECT_NEAR(std::atan(pt.y_m / pt.x_m) / kDegreeFactor, 2.387008, 5e-7);
    EXPECT_EQ(clothoidPoint(0, 100).x_m, 0);
    EXPECT_EQ(clothoidPoint(0, 100).y_m, 0);
}

// A curve around the worked series: T = 30, ZH at chainage 1000 in (5000, 3000), the spiral
// turning right or left. At 1050 the chord is 2.387008 degrees off T and the axis 7.161972.
TEST(CentreStake, WorkedStakeOnTheSeriesTurningEitherWay) {
    CurveElements c;
    c.f = kDegreeFactor;
    c.T = 30;
    c.A1 = 100;
    c.R = 50;
    c.zh = 1000;
    c.hy = 1000 + 100.0 * 100 / 50;  // Ls = A^2 / R = 200
    c.yh = 1300;
    c.hz = 1400;
    c.xa = 5000;
    c.ya = 3000;
    for (int p : {1, -1}) {
        SCOPED_TRACE(p);
        c.p = p;
        auto s = centreStake(c, 1050, 0);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->segment, Segment::FirstSpiral);
        if (p == 1) {
            EXPECT_EQ(coordText(s->x_m), "5042.1932");
            EXPECT_EQ(coordText(s->y_m), "3026.7632");
        }
        EXPECT_NEAR(std::atan2(s->y_m - c.ya, s->x_m - c.xa) / kDegreeFactor, 30 + p * 2.387008,
                    5e-7);
        EXPECT_NEAR(s->axisAzimuth_deg, 30 + p * 7.161972 + 90, 5e-7);
    }
}

// ZH and HZ are the curve's own points to the last bit; HY and YH lie on the arc.
TEST(CentreStake, CharacteristicPoints) {
    const CurveElements c = rightHandCurve();
    struct Case {
        double Kp_m;
        Segment segment;
        double x_m, y_m, tolerance_m;
    };
    const Case cases[] = {{c.zh, Segment::IncomingTangent, c.xa, c.ya, 0},
                          {c.hy, Segment::Arc, c.xh1, c.yh1, 1e-6},
                          {c.yh, Segment::Arc, c.xh2, c.yh2, 1e-6},
                          {c.hz, Segment::OutgoingTangent, c.xb, c.yb, 0}};
    for (const Case& k : cases) {
        auto s = centreStake(c, k.Kp_m, 0);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->segment, k.segment);
        EXPECT_NEAR(s->x_m, k.x_m, k.tolerance_m);
        EXPECT_NEAR(s->y_m, k.y_m, k.tolerance_m);
    }
    EXPECT_EQ(centreStake(c, c.zh, 0)->axisAzimuth_deg, c.T + 90);
    EXPECT_EQ(centreStake(c, c.hz, 2.5)->axisAzimuth_deg, c.tb + 90 + 2.5);
}

TEST(CentreStake, TangentsAreStraightFromTheirEnds) {
    const CurveElements c = rightHandCurve();
    auto before = centreStake(c, c.zh - 10, 0);
    auto after = centreStake(c, c.hz + 10, 0);
    ASSERT_TRUE(before && after);
    EXPECT_NEAR(std::hypot(before->x_m - c.xa, before->y_m - c.ya), 10, 1e-9);
    EXPECT_NEAR(std::atan2(c.ya - before->y_m, c.xa - before->x_m) / kDegreeFactor, c.T, 1e-7);
    EXPECT_NEAR(std::hypot(after->x_m - c.xb, after->y_m - c.yb), 10, 1e-9);
    EXPECT_NEAR(std::atan2(after->y_m - c.yb, after->x_m - c.xb) / kDegreeFactor, c.tb, 1e-7);
}

// A missing spiral never takes a stake; a record whose chainages leave a gap takes none there.
TEST(CentreStake, WhichElementTakesTheChainage) {
    const CurveElements plain = leftHandPlainCurve();
    const CurveElements entryOnly = test::rightHandDesign("200", "0");
    const CurveElements exitOnly = test::rightHandDesign("0", "250");
    CurveElements gap = rightHandCurve();
    gap.A1 = 0;
    struct Case {
        const CurveElements& c;
        double Kp_m;
        std::optional<Segment> segment;
    };
    const Case cases[] = {
        {plain, plain.zh, Segment::IncomingTangent},
        {plain, std::nextafter(plain.zh, plain.hz), Segment::Arc},
        {plain, std::nextafter(plain.hz, plain.zh), Segment::Arc},
        {plain, plain.hz, Segment::OutgoingTangent},
        {entryOnly, entryOnly.zh + 1, Segment::FirstSpiral},
        {entryOnly, std::nextafter(entryOnly.hz, 0.0), Segment::Arc},
        {exitOnly, exitOnly.zh + 1, Segment::Arc},
        {exitOnly, exitOnly.hz - 1, Segment::SecondSpiral},
        {gap, gap.zh + 1, std::nullopt},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(generalText(k.Kp_m));
        auto s = centreStake(k.c, k.Kp_m, 0);
        EXPECT_EQ(s ? std::optional<Segment>(s->segment) : std::nullopt, k.segment);
    }
}

// The axis is brought back once past north: on a tangent and on a left-turning arc.
TEST(CentreStake, AxisWrapsOnce) {
    CurveElements tangent;
    tangent.f = kDegreeFactor;
    tangent.zh = 100;
    tangent.hy = tangent.yh = tangent.hz = 200;
    tangent.T = 350;  // 350 + 90 = 440
    EXPECT_EQ(centreStake(tangent, 90, 0)->axisAzimuth_deg, 80);
    tangent.T = 270;  // 270 + 90 = 360 exactly
    EXPECT_EQ(centreStake(tangent, 90, 0)->axisAzimuth_deg, 0);

    CurveElements arc;
    arc.f = kDegreeFactor;
    arc.p = -1;
    arc.R = 100;
    arc.tj = 10;
    arc.A1 = 50;
    arc.zh = 75;
    arc.hy = 100;
    arc.yh = arc.hz = 200;
    auto s = centreStake(arc, arc.hy, -30);  // psi = 10, 10 - 30 = -20
    ASSERT_TRUE(s);
    EXPECT_EQ(s->segment, Segment::Arc);
    EXPECT_EQ(s->axisAzimuth_deg, 340);
}

}  // namespace
}  // namespace hcurve
