// Messages more than one command shows.
#pragma once

namespace hcurve {

/// Shown by the stake run, the printout and the field tools while the record holds no computed
/// curve.
inline constexpr const char* kNoComputedCurve =
    "尚无曲线计算结果：请先点击“开始计算”输入设计数据。";

}  // namespace hcurve
