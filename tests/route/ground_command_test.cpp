// `hcurve route … --ground`: the ground files read (BEGIN sections, the CSV 桩号,偏距,高程, terrain
// points as 点名,X,Y,H and in the .dat layout), the sections at the stakes asked, and every fault
// of a ground file with its line. The road runs north from K1+000 (X = chainage - 1000, Y = 0)
// to JD1 (R 300, spirals of 75 m); a long chain at K1+500 (back to K1+480) gives the texts
// K1+480..K1+500 twice.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "route_cli/route_command.h"
#include "support/route_command_run.h"
#include "terrain/terrain_model.h"

namespace hcurve {
namespace {

using testing::Outcome;

const std::string kRoad =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,150,150,\nEP,1000,1000,,,,\n"
    "\n断链前桩号,断链后桩号\nK1+500,K1+480\n";

std::string fixed4(double v) {
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(4);
    s << (std::fabs(v) < 5e-5 ? 0.0 : v);
    return s.str();
}

class GroundCommand : public testing::RouteCommandTest {
  protected:
    void SetUp() override {
        RouteCommandTest::SetUp();
        road_ = write("road.csv", kRoad);
    }

    std::string road_;
};

constexpr char kHeader[] = "桩号,里程,点数,左端偏距,右端偏距,中桩地面高程\n";

TEST_F(GroundCommand, SurveyedSectionsListedWhereTheyAre) {
    struct Case {
        const char* what;
        const char* file;
        std::vector<std::string> options;
        const char* out;
        const char* err;  // after the file's name, or whole where it starts with "hcurve"
    };
    const std::vector<Case> cases = {
        {"BEGIN sections: a marked step, a section measured from its leftmost point (its centre "
         "marked), one at 1 mm of a stake, one between stakes",
         "BEGIN,K1+020:1\n-10,101\n0,100.5\n5,100.4\n5,99,陡坎\n12,98\n"
         "BEGIN,K1+033.5\n0,100\n10,101,中桩\n20,102\n"
         "BEGIN,1040.0004:3\n-5,1\n0,2\n",
         {"--interval", "20", "--to", "1100"},
         "K1+020.000,1020.0000,5,-10.0000,12.0000,100.5000\n"
         "K1+033.500,1033.5000,3,-10.0000,10.0000,101.0000\n"
         "K1+040.000,1040.0000,2,-5.0000,0.0000,2.0000\n",
         ": 注意：第 7 行：1 个横断面没有偏距 0 的点、偏距从最左点量起：已按标为“中桩”的点把偏距改"
         "为从中桩量起。\nhcurve: 注意：4 个桩没有地面横断面（横断面只列在给出的里程上，不在两个"
         "横断面之间插出）。\n"},
        {"the CSV: sections are the runs of one 桩号; a section outside the stretch is left out",
         "桩号,偏距,高程,编码\nK1+020,-10,101,\nK1+020,0,100.5,\nK1+020,5,100.4,\n"
         "K1+020,5,99,陡坎\nK1+020,12,98,\nK1+040,-5,1,\nK1+040,0,2,\nK1+300,0,7,\nK1+300,1,7,\n",
         {"--interval", "20", "--from", "1020", "--to", "1040"},
         "K1+020.000,1020.0000,5,-10.0000,12.0000,100.5000\n"
         "K1+040.000,1040.0000,2,-5.0000,0.0000,2.0000\n",
         ""},
        {"at the chain break, whose stake stands twice (K1+500 before it, K1+480 after): one "
         "section, under the text before it",
         "BEGIN,1500\n-3,5\n3,6\n",
         {"--interval", "20"},
         "K1+500.000,1500.0000,2,-3.0000,3.0000,5.5000\n",
         "hcurve: 注意："},
        {"by continuous chainage (里程): in the long chain, after the break",
         "里程,偏距,高程\n1510,-3,5\n1510,3,6\n",
         {"--interval", "20", "--from", "1500"},
         "K1+490.000,1510.0000,2,-3.0000,3.0000,5.5000\n",
         "hcurve: 注意："},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string ground = write("ground.txt", c.file);
        std::vector<std::string> args = {road_, ground, "--ground"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, std::string(kHeader) + c.out);
        const std::string err = c.err;
        if (err.rfind("hcurve", 0) == 0)
            EXPECT_EQ(r.err.substr(0, err.size()), err);
        else
            EXPECT_EQ(r.err, err.empty() ? err : ground + err);
    }
}

// Terrain points of a plane around the road's straight: every stake's section is the plane.
TEST_F(GroundCommand, SectionsCutFromTerrainPoints) {
    if (!terrainModelAvailable())
        GTEST_SKIP() << "no triangulation in this build";
    const auto H = [](double x, double y) { return 50 + 0.01 * x + 0.02 * y; };
    std::string xyh = "点名,X,Y,H\n", dat, datWithHeader = "点名,编码,Y,X,H\n";
    int n = 0;
    for (int i = 0; i <= 30; ++i)
        for (int j = 0; j <= 12; ++j) {
            const double x = i * 5 + (j % 2) * 1.3, y = -30 + j * 5;
            std::ostringstream row;
            row.precision(10);
            const std::string name = "P" + std::to_string(++n);
            row << x << "," << y << "," << H(x, y);
            xyh += name + "," + row.str() + "\n";
            std::ostringstream datRow;
            datRow.precision(10);
            datRow << name << ",," << y << "," << x << "," << H(x, y) << "\r\n";
            dat += datRow.str();
            datWithHeader += datRow.str();
        }
    for (const std::string& file : {xyh, dat, datWithHeader}) {
        const std::string ground = write("terrain.csv", file);
        const Outcome r = run({road_, ground, "--ground", "--interval", "20", "--from", "1020",
                               "--to", "1060", "--reach", "12"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        std::istringstream rows(r.out);
        std::string row;
        std::getline(rows, row);
        EXPECT_EQ(row + "\n", kHeader);
        for (double c : {1020.0, 1040.0, 1060.0}) {
            std::getline(rows, row);
            const std::string stake = "K1+0" + std::to_string(static_cast<int>(c) - 1000) + ".000";
            const std::string start = stake + "," + fixed4(c) + ",";
            EXPECT_EQ(row.substr(0, start.size()), start);
            const std::string end = ",-12.0000,12.0000," + fixed4(H(c - 1000, 0));
            EXPECT_EQ(row.substr(row.size() - end.size()), end) << row;
        }
    }
    // A model narrower on the left than the reach, and short of the last stake.
    std::string narrow = "点名,X,Y,H\n";
    for (int i = 0; i <= 6; ++i)
        for (int j = 0; j <= 7; ++j)
            narrow += "Q" + std::to_string(i * 10 + j) + "," + std::to_string(i * 5) + "," +
                      std::to_string(-5 + j * 5) + ",7\n";
    const Outcome r = run({road_, write("narrow.csv", narrow), "--ground", "--interval", "20",
                           "--from", "1020", "--to", "1040", "--reach", "12"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kHeader) + "K1+020.000,1020.0000,5,-5.0000,12.0000,7.0000\n");
    EXPECT_EQ(r.err,
              "hcurve: 注意：桩 K1+020.000 的横断面左侧在偏距 -5.000 处出了地面模型的范围，地面线"
              "到那里为止。\nhcurve: 注意：1 个桩在地面模型之外（第一个：K1+040.000），没有地面横"
              "断面。\n");
}

TEST_F(GroundCommand, FaultsOfGroundFilesWithTheirLines) {
    struct Case {
        const char* file;
        const char* fault;
    };
    const std::vector<Case> cases = {
        {"BEGIN\n0,1\n1,2\n", "第 1 行：BEGIN 行缺少里程（如 BEGIN,K12+340:7）。"},
        {"BEGIN,K1+020\n-1,2\n-2,3\n0,2\n",
         "第 3 行：偏距 -2.000 小于前一点（第 2 行）的 -1.000：横断面的点要从左到右排列。"},
        {"BEGIN,K1+020\n0,2\n0,3\n5,3\n",
         "第 3 行：偏距 0.000 与前一点（第 2 行）相同而高程不同（2.000 与 3.000）：陡坎要在第三列"
         "标“陡坎”。"},
        {"BEGIN,K1+020\n0,1\n2,1,陡坎\n3,1\n",
         "第 3 行：标了“陡坎”的点要与前一点（第 2 行）同偏距，这里是 2.000 与 0.000。"},
        {"BEGIN,K1+020\n左,1\n0,1\n1,1\n",
         "第 2 行：偏距必须是数值（绝对值不超过 1000 米），“左” 不对。"},
        {"BEGIN,K1+020\n0,1\n", "第 1 行：横断面 K1+020 只有 1 个点，至少要两个。"},
        {"BEGIN,K1+020\n2,1\n5,1\n",
         "第 1 行：横断面 K1+020 没有中桩点（偏距 0），偏距都不小于零：若偏距从最左点量起，要把中"
         "桩点标为“中桩”（第三列）；若只测了右侧，要加上偏距 0 的中桩点。"},
        {"BEGIN,K0+900\n0,1\n2,1\n",
         "第 1 行：横断面 K0+900 不在路线上：路线从 K1+000.000 到 K2+849.716。"},
        {"BEGIN,K1+490\n0,1\n2,1\n",
         "第 1 行：横断面 K1+490：桩号 K1+490.000 在路线上出现两次（断链），这里要写它的里程"
         "（1490.000 或 1510.000）。"},
        {"BEGIN,K1+020\n0,1\n2,1\nBEGIN,1020.0005\n0,1\n2,1\n",
         "第 4 行：横断面 K1+020.000 与第 1 行的横断面在路线的同一处，一处只能有一个。"},
        {"桩号,偏距,高程\n,0,1\n", "第 2 行：桩号不能为空。"},
        {"点名,X,Y,H\nA,0,0,1\nB,10,0,1\nC,0,10,1\nD,0.0002,0,1.5\n",
         "第 5 行：点 D 与第 2 行的点 A 位置相同而高程不同（1.000 与 1.500）。"},
        {"点名,X,Y,H\nA,0,0,1\nB,10,0,1\n", "第 3 行：地面点至少要有三个，现在只有 2 个。"},
        {"点名,X,Y,H\nA,0,0,\nB,10,0,1\nC,0,10,1\n",
         "第 2 行：点 A 没有高程 H：地面模型的点都要有高程。"},
        {"A,,0,0,1\nB,,0,1e,1\n", "第 2 行：X 必须是数值，“1e” 不对。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string ground = write("ground.txt", c.file);
        const Outcome r = run({road_, ground, "--ground", "--interval", "20"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, ground + ": " + c.fault + "\n");
    }
}

TEST_F(GroundCommand, FilesBeyondTheBoundsAndTwiceAreRefused) {
    const std::string sections = write("a.txt", "BEGIN,K1+020\n0,1\n2,1\n");
    const std::string again = write("b.txt", "BEGIN,K1+040\n0,1\n2,1\n");
    Outcome r = run({road_, sections, again, "--ground", "--interval", "20"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, again + ": 第 1 行：地面横断面文件只能有一个，这里又有一个。\n");
    const std::string longLine =
        write("c.txt", "BEGIN,K1+020\n0," + std::string(70000, '1') + "\n2,1\n");
    r = run({road_, longLine, "--ground", "--interval", "20"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, longLine + ": 第 2 行：这一行太长（超过 64 KiB）。\n");
    // Without a ground file the mode says what it needs; the route's other modes are as before.
    r = run({road_, "--ground", "--interval", "20"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "hcurve: --ground 需要地面文件：BEGIN 行开头的横断面文件、表头 桩号,偏距,高程 的横断"
              "面表，或表头 点名,X,Y,H 的地面点文件。\n");
    r = run({road_, sections, "--stakes", "--interval", "500"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.rfind("hcurve: 注意：", 0), 0u) << r.err;
}

// The fields of a CSV line without quotes.
std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.emplace_back();
    return fields;
}

// Three decimals, as a surveyor writes them down: half a millimetre away from zero, no "-0.000".
std::string fixed3(double v) {
    const double r = std::round(std::fabs(v) * 1000 + 1e-7) / 1000;
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(3);
    s << (r == 0 ? 0.0 : std::copysign(r, v));
    return s.str();
}

// The stake table with a ground file: 地面高程 and 填挖高 after every other column, the ground
// of a plane of terrain points, or of the surveyed section at the stake, against the grade line's
// 1 % rise from 100.000 at K1+000.
TEST_F(GroundCommand, TheStakeTableGainsTheGroundAndTheFillOrCutAtEachStake) {
    const std::string grade =
        write("grade.csv", "变坡点桩号,高程,竖曲线半径\n1000,100,\n1600,106,\n");
    const auto design = [](double c) { return 100 + 0.01 * (c - 1000); };
    const std::string header = "点,桩号,里程,X,Y,方位角,高程,地面高程,填挖高";
    if (terrainModelAvailable()) {
        // The plane H = 99.5 + 0.02 X + 0.03 Y on a grid about the straight (X north = chainage
        // - 1000, Y = 0 on the centre line): the fill 0.5 - 0.01 X, a cut beyond K1+050.
        const auto plane = [](double x, double y) { return 99.5 + 0.02 * x + 0.03 * y; };
        std::string terrain = "点名,X,Y,H\n";
        int n = 0;
        for (int i = 0; i <= 44; ++i)
            for (int j = 0; j <= 8; ++j) {
                const double x = -10 + i * 10 + (j % 2) * 3.7, y = -20 + j * 5;
                std::ostringstream row;
                row.precision(12);
                row << "T" << ++n << "," << x << "," << y << "," << plane(x, y) << "\n";
                terrain += row.str();
            }
        const Outcome r = run({road_, grade, write("terrain.csv", terrain), "--stakes",
                               "--interval", "20", "--to", "1400", "--left", "5"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        std::istringstream rows(r.out);
        std::string row;
        std::getline(rows, row);
        EXPECT_EQ(row, "点,桩号,里程,X,Y,方位角,高程,左1X,左1Y,地面高程,填挖高");
        int stakes = 0;
        while (std::getline(rows, row)) {
            const std::vector<std::string> f = fieldsOf(row);
            ASSERT_EQ(f.size(), 11u) << row;
            const double c = std::stod(f[2]), x = c - 1000;
            EXPECT_EQ(f[9], fixed4(plane(x, 0))) << row;
            EXPECT_EQ(f[10], fixed3(design(c) - plane(x, 0))) << row;
            ++stakes;
        }
        EXPECT_EQ(stakes, 21);
        // Worked by hand: K1+000 0.5 m of fill, K1+100 0.5 m of cut.
        EXPECT_NE(r.out.find("\n,K1+100.000,1100.0000,100.0000,0.0000,0.000000,101.0000,"
                             "100.0000,-5.0000,101.5000,-0.500\n"),
                  std::string::npos)
            << r.out;
    }
    // Surveyed sections: at K1+020 (its centre between two points), at K1+033.5 between stakes
    // (no stake, so no row), at K1+040 only left of the centre (no height there), and at the
    // chain break, whose two rows (K1+500 and K1+480 after it) stand at one place.
    const std::string sections = write("ground.txt",
                                       "BEGIN,K1+020\n-4,101.2\n6,99.2\n"
                                       "BEGIN,K1+033.5\n-2,1\n0,1\n"
                                       "BEGIN,K1+040\n-8,100\n-2,100.5\n"
                                       "BEGIN,1500\n-3,106.5\n0,104.25\n3,104\n");
    const Outcome r = run(
        {road_, grade, sections, "--stakes", "--interval", "20", "--from", "1000", "--to", "1520"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream rows(r.out);
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, header);
    // K1+020: 101.2 + 4/10 (99.2 - 101.2) = 100.4 at the centre, under a design of 100.2.
    struct Expected {
        double c;
        std::string ground, fill;
    };
    const std::vector<Expected> expected = {{1020, "100.4000", fixed3(design(1020) - 100.4)},
                                            {1500, "104.2500", fixed3(design(1500) - 104.25)}};
    int withGround = 0, rowsRead = 0;
    while (std::getline(rows, row)) {
        const std::vector<std::string> f = fieldsOf(row);
        ASSERT_EQ(f.size(), 9u) << row;
        ++rowsRead;
        const double c = std::stod(f[2]);
        EXPECT_EQ(f[6], fixed4(design(c))) << row;
        bool found = false;
        for (const Expected& e : expected) {
            if (std::fabs(e.c - c) > 1e-6)
                continue;
            found = true;
            ++withGround;
            EXPECT_EQ(f[7], e.ground) << row;
            EXPECT_EQ(f[8], e.fill) << row;
        }
        if (!found) {
            EXPECT_EQ(f[7], "") << row;
            EXPECT_EQ(f[8], "") << row;
        }
    }
    EXPECT_EQ(expected[0].fill, "-0.200");
    EXPECT_EQ(expected[1].fill, "0.750");
    EXPECT_EQ(withGround, 3);  // K1+020, and both rows of the break
    EXPECT_EQ(r.err, "hcurve: 注意：" + std::to_string(rowsRead - withGround) +
                         " 个桩没有地面高程（桩上没有地面横断面，或在地面模型之外），地面高程和"
                         "填挖高空着。\n");
}

}  // namespace
}  // namespace hcurve
