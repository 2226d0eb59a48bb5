// The cross-section tables of a route (alignment/section_design.h), in the route file or in
// further files, each known by its header like the other tables of the route:
//
//   侧,部件,宽度,横坡[,起点桩号]                 the template (模板表), from the centre line out
//   左,中央分隔带,1.0,-2
//   左,行车道,7.5,路拱                          路拱: the carriageway's cross-fall
//   左,硬路肩,2.5,路拱
//   左,土路肩,0.75,-4
//   右,...
//
//   路拱横坡,旋转轴                             the crown (路拱表), one row; 旋转轴 中线 (the
//   2,中线                                      default) or 内边线
//
//   交点,超高横坡,加宽[,超高渐变长度][,加宽过渡]     superelevation and widening (超高表) of a JD
//   JD3,6,0.8                                   route; an element route gives the stretch of
//   起点桩号,终点桩号,超高横坡,加宽[,...]            full superelevation instead; 加宽过渡 线性
//   K3+120,K3+460,6,0.8                          (the default) or 高次
//
//   侧,类型,坡率,高度,平台宽                       side slopes (边坡表): steps of 1:坡率 outwards,
//   左,填,1.5,8,2                                each up to its 高度 and followed by its 平台宽;
//   左,填,1.75,,                                 the last of a side and 类型 (填, 挖) unbounded
//
//   侧,边沟底宽,边沟深,内坡率,外坡率                 the ditch in cut (边沟表), one row a side
//   左,0.6,0.6,1,1
//
// A template's rows share its 起点桩号 (empty: from the start of the route); a template holds
// until the next. Each side of a template needs a 行车道. Widths are above zero, fixed
// cross-falls within ±20 %, superelevations from 0 to 10 %, widenings from 0 to 5 m.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "alignment/route_design.h"

namespace hcurve {

struct CsvTable;

/// The cross-section tables, by what opens them: 部件 the template, 路拱横坡 the crown,
/// 超高横坡 the superelevation, 坡率 the slopes, 边沟底宽 or 边沟深 the ditch.
enum class SectionTableKind { Template, Crown, Superelevation, Slopes, Ditch };

/// The cross-section table a header opens, if any.
std::optional<SectionTableKind> sectionTableKind(const std::vector<std::string>& header);

/// Whether a title names a column of a cross-section table.
bool isSectionTitle(std::string_view title);

/// Reads a table of its kind into section, each fault with its line (a table of a kind already
/// read is one). ofElements: the route is one of elements, whose superelevation is given by
/// chainages rather than by JD names.
void readSectionTable(SectionTableKind kind, const CsvTable& table, std::size_t file,
                      bool ofElements, SectionDesign& section, std::vector<Failure>& faults);

/// The faults of the section tables together: a crown, superelevation, slope or ditch table
/// without a template, which every section is built on.
void checkSectionTables(const SectionDesign& section, std::vector<Failure>& faults);

}  // namespace hcurve
