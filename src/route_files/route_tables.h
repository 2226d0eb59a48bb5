// The tables of a route: the curve-element table (直线、曲线及转角表), the stake table of a
// stretch, and the answer of a reverse calculation, as CSV texts; and the stake table's points
// as the export files name them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/route.h"
#include "alignment/stake_table.h"
#include "export/point_files.h"

namespace hcurve {

/// A table as rows of field texts, the header first.
using TableRows = std::vector<std::vector<std::string>>;

/// The element table's rows (below).
TableRows elementTableRows(const Route& route);

/// "点号,交点里程,X,Y,偏角,R,A1,A2,Ls1,Ls2,T1,T2,L,E,J,ZH,HY,QZ,YH,HZ,交点间距,方位角,直线长", then
/// one row each for BP, every JD and EP. Lengths and chainages in metres with four decimals
/// (continuous chainage), 偏角 signed ddd.mmss (positive to the right), 方位角 ddd.mmss on to the
/// next point; lines end with LF.
std::string elementTableCsv(const Route& route);

/// The chain's rows (below).
TableRows segmentTableRows(const Route& route);

/// "线元,名称,起点里程,终点里程,长度,起点半径,终点半径,转向,起点X,起点Y,起点方位角,终点X,终点Y,
/// 终点方位角", then one row per element of the chain, of either kind of route: 线元 直线, 圆曲线
/// or 缓和曲线; a radius empty where the curvature is none; 转向 左, 右 or empty; 里程, 长度, radii
/// and coordinates with four decimals; 方位角 ddd.mmssss (seconds to two decimals); lines end with
/// LF.
std::string segmentTableCsv(const Route& route);

/// The stake table's rows (below).
TableRows stakeTableRows(const StakeTable& table, const StakeRequest& request);

/// The first of those rows, the header, and row i of the table (from 0) alone: for a view that
/// formats only the rows it shows, with the texts of the CSV.
std::vector<std::string> stakeTableHeader(const StakeTable& table, const StakeRequest& request);
std::vector<std::string> stakeTableFields(const StakeTable& table, std::size_t i);

/// "点,桩号,里程,X,Y,方位角" (and 高程 with a grade line) and, per side point, "左1X,左1Y" ...
/// "右1X,右1Y" ... (in two rows "前左1X" ... "后右1Y"; each with its 左1H after them with a
/// cross-fall too); then one line per stake (LF), 里程, X, Y and the elevations with four
/// decimals, 方位角 in decimal degrees with six.
std::string stakeTableCsv(const StakeTable& table, const StakeRequest& request);

/// "里程,桩号,偏距,元素" and the foot's row (LF); with a grade line also 中线高程, with a
/// cross-fall 设计高程, and with a measured H 高差.
std::string locateCsv(const Route& route, const RouteFoot& foot,
                      std::optional<double> measuredH_m = std::nullopt);

/// The header and the row of locateCsv alone, for a table of many points: heightColumn gives
/// 高差 its column (empty in a row without a measured H).
std::vector<std::string> locateHeader(const Route& route, bool heightColumn);
std::vector<std::string> locateFields(const Route& route, const RouteFoot& foot,
                                      std::optional<double> measuredH_m, bool heightColumn);

/// The stakes and their side points of a route's stake table as the one-curve export lists them:
/// each stake (中), then its left points (-L1, -L2, ...) and right points (-R1, ...), 单排; in two
/// rows -FL1 ... 前排, then -BL1 ... 后排; each with its design elevation where the table has one.
/// A chainage text that stands twice (a long chain) names its second stake "-2" (the third "-3").
std::vector<ExportPoint> routeExportPoints(const StakeTable& table, const StakeRequest& request);

}  // namespace hcurve
