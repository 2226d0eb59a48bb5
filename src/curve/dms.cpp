#include "curve/dms.h"

#include <cmath>
#include <cstdio>

namespace hcurve {
namespace {

constexpr double kCarryGuard = 0.1;  // added before each truncation, see dmsToDegrees
constexpr double kDegreesToDegMin = 100.0;
constexpr double kDegreesToDegMinSec = 10000.0;
constexpr double kSecondsPerMinute = 60.0;

}  // namespace

DmsParts dmsParts(double dms) {
    double u = std::fabs(dms);
    double d = std::trunc(u + kCarryGuard);
    double u100 = u * kDegreesToDegMin;
    double u10000 = u * kDegreesToDegMinSec;
    double dm = std::trunc(u100 + kCarryGuard);
    double minutes = dm - d * kDegreesToDegMin;
    double seconds = u10000 - dm * kDegreesToDegMin;
    return {d, minutes, seconds};
}

double dmsToDegrees(double dms) {
    double s = dms < 0 ? -1.0 : 1.0;
    DmsParts parts = dmsParts(dms);
    return ((parts.degrees + parts.minutes / kMinutesPerDegree) +
            parts.seconds / kSecondsPerDegree) *
           s;
}

bool isValidDms(double dms) {
    // Minutes of 90 or more carry into the degrees through the 0.1 guard and come out negative;
    // seconds of 90 or more likewise. Seconds may also come out a few ulps below zero for a valid
    // angle (1.15 gives -1.8e-12), which is not a typed digit.
    constexpr double kSecondsNoise = 0.01;
    DmsParts parts = dmsParts(dms);
    return parts.minutes >= 0 && parts.minutes < kMinutesPerDegree &&
           parts.seconds > -kSecondsNoise && parts.seconds < kMinutesPerDegree;
}

std::string dmsText(double degrees) {
    const double seconds = std::round(std::fabs(degrees) * kSecondsPerDegree);
    const double d = std::floor(seconds / kSecondsPerDegree);
    const double m = std::floor((seconds - d * kSecondsPerDegree) / kSecondsPerMinute);
    const double s = seconds - d * kSecondsPerDegree - m * kSecondsPerMinute;
    char text[48];
    std::snprintf(text, sizeof text, "%s%.0f.%02.0f%02.0f", degrees < 0 && seconds > 0 ? "-" : "",
                  d, m, s);
    return text;
}

}  // namespace hcurve
