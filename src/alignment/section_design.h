// The cross-section of a route as its readers hand it to the model (route_files/section_tables.h
// reads them; alignment/cross_section.h builds the section from them): the formation template,
// the normal crown and the superelevation and widening of the curves, the side slopes and the
// ditch. Offsets are metres, positive to the right looking forward; cross-falls are percent,
// negative falling away from the centre line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "alignment/table_chainage.h"

namespace hcurve {

/// The side of the centre line a row is for (侧: 左, 右).
enum class SectionSide { Left, Right };

/// One component of the template (侧,部件,宽度,横坡[,起点桩号]): from the centre line outwards on
/// its side. A 横坡 of 路拱 follows the carriageway's cross-fall (the crown, or the superelevation
/// where there is one); a number is the component's own cross-fall.
struct TemplateRow {
    int line = 0;
    SectionSide side = SectionSide::Left;
    std::string component;  // 中央分隔带, 行车道, 硬路肩, 土路肩, ...
    double width_m = 0;
    bool followsCarriageway = false;  // 横坡 路拱
    double crossFall_pct = 0;         // its own cross-fall where it does not follow
    // The template holds from this chainage on (until the next template's); the rows of one
    // template share it. Empty: from the start of the route.
    std::optional<TableChainage> from;
};

/// How the superelevated carriageway turns: about the centre line (中线) or about its inner edge
/// (内边线).
enum class RotationAxis { CentreLine, InnerEdge };

/// The normal crown (路拱横坡,旋转轴): the carriageway's cross-fall on a straight, as a positive
/// percent (2: falling 2 % away from the centre line on both sides).
struct CrownRow {
    int line = 0;
    double crown_pct = 2;
    RotationAxis axis = RotationAxis::CentreLine;
};

/// How the widening runs over the run-off (加宽过渡): linearly (线性, b·k) or by the cubic-quartic
/// curve (高次, b·(4k³ − 3k⁴)), k the fraction of the run-off.
enum class WideningTransition { Linear, HighOrder };

/// The superelevation and widening of one curve: by its JD's name on a JD route
/// (交点,超高横坡,加宽), or on an element route the stretch of full superelevation
/// (起点桩号,终点桩号,超高横坡,加宽).
struct SuperelevationRow {
    int line = 0;
    std::string jd;                        // JD route
    std::optional<TableChainage> from;     // element route: where the full superelevation starts
    std::optional<TableChainage> to;       // and ends
    double superelevation_pct = 0;         // positive, rising towards the inside of the curve
    double widening_m = 0;                 // on the inner side, added to the 行车道
    std::optional<double> runOffLength_m;  // 超高渐变长度, for a curve without spirals
    WideningTransition transition = WideningTransition::Linear;
};

/// Fill (填) or cut (挖).
enum class SlopeKind { Fill, Cut };

/// One step of a side slope (侧,类型,坡率,高度,平台宽): slope 1:m up to a height, then a berm;
/// the last step of a side and kind has no height and no berm.
struct SlopeRow {
    int line = 0;
    SectionSide side = SectionSide::Left;
    SlopeKind kind = SlopeKind::Fill;
    double ratio = 0;                // m of 1:m, horizontal per vertical
    std::optional<double> height_m;  // empty: unbounded, the last step
    double berm_m = 0;               // 平台宽 after the step
};

/// The ditch in cut between the formation edge and the cut slope
/// (侧,边沟底宽,边沟深,内坡率,外坡率).
struct DitchRow {
    int line = 0;
    SectionSide side = SectionSide::Left;
    double bottomWidth_m = 0;
    double depth_m = 0;
    double innerRatio = 0;  // 1:m of the side towards the road
    double outerRatio = 0;  // 1:m of the side towards the cut slope
};

/// The cross-section tables of a route's files, each with the file and line of its header.
struct SectionDesign {
    struct Table {
        std::size_t file = 0;
        int headerLine = 0;
    };
    std::optional<Table> templateTable;
    std::vector<TemplateRow> components;  // in file order
    std::optional<Table> crownTable;
    std::optional<CrownRow> crown;
    std::optional<Table> superelevationTable;
    std::vector<SuperelevationRow> superelevations;
    std::optional<Table> slopeTable;
    std::vector<SlopeRow> slopes;  // in file order: the steps of a side and kind outwards
    std::optional<Table> ditchTable;
    std::vector<DitchRow> ditches;
};

}  // namespace hcurve
