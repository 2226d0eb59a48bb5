#include "commands/report_command.h"

#include <algorithm>
#include <cctype>

#include "curve/number.h"
#include "curve/shown_text.h"
#include "platform/file_writing.h"
#include "port/messages.h"

namespace hcurve {
namespace {

bool endsInPdf(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".pdf";
}

}  // namespace

void saveStakeReport(const CurveRecord& record, UserPort& port, const ReportSaver& save,
                     const ReportFileChooser& choose) {
    if (!save) {
        port.showError(kCannotWriteReportInThisBuild);
        return;
    }
    if (!record.curve) {
        port.showError(kNoComputedCurve);
        return;
    }
    std::optional<std::string> path;
    if (choose) {
        path = choose();
    } else {
        for (;;) {
            const std::string typed = port.ask("请输入报告文件名 :( 以 .pdf 结尾 )");
            if (isBlank(typed))
                break;
            if (endsInPdf(typed)) {
                path = typed;
                break;
            }
            port.showError("报告文件的扩展名必须是 .pdf：“" + shownText(typed) + "” 不对。");
        }
    }
    if (!path)
        return;
    if (const Result<void> refusal = inputAsTarget(*path, record.curveFiles); !refusal) {
        port.showError(refusal.failure().message);
        return;
    }
    const Result<std::string> written = save(record, *path);
    if (written)
        port.showMessage(*written);
    else
        port.showError(written.failure().message);
}

}  // namespace hcurve
