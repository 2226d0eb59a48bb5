// What the program's Qt part offers main(). The window and everything drawn with Qt (the plan
// files, the report's PDF) are a shared library of their own, which main() loads only when the
// window is shown or the console draws; the rest of the program, hcurve route and the console
// start without Qt. This header holds no Qt, so that main() can read it.
#pragma once

#include <optional>
#include <string>

#include "cad/section_sheets.h"
#include "commands/report_command.h"
#include "curve/curve_record.h"
#include "curve/result.h"

namespace hcurve {

struct QtModule {
    /// The program version the library was built with: main() uses no library of another.
    const char* version;
    /// Shows the main window and runs it until it closes; its exit status.
    int (*runWindow)(int argc, char** argv);
    /// Command 7's drawing for a program without a window: see savePlanWithoutDisplay.
    Result<void> (*savePlan)(const CurveRecord& record, const std::string& path);
    /// Command 10's report for a program without a window: see saveStakeReportWithoutDisplay.
    Result<std::string> (*saveStakeReport)(const CurveRecord& record, const std::string& path);
    /// hcurve route --section-sheets' PDF: see saveSectionSheetsWithoutDisplay.
    Result<void> (*saveSectionSheets)(const SectionSheets& sheets, const std::string& path);
};

/// The one symbol the library exports: a function returning its QtModule.
inline constexpr char kQtModuleEntry[] = "hcurve_qt_module";

}  // namespace hcurve
