// The computed curve as the window shows it after 开始计算.
#include <gtest/gtest.h>

#include <cmath>

#include "entry/design_entry.h"
#include "stakes/stake_run.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::confirmedDesign;
using testing::ScriptedPort;

// The captions of both spiral ends as the window is designed.
const std::map<Label, std::string> kDesignCaptions = {
    {Label::ZhGroup, "直缓点 :"}, {Label::ZhChainage, " 桩号 ZH"}, {Label::ZhX, " 纵座标 X"},
    {Label::ZhY, " 横座标 Y"},    {Label::HyGroup, "缓圆点 :"},    {Label::HyChainage, " 桩号 HY"},
    {Label::HzGroup, "缓直点 :"}, {Label::HzChainage, " 桩号 HZ"}, {Label::HzX, " 纵座标 X"},
    {Label::HzY, " 横座标 Y"},    {Label::YhGroup, "圆缓点 :"},    {Label::YhChainage, " 桩号 YH"},
};

// The side groups' captions as the window starts with them: a new curve puts them back.
const std::map<Label, std::string> kSideCaptions = {
    {Label::LeftDistance, "  路基宽度 DL"}, {Label::LeftX, "  纵座标 XL"},
    {Label::LeftY, "  横座标 YL"},          {Label::RightDistance, " 路基宽度 DR"},
    {Label::RightX, "  纵座标 XR"},         {Label::RightY, "  横座标 YR"},
};

std::map<Label, std::string> withSideCaptions(std::map<Label, std::string> captions) {
    captions.insert(kSideCaptions.begin(), kSideCaptions.end());
    return captions;
}

void runDesign(CurveRecord& record, ScriptedPort& port, std::vector<std::string> answers) {
    answers.push_back("n");
    port.script(answers);
    designEntry(record, port);
    ASSERT_EQ(port.answersLeft(), 0u);
}

TEST(CurveDisplay, RightHandCurveWithTwoSpirals) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::rightHandDesign());
    const std::map<Field, std::string> expected = {
        {Field::Ls1, "  80"},
        {Field::Ls2, "  125"},
        {Field::EntryTangent, "  176.8435"},
        {Field::ExitTangent, "  196.4784"},
        {Field::CentreX, " 3456336.1782"},
        {Field::CentreY, " 512598.8637"},
        {Field::ZhChainage, "k 12+168.835"},
        {Field::ZhX, " 3456665.1809"},
        {Field::ZhY, " 512219.5353"},
        {Field::HyChainage, "K12+248.835"},
        {Field::HyX, " 3456719.693"},
        {Field::HyY, " 512278.057"},
        {Field::YhChainage, "K12+410.388"},
        {Field::YhX, " 3456801.708"},
        {Field::YhY, " 512416.430"},
        {Field::HzChainage, "K12+535.388"},
        {Field::HzX, " 3456837.445"},
        {Field::HzY, " 512536.121"},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(port.field(field), text) << fieldName(field);
    }
    EXPECT_EQ(port.captions, withSideCaptions(kDesignCaptions));
    EXPECT_TRUE(record.curve.has_value());
}

TEST(CurveDisplay, LeftHandCurveWithoutSpiralsRelabelsBothEnds) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::leftHandDesign());
    EXPECT_EQ(port.field(Field::A1), "不设缓和曲线");
    EXPECT_EQ(port.field(Field::A2), "不设缓和曲线");
    EXPECT_EQ(port.field(Field::Ls1), "  0");
    EXPECT_EQ(port.field(Field::EntryTangent), "  124.2641");
    EXPECT_EQ(port.field(Field::ExitTangent), "  124.2641");
    for (Field f :
         {Field::ZhChainage, Field::ZhX, Field::ZhY, Field::HzChainage, Field::HzX, Field::HzY}) {
        EXPECT_EQ(port.field(f), "") << fieldName(f);
        EXPECT_TRUE(port.fields.count(f)) << fieldName(f) << " was not cleared";
    }
    EXPECT_EQ(port.field(Field::HyChainage), "K2+375.736");
    EXPECT_EQ(port.field(Field::HyX), " 1062.132");
    EXPECT_EQ(port.field(Field::HyY), " 1892.384");
    EXPECT_EQ(port.field(Field::YhChainage), "K2+611.355");
    EXPECT_EQ(port.field(Field::YhX), " 1032.162");
    EXPECT_EQ(port.field(Field::YhY), " 2120.030");
    const std::map<Label, std::string> captions = {
        {Label::ZhGroup, ""}, {Label::ZhChainage, ""},      {Label::ZhX, ""},
        {Label::ZhY, ""},     {Label::HyGroup, "直圆点 :"}, {Label::HyChainage, "        ZY"},
        {Label::HzGroup, ""}, {Label::HzChainage, ""},      {Label::HzX, ""},
        {Label::HzY, ""},     {Label::YhGroup, "圆直点 :"}, {Label::YhChainage, "        YZ"},
    };
    EXPECT_EQ(port.captions, withSideCaptions(captions));
}

// A curve whose JD lies before K0+000: the JD field keeps its kilometres rounded down, the points
// read as the distance before K0 (T = R tan(B/2), L = R B in radians of the ten-digit pi).
TEST(CurveDisplay, ChainagesBeforeZero) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(
        record, port,
        testing::confirmedDesign({"8", "-100", "1000", "2000", "120", "-45", "300", "0", "0"}));
    const double T = 300 * std::tan(22.5 * 3.1415926535 / 180);
    const double L = 300 * 45 * 3.1415926535 / 180;
    ASSERT_NEAR(-100 - T, -224.264, 5e-4);
    ASSERT_NEAR(-100 - T + L, 11.355, 5e-4);
    EXPECT_EQ(port.field(Field::JdChainage), "K-1+900.000");
    EXPECT_EQ(port.field(Field::HyChainage), "K0-224.264");
    EXPECT_EQ(port.field(Field::YhChainage), "K0+011.355");
}

