// Export of the last stake run: the points and their order, the exact bytes of both files, and the
// file writer's replacing and failing.
#include "stakes/run_points.h"

#include <gtest/gtest.h>

#include "curve/chainage.h"
#include "platform/file_writing.h"
#include "run_support.h"
#include "stakes/field_tools.h"
#include "stakes/stake_table.h"
#include "support/failure_text.h"

namespace hcurve {
namespace {

using testing::fileBytes;
using testing::recordAfterRun;
using testing::recordWithTwoRows;
using testing::ScratchFolder;

// The stake at 12300 and its side points as the listing shows them (front row, then back row;
// left from the outermost in).
const std::string kTwoRowsCsv =
    "\xEF\xBB\xBF"
    "点名,桩号,X(北),Y(东),侧别,排,距离\r\n"
    "K12+300.000,K12+300.000,3456750.458,512318.913,中,,\r\n"
    "K12+300.000-FL2,K12+300.000,3456760.415,512317.153,左,前排,10\r\n"
    "K12+300.000-FL1,K12+300.000,3456755.675,512318.744,左,前排,5\r\n"
    "K12+300.000-FR1,K12+300.000,3456743.824,512322.720,右,前排,7.5\r\n"
    "K12+300.000-BL2,K12+300.000,3456759.302,512313.835,左,后排,10\r\n"
    "K12+300.000-BL1,K12+300.000,3456754.562,512315.426,左,后排,5\r\n"
    "K12+300.000-BR1,K12+300.000,3456742.711,512319.402,右,后排,7.5\r\n";

// The same points, east before north, no code, height 0.
const std::string kTwoRowsDat =
    "K12+300.000,,512318.913,3456750.458,\r\n"
    "K12+300.000-FL2,,512317.153,3456760.415,\r\n"
    "K12+300.000-FL1,,512318.744,3456755.675,\r\n"
    "K12+300.000-FR1,,512322.720,3456743.824,\r\n"
    "K12+300.000-BL2,,512313.835,3456759.302,\r\n"
    "K12+300.000-BL1,,512315.426,3456754.562,\r\n"
    "K12+300.000-BR1,,512319.402,3456742.711,\r\n";

TEST(StakeExport, TwoRowsExactBytes) {
    CurveRecord record = recordWithTwoRows();
    std::vector<ExportPoint> points = lastRunPoints(record);
    EXPECT_EQ(stakeTableCsv(points), kTwoRowsCsv);
    EXPECT_EQ(pointFileDat(points), kTwoRowsDat);
}

// Every stake, followed by its side points when the run had them; single-row points are named by
// side and the number of their distance.
TEST(StakeExport, EachStakeFollowedByItsSidePoints) {
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"n"}, {"K12+200.000 中 ", "K12+300.000 中 "}},
        {{"y", "1", "1", "4", "2", "3", "6", "1"},
         {"K12+200.000 中 ", "K12+200.000-L1 左单排 4", "K12+200.000-R1 右单排 3",
          "K12+200.000-R2 右单排 6", "K12+300.000 中 ", "K12+300.000-L1 左单排 4",
          "K12+300.000-R1 右单排 3", "K12+300.000-R2 右单排 6"}},
    };
    for (const auto& [sides, expected] : cases) {
        std::vector<std::string> run = {"2", "12200", "12300", "100"};
        if (sides.size() > 1)
            run.push_back("0");  // PPQ
        std::vector<std::string> points;
        for (const ExportPoint& p : lastRunPoints(recordAfterRun(sides, run))) {
            EXPECT_EQ(p.chainage, p.name.substr(0, 11));
            points.push_back(p.name + " " + p.side + p.row + " " + p.distance);
        }
        EXPECT_EQ(points, expected);
    }
}

// A half millimetre goes to even in the export as in the listing: the pile is named as shown.
TEST(StakeExport, ChainageReadsAsListed) {
    CurveRecord record = recordAfterRun({"n"}, {"0", "12300.0005"});
    EXPECT_EQ(chainageText(record.lastRun.stakes.at(0).chainage_m, kListingForm), " k 12+300.000");
    EXPECT_EQ(lastRunPoints(record).at(0).chainage, "K12+300.000");
}

