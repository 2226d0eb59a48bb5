#include "geometry/curve_elements.h"

#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "curve/chainage.h"
#include "curve/dms.h"
#include "curve/format.h"
#include "example_curves.h"

namespace hcurve {
namespace {

using test::curveFromTexts;
using test::leftHandPlainCurve;
using test::rightHandCurve;

// The displays of the fields, as the window writes them.
std::string lengthText(double v) {
    return "  " + generalText(roundTo(v, 4));
}
std::string centreText(double v) {
    return " " + generalText(roundTo(v, 4));
}
std::string zhCoordText(double v) {
    return " " + format(roundTo(v, 4), Pattern::Fixed4);
}
std::string pointCoordText(double v) {
    return " " + format(roundTo(v, 3), Pattern::Fixed3);
}

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

TEST(CurveElements, RightHandCurveElements) {
    CurveElements c = rightHandCurve();
    EXPECT_EQ(c.f, kDegreeFactor);
    EXPECT_EQ(c.Ls1, 80);
    EXPECT_EQ(c.Ls2, 125);
    EXPECT_EQ(c.p, 1);
    EXPECT_EQ(c.T, 45 + 30.0 / 60 + 15.0 / 3600);
    EXPECT_NEAR(c.B, 30 + 15.0 / 60 + 30.0 / 3600, 1e-12);
    EXPECT_EQ(c.halfB, c.B / 2);
    expectLeadingDigits(c.q1, "39.99146818");
    expectLeadingDigits(c.p1, "0.53321144");
    expectLeadingDigits(c.q2, "62.46746204");
    expectLeadingDigits(c.p2, "1.30135696");
    expectLeadingDigits(c.T1, "176.84348");
    expectLeadingDigits(c.T2, "196.47835");
    EXPECT_NEAR(c.tb, 75.7625, 1e-12);
    expectLeadingDigits(c.tj, "320.08782903");
    expectLeadingDigits(c.Lf, "161.55377");
    // Ls / (2R) in degrees, with the ten-decimal pi.
    EXPECT_NEAR(c.beta1, 80 / (2 * 500.0) / kDegreeFactor, 1e-12);
    EXPECT_NEAR(c.beta2, 125 / (2 * 500.0) / kDegreeFactor, 1e-12);
    EXPECT_EQ(c.K, 12345.678);
    EXPECT_EQ(c.X, 3456789.123);
    EXPECT_EQ(c.Y, 512345.678);
    EXPECT_EQ(c.R, 500);
    EXPECT_EQ(c.A1, 200);
    EXPECT_EQ(c.A2, 250);
}

TEST(CurveElements, RightHandCurveDisplays) {
    CurveElements c = rightHandCurve();
    EXPECT_EQ(lengthText(c.Ls1), "  80");
    EXPECT_EQ(lengthText(c.Ls2), "  125");
    EXPECT_EQ(lengthText(c.T1), "  176.8435");
    EXPECT_EQ(lengthText(c.T2), "  196.4784");
    EXPECT_EQ(centreText(c.Xo), " 3456336.1782");
    EXPECT_EQ(centreText(c.Yo), " 512598.8637");
    EXPECT_EQ(chainageText(c.zh, kPointForm), "k 12+168.835");
    EXPECT_EQ(zhCoordText(c.xa), " 3456665.1809");
    EXPECT_EQ(zhCoordText(c.ya), " 512219.5353");
    EXPECT_EQ(chainageText(c.hy, kPlainForm), "K12+248.835");
    EXPECT_EQ(pointCoordText(c.xh1), " 3456719.693");
    EXPECT_EQ(pointCoordText(c.yh1), " 512278.057");
    EXPECT_EQ(chainageText(c.yh, kPlainForm), "K12+410.388");
    EXPECT_EQ(pointCoordText(c.xh2), " 3456801.708");
    EXPECT_EQ(pointCoordText(c.yh2), " 512416.430");
    EXPECT_EQ(chainageText(c.hz, kPlainForm), "K12+535.388");
    EXPECT_EQ(pointCoordText(c.xb), " 3456837.445");
    EXPECT_EQ(pointCoordText(c.yb), " 512536.121");
}

TEST(CurveElements, LeftHandCurveWithoutSpirals) {
    CurveElements c = leftHandPlainCurve();
    EXPECT_EQ(c.p, -1);
    EXPECT_EQ(c.tb, 75);
    EXPECT_EQ(c.tj, 210);
    EXPECT_EQ(c.Ls1, 0);
    EXPECT_EQ(c.Ls2, 0);
    EXPECT_NEAR(c.T1, 124.26406871, 5e-9);
    EXPECT_NEAR(c.T2, 124.26406871, 5e-9);
    EXPECT_NEAR(c.Lf, 235.61944901, 5e-9);
    // ZY and YZ take the places of HY and YH.
    EXPECT_EQ(c.ZY, c.zh);
    EXPECT_EQ(c.hy, c.zh);
    EXPECT_EQ(c.xh1, c.xa);
    EXPECT_EQ(c.yh1, c.ya);
    EXPECT_EQ(c.YZ, c.hz);
    EXPECT_EQ(c.yh, c.hz);
    EXPECT_EQ(c.xh2, c.xb);
    EXPECT_EQ(c.yh2, c.yb);
    EXPECT_EQ(chainageText(c.zh, kPlainForm), "K2+375.736");
    EXPECT_EQ(pointCoordText(c.xa), " 1062.132");
    EXPECT_EQ(pointCoordText(c.ya), " 1892.384");
    EXPECT_EQ(chainageText(c.YZ, kPlainForm), "K2+611.355");
    EXPECT_EQ(pointCoordText(c.xb), " 1032.162");
    EXPECT_EQ(pointCoordText(c.yb), " 2120.030");
}

TEST(CurveElements, ZyAndYzWrittenOnlyWithoutTheirSpiral) {
    CurveElements c = rightHandCurve();
    EXPECT_EQ(c.ZY, 0);
    EXPECT_EQ(c.YZ, 0);
}

TEST(CurveElements, EntrySpiralOnly) {
    CurveElements both = rightHandCurve();
    CurveElements c = curveFromTexts("12345.678", "3456789.123", "512345.678", "45.3015", "30.1530",
                                     "500", "200", "0");
    const double f = kDegreeFactor;
    EXPECT_EQ(c.q2, 0);
    EXPECT_EQ(c.p2, 0);
    EXPECT_EQ(c.T1, c.R * std::tan(c.halfB * f) - both.p1 / std::tan(c.B * f) + both.q1);
    EXPECT_EQ(c.T2, c.R * std::tan(c.halfB * f) + both.p1 / std::sin(c.B * f));
    EXPECT_EQ(c.YZ, c.hz);
    EXPECT_EQ(c.yh, c.hz);
    EXPECT_EQ(c.xh2, c.xb);
    EXPECT_EQ(c.yh2, c.yb);
    EXPECT_EQ(c.ZY, 0);  // the entry end keeps its spiral
    EXPECT_NE(c.hy, c.zh);
}

TEST(CurveElements, ExitSpiralOnly) {
    CurveElements both = rightHandCurve();
    CurveElements c = curveFromTexts("12345.678", "3456789.123", "512345.678", "45.3015", "30.1530",
                                     "500", "0", "250");
    const double f = kDegreeFactor;
    EXPECT_EQ(c.T1, c.R * std::tan(c.halfB * f) + both.p2 / std::sin(c.B * f));
    EXPECT_EQ(c.T2, c.R * std::tan(c.halfB * f) - both.p2 / std::tan(c.B * f) + both.q2);
    EXPECT_EQ(c.ZY, c.zh);
    EXPECT_EQ(c.hy, c.zh);
    EXPECT_EQ(c.xh1, c.xa);
    EXPECT_EQ(c.yh1, c.ya);
    EXPECT_EQ(c.YZ, 0);
    EXPECT_NE(c.yh, c.hz);
}

TEST(CurveElements, ExitTangentWrapsBelowNorth) {
    // 10 - 20 = -10 comes back as 350.
    EXPECT_EQ(curveFromTexts("1000", "0", "0", "10", "-20", "500", "0", "0").tb, 350);
}

TEST(CurveElements, ExitTangentWrapsPastNorth) {
    // 350 + 20 = 370 comes back as 10.
    EXPECT_EQ(curveFromTexts("1000", "0", "0", "350", "20", "500", "0", "0").tb, 10);
}

TEST(CurveElements, CentreAzimuthWrapsOnceEachWay) {
    // Right-hand, entry near north: 5 + (0 - 90) = -85 comes back as 275.
    EXPECT_EQ(curveFromTexts("1000", "0", "0", "5", "20", "500", "0", "0").tj, 275);
    // Left-hand, entry near north: 300 - (0 - 90) = 390 goes back to 30.
    EXPECT_EQ(curveFromTexts("1000", "0", "0", "300", "-20", "500", "0", "0").tj, 30);
}

TEST(CurveElements, CorrectionsComeInTheirOwnOrder) {
    // A deflection of a hair (1e-10 seconds) to the left of north: -2.8e-14 plus 360 rounds to
    // 360, and the test for 360 or more came first, so tb stays 360.
    EXPECT_EQ(curveFromTexts("1000", "0", "0", "0", "-0.00000000000001", "500", "0", "0").tb, 360);
    // T a hair below 90 on a right-hand curve: tj = -2.8e-14 + 360 rounds to 360, and here the
    // test for 360 or more comes second, so tj becomes 0.
    EXPECT_EQ(curveFromTexts("1000", "0", "0", "89.59599999999999", "20", "500", "0", "0").tj, 0);
}

TEST(CurveElements, DeflectionSignAndDmsConversion) {
    // A deflection typed -25.3000 is 25 degrees 30 minutes to the left.
    CurveElements c = curveFromTexts("1000", "0", "0", "0", "-25.3000", "500", "0", "0");
    EXPECT_EQ(c.p, -1);
    EXPECT_EQ(c.B, 25.5);
    EXPECT_EQ(c.halfB, 12.75);
}

}  // namespace
}  // namespace hcurve
