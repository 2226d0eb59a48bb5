// The stake table of a stretch of a route: its centre stakes at an interval and at every point
// the route names, with their side points and design elevations; and the elevations of a point
// located on the route.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "alignment/route.h"
#include "curve/result.h"

namespace hcurve {

struct CrossSection;

/// What the stake table of a stretch is asked for.
struct StakeRequest {
    double interval_m = 0;         // stakes at every whole multiple of the chainage (桩号)
    std::optional<double> from_m;  // continuous chainage; BP when empty
    std::optional<double> to_m;    // continuous chainage; EP when empty
    std::vector<double> left_m;    // side points, distance from the centre line
    std::vector<double> right_m;
    double skew_deg = 0;  // transverse axis turned clockwise from the normal
    // Piles in two rows: the front row front_m ahead of the transverse axis, the back row back_m
    // behind it, as 中桩计算 places them.
    bool doubleRow = false;
    double front_m = 0;
    double back_m = 0;
};

/// The side points of a request, as the alignment places them.
SideRequest sideRequestOf(const StakeRequest& request);

/// One stake of the table.
struct StakeRow {
    std::string point;  // BP, ZH, HY, QZ, YH, HZ (ZY, YZ without a spiral), EP, or empty
    std::string text;   // chainage text, breaks applied
    double continuous_m;
    double x_m, y_m;
    double tangent_deg;
    std::optional<double> H_m;  // the design elevation; none without a grade line or outside it
};

struct StakeTable {
    std::vector<StakeRow> rows;
    // The side points, per row (the front row first) the left ones in the order asked, then the
    // right ones: stake i's point j at i * sidesPerStake + j.
    std::size_t sidesPerStake = 0;
    std::vector<double> sideX_m, sideY_m;
    // With a grade line the stakes have a 高程 column; with a cross-fall or a cross-section too the
    // side points have theirs, in the order of sideX_m (NaN where a point's foot lies outside the
    // grade line, or beyond the formation of a cross-section).
    bool withHeights = false;
    bool withSideHeights = false;
    std::vector<double> sideH_m;
};

/// Stakes in chainage order: every whole multiple of the interval, BP, EP, each characteristic
/// point and each chain break (twice: the chainage text before it and the one after it); with a
/// grade line also every 变坡点 (BPD) and the start (SQD) and end (SZD) of every vertical curve.
/// A request that cannot be met (no interval, the ends reversed or beside the route, a million
/// stakes or more) is a failure; stakes outside the grade line are a warning that names the
/// stretches. With a cross-section the side points' elevations are its design surface's at their
/// offsets (designSurfaceAt, superelevation and widening included), as --locate gives them: on
/// the formation only (beyond it NaN, since only the ground tells fill from cut); the route's
/// cross-fall is not used then.
Result<StakeTable> stakeTable(const Route& route, const StakeRequest& request,
                              const CrossSection* section = nullptr);

/// The steps of stakeTable, each alone. A stake before its position is computed: its place
/// (continuous chainage), the chainage value its text shows, and its name (BP, ZH, ...; empty for
/// a plain stake), which points into the route or is a literal. order breaks ties of one place.
struct PlannedStake {
    enum Order { kBeforeBreak = 0, kNamed = 1, kAfterBreak = 2 };
    double continuous_m;
    int order;
    const char* point;
    double broken_m;
};

/// The whole multiples of the interval (in chainage values, breaks applied) from..to on the
/// route, in route order; the last one of a stretch that ends at a break as the break's text
/// before it.
std::vector<PlannedStake> wholeMultiples(const Route& route, double from_m, double to_m,
                                         double interval_m);

/// BP, EP, where every element starts, the named middles (QZ), both texts of every break and
/// the grade line's points, where they lie on the stretch and on the road, in route order.
std::vector<PlannedStake> namedStakes(const Route& route, double from_m, double to_m);

/// Both lists as one, in route order: a plain stake within a millimetre of a named one whose
/// chainage text reads the same is that stake; named stakes at one place each keep their own.
std::vector<PlannedStake> mergedStakes(const std::vector<PlannedStake>& multiples,
                                       const std::vector<PlannedStake>& named);

/// The elevations of a surveyed point: the centre line's at its foot, the design's at its offset
/// (with a cross-fall) and the measured H above the design (or above the centre line without a
/// cross-fall). Nothing where the route has no grade line or the foot lies outside it.
struct LocatedHeights {
    std::optional<double> centre_m;
    std::optional<double> design_m;
    std::optional<double> above_m;
};

LocatedHeights locatedHeights(const Route& route, const RouteFoot& foot,
                              std::optional<double> measuredH_m);

}  // namespace hcurve
