// 中桩成果报告: the stake report of the computed curve and its last run, written as a PDF file.
// The writing is the window's and needs Qt; the console itself does not, so the front end hands
// in the function that writes it, and a build without Qt says it cannot.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "curve/curve_record.h"
#include "curve/result.h"
#include "port/user_port.h"

namespace hcurve {

/// Writes the report of the record (which holds a computed curve) as a PDF file at path (UTF-8):
/// what to tell the user once the file is complete ("已保存中桩成果报告到文件“/path/r.pdf”（共 3
/// 页）。"), or why it is not.
using ReportSaver =
    std::function<Result<std::string>(const CurveRecord& record, const std::string& path)>;

/// Where the report goes, from a front end's file dialog; nothing when the user cancels.
using ReportFileChooser = std::function<std::optional<std::string>()>;

/// Shown in a build that cannot write the report.
inline constexpr const char* kCannotWriteReportInThisBuild =
    "此版本编译时未带 Qt，无法生成中桩成果报告。";

/// 中桩成果报告: without a saver the message above; without a computed curve kNoComputedCurve;
/// otherwise the file from the chooser, or asked until it ends in .pdf (a blank answer ends the
/// command quietly); then writes it and shows what the saver tells.
void saveStakeReport(const CurveRecord& record, UserPort& port, const ReportSaver& save,
                     const ReportFileChooser& choose);

}  // namespace hcurve
