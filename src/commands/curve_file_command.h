// 保存曲线 and 打开曲线: the computed curve's design kept in a curve file, and a curve opened from
// one, computed and shown as 开始计算 would without its dialogues.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "curve/curve_record.h"
#include "port/user_port.h"

namespace hcurve {

/// Where a curve file goes or comes from, as a front end's dialog chose it; nothing when the user
/// cancels. saving: the file is to be written.
using CurveFileChooser = std::function<std::optional<std::string>(bool saving)>;

/// Asked for the file name when no chooser is handed in.
inline constexpr const char* kCurveFilePrompt = "请输入曲线文件名 :( 如 JD1.csv )";

/// 保存曲线: needs a computed curve (otherwise kNoComputedCurve); the file from the chooser, or
/// asked (a blank answer ends the command quietly); an existing file is replaced only by a whole
/// new one. Shows "已保存曲线到文件“/path/JD1.csv”。" or why it could not.
void saveCurve(const CurveRecord& record, UserPort& port, const CurveFileChooser& choose);

/// 打开曲线: reads the file (chosen or asked as above; UTF-8, or GBK as a Chinese spreadsheet saves
/// it, as the route's files are read) and, when every value in it can be used,
/// shows the design and computes and shows the curve; otherwise says what is wrong and leaves the
/// record as it was.
void openCurve(CurveRecord& record, UserPort& port, const CurveFileChooser& choose);

/// Opens the file without a word when it can be used: the last curve at the start of the program.
bool openCurveQuietly(CurveRecord& record, UserPort& port, const std::string& text);

}  // namespace hcurve
