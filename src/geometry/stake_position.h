// Position of a centre stake on the alignment of one computed curve, and the azimuth of its
// transverse axis.
#pragma once

#include <optional>
#include <string>

#include "curve/angle.h"
#include "curve/curve_record.h"

namespace hcurve {

enum class Segment { IncomingTangent, FirstSpiral, Arc, SecondSpiral, OutgoingTangent };

/// The user's name of an element: 始端直线, 第一缓和曲线, 圆曲线, 第二缓和曲线, 终端直线.
std::string elementName(Segment element);

/// Local coordinates on a clothoid of parameter A at arc length l from its start: x along the
/// start tangent, y across it towards the inside of the curve (metres).
struct ClothoidPoint {
    double x_m;
    double y_m;
};

/// The clothoid to double precision: its series in the spiral angle l^2 / (2 A^2), summed until a
/// term no longer changes the sum.
ClothoidPoint clothoidPoint(double l_m, double A_m);

struct StakePosition {
    double x_m;              // north
    double y_m;              // east
    double axisAzimuth_deg;  // transverse axis, normalised once toward [0, 360)
    Segment segment;
};

/// The stake at chainage Kp_m with the transverse axis turned by PPQ_deg (clockwise positive)
/// from the stake normal. Nothing when no segment takes the chainage (never for a record from
/// computeCurve).
std::optional<StakePosition> centreStake(const CurveElements& curve, double Kp_m, double PPQ_deg);

}  // namespace hcurve
