#include "geometry/side_points.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "curve/angle.h"
#include "curve/format.h"
#include "example_curves.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

std::string coordText(double v) {
    return format(roundTo(v, 4), Pattern::Fixed4);
}

// The points to the micrometre, in the formula's order: "x,y x,y ...".
std::string pointsText(const std::vector<PlanePoint>& points) {
    std::string text;
    for (const PlanePoint& p : points)
        text += (text.empty() ? "" : " ") + generalText(roundTo(p.x_m, 6)) + "," +
                generalText(roundTo(p.y_m, 6));
    return text;
}

SideSetup setupOf(std::vector<float> dl, std::vector<float> dr, std::int16_t rows, float front,
                  float back) {
    const auto nl = static_cast<std::int16_t>(dl.size() - 1);
    const auto nr = static_cast<std::int16_t>(dr.size() - 1);
    return {dl, dr, nl, nr, rows, front, back};
}

// A stake at (1000, 2000) whose axis points east (90): ahead is north (+X).
std::string eastward(std::vector<float> dl, std::vector<float> dr, std::int16_t rows, float front,
                     float back) {
    std::vector<PlanePoint> points;
    sidePointsOnAxis(1000, 2000, 90, sideRequestOf(setupOf(dl, dr, rows, front, back)), points);
    return pointsText(points);
}

// Per row the left points, then the right ones; in a double row the front row first, then the
// back row; every row mode but 1 is a double row. Negative distances and row offsets cross over;
// a single row ignores the row offsets.
TEST(SidePoints, OnAnEastwardAxis) {
    EXPECT_EQ(eastward({0, 5}, {0, 5}, 2, 2, 3), "1002,1995 1002,2005 997,1995 997,2005");
    EXPECT_EQ(eastward({0, -4}, {0, -4}, 2, -2, -3), "998,2004 998,1996 1003,2004 1003,1996");
    EXPECT_EQ(eastward({0}, {0, 5, 10}, 1, 0, 0), "1000,2005 1000,2010");
    EXPECT_EQ(eastward({0, 5, 10}, {0, 7.5}, 1, 99, 99), "1000,1995 1000,1990 1000,2007.5");
    for (std::int16_t mode : {0, 2, 3, -1}) {
        EXPECT_EQ(eastward({0, 5, 10}, {0, 5}, mode, 2, 3),
                  "1002,1995 1002,1990 1002,2005 997,1995 997,1990 997,2005")
            << mode;
    }
}

TEST(SidePoints, WorkedCheckOnTheArc) {
    CurveElements c = test::rightHandCurve();
    PpqSetting ppq = preparePpq(std::string("15.3"));
    auto stake = centreStake(c, 12300, ppq.ppq_deg);
    ASSERT_TRUE(stake);
    EXPECT_NEAR(stake->axisAzimuth_deg, 161.450961, 5e-7);

    struct Case {
        std::int16_t rows;
        std::vector<const char*> xy;  // x, y of each point in the formula's order
    };
    const Case cases[] = {
        {1,
         {"3456755.1978", "512317.3220", "3456759.9381", "512315.7314", "3456743.3471",
          "512321.2984"}},
        {2,
         {"3456755.6750", "512318.7440", "3456760.4152", "512317.1535", "3456743.8243",
          "512322.7205", "3456754.5616", "512315.4259", "3456759.3018", "512313.8353",
          "3456742.7109", "512319.4023"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.rows);
        std::vector<PlanePoint> points;
        sidePointsOnAxis(stake->x_m, stake->y_m, stake->axisAzimuth_deg,
                         sideRequestOf(setupOf({0, 5, 10}, {0, 7.5}, k.rows, 1.5f, 2.0f)), points);
        ASSERT_EQ(2 * points.size(), k.xy.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(coordText(points[i].x_m), k.xy[2 * i]) << i;
            EXPECT_EQ(coordText(points[i].y_m), k.xy[2 * i + 1]) << i;
        }
    }
}

TEST(SidePoints, FloatDistancesAreUsedAsStored) {
    // 12.3 entered as a float is 12.300000190734863 (not 12.3); along north the whole of it shows.
    std::vector<PlanePoint> points;
    sidePointsOnAxis(0, 0, 0, sideRequestOf(setupOf({0, 12.3f}, {0, 12.3f}, 1, 0, 0)), points);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].x_m, -12.300000190734863);
    EXPECT_EQ(points[1].x_m, 12.300000190734863);
}

// PPQ as shown and in signed decimal degrees: not asked, zero or not a number is perpendicular;
// a number shows as typed (an exponent written out) and is converted with its sign.
TEST(Ppq, ShownAndConverted) {
    struct Case {
        std::optional<std::string> typed;
        const char* shown;
        double ppq_deg;
    };
    const Case cases[] = {
        {std::nullopt, "与中线正交", 0}, {"0", "与中线正交", 0},
        {"0.0000", "与中线正交", 0},     {"-0", "与中线正交", 0},
        {"abc", "与中线正交", 0},        {"-15.153", " -15.153", -(15 + 15.0 / 60 + 30.0 / 3600)},
        {"30.3", " 30.3", 30.5},         {"1.15", " 1.15", 1.25},
        {"0.29", " 0.29", 0.29 / 0.6},   {"15.3", " 15.3", 15.5},
        {"1.53e1", " 15.3", 15.5},       {"-2E-5", " -0.00002", -0.2 / 3600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.value_or("(not asked)"));
        const PpqSetting s = preparePpq(c.typed);
        EXPECT_EQ(s.shown, c.shown);
        EXPECT_NEAR(s.ppq_deg, c.ppq_deg, 1e-12);
    }
}

}  // namespace
}  // namespace hcurve
