#include "stakes/stake_list.h"

#include "curve/angle.h"

namespace hcurve {
namespace {

constexpr std::int16_t kSingleRow = 1;

// Whether the side setup holds its distances.
bool sideSetupHolds(const SideSetup& s) {
    return s.dl_n >= 0 && s.dr_n >= 0 && s.dl.size() > static_cast<std::size_t>(s.dl_n) &&
           s.dr.size() > static_cast<std::size_t>(s.dr_n);
}

}  // namespace

RunStakes::RunStakes(const StakeRun& run)
    : run_(run),
      setup_(run.sides && sideSetupHolds(*run.sides) ? *run.sides : SideSetup{}),
      request_(sideRequestOf(setup_)),
      order_(run.sides && sideSetupHolds(*run.sides)
                 ? sidePointOrder(setup_.dl_n, setup_.dr_n, setup_.dd_n == kSingleRow)
                 : std::vector<SidePointSlot>{}) {}

void RunStakes::stakeAt(std::size_t i, RunStake& stake) {
    const Stake& centre = run_.stakes[i];
    stake.number = i + 1;
    stake.chainage_m = centre.chainage_m;
    stake.x_m = centre.x_m;
    stake.y_m = centre.y_m;
    stake.sidePoints.clear();
    if (order_.empty())
        return;
    sidePointsOnAxis(stake.x_m, stake.y_m, centre.axisAzimuth_deg, request_, points_);
    // The formula gives per row the left points, then the right ones, each in the order of their
    // distances.
    const std::size_t nl = request_.left_m.size(), nr = request_.right_m.size();
    for (const SidePointSlot& slot : order_) {
        const float distance_m = (slot.left ? setup_.dl : setup_.dr)[slot.distance];
        const std::size_t row = slot.row == SideRow::Back ? 1 : 0;
        const PlanePoint& p = points_[row * (nl + nr) + (slot.left ? 0 : nl) + (slot.distance - 1)];
        stake.sidePoints.push_back({slot, distance_m, p.x_m, p.y_m});
    }
}

void forEachStake(const StakeRun& run, const std::function<bool(const RunStake&)>& visit) {
    RunStakes stakes(run);
    RunStake stake;
    for (std::size_t i = 0; i < stakes.size(); ++i) {
        stakes.stakeAt(i, stake);
        if (!visit(stake))
            return;
    }
}

}  // namespace hcurve
