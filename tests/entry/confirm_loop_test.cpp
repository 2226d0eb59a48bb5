// The design-data dialogue: prompts in order, the confirm loop, and what the fields show.
#include <gtest/gtest.h>

#include "entry/design_entry.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::confirmedDesign;
using testing::ScriptedPort;

const std::string kTail = "输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )";
const std::string kSideQuestion = "要计算路基点或钻孔桩座标吗 ?  需要计算输入 Y ;  不要计算输入 N";

std::vector<std::string> withSideAnswer(std::vector<std::string> answers, const char* side = "n") {
    answers.push_back(side);
    return answers;
}

TEST(ConfirmLoop, TypicalDesignAsksEveryValueOnceInOrder) {
    CurveRecord record;
    ScriptedPort port(withSideAnswer(testing::rightHandDesign()));
    designEntry(record, port);
    const std::vector<std::string> expected = {
        "请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ",
        "确认交点点号输入是否正确 ?  " + kTail,
        "请输入交点桩号 : ( 以米为单位 ) ",
        "确认输入的交点桩号输入是否正确 ?  " + kTail,
        "请输入交点纵座标 : ( 以米为单位 )",
        "确认交点纵座标输入是否正确 ?  " + kTail,
        "请输入交点横座标 :以米为单位 ",
        "确认交点横座标输入是否正确 ?  " + kTail,
        "请输入起始端方位角 : ( 方位角是由以前的一个交点至本交点的方位角 ) ",
        "确认起始端方位角输入是否正确 ?  " + kTail,
        "请输入偏角 : ( 如果平曲线右偏，输入正值; 平曲线左偏，输入负值 ) ",
        "确认偏角输入是否正确 ?  " + kTail,
        "请输入平曲线的半径 : ( 以米为单位 ) ",
        "确认半径输入是否正确 ?  " + kTail,
        "请输入起始端第一缓和曲线要素 A1 :",
        "确认第一缓和曲线要素输入是否正确 ?  " + kTail,
        "请输入终止端第二缓和曲线要素 A2 :",
        "确认第二缓和曲线要素输入是否正确 ?  " + kTail,
        kSideQuestion,
    };
    EXPECT_EQ(port.prompts, expected);
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(port.field(Field::JdNumber), " JD7");
    EXPECT_EQ(port.field(Field::JdChainage), "K 12+345.678");
    EXPECT_EQ(port.field(Field::JdX), " 3456789.123");
    EXPECT_EQ(port.field(Field::JdY), " 512345.678");
    EXPECT_EQ(port.field(Field::Azimuth), " 45.30150");
    EXPECT_EQ(port.field(Field::Deflection), " 30.15300");
    EXPECT_EQ(port.field(Field::Radius), " 500.0000");
    EXPECT_EQ(port.field(Field::A1), " 200.0000");
    EXPECT_EQ(port.field(Field::A2), " 250.0000");
    EXPECT_EQ(record.JD, "7");
    EXPECT_EQ(record.K, "12345.678");
    EXPECT_EQ(record.Bdms, "30.1530");
    EXPECT_EQ(record.pp_dk, "n");
}

TEST(ConfirmLoop, JdShowsTwoBlanksWhileConfirmedAndOneAfter) {
    CurveRecord record;
    ScriptedPort port({"12"});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    EXPECT_EQ(port.field(Field::JdNumber), "  JD12");
}

TEST(ConfirmLoop, NoExponentInTheShownValues) {
    // A JD number and a chainage typed with an exponent show as plain numbers.
    CurveRecord record;
    ScriptedPort port({"1e20", "", "1e20"});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    EXPECT_EQ(port.field(Field::JdNumber), " JD100000000000000000000");
    EXPECT_EQ(port.field(Field::JdChainage), "K 100000000000000000+000.000");
}

TEST(ConfirmLoop, ZeroRejectsAndTheValueIsTypedAgain) {
    CurveRecord record;
    std::vector<std::string> answers = {"12", "0", "13", "0.0", "14", "1"};
    ScriptedPort port(answers);
    EXPECT_THROW(designEntry(record, port), InputEnded);
    const std::vector<std::string> expected = {
        "? 请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ",
        "JdNumber\t  JD12",
        "? 确认交点点号输入是否正确 ?  " + kTail,
        "JdNumber\t",
        "? 输入交点正确的点号 : ( 不需输入冠号，只需输入点号 ) ",
        "JdNumber\t JD13",
        "? 确认交点点号输入是否正确 ?  " + kTail,
        "JdNumber\t",
        "? 输入交点正确的点号 : ( 不需输入冠号，只需输入点号 ) ",
        "JdNumber\t JD14",
        "? 确认交点点号输入是否正确 ?  " + kTail,
        "JdNumber\t JD14",
        "? 请输入交点桩号 : ( 以米为单位 ) ",
    };
    EXPECT_EQ(port.transcript, expected);
    EXPECT_EQ(record.JD, "14");
}

