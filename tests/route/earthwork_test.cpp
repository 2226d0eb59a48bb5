// The earthwork of ground sections against areas worked another way: the catch points as the
// meeting of two straight lines (Cramer's rule) and the areas as the shoelace formula on the
// closed polygons between the design line and the ground, drawn by hand for each case (all fill,
// fill past a berm, all cut with a ditch, the ground crossing the formation, a vertical step of the
// ground); the slope stake of every catch point is in place; a ground line too short says so. The
// volumes: a prism across a chain break, a frustum (棱台) by Simpson's rule, and the kilometre
// subtotals summed by hand.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alignment/cross_section.h"
#include "alignment/earthwork.h"
#include "alignment/route.h"
#include "curve/angle.h"
#include "route_files/earthwork_output.h"

namespace hcurve {
namespace {

constexpr double kArea = 1e-9;    // square metres
constexpr double kPlace = 1e-9;   // metres
constexpr double kVolume = 1e-6;  // cubic metres

RoutePointRow pointAt(const RoutePointRow& from, double az_deg, double d_m, std::string name,
                      int line, double R = 0) {
    return {line,
            std::move(name),
            from.x_m + d_m * std::cos(az_deg * kDegreeFactor),
            from.y_m + d_m * std::sin(az_deg * kDegreeFactor),
            R,
            0,
            0};
}

TemplateRow component(SectionSide side, const char* name, double width_m, double fall_pct,
                      bool follows) {
    TemplateRow r;
    r.side = side;
    r.component = name;
    r.width_m = width_m;
    r.followsCarriageway = follows;
    r.crossFall_pct = fall_pct;
    return r;
}

// A road level at 100 m on its first kilometre of straight (BP at 1000, a curve of R 2000 at JD1,
// 2000), a chain break at 1200 (断链后 1250: a short chain of 50 m) where breaks is set. Each side
// a lane of 3.75 m at the crown's -2 % and an earth shoulder of 0.75 m at -4 %: the edges at 3.75
// and 4.5 m lie at 99.925 and 99.895. Both sides: fill 1:1.5 to 8 m, a berm of 2 m, then 1:1.75;
// cut behind a ditch (bottom 0.4 m, 0.6 m deep, 1:1 both walls) at 1:0.75 to 6 m, a berm of 1.5 m,
// then 1:1.
struct Road {
    Route route;
    CrossSection section;
    explicit Road(bool chainBreak = false) {
        RouteDesign d;
        d.startChainage_m = 1000;
        d.points.push_back({1, "BP", 3000, 5000, 0, 0, 0});
        d.points.push_back(pointAt(d.points.back(), 30, 1000, "JD1", 2, 2000));
        d.points.push_back(pointAt(d.points.back(), 40, 1000, "EP", 3));
        if (chainBreak)
            d.breaks.push_back({4, 1200, 1250, 0});
        GradeTable g;
        g.rows = {{30, {"1000", 1000, false}, 100, 0}, {31, {"2500", 2500, false}, 100, 0}};
        d.grade = g;
        Result<BuiltRoute> b = buildRoute(d);
        EXPECT_TRUE(b) << (b ? "" : b.failure().message);
        route = b->route;
        SectionDesign s;
        s.templateTable = SectionDesign::Table{0, 1};
        for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
            s.components.push_back(component(side, "行车道", 3.75, 0, true));
            s.components.push_back(component(side, "土路肩", 0.75, -4, false));
        }
        s.crownTable = SectionDesign::Table{0, 10};
        s.crown = CrownRow{11, 2, RotationAxis::CentreLine};
        s.slopeTable = SectionDesign::Table{0, 40};
        s.ditchTable = SectionDesign::Table{0, 50};
        for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
            s.slopes.push_back({41, side, SlopeKind::Fill, 1.5, 8.0, 2});
            s.slopes.push_back({42, side, SlopeKind::Fill, 1.75, std::nullopt, 0});
            s.slopes.push_back({43, side, SlopeKind::Cut, 0.75, 6.0, 1.5});
            s.slopes.push_back({44, side, SlopeKind::Cut, 1, std::nullopt, 0});
            s.ditches.push_back({51, side, 0.4, 0.6, 1, 1});
        }
        Result<CrossSection> c = buildCrossSection(s, route);
        EXPECT_TRUE(c) << (c ? "" : c.failure().message);
        section = *c;
    }
};

