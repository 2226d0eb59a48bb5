#include "stakes/stake_export.h"

#include <algorithm>
#include <cmath>

#include "curve/chainage.h"
#include "curve/dms.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "geometry/side_points.h"
#include "platform/file_replacement.h"
#include "platform/system_reason.h"
#include "stakes/side_point_order.h"

namespace hcurve {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";
constexpr char kCsvHeader[] = "点名,桩号,X(北),Y(东),侧别,排,距离";
constexpr char kHeightText[] = "0.000";
constexpr std::int16_t kSingleRow = 1;

bool sideSetupHolds(const RunSideSetup& s, std::size_t stakes) {
    return s.sidePointsOn && s.dl_n >= 0 && s.dr_n >= 0 &&
           s.dl.size() > static_cast<std::size_t>(s.dl_n) &&
           s.dr.size() > static_cast<std::size_t>(s.dr_n) && s.axisAzimuth_deg.size() > stakes;
}

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
    const std::size_t n = stakesOfLastRun(record);
    const RunSideSetup& setup = record.runSides;
    const bool sides = sideSetupHolds(setup, n);
    SideTables tables = makeSideTables(setup.dl_n, setup.dr_n);
    for (std::size_t i = 1; i <= n; ++i) {
        const std::string chainage = chainageText(record.Kp[i], kPlainForm);  // as listed
        if (!visit({chainage, chainage, record.stakeX[i], record.stakeY[i], "中", "", ""}))
            return;
        if (!sides)
            continue;
        computeSidePoints(tables, record.stakeX[i], record.stakeY[i], setup.axisAzimuth_deg[i],
                          setup, kDegreeFactor);
        // Named by the number of their distance; the rows share the distances.
        for (const SidePointSlot& slot :
             sidePointOrder(setup.dl_n, setup.dr_n, setup.dd_n == kSingleRow)) {
            const std::vector<double>& x = slot.left ? tables.leftRowX : tables.rightRowX;
            const std::vector<double>& y = slot.left ? tables.leftRowY : tables.rightRowY;
            const float distance_m = (slot.left ? setup.dl : setup.dr)[slot.distance];
            const std::string tag = rowTag(slot.row) + std::string(slot.left ? "L" : "R");
            if (!visit({chainage + "-" + tag + std::to_string(slot.distance), chainage,
                        x[slot.element], y[slot.element], slot.left ? "左" : "右",
                        rowColumn(slot.row), generalText(distance_m)}))
                return;
        }
    }
}

std::vector<ExportPoint> lastRunPoints(const CurveRecord& record) {
    std::vector<ExportPoint> points;
    forEachPoint(record, [&](const ExportPoint& p) {
        points.push_back(p);
        return true;
    });
    return points;
}

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string csvHead() {
    return std::string(kByteOrderMark) + kCsvHeader + kLineEnd;
}

std::string csvRow(const ExportPoint& p) {
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
    return row + kLineEnd;
}

std::string datLine(const ExportPoint& p) {
    return p.name + ",," + coordinateText(p.y_m, kPlainCoordinate) + "," +
           coordinateText(p.x_m, kPlainCoordinate) + "," + kHeightText + kLineEnd;
}

std::string stakeTableCsv(const std::vector<ExportPoint>& points) {
    std::string text = csvHead();
    for (const ExportPoint& p : points)
        text += csvRow(p);
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
