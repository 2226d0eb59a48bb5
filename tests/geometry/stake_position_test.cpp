#include "geometry/stake_position.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "curve/dms.h"
#include "curve/format.h"
#include "example_curves.h"

namespace hcurve {
namespace {

using test::leftHandPlainCurve;
using test::rightHandCurve;

std::string coordText(double v) {
    return format(roundTo(v, 4), Pattern::Fixed4);
}

struct WorkedStake {
    double Kp;
    Segment segment;
    const char* x;
    const char* y;
    double axis;
};

void expectStake(const CurveElements& c, const WorkedStake& w, double ppq = 0) {
    SCOPED_TRACE("Kp = " + generalText(w.Kp));
    auto s = centreStake(c, w.Kp, ppq);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->segment, w.segment);
    EXPECT_EQ(coordText(s->x_m), w.x);
    EXPECT_EQ(coordText(s->y_m), w.y);
    EXPECT_NEAR(s->axisAzimuth_deg, w.axis, 5e-7);
}

TEST(CentreStake, WorkedStakesRightHandCurve) {
    CurveElements c = rightHandCurve();
    const WorkedStake stakes[] = {
        {12100, Segment::IncomingTangent, "3456616.9378", "512170.4355", 135.504167},
        {12200, Segment::FirstSpiral, "3456686.9332", "512241.8537", 136.199800},
        {12300, Segment::Arc, "3456750.4575", "512318.9125", 145.950961},
        {12500, Segment::SecondSpiral, "3456828.6273", "512501.8495", 165.188474},
        {12600, Segment::OutgoingTangent, "3456853.3360", "512598.7486", 165.762500},
    };
    for (const WorkedStake& w : stakes)
        expectStake(c, w);
}

TEST(CentreStake, TurnedAxisKeepsThePosition) {
    // PPQ typed 15.3 is 15 degrees 30 minutes.
    expectStake(rightHandCurve(), {12300, Segment::Arc, "3456750.4575", "512318.9125", 161.450961},
                dmsToDegrees(15.3));
}

TEST(CentreStake, WorkedStakesLeftHandCurveWithoutSpirals) {
    CurveElements c = leftHandPlainCurve();
    const WorkedStake stakes[] = {
        {2300, Segment::IncomingTangent, "1100.0000", "1826.7949", 210.000000},
        {2400, Segment::Arc, "1050.8625", "1913.8649", 205.365904},
        {2500, Segment::Arc, "1023.7326", "2009.6340", 186.267311},
        {2600, Segment::Arc, "1029.4312", "2109.0084", 167.168718},
        {2700, Segment::OutgoingTangent, "1055.1048", "2205.6540", 165.000000},
    };
    for (const WorkedStake& w : stakes)
        expectStake(c, w);
}

TEST(ClothoidPoint, WorkedSeries) {
    ClothoidPoint pt = clothoidPoint(50, 100);
    EXPECT_NEAR(pt.x_m, 49.921931, 5e-7);
    EXPECT_NEAR(pt.y_m, 2.081009, 5e-7);
    EXPECT_NEAR(std::hypot(pt.x_m, pt.y_m), 49.965286, 5e-7);
    EXPECT_NEAR(std::atan(pt.y_m / pt.x_m) / kDegreeFactor, 2.387008, 5e-7);
}

TEST(ClothoidPoint, StartIsTheOrigin) {
    ClothoidPoint pt = clothoidPoint(0, 100);
    EXPECT_EQ(pt.x_m, 0);
    EXPECT_EQ(pt.y_m, 0);
}

// A curve around the worked series: T = 30, right-hand, ZH at chainage 1000 in (5000, 3000).
CurveElements seriesCurve() {
    CurveElements c;
    c.f = kDegreeFactor;
    c.T = 30;
    c.p = 1;
    c.A1 = 100;
    c.R = 50;
    c.zh = 1000;
    c.hy = 1000 + 100.0 * 100 / 50;  // Ls = A^2 / R = 200
    c.yh = 1300;
    c.hz = 1400;
    c.xa = 5000;
    c.ya = 3000;
    return c;
}

TEST(CentreStake, WorkedStakeOnTheSeries) {
    CurveElements c = seriesCurve();
    auto s = centreStake(c, 1050, 0);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->segment, Segment::FirstSpiral);
    EXPECT_EQ(coordText(s->x_m), "5042.1932");
    EXPECT_EQ(coordText(s->y_m), "3026.7632");
    double chordAzimuth = std::atan2(s->y_m - c.ya, s->x_m - c.xa) / kDegreeFactor;
    EXPECT_NEAR(chordAzimuth, 32.387008, 5e-7);
    // T + beta + 90, beta = 7.161972.
    EXPECT_NEAR(s->axisAzimuth_deg, 30 + 7.161972 + 90, 5e-7);
}

