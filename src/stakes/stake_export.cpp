#include "stakes/stake_export.h"

#include <algorithm>
#include <cmath>

#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "platform/file_replacement.h"
#include "platform/system_reason.h"
#include "stakes/stake_list.h"

namespace hcurve {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";
constexpr char kCsvHeader[] = "点名,桩号,X(北),Y(东),侧别,排,距离";
constexpr char kHeightText[] = "0.000";

// The file words of a side point's row: the row column and the tag before L or R in its name.
const char* rowColumn(SideRow row) {
    return row == SideRow::Single ? "单排" : row == SideRow::Front ? "前排" : "后排";
}
const char* rowTag(SideRow row) {
    return row == SideRow::Single ? "" : row == SideRow::Front ? "F" : "B";
}

}  // namespace

std::string cannotWriteMessage(const std::string& path, const std::string& reason) {
    return "无法写入文件“" + shownText(path) + "”：" + reason + "。";
}

void forEachPoint(const CurveRecord& record, const std::function<bool(const ExportPoint&)>& visit) {
    forEachStake(record.lastRun, [&](const RunStake& stake) {
        const std::string chainage = chainageText(stake.chainage_m, kPlainForm);  // as listed
        if (!visit({chainage, chainage, stake.x_m, stake.y_m, "中", "", ""}))
            return false;
        // Named by the number of their distance; the rows share the distances.
        for (const RunSidePoint& p : stake.sidePoints) {
            const std::string tag = rowTag(p.slot.row) + std::string(p.slot.left ? "L" : "R");
            if (!visit({chainage + "-" + tag + std::to_string(p.slot.distance), chainage, p.x_m,
                        p.y_m, p.slot.left ? "左" : "右", rowColumn(p.slot.row),
                        generalText(p.distance_m)}))
                return false;
        }
        return true;
    });
}

std::vector<ExportPoint> lastRunPoints(const CurveRecord& record) {
    std::vector<ExportPoint> points;
    forEachPoint(record, [&](const ExportPoint& p) {
        points.push_back(p);
        return true;
    });
    return points;
}

std::string csvHead(bool withHeights) {
    return std::string(kByteOrderMark) + kCsvHeader + (withHeights ? ",高程" : "") + kLineEnd;
}

std::string csvRow(const ExportPoint& p, bool withHeights) {
    const std::string fields[] = {p.name,
                                  p.chainage,
                                  coordinateText(p.x_m, kPlainCoordinate),
                                  coordinateText(p.y_m, kPlainCoordinate),
                                  p.side,
                                  p.row,
                                  p.distance};
    std::string row;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first)
            row += ',';
        row += csvField(field);
        first = false;
    }
    if (withHeights)
        row += "," + (p.H_m ? coordinateText(*p.H_m, kPlainCoordinate) : std::string());
    return row + kLineEnd;
}

std::string datLine(const ExportPoint& p) {
    return p.name + ",," + coordinateText(p.y_m, kPlainCoordinate) + "," +
           coordinateText(p.x_m, kPlainCoordinate) + "," +
           (p.H_m ? coordinateText(*p.H_m, kPlainCoordinate) : kHeightText) + kLineEnd;
}

std::string stakeTableCsv(const std::vector<ExportPoint>& points, bool withHeights) {
    std::string text = csvHead(withHeights);
    for (const ExportPoint& p : points)
        text += csvRow(p, withHeights);
    return text;
}

std::string pointFileDat(const std::vector<ExportPoint>& points) {
    std::string text;
    for (const ExportPoint& p : points)
        text += datLine(p);
    return text;
}

std::optional<std::string> writeFileReplacing(const std::string& path,
                                              const std::function<void(const FilePut&)>& produce) {
    // A NUL would cut the name short for the system, so the bytes would land in another file
    // while the message named this one; other control characters make names nobody can type.
    const bool controlCharacter = std::any_of(path.begin(), path.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    if (controlCharacter)
        return cannotWriteMessage(path, "文件名不能含有控制字符");
    platform::FileReplacement file;
    if (const int error = file.open(path))
        return cannotWriteMessage(path, platform::systemReason(error));
    produce([&file](std::string_view bytes) { return file.write(bytes) == 0; });
    if (const int error = file.commit())
        return cannotWriteMessage(path, platform::systemReason(error));
    return std::nullopt;
}

std::optional<std::string> writeFileReplacing(const std::string& path, const std::string& bytes) {
    return writeFileReplacing(path, [&bytes](const FilePut& put) { put(bytes); });
}

}  // namespace hcurve
