// Side points at a centre stake (roadbed edges or bored piles), on the stake's transverse axis,
// in one row or in a front and a back row; and the angle PPQ of a stake run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "curve/side_setup.h"

namespace hcurve {

/// The side tables of one stake. Each is indexed from 0 and used from 1.
struct SideTables {
    std::vector<double> xlp, ylp;              // left points on the axis, 0..dl_n
    std::vector<double> xrp, yrp;              // right points on the axis, 0..dr_n
    std::vector<double> leftRowX, leftRowY;    // left points as listed, 0..2*dl_n
    std::vector<double> rightRowX, rightRowY;  // right points as listed, 0..2*dr_n
};

/// The transverse axis of a stake: the cosine and sine of its azimuth and of the directions of the
/// front row (azimuth - 90) and of the back row (azimuth + 90), each angle used as it comes.
struct TransverseAxis {
    double cosA, sinA;
    double cosFront, sinFront;
    double cosBack, sinBack;
};

TransverseAxis transverseAxis(double axisAzimuth_deg, double f);

struct PlanePoint {
    double x_m;  // north
    double y_m;  // east
};

/// The point at signed distance d_m along the axis from (x_m, y_m): right points at +d, left ones
/// at -d.
inline PlanePoint onAxis(double x_m, double y_m, const TransverseAxis& axis, double d_m) {
    return {x_m + d_m * axis.cosA, y_m + d_m * axis.sinA};
}

/// Tables sized for the counts (0 <= count <= 16383), contents zero. A negative count sizes its
/// tables like 0 (element 0 only).
SideTables makeSideTables(std::int16_t dl_n, std::int16_t dr_n);

/// Computes the side points of the stake at (x_m, y_m) whose transverse axis has azimuth
/// axisAzimuth_deg into tables sized by makeSideTables for the same counts; dl and dr must hold
/// at least dl_n + 1 and dr_n + 1 elements. f is the degrees-to-radians factor.
void computeSidePoints(SideTables& tables, double x_m, double y_m, double axisAzimuth_deg,
                       const SideSetup& setup, double f);

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
