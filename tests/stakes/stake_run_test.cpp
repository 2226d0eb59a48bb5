// The stake run: mode and chainage questions, the chainage table, side-point questions, refusals.
#include <gtest/gtest.h>

#include "entry/design_entry.h"
#include "port/messages.h"
#include "stakes/stake_run.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::ScriptedPort;

const std::string kMode =
    "确认 : 单点计算输入零 (即 :0),连续计算输入不等于1的任意数 (即 :2,3,4,......)";
const std::string kSingle = "输入需要计算的中桩桩号 :( 以米为单位 )";
const std::string kStart = "输入需要计算段落起始点的中桩桩号 :( 以米为单位 )";
const std::string kEnd = "输入需要计算段落终止点的中桩桩号 :( 以米为单位 )";
const std::string kInterval = "输入需要计算的桩距 :( 以米为单位 )";
const std::string kStakePause = "单击 Entar 键或点击 OK 键显示中桩座标";
const std::string kPpq =
    "请输入计算点与中桩连线( 即横轴 )的方位与中桩法线夹角 PPQ 的数值 ( "
    "中桩法线的方向由圆心指向中桩 "
    ") PPQ由法线为起始,顺时针为正( ppb>0 ),反时针为负( ppb<0 ),沿法线为零( ppb=0 ) ";

// A record holding the right-hand example curve, side points as answered.
CurveRecord computedRecord(const std::vector<std::string>& sideAnswers = {"n"}) {
    CurveRecord record;
    ScriptedPort port(testing::rightHandDesign());
    port.script(sideAnswers);
    designEntry(record, port);
    EXPECT_TRUE(record.curve.has_value());
    return record;
}

// Runs stakeRun with the answers plus as many empty pause answers as the run asks.
ScriptedPort runStakes(CurveRecord& record, const std::vector<std::string>& answers, int pauses) {
    ScriptedPort port(answers);
    port.script(std::vector<std::string>(static_cast<std::size_t>(pauses), ""));
    stakeRun(record, port);
    EXPECT_EQ(port.answersLeft(), 0u);
    return port;
}

int count(const std::vector<std::string>& prompts, const std::string& prompt) {
    return static_cast<int>(std::count(prompts.begin(), prompts.end(), prompt));
}

TEST(StakeRun, NeedsAComputedCurve) {
    CurveRecord record;
    ScriptedPort port;
    stakeRun(record, port);
    EXPECT_EQ(port.transcript, (std::vector<std::string>{std::string("! ") + kNoComputedCurve}));
}

TEST(StakeRun, SinglePointModeForZeroAnswers) {
    for (const char* zero : {"0", "0.0", "00"}) {
        CurveRecord record = computedRecord();
        ScriptedPort port = runStakes(record, {zero, "12300"}, 1);
        EXPECT_EQ(port.prompts, (std::vector<std::string>{kMode, kSingle, kStakePause}));
        EXPECT_EQ(record.stakeCount, 1u);
        EXPECT_EQ(record.Kp.size(), 2u);
        EXPECT_EQ(port.field(Field::StakeChainage), " k 12+300.000");
        EXPECT_EQ(port.field(Field::StakeX), " 3456750.458");
        EXPECT_EQ(port.field(Field::StakeY), " 512318.913");
        EXPECT_EQ(port.field(Field::AxisAngle), "与中线正交");
    }
}

TEST(StakeRun, ChainageZeroIsComputedJustAfterItAndListedAsZero) {
    CurveRecord record = computedRecord();
    ScriptedPort port = runStakes(record, {"0", "0"}, 1);
    EXPECT_EQ(record.Kp[1], 1e-14);
    EXPECT_EQ(port.field(Field::StakeChainage), " k 0+000.000");
}

