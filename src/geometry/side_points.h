// Side points at a centre stake (roadbed edges or bored piles), on the stake's transverse axis,
// in one row or in a front and a back row; and the angle PPQ of a stake run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "curve/side_setup.h"

namespace hcurve {

/// A point of the plane: a side point, a vertex of the plan's drawing.
struct PlanePoint {
    double x_m;  // north
    double y_m;  // east
};

/// The transverse axis of a stake: the cosine and sine of its azimuth and of the directions of the
/// front row (azimuth - 90) and of the back row (azimuth + 90), each angle used as it comes.
struct TransverseAxis {
    double cosA, sinA;
    double cosFront, sinFront;
    double cosBack, sinBack;
};

/// The axis of azimuth axisAzimuth_deg, in the degrees of the stake position (radians are degrees
/// times kDegreeFactor).
TransverseAxis transverseAxis(double axisAzimuth_deg);

/// The side points wanted at a stake: distances along its transverse axis, left at -d and right at
/// +d, in one row or in a front row (front_m ahead of the axis) and a back row (back_m behind it).
/// skew_deg turns the axis clockwise from the normal where the axis is taken from the tangent
/// (sidePointsOf of an alignment point); a stake that has its axis already ignores it.
struct SideRequest {
    std::vector<double> left_m;
    std::vector<double> right_m;
    double skew_deg = 0;
    bool doubleRow = false;
    double front_m = 0;
    double back_m = 0;
};

/// The request of a one-curve side setup: its dl_n left and dr_n right distances (from 1; none on
/// a side whose count is not positive), each float widened exactly, and its rows (dd_n 1 a single
/// row, any other value two). The setup must hold its counts' distances.
SideRequest sideRequestOf(const SideSetup& setup);

/// The number of side points per stake for a request.
std::size_t sidePointCount(const SideRequest& request);

/// The side points of the stake at (x_m, y_m) whose transverse axis has azimuth axisAzimuth_deg,
/// into points (emptied first): per row (the front row first), the left points in the order asked,
/// then the right ones. The one formula of every side point, the one-curve stakes' and the
/// route's.
void sidePointsOnAxis(double x_m, double y_m, double axisAzimuth_deg, const SideRequest& request,
                      std::vector<PlanePoint>& points);

/// The angle PPQ of a run: the text the axis angle field shows and the value in signed decimal
/// degrees.
struct PpqSetting {
    std::string shown;
    double ppq_deg;
};

/// typed: the PPQ answer as typed (a DMS angle that reads as a number), or nothing when it was
/// not asked. Numerically 0 or not asked: "与中线正交" and 0; otherwise " " + the typed text (its
/// general text when it was typed with an exponent) and its DMS value. A text that does not read as
/// a number (the stake run checks the answer before) is taken as not asked.
PpqSetting preparePpq(const std::optional<std::string>& typed);

}  // namespace hcurve
