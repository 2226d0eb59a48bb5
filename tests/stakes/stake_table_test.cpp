// The stake table: every stake and side point of the last run with the listing's own texts, and
// the tab-separated text that goes to the clipboard.
#include "stakes/stake_table.h"

#include <gtest/gtest.h>

#include <array>

#include "curve/format.h"
#include "stakes/run_points.h"

#include "run_support.h"

namespace hcurve {
namespace {

using testing::recordAfterRun;

// Every row carries its stake's number and chainage and the texts the listing showed (those of the
// stake at 12300 are the listing's worked double-row figures); its unrounded coordinates are the
// ones shown. A side point is named by the number of its distance as entered (5 m first), as in
// the export files: the table's 前排第2点 on the left is the export's FL2, at the same place.
TEST(StakeTable, DoubleRowRunShowsWhatTheListingShowed) {
    CurveRecord record =
        testing::computedRecord({"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"});
    testing::runStakes(record, {"2", "12280", "12320", "20", "15.3", "1.5", "2"}, 3 * 7);

    const std::vector<StakeTableRow> rows = stakeTableRows(record);
    ASSERT_EQ(rows.size(), 3u * 7);
    const char* chainages[] = {"k 12+280.000", "k 12+300.000", "k 12+320.000"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].stake, i / 7 + 1) << i;
        EXPECT_EQ(rows[i].chainage, chainages[i / 7]) << i;
        EXPECT_NEAR(rows[i].x_m, std::stod(rows[i].x), 5e-4) << i;
        EXPECT_NEAR(rows[i].y_m, std::stod(rows[i].y), 5e-4) << i;
    }
    const std::vector<std::array<std::string, 5>> kStake = {
        {"中桩", "", "", "3456750.458", "512318.913"},
        {"前排第2点", "左", "10", "3456760.415", "512317.153"},
        {"前排第1点", "左", "5", "3456755.675", "512318.744"},
        {"前排第1点", "右", "7.5", "3456743.824", "512322.720"},
        {"后排第2点", "左", "10", "3456759.302", "512313.835"},
        {"后排第1点", "左", "5", "3456754.562", "512315.426"},
        {"后排第1点", "右", "7.5", "3456742.711", "512319.402"}};
    for (std::size_t i = 0; i < 7; ++i) {
        const StakeTableRow& r = rows[7 + i];
        EXPECT_EQ((std::array<std::string, 5>{r.point, r.side, r.distance_m, r.x, r.y}), kStake[i])
            << i;
    }
    // A view asks for the stakes in any order: taken one at a time from the last, each stake's
    // rows are those of the whole run.
    RunStakes stakes(record.lastRun);
    ASSERT_EQ(stakes.sidePointsPerStake(), 6u);
    RunStake stake;
    for (std::size_t i = stakes.size(); i-- > 0;) {
        stakes.stakeAt(i, stake);
        const std::vector<StakeTableRow> own = stakeTableRows(stake);
        ASSERT_EQ(own.size(), 7u);
        for (std::size_t j = 0; j < 7; ++j)
            EXPECT_EQ(stakeTableLine(own[j]), stakeTableLine(rows[i * 7 + j])) << i << " " << j;
    }
    const std::vector<ExportPoint> exported = lastRunPoints(record);
    ASSERT_EQ(exported.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].side.empty())
            continue;
        // "前排第2点" and "k 12+300.000-FL2": the row's word, the side and the one number.
        const std::string& name = exported[i].name;
        const std::string tag = name.substr(name.rfind('-') + 1);
        const std::string row = rows[i].point.substr(0, rows[i].point.find("第"));
        EXPECT_EQ(tag.substr(0, 1), row == "前排" ? "F" : "B") << i;
        EXPECT_EQ(tag.substr(1, 1), rows[i].side == "左" ? "L" : "R") << i;
        EXPECT_EQ(rows[i].point, row + "第" + tag.substr(2) + "点") << i;
        EXPECT_EQ(coordinateText(exported[i].x_m, kPlainCoordinate), rows[i].x) << i;
    }
}

TEST(StakeTable, TextHasAHeaderAndOneTabSeparatedLineARow) {
    CurveRecord record = recordAfterRun({"y", "1", "1", "5", "1", "5", "1"}, {"0", "12300", "0"});
    EXPECT_EQ(stakeTableText(stakeTableRows(record)),
              "桩号\t点位\t侧别\t距离(米)\tX(北)\tY(东)\n"
              "k 12+300.000\t中桩\t\t\t3456750.458\t512318.913\n"
              "k 12+300.000\t左侧第1点\t左\t5\t3456754.600\t512316.113\n"
              "k 12+300.000\t右侧第1点\t右\t5\t3456746.315\t512321.712\n");
}

}  // namespace
}  // namespace hcurve
