// Routes of elements read from their file: positions against a quadrature of the tangent angle,
// their joints, the stake -> locate round trip, and every fault of the file with its line.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alignment/route.h"
#include "curve/angle.h"
#include "quadrature.h"
#include "route_files/route_file.h"
#include "route_files/route_tables.h"

namespace hcurve {
namespace {

using test::gauss;

double angleBetween_deg(double a, double b) {
    return std::fabs(std::remainder(a - b, kFullTurn_rad / kDegreeFactor));
}

// One element as the file writes it, and the signed curvatures the test reads from its own numbers.
struct Row {
    double length_m;
    std::string R0, R1, turn, name;
    double k0, k1;
};

Row straight(double L, std::string name = "") {
    return {L, "", "", "", std::move(name), 0, 0};
}
// R of 0: a straight's end. turn +1 right, -1 left.
Row curve(double L, double R0, double R1, int turn, std::string name = "") {
    const auto text = [](double R) { return R == 0 ? std::string("inf") : std::to_string(R); };
    return {L,
            text(R0),
            text(R1),
            turn > 0 ? "右" : "L",
            std::move(name),
            R0 == 0 ? 0 : turn / R0,
            R1 == 0 ? 0 : turn / R1};
}

const char kStart[] = "起点桩号,X,Y,方位角\nK2+100,3456000.000,512000.000,45.3015\n\n";

std::string fileOf(const std::vector<Row>& rows) {
    std::string text = std::string(kStart) + "长度,起点半径,终点半径,转向,名称\n";
    for (const Row& r : rows)
        text += std::to_string(r.length_m) + "," + r.R0 + "," + r.R1 + "," + r.turn + "," + r.name +
                "\n";
    return text;
}

Route routeOf(const std::string& text) {
    const Result<RouteDesign> reading = readRouteFile(text);
    EXPECT_TRUE(reading) << reading.failure().message;
    Result<BuiltRoute> building = buildRoute(*reading);
    EXPECT_TRUE(building) << building.failure().message;
    return std::move(building->route);
}

struct Case {
    const char* what;
    std::vector<Row> rows;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> list = {
        {"egg curve R 800 -> 400 between two arcs",
         {straight(100, "ZD"), curve(80, 0, 800, 1, "ZH"), curve(100, 800, 800, 1, "HY"),
          curve(60, 800, 400, 1, "YY"), curve(80, 400, 400, 1), curve(70, 400, 0, 1),
          straight(50)}},
        {"two spirals back to back, the turn reversing",
         {curve(60, 300, 300, 1), curve(90, 300, 0, 1), curve(90, 0, 250, -1),
          curve(40, 250, 250, -1), curve(70, 250, 0, -1)}},
        {"a ramp ending on a spiral at R 60",
         {straight(100), curve(80, 0, 150, -1), curve(60, 150, 150, -1),
          curve(90, 150, 60, -1, "END")}},
        {"incomplete spirals R 300 -> 1000 right, 1000 -> 300 left",
         {straight(50), curve(200, 300, 1000, 1), curve(200, 1000, 300, -1), straight(30)}},
        {"incomplete spirals R 1000 -> 300 right, 300 -> 1000 left",
         {straight(50), curve(200, 1000, 300, 1), curve(300, 300, 1000, -1), straight(30)}},
    };
    return list;
}

TEST(ElementRoute, StakesAgreeWithAQuadratureOfTheTangentAngle) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        const Route route = routeOf(fileOf(c.rows));
        ASSERT_EQ(route.alignment.elements.size(), c.rows.size());
        double x = 3456000, y = 512000, theta = dmsToDegrees(45.3015) * kDegreeFactor;
        double at = 2100;
        for (const Row& r : c.rows) {
            const double rate = (r.k1 - r.k0) / r.length_m;
            const auto angle = [&](double t) { return theta + r.k0 * t + rate * t * t / 2; };
            for (int i = 0; i <= 3; ++i) {
                const double s = r.length_m * i / 3;
                const double wx = x + gauss([&](double t) { return std::cos(angle(t)); }, s);
                const double wy = y + gauss([&](double t) { return std::sin(angle(t)); }, s);
                const RouteStake stake = stakeAt(route, at + s);
                EXPECT_NEAR(stake.x_m, wx, 1e-8) << at + s;
                EXPECT_NEAR(stake.y_m, wy, 1e-8) << at + s;
                EXPECT_LT(angleBetween_deg(stake.tangent_deg, angle(s) / kDegreeFactor), 1e-9);
            }
            x += gauss([&](double t) { return std::cos(angle(t)); }, r.length_m);
            y += gauss([&](double t) { return std::sin(angle(t)); }, r.length_m);
            theta = angle(r.length_m);
            at += r.length_m;
        }
        EXPECT_NEAR(route.end_m, at, 1e-9);
    }
}

