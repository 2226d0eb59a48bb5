#include "route_files/element_file.h"

#include <cmath>
#include <iterator>
#include <tuple>
#include <utility>

#include "curve/angle.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "geometry/design_check.h"
#include "route_files/csv_tables.h"
#include "route_files/field_text.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

constexpr char kStartChainage[] = "起点桩号";
constexpr char kX[] = "X";
constexpr char kY[] = "Y";
constexpr char kAzimuth[] = "方位角";
constexpr char kLength[] = "长度";
constexpr char kStartRadius[] = "起点半径";
constexpr char kEndRadius[] = "终点半径";
constexpr char kTurn[] = "转向";
constexpr char kName[] = "名称";
constexpr char kStartX[] = "起点X";
constexpr char kStartY[] = "起点Y";

// A radius this large is a straight's: field calculators write 1E45 for one.
constexpr double kStraightRadius_m = 1e9;

// A header's column of a title, its letters in either case.
// A column by its title, its letters in either case.
std::optional<std::size_t> columnOfAnyCase(const std::vector<std::string>& header,
                                           const char* title) {
    for (std::size_t i = 0; i < header.size(); ++i)
        if (upperLatin(header[i]) == title)
            return i;
    return std::nullopt;
}

// A finite number within the design's bounds, or nothing.
std::optional<double> boundedNumber(const std::string& text) {
    std::optional<double> v = readNumber(text);
    if (!v || std::fabs(*v) > kMaxDesignLength_m)
        return std::nullopt;
    return v;
}

// The curvature of a radius as the file writes it: empty, ∞, inf or 1e9 m and more is a
// straight's (0); nothing for a radius of 0 or below, or no number.
struct RadiusReading {
    bool ok = false;
    bool straight = false;
    double R_m = 0;
};

RadiusReading readRadius(const std::string& text) {
    if (text.empty() || text == "∞" || upperLatin(text) == "INF" || upperLatin(text) == "+INF")
        return {true, true, 0};
    std::optional<double> v = readNumber(text);
    if (!v || !(*v > 0))
        return {};
    if (*v >= kStraightRadius_m)
        return {true, true, 0};
    return {true, false, *v};
}

}  // namespace

bool isElementTitle(std::string_view title) {
    const std::string key = upperLatin(title);
    for (const char* t : {kStartChainage, kX, kY, kAzimuth, kLength, kStartRadius, kEndRadius,
                          kTurn, kName, kStartX, kStartY})
        if (key == t)
            return true;
    return false;
}

bool isElementStartHeader(const std::vector<std::string>& header) {
    return columnOfAnyCase(header, kStartChainage) && columnOfAnyCase(header, kAzimuth);
}

bool isElementTableHeader(const std::vector<std::string>& header) {
    return columnOfAnyCase(header, kLength).has_value();
}

std::optional<ElementStart> readElementStart(const CsvTable& table, std::size_t file,
                                             std::vector<Failure>& faults) {
    const std::size_t before = faults.size();
    const auto fault = [&](int line, std::string message) {
        faults.push_back({std::move(message), line, file});
    };
    const auto chainage = columnOfAnyCase(table.header, kStartChainage);
    const auto x = columnOfAnyCase(table.header, kX);
    const auto y = columnOfAnyCase(table.header, kY);
    const auto azimuth = columnOfAnyCase(table.header, kAzimuth);
    for (auto [column, title] : {std::pair{x, kX}, std::pair{y, kY}})
        if (!column)
            fault(table.headerLine, std::string("起点表的表头缺少 ") + title + " 列。");
    if (faults.size() != before)
        return std::nullopt;
    if (table.rows.size() != 1) {
        fault(table.rows.empty() ? table.headerLine : table.rows[1].line,
              "起点表只能有一行（起点的桩号、座标和方位角），现在有 " +
                  std::to_string(table.rows.size()) + " 行。");
        return std::nullopt;
    }
    const CsvRow& row = table.rows[0];
    ElementStart start;
    start.line = row.line;
    const std::string c = field(row.fields, chainage);
    if (std::optional<double> v = readChainage(c))
        start.chainage_m = *v;
    else
        fault(row.line,
              "起点桩号 必须是米数或 K 桩号（如 12000 或 K12+000），" + quotedField(c) + " 不对。");
    for (auto [column, title, value] :
         {std::tuple{x, kX, &start.x_m}, std::tuple{y, kY, &start.y_m}}) {
        const std::string t = field(row.fields, column);
        if (std::optional<double> v = boundedNumber(t))
            *value = *v;
        else
            fault(row.line,
                  std::string(title) + " 必须是数值，" + quotedField(t) + " 不是有效的数值。");
    }
    const std::string a = field(row.fields, azimuth);
    const std::optional<double> dms = readNumber(a);
    if (!dms || *dms < 0 || !isValidDms(*dms) || dmsToDegrees(*dms) >= kFullCircle_deg)
        fault(row.line,
              "方位角 要按 度.分秒 输入（0 至 360 度，如 45.3015），" + quotedField(a) + " 不对。");
    else
        start.azimuth_deg = dmsToDegrees(*dms);
    if (faults.size() != before)
        return std::nullopt;
    return start;
}

