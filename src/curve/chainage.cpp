#include "curve/chainage.h"

#include <cmath>

#include "curve/format.h"

namespace hcurve {
namespace {

constexpr double kMetresPerKilometre = 1000.0;

}  // namespace

std::string chainageText(double chainage_m, const ChainageForm& form) {
    double km = std::floor(chainage_m / kMetresPerKilometre);
    const double m = chainage_m - km * kMetresPerKilometre;
    std::string metres = form.halves == HalfMillimetre::ToEven
                             ? roundedText(m, Pattern::Padded3Fixed3)
                             : format(m, Pattern::Padded3Fixed3);
    if (metres == "1000.000") {
        km += 1;
        metres = "000.000";
    }
    return form.prefix + (form.blankBeforeKilometres ? strText(km) : format(km)) + "+" + metres;
}

}  // namespace hcurve
