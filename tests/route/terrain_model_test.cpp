// The ground model of terrain points: sections cut from the triangulation of points sampled from a
// known surface, against the surface. On a plane the model is the plane, so every point of a cut
// is exact. On a quadric z = a x² + b y² + c xy + d x + e y + f sampled on a square grid of spacing
// h, every triangle of the Delaunay triangulation is half a grid square (the four corners are
// cocircular, either diagonal may be drawn), whose smallest enclosing circle has the radius
// h·√2/2; linear interpolation on a triangle errs by at most M·r²/2 for a function whose Hessian
// has norm at most M (Waldron, "The error in linear interpolation at the vertices of a simplex",
// 1998), so here by M·h²/4, M the Hessian's largest eigenvalue in magnitude.
// A cut is exact piecewise-linear: its points are where the line crosses the triangles' edges,
// so every grid line it crosses gives one of them.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "terrain/terrain_model.h"

namespace hcurve {
namespace {

using Surface = std::function<double(double x, double y)>;

// The points of a grid of spacing h over [x0, x0 + nx h] × [y0, y0 + ny h], heights from the
// surface; the grid's origin is moved to a surveyor's coordinates (millions of metres).
constexpr double kNorth0_m = 3456000, kEast0_m = 512000;

std::vector<SurveyedPoint> gridPoints(const Surface& z, double x0, double y0, int nx, int ny,
                                      double h) {
    std::vector<SurveyedPoint> points;
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j) {
            const double x = x0 + i * h, y = y0 + j * h;
            points.push_back(
                {static_cast<int>(points.size()) + 1, "P", kNorth0_m + x, kEast0_m + y, z(x, y)});
        }
    return points;
}

std::shared_ptr<const TerrainModel> modelOf(const std::vector<SurveyedPoint>& points) {
    Result<std::shared_ptr<const TerrainModel>> building = buildTerrainModel(points, 1);
    EXPECT_TRUE(building.ok());
    return building ? *building : nullptr;
}

struct Line {
    double x, y;    // through (local north, east)
    double az_deg;  // direction to the right, true degrees from north
};

TerrainCut cutAlong(const TerrainModel& model, const Line& l, double reach_m) {
    const double a = l.az_deg * 3.14159265358979323846 / 180;
    return cutSection(model, kNorth0_m + l.x, kEast0_m + l.y, std::cos(a), std::sin(a), reach_m);
}

TEST(TerrainModel, SectionsOfAPlaneAreThePlane) {
    if (!terrainModelAvailable())
        GTEST_SKIP() << "no triangulation in this build";
    const Surface plane = [](double x, double y) { return 120.5 + 0.031 * x - 0.047 * y; };
    // A jittered grid: not the grid's symmetry, the triangles of any shape.
    std::vector<SurveyedPoint> points;
    unsigned seed = 12345;
    const auto jitter = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) % 1000) / 1000.0 - 0.5;
    };
    for (int i = 0; i <= 60; ++i)
        for (int j = 0; j <= 40; ++j) {
            const double x = i * 5 + 2 * jitter(), y = -100 + j * 5 + 2 * jitter();
            points.push_back({0, "P", kNorth0_m + x, kEast0_m + y, plane(x, y)});
        }
    const auto model = modelOf(points);
    ASSERT_TRUE(model);
    for (const Line& l : {Line{150, 0, 90}, Line{37.3, -12.9, 123.4}, Line{250, 40, 17}}) {
        const TerrainCut cut = cutAlong(*model, l, 30);
        ASSERT_FALSE(cut.outside);
        EXPECT_FALSE(cut.leavesLeft || cut.leavesRight);
        ASSERT_GE(cut.points.size(), 3u);
        EXPECT_DOUBLE_EQ(cut.points.front().offset_m, -30);
        EXPECT_DOUBLE_EQ(cut.points.back().offset_m, 30);
        const double a = l.az_deg * 3.14159265358979323846 / 180;
        for (std::size_t k = 0; k < cut.points.size(); ++k) {
            const GroundPoint& p = cut.points[k];
            if (k > 0) {
                EXPECT_GT(p.offset_m, cut.points[k - 1].offset_m);
            }
            EXPECT_NEAR(
                p.H_m, plane(l.x + p.offset_m * std::cos(a), l.y + p.offset_m * std::sin(a)), 1e-9);
        }
    }
}

