#include "commands/curve_file_command.h"

#include <fstream>
#include <iterator>

#include "curve/number.h"
#include "curve/shown_text.h"
#include "entry/curve_file.h"
#include "entry/design_entry.h"
#include "platform/file_writing.h"
#include "port/messages.h"
#include "stakes/stake_export.h"

namespace hcurve {
namespace {

std::optional<std::string> chosenFile(UserPort& port, const CurveFileChooser& choose, bool saving) {
    if (choose)
        return choose(saving);
    const std::string typed = port.ask(kCurveFilePrompt);
    if (isBlank(typed))
        return std::nullopt;
    return typed;
}

}  // namespace

void saveCurve(const CurveRecord& record, UserPort& port, const CurveFileChooser& choose) {
    if (!record.curve) {
        port.showError(kNoComputedCurve);
        return;
    }
    const std::optional<std::string> path = chosenFile(port, choose, true);
    if (!path)
        return;
    if (std::optional<std::string> failure = writeFileReplacing(*path, curveFileText(record))) {
        port.showError(*failure);
        return;
    }
    port.showMessage("已保存曲线到文件“" + shownText(*path) + "”。");
}

void openCurve(CurveRecord& record, UserPort& port, const CurveFileChooser& choose) {
    const std::optional<std::string> path = chosenFile(port, choose, false);
    if (!path)
        return;
    std::ifstream in(*path, std::ios::binary);
    std::string text;
    if (in)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        port.showError("无法读取文件“" + shownText(*path) + "”。");
        return;
    }
    CurveRecord opened = record;
    const CurveReading reading = readCurveFile(text, opened);
    if (!reading.read) {
        port.showError("文件“" + shownText(*path) + "”：" + reading.problem);
        return;
    }
    record = std::move(opened);
    showDesignAndCurve(record, port);
}

bool openCurveQuietly(CurveRecord& record, UserPort& port, const std::string& text) {
    CurveRecord opened = record;
    if (!readCurveFile(text, opened).read)
        return false;
    record = std::move(opened);
    showDesignAndCurve(record, port);
    return record.curve.has_value();
}

}  // namespace hcurve
