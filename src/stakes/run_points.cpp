#include "stakes/run_points.h"

#include <string>

#include "curve/chainage.h"
#include "curve/format.h"
#include "stakes/stake_list.h"

namespace hcurve {
namespace {

// The file words of a side point's row: the row column and the tag before L or R in its name.
const char* rowColumn(SideRow row) {
    return row == SideRow::Single ? "单排" : row == SideRow::Front ? "前排" : "后排";
}
const char* rowTag(SideRow row) {
    return row == SideRow::Single ? "" : row == SideRow::Front ? "F" : "B";
}

}  // namespace

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

}  // namespace hcurve
