// `hcurve route … --earthwork` as a script meets it: a straight road rising 1 % from K1+000 with
// one lane a side and fill slopes of 1:1.5, under ground surveyed 2 m below the grade line, so
// that every section's fill is known by hand; the kilometre subtotal, the totals, the prismoidal
// volumes, and the faults said with the ground file's line. --sections keeps its --earthwork.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "route_cli/route_command.h"
#include "support/route_command_run.h"
#include "terrain/terrain_model.h"

namespace hcurve {
namespace {

using testing::Outcome;

const std::string kRoad =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,2000,0,300,150,150,\nEP,2000,1000,,,,\n"
    "\n变坡点桩号,高程,竖曲线半径\nK1+000,100,\nK3+000,120,\n"
    "\n侧,部件,宽度,横坡\n左,行车道,3.75,路拱\n右,行车道,3.75,路拱\n"
    "\n侧,类型,坡率,高度,平台宽\n左,填,1.5,,\n右,填,1.5,,\n左,挖,1,,\n右,挖,1,,\n";

// A section level 2 m below the grade line at chainage c (the grade rises 1 % from 100 at 1000).
std::string levelSection(const std::string& stake, double c, double left_m = -20,
                         double right_m = 20) {
    const double H = 100 + (c - 1000) * 0.01 - 2;
    std::ostringstream s;
    s << "BEGIN," << stake << "\n" << left_m << "," << H << "\n" << right_m << "," << H << "\n";
    return s.str();
}

class EarthworkCommand : public testing::RouteCommandTest {
  protected:
    void SetUp() override {
        RouteCommandTest::SetUp();
        road_ = write("road.csv", kRoad);
    }

