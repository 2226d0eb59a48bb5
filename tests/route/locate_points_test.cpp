// `hcurve route FILE… --locate-points POINTS.csv`: a file of surveyed points located at once, each
// row the name and then the very fields `--locate X Y [H]` gives for that point alone; points
// without a foot or far from the road told on the error stream without losing the others; and the
// faults of the file, which write nothing.
//
// The route runs north from K1+000 at (0, 0) to JD1 (1000, 0), turns right (R 300, spirals of
// 100 m) to JD2 (1000, 1000), left (R 300) and on north to EP (2000, 1000); a long chain of 10 m at
// K1+500 (K1+500 = K1+490). The grade line (in 里程) rises 2 % to 1200 and falls 2 % after it,
// with a crown of -2 % on both sides.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "route_cli/route_command.h"
#include "support/route_command_run.h"

namespace hcurve {
namespace {

using testing::linesOf;
using testing::Outcome;

const std::string& kRoute = testing::kSmallRoute;
const std::string kProfile =
    "变坡点桩号,高程,竖曲线半径\n1000,50,\n1200,54,2500\n3900,0,\n\n"
    "桩号,左横坡,右横坡\nK1+000,-2,-2\n";

// One point of a file: its name, X, Y and H as written there ("" for none).
struct Point {
    std::string name, x, y, H;
};

// Points on the first straight (before and after the chain break), in JD1's spiral and arc, on
// the second straight, beside EP and far from the road. The first one's row worked by hand: 500 m
// north of BP is 里程 1500, after the break K1+490, 3 m left.
const Point kPoints[] = {
    {"P1", "500", "-3", "57"},        {"P2", "420.5", "2.25", ""}, {"P3", "960", "60", "49.8"},
    {"P4", "1000.5", "400", "41.25"}, {"P5", "1003", "700", "35"}, {"P6", "1995", "1002.5", "1.5"},
    {"远点", "300", "-500", "55"},
};

class LocatePoints : public testing::RouteCommandTest {
  protected:
    void SetUp() override {
        RouteCommandTest::SetUp();
        route_ = write("route.csv", kRoute);
        profile_ = write("profile.csv", kProfile);
    }

    // The points as a file, with or without the H column.
    std::string pointFile(const std::string& name, bool heights) {
        std::string text = heights ? "点名,X,Y,H\n" : "点名,X,Y\n";
        for (const Point& p : kPoints)
            text += p.name + "," + p.x + "," + p.y + (heights ? "," + p.H : "") + "\n";
        return write(name, text);
    }

    // The row --locate gives for the point alone (with its H where given), and its remarks with
    // the point named instead of "该点".
    std::string singleRow(std::vector<std::string> files, const Point& p, bool withH) {
        files.insert(files.end(), {"--locate", p.x, p.y});
        if (withH && !p.H.empty())
            files.push_back(p.H);
        const Outcome r = run(files);
        EXPECT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> lines = linesOf(r.out);
        EXPECT_EQ(lines.size(), 2u);
        return lines.size() == 2 ? lines[1] : std::string();
    }

