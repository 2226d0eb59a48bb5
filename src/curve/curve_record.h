// The curve record: the one piece of state the commands of the main window share. It lives as
// long as the window, starts empty and is never cleared; each command reads what the last one
// left and overwrites what it computes.
//
// Design values are read into numbers once, when the user accepts them; only the JD's name stays
// text, since it need not be a number and is shown and printed as typed. Computed values are
// doubles, counts and flags 16-bit integers, side and row distances 32-bit floats. Tables are
// indexed from 0 and used from 1: element 0 is allocated but never used.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
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

/// The side-point setup of the last stake run, kept with its stakes: the record's own setup may be
/// entered anew before the stakes are used again (exported), and the side points must then be
/// those the run listed.
struct RunSideSetup : SideSetup {
    bool sidePointsOn = false;
    double ppq_deg = 0;                   // PPQ in signed decimal degrees, 0 when not asked
    std::vector<double> axisAzimuth_deg;  // transverse axis of each stake, 0..number of stakes
};

/// The window-level state all commands share; its side-point setup (the SideSetup it is) is the
/// one last entered.
struct CurveRecord : SideSetup {
    // Side-point question.
    std::string pp_dk;      // answer to the side-point question; side points wanted when "y" or "Y"
    std::int16_t dlxp = 0;  // nonzero: counts and distances were entered with the design data

    // The design last accepted: the JD's name as typed, and the numbers.
    std::string JD;
    DesignValues design;

    /// The computed curve; empty until a design has been computed, and again after a design that
    /// could not be computed.
    std::optional<CurveElements> curve;

    // The last stake run; a newly computed curve drops it.
    std::size_t stakeCount = 0;          // number of stakes (0 before any run)
    std::vector<double> Kp;              // chainages, 0..n
    std::vector<double> stakeX, stakeY;  // coordinates, 0..n
    RunSideSetup runSides;               // its side-point setup
    std::uint32_t stakeRuns = 0;         // runs so far: tells a new run from a repeated one
};

/// The number of stakes of the last run, as far as the stake tables hold them; 0 before any run.
inline std::size_t stakesOfLastRun(const CurveRecord& record) {
    std::size_t n = record.stakeCount;
    for (std::size_t size : {record.Kp.size(), record.stakeX.size(), record.stakeY.size()})
        n = std::min(n, size == 0 ? 0 : size - 1);
    return n;
}

/// Side points are wanted when the answer was "y" or "Y".
inline bool sidePointsOn(const CurveRecord& record) {
    return record.pp_dk == "y" || record.pp_dk == "Y";
}

}  // namespace hcurve