TEST(TerrainModel, SectionsOfAQuadricWithinTheInterpolationBound) {
    if (!terrainModelAvailable())
        GTEST_SKIP() << "no triangulation in this build";
    const double a = 0.002, b = -0.0015, c = 0.003, d = 0.02, e = -0.01, f = 95;
    const Surface quadric = [=](double x, double y) {
        return a * x * x + b * y * y + c * x * y + d * x + e * y + f;
    };
    // The Hessian [[2a, c], [c, 2b]]: its eigenvalues (a + b) ± √((a − b)² + c²).
    const double M = std::fabs(a + b) + std::sqrt((a - b) * (a - b) + c * c);
    const double h = 4;
    const double bound = M * h * h / 4;
    const auto model = modelOf(gridPoints(quadric, 0, -60, 100, 30, h));
    ASSERT_TRUE(model);
    double worst = 0;
    for (const Line& l :
         {Line{200, 0, 90}, Line{101, 3, 60}, Line{300.5, -7.25, 135}, Line{50, 10, 0},
          // Along a grid line through its vertices, a rounding off its direction (as a stake's
          // normal is from an azimuth of 0): no crossings but the vertices.
          Line{200 + 5e-10, 0, 90 + 3e-9}}) {
        const TerrainCut cut = cutAlong(*model, l, 40);
        ASSERT_FALSE(cut.outside);
        const double az = l.az_deg * 3.14159265358979323846 / 180;
        const double ca = std::cos(az), sa = std::sin(az);
        const auto at = [&](double o) { return quadric(l.x + o * ca, l.y + o * sa); };
        // The line between the cut's points and at them, against the surface.
        for (std::size_t k = 0; k + 1 < cut.points.size(); ++k) {
            const GroundPoint& p = cut.points[k];
            const GroundPoint& q = cut.points[k + 1];
            for (double t : {0.0, 0.25, 0.5, 0.75}) {
                const double o = p.offset_m + t * (q.offset_m - p.offset_m);
                const double H = p.H_m + t * (q.H_m - p.H_m);
                worst = std::max(worst, std::fabs(H - at(o)));
            }
        }
        // Every grid line the cut crosses (north x = i h, east y = j h) is one of its points, but
        // one it runs along (within a micro-radian: its crossing is a rounding's).
        std::vector<double> crossings;
        for (int i = 0; i <= 100; ++i)
            if (std::fabs(ca) > 1e-6) {
                const double o = (i * h - l.x) / ca;
                if (std::fabs(o) < 40 - 1e-6)
                    crossings.push_back(o);
            }
        for (int j = 0; j <= 30; ++j)
            if (std::fabs(sa) > 1e-6) {
                const double o = (-60 + j * h - l.y) / sa;
                if (std::fabs(o) < 40 - 1e-6)
                    crossings.push_back(o);
            }
        // And every point of the cut, but its ends and the centre, is on a triangle's edge: a
        // grid line or a square's diagonal.
        for (std::size_t k = 1; k + 1 < cut.points.size(); ++k) {
            const double o = cut.points[k].offset_m;
            if (o == 0)
                continue;
            double fx = (l.x + o * ca) / h, fy = (l.y + o * sa + 60) / h;
            fx -= std::floor(fx);
            fy -= std::floor(fy);
            const auto near = [](double u, double v) { return std::fabs(u - v) < 1e-6; };
            EXPECT_TRUE(near(fx, 0) || near(fx, 1) || near(fy, 0) || near(fy, 1) || near(fx, fy) ||
                        near(fx, 1 - fy))
                << "a point off every edge at offset " << o;
        }
        for (double o : crossings) {
            const bool found =
                std::any_of(cut.points.begin(), cut.points.end(),
                            [&](const GroundPoint& p) { return std::fabs(p.offset_m - o) < 1e-6; });
            EXPECT_TRUE(found) << "grid line crossed at offset " << o;
        }
    }
    EXPECT_LE(worst, bound);
    // The bound is no empty one: the model is not the surface.
    EXPECT_GT(worst, bound / 100);
}