TEST(CentreStake, LeftTurningSpiralDeflectsChordTheOtherWay) {
    CurveElements c = seriesCurve();
    c.p = -1;
    auto s = centreStake(c, 1050, 0);
    ASSERT_TRUE(s);
    double chordAzimuth = std::atan2(s->y_m - c.ya, s->x_m - c.xa) / kDegreeFactor;
    EXPECT_NEAR(chordAzimuth, 30 - 2.387008, 5e-7);
    EXPECT_NEAR(s->axisAzimuth_deg, 30 - 7.161972 + 90, 5e-7);
}

TEST(CentreStake, CharacteristicPointsExactly) {
    CurveElements c = rightHandCurve();
    auto atZh = centreStake(c, c.zh, 0);
    ASSERT_TRUE(atZh);
    EXPECT_EQ(atZh->segment, Segment::IncomingTangent);
    EXPECT_EQ(atZh->x_m, c.xa);
    EXPECT_EQ(atZh->y_m, c.ya);
    EXPECT_EQ(atZh->axisAzimuth_deg, c.T + 90);

    auto atHz = centreStake(c, c.hz, 2.5);
    ASSERT_TRUE(atHz);
    EXPECT_EQ(atHz->segment, Segment::OutgoingTangent);
    EXPECT_EQ(atHz->x_m, c.xb);
    EXPECT_EQ(atHz->y_m, c.yb);
    EXPECT_EQ(atHz->axisAzimuth_deg, c.tb + 90 + 2.5);
}

TEST(CentreStake, HyAndYhLieOnTheArc) {
    CurveElements c = rightHandCurve();
    auto atHy = centreStake(c, c.hy, 0);
    auto atYh = centreStake(c, c.yh, 0);
    ASSERT_TRUE(atHy);
    ASSERT_TRUE(atYh);
    EXPECT_EQ(atHy->segment, Segment::Arc);
    EXPECT_EQ(atYh->segment, Segment::Arc);
    EXPECT_NEAR(atHy->x_m, c.xh1, 1e-6);
    EXPECT_NEAR(atHy->y_m, c.yh1, 1e-6);
    EXPECT_NEAR(atYh->x_m, c.xh2, 1e-6);
    EXPECT_NEAR(atYh->y_m, c.yh2, 1e-6);
}

TEST(CentreStake, TangentsAreStraightFromTheirEnds) {
    CurveElements c = rightHandCurve();
    auto before = centreStake(c, c.zh - 10, 0);
    auto after = centreStake(c, c.hz + 10, 0);
    ASSERT_TRUE(before);
    ASSERT_TRUE(after);
    EXPECT_NEAR(std::hypot(before->x_m - c.xa, before->y_m - c.ya), 10, 1e-9);
    EXPECT_NEAR(std::atan2(c.ya - before->y_m, c.xa - before->x_m) / kDegreeFactor, c.T, 1e-7);
    EXPECT_NEAR(std::hypot(after->x_m - c.xb, after->y_m - c.yb), 10, 1e-9);
    EXPECT_NEAR(std::atan2(after->y_m - c.yb, after->x_m - c.xb) / kDegreeFactor, c.tb, 1e-7);
}

