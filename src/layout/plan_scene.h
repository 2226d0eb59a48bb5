// What the plan view draws of a computed curve and its last stake run, in world coordinates
// (metres, X north, Y east): the centre line through the elements of the curve's alignment
// (curveAlignment, which the DXF and the reverse calculation read too) from a little before ZH
// to a little after HZ, the JD and the circle centre, the characteristic points with their
// chainages, and the stakes with their side points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "curve/curve_record.h"
#include "geometry/side_points.h"

namespace hcurve {

/// A characteristic point: its name ("ZH", "ZY", ...) and chainage text; on a route also a JD of
/// the tangent polygon (without chainage).
struct PlanMark {
    PlanePoint at;
    std::string name;
    std::string chainage;
    /// Where its label goes, an azimuth; towards the circle centre when there is none.
    std::optional<double> labelAzimuth_deg;
};

struct PlanStake {
    PlanePoint at;
    std::string chainage;
    double normal_deg;  // azimuth of the normal towards the outside of the curve
    std::vector<PlanePoint> left, right;
};

struct PlanScene {
    std::string jdName;                  // "JD7"
    std::string title;                   // "JD7  右偏  R=500  A1=200  A2=250"
    int turn = 0;                        // +1 right-hand, -1 left-hand
    std::vector<PlanePoint> centreLine;  // the alignment, in chainage order
    PlanePoint jd{}, centre{};
    PlanePoint start{}, end{};      // ZH (ZY) and HZ (YZ), where the tangents meet the curve
    std::vector<PlanMark> marks;    // in chainage order
    std::vector<PlanStake> stakes;  // in the run's order
    /// A whole route: the tangent polygon BP, JD1 ... EP instead of the one JD and circle centre,
    /// and the labels of the characteristic points only where they find room.
    bool route = false;
    std::vector<PlanMark> polygon;
};

/// The scene of the record's computed curve (the record must hold one) and of its last stake run.
PlanScene planScene(const CurveRecord& record);

/// "JD" and the JD's name as its field shows it ("JD7" for "007", "JDA3" for "A3").
std::string jdName(const CurveRecord& record);

}  // namespace hcurve
