#include "curve/format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace hcurve {
namespace {

TEST(FormatPattern, WorkedExamples) {
    EXPECT_EQ(format(3456789.12345, Pattern::Fixed3), "3456789.123");
    EXPECT_EQ(format(60.0, Pattern::Fixed4), "60.0000");
    EXPECT_EQ(format(45.3015, Pattern::Fixed5), "45.30150");
    EXPECT_EQ(format(5.1, Pattern::Padded3Fixed3), "005.100");
    EXPECT_EQ(format(-1.5, Pattern::Padded3Fixed3), "-001.500");
    EXPECT_EQ(format(999.9996, Pattern::Padded3Fixed3), "1000.000");
    EXPECT_EQ(format(0.0, Pattern::Fixed3), "0.000");
    EXPECT_EQ(format(-12.3456, Pattern::Fixed3), "-12.346");
}

TEST(FormatPattern, HalvesGoAwayFromZeroAsTyped) {
    EXPECT_EQ(format(1.0005, Pattern::Fixed3), "1.001");
    EXPECT_EQ(format(0.00005, Pattern::Fixed4), "0.0001");
    EXPECT_EQ(format(-0.00005, Pattern::Fixed4), "-0.0001");
    EXPECT_EQ(format(0.0625, Pattern::Fixed3), "0.063");
}

TEST(FormatPattern, NoNegativeZero) {
    EXPECT_EQ(format(-0.0, Pattern::Fixed3), "0.000");
    EXPECT_EQ(format(-0.0001, Pattern::Fixed3), "0.000");
    EXPECT_EQ(format(-0.0004, Pattern::Padded3Fixed3), "000.000");
}

TEST(FormatPattern, LargeAndSmallMagnitudesStayFixed) {
    EXPECT_EQ(format(1e9, Pattern::Fixed3), "1000000000.000");
    EXPECT_EQ(format(-999999999.9999, Pattern::Fixed4), "-999999999.9999");
    EXPECT_EQ(format(1e-14, Pattern::Padded3Fixed3), "000.000");
    EXPECT_EQ(format(1e20, Pattern::Fixed3), "100000000000000000000.000");
}

TEST(FormatText, NumbersAreWrittenAsNumbersOtherTextStaysAsTyped) {
    EXPECT_EQ(format(std::string_view(" 012")), "12");
    EXPECT_EQ(format(std::string_view("JD-3")), "JD-3");
}

TEST(RoundTo, TiesGoToEvenOnTheTypedDigits) {
    EXPECT_EQ(roundTo(250, 4), 250);
    EXPECT_EQ(roundTo(123.45678, 4), 123.4568);
    EXPECT_EQ(roundTo(2.5, 0), 2);
    EXPECT_EQ(roundTo(3.5, 0), 4);
    EXPECT_EQ(roundTo(0.125, 2), 0.12);
    EXPECT_EQ(roundTo(0.135, 2), 0.14);
    EXPECT_EQ(roundTo(1.0005, 3), 1.0);    // typed half, to even
    EXPECT_EQ(roundTo(1.0015, 3), 1.002);  // typed half, to even
    EXPECT_EQ(roundTo(-2.5, 0), -2);
    EXPECT_EQ(roundTo(999.9996, 3), 1000);
}

TEST(GeneralText, FifteenDigitsNoTrailingZeros) {
    EXPECT_EQ(generalText(250.0), "250");
    EXPECT_EQ(generalText(123.4568), "123.4568");
    EXPECT_EQ(generalText(80.0), "80");
    EXPECT_EQ(generalText(176.8435), "176.8435");
    EXPECT_EQ(generalText(3456336.1782), "3456336.1782");
    EXPECT_EQ(generalText(13.0 / 3.0), "4.33333333333333");
    EXPECT_EQ(generalText(-0.5), "-0.5");
    EXPECT_EQ(generalText(-0.0), "0");
    EXPECT_EQ(generalText(0.1 + 0.2), "0.3");
    // Never an exponent, however large or small.
    EXPECT_EQ(generalText(1e-14), "0.00000000000001");
    EXPECT_EQ(generalText(1e15), "1000000000000000");
    EXPECT_EQ(generalText(1e20), "100000000000000000000");
    EXPECT_EQ(generalText(-2.5e-11), "-0.000000000025");
    EXPECT_EQ(generalText(1e-12f), "0.000000000001");
    EXPECT_EQ(generalText(3.4e38f), "340000000000000000000000000000000000000");
    EXPECT_EQ(generalText(999999999999999.0), "999999999999999");
    EXPECT_EQ(generalText(0.000000001), "0.000000001");
}

// The general text of a double from its exact value: the binary fraction M 2^e written out in
// decimal digits (M 5^-e with the point -e places from the right), rounded to 15 significant
// digits with a tie to even, trailing zeros dropped.
std::string exactGeneralText(double v) {
    int e2 = 0;
    const double fraction = std::frexp(std::fabs(v), &e2);
    std::uint64_t mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    int e = e2 - 53;
    std::vector<int> digits;  // most significant first
    for (; mantissa > 0; mantissa /= 10)
        digits.insert(digits.begin(), static_cast<int>(mantissa % 10));
    const auto times = [&](int factor) {
        int carry = 0;
        for (auto d = digits.rbegin(); d != digits.rend(); ++d) {
            const int x = *d * factor + carry;
            *d = x % 10;
            carry = x / 10;
        }
        for (; carry > 0; carry /= 10)
            digits.insert(digits.begin(), carry % 10);
    };
    const int decimals = e < 0 ? -e : 0;
    for (; e > 0; --e)
        times(2);
    for (; e < 0; ++e)
        times(5);
    int point = static_cast<int>(digits.size()) - decimals;  // digits before the decimal point
    // 15 significant digits, the rest decides: above half up, half to even.
    if (digits.size() > 15) {
        const bool above = digits[15] > 5 || (digits[15] == 5 && [&] {
                               for (std::size_t k = 16; k < digits.size(); ++k)
                                   if (digits[k] != 0)
                                       return true;
                               return false;
                           }());
        const bool half = digits[15] == 5 && !above;
        digits.resize(15);
        if (above || (half && digits[14] % 2 == 1)) {
            int k = 14;
            for (; k >= 0 && digits[k] == 9; --k)
                digits[k] = 0;
            if (k >= 0) {
                ++digits[k];
            } else {
                digits.insert(digits.begin(), 1);
                digits.pop_back();
                ++point;
            }
        }
    }
    while (digits.size() > 1 && digits.back() == 0 && static_cast<int>(digits.size()) > point)
        digits.pop_back();
    std::string text = v < 0 ? "-" : "";
    if (point <= 0)
        text += "0." + std::string(static_cast<std::size_t>(-point), '0');
    for (int k = 0; k < static_cast<int>(digits.size()) || k < point; ++k) {
        if (k == point && k > 0)
            text += '.';
        text += k < static_cast<int>(digits.size()) ? static_cast<char>('0' + digits[k]) : '0';
    }
    return text;
}

TEST(GeneralText, TheExactValueRoundedToFifteenDigitsTiesToEven) {
    std::vector<double> values = {1.000030517578125,  // a tie, down to ...812
                                  1.000091552734375,  // a tie, up to ...438
                                  999.9999999999995,
                                  9.999999999999995,
                                  99999999999999.95,
                                  999999999999999.9,
                                  1.0,
                                  1e14,
                                  123456.78905,
                                  0.0625,
                                  3456789.1234};
    for (double p = 1; p < 2e15; p *= 10) {
        values.push_back(std::nextafter(p, 0.0));
        values.push_back(std::nextafter(p, 1e300));
    }
    std::mt19937_64 random(20261209);
    // Ties of every decade: m / 2^(k+1) with m odd lies halfway between two 15-digit decimals
    // when the value has 15 - k integer digits.
    for (int integerDigits = 1; integerDigits <= 15; ++integerDigits) {
        const int k = 15 - integerDigits;
        const double low = std::pow(10.0, integerDigits - 1) * std::ldexp(1.0, k + 1);
        for (int i = 0; i < 200; ++i) {
            const auto m =
                static_cast<std::uint64_t>(low + static_cast<double>(random() % 1000000) *
                                                     (low * 9 / 1000000)) |
                1u;
            values.push_back(std::ldexp(static_cast<double>(m), -(k + 1)));
        }
    }
    // Any double from a thousandth to 10^16, either sign.
    std::uniform_real_distribution<double> exponent(-3, 16), mantissa(1, 10);
    for (int i = 0; i < 20000; ++i)
        values.push_back((i % 2 ? -1 : 1) * mantissa(random) *
                         std::pow(10.0, std::floor(exponent(random))));
    for (int i = 0; i < 2000; ++i)  // whole numbers, as the kilometres of a chainage
        values.push_back(
            std::floor(mantissa(random) * std::pow(10.0, std::floor(exponent(random)))));
    for (double v : values) {
        if (v == 0)
            continue;
        ASSERT_EQ(generalText(v), exactGeneralText(v)) << std::hexfloat << v;
    }
}

TEST(GeneralText, FloatsShowSevenDigits) {
    EXPECT_EQ(generalText(12.3f), "12.3");
    EXPECT_EQ(generalText(2.0f), "2");
    EXPECT_EQ(generalText(0.1f), "0.1");
    EXPECT_EQ(generalText(-7.5f), "-7.5");
    EXPECT_EQ(generalText(1234567.0f), "1234567");
}

// The standard library's floating-point to_chars is the reference where it has one (Linux,
// Windows); emscripten's has none, and the browser build formats through the same code.
#if defined(__cpp_lib_to_chars)
// The general text read against the standard library's own shortest-form printing of 15 (a
// float: 7) significant digits, where that prints positionally, for the values a field shows and
// the hard ones: random bit patterns, decimal halves and their neighbours, exact binary halves
// at the 15th digit, values that round up to a power of ten.
std::string printedGeneral(double v, int digits) {
    char text[64];
    return {text,
            std::to_chars(text, text + sizeof text, v, std::chars_format::general, digits).ptr};
}
std::string printedGeneral(float v) {
    char text[64];
    return {text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 7).ptr};
}

