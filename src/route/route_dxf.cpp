#include "route/route_dxf.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "curve/angle.h"

namespace hcurve {
namespace {

// Text heights (metres on the ground: 3 mm, 1.5 mm and 1 mm on a 1:1000 sheet) and the gap between
// a point and its label, in text heights.
constexpr double kMarkTextHeight_m = 3;
constexpr double kNameTextHeight_m = 1.5;
constexpr double kSideNameTextHeight_m = 1.0;
constexpr double kLabelGap = 0.6;
// The spacing stays a little inside the bound, for the rounding of the vertices.
constexpr double kSpacingMargin = 0.9;
// Carries at most this many vertices, whatever the curvature.
constexpr double kMostSpiralVertices = 100000;
// The start of a route whose first element has no name of its own.
constexpr char kStartName[] = "BP";

DxfPoint onPlan(double x_m, double y_m, double z_m = 0) {
    return {y_m, x_m, z_m};
}

// The drawing's angle (counter-clockwise from east) of a direction from one point to another.
double planAngle_tdeg(double fromX_m, double fromY_m, double toX_m, double toY_m) {
    return fromEast_tdeg(toY_m - fromY_m, toX_m - fromX_m);
}

// A label beside its point, reading along an azimuth outward from it: turned to read from left
// to right, and then ending at the point's side instead of starting there.
void label(DxfDrawing& drawing, const std::string& layer, double x_m, double y_m, double z_m,
           double outward_tdeg, double height_m, const std::string& text) {
    const double radians = outward_tdeg / kTrueDegreesPerRadian;
    const double gap = kLabelGap * height_m;
    const DxfPoint at = onPlan(x_m + gap * std::cos(radians), y_m + gap * std::sin(radians), z_m);
    double rotation = wrapSigned_tdeg(kQuarterTurn_tdeg - outward_tdeg);
    DxfAlign align = DxfAlign::Left;
    if (rotation > kQuarterTurn_tdeg || rotation <= -kQuarterTurn_tdeg) {
        rotation += rotation > 0 ? -kHalfTurn_tdeg : kHalfTurn_tdeg;
        align = DxfAlign::Right;
    }
    drawing.text(layer, at, height_m, text, rotation, align);
}

// Control characters cannot stand in a DXF text.
std::string printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return text;
}

}  // namespace

std::vector<AlignmentPoint> spiralVertices(const Element& spiral) {
    const double k =
        std::max(std::fabs(spiral.startCurvature_per_m()), std::fabs(spiral.endCurvature_per_m()));
    const double length = spiral.length_m();
    double pieces = 1;
    if (k > 0) {
        const double spacing = kSpacingMargin * std::sqrt(8 * kSpiralChordError_m / k);
        pieces = std::min(std::ceil(length / spacing), kMostSpiralVertices);
    }
    const int n = std::max(1, static_cast<int>(pieces));
    std::vector<AlignmentPoint> vertices;
    vertices.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i)
        vertices.push_back(spiral.at(spiral.start_m() + length * i / n));
    return vertices;
}

PlanDrawing routePlanDrawing(const Route& route) {
    PlanDrawing plan;
    plan.centreLine = route.alignment.elements;
    for (const RoutePointRow& p : route.points)
        plan.polygon.push_back({p.name, "", p.x_m, p.y_m, 0});
    auto mark = [&](const std::string& name, double at_m) {
        const AlignmentPoint p = route.alignment.at(at_m);
        plan.marks.push_back({name, stakeText(route, at_m), p.x_m, p.y_m, p.azimuth_deg});
    };
    // The start is marked as the end is: by the name of its point, BP where an element route's
    // first row names none.
    if (!route.alignment.elements.empty() && route.alignment.elements.front().name.empty())
        mark(kStartName, route.alignment.elements.front().start_m());
    for (const Element& e : route.alignment.elements) {
        if (!e.name.empty())
            mark(e.name, e.start_m());
        if (!e.middleName.empty())
            mark(e.middleName, e.start_m() + e.length_m() / 2);
    }
    if (!route.alignment.elements.empty() && !route.alignment.endName.empty())
        mark(route.alignment.endName, route.alignment.end_m());
    return plan;
}

