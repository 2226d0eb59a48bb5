// The cross-section of a route as a model: the formation template placed on the route, the
// carriageway's cross-fall with the superelevation run-off of every curve, the widening, the side
// slopes and the ditch; and what is read from them at a continuous chainage (the formation's
// edges, the design section's break points, the design surface at an offset, the slope stake of a
// ground point). Built from the records of section_design.h, which route_files reads.
//
// Offsets are metres, positive to the right looking forward. Cross-falls are percent, positive
// where the surface rises away from the centre line (the crown of 2 % is -2 on both sides).
// Elevations are metres, relative to the centre line's design elevation (the grade line's) or,
// where the route has a grade line, absolute.
//
// The run-off (k the fraction of the run-off length Lc, from the crown's end towards the full
// superelevation; i_G the crown, i_h the superelevation):
// - about the centre line: the outer side goes linearly from -i_G to +i_h; the inner side keeps
//   the crown until the outer side reaches +i_G (k0 = 2 i_G / (i_G + i_h)), then both sides are
//   one plane, the inner side falling as steeply as the outer rises;
// - about the inner edge: first the outer side turns about the centre line up to +i_G
//   (k0 = i_G / i_h, the outer edge rising against the inner edge linearly from level to B i_h,
//   B the carriageway's width on both sides without the widening), then the whole carriageway is
//   one plane of slope k i_h turning about its inner edge, which keeps the elevation it has without
//   superelevation: the centre line rises by the lift (CarriagewayState::lift_m).
// - A curve with spirals runs off over them (ZH -> HY, YH -> HZ); an end without a spiral takes the
//   row's run-off length (超高渐变长度), 2/3 of it on the tangent and 1/3 in the curve. On an
//   element route the row's stretch is the full superelevation and the run-off lies before and
//   after it: over the spiral that ends (starts) there, or over the row's run-off length.
// - Two curves whose run-offs overlap (a reverse curve on a tangent too short for both, or two
//   curves close together): both cross-falls and the lift run linearly from the end of the first
//   curve's full superelevation to the start of the second's, with a warning naming both.
// - A superelevation below the crown: the outer side goes from -i_G to +i_h, the inner side keeps
//   the crown (a warning). A superelevation of 0 is none (the crown holds over the curve).
//
// The carriageway is the components whose 横坡 is 路拱. A component of fixed cross-fall keeps it,
// except where its side falls more steeply than the crown (the inner side of a superelevated
// curve) and the carriageway's fall there is steeper than its own: then it takes the carriageway's.
//
// Widening: on the inner side of the curve, full between HY and YH (on an element route over the
// row's stretch), over each run-off b k (线性) or b (4k^3 - 3k^4) (高次); it is added to the width
// of the first component named 行车道 on that side, so every component outside it moves outwards.
// Where two curves' widenings meet on one side, the larger holds.
//
// A template given with a 起点桩号 holds from that chainage on (the chainage itself included)
// until the next one: the new section starts at its chainage as the surveyor expects, so the
// edges of components whose width changes there step. The carriageway's state (cross-falls,
// widening) is continuous across a template change; so is every edge whose components inside it
// are the same on both templates (under rotation about the inner edge the lift, which depends on
// B, steps where B changes).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "alignment/route_design.h"
#include "alignment/section_design.h"
#include "curve/result.h"

