#include "stakes/field_tools.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "platform/file_writing.h"
#include "port/answers.h"
#include "port/messages.h"
#include "stakes/run_points.h"

namespace hcurve {
namespace {

std::string trimmed(const std::string& s) {
    std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string lowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

std::string reverseMessage(const FootPoint& foot) {
    const double offset_m = roundTo(foot.offset_m, 3);
    const char* side = offset_m > 0 ? "右侧" : (offset_m < 0 ? "左侧" : "中线上");
    return "坐标反算：桩号 " + chainageText(foot.chainage_m, kReportStakeForm) + "，偏距 " +
           format(std::fabs(offset_m), Pattern::Fixed3) + " 米（" + side + "），位于" +
           elementName(foot.element) + "。";
}

std::string reverseResultMessage(const ReverseResult& result) {
    std::string message = reverseMessage(result.foot);
    if (result.ambiguous)
        message += "注意：路线上有几处离该点几乎一样近（例如圆心），这个桩号不是唯一的答案。";
    if (result.far) {
        message += "注意：该点离中线超过 " + generalText(roundTo(result.plausibleOffset_m, 3)) +
                   " 米（半径 R 与 1000 米中较小者），不像是这条路线上的点，请核对座标。";
    }
    return message;
}

void reverseCalculation(const CurveRecord& record, UserPort& port) {
    if (!record.curve) {
        port.showMessage(kNoComputedCurve);
        return;
    }
    const double x_m = askNumber(port, {"输入要反算的点的纵座标 X :( 以米为单位 )", "纵座标 X"});
    const double y_m = askNumber(port, {"输入要反算的点的横座标 Y :( 以米为单位 )", "横座标 Y"});
    if (std::optional<ReverseResult> result = reverseCalculation(*record.curve, x_m, y_m))
        port.showMessage(reverseResultMessage(*result));
    else
        port.showMessage("这个点在曲线上找不到垂足，无法反算。");
}

std::optional<ExportFormat> exportFormatOf(const std::string& path) {
    // The name's last dot on, as a file manager shows it: not for a name that only begins with one
    // (".csv"), and whatever the bytes of the name (a console answer need not be UTF-8).
    const std::size_t nameStart = path.find_last_of("/\\") + 1;
    const std::size_t dot = path.find_last_of('.');
    const std::string extension =
        dot != std::string::npos && dot > nameStart ? lowerAscii(path.substr(dot)) : std::string();
    if (extension == ".csv")
        return ExportFormat::Csv;
    if (extension == ".dat")
        return ExportFormat::Dat;
    if (extension == ".gsi")
        return ExportFormat::Gsi;
    return std::nullopt;
}

Result<void> exportRefusal(const CurveRecord& record) {
    if (!record.curve)
        return Failure{kNoComputedCurve};
    if (record.lastRun.stakes.empty())
        return Failure{kNoStakeRun};
    return done();
}

Result<std::string> exportLastRun(const CurveRecord& record, const std::string& path,
                                  ExportFormat format) {
    if (Result<void> refusal = exportRefusal(record); !refusal)
        return refusal.failure();
    if (Result<void> refusal = inputAsTarget(path, record.curveFiles); !refusal)
        return refusal.failure();
    if (format == ExportFormat::Gsi) {
        // Whole: every point must have its point number before anything is written.
        const std::vector<ExportPoint> points = lastRunPoints(record);
        const Result<std::string> gsi = pointFileGsi(points);
        if (!gsi)
            return gsi.failure();
        if (Result<void> written = writeFileReplacing(path, *gsi); !written)
            return written.failure();
        return "已导出 " + std::to_string(points.size()) + " 个点到文件“" + shownText(path) + "”。";
    }
    // Row by row: the file never has to fit in memory.
    std::size_t points = 0;
    const Result<void> written = writeFileReplacing(path, [&](const FilePut& put) {
        if (format == ExportFormat::Csv && !put(csvHead()))
            return;
        forEachPoint(record, [&](const ExportPoint& p) {
            ++points;
            return put(format == ExportFormat::Csv ? csvRow(p) : datLine(p));
        });
    });
    if (!written)
        return written.failure();
    return "已导出 " + std::to_string(points) + " 个点到文件“" + shownText(path) + "”。";
}

void exportStakeCoordinates(const CurveRecord& record, UserPort& port) {
    if (Result<void> refusal = exportRefusal(record); !refusal) {
        port.showMessage(refusal.failure().message);
        return;
    }
    for (;;) {
        const std::string path =
            trimmed(port.ask("输入导出文件的路径 (扩展名 .csv、.dat 或 .gsi) :"));
        if (path.empty())
            return;
        if (std::optional<ExportFormat> format = exportFormatOf(path)) {
            const Result<std::string> exported = exportLastRun(record, path, *format);
            port.showMessage(exported ? *exported : exported.failure().message);
            return;
        }
        port.showMessage("导出文件的扩展名必须是 .csv、.dat 或 .gsi：“" + shownText(path) +
                         "” 不对。");
    }
}

}  // namespace hcurve
