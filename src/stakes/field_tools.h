// The field tools: reverse calculation of a surveyed point (坐标反算) and export of the last stake
// run (导出中桩坐标), as commands that talk to the user through the port, and the pieces a window
// calls with what its own dialogs gave.
#pragma once

#include <optional>
#include <string>

#include "curve/curve_record.h"
#include "alignment/curve_reverse.h"
#include "export/point_files.h"
#include "port/user_port.h"

namespace hcurve {

/// Shown by the export while the record holds no stake run.
inline constexpr const char* kNoStakeRun = "尚无中桩计算结果：请先点击“中桩计算”计算中桩。";

/// The result line of a reverse calculation:
/// "坐标反算：桩号 K12+300.000，偏距 5.000 米（右侧），位于圆曲线。"
/// The chainage in the report's stake form, the offset's size with three decimals and its side
/// (左侧, 右侧, or 中线上 when it rounds to 0.000), and the element's name.
std::string reverseMessage(const FootPoint& foot);

/// The result line, followed by a remark when other feet are about as near (the circle centre,
/// for example) and one when the point lies farther from the centre line than is plausible:
/// "…，位于始端直线。注意：该点离中线超过 500 米（半径 R 与 1000 米中较小者），…"
std::string reverseResultMessage(const ReverseResult& result);

/// 坐标反算: needs a computed curve (otherwise kNoComputedCurve); asks X, then Y, and shows the
/// result line as a message.
void reverseCalculation(const CurveRecord& record, UserPort& port);

/// The format a path's extension asks for: .csv, .dat or .gsi (Leica GSI-16), in any case; nothing
/// for any other.
std::optional<ExportFormat> exportFormatOf(const std::string& path);

/// Why the last run cannot be exported: no computed curve (kNoComputedCurve) or no stake run
/// (kNoStakeRun); done when it can.
Result<void> exportRefusal(const CurveRecord& record);

/// Exports the last run to path (UTF-8) in the format given, replacing an existing file only with
/// a complete new one (a GSI file only once every point has its point number, else why not).
/// What to tell the user once the whole file is written, "已导出 7 个点到文件“/path/a.csv”。";
/// the failure: the refusal, or "无法写入文件“/path/a.csv”：reason。" with the system's reason.
Result<std::string> exportLastRun(const CurveRecord& record, const std::string& path,
                                  ExportFormat format);

/// 导出中桩坐标: needs a computed curve and a stake run; asks the path until its extension is .csv,
/// .dat or .gsi (a blank answer ends the command quietly), writes the file and shows the outcome.
void exportStakeCoordinates(const CurveRecord& record, UserPort& port);

}  // namespace hcurve