TEST(StakeRun, ContinuousModeForEveryNonzeroNumber) {
    for (const char* mode : {"1", "2", "5", "-3"}) {
        CurveRecord record = computedRecord();
        ScriptedPort port = runStakes(record, {mode, "1000", "1100", "20"}, 6);
        EXPECT_EQ(port.prompts[1], kStart) << mode;
        EXPECT_EQ(record.stakeCount, 6u);
        EXPECT_EQ(record.Kp, (std::vector<double>{0, 1000, 1020, 1040, 1060, 1080, 1100}));
    }
}

TEST(StakeRun, RangeNotAWholeNumberOfIntervalsStopsBeforeTheEnd) {
    CurveRecord record = computedRecord();
    ScriptedPort port = runStakes(record, {"2", "1000", "1100", "30"}, 4);
    EXPECT_EQ(record.stakeCount, 4u);
    EXPECT_EQ(record.Kp, (std::vector<double>{0, 1000, 1030, 1060, 1090}));
    EXPECT_EQ(record.stakeX.size(), 5u);
    EXPECT_EQ(count(port.prompts, kStakePause), 4);
    EXPECT_EQ(port.field(Field::StakeChainage), " k 1+090.000");
}

TEST(StakeRun, NegativeIntervalRunsBackwards) {
    CurveRecord record = computedRecord();
    runStakes(record, {"2", "1100", "1000", "-20"}, 6);
    EXPECT_EQ(record.Kp, (std::vector<double>{0, 1100, 1080, 1060, 1040, 1020, 1000}));
}

TEST(StakeRun, StartEqualToEndIsOneStake) {
    CurveRecord record = computedRecord();
    runStakes(record, {"2", "12300", "12300", "10"}, 1);
    EXPECT_EQ(record.stakeCount, 1u);
}

