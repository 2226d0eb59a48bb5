#include "geometry/stake_position.h"

#include <cmath>
#include <cstddef>
#include <iterator>

#include "curve/angle.h"

namespace hcurve {
namespace {

// The clothoid series in the spiral angle b = l^2 / (2 A^2) (radians):
//   x = l * sum (-1)^k b^(2k)   / ((4k+1) (2k)!)
//   y = l * sum (-1)^k b^(2k+1) / ((4k+3) (2k+1)!)
// Their coefficients, sign included, are built once; a spiral that fits its curve turns by less
// than a half circle (b < pi), where some 16 terms reach double precision, and the table reaches
// far beyond that.
constexpr int kSeriesTerms = 40;

struct SeriesCoefficients {
    double x[kSeriesTerms];
    double y[kSeriesTerms];
};

constexpr SeriesCoefficients seriesCoefficients() {
    SeriesCoefficients c{};
    double factorial = 1;  // (2k)!
    double sign = 1;
    for (int k = 0; k < kSeriesTerms; ++k) {
        if (k > 0)
            factorial = factorial * (2 * k - 1) * (2 * k);
        c.x[k] = sign / ((4 * k + 1) * factorial);
        c.y[k] = sign / ((4 * k + 3) * (factorial * (2 * k + 1)));
        sign = -sign;
    }
    return c;
}

constexpr SeriesCoefficients kSeries = seriesCoefficients();

// Chord from the spiral's start to the point at arc length l_m: its length and its deflection
// from the start tangent in degrees.
struct Chord {
    double length_m;
    double deflection_deg;
};

Chord spiralChord(double l_m, double A_m, double f) {
    ClothoidPoint pt = clothoidPoint(l_m, A_m);
    return {std::sqrt(pt.x_m * pt.x_m + pt.y_m * pt.y_m), std::atan(pt.y_m / pt.x_m) / f};
}

// Tangent deflection l^2 / (2 A^2) of the spiral at arc length l_m, in degrees.
double spiralTangentDeflection_deg(double l_m, double A_m, double f) {
    return l_m * l_m / f / 2 / (A_m * A_m);
}

}  // namespace

std::string elementName(Segment element) {
    // In the order of Segment.
    static constexpr const char* kNames[] = {"始端直线", "第一缓和曲线", "圆曲线", "第二缓和曲线",
                                             "终端直线"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(Segment::OutgoingTangent) + 1);
    return kNames[static_cast<std::size_t>(element)];
}

ClothoidPoint clothoidPoint(double l_m, double A_m) {
    const double b = l_m * l_m / (2 * A_m * A_m);
    const double b2 = b * b;
    double sx = kSeries.x[0];
    double sy = kSeries.y[0] * b;
    bool xDone = false, yDone = false;
    double power = 1;  // b^(2k)
    // Terms grow while 2k (2k+1) < b^2; past that, a term that no longer changes its sum ends it.
    for (int k = 1; k < kSeriesTerms && !(xDone && yDone); ++k) {
        power *= b2;
        const bool pastPeak = 2 * k > b;
        if (!xDone) {
            const double next = sx + kSeries.x[k] * power;
            xDone = pastPeak && next == sx;
            sx = next;
        }
        if (!yDone) {
            const double next = sy + kSeries.y[k] * (power * b);
            yDone = pastPeak && next == sy;
            sy = next;
        }
    }
    return {l_m * sx, l_m * sy};
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