TEST(GeneralText, ReadsAsTheStandardLibraryPrintsFifteenDigits) {
    std::mt19937_64 random(30);
    std::uniform_real_distribution<double> coordinate(-4e6, 4e6), unit(-1, 1);
    std::vector<double> values = {0.5,
                                  1.5,
                                  12345678901234.5,
                                  99999999999999.95,
                                  9.999999999999995,
                                  999999999999999.4,
                                  1e14,
                                  1e-4,
                                  0.1,
                                  0.3};
    for (int i = 0; i < 40000; ++i) {
        const std::uint64_t bits = random();
        double pattern;
        std::memcpy(&pattern, &bits, sizeof pattern);
        const double half = (std::floor(coordinate(random) * 1e9) + 0.5) / 1e9;
        const double binaryHalf = static_cast<double>(bits % 999999999999999) + 0.5;
        for (double v : {coordinate(random), unit(random), pattern, half, std::nextafter(half, 0.0),
                         std::nextafter(half, 1e300), binaryHalf})
            values.push_back(v);
    }
    int compared = 0;
    for (double v : values) {
        if (!(std::fabs(v) >= 1e-4 && std::fabs(v) < 1e15))
            continue;  // printed with an exponent there
        ++compared;
        ASSERT_EQ(generalText(v), printedGeneral(v, 15)) << std::hexfloat << v;
    }
    EXPECT_GT(compared, 200000);
}

