#include "curve/chainage.h"

#include <cmath>

#include "curve/format.h"

namespace hcurve {
namespace {

constexpr double kMetresPerKilometre = 1000.0;

}  // namespace

std::string chainageText(double chainage_m, const ChainageForm& form) {
    // Before zero as surveyors write it: the distance before zero, split as a chainage is.
    const bool before = form.beforeZero == BeforeZero::DistanceBefore && chainage_m < 0;
    const double distance_m = before ? -chainage_m : chainage_m;
    double km = std::floor(distance_m / kMetresPerKilometre);
    const double m = distance_m - km * kMetresPerKilometre;
    std::string metres = form.halves == HalfMillimetre::ToEven
                             ? roundedText(m, Pattern::Padded3Fixed3)
                             : format(m, Pattern::Padded3Fixed3);
    if (metres == "1000.000") {
        km += 1;
        metres = "000.000";
    }
    // A distance that rounds to whole kilometres (or to nothing) keeps its "+".
    const char* joint = before && metres != "000.000" ? "-" : "+";
    if (before && km > 0)
        km = -km;
    return form.prefix + (form.blankBeforeKilometres ? strText(km) : format(km)) + joint + metres;
}

}  // namespace hcurve
