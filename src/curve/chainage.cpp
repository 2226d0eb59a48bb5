#include "curve/chainage.h"

#include <cmath>
#include <cstring>

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
    const std::string kilometres = form.blankBeforeKilometres ? strText(km) : format(km);
    // In one piece: stake tables write chainages by the thousand.
    const std::size_t prefix = std::strlen(form.prefix);
    std::string text;
    text.reserve(prefix + kilometres.size() + 1 + metres.size());
    text.append(form.prefix, prefix).append(kilometres).append(1, '+').append(metres);
    return text;
}

}  // namespace hcurve
