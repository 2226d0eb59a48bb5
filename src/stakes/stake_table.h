// The last stake run as one table: every stake and every side point on a row of its own, with the
// texts the listing shows for them, for the window that lists the run (a stake's rows made as they
// are shown), the report and the clipboard.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "curve/curve_record.h"
#include "stakes/stake_list.h"

namespace hcurve {

/// One row: a centre stake, or one of its side points.
struct StakeTableRow {
    std::size_t stake;     // the stake's number in the run, from 1
    double chainage_m;     // the stake's chainage
    std::string chainage;  // the stake's chainage as the listing shows it ("k 12+300.000")
    std::string point;     // "中桩", or the listing's caption of the side point ("左侧第1点")
    std::string side;      // "" for the stake, "左" or "右"
    std::string distance_m;  // the side distance as the listing shows it ("7.5"), "" for the stake
    std::string x;           // north, to the millimetre, as the listing shows it
    std::string y;           // east
    double x_m;
    double y_m;
};

/// The rows of one stake of a run: the stake, then its side points in the listing's order, with the
/// listing's texts as below.
std::vector<StakeTableRow> stakeTableRows(const RunStake& stake);

/// The rows of the last run in the order of the listing: each stake followed by its side points,
/// which carry the captions and values the listing gives them (its texts without the fields'
/// leading blanks and without the unit). Empty before any run.
std::vector<StakeTableRow> stakeTableRows(const CurveRecord& record);

/// The header of the copied table.
inline constexpr const char* kStakeTableHeader = "桩号\t点位\t侧别\t距离(米)\tX(北)\tY(东)";

/// The rows as tab-separated text with the header: one line a row, each ended by a line feed, so
/// that a spreadsheet takes each column into a column of its own.
std::string stakeTableText(const std::vector<StakeTableRow>& rows);

/// One row's line of that text, with its line feed.
std::string stakeTableLine(const StakeTableRow& row);

}  // namespace hcurve