TEST(StakeRun, EveryChainageIsTakenFromTheStartWithTheIntervalAsTyped) {
    struct Case {
        const char *start, *end, *interval;
        int stakes;
        const char* lastListed;
    };
    const Case cases[] = {
        {"0", "11", "1.1", 11, " k 0+011.000"},
        {"12000", "12001", "0.1", 11, " k 12+001.000"},
        {"0", "61487.7", "12.3", 5000, " k 61+487.700"},
        {"1000", "1100", "30", 4, " k 1+090.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.end);
        CurveRecord record = computedRecord();
        ScriptedPort port = runStakes(record, {"2", c.start, c.end, c.interval}, c.stakes);
        EXPECT_EQ(record.stakeCount, static_cast<std::size_t>(c.stakes));
        EXPECT_EQ(count(port.prompts, kStakePause), c.stakes);
        EXPECT_EQ(port.field(Field::StakeChainage), c.lastListed);
        // A start at 0 is computed at 1e-14, and the later stakes with it.
        const double start = record.Kp[1], interval = std::stod(c.interval);
        for (int i = 2; i <= c.stakes; ++i)
            ASSERT_EQ(record.Kp[static_cast<std::size_t>(i)], start + (i - 1) * interval) << i;
    }
}

TEST(StakeRun, ContinuousFromZeroCarriesTheHairIntoEveryChainage) {
    CurveRecord record = computedRecord();
    runStakes(record, {"2", "0", "40", "20"}, 3);
    EXPECT_EQ(record.Kp[1], 1e-14);
    EXPECT_EQ(record.Kp[2], 1e-14 + 20);
}

TEST(StakeRun, CancelOrNonNumberModeEndsTheRunAndKeepsTheLastStakes) {
    CurveRecord record = computedRecord();
    runStakes(record, {"2", "1000", "1100", "50"}, 3);
    for (const char* answer : {"", "abc"}) {
        ScriptedPort port({answer});
        stakeRun(record, port);
        EXPECT_EQ(port.prompts.size(), 1u);
        EXPECT_EQ(record.stakeCount, 3u);
        EXPECT_EQ(record.Kp, (std::vector<double>{0, 1000, 1050, 1100}));
        EXPECT_EQ(port.fields.size(), 0u);
        EXPECT_EQ(port.messages.size(), std::string(answer).empty() ? 0u : 1u);
    }
}

// Leaving a pause stops the listing; the run stays whole, as after every pause was answered.
// Leaving a question before the listing throws on, for the front end to put things back.
TEST(StakeRun, LeavingAPauseKeepsTheWholeRunLeavingAQuestionEndsIt) {
    const std::vector<std::string> widths = {"y", "1", "1", "5", "1", "7.5", "1"};
    const std::vector<std::string> run = {"2", "1000", "1100", "50", "0"};
    CurveRecord whole = computedRecord(widths);
    runStakes(whole, run, 3 * 3);

    CurveRecord left = computedRecord(widths);
    std::vector<std::string> answers = run;
    answers.insert(answers.end(), {"", "", "", ScriptedPort::kCancel});
    ScriptedPort port(answers);
    stakeRun(left, port);
    EXPECT_EQ(port.answersLeft(), 0u);
    EXPECT_EQ(count(port.prompts, kStakePause), 2);
    EXPECT_EQ(left.stakeCount, whole.stakeCount);
    EXPECT_EQ(left.Kp, whole.Kp);
    EXPECT_EQ(left.stakeX, whole.stakeX);
    EXPECT_EQ(left.stakeY, whole.stakeY);
    EXPECT_EQ(left.runSides.axisAzimuth_deg, whole.runSides.axisAzimuth_deg);

    for (std::size_t at = 0; at < run.size(); ++at) {
        std::vector<std::string> early(run.begin(), run.begin() + static_cast<long>(at));
        early.push_back(ScriptedPort::kCancel);
        ScriptedPort questions(early);
        EXPECT_THROW(stakeRun(left, questions), Cancelled) << at;
    }
}

TEST(StakeRun, RangesWithoutStakesAreAskedAgainFromTheStart) {
    CurveRecord record = computedRecord();
    ScriptedPort port = runStakes(record,
                                  {"2", "1000", "1100", "0",  // no interval
                                   "1100", "1000", "20",      // runs away from the end
                                   "0", "1000000", "1",       // 1000001 stakes
                                   "-1e9", "1e9", "1e-300",   // more than a double holds
                                   "x", "1000", "y", "1100", "1e10", "50"},
                                  3);
    const std::vector<std::string> expected = {
        kMode, kStart,    kEnd,      kInterval,   kStart,      kEnd,       kInterval, kStart,
        kEnd,  kInterval, kStart,    kEnd,        kInterval,   kStart,     kStart,    kEnd,
        kEnd,  kInterval, kInterval, kStakePause, kStakePause, kStakePause};
    EXPECT_EQ(port.prompts, expected);
    ASSERT_EQ(port.messages.size(), 7u);
    EXPECT_NE(port.messages[0].find("桩距不能为零"), std::string::npos);
    EXPECT_NE(port.messages[1].find("一个中桩也没有"), std::string::npos);
    EXPECT_EQ(port.messages[2],
              "中桩太多（一次最多 100000 个）：1000001 个。请重新输入起始桩号、终止桩号和桩距。");
    EXPECT_EQ(port.messages[3],
              "中桩太多（一次最多 100000 个）。请重新输入起始桩号、终止桩号和桩距。");
    EXPECT_NE(port.messages[4].find("起始点桩号"), std::string::npos);
    EXPECT_NE(port.messages[5].find("终止点桩号"), std::string::npos);
    EXPECT_NE(port.messages[6].find("桩距"), std::string::npos);
    EXPECT_EQ(record.stakeCount, 3u);
}

TEST(StakeRun, SidePointsOffAskNoSideQuestions) {
    CurveRecord record = computedRecord({"n"});
    ScriptedPort port = runStakes(record, {"0", "12300"}, 1);
    EXPECT_EQ(count(port.prompts, kPpq), 0);
    EXPECT_EQ(port.field(Field::AxisAngle), "与中线正交");
    for (Field f : {Field::LeftDistance, Field::LeftX, Field::LeftY, Field::RightDistance,
                    Field::RightX, Field::RightY}) {
        EXPECT_EQ(port.fields.count(f), 0u);
    }
}

TEST(StakeRun, WidthsFromTheDesignAskOnlyTheAngleAndRowDistances) {
    CurveRecord record = computedRecord({"y", "1", "2", "5", "10", "1", "7.5", "2", "1", "1"});
    ScriptedPort port = runStakes(record, {"0", "12300", "15.3", "1.5", "2"}, 1 + 2 * 3);
    const std::vector<std::string> head(port.prompts.begin(), port.prompts.begin() + 6);
    EXPECT_EQ(head,
              (std::vector<std::string>{kMode, kSingle, kPpq, "输入前排钻孔桩至法线的垂直距离 :",
                                        "输入后排钻孔桩至法线的垂直距离 :", kStakePause}));
    EXPECT_EQ(port.field(Field::AxisAngle), " 15.3");
    EXPECT_EQ(record.ds_l, 1.5f);
    EXPECT_EQ(record.ds_r, 2.0f);
}

TEST(StakeRun, WidthsLaterAreAskedInEveryRun) {
    CurveRecord record = computedRecord({"y", "0"});
    const std::vector<std::string> answers = {"0", "12300", "0", "1", "5", "1", "6", "1"};
    for (int run = 0; run < 2; ++run) {
        ScriptedPort port = runStakes(record, answers, 1 + 2);
        const std::vector<std::string> expected = {
            kMode,
            kSingle,
            kPpq,
            "输入左侧路基要计算的点数: ( 或左侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )",
            "输入左侧要计算的路基点分别距离中心线的距离 :",
            "输入要计算右侧路基的点数 : ( 或右侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )",
            "输入右侧要计算的路基点分别距离中心线的距离 :",
            "计算单排点 ( 或单排钻孔桩 )  输入 1; 计算双排点 ( 或双排钻孔桩 ) 输入 2",
            kStakePause,
            "需要输出计算结果按 Enter 键或 OK 键",
            "需要输出计算结果按 Enter 键或 OK 键"};
        EXPECT_EQ(port.prompts, expected) << "run " << run;
        EXPECT_EQ(port.field(Field::AxisAngle), "与中线正交");
    }
}

TEST(StakeRun, BadAngleIsToldAndAskedAgain) {
    CurveRecord record = computedRecord({"y", "1", "0", "0", "1"});
    ScriptedPort port = runStakes(record, {"0", "12300", "abc", "15.60", "-15.153"}, 1);
    EXPECT_EQ(count(port.prompts, kPpq), 3);
    ASSERT_EQ(port.messages.size(), 2u);
    EXPECT_NE(port.messages[1].find("小于 60"), std::string::npos);
    EXPECT_EQ(port.field(Field::AxisAngle), " -15.153");
}

TEST(StakeRun, RefusesMoreThanTenMillionPointsBeforeComputingAny) {
    // A hundred left points in a single row: 101 points a stake.
    std::vector<std::string> sides = {"y", "1", "100"};
    sides.insert(sides.end(), 100, "1");
    sides.insert(sides.end(), {"0", "1"});
    CurveRecord record = computedRecord(sides);
    runStakes(record, {"0", "12300", "0"}, 101);
    ASSERT_EQ(record.stakeCount, 1u);

    // 99010 stakes: 10000010 points.
    ScriptedPort port({"2", "1", "99010", "1", "0"});
    stakeRun(record, port);
    EXPECT_EQ(port.answersLeft(), 0u);
    EXPECT_EQ(port.messages, (std::vector<std::string>{
                                 "点数太多（一次最多 10000000 个）：99010 个中桩，每个中桩连同边桩 "
                                 "101 个点，共 10000010 个点。中桩计算没有进行。"}));
    EXPECT_EQ(count(port.prompts, kStakePause), 0);
    EXPECT_EQ(record.stakeCount, 1u);  // the last run stays as it was
    EXPECT_EQ(record.Kp.size(), 2u);
}

}  // namespace
}  // namespace hcurve
