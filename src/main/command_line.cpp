#include "main/command_line.h"

#include <cstring>

namespace hcurve {
namespace {

// Qt's own options that take a value; the window passes them on to Qt.
const char* const kQtOptionsWithValue[] = {
    "-platform",        "-display",      "-style",       "-geometry",
    "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-platformpluginpath",
    "-platformtheme"};

bool isQtOptionWithValue(const char* arg) {
    for (const char* option : kQtOptionsWithValue) {
        if (std::strcmp(arg, option) == 0)
            return true;
    }
    return false;
}

const SubcommandInfo* findSubcommand(const std::string& name) {
    for (const SubcommandInfo& info : subcommands()) {
        if (name == info.name)
            return &info;
    }
    return nullptr;
}

}  // namespace

const std::vector<SubcommandInfo>& subcommands() {
    // A new subcommand goes here and gets its branch in main().
    static const std::vector<SubcommandInfo> list = {
        {"route",
         "文件… --elements | --segments | --vertical | --stakes --interval 桩距 [...] | "
         "--locate X Y [H] | --dxf 文件.dxf [...] | --landxml 文件.xml | --alignments",
         "整条线路 (交点表、线元表或 LandXML 文件): 曲线要素表、线元表、竖曲线表、一段的中桩表、"
         "坐标反算 (CSV 输出到标准输出); 平面图 DXF、LandXML 与全站仪点文件 (.gsi) 写入文件"},
    };
    return list;
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (arg == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
    }
    if (argc > 1 && std::strcmp(argv[1], "--console") == 0) {
        line.action = argc == 2 ? CommandLine::Action::Console : CommandLine::Action::Misuse;
        if (argc > 2)
            line.error = std::string("--console 后面不能再有参数：“") + argv[2] + "”";
        return line;
    }
    if (argc > 1 && argv[1][0] != '-') {
        if (const SubcommandInfo* info = findSubcommand(argv[1])) {
            line.action = CommandLine::Action::Subcommand;
            line.subcommand = info->name;
            line.arguments.assign(argv + 2, argv + argc);
            return line;
        }
        line.action = CommandLine::Action::Misuse;
        line.error = std::string("没有这个子命令：“") + argv[1] + "”";
        return line;
    }
    for (int i = 1; i < argc; ++i) {
        if (isQtOptionWithValue(argv[i]) && i + 1 < argc) {
            ++i;
            continue;
        }
        line.action = CommandLine::Action::Misuse;
        line.error = std::string("不认识的选项：“") + argv[i] + "”";
        return line;
    }
    return line;
}

std::string usageText() {
    std::string text =
        "用法: hcurve [--console]\n"
        "      hcurve --help | --version\n";
    for (const SubcommandInfo& info : subcommands())
        text += std::string("      hcurve ") + info.name + " " + info.arguments + "\n";
    text +=
        "\n"
        "平曲线计算: 交点处平曲线的曲线要素、特征点、中桩与边桩坐标。\n"
        "不带参数时打开窗口; 没有图形显示时改用控制台界面。\n"
        "\n"
        "  --console   控制台界面: 按行提问与作答, 供脚本使用\n"
        "  --help      显示本说明并退出\n"
        "  --version   显示版本并退出\n"
        "  -platform 名称   Qt 的窗口平台 (例如 xcb、wayland、offscreen)\n";
    if (!subcommands().empty()) {
        text += "\n子命令:\n";
        for (const SubcommandInfo& info : subcommands())
            text += std::string("  ") + info.name + "   " + info.summary + "\n";
    }
    return text;
}

std::string versionText() {
    return std::string("hcurve ") + HCURVE_VERSION + "\n";
}

}  // namespace hcurve