TEST(ConfirmLoop, ChainageAndYUseTheirSecondConfirmationAfterTheFirst) {
    CurveRecord record;
    ScriptedPort port({"1", "", "12345.678", "0", "2345.5", "0", "500", ""});
    port.script({"1000", "", "2000", "0", "2100", "", "45"});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    const std::string kFirst = "确认输入的交点桩号输入是否正确 ?  " + kTail;
    const std::string kLater = "确认交点桩号输入是否正确 ?  " + kTail;
    const std::string yFirst = "确认交点横座标输入是否正确 ?  " + kTail;
    const std::string yLater = "确认交点横座标输入是否正确 ? " + kTail;  // one blank after ?
    EXPECT_EQ(port.prompts[3], kFirst);
    EXPECT_EQ(port.prompts[4], "输入正确的交点桩号 : ( 以米为单位 ) ");
    EXPECT_EQ(port.prompts[5], kLater);
    EXPECT_EQ(port.prompts[7], kLater);
    EXPECT_EQ(port.prompts[11], yFirst);
    EXPECT_EQ(port.prompts[12], "输入交点正确的横座标 :( 以米为单位 ) ");
    EXPECT_EQ(port.prompts[13], yLater);
    EXPECT_EQ(record.K, "500");
    EXPECT_EQ(port.field(Field::JdChainage), "K 0+500.000");
    EXPECT_EQ(record.Y, "2100");
}

TEST(ConfirmLoop, NonzeroNumbersAcceptAmbiguousAnswersAskAgain) {
    CurveRecord record;
    // "y", "n" and "ok" neither accept nor reject: a hint, then the same confirmation again.
    ScriptedPort port({"1", "y", "n", "ok", "1", "12345.678", "n", "-3"});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    const std::string jdConfirm = "确认交点点号输入是否正确 ?  " + kTail;
    const std::string kFirst = "确认输入的交点桩号输入是否正确 ?  " + kTail;
    EXPECT_EQ(port.prompts[1], jdConfirm);
    EXPECT_EQ(port.prompts[2], jdConfirm);
    EXPECT_EQ(port.prompts[3], jdConfirm);
    EXPECT_EQ(port.prompts[4], jdConfirm);
    EXPECT_EQ(port.prompts[5], "请输入交点桩号 : ( 以米为单位 ) ");
    EXPECT_EQ(port.prompts[6], kFirst);
    EXPECT_EQ(port.prompts[7], kFirst);  // "n" did not count as the first confirmation
    EXPECT_EQ(port.prompts[8], "请输入交点纵座标 : ( 以米为单位 )");
    // Each gets a one-line hint before the same question.
    EXPECT_EQ(port.messages,
              (std::vector<std::string>{confirmationHint("y"), confirmationHint("n"),
                                        confirmationHint("ok"), confirmationHint("n")}));
    EXPECT_EQ(port.messages[0],
              "直接按 Enter 键表示输入正确，输入 0 表示输入错误：“y” 两者都不是。");
}

TEST(ConfirmLoop, RejectedRadiusKeepsItsTextWhileTypedAgain) {
    CurveRecord record;
    ScriptedPort port(confirmedDesign({"1", "1000", "0", "0", "30", "20"}));
    port.script({"400", "0"});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    EXPECT_EQ(port.prompts.back(), "输入正确的半径 :");
    EXPECT_EQ(port.field(Field::Radius), " 400.0000");
    EXPECT_EQ(port.transcript[port.transcript.size() - 2], "? 确认半径输入是否正确 ?  " + kTail);
}

TEST(ConfirmLoop, SpiralParameterZeroShowsNoSpiral) {
    for (const char* zero : {"0", "0.0"}) {
        CurveRecord record;
        ScriptedPort port(confirmedDesign({"1", "1000", "0", "0", "30", "20", "500", zero}));
        EXPECT_THROW(designEntry(record, port), InputEnded);
        EXPECT_EQ(port.field(Field::A1), "不设缓和曲线") << zero;
    }
    CurveRecord record;
    ScriptedPort port(confirmedDesign({"1", "1000", "0", "0", "30", "20", "500", "60"}));
    EXPECT_THROW(designEntry(record, port), InputEnded);
    EXPECT_EQ(port.field(Field::A1), " 60.0000");
}

