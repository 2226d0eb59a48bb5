#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "console/console.h"
#include "main/command_line.h"
#include "platform/process_start.h"
#include "route_cli/route_command.h"

#ifdef HCURVE_HAS_QT
#include "curve/shown_text.h"
#include "platform/library_loading.h"
#include "window/qt_module.h"
#endif

namespace {

#ifdef HCURVE_HAS_QT
bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Qt aborts when it cannot reach a display, so look before starting it: an X display, a Wayland
// display, or a platform chosen explicitly (offscreen, vnc, ...).
bool displayAvailable(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return true;
        }
    }
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

// The program's Qt part, loaded the first time the window or a drawing is wanted; or why it
// cannot be loaded.
hcurve::Result<const hcurve::QtModule*> qtModule() {
    static const hcurve::Result<const hcurve::QtModule*> module =
        []() -> hcurve::Result<const hcurve::QtModule*> {
        using Entry = const hcurve::QtModule* (*)();
        const hcurve::Result<void*> entry =
            hcurve::platform::librarySymbol(HCURVE_QT_MODULE, hcurve::kQtModuleEntry);
        if (!entry)
            return hcurve::Failure{hcurve::shownText(entry.failure().message)};
        const hcurve::QtModule* found = reinterpret_cast<Entry>(*entry)();
        if (std::strcmp(found->version, HCURVE_VERSION) != 0)
            return hcurve::Failure{hcurve::shownText(std::string(HCURVE_QT_MODULE) +
                                                     " 属于 hcurve " + found->version + "，不是 " +
                                                     HCURVE_VERSION)};
        return found;
    }();
    return module;
}

// What command 7, command 10 and the route's PDF sheets tell when the Qt part cannot be loaded.
std::string withoutQtPart(const std::string& failure) {
    return "无法载入程序的绘图部分（" + failure + "）。";
}
#endif

// The console draws the plan view (command 7) where Qt is built in, loading Qt only then.
hcurve::PlanSaver consolePlanSaver() {
#ifdef HCURVE_HAS_QT
    return [](const hcurve::CurveRecord& record, const std::string& path) -> hcurve::Result<void> {
        const hcurve::Result<const hcurve::QtModule*> qt = qtModule();
        if (qt)
            return (*qt)->savePlan(record, path);
        return hcurve::Failure{withoutQtPart(qt.failure().message)};
    };
#else
    return {};
#endif
}

// And writes 中桩成果报告 (command 10).
hcurve::ReportSaver consoleReportSaver() {
#ifdef HCURVE_HAS_QT
    return [](const hcurve::CurveRecord& record,
              const std::string& path) -> hcurve::Result<std::string> {
        const hcurve::Result<const hcurve::QtModule*> qt = qtModule();
        if (qt)
            return (*qt)->saveStakeReport(record, path);
        return hcurve::Failure{withoutQtPart(qt.failure().message)};
    };
#else
    return {};
#endif
}

// And hcurve route --section-sheets' PDF.
hcurve::SectionSheetSaver routeSheetSaver() {
#ifdef HCURVE_HAS_QT
    return
        [](const hcurve::SectionSheets& sheets, const std::string& path) -> hcurve::Result<void> {
            const hcurve::Result<const hcurve::QtModule*> qt = qtModule();
            if (qt)
                return (*qt)->saveSectionSheets(sheets, path);
            return hcurve::Failure{withoutQtPart(qt.failure().message)};
        };
#else
    return {};
#endif
}

}  // namespace

int main(int argc, char** argv) {
    hcurve::platform::prepareStandardStreams();
    // The arguments as UTF-8 whatever the system gave main(); Qt reads its own from argv.
    const std::vector<std::string> arguments = hcurve::platform::programArguments(argc, argv);
    std::vector<const char*> utf8Argv;
    for (const std::string& argument : arguments)
        utf8Argv.push_back(argument.c_str());
    const hcurve::CommandLine line =
        hcurve::parseCommandLine(static_cast<int>(utf8Argv.size()), utf8Argv.data());
    switch (line.action) {
        case hcurve::CommandLine::Action::Help:
            std::cout << hcurve::usageText();
            return 0;
        case hcurve::CommandLine::Action::Version:
            std::cout << hcurve::versionText();
            return 0;
        case hcurve::CommandLine::Action::Misuse:
            std::cerr << "hcurve: " << line.error << "\n" << hcurve::usageText();
            return hcurve::kExitUsage;
        case hcurve::CommandLine::Action::Console:
            return hcurve::runStandardConsole(consolePlanSaver(), consoleReportSaver());
        case hcurve::CommandLine::Action::Subcommand:
            // Each subcommand of subcommands() has its branch here.
            if (line.subcommand == "route")
                return hcurve::runStandardRouteCommand(line.arguments, routeSheetSaver());
            break;
        case hcurve::CommandLine::Action::Window:
            break;
    }
#ifdef HCURVE_HAS_QT
    if (displayAvailable(argc, argv)) {
        const hcurve::Result<const hcurve::QtModule*> qt = qtModule();
        if (qt)
            return (*qt)->runWindow(argc, argv);
        const std::string& failure = qt.failure().message;
        std::cerr << "hcurve: 无法载入程序的窗口部分（" << failure << "），改用控制台界面。\n"
                  << "hcurve: cannot load the window (" << failure
                  << "); starting the console front end instead.\n";
    } else {
        std::cerr << "hcurve: 没有可用的图形显示，改用控制台界面。\n"
                     "hcurve: no display available; starting the console front end instead.\n";
    }
#else
    std::cerr << "hcurve: 此版本不含窗口界面，改用控制台界面。\n"
                 "hcurve: built without the window; starting the console front end instead.\n";
#endif
    return hcurve::runStandardConsole(consolePlanSaver(), consoleReportSaver());
}