    std::string road_;
};

// The fill of every section: the lane's edge 3.75 x 2 % = 0.075 m below the centre, 1.925 m
// above the ground; the slope reaches it 1.925 x 1.5 = 2.8875 m further out. Twice the lane's
// trapezoid and the slope's triangle: 2 (3.75 (2 + 1.925) / 2 + 2.8875 x 1.925 / 2) = 20.2771875;
// the volumes 15, 20, 35, 50 and 85 times it (none of them a half at the last decimal).
TEST_F(EarthworkCommand, TheTableOfALevelFillWithItsSubtotalsAndTotals) {
    const std::string ground =
        write("ground.txt", levelSection("K1+965", 1965) + levelSection("K1+980", 1980) +
                                levelSection("K2+000", 2000) + levelSection("K2+050", 2050));
    const Outcome r = run({road_, ground, "--earthwork"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "桩号,里程,填方面积,挖方面积,距离,填方量,挖方量,累计填方,累计挖方\n"
              "K1+965.000,1965.0000,20.2772,0.0000,,,,0.000,0.000\n"
              "K1+980.000,1980.0000,20.2772,0.0000,15.000,304.158,0.000,304.158,0.000\n"
              "K2+000.000,2000.0000,20.2772,0.0000,20.000,405.544,0.000,709.702,0.000\n"
              "K1 小计,,,,35.000,709.702,0.000,,\n"
              "K2+050.000,2050.0000,20.2772,0.0000,50.000,1013.859,0.000,1723.561,0.000\n"
              "K2 小计,,,,50.000,1013.859,0.000,,\n"
              "合计,,,,85.000,1723.561,0.000,,\n");
    // Equal end areas: the frustum is the prism.
    const Outcome p = run({road_, ground, "--earthwork", "--prismoidal"});
    ASSERT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.out, r.out);
    // A stretch.
    const Outcome s = run({road_, ground, "--earthwork", "--from", "K1+970", "--to", "K2+000"});
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.out,
              "桩号,里程,填方面积,挖方面积,距离,填方量,挖方量,累计填方,累计挖方\n"
              "K1+980.000,1980.0000,20.2772,0.0000,,,,0.000,0.000\n"
              "K2+000.000,2000.0000,20.2772,0.0000,20.000,405.544,0.000,405.544,0.000\n"
              "K1 小计,,,,20.000,405.544,0.000,,\n"
              "合计,,,,20.000,405.544,0.000,,\n");
}

// Terrain points of the plane 2 m under the grade line (the road runs north from X = 0 at K1+000,
// rising 1 %): the sections cut from its model at the stakes have the level fill's area.
TEST_F(EarthworkCommand, SectionsCutFromTerrainPointsAtTheStakes) {
    if (!terrainModelAvailable())
        GTEST_SKIP() << "no terrain model in this build";
    std::ostringstream points;
    points << "点名,X,Y,H\n";
    int n = 0;
    for (int x = 800; x <= 1200; x += 25)
        for (int y = -60; y <= 60; y += 15)
            points << "P" << ++n << "," << x << "," << y << "," << 100 + x * 0.01 - 2 << "\n";
    const std::string terrain = write("terrain.csv", points.str());
    const Outcome r = run(
        {road_, terrain, "--earthwork", "--interval", "5", "--from", "K1+985", "--to", "K2+000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "桩号,里程,填方面积,挖方面积,距离,填方量,挖方量,累计填方,累计挖方\n"
              "K1+985.000,1985.0000,20.2772,0.0000,,,,0.000,0.000\n"
              "K1+990.000,1990.0000,20.2772,0.0000,5.000,101.386,0.000,101.386,0.000\n"
              "K1+995.000,1995.0000,20.2772,0.0000,5.000,101.386,0.000,202.772,0.000\n"
              "K2+000.000,2000.0000,20.2772,0.0000,5.000,101.386,0.000,304.158,0.000\n"
              "K1 小计,,,,15.000,304.158,0.000,,\n"
              "合计,,,,15.000,304.158,0.000,,\n");
}

TEST_F(EarthworkCommand, FaultsAreSaidAndNothingIsWritten) {
    // The second section (its BEGIN on line 4) ends 6 m right, before the slope reaches the ground
    // at 6.6375 m.
    const std::string shortGround =
        write("short.txt", levelSection("K1+960", 1960) + levelSection("K1+980", 1980, -20, 6));
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{road_, shortGround, "--earthwork"},
         shortGround +
             ": 第 4 行：K1+980.000：右侧填方边坡到地面线的端点（偏距 6.000）还没有与地面线"
             "相交：地面线太短。\n"},
        {{road_, "--earthwork"},
         "hcurve: --earthwork 需要地面文件：BEGIN 行开头的横断面文件，或表头 桩号,偏距,高程 "
         "的横断面"
         "表。\n"},
        {{road_, shortGround, "--earthwork", "--skew", "10"},
         "hcurve: --earthwork 只用 --prismoidal、--interval、--from、--to 和 --reach，不用 "
         "--skew。\n"},
        {{road_, shortGround, "--earthwork", "--prismoidal", "--prismoidal"},
         "hcurve: --prismoidal 只能给出一次。\n"},
        {{road_, shortGround, "--earthwork", "--from", "K2+500"},
         "hcurve: 所给的范围内没有地面横断面。\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

// --section-sheets reads the options after its file name as --earthwork reads its own, with
// --sheet-scale beside them: each fault said whole, status 1 and no file; --sheet-scale given
// (1:500 instead of 1:200) is the scale the sheets state.
TEST_F(EarthworkCommand, SectionSheetOptionsAreReadAsTheEarthworkOptions) {
    const std::string ground =
        write("ground.txt", levelSection("K1+965", 1965) + levelSection("K1+980", 1980));
    const std::string sheets = (folder_ / "s.dxf").string();
    const std::string only =
        "hcurve: --section-sheets 只用 --sheet-scale、--interval、--from、--to 和 --reach，不用 ";
    struct Case {
        std::vector<std::string> options;
        std::string err;
    } cases[] = {
        {{"--skew", "10"}, only + "--skew。\n"},
        {{"--prismoidal"}, only + "--prismoidal。\n"},
        {{"--sheet-scale"}, "hcurve: --sheet-scale 后面缺少值。\n"},
        {{"--interval", "20", "--reach"}, "hcurve: --reach 后面缺少值。\n"},
        {{"--sheet-scale", "9"},
         "hcurve: --sheet-scale 要给出比例尺的分母（10 到 5000 的整数，如 200 或 1:200），“9”"
         "不对。\n"},
        {{"--sheet-scale", "1:5001"},
         "hcurve: --sheet-scale 要给出比例尺的分母（10 到 5000 的整数，如 200 或 1:200），"
         "“1:5001”不对。\n"},
        {{"--interval", "20", "--reach", "0"},
         "hcurve: --reach 要给出横断面每侧的宽度（大于 0、不超过 1000 米），“0”不对。\n"},
        {{"--interval", "20", "--reach", "1000.5"},
         "hcurve: --reach 要给出横断面每侧的宽度（大于 0、不超过 1000 米），“1000.5”不对。\n"},
        {{"--reach", "12"}, "hcurve: --reach 用于在桩上切出横断面，需要 --interval 桩距。\n"},
        {{"--from", "K2+500"}, "hcurve: 所给的范围内没有地面横断面。\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{road_, ground, "--section-sheets", sheets};
        args.insert(args.end(), c.options.begin(), c.options.end());
        SCOPED_TRACE(c.err);
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
        EXPECT_FALSE(std::filesystem::exists(sheets));
    }
    // --earthwork takes no --sheet-scale.
    const Outcome scaled = run({road_, ground, "--earthwork", "--sheet-scale", "200"});
    EXPECT_EQ(scaled.status, 1);
    EXPECT_EQ(scaled.err,
              "hcurve: --earthwork 只用 --prismoidal、--interval、--from、--to 和 --reach，不用 "
              "--sheet-scale。\n");

    for (const auto& [options, scale] :
         {std::pair{std::vector<std::string>{}, "1:200"},
          std::pair{std::vector<std::string>{"--sheet-scale", "1:500", "--to", "K1+970"}, "1:500"},
          std::pair{std::vector<std::string>{"--sheet-scale", "500"}, "1:500"}}) {
        std::vector<std::string> args{road_, ground, "--section-sheets", sheets};
        args.insert(args.end(), options.begin(), options.end());
        const Outcome r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        std::string dxf;
        {
            // Closed before the file is removed: Windows refuses to remove an open file.
            std::ifstream in(sheets, std::ios::binary);
            dxf.assign(std::istreambuf_iterator<char>(in), {});
        }
        EXPECT_NE(dxf.find("\n" + std::string(scale) + "\r\n"), std::string::npos) << scale;
        std::filesystem::remove(sheets);
    }
}

TEST_F(EarthworkCommand, SectionsKeepTheirEarthworkOption) {
    const Outcome r = run({road_, "--sections", "--interval", "100", "--from", "K1+100", "--to",
                           "K1+100", "--earthwork", "挖"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("K1+100.000,左挖方第1级坡顶,"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace hcurve
