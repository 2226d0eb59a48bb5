#include "curve/chainage.h"

#include <cmath>
#include <cstring>

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
    const char joint = before && metres != "000.000" ? '-' : '+';
    if (before && km > 0)
        km = -km;
    const std::string kilometres = form.blankBeforeKilometres ? strText(km) : format(km);
    // In one piece: stake tables write chainages by the thousand.
    const std::size_t prefix = std::strlen(form.prefix);
    std::string text;
    text.reserve(prefix + kilometres.size() + 1 + metres.size());
    text.append(form.prefix, prefix).append(kilometres).append(1, joint).append(metres);
    return text;
}

}  // namespace hcurve
