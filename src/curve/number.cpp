#include "curve/number.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace hcurve {
namespace {

bool isBlankChar(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlankChar(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlankChar(s.back()))
        s.remove_suffix(1);
    return s;
}

// The checked parts of a number text: its sign and the unsigned rest that from_chars accepts.
struct NumberSyntax {
    bool negative = false;
    std::string_view body;    // digits, point, exponent; no sign
    int decimalPosition = 0;  // rough decimal exponent of the leading digit, for range decisions
};

std::optional<NumberSyntax> scan(std::string_view text) {
    std::string_view s = trimBlanks(text);
    NumberSyntax out;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        out.negative = s.front() == '-';
        s.remove_prefix(1);
    }
    out.body = s;
    std::size_t i = 0;
    int intDigits = 0, fracDigits = 0, leadingZeros = 0, firstNonZeroInFraction = -1;
    bool seenNonZero = false;
    while (i < s.size() && isDigit(s[i])) {
        if (s[i] != '0')
            seenNonZero = true;
        if (!seenNonZero)
            ++leadingZeros;
        ++intDigits;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            if (s[i] != '0' && !seenNonZero) {
                seenNonZero = true;
                firstNonZeroInFraction = fracDigits;
            }
            ++fracDigits;
            ++i;
        }
    }
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i >= s.size() || !isDigit(s[i]))
            return std::nullopt;
        while (i < s.size() && isDigit(s[i])) {
            if (exponent < 100000)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (expNegative)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;
    long lead = 0;
    if (intDigits - leadingZeros > 0) {
        lead = intDigits - leadingZeros - 1;
    } else if (firstNonZeroInFraction >= 0) {
        lead = -(firstNonZeroInFraction + 1);
    }
    long position = lead + exponent;
    out.decimalPosition =
        static_cast<int>(position > 100000 ? 100000 : (position < -100000 ? -100000 : position));
    return out;
}

template <typename Real>
std::optional<Real> parse(std::string_view text) {
    std::optional<NumberSyntax> syntax = scan(text);
    if (!syntax)
        return std::nullopt;
    Real value{};
    const char* first = syntax->body.data();
    const char* last = first + syntax->body.size();
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large is not a number; too small is zero.
        if (syntax->decimalPosition > 0)
            return std::nullopt;
        value = Real(0);
    } else if (ec != std::errc() || end != last) {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return syntax->negative ? -value : value;
}

}  // namespace

std::optional<double> readNumber(std::string_view text) {
    return parse<double>(text);
}

std::optional<float> readFloat32(std::string_view text) {
    return parse<float>(text);
}

std::optional<std::int16_t> toInt16(double v) {
    if (!std::isfinite(v))
        return std::nullopt;
    // nearbyint rounds in the current mode, which is to nearest with ties to even.
    double r = std::nearbyint(v);
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

bool isBlank(std::string_view text) {
    return trimBlanks(text).empty();
}

}  // namespace hcurve
