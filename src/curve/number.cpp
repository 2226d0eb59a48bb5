#include "curve/number.h"

#include <fast_float/fast_float.h>

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

// The checked parts of a number text: its sign and the unsigned rest, digits with at most one
// point and an exponent, which fast_float then reads.
struct NumberSyntax {
    bool negative = false;
    std::string_view body;  // digits, point, exponent; no sign
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
    int digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i)
        ++digits;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (i >= s.size() || !isDigit(s[i]))
            return std::nullopt;
        while (i < s.size() && isDigit(s[i]))
            ++i;
    }
    if (i != s.size())
        return std::nullopt;
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
    // fast_float reads the nearest value as from_chars does; a value too large for the type reads
    // as infinity, which is not a number, and one too small as zero, which it is.
    auto [end, ec] = fast_float::from_chars(first, last, value, fast_float::chars_format::general);
    if (ec != std::errc() || end != last)
        return std::nullopt;
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

double niceStepBelow(double v) {
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * power <= v)
            return m * power;
    return power;
}

}  // namespace hcurve
