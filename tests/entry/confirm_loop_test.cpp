// The design-data dialogue: prompts in order, the confirm loop, and what the fields show.
#include <gtest/gtest.h>

#include <map>

#include "entry/design_entry.h"
#include "support/designs.h"
#include "support/scripted_port.h"

namespace hcurve {
namespace {

using testing::confirmedDesign;
using testing::ScriptedPort;

const std::string kTail = "输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )";
const std::string kSideQuestion = "要计算路基点或钻孔桩座标吗 ?  需要计算输入 Y ;  不要计算输入 N";

// Every value asked once in order, shown in its field and kept as the number it reads as; the
// JD's name is kept as typed.
TEST(ConfirmLoop, TypicalDesignAsksEveryValueOnceInOrder) {
    CurveRecord record;
    std::vector<std::string> answers =
        confirmedDesign({" 007", " 12345.678", "3456789.123", "512345.678", "45.3015", "-30.1530",
                         "500", "2e2", "250"});
    answers.push_back("n");
    ScriptedPort port(answers);
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
    EXPECT_EQ(port.field(Field::Deflection), " -30.15300");
    EXPECT_EQ(port.field(Field::Radius), " 500.0000");
    EXPECT_EQ(port.field(Field::A1), " 200.0000");
    EXPECT_EQ(port.field(Field::A2), " 250.0000");
    EXPECT_EQ(record.JD, " 007");
    const DesignValues& d = record.design;
    EXPECT_EQ((std::vector<double>{d.K_m, d.X_m, d.Y_m, d.T_dms, d.B_dms, d.R_m, d.A1_m, d.A2_m}),
              (std::vector<double>{12345.678, 3456789.123, 512345.678, 45.3015, -30.1530, 500, 200,
                                   250}));
    ASSERT_TRUE(record.curve.has_value());
    EXPECT_EQ(record.curve->p, -1);
    EXPECT_DOUBLE_EQ(record.curve->B, 30 + 15.0 / 60 + 30.0 / 3600);
    EXPECT_EQ(record.pp_dk, "n");
}

// What a field shows after the answers so far: while a value is typed and confirmed, and once it
// is accepted.
struct Shown {
    std::vector<std::string> answers;
    Field field;
    std::string text;
};

TEST(ConfirmLoop, FieldsShowTheTypedValues) {
    const std::vector<std::string> upToR = confirmedDesign({"1", "1000", "0", "0", "30", "20"});
    const auto then = [](std::vector<std::string> before, const std::vector<std::string>& more) {
        before.insert(before.end(), more.begin(), more.end());
        return before;
    };
    const Shown cases[] = {
        // The JD's name: two blanks until it is first confirmed, one after; a number as a number.
        {{"12"}, Field::JdNumber, "  JD12"},
        {{"007", ""}, Field::JdNumber, " JD7"},
        {{"A\x1B", ""}, Field::JdNumber, " JDA\\x1B"},  // a control character as an escape
        // Exponents are written out.
        {{"1e20", ""}, Field::JdNumber, " JD100000000000000000000"},
        {{"1", "", "1e5"}, Field::JdChainage, "K 100+000.000"},
        // What cannot be used is refused at once: its field is empty while it is typed again.
        {{"1", "", "abc"}, Field::JdChainage, ""},
        {{"1", "", "1e20"}, Field::JdChainage, ""},
        {{"1", "", "1000", "", "1,5"}, Field::JdX, ""},
        // Accepted values in their patterns.
        {confirmedDesign({"1", "1000", "3000.5"}), Field::JdX, " 3000.500"},
        {confirmedDesign({"1", "1000", "0", "0", "30", "-25.3000"}), Field::Deflection,
         " -25.30000"},
        // The radius stays visible while it is typed again after a 0.
        {then(upToR, {"400", "0"}), Field::Radius, " 400.0000"},
        // A spiral parameter of 0 says there is no spiral.
        {then(upToR, {"500", "", "0", ""}), Field::A1, "不设缓和曲线"},
        {then(upToR, {"500", "", "60", ""}), Field::A1, " 60.0000"},
        {then(upToR, {"500", "", "60", "", "-0", ""}), Field::A2, "不设缓和曲线"},
    };
    for (const Shown& c : cases) {
        CurveRecord record;
        ScriptedPort port(c.answers);
        EXPECT_THROW(designEntry(record, port), InputEnded);
        EXPECT_EQ(port.field(c.field), c.text) << c.answers.back();
    }
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
    const std::string kAgain = "输入正确的交点桩号 : ( 以米为单位 ) ";
    const std::string yAgain = "输入交点正确的横座标 :( 以米为单位 ) ";
    EXPECT_EQ(std::vector<std::string>(port.prompts.begin() + 3, port.prompts.begin() + 8),
              (std::vector<std::string>{kFirst, kAgain, kLater, kAgain, kLater}));
    EXPECT_EQ(std::vector<std::string>(port.prompts.begin() + 11, port.prompts.begin() + 14),
              (std::vector<std::string>{yFirst, yAgain, yLater}));
    EXPECT_EQ(record.design.K_m, 500);
    EXPECT_EQ(port.field(Field::JdChainage), "K 0+500.000");
    EXPECT_EQ(record.design.Y_m, 2100);
}

TEST(ConfirmLoop, NonzeroNumbersAcceptAmbiguousAnswersAskAgain) {
    CurveRecord record;
    // "y", "n" and "ok" neither accept nor reject: a hint, then the same confirmation again.
    ScriptedPort port({"1", "y", "n", "ok", "1", "12345.678", "n", "-3"});
    EXPECT_THROW(designEntry(record, port), InputEnded);
    const std::string jdConfirm = "确认交点点号输入是否正确 ?  " + kTail;
    const std::string kFirst = "确认输入的交点桩号输入是否正确 ?  " + kTail;
    // "n" did not count as the first confirmation of the chainage.
    EXPECT_EQ(port.prompts,
              (std::vector<std::string>{port.prompts[0], jdConfirm, jdConfirm, jdConfirm, jdConfirm,
                                        "请输入交点桩号 : ( 以米为单位 ) ", kFirst, kFirst,
                                        "请输入交点纵座标 : ( 以米为单位 )"}));
    // Each gets a one-line hint before the same question.
    EXPECT_EQ(port.messages,
              (std::vector<std::string>{confirmationHint("y"), confirmationHint("n"),
                                        confirmationHint("ok"), confirmationHint("n")}));
    EXPECT_EQ(port.messages[0],
              "直接按 Enter 键表示输入正确，输入 0 表示输入错误：“y” 两者都不是。");
}

// A value the design cannot use: the reason at once, before any confirmation, the field cleared,
// and the value typed again. The values before it are those of kGood, each confirmed, and they are
// kept.
TEST(ConfirmLoop, RefusedValuesAreToldClearedAndAskedAgain) {
    const std::vector<std::string> kGood = {"1", "1000", "3000", "4000", "30", "20", "500", "0"};
    const std::map<std::size_t, std::pair<Field, std::string>> kReentry = {
        {1, {Field::JdChainage, "输入正确的交点桩号 : ( 以米为单位 ) "}},
        {2, {Field::JdX, "输入正确的交点纵座标 : ( 以米为单位 ) "}},
        {4, {Field::Azimuth, "输入起始端正确的方位角 :"}},
        {5, {Field::Deflection, "输入正确的偏角 :"}},
        {6, {Field::Radius, "输入正确的半径 :"}},
        {7, {Field::A1, "输入正确的要素 :"}},
        {8, {Field::A2, "请正确的要素 A2 :"}}};
    const struct {
        std::size_t value;  // its place in the dialogue, 0 for the JD
        std::string bad;
        std::string messagePart;
    } cases[] = {{1, "abc", "不是数值"},    {1, "", "交点桩号 K 不能为空。"},
                 {1, "2e9", "超出范围"},    {2, "1,5", "不是数值"},
                 {4, "360", "360"},         {4, "-10", "360"},
                 {4, "45.6015", "小于 60"}, {5, "0", "不能为零"},
                 {5, "-180", "180"},        {5, "20.0075", "小于 60"},
                 {6, "0.0", "大于零"},      {6, "-500", "大于零"},
                 {7, "-1", "负数"},         {8, "x", "不是数值"}};
    for (const auto& c : cases) {
        CurveRecord record;
        ScriptedPort port(confirmedDesign({kGood.begin(), kGood.begin() + c.value}));
        port.script({c.bad});
        EXPECT_THROW(designEntry(record, port), InputEnded);
        ASSERT_EQ(port.messages.size(), 1u) << c.bad;
        EXPECT_NE(port.messages[0].find(c.messagePart), std::string::npos) << port.messages[0];
        const auto& [field, reentryPrompt] = kReentry.at(c.value);
        // The value's own question, then at once the reason: no confirmation in between.
        const std::vector<std::string> end(port.transcript.end() - 4, port.transcript.end());
        EXPECT_EQ(end, (std::vector<std::string>{"? " + port.prompts[port.prompts.size() - 2],
                                                 "! " + port.messages[0], fieldName(field) + "\t",
                                                 "? " + reentryPrompt}));
        EXPECT_EQ(port.prompts[port.prompts.size() - 2].find("确认"), std::string::npos);
        const DesignValues& d = record.design;
        const double kept[] = {d.K_m, d.X_m, d.Y_m, d.T_dms, d.B_dms, d.R_m, d.A1_m, d.A2_m};
        for (std::size_t k = 1; k < c.value; ++k)
            EXPECT_EQ(kept[k - 1], std::stod(kGood[k])) << c.bad;
    }
}

}  // namespace
}  // namespace hcurve