TEST(CentreStake, CurveWithoutSpiralsIsArcBetweenZyAndYz) {
    CurveElements c = leftHandPlainCurve();
    EXPECT_EQ(centreStake(c, c.zh, 0)->segment, Segment::IncomingTangent);
    EXPECT_EQ(centreStake(c, std::nextafter(c.zh, c.hz), 0)->segment, Segment::Arc);
    EXPECT_EQ(centreStake(c, std::nextafter(c.hz, c.zh), 0)->segment, Segment::Arc);
    EXPECT_EQ(centreStake(c, c.hz, 0)->segment, Segment::OutgoingTangent);
}

TEST(CentreStake, MissingSpiralNeverApplies) {
    CurveElements entryOnly = test::curveFromTexts("12345.678", "3456789.123", "512345.678",
                                                   "45.3015", "30.1530", "500", "200", "0");
    EXPECT_EQ(centreStake(entryOnly, std::nextafter(entryOnly.hz, 0.0), 0)->segment, Segment::Arc);
    EXPECT_EQ(centreStake(entryOnly, entryOnly.zh + 1, 0)->segment, Segment::FirstSpiral);

    CurveElements exitOnly = test::curveFromTexts("12345.678", "3456789.123", "512345.678",
                                                  "45.3015", "30.1530", "500", "0", "250");
    EXPECT_EQ(centreStake(exitOnly, exitOnly.zh + 1, 0)->segment, Segment::Arc);
    EXPECT_EQ(centreStake(exitOnly, exitOnly.hz - 1, 0)->segment, Segment::SecondSpiral);
}

TEST(CentreStake, NothingWhenNoSegmentTakesTheChainage) {
    // Inconsistent record: a gap between HY and ZH with no entry spiral.
    CurveElements c = rightHandCurve();
    c.A1 = 0;
    EXPECT_FALSE(centreStake(c, c.zh + 1, 0));
}

TEST(CentreStake, AxisWrapsPastNorth) {
    CurveElements c;
    c.f = kDegreeFactor;
    c.T = 350;
    c.zh = 100;
    c.hy = c.yh = c.hz = 200;
    auto s = centreStake(c, 90, 0);  // 350 + 90 = 440
    ASSERT_TRUE(s);
    EXPECT_EQ(s->axisAzimuth_deg, 80);

    c.T = 270;  // 270 + 90 = 360 exactly
    EXPECT_EQ(centreStake(c, 90, 0)->axisAzimuth_deg, 0);
}

TEST(CentreStake, NegativeAxisOnLeftTurningArc) {
    CurveElements c;
    c.f = kDegreeFactor;
    c.p = -1;
    c.R = 100;
    c.tj = 10;
    c.A1 = 50;
    c.zh = 75;
    c.hy = 100;
    c.yh = c.hz = 200;
    auto s = centreStake(c, c.hy, -30);  // psi = 10, 10 - 30 = -20
    ASSERT_TRUE(s);
    EXPECT_EQ(s->segment, Segment::Arc);
    EXPECT_EQ(s->axisAzimuth_deg, 340);
}

TEST(NormaliseAzimuthOnce, OneCorrectionEachWay) {
    EXPECT_EQ(normaliseAzimuthOnce(440), 80);
    EXPECT_EQ(normaliseAzimuthOnce(360), 0);
    EXPECT_EQ(normaliseAzimuthOnce(359.5), 359.5);
    EXPECT_EQ(normaliseAzimuthOnce(0), 0);
    EXPECT_EQ(normaliseAzimuthOnce(-20), 340);
    // A hair below 0 rounds up to 360 and is not corrected again.
    EXPECT_EQ(normaliseAzimuthOnce(-1e-14), 360);
    // No loop: values a full turn or more outside stay outside.
    EXPECT_EQ(normaliseAzimuthOnce(800), 440);
    EXPECT_EQ(normaliseAzimuthOnce(-400), -40);
}

}  // namespace
}  // namespace hcurve