TEST(ElementRoute, JointsAreContinuousAndStakesLocateBackToThemselves) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        const Route route = routeOf(fileOf(c.rows));
        const std::vector<Element>& e = route.alignment.elements;
        for (std::size_t i = 1; i < e.size(); ++i) {
            const AlignmentPoint before = e[i - 1].at(e[i].start_m());
            const AlignmentPoint after = e[i].at(e[i].start_m());
            EXPECT_LT(std::hypot(before.x_m - after.x_m, before.y_m - after.y_m), 1e-6) << i;
            EXPECT_LT(angleBetween_deg(before.azimuth_deg, after.azimuth_deg), 1e-6) << i;
        }
        for (int i = 0; i <= 50; ++i) {
            const double s = route.start_m + (route.end_m - route.start_m) * i / 50;
            const RouteStake stake = stakeAt(route, s);
            for (double offset : {-7.5, 0.0, 12.0}) {
                const double normal = (stake.tangent_deg + 90) * kDegreeFactor;
                const std::optional<RouteFoot> foot =
                    locate(route, stake.x_m + offset * std::cos(normal),
                           stake.y_m + offset * std::sin(normal));
                ASSERT_TRUE(foot);
                EXPECT_NEAR(foot->continuous_m, s, 1e-6) << s << " " << offset;
                EXPECT_NEAR(foot->offset_m, offset, 1e-6) << s << " " << offset;
            }
        }
    }
}

TEST(ElementRoute, NamesRadiiAndStatedStartsAsTheFileGivesThem) {
    // Radii as field calculators write a straight's, turns as letters, a stated start 5 cm off
    // and one within a millimetre, and the stakes named by the 名称 column.
    const std::string text = std::string(kStart) +
                             "长度,起点半径,终点半径,转向,名称,起点X,起点Y\n"
                             "100,∞,1E45,,ZD,,\n"
                             "80,,500,R,ZH,3456070.1357,512071.3301\n"
                             "50,500,500,r,HY,,\n"
                             "40,500,INF,右,YH,,\n";
    const Result<RouteDesign> reading = readRouteFile(text);
    ASSERT_TRUE(reading);
    Result<BuiltRoute> building = buildRoute(*reading);
    ASSERT_TRUE(building);
    ASSERT_EQ(building.warnings().size(), 1u);
    EXPECT_EQ(faultText(building.warnings()[0]),
              "第 6 行：线元的起点（起点X、起点Y）离上一线元的终点 0.0500 米，从所给的起点算起。");
    const Route& route = building->route;
    EXPECT_NEAR(stakeAt(route, 2200).x_m, 3456070.1357, 1e-9);
    const TableRows rows = segmentTableRows(route);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1][0] + "," + rows[1][5] + "," + rows[1][7], "直线,,");
    EXPECT_EQ(rows[2][0] + "," + rows[2][5] + "," + rows[2][6] + "," + rows[2][7],
              "缓和曲线,,500.0000,右");
    EXPECT_EQ(rows[4][1] + "," + rows[4][5] + "," + rows[4][6], "YH,500.0000,");
    EXPECT_EQ(rows[1][10], "45.301500");
    StakeRequest request;
    request.interval_m = 1000;
    const StakeTable stakes = *stakeTable(route, request);
    std::string names;
    for (const StakeRow& r : stakes.rows)
        names += r.point + "@" + r.text + " ";
    // The arc between HY and YH has its middle named too, as a JD route's has.
    EXPECT_EQ(names,
              "ZD@K2+100.000 ZH@K2+200.000 HY@K2+280.000 QZ@K2+305.000 YH@K2+330.000 "
              "EP@K2+370.000 ");

    // A start within a millimetre of the previous end is no warning.
    const AlignmentPoint end = route.alignment.elements[0].at(2200);
    char near[200];
    std::snprintf(near, sizeof near,
                  "%s长度,起点半径,终点半径,转向,起点X,起点Y\n100,,,,,\n50,,,,%.6f,%.6f\n", kStart,
                  end.x_m - 0.0005, end.y_m);
    const Result<RouteDesign> nearReading = readRouteFile(near);
    ASSERT_TRUE(nearReading);
    EXPECT_TRUE(buildRoute(*nearReading).warnings().empty());
}

