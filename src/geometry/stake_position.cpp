#include "geometry/stake_position.h"

#include <cmath>

namespace hcurve {
namespace {

constexpr double kRightAngle_deg = 90.0;
constexpr double kHalfCircle_deg = 180.0;
constexpr double kFullCircle_deg = 360.0;

// Denominators of the clothoid series, x to l^17 and y to l^15.
constexpr double kX5 = 40.0;
constexpr double kX9 = 3456.0;
constexpr double kX13 = 599040.0;
constexpr double kX17 = 175472640.0;
constexpr double kY3 = 6.0;
constexpr double kY7 = 336.0;
constexpr double kY11 = 42240.0;
constexpr double kY15 = 9676800.0;

// Chord from the spiral's start to the point at arc length l_m: its length and its deflection
// from the start tangent in degrees.
struct Chord {
    double length_m;
    double deflection_deg;
};

Chord spiralChord(double l_m, double A_m, double f) {
    ClothoidPoint pt = clothoidPoint(l_m, A_m);
    return {std::sqrt(std::pow(pt.x_m, 2) + std::pow(pt.y_m, 2)), std::atan(pt.y_m / pt.x_m) / f};
}

// Tangent deflection l^2 / (2 A^2) of the spiral at arc length l_m, in degrees.
double spiralTangentDeflection_deg(double l_m, double A_m, double f) {
    return std::pow(l_m, 2) / f / 2 / std::pow(A_m, 2);
}

}  // namespace

double normaliseAzimuthOnce(double azimuth_deg) {
    if (azimuth_deg >= kFullCircle_deg)
        azimuth_deg = azimuth_deg - kFullCircle_deg;
    if (azimuth_deg < 0)
        azimuth_deg = azimuth_deg + kFullCircle_deg;
    return azimuth_deg;
}

ClothoidPoint clothoidPoint(double l_m, double A_m) {
    double x = l_m - std::pow(l_m, 5) / kX5 / std::pow(A_m, 4) +
               std::pow(l_m, 9) / kX9 / std::pow(A_m, 8) -
               std::pow(l_m, 13) / kX13 / std::pow(A_m, 12) +
               std::pow(l_m, 17) / kX17 / std::pow(A_m, 16);
    double y =
        std::pow(l_m, 3) / kY3 / std::pow(A_m, 2) - std::pow(l_m, 7) / kY7 / std::pow(A_m, 6) +
        std::pow(l_m, 11) / kY11 / std::pow(A_m, 10) - std::pow(l_m, 15) / kY15 / std::pow(A_m, 14);
    return {x, y};
}

std::optional<StakePosition> centreStake(const CurveElements& c, double Kp_m, double PPQ_deg) {
    const double f = c.f;
    StakePosition s{};
    double axis_deg = 0;

    if (Kp_m <= c.zh) {
        // Incoming tangent, l back from ZH.
        double l = c.zh - Kp_m;
        s.x_m = c.xa - l * std::cos(c.T * f);
        s.y_m = c.ya - l * std::sin(c.T * f);
        axis_deg = c.T + kRightAngle_deg + PPQ_deg;
        s.segment = Segment::IncomingTangent;
    } else if (Kp_m >= c.hz) {
        // Outgoing tangent, l past HZ.
        double l = Kp_m - c.hz;
        s.x_m = c.xb + l * std::cos(c.tb * f);
        s.y_m = c.yb + l * std::sin(c.tb * f);
        axis_deg = c.tb + kRightAngle_deg + PPQ_deg;
        s.segment = Segment::OutgoingTangent;
    } else if (c.zh < Kp_m && Kp_m < c.hy && c.A1 != 0) {
        // First spiral, by the chord from ZH.
        double l = Kp_m - c.zh;
        Chord chord = spiralChord(l, c.A1, f);
        double theta = normaliseAzimuthOnce(c.T + chord.deflection_deg * c.p);
        s.x_m = c.xa + chord.length_m * std::cos(theta * f);
        s.y_m = c.ya + chord.length_m * std::sin(theta * f);
        double beta = spiralTangentDeflection_deg(l, c.A1, f);
        axis_deg = c.T + beta * c.p + kRightAngle_deg + PPQ_deg;
        s.segment = Segment::FirstSpiral;
    } else if (c.hy <= Kp_m && Kp_m <= c.yh) {
        // Arc, from the centre.
        double l = Kp_m - c.hy;
        double phi = (l / f) / c.R;
        double psi = normaliseAzimuthOnce(c.tj + phi * c.p);
        s.x_m = c.Xo + c.R * std::cos(psi * f);
        s.y_m = c.Yo + c.R * std::sin(psi * f);
        // Right-hand curves look from the stake to the centre, left-hand ones from the centre out.
        axis_deg = c.p > 0 ? psi + kHalfCircle_deg + PPQ_deg : psi + PPQ_deg;
        s.segment = Segment::Arc;
    } else if (c.yh < Kp_m && Kp_m < c.hz && c.A2 != 0) {
        // Second spiral, by the chord back from HZ; theta points from the stake to HZ.
        double l = c.hz - Kp_m;
        Chord chord = spiralChord(l, c.A2, f);
        double theta = normaliseAzimuthOnce(c.tb - chord.deflection_deg * c.p);
        s.x_m = c.xb - chord.length_m * std::cos(theta * f);
        s.y_m = c.yb - chord.length_m * std::sin(theta * f);
        double beta = spiralTangentDeflection_deg(l, c.A2, f);
        axis_deg = c.tb - beta * c.p + kRightAngle_deg + PPQ_deg;
        s.segment = Segment::SecondSpiral;
    } else {
        return std::nullopt;
    }

    s.axisAzimuth_deg = normaliseAzimuthOnce(axis_deg);
    return s;
}

}  // namespace hcurve
