// The stake table: every stake and side point of the last run with the listing's own texts, and
// the tab-separated text that goes to the clipboard.
#include "stakes/stake_table.h"

#include <gtest/gtest.h>

#include <array>

#include "curve/chainage.h"
#include "run_support.h"

namespace hcurve {
namespace {

using testing::recordAfterRun;
using testing::ScriptedPort;

// The listing's chainage text as the table shows it: without the field's leading blank.
std::string listed(double chainage_m) {
    const std::string shown = chainageText(chainage_m, kListingForm);
    return shown.substr(shown.find_first_not_of(' '));
}

// What a user reads in the window during the run: each stake's X and Y and each side point's
// caption, X and Y, in the order shown.
struct Shown {
    std::vector<std::string> captions, xs, ys;
};

Shown shownByTheListing(const ScriptedPort& port) {
    Shown shown;
    for (const std::string& line : port.transcript) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab + 1 == line.size())
            continue;
        const std::string name = line.substr(0, tab), text = line.substr(tab + 2);
        if (name == "caption LeftDistance" || name == "caption RightDistance")
            shown.captions.push_back(line.substr(tab + 1));
        else if (name == "StakeX" || name == "LeftX" || name == "RightX")
            shown.xs.push_back(text);
        else if (name == "StakeY" || name == "LeftY" || name == "RightY")
            shown.ys.push_back(text);
        else if (name == "StakeChainage")
            shown.captions.push_back("中桩距离");
    }
    return shown;
}

TEST(StakeTable, DoubleRowRunShowsWhatTheListingShowed) {
    CurveRecord record =
        testing::computedRecord({"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"});
    const ScriptedPort run =
        testing::runStakes(record, {"2", "12280", "12320", "20", "15.3", "1.5", "2"}, 3 * 7);

    const std::vector<StakeTableRow> rows = stakeTableRows(record);
    ASSERT_EQ(rows.size(), 3u * 7);
    const Shown shown = shownByTheListing(run);
    ASSERT_EQ(shown.xs.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].point + "距离", shown.captions[i]) << i;
        EXPECT_EQ(rows[i].x, shown.xs[i]) << i;
        EXPECT_EQ(rows[i].y, shown.ys[i]) << i;
        EXPECT_EQ(rows[i].chainage, listed(12280 + 20 * (i / 7))) << i;
        EXPECT_EQ(rows[i].stake, i / 7 + 1) << i;
    }
    // One stake: the front row, then the back row; left from the outermost in.
    const std::vector<std::array<std::string, 3>> kStake = {
        {"中桩", "", ""},           {"前排第1点", "左", "10"}, {"前排第2点", "左", "5"},
        {"前排第1点", "右", "7.5"}, {"后排第3点", "左", "10"}, {"后排第4点", "左", "5"},
        {"后排第2点", "右", "7.5"}};
    for (std::size_t i = 0; i < 7; ++i) {
        const StakeTableRow& r = rows[7 + i];
        EXPECT_EQ((std::array<std::string, 3>{r.point, r.side, r.distance_m}), kStake[i]) << i;
    }
    // The stake at 12300 of the worked example, and its outermost front-left pile.
    EXPECT_EQ(rows[7].x + " " + rows[7].y, "3456750.458 512318.913");
    EXPECT_EQ(rows[8].x + " " + rows[8].y, "3456760.415 512317.153");
    EXPECT_NEAR(rows[8].x_m, 3456760.415, 5e-4);
    EXPECT_NEAR(rows[8].y_m, 512317.153, 5e-4);
}

TEST(StakeTable, TextHasAHeaderAndOneTabSeparatedLineARow) {
    CurveRecord record = recordAfterRun({"y", "1", "1", "5", "1", "5", "1"}, {"0", "12300", "0"});
    EXPECT_EQ(stakeTableText(stakeTableRows(record)),
              "桩号\t点位\t侧别\t距离(米)\tX(北)\tY(东)\n" + listed(12300) +
                  "\t中桩\t\t\t3456750.458\t512318.913\n" + listed(12300) +
                  "\t左侧第1点\t左\t5\t3456754.600\t512316.113\n" + listed(12300) +
                  "\t右侧第1点\t右\t5\t3456746.315\t512321.712\n");
}

}  // namespace
}  // namespace hcurve