// Where the file names no point, the stake table names BP and the points where a straight, a
// spiral and an arc meet, as a JD route's; the joints of two spirals, of two arcs and of an egg
// curve's spiral have no such name. A name the file gives stays.
TEST(ElementRoute, UnnamedPointsAreNamedAsAJdRoutesAre) {
    const struct {
        std::vector<Row> rows;
        const char* names;
    } cases[] = {
        {{straight(100), curve(80, 0, 500, 1), curve(50, 500, 500, 1), curve(40, 500, 0, 1),
          straight(30)},
         "BP ZH HY QZ YH HZ EP"},
        {{straight(100), curve(50, 500, 500, -1), straight(30)}, "BP ZY QZ YZ EP"},
        {{curve(60, 0, 300, 1, "A0"), curve(60, 300, 300, 1), curve(60, 300, 800, 1),
          curve(60, 800, 800, 1), curve(60, 800, 0, 1), curve(60, 0, 250, -1)},
         "A0 HY . . YH . EP"},
        {{straight(100, "QD"), curve(80, 0, 500, 1, "ZH1"), curve(50, 500, 500, 1)},
         "QD ZH1 HY EP"},
    };
    for (const auto& c : cases) {
        StakeRequest request;
        request.interval_m = 1e6;
        std::string names;
        const StakeTable table = *stakeTable(routeOf(fileOf(c.rows)), request);
        for (const StakeRow& r : table.rows)
            names += (names.empty() ? "" : " ") + (r.point.empty() ? "." : r.point);
        EXPECT_EQ(names, c.names);
    }
}

