#include "commands/plan_dxf.h"

#include <algorithm>

#include "alignment/route.h"
#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/characteristic_points.h"
#include "geometry/stake_position.h"
#include "platform/file_writing.h"
#include "port/messages.h"
#include "alignment/curve_reverse.h"
#include "stakes/run_points.h"

namespace hcurve {

PlanDrawing curvePlanDrawing(const CurveRecord& record) {
    const CurveElements& c = *record.curve;
    // The JD's name as the plan view shows it: "JD" and the name as a number where it reads as one.
    const std::size_t first = std::min(record.JD.find_first_not_of(' '), record.JD.size());
    const std::string jd = "JD" + format(std::string_view(record.JD).substr(first));

    double from_m = c.zh, to_m = c.hz;
    for (const Stake& s : record.lastRun.stakes) {
        from_m = std::min(from_m, s.chainage_m);
        to_m = std::max(to_m, s.chainage_m);
    }
    PlanDrawing plan;
    plan.centreLine = curveAlignment(c, from_m, to_m).elements;
    plan.polygon = {{"", "", c.xa, c.ya, 0}, {jd, "", c.X, c.Y, 0}, {"", "", c.xb, c.yb, 0}};

    auto mark = [&](const std::string& name, double chainage_m, double x_m, double y_m) {
        const std::optional<StakePosition> at = centreStake(c, chainage_m, 0);
        plan.marks.push_back({name, chainageText(chainage_m, kPlainForm), x_m, y_m,
                              at ? at->axisAzimuth_deg - kRightAngle_deg : c.T});
    };
    for (const CharacteristicPoint& p : characteristicPoints(c, CurveEnd::Start))
        mark(p.name, p.chainage_m, p.x_m, p.y_m);
    const double qz_m = (c.hy + c.yh) / 2;
    if (const std::optional<StakePosition> qz = centreStake(c, qz_m, 0))
        mark("QZ", qz_m, qz->x_m, qz->y_m);
    for (const CharacteristicPoint& p : characteristicPoints(c, CurveEnd::End))
        mark(p.name, p.chainage_m, p.x_m, p.y_m);

    // The export's points, each stake followed by its side points, on the stakes' own axes.
    const std::vector<Stake>& stakes = record.lastRun.stakes;
    std::size_t stake = 0;
    bool firstPoint = true;
    forEachPoint(record, [&](const ExportPoint& p) {
        const int side = sideOf(p);
        if (side == 0 && !firstPoint)
            ++stake;
        firstPoint = false;
        const double axis =
            stake < stakes.size() ? stakes[stake].axisAzimuth_deg : c.T + kRightAngle_deg;
        plan.points.push_back({p.name, p.x_m, p.y_m, p.H_m, side, axis});
        return true;
    });
    return plan;
}

Result<void> savePlanDxf(const CurveRecord& record, const std::string& path) {
    if (!record.curve)
        return Failure{kNoComputedCurve};
    return writeFileReplacing(path, planDxf(curvePlanDrawing(record)));
}

}  // namespace hcurve