// Before any run, and after a new design entry (the run belongs to the curve it was computed on),
// there is nothing to list, export or tabulate until the next stake run.
TEST(StakeExport, NothingBeforeAnyRunNorAfterANewDesign) {
    CurveRecord redesigned = recordWithTwoRows();
    testing::ScriptedPort design(testing::rightHandDesign());
    design.script({"n"});
    designEntry(redesigned, design);
    ASSERT_EQ(design.answersLeft(), 0u);
    for (const CurveRecord& record : {CurveRecord{}, redesigned}) {
        EXPECT_TRUE(record.lastRun.stakes.empty());
        EXPECT_TRUE(lastRunPoints(record).empty());
        EXPECT_TRUE(stakeTableRows(record).empty());
    }
    EXPECT_EQ(testing::failureOf(exportRefusal(redesigned)), kNoStakeRun);
    EXPECT_EQ(stakeTableCsv({}), "\xEF\xBB\xBF点名,桩号,X(北),Y(东),侧别,排,距离\r\n");
    EXPECT_EQ(pointFileDat({}), "");
    EXPECT_EQ(stakeTableText({}), "桩号\t点位\t侧别\t距离(米)\tX(北)\tY(东)\n");
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(csvField("K12+300.000"), "K12+300.000");
    EXPECT_EQ(csvField(""), "");
    EXPECT_EQ(csvField("左,右"), "\"左,右\"");
    EXPECT_EQ(csvField("5\" pile"), "\"5\"\" pile\"");
    EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(csvField("one\nline"), "\"one\nline\"");
}

TEST(WriteFileReplacing, WritesTheBytesExactlyAndReplacesALongerFile) {
    ScratchFolder folder;
    const std::string bytes = kTwoRowsCsv + std::string("\0end", 4);
    EXPECT_EQ(testing::failureOf(writeFileReplacing(folder.file("中桩.csv"), bytes)), std::nullopt);
    EXPECT_EQ(fileBytes(folder.file("中桩.csv")), bytes);
    const std::string path = folder.file("stakes.dat");
    ASSERT_EQ(testing::failureOf(writeFileReplacing(path, std::string(10000, 'x'))), std::nullopt);
    EXPECT_EQ(testing::failureOf(writeFileReplacing(path, kTwoRowsDat)), std::nullopt);
    EXPECT_EQ(fileBytes(path), kTwoRowsDat);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"stakes.dat", "中桩.csv"}));
}

// A file that cannot be written is told with its path and the reason, and leaves nothing behind:
// no temporary file, and a folder in the way keeps what it held. A NUL would cut the name short
// for the system ("1\0.csv" read as "1"), so the bytes must not land in a file of that name.
TEST(WriteFileReplacing, FailuresAreToldAndLeaveNothingBehind) {
    ScratchFolder folder;
    const std::string inTheWay = folder.file("stakes.csv");
    std::filesystem::create_directory(inTheWay);
    std::ofstream(inTheWay + "/inside.txt") << "kept";
    const std::string nul = folder.file("1") + std::string(1, '\0') + ".csv";
    const std::pair<std::string, std::string> cases[] = {
        {folder.file("no such folder/stakes.csv"), "没有这个文件或文件夹"},
        {inTheWay, "这是一个文件夹"},
        {folder.file("") + "/", "这是一个文件夹"},
    };
    for (const auto& [path, reason] : cases)
        EXPECT_EQ(testing::failureOf(writeFileReplacing(path, "x")),
                  "无法写入文件“" + path + "”：" + reason + "。");
    EXPECT_EQ(testing::failureOf(writeFileReplacing(nul, "x")),
              "无法写入文件“" + folder.file("1") + "\\x00.csv”：文件名不能含有控制字符。");
    EXPECT_FALSE(writeFileReplacing(folder.file("a\x01b.csv"), "x"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"stakes.csv"}));
    EXPECT_EQ(fileBytes(inTheWay + "/inside.txt"), "kept");
}

}  // namespace
}  // namespace hcurve
