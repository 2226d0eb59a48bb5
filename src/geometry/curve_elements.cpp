#include "geometry/curve_elements.h"

#include <cmath>
#include <cstdlib>

#include "curve/angle.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

std::int16_t signOf(double v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// Tangent offset q and circle shift p of a spiral of length Ls_m and parameter A_m on radius R_m:
// the spiral's end less the arc of radius R that turns by the same angle Ls / (2R), so that the
// arc continued from the shifted circle meets the spiral's end exactly.
struct SpiralShift {
    double q_m;
    double p_m;
};

SpiralShift spiralShift(double Ls_m, double A_m, double R_m) {
    if (Ls_m == 0)
        return {0, 0};
    const ClothoidPoint end = clothoidPoint(Ls_m, A_m);
    const double turn_rad = Ls_m / (2 * R_m);
    return {end.x_m - R_m * std::sin(turn_rad), end.y_m - R_m * (1 - std::cos(turn_rad))};
}

}  // namespace

CurveElements computeCurve(const DesignValues& design) {
    // The deflection's sign is taken from the typed angle, its size converted without the sign.
    const double B_deg = signOf(design.B_dms) * dmsToDegrees(std::fabs(design.B_dms));
    return computeCurveFromDegrees({design.K_m, design.X_m, design.Y_m, dmsToDegrees(design.T_dms),
                                    B_deg, design.R_m, design.A1_m, design.A2_m});
}

CurveElements computeCurveFromDegrees(const DesignDegrees& design) {
    const double f = kDegreeFactor;
    CurveElements c;
    c.K = design.K_m;
    c.X = design.X_m;
    c.Y = design.Y_m;
    c.R = design.R_m;
    c.A1 = design.A1_m;
    c.A2 = design.A2_m;
    c.f = f;
    const double R = c.R;

    // Spiral lengths from A^2 = R * Ls.
    c.Ls1 = std::pow(c.A1, 2) / R;
    c.Ls2 = std::pow(c.A2, 2) / R;

    // The deflection's sign becomes the turn sign.
    c.T = design.T_deg;
    c.p = signOf(design.B_deg);
    c.B = std::fabs(design.B_deg);

    // Outgoing tangent, corrected once toward [0, 360).
    c.tb = normaliseAzimuthOnce(c.T + c.p * c.B);

    c.halfB = c.B / 2;

    const SpiralShift entry = spiralShift(c.Ls1, c.A1, R);
    const SpiralShift exit = spiralShift(c.Ls2, c.A2, R);
    c.q1 = entry.q_m;
    c.p1 = entry.p_m;
    c.q2 = exit.q_m;
    c.p2 = exit.p_m;

    // Tangent lengths from the JD, for spirals of different length.
    const double tanHalfB = std::tan(c.halfB * f);
    const double tanB = std::tan(c.B * f);
    const double sinB = std::sin(c.B * f);
    c.T1 = ((R * tanHalfB - c.p1 / tanB) + c.p2 / sinB) + c.q1;
    c.T2 = ((R * tanHalfB + c.p1 / sinB) - c.p2 / tanB) + c.q2;

    // ZH lies T1 back from the JD on the incoming tangent.
    const double cosT = std::cos(c.T * f);
    const double sinT = std::sin(c.T * f);
    c.zh = c.K - c.T1;
    c.xa = c.X - cosT * c.T1;
    c.ya = c.Y - sinT * c.T1;

    // Spiral angles Ls / (2R) in degrees, and the arc left between them.
    c.beta1 = ((kRightAngle_deg * c.Ls1) / kPi) / R;
    c.beta2 = ((kRightAngle_deg * c.Ls2) / kPi) / R;
    c.Lf = f * (R * ((c.B - c.beta1) - c.beta2));

    // Centre to HY; the two corrections come in the opposite order to those of tb.
    c.tj = normaliseAzimuthOnceFromBelow(c.T + c.p * (c.beta1 - kRightAngle_deg));

    // Normal of the incoming tangent towards the inside of the curve.
    const double normal_deg = normaliseAzimuthOnce(c.T + c.p * kRightAngle_deg);

    // Circle centre: q1 along the tangent from ZH, then R + p1 along the normal.
    c.Xo = (c.xa + cosT * c.q1) + std::cos(normal_deg * f) * (R + c.p1);
    c.Yo = (c.ya + sinT * c.q1) + std::sin(normal_deg * f) * (R + c.p1);

    c.hy = c.zh + c.Ls1;
    c.xh1 = c.Xo + std::cos(c.tj * f) * R;
    c.yh1 = c.Yo + std::sin(c.tj * f) * R;

    // Centre to YH: turned from tj by the arc's central angle (not brought into [0, 360)).
    const double toYh_deg = c.tj + ((c.p * c.Lf) / f) / R;
    c.yh = c.hy + c.Lf;
    c.xh2 = c.Xo + std::cos(toYh_deg * f) * R;
    c.yh2 = c.Yo + std::sin(toYh_deg * f) * R;

    // HZ lies T2 ahead of the JD on the outgoing tangent.
    c.hz = c.yh + c.Ls2;
    c.xb = c.X + std::cos(c.tb * f) * c.T2;
    c.yb = c.Y + std::sin(c.tb * f) * c.T2;

    // Without a spiral the HY (YH) slots hold the plain curve point ZY (YZ).
    if (c.A1 == 0) {
        c.ZY = c.zh;
        c.xh1 = c.xa;
        c.yh1 = c.ya;
    }
    if (c.A2 == 0) {
        c.YZ = c.hz;
        c.xh2 = c.xb;
        c.yh2 = c.yb;
    }
    return c;
}

}  // namespace hcurve
