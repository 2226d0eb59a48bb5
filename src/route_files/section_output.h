// The tables the route writes of its cross-section (alignment/cross_section.h): the formation
// edges of every stake beside the stake table, the break points of the design sections, the slope
// stakes of surveyed points, the design surface under a located point; and the surveyed points'
// file (点名,X,Y,H) read. Offsets, elevations, 里程, X and Y with four decimals as the route's
// other tables; 移动距离 with three.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/cross_section.h"
#include "alignment/ground_design.h"
#include "alignment/route.h"
#include "alignment/stake_table.h"
#include "curve/result.h"
#include "export/point_files.h"
#include "route_files/route_tables.h"

namespace hcurve {

/// The edge columns (edgeColumns of the model): a stake whose template lacks a component
/// leaves its columns empty.
/// "左行车道边缘偏距,左行车道边缘高程", ... for the columns.
std::vector<std::string> edgeHeader(const std::vector<EdgeColumn>& columns);

/// The offsets (widening included) and elevations of a stake's edges in the columns' order; an
/// elevation is empty without a grade line at the stake.
std::vector<std::string> edgeFields(const CrossSection& section, const Route& route,
                                    const std::vector<EdgeColumn>& columns, double continuous_m);

/// The stake table (stakeTableCsv) with every edge's columns after each row's own.
std::string stakeTableWithEdgesCsv(const StakeTable& table, const StakeRequest& request,
                                   const CrossSection& section, const Route& route);

/// The export points (routeExportPoints) with each stake's edges after its side points: named
/// after the stake and the edge ("K12+300.000-左行车道"), 侧别 左 or 右, 排 the component, 距离 the
/// offset's distance from the centre line; on the normal of the stake whatever the skew. A file
/// whose point numbers are letters and digits only (GSI) takes asciiNames: the edges numbered
/// outwards on their side instead, "K12+300.000-LE1" for the left side's first.
std::vector<ExportPoint> exportPointsWithEdges(const StakeTable& table, const StakeRequest& request,
                                               const CrossSection& section, const Route& route,
                                               bool asciiNames);

/// Which slope each side of the listed sections shows: fill or cut; by default fill where the
/// side has a fill slope, else cut.
struct SectionSlopes {
    SectionEarthwork left = SectionEarthwork::Fill, right = SectionEarthwork::Fill;
};
SectionSlopes defaultSectionSlopes(const CrossSection& section);

/// "桩号,点,偏距,高程,X,Y" and one row per break point of every stake's design section, from
/// the left outermost to the right (designSection: the last, unbounded slope step drawn 2 m high);
/// 高程 empty without a grade line at the stake.
std::string sectionTableCsv(const StakeTable& table, const CrossSection& section,
                            const Route& route, const SectionSlopes& slopes);

/// The points of a file 点名,X,Y,H (UTF-8 text; the columns in any order, further ones ignored),
/// or every fault with its line (up to kMostRouteFaults).
Result<std::vector<SurveyedPoint>> readSurveyedPoints(std::string_view utf8Text);

/// "点名,桩号,里程,偏距,地面高程,填挖,边缘高程,设计偏距,移动距离,方向".
std::vector<std::string> slopeStakeHeader();

/// A point's row: its foot's 桩号 and 里程, its offset and height, 填 or 挖, the formation edge's
/// elevation, the design offset, the distance to it and 向外, 向内, 到位 or 路基上 (a point on the
/// formation, without design offset and distance).
std::vector<std::string> slopeStakeFields(const Route& route, const SurveyedPoint& point,
                                          const RouteFoot& foot, const SlopeStake& stake);

/// locateCsv with the design surface of the cross-section: 设计高程 at the point's offset (the
/// template with superelevation and widening, beyond the formation the slope, fill or cut as the
/// measured H lies below or above the edge), 高差 above it, and the column 部件 it falls on
/// (empty beyond the formation where no H decides the slope, or no slope is given).
std::string locateOnSectionCsv(const Route& route, const CrossSection& section,
                               const RouteFoot& foot, std::optional<double> measuredH_m);

}  // namespace hcurve