namespace hcurve {

struct Route;

/// What the model checks of the records (each a fault on its row's line, in the table's file):
/// every value, so that records made by hand are safe too, and everything that needs the route or
/// more than one row. The reader of the tables may check a value first, with the cell's text (a
/// failed reading never reaches the model, so no fault is told twice); it alone checks what it
/// reads (a cell that is no number, an empty cell that must be given such as a step's 坡率, an
/// unknown 侧, 类型, 旋转轴 or 加宽过渡). The model's faults:
/// - a template (the rows of one 起点桩号) without a carriageway component (横坡 路拱) on either
///   side, a width <= 0 (or beyond kMostSectionLength_m, as every length below), a fixed
///   cross-fall beyond +-20 %, templates out of chainage order, a later template without 起点桩号,
///   a component's name twice on a side of a template;
/// - a crown beyond 0..20 % (0 excluded);
/// - a superelevation beyond 0..10 %, a widening beyond 0..5 m, a run-off length <= 0; a JD the
///   route does not have (on an element route every JD), or given twice; on an element route
///   from/to not increasing, or a stretch on a straight; stretches that overlap; a curve end
///   without a spiral and without a run-off length; widening on a side whose template has no
///   component named 行车道;
/// - a slope step with 坡率 <= 0 or beyond 20, a height <= 0, a berm < 0, a berm on the last step
///   (the one without a height), a step after the last, a side and kind whose steps all have a
///   height (the last must have none);
/// - a ditch with a width < 0, a depth <= 0, ratios beyond 0..20; two ditches on one side.
constexpr double kMostSectionCrossFall_pct = 20;
constexpr double kMostSuperelevation_pct = 10;
constexpr double kMostWidening_m = 5;
constexpr double kMostSlopeRatio = 20;
/// No width, height, berm, ditch or run-off length of a section exceeds this.
constexpr double kMostSectionLength_m = 1000;

/// A component of a template as the model holds it.
struct SectionComponent {
    std::string name;
    double width_m = 0;
    bool followsCarriageway = false;
    double crossFall_pct = 0;
    int line = 0;
};

/// A template placed on the route: from its continuous chainage on (the first from the start).
struct SectionTemplate {
    double from_m = 0;
    int line = 0;
    std::vector<SectionComponent> left, right;  // from the centre line outwards
};

/// The run-off of one curve placed on the route, as the model uses it.
struct SuperelevatedCurve {
    std::string name;  // the JD's, or on an element route "起点桩号 至 终点桩号" as written
    int line = 0;
    SectionSide inner = SectionSide::Right;
    double superelevation_pct = 0;  // i_h, positive
    double widening_m = 0;
    WideningTransition transition = WideningTransition::Linear;
    // The run-off in, [entryStart_m, fullStart_m], the full superelevation, the run-off out,
    // [fullEnd_m, exitEnd_m]: continuous chainages.
    double entryStart_m = 0, fullStart_m = 0, fullEnd_m = 0, exitEnd_m = 0;
    // Where its own run-off gives the cross-fall: from entryStart_m to exitEnd_m, less what the
    // transitions to its neighbours take.
    double holdsFrom_m = 0, holdsTo_m = 0;
};

/// One side's steps of a slope (fill or cut): ratio 1:m to a height, then a berm; the last step
/// unbounded (height empty).
struct SlopeStep {
    double ratio = 0;
    std::optional<double> height_m;
    double berm_m = 0;
};

/// The cross-section model of a route.
struct CrossSection {
    double crown_pct = 2;  // i_G, positive
    RotationAxis axis = RotationAxis::CentreLine;
    std::vector<SectionTemplate> templates;  // in chainage order; at least one
    std::vector<SuperelevatedCurve> curves;  // in chainage order
    std::vector<SlopeStep> fill[2], cut[2];  // [0] left, [1] right; empty: none given
    std::optional<DitchRow> ditch[2];        // [0] left, [1] right
    // Where the run-offs of neighbouring curves overlap: the linear transitions, in order.
    struct Transition {
        double from_m, to_m;  // end of the first curve's full superelevation, start of the next's
        std::size_t first;    // index into curves; the next is first + 1
    };
    std::vector<Transition> transitions;
};

/// The model, or every fault with its line (nothing half built), and the warnings: a
/// superelevation below the crown, run-offs that overlap, a reverse curve whose tangent is too
/// short for both run-offs (each naming the curves and what was done), a curve with spirals whose
/// row gives a run-off length (the spirals hold).
/// Built from the design's section tables on a built route; design.templateTable must be present
/// (without a template there is no cross-section: the caller does not build one).
Result<CrossSection> buildCrossSection(const SectionDesign& design, const Route& route);

/// The carriageway at a continuous chainage: its cross-fall on each side (percent, positive
/// rising away from the centre line: -i_G on a straight), the rise of the centre line above its
/// design elevation (rotation about the inner edge; 0 about the centre line) and the widening of
/// each side.
struct CarriagewayState {
    double left_pct = 0, right_pct = 0;
    double lift_m = 0;
    double leftWidening_m = 0, rightWidening_m = 0;
};
CarriagewayState carriagewayAt(const CrossSection& section, double continuous_m);

/// The template in force at a continuous chainage.
const SectionTemplate& templateAt(const CrossSection& section, double continuous_m);

/// The outer edge of one component.
struct FormationEdge {
    SectionSide side = SectionSide::Left;
    std::string component;
    double offset_m = 0;        // signed, widening included
    double crossFall_pct = 0;   // of the component (inside the edge), as the rules give it
    double elevation_m = 0;     // relative to the centre line's design elevation
    std::optional<double> H_m;  // absolute, where the route has a grade line covering the chainage
};

/// Every component's outer edge: the left side's from the centre line outwards, then the right's.
std::vector<FormationEdge> formationEdges(const CrossSection& section, const Route& route,
                                          double continuous_m);

/// One edge column of a table of every edge: a component on a side.
struct EdgeColumn {
    SectionSide side = SectionSide::Left;
    std::string component;
};

/// Every side's components that any template has, for the columns of a table of edges: the left
/// side's from the centre line outwards, then the right's; a component only a later template has
/// stands after the one it follows there. (A component's name is once on a side of a template.)
std::vector<EdgeColumn> edgeColumns(const CrossSection& section);

/// Which slope a side of a design section takes.
enum class SectionEarthwork { Fill, Cut };

/// A break point of the design section: 中桩, a component's edge (its name), the slope's
/// (填方边坡第1级坡脚, 平台, 挖方边坡第1级坡顶...) and the ditch's (边沟底内侧...).
struct SectionPoint {
    std::string name;
    double offset_m = 0;
    double elevation_m = 0;  // relative to the centre line's design elevation
    std::optional<double> H_m;
};

/// The design section at a continuous chainage, from the left outermost point to the right
/// outermost: the centre, each edge, and beyond the formation on each side the fill or cut slope
/// given for it (in cut the ditch first), its steps to the given reach: every bounded step, and
/// the last (unbounded) step drawn over reach_m of height. A side whose slope is not given ends
/// at its formation edge.
struct SectionRequest {
    SectionEarthwork left = SectionEarthwork::Fill, right = SectionEarthwork::Fill;
    double lastStepHeight_m = 2;  // how much of the unbounded last step is drawn
};
std::vector<SectionPoint> designSection(const CrossSection& section, const Route& route,
                                        double continuous_m, const SectionRequest& request);

/// Fill or cut of a side decided by a ground height (absolute): fill where the formation edge of
/// that side lies above it, cut where at or below; nothing without a grade line at the chainage.
std::optional<SectionEarthwork> earthworkFor(const CrossSection& section, const Route& route,
                                             double continuous_m, SectionSide side,
                                             double groundH_m);

/// The design surface at an offset: within the formation the template's (superelevation and
/// widening included), beyond it the slope of the side (fill or cut as given; in cut the ditch
/// first). Nothing beyond the formation where the side has no slope of that kind.
struct SurfacePoint {
    double elevation_m = 0;  // relative to the centre line's design elevation
    std::optional<double> H_m;
    std::string component;  // 行车道, 硬路肩, ..., 填方边坡第2级, 平台, 边沟, 挖方边坡第1级
    bool onFormation = false;
};
std::optional<SurfacePoint> designSurfaceAt(const CrossSection& section, const Route& route,
                                            double continuous_m, double offset_m,
                                            SectionEarthwork earthwork);

/// The design surface under a surveyed point of height groundH_m: fill or cut beyond the formation
/// decided by earthworkFor; nothing without a grade line.
std::optional<SurfacePoint> designSurfaceUnder(const CrossSection& section, const Route& route,
                                               double continuous_m, double offset_m,
                                               double groundH_m);

/// How far a slope stake is from where the design slope reaches its ground height.
enum class StakeMove { Outwards, Inwards, InPlace, OnFormation };  // 向外, 向内, 到位, 路基上

/// Within this of the design offset a slope stake is in place (到位).
constexpr double kSlopeStakeInPlace_m = 0.01;

/// The slope stake of a ground point (its foot at continuous_m, offset_m; its height groundH_m).
/// earthwork: 填 where the formation edge on the point's side lies above groundH_m, else 挖 (for
/// a point on the formation, where the design surface at its offset lies above it).
/// designOffset_m: signed like offsets, where the design slope (its steps and berms, and in cut
/// the ditch) reaches groundH_m; distance_m = |designOffset_m - offset_m|; move: 向外 when the
/// design offset lies farther from the centre line than the point, 向内 nearer, 到位 within
/// kSlopeStakeInPlace_m. A point within the formation (|offset| at most its edge's): OnFormation,
/// designOffset_m and distance_m empty.
struct SlopeStake {
    SectionSide side = SectionSide::Right;
    SectionEarthwork earthwork = SectionEarthwork::Fill;
    double edgeOffset_m = 0;
    double edgeH_m = 0;  // absolute elevation of the formation edge
    std::optional<double> designOffset_m;
    std::optional<double> distance_m;
    StakeMove move = StakeMove::OnFormation;
};

/// The slope stake, or why not, worded for the user: no grade line at the chainage
/// ("该处没有设计高程"), no slope of that kind given on that side ("右侧没有挖方边坡").
Result<SlopeStake> slopeStake(const CrossSection& section, const Route& route, double continuous_m,
                              double offset_m, double groundH_m);

/// The user's words: 左/右, 填/挖, 向外/向内/到位/路基上.
const char* sideText(SectionSide side);
const char* earthworkText(SectionEarthwork earthwork);
const char* moveText(StakeMove move);

}  // namespace hcurve
