#include <algorithm>
#include <cmath>
#include <utility>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/characteristic_points.h"
#include "geometry/stake_position.h"
#include "report/report_document.h"
#include "route/route_tables.h"
#include "stakes/stake_table.h"

namespace hcurve {
namespace {

std::string fixed(double v, Pattern pattern) {
    return format(v, pattern);
}

std::string length(double v_m) {
    return format(roundTo(v_m, 4), Pattern::Fixed4);
}

std::string coordinate(double v_m) {
    return coordinateText(v_m, kPlainCoordinate);
}

std::string chainage(double v_m) {
    return chainageText(v_m, kPlainForm);
}

}  // namespace

std::vector<std::string> sideLayoutNotes(const SideLayout& layout) {
    auto metres = [](double v_m) { return format(v_m, Pattern::Fixed3) + " m"; };
    std::string first = layout.skew_deg == 0
                            ? "斜交角 0 (正交)"
                            : "斜交角 " + dmsText(layout.skew_deg) + " (度.分秒，由法线顺时针为正)";
    first += layout.doubleRow ? "；双排：前排距横轴 " + metres(layout.front_m) + "，后排距横轴 " +
                                    metres(layout.back_m)
                              : "；单排";
    std::vector<std::string> notes{first};
    for (const auto& [side, distances] :
         {std::pair{"左", &layout.left_m}, std::pair{"右", &layout.right_m}}) {
        std::string line = std::string(side) + "侧：";
        for (std::size_t j = 0; j < distances->size(); ++j)
            line += (j > 0 ? "，" : "") + std::string(side) + std::to_string(j + 1) + " = " +
                    metres((*distances)[j]);
        notes.push_back(distances->empty() ? line + "无" : line);
    }
    return notes;
}

std::string pageText(int page, int pages) {
    return "第 " + std::to_string(page) + " / " + std::to_string(pages) + " 页";
}

ReportDocument stakeReport(const CurveRecord& record, const std::string& date) {
    const CurveElements& c = *record.curve;
    const DesignValues& d = record.design;
    ReportDocument doc;
    doc.title = "中桩成果报告";
    doc.project = "平曲线 JD" + record.JD;
    doc.date = date;

    ReportTable design{"设计数据", {"项目", "值"}, {false, true}, {}};
    design.rows = {{"交点号 JD", record.JD},
                   {"交点桩号 K", chainage(d.K_m)},
                   {"交点纵座标 X", fixed(d.X_m, Pattern::Fixed3)},
                   {"交点横座标 Y", fixed(d.Y_m, Pattern::Fixed3)},
                   {"ZH 切线方位角 T (度.分秒)", fixed(d.T_dms, Pattern::Fixed5)},
                   {"平曲线偏角 B (度.分秒)", fixed(d.B_dms, Pattern::Fixed5)},
                   {"平曲线半径 R", fixed(d.R_m, Pattern::Fixed4)},
                   {"第一缓和曲线要素 A1", fixed(d.A1_m, Pattern::Fixed4)},
                   {"第二缓和曲线要素 A2", fixed(d.A2_m, Pattern::Fixed4)}};
    doc.tables.push_back(design);

    // The arc's midpoint, and the external distance from the JD to it.
    const double qz_m = (c.hy + c.yh) / 2;
    const std::optional<StakePosition> qz = centreStake(c, qz_m, 0);
    const double total_m = (c.Lf + c.Ls1) + c.Ls2;
    ReportTable elements{"曲线要素", {"要素", "值 (米)"}, {false, true}, {}};
    elements.rows = {{"第一缓和曲线长 Ls1", length(c.Ls1)},
                     {"第二缓和曲线长 Ls2", length(c.Ls2)},
                     {"第一切线长 T1", length(c.T1)},
                     {"第二切线长 T2", length(c.T2)},
                     {"圆曲线长 Lf", length(c.Lf)},
                     {"平曲线长 L", length(total_m)},
                     {"外距 E", qz ? length(std::hypot(qz->x_m - c.X, qz->y_m - c.Y)) : ""},
                     {"切曲差 J = T1 + T2 - L", length(c.T1 + c.T2 - total_m)},
                     {"圆心纵座标 Xo", coordinate(c.Xo)},
                     {"圆心横座标 Yo", coordinate(c.Yo)}};
    doc.tables.push_back(elements);

    ReportTable points{
        "特征点", {"点", "桩号", "X (北)", "Y (东)"}, {false, false, true, true}, {}};
    for (const CharacteristicPoint& p : characteristicPoints(c, CurveEnd::Start))
        points.rows.push_back(
            {p.name, chainage(p.chainage_m), coordinate(p.x_m), coordinate(p.y_m)});
    if (qz)
        points.rows.push_back({"QZ", chainage(qz_m), coordinate(qz->x_m), coordinate(qz->y_m)});
    for (const CharacteristicPoint& p : characteristicPoints(c, CurveEnd::End))
        points.rows.push_back(
            {p.name, chainage(p.chainage_m), coordinate(p.x_m), coordinate(p.y_m)});
    doc.tables.push_back(points);

    ReportTable stakes{"中桩及边桩座标",
                       {"序号", "桩号", "点位", "侧别", "距离 (米)", "X (北)", "Y (东)"},
                       {true, false, false, false, true, true, true},
                       {}};
    for (const StakeTableRow& r : stakeTableRows(record)) {
        stakes.rows.push_back({std::to_string(r.stake), chainage(r.chainage_m), r.point, r.side,
                               r.distance_m, r.x, r.y});
    }
    if (const std::optional<SideSetup>& sides = record.lastRun.sides) {
        SideLayout layout;
        layout.skew_deg = dmsToDegrees(record.lastRun.ppq_dms);
        for (std::size_t j = 1;
             j <= std::size_t(std::max(0, int(sides->dl_n))) && j < sides->dl.size(); ++j)
            layout.left_m.push_back(sides->dl[j]);
        for (std::size_t j = 1;
             j <= std::size_t(std::max(0, int(sides->dr_n))) && j < sides->dr.size(); ++j)
            layout.right_m.push_back(sides->dr[j]);
        layout.doubleRow = sides->dd_n != 1;
        layout.front_m = sides->ds_l;
        layout.back_m = sides->ds_r;
        stakes.notes = sideLayoutNotes(layout);
    }
    if (!stakes.rows.empty())
        doc.tables.push_back(stakes);
    return doc;
}

}  // namespace hcurve
