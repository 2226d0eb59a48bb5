// The field tools' dialogues: reverse calculation (command 5) and export (command 6), and the
// export entry a window calls with the path from its own dialog.
#include "stakes/field_tools.h"

#include <gtest/gtest.h>

#include "port/messages.h"
#include "run_support.h"
#include "stakes/run_points.h"
#include "support/designed_record.h"
#include "support/failure_text.h"

namespace hcurve {
namespace {

using testing::fileBytes;
using testing::recordAfterRun;
using testing::recordWithTwoRows;
using testing::ScratchFolder;
using testing::ScriptedPort;

const std::string kAskX = "输入要反算的点的纵座标 X :( 以米为单位 )";
const std::string kAskY = "输入要反算的点的横座标 Y :( 以米为单位 )";
const std::string kAskPath = "输入导出文件的路径 (扩展名 .csv、.dat 或 .gsi) :";

// The stake run, reverse calculation and export need a computed curve; export a stake run too.
TEST(Commands, NeedACurveAndExportAStakeRun) {
    ScriptedPort run, reverse, exported;
    CurveRecord none;
    stakeRun(none, run);
    reverseCalculation(none, reverse);
    exportStakeCoordinates(none, exported);
    EXPECT_TRUE(none.lastRun.stakes.empty());
    for (const ScriptedPort* port : {&run, &reverse, &exported})
        EXPECT_EQ(port->transcript,
                  (std::vector<std::string>{std::string("! ") + kNoComputedCurve}));

    ScriptedPort noRun;
    exportStakeCoordinates(testing::designedRecord(testing::rightHandDesign()), noRun);
    EXPECT_EQ(noRun.transcript, (std::vector<std::string>{std::string("! ") + kNoStakeRun}));
}

// The one message command 5 shows for the point typed.
TEST(ReverseCommand, MessagesOfTheWorkedCurves) {
    struct Case {
        std::vector<std::string> (*design)();
        const char *x, *y;
        const char* message;
    };
    const Case cases[] = {
        // Worked stakes of the right-hand example lie on the centre line.
        {testing::rightHandDesign, "3456750.4575", "512318.9125",
         "坐标反算：桩号 K12+300.000，偏距 0.000 米（中线上），位于圆曲线。"},
        {testing::rightHandDesign, "3456686.9332", "512241.8537",
         "坐标反算：桩号 K12+200.000，偏距 0.000 米（中线上），位于第一缓和曲线。"},
        {testing::rightHandDesign, "3456828.6273", "512501.8495",
         "坐标反算：桩号 K12+500.000，偏距 0.000 米（中线上），位于第二缓和曲线。"},
        {testing::rightHandDesign, "3456853.3360", "512598.7486",
         "坐标反算：桩号 K12+600.000，偏距 0.000 米（中线上），位于终端直线。"},
        // Left-hand example: the stake at 2300 lies at (1100.0000, 1826.7949) on the tangent of
        // azimuth 120, whose right-hand side is azimuth 210: 5 m that way is
        // (-5 * 0.8660254, -5 * 0.5) away.
        {testing::leftHandDesign, "1095.669873", "1824.2949",
         "坐标反算：桩号 K2+300.000，偏距 5.000 米（右侧），位于始端直线。"},
        {testing::leftHandDesign, "1104.330127", "1829.2949",
         "坐标反算：桩号 K2+300.000，偏距 5.000 米（左侧），位于始端直线。"},
        // Far from the curve; the circle centre; the HY.
        {testing::rightHandDesign, "0", "0",
         "坐标反算：桩号 K-2775-827.435，偏距 2106651.330 米（右侧），位于始端直线。"
         "注意：该点离中线超过 500 米（半径 R 与 1000 米中较小者），不像是这条路线上的点，"
         "请核对座标。"},
        {testing::rightHandDesign, "3456336.1782", "512598.8637",
         "坐标反算：桩号 K12+410.474，偏距 500.000 米（右侧），位于第二缓和曲线。"
         "注意：路线上有几处离该点几乎一样近（例如圆心），这个桩号不是唯一的答案。"},
        {testing::rightHandDesign, "3456719.693", "512278.057",
         "坐标反算：桩号 K12+248.834，偏距 0.001 米（左侧），位于第一缓和曲线。"},
    };
    for (const Case& c : cases) {
        const CurveRecord record = testing::designedRecord(c.design());
        ScriptedPort port({c.x, c.y});
        reverseCalculation(record, port);
        EXPECT_EQ(port.prompts, (std::vector<std::string>{kAskX, kAskY}));
        EXPECT_EQ(port.messages, (std::vector<std::string>{c.message}));
    }
}

TEST(ReverseCommand, BadNumberIsToldAndAskedAgain) {
    CurveRecord record = testing::designedRecord(testing::rightHandDesign());
    ScriptedPort port({"north", "3456750.4575", "", "512318.9125"});
    reverseCalculation(record, port);
    EXPECT_EQ(port.prompts, (std::vector<std::string>{kAskX, kAskX, kAskY, kAskY}));
    ASSERT_EQ(port.messages.size(), 3u);
    EXPECT_EQ(port.messages[0], "纵座标 X 必须是数值，“north” 不是数值。");
    EXPECT_EQ(port.messages[1], "横座标 Y 不能为空。");
}

TEST(ReverseMessage, OffsetRoundsToThreeDecimalsAndNamesItsSide) {
    EXPECT_EQ(reverseMessage({12345.678, 12.3456, Segment::Arc}),
              "坐标反算：桩号 K12+345.678，偏距 12.346 米（右侧），位于圆曲线。");
    EXPECT_EQ(reverseMessage({999.5, -0.0006, Segment::IncomingTangent}),
              "坐标反算：桩号 K0+999.500，偏距 0.001 米（左侧），位于始端直线。");
    // Less than half a millimetre off either way is on the centre line.
    EXPECT_EQ(reverseMessage({2500, -0.0004, Segment::OutgoingTangent}),
              "坐标反算：桩号 K2+500.000，偏距 0.000 米（中线上），位于终端直线。");
    EXPECT_EQ(reverseMessage({2500, 0.0004, Segment::SecondSpiral}),
              "坐标反算：桩号 K2+500.000，偏距 0.000 米（中线上），位于第二缓和曲线。");
}

TEST(ExportFormatOf, FollowsTheExtensionInAnyCase) {
    EXPECT_EQ(exportFormatOf("stakes.csv"), ExportFormat::Csv);
    EXPECT_EQ(exportFormatOf("C:/测量/中桩.CSV"), ExportFormat::Csv);
    EXPECT_EQ(exportFormatOf("/home/u/stakes.Dat"), ExportFormat::Dat);
    EXPECT_EQ(exportFormatOf("stakes.txt"), std::nullopt);
    EXPECT_EQ(exportFormatOf("stakes.csv.bak"), std::nullopt);
    EXPECT_EQ(exportFormatOf("csv"), std::nullopt);
    EXPECT_EQ(exportFormatOf(".csv"), std::nullopt);
    EXPECT_EQ(exportFormatOf(""), std::nullopt);
}

// Another extension is told and asked again; the file gets the format of its extension; a blank
// answer ends the command.
TEST(ExportCommand, WritesTheFormatOfTheExtension) {
    ScratchFolder folder;
    CurveRecord record = recordWithTwoRows();
    const std::string txt = folder.file("stakes.txt"), csv = folder.file("中桩.csv"),
                      dat = folder.file("中桩.DAT");
    ScriptedPort port({txt, csv});
    exportStakeCoordinates(record, port);
    ScriptedPort again({" " + dat + " "}), blank({""});
    exportStakeCoordinates(record, again);
    exportStakeCoordinates(record, blank);

    EXPECT_EQ(
        port.transcript,
        (std::vector<std::string>{
            "? " + kAskPath, "! 导出文件的扩展名必须是 .csv、.dat 或 .gsi：“" + txt + "” 不对。",
            "? " + kAskPath, "! 已导出 7 个点到文件“" + csv + "”。"}));
    EXPECT_EQ(again.messages, (std::vector<std::string>{"已导出 7 个点到文件“" + dat + "”。"}));
    EXPECT_EQ(blank.transcript, (std::vector<std::string>{"? " + kAskPath}));
    const std::vector<ExportPoint> points = lastRunPoints(record);
    EXPECT_EQ(fileBytes(csv), stakeTableCsv(points));
    EXPECT_EQ(fileBytes(dat), pointFileDat(points));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"中桩.DAT", "中桩.csv"}));
}

TEST(ExportLastRun, WindowEntryTellsSuccessAndFailure) {
    ScratchFolder folder;
    CurveRecord record = recordAfterRun({"n"}, {"2", "12200", "12300", "100"});
    const std::string path = folder.file("stakes.dat");
    const Result<std::string> done = exportLastRun(record, path, ExportFormat::Dat);
    ASSERT_TRUE(done);
    EXPECT_EQ(*done, "已导出 2 个点到文件“" + path + "”。");
    EXPECT_EQ(fileBytes(path),
              "K12+200.000,,512241.854,3456686.933,\r\n"
              "K12+300.000,,512318.913,3456750.458,\r\n");

    EXPECT_EQ(testing::failureOf(exportLastRun(record, folder.path().string(), ExportFormat::Csv)),
              "无法写入文件“" + folder.path().string() + "”：这是一个文件夹。");

    EXPECT_EQ(testing::failureOf(exportLastRun(CurveRecord{}, path, ExportFormat::Csv)),
              kNoComputedCurve);
    EXPECT_TRUE(exportRefusal(record));
}

}  // namespace
}  // namespace hcurve
