#include "curve/chainage.h"

#include <cmath>

#include "curve/format.h"

namespace hcurve {
namespace {

constexpr double kMetresPerKilometre = 1000.0;

// A chainage split into whole kilometres (rounded down) and the text of its metre part. A metre
// part that reads 1000.000 once rounded to the millimetre belongs to the next kilometre.
struct Parts {
    double km;
    std::string metres;
};

enum class Metres { AsIs, RoundedFirst };

Parts parts(double chainage_m, Metres metres) {
    double km = std::floor(chainage_m / kMetresPerKilometre);
    double m = chainage_m - km * kMetresPerKilometre;
    if (metres == Metres::RoundedFirst)
        m = roundTo(m, 3);
    std::string text = format(m, Pattern::Padded3Fixed3);
    if (text == "1000.000") {
        km += 1;
        text = "000.000";
    }
    return {km, text};
}

}  // namespace

std::string strForm(double chainage_m) {
    Parts p = parts(chainage_m, Metres::AsIs);
    return "K" + strText(p.km) + "+" + p.metres;
}

std::string lowerStrForm(double chainage_m) {
    Parts p = parts(chainage_m, Metres::RoundedFirst);
    return "k" + strText(p.km) + "+" + p.metres;
}

std::string plainForm(double chainage_m) {
    return "K" + reportPointForm(chainage_m);
}

std::string stakeListingForm(double chainage_m) {
    Parts p = parts(chainage_m, Metres::RoundedFirst);
    return " k" + strText(p.km) + "+" + p.metres;
}

std::string reportPointForm(double chainage_m) {
    Parts p = parts(chainage_m, Metres::RoundedFirst);
    return format(p.km) + "+" + p.metres;
}

std::string reportStakeForm(double chainage_m) {
    Parts p = parts(chainage_m, Metres::AsIs);
    return "K" + format(p.km) + "+" + p.metres;
}

}  // namespace hcurve
