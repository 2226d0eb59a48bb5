#include "stakes/stake_list.h"

#include "curve/dms.h"
#include "geometry/side_points.h"

namespace hcurve {
namespace {

constexpr std::int16_t kSingleRow = 1;

// Whether the run's side setup holds side points for every stake.
bool sideSetupHolds(const RunSideSetup& s, std::size_t stakes) {
    return s.sidePointsOn && s.dl_n >= 0 && s.dr_n >= 0 &&
           s.dl.size() > static_cast<std::size_t>(s.dl_n) &&
           s.dr.size() > static_cast<std::size_t>(s.dr_n) && s.axisAzimuth_deg.size() > stakes;
}

}  // namespace

void forEachStake(const CurveRecord& record, const std::function<bool(const RunStake&)>& visit) {
    const std::size_t n = stakesOfLastRun(record);
    const RunSideSetup& setup = record.runSides;
    const bool sides = sideSetupHolds(setup, n);
    const std::vector<SidePointSlot> order =
        sides ? sidePointOrder(setup.dl_n, setup.dr_n, setup.dd_n == kSingleRow)
              : std::vector<SidePointSlot>{};
    SideTables tables = makeSideTables(sides ? setup.dl_n : 0, sides ? setup.dr_n : 0);
    RunStake stake;
    for (std::size_t i = 1; i <= n; ++i) {
        stake.number = i;
        stake.chainage_m = record.Kp[i];
        stake.x_m = record.stakeX[i];
        stake.y_m = record.stakeY[i];
        stake.sidePoints.clear();
        if (sides) {
            computeSidePoints(tables, stake.x_m, stake.y_m, setup.axisAzimuth_deg[i], setup,
                              kDegreeFactor);
            for (const SidePointSlot& slot : order) {
                const float distance_m = (slot.left ? setup.dl : setup.dr)[slot.distance];
                const std::vector<double>& x = slot.left ? tables.leftRowX : tables.rightRowX;
                const std::vector<double>& y = slot.left ? tables.leftRowY : tables.rightRowY;
                stake.sidePoints.push_back({slot, distance_m, x[slot.element], y[slot.element]});
            }
        }
        if (!visit(stake))
            return;
    }
}

}  // namespace hcurve
