#include "geometry/side_points.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "curve/dms.h"
#include "curve/format.h"
#include "example_curves.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

std::string coordText(double v) {
    return format(roundTo(v, 4), Pattern::Fixed4);
}

TEST(SidePoints, NoLeftPoints) {
    SideTables t = makeSideTables(0, 2);
    std::vector<float> dl{0};
    std::vector<float> dr{0, 5, 10};
    computeSidePoints(t, 1000, 2000, 0, {dl, dr, 0, 2, 1, 0, 0}, kDegreeFactor);
    EXPECT_EQ(t.xrp[1], 1005);
    EXPECT_EQ(t.xrp[2], 1010);
    EXPECT_EQ(t.rightRowX[2], 1010);
}

TEST(SidePoints, WorkedCheckOnATangent) {
    std::vector<float> dl{0, 5};
    std::vector<float> dr{0, 5};
    SideTables t = makeSideTables(1, 1);
    computeSidePoints(t, 1000, 2000, 90, {dl, dr, 1, 1, 2, 2, 3}, kDegreeFactor);
    EXPECT_NEAR(t.xlp[1], 1000, 1e-9);
    EXPECT_NEAR(t.ylp[1], 1995, 1e-9);
    EXPECT_NEAR(t.xrp[1], 1000, 1e-9);
    EXPECT_NEAR(t.yrp[1], 2005, 1e-9);
    EXPECT_NEAR(t.leftRowX[1], 1002, 1e-9);
    EXPECT_NEAR(t.leftRowY[1], 1995, 1e-9);
    EXPECT_NEAR(t.rightRowX[1], 1002, 1e-9);
    EXPECT_NEAR(t.rightRowY[1], 2005, 1e-9);
    EXPECT_NEAR(t.leftRowX[2], 997, 1e-9);
    EXPECT_NEAR(t.leftRowY[2], 1995, 1e-9);
    EXPECT_NEAR(t.rightRowX[2], 997, 1e-9);
    EXPECT_NEAR(t.rightRowY[2], 2005, 1e-9);
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

TEST(SidePoints, SingleRowCopiesTheAxisPointsAndLeavesTheRest) {
    std::vector<float> dl{0, 5, 10};
    std::vector<float> dr{0, 7.5};
    SideTables t = makeSideTables(2, 1);
    t.leftRowX[3] = t.leftRowX[4] = 123;  // not written in a single row
    computeSidePoints(t, 1000, 2000, 30, {dl, dr, 2, 1, 1, 99, 99}, kDegreeFactor);
    EXPECT_EQ(t.leftRowX[1], t.xlp[1]);
    EXPECT_EQ(t.leftRowY[2], t.ylp[2]);
    EXPECT_EQ(t.rightRowX[1], t.xrp[1]);
    EXPECT_EQ(t.rightRowY[1], t.yrp[1]);
    EXPECT_EQ(t.leftRowX[3], 123);
    EXPECT_EQ(t.leftRowX[4], 123);
    EXPECT_EQ(t.rightRowX[2], 0);
}

TEST(SidePoints, EveryRowModeButOneIsADoubleRow) {
    std::vector<float> dl{0, 5, 10, 15};
    std::vector<float> dr{0, 5};
    for (std::int16_t mode : {0, 2, 3, -1}) {
        SCOPED_TRACE(mode);
        SideTables t = makeSideTables(3, 1);
        // Axis east (90): ahead is north (+X), behind is south.
        computeSidePoints(t, 1000, 2000, 90, {dl, dr, 3, 1, mode, 2, 3}, kDegreeFactor);
        for (int j = 1; j <= 3; ++j) {
            EXPECT_NEAR(t.leftRowX[j], 1000 + 2, 1e-9);      // front row, 1..3
            EXPECT_NEAR(t.leftRowX[j + 3], 1000 - 3, 1e-9);  // back row, 4..6
            EXPECT_NEAR(t.leftRowY[j], 2000 - dl[j], 1e-9);  // in the order of dl
            EXPECT_NEAR(t.leftRowY[j + 3], 2000 - dl[j], 1e-9);
        }
        EXPECT_NEAR(t.rightRowX[2], 1000 - 3, 1e-9);
    }
}

TEST(SidePoints, NegativeDistancesCrossOver) {
    std::vector<float> dl{0, -4};
    std::vector<float> dr{0, -4};
    SideTables t = makeSideTables(1, 1);
    computeSidePoints(t, 1000, 2000, 90, {dl, dr, 1, 1, 2, -2, -3}, kDegreeFactor);
    EXPECT_NEAR(t.ylp[1], 2004, 1e-9);
    EXPECT_NEAR(t.yrp[1], 1996, 1e-9);
    EXPECT_NEAR(t.leftRowX[1], 998, 1e-9);   // front row moved back
    EXPECT_NEAR(t.leftRowX[2], 1003, 1e-9);  // back row moved forward
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