struct Pt {
    double x, y;
};

// Where the line through a and b meets the line through c and d (Cramer's rule).
Pt meet(Pt a, Pt b, Pt c, Pt d) {
    const double a1 = b.y - a.y, b1 = a.x - b.x, c1 = a1 * a.x + b1 * a.y;
    const double a2 = d.y - c.y, b2 = c.x - d.x, c2 = a2 * c.x + b2 * c.y;
    const double det = a1 * b2 - a2 * b1;
    return {(c1 * b2 - c2 * b1) / det, (a1 * c2 - a2 * c1) / det};
}

// The area of a closed polygon (its vertices in order, the last joined to the first).
double shoelace(const std::vector<Pt>& p) {
    double twice = 0;
    for (std::size_t k = 0; k < p.size(); ++k) {
        const Pt &a = p[k], &b = p[(k + 1) % p.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::fabs(twice) / 2;
}

constexpr double E = 100 - 3.75 * 0.02 - 0.75 * 0.04;  // the formation edges: 99.895
constexpr double kLaneEdge = 100 - 3.75 * 0.02;        // 99.925

std::vector<GroundPoint> groundOf(const std::vector<Pt>& points) {
    std::vector<GroundPoint> g;
    for (const Pt& p : points)
        g.push_back({p.x, p.y, 0, !g.empty() && g.back().offset_m == p.x});
    return g;
}

TEST(SectionAreas, AgainstTheShoelaceOfHandDrawnPolygons) {
    const Road road;
    const Pt centre{0, 100}, laneL{-3.75, kLaneEdge}, laneR{3.75, kLaneEdge}, edgeL{-4.5, E},
        edgeR{4.5, E};
    // The fill's first step and the cut's, beyond the ditch: a point on each and the slope.
    const Pt fillStepR{4.5 + 8 * 1.5, E - 8}, fillStepL{-fillStepR.x, fillStepR.y};
    const Pt bermR{fillStepR.x + 2, E - 8}, bermL{-bermR.x, bermR.y};
    const Pt fill2R{bermR.x + 1.75, E - 9}, fill2L{-fill2R.x, fill2R.y};
    const Pt ditchInR{5.1, E - 0.6}, ditchOutR{5.5, E - 0.6}, ditchTopR{6.1, E};
    const Pt ditchInL{-5.1, E - 0.6}, ditchOutL{-5.5, E - 0.6}, ditchTopL{-6.1, E};
    const Pt cutStepR{6.1 + 6 * 0.75, E + 6}, cutStepL{-cutStepR.x, cutStepR.y};
    const auto line = [](double at0, double slope) {
        return std::vector<Pt>{{-30, at0 - 30 * slope}, {30, at0 + 30 * slope}};
    };
    struct Case {
        const char* what;
        std::vector<Pt> ground;
        Pt left, right;  // the catch points
        SectionEarthwork leftKind, rightKind;
        std::vector<std::vector<Pt>> fills, cuts;  // the polygons of each
        double centre_m;
        bool onSlopes = true;  // both catch points on the slopes, where slope stakes are sought
    };
    std::vector<Case> cases;
    {
        // Ground rising 1:20 to the right at 96 m under the centre: fill on both sides.
        const std::vector<Pt> g = line(96, 0.05);
        const Pt l = meet(edgeL, fillStepL, g[0], g[1]), r = meet(edgeR, fillStepR, g[0], g[1]);
        cases.push_back({"all fill",
                         g,
                         l,
                         r,
                         SectionEarthwork::Fill,
                         SectionEarthwork::Fill,
                         {{l, edgeL, laneL, centre, laneR, edgeR, r}},
                         {},
                         4});
    }
    {
        // Ground at 88 m, rising 1:50: the fill passes the berms of both sides.
        const std::vector<Pt> g = line(88, 0.02);
        const Pt l = meet(bermL, fill2L, g[0], g[1]), r = meet(bermR, fill2R, g[0], g[1]);
        cases.push_back(
            {"fill past a berm",
             g,
             l,
             r,
             SectionEarthwork::Fill,
             SectionEarthwork::Fill,
             {{l, bermL, fillStepL, edgeL, laneL, centre, laneR, edgeR, fillStepR, bermR, r}},
             {},
             12});
    }
    {
        // Ground at 103 m rising 1:10: cut on both sides, the ditches below it.
        const std::vector<Pt> g = line(103, 0.1);
        const Pt l = meet(ditchTopL, cutStepL, g[0], g[1]),
                 r = meet(ditchTopR, cutStepR, g[0], g[1]);
        cases.push_back({"all cut with a ditch",
                         g,
                         l,
                         r,
                         SectionEarthwork::Cut,
                         SectionEarthwork::Cut,
                         {},
                         {{l, ditchTopL, ditchOutL, ditchInL, edgeL, laneL, centre, laneR, edgeR,
                           ditchInR, ditchOutR, ditchTopR, r}},
                         -3});
    }
    {
        // A side-long ground, 99.9 m under the centre rising 0.3 a metre: it crosses the right
        // lane; fill on the left, cut on the right.
        const std::vector<Pt> g = line(99.9, 0.3);
        const Pt x = meet(centre, laneR, g[0], g[1]);
        const Pt l = meet(edgeL, fillStepL, g[0], g[1]), r = meet(ditchTopR, cutStepR, g[0], g[1]);
        cases.push_back({"the ground crossing the formation",
                         g,
                         l,
                         r,
                         SectionEarthwork::Fill,
                         SectionEarthwork::Cut,
                         {{l, edgeL, laneL, centre, x}},
                         {{x, laneR, edgeR, ditchInR, ditchOutR, ditchTopR, r}},
                         100 - 99.9});
    }
    {
        // A kerb of 1 m in the ground at 2 m right, level at 95 m before it and 96 m after.
        const std::vector<Pt> g{{-30, 95}, {2, 95}, {2, 96}, {30, 96}};
        const Pt l{-(4.5 + (E - 95) * 1.5), 95}, r{4.5 + (E - 96) * 1.5, 96};
        cases.push_back({"a vertical step of the ground",
                         g,
                         l,
                         r,
                         SectionEarthwork::Fill,
                         SectionEarthwork::Fill,
                         {{l, edgeL, laneL, centre, laneR, edgeR, r, {2, 96}, {2, 95}}},
                         {},
                         5});
    }
    {
        // Ground 0.1 m above the right edge falling 1:10 outwards, below the formation's level
        // at the ditch's outer edge: the cut side's design line comes out of the ground on the
        // ditch's outer wall. On the left it rises: the cut slope.
        const std::vector<Pt> g = line(E + 0.55, -0.1);
        const Pt l = meet(ditchTopL, cutStepL, g[0], g[1]),
                 r = meet(ditchOutR, ditchTopR, g[0], g[1]);
        cases.push_back({"a cut side whose ground falls below the ditch's outer edge",
                         g,
                         l,
                         r,
                         SectionEarthwork::Cut,
                         SectionEarthwork::Cut,
                         {},
                         {{l, ditchTopL, ditchOutL, ditchInL, edgeL, laneL, centre, laneR, edgeR,
                           ditchInR, ditchOutR, r}},
                         100 - (E + 0.55),
                         false});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<SectionAreas> a =
            sectionAreas(road.section, road.route, 1500, groundOf(c.ground));
        ASSERT_TRUE(a) << a.failure().message;
        double fill = 0, cut = 0;
        for (const std::vector<Pt>& p : c.fills)
            fill += shoelace(p);
        for (const std::vector<Pt>& p : c.cuts)
            cut += shoelace(p);
        EXPECT_NEAR(a->fill_m2, fill, kArea);
        EXPECT_NEAR(a->cut_m2, cut, kArea);
        EXPECT_NEAR(a->centreHeight_m, c.centre_m, kPlace);
        for (const auto& [got, want, kind] : {std::tuple{a->left, c.left, c.leftKind},
                                              std::tuple{a->right, c.right, c.rightKind}}) {
            EXPECT_EQ(got.earthwork, kind);
            EXPECT_NEAR(got.at.offset_m, want.x, kPlace);
            EXPECT_NEAR(got.at.H_m, want.y, kPlace);
            if (!c.onSlopes)
                continue;
            // Staked at the catch point, the slope stake is in place, of the same kind.
            const Result<SlopeStake> s =
                slopeStake(road.section, road.route, 1500, got.at.offset_m, got.at.H_m);
            ASSERT_TRUE(s) << s.failure().message;
            EXPECT_EQ(s->move, StakeMove::InPlace);
            EXPECT_EQ(s->earthwork, kind);
        }
        EXPECT_NEAR(a->design.front().offset_m, c.left.x, kPlace);
        EXPECT_NEAR(a->design.back().offset_m, c.right.x, kPlace);
    }
}

TEST(SectionAreas, AGroundLineThatEndsTooSoonIsToldWithItsSide) {
    Road road;
    struct Case {
        const char* what;
        std::vector<Pt> ground;
        const char* message;
    } cases[] = {
        {"the fill slope runs past the ground's end",
         {{-30, 96}, {8, 96}},
         "右侧填方边坡到地面线的端点（偏距 8.000）还没有与地面线相交：地面线太短。"},
        {"the cut slope on the left",
         {{-9, 104}, {30, 104}},
         "左侧挖方边坡到地面线的端点（偏距 -9.000）还没有与地面线相交：地面线太短。"},
        {"the ground short of the edge",
         {{-3, 96}, {30, 96}},
         "地面线没有测到左侧路基边缘（偏距 -4.500）。"},
        {"one point", {{0, 96}}, "地面线不到两个点。"},
        {"out of order",
         {{-30, 96}, {10, 96}, {5, 96}, {30, 96}},
         "地面线的偏距没有从左到右排列。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<SectionAreas> a =
            sectionAreas(road.section, road.route, 1500, groundOf(c.ground));
        ASSERT_FALSE(a);
        EXPECT_EQ(a.failure().message, c.message);
    }
    // A side without the slope its ground asks for.
    road.section.cut[1].clear();
    const Result<SectionAreas> a =
        sectionAreas(road.section, road.route, 1500, groundOf({{-30, 104}, {30, 104}}));
    ASSERT_FALSE(a);
    EXPECT_EQ(a.failure().message, "右侧没有挖方边坡。");
}

TEST(EarthworkVolumes, APrismAcrossAChainBreakIsItsAreaTimesTheTrueLength) {
    // One section of ground repeated along the straight: the volume is its area times the length
    // along the route. From K1+150 over the break at K1+200 = K1+250 to K1+300 is 100 m, not 150.
    const Road road(true);
    const std::vector<GroundPoint> ground = groundOf({{-30, 97}, {30, 97.5}});
    const Result<SectionAreas> a = sectionAreas(road.section, road.route, 1150, ground);
    ASSERT_TRUE(a);
    std::vector<EarthworkStation> stations;
    for (double at : {1150.0, 1250.0}) {
        const Result<SectionAreas> here = sectionAreas(road.section, road.route, at, ground);
        ASSERT_TRUE(here);
        stations.push_back({at, brokenChainage(road.route, at), here->fill_m2, here->cut_m2});
    }
    EXPECT_EQ(stakeText(road.route, 1250), "K1+300.000");
    for (VolumeMethod method : {VolumeMethod::AverageEndArea, VolumeMethod::Prismoidal}) {
        const EarthworkVolumes v = earthworkVolumes(stations, method);
        EXPECT_NEAR(v.rows[1].distance_m, 100, kPlace);
        EXPECT_NEAR(v.fill_m3, a->fill_m2 * 100, kVolume);
        EXPECT_EQ(v.cut_m3, 0);
        EXPECT_NEAR(v.distance_m, 100, kPlace);
    }
}

TEST(EarthworkVolumes, TheFrustumBySimpsonsRuleAndTheAverageEndArea) {
    // Square sections of 2 m and 4 m, 30 m apart, growing linearly: the area a quadratic in the
    // distance, whose integral Simpson's rule gives exactly, L/6 (A(0) + 4 A(L/2) + A(L)).
    const double L = 30, a = 2, b = 4;
    const auto area = [&](double x) { return std::pow(a + (b - a) * x / L, 2); };
    const double simpson = L / 6 * (area(0) + 4 * area(L / 2) + area(L));
    EXPECT_NEAR(simpson, 280, kVolume);
    EXPECT_NEAR(sectionVolume_m3(a * a, b * b, L, VolumeMethod::Prismoidal), simpson, kVolume);
    EXPECT_NEAR(sectionVolume_m3(a * a, b * b, L, VolumeMethod::AverageEndArea), L * (4 + 16) / 2.0,
                kVolume);
    // The textbook's form with m = A1 / A2: (A1 + A2) L / 3 (1 + sqrt(m) / (1 + m)).
    const double m = 4.0 / 16;
    EXPECT_NEAR(sectionVolume_m3(4, 16, L, VolumeMethod::Prismoidal),
                (4 + 16) * L / 3 * (1 + std::sqrt(m) / (1 + m)), kVolume);
    // A cone from nothing: L A / 3.
    EXPECT_NEAR(sectionVolume_m3(0, 9, L, VolumeMethod::Prismoidal), L * 9 / 3, kVolume);
}

TEST(EarthworkVolumes, KilometreSubtotalsOfTheIntervalsBegunInEach) {
    // Stations (桩号 and 里程 alike, no break) with their fill and cut; each interval's average
    // end area and the kilometre of its start.
    struct S {
        double at, fill, cut;
    };
    const std::vector<S> s{{960, 10, 0}, {980, 12, 2}, {1000, 8, 4},
                           {1990, 0, 6}, {2010, 2, 0}, {2500, 4, 1}};
    std::vector<EarthworkStation> stations;
    for (const S& x : s)
        stations.push_back({x.at, x.at, x.fill, x.cut});
    const EarthworkVolumes v = earthworkVolumes(stations, VolumeMethod::AverageEndArea);
    ASSERT_EQ(v.rows.size(), 6u);
    EXPECT_EQ(v.rows[0].distance_m, 0);
    // K0: 960-980 and 980-1000; K1: 1000-1990 and 1990-2010; K2: 2010-2500.
    const double k0Fill = 20 * (10 + 12) / 2.0 + 20 * (12 + 8) / 2.0;
    const double k0Cut = 20 * (0 + 2) / 2.0 + 20 * (2 + 4) / 2.0;
    const double k1Fill = 990 * (8 + 0) / 2.0 + 20 * (0 + 2) / 2.0;
    const double k1Cut = 990 * (4 + 6) / 2.0 + 20 * (6 + 0) / 2.0;
    const double k2Fill = 490 * (2 + 4) / 2.0, k2Cut = 490 * (0 + 1) / 2.0;
    ASSERT_EQ(v.kilometres.size(), 3u);
    const struct {
        long long km;
        std::size_t last;
        double distance, fill, cut;
    } want[] = {{0, 2, 40, k0Fill, k0Cut}, {1, 4, 1010, k1Fill, k1Cut}, {2, 5, 490, k2Fill, k2Cut}};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(v.kilometres[k].kilometre, want[k].km);
        EXPECT_EQ(v.kilometres[k].lastRow, want[k].last);
        EXPECT_NEAR(v.kilometres[k].distance_m, want[k].distance, kPlace);
        EXPECT_NEAR(v.kilometres[k].fill_m3, want[k].fill, kVolume);
        EXPECT_NEAR(v.kilometres[k].cut_m3, want[k].cut, kVolume);
    }
    EXPECT_NEAR(v.fill_m3, k0Fill + k1Fill + k2Fill, kVolume);
    EXPECT_NEAR(v.cut_m3, k0Cut + k1Cut + k2Cut, kVolume);
    EXPECT_NEAR(v.rows[5].totalFill_m3, v.fill_m3, kVolume);
    EXPECT_NEAR(v.rows[3].totalCut_m3, k0Cut + 990 * (4 + 6) / 2.0, kVolume);
}

}  // namespace
}  // namespace hcurve

