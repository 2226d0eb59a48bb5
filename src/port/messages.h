// Messages more than one command shows.
#pragma once

namespace hcurve {

/// Shown by the stake run, the printout and the field tools while the record holds no computed
/// curve.
inline constexpr const char* kNoComputedCurve =
    "尚无曲线计算结果：请先点击“开始计算”输入设计数据。";

/// A skew refused: the angle of a transverse axis from the normal must be less than 90 degrees
/// (the one-curve stake run; the route, which names the typed text, says it in skewDegrees).
inline constexpr const char* kSkewRule = "斜交角要按 度.分秒 输入，并小于 90 度。";

}  // namespace hcurve
