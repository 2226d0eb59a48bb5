// Every command of the program, once: its key on the console, its caption, where the window offers
// it, and how it runs. The console reads its keys and its "no such command" hint from here, the
// window its button captions and its tools menu, and both run a command by calling its entry with
// what they hold. A new tool is one entry here and its own file.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "commands/curve_file_command.h"
#include "commands/plan_command.h"
#include "commands/report_command.h"
#include "curve/curve_record.h"
#include "port/user_port.h"
#include "report/printer_port.h"
#include "stakes/field_tools.h"

namespace hcurve {

enum class Command {
    DesignEntry,
    StakeRun,
    Print,
    ReverseCalculation,
    Export,
    SavePlan,
    SaveCurve,
    OpenCurve,
    StakeReport,
    End
};

/// Where the window offers a command: as a button, in its tools menu, in its 文件 menu, or not at
/// all (the plan view has a window of its own there).
enum class Offered { Button, ToolMenu, FileMenu, ConsoleOnly };

/// A file the stake export writes, as a front end's own dialog chose it.
struct ExportTarget {
    std::string path;
    ExportFormat format;
};

/// What a front end hands a command: its record and user port, and what only it can supply.
struct CommandContext {
    CurveRecord& record;
    UserPort& port;
    /// The printer for one report: the console's print lines, the window's system printer.
    std::function<std::unique_ptr<PrinterPort>()> printer;
    /// Where 导出中桩坐标 writes, from a file dialog; nothing when the user cancels it. Without a
    /// chooser the path is asked through the port.
    std::function<std::optional<ExportTarget>()> chooseExportFile;
    /// Draws for 保存平面图; without it the command says that this build cannot draw.
    PlanSaver savePlan;
    /// 结 束: the window closes, the console ends its session.
    std::function<void()> end;
    /// Where 保存曲线 and 打开曲线 go, from a file dialog; without it the name is asked.
    CurveFileChooser chooseCurveFile = {};
    /// Writes 中桩成果报告; without it the command says that this build cannot.
    ReportSaver saveReport = {};
    /// Where 中桩成果报告 goes, from a file dialog; without it the name is asked.
    ReportFileChooser chooseReportFile = {};
};

struct CommandEntry {
    Command command;
    const char* key;  // what the console reads
    const char* caption;
    Offered offered;
    /// 结 束 works at any time, also while another command waits for an answer; the others run
    /// one at a time, and the window puts back what a command left unfinished.
    bool anyTime;
    void (*run)(CommandContext& context);
};

namespace commands {
void designEntry(CommandContext& context);
void stakeRun(CommandContext& context);
void print(CommandContext& context);
void reverseCalculation(CommandContext& context);
void exportStakes(CommandContext& context);
void savePlan(CommandContext& context);
void saveCurve(CommandContext& context);
void openCurve(CommandContext& context);
void stakeReport(CommandContext& context);
void end(CommandContext& context);
}  // namespace commands

/// In the order the console's hint names them.
inline constexpr std::array<CommandEntry, 10> kCommands{{
    {Command::DesignEntry, "1", "开始计算", Offered::Button, false, commands::designEntry},
    {Command::StakeRun, "2", "中桩计算", Offered::Button, false, commands::stakeRun},
    {Command::Print, "4", "打印", Offered::Button, false, commands::print},
    {Command::ReverseCalculation, "5", "坐标反算", Offered::ToolMenu, false,
     commands::reverseCalculation},
    {Command::Export, "6", "导出中桩坐标", Offered::ToolMenu, false, commands::exportStakes},
    {Command::SavePlan, "7", "保存平面图", Offered::ConsoleOnly, false, commands::savePlan},
    {Command::SaveCurve, "8", "保存曲线", Offered::FileMenu, false, commands::saveCurve},
    {Command::OpenCurve, "9", "打开曲线", Offered::FileMenu, false, commands::openCurve},
    {Command::StakeReport, "10", "中桩成果报告", Offered::FileMenu, false, commands::stakeReport},
    {Command::End, "3", "结 束", Offered::Button, true, commands::end},
}};

/// The entry the console key names; nothing for any other text.
const CommandEntry* commandForKey(std::string_view key);

const CommandEntry& commandEntry(Command command);

/// "请输入 1 (开始计算)、2 (中桩计算)、… 或 3 (结 束)。"
std::string commandHint();

/// "1 开始计算, 2 中桩计算, 4 打印, 3 结 束; 5 坐标反算, …": the window's buttons, then the rest.
std::string commandSummary();

}  // namespace hcurve
