// The ground model as CGAL's Delaunay triangulation of the points, each vertex with its height.
// The triangulation's predicates are exact; heights and crossings are computed in doubles.
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "terrain/terrain_model.h"

namespace hcurve {
namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<double, Kernel>;
using DataStructure =
    CGAL::Triangulation_data_structure_2<VertexBase, CGAL::Triangulation_face_base_2<Kernel>>;
using Delaunay = CGAL::Delaunay_triangulation_2<Kernel, DataStructure>;
using Point = Kernel::Point_2;
using Face = Delaunay::Face_handle;

// Crossings of the line this near (in its parameter, metres) are one: where the line runs
// through a vertex or along an edge, the faces around it give it more than once, a rounding
// apart.
constexpr double kSameCrossing_m = 1e-6;

}  // namespace

class TerrainModel {
  public:
    Delaunay triangulation;
    // The points are moved by their centre before they are triangulated, so that the doubles of
    // the crossings keep their digits with coordinates of millions of metres.
    double x0_m = 0, y0_m = 0;
    // The face the last cut started in: the next stake is near it.
    mutable Face hint;
};

bool terrainModelAvailable() {
    return true;
}

Result<std::shared_ptr<const TerrainModel>> buildTerrainModel(
    const std::vector<SurveyedPoint>& points, std::size_t file) {
    if (points.size() < 3)
        return Failure{"地面点至少要有三个，现在只有 " + std::to_string(points.size()) + " 个。",
                       points.empty() ? 1 : points.back().line, file};
    auto model = std::make_shared<TerrainModel>();
    double xMin = points[0].x_m, xMax = xMin, yMin = points[0].y_m, yMax = yMin;
    for (const SurveyedPoint& p : points) {
        xMin = std::min(xMin, p.x_m), xMax = std::max(xMax, p.x_m);
        yMin = std::min(yMin, p.y_m), yMax = std::max(yMax, p.y_m);
    }
    model->x0_m = std::round((xMin + xMax) / 2);
    model->y0_m = std::round((yMin + yMax) / 2);
    std::vector<std::pair<Point, double>> placed;
    placed.reserve(points.size());
    // The triangulation's plane is (east, north), so that its counter-clockwise is the map's.
    for (const SurveyedPoint& p : points)
        placed.emplace_back(Point(p.y_m - model->y0_m, p.x_m - model->x0_m), p.H_m);
    model->triangulation.insert(placed.begin(), placed.end());
    if (model->triangulation.dimension() < 2)
        return Failure{"地面点都在一条直线上，不能构成地面模型。", points.front().line, file};
    return std::shared_ptr<const TerrainModel>(std::move(model));
}

namespace {

// The height at (u, v) in the plane of a finite face.
double heightIn(const Face& f, double u, double v) {
    const Point& a = f->vertex(0)->point();
    const Point& b = f->vertex(1)->point();
    const Point& c = f->vertex(2)->point();
    const double ax = a.x(), ay = a.y();
    const double bx = b.x() - ax, by = b.y() - ay, cx = c.x() - ax, cy = c.y() - ay;
    const double px = u - ax, py = v - ay;
    const double det = bx * cy - by * cx;
    const double s = (px * cy - py * cx) / det;
    const double t = (bx * py - by * px) / det;
    const double ha = f->vertex(0)->info();
    return ha + s * (f->vertex(1)->info() - ha) + t * (f->vertex(2)->info() - ha);
}

// An edge at a smaller angle than this (radians) to the line runs along it: the line's exit from
// the face is told by the other edges, since the quotient of two roundings would stand for it.
constexpr double kAlongEdge_rad = 1e-6;

// Where the line (u0, v0) + t (du, dv), (du, dv) a unit vector, leaves a finite face: the largest
// t inside it.
double exitOf(const Face& f, double u0, double v0, double du, double dv) {
    double tExit = HUGE_VAL;
    for (int i = 0; i < 3; ++i) {
        const Point& p = f->vertex(i)->point();
        const Point& q = f->vertex((i + 1) % 3)->point();
        const double ex = q.x() - p.x(), ey = q.y() - p.y();
        // Inside is on the left of each edge (the face is counter-clockwise).
        const double at = ex * (v0 - p.y()) - ey * (u0 - p.x());
        const double rate = ex * dv - ey * du;
        if (rate < -kAlongEdge_rad * std::hypot(ex, ey))
            tExit = std::min(tExit, at / -rate);
    }
    return tExit;
}

// The crossings of one side: from the point along (du, dv) up to reach_m, each as its parameter
// and height. leaves: the hull comes first.
void walk(const Delaunay& dt, Face start, const Point& from, double du, double dv, double reach_m,
          std::vector<std::pair<double, double>>& crossings, bool& leaves) {
    const Point to(from.x() + du * reach_m, from.y() + dv * reach_m);
    Delaunay::Line_face_circulator faces = dt.line_walk(from, to, start), first = faces;
    double last = 0;
    if (faces == nullptr) {
        leaves = true;
        return;
    }
    do {
        if (dt.is_infinite(faces)) {
            leaves = true;
            return;
        }
        const Face f = faces;
        const double t = exitOf(f, from.x(), from.y(), du, dv);
        if (t >= reach_m) {
            crossings.emplace_back(reach_m,
                                   heightIn(f, from.x() + du * reach_m, from.y() + dv * reach_m));
            return;
        }
        if (t > last + kSameCrossing_m) {
            crossings.emplace_back(t, heightIn(f, from.x() + du * t, from.y() + dv * t));
            last = t;
        }
        ++faces;
    } while (faces != first);
    leaves = true;
}

}  // namespace

TerrainCut cutSection(const TerrainModel& model, double x_m, double y_m, double dx, double dy,
                      double reach_m) {
    TerrainCut cut;
    const Delaunay& dt = model.triangulation;
    const Point at(y_m - model.y0_m, x_m - model.x0_m);
    Delaunay::Locate_type type;
    int index = 0;
    const Face f = dt.locate(at, type, index, model.hint);
    if (f == nullptr || type == Delaunay::OUTSIDE_CONVEX_HULL ||
        type == Delaunay::OUTSIDE_AFFINE_HULL || dt.is_infinite(f)) {
        cut.outside = true;
        return cut;
    }
    model.hint = f;
    // In the plane (east, north) the direction is (dy, dx).
    std::vector<std::pair<double, double>> left, right;
    walk(dt, f, at, -dy, -dx, reach_m, left, cut.leavesLeft);
    walk(dt, f, at, dy, dx, reach_m, right, cut.leavesRight);
    cut.points.reserve(left.size() + right.size() + 1);
    for (auto k = left.rbegin(); k != left.rend(); ++k)
        cut.points.push_back({-k->first, k->second});
    cut.points.push_back({0, heightIn(f, at.x(), at.y())});
    for (const auto& [t, H] : right)
        cut.points.push_back({t, H});
    return cut;
}

std::optional<double> terrainHeightAt(const TerrainModel& model, double x_m, double y_m) {
    const Delaunay& dt = model.triangulation;
    const Point at(y_m - model.y0_m, x_m - model.x0_m);
    Delaunay::Locate_type type;
    int index = 0;
    const Face f = dt.locate(at, type, index, model.hint);
    if (f == nullptr || type == Delaunay::OUTSIDE_CONVEX_HULL ||
        type == Delaunay::OUTSIDE_AFFINE_HULL || dt.is_infinite(f))
        return std::nullopt;
    model.hint = f;
    return heightIn(f, at.x(), at.y());
}

}  // namespace hcurve
