#include "route_files/vertical_table.h"

#include "curve/csv_writing.h"
#include "curve/format.h"

namespace hcurve {
namespace {

constexpr const char* kVerticalHeader[] = {
    "变坡点", "桩号", "里程", "高程", "坡度1", "坡度2",          "坡差",
    "凹凸",   "R",    "T",    "E",    "L",     "竖曲线起点里程", "竖曲线终点里程"};
constexpr double kPercent = 100;

std::string fixed4(double v) {
    const std::string t = format(v, Pattern::Fixed4);
    return t == "-0.0000" ? "0.0000" : t;
}

}  // namespace

TableRows verticalTableRows(const Route& route) {
    if (!route.gradeLine)
        return {};
    TableRows rows{
        std::vector<std::string>(std::begin(kVerticalHeader), std::end(kVerticalHeader))};
    const std::vector<GradePoint>& p = route.gradeLine->points;
    for (std::size_t k = 0; k < p.size(); ++k) {
        const GradePoint& g = p[k];
        const bool first = k == 0, last = k + 1 == p.size();
        std::vector<std::string> row(rows[0].size());
        row[0] = first ? "起点" : last ? "终点" : "变坡点" + std::to_string(k);
        row[1] = stakeText(route, g.at_m);
        row[2] = fixed4(g.at_m);
        row[3] = fixed4(g.H_m);
        if (!first)
            row[4] = fixed4(g.gradeIn * kPercent);
        if (!last)
            row[5] = fixed4(g.gradeOut * kPercent);
        if (!first && !last) {
            row[6] = fixed4(g.omega * kPercent);
            row[7] = g.omega > 0 ? "凹" : g.omega < 0 ? "凸" : "";
            if (g.T_m > 0) {
                // An unsymmetric parabola has no one radius.
                if (g.R_m > 0)
                    row[8] = fixed4(g.R_m);
                row[9] = fixed4(g.T_m);
                row[10] = fixed4(g.E_m);
                row[11] = fixed4(g.L_m);
                row[12] = fixed4(g.curveStart_m());
                row[13] = fixed4(g.curveEnd_m());
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string verticalTableCsv(const Route& route) {
    return csvText(verticalTableRows(route), kScriptCsv);
}

}  // namespace hcurve
