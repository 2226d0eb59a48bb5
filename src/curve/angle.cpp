#include "curve/angle.h"

#include <cmath>
#include <cstdio>

#include "curve/number.h"

namespace hcurve {
namespace {

constexpr double kCarryGuard = 0.1;  // added before each truncation, see dmsParts
constexpr double kDegreesToDegMin = 100.0;
constexpr double kDegreesToDegMinSec = 10000.0;
// Seconds may come out a few ulps below zero for a valid angle (1.15 gives -1.8e-12), which is
// not a typed digit.
constexpr double kSecondsNoise = 0.01;
constexpr int kMostSecondDecimals = 6;
constexpr double kPowersOfTen[kMostSecondDecimals + 1] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};

}  // namespace

DmsParts dmsParts(double dms) {
    double u = std::fabs(dms);
    double d = std::trunc(u + kCarryGuard);
    double u100 = u * kDegreesToDegMin;
    double u10000 = u * kDegreesToDegMinSec;
    double dm = std::trunc(u100 + kCarryGuard);
    double minutes = dm - d * kDegreesToDegMin;
    double seconds = u10000 - dm * kDegreesToDegMin;
    return {d, minutes, seconds, dms < 0};
}

std::optional<DmsParts> dottedDmsParts(std::string_view text) {
    const std::size_t p1 = text.find('.');
    const std::size_t p2 = p1 == std::string_view::npos ? p1 : text.find('.', p1 + 1);
    if (p2 == std::string_view::npos)
        return std::nullopt;
    const std::size_t p3 = text.find('.', p2 + 1);
    const std::optional<double> d = readNumber(text.substr(0, p1));
    const std::optional<double> m = readNumber(text.substr(p1 + 1, p2 - p1 - 1));
    const std::optional<double> s = readNumber(text.substr(p2 + 1, p3 - p2 - 1));
    std::optional<double> fraction = 0.0;
    if (p3 != std::string_view::npos)
        fraction = readNumber("0" + std::string(text.substr(p3)));
    if (!d || !m || !s || !fraction)
        return std::nullopt;
    return DmsParts{std::fabs(*d), *m, *s + *fraction, !text.empty() && text[0] == '-'};
}

bool isValidDms(const DmsParts& parts) {
    return parts.minutes >= 0 && parts.minutes < kMinutesPerDegree &&
           parts.seconds > -kSecondsNoise && parts.seconds < kSecondsPerMinute;
}

double degreesOf(const DmsParts& parts) {
    return ((parts.degrees + parts.minutes / kMinutesPerDegree) +
            parts.seconds / kSecondsPerDegree) *
           (parts.negative ? -1.0 : 1.0);
}

bool isValidDms(double dms) {
    // Minutes of 90 or more carry into the degrees through the 0.1 guard and come out negative;
    // seconds of 90 or more likewise.
    return isValidDms(dmsParts(dms));
}

double dmsToDegrees(double dms) {
    return degreesOf(dmsParts(dms));
}

std::optional<double> dottedDmsToDegrees(std::string_view text) {
    const std::optional<DmsParts> parts = dottedDmsParts(text);
    if (!parts || !isValidDms(*parts))
        return std::nullopt;
    return degreesOf(*parts);
}

std::string dmsText(double degrees, int secondDecimals) {
    if (secondDecimals < 0)
        secondDecimals = 0;
    if (secondDecimals > kMostSecondDecimals)
        secondDecimals = kMostSecondDecimals;
    const double perSecond = kPowersOfTen[secondDecimals];
    const double perDegree = kSecondsPerDegree * perSecond;
    const double perMinute = kSecondsPerMinute * perSecond;
    // Everything in whole units of the last decimal shown, so that the parts carry exactly.
    const double units = std::round(std::fabs(degrees) * perDegree);
    const double d = std::floor(units / perDegree);
    const double rest = units - d * perDegree;
    const double m = std::floor(rest / perMinute);
    const double s = rest - m * perMinute;
    char text[64];
    std::snprintf(text, sizeof text, "%s%.0f.%02.0f%0*.0f", degrees < 0 && units > 0 ? "-" : "", d,
                  m, 2 + secondDecimals, s);
    return text;
}

std::string azimuthDmsText(double azimuth_deg) {
    constexpr int kDecimals = 2;
    constexpr double kHundredthsPerDegree = kSecondsPerDegree * 100;
    double a = wrapAzimuth_deg(azimuth_deg);
    if (std::round(a * kHundredthsPerDegree) >= kFullCircle_deg * kHundredthsPerDegree)
        a = 0;
    return dmsText(a, kDecimals);
}

}  // namespace hcurve
