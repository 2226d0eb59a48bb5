// Number texts of the displays and the report.
//
// Rounding of halves is decided on the value's decimal text at 15 significant digits, the precision
// a double carries for a typed value: a typed 1.0005 is the double 1.000499999999999989..., but it
// reads 1.00050000000000 at 15 digits, so format(1.0005, "0.000") gives 1.001 as the user reads it.
// format() rounds halves away from zero; roundTo() rounds halves to even, so that typed halves read
// as the user typed them and repeated rounding does not drift.
//
// No text ever shows a negative zero: -0, and a negative value that rounds to zero, show as 0.
#pragma once

#include <string>
#include <string_view>

namespace hcurve {

/// The number patterns of the displays.
enum class Pattern {
    Fixed3,        // "0.000":   at least one integer digit, exactly 3 decimals
    Fixed4,        // "0.0000":  exactly 4 decimals
    Fixed5,        // "0.00000": exactly 5 decimals
    Padded3Fixed3  // "000.000": at least three integer digits (leading zeros), exactly 3 decimals
};

/// format(v, pattern): v rounded half away from zero to the pattern's decimals.
/// 3456789.12345 with Fixed3 gives "3456789.123"; 60 with Fixed4 "60.0000"; 5.1 with
/// Padded3Fixed3 "005.100"; -1.5 with Padded3Fixed3 "-001.500".
std::string format(double v, Pattern pattern);

/// format(v) without a pattern: the general text of v.
std::string format(double v);

/// format(text) without a pattern: the general text of the number the text reads as, or the text
/// unchanged when it does not read as a number.
std::string format(std::string_view text);

/// round(v, n): v rounded to n decimals (0 <= n <= 15), ties to even. roundTo(123.45678, 4) is
/// 123.4568, roundTo(2.5, 0) is 2, roundTo(0.125, 2) is 0.12.
double roundTo(double v, int decimals);

/// format(roundTo(v, n), pattern) with n the pattern's decimals, in one step: the fields of a
/// stake listing show every coordinate this way, and the report its lengths.
std::string roundedText(double v, Pattern pattern);

/// How a coordinate is written: its decimals and whether a blank stands before it.
struct CoordinateForm {
    Pattern pattern;
    bool leadingBlank;
};
/// The stake listing and the characteristic points in the window: " 3456750.458".
inline constexpr CoordinateForm kFieldCoordinate{Pattern::Fixed3, true};
/// The ZH point in the window: " 3456750.4581".
inline constexpr CoordinateForm kZhFieldCoordinate{Pattern::Fixed4, true};
/// The printed report and the exported files: "3456750.458".
inline constexpr CoordinateForm kPlainCoordinate{Pattern::Fixed3, false};
/// The route's tables: "3456750.4581".
inline constexpr CoordinateForm kTableCoordinate{Pattern::Fixed4, false};

/// A coordinate in metres, rounded once (ties to even) to the form's decimals.
std::string coordinateText(double v_m, const CoordinateForm& form);

/// The general text of a double: at most 15 significant digits, no trailing zeros, no decimal
/// point without decimals, no leading blank ("250", "123.4568", "-0.5"). Never an exponent: 1e20
/// is "100000000000000000000", 2.5e-11 is "0.000000000025".
std::string generalText(double v);

/// The general text of a 32-bit float: at most 7 significant digits, so a float entered as 12.3
/// reads "12.3", not the digits of the widened double 12.300000190734863.
std::string generalText(float v);

/// v with exactly `decimals` decimals (0 <= decimals <= 300), rounded from its exact binary value,
/// ties to even, as printf's %.*f: fixedText(2.5, 0) is "2", fixedText(0.0009765625, 9)
/// "0.000976562", fixedText(-0.0001, 2) "-0.00". Infinities and NaN read "inf", "-inf", "nan".
std::string fixedText(double v, int decimals);

/// The shortest text without an exponent that reads back as v (the fewest digits; of those, the
/// nearest to v): 0.1 is "0.1", 1e-7 "0.0000001", 1234567.891 "1234567.891", -0.0 "-0". From
/// 2^53 on, where a double is a whole number, its exact digits: 1e23 is
/// "99999999999999991611392".
std::string shortestFixedText(double v);

/// Str(v): one blank before a number that is not negative, "-" before a negative one
/// (Str(12) is " 12", Str(-1) is "-1").
std::string strText(double v);

/// A CSV field: as it is, or in double quotes with its quotes doubled when it holds a comma, a
/// quote or a line break.
std::string csvField(std::string_view text);

}  // namespace hcurve
