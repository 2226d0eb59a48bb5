#include "curve/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace hcurve {
namespace {

TEST(ReadNumber, AcceptsSignDigitsPointAndExponentWithBlanks) {
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c :
         {Case{"12", 12}, Case{" -3.5 ", -3.5}, Case{"+.5", 0.5}, Case{"7.", 7}, Case{"1e3", 1000},
          Case{"2.5E-2", 0.025}, Case{"00", 0}, Case{"\t12345.678\t", 12345.678},
          Case{"-25.3000", -25.3}, Case{"1e-400", 0}}) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(readNumber(c.text).has_value());
        EXPECT_EQ(*readNumber(c.text), c.value);
    }
}

TEST(ReadNumber, RefusesEverythingElse) {
    for (const char* text :
         {"",    " ",   ".",   "-",   "+", "1.2.3", "1,5", "e5",  "1e",    "1e+",     "0x10",
          "inf", "nan", "1 2", "--1", "y", "n",     "ok",  "12m", "1e999", "-1e400x", "１２"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(readNumber(text).has_value());
    }
}

TEST(ReadNumber, NegativeZeroKeepsItsSign) {
    ASSERT_TRUE(readNumber("-0").has_value());
    EXPECT_TRUE(std::signbit(*readNumber("-0")));
}

TEST(ReadFloat32, RoundsTheDecimalTextToTheNearestFloat) {
    EXPECT_EQ(*readFloat32("12.3"), 12.3f);
    EXPECT_EQ(static_cast<double>(*readFloat32("0.1")), 0.10000000149011612);
    EXPECT_FALSE(readFloat32("1e39").has_value());
    EXPECT_FALSE(readFloat32("abc").has_value());
}

TEST(ToInt16, NearestWithTiesToEvenOrNothingWhenItDoesNotFit) {
    const std::pair<double, std::optional<std::int16_t>> cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {1.4999, 1},
        {32767.4, 32767},
        {-32768.5, -32768},
        {32767.5, std::nullopt},  // rounds to 32768
        {-32768.6, std::nullopt},
        {1e9, std::nullopt},
        {NAN, std::nullopt}};
    for (const auto& [v, n] : cases)
        EXPECT_EQ(toInt16(v), n) << v;
}

}  // namespace
}  // namespace hcurve
