// The earthwork table the route writes (alignment/earthwork.h): at every ground section its areas,
// and the volume from the section before it, with the kilometre subtotals and the totals.
#pragma once

#include <string>
#include <vector>

#include "alignment/cross_section.h"
#include "alignment/earthwork.h"
#include "alignment/ground_sections.h"
#include "alignment/route.h"
#include "curve/result.h"

namespace hcurve {

/// "桩号,里程,填方面积,挖方面积,距离,填方量,挖方量,累计填方,累计挖方".
std::vector<std::string> earthworkHeader();

/// The table of the sections (in route order), or every section that has no areas, each a fault
/// of its section's line ("K1+020：右侧填方边坡到地面线的端点（偏距 8.000）还没有与地面线相交：
/// 地面线太短。"), its file the section's; a section without a line (cut from the terrain) has
/// line 0.
/// A section's row: its 桩号 and 里程, its areas (m², 4 decimals), the distance from the section
/// before it (continuous chainages, 3 decimals), the volumes between the two (m³, 3 decimals)
/// and the running totals; the first row leaves 距离, 填方量 and 挖方量 empty and its totals 0.
/// After the row that closes the intervals begun in a kilometre of the 桩号, its subtotal
/// "K1 小计,,,,距离,填方量,挖方量,,"; last "合计,,,,距离,填方量,挖方量,,".
Result<std::string> earthworkTableCsv(const Route& route, const CrossSection& section,
                                      const std::vector<GroundSection>& sections,
                                      VolumeMethod method);

}  // namespace hcurve