ElementTable readElementTable(const CsvTable& table, std::size_t file,
                              std::vector<Failure>& faults) {
    ElementTable elements;
    elements.file = file;
    elements.headerLine = table.headerLine;
    const std::size_t before = faults.size();
    const auto fault = [&](int line, std::string message) {
        faults.push_back({std::move(message), line, file});
    };
    const auto length = columnOfAnyCase(table.header, kLength);
    const auto startRadius = columnOfAnyCase(table.header, kStartRadius);
    const auto endRadius = columnOfAnyCase(table.header, kEndRadius);
    const auto turn = columnOfAnyCase(table.header, kTurn);
    const auto name = columnOfAnyCase(table.header, kName);
    const auto startX = columnOfAnyCase(table.header, kStartX);
    const auto startY = columnOfAnyCase(table.header, kStartY);
    for (auto [column, title] : {std::pair{startRadius, kStartRadius},
                                 std::pair{endRadius, kEndRadius}, std::pair{turn, kTurn}})
        if (!column)
            fault(table.headerLine, std::string("线元表的表头缺少 ") + title + " 列。");
    if (startX.has_value() != startY.has_value())
        fault(table.headerLine, "线元表的表头要同时有 起点X 和 起点Y 两列，或者都没有。");
    if (faults.size() != before)
        return elements;
    if (table.rows.empty())
        fault(table.headerLine, "线元表里没有线元。");

    for (const CsvRow& row : table.rows) {
        if (faults.size() >= kMostRouteFaults)
            break;
        ElementRow e;
        e.line = row.line;
        // A name goes into tables and messages: it is kept printable.
        e.name = shownText(field(row.fields, name));
        const std::string l = field(row.fields, length);
        const std::optional<double> L = boundedNumber(l);
        if (l.empty())
            fault(row.line, "线元的长度不能为空。");
        else if (!L)
            fault(row.line, "长度 必须是数值，" + quotedField(l) + " 不是有效的数值。");
        else if (!(*L > 0))
            fault(row.line, "线元的长度必须大于零，" + quotedField(l) + " 不对。");
        else
            e.length_m = *L;

        RadiusReading radii[2];
        bool radiiRead = true;
        for (auto [column, title, reading] : {std::tuple{startRadius, kStartRadius, &radii[0]},
                                              std::tuple{endRadius, kEndRadius, &radii[1]}}) {
            const std::string r = field(row.fields, column);
            *reading = readRadius(r);
            if (!reading->ok) {
                fault(row.line, std::string(title) +
                                    " 必须是大于零的数值（直线留空，或填 ∞、inf），" +
                                    quotedField(r) + " 不对。");
                radiiRead = false;
            }
        }
        const std::string t = field(row.fields, turn);
        double sign = 0;
        if (t == "右" || upperLatin(t) == "R")
            sign = 1;
        else if (t == "左" || upperLatin(t) == "L")
            sign = -1;
        else if (!t.empty())
            fault(row.line, "转向 只能是 左 或 右（也可写 L 或 R），" + quotedField(t) + " 不对。");
        const bool curved = radiiRead && (!radii[0].straight || !radii[1].straight);
        if (curved && t.empty())
            fault(row.line, "这个线元有半径，要给出转向（左 或 右）。");
        if (curved && sign != 0) {
            e.startCurvature_per_m = radii[0].straight ? 0 : sign / radii[0].R_m;
            e.endCurvature_per_m = radii[1].straight ? 0 : sign / radii[1].R_m;
        }

        if (startX) {
            const std::string sx = field(row.fields, startX), sy = field(row.fields, startY);
            if (sx.empty() != sy.empty()) {
                fault(row.line, "起点X 和 起点Y 要一起给出，或者都留空。");
            } else if (!sx.empty()) {
                e.startX_m = boundedNumber(sx);
                e.startY_m = boundedNumber(sy);
                if (!e.startX_m)
                    fault(row.line, "起点X 必须是数值，" + quotedField(sx) + " 不是有效的数值。");
                if (!e.startY_m)
                    fault(row.line, "起点Y 必须是数值，" + quotedField(sy) + " 不是有效的数值。");
            }
        }
        elements.rows.push_back(std::move(e));
    }
    return elements;
}

}  // namespace hcurve