    std::string route_, profile_;
};

TEST_F(LocatePoints, EachRowIsTheSinglePointsRow) {
    const std::string remark =
        "hcurve: 注意：点 远点（第 8 行）离路线超过 300 米，不像是这条路线上的点，请核对座标。\n";
    struct Case {
        const char* what;
        bool withProfile, heights;
        std::string header;
    };
    const Case cases[] = {
        {"plan only, no H column", false, false, "点名,里程,桩号,偏距,元素"},
        {"grade line and cross-fall, no H column", true, false,
         "点名,里程,桩号,偏距,元素,中线高程,设计高程"},
        {"grade line and cross-fall, with H", true, true,
         "点名,里程,桩号,偏距,元素,中线高程,设计高程,高差"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> files{route_};
        if (c.withProfile)
            files.push_back(profile_);
        std::vector<std::string> args = files;
        args.insert(args.end(), {"--locate-points", pointFile("points.csv", c.heights)});
        const Outcome r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, remark);
        const std::vector<std::string> rows = linesOf(r.out);
        ASSERT_EQ(rows.size(), std::size(kPoints) + 1);
        EXPECT_EQ(rows[0], c.header);
        for (std::size_t i = 0; i < std::size(kPoints); ++i) {
            const Point& p = kPoints[i];
            std::string expected = p.name + "," + singleRow(files, p, c.heights);
            // A point without its H in a file with the column: 高差 stays empty.
            if (c.heights && p.H.empty())
                expected += ",";
            EXPECT_EQ(rows[i + 1], expected) << p.name;
        }
        EXPECT_EQ(rows[1].substr(0, rows[1].find(",直线")), "P1,1500.0000,K1+490.000,-3.0000");
    }
    // P1 by hand: 里程 1500 lies after the vertical curve (T = 2500 * 4 % / 2 = 50: 1150 to
    // 1250), on the falling grade: 54 - 300 * 2 % = 48; the crown 3 m * 2 % below; measured 57.
    const Outcome h = run({route_, profile_, "--locate-points", pointFile("h.csv", true)});
    EXPECT_EQ(linesOf(h.out).at(1),
              "P1,1500.0000,K1+490.000,-3.0000,直线 BP-JD1,48.0000,47.9400,9.0600");
}

TEST_F(LocatePoints, NamesAreWrittenAsTheFileGivesThemAndQuotedWhereNeeded) {
    const std::string points =
        write("names.csv", "X,Y,点名,备注\n500,-3,\"P,1\",a\n500,-3,\"Q\"\"2\",b\n500,-3,,c\n");
    const Outcome r = run({route_, "--locate-points", points});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "点名,里程,桩号,偏距,元素\n"
              "\"P,1\",1500.0000,K1+490.000,-3.0000,直线 BP-JD1\n"
              "\"Q\"\"2\",1500.0000,K1+490.000,-3.0000,直线 BP-JD1\n"
              ",1500.0000,K1+490.000,-3.0000,直线 BP-JD1\n");
}

TEST_F(LocatePoints, AFileWithoutPointsGivesTheHeaderAlone) {
    const Outcome r = run({route_, "--locate-points", write("none.csv", "点名,X,Y\n")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "点名,里程,桩号,偏距,元素\n");
}

TEST_F(LocatePoints, FaultsOfTheFileWriteNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::string missing = (folder_ / "missing.csv").string();
    const std::string badY = write("bad.csv", "点名,X,Y,H\nP1,500,-3,50\nP2,500,x,1\nP3,1,1e10,\n");
    const std::string noX = write("nox.csv", "点名,Y,H\nP1,500,50\n");
    const std::string badH = write("badh.csv", "点名,X,Y,H\nP1,500,-3,五十\n");
    const std::string withH = write("withh.csv", "点名,X,Y,H\nP1,500,-3,50\n");
    const Case cases[] = {
        {{route_, "--locate-points"},
         "hcurve: --locate-points 后面要有一个点的文件（表头 点名,X,Y，可再有 H）。\n"},
        {{route_, "--locate-points", withH, withH},
         "hcurve: --locate-points 后面要有一个点的文件（表头 点名,X,Y，可再有 H）。\n"},
        // The system's reason follows (its wording differs between systems).
        {{route_, "--locate-points", missing}, "hcurve: 无法打开文件“" + missing + "”："},
        {{route_, "--locate-points", badY},
         badY + ": 第 3 行：Y 必须是数值，“x” 不是有效的数值。\n" + badY +
             ": 第 4 行：Y 必须是数值，“1e10” 不是有效的数值。\n"},
        {{route_, "--locate-points", noX},
         noX + ": 第 1 行：点的表头缺少 X 列（点名,X,Y（可再有 H））。\n"},
        {{route_, profile_, "--locate-points", badH},
         badH + ": 第 2 行：H 必须是数值，“五十” 不是有效的数值。\n"},
        // Heights to compare without a grade line, as --locate X Y H.
        {{route_, "--locate-points", withH}, "hcurve: 文件里没有纵断面表，无法与实测高程比较。\n"},
        {{route_, "--locate", "500", "-3", "50"},
         "hcurve: 文件里没有纵断面表，无法与实测高程比较。\n"},
        {{route_, "--locate-points", withH, "--locate", "1", "2"},
         "hcurve: --locate-points 与 --locate 不能同时使用。\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(r.err.back(), '\n');
    }
}

// An output that takes nothing, as a full disk.
class FullOutput : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST_F(LocatePoints, OutputThatCannotBeWrittenIsStatusThree) {
    FullOutput full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(runRouteCommand({route_, "--locate-points", pointFile("p.csv", false)}, out, err), 3);
    EXPECT_EQ(err.str().substr(err.str().find("hcurve: 无法")),
              "hcurve: 无法写入标准输出：写入出错。\n");
}

}  // namespace
}  // namespace hcurve