TEST(TerrainModel, ALineThatLeavesTheHullEndsThereAndAPointOutsideHasNoSection) {
    if (!terrainModelAvailable())
        GTEST_SKIP() << "no triangulation in this build";
    // A square of 100 m: north 0..100, east 0..100.
    const auto model = modelOf(gridPoints([](double, double) { return 50.0; }, 0, 0, 10, 10, 10));
    ASSERT_TRUE(model);
    // Through (50, 20) heading east: the hull is 20 m to the left, 80 m to the right.
    TerrainCut cut = cutAlong(*model, {50, 20, 90}, 30);
    EXPECT_TRUE(cut.leavesLeft);
    EXPECT_FALSE(cut.leavesRight);
    EXPECT_NEAR(cut.points.front().offset_m, -20, 1e-9);
    EXPECT_NEAR(cut.points.back().offset_m, 30, 1e-9);
    cut = cutAlong(*model, {50, 20, 90}, 150);
    EXPECT_TRUE(cut.leavesLeft && cut.leavesRight);
    EXPECT_NEAR(cut.points.back().offset_m, 80, 1e-9);
    // Diagonally through the centre: corner to corner, 50√2 each way.
    cut = cutAlong(*model, {50, 50, 45}, 100);
    EXPECT_NEAR(cut.points.front().offset_m, -50 * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(cut.points.back().offset_m, 50 * std::sqrt(2.0), 1e-9);
    // Along a grid line through its vertices, a rounding off its direction and its place (as a
    // stake's normal and position are): the vertices it runs through, and no point besides.
    cut = cutAlong(*model, {50 + 5e-10, 20, 90 + 3e-9}, 30);
    std::vector<double> offsets;
    for (const GroundPoint& p : cut.points)
        offsets.push_back(std::round(p.offset_m * 1e6) / 1e6);
    EXPECT_EQ(offsets, (std::vector<double>{-20, -10, 0, 10, 20, 30}));
    cut = cutAlong(*model, {50, 120, 90}, 30);
    EXPECT_TRUE(cut.outside);
    EXPECT_TRUE(cut.points.empty());
}

TEST(TerrainModel, PointsThatMakeNoModelAreRefused) {
    const std::vector<SurveyedPoint> two = {{2, "A", 0, 0, 1}, {3, "B", 10, 0, 1}};
    const std::vector<SurveyedPoint> aligned = {
        {2, "A", 0, 0, 1}, {3, "B", 10, 10, 1}, {4, "C", 20, 20, 1}, {5, "D", 30, 30, 2}};
    if (!terrainModelAvailable()) {
        const Result<std::shared_ptr<const TerrainModel>> none = buildTerrainModel(aligned, 1);
        ASSERT_FALSE(none);
        ASSERT_EQ(none.failures().size(), 1u);
        EXPECT_EQ(none.failure().message,
                  "这个版本不能由地面点建地面模型（没有三角网）：请给出地面横断面文件（BEGIN 或 "
                  "桩号,偏距,高程）。");
        return;
    }
    struct Case {
        const std::vector<SurveyedPoint>& points;
        int line;
        const char* fault;
    };
    for (const Case& c : {Case{two, 3, "地面点至少要有三个，现在只有 2 个。"},
                          Case{aligned, 2, "地面点都在一条直线上，不能构成地面模型。"}}) {
        const Result<std::shared_ptr<const TerrainModel>> building = buildTerrainModel(c.points, 1);
        ASSERT_FALSE(building);
        ASSERT_EQ(building.failures().size(), 1u);
        EXPECT_EQ(building.failure().line, c.line);
        EXPECT_EQ(building.failure().file, 1u);
        EXPECT_EQ(building.failure().message, c.fault);
    }
}

}  // namespace
}  // namespace hcurve
