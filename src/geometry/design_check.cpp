#include "geometry/design_check.h"

#include <cmath>
#include <iterator>

#include "curve/angle.h"
#include "curve/number.h"
#include "curve/shown_text.h"

namespace hcurve {
namespace {

// An arc length a hair below zero comes from rounding of typed parameters that exactly fill the
// deflection with spirals; the stakes are still continuous there.
constexpr double kArcRoundingTolerance_m = 1e-6;

// The names of the design values, in the order of DesignValue.
constexpr const char* kValueNames[] = {"交点桩号 K",          "交点纵座标 X",       "交点横座标 Y",
                                       "起始端方位角 T",      "平曲线偏角 B",       "平曲线半径 R",
                                       "第一缓和曲线要素 A1", "第二缓和曲线要素 A2"};
static_assert(std::size(kValueNames) == static_cast<std::size_t>(DesignValue::A2) + 1);

const char* nameOf(DesignValue which) {
    return kValueNames[static_cast<std::size_t>(which)];
}

std::string quoted(std::string_view typed) {
    return "“" + shownText(typed) + "”";
}

bool isAngle(DesignValue which) {
    return which == DesignValue::T || which == DesignValue::B;
}

// The reason the typed text cannot be used for the value, given the number it reads as (if any).
std::optional<std::string> designValueProblem(DesignValue which, std::string_view typed,
                                              std::optional<double> v) {
    const std::string name = nameOf(which);
    if (!v) {
        if (isBlank(typed))
            return name + " 不能为空。";
        return name + " 必须是数值，" + quoted(typed) + " 不是数值。";
    }
    if (isAngle(which)) {
        if (!isValidDms(*v)) {
            return name + " 按 度.分秒 输入，分和秒都必须小于 60：" + quoted(typed) + " 不对。";
        }
        double degrees = dmsToDegrees(*v);
        if (which == DesignValue::T && (degrees < 0 || degrees >= kFullCircle_deg)) {
            return name + " 必须在 0 度到 360 度之间（不含 360 度）：" + quoted(typed) + " 不对。";
        }
        if (which == DesignValue::B && *v == 0) {
            return name + " 不能为零：偏角为零没有平曲线。";
        }
        if (which == DesignValue::B && std::fabs(degrees) >= kHalfCircle_deg) {
            return name + " 的绝对值必须小于 180 度：" + quoted(typed) + " 不对。";
        }
        return std::nullopt;
    }
    if (std::fabs(*v) > kMaxDesignLength_m) {
        return name + " 超出范围（绝对值不能超过 1000000000 米）：" + quoted(typed) + " 不对。";
    }
    if (which == DesignValue::R && *v <= 0) {
        return name + " 必须大于零：" + quoted(typed) + " 不对。";
    }
    if ((which == DesignValue::A1 || which == DesignValue::A2) && *v < 0) {
        return name + " 不能为负数（不设缓和曲线输入 0）：" + quoted(typed) + " 不对。";
    }
    return std::nullopt;
}

}  // namespace

DesignReading readDesignValue(DesignValue which, std::string_view typed) {
    const std::optional<double> v = readNumber(typed);
    return {v.value_or(0), designValueProblem(which, typed, v)};
}

std::optional<std::string> checkCurve(const CurveElements& c) {
    if (c.Lf < -kArcRoundingTolerance_m) {
        return "缓和曲线太长，与偏角不相容：两段缓和曲线的切线角之和 (β1 + β2) "
               "大于偏角 B，圆曲线长度将为负。请检查 B、R、A1、A2。";
    }
    const double values[] = {c.Ls1, c.Ls2, c.T1,  c.T2,  c.Lf,  c.zh,  c.hy, c.yh, c.hz,
                             c.xa,  c.ya,  c.xh1, c.yh1, c.xh2, c.yh2, c.xb, c.yb, c.Xo,
                             c.Yo,  c.tb,  c.tj,  c.q1,  c.p1,  c.q2,  c.p2};
    for (double v : values) {
        if (!std::isfinite(v)) {
            return "这组设计数据算不出有效的曲线（计算结果溢出）。请检查 B、R、A1、A2。";
        }
    }
    // What is shown and staked out: beyond this the texts would need an exponent, and the stakes
    // of such a curve are no road.
    const double shown[] = {c.T1,  c.T2,  c.Lf,  c.zh,  c.hy, c.yh, c.hz, c.xa, c.ya,
                            c.xh1, c.yh1, c.xh2, c.yh2, c.xb, c.yb, c.Xo, c.Yo};
    for (double v : shown) {
        if (std::fabs(v) > kMaxDesignLength_m) {
            return "这组设计数据算出的曲线超出范围：切线长、圆曲线长、主点的桩号和座标、"
                   "圆心座标的绝对值都不能超过 1000000000 米。请检查 B、R、A1、A2。";
        }
    }
    return std::nullopt;
}

}  // namespace hcurve
