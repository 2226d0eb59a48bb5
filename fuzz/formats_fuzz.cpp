// Any text through the number reader and every format: no crash, no undefined behaviour, and
// every text that reads as a number within the design ranges formats without an exponent and
// reads back as the number it shows.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "geometry/design_check.h"

namespace {

using namespace hcurve;

void require(bool ok) {
    if (!ok)
        std::abort();
}

bool hasExponent(const std::string& text) {
    return text.find_first_of("eE") != std::string::npos;
}

// A displayed number reads back within half a unit of its last decimal.
void requireShows(const std::string& text, double v, double halfUnit) {
    require(!hasExponent(text));
    std::optional<double> back = readNumber(text);
    require(back.has_value());
    require(std::fabs(*back - v) <= halfUnit * (1 + 1e-9) + std::fabs(v) * 1e-14);
}

void checkNumber(double v) {
    const bool designRange = std::fabs(v) <= kMaxDesignLength_m;
    std::string f3 = format(v, Pattern::Fixed3);
    std::string f4 = format(v, Pattern::Fixed4);
    std::string f5 = format(v, Pattern::Fixed5);
    std::string p3 = format(v, Pattern::Padded3Fixed3);
    std::string general = generalText(v);
    std::string str = strText(v);
    double r3 = roundTo(v, 3);
    double r4 = roundTo(v, 4);
    require(std::isfinite(r3) && std::isfinite(r4));
    if (designRange) {
        requireShows(f3, v, 0.0005);
        requireShows(f4, v, 0.00005);
        requireShows(f5, v, 0.000005);
        requireShows(p3, v, 0.0005);
        require(std::fabs(r3 - v) <= 0.0005 * (1 + 1e-9) + std::fabs(v) * 1e-14);
        if (v == 0 || std::fabs(v) >= 1e-9)
            requireShows(general, v, std::fabs(v) * 1e-14);
        // Chainage texts: no exponent, and a metre part of three digits and three decimals after
        // its "+" (or, before zero, its "-").
        for (const std::string& text : {chainageText(v, kDesignForm), chainageText(v, kPointForm),
                                        chainageText(v, kPlainForm), chainageText(v, kListingForm),
                                        chainageText(v, kReportStakeForm)}) {
            require(!hasExponent(text.substr(1)));
            require(text.size() >= 8);
            const char joint = text[text.size() - 8];
            require(joint == '+' || (joint == '-' && v < 0));
            require(text.size() - text.rfind('.') == 4);
        }
    }
    (void)str;
    // Angles are checked against their ranges before they are converted.
    if (designRange)
        require(std::isfinite(dmsToDegrees(v)));
    float f = static_cast<float>(v);
    if (std::isfinite(f))
        (void)generalText(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<double> v = readNumber(text);
    std::optional<float> f = readFloat32(text);
    require(!f.has_value() || v.has_value());
    (void)format(text);
    for (DesignValue which : {DesignValue::K, DesignValue::X, DesignValue::Y, DesignValue::T,
                              DesignValue::B, DesignValue::R, DesignValue::A1, DesignValue::A2}) {
        std::optional<std::string> problem = readDesignValue(which, text).problem;
        if (!v)
            require(problem.has_value());
    }
    if (v) {
        checkNumber(*v);
        (void)toInt16(*v);
    }
    // The raw bytes as a double too, to reach values no text gives.
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw))
            checkNumber(raw);
    }
    return 0;
}
