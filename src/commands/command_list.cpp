#include "commands/command_list.h"

#include <stdexcept>

#include "entry/design_entry.h"
#include "report/curve_report.h"
#include "stakes/stake_run.h"

namespace hcurve {

namespace commands {

void designEntry(CommandContext& context) {
    hcurve::designEntry(context.record, context.port);
}

void stakeRun(CommandContext& context) {
    hcurve::stakeRun(context.record, context.port);
}

void print(CommandContext& context) {
    const std::unique_ptr<PrinterPort> printer = context.printer();
    printReport(context.record, context.port, *printer);
}

void reverseCalculation(CommandContext& context) {
    hcurve::reverseCalculation(context.record, context.port);
}

void exportStakes(CommandContext& context) {
    if (!context.chooseExportFile) {
        exportStakeCoordinates(context.record, context.port);
        return;
    }
    // The dialog is offered only for a run there is to export.
    if (Result<void> refusal = exportRefusal(context.record); !refusal) {
        context.port.showError(refusal.failure().message);
        return;
    }
    const std::optional<ExportTarget> target = context.chooseExportFile();
    if (!target)
        return;
    const Result<std::string> exported =
        exportLastRun(context.record, target->path, target->format);
    if (exported)
        context.port.showMessage(*exported);
    else
        context.port.showError(exported.failure().message);
}

void savePlan(CommandContext& context) {
    savePlanDrawing(context.record, context.port, context.savePlan);
}

void saveCurve(CommandContext& context) {
    hcurve::saveCurve(context.record, context.port, context.chooseCurveFile);
}

void openCurve(CommandContext& context) {
    hcurve::openCurve(context.record, context.port, context.chooseCurveFile);
}

void stakeReport(CommandContext& context) {
    saveStakeReport(context.record, context.port, context.saveReport, context.chooseReportFile);
}

void end(CommandContext& context) {
    context.end();
}

}  // namespace commands

const CommandEntry* commandForKey(std::string_view key) {
    for (const CommandEntry& entry : kCommands) {
        if (key == entry.key)
            return &entry;
    }
    return nullptr;
}

const CommandEntry& commandEntry(Command command) {
    for (const CommandEntry& entry : kCommands) {
        if (entry.command == command)
            return entry;
    }
    throw std::logic_error("a command missing from the list");
}

std::string commandHint() {
    std::string hint = "请输入 ";
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        if (i > 0)
            hint += i + 1 == kCommands.size() ? " 或 " : "、";
        hint += std::string(kCommands[i].key) + " (" + kCommands[i].caption + ")";
    }
    return hint + "。";
}

std::string commandSummary() {
    std::string buttons, others;
    for (const CommandEntry& entry : kCommands) {
        std::string& list = entry.offered == Offered::Button ? buttons : others;
        list += (list.empty() ? "" : ", ") + std::string(entry.key) + " " + entry.caption;
    }
    return buttons + "; " + others;
}

}  // namespace hcurve
