// The plan's scene of a curve and its last run, as the window's plan view and the browser page
// draw it: the characteristic points named and placed, the JD named as its field shows it, the
// stakes of the last run with their side points until a new curve drops them.
#include "layout/plan_scene.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "curve/chainage.h"
#include "entry/design_entry.h"
#include "stakes/run_support.h"
#include "support/designed_record.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::ScriptedPort;

TEST(PlanScene, CurveWithoutSpiralsIsMarkedZyAndYz) {
    const CurveRecord record = testing::designedRecord(testing::leftHandDesign());
    const PlanScene scene = planScene(record);
    ASSERT_EQ(scene.marks.size(), 2u);
    EXPECT_EQ(scene.marks[0].name + " " + scene.marks[0].chainage,
              "ZY " + chainageText(record.curve->zh, kPlainForm));
    EXPECT_EQ(scene.marks[1].name + " " + scene.marks[1].chainage,
              "YZ " + chainageText(record.curve->hz, kPlainForm));
    EXPECT_EQ(scene.title, "JD8  左偏  R=300  A1=0  A2=0");
}

// The plan names the JD as the JD field and the report do.
TEST(PlanScene, JdNamedAsTheFieldShowsIt) {
    CurveRecord record = testing::designedRecord(testing::leftHandDesign());
    for (const auto& [typed, name] : {std::pair<const char*, const char*>{"007", "JD7"},
                                      {"  12", "JD12"},
                                      {"A3", "JDA3"},
                                      {" 1e3", "JD1000"}}) {
        record.JD = typed;
        EXPECT_EQ(jdName(record), name) << typed;
    }
}

// Each stake with its side points where the listing put them: at 12300, 5 m left and 7.5 m right.
TEST(PlanScene, StakesOfTheLastRunAreDrawnUntilANewCurveDropsThem) {
    CurveRecord record = testing::computedRecord({"y", "1", "1", "5", "1", "7.5", "1"});
    testing::runStakes(record, {"2", "12100", "12600", "50", "0"}, 11 * 3);
    PlanScene scene = planScene(record);
    ASSERT_EQ(scene.stakes.size(), 11u);
    EXPECT_EQ(scene.stakes.front().chainage, chainageText(12100, kPlainForm));
    const PlanStake& at12300 = scene.stakes[4];
    EXPECT_EQ(at12300.chainage, "K12+300.000");
    ASSERT_EQ(at12300.left.size(), 1u);
    ASSERT_EQ(at12300.right.size(), 1u);
    EXPECT_NEAR(at12300.left[0].x_m, 3456754.600, 5e-4);
    EXPECT_NEAR(at12300.left[0].y_m, 512316.113, 5e-4);
    EXPECT_NEAR(at12300.right[0].x_m, 3456744.243, 5e-4);
    EXPECT_NEAR(at12300.right[0].y_m, 512323.112, 5e-4);

    // The design entered anew with another radius drops the old run: no stakes are drawn.
    ScriptedPort again(testing::confirmedDesign({"7", "12345.678", "3456789.123", "512345.678",
                                                 "45.3015", "30.1530", "600", "200", "250"}));
    again.script({"y", "0"});
    designEntry(record, again);
    scene = planScene(record);
    EXPECT_TRUE(scene.stakes.empty());
}

}  // namespace
}  // namespace hcurve
