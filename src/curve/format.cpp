#include "curve/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "curve/number.h"

namespace hcurve {
namespace {

// A finite nonzero value as decimal digits: value = 0.d1d2d3... * 10^pointPosition, i.e. the
// decimal point stands after pointPosition digits (negative: that many zeros after "0.").
// Formatting runs for every field of a stake listing, so the digits stay in place, off the heap.
struct DecimalText {
    bool negative = false;
    char digits[24];  // significant digits, the first nonzero
    int size = 0;
    int pointPosition = 0;
};

constexpr int kDoubleDigits = 15;

// The powers of ten a double holds exactly, up to 10^15.
constexpr std::uint64_t kPowersOfTen[] = {1,
                                          10,
                                          100,
                                          1000,
                                          10000,
                                          100000,
                                          1000000,
                                          10000000,
                                          100000000,
                                          1000000000,
                                          10000000000,
                                          100000000000,
                                          1000000000000,
                                          10000000000000,
                                          100000000000000,
                                          1000000000000000};

// The 15 significant digits of a value from 1 up to 10^15, as to_chars rounds them (the exact
// binary value to the nearest, a tie to even), computed exactly in integers: the value is
// M 2^e with e < 0 there, so its digits are M 10^k 2^e rounded for k = 15 - its integer digits.
// Stake tables and listings write such values by the thousand; to_chars's general method costs
// several times as much.
bool fifteenDigits(double a, DecimalText& out) {
    if (!(a >= 1 && a < 1e15))
        return false;
    int integerDigits = 1;
    while (a >= static_cast<double>(kPowersOfTen[integerDigits]))
        ++integerDigits;
    int exponent2 = 0;
    const double fraction = std::frexp(a, &exponent2);  // a = fraction 2^exponent2, [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent2;  // a = mantissa 2^-shift, shift from 3 to 52
    const unsigned __int128 scaled =
        static_cast<unsigned __int128>(mantissa) * kPowersOfTen[kDoubleDigits - integerDigits];
    std::uint64_t digits = static_cast<std::uint64_t>(scaled >> shift);
    const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    if (rest > half || (rest == half && digits % 2 == 1))
        ++digits;
    if (digits == kPowersOfTen[kDoubleDigits]) {  // rounded up to the next power of ten
        digits = kPowersOfTen[kDoubleDigits - 1];
        ++integerDigits;
    }
    for (int i = kDoubleDigits - 1; i >= 0; --i) {
        out.digits[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    out.size = kDoubleDigits;
    out.pointPosition = integerDigits;
    return true;
}

template <typename Real>
DecimalText decimalText(Real v, int significantDigits) {
    if constexpr (std::is_same_v<Real, double>) {
        DecimalText out;
        out.negative = std::signbit(v);
        if (significantDigits == kDoubleDigits && fifteenDigits(std::fabs(v), out))
            return out;
    }
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific,
                                significantDigits - 1);
    DecimalText out;
    out.negative = std::signbit(v);
    const char* p = buf;
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            out.digits[out.size++] = *p;
    }
    // The exponent: e, its sign, two or three digits.
    const bool negativeExponent = p + 1 < result.ptr && p[1] == '-';
    int exponent = 0;
    for (p += 2; p < result.ptr; ++p)
        exponent = exponent * 10 + (*p - '0');
    out.pointPosition = (negativeExponent ? -exponent : exponent) + 1;
    return out;
}

enum class Ties { AwayFromZero, ToEven };

// Room for the digits of the largest double (309 before the point) with 15 decimals, and in front
// for the zeros that pad a small value and for a carry.
constexpr int kRoundedRoom = 400;
constexpr int kRoundedFront = 20;

// A value rounded to a number of decimals: its integer digits (no leading zeros, "0" for none)
// and exactly `decimals` fraction digits, held in place as offsets into its own buffer.
struct Rounded {
    bool negative = false;
    char buffer[kRoundedRoom];
    int integerBegin = 0, split = 0, end = 0;  // integer digits, then the fraction digits

