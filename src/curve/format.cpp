#include "curve/format.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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

// The first significant digits of a positive finite double, rounded to the nearest from its exact
// binary value, worked out in integers: the value is m * 2^e, so with s digits and the decimal
// point after p of them the digits are m * 10^(s - p) * 2^e, that is m * 5^k shifted by k + e bits
// (k = s - p), exact in 128 bits for k up to 27. This is what to_chars gives, in a fraction of its
// time, for every value a field shows; false for the rest (values of 10^s and more, tiny ones,
// and a remainder of exactly one half, where to_chars decides), which go to fmt, whose digits are
// to_chars's.
bool exactDigits(double magnitude, int significantDigits, DecimalText& out) {
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biasedExponent = static_cast<int>(bits >> 52);
    if (biasedExponent == 0 || biasedExponent == 0x7FF)
        return false;  // subnormal, infinite or not a number
    const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1} << 52;
    const int binaryExponent = biasedExponent - 1075;  // magnitude = mantissa * 2^binaryExponent
    constexpr int kMostFives = 27;                     // 5^27 < 2^63
    // 10^(p - 1) <= magnitude < 10^p: p from the binary exponent, or one more.
    const int topBit = binaryExponent + 52;  // 2^topBit <= magnitude < 2^(topBit + 1)
    int point = static_cast<int>(std::floor(topBit * 0.30102999566398120)) + 1;
    std::uint64_t lowest = 1;  // 10^(s - 1)
    for (int i = 1; i < significantDigits; ++i)
        lowest *= 10;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fives = significantDigits - point;
        if (fives < 0 || fives > kMostFives)
            return false;
        std::uint64_t power = 1;
        for (int i = 0; i < fives; ++i)
            power *= 5;
        unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * power;
        const int shift = fives + binaryExponent;
        bool roundUp = false;
        if (shift >= 0) {
            if (shift > 10)
                return false;  // never for a value of fewer than s digits before the point
            scaled <<= shift;
        } else {
            const int right = -shift;
            if (right >= 127)
                return false;
            const unsigned __int128 one = static_cast<unsigned __int128>(1) << right;
            const unsigned __int128 remainder = scaled & (one - 1);
            const unsigned __int128 half = one >> 1;
            if (remainder == half)
                return false;  // a tie: to_chars rounds it
            roundUp = remainder > half;
            scaled >>= right;
        }
        if (scaled >= static_cast<unsigned __int128>(lowest) * 10) {
            ++point;  // the estimate was one short
            continue;
        }
        if (scaled < lowest)
            return false;
        std::uint64_t digits = static_cast<std::uint64_t>(scaled) + (roundUp ? 1 : 0);
        if (digits == lowest * 10) {  // 9.99...95 rounded up: 10.00...0
            digits = lowest;
            ++point;
        }
        for (int i = significantDigits - 1; i >= 0; --i) {
            out.digits[i] = static_cast<char>('0' + digits % 10);
            digits /= 10;
        }
        out.size = significantDigits;
        out.pointPosition = point;
        return true;
    }
    return false;
}

template <typename Real>
DecimalText decimalText(Real v, int significantDigits) {
    DecimalText out;
    out.negative = std::signbit(v);
    if (exactDigits(std::fabs(static_cast<double>(v)), significantDigits, out))
        return out;
    char buf[64];
    // fmt rounds the exact binary value to the digits asked for, ties to even, as to_chars does.
    const char* end =
        fmt::format_to_n(buf, sizeof buf, "{:.{}e}", std::fabs(v), significantDigits - 1).out;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.')
            out.digits[out.size++] = *p;
    }
    // The exponent: e, its sign, two or three digits.
    const bool negativeExponent = p + 1 < end && p[1] == '-';
    int exponent = 0;
    for (p += 2; p < end; ++p)
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
        const DecimalText d = decimalText(v, 15);
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
    int size = d.size;
    while (size > 1 && d.digits[size - 1] == '0')
        --size;
    const std::string_view digits(d.digits, static_cast<std::size_t>(size));
    const int point = d.pointPosition;
    std::string out;
    out.reserve(static_cast<std::size_t>(std::max(size, point) + std::max(-point, 0) + 3));
    if (d.negative)
        out += '-';
    if (point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    } else if (size <= point) {
        out += digits;
        out.append(static_cast<std::size_t>(point - size), '0');
    } else {
        out += digits.substr(0, static_cast<std::size_t>(point));
        out += '.';
        out += digits.substr(static_cast<std::size_t>(point));
    }
    return out;
}

