// The vertical-curve table (竖曲线表) of a route's grade line, as rows and as CSV text.
#pragma once

#include <string>

#include "alignment/route.h"
#include "route_files/route_tables.h"

namespace hcurve {

/// "变坡点,桩号,里程,高程,坡度1,坡度2,坡差,凹凸,R,T,E,L,竖曲线起点里程,竖曲线终点里程", then
/// one row per row of the grade-line table: 起点, 变坡点1..n, 终点. Grades and their difference
/// ω in percent, lengths, 里程 and elevations in metres, all with four decimals; 凹凸 is 凹
/// (ω > 0), 凸 (ω < 0) or empty; the curve's columns are empty where there is no vertical curve.
/// No rows (not even the header) without a grade line.
TableRows verticalTableRows(const Route& route);

/// The same as CSV text, lines ended by LF.
std::string verticalTableCsv(const Route& route);

}  // namespace hcurve
