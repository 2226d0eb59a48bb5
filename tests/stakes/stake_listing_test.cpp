// The listing of a run: stake by stake, side point by side point, with the captions that name
// each point.
#include <gtest/gtest.h>

#include "entry/design_entry.h"
#include "stakes/stake_run.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::ScriptedPort;

const std::string kStakePause = "单击 Entar 键或点击 OK 键显示中桩座标";
const std::string kPointPause = "需要输出计算结果按 Enter 键或 OK 键";

CurveRecord computedRecord(const std::vector<std::string>& sideAnswers) {
    CurveRecord record;
    ScriptedPort port(testing::rightHandDesign());
    port.script(sideAnswers);
    designEntry(record, port);
    return record;
}

// The transcript split at each pause prompt (the prompt itself dropped).
std::vector<std::vector<std::string>> steps(const ScriptedPort& port) {
    std::vector<std::vector<std::string>> out;
    for (const std::string& line : port.transcript) {
        if (line == "? " + kStakePause || line == "? " + kPointPause) {
            out.emplace_back();
        } else if (!out.empty()) {
            out.back().push_back(line);
        }
    }
    return out;
}

ScriptedPort run(CurveRecord& record, const std::vector<std::string>& answers, int pauses) {
    ScriptedPort port(answers);
    port.script(std::vector<std::string>(static_cast<std::size_t>(pauses), ""));
    stakeRun(record, port);
    EXPECT_EQ(port.answersLeft(), 0u);
    return port;
}

TEST(StakeListing, SingleRowListsLeftPointsDownwardsThenRightPointsUpwards) {
    // dl = 5, 10, 12.3; dr = 7.5, 2; single row.
    CurveRecord record = computedRecord({"y", "1", "3", "5", "10", "12.3", "2", "7.5", "2", "1"});
    ScriptedPort port = run(record, {"0", "12300", "0"}, 1 + 3 + 2);
    auto s = steps(port);
    ASSERT_EQ(s.size(), 6u);
    EXPECT_EQ(s[0], (std::vector<std::string>{"StakeChainage\t k 12+300.000",
                                              "StakeX\t 3456750.458", "StakeY\t 512318.913"}));
    ASSERT_EQ(s[1].size(), 9u);
    EXPECT_EQ(
        std::vector<std::string>(s[1].begin(), s[1].begin() + 7),
        (std::vector<std::string>{
            "RightDistance\t", "RightX\t", "RightY\t", "caption LeftDistance\t左侧第1点距离",
            "caption LeftX\t左侧 Xp(3)", "caption LeftY\t左侧 Yp(3)", "LeftDistance\t 12.3 米"}));
    EXPECT_EQ(s[2][3], "caption LeftDistance\t左侧第2点距离");
    EXPECT_EQ(s[2][4], "caption LeftX\t左侧 Xp(2)");
    EXPECT_EQ(s[3][3], "caption LeftDistance\t左侧第3点距离");
    EXPECT_EQ(s[3][4], "caption LeftX\t左侧 Xp(1)");
    EXPECT_EQ(s[3][6], "LeftDistance\t 5 米");
    EXPECT_EQ(std::vector<std::string>(s[4].begin(), s[4].begin() + 7),
              (std::vector<std::string>{"LeftDistance\t", "LeftX\t", "LeftY\t",
                                        "caption RightDistance\t右侧第1点距离",
                                        "caption RightX\t右侧 xp( 1)",
                                        "caption RightY\t右侧 yp( 1)", "RightDistance\t 7.5 米"}));
    EXPECT_EQ(s[5][3], "caption RightDistance\t右侧第2点距离");
    EXPECT_EQ(s[5][5], "caption RightY\t右侧 yp( 2)");
    EXPECT_EQ(s[5][6], "RightDistance\t 2 米");
    // The window ends on the last right point; the left fields are empty.
    EXPECT_EQ(port.field(Field::LeftDistance), "");
    EXPECT_EQ(port.caption(Label::LeftDistance), "左侧第3点距离");
}

