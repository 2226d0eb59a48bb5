#include "stakes/stake_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <unordered_map>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/csv_writing.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "stakes/stake_list.h"

namespace hcurve {
namespace {

const char* const kCsvHeader[] = {"点名", "桩号", "X(北)", "Y(东)", "侧别", "排", "距离"};
// GSI-16: 16 characters of data; coordinates typed in (input mode 1), metres to the millimetre
// (unit 0).
constexpr std::size_t kGsiDataWidth = 16;
constexpr char kGsiTypedMillimetres[] = "..10";
constexpr char kGsiLineEnd[] = "\r\n";

// The file words of a side point's row: the row column and the tag before L or R in its name.
const char* rowColumn(SideRow row) {
    return row == SideRow::Single ? "单排" : row == SideRow::Front ? "前排" : "后排";
}
const char* rowTag(SideRow row) {
    return row == SideRow::Single ? "" : row == SideRow::Front ? "F" : "B";
}

}  // namespace

int sideOf(const ExportPoint& point) {
    return point.side == "左" ? -1 : point.side == "右" ? 1 : 0;
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
    std::vector<std::string> header(std::begin(kCsvHeader), std::end(kCsvHeader));
    if (withHeights)
        header.emplace_back("高程");
    return csvStart(kSpreadsheetCsv) + csvLine(header, kSpreadsheetCsv);
}

std::string csvRow(const ExportPoint& p, bool withHeights) {
    std::vector<std::string> fields = {p.name,
                                       p.chainage,
                                       coordinateText(p.x_m, kPlainCoordinate),
                                       coordinateText(p.y_m, kPlainCoordinate),
                                       p.side,
                                       p.row,
                                       p.distance};
    if (withHeights)
        fields.push_back(p.H_m ? coordinateText(*p.H_m, kPlainCoordinate) : std::string());
    return csvLine(fields, kSpreadsheetCsv);
}

std::string datLine(const ExportPoint& p) {
    return p.name + ",," + coordinateText(p.y_m, kPlainCoordinate) + "," +
           coordinateText(p.x_m, kPlainCoordinate) + "," +
           (p.H_m ? coordinateText(*p.H_m, kPlainCoordinate) : std::string()) +
           std::string(kSpreadsheetCsv.lineEnd);
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

std::optional<std::string> gsiPointNumber(const std::string& name) {
    const auto fits = [](const std::string& number) {
        return number.size() <= kGsiDataWidth &&
               std::all_of(number.begin(), number.end(), [](char c) {
                   return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                          (c >= 'a' && c <= 'z') || c == '+' || c == '-' || c == '.' || c == '_';
               });
    };
    if (name.empty())
        return std::nullopt;
    if (fits(name))
        return name;
    // The chainage's metres with only zero decimals, "K12+790.000", lose them.
    std::string shorter = name;
    const std::size_t plus = shorter.find('+');
    const std::size_t dot = shorter.find('.', plus == std::string::npos ? 0 : plus);
    if (plus != std::string::npos && dot != std::string::npos) {
        std::size_t end = dot + 1;
        while (end < shorter.size() && shorter[end] == '0')
            ++end;
        if (end == shorter.size() || shorter[end] == '-')
            shorter.erase(dot, end - dot);
    }
    if (fits(shorter))
        return shorter;
    if (shorter[0] == 'K' || shorter[0] == 'k')
        shorter.erase(0, 1);
    if (fits(shorter))
        return shorter;
    return std::nullopt;
}

namespace {

// One word: index, information, sign and the data right-aligned in 16 characters filled with
// zeros, then a blank.
std::string gsiWord(const char* index, const std::string& information, bool negative,
                    const std::string& data) {
    return index + information + (negative ? "-" : "+") +
           std::string(kGsiDataWidth - data.size(), '0') + data + " ";
}

// A coordinate word: the millimetres of its three-decimal text, as the .dat file rounds it.
std::string gsiCoordinate(const char* index, double value_m) {
    std::string text = coordinateText(value_m, kPlainCoordinate);
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        text.erase(0, 1);
    text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
    const std::size_t digit = text.find_first_not_of('0');
    text = digit == std::string::npos ? "0" : text.substr(digit);
    return gsiWord(index, kGsiTypedMillimetres, negative && text != "0", text);
}

}  // namespace

std::string gsiBlock(std::size_t blockNumber, const std::string& pointNumber,
                     const ExportPoint& point) {
    char block[8];
    std::snprintf(block, sizeof block, "%04u", static_cast<unsigned>(blockNumber % 10000));
    std::string text = "*" + gsiWord("11", block, false, pointNumber);
    text += gsiCoordinate("81", point.y_m);
    text += gsiCoordinate("82", point.x_m);
    if (point.H_m)
        text += gsiCoordinate("83", *point.H_m);
    return text + kGsiLineEnd;
}

ExportFile pointFileGsi(const std::vector<ExportPoint>& points) {
    ExportFile file;
    std::unordered_map<std::string, std::string> named;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ExportPoint& p = points[i];
        const std::optional<std::string> number = gsiPointNumber(p.name);
        if (!number) {
            file.fault = "点名“" + shownText(p.name) +
                         "”写不进 GSI 文件（点号最多 16 个字符，只能有字母、数字和 + - . _）。";
            return file;
        }
        const auto [at, added] = named.emplace(*number, p.name);
        if (!added) {
            file.fault = "点名“" + shownText(p.name) + "”与“" + shownText(at->second) +
                         "”在 GSI 文件里是同一个点号 " + *number + "。";
            return file;
        }
        file.bytes += gsiBlock(i + 1, *number, p);
    }
    return file;
}

ExportFile exportFile(const std::vector<ExportPoint>& points, ExportFormat format,
                      bool withHeights) {
    switch (format) {
        case ExportFormat::Csv:
            return {stakeTableCsv(points, withHeights), std::nullopt};
        case ExportFormat::Dat:
            return {pointFileDat(points), std::nullopt};
        case ExportFormat::Gsi:
            break;
    }
    return pointFileGsi(points);
}

std::vector<ExportPoint> routeExportPoints(const StakeTable& table, const StakeRequest& request) {
    std::vector<ExportPoint> points;
    // The rows in the order of the table's side points: per row, left then right.
    struct Row {
        const char* name;
        const char* tag;
    };
    const std::vector<Row> rows = request.doubleRow ? std::vector<Row>{{"前排", "F"}, {"后排", "B"}}
                                                    : std::vector<Row>{{"单排", ""}};
    const std::size_t n = table.sidesPerStake;
    // A long chain gives some chainage texts twice: the second stake of a text is named with
    // "-2" (the third "-3"), so that no two points of the file share a name.
    std::unordered_map<std::string, int> seen;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const StakeRow& r = table.rows[i];
        const int time = ++seen[r.text];
        const std::string name = time == 1 ? r.text : r.text + "-" + std::to_string(time);
        points.push_back({name, r.text, r.x_m, r.y_m, "中", "", "", r.H_m});
        std::size_t j = 0;
        for (const Row& row : rows) {
            for (bool left : {true, false}) {
                const std::vector<double>& distances = left ? request.left_m : request.right_m;
                for (std::size_t k = 0; k < distances.size(); ++k, ++j) {
                    std::optional<double> H;
                    if (table.withSideHeights && !std::isnan(table.sideH_m[i * n + j]))
                        H = table.sideH_m[i * n + j];
                    points.push_back(
                        {name + "-" + row.tag + (left ? "L" : "R") + std::to_string(k + 1), r.text,
                         table.sideX_m[i * n + j], table.sideY_m[i * n + j], left ? "左" : "右",
                         row.name, generalText(distances[k]), H});
                }
            }
        }
    }
    return points;
}

PlanDrawing routeDrawing(const Route& route, const StakeTable* table, const StakeRequest& request) {
    PlanDrawing plan = routePlanDrawing(route);
    if (!table)
        return plan;
    const std::vector<ExportPoint> points = routeExportPoints(*table, request);
    const std::size_t perStake = table->sidesPerStake + 1;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ExportPoint& p = points[i];
        const double axis =
            table->rows[i / perStake].tangent_deg + kRightAngle_deg + request.skew_deg;
        plan.points.push_back({p.name, p.x_m, p.y_m, p.H_m, sideOf(p), axis});
    }
    return plan;
}

}  // namespace hcurve
