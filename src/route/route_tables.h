// The tables of a route: the curve-element table (直线、曲线及转角表), the stake table of a
// stretch, and the answer of a reverse calculation, as CSV texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "route/route.h"

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
    // With a grade line the stakes have a 高程 column; with a cross-fall too the side points have
    // theirs, in the order of sideX_m (NaN where a point's foot lies outside the grade line).
    bool withHeights = false;
    bool withSideHeights = false;
    std::vector<double> sideH_m;
    std::optional<std::string> fault;    // the request could not be met; no rows then
    std::optional<std::string> warning;  // stakes outside the grade line: which stretch
};

/// Stakes in chainage order: every whole multiple of the interval, BP, EP, each characteristic
/// point and each chain break (twice: the chainage text before it and the one after it); with a
/// grade line also every 变坡点 (BPD) and the start (SQD) and end (SZD) of every vertical curve.
StakeTable stakeTable(const Route& route, const StakeRequest& request);

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

/// "里程,桩号,偏距,元素" and the foot's row (LF); with a grade line also 中线高程, with a
/// cross-fall 设计高程, and with a measured H 高差.
std::string locateCsv(const Route& route, const RouteFoot& foot,
                      std::optional<double> measuredH_m = std::nullopt);

}  // namespace hcurve
