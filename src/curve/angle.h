// Angles: their units, the whole turns, the wraps the formulas use, and DMS angles (their reading
// and their texts).
//
// The units, as the names of values and functions say them:
//   _deg   the program's degrees, in which every azimuth, deflection and skew of the curve and of
//          the route is counted: their radians are degrees times kDegreeFactor, which is built on
//          the ten-decimal pi kPi of the curve formulas (displayed last digits depend on it). A
//          true full turn, 2 pi radians as atan2 counts them, is kFullTurn_deg = 360.0000000103 of
//          these degrees; the formulas' 360, kFullCircle_deg, falls short of it by 1.03e-8.
//   _tdeg  true degrees, pi/180 radians with the double's pi: the angles a drawing takes (DXF, the
//          plan painter) and those of LandXML files.
//   _rad   radians, as sin, cos and atan2 take and give them.
//   _dms   ddd.mmss as typed: integer part degrees, first two decimals minutes, next two seconds,
//          further decimals fractions of a second; a sign applies to the whole angle.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace hcurve {

constexpr double kMinutesPerDegree = 60.0;
constexpr double kSecondsPerMinute = 60.0;
constexpr double kSecondsPerDegree = 3600.0;

/// The curve formulas' right angle, half circle and circle, in the program's degrees. The circle
/// is 1.03e-8 of these degrees short of a full turn (kFullTurn_deg).
constexpr double kRightAngle_deg = 90.0;
constexpr double kHalfCircle_deg = 180.0;
constexpr double kFullCircle_deg = 360.0;

/// The ten-decimal pi of every angle computation, also inside the degree factor.
constexpr double kPi = 3.1415926535;

/// The program's degrees to radians, f = 3.1415926535 / 180 (0.017453292519444445).
constexpr double kDegreeFactor = kPi / kHalfCircle_deg;

/// A true full turn as atan2 counts it, in radians (with the double's pi, not the ten-decimal one),
/// and its half and quarter.
constexpr double kFullTurn_rad = 2 * 3.14159265358979323846;
constexpr double kHalfTurn_rad = kFullTurn_rad / 2;
constexpr double kQuarterTurn_rad = kFullTurn_rad / 4;

/// A true full turn in the program's degrees (360.0000000103), and its half and quarter (a little
/// more than the formulas' 180 and 90).
constexpr double kFullTurn_deg = kFullTurn_rad / kDegreeFactor;
constexpr double kHalfTurn_deg = kFullTurn_deg / 2;
constexpr double kQuarterTurn_deg = kFullTurn_deg / 4;

/// A full turn, its half and quarter in true degrees, and in grads.
constexpr double kFullTurn_tdeg = 360.0;
constexpr double kHalfTurn_tdeg = 180.0;
constexpr double kQuarterTurn_tdeg = 90.0;
constexpr double kFullTurn_grad = 400.0;

/// True degrees per radian (57.29577951308232) and radians per true degree.
constexpr double kTrueDegreesPerRadian = kHalfTurn_tdeg / (kFullTurn_rad / 2);
constexpr double kRadiansPerTrueDegree = (kFullTurn_rad / 2) / kHalfTurn_tdeg;

// ---- Wraps. Each one contract; the one-curve formulas' corrections are single steps by 360, and
// ---- their displayed digits depend on exactly these steps.

/// The curve formulas' correction of an azimuth: subtract 360 when it is 360 or more, then add 360
/// when it is below 0, once each (no loop). Within [-360, 720) the result lies in [0, 360), but for
/// a hair below 0 (above -2.9e-14), which rounds up to 360 and stays there; values a full circle
/// or more outside stay outside.
inline double normaliseAzimuthOnce(double azimuth_deg) {
    if (azimuth_deg >= kFullCircle_deg)
        azimuth_deg = azimuth_deg - kFullCircle_deg;
    if (azimuth_deg < 0)
        azimuth_deg = azimuth_deg + kFullCircle_deg;
    return azimuth_deg;
}

/// The same correction the other way round, as the curve formulas bring the direction from the
/// circle's centre to HY: add 360 when below 0, then subtract 360 when 360 or more. Within
/// [-360, 720) the result lies in [0, 360), a hair below 0 included (it comes out 0).
inline double normaliseAzimuthOnceFromBelow(double azimuth_deg) {
    if (azimuth_deg < 0)
        azimuth_deg = azimuth_deg + kFullCircle_deg;
    if (azimuth_deg >= kFullCircle_deg)
        azimuth_deg = azimuth_deg - kFullCircle_deg;
    return azimuth_deg;
}

namespace angle_detail {

// a brought into [0, period) by whole periods, exactly (fmod is exact); a value a hair below 0
// would round up to the period and becomes 0, and a whole number of periods below 0 becomes 0,
// not -0 (only -0 itself stays -0).
inline double wrappedInto(double a, double period) {
    if (a >= 0 && a < period)
        return a;
    double r = std::fmod(a, period);
    if (r < 0)
        r += period;
    if (r >= period)
        r -= period;
    return r + 0.0;
}

}  // namespace angle_detail

/// Any azimuth brought fully into [0, 360) by the formulas' circle of 360: the route's stakes,
/// feet and tables.
inline double wrapAzimuth_deg(double azimuth_deg) {
    return angle_detail::wrappedInto(azimuth_deg, kFullCircle_deg);
}

/// Any azimuth brought fully into [0, kFullTurn_deg) by true full turns, so that its direction
/// stays what it is: the alignment's elements.
inline double wrapFullTurn_deg(double azimuth_deg) {
    return angle_detail::wrappedInto(azimuth_deg, kFullTurn_deg);
}

