// Export of the last stake run: the points and their order, the exact bytes of both files, and the
// file writer's replacing and failing.
#include "stakes/stake_export.h"

#include <gtest/gtest.h>

#include "curve/chainage.h"
#include "export_support.h"
#include "stakes/field_tools.h"
#include "stakes/stake_list.h"

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
    "K12+300.000,,512318.913,3456750.458,0.000\r\n"
    "K12+300.000-FL2,,512317.153,3456760.415,0.000\r\n"
    "K12+300.000-FL1,,512318.744,3456755.675,0.000\r\n"
    "K12+300.000-FR1,,512322.720,3456743.824,0.000\r\n"
    "K12+300.000-BL2,,512313.835,3456759.302,0.000\r\n"
    "K12+300.000-BL1,,512315.426,3456754.562,0.000\r\n"
    "K12+300.000-BR1,,512319.402,3456742.711,0.000\r\n";

TEST(StakeExport, TwoRowsExactBytes) {
    CurveRecord record = recordWithTwoRows();
    std::vector<ExportPoint> points = lastRunPoints(record);
    EXPECT_EQ(stakeTableCsv(points), kTwoRowsCsv);
    EXPECT_EQ(pointFileDat(points), kTwoRowsDat);
}

// The run as values: the second row's table elements follow the first's and share its distances.
TEST(StakeList, TwoRowsAsValuesInTheListingOrder) {
    const CurveRecord record = recordWithTwoRows();
    std::vector<std::string> slots;
    std::size_t stakes = 0;
    forEachStake(record, [&](const RunStake& stake) {
        ++stakes;
        EXPECT_EQ(stake.number, stakes);
        for (const RunSidePoint& p : stake.sidePoints) {
            slots.push_back(std::string(p.slot.left ? "L" : "R") +
                            (p.slot.row == SideRow::Front ? "F" : "B") +
                            std::to_string(p.slot.element) + "/" + std::to_string(p.slot.distance) +
                            "=" + std::to_string(p.distance_m).substr(0, 4));
        }
        return false;  // the walk stops at once
    });
    EXPECT_EQ(stakes, 1u);
    EXPECT_EQ(slots, (std::vector<std::string>{"LF2/2=10.0", "LF1/1=5.00", "RF1/1=7.50",
                                               "LB4/2=10.0", "LB3/1=5.00", "RB2/1=7.50"}));
}

TEST(StakeExport, SidePointsOffGiveTheStakesOnly) {
    CurveRecord record = recordAfterRun({"n"}, {"2", "12200", "12300", "100"});
    EXPECT_EQ(stakeTableCsv(lastRunPoints(record)),
              "\xEF\xBB\xBF"
              "点名,桩号,X(北),Y(东),侧别,排,距离\r\n"
              "K12+200.000,K12+200.000,3456686.933,512241.854,中,,\r\n"
              "K12+300.000,K12+300.000,3456750.458,512318.913,中,,\r\n");
}

TEST(StakeExport, SingleRowNamesEachStakesPoints) {
    // Two stakes; one left and two right points in a single row.
    CurveRecord record = recordAfterRun({"y", "1", "1", "4", "2", "3", "6", "1"},
                                        {"2", "12200", "12300", "100", "0"});
    std::vector<std::string> names, rows, distances;
    for (const ExportPoint& p : lastRunPoints(record)) {
        names.push_back(p.name);
        rows.push_back(p.side + p.row);
        distances.push_back(p.distance);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"K12+200.000", "K12+200.000-L1", "K12+200.000-R1",
                                               "K12+200.000-R2", "K12+300.000", "K12+300.000-L1",
                                               "K12+300.000-R1", "K12+300.000-R2"}));
    EXPECT_EQ(rows, (std::vector<std::string>{"中", "左单排", "右单排", "右单排", "中", "左单排",
                                              "右单排", "右单排"}));
    EXPECT_EQ(distances, (std::vector<std::string>{"", "4", "3", "6", "", "4", "3", "6"}));
}

// A half millimetre goes to even in the export as in the listing: the pile is named as shown.
TEST(StakeExport, ChainageReadsAsListed) {
    CurveRecord record = recordAfterRun({"n"}, {"0", "12300.0005"});
    EXPECT_EQ(chainageText(record.Kp[1], kListingForm), " k 12+300.000");
    EXPECT_EQ(lastRunPoints(record).at(0).chainage, "K12+300.000");
}