DxfDrawing planDxfDrawing(const PlanDrawing& plan) {
    DxfDrawing drawing;
    drawing.addLayer(kCentreLineLayer, 1);
    drawing.addLayer(kTangentLayer, 4);
    drawing.addLayer(kJdLayer, 6);
    drawing.addLayer(kMarkLayer, 3);
    drawing.addLayer(kStakeLayer, 7);
    drawing.addLayer(kSidePointLayer, 5);
    drawing.addLayer(kNameLayer, 7);

    for (const Element& e : plan.centreLine) {
        if (!(e.length_m() > 0))
            continue;
        const AlignmentPoint a = e.at(e.start_m());
        const AlignmentPoint b = e.at(e.end_m());
        switch (e.kind()) {
            case ElementKind::Straight:
                drawing.line(kCentreLineLayer, onPlan(a.x_m, a.y_m), onPlan(b.x_m, b.y_m));
                break;
            case ElementKind::Arc: {
                // Counter-clockwise on the drawing: from the start for a left-hand arc, from the
                // end for a right-hand one.
                const double cx = e.centreX_m(), cy = e.centreY_m();
                const double fromStart = planAngle_tdeg(cx, cy, a.x_m, a.y_m);
                const double fromEnd = planAngle_tdeg(cx, cy, b.x_m, b.y_m);
                const bool right = e.startCurvature_per_m() > 0;
                drawing.arc(kCentreLineLayer, onPlan(cx, cy), e.radius_m(),
                            right ? fromEnd : fromStart, right ? fromStart : fromEnd);
                break;
            }
            case ElementKind::Spiral: {
                std::vector<DxfPoint> vertices;
                for (const AlignmentPoint& p : spiralVertices(e))
                    vertices.push_back(onPlan(p.x_m, p.y_m));
                drawing.polyline(kCentreLineLayer, vertices);
                break;
            }
        }
    }

    for (std::size_t i = 0; i + 1 < plan.polygon.size(); ++i) {
        const PlanDrawingMark& a = plan.polygon[i];
        const PlanDrawingMark& b = plan.polygon[i + 1];
        drawing.line(kTangentLayer, onPlan(a.x_m, a.y_m), onPlan(b.x_m, b.y_m));
    }
    for (const PlanDrawingMark& p : plan.polygon) {
        if (p.name.empty())
            continue;
        drawing.point(kJdLayer, onPlan(p.x_m, p.y_m));
        drawing.text(kJdLayer, onPlan(p.x_m + kMarkTextHeight_m, p.y_m + kMarkTextHeight_m),
                     kMarkTextHeight_m, printable(p.name));
    }

    // A characteristic point's label reads out to the right of the road, a stake's to the left
    // across its side points, a side point's ahead beside the road, so that the labels of the
    // points of one stake cross none of the others'.
    for (const PlanDrawingMark& m : plan.marks) {
        drawing.point(kMarkLayer, onPlan(m.x_m, m.y_m));
        label(drawing, kMarkLayer, m.x_m, m.y_m, 0,
              drawingAngle_tdeg(m.tangent_deg + kRightAngle_deg), kMarkTextHeight_m,
              printable(m.name + " " + m.chainage));
    }
    for (const PlanDrawingPoint& p : plan.points) {
        const double z = p.H_m ? *p.H_m : 0;
        drawing.point(p.side == 0 ? kStakeLayer : kSidePointLayer, onPlan(p.x_m, p.y_m, z));
        if (p.side == 0)
            label(drawing, kNameLayer, p.x_m, p.y_m, z,
                  drawingAngle_tdeg(p.axis_deg) + kHalfTurn_tdeg, kNameTextHeight_m,
                  printable(p.name));
        else
            label(drawing, kNameLayer, p.x_m, p.y_m, z,
                  drawingAngle_tdeg(p.axis_deg) - kQuarterTurn_tdeg, kSideNameTextHeight_m,
                  printable(p.name));
    }
    return drawing;
}

bool isDxfPath(const std::string& path) {
    const std::size_t dot = path.find_last_of("./\\");
    if (dot == std::string::npos || path[dot] != '.' || path.size() - dot != 4)
        return false;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "dxf";
}

std::string planDxf(const PlanDrawing& plan) {
    return planDxfDrawing(plan).bytes();
}

}  // namespace hcurve
