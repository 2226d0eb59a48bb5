// The curve file: what a spreadsheet sees, every value read back to the same number, and the
// faults of a file told without changing the record.
#include "entry/curve_file.h"
#include "support/failure_text.h"

#include <gtest/gtest.h>

#include <string>

namespace hcurve {
namespace {

CurveRecord designedRecord() {
    CurveRecord r;
    r.JD = "A,\"7\"";  // a name a CSV field must quote
    r.design = {12345.678, 3456789.123, 512345.678, 45.3015, -30.153, 500, 200, 0.1 + 0.2};
    r.pp_dk = "y";
    r.dlxp = 1;
    r.sides.dl = {0.0f, 5.0f, 12.3f};
    r.sides.dl_n = 2;
    r.sides.dr = {0.0f, 7.5f};
    r.sides.dr_n = 1;
    r.sides.dd_n = 2;
    r.sides.ds_l = 1.5f;
    r.sides.ds_r = 2.0f;
    return r;
}

TEST(CurveFile, ASpreadsheetSeesOneValueALineAndEveryValueReadsBack) {
    const CurveRecord saved = designedRecord();
    const std::string text = curveFileText(saved);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(text.find("项目,值\r\n交点号,\"A,\"\"7\"\"\"\r\n交点桩号 K,12345.678\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n左侧距离,5,12.3\r\n右侧距离,7.5\r\n排数,2\r\n"), std::string::npos);

    CurveRecord read;
    ASSERT_EQ(testing::failureOf(readCurveFile(text, read)), std::nullopt);
    EXPECT_EQ(read.JD, saved.JD);
    EXPECT_EQ(read.design.A2_m, 0.1 + 0.2);  // to the last bit
    EXPECT_EQ(read.design.B_dms, -30.153);
    EXPECT_EQ(read.sides.dl, saved.sides.dl);
    EXPECT_EQ(read.sides.dr, saved.sides.dr);
    EXPECT_EQ(read.sides.dl_n, 2);
    EXPECT_EQ(read.sides.dr_n, 1);
    EXPECT_EQ(read.sides.dd_n, 2);
    EXPECT_EQ(read.sides.ds_l, 1.5f);
    EXPECT_EQ(read.pp_dk, "y");
    EXPECT_EQ(read.dlxp, 1);
}

TEST(CurveFile, AFaultyFileIsToldAndChangesNothing) {
    const std::string good = curveFileText(designedRecord());
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"点号,X,Y\r\nBP,0,0\r\n", "这不是曲线文件：第一行应为“项目,值”。"},
        {"", "这不是曲线文件：第一行应为“项目,值”。"},
        {with("半径 R,500", "半径,500"), "曲线文件缺少“半径 R”一行。"},
        {with("半径 R,500", "半径 R,-5"), "曲线文件中“半径 R”不对："},
        {with("方位角 T,45.3015", "方位角 T,45.6015"), "曲线文件中“方位角 T”不对："},
        {with("左侧距离,5,12.3", "左侧距离,5,x"),
         "曲线文件中“左侧距离”不对：距离要写成数值，每格一个。"},
        {with("排数,2", "排数,3"), "曲线文件中“排数”不对：单排为 1，双排为 2。"},
    };
    for (const auto& c : cases) {
        CurveRecord record;
        record.JD = "untouched";
        const std::optional<std::string> problem =
            testing::failureOf(readCurveFile(c.text, record));
        ASSERT_TRUE(problem) << c.problem;
        EXPECT_EQ(problem->substr(0, c.problem.size()), c.problem);
        EXPECT_EQ(record.JD, "untouched");
    }
}

}  // namespace
}  // namespace hcurve