TEST(StakeExport, ANewDesignDropsTheRun) {
    // The run belongs to the curve it was computed on: after a new design entry there is nothing
    // to export until the next stake run.
    CurveRecord record = recordWithTwoRows();
    testing::ScriptedPort design(testing::rightHandDesign());
    design.script({"n", "0", "1", "3", "1"});
    designEntry(record, design);
    ASSERT_EQ(design.answersLeft(), 0u);
    EXPECT_EQ(record.stakeCount, 0u);
    EXPECT_EQ(stakesOfLastRun(record), 0u);
    EXPECT_TRUE(lastRunPoints(record).empty());
    EXPECT_EQ(exportRefusal(record), std::optional<std::string>(kNoStakeRun));
}

TEST(StakeExport, NoPointsBeforeAnyRun) {
    CurveRecord record;
    EXPECT_EQ(stakesOfLastRun(record), 0u);
    EXPECT_TRUE(lastRunPoints(record).empty());
    EXPECT_EQ(stakeTableCsv({}), "\xEF\xBB\xBF点名,桩号,X(北),Y(东),侧别,排,距离\r\n");
    EXPECT_EQ(pointFileDat({}), "");
}

TEST(StakeExport, StakesOfARunThatStopsBeforeTheEnd) {
    // 1000 to 1100 at 30: 4.33333333333333 by the count, four stakes.
    CurveRecord record = recordAfterRun({"n"}, {"2", "1000", "1100", "30"});
    EXPECT_EQ(stakesOfLastRun(record), 4u);
    EXPECT_EQ(lastRunPoints(record).back().name, "K1+090.000");
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(csvField("K12+300.000"), "K12+300.000");
    EXPECT_EQ(csvField(""), "");
    EXPECT_EQ(csvField("左,右"), "\"左,右\"");
    EXPECT_EQ(csvField("5\" pile"), "\"5\"\" pile\"");
    EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(csvField("one\nline"), "\"one\nline\"");
}

TEST(WriteFileReplacing, WritesTheBytesExactly) {
    ScratchFolder folder;
    const std::string bytes = kTwoRowsCsv + std::string("\0end", 4);
    EXPECT_EQ(writeFileReplacing(folder.file("中桩.csv"), bytes), std::nullopt);
    EXPECT_EQ(fileBytes(folder.file("中桩.csv")), bytes);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"中桩.csv"}));
}

TEST(WriteFileReplacing, ReplacesAnExistingLongerFile) {
    ScratchFolder folder;
    const std::string path = folder.file("stakes.dat");
    ASSERT_EQ(writeFileReplacing(path, std::string(10000, 'x')), std::nullopt);
    EXPECT_EQ(writeFileReplacing(path, kTwoRowsDat), std::nullopt);
    EXPECT_EQ(fileBytes(path), kTwoRowsDat);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"stakes.dat"}));
}

TEST(WriteFileReplacing, FolderThatDoesNotExistIsReported) {
    ScratchFolder folder;
    const std::string path = folder.file("no such folder/stakes.csv");
    EXPECT_EQ(writeFileReplacing(path, "x"), "无法写入文件“" + path + "”：没有这个文件或文件夹。");
    EXPECT_TRUE(folder.names().empty());
}

TEST(WriteFileReplacing, AFolderInTheWayIsReportedAndLeftAsItWas) {
    ScratchFolder folder;
    const std::string path = folder.file("stakes.csv");
    std::filesystem::create_directory(path);
    std::ofstream(path + "/inside.txt") << "kept";
    EXPECT_EQ(writeFileReplacing(path, "x"), "无法写入文件“" + path + "”：这是一个文件夹。");
    // No temporary file is left beside it, and the folder keeps what it held.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"stakes.csv"}));
    EXPECT_EQ(fileBytes(path + "/inside.txt"), "kept");
}

TEST(WriteFileReplacing, PathEndingInASeparatorNamesNoFile) {
    ScratchFolder folder;
    const std::string path = folder.file("") + "/";
    EXPECT_EQ(writeFileReplacing(path, "x"), "无法写入文件“" + path + "”：这是一个文件夹。");
    EXPECT_TRUE(folder.names().empty());
}

TEST(WriteFileReplacing, ANulInThePathIsRefusedNotCutShort) {
    // The system would read "1\0.csv" as "1": the bytes must not land in a file of that name.
    ScratchFolder folder;
    const std::string path = folder.file("1") + std::string(1, '\0') + ".csv";
    EXPECT_EQ(writeFileReplacing(path, "x"),
              "无法写入文件“" + folder.file("1") + "\\x00.csv”：文件名不能含有控制字符。");
    EXPECT_EQ(writeFileReplacing(folder.file("a\x01b.csv"), "x").has_value(), true);
    EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace hcurve