TEST(StakeListing, DoubleRowListsFrontThenBackRows) {
    // dl = 5, 10; dr = 7.5; double row 1.5 ahead, 2 behind; PPQ 15.3.
    CurveRecord record = computedRecord({"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"});
    ScriptedPort port = run(record, {"0", "12300", "15.3", "1.5", "2"}, 1 + 2 * (2 + 1));
    auto s = steps(port);
    ASSERT_EQ(s.size(), 7u);
    struct Expected {
        const char* distanceCaption;
        const char* xCaption;
        const char* distance;
        const char* x;
        const char* y;
    };
    const Expected expected[] = {
        {"caption LeftDistance\t前排第1点距离", "caption LeftX\t前排 xp(2)", "LeftDistance\t 10 米",
         "LeftX\t 3456760.415", "LeftY\t 512317.153"},
        {"caption LeftDistance\t前排第2点距离", "caption LeftX\t前排 xp(1)", "LeftDistance\t 5 米",
         "LeftX\t 3456755.675", "LeftY\t 512318.744"},
        {"caption RightDistance\t前排第1点距离", "caption RightX\t前排 xp( 1)",
         "RightDistance\t 7.5 米", "RightX\t 3456743.824", "RightY\t 512322.720"},
        {"caption LeftDistance\t后排第3点距离", "caption LeftX\t后排 xp(4)", "LeftDistance\t 10 米",
         "LeftX\t 3456759.302", "LeftY\t 512313.835"},
        {"caption LeftDistance\t后排第4点距离", "caption LeftX\t后排 xp(3)", "LeftDistance\t 5 米",
         "LeftX\t 3456754.562", "LeftY\t 512315.426"},
        {"caption RightDistance\t后排第2点距离", "caption RightX\t后排 xp( 2)",
         "RightDistance\t 7.5 米", "RightX\t 3456742.711", "RightY\t 512319.402"},
    };
    for (std::size_t k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        const std::vector<std::string>& step = s[k + 1];
        ASSERT_EQ(step.size(), 9u);
        EXPECT_EQ(step[3], expected[k].distanceCaption);
        EXPECT_EQ(step[4], expected[k].xCaption);
        EXPECT_EQ(step[6], expected[k].distance);
        EXPECT_EQ(step[7], expected[k].x);
        EXPECT_EQ(step[8], expected[k].y);
    }
    EXPECT_EQ(s[1][5], "caption LeftY\t前排 yp(2)");
    EXPECT_EQ(s[6][5], "caption RightY\t后排 yp( 2)");
}

TEST(StakeListing, NoLeftPointsGoesStraightToTheRight) {
    CurveRecord record = computedRecord({"y", "1", "0", "2", "3", "4", "1"});
    ScriptedPort port = run(record, {"0", "12300", "0"}, 1 + 2);
    auto s = steps(port);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[1][0], "LeftDistance\t");
    EXPECT_EQ(s[1][3], "caption RightDistance\t右侧第1点距离");
    EXPECT_FALSE(port.captionSet(Label::LeftDistance));
}

TEST(StakeListing, EveryStakeShowsItsOwnSidePoints) {
    CurveRecord record = computedRecord({"y", "1", "2", "5", "10", "0", "1"});
    ScriptedPort port = run(record, {"2", "12100", "12300", "100", "0"}, 3 * (1 + 2));
    auto s = steps(port);
    ASSERT_EQ(s.size(), 9u);
    std::vector<std::string> seenX;
    for (std::size_t stake = 0; stake < 3; ++stake) {
        EXPECT_EQ(s[stake * 3 + 1][3], "caption LeftDistance\t左侧第1点距离");
        EXPECT_EQ(s[stake * 3 + 2][3], "caption LeftDistance\t左侧第2点距离");
        seenX.push_back(s[stake * 3 + 2][7]);
    }
    EXPECT_NE(seenX[0], seenX[1]);
    EXPECT_NE(seenX[1], seenX[2]);
}

TEST(StakeListing, ChainagesRoundDownAndCarry) {
    const std::pair<const char*, const char*> cases[] = {
        {"-1.5", " k-1+998.500"}, {"1999.9996", " k 2+000.000"}, {"12345.678", " k 12+345.678"}};
    for (const auto& [typed, listed] : cases) {
        CurveRecord record = computedRecord({"n"});
        ScriptedPort port = run(record, {"0", typed}, 1);
        EXPECT_EQ(port.field(Field::StakeChainage), listed);
    }
}

TEST(StakeListing, ATinyDistanceIsWrittenWithoutExponent) {
    CurveRecord record = computedRecord({"y", "1", "1", "1e-12", "0", "1"});
    ScriptedPort port = run(record, {"0", "12300", "0"}, 1 + 1);
    auto s = steps(port);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1][6], "LeftDistance\t 0.000000000001 米");
}

TEST(StakeListing, PausesPerStake) {
    struct Case {
        std::vector<std::string> setup;
        std::vector<std::string> run;
        int pauses;
    };
    const Case cases[] = {
        {{"n"}, {"0", "12300"}, 1},
        {{"y", "1", "3", "1", "2", "3", "2", "4", "5", "1"}, {"0", "12300", "0"}, 1 + 3 + 2},
        {{"y", "1", "3", "1", "2", "3", "2", "4", "5", "2", "1", "1"},
         {"0", "12300", "0", "1", "1"},
         1 + 2 * (3 + 2)},
    };
    for (const Case& c : cases) {
        CurveRecord record = computedRecord(c.setup);
        ScriptedPort port = run(record, c.run, c.pauses);
        EXPECT_EQ(steps(port).size(), static_cast<std::size_t>(c.pauses));
    }
}

}  // namespace
}  // namespace hcurve
