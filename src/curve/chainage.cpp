#include "curve/chainage.h"

#include <cmath>

#include "curve/format.h"

namespace hcurve {
namespace {

constexpr double kMetresPerKilometre = 1000.0;

double kmDown(double chainage_m) {
    return std::floor(chainage_m / kMetresPerKilometre);
}
double kmTowardZero(double chainage_m) {
    return std::trunc(chainage_m / kMetresPerKilometre);
}
double metres(double chainage_m, double km) {
    return chainage_m - km * kMetresPerKilometre;
}
std::string metreText(double m) {
    return format(m, Pattern::Padded3Fixed3);
}

}  // namespace

std::string strForm(double chainage_m) {
    double km = kmDown(chainage_m);
    return "K" + strText(km) + "+" + metreText(metres(chainage_m, km));
}

std::string lowerStrForm(double chainage_m) {
    double km = kmDown(chainage_m);
    return "k" + strText(km) + "+" + metreText(roundTo(metres(chainage_m, km), 3));
}

std::string plainForm(double chainage_m) {
    return "K" + reportPointForm(chainage_m);
}

std::string stakeListingForm(double chainage_m) {
    double km = kmTowardZero(chainage_m);
    return " k" + strText(km) + "+" + metreText(roundTo(metres(chainage_m, km), 3));
}

std::string reportPointForm(double chainage_m) {
    double km = kmTowardZero(chainage_m);
    return format(km) + "+" + metreText(roundTo(metres(chainage_m, km), 3));
}

std::string reportStakeForm(double chainage_m) {
    double km = kmTowardZero(chainage_m);
    return "K" + format(km) + "+" + metreText(metres(chainage_m, km));
}

}  // namespace hcurve
