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

TEST(GeneralText, FloatsShowSevenDigits) {
    EXPECT_EQ(generalText(12.3f), "12.3");
    EXPECT_EQ(generalText(2.0f), "2");
    EXPECT_EQ(generalText(0.1f), "0.1");
    EXPECT_EQ(generalText(-7.5f), "-7.5");
    EXPECT_EQ(generalText(1234567.0f), "1234567");
}

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

TEST(StrText, BlankBeforeNonNegative) {
    EXPECT_EQ(strText(12), " 12");
    EXPECT_EQ(strText(0), " 0");
    EXPECT_EQ(strText(-0.0), " 0");
    EXPECT_EQ(strText(-1), "-1");
}

}  // namespace
}  // namespace hcurve
