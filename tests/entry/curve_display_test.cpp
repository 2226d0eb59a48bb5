// The computed curve as the window shows it after 开始计算.
#include <gtest/gtest.h>

#include "entry/design_entry.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::confirmedDesign;
using testing::ScriptedPort;

// The captions of both spiral ends as the window is designed.
const std::map<Label, std::string> kDesignCaptions = {
    {Label::Label45, "直缓点 :"},  {Label::Label16, " 桩号 ZH"}, {Label::Label17, " 纵座标 X"},
    {Label::Label18, " 横座标 Y"}, {Label::Label46, "缓圆点 :"}, {Label::Label19, " 桩号 HY"},
    {Label::Label48, "缓直点 :"},  {Label::Label25, " 桩号 HZ"}, {Label::Label26, " 纵座标 X"},
    {Label::Label27, " 横座标 Y"}, {Label::Label47, "圆缓点 :"}, {Label::Label22, " 桩号 YH"},
};

void runDesign(CurveRecord& record, ScriptedPort& port, std::vector<std::string> answers) {
    answers.push_back("n");
    port.script(answers);
    command1(record, port);
    ASSERT_EQ(port.answersLeft(), 0u);
}

TEST(CurveDisplay, RightHandCurveWithTwoSpirals) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::rightHandDesign());
    const std::map<Field, std::string> expected = {
        {Field::Text10, "  80"},          {Field::Text11, "  125"},
        {Field::Text12, "  176.8435"},    {Field::Text13, "  196.4784"},
        {Field::Text29, " 3456336.1782"}, {Field::Text30, " 512598.8637"},
        {Field::Text14, "k 12+168.835"},  {Field::Text15, " 3456665.1809"},
        {Field::Text16, " 512219.5353"},  {Field::Text17, "K12+248.835"},
        {Field::Text18, " 3456719.693"},  {Field::Text19, " 512278.057"},
        {Field::Text20, "K12+410.388"},   {Field::Text21, " 3456801.708"},
        {Field::Text22, " 512416.430"},   {Field::Text23, "K12+535.388"},
        {Field::Text24, " 3456837.445"},  {Field::Text25, " 512536.121"},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(port.field(field), text) << fieldName(field);
    }
    EXPECT_EQ(port.captions, kDesignCaptions);
    EXPECT_TRUE(record.curve.has_value());
}

TEST(CurveDisplay, LeftHandCurveWithoutSpiralsRelabelsBothEnds) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::leftHandDesign());
    EXPECT_EQ(port.field(Field::Text8), "不设缓和曲线");
    EXPECT_EQ(port.field(Field::Text9), "不设缓和曲线");
    EXPECT_EQ(port.field(Field::Text10), "  0");
    EXPECT_EQ(port.field(Field::Text12), "  124.2641");
    EXPECT_EQ(port.field(Field::Text13), "  124.2641");
    for (Field f : {Field::Text14, Field::Text15, Field::Text16, Field::Text23, Field::Text24,
                    Field::Text25}) {
        EXPECT_EQ(port.field(f), "") << fieldName(f);
        EXPECT_TRUE(port.fields.count(f)) << fieldName(f) << " was not cleared";
    }
    EXPECT_EQ(port.field(Field::Text17), "K2+375.736");
    EXPECT_EQ(port.field(Field::Text18), " 1062.132");
    EXPECT_EQ(port.field(Field::Text19), " 1892.384");
    EXPECT_EQ(port.field(Field::Text20), "K2+611.355");
    EXPECT_EQ(port.field(Field::Text21), " 1032.162");
    EXPECT_EQ(port.field(Field::Text22), " 2120.030");
    const std::map<Label, std::string> captions = {
        {Label::Label45, ""}, {Label::Label16, ""},         {Label::Label17, ""},
        {Label::Label18, ""}, {Label::Label46, "直圆点 :"}, {Label::Label19, "        ZY"},
        {Label::Label48, ""}, {Label::Label25, ""},         {Label::Label26, ""},
        {Label::Label27, ""}, {Label::Label47, "圆直点 :"}, {Label::Label22, "        YZ"},
    };
    EXPECT_EQ(port.captions, captions);
}

TEST(CurveDisplay, CaptionsOfTheSpiralsComeBackWithALaterCurveWithSpirals) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::leftHandDesign());
    runDesign(record, port, testing::rightHandDesign());
    EXPECT_EQ(port.captions, kDesignCaptions);
    EXPECT_EQ(port.field(Field::Text14), "k 12+168.835");
    EXPECT_EQ(port.field(Field::Text17), "K12+248.835");
    EXPECT_EQ(port.field(Field::Text23), "K12+535.388");
}

TEST(CurveDisplay, OnlyTheEndWithoutSpiralIsRelabelled) {
    // Entry without spiral after a curve without any: the exit end gets its captions back.
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::leftHandDesign());
    runDesign(record, port,
              confirmedDesign({"3", "12345.678", "3456789.123", "512345.678", "45.3015", "30.1530",
                               "500", "0", "250"}));
    std::map<Label, std::string> captions = kDesignCaptions;
    for (Label label : {Label::Label45, Label::Label16, Label::Label17, Label::Label18})
        captions[label] = "";
    captions[Label::Label46] = "直圆点 :";
    captions[Label::Label19] = "        ZY";
    EXPECT_EQ(port.captions, captions);
    EXPECT_NE(port.field(Field::Text23), "");
}

TEST(CurveDisplay, ElementsBeyondAThousandMillionMetresGiveNoCurve) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::rightHandDesign());
    port.clearTranscript();
    // T1 = R tan(B/2) would be 2.1e19 m.
    runDesign(record, port,
              confirmedDesign({"6", "1000", "0", "0", "30", "179.5959999999", "1e9", "0", "0"}));
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].find("超出范围"), std::string::npos);
    EXPECT_FALSE(record.curve.has_value());
    for (Field f : {Field::Text10, Field::Text12, Field::Text13, Field::Text17, Field::Text20,
                    Field::Text29, Field::Text30}) {
        EXPECT_EQ(port.field(f), "") << fieldName(f);
    }
}

TEST(CurveDisplay, SpiralsLongerThanTheDeflectionAllowsGiveNoCurve) {
    CurveRecord record;
    ScriptedPort port;
    runDesign(record, port, testing::rightHandDesign());
    ASSERT_TRUE(record.curve.has_value());
    port.clearTranscript();
    // beta1 + beta2 = (90 / pi) * (200 + 200) / 100 = 114.6 degrees > 30.
    runDesign(record, port,
              confirmedDesign({"4", "1000", "0", "0", "30", "30", "100", "100", "100"}));
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].find("缓和曲线太长"), std::string::npos);
    EXPECT_FALSE(record.curve.has_value());
    for (Field f :
         {Field::Text10, Field::Text11, Field::Text12, Field::Text13, Field::Text14, Field::Text17,
          Field::Text20, Field::Text23, Field::Text25, Field::Text29, Field::Text30}) {
        EXPECT_EQ(port.field(f), "") << fieldName(f);
    }
    EXPECT_EQ(port.field(Field::Text1), " JD4");  // the design values stay
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