TEST(ElementRoute, EveryFaultIsAnsweredWithItsLine) {
    const std::string head = std::string(kStart) + "长度,起点半径,终点半径,转向\n";  // rows at 5
    const std::string jd =
        "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\nJD1,1000,0,300,,,\nEP,1000,1000,,,,\n";
    struct Fault {
        const char* what;
        std::string text;
        int line;
        std::string message;
    };
    const Fault faults[] = {
        {"length 0", head + "100,,,\n0,,,\n", 6, "线元的长度必须大于零，“0” 不对。"},
        {"length missing", head + ",300,300,右\n", 5, "线元的长度不能为空。"},
        {"length no number", head + "1OO,,,\n", 5, "长度 必须是数值，“1OO” 不是有效的数值。"},
        {"radius 0", head + "100,0,300,右\n", 5,
         "起点半径 必须是大于零的数值（直线留空，或填 ∞、inf），“0” 不对。"},
        {"radius negative", head + "100,300,-300,右\n", 5,
         "终点半径 必须是大于零的数值（直线留空，或填 ∞、inf），“-300” 不对。"},
        {"turn missing", head + "100,,,\n100,,300,\n", 6,
         "这个线元有半径，要给出转向（左 或 右）。"},
        {"turn wrong", head + "100,300,300,上\n", 5,
         "转向 只能是 左 或 右（也可写 L 或 R），“上” 不对。"},
        {"turn column missing", std::string(kStart) + "长度,起点半径,终点半径\n100,,\n", 4,
         "线元表的表头缺少 转向 列。"},
        {"no elements", head, 4, "线元表里没有线元。"},
        {"start table missing", "长度,起点半径,终点半径,转向\n100,,,\n", 1,
         "线元表缺少起点表（表头 起点桩号,X,Y,方位角，一行）。"},
        {"element table missing", "起点桩号,X,Y,方位角\n0,0,0,0\n", 1,
         "起点表之后缺少线元表（表头 长度,起点半径,终点半径,转向）。"},
        {"start twice", head + "100,,,\n\n起点桩号,X,Y,方位角\n0,0,0,0\n", 7,
         "起点表只能有一个，这里又有一个。"},
        {"start of two rows",
         "起点桩号,X,Y,方位角\n0,0,0,0\n100,0,0,0\n\n长度,起点半径,终点半径,转向\n100,,,\n", 3,
         "起点表只能有一行（起点的桩号、座标和方位角），现在有 2 行。"},
        {"azimuth no DMS",
         "起点桩号,X,Y,方位角\n0,0,0,45.7000\n\n长度,起点半径,终点半径,转向\n100,,,\n", 2,
         "方位角 要按 度.分秒 输入（0 至 360 度，如 45.3015），“45.7000” 不对。"},
        {"start chainage",
         "起点桩号,X,Y,方位角\nK1+2000,0,0,0\n\n长度,起点半径,终点半径,转向\n100,,,\n", 2,
         "起点桩号 必须是米数或 K 桩号（如 12000 或 K12+000），“K1+2000” 不对。"},
        {"stated start half given",
         std::string(kStart) + "长度,起点半径,终点半径,转向,起点X,起点Y\n100,,,,5,\n", 5,
         "起点X 和 起点Y 要一起给出，或者都留空。"},
        {"an element turning a full circle", head + "100,10,10,左\n", 5,
         "这个线元转过 572.958 度，超过一整圈，不像是道路的线元。"},
        {"JD table after an element table", head + "100,,,\n\n" + jd, 7,
         "一条路线只能由交点表或线元表之一给出：这里是交点表，而前面已有线元表。"},
        {"element table after a JD table", jd + "\n长度,起点半径,终点半径,转向\n100,,,\n", 6,
         "一条路线只能由交点表或线元表之一给出：这里是线元表，而前面已有交点表。"},
        {"chain break beyond the end", head + "100,,,\n\n断链前桩号,断链后桩号\nK3+000,K2+990\n", 8,
         "断链前桩号 K3+000.000 不在路线上（起点至终点之间）。"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        const Result<RouteDesign> reading = readRouteFile(f.text);
        std::vector<Failure> got;
        if (!reading)
            got = reading.failures();
        else if (const Result<BuiltRoute> built = buildRoute(*reading); !built)
            got = built.failures();
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(faultText(got[0]), faultText({f.message, f.line}));
    }
}

TEST(ElementRoute, TablesMayStandInFurtherFiles) {
    // The start in the first file, the elements and the grade line in the second, the chain
    // breaks in the third: the same route as one file holding them all.
    const std::string elements = "长度,起点半径,终点半径,转向\n100,,,\n80,,500,右\n50,500,500,右\n";
    const std::string grade = "变坡点桩号,高程,竖曲线半径\nK2+100,10,\nK2+230,12,\n";
    const std::string breaks = "断链前桩号,断链后桩号\nK2+150,K2+140\n";
    const Result<RouteDesign> one =
        readRouteFile(std::string(kStart) + elements + "\n" + breaks + "\n" + grade);
    const Result<RouteDesign> three = readRouteFiles({kStart, elements + "\n" + grade, breaks});
    ASSERT_TRUE(one);
    ASSERT_TRUE(three);
    Result<BuiltRoute> a = buildRoute(*one), b = buildRoute(*three);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(segmentTableCsv(a->route), segmentTableCsv(b->route));
    StakeRequest request;
    request.interval_m = 20;
    EXPECT_EQ(stakeTableCsv(*stakeTable(a->route, request), request),
              stakeTableCsv(*stakeTable(b->route, request), request));

    // A fault is told in the file it stands in.
    const Result<RouteDesign> wrong =
        readRouteFiles({kStart, elements, "断链前桩号,断链后桩号\nK9+000,K8+990\n"});
    ASSERT_TRUE(wrong);
    Result<BuiltRoute> built = buildRoute(*wrong);
    ASSERT_EQ(built.failures().size(), 1u);
    EXPECT_EQ(built.failures()[0].file, 2u);
    EXPECT_EQ(built.failures()[0].line, 2);
    const Result<RouteDesign> twice = readRouteFiles({std::string(kStart) + elements, elements});
    ASSERT_EQ(twice.failures().size(), 1u);
    EXPECT_EQ(twice.failures()[0].file, 1u);
    EXPECT_EQ(faultText(twice.failures()[0]), "第 1 行：线元表只能有一个，这里又有一个。");
}

}  // namespace
}  // namespace hcurve
