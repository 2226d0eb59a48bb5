// 中桩成果报告 as a document: the notes under its stake table say how the side points were set out.
#include <gtest/gtest.h>

#include "entry/design_entry.h"
#include "report/report_document.h"
#include "stakes/stake_run.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::ScriptedPort;

TEST(SideLayoutNotes, SayTheSkewTheRowsAndEveryDistance) {
    const struct {
        SideLayout layout;
        std::vector<std::string> notes;
    } cases[] = {
        {{0, {5, 10}, {7.5}, false, 0, 0},
         {"斜交角 0 (正交)；单排", "左侧：左1 = 5.000 m，左2 = 10.000 m", "右侧：右1 = 7.500 m"}},
        // 15 degrees 30 minutes clockwise, piles 1.5 m ahead of and 2 m behind the axis.
        {{15.5, {}, {3.25, 6.5}, true, 1.5, 2},
         {"斜交角 15.3000 (度.分秒，由法线顺时针为正)；双排：前排距横轴 1.500 m，后排距横轴 "
          "2.000 m",
          "左侧：无", "右侧：右1 = 3.250 m，右2 = 6.500 m"}},
        {{-(20 + 5.0 / 60 + 30.0 / 3600), {1}, {}, false, 0, 0},
         {"斜交角 -20.0530 (度.分秒，由法线顺时针为正)；单排", "左侧：左1 = 1.000 m", "右侧：无"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sideLayoutNotes(c.layout), c.notes);
}

// The report of a run with side points carries them under its stake table; a run without side
// points has none.
TEST(StakeReport, TheStakeTableSaysHowItsSidePointsWereSetOut) {
    CurveRecord record;
    ScriptedPort design(testing::rightHandDesign());
    design.script({"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"});
    designEntry(record, design);
    ScriptedPort run({"0", "12300", "15.3", "1.5", "2"});
    run.script(std::vector<std::string>(7, ""));
    stakeRun(record, run);
    ASSERT_EQ(run.answersLeft(), 0u);
    const ReportDocument withSides = stakeReport(record, "2026-12-09");
    ASSERT_EQ(withSides.tables.back().heading, "中桩及边桩座标");
    EXPECT_EQ(
        withSides.tables.back().notes,
        (std::vector<std::string>{"斜交角 15.3000 (度.分秒，由法线顺时针为正)；双排：前排距"
                                  "横轴 1.500 m，后排距横轴 2.000 m",
                                  "左侧：左1 = 5.000 m，左2 = 10.000 m", "右侧：右1 = 7.500 m"}));

    record.pp_dk = "n";
    ScriptedPort centreOnly({"0", "12300", ""});
    stakeRun(record, centreOnly);
    EXPECT_TRUE(stakeReport(record, "2026-12-09").tables.back().notes.empty());
}

}  // namespace
}  // namespace hcurve
