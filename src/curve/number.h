// Reading typed text as numbers, and the integer and single conversions of typed answers.
//
// A text reads as a number when, after optional blanks (spaces or tabs) on either side, it is an
// optional sign, digits with an optional decimal point (at least one digit, on either side of the
// point), and an optional exponent (e or E, an optional sign, digits), and its value is finite.
//
//   legal:   "12"  " -3.5 "  "+.5"  "7."  "1e3"  "2.5E-2"  "00"  "-0"
//   illegal: ""  " "  "."  "-"  "1.2.3"  "1,5"  "e5"  "1e"  "1e+"  "0x10"  "inf"  "nan"  "1 2"
//            "1e999" (not finite)
//
// The reading does not depend on the process locale: a decimal comma never counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hcurve {

/// The number a typed text reads as, or nothing. Values too small for a double read as (signed) 0.
std::optional<double> readNumber(std::string_view text);

/// The text read as a 32-bit float, rounded to the nearest float from its decimal digits (so "12.3"
/// is the float nearest 12.3). Nothing when the text does not read as a number or is beyond the
/// float range.
std::optional<float> readFloat32(std::string_view text);

/// A double converted to a signed 16-bit integer: the nearest integer, ties to even (2.5 -> 2,
/// 3.5 -> 4). Nothing when the rounded value lies outside -32768..32767 or v is not finite.
std::optional<std::int16_t> toInt16(double v);

/// True when the text is empty or holds only blanks.
bool isBlank(std::string_view text);

/// 1, 2 or 5 times a power of ten, the largest not above v (v > 0, any unit): the step of a
/// drawing's grid, scale bar or exaggeration.
double niceStepBelow(double v);

}  // namespace hcurve
