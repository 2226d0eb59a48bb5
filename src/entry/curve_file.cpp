#include "entry/curve_file.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <tuple>
#include <vector>

#include "curve/csv_writing.h"
#include "curve/format.h"
#include "curve/number.h"
#include "geometry/design_check.h"

namespace hcurve {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kHeader[] = "项目,值";

// The most side points a side may have, as the side-point questions allow.
constexpr int kMostSidePoints = std::numeric_limits<std::int16_t>::max();

const char* const kJd = "交点号";
const char* const kSidePoints = "计算边桩";
const char* const kWidthsNow = "现在输入距离";
const char* const kLeft = "左侧距离";
const char* const kRight = "右侧距离";
const char* const kRows = "排数";
const char* const kFront = "前排距横轴";
const char* const kBack = "后排距横轴";

struct DesignLine {
    const char* name;
    double DesignValues::*number;
    DesignValue check;
};
const DesignLine kDesignLines[] = {
    {"交点桩号 K", &DesignValues::K_m, DesignValue::K},
    {"交点纵座标 X", &DesignValues::X_m, DesignValue::X},
    {"交点横座标 Y", &DesignValues::Y_m, DesignValue::Y},
    {"方位角 T", &DesignValues::T_dms, DesignValue::T},
    {"偏角 B", &DesignValues::B_dms, DesignValue::B},
    {"半径 R", &DesignValues::R_m, DesignValue::R},
    {"缓和曲线要素 A1", &DesignValues::A1_m, DesignValue::A1},
    {"缓和曲线要素 A2", &DesignValues::A2_m, DesignValue::A2},
};

// The shortest text that reads back to the same number.
std::string exactText(double v) {
    const std::string general = generalText(v);
    if (readNumber(general) == v)
        return general;
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string exactText(float v) {
    const std::string general = generalText(v);
    if (std::optional<double> back = readNumber(general); back && static_cast<float>(*back) == v)
        return general;
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return text;
}

std::string line(const std::string& name, const std::vector<std::string>& values) {
    std::vector<std::string> fields{name};
    fields.insert(fields.end(), values.begin(), values.end());
    return csvLine(fields, kSpreadsheetCsv);
}

// The fields of one CSV line; quoted fields may hold commas and doubled quotes.
std::vector<std::string> fieldsOf(const std::string& text) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The text's lines, without their ends; a line break inside quotes stays in its line.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (!quoted && (c == '\n' || c == '\r')) {
            if (!lines.back().empty())
                lines.emplace_back();
            continue;
        }
        lines.back() += c;
    }
    if (lines.back().empty())
        lines.pop_back();
    return lines;
}

// The distances of one side: every column after the name that is not blank.
std::optional<std::vector<float>> distances(const std::vector<std::string>& fields) {
    std::vector<float> out{0.0f};
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (isBlank(fields[i]))
            continue;
        const std::optional<double> v = readNumber(fields[i]);
        if (!v || !std::isfinite(static_cast<float>(*v)))
            return std::nullopt;
        out.push_back(static_cast<float>(*v));
    }
    if (out.size() - 1 > static_cast<std::size_t>(kMostSidePoints))
        return std::nullopt;
    return out;
}

}  // namespace

std::string curveFileText(const CurveRecord& record) {
    std::string text = csvStart(kSpreadsheetCsv) + csvLine({"项目", "值"}, kSpreadsheetCsv);
    text += line(kJd, {record.JD});
    for (const DesignLine& d : kDesignLines)
        text += line(d.name, {exactText(record.design.*d.number)});
    text += line(kSidePoints, {record.pp_dk});
    text += line(kWidthsNow, {std::to_string(record.dlxp)});
    std::vector<std::string> left, right;
    for (int j = 1; j <= record.sides.dl_n && j < static_cast<int>(record.sides.dl.size()); ++j)
        left.push_back(exactText(record.sides.dl[static_cast<std::size_t>(j)]));
    for (int j = 1; j <= record.sides.dr_n && j < static_cast<int>(record.sides.dr.size()); ++j)
        right.push_back(exactText(record.sides.dr[static_cast<std::size_t>(j)]));
    text += line(kLeft, left);
    text += line(kRight, right);
    text += line(kRows, {std::to_string(record.sides.dd_n == 1 ? 1 : 2)});
    text += line(kFront, {exactText(record.sides.ds_l)});
    text += line(kBack, {exactText(record.sides.ds_r)});
    return text;
}

Result<void> readCurveFile(const std::string& text, CurveRecord& record) {
    std::string body = text;
    if (body.compare(0, 3, kByteOrderMark) == 0)
        body.erase(0, 3);
    const std::vector<std::string> lines = linesOf(body);
    if (lines.empty() || fieldsOf(lines.front()) != fieldsOf(kHeader))
        return Failure{"这不是曲线文件：第一行应为“" + std::string(kHeader) + "”。"};
    std::map<std::string, std::vector<std::string>> values;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> fields = fieldsOf(lines[i]);
        values[fields.front()] = fields;
    }
    auto first = [&](const char* name) -> std::optional<std::string> {
        const auto found = values.find(name);
        if (found == values.end() || found->second.size() < 2)
            return std::nullopt;
        return found->second[1];
    };
    auto missing = [](const std::string& name) {
        return Result<void>(Failure{"曲线文件缺少“" + name + "”一行。"});
    };
    auto wrong = [](const std::string& name, const std::string& why) {
        return Result<void>(Failure{"曲线文件中“" + name + "”不对：" + why});
    };

    CurveRecord read = record;
    const std::optional<std::string> jd = first(kJd);
    if (!jd)
        return missing(kJd);
    read.JD = *jd;
    for (const DesignLine& d : kDesignLines) {
        const std::optional<std::string> typed = first(d.name);
        if (!typed)
            return missing(d.name);
        const Result<double> reading = readDesignValue(d.check, *typed);
        if (!reading)
            return wrong(d.name, reading.failure().message);
        read.design.*d.number = *reading;
    }
    read.pp_dk = first(kSidePoints).value_or("n");
    const std::optional<double> now = readNumber(first(kWidthsNow).value_or("0"));
    if (!now || *now != std::trunc(*now) || std::fabs(*now) > kMostSidePoints)
        return wrong(kWidthsNow, "应为整数。");
    read.dlxp = static_cast<std::int16_t>(*now);
    for (auto [name, list, count] : {std::tuple{kLeft, &read.sides.dl, &read.sides.dl_n},
                                     std::tuple{kRight, &read.sides.dr, &read.sides.dr_n}}) {
        const auto found = values.find(name);
        std::optional<std::vector<float>> d =
            found == values.end() ? std::vector<float>{0.0f} : distances(found->second);
        if (!d)
            return wrong(name, "距离要写成数值，每格一个。");
        *list = *d;
        *count = static_cast<std::int16_t>(d->size() - 1);
    }
    const std::optional<double> rows = readNumber(first(kRows).value_or("1"));
    if (!rows || (*rows != 1 && *rows != 2))
        return wrong(kRows, "单排为 1，双排为 2。");
    read.sides.dd_n = static_cast<std::int16_t>(*rows);
    for (auto [name, distance] :
         {std::pair{kFront, &read.sides.ds_l}, std::pair{kBack, &read.sides.ds_r}}) {
        const std::optional<double> v = readNumber(first(name).value_or("0"));
        if (!v || !std::isfinite(static_cast<float>(*v)))
            return wrong(name, "应为数值。");
        *distance = static_cast<float>(*v);
    }
    record = std::move(read);
    return done();
}

}  // namespace hcurve
