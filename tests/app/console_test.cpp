// The console front end: its line protocol, as scripts see it.
#include "app/console.h"

#include <gtest/gtest.h>

#include <sstream>

namespace hcurve {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Runs a session and returns its output lines without the remarks for a person.
std::vector<std::string> session(const std::string& input, int* status = nullptr) {
    std::istringstream in(input);
    std::ostringstream out;
    int code = runConsole(in, out);
    if (status)
        *status = code;
    std::vector<std::string> result;
    for (const std::string& line : lines(out.str())) {
        if (line.rfind("# ", 0) != 0)
            result.push_back(line);
    }
    return result;
}

const char* const kRightHandDesign =
    "1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30."
    "1530\n\n500\n\n200\n\n250\n\nn\n";

TEST(Console, EveryLineIsAPromptAFieldACaptionOrAMessage) {
    int status = -1;
    auto out = session(std::string(kRightHandDesign) + "2\n0\n12300\n\n", &status);
    EXPECT_EQ(status, 0);
    ASSERT_FALSE(out.empty());
    for (const std::string& line : out) {
        bool prompt = line.rfind("? ", 0) == 0;
        bool control = line.rfind("Text", 0) == 0 || line.rfind("Label", 0) == 0;
        EXPECT_TRUE(prompt || (control && line.find('\t') != std::string::npos)) << line;
    }
    EXPECT_EQ(out.front(), "? 请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ");
    const std::vector<std::string> tail(out.end() - 6, out.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "? 输入需要计算的中桩桩号 :( 以米为单位 )", "Text49\t与中线正交",
                        "? 单击 Entar 键或点击 OK 键显示中桩座标", "Text26\t k 12+300.000",
                        "Text27\t 3456750.458", "Text28\t 512318.913"}));
    EXPECT_NE(std::find(out.begin(), out.end(), "Text14\tk 12+168.835"), out.end());
}

TEST(Console, StartsWithRemarksListingTheCommands) {
    std::istringstream in("");
    std::ostringstream out;
    EXPECT_EQ(runConsole(in, out), 0);
    auto all = lines(out.str());
    ASSERT_FALSE(all.empty());
    for (const std::string& line : all)
        EXPECT_EQ(line.rfind("# ", 0), 0u) << line;
    EXPECT_NE(out.str().find("1 开始计算"), std::string::npos);
}

TEST(Console, BlankLinesAreIgnoredOtherLinesAreTold) {
    auto out = session("\n   \n\r\nx\n12\n");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].rfind("! 没有这个命令：“x”", 0), 0u) << out[0];
    EXPECT_EQ(out[1].rfind("! 没有这个命令：“12”", 0), 0u) << out[1];
}

TEST(Console, TrailingCarriageReturnsAreDropped) {
    auto out = session("1\r\n12\r\n0\r\n13\r\n\r\n");
    EXPECT_EQ(out[1], "Text1\t  JD12");
    EXPECT_EQ(out[3], "Text1\t");  // "0\r" rejected like "0"
    EXPECT_EQ(out[5], "Text1\t JD13");
    EXPECT_EQ(out[7], "Text1\t JD13");
}

TEST(Console, EndOfInputWhileAskingEndsTheProgram) {
    int status = -1;
    auto out = session("1\n7\n", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(
        out.back(),
        "? 确认交点点号输入是否正确 ?  输入正确单击 Enter 键或点击 OK 钮; 错误输入零( 即为:0 )");
}

TEST(Console, EndCommandStopsReadingAtOnce) {
    int status = -1;
    auto out = session("3\n1\n", &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(out.empty());
}

TEST(Console, StakesPrintAndFieldToolsNeedACurveFirst) {
    auto out = session("2\n4\n5\n6\n");
    ASSERT_EQ(out.size(), 4u);
    for (const std::string& line : out)
        EXPECT_EQ(line, out[0]);
    EXPECT_NE(out[0].find("开始计算"), std::string::npos);
    EXPECT_EQ(out[0].rfind("! ", 0), 0u);
}

TEST(Console, ReverseCalculationAnswersWithOneMessageLine) {
    auto out = session(std::string(kRightHandDesign) + "5\n3456750.4575\n512318.9125\n");
    const std::vector<std::string> tail(out.end() - 3, out.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "? 输入要反算的点的纵座标 X :( 以米为单位 )",
                        "? 输入要反算的点的横座标 Y :( 以米为单位 )",
                        "! 坐标反算：桩号 K12+300.000，偏距 0.000 米（中线上），位于圆曲线。"}));
}

TEST(Console, PlanViewNeedsABuildThatDraws) {
    auto out = session(std::string(kRightHandDesign) + "7\n");
    EXPECT_EQ(out.back(), "! 此版本编译时未带 Qt，不含绘图功能，无法保存平面图。");
}

}  // namespace
}  // namespace hcurve
