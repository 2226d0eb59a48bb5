// The curve record: the one piece of state the commands of the main window share. It lives as
// long as the window, starts empty and is never cleared; each command reads what the last one
// left and overwrites what it computes.
//
// Design values are read into numbers once, when the user accepts them; only the JD's name stays
// text, since it need not be a number and is shown and printed as typed. Computed values are
// doubles, counts and flags 16-bit integers, side and row distances 32-bit floats. The last stake
// run is one value, its stakes in the order they were asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "curve/design_values.h"
#include "curve/side_setup.h"

namespace hcurve {

/// The curve elements and characteristic points computed from one design. Lengths, chainages and
/// coordinates in metres (X north, Y east); angles in decimal degrees; azimuths clockwise from
/// north.
struct CurveElements {
    // Numeric design values the computation used.
    double K = 0, X = 0, Y = 0;    // JD chainage and coordinates, m
    double R = 0, A1 = 0, A2 = 0;  // radius and spiral parameters, m
    double f = 0;                  // degrees-to-radians factor

    // p and T keep the names the formulas give them, although they sit beside p1, p2 and T1, T2:
    // p is no shift but the turn's sign, T no length but the azimuth typed into the T field.
    std::int16_t p = 0;           // turn sign: +1 right-hand, -1 left-hand
    double T = 0;                 // azimuth of the incoming tangent at ZH, degrees
    double B = 0;                 // absolute deflection, degrees
    double halfB = 0;             // B / 2, degrees
    double tb = 0;                // azimuth of the outgoing tangent at HZ, degrees in [0, 360)
    double tj = 0;                // azimuth from the circle centre to HY (ZY), degrees in [0, 360)
    double beta1 = 0, beta2 = 0;  // spiral angles, degrees

    double Ls1 = 0, Ls2 = 0;  // spiral lengths
    double q1 = 0, p1 = 0;    // tangent offset and shift of the entry spiral
    double q2 = 0, p2 = 0;    // the same for the exit spiral
    double T1 = 0, T2 = 0;    // entry and exit tangent lengths from the JD
    double Lf = 0;            // circular arc length

    double zh = 0, hy = 0, yh = 0, hz = 0;  // chainages of ZH, HY, YH, HZ
    double ZY = 0, YZ = 0;                  // chainages of ZY, YZ (only meaningful without spiral)
    double xa = 0, ya = 0;                  // ZH (ZY)
    double xh1 = 0, yh1 = 0;                // HY (ZY when A1 = 0)
    double xh2 = 0, yh2 = 0;                // YH (YZ when A2 = 0)
    double xb = 0, yb = 0;                  // HZ (YZ)
    double Xo = 0, Yo = 0;                  // circle centre
};

/// One centre stake of a run: its chainage, where it stands and the transverse axis its side points
/// are laid out along (the normal turned by the run's PPQ). A chainage where no stake can be
/// computed keeps position 0, 0 and the axis of the stake before it (0 for the first).
struct Stake {
    double chainage_m = 0;
    double x_m = 0, y_m = 0;  // north, east
    double axisAzimuth_deg = 0;
};

/// A stake run: its centre stakes and the side-point setup it was computed with. The record's own
/// setup may be entered anew before the run is used again (exported), and the side points must then
/// be those the run listed; they are derived per stake from this setup, never kept.
struct StakeRun {
    std::vector<Stake> stakes;       // in the order asked for; the count is its size
    std::optional<SideSetup> sides;  // none when the run had side points off
    double ppq_dms = 0;              // the transverse axis from the normal, DMS; 0: along it
};

/// The window-level state all commands share.
struct CurveRecord {
    // The side-point question of 开始计算, under the names every part of the program reads them by:
    // pp_dk is the answer as typed (side points wanted when "y" or "Y", sidePointsOn), dlxp the
    // answer to "widths now?" (nonzero: the counts and distances were entered with the design
    // data, and the stake run does not ask them again; the run never changes it).
    std::string pp_dk;
    std::int16_t dlxp = 0;

    /// The side-point setup last entered, by 开始计算 or by a stake run; a run keeps its own copy.
    SideSetup sides;

    // The design last accepted: the JD's name as typed, and the numbers.
    std::string JD;
    DesignValues design;

    /// The computed curve; empty until a design has been computed, and again after a design that
    /// could not be computed.
    std::optional<CurveElements> curve;

    StakeRun lastRun;             // the last stake run: no stakes before any, a new curve drops it
    std::uint32_t stakeRuns = 0;  // runs so far: tells a new run from a repeated one

    /// The curve files opened so far (打开曲线), as named then: inputs, which no export, plan or
    /// report may replace.
    std::vector<std::string> curveFiles;
};

/// Side points are wanted when the answer was "y" or "Y".
inline bool sidePointsOn(const CurveRecord& record) {
    return record.pp_dk == "y" || record.pp_dk == "Y";
}

}  // namespace hcurve
