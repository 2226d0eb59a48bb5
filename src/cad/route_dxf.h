// What a plan drawing for CAD holds, and the route's: the centre line with its straights as lines,
// its arcs as true arcs and its spirals as polylines within a millimetre of the curve; the tangent
// polygon and the JDs; the characteristic points with their chainage texts; the stakes and side
// points with their names, at the design elevation where there is one. Each kind stands on its own
// layer (kDxfLayers).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "alignment/alignment.h"
#include "alignment/route.h"
#include "alignment/stake_table.h"
#include "cad/dxf_writer.h"

namespace hcurve {

/// The layers of a plan drawing, in the order the file lists them.
inline constexpr const char* kCentreLineLayer = "中线";
inline constexpr const char* kTangentLayer = "切线";
inline constexpr const char* kJdLayer = "交点";
inline constexpr const char* kMarkLayer = "特征点";
inline constexpr const char* kStakeLayer = "中桩";
inline constexpr const char* kSidePointLayer = "边桩";
inline constexpr const char* kNameLayer = "标注";

/// The largest distance between a spiral's polyline and the spiral.
inline constexpr double kSpiralChordError_m = 0.001;

/// A named point of the plan (X north, Y east).
struct PlanDrawingMark {
    std::string name;      // "JD3", "ZH"
    std::string chainage;  // "K12+345.678"; empty for a JD
    double x_m;
    double y_m;
    double tangent_deg;  // azimuth of the centre line there (not used for a JD)
};

/// A stake or side point with its name and, where it has one, its design elevation.
struct PlanDrawingPoint {
    std::string name;
    double x_m;
    double y_m;
    std::optional<double> H_m;
    int side;         // 0 centre stake, -1 left, +1 right
    double axis_deg;  // azimuth of its stake's transverse axis, towards the right
};

struct PlanDrawing {
    std::vector<Element> centreLine;  // in chainage order
    // BP, JD1 ... EP; empty without a JD table. A vertex without a name is no point of its own.
    std::vector<PlanDrawingMark> polygon;
    std::vector<PlanDrawingMark> marks;    // characteristic points
    std::vector<PlanDrawingPoint> points;  // stakes, each followed by its side points
};

/// The route's centre line, tangent polygon (for a route from a JD table) and characteristic
/// points (the start of each element by its name, BP where the first has none, QZ, EP), their
/// chainage texts with the chain breaks applied; no points.
PlanDrawing routePlanDrawing(const Route& route);

/// The vertices of a spiral's polyline: its start, its end, and between them a spacing by its
/// greatest curvature k for which the sagitta k s^2 / 8 stays within kSpiralChordError_m.
std::vector<AlignmentPoint> spiralVertices(const Element& spiral);

/// True when a path's extension is .dxf, in any case.
bool isDxfPath(const std::string& path);

/// The drawing as a DXF file (x east, y north, z the design elevation).
DxfDrawing planDxfDrawing(const PlanDrawing& plan);
std::string planDxf(const PlanDrawing& plan);

/// The route's plan drawing for CAD (routePlanDrawing) with the stakes and side points of a table,
/// named as routeExportPoints names them; without a table none.
PlanDrawing routeDrawing(const Route& route, const StakeTable* table, const StakeRequest& request);

}  // namespace hcurve
