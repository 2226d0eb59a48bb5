// The curve elements to the worked figures; the fields that show them are checked with the curve
// display.
#include "geometry/curve_elements.h"

#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "example_curves.h"

namespace hcurve {
namespace {

using test::curveFromTexts;

// A figure given as "39.99146818...": the worked figures cut some values off and round others, so
// v must read as the given digits either cut off or rounded at the last given decimal.
void expectLeadingDigits(double v, const std::string& digits) {
    const std::size_t point = digits.find('.');
    const int decimals = point == std::string::npos ? 0 : int(digits.size() - point - 1);
    char longer[64], rounded[64];
    std::snprintf(longer, sizeof longer, "%.*f", decimals + 6, v);
    std::snprintf(rounded, sizeof rounded, "%.*f", decimals, v);
    const bool cut = std::string(longer).substr(0, digits.size()) == digits;
    EXPECT_TRUE(cut || digits == rounded) << "value " << longer << ", given " << digits << "...";
}

TEST(CurveElements, RightHandCurveToTheWorkedFigures) {
    const CurveElements c = test::rightHandCurve();
    EXPECT_EQ(c.Ls1, 80);
    EXPECT_EQ(c.Ls2, 125);
    EXPECT_EQ(c.p, 1);
    EXPECT_NEAR(c.B, 30 + 15.0 / 60 + 30.0 / 3600, 1e-12);
    expectLeadingDigits(c.q1, "39.99146818");
    expectLeadingDigits(c.p1, "0.53321144");
    expectLeadingDigits(c.q2, "62.46746204");
    expectLeadingDigits(c.p2, "1.30135696");
    expectLeadingDigits(c.T1, "176.84348");
    expectLeadingDigits(c.T2, "196.47835");
    EXPECT_NEAR(c.tb, 75.7625, 1e-12);
    expectLeadingDigits(c.tj, "320.08782903");
    expectLeadingDigits(c.Lf, "161.55377");
}

TEST(CurveElements, LeftHandCurveWithoutSpiralsToTheWorkedFigures) {
    const CurveElements c = test::leftHandPlainCurve();
    EXPECT_EQ(c.p, -1);
    EXPECT_EQ(c.tb, 75);
    EXPECT_EQ(c.tj, 210);
    EXPECT_NEAR(c.T1, 124.26406871, 5e-9);
    EXPECT_NEAR(c.T2, 124.26406871, 5e-9);
    EXPECT_NEAR(c.Lf, 235.61944901, 5e-9);
}

// An end without its spiral: ZY (YZ) is written, and HY (YH) is the same point as ZH (HZ). An end
// with its spiral leaves ZY (YZ) at 0.
TEST(CurveElements, AnEndWithoutItsSpiral) {
    using test::rightHandDesign;
    for (const CurveElements& c :
         {rightHandDesign("200", "250"), rightHandDesign("200", "0"), rightHandDesign("0", "250"),
          rightHandDesign("0", "0"), test::leftHandDesign("0", "0")}) {
        SCOPED_TRACE(::testing::Message() << "A1 " << c.A1 << ", A2 " << c.A2);
        if (c.A1 == 0) {
            EXPECT_EQ(c.ZY, c.zh);
            EXPECT_EQ(c.hy, c.zh);
            EXPECT_EQ(c.xh1, c.xa);
            EXPECT_EQ(c.yh1, c.ya);
        } else {
            EXPECT_EQ(c.ZY, 0);
            EXPECT_NE(c.hy, c.zh);
        }
        if (c.A2 == 0) {
            EXPECT_EQ(c.YZ, c.hz);
            EXPECT_EQ(c.yh, c.hz);
            EXPECT_EQ(c.xh2, c.xb);
            EXPECT_EQ(c.yh2, c.yb);
        } else {
            EXPECT_EQ(c.YZ, 0);
            EXPECT_NE(c.yh, c.hz);
        }
    }
}

// The exit tangent tb and the centre azimuth tj are brought back once each way past north, each
// by its corrections in their own order; a deflection typed -25.3000 is 25.5 degrees to the left.
TEST(CurveElements, AzimuthsAndDeflection) {
    struct Case {
        const char* why;
        const char *T, *B;
        double CurveElements::*member;
        double expected;
    };
    const Case cases[] = {
        {"10 - 20 = -10 comes back as 350", "10", "-20", &CurveElements::tb, 350},
        {"350 + 20 = 370 comes back as 10", "350", "20", &CurveElements::tb, 10},
        {"5 + (0 - 90) = -85 comes back as 275", "5", "20", &CurveElements::tj, 275},
        {"300 - (0 - 90) = 390 goes back to 30", "300", "-20", &CurveElements::tj, 30},
        // -2.8e-14 plus 360 rounds to 360; the test for 360 or more came first.
        {"tb stays 360", "0", "-0.00000000000001", &CurveElements::tb, 360},
        // Here the test for 360 or more comes second.
        {"tj becomes 0", "89.59599999999999", "20", &CurveElements::tj, 0},
        {"deflection to the left", "0", "-25.3000", &CurveElements::B, 25.5},
        {"its half", "0", "-25.3000", &CurveElements::halfB, 12.75},
    };
    for (const Case& k : cases)
        EXPECT_EQ(curveFromTexts("1000", "0", "0", k.T, k.B, "500", "0", "0").*k.member, k.expected)
            << k.why;
}

}  // namespace
}  // namespace hcurve
