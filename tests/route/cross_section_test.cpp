// The cross-section model against the textbook: the superelevation run-off about the centre line
// and about the inner edge worked by its own formulas, the run-off of a curve without spirals,
// widening at the spiral's quarter points, a reverse curve on a short tangent, slope stakes worked
// step by step, the continuity of every edge along a route, and the faults of bad records.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "alignment/cross_section.h"
#include "alignment/route.h"
#include "curve/angle.h"

namespace hcurve {
namespace {

constexpr double kFall = 1e-9;   // percent
constexpr double kLevel = 1e-9;  // metres
constexpr double kEdges = 1e-3;  // continuity, metres

RoutePointRow pointAt(const RoutePointRow& from, double az_deg, double d_m, std::string name,
                      double R = 0, double A1 = 0, double A2 = 0) {
    static int line = 1;
    return {++line,
            std::move(name),
            from.x_m + d_m * std::cos(az_deg * kDegreeFactor),
            from.y_m + d_m * std::sin(az_deg * kDegreeFactor),
            R,
            A1,
            A2};
}

// BP, then one JD per turn (degrees, positive right), legs of the given lengths, EP.
struct Turn {
    double turn_deg, R_m, Ls_m;
};
RouteDesign jdRoute(const std::vector<Turn>& turns, const std::vector<double>& legs_m) {
    RouteDesign d;
    d.startChainage_m = 1000;
    RoutePointRow p{1, "BP", 3000, 5000, 0, 0, 0};
    d.points.push_back(p);
    double az = 30;
    for (std::size_t k = 0; k <= turns.size(); ++k) {
        if (k == turns.size()) {
            d.points.push_back(pointAt(d.points.back(), az, legs_m[k], "EP"));
            break;
        }
        const Turn& t = turns[k];
        const double A = std::sqrt(t.Ls_m * t.R_m);
        d.points.push_back(
            pointAt(d.points.back(), az, legs_m[k], "JD" + std::to_string(k + 1), t.R_m, A, A));
        az += t.turn_deg;
    }
    return d;
}

Route built(const RouteDesign& d) {
    Result<BuiltRoute> b = buildRoute(d);
    EXPECT_TRUE(b) << b.failure().message;
    return std::move(b->route);
}

TemplateRow component(SectionSide side, const char* name, double width_m, double fall_pct,
                      bool follows = false, int line = 0) {
    TemplateRow r;
    r.line = line;
    r.side = side;
    r.component = name;
    r.width_m = width_m;
    r.followsCarriageway = follows;
    r.crossFall_pct = fall_pct;
    return r;
}

// Each side: a lane of 3.75 m following the carriageway, an earth shoulder of 0.75 m at -4 %.
constexpr double kLane_m = 3.75, kShoulder_m = 0.75, kShoulder_pct = -4;
SectionDesign twoLanes(double crown_pct, RotationAxis axis) {
    SectionDesign s;
    s.templateTable = SectionDesign::Table{0, 1};
    for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
        s.components.push_back(component(side, "行车道", kLane_m, 0, true, 2));
        s.components.push_back(component(side, "土路肩", kShoulder_m, kShoulder_pct, false, 3));
    }
    s.crownTable = SectionDesign::Table{0, 10};
    s.crown = CrownRow{11, crown_pct, axis};
    s.superelevationTable = SectionDesign::Table{0, 20};
    return s;
}

SuperelevationRow jdRow(const char* jd, double super_pct, double widening_m = 0,
                        std::optional<double> runOff_m = std::nullopt,
                        WideningTransition t = WideningTransition::Linear, int line = 21) {
    SuperelevationRow r;
    r.line = line;
    r.jd = jd;
    r.superelevation_pct = super_pct;
    r.widening_m = widening_m;
    r.runOffLength_m = runOff_m;
    r.transition = t;
    return r;
}

CrossSection sectionOf(const SectionDesign& d, const Route& route) {
    Result<CrossSection> b = buildCrossSection(d, route);
    EXPECT_TRUE(b) << b.failure().message;
    return std::move(*b);
}

double edgeZ(const std::vector<FormationEdge>& edges, SectionSide side, const char* name) {
    for (const FormationEdge& e : edges)
        if (e.side == side && e.component == name)
            return e.elevation_m;
    ADD_FAILURE() << name;
    return NAN;
}
double edgeOffset(const std::vector<FormationEdge>& edges, SectionSide side, const char* name) {
    for (const FormationEdge& e : edges)
        if (e.side == side && e.component == name)
            return e.offset_m;
    ADD_FAILURE() << name;
    return NAN;
}

// A right-hand curve of R 500 with spirals of 100 m: the inner side is the right.
struct OneCurve {
    Route route = built(jdRoute({{40, 500, 100}}, {1000, 1000}));
    const CurveElements& c = route.curves.front().curve;
};

// About the centre line, crown i_G 2 %, superelevation i_h 8 %, Lc 100 m: the outer side's
// cross-fall is -i_G + (i_G + i_h) x / Lc; the inner side keeps -i_G until x0 = 2 i_G Lc / (i_G +
// i_h) = 40 m and then falls as the outer rises. Edges: the lane's at 3.75 m times its side's fall,
// the shoulder's 0.75 m further at -4 % (on the inner side at the lane's fall where steeper).
TEST(SuperelevationRunOff, AboutTheCentreLineAsTheTextbookWorksIt) {
    OneCurve r;
    SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
    d.superelevations.push_back(jdRow("JD1", 8));
    const CrossSection s = sectionOf(d, r.route);
    const double iG = 2, ih = 8, Lc = r.c.hy - r.c.zh;
    ASSERT_NEAR(Lc, 100, 1e-9);
    const double x0 = 2 * iG * Lc / (iG + ih);
    struct Case {
        const char* where;
        double x_m;
        double outer_pct, inner_pct;
    } cases[] = {
        {"ZH", 0, -2, -2},
        {"x0", x0, -2 + 10 * 40.0 / 100, -2},
        {"middle", 50, -2 + 10 * 50.0 / 100, -(-2 + 10 * 50.0 / 100)},
        {"HY", 100, 8, -8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const double at = r.c.zh + c.x_m;
        const CarriagewayState st = carriagewayAt(s, at);
        EXPECT_NEAR(st.left_pct, c.outer_pct, kFall);
        EXPECT_NEAR(st.right_pct, c.inner_pct, kFall);
        EXPECT_NEAR(st.lift_m, 0, kLevel);
        const auto edges = formationEdges(s, r.route, at);
        EXPECT_NEAR(edgeZ(edges, SectionSide::Left, "行车道"), 3.75 * c.outer_pct / 100, kLevel);
        EXPECT_NEAR(edgeZ(edges, SectionSide::Right, "行车道"), 3.75 * c.inner_pct / 100, kLevel);
        EXPECT_NEAR(edgeZ(edges, SectionSide::Left, "土路肩"),
                    3.75 * c.outer_pct / 100 + 0.75 * -4 / 100, kLevel);
        EXPECT_NEAR(edgeZ(edges, SectionSide::Right, "土路肩"),
                    3.75 * c.inner_pct / 100 + 0.75 * std::min(-4.0, c.inner_pct) / 100, kLevel);
    }
    // At x0 the outer side has reached the crown's slope, and the inner side starts to turn there
    // and not before: the point found by bisection.
    EXPECT_NEAR(carriagewayAt(s, r.c.zh + x0).left_pct, iG, kFall);
    double lo = r.c.zh, hi = r.c.hy;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (carriagewayAt(s, mid).right_pct < -iG - 1e-12 ? hi : lo) = mid;
    }
    EXPECT_NEAR(lo - r.c.zh, x0, 1e-6);
    // The exit mirrors the entry: x measured back from HZ.
    EXPECT_NEAR(carriagewayAt(s, r.c.hz - 50).left_pct, 3, kFall);
    EXPECT_NEAR(carriagewayAt(s, (r.c.hy + r.c.yh) / 2).right_pct, -8, kFall);
    EXPECT_NEAR(carriagewayAt(s, r.c.hz + 1).left_pct, -2, kFall);
}

// About the inner edge, B = 7.5 m: the outer edge rises against the inner edge linearly from level
// to B i_h; the inner edge keeps its elevation without superelevation, -3.75 i_G, once x passes
// x0 = i_G Lc / i_h = 25 m, and before x0 the section turns about the centre line.
TEST(SuperelevationRunOff, AboutTheInnerEdgeAsTheTextbookWorksIt) {
    OneCurve r;
    SectionDesign d = twoLanes(2, RotationAxis::InnerEdge);
    d.superelevations.push_back(jdRow("JD1", 8));
    const CrossSection s = sectionOf(d, r.route);
    const double B = 7.5, iG = 0.02, ih = 0.08, Lc = 100;
    const double x0 = iG * Lc / ih;
    ASSERT_NEAR(x0, 25, 1e-12);
    const double innerEdge = -3.75 * iG;
    struct Case {
        const char* where;
        double x_m;
        double innerEdge_m, lift_m;
    } cases[] = {
        {"ZH", 0, innerEdge, 0},
        {"x0", x0, innerEdge, 0},
        // The plane of slope i = x ih / Lc through the inner edge: the centre 3.75 i above it.
        {"middle", 50, innerEdge, innerEdge + 3.75 * (50 * ih / Lc)},
        {"HY", 100, innerEdge, innerEdge + 3.75 * ih},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const double at = r.c.zh + c.x_m;
        const auto edges = formationEdges(s, r.route, at);
        const double inner = edgeZ(edges, SectionSide::Right, "行车道");
        const double outer = edgeZ(edges, SectionSide::Left, "行车道");
        EXPECT_NEAR(outer - inner, B * ih * c.x_m / Lc, kLevel);
        EXPECT_NEAR(inner, c.innerEdge_m, kLevel);
        EXPECT_NEAR(carriagewayAt(s, at).lift_m, c.lift_m, kLevel);
    }
    EXPECT_NEAR(carriagewayAt(s, r.c.zh + x0).left_pct, 2, kFall);
    EXPECT_NEAR(carriagewayAt(s, r.c.zh + x0 / 2).right_pct, -2, kFall);
    // The centre line rises: the design section's centre point.
    const auto points = designSection(s, r.route, r.c.hy, {});
    for (const SectionPoint& p : points) {
        if (p.name == "中桩") {
            EXPECT_NEAR(p.elevation_m, innerEdge + 3.75 * ih, kLevel);
        }
    }
}

// A curve without spirals and a run-off length of 60 m: 40 m on the tangent, 20 m in the curve;
// at ZY itself k = 2/3.
TEST(SuperelevationRunOff, ACurveWithoutSpiralsRunsTwoThirdsOnTheTangent) {
    const Route route = built(jdRoute({{-30, 600, 0}}, {1000, 1000}));
    const CurveElements& c = route.curves.front().curve;
    SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
    d.superelevations.push_back(jdRow("JD1", 6, 0.6, 60));
    const CrossSection s = sectionOf(d, route);
    // A left-hand curve: the inner side is the left.
    const double zy = c.zh, yz = c.hz;
    EXPECT_NEAR(carriagewayAt(s, zy - 40).right_pct, -2, kFall);
    EXPECT_NEAR(carriagewayAt(s, zy - 41).left_pct, -2, kFall);
    EXPECT_NEAR(carriagewayAt(s, zy).right_pct, -2 + 8 * (2.0 / 3), kFall);
    EXPECT_NEAR(carriagewayAt(s, zy + 20).right_pct, 6, kFall);
    EXPECT_NEAR(carriagewayAt(s, zy + 20).left_pct, -6, kFall);
    EXPECT_NEAR(carriagewayAt(s, yz - 20).left_pct, -6, kFall);
    EXPECT_NEAR(carriagewayAt(s, yz + 10).right_pct, -2 + 8 * (30.0 / 60), kFall);
    EXPECT_NEAR(carriagewayAt(s, zy).leftWidening_m, 0.6 * 2 / 3, kLevel);
    EXPECT_NEAR(carriagewayAt(s, yz + 40).leftWidening_m, 0, kLevel);
    // Without the run-off length the curve cannot run off: a fault on its row.
    SectionDesign bare = twoLanes(2, RotationAxis::CentreLine);
    bare.superelevations.push_back(jdRow("JD1", 6));
    const Result<CrossSection> b = buildCrossSection(bare, route);
    ASSERT_FALSE(b);
    EXPECT_EQ(b.failures().front().line, 21);
    EXPECT_EQ(b.failures().front().message, "JD1 没有缓和曲线：要给超高渐变长度。");
}

// Widening b = 1.2 m over a spiral of 100 m, at its quarter points k: linear b k, cubic-quartic
// b (4k^3 - 3k^4) (at 1/4: 4/64 - 3/256). It widens the inner lane; the shoulder moves out with it.
TEST(Widening, AtTheSpiralsQuarterPointsInBothModes) {
    OneCurve r;
    struct Case {
        WideningTransition mode;
        double k, widening_m;
    } cases[] = {
        {WideningTransition::Linear, 0.25, 1.2 * 0.25},
        {WideningTransition::Linear, 0.5, 1.2 * 0.5},
        {WideningTransition::Linear, 0.75, 1.2 * 0.75},
        {WideningTransition::HighOrder, 0.25, 1.2 * (4.0 / 64 - 3.0 / 256)},
        {WideningTransition::HighOrder, 0.5, 1.2 * (4.0 / 8 - 3.0 / 16)},
        {WideningTransition::HighOrder, 0.75, 1.2 * (4 * 27.0 / 64 - 3 * 81.0 / 256)},
        {WideningTransition::HighOrder, 1, 1.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
        d.superelevations.push_back(jdRow("JD1", 6, 1.2, std::nullopt, c.mode));
        const CrossSection s = sectionOf(d, r.route);
        for (double at : {r.c.zh + 100 * c.k, r.c.hz - 100 * c.k}) {
            const auto edges = formationEdges(s, r.route, at);
            EXPECT_NEAR(carriagewayAt(s, at).rightWidening_m, c.widening_m, kLevel);
            EXPECT_NEAR(edgeOffset(edges, SectionSide::Right, "行车道"), 3.75 + c.widening_m,
                        kLevel);
            EXPECT_NEAR(edgeOffset(edges, SectionSide::Right, "土路肩"), 4.5 + c.widening_m,
                        kLevel);
            EXPECT_NEAR(edgeOffset(edges, SectionSide::Left, "土路肩"), -4.5, kLevel);
        }
    }
}

// Two curves without spirals turning left then right, 45 degrees each on R 400: the tangent
// between them (the leg less both T = R tan 22.5) is shorter than the 2 x 2/3 x 150 m their
// run-offs need. The cross-falls run linearly from the first curve's full superelevation to the
// second's, and a warning says so.
TEST(SuperelevationRunOff, AReverseCurveOnAShortTangentTransitionsLinearly) {
    const Route route = built(jdRoute({{-45, 400, 0}, {45, 400, 0}}, {800, 424.264, 800}));
    const CurveElements &c1 = route.curves[0].curve, &c2 = route.curves[1].curve;
    const double tangent = c2.zh - c1.hz;
    ASSERT_NEAR(tangent, 424.264 - 2 * 400 * std::tan(22.5 * kDegreeFactor), 1e-3);
    ASSERT_LT(tangent, 2 * 150 * 2.0 / 3);
    SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
    d.superelevations.push_back(jdRow("JD1", 6, 0, 150, WideningTransition::Linear, 21));
    d.superelevations.push_back(jdRow("JD2", 5, 0, 150, WideningTransition::Linear, 22));
    const Result<CrossSection> b = buildCrossSection(d, route);
    ASSERT_TRUE(b);
    ASSERT_EQ(b.warnings().size(), 1u);
    EXPECT_EQ(b.warnings()[0].line, 22);
    EXPECT_NE(b.warnings()[0].message.find("JD1 与 JD2 是反向曲线"), std::string::npos)
        << b.warnings()[0].message;
    EXPECT_NE(b.warnings()[0].message.find("线性过渡"), std::string::npos);
    // From YZ1 - 50 (JD1 full: left inner -6, right +6) to ZY2 + 50 (JD2 full: right inner -5).
    const double from = c1.hz - 50, to = c2.zh + 50;
    for (double u : {0.0, 0.25, 0.5, 0.9, 1.0}) {
        SCOPED_TRACE(u);
        const CarriagewayState st = carriagewayAt(*b, from + u * (to - from));
        EXPECT_NEAR(st.left_pct, -6 + u * (5 - -6), 1e-9);
        EXPECT_NEAR(st.right_pct, 6 + u * (-5 - 6), 1e-9);
    }
}

// Two right-hand curves on the same short tangent: their run-offs overlap, and the cross-falls
// run linearly between their full superelevations instead of dropping to the crown.
TEST(SuperelevationRunOff, OverlappingRunOffsOfCurvesTurningAlikeTransitionLinearly) {
    const Route route = built(jdRoute({{45, 400, 0}, {45, 400, 0}}, {800, 424.264, 800}));
    const CurveElements &c1 = route.curves[0].curve, &c2 = route.curves[1].curve;
    SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
    d.superelevations.push_back(jdRow("JD1", 6, 0, 150, WideningTransition::Linear, 21));
    d.superelevations.push_back(jdRow("JD2", 4, 0, 150, WideningTransition::Linear, 22));
    const Result<CrossSection> b = buildCrossSection(d, route);
    ASSERT_TRUE(b);
    ASSERT_EQ(b.warnings().size(), 1u);
    EXPECT_EQ(b.warnings()[0].message.rfind("JD1 与 JD2 的超高渐变段重叠", 0), 0u)
        << b.warnings()[0].message;
    const double from = c1.hz - 50, to = c2.zh + 50;
    for (double u : {0.0, 0.5, 1.0}) {
        SCOPED_TRACE(u);
        const CarriagewayState st = carriagewayAt(*b, from + u * (to - from));
        EXPECT_NEAR(st.left_pct, 6 + u * (4 - 6), 1e-9);
        EXPECT_NEAR(st.right_pct, -6 + u * (-4 - -6), 1e-9);
    }
}

// A superelevation below the crown: the inner side keeps the crown, with a warning.
TEST(SuperelevationRunOff, BelowTheCrownTheInnerSideKeepsIt) {
    OneCurve r;
    SectionDesign d = twoLanes(3, RotationAxis::CentreLine);
    d.superelevations.push_back(jdRow("JD1", 2));
    const Result<CrossSection> b = buildCrossSection(d, r.route);
    ASSERT_TRUE(b);
    ASSERT_EQ(b.warnings().size(), 1u);
    EXPECT_EQ(b.warnings()[0].message,
              "JD1 的超高横坡 2% 小于路拱横坡 3%：外侧横坡由 -3% 线性变到 2%，内侧保持路拱。");
    EXPECT_NEAR(carriagewayAt(*b, r.c.zh + 50).left_pct, -3 + 5 * 0.5, kFall);
    EXPECT_NEAR(carriagewayAt(*b, r.c.hy).left_pct, 2, kFall);
    EXPECT_NEAR(carriagewayAt(*b, r.c.hy).right_pct, -3, kFall);
}

// A fixed cross-fall flatter than the crown on the inner side cannot follow the carriageway
// without a step: a warning says where.
TEST(SuperelevationRunOff, AFixedCrossFallFlatterThanTheCrownOnTheInnerSideIsTold) {
    OneCurve r;
    SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
    d.components[3].crossFall_pct = -1;  // the right (inner) shoulder
    d.superelevations.push_back(jdRow("JD1", 6));
    const Result<CrossSection> b = buildCrossSection(d, r.route);
    ASSERT_TRUE(b);
    ASSERT_EQ(b.warnings().size(), 1u);
    EXPECT_EQ(b.warnings()[0].message,
              "JD1 内侧（右侧）的土路肩横坡 -1% 比路拱缓：内侧横坡陡于路拱 2% "
              "处起随行车道的横坡，其外的边缘高程在那里跳变。");
    // x0 = 2 x 2 x 100 / 8 = 50 m: the shoulder keeps -1 % up to it, and falls at the lanes'
    // -2 - 8 (55 - 50) / 100 = -2.4 % 5 m on.
    const auto before = formationEdges(*b, r.route, r.c.zh + 49);
    const auto after = formationEdges(*b, r.route, r.c.zh + 55);
    EXPECT_NEAR(
        edgeZ(before, SectionSide::Right, "土路肩") - edgeZ(before, SectionSide::Right, "行车道"),
        0.75 * -0.01, kLevel);
    EXPECT_NEAR(
        edgeZ(after, SectionSide::Right, "土路肩") - edgeZ(after, SectionSide::Right, "行车道"),
        0.75 * -0.024, kLevel);
}

// An element route: straight, spiral 0 -> 1/500 over 100 m, arc, spiral back, straight; the row
// gives the arc as the full superelevation, the run-off lies over the spirals beside it.
TEST(SuperelevationRunOff, AnElementRouteRunsOffOverTheSpiralsBesideItsStretch) {
    RouteDesign e;
    e.startChainage_m = 1000;
    e.elementStart = ElementStart{1, 1000, 3000, 5000, 30};
    ElementTable t;
    const double k = -1 / 500.0;
    for (auto [line, length, k0, k1] : {std::tuple{2, 200.0, 0.0, 0.0},
                                        {3, 100.0, 0.0, k},
                                        {4, 150.0, k, k},
                                        {5, 100.0, k, 0.0},
                                        {6, 200.0, 0.0, 0.0}}) {
        ElementRow row;
        row.line = line;
        row.length_m = length;
        row.startCurvature_per_m = k0;
        row.endCurvature_per_m = k1;
        t.rows.push_back(row);
    }
    e.elements = t;
    const Route route = built(e);
    SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
    SuperelevationRow row;
    row.line = 21;
    row.from = TableChainage{"1300", 1300, false};
    row.to = TableChainage{"1450", 1450, false};
    row.superelevation_pct = 8;
    row.widening_m = 0.8;
    d.superelevations.push_back(row);
    const CrossSection s = sectionOf(d, route);
    // A left-hand curve: the right side is the outer.
    EXPECT_NEAR(carriagewayAt(s, 1200).right_pct, -2, kFall);
    EXPECT_NEAR(carriagewayAt(s, 1250).right_pct, 3, kFall);
    EXPECT_NEAR(carriagewayAt(s, 1250).left_pct, -3, kFall);
    EXPECT_NEAR(carriagewayAt(s, 1375).left_pct, -8, kFall);
    EXPECT_NEAR(carriagewayAt(s, 1500).right_pct, 3, kFall);
    EXPECT_NEAR(carriagewayAt(s, 1525).leftWidening_m, 0.8 * 0.25, kLevel);
    // A stretch on the straight is none.
    row.from = TableChainage{"1010", 1010, false};
    row.to = TableChainage{"1100", 1100, false};
    d.superelevations = {row};
    const Result<CrossSection> b = buildCrossSection(d, route);
    ASSERT_FALSE(b);
    EXPECT_EQ(b.failures().front().message,
              "1010 至 1100 是直线：路线在这里没有曲线，不能超高或加宽。");
}

// A straight stretch of road (before the one curve, far off), level at 100 m: the right side in
// fill 1:1.5 to 8 m, a berm of 2 m, then 1:1.75; the left in cut with a ditch (bottom 0.4, depth
// 0.6, 1:1 both sides), then 1:0.75 to 6 m, a berm of 1.5 m, then 1:1. The formation edge at 4.5 m
// lies 3.75 x 2 % + 0.75 x 4 % below the centre: 99.895.
struct SlopedRoad {
    Route route;
    CrossSection section;
    SlopedRoad() {
        RouteDesign d = jdRoute({{10, 2000, 0}}, {1000, 1000});
        GradeTable g;
        g.rows = {{30, {"1000", 1000, false}, 100, 0}, {31, {"2500", 2500, false}, 100, 0}};
        d.grade = g;
        route = built(d);
        SectionDesign s = twoLanes(2, RotationAxis::CentreLine);
        s.slopeTable = SectionDesign::Table{0, 40};
        s.slopes = {{41, SectionSide::Right, SlopeKind::Fill, 1.5, 8.0, 2},
                    {42, SectionSide::Right, SlopeKind::Fill, 1.75, std::nullopt, 0},
                    {43, SectionSide::Left, SlopeKind::Cut, 0.75, 6.0, 1.5},
                    {44, SectionSide::Left, SlopeKind::Cut, 1, std::nullopt, 0}};
        s.ditchTable = SectionDesign::Table{0, 50};
        s.ditches = {{51, SectionSide::Left, 0.4, 0.6, 1, 1}};
        section = sectionOf(s, route);
    }
};

TEST(SlopeStake, FillAndCutWithABermAndADitchAndAPointOnTheFormation) {
    const SlopedRoad road;
    const double edgeH = 100 - 3.75 * 0.02 - 0.75 * 0.04;
    // Fill down to 88: 8 m of the first step (12 m out), the berm (2 m), the rest at 1:1.75.
    const double fillAt = 4.5 + 8 * 1.5 + 2 + (edgeH - 8 - 88) * 1.75;
    // Cut up to 108: the ditch (0.6 + 0.4 + 0.6 m), 6 m at 1:0.75, the berm, the rest at 1:1.
    const double cutAt = 4.5 + 1.6 + 6 * 0.75 + 1.5 + (108 - edgeH - 6) * 1;
    struct Case {
        const char* what;
        double offset_m, H_m;
        SectionEarthwork earthwork;
        std::optional<double> design_m;
        StakeMove move;
    } cases[] = {
        {"fill, stake too near", 20, 88, SectionEarthwork::Fill, fillAt, StakeMove::Outwards},
        {"fill, in place", fillAt + 0.004, 88, SectionEarthwork::Fill, fillAt, StakeMove::InPlace},
        {"fill, on the first step", 30, 95, SectionEarthwork::Fill, 4.5 + (edgeH - 95) * 1.5,
         StakeMove::Inwards},
        {"cut, stake too far", -15, 108, SectionEarthwork::Cut, -cutAt, StakeMove::Inwards},
        {"cut, just past the ditch", -6.5, edgeH + 0.2, SectionEarthwork::Cut,
         -(4.5 + 1.6 + 0.2 * 0.75), StakeMove::Inwards},
        {"on the formation", 2, 99, SectionEarthwork::Fill, std::nullopt, StakeMove::OnFormation},
        {"on the formation, below it", -4, 101, SectionEarthwork::Cut, std::nullopt,
         StakeMove::OnFormation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<SlopeStake> st = slopeStake(road.section, road.route, 1500, c.offset_m, c.H_m);
        ASSERT_TRUE(st) << st.failure().message;
        EXPECT_EQ(st->earthwork, c.earthwork);
        EXPECT_NEAR(st->edgeH_m, edgeH, kLevel);
        EXPECT_NEAR(std::fabs(st->edgeOffset_m), 4.5, kLevel);
        EXPECT_EQ(st->move, c.move);
        ASSERT_EQ(st->designOffset_m.has_value(), c.design_m.has_value());
        if (c.design_m) {
            EXPECT_NEAR(*st->designOffset_m, *c.design_m, 1e-9);
            EXPECT_NEAR(*st->distance_m, std::fabs(*c.design_m - c.offset_m), 1e-9);
        }
    }
    // No cut slope on the right, no fill slope on the left.
    const Result<SlopeStake> none = slopeStake(road.section, road.route, 1500, 10, 120);
    ASSERT_FALSE(none);
    EXPECT_EQ(none.failure().message, "右侧没有挖方边坡。");
}

TEST(DesignSurface, NamesTheComponentAndTheSlopeAPointFallsOn) {
    const SlopedRoad road;
    const double edgeZ = -3.75 * 0.02 - 0.75 * 0.04;
    struct Case {
        double offset_m, H_m;
        const char* component;
        double elevation_m;
    } cases[] = {
        {1, 50, "行车道", -0.02},
        {-4, 150, "土路肩", -0.075 - 0.25 * 0.04},
        {17.5, 50, "平台", edgeZ - 8},
        {20, 50, "填方边坡第2级", edgeZ - 8 - (20 - 18.5) / 1.75},
        {-5.3, 150, "边沟", edgeZ - 0.6},
        {-5.0, 150, "边沟", edgeZ - 0.5},
        {-7, 150, "挖方边坡第1级", edgeZ + (7 - 6.1) / 0.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset_m);
        const std::optional<SurfacePoint> p =
            designSurfaceUnder(road.section, road.route, 1500, c.offset_m, c.H_m);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->component, c.component);
        EXPECT_NEAR(p->elevation_m, c.elevation_m, 1e-9);
        EXPECT_NEAR(*p->H_m, 100 + c.elevation_m, 1e-9);
    }
    // The design section in fill on the right, cut on the left: its break points in order.
    SectionRequest request;
    request.left = SectionEarthwork::Cut;
    request.lastStepHeight_m = 1;
    std::string names;
    for (const SectionPoint& p : designSection(road.section, road.route, 1500, request))
        names += p.name + " ";
    EXPECT_EQ(names,
              "左挖方第2级坡顶 左挖方第1级平台外缘 左挖方第1级坡顶 左边沟外缘 左边沟底外缘 "
              "左边沟底内缘 左土路肩边缘 左行车道边缘 中桩 右行车道边缘 右土路肩边缘 "
              "右填方第1级坡脚 右填方第1级平台外缘 右填方第2级坡脚 ");
}

// Every edge elevation continuous along a route of spiral curves, a curve without spirals, a
// reverse pair on a short tangent and a template change, about both axes: samples 1 cm apart
// differ by less than a millimetre.
TEST(CrossSectionContinuity, EveryEdgeAlongTheRoute) {
    const Route route =
        built(jdRoute({{25, 800, 150}, {-35, 600, 0}, {40, 500, 0}, {-20, 1500, 200}},
                      {700, 900, 380, 900, 700}));
    for (RotationAxis axis : {RotationAxis::CentreLine, RotationAxis::InnerEdge}) {
        SCOPED_TRACE(axis == RotationAxis::CentreLine ? "centre line" : "inner edge");
        // A median of 1 m at -2 % inside the lanes (on the inner side it takes the lanes' fall).
        SectionDesign d = twoLanes(2, axis);
        d.components.insert(d.components.begin() + 2,
                            component(SectionSide::Right, "中央分隔带", 1, -2, false, 2));
        d.components.insert(d.components.begin(),
                            component(SectionSide::Left, "中央分隔带", 1, -2, false, 2));
        // From 2500 on, a verge of 0.5 m at -3 % beyond the shoulder.
        for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
            for (TemplateRow r : {component(side, "中央分隔带", 1, -2, false, 4),
                                  component(side, "行车道", kLane_m, 0, true, 5),
                                  component(side, "土路肩", kShoulder_m, -4, false, 6),
                                  component(side, "护坡道", 0.5, -3, false, 7)}) {
                r.from = TableChainage{"2500", 2500, false};
                d.components.push_back(r);
            }
        }
        d.superelevations = {jdRow("JD1", 6, 0.6), jdRow("JD2", 7, 0.8, 120),
                             jdRow("JD3", 8, 1.0, 120, WideningTransition::HighOrder),
                             jdRow("JD4", 4, 0.4, std::nullopt, WideningTransition::HighOrder)};
        const Result<CrossSection> b = buildCrossSection(d, route);
        ASSERT_TRUE(b) << b.failures().front().message;
        ASSERT_EQ(b.warnings().size(), 1u);
        EXPECT_EQ(b.warnings()[0].message.rfind("JD2 与 JD3 是反向曲线", 0), 0u)
            << b.warnings()[0].message;
        std::map<std::string, std::pair<double, double>> last;
        double worst = 0;
        std::string where;
        for (double s = route.start_m; s <= route.end_m; s += 0.01) {
            for (const FormationEdge& e : formationEdges(*b, route, s)) {
                const std::string key = std::string(sideText(e.side)) + e.component;
                const auto it = last.find(key);
                if (it != last.end() && s - it->second.first < 0.011) {
                    const double jump = std::fabs(e.elevation_m - it->second.second);
                    if (jump > worst) {
                        worst = jump;
                        where = key + " at " + std::to_string(s);
                    }
                }
                last[key] = {s, e.elevation_m};
            }
        }
        EXPECT_LT(worst, kEdges) << where;
        // The columns of a table of edges: both templates' components, each once.
        std::string columns;
        for (const EdgeColumn& c : edgeColumns(*b))
            columns += sideText(c.side) + c.component + " ";
        EXPECT_EQ(columns,
                  "左中央分隔带 左行车道 左土路肩 左护坡道 右中央分隔带 右行车道 "
                  "右土路肩 右护坡道 ");
        // The new template starts at its chainage.
        EXPECT_EQ(formationEdges(*b, route, 2500).size(), 8u);
        EXPECT_EQ(formationEdges(*b, route, 2499.999).size(), 6u);
    }
}

// Bad records, each a fault on its line.
TEST(CrossSectionFaults, BadRecordsOnTheirLines) {
    OneCurve r;
    struct Case {
        const char* what;
        std::function<void(SectionDesign&)> spoil;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"no carriageway",
         [](SectionDesign& d) {
             for (TemplateRow& t : d.components)
                 t.followsCarriageway = false;
         },
         2, "模板没有行车道：至少一个部件的横坡要为“路拱”（随行车道的横坡）。"},
        {"a name twice on a side", [](SectionDesign& d) { d.components[1].component = "行车道"; },
         3, "左侧已有部件 行车道（第 2 行）。"},
        {"width 0", [](SectionDesign& d) { d.components[1].width_m = 0; }, 3,
         "土路肩的宽度 0 不大于 0：宽度要大于 0。"},
        {"cross-fall 25 %", [](SectionDesign& d) { d.components[1].crossFall_pct = -25; }, 3,
         "土路肩的横坡 -25% 超出 ±20%。"},
        {"superelevation 12 %",
         [](SectionDesign& d) { d.superelevations[0].superelevation_pct = 12; }, 21,
         "超高横坡 12% 超出 0 至 10%。"},
        {"widening 6 m", [](SectionDesign& d) { d.superelevations[0].widening_m = 6; }, 21,
         "加宽 6 m 超出 0 至 5 m。"},
        {"a JD the route lacks", [](SectionDesign& d) { d.superelevations[0].jd = "JD9"; }, 21,
         "路线没有交点 JD9：不能给它超高或加宽。"},
        {"slope step without ratio",
         [](SectionDesign& d) {
             d.slopes = {{41, SectionSide::Left, SlopeKind::Fill, 0, std::nullopt, 0}};
         },
         41, "坡率 1:0 要大于 0、不超过 20。"},
        {"berm on the last step",
         [](SectionDesign& d) {
             d.slopes = {{41, SectionSide::Left, SlopeKind::Fill, 1.5, 8.0, 2},
                         {42, SectionSide::Left, SlopeKind::Fill, 1.5, std::nullopt, 2}};
         },
         42, "左侧填方边坡的最后一级（高度留空）不能有平台：平台在一级边坡之后。"},
        {"no last step",
         [](SectionDesign& d) {
             d.slopes = {{41, SectionSide::Right, SlopeKind::Cut, 1, 8.0, 2}};
         },
         41, "右侧挖方边坡缺最后一级：最后一级的高度留空（一直到地面）。"},
        {"widening on a side without 行车道",
         [](SectionDesign& d) { d.components[2].component = "车道"; }, 21,
         "JD1 的加宽要加在右侧的行车道上：第 2 行起的模板那一侧没有名为“行车道”的部件。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SectionDesign d = twoLanes(2, RotationAxis::CentreLine);
        d.slopeTable = SectionDesign::Table{0, 40};
        d.superelevations.push_back(jdRow("JD1", 6, 0.5));
        c.spoil(d);
        const Result<CrossSection> b = buildCrossSection(d, r.route);
        EXPECT_FALSE(b);
        ASSERT_FALSE(b.failures().empty());
        EXPECT_EQ(b.failures().front().line, c.line);
        EXPECT_EQ(b.failures().front().message, c.message);
    }
}

}  // namespace
}  // namespace hcurve
