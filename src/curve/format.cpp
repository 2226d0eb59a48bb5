#include "curve/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "curve/number.h"

namespace hcurve {
namespace {

// A finite nonzero value as decimal digits: value = 0.d1d2d3... * 10^pointPosition, i.e. the
// decimal point stands after pointPosition digits (negative: that many zeros after "0.").
struct DecimalText {
    bool negative = false;
    std::string digits;  // significant digits, the first nonzero
    int pointPosition = 0;
};

template <typename Real>
DecimalText decimalText(Real v, int significantDigits) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific,
                                significantDigits - 1);
    std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf));
    DecimalText out;
    out.negative = std::signbit(v);
    std::size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.')
            out.digits.push_back(c);
    }
    out.pointPosition = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    return out;
}

enum class Ties { AwayFromZero, ToEven };

// A value rounded to a number of decimals: its integer digits (no leading zeros, "0" for none)
// and exactly `decimals` fraction digits.
struct Rounded {
    bool negative = false;
    std::string integerDigits = "0";
    std::string fractionDigits;
    bool isZero() const {
        return integerDigits == "0" && fractionDigits.find_first_not_of('0') == std::string::npos;
    }
};

Rounded roundDecimal(double v, int decimals, Ties ties) {
    Rounded out;
    out.fractionDigits.assign(static_cast<std::size_t>(decimals), '0');
    if (v == 0.0 || !std::isfinite(v))
        return out;
    DecimalText d = decimalText(v, 15);
    out.negative = d.negative;
    // Digits kept: those left of the rounding position.
    int keep = d.pointPosition + decimals;
    std::string kept;
    bool roundUp = false;
    if (keep >= static_cast<int>(d.digits.size())) {
        kept = d.digits + std::string(static_cast<std::size_t>(keep) - d.digits.size(), '0');
    } else if (keep >= 0) {
        kept = d.digits.substr(0, static_cast<std::size_t>(keep));
        char next = d.digits[static_cast<std::size_t>(keep)];
        bool restZero = d.digits.find_first_not_of('0', static_cast<std::size_t>(keep) + 1) ==
                        std::string::npos;
        if (next > '5' || (next == '5' && !restZero)) {
            roundUp = true;
        } else if (next == '5') {
            roundUp =
                ties == Ties::AwayFromZero || (!kept.empty() && ((kept.back() - '0') % 2 == 1));
        }
    }
    // keep < 0: the value is below half a unit of the last decimal; it rounds to zero.
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
            kept[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++kept[static_cast<std::size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
        }
    }
    // kept holds the value times 10^decimals; split it.
    if (static_cast<int>(kept.size()) < decimals + 1) {
        kept.insert(0, static_cast<std::size_t>(decimals + 1) - kept.size(), '0');
    }
    std::size_t split = kept.size() - static_cast<std::size_t>(decimals);
    std::string integerPart = kept.substr(0, split);
    std::size_t firstNonZero = integerPart.find_first_not_of('0');
    out.integerDigits = firstNonZero == std::string::npos ? "0" : integerPart.substr(firstNonZero);
    out.fractionDigits = kept.substr(split);
    if (out.isZero())
        out.negative = false;
    return out;
}

int decimalsOf(Pattern pattern) {
    switch (pattern) {
        case Pattern::Fixed3:
        case Pattern::Padded3Fixed3:
            return 3;
        case Pattern::Fixed4:
            return 4;
        case Pattern::Fixed5:
            return 5;
    }
    return 3;
}

// Significant digits and the position of the decimal point written as general text: always
// positionally, never with an exponent, however large or small the value.
std::string generalFromDigits(const DecimalText& d) {
    std::string digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = d.negative ? "-" : "";
    int point = d.pointPosition;
    if (point <= 0) {
        return out + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    }
    if (static_cast<int>(digits.size()) <= point) {
        return out + digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    return out + digits.substr(0, static_cast<std::size_t>(point)) + "." +
           digits.substr(static_cast<std::size_t>(point));
}

}  // namespace

std::string format(double v, Pattern pattern) {
    Rounded r = roundDecimal(v, decimalsOf(pattern), Ties::AwayFromZero);
    std::string integerPart = r.integerDigits;
    if (pattern == Pattern::Padded3Fixed3 && integerPart.size() < 3) {
        integerPart.insert(0, 3 - integerPart.size(), '0');
    }
    return (r.negative ? "-" : "") + integerPart + "." + r.fractionDigits;
}

std::string format(std::string_view text, Pattern pattern) {
    if (auto v = readNumber(text))
        return format(*v, pattern);
    return std::string(text);
}

std::string format(double v) {
    return generalText(v);
}

std::string format(std::string_view text) {
    if (auto v = readNumber(text))
        return generalText(*v);
    return std::string(text);
}

double roundTo(double v, int decimals) {
    if (!std::isfinite(v))
        return v;
    decimals = std::clamp(decimals, 0, 15);
    Rounded r = roundDecimal(v, decimals, Ties::ToEven);
    std::string text = r.integerDigits + "." + r.fractionDigits;
    double out = 0;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return r.negative ? -out : out;
}

std::string generalText(double v) {
    if (v == 0.0 || !std::isfinite(v))
        return v == 0.0 ? "0" : std::to_string(v);
    return generalFromDigits(decimalText(v, 15));
}

std::string generalText(float v) {
    if (v == 0.0f || !std::isfinite(v))
        return v == 0.0f ? "0" : std::to_string(v);
    // The float's own 7-digit decimal, not the digits of the widened double.
    return generalFromDigits(decimalText(v, 7));
}

std::string strText(double v) {
    std::string text = generalText(v);
    return text.front() == '-' ? text : " " + text;
}

}  // namespace hcurve
