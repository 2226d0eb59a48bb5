// Which typed design values can be used, and which computed designs are curves.
#include "geometry/design_check.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/curve_elements.h"
#include "support/failure_text.h"

namespace hcurve {
namespace {

TEST(DesignCheck, UsableValuesAtTheEdges) {
    struct Case {
        DesignValue which;
        const char* typed;
    };
    for (const Case& c :
         {Case{DesignValue::K, "-1000000000"}, Case{DesignValue::X, "1e9"},
          Case{DesignValue::Y, "0"}, Case{DesignValue::T, "0"}, Case{DesignValue::T, "359.5959"},
          Case{DesignValue::T, "-0"}, Case{DesignValue::B, "179.5959"},
          Case{DesignValue::B, "-0.0001"}, Case{DesignValue::R, "0.001"},
          Case{DesignValue::A1, "0"}, Case{DesignValue::A2, " 250 "}}) {
        EXPECT_EQ(testing::failureOf(readDesignValue(c.which, c.typed)), std::nullopt) << c.typed;
    }
}

TEST(DesignCheck, RefusedValuesSayWhy) {
    struct Case {
        DesignValue which;
        const char* typed;
        const char* reason;
    };
    for (const Case& c :
         {Case{DesignValue::K, "", "交点桩号 K 不能为空。"},
          Case{DesignValue::K, "1000000000.1", "超出范围"}, Case{DesignValue::Y, "5e", "不是数值"},
          Case{DesignValue::T, "360", "360"}, Case{DesignValue::T, "10.6", "小于 60"},
          Case{DesignValue::T, "10.0060", "小于 60"}, Case{DesignValue::B, "0.0", "不能为零"},
          Case{DesignValue::B, "180", "180"}, Case{DesignValue::B, "-200", "180"},
          Case{DesignValue::R, "0", "大于零"}, Case{DesignValue::R, "2e9", "超出范围"},
          Case{DesignValue::A2, "-0.5", "负数"}}) {
        std::optional<std::string> message = testing::failureOf(readDesignValue(c.which, c.typed));
        ASSERT_TRUE(message.has_value()) << c.typed;
        EXPECT_NE(message->find(c.reason), std::string::npos) << *message;
    }
}

TEST(DesignCheck, MessagesNameTheValue) {
    EXPECT_EQ(readDesignValue(DesignValue::R, "abc").failure().message.rfind("平曲线半径 R", 0),
              0u);
    EXPECT_EQ(
        readDesignValue(DesignValue::A1, "-1").failure().message.rfind("第一缓和曲线要素 A1", 0),
        0u);
}

CurveElements curve(double B_dms, double R_m, double A1_m, double A2_m) {
    return computeCurve({1000, 0, 0, 30, B_dms, R_m, A1_m, A2_m});
}

TEST(DesignCheck, SpiralsMustFitTheDeflection) {
    EXPECT_TRUE(checkCurve(curve(30.1530, 500, 200, 250)));
    EXPECT_TRUE(checkCurve(curve(-45, 300, 0, 0)));
    // Ls = A^2 / R = 100 each; beta1 + beta2 = 2 * 90 * 100 / (pi * 100) = 57.3 degrees > 30.
    std::optional<std::string> tooLong = testing::failureOf(checkCurve(curve(30, 100, 100, 100)));
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_NE(tooLong->find("缓和曲线太长"), std::string::npos);
}

TEST(DesignCheck, OverflowingDesignsAreNoCurve) {
    // A deflection so small that it is zero in radians: 0 / tan(0) in the tangent lengths.
    CurveElements tiny = curve(5e-324, 500, 0, 0);
    std::optional<std::string> message = testing::failureOf(checkCurve(tiny));
    ASSERT_TRUE(message.has_value());
    EXPECT_NE(message->find("溢出"), std::string::npos);
}

}  // namespace
}  // namespace hcurve
