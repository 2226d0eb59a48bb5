#include "alignment/cross_fall.h"

#include <algorithm>
#include <cmath>

#include "alignment/route.h"
#include "curve/number.h"
#include "route_files/csv_tables.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

constexpr char kAtColumn[] = "桩号";
constexpr char kAtContinuousColumn[] = "里程";
constexpr const char* kSlopeColumns[] = {"左横坡", "右横坡"};
constexpr double kPercent = 100;
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
                                  std::vector<RouteFault>& faults) {
    CrossFallTable cross;
    cross.file = file;
    cross.headerLine = table.headerLine;
    const auto fault = [&](int line, std::string message) {
        faults.push_back({line, std::move(message), file});
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

std::optional<CrossFall> buildCrossFall(const CrossFallTable& table, const Route& route,
                                        std::vector<RouteFault>& faults) {
    const std::size_t before = faults.size();
    CrossFall cross;
    for (const CrossFallRow& r : table.rows) {
        std::string wrong;
        const std::optional<double> at = placedChainage(route, r.at, false, wrong);
        if (!at) {
            faults.push_back({r.line, wrong, table.file});
            continue;
        }
        if (!cross.points.empty() && *at < cross.points.back().at_m) {
            faults.push_back({r.line,
                              "桩号 " + r.at.text + " 在上一行之前：横坡表要按里程顺序排列。",
                              table.file});
            continue;
        }
        cross.points.push_back({*at, r.left_pct, r.right_pct});
    }
    if (faults.size() != before)
        return std::nullopt;
    return cross;
}

CrossSlopes crossSlopesAt(const CrossFall& crossFall, double continuous_m) {
    const auto& p = crossFall.points;
    // The first row beyond the chainage; at a row's own chainage the last row there holds.
    auto it = std::upper_bound(p.begin(), p.end(), continuous_m,
                               [](double s, const CrossFall::Point& q) { return s < q.at_m; });
    if (it == p.begin())
        return {p.front().left_pct, p.front().right_pct};
    if (it == p.end())
        return {p.back().left_pct, p.back().right_pct};
    const CrossFall::Point &a = *(it - 1), &b = *it;
    const double t = (continuous_m - a.at_m) / (b.at_m - a.at_m);
    return {a.left_pct + t * (b.left_pct - a.left_pct),
            a.right_pct + t * (b.right_pct - a.right_pct)};
}

std::optional<double> surfaceElevation_m(const GradeLine& line, const CrossFall& crossFall,
                                         double continuous_m, double offset_m) {
    const std::optional<double> centre = designElevation_m(line, continuous_m);
    if (!centre)
        return std::nullopt;
    const CrossSlopes slopes = crossSlopesAt(crossFall, continuous_m);
    const double slope_pct = offset_m < 0 ? slopes.left_pct : slopes.right_pct;
    return *centre + std::fabs(offset_m) * slope_pct / kPercent;
}

}  // namespace hcurve