    std::string_view integerDigits() const {
        return {buffer + integerBegin, static_cast<std::size_t>(split - integerBegin)};
    }
    std::string_view fractionDigits() const {
        return {buffer + split, static_cast<std::size_t>(end - split)};
    }
    bool isZero() const {
        return integerDigits() == "0" &&
               fractionDigits().find_first_not_of('0') == std::string_view::npos;
    }
};

Rounded roundDecimal(double v, int decimals, Ties ties) {
    Rounded out;
    // Digits kept: those left of the rounding position; they hold the value times 10^decimals.
    char* kept = out.buffer + kRoundedFront;
    int n = 0;
    if (v != 0.0 && std::isfinite(v)) {
        const DecimalText d = decimalText(v, kDoubleDigits);
        out.negative = d.negative;
        const int keep = d.pointPosition + decimals;
        bool roundUp = false;
        if (keep >= d.size) {
            std::memcpy(kept, d.digits, static_cast<std::size_t>(d.size));
            std::memset(kept + d.size, '0', static_cast<std::size_t>(keep - d.size));
            n = keep;
        } else if (keep >= 0) {
            std::memcpy(kept, d.digits, static_cast<std::size_t>(keep));
            n = keep;
            const char next = d.digits[keep];
            bool restZero = true;
            for (int k = keep + 1; k < d.size; ++k)
                restZero = restZero && d.digits[k] == '0';
            if (next > '5' || (next == '5' && !restZero)) {
                roundUp = true;
            } else if (next == '5') {
                roundUp = ties == Ties::AwayFromZero || (n > 0 && (kept[n - 1] - '0') % 2 == 1);
            }
        }
        // keep < 0: the value is below half a unit of the last decimal; it rounds to zero.
        if (roundUp) {
            int i = n - 1;
            while (i >= 0 && kept[i] == '9')
                kept[i--] = '0';
            if (i >= 0) {
                ++kept[i];
            } else {
                *--kept = '1';
                ++n;
            }
        }
    }
    if (n < decimals + 1) {
        const int pad = decimals + 1 - n;
        kept -= pad;
        std::memset(kept, '0', static_cast<std::size_t>(pad));
        n += pad;
    }
    const int begin = static_cast<int>(kept - out.buffer);
    out.split = begin + n - decimals;
    out.end = begin + n;
    out.integerBegin = begin;
    while (out.integerBegin < out.split - 1 && out.buffer[out.integerBegin] == '0')
        ++out.integerBegin;
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
    std::string digits(d.digits, static_cast<std::size_t>(d.size));
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

// The text of a rounded value in a fixed pattern.
std::string fixedText(const Rounded& r, Pattern pattern) {
    const std::string_view integerDigits = r.integerDigits();
    std::string text;
    text.reserve(integerDigits.size() + static_cast<std::size_t>(r.end - r.split) + 4);
    if (r.negative)
        text += '-';
    if (pattern == Pattern::Padded3Fixed3 && integerDigits.size() < 3)
        text.append(3 - integerDigits.size(), '0');
    text += integerDigits;
    text += '.';
    text += r.fractionDigits();
    return text;
}

}  // namespace

std::string format(double v, Pattern pattern) {
    return fixedText(roundDecimal(v, decimalsOf(pattern), Ties::AwayFromZero), pattern);
}

std::string roundedText(double v, Pattern pattern) {
    // roundTo gives the double nearest to the rounded decimal; when that decimal has at most 15
    // significant digits, its 15-digit text is the decimal again, which format then keeps as it
    // is. So the rounded decimal is the text, without the double in between.
    const Rounded r = roundDecimal(v, decimalsOf(pattern), Ties::ToEven);
    if (r.integerDigits().size() + static_cast<std::size_t>(r.end - r.split) <= 15)
        return fixedText(r, pattern);
    return format(roundTo(v, decimalsOf(pattern)), pattern);
}

std::string format(double v) {
    return generalText(v);
}

std::string format(std::string_view text) {
    if (auto v = readNumber(text))
        return generalText(*v);
    return std::string(text);
}

std::string coordinateText(double v_m, const CoordinateForm& form) {
    return (form.leadingBlank ? " " : "") + roundedText(v_m, form.pattern);
}

double roundTo(double v, int decimals) {
    if (!std::isfinite(v))
        return v;
    decimals = std::clamp(decimals, 0, 15);
    const Rounded r = roundDecimal(v, decimals, Ties::ToEven);
    // The digits with the point between them: integer digits, ".", fraction digits.
    char text[kRoundedRoom + 1];
    const std::string_view integerDigits = r.integerDigits(), fractionDigits = r.fractionDigits();
    std::memcpy(text, integerDigits.data(), integerDigits.size());
    text[integerDigits.size()] = '.';
    std::memcpy(text + integerDigits.size() + 1, fractionDigits.data(), fractionDigits.size());
    double out = 0;
    std::from_chars(text, text + integerDigits.size() + 1 + fractionDigits.size(), out);
    return r.negative ? -out : out;
}

std::string generalText(double v) {
    if (v == 0.0 || !std::isfinite(v))
        return v == 0.0 ? "0" : std::to_string(v);
    // A whole number of at most 15 digits is its digits: the kilometres of every chainage.
    if (std::fabs(v) < 1e15 && v == std::trunc(v)) {
        char text[24];
        const auto end = std::to_chars(text, text + sizeof text, static_cast<long long>(v)).ptr;
        return std::string(text, end);
    }
    return generalFromDigits(decimalText(v, kDoubleDigits));
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

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace hcurve
