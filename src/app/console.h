// The console front end (hcurve --console): the program's scripting interface, one line each way.
//
// Input, at the top level: a line naming a command by its button number ("1" 开始计算, "2"
// 中桩计算, "4" 打印, "3" 结 束; and the field tools "5" 坐标反算, "6" 导出中桩坐标, "7"
// 保存平面图, which saves the plan view as .png, .svg or .pdf); blank lines are ignored; any other
// line is answered with a "! " message. End of input ends the program.
//
// Output: "? " + prompt when a command asks (the next input line is the answer, a trailing CR
// dropped; end of input while a command waits ends the program at once); field name, TAB, text
// when a field is set; label name, TAB, caption when a caption is set; "! " + message for a
// message; "print", TAB, line for a printed report line; "# " + remark for a person at the
// console. Nothing else.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "app/plan_command.h"
#include "curve/curve_record.h"

namespace hcurve {

/// Called after each command line has run, with the command and the record it left.
using AfterCommand = std::function<void(const std::string& command, const CurveRecord& record)>;

/// Runs a console session until end of input or the end command; returns the exit status (0).
/// savePlan draws for command 7; without it command 7 says that this build cannot draw.
int runConsole(std::istream& in, std::ostream& out, const AfterCommand& afterCommand = {},
               const PlanSaver& savePlan = {});

}  // namespace hcurve
