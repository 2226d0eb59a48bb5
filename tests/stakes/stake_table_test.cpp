// The stake table: every stake and side point of the last run with the listing's own texts, and
// the tab-separated text that goes to the clipboard.
#include "stakes/stake_table.h"

#include <gtest/gtest.h>

#include <array>

#include "run_support.h"

namespace hcurve {
namespace {

using testing::recordAfterRun;

// Every row carries its stake's number and chainage and the texts the listing showed (those of the
// stake at 12300 are the listing's worked double-row figures); its unrounded coordinates are the
// ones shown.
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
        {"前排第1点", "左", "10", "3456760.415", "512317.153"},
        {"前排第2点", "左", "5", "3456755.675", "512318.744"},
        {"前排第1点", "右", "7.5", "3456743.824", "512322.720"},
        {"后排第3点", "左", "10", "3456759.302", "512313.835"},
        {"后排第4点", "左", "5", "3456754.562", "512315.426"},
        {"后排第2点", "右", "7.5", "3456742.711", "512319.402"}};
    for (std::size_t i = 0; i < 7; ++i) {
        const StakeTableRow& r = rows[7 + i];
        EXPECT_EQ((std::array<std::string, 5>{r.point, r.side, r.distance_m, r.x, r.y}), kStake[i])
            << i;
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
