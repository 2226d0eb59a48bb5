// The grade line, its vertical curves and the cross-fall: the design elevations against worked
// examples, continuity at the ends of the curves, and every fault with its line.
#include <gtest/gtest.h>

#include <cmath>

#include "alignment/cross_fall.h"
#include "alignment/grade_line.h"
#include "alignment/route.h"
#include "route_files/route_file.h"
#include "route_files/route_tables.h"
#include "route_files/vertical_table.h"

namespace hcurve {
namespace {

// BP at K4+000 heading north, 2 km of straight to the curve of JD1 (R 1000, turning right 90
// degrees, so T = 1000), then east to EP.
const std::string kPoints =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K4+000\nJD1,3000,0,1000,,,\nEP,3000,3000,,,,\n";

// The textbook case: PVI K5+030.00, H 427.68, i1 = +5 %, i2 = -4 %, R = 2000, with the start
// 230 m before it (427.68 - 0.05 * 230) and the end 270 m after it (427.68 - 0.04 * 270).
const std::string kTextbook =
    "\n变坡点桩号,高程,竖曲线半径\nK4+800,416.18,\nK5+030,427.68,2000\n"
    "K5+300,416.88,\n";

// A concave case: a sag at 5000 m, H 100, from -3 % to +2 % on R = 4000, and a convex crest at
// 5600 m, H 112, on to -1 % with R = 10000.
const std::string kSagAndCrest =
    "\n变坡点里程,高程,竖曲线半径\n4500,115,\n5000,100,4000\n"
    "5600,112,10000\n6000,108,\n";

std::vector<Failure> faultsOf(const std::string& text) {
    const Result<RouteDesign> reading = readRouteFile(text);
    if (!reading)
        return reading.failures();
    const Result<BuiltRoute> building = buildRoute(*reading);
    return building ? std::vector<Failure>{} : building.failures();
}

Route routeOf(const std::string& text) {
    const Result<RouteDesign> reading = readRouteFile(text);
    EXPECT_TRUE(reading) << faultText(reading.failures().at(0));
    Result<BuiltRoute> building = buildRoute(*reading);
    EXPECT_TRUE(building) << faultText(building.failures().at(0));
    return building->route;
}

TEST(GradeLine, TheTextbookConvexCurve) {
    const Route route = routeOf(kPoints + kTextbook);
    const GradeLine& g = *route.gradeLine;
    EXPECT_EQ(verticalTableCsv(route),
              "变坡点,桩号,里程,高程,坡度1,坡度2,坡差,凹凸,R,T,E,L,竖曲线起点里程,竖曲线终点里程\n"
              "起点,K4+800.000,4800.0000,416.1800,,5.0000,,,,,,,,\n"
              "变坡点1,K5+030.000,5030.0000,427.6800,5.0000,-4.0000,-9.0000,凸,2000.0000,90.0000,"
              "2.0250,180.0000,4940.0000,5120.0000\n"
              "终点,K5+300.000,5300.0000,416.8800,-4.0000,,,,,,,,,\n");
    // The textbook's figures: L = 2000 * 0.09, T = L / 2, E = T^2 / (2R).
    EXPECT_NEAR(g.points[1].L_m, 180, 1e-9);
    EXPECT_NEAR(g.points[1].E_m, 90.0 * 90 / 4000, 1e-9);
    EXPECT_NEAR(*designElevation_m(g, 5010), 425.455, 1e-9);
    EXPECT_NEAR(*designElevation_m(g, 5080), 425.280, 1e-9);
    EXPECT_NEAR(*designElevation_m(g, 5030), 427.68 - 2.025, 1e-9);
    EXPECT_FALSE(designElevation_m(g, 4799));
    EXPECT_FALSE(designElevation_m(g, 5301));
}

TEST(GradeLine, ConcaveAndConvexAgainstTheParabolaFromTheCurveStart) {
    const Route route = routeOf(kPoints + kSagAndCrest);
    const GradeLine& g = *route.gradeLine;
    struct Curve {
        double start_m, H0_m, i1, R_m, sign, L_m;
    };
    // Worked here: the sag from -3 % to +2 %, ω = +5 %, L = 4000 * 0.05 = 200, T = 100, its
    // start at 4900 with H 100 + 0.03 * 100; the crest from +2 % to -1 %, ω = -3 %,
    // L = 10000 * 0.03 = 300, T = 150, its start at 5450 with H 112 - 0.02 * 150.
    const Curve curves[] = {{4900, 103, -0.03, 4000, 1, 200}, {5450, 109, 0.02, 10000, -1, 300}};
    EXPECT_NEAR(g.points[1].E_m, 100.0 * 100 / 8000, 1e-9);
    EXPECT_NEAR(g.points[2].E_m, 150.0 * 150 / 20000, 1e-9);
    EXPECT_EQ(verticalTableRows(route)[2][7], "凹");
    EXPECT_EQ(verticalTableRows(route)[3][7], "凸");
    for (const Curve& c : curves) {
        for (double x = 0; x <= c.L_m; x += 12.5) {
            // One parabola over the whole curve from its start: H0 + i1 x ± x^2 / (2R).
            const double H = c.H0_m + c.i1 * x + c.sign * x * x / (2 * c.R_m);
            const double slope = c.i1 + c.sign * x / c.R_m;
            EXPECT_NEAR(*designElevation_m(g, c.start_m + x), H, 1e-9) << c.start_m + x;
            EXPECT_NEAR(*designSlope(g, c.start_m + x), slope, 1e-12) << c.start_m + x;
        }
    }
}

TEST(GradeLine, ElevationAndSlopeContinuousAtEveryCurveEnd) {
    for (const std::string& grade : {kTextbook, kSagAndCrest}) {
        const Route route = routeOf(kPoints + grade);
        const GradeLine& g = *route.gradeLine;
        for (std::size_t k = 1; k + 1 < g.points.size(); ++k) {
            const GradePoint& p = g.points[k];
            for (double end : {p.curveStart_m(), p.curveEnd_m()}) {
                SCOPED_TRACE(end);
                const double grade = end < p.at_m ? p.gradeIn : p.gradeOut;
                const double straight = p.H_m + grade * (end - p.at_m);
                constexpr double d = 1e-6;
                EXPECT_NEAR(*designElevation_m(g, end), straight, 1e-9);
                // No step: across 2d the line rises by 2d times its grade.
                EXPECT_NEAR(*designElevation_m(g, end + d) - *designElevation_m(g, end - d),
                            2 * d * grade, 1e-10);
                EXPECT_NEAR(*designSlope(g, end - d), *designSlope(g, end + d), 1e-8);
                EXPECT_NEAR(*designSlope(g, end), grade, 1e-12);
            }
        }
    }
}

// A grade table's rounding: 2 % to -2 % to 2 % on R 4000.025 gives T = 80.0005 on either side of
// PVIs 160 m apart, an overlap of 1 mm. The curves are made to meet: T = 80, R = 160 / 0.04.
TEST(GradeLine, CurvesOverlappingByAMillimetreMeet) {
    const Result<RouteDesign> reading = readRouteFile(kPoints +
                                                      "\n变坡点桩号,高程,竖曲线半径\nK4+500,100,\n"
                                                      "K4+700,104,4000.025\nK4+860,100.8,4000.025\n"
                                                      "K5+500,113.6,\n");
    ASSERT_TRUE(reading);
    Result<BuiltRoute> building = buildRoute(*reading);
    ASSERT_TRUE(building && building->route.gradeLine) << faultText(building.failures().at(0));
    ASSERT_EQ(building.warnings().size(), 1u);
    EXPECT_EQ(faultText(building.warnings()[0]),
              "第 9 行：变坡点1 与 变坡点2 的竖曲线重叠 1.000 毫米，按相接计算：两条竖曲线在相接的"
              "一侧各缩短 0.500 毫米。");
    const GradeLine& g = *building->route.gradeLine;
    for (std::size_t k : {1, 2}) {
        EXPECT_NEAR(g.points[k].T_m, 80, 1e-9);
        EXPECT_NEAR(g.points[k].R_m, 4000, 1e-6);
    }
    EXPECT_NEAR(*designSlope(g, 4780), -0.02, 1e-12);
}

TEST(CrossFall, RunsOutLinearlyAndHoldsBeyondItsRows) {
    const Route route = routeOf(kPoints + kTextbook +
                                "\n桩号,左横坡,右横坡\nK4+900,-2,-2\nK5+000,4,-4\nK5+000,3,-3\n");
    const CrossFall& c = *route.crossFall;
    struct Case {
        double at_m, left_pct, right_pct;
    };
    // Run-out over 100 m: from -2/-2 to +4/-4, so 6 % and 2 % per 100 m; at a row given twice
    // the later one holds.
    const Case cases[] = {{4000, -2, -2}, {4900, -2, -2}, {4925, -2 + 6 * 0.25, -2 - 2 * 0.25},
                          {4950, 1, -3},  {5000, 3, -3},  {5200, 3, -3}};
    for (const Case& k : cases) {
        const CrossSlopes s = crossSlopesAt(c, k.at_m);
        EXPECT_NEAR(s.left_pct, k.left_pct, 1e-12) << k.at_m;
        EXPECT_NEAR(s.right_pct, k.right_pct, 1e-12) << k.at_m;
    }
}

TEST(CrossFall, ASkewedSidePointTakesTheElevationAtItsOwnFoot) {
    const Route route =
        routeOf(kPoints + kTextbook + "\n桩号,左横坡,右横坡\nK4+900,-2,-2\nK5+000,4,-4\n");
    StakeRequest request;
    request.interval_m = 50;
    request.from_m = 4950;
    request.to_m = 4950;
    request.right_m = {10};
    request.skew_deg = 30;
    const StakeTable table = *stakeTable(route, request);
    ASSERT_EQ(table.rows.size(), 1u);
    // Heading north, the axis turned 30 degrees clockwise from east: the point lies 10 sin 30
    // back along the road and 10 cos 30 to the right of it.
    const double thirty = std::acos(-1.0) / 6;  // 30 degrees, without the POSIX-only M_PI
    const double foot = 4950 - 10 * std::sin(thirty);
    const double offset = 10 * std::cos(thirty);
    const double right_pct = -2 - 2 * (foot - 4900) / 100;
    // On the textbook curve from K4+940: H = 416.18 + 0.05 (s - 4800) - (s - 4940)^2 / 4000.
    const auto centre = [](double s) {
        return 416.18 + 0.05 * (s - 4800) - (s - 4940) * (s - 4940) / 4000;
    };
    EXPECT_NEAR(*table.rows[0].H_m, centre(4950), 1e-9);
    EXPECT_NEAR(table.sideH_m[0], centre(foot) + offset * right_pct / 100, 1e-6);
}

TEST(GradeLine, EveryFaultIsAnsweredWithItsLine) {
    const std::string grade = "\n变坡点桩号,高程,竖曲线半径\n";  // its header on line 6
    const std::string cross = "\n桩号,左横坡,右横坡\n";
    const std::string longChain =
        "\n断链前桩号,断链后桩号\nK5+000,K4+980\n";  // K4+980..K5+000 stand twice
    struct Case {
        const char* what;
        std::string tail;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"one row", grade + "K4+800,416,\n", 7,
         "纵断面表至少要有两行（起点和终点），现在只有 1 行。"},
        {"not increasing", grade + "K4+800,416,\nK4+900,420,1000\nK4+850,418,\n", 9,
         "变坡点桩号 K4+850 不在上一行之后：纵断面表要按里程顺序排列。"},
        {"negative radius", grade + "K4+800,416,\nK4+900,420,-1000\nK5+000,418,\n", 8,
         "竖曲线半径不能为负数（不设竖曲线填 0 或留空）。"},
        {"height not a number", grade + "K4+800,416,\nK5+000,4l8,\n", 8,
         "高程 必须是数值，“4l8” 不是有效的数值。"},
        {"bad chainage", grade + "K4+800,416,\nK5+1000,418,\n", 8,
         "变坡点桩号 必须是米数或 K 桩号（如 12000 或 K12+000），“K5+1000” 不对。"},
        {"radius on the start", grade + "K4+800,416,500\nK5+000,418,\n", 7,
         "纵断面的起点和终点不设竖曲线：这一行的竖曲线半径要留空或填 0。"},
        // 5 % to -5 % on R 2000: T = 100 each, 150 m apart.
        {"curves overlap", grade + "K4+700,400,\nK4+900,410,2000\nK5+050,402.5,2000\nK5+300,415,\n",
         9,
         "变坡点1 与 变坡点2 的竖曲线重叠 50.000 米（T = 100.000，T = 100.000，变坡点间距 "
         "150.000）。"},
        {"curve before the start", grade + "K4+850,407.5,\nK4+900,410,2000\nK5+300,390,\n", 8,
         "变坡点1 的竖曲线起点超出了纵断面的起点：T = 100.000 米，而起点至 变坡点1 只有 50.000 "
         "米。"},
        {"curve past the end", grade + "K4+500,395,\nK4+900,410,4000\nK5+000,405,\n", 9,
         "变坡点1 的竖曲线终点超出了纵断面的终点：T = 175.000 米，而 变坡点1 至终点只有 100.000 "
         "米。"},
        {"a text that stands twice", longChain + grade + "K4+800,416,\nK4+990,420,\n", 11,
         "桩号 K4+990.000 在路线上出现两次（断链），这里要写它的里程（4990.000 或 5010.000）。"},
        {"cross-fall out of order", cross + "K5+000,-2,-2\nK4+900,-2,-2\n", 8,
         "桩号 K4+900 在上一行之前：横坡表要按里程顺序排列。"},
        {"slope not a number", cross + "K5+000,-2,二\n", 7,
         "右横坡 必须是百分数（如 -2 或 4），“二” 不对。"},
        {"a second grade line", grade + "0,1,\n9000,2,\n" + grade + "0,1,\n9000,2,\n", 10,
         "纵断面表只能有一个，这里又有一个。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Failure> faults = faultsOf(kPoints + c.tail);
        ASSERT_EQ(faults.size(), 1u) << faultText(faults.at(1));
        EXPECT_EQ(faults[0].line, c.line);
        EXPECT_EQ(faults[0].message, c.message);
    }
    // Under 变坡点里程 the same text is a continuous chainage, and may stand anywhere.
    EXPECT_TRUE(
        faultsOf(kPoints + longChain + "\n变坡点里程,高程,竖曲线半径\nK4+800,416,\n4990,420,\n")
            .empty());
}

}  // namespace
}  // namespace hcurve
