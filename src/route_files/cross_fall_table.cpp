#include "route_files/cross_fall_table.h"

#include <cmath>

#include "curve/number.h"
#include "route_files/csv_tables.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

constexpr char kAtColumn[] = "桩号";
constexpr char kAtContinuousColumn[] = "里程";
constexpr const char* kSlopeColumns[] = {"左横坡", "右横坡"};
// More than this is no road surface but a mistyped number.
constexpr double kSteepestSlope_pct = 100;

}  // namespace

bool isCrossFallTitle(std::string_view title) {
    return title == kAtColumn || title == kAtContinuousColumn || title == kSlopeColumns[0] ||
           title == kSlopeColumns[1];
}

bool isCrossFallHeader(const std::vector<std::string>& header) {
    return columnOf(header, kSlopeColumns[0]) || columnOf(header, kSlopeColumns[1]);
}

CrossFallTable readCrossFallTable(const CsvTable& table, std::size_t file,
                                  std::vector<Failure>& faults) {
    CrossFallTable cross;
    cross.file = file;
    cross.headerLine = table.headerLine;
    const auto fault = [&](int line, std::string message) {
        faults.push_back({std::move(message), line, file});
    };
    const std::optional<std::size_t> broken = columnOf(table.header, kAtColumn);
    const std::optional<std::size_t> continuous = columnOf(table.header, kAtContinuousColumn);
    const std::optional<std::size_t> slopes[] = {columnOf(table.header, kSlopeColumns[0]),
                                                 columnOf(table.header, kSlopeColumns[1])};
    if (!broken && !continuous) {
        fault(table.headerLine, "横坡表的表头要有 桩号 列（或 里程 列）。");
        return cross;
    }
    if (broken && continuous) {
        fault(table.headerLine, "横坡表不能同时有 桩号 和 里程 列。");
        return cross;
    }
    for (std::size_t s = 0; s < 2; ++s) {
        if (!slopes[s]) {
            fault(table.headerLine, "横坡表的表头缺少 " + std::string(kSlopeColumns[s]) + " 列。");
            return cross;
        }
    }
    if (table.rows.empty()) {
        fault(table.headerLine, "横坡表没有数据行。");
        return cross;
    }
    const char* atTitle = broken ? kAtColumn : kAtContinuousColumn;
    for (const CsvRow& row : table.rows) {
        if (faults.size() >= kMostRouteFaults)
            break;
        CrossFallRow c;
        c.line = row.line;
        c.at.text = field(row.fields, broken ? broken : continuous);
        const std::optional<double> at = readChainage(c.at.text);
        if (!at) {
            fault(row.line, std::string(atTitle) +
                                " 必须是米数或 K 桩号（如 12000 或 K12+000），“" + c.at.text +
                                "” 不对。");
        } else {
            c.at.value_m = *at;
            c.at.broken = broken && (c.at.text[0] == 'K' || c.at.text[0] == 'k');
        }
        double* values[] = {&c.left_pct, &c.right_pct};
        for (std::size_t s = 0; s < 2; ++s) {
            const std::string t = field(row.fields, slopes[s]);
            const std::optional<double> v = readNumber(t);
            if (!v || std::fabs(*v) > kSteepestSlope_pct)
                fault(row.line, std::string(kSlopeColumns[s]) + " 必须是百分数（如 -2 或 4），“" +
                                    t + "” 不对。");
            else
                *values[s] = *v;
        }
        cross.rows.push_back(c);
    }
    return cross;
}

}  // namespace hcurve
