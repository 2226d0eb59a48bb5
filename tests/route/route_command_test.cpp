// `hcurve route`: the exact headers and rows scripts read, and the errors.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "route_cli/route_command.h"

namespace hcurve {
namespace {

const std::string kRoute =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,100,100,\nJD2,1000,1000,300,0,0,\n"
    "EP,2000,1000,,,,\n\n断链前桩号,断链后桩号\nK1+500,K1+490\n";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class RouteCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("hcurve_route_test_" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        file_ = write("route.csv", kRoute);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    Outcome run(std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = runRouteCommand(args, out, err);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path folder_;
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

TEST_F(RouteCommand, Locate) {
    Outcome r = run({file_, "--locate", "500", "-3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "里程,桩号,偏距,元素\n1500.0000,K1+490.000,-3.0000,直线 BP-JD1\n");
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
              "K1+000.000,,0.000,0.000,0.000\r\nK1+000.000-R1,,5.000,0.000,0.000\r\n"
              "K1+020.000,,0.000,20.000,0.000\r\nK1+020.000-R1,,5.000,20.000,0.000\r\n");
}

TEST_F(RouteCommand, ErrorsGoToTheErrorStreamWithStatusOne) {
    const std::string bad =
        write("bad.csv", "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\nJD1,0,0,300,,,\n");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{bad, "--elements"},
         bad + ": 第 3 行：交点表至少要有三个点（BP、至少一个交点、EP），现在只有 2 个。\n"},
        {{(folder_ / "none.csv").string(), "--elements"},
         "hcurve: 无法打开文件“" + (folder_ / "none.csv").string() + "”。\n"},
        {{file_, "--stakes"}, "hcurve: --stakes 需要 --interval 桩距。\n"},
        {{file_, "--stakes", "--interval", "0"}, "hcurve: 桩距“0”必须是大于零的数值。\n"},
        {{file_, "--stakes", "--interval", "5", "--from", "K1+495.5x"},
         "hcurve: 桩号“K1+495.5x”不对（应如 K12+500 或 K12+500.000）。\n"},
        {{file_, "--stakes", "--interval", "5", "--from", "K9+000"},
         "hcurve: 路线上没有桩号 K9+000（它不在 BP 至 EP 之间，或落在断链的空缺里）。\n"},
        {{file_, "--locate", "1"}, "hcurve: --locate 后面要有两个数值：X（北）和 Y（东）。\n"},
        // At a right angle or beyond, the transverse axis runs along the road.
        {{file_, "--stakes", "--interval", "5", "--left", "5", "--skew", "90"},
         "hcurve: 斜交角“90”要按 度.分秒 输入，并小于 90 度。\n"},
        {{file_, "--stakes", "--interval", "5", "--skew", "-90.0001"},
         "hcurve: 斜交角“-90.0001”要按 度.分秒 输入，并小于 90 度。\n"},
    };
    for (const Case& c : cases) {
        Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
    }
}

}  // namespace
}  // namespace hcurve
