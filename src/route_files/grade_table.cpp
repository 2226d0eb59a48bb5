#include "route_files/grade_table.h"

#include <cmath>

#include "curve/number.h"
#include "geometry/design_check.h"
#include "route_files/csv_tables.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

constexpr char kAtColumn[] = "变坡点桩号";
constexpr char kAtContinuousColumn[] = "变坡点里程";
constexpr char kHColumn[] = "高程";
constexpr char kRColumn[] = "竖曲线半径";

std::string quoted(const std::string& text) {
    return "“" + text + "”";
}

}  // namespace

bool isGradeTitle(std::string_view title) {
    for (const char* t : {kAtColumn, kAtContinuousColumn, kHColumn, kRColumn})
        if (title == t)
            return true;
    return false;
}

bool isGradeHeader(const std::vector<std::string>& header) {
    return columnOf(header, kAtColumn) || columnOf(header, kAtContinuousColumn);
}

GradeTable readGradeTable(const CsvTable& table, std::size_t file, std::vector<Failure>& faults) {
    GradeTable grade;
    grade.file = file;
    grade.headerLine = table.headerLine;
    const auto fault = [&](int line, std::string message) {
        faults.push_back({std::move(message), line, file});
    };
    const std::optional<std::size_t> broken = columnOf(table.header, kAtColumn);
    const std::optional<std::size_t> continuous = columnOf(table.header, kAtContinuousColumn);
    const std::optional<std::size_t> H = columnOf(table.header, kHColumn);
    const std::optional<std::size_t> R = columnOf(table.header, kRColumn);
    if (broken && continuous) {
        fault(table.headerLine, "纵断面表不能同时有 变坡点桩号 和 变坡点里程 列。");
        return grade;
    }
    if (!H) {
        fault(table.headerLine, "纵断面表的表头缺少 高程 列。");
        return grade;
    }
    const char* atTitle = broken ? kAtColumn : kAtContinuousColumn;
    for (const CsvRow& row : table.rows) {
        if (faults.size() >= kMostRouteFaults)
            break;
        GradeRow g;
        g.line = row.line;
        g.at.text = field(row.fields, broken ? broken : continuous);
        const std::optional<double> at = readChainage(g.at.text);
        if (!at) {
            fault(row.line, std::string(atTitle) + " 必须是米数或 K 桩号（如 12000 或 K12+000），" +
                                quoted(g.at.text) + " 不对。");
        } else {
            g.at.value_m = *at;
            g.at.broken = broken && (g.at.text[0] == 'K' || g.at.text[0] == 'k');
        }
        const std::string h = field(row.fields, H);
        const std::optional<double> hv = readNumber(h);
        if (!hv || std::fabs(*hv) > kMaxDesignLength_m)
            fault(row.line, "高程 必须是数值，" + quoted(h) + " 不是有效的数值。");
        else
            g.H_m = *hv;
        const std::string r = field(row.fields, R);
        if (!r.empty()) {
            const std::optional<double> rv = readNumber(r);
            if (!rv || std::fabs(*rv) > kMaxDesignLength_m)
                fault(row.line, "竖曲线半径 必须是数值，" + quoted(r) + " 不是有效的数值。");
            else if (*rv < 0)
                fault(row.line, "竖曲线半径不能为负数（不设竖曲线填 0 或留空）。");
            else
                g.R_m = *rv;
        }
        grade.rows.push_back(g);
    }
    return grade;
}

}  // namespace hcurve
