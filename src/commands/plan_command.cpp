#include "commands/plan_command.h"

#include "commands/plan_dxf.h"
#include "commands/plan_format.h"
#include "curve/shown_text.h"
#include "platform/file_writing.h"
#include "port/messages.h"

namespace hcurve {
namespace {

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void savePlanDrawing(const CurveRecord& record, UserPort& port, const PlanSaver& save) {
    if (!record.curve) {
        port.showMessage(kNoComputedCurve);
        return;
    }
    const char* prompt = save ? "输入平面图文件的路径 (扩展名 .png、.svg、.pdf 或 .dxf) :"
                              : "输入平面图文件的路径 (扩展名 .dxf) :";
    for (;;) {
        const std::string path = trimmed(port.ask(prompt));
        if (path.empty())
            return;
        const bool dxf = isDxfPath(path);
        if (!dxf && !save) {
            port.showMessage(kOnlyDxfInThisBuild + ("“" + shownText(path) + "” 不对。"));
            continue;
        }
        if (!dxf && !planFormatOf(path)) {
            port.showMessage("平面图文件的扩展名必须是 .png、.svg、.pdf 或 .dxf：“" +
                             shownText(path) + "” 不对。");
            continue;
        }
        if (const Result<void> refusal = inputAsTarget(path, record.curveFiles); !refusal)
            port.showMessage(refusal.failure().message);
        else if (const Result<void> saved = dxf ? savePlanDxf(record, path) : save(record, path);
                 !saved)
            port.showMessage(saved.failure().message);
        else
            port.showMessage("已保存平面图到文件“" + shownText(path) + "”。");
        return;
    }
}

}  // namespace hcurve
