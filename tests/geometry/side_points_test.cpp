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

// The points of every side table from index 1, to the micrometre: "L x,y ... | R ... | LR ... | RR
// ...": left and right points on the axis, then left and right points as listed.
std::string pointsText(const SideTables& t) {
    const auto row = [](const char* name, const std::vector<double>& x,
                        const std::vector<double>& y) {
        std::string text = name;
        for (std::size_t j = 1; j < x.size(); ++j)
            text += " " + generalText(roundTo(x[j], 6)) + "," + generalText(roundTo(y[j], 6));
        return text;
    };
    return row("L", t.xlp, t.ylp) + " | " + row("R", t.xrp, t.yrp) + " | " +
           row("LR", t.leftRowX, t.leftRowY) + " | " + row("RR", t.rightRowX, t.rightRowY);
}

// A stake at (1000, 2000) whose axis points east (90): ahead is north (+X).
SideTables eastward(std::vector<float> dl, std::vector<float> dr, std::int16_t rows, float front,
                    float back) {
    const auto nl = static_cast<std::int16_t>(dl.size() - 1);
    const auto nr = static_cast<std::int16_t>(dr.size() - 1);
    SideTables t = makeSideTables(nl, nr);
    computeSidePoints(t, 1000, 2000, 90, {dl, dr, nl, nr, rows, front, back}, kDegreeFactor);
    return t;
}

// In a double row the front row is listed first, then the back row; every row mode but 1 is a
// double row. Negative distances and row offsets cross over; a single row lists the axis points
// and ignores the row offsets.
TEST(SidePoints, OnAnEastwardAxis) {
    EXPECT_EQ(pointsText(eastward({0, 5}, {0, 5}, 2, 2, 3)),
              "L 1000,1995 | R 1000,2005 | LR 1002,1995 997,1995 | RR 1002,2005 997,2005");
    EXPECT_EQ(pointsText(eastward({0, -4}, {0, -4}, 2, -2, -3)),
              "L 1000,2004 | R 1000,1996 | LR 998,2004 1003,2004 | RR 998,1996 1003,1996");
    EXPECT_EQ(pointsText(eastward({0}, {0, 5, 10}, 1, 0, 0)),
              "L | R 1000,2005 1000,2010 | LR | RR 1000,2005 1000,2010 0,0 0,0");
    EXPECT_EQ(pointsText(eastward({0, 5, 10}, {0, 7.5}, 1, 99, 99)),
              "L 1000,1995 1000,1990 | R 1000,2007.5 | LR 1000,1995 1000,1990 0,0 0,0 | RR "
              "1000,2007.5 0,0");
    for (std::int16_t mode : {0, 2, 3, -1}) {
        EXPECT_EQ(pointsText(eastward({0, 5, 10}, {0, 5}, mode, 2, 3)),
                  "L 1000,1995 1000,1990 | R 1000,2005 | LR 1002,1995 1002,1990 997,1995 "
                  "997,1990 | RR 1002,2005 997,2005")
            << mode;
    }
}

TEST(SidePoints, WorkedCheckOnTheArc) {
    CurveElements c = test::rightHandCurve();
    PpqSetting ppq = preparePpq(std::string("15.3"));
    auto stake = centreStake(c, 12300, ppq.ppq_deg);
    ASSERT_TRUE(stake);
    EXPECT_NEAR(stake->axisAzimuth_deg, 161.450961, 5e-7);

    std::vector<float> dl{0, 5, 10};
    std::vector<float> dr{0, 7.5};
    SideTables t = makeSideTables(2, 1);
    computeSidePoints(t, stake->x_m, stake->y_m, stake->axisAzimuth_deg,
                      {dl, dr, 2, 1, 2, 1.5f, 2.0f}, c.f);

    struct Expected {
        const std::vector<double>& xs;
        const std::vector<double>& ys;
        int index;
        const char* x;
        const char* y;
    };
    const Expected rows[] = {
        {t.xlp, t.ylp, 1, "3456755.1978", "512317.3220"},
        {t.xlp, t.ylp, 2, "3456759.9381", "512315.7314"},
        {t.xrp, t.yrp, 1, "3456743.3471", "512321.2984"},
        {t.leftRowX, t.leftRowY, 1, "3456755.6750", "512318.7440"},
        {t.leftRowX, t.leftRowY, 2, "3456760.4152", "512317.1535"},
        {t.leftRowX, t.leftRowY, 3, "3456754.5616", "512315.4259"},
        {t.leftRowX, t.leftRowY, 4, "3456759.3018", "512313.8353"},
        {t.rightRowX, t.rightRowY, 1, "3456743.8243", "512322.7205"},
        {t.rightRowX, t.rightRowY, 2, "3456742.7109", "512319.4023"},
    };
    for (const Expected& e : rows) {
        SCOPED_TRACE(std::string(e.x) + ", " + e.y);
        EXPECT_EQ(coordText(e.xs[e.index]), e.x);
        EXPECT_EQ(coordText(e.ys[e.index]), e.y);
    }
}

TEST(SidePoints, FloatDistancesAreUsedAsStored) {
    // 12.3 entered as a float is 12.300000190734863 (not 12.3); along north the whole of it shows.
    std::vector<float> dl{0, 12.3f};
    std::vector<float> dr{0, 12.3f};
    SideTables t = makeSideTables(1, 1);
    computeSidePoints(t, 0, 0, 0, {dl, dr, 1, 1, 1, 0, 0}, kDegreeFactor);
    EXPECT_EQ(t.xrp[1], 12.300000190734863);
    EXPECT_EQ(t.xlp[1], -12.300000190734863);
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
