// The console front end (hcurve --console): the program's scripting interface, one line each way.
//
// Input, at the top level: a line naming a command by its button number ("1" 开始计算, "2"
// 中桩计算, "4" 打印, "3" 结 束; the field tools "5" 坐标反算, "6" 导出中桩坐标; "7"
// 保存平面图, which saves the plan view as .png, .svg or .pdf; "8" 保存曲线 and "9" 打开曲线,
// which keep a curve in a curve file and open it again; "10" 中桩成果报告, which writes the stake
// report as a PDF file); blank lines are ignored; any other
// line is answered with a "! " message. End of input ends the program. A UTF-8 byte-order mark at
// the very start of the input is skipped. A line longer than 65536 bytes is not taken (neither as a
// command nor as an answer): a "! " message says so, and a question that was waiting is asked
// again.
//
// Output: "? " + prompt when a command asks (the next input line is the answer, a trailing CR
// dropped); field name, TAB, text when a field is set; label name, TAB, caption when a caption is
// set; "! " + message for a message; "print", TAB, line for a printed report line; "# " + remark
// for a person at the console. Nothing else. Typed text echoed in fields and messages shows its
// control characters escaped ("\x1B") and its invalid bytes as U+FFFD. Output is buffered and
// goes out before the program waits for input (so a prompt is always on screen while it waits),
// before each command starts, and at the end.
//
// Exit status, with one line on standard error saying why whenever it is not 0:
//   0  the end command 结 束 ran, or the input ended between commands;
//   1  the input ended while a command waited for an answer (a script cut off);
//   2  the input could not be read;
//   3  the output could not be written (the session stops at the first failed write);
//   4  an internal error, such as running out of memory.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "commands/plan_command.h"
#include "commands/report_command.h"
#include "curve/curve_record.h"

namespace hcurve {

/// The exit statuses of a console session.
enum ConsoleStatus : int {
    kConsoleEnded = 0,
    kInputEndedInCommand = 1,
    kInputUnreadable = 2,
    kOutputUnwritable = 3,
    kInternalError = 4,
};

/// The longest input line taken, in bytes (without its line end).
constexpr std::size_t kMaxInputLineBytes = 64 * 1024;

/// Called after each command line has run, with the command and the record it left.
using AfterCommand = std::function<void(const std::string& command, const CurveRecord& record)>;

/// Runs a console session until end of input or the end command; returns its exit status and,
/// unless it is 0, writes the reason as one line to errors.
/// savePlan draws for command 7; without it command 7 says that this build cannot draw.
/// saveReport writes 中桩成果报告 for command 10; without it the command says that it cannot.
int runConsole(std::istream& in, std::ostream& out, std::ostream& errors,
               const AfterCommand& afterCommand = {}, const PlanSaver& savePlan = {},
               const ReportSaver& saveReport = {});

/// The same, with the reason on std::cerr.
int runConsole(std::istream& in, std::ostream& out, const AfterCommand& afterCommand = {},
               const PlanSaver& savePlan = {}, const ReportSaver& saveReport = {});

/// A session on the process's standard input and output, read and written on the descriptors
/// directly.
int runStandardConsole(const PlanSaver& savePlan = {}, const ReportSaver& saveReport = {});

}  // namespace hcurve