TEST(ConfirmLoop, DeflectionIsKeptAsTypedWithItsSign) {
    CurveRecord record;
    ScriptedPort port(withSideAnswer(testing::confirmedDesign(
        {"2", "2500", "1000", "2000", "120", "-25.3000", "300", "0", "0"})));
    designEntry(record, port);
    EXPECT_EQ(record.Bdms, "-25.3000");
    EXPECT_EQ(port.field(Field::Deflection), " -25.30000");
    ASSERT_TRUE(record.curve.has_value());
    EXPECT_EQ(record.curve->p, -1);
    EXPECT_DOUBLE_EQ(record.curve->B, 25.5);
}

// A value the design cannot use: the reason, the field cleared, and the value typed again.
struct BadValue {
    std::vector<std::string> before;  // values typed and confirmed before the bad one
    std::string bad;
    Field field;
    std::string reentryPrompt;
    std::string messagePart;
};

class RefusedDesignValue : public ::testing::TestWithParam<BadValue> {};

TEST_P(RefusedDesignValue, IsToldClearedAndAskedAgain) {
    const BadValue& c = GetParam();
    CurveRecord record;
    ScriptedPort port(confirmedDesign(c.before));
    port.script({c.bad, ""});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].find(c.messagePart), std::string::npos) << port.messages[0];
    const std::size_t n = port.transcript.size();
    EXPECT_EQ(port.transcript[n - 3], "! " + port.messages[0]);
    EXPECT_EQ(port.transcript[n - 2], fieldName(c.field) + "\t");
    EXPECT_EQ(port.transcript[n - 1], "? " + c.reentryPrompt);
}

const std::vector<std::string> kUpToB = {"1", "1000", "0", "0", "30"};
const std::vector<std::string> kUpToA1 = {"1", "1000", "0", "0", "30", "20", "500"};

INSTANTIATE_TEST_SUITE_P(
    DesignCheck, RefusedDesignValue,
    ::testing::Values(
        BadValue{
            {"1"}, "abc", Field::JdChainage, "输入正确的交点桩号 : ( 以米为单位 ) ", "不是数值"},
        BadValue{{"1"},
                 "",
                 Field::JdChainage,
                 "输入正确的交点桩号 : ( 以米为单位 ) ",
                 "交点桩号 K 不能为空。"},
        BadValue{
            {"1"}, "2e9", Field::JdChainage, "输入正确的交点桩号 : ( 以米为单位 ) ", "超出范围"},
        BadValue{
            {"1", "1000"}, "1,5", Field::JdX, "输入正确的交点纵座标 : ( 以米为单位 ) ", "不是数值"},
        BadValue{{"1", "1000", "0", "0"}, "360", Field::Azimuth, "输入起始端正确的方位角 :", "360"},
        BadValue{{"1", "1000", "0", "0"}, "-10", Field::Azimuth, "输入起始端正确的方位角 :", "360"},
        BadValue{{"1", "1000", "0", "0"},
                 "45.6015",
                 Field::Azimuth,
                 "输入起始端正确的方位角 :",
                 "小于 60"},
        BadValue{kUpToB, "0", Field::Deflection, "输入正确的偏角 :", "不能为零"},
        BadValue{kUpToB, "-180", Field::Deflection, "输入正确的偏角 :", "180"},
        BadValue{kUpToB, "20.0075", Field::Deflection, "输入正确的偏角 :", "小于 60"},
        BadValue{{"1", "1000", "0", "0", "30", "20"},
                 "0.0",
                 Field::Radius,
                 "输入正确的半径 :",
                 "大于零"},
        BadValue{{"1", "1000", "0", "0", "30", "20"},
                 "-500",
                 Field::Radius,
                 "输入正确的半径 :",
                 "大于零"},
        BadValue{kUpToA1, "-1", Field::A1, "输入正确的要素 :", "负数"},
        BadValue{{"1", "1000", "0", "0", "30", "20", "500", "0"},
                 "x",
                 Field::A2,
                 "请正确的要素 A2 :",
                 "不是数值"}));

TEST(ConfirmLoop, RefusedValueKeepsEverythingTypedBefore) {
    CurveRecord record;
    ScriptedPort port(confirmedDesign({"1", "1000", "3000", "4000"}));
    port.script({"400", "", "45", ""});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    EXPECT_EQ(record.X, "3000");
    EXPECT_EQ(record.Y, "4000");
    EXPECT_EQ(record.T, "45");
    EXPECT_EQ(port.field(Field::JdX), " 3000.000");
    EXPECT_EQ(port.field(Field::Azimuth), " 45.00000");
}

}  // namespace
}  // namespace hcurve