/// Any angle in radians brought fully into [0, 2 pi).
inline double wrapFullTurn_rad(double angle_rad) {
    return angle_detail::wrappedInto(angle_rad, kFullTurn_rad);
}

/// A difference of two azimuths in [0, kFullTurn_deg), as a turn: into (-kHalfTurn_deg,
/// kHalfTurn_deg] by one full turn either way, positive to the right.
inline double wrapTurn_deg(double turn_deg) {
    if (turn_deg > kHalfTurn_deg)
        return turn_deg - kFullTurn_deg;
    if (turn_deg <= -kHalfTurn_deg)
        return turn_deg + kFullTurn_deg;
    return turn_deg;
}

/// The azimuth of the direction (dx_m north, dy_m east), clockwise from north in radians: atan2's
/// angle with a full turn added once when it is negative, so in [0, 2 pi]; 2 pi only for a
/// direction a hair (less than 4.5e-16) left of north.
inline double azimuthOf_rad(double dx_m, double dy_m) {
    double a_rad = std::atan2(dy_m, dx_m);
    if (a_rad < 0)
        a_rad += kFullTurn_rad;
    return a_rad;
}

/// An angle moved by whole turns into [about_rad - pi, about_rad + pi] (a tie to the even
/// multiple).
inline double withinHalfTurnOf_rad(double angle_rad, double about_rad) {
    return about_rad + std::remainder(angle_rad - about_rad, kFullTurn_rad);
}

/// How far apart two directions are, the shorter way round, in [0, pi].
inline double turnApart_rad(double a_rad, double b_rad) {
    return std::fabs(std::remainder(a_rad - b_rad, kFullTurn_rad));
}

/// A drawing's angle of the direction (dEast_m, dNorth_m), counter-clockwise from east in true
/// degrees: atan2's angle with a full turn added once when it is negative, so in [0, 360].
inline double fromEast_tdeg(double dEast_m, double dNorth_m) {
    double a_tdeg = std::atan2(dNorth_m, dEast_m) * kTrueDegreesPerRadian;
    if (a_tdeg < 0)
        a_tdeg += kFullTurn_tdeg;
    return a_tdeg;
}

/// A drawing's angle brought into [-180, 180) true degrees.
inline double wrapSigned_tdeg(double angle_tdeg) {
    return angle_tdeg - kFullTurn_tdeg * std::floor((angle_tdeg + kHalfTurn_tdeg) / kFullTurn_tdeg);
}

/// How far a counter-clockwise arc turns from start_tdeg to end_tdeg, in [0, 360] true degrees:
/// 360 for an end a hair before its start (a full circle but for that hair).
inline double counterClockwiseSpan_tdeg(double start_tdeg, double end_tdeg) {
    return end_tdeg - start_tdeg -
           kFullTurn_tdeg * std::floor((end_tdeg - start_tdeg) / kFullTurn_tdeg);
}

/// The direction of an azimuth, in the program's degrees, as a drawing's angle: taken as true
/// degrees as it is. The two differ by 3e-11 of the angle, 1e-8 degrees in a turn, far below what
/// a drawing shows.
constexpr double drawingAngle_tdeg(double azimuth_deg) {
    return azimuth_deg;
}

// ---- DMS angles.

/// The parts of a DMS angle: whole degrees, whole minutes and seconds (with their fraction) of its
/// size, and its sign.
struct DmsParts {
    double degrees;
    double minutes;
    double seconds;
    bool negative = false;
};

/// Splits a ddd.mmss number (0.1 added before each truncation, two separate products of the
/// absolute value by 100 and by 10000). The 0.1 keeps 1.15 * 100 = 114.99999999999999 at 15
/// minutes; it never carries into the next unit while minutes and seconds stay below 60.
DmsParts dmsParts(double dms);

/// Splits a text dd.mm.ss or dd.mm.ss.s (LandXML's "decimal dd.mm.ss"), a leading '-' for the
/// whole angle; nothing when a part is not a number.
std::optional<DmsParts> dottedDmsParts(std::string_view text);

/// True when the minutes and seconds are both in [0, 60) (seconds a few ulps below 0 allowed: the
/// split of 1.15 leaves -1.8e-12).
bool isValidDms(const DmsParts& parts);

/// The angle in decimal degrees: ((degrees + minutes / 60) + seconds / 3600), signed.
double degreesOf(const DmsParts& parts);

/// True when the minutes and seconds of the ddd.mmss number are both below 60.
bool isValidDms(double dms);

/// A ddd.mmss number to decimal degrees: 45.3015 -> 45.50416666666667, 1.15 -> 1.25, 0.29 ->
/// 0.48333..., -45.3015 -> -45.50416666666667.
double dmsToDegrees(double dms);

/// A dd.mm.ss text to decimal degrees; nothing when it is not one, or its minutes or seconds are
/// not in [0, 60).
std::optional<double> dottedDmsToDegrees(std::string_view text);

/// The DMS text of an angle in decimal degrees, ddd.mmss followed by secondDecimals decimals of
/// the second, rounded to them (halves away from zero), signed: 30.2625 -> "30.1545", -45.5 ->
/// "-45.3000", 45.504166 with 2 -> "45.301500". Minutes and seconds carry; 360 stays 360.
std::string dmsText(double degrees, int secondDecimals = 0);

/// The DMS text ddd.mmssss of an azimuth, the seconds to two decimals: brought into [0, 360) by
/// wrapAzimuth_deg first, and one that rounds to 360 written as 0.
std::string azimuthDmsText(double azimuth_deg);

}  // namespace hcurve
