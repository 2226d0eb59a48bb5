// DMS angles (ddd.mmss: integer part degrees, first two decimals minutes, next two seconds,
// further decimals fractions of a second; a sign applies to the whole angle) and their conversion.
#pragma once

#include <string>

namespace hcurve {

constexpr double kMinutesPerDegree = 60.0;
constexpr double kSecondsPerDegree = 3600.0;

/// The ten-decimal pi of every angle computation, also inside the degree factor.
constexpr double kPi = 3.1415926535;

/// Degrees-to-radians factor f = 3.1415926535 / 180 (0.017453292519444445).
constexpr double kDegreeFactor = kPi / 180.0;

/// The parts of |dms|: whole degrees, whole minutes and seconds (with their fraction), as the
/// conversion below takes them apart.
struct DmsParts {
    double degrees;
    double minutes;
    double seconds;
};

/// Splits |dms| the way dmsToDegrees does (0.1 added before each truncation, two separate
/// products of the absolute value by 100 and by 10000).
DmsParts dmsParts(double dms);

/// A DMS angle to decimal degrees: 45.3015 -> 45.50416666666667, 1.15 -> 1.25, 0.29 -> 0.48333...,
/// -45.3015 -> -45.50416666666667. The 0.1 before each truncation keeps 1.15 * 100 =
/// 114.99999999999999 at 15 minutes; it never carries into the next unit while minutes and seconds
/// stay below 60.
double dmsToDegrees(double dms);

/// True when the minutes and seconds of the DMS angle are both below 60.
bool isValidDms(double dms);

/// A signed DMS text ddd.mmss rounded to the whole second: 30.2625 degrees gives "30.1545",
/// -45.5 gives "-45.3000".
std::string dmsText(double degrees);

}  // namespace hcurve
