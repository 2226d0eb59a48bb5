// Every command of the program, once: its key on the console, its caption and where the window
// offers it. The console reads its keys and its "no such command" hint from here; the window its
// button captions and its tools menu. A new tool is one entry here and its own file, plus the
// line in each front end that runs it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace hcurve {

enum class Command { DesignEntry, StakeRun, Print, ReverseCalculation, Export, SavePlan, End };

/// Where the window offers a command: as a button, in its tools menu, or not at all (the plan
/// view has a window of its own there).
enum class Offered { Button, ToolMenu, ConsoleOnly };

struct CommandEntry {
    Command command;
    const char* key;  // what the console reads
    const char* caption;
    Offered offered;
};

/// In the order the console's hint names them.
inline constexpr std::array<CommandEntry, 7> kCommands{{
    {Command::DesignEntry, "1", "开始计算", Offered::Button},
    {Command::StakeRun, "2", "中桩计算", Offered::Button},
    {Command::Print, "4", "打印", Offered::Button},
    {Command::ReverseCalculation, "5", "坐标反算", Offered::ToolMenu},
    {Command::Export, "6", "导出中桩坐标", Offered::ToolMenu},
    {Command::SavePlan, "7", "保存平面图", Offered::ConsoleOnly},
    {Command::End, "3", "结 束", Offered::Button},
}};

/// The entry the console key names; nothing for any other text.
const CommandEntry* commandForKey(std::string_view key);

const CommandEntry& commandEntry(Command command);

/// "请输入 1 (开始计算)、2 (中桩计算)、… 或 3 (结 束)。"
std::string commandHint();

/// "1 开始计算, 2 中桩计算, 4 打印, 3 结 束; 5 坐标反算, …": the window's buttons, then the rest.
std::string commandSummary();

}  // namespace hcurve