namespace hcurve {
namespace {

// The table as a script reads it: flat ground at 96 m under the road of 100 m, so that every
// section's fill is the polygon of the formation and the two slopes of 1:1.5 down 3.895 m to the
// ground at 4.5 + 3.895 x 1.5 = 10.3425 m, twice (3.75 (4 + 3.925) / 2 + 0.75 (3.925 + 3.895) / 2
// + 5.8425 x 3.895 / 2) = 58.3402875 m²; across the chain break K1+200 = K1+250 the distance is
// the 100 m along the road; the kilometre K1 closes with the interval that ends at K2+000.
TEST(EarthworkTable, RowsSubtotalsAndTotalsAsAScriptReadsThem) {
    const Road road(true);
    std::vector<GroundSection> sections;
    int line = 1;
    for (double at : {1150.0, 1250.0, 1950.0, 2050.0}) {
        GroundSection g;
        g.continuous_m = at;
        g.text = stakeText(road.route, at);
        g.points = groundOf({{-30, 96}, {30, 96}});
        g.line = line;
        line += 3;
        sections.push_back(std::move(g));
    }
    Result<std::string> t =
        earthworkTableCsv(road.route, road.section, sections, VolumeMethod::AverageEndArea);
    ASSERT_TRUE(t);
    EXPECT_EQ(*t,
              "桩号,里程,填方面积,挖方面积,距离,填方量,挖方量,累计填方,累计挖方\n"
              "K1+150.000,1150.0000,58.3403,0.0000,,,,0.000,0.000\n"
              "K1+300.000,1250.0000,58.3403,0.0000,100.000,5834.029,0.000,5834.029,0.000\n"
              "K2+000.000,1950.0000,58.3403,0.0000,700.000,40838.201,0.000,46672.230,0.000\n"
              "K1 小计,,,,800.000,46672.230,0.000,,\n"
              "K2+100.000,2050.0000,58.3403,0.0000,100.000,5834.029,0.000,52506.259,0.000\n"
              "K2 小计,,,,100.000,5834.029,0.000,,\n"
              "合计,,,,900.000,52506.259,0.000,,\n");
    // A section whose ground ends before the slope meets it: a fault of its line, no table.
    sections[2].points = groundOf({{-30, 96}, {9, 96}});
    t = earthworkTableCsv(road.route, road.section, sections, VolumeMethod::AverageEndArea);
    ASSERT_FALSE(t);
    ASSERT_EQ(t.failures().size(), 1u);
    EXPECT_EQ(t.failures()[0].line, 7);
    EXPECT_EQ(
        t.failures()[0].message,
        "K2+000.000：右侧填方边坡到地面线的端点（偏距 9.000）还没有与地面线相交：地面线太短。");
}

}  // namespace
}  // namespace hcurve
