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

// The text of a curve file, UTF-8 as the program writes it or GBK as a Chinese spreadsheet saves
// it again; a folder, a device or a file that cannot be read is told as such, never thrown past
// the session.
Result<std::string> curveFileContents(const std::string& path) {
    const platform::FileBytes file = platform::readFileBounded(path, kMaxCurveFileBytes);
    const int error = file.openError != 0 ? file.openError : file.readError;
    if (error != 0)
        return Failure{"无法读取文件“" + shownText(path) + "”：" + platform::systemReason(error) +
                       "。"};
    if (file.tooLarge)
        return Failure{"文件“" + shownText(path) + "”：超过 " +
                       std::to_string(kMaxCurveFileBytes / (1024 * 1024)) +
                       " MiB，不像是曲线文件，没有读。"};
    if (isUtf8(file.bytes))
        return file.bytes;
    if (std::optional<std::string> text = gbkToUtf8(file.bytes))
        return std::move(*text);
    return Failure{"文件“" + shownText(path) + "”既不是 UTF-8 也不是 GBK 编码的文本。"};
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
    if (const Result<void> written = writeFileReplacing(*path, curveFileText(record)); !written) {
        port.showError(written.failure().message);
        return;
    }
    port.showMessage("已保存曲线到文件“" + shownText(*path) + "”。");
}

void openCurve(CurveRecord& record, UserPort& port, const CurveFileChooser& choose) {
    const std::optional<std::string> path = chosenFile(port, choose, false);
    if (!path)
        return;
    const Result<std::string> text = curveFileContents(*path);
    if (!text) {
        port.showError(text.failure().message);
        return;
    }
    CurveRecord opened = record;
    if (const Result<void> read = readCurveFile(*text, opened); !read) {
        port.showError("文件“" + shownText(*path) + "”：" + read.failure().message);
        return;
    }
    record = std::move(opened);
    record.curveFiles.push_back(*path);
    showDesignAndCurve(record, port);
}

bool openCurveQuietly(CurveRecord& record, UserPort& port, const std::string& text) {
    CurveRecord opened = record;
    if (!readCurveFile(text, opened))
        return false;
    record = std::move(opened);
    showDesignAndCurve(record, port);
    return record.curve.has_value();
}

}  // namespace hcurve
