// The earthwork of a route: at a surveyed ground section, where the design slopes meet the ground
// (the catch points: 坡脚 of a fill, 坡口 of a cut), the fill and cut areas between the design line
// and the ground line, and the formation's centre fill or cut; along the route, the volumes
// between consecutive sections, their subtotals per kilometre and the totals.
//
// Offsets are metres, positive to the right looking forward; heights are absolute metres (the
// route's grade line gives the design's). Areas are square metres, volumes cubic metres.
//
// The design line of a section: the formation (designSection of cross_section.h) and on each side
// the slope of its kind outwards to the catch point. A side is fill where its formation edge lies
// above the ground at the edge's offset, cut where at or below (earthworkFor's rule, so that the
// slope stake of a catch point is 到位 with the same 填 or 挖). The catch point is the first point
// outwards from the edge where the design slope, through its steps and berms, meets the ground
// line (in cut the ditch lies between the edge and the slope, and the catch point is sought on the
// slope beyond it, where slopeStake seeks it too); it is the intersection of two polylines, exact
// to the rounding of a division. A side whose slope does not meet the ground line within its
// offsets is a failure naming the side, not a section closed at the ground line's end.
//
// The areas: over the offsets between the two catch points, fill where the design line lies above
// the ground line, cut where below; both lines are linear between their break points, so each
// area is the integral of their difference, split where they cross, summed exactly piece by piece
// (vertical steps of either line hold no area). A ditch below a ground that stands above it is
// cut; a ground dipping below the design line within a cut side is fill there.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "alignment/cross_section.h"
#include "alignment/ground_design.h"
#include "curve/result.h"

namespace hcurve {

struct Route;

/// A point of a section's design line or catch point: signed offset and absolute height.
struct SectionLinePoint {
    double offset_m = 0;
    double H_m = 0;
};

/// Where a side's design slope meets the ground.
struct CatchPoint {
    SectionSide side = SectionSide::Left;
    SectionEarthwork earthwork = SectionEarthwork::Fill;  // 坡脚 of a fill, 坡口 of a cut
    SectionLinePoint at;
};

/// The earthwork of one ground section.
struct SectionAreas {
    CatchPoint left, right;
    double fill_m2 = 0, cut_m2 = 0;
    // The formation's centre (the design section's 中桩, the lift of a rotation about the inner
    // edge included) above the ground at offset 0: positive a fill, negative a cut.
    double centreHeight_m = 0;
    // The design line from the left catch point to the right one, left to right.
    std::vector<SectionLinePoint> design;
};

/// The areas of the ground line (left to right: offsets never decreasing; two points at one
/// offset are a vertical step) at a continuous chainage. Failures, worded for the user after the
/// stake: no grade line there ("该处没有设计高程…"), a ground line of fewer than two points or
/// out of offset order, one that does not reach a formation edge or offset 0 ("地面线没有测到左侧
/// 路基边缘（偏距 -12.250）"), a side without a slope of its kind ("右侧没有挖方边坡。"), a slope
/// that does not meet the ground line
/// ("右侧挖方边坡到地面线的端点（偏距 30.000）还没有与地面线相交： 地面线太短。").
Result<SectionAreas> sectionAreas(const CrossSection& section, const Route& route,
                                  double continuous_m, const std::vector<GroundPoint>& ground);

/// How the volume between two sections is taken from their areas A1, A2 and distance L:
/// - AverageEndArea (平均断面法): V = L (A1 + A2) / 2;
/// - Prismoidal: the frustum (棱台) between the two end areas, V = L/3 (A1 + A2 + sqrt(A1 A2)),
///   also written V = L (A1 + A2)/3 (1 + sqrt(m)/(1 + m)) with m = A1/A2. It is exact for sections
///   similar to each other whose size grows linearly (a pyramid, a cone), and gives L A/3 where one
///   end area is zero; where the ends are equal it is the average end area. Fill and cut apart.
enum class VolumeMethod { AverageEndArea, Prismoidal };
double sectionVolume_m3(double a1_m2, double a2_m2, double distance_m, VolumeMethod method);

/// A section's areas at its place on the route.
struct EarthworkStation {
    double continuous_m = 0;  // 里程
    double chainage_m = 0;    // 桩号's value, chain breaks applied: its kilometre
    double fill_m2 = 0, cut_m2 = 0;
};

/// The volume between a station and the one before it (none before the first: all zero) and the
/// running totals.
struct VolumeRow {
    double distance_m = 0;  // continuous chainage difference: a chain break's 断链 is no length
    double fill_m3 = 0, cut_m3 = 0;
    double totalFill_m3 = 0, totalCut_m3 = 0;
};

/// The volumes of the intervals that begin in one kilometre of the 桩号 (K1 for K1+000 up to
/// K2+000, not including it): an interval from K1+980 to K2+000, or to K2+010, counts in K1.
/// Consecutive intervals of one kilometre are one subtotal; a chain break that brings the 桩号 back
/// into a kilometre already closed opens another for it.
struct KilometreSubtotal {
    long long kilometre = 0;
    std::size_t lastRow = 0;  // the row (station) whose interval closes it
    double distance_m = 0, fill_m3 = 0, cut_m3 = 0;
};

struct EarthworkVolumes {
    std::vector<VolumeRow> rows;  // one per station
    std::vector<KilometreSubtotal> kilometres;
    double distance_m = 0, fill_m3 = 0, cut_m3 = 0;
};

/// The volumes along stations in route order (continuous chainage not decreasing).
EarthworkVolumes earthworkVolumes(const std::vector<EarthworkStation>& stations,
                                  VolumeMethod method);

}  // namespace hcurve