TEST(CurveDisplay, EachCurveCaptionsItsOwnEnds) {
    // After a curve without spirals, the spirals come back under their own captions.
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::leftHandDesign());
    runDesign(record, port, testing::rightHandDesign());
    EXPECT_EQ(port.captions, withSideCaptions(kDesignCaptions));
    EXPECT_EQ(port.field(Field::ZhChainage), "k 12+168.835");
    EXPECT_EQ(port.field(Field::HyChainage), "K12+248.835");
    EXPECT_EQ(port.field(Field::HzChainage), "K12+535.388");

    // Only the end without its spiral is relabelled.
    runDesign(record, port,
              confirmedDesign({"3", "12345.678", "3456789.123", "512345.678", "45.3015", "30.1530",
                               "500", "0", "250"}));
    std::map<Label, std::string> captions = kDesignCaptions;
    for (Label label : {Label::ZhGroup, Label::ZhChainage, Label::ZhX, Label::ZhY})
        captions[label] = "";
    captions[Label::HyGroup] = "直圆点 :";
    captions[Label::HyChainage] = "        ZY";
    EXPECT_EQ(port.captions, withSideCaptions(captions));
    EXPECT_NE(port.field(Field::HzChainage), "");
}

// A design that gives no curve: the reason, every element and point field cleared, no curve in
// the record; the design values stay in their fields.
TEST(CurveDisplay, DesignsThatGiveNoCurve) {
    const struct {
        std::vector<std::string> design;
        std::string messagePart;
    } cases[] = {
        // T1 = R tan(B/2) would be 2.1e19 m.
        {{"6", "1000", "0", "0", "30", "179.5959999999", "1e9", "0", "0"}, "超出范围"},
        // beta1 + beta2 = (90 / pi) * (200 + 200) / 100 = 114.6 degrees > 30.
        {{"4", "1000", "0", "0", "30", "30", "100", "100", "100"}, "缓和曲线太长"},
    };
    for (const auto& c : cases) {
        CurveRecord record;
        ScriptedPort port;
        runDesign(record, port, testing::rightHandDesign());
        port.clearTranscript();
        runDesign(record, port, confirmedDesign(c.design));
        ASSERT_EQ(port.messages.size(), 1u);
        EXPECT_NE(port.messages[0].find(c.messagePart), std::string::npos) << port.messages[0];
        EXPECT_FALSE(record.curve.has_value());
        for (Field f : {Field::Ls1, Field::Ls2, Field::EntryTangent, Field::ExitTangent,
                        Field::ZhChainage, Field::ZhX, Field::ZhY, Field::HyChainage, Field::HyX,
                        Field::HyY, Field::YhChainage, Field::YhX, Field::YhY, Field::HzChainage,
                        Field::HzX, Field::HzY, Field::CentreX, Field::CentreY}) {
            EXPECT_EQ(port.field(f), "") << fieldName(f);
        }
        EXPECT_EQ(port.field(Field::JdNumber), " JD" + c.design[0]);
    }
}

// A new curve, whichever way it comes, takes the last run's stake and side points out of the
// window with the run: nothing of the R = 500 curve stays beside the R = 600 one.
TEST(CurveDisplay, ANewCurveClearsTheLastRunsFields) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::rightHandDesign());
    // Side points on, their widths asked by the run: a front and a back row, then five pauses.
    record.pp_dk = "y";
    port.script({"0", "12300", "0", "1", "5", "1", "7.5", "2", "1", "2", "", "", "", "", ""});
    stakeRun(record, port);
    ASSERT_EQ(port.answersLeft(), 0u);
    ASSERT_NE(port.field(Field::StakeChainage), "");
    ASSERT_NE(port.caption(Label::LeftDistance), kSideCaptions.at(Label::LeftDistance));
    port.script({"600", ""});
    changeDesignValue(record, port, Field::Radius);
    EXPECT_EQ(port.field(Field::Radius), " 600.0000");
    EXPECT_TRUE(record.lastRun.stakes.empty());
    for (Field f :
         {Field::AxisAngle, Field::StakeChainage, Field::StakeX, Field::StakeY, Field::LeftDistance,
          Field::LeftX, Field::LeftY, Field::RightDistance, Field::RightX, Field::RightY})
        EXPECT_EQ(port.field(f), "") << fieldName(f);
    for (const auto& [label, caption] : kSideCaptions)
        EXPECT_EQ(port.caption(label), caption) << labelName(label);
}

TEST(CurveDisplay, SpiralsThatExactlyFillTheDeflectionAreACurveWithoutArc) {
    CurveRecord record;
    ScriptedPort port;
    // beta = 90 * Ls / (pi * R) = 5 degrees each for Ls = 5 * pi * R / 90, A = sqrt(Ls * R).
    runDesign(record, port,
              confirmedDesign({"5", "1000", "0", "0", "30", "10", "100", "41.77713790991963",
                               "41.77713790991963"}));
    EXPECT_TRUE(port.messages.empty());
    ASSERT_TRUE(record.curve.has_value());
    EXPECT_NEAR(record.curve->Lf, 0, 1e-6);
}

}  // namespace
}  // namespace hcurve
