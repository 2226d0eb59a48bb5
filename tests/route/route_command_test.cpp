// `hcurve route`: the exact headers and rows scripts read, and the errors.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <streambuf>

#include "route_cli/route_command.h"
#include "support/route_command_run.h"

namespace hcurve {
namespace {

using testing::linesOf;
using testing::Outcome;

const std::string& kRoute = testing::kSmallRoute;

class RouteCommand : public testing::RouteCommandTest {
  protected:
    void SetUp() override {
        RouteCommandTest::SetUp();
        file_ = write("route.csv", kRoute);
    }

    std::string file_;
};

TEST_F(RouteCommand, ElementTable) {
    Outcome r = run({file_, "--elements"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> rows = linesOf(r.out);
    ASSERT_EQ(rows.size(), 5u);
    const std::string &header = rows[0], &bp = rows[1], &jd2 = rows[3], &ep = rows[4];
    EXPECT_EQ(
        header,
        "点号,交点里程,X,Y,偏角,R,A1,A2,Ls1,Ls2,T1,T2,L,E,J,ZH,HY,QZ,YH,HZ,交点间距,方位角,直线长");
    EXPECT_EQ(bp, "BP,1000.0000,0.0000,0.0000,,,,,,,,,,,,,,,,,,0.0000,");
    // Right 90 degrees, then left 90 degrees without spirals: T = E + R = R tan 45 = 300.
    EXPECT_EQ(jd2.substr(0, jd2.find(",300.0000,0.0000")),
              "JD2,2870.9337,1000.0000,1000.0000,-90.0000");
    EXPECT_NE(jd2.find(",300.0000,300.0000,471.2389,124.2641,128.7611,"), std::string::npos) << jd2;
    EXPECT_EQ(ep.substr(0, 3), "EP,");
    EXPECT_EQ(ep.substr(ep.size() - 20), ",1000.0000,,700.0000");
}

TEST_F(RouteCommand, StakeTableWithSidePoints) {
    Outcome r = run({file_, "--stakes", "--interval", "20", "--from", "1000", "--to", "K1+040",
                     "--left", "5", "--right", "5,7.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "点,桩号,里程,X,Y,方位角,左1X,左1Y,右1X,右1Y,右2X,右2Y\n"
              "BP,K1+000.000,1000.0000,0.0000,0.0000,0.000000,0.0000,-5.0000,0.0000,5.0000,0.0000,"
              "7.5000\n"
              ",K1+020.000,1020.0000,20.0000,0.0000,0.000000,20.0000,-5.0000,20.0000,5.0000,"
              "20.0000,7.5000\n"
              ",K1+040.000,1040.0000,40.0000,0.0000,0.000000,40.0000,-5.0000,40.0000,5.0000,"
              "40.0000,7.5000\n");
}

TEST_F(RouteCommand, StretchAddressedByChainageTextsOnEitherSideOfABreak) {
    // K1+495 stands twice (long chain of 10 m at K1+500): --from takes the first, --to the last.
    Outcome r = run({file_, "--stakes", "--interval", "5", "--from", "K1+495", "--to", "K1+495"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string texts;
    const std::vector<std::string> rows = linesOf(r.out);
    for (std::size_t i = 1; i < rows.size(); ++i)
        texts += rows[i].substr(0, rows[i].find(",", rows[i].find(",") + 1 + 1) + 10) + "|";
    EXPECT_EQ(texts,
              ",K1+495.000,1495.0000|,K1+500.000,1500.0000|,K1+490.000,1500.0000|,K1+495.000,"
              "1505.0000|");
}

// A road that starts before K0+000: its 桩号 read as surveyors write them, in the file, in the
// table and in --from, and the same point found again by --locate.
TEST_F(RouteCommand, StakesBeforeZero) {
    const std::string early =
        write("early.csv",
              "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K0-153.1\nJD1,1000,0,300,0,0,\n"
              "EP,1000,1000,,,,\n");
    Outcome r = run({early, "--stakes", "--interval", "100", "--from", "K0-120", "--to", "K0+000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "点,桩号,里程,X,Y,方位角\n"
              ",K0-100.000,-100.0000,53.1000,0.0000,0.000000\n"
              ",K0+000.000,0.0000,153.1000,0.0000,0.000000\n");
    r = run({early, "--stakes", "--interval", "1000", "--to", "-153"});
    EXPECT_EQ(linesOf(r.out).at(1), "BP,K0-153.100,-153.1000,0.0000,0.0000,0.000000");
    r = run({early, "--locate", "0.0004", "1"});
    EXPECT_EQ(linesOf(r.out).at(1), "-153.0996,K0-153.100,1.0000,直线 BP-JD1");
}

TEST_F(RouteCommand, Locate) {
    Outcome r = run({file_, "--locate", "500", "-3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "里程,桩号,偏距,元素\n1500.0000,K1+490.000,-3.0000,直线 BP-JD1\n");
}

TEST_F(RouteCommand, LocateTellsOfNearlyEqualFeet) {
    // The bisector of the corner at JD2 seen from its arc's centre: every point of the arc is as
    // near.
    const std::string corner =
        write("corner.csv",
              "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\nJD1,1000,0,300,0,0,\nEP,1000,1000,,,,\n");
    Outcome r = run({corner, "--locate", "700", "300"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "hcurve: 注意：路线上有几处离该点几乎一样近，这个桩号不是唯一的答案。\n");
    EXPECT_EQ(run({corner, "--locate", "500", "2"}).err, "");
}

TEST_F(RouteCommand, ExportsAsTheOneCurveExportDoes) {
    const std::string dat = (folder_ / "stakes.dat").string();
    Outcome r =
        run({file_, "--stakes", "--interval", "20", "--to", "1020", "--right", "5", "--out", dat});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    std::ifstream in(dat, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(),
              "K1+000.000,,0.000,0.000,\r\nK1+000.000-R1,,5.000,0.000,\r\n"
              "K1+020.000,,0.000,20.000,\r\nK1+020.000-R1,,5.000,20.000,\r\n");

    // Piles in two rows: the front row 1.5 m ahead, the back row 2 m behind the axis.
    const std::string csv = (folder_ / "piles.csv").string();
    r = run({file_, "--stakes", "--interval", "20", "--to", "1000", "--right", "5", "--rows",
             "1.5,2", "--out", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream piles(csv, std::ios::binary);
    std::stringstream pileBytes;
    pileBytes << piles.rdbuf();
    EXPECT_NE(pileBytes.str().find("K1+000.000-FR1,K1+000.000,1.500,5.000,右,前排,5\r\n"
                                   "K1+000.000-BR1,K1+000.000,-2.000,5.000,右,后排,5\r\n"),
              std::string::npos)
        << pileBytes.str();
}

TEST_F(RouteCommand, GradeLineAndCrossFallFromAFurtherFile) {
    // On the first straight, heading north: +2 % up to 1200, -2 % after it, R 2500, so
    // ω = -4 %, L = 100, T = 50, E = 50^2 / 5000 = 0.5; a crown of -2 % on both sides.
    const std::string profile =
        write("profile.csv",
              "变坡点桩号,高程,竖曲线半径\n1100,50,\n1200,52,2500\n1300,50,\n\n"
              "桩号,左横坡,右横坡\nK1+000,-2,-2\n");
    Outcome vertical = run({file_, profile, "--vertical"});
    ASSERT_EQ(vertical.status, 0) << vertical.err;
    EXPECT_EQ(linesOf(vertical.out).at(0),
              "变坡点,桩号,里程,高程,坡度1,坡度2,坡差,凹凸,R,T,E,L,竖曲线起点里程,竖曲线终点里程");
    EXPECT_EQ(linesOf(vertical.out).at(2),
              "变坡点1,K1+200.000,1200.0000,52.0000,2.0000,-2.0000,-4.0000,凸,2500.0000,50.0000,"
              "0.5000,100.0000,1150.0000,1250.0000");

    Outcome r = run({file_, profile, "--stakes", "--interval", "50", "--from", "1000", "--to",
                     "1200", "--left", "5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "hcurve: K1+000.000 至 K1+050.000 的中桩在纵断面（K1+100.000 至 K1+300.000）以外，"
              "没有高程。\n");
    const std::vector<std::string> rows = linesOf(r.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "点,桩号,里程,X,Y,方位角,高程,左1X,左1Y,左1H");
    EXPECT_EQ(rows[1], "BP,K1+000.000,1000.0000,0.0000,0.0000,0.000000,,0.0000,-5.0000,");
    EXPECT_EQ(rows[4],
              "SQD,K1+150.000,1150.0000,150.0000,0.0000,0.000000,51.0000,150.0000,"
              "-5.0000,50.9000");
    EXPECT_EQ(rows[5],
              "BPD,K1+200.000,1200.0000,200.0000,0.0000,0.000000,51.5000,200.0000,"
              "-5.0000,51.4000");

    // 3 m right of the curve's end: 51 - 0.06 by the crown, measured 51.
    Outcome located = run({file_, profile, "--locate", "250", "3", "51"});
    ASSERT_EQ(located.status, 0) << located.err;
    EXPECT_EQ(located.out,
              "里程,桩号,偏距,元素,中线高程,设计高程,高差\n"
              "1250.0000,K1+250.000,3.0000,直线 BP-JD1,51.0000,50.9400,0.0600\n");

    const std::string dat = (folder_ / "stakes.dat").string();
    ASSERT_EQ(run({file_, profile, "--stakes", "--interval", "50", "--from", "1200", "--to", "1200",
                   "--left", "5", "--out", dat})
                  .status,
              0);
    std::ifstream in(dat, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(),
              "K1+200.000,,0.000,200.000,51.500\r\nK1+200.000-L1,,-5.000,200.000,51.400\r\n");
    // Before the grade line a stake has no elevation: its height is empty, not 0.000.
    in.close();  // Windows keeps a file open elsewhere
    ASSERT_EQ(run({file_, profile, "--stakes", "--interval", "50", "--from", "1050", "--to", "1100",
                   "--out", dat})
                  .status,
              0);
    std::ifstream again(dat, std::ios::binary);
    std::stringstream outside;
    outside << again.rdbuf();
    EXPECT_EQ(outside.str(), "K1+050.000,,0.000,50.000,\r\nK1+100.000,,0.000,100.000,50.000\r\n");
}

TEST_F(RouteCommand, ErrorsGoToTheErrorStreamWithStatusOne) {
    const std::string bad =
        write("bad.csv", "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\nJD1,0,0,300,,,\n");
    const std::string large = write("large.csv", kRoute);
    std::filesystem::resize_file(large, kMaxRouteFileBytes + 1);
    // A fault of a later file, found splitting its tables, names that file.
    const std::string unclosed =
        write("profile.csv", "变坡点桩号,高程,竖曲线半径\n\"K1+100,100,\n");
    const std::string xml = write("route.xml", kRoute);
    std::string fourHundredDistances = "5";
    for (int i = 1; i < 400; ++i)
        fourHundredDistances += ",5";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{bad, "--elements"},
         bad + ": 第 3 行：交点表至少要有三个点（BP、至少一个交点、EP），现在只有 2 个。\n"},
        {{(folder_ / "none.csv").string(), "--elements"},
         "hcurve: 无法打开文件“" + (folder_ / "none.csv").string() + "”：没有这个文件或文件夹。\n"},
        {{folder_.string(), "--elements"},
         "hcurve: 无法打开文件“" + folder_.string() + "”：这是一个文件夹。\n"},
        {{large, "--elements"}, "hcurve: 文件“" + large + "”超过 64 MiB，不像是交点表，没有读。\n"},
        {{file_, unclosed, "--elements"},
         unclosed + ": 第 2 行：引号没有配对：这一行的带引号字段直到文件末尾都没有结束。\n"},
        {{file_, xml, "--elements"},
         "hcurve: LandXML 文件“" + xml + "”要单独读，不能与别的文件一起读。\n"},
        {{file_, "--alignments"},
         "hcurve: 文件“" + file_ + "”不是 LandXML 文件，--alignments 只列 LandXML 文件的线路。\n"},
        {{file_, "--stakes", "--interval", "\x1B[2J"},
         "hcurve: 桩距“\\x1B[2J”必须是大于零的数值。\n"},
        {{file_, "--stakes", "--interval", "1", "--left", fourHundredDistances},
         "hcurve: 这一段的中桩、特征点与边桩合计会有一百万个以上。\n"},
        {{file_, "--locate", "1e308", "0"},
         "hcurve: X 超出范围（绝对值不能超过 1000000000）：“1e308” 不对。\n"},
        {{file_, "--locate", "0", "-1000000000.1"},
         "hcurve: Y 超出范围（绝对值不能超过 1000000000）：“-1000000000.1” 不对。\n"},
        {{file_, "--stakes"}, "hcurve: --stakes 需要 --interval 桩距。\n"},
        {{file_, "--stakes", "--interval", "0"}, "hcurve: 桩距“0”必须是大于零的数值。\n"},
        {{file_, "--stakes", "--interval", "5", "--from", "K1+495.5x"},
         "hcurve: 桩号“K1+495.5x”不对（应如 K12+500 或 K12+500.000）。\n"},
        {{file_, "--stakes", "--interval", "5", "--from", "K9+000"},
         "hcurve: 路线上没有桩号 K9+000（它不在 BP 至 EP 之间，或落在断链的空缺里）。\n"},
        {{file_, "--locate", "1"},
         "hcurve: --locate 后面要有两个数值：X（北）和 Y（东），可再加实测高程 H。\n"},
        // At a right angle or beyond, the transverse axis runs along the road.
        {{file_, "--stakes", "--interval", "5", "--left", "5", "--skew", "90"},
         "hcurve: 斜交角“90”要按 度.分秒 输入，并小于 90 度。\n"},
        {{file_, "--stakes", "--interval", "5", "--skew", "-90.0001"},
         "hcurve: 斜交角“-90.0001”要按 度.分秒 输入，并小于 90 度。\n"},
        {{file_, "--stakes", "--interval", "5", "--out", "a.txt"},
         "hcurve: --out 的文件名要以 .csv、.dat 或 .gsi 结尾。\n"},
        {{file_, "--dxf"}, "hcurve: --dxf 后面要有以 .dxf 结尾的文件名。\n"},
        {{file_, "--dxf", "plan.dwg"}, "hcurve: --dxf 后面要有以 .dxf 结尾的文件名。\n"},
        {{file_, "--dxf", "plan.dxf", "--left", "5"},
         "hcurve: 要画出中桩和边桩，需要 --interval 桩距。\n"},
        {{file_, "--dxf", "plan.dxf", "--interval", "5", "--out", "a.csv"},
         "hcurve: 不认识的选项 --out。\n"},
    };
    for (const Case& c : cases) {
        Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
    }
}

// A file of more faults than are listed: the first hundred, each on its line, and one line that
// says the list stops there.
TEST_F(RouteCommand, TooManyFaultsAreListedUpToAHundred) {
    std::string text = "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\n";
    for (int i = 1; i <= 150; ++i)
        text += "JD" + std::to_string(i) + ",x,0,300,,,\n";
    const std::string bad = write("many.csv", text + "EP,1,1,,,,\n");
    std::string expected;
    for (int line = 3; line < 3 + 100; ++line)
        expected +=
            bad + ": 第 " + std::to_string(line) + " 行：X 必须是数值，“x” 不是有效的数值。\n";
    expected += "hcurve: 错误太多，只列出了前 100 个。\n";
    const Outcome r = run({bad, "--elements"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, expected);
}

// An output that takes nothing, as a full disk.
class FullOutput : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST_F(RouteCommand, OutputThatCannotBeWrittenIsStatusThree) {
    for (std::vector<std::string> args : {std::vector<std::string>{file_, "--elements"},
                                          {file_, "--stakes", "--interval", "5"},
                                          {file_, "--locate", "500", "-3"}}) {
        FullOutput full;
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(runRouteCommand(args, out, err), 3);
        EXPECT_EQ(err.str(), "hcurve: 无法写入标准输出：写入出错。\n");
    }
}

TEST_F(RouteCommand, APointFarFromTheRoadIsRemarked) {
    // The route runs from (0, 0) north to (1000, 0), east to (1000, 1000), north to (2000, 1000);
    // both curves have R = 300. A point 299.9 m beside the first straight is plausible; 300.1 m
    // is not, nor a point on the first straight run on 2 km before BP.
    const std::string remark =
        "hcurve: 注意：该点离路线超过 300 米（附近曲线的半径 R 与 1000 米中较小者），不像是这条"
        "路线上的点，请核对座标。\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"300", "299.9"}, ""}, {{"300", "-300.1"}, remark}, {{"-2000", "0"}, remark}};
    for (const auto& [xy, err] : cases) {
        Outcome r = run({file_, "--locate", xy[0], xy[1]});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, err) << xy[0] << " " << xy[1];
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "里程,桩号,偏距,元素");
    }
}

TEST_F(RouteCommand, StakesAreCountedOnTheRoadOnly) {
    // Less than 3 km of road: a stretch asked far beyond both ends still gives its stakes.
    Outcome r =
        run({file_, "--stakes", "--interval", "1", "--from", "-1000000", "--to", "2000000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GT(linesOf(r.out).size(), 2700u);
}

TEST_F(RouteCommand, ExportNamesAreUniqueAcrossALongChain) {
    // K1+490 to K1+500 stand twice (the long chain at K1+500): the second of each is "-2".
    const std::string csv = (folder_ / "stakes.CSV").string();
    Outcome r = run({file_, "--stakes", "--interval", "5", "--from", "1490", "--to", "1510",
                     "--left", "2", "--out", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(csv, std::ios::binary);
    std::string line, names;
    std::getline(in, line);  // the header
    while (std::getline(in, line))
        names += line.substr(0, line.find(',')) + " ";
    EXPECT_EQ(names,
              "K1+490.000 K1+490.000-L1 K1+495.000 K1+495.000-L1 K1+500.000 K1+500.000-L1 "
              "K1+490.000-2 K1+490.000-2-L1 K1+495.000-2 K1+495.000-2-L1 K1+500.000-2 "
              "K1+500.000-2-L1 ");
}

// The GSI file names its points as the other exports do: the long chain's K1+495.000 after the
// break is K1+495.000-2; word 11's data, right-aligned and filled with zeros.
TEST_F(RouteCommand, GsiPointNumbersAreTheExportNames) {
    const std::string gsi = (folder_ / "stakes.gsi").string();
    Outcome r = run({file_, "--stakes", "--interval", "5", "--from", "1495", "--to", "1505",
                     "--right", "2", "--out", gsi});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(gsi, std::ios::binary);
    std::string names;
    for (std::string line; std::getline(in, line);)
        names += line.substr(8, 16) + " ";
    EXPECT_EQ(names,
              "000000K1+495.000 000K1+495.000-R1 000000K1+500.000 000K1+500.000-R1 "
              "000000K1+490.000 000K1+490.000-R1 0000K1+495.000-2 0K1+495.000-2-R1 ");
}

}  // namespace
}  // namespace hcurve
