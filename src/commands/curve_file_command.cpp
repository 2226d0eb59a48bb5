#include "commands/curve_file_command.h"

#include "curve/number.h"
#include "curve/shown_text.h"
#include "entry/curve_file.h"
#include "entry/design_entry.h"
#include "export/point_files.h"
#include "platform/file_reading.h"
#include "platform/file_writing.h"
#include "platform/system_reason.h"
#include "port/messages.h"
#include "route_files/text_decoding.h"

namespace hcurve {
namespace {

// A curve file holds one design and at most 32767 distances a side: a few hundred kilobytes.
constexpr std::size_t kMaxCurveFileBytes = 8 * 1024 * 1024;

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
    // A folder, a device or a file that cannot be read is told as such, never thrown past the
    // session.
    const platform::FileBytes file = platform::readFileBounded(*path, kMaxCurveFileBytes);
    const int error = file.openError != 0 ? file.openError : file.readError;
    if (error != 0) {
        port.showError("无法读取文件“" + shownText(*path) + "”：" + platform::systemReason(error) +
                       "。");
        return;
    }
    if (file.tooLarge) {
        port.showError("文件“" + shownText(*path) + "”：超过 " +
                       std::to_string(kMaxCurveFileBytes / (1024 * 1024)) +
                       " MiB，不像是曲线文件，没有读。");
        return;
    }
    // UTF-8 as the program writes it, or GBK as a Chinese spreadsheet saves it again.
    std::optional<std::string> text = file.bytes;
    if (!isUtf8(file.bytes))
        text = gbkToUtf8(file.bytes);
    if (!text) {
        port.showError("文件“" + shownText(*path) + "”既不是 UTF-8 也不是 GBK 编码的文本。");
        return;
    }
    CurveRecord opened = record;
    const CurveReading reading = readCurveFile(*text, opened);
    if (!reading.read) {
        port.showError("文件“" + shownText(*path) + "”：" + reading.problem);
        return;
    }
    record = std::move(opened);
    record.curveFiles.push_back(*path);
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
