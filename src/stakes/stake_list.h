// The stakes of a run as values: each stake with its side points, in the order the listing shows
// them. The listing, the export and the plan view read the run through this walk, the stake table
// one stake at a time as it shows them.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "curve/curve_record.h"
#include "geometry/side_points.h"
#include "stakes/side_point_order.h"

namespace hcurve {

/// A side point of a stake: where it stands in the order, its distance as entered and where it is.
struct RunSidePoint {
    SidePointSlot slot;
    float distance_m;
    double x_m, y_m;
};

/// A stake of a run: its number in the run (from 1), chainage and position, and its side
/// points in the listing's order (none when the run had side points off).
struct RunStake {
    std::size_t number = 0;
    double chainage_m = 0;
    double x_m = 0, y_m = 0;
    std::vector<RunSidePoint> sidePoints;
};

/// The stakes of a run one at a time, in any order: for a view that shows a few stakes of a long
/// run. Holds the run by reference; the run must outlive it and stay unchanged.
class RunStakes {
  public:
    explicit RunStakes(const StakeRun& run);

    std::size_t size() const { return run_.stakes.size(); }
    /// Side points per stake: 0 when the run had side points off.
    std::size_t sidePointsPerStake() const { return order_.size(); }
    /// Fills stake with the run's stake i (from 0) and its side points.
    void stakeAt(std::size_t i, RunStake& stake);

  private:
    const StakeRun& run_;
    SideSetup setup_;
    SideRequest request_;
    std::vector<SidePointSlot> order_;
    std::vector<PlanePoint> points_;  // of the stake at hand, in the order of sidePointsOnAxis
};

/// Hands the stakes of the run to visit one by one until visit returns false; the side points of
/// each are computed from the run's own setup just before it is handed on, so that the side points
/// of a long run are never held at once. Nothing for a run without stakes.
void forEachStake(const StakeRun& run, const std::function<bool(const RunStake&)>& visit);

}  // namespace hcurve