TEST(GeneralText, FloatsReadAsTheStandardLibraryPrintsSevenDigits) {
    std::mt19937 random(30);
    std::uniform_real_distribution<float> distance(0, 100);
    for (int i = 0; i < 100000; ++i) {
        const std::uint32_t bits = random();
        float pattern;
        std::memcpy(&pattern, &bits, sizeof pattern);
        for (float v : {distance(random), pattern}) {
            if (std::fabs(v) >= 1e-4f && std::fabs(v) < 1e7f) {
                ASSERT_EQ(generalText(v), printedGeneral(v)) << std::hexfloat << v;
            }
        }
    }
}

// The values the files are written with: coordinates, lengths, radii, bit patterns of every
// magnitude and sign, binary halves (ties at every number of decimals), and the edges of 2^53.
std::vector<double> writtenValues() {
    std::mt19937_64 random(53);
    std::uniform_real_distribution<double> coordinate(-4e6, 4e6);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  2.5,
                                  0.125,
                                  0.0009765625,
                                  1e-7,
                                  1e23,
                                  1e22,
                                  1e21,
                                  1e16,
                                  1e15,
                                  9007199254740991.0,
                                  9007199254740992.0,
                                  9007199254740993.0,
                                  4503599627370497.5,
                                  123456.5,
                                  1.7976931348623157e308,
                                  4.9406564584124654e-324};
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = random();
        double pattern;
        std::memcpy(&pattern, &bits, sizeof pattern);
        if (std::isfinite(pattern))
            values.push_back(pattern);
        values.push_back(coordinate(random));
        values.push_back(std::round(coordinate(random) * 1e4) / 1e4);
        values.push_back(
            std::ldexp(static_cast<double>(bits % 100000), -static_cast<int>(bits % 40)));
        values.push_back(
            std::ldexp(static_cast<double>(bits % 100000), static_cast<int>(bits % 90)));
    }
    return values;
}

