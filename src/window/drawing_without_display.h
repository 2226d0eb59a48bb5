// The plan and the stake report drawn by a program that shows no window (the console's commands 7
// and 10): Qt is started on its offscreen platform the first time one is drawn, so that neither
// needs a display.
#pragma once

#include <optional>
#include <string>

#include "cad/section_sheets.h"
#include "commands/report_command.h"
#include "curve/curve_record.h"
#include "curve/result.h"

namespace hcurve {

/// savePlan(record, path) of views/plan_file.h, with Qt started first when no Qt application
/// runs yet: nothing on success, otherwise the message for the user.
Result<void> savePlanWithoutDisplay(const CurveRecord& record, const std::string& path);

/// saveStakeReportPdf(record, path) of window/report_writer.h, with Qt started first.
Result<std::string> saveStakeReportWithoutDisplay(const CurveRecord& record,
                                                  const std::string& path);

/// saveSectionSheets(sheets, path) of views/section_sheet_painter.h, with Qt started first
/// (hcurve route --section-sheets FILE.pdf).
Result<void> saveSectionSheetsWithoutDisplay(const SectionSheets& sheets, const std::string& path);

}  // namespace hcurve
