// 保存平面图 in the console (command 7): asks for a path and saves the plan view there. The
// drawing is the window's and needs Qt; the console itself does not, so the front end hands in
// the function that draws and saves. The .dxf for CAD needs no drawing and is saved by every build.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "curve/curve_record.h"
#include "curve/result.h"
#include "port/user_port.h"

namespace hcurve {

/// Saves the plan of the record's computed curve and last run to the path (UTF-8), in the format
/// of its extension; nothing on success, otherwise the message for the user.
using PlanSaver = std::function<Result<void>(const CurveRecord& record, const std::string& path)>;

/// Shown by command 7 in a build that cannot draw, before the path typed.
inline constexpr const char* kOnlyDxfInThisBuild =
    "此版本编译时未带 Qt，不含绘图功能，平面图只能保存为 .dxf：";

/// 保存平面图: without a computed curve kNoComputedCurve; otherwise asks the path until its
/// extension is .png, .svg, .pdf or .dxf (only .dxf without a saver; a blank answer ends the
/// command quietly), saves (a .dxf by savePlanDxf, for CAD) and shows
/// "已保存平面图到文件“/path/plan.png”。" or why it could not.
void savePlanDrawing(const CurveRecord& record, UserPort& port, const PlanSaver& save);

}  // namespace hcurve
