// The program's command line: the options, and a place for subcommands ("hcurve NAME ARGS...").
// No Qt here: the console build reads its command line too.
#pragma once

#include <string>
#include <vector>

namespace hcurve {

struct CommandLine {
    enum class Action {
        Window,      // the main window (or the console when no display is reachable)
        Console,     // --console
        Subcommand,  // a name from subcommands(), with its arguments
        Help,        // --help: usage on standard output, status 0
        Version,     // --version: version on standard output, status 0
        Misuse       // anything else: error and usage on standard error, status 2
    };
    Action action = Action::Window;
    std::string subcommand;              // with Action::Subcommand
    std::vector<std::string> arguments;  // the subcommand's arguments
    std::string error;                   // with Action::Misuse: what was wrong
};

/// A subcommand the program offers: its name, its arguments as the usage shows them, and one
/// line saying what it does.
struct SubcommandInfo {
    const char* name;
    const char* arguments;
    const char* summary;
};

/// The subcommands, in the order the usage lists them.
const std::vector<SubcommandInfo>& subcommands();

/// Reads argv. Options Qt reads itself (-platform NAME, -display NAME, ...) are let through to
/// the window.
CommandLine parseCommandLine(int argc, const char* const* argv);

/// The usage text, ending in a line break.
std::string usageText();
/// "hcurve VERSION" and a line break.
std::string versionText();

/// Exit statuses of the command line itself.
constexpr int kExitUsage = 2;

}  // namespace hcurve
