#include "stakes/stake_list.h"

#include "curve/dms.h"
#include "geometry/side_points.h"

namespace hcurve {
namespace {

constexpr std::int16_t kSingleRow = 1;

// Whether the side setup holds its distances.
bool sideSetupHolds(const SideSetup& s) {
    return s.dl_n >= 0 && s.dr_n >= 0 && s.dl.size() > static_cast<std::size_t>(s.dl_n) &&
           s.dr.size() > static_cast<std::size_t>(s.dr_n);
}

}  // namespace

void forEachStake(const StakeRun& run, const std::function<bool(const RunStake&)>& visit) {
    const SideSetup noSides;
    const bool sides = run.sides && sideSetupHolds(*run.sides);
    const SideSetup& setup = sides ? *run.sides : noSides;
    const std::vector<SidePointSlot> order =
        sides ? sidePointOrder(setup.dl_n, setup.dr_n, setup.dd_n == kSingleRow)
              : std::vector<SidePointSlot>{};
    SideTables tables = makeSideTables(setup.dl_n, setup.dr_n);
    RunStake stake;
    for (std::size_t i = 0; i < run.stakes.size(); ++i) {
        const Stake& centre = run.stakes[i];
        stake.number = i + 1;
        stake.chainage_m = centre.chainage_m;
        stake.x_m = centre.x_m;
        stake.y_m = centre.y_m;
        stake.sidePoints.clear();
        if (sides) {
            computeSidePoints(tables, stake.x_m, stake.y_m, centre.axisAzimuth_deg, setup,
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