TEST(FixedText, AsTheStandardLibraryPrintsFixedDecimals) {
    for (double v : writtenValues()) {
        for (int decimals : {0, 3, 8, 9}) {
            char text[400];
            const auto end =
                std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals).ptr;
            ASSERT_EQ(fixedText(v, decimals), std::string(text, end))
                << std::hexfloat << v << " " << decimals;
        }
    }
}

TEST(ShortestFixedText, AsTheStandardLibraryPrintsTheShortestFixedText) {
    for (double v : writtenValues()) {
        char text[400];
        const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed).ptr;
        ASSERT_EQ(shortestFixedText(v), std::string(text, end)) << std::hexfloat << v;
    }
}
#endif

TEST(FixedText, ExactBinaryValueTiesToEven) {
    struct Case {
        double v;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {2.5, 0, "2"},                        // 2.5 is exact: a tie, to the even 2
        {3.5, 0, "4"},                        // and to the even 4
        {0.125, 2, "0.12"},                   // 1/8 exactly: a tie
        {0.375, 2, "0.38"},                   // 3/8 exactly: a tie, up to the even 8
        {0.0009765625, 9, "0.000976562"},     // 2^-10 exactly: a tie at the ninth decimal
        {0.1, 20, "0.10000000000000000555"},  // the double nearest 0.1, digit by digit
        {1.005, 2, "1.00"},                   // 1.00499999999999989...: below the half
        {-0.0001, 2, "-0.00"},
        {3456789.12345, 4, "3456789.1234"},  // 3456789.12344999979...: below the half
        {1e23, 0, "99999999999999991611392"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fixedText(c.v, c.decimals), c.text) << c.v << " " << c.decimals;
}

TEST(ShortestFixedText, FewestDigitsThatReadBackWithoutAnExponent) {
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {
        {0.1, "0.1"},
        {0.0, "0"},
        {-0.0, "-0"},
        {1e-7, "0.0000001"},
        {2.5e-11, "0.000000000025"},
        {1234567.891, "1234567.891"},
        {-512345.678, "-512345.678"},
        {100.0, "100"},
        {1.25e15, "1250000000000000"},
        {0.1 + 0.2, "0.30000000000000004"},
        {9007199254740991.0, "9007199254740991"},  // 2^53 - 1: every digit counts
        {1e16, "10000000000000000"},               // from 2^53 on: the exact digits
        {1e23, "99999999999999991611392"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shortestFixedText(c.v), c.text) << c.v;
}

TEST(StrText, BlankBeforeNonNegative) {
    EXPECT_EQ(strText(12), " 12");
    EXPECT_EQ(strText(0), " 0");
    EXPECT_EQ(strText(-0.0), " 0");
    EXPECT_EQ(strText(-1), "-1");
}

}  // namespace
}  // namespace hcurve
