// The stake run: mode and chainage questions, the stakes it keeps, side-point questions, refusals.
#include <array>

#include <gtest/gtest.h>

#include "port/messages.h"
#include "run_support.h"
#include "stakes/run_points.h"

namespace hcurve {
namespace {

using testing::computedRecord;
using testing::runStakes;
using testing::ScriptedPort;

const std::string kMode =
    "确认 : 单点计算输入零 (即 :0),连续计算输入不等于1的任意数 (即 :2,3,4,......)";
const std::string kSingle = "输入需要计算的中桩桩号 :( 以米为单位 )";
const std::string kStart = "输入需要计算段落起始点的中桩桩号 :( 以米为单位 )";
const std::string kEnd = "输入需要计算段落终止点的中桩桩号 :( 以米为单位 )";
const std::string kInterval = "输入需要计算的桩距 :( 以米为单位 )";
const std::string kStakePause = "单击 Enter 键或点击 OK 键显示中桩座标";
const std::string kPpq =
    "请输入计算点与中桩连线( 即横轴 )的方位与中桩法线夹角 PPQ 的数值 ( "
    "中桩法线的方向由圆心指向中桩 "
    ") PPQ由法线为起始,顺时针为正( ppb>0 ),反时针为负( ppb<0 ),沿法线为零( ppb=0 ) ";

int count(const std::vector<std::string>& prompts, const std::string& prompt) {
    return static_cast<int>(std::count(prompts.begin(), prompts.end(), prompt));
}

std::vector<double> chainages(const CurveRecord& record) {
    std::vector<double> out;
    for (const Stake& stake : record.lastRun.stakes)
        out.push_back(stake.chainage_m);
    return out;
}

// Every value the run keeps of its stakes.
std::vector<std::array<double, 4>> stakeValues(const CurveRecord& record) {
    std::vector<std::array<double, 4>> out;
    for (const Stake& s : record.lastRun.stakes)
        out.push_back({s.chainage_m, s.x_m, s.y_m, s.axisAzimuth_deg});
    return out;
}

// Zero asks one chainage, any other number a range. Each chainage is taken from the start with the
// interval as typed, so no rounding adds up; a chainage of exactly 0 is computed 1e-14 after it.
TEST(StakeRun, ChainagesOfBothModes) {
    struct Case {
        std::vector<std::string> answers;
        std::size_t stakes;
        double first_m, interval_m;
        const char* lastListed;
    };
    const Case cases[] = {
        {{"0", "12300"}, 1, 12300, 0, " k 12+300.000"},
        {{"0.0", "12300"}, 1, 12300, 0, " k 12+300.000"},
        {{"00", "0"}, 1, 1e-14, 0, " k 0+000.000"},
        {{"1", "1000", "1100", "20"}, 6, 1000, 20, " k 1+100.000"},
        {{"-3", "1000", "1100", "20"}, 6, 1000, 20, " k 1+100.000"},
        {{"2", "1000", "1100", "30"}, 4, 1000, 30, " k 1+090.000"},  // stops before the end
        {{"5", "1100", "1000", "-20"}, 6, 1100, -20, " k 1+000.000"},
        {{"2", "12300", "12300", "10"}, 1, 12300, 10, " k 12+300.000"},
        {{"2", "0", "40", "20"}, 3, 1e-14, 20, " k 0+040.000"},
        {{"2", "0", "11", "1.1"}, 11, 1e-14, 1.1, " k 0+011.000"},
        {{"2", "12000", "12001", "0.1"}, 11, 12000, 0.1, " k 12+001.000"},
        {{"2", "0", "61487.7", "12.3"}, 5000, 1e-14, 12.3, " k 61+487.700"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers[0] + " " + c.answers[1]);
        CurveRecord record = computedRecord();
        ScriptedPort port = runStakes(record, c.answers, static_cast<int>(c.stakes));
        EXPECT_EQ(port.prompts[1], c.answers.size() == 2 ? kSingle : kStart);
        EXPECT_EQ(count(port.prompts, kStakePause), static_cast<int>(c.stakes));
        EXPECT_EQ(port.field(Field::StakeChainage), c.lastListed);
        // Side points off: no side question; the side groups are emptied as the run starts, under
        // the captions they start with, and stay so.
        EXPECT_EQ(count(port.prompts, kPpq), 0);
        EXPECT_EQ(port.field(Field::AxisAngle), "与中线正交");
        for (Field f : {Field::LeftDistance, Field::RightDistance, Field::LeftX, Field::RightY})
            EXPECT_EQ(port.field(f), "") << fieldName(f);
        EXPECT_EQ(port.caption(Label::LeftDistance), "  路基宽度 DL");
        EXPECT_EQ(port.caption(Label::RightY), "  横座标 YR");
        const std::vector<double> kept = chainages(record);
        ASSERT_EQ(kept.size(), c.stakes);
        for (std::size_t i = 0; i < c.stakes; ++i)
            ASSERT_EQ(kept[i], c.first_m + static_cast<double>(i) * c.interval_m) << i;
    }
}

TEST(StakeRun, CancelOrNonNumberModeEndsTheRunAndKeepsTheLastStakes) {
    CurveRecord record = computedRecord();
    runStakes(record, {"2", "1000", "1100", "50"}, 3);
    for (const char* answer : {"", "abc"}) {
        ScriptedPort port({answer});
        stakeRun(record, port);
        EXPECT_EQ(port.prompts.size(), 1u);
        EXPECT_EQ(chainages(record), (std::vector<double>{1000, 1050, 1100}));
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
    EXPECT_EQ(stakeValues(left), stakeValues(whole));
    EXPECT_EQ(lastRunPoints(left).size(), 3u * 3);

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
    EXPECT_EQ(chainages(record), (std::vector<double>{1000, 1050, 1100}));
}

// Widths entered with the design are not asked again; widths left for later are asked in every
// run. The row distances are asked for a double row only.
TEST(StakeRun, SideQuestionsOfEveryRun) {
    const std::string kPointPause = "需要输出计算结果按 Enter 键或 OK 键";
    struct Case {
        std::vector<std::string> sides, run;
        std::vector<std::string> prompts;
        const char* axis;
    };
    const Case cases[] = {
        {{"y", "1", "2", "5", "10", "1", "7.5", "2", "1", "1"},
         {"0", "12300", "15.3", "1.5", "2"},
         {kMode, kSingle, kPpq,
          "输入前排钻孔桩至法线的垂直距离 :", "输入后排钻孔桩至法线的垂直距离 :", kStakePause,
          kPointPause, kPointPause, kPointPause, kPointPause, kPointPause, kPointPause},
         " 15.3"},
        {{"y", "0"},
         {"0", "12300", "0", "1", "5", "1", "6", "1"},
         {kMode, kSingle, kPpq,
          "输入左侧路基要计算的点数: ( 或左侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )",
          "输入左侧要计算的路基点分别距离中心线的距离 :",
          "输入要计算右侧路基的点数 : ( 或右侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )",
          "输入右侧要计算的路基点分别距离中心线的距离 :",
          "计算单排点 ( 或单排钻孔桩 )  输入 1; 计算双排点 ( 或双排钻孔桩 ) 输入 2", kStakePause,
          kPointPause, kPointPause},
         "与中线正交"},
    };
    for (const Case& c : cases) {
        CurveRecord record = computedRecord(c.sides);
        for (int run = 0; run < 2; ++run) {
            const ScriptedPort port = runStakes(
                record, c.run, count(c.prompts, kStakePause) + count(c.prompts, kPointPause));
            EXPECT_EQ(port.prompts, c.prompts) << "run " << run;
            EXPECT_EQ(port.field(Field::AxisAngle), c.axis);
        }
    }
}

// An angle that is no DMS angle, or that turns the axis 90 degrees or more from the normal (it
// would run along the centre line), is told and asked again.
TEST(StakeRun, BadAngleIsToldAndAskedAgain) {
    CurveRecord record = computedRecord({"y", "1", "0", "0", "1"});
    ScriptedPort port = runStakes(record,
                                  {
                                      "0",
                                      "12300",
                                      "abc",
                                      "15.60",
                                      "90",
                                      "-90",
                                      "120.3",
                                      "89.5959",
                                  },
                                  1);
    EXPECT_EQ(count(port.prompts, kPpq), 6);
    EXPECT_EQ(port.messages, (std::vector<std::string>{port.messages[0], port.messages[1],
                                                       kSkewRule, kSkewRule, kSkewRule}));
    EXPECT_NE(port.messages[1].find("小于 60"), std::string::npos);
    EXPECT_EQ(port.field(Field::AxisAngle), " 89.5959");
    EXPECT_EQ(record.lastRun.ppq_dms, 89.5959);
}

// The refusal comes after the side questions, which may set the record's widths anew: the last run
// stays whole, with the side points it listed.
TEST(StakeRun, RefusesMoreThanTenMillionPointsBeforeComputingAny) {
    CurveRecord record = computedRecord({"y", "0"});
    runStakes(record, {"0", "12300", "0", "1", "5", "0", "1"}, 1 + 1);
    const std::vector<std::array<double, 4>> before = stakeValues(record);

    // A hundred left points in a single row: 101 points a stake, 99010 stakes: 10000010 points.
    std::vector<std::string> answers = {"2", "1", "99010", "1", "0", "100"};
    answers.insert(answers.end(), 100, "1");
    answers.insert(answers.end(), {"0", "1"});
    ScriptedPort port(answers);
    stakeRun(record, port);
    EXPECT_EQ(port.answersLeft(), 0u);
    EXPECT_EQ(port.messages, (std::vector<std::string>{
                                 "点数太多（一次最多 10000000 个）：99010 个中桩，每个中桩连同边桩 "
                                 "101 个点，共 10000010 个点。中桩计算没有进行。"}));
    EXPECT_EQ(count(port.prompts, kStakePause), 0);
    EXPECT_EQ(record.sides.dl_n, 100);
    EXPECT_EQ(stakeValues(record), before);
    std::vector<std::string> names;
    for (const ExportPoint& p : lastRunPoints(record))
        names.push_back(p.name + " " + p.distance);
    EXPECT_EQ(names, (std::vector<std::string>{"K12+300.000 ", "K12+300.000-L1 5"}));
}

}  // namespace
}  // namespace hcurve
