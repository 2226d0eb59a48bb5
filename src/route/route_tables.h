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

/// A signed DMS text ddd.mmss rounded to the whole second: 30.2625 degrees gives "30.1545",
/// -45.5 gives "-45.3000".
std::string dmsText(double degrees);

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
};

struct StakeTable {
    std::vector<StakeRow> rows;
    // The side points, per row (the front row first) the left ones in the order asked, then the
    // right ones: stake i's point j at i * sidesPerStake + j.
    std::size_t sidesPerStake = 0;
    std::vector<double> sideX_m, sideY_m;
    std::optional<std::string> fault;  // the request could not be met; no rows then
};

/// Stakes in chainage order: every whole multiple of the interval, BP, EP, each characteristic
/// point and each chain break (twice: the chainage text before it and the one after it).
StakeTable stakeTable(const Route& route, const StakeRequest& request);

/// The stake table's rows (below).
TableRows stakeTableRows(const StakeTable& table, const StakeRequest& request);

/// "点,桩号,里程,X,Y,方位角" and, per side point, "左1X,左1Y" ... "右1X,右1Y" ... (in two rows
/// "前左1X" ... "后右1Y"); then one line per stake (LF), 里程, X and Y with four decimals, 方位角
/// in decimal degrees with six.
std::string stakeTableCsv(const StakeTable& table, const StakeRequest& request);

/// "里程,桩号,偏距,元素" and the foot's row (LF).
std::string locateCsv(const Route& route, const RouteFoot& foot);

}  // namespace hcurve
