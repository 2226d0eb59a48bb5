// The side-point setup after the design values.
#include <gtest/gtest.h>

#include "entry/design_entry.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::ScriptedPort;

const std::string kWidthsNow =
    "是否现在输入路基寛度或钻孔距离桥梁中心线的桩距 ?  需要输入不等于零的任意数( 即:1,2,3,4,.... "
    ");  反之输入零( 即:0) ";
const std::string kLeftCount = "输入左侧路基点或钻孔桩的个数 : ( 以单排桩为准 )";
const std::string kLeftDistance = "输入左侧计算的点分别距离中心线的距离 :( 以米为单位 )";
const std::string kRightCount =
    "输入右侧路基点或钻孔桩的个数 : ( 或右侧钻孔桩距离桥梁中心线的个数, 以单排桩为准 )";
const std::string kRightDistance = "输入右侧计算的点分别距离中心线的距离 :( 以米为单位 )";
const std::string kRows = "确认计算单排还是双排 :  单排输入 1; 双排输入 2";
const std::string kFront = "输入前排钻孔桩距横轴的垂直距离 :( 以米为单位 )";
const std::string kBack = "输入后排钻孔桩距横轴的垂直距离 :( 以米为单位 )";

// The prompts asked after the nine design values.
std::vector<std::string> setupPrompts(const ScriptedPort& port) {
    return {port.prompts.begin() + 18, port.prompts.end()};
}

CurveRecord runSetup(const std::vector<std::string>& sideAnswers, ScriptedPort& port,
                     CurveRecord record = {}) {
    port.script(testing::rightHandDesign());
    port.script(sideAnswers);
    designEntry(record, port);
    EXPECT_EQ(port.answersLeft(), 0u);
    return record;
}

const std::string kSidePoints = "要计算路基点或钻孔桩座标吗 ?  需要计算输入 Y ;  不要计算输入 N";

TEST(SideSetup, PromptsFollowTheAnswers) {
    const struct {
        std::vector<std::string> answers;
        std::vector<std::string> prompts;
    } cases[] = {
        // Only "y" and "Y" want side points.
        {{"n"}, {kSidePoints}},
        {{"N"}, {kSidePoints}},
        {{""}, {kSidePoints}},
        {{"yes"}, {kSidePoints}},
        // The widths later: the stake run asks them.
        {{"y", "0"}, {kSidePoints, kWidthsNow}},
        // A count of 0 asks no distance, one row no row distances.
        {{"Y", "3", "0", "1", "4", "1"},
         {kSidePoints, kWidthsNow, kLeftCount, kRightCount, kRightDistance, kRows}},
        {{"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"},
         {kSidePoints, kWidthsNow, kLeftCount, kLeftDistance, kLeftDistance, kRightCount,
          kRightDistance, kRows, kFront, kBack}},
    };
    for (const auto& c : cases) {
        ScriptedPort port;
        runSetup(c.answers, port);
        EXPECT_EQ(setupPrompts(port), c.prompts) << c.answers.size();
    }
}

TEST(SideSetup, WidthsNowAreKept) {
    ScriptedPort port;
    CurveRecord record = runSetup({"y", "1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"}, port);
    EXPECT_EQ(record.dlxp, 1);
    EXPECT_EQ(record.sides.dl_n, 2);
    EXPECT_EQ(record.sides.dl, (std::vector<float>{0.0f, 5.0f, 10.0f}));
    EXPECT_EQ(record.sides.dr, (std::vector<float>{0.0f, 7.5f}));
    EXPECT_EQ(record.sides.dd_n, 2);
    EXPECT_EQ(record.sides.ds_l, 1.5f);
    EXPECT_EQ(record.sides.ds_r, 2.0f);
}

// N means no side points, also after a curve whose widths were entered with it: nothing more is
// asked, and the earlier widths stay for the next time side points are wanted.
TEST(SideSetup, NoSidePointsAsksNoWidthsAfterAnEarlierRunWithThem) {
    ScriptedPort first;
    CurveRecord record = runSetup({"y", "2", "1", "5", "0", "1"}, first);
    for (const char* no : {"n", "N", ""}) {
        ScriptedPort second;
        record = runSetup({no}, second, record);
        EXPECT_EQ(setupPrompts(second), std::vector<std::string>{kSidePoints}) << no;
        EXPECT_EQ(record.sides.dl, (std::vector<float>{0.0f, 5.0f}));
    }
}

TEST(SideSetup, BadNumbersAreToldAndAskedAgain) {
    ScriptedPort port;
    CurveRecord record = runSetup(
        {"y", "x", "70000", "1", "-1", "16384", "2.6", "a", "5", "1e10", "6", "0", "0", "1e5", "1"},
        port);
    const std::vector<std::string> expected = {kSidePoints,   kWidthsNow,    kWidthsNow,
                                               kWidthsNow,  // x, 70000
                                               kLeftCount,    kLeftCount,
                                               kLeftCount,  // -1, 16384, 2.6 -> 3
                                               kLeftDistance, kLeftDistance, kLeftDistance,
                                               kLeftDistance, kLeftDistance, kRightCount,
                                               kRows,         kRows};
    EXPECT_EQ(setupPrompts(port), expected);
    ASSERT_EQ(port.messages.size(), 7u);
    EXPECT_NE(port.messages[0].find("“x” 不是数值"), std::string::npos);
    EXPECT_NE(port.messages[1].find("-32768 到 32767"), std::string::npos);
    EXPECT_NE(port.messages[2].find("0 到 16383"), std::string::npos);
    EXPECT_NE(port.messages[3].find("0 到 16383"), std::string::npos);
    EXPECT_NE(port.messages[4].find("左侧点距中心线的距离"), std::string::npos);
    EXPECT_NE(port.messages[5].find("超出范围"), std::string::npos);
    EXPECT_NE(port.messages[6].find("单排或双排"), std::string::npos);
    EXPECT_EQ(record.sides.dl_n, 3);
    EXPECT_EQ(record.sides.dl, (std::vector<float>{0.0f, 5.0f, 6.0f, 0.0f}));
}

}  // namespace
}  // namespace hcurve