// The text of a rounded value in a fixed pattern, after a blank when asked for.
std::string fixedText(const Rounded& r, Pattern pattern, bool leadingBlank = false) {
    const std::string_view integerDigits = r.integerDigits();
    std::string text;
    text.reserve(integerDigits.size() + static_cast<std::size_t>(r.end - r.split) + 5);
    if (leadingBlank)
        text += ' ';
    if (r.negative)
        text += '-';
    if (pattern == Pattern::Padded3Fixed3 && integerDigits.size() < 3)
        text.append(3 - integerDigits.size(), '0');
    text += integerDigits;
    text += '.';
    text += r.fractionDigits();
    return text;
}

// roundedText, after a blank when asked for.
std::string roundedText(double v, Pattern pattern, bool leadingBlank) {
    // roundTo gives the double nearest to the rounded decimal; when that decimal has at most 15
    // significant digits, its 15-digit text is the decimal again, which format then keeps as it
    // is. So the rounded decimal is the text, without the double in between.
    const Rounded r = roundDecimal(v, decimalsOf(pattern), Ties::ToEven);
    if (r.integerDigits().size() + static_cast<std::size_t>(r.end - r.split) <= 15)
        return fixedText(r, pattern, leadingBlank);
    const Rounded again =
        roundDecimal(roundTo(v, decimalsOf(pattern)), decimalsOf(pattern), Ties::AwayFromZero);
    return fixedText(again, pattern, leadingBlank);
}

}  // namespace

std::string format(double v, Pattern pattern) {
    return fixedText(roundDecimal(v, decimalsOf(pattern), Ties::AwayFromZero), pattern);
}

std::string roundedText(double v, Pattern pattern) {
    return roundedText(v, pattern, false);
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
    return roundedText(v_m, form.pattern, form.leadingBlank);
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
    fast_float::from_chars(text, text + integerDigits.size() + 1 + fractionDigits.size(), out);
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
    return generalFromDigits(decimalText(v, 15));
}

std::string generalText(float v) {
    if (v == 0.0f || !std::isfinite(v))
        return v == 0.0f ? "0" : std::to_string(v);
    // The float's own 7-digit decimal, not the digits of the widened double.
    return generalFromDigits(decimalText(v, 7));
}

std::string fixedText(double v, int decimals) {
    return fmt::format("{:.{}f}", v, decimals);
}

std::string shortestFixedText(double v) {
    // From 2^53 on a double is a whole number whose shortest digits end in zeros that stand for
    // other digits: its exact digits are the shortest text without an exponent that reads back.
    constexpr double kWholeFrom = 9007199254740992.0;  // 2^53
    if (!std::isfinite(v) || std::fabs(v) >= kWholeFrom)
        return fixedText(v, 0);
    // fmt's shortest digits ("{}": 0.1, 1e-07, 1.25e+15), laid out without the exponent.
    char shortest[64];
    const char* end = fmt::format_to_n(shortest, sizeof shortest, "{}", v).out;
    const char* p = shortest;
    std::string out;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    char digits[24];
    int size = 0, beforePoint = 0;
    bool seenPoint = false;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            seenPoint = true;
            continue;
        }
        if (size == 0 && *p == '0' && p + 1 < end && p[1] != 'e') {
            if (seenPoint)
                --beforePoint;  // 0.001: its zeros after the point
            continue;           // and the 0 before it
        }
        digits[size++] = *p;
        if (!seenPoint)
            ++beforePoint;
    }
    if (p < end)
        beforePoint += std::atoi(std::string(p + 1, end).c_str());
    if (beforePoint <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-beforePoint), '0');
        out.append(digits, static_cast<std::size_t>(size));
    } else if (beforePoint >= size) {
        out.append(digits, static_cast<std::size_t>(size));
        out.append(static_cast<std::size_t>(beforePoint - size), '0');
    } else {
        out.append(digits, static_cast<std::size_t>(beforePoint));
        out += '.';
        out.append(digits + beforePoint, static_cast<std::size_t>(size - beforePoint));
    }
    return out;
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
